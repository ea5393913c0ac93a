#include "app/BankScanItems.h"

#include "app/QuestionBank.h"
#include "platform/AppError.h"

namespace tov::app {

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

scan::ScanItemRow RecordSetScanItems::current() const {
    scan::ScanItemRow row;
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
    // The base points are kept for diagnosing the reader only. A bank the user may only read (an
    // installed program's, shared by every user) takes none, and the reading stands without them.
    if (!writable_) {
        return;
    }
    try {
        set_.Edit();
        set_.setField(QStringLiteral("X"), X);
        set_.setField(QStringLiteral("y"), y);
        set_.Update();
    } catch (const AppError&) {
        writable_ = false;
    }
}

} // namespace tov::app
