#pragma once

#include "scan/SheetReading.h"
#include "sheetgen/Choices.h"
#include "sheetgen/FilledSheet.h"

#include <QDate>
#include <QString>

namespace tov::sheetgen {

// One answer sheet as a client filled it and an office printed, filled and scanned it.
struct SheetTrial {
    SheetValues values;
    RenderOptions options;
};

// A trial with every condition and value chosen: the page mostly at 100 dots per inch, so that
// it is cheap, and its conditions mostly within what the reader promises, now and then beyond.
SheetTrial DrawTrial(Choices& choose, QDate today);

// What the reader owes a trial's page, as README promises it: a sheet printed at 90% to 105%
// of its size ("fit to page" included), turned up to 3 degrees, laid up to 10 mm off the guide,
// a little stretched or bent, scanned in colour, grey or black and white (its pencil darker
// than the scanner's black level), with light or heavy pencil, stray dots, a faint stroke,
// erasures and doubled marks reads exactly; printed below 90% or above 105%, or cut off before
// its last bubble, it is refused. Anything else may be refused or read, but never read as a
// value outside its field.
struct Owed {
    bool exact = false;   // what is read is what was filled, but for the values read with doubt
    bool read = false;    // not refused: the whole sheet lies well on the page
    bool refusal = false; // refused
};
Owed OwedFor(const SheetTrial& trial);

// The trial's conditions as mkfilledsheet's options, and the values filled.
QString DescribeTrial(const SheetTrial& trial, QDate today);

// The trial's page rendered, then prepared and read as the program reads a scan.
scan::SheetReading ReadTrial(SheetRenderer& renderer, const SheetTrial& trial, QDate today);

// What is wrong with a reading of the trial's page; empty when it is all the reader owes.
QString CheckReading(const SheetTrial& trial, const scan::SheetReading& reading, QDate today);

} // namespace tov::sheetgen
