#include "scan/ScanItems.h"

namespace tov::scan {

VectorScanItems::VectorScanItems(std::vector<ScanItemRow> rows)
    : rows_(std::move(rows)), basePoints_(rows_.size()) {}

void VectorScanItems::MoveNext() {
    if (pos_ < rows_.size()) {
        ++pos_;
    }
}

ScanItemRow VectorScanItems::current() const {
    return atEOF() ? ScanItemRow{} : rows_[pos_];
}

void VectorScanItems::storeBasePoint(int X, int y) {
    if (!atEOF()) {
        basePoints_[pos_] = {X, y, true};
    }
}

} // namespace tov::scan
