#include "scan/ScanItems.h"

#include "app/QuestionBank.h"

namespace tov::scan {

void RecordSetScanItems::MoveFirst() {
    set_.MoveFirst();
}

void RecordSetScanItems::MoveNext() {
    if (!set_.atEOF()) {
        set_.MoveNext();
    }
}

bool RecordSetScanItems::atEOF() const {
    return set_.atEOF();
}

ScanItemRow RecordSetScanItems::current() const {
    ScanItemRow row;
    if (set_.atEOF()) {
        return row;
    }
    row.r = set_.Fields(QStringLiteral("r")).toDouble();
    row.theta = set_.Fields(QStringLiteral("theta")).toDouble();
    row.dx = set_.Fields(QStringLiteral("dx")).toDouble();
    row.dy = set_.Fields(QStringLiteral("dy")).toDouble();
    row.DimX = set_.Fields(QStringLiteral("DimX")).toInt();
    row.DimY = set_.Fields(QStringLiteral("DimY")).toInt();
    row.LocationName = set_.Fields(QStringLiteral("LocationName")).toString();
    return row;
}

void RecordSetScanItems::storeBasePoint(int X, int y) {
    set_.Edit();
    set_.setField(QStringLiteral("X"), X);
    set_.setField(QStringLiteral("y"), y);
    set_.Update();
}

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
