#pragma once

#include "scan/ScanItems.h"

namespace tov::app {

class RecordSet;

// The table of the question bank, opened for update. Failures of the database to read throw
// AppError; a base point that cannot be written is left out, as are those after it.
class RecordSetScanItems final : public scan::ScanItemTable {
public:
    explicit RecordSetScanItems(RecordSet& set) : set_(set) {}
    void MoveFirst() override;
    void MoveNext() override;
    bool atEOF() const override;
    scan::ScanItemRow current() const override;
    void storeBasePoint(int X, int y) override;

private:
    RecordSet& set_;
    bool writable_ = true;
};

} // namespace tov::app
