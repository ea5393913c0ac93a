#pragma once

#include "records/ClientRecord.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <array>
#include <utility>
#include <vector>

namespace tov::scan {

// The read values, as text, exactly as the review screens take them.
struct ScannedSheet {
    QString SSN, DateOfBirth, Age, BAC, DateOfPresentArrest, Gender, Race, Education, Marital,
        PriorDUI, COSupervision, Reckless, SSSuspend, MViolations, Accidents, AlcoholArrests,
        DrugArrests, StBAC, StPriorDUI, ScannedAnswers;
    bool operator==(const ScannedSheet&) const = default;
};

// The court history on the sheet, in the order of the record's court fields: where a reading
// keeps each value and the name its doubt goes by.
struct SheetCourtValue {
    QString ScannedSheet::*value;
    const char* name;
};
inline constexpr std::array<SheetCourtValue, records::kCourtFieldCount> kSheetCourt = {{
    {&ScannedSheet::PriorDUI, "prior_dui"},
    {&ScannedSheet::COSupervision, "co_supervision"},
    {&ScannedSheet::Reckless, "reckless"},
    {&ScannedSheet::SSSuspend, "ss_suspend"},
    {&ScannedSheet::MViolations, "m_violations"},
    {&ScannedSheet::Accidents, "accidents"},
    {&ScannedSheet::AlcoholArrests, "alcohol_arrests"},
    {&ScannedSheet::DrugArrests, "drug_arrests"},
    {&ScannedSheet::DateOfPresentArrest, "arrest_date"},
    {&ScannedSheet::BAC, "bac"},
    {&ScannedSheet::StPriorDUI, "st_prior_dui"},
    {&ScannedSheet::StBAC, "st_bac"},
}};

// Why a page was or was not read. Only a Read page has values; the others are refused.
enum class SheetOutcome {
    Read,
    NoAnchorBox,
    NoReferenceBox,
    ScaleOutOfRange, // printed too small or too large to be the sheet at (about) actual size
    PageTooShort,    // the page ends above the sheet's last fields
    SheetOffPage,    // part of the sheet lies beyond the page's side or top
};

struct SheetReading {
    SheetOutcome outcome = SheetOutcome::NoAnchorBox;
    ScannedSheet values;
    // The values read with doubt, by the names tov2sf-markread prints them with ("ssn", "dob",
    // ..., "st_prior_dui"), then the answers as "item" and the item number ("item12").
    QStringList doubtful;
    double scale = 0; // the sheet's print scale, 1 = actual size (once both boxes were found)
    double angle = 0; // degrees, clockwise
};

// The operator's text for a refused page (no "Aborting scan." line); empty for a read one.
QString RefusalText(const SheetReading& reading);

// The values under the names tov2sf-markread prints them with, in its order.
std::vector<std::pair<QString, QString>> NamedValues(const ScannedSheet& s);

// "mm/dd/yy" (the six read values with their slashes) -> "mm/dd/ccyy": the century is 19 when
// 20yy would lie after today's year, else 20. A year that is not two digits keeps "19", and a
// text of another length is cut and joined the same way (first six characters, century, last
// two), so that it stays an invalid date.
QString WithCentury(const QString& date, QDate today);
// Today's year minus the year of an "mm/dd/yyyy" date; "N" when the text is not a valid date.
QString AgeFrom(const QString& date, QDate today);

} // namespace tov::scan
