#pragma once

#include <QString>
#include <QStringView>

namespace tov::intake {

// The value forms of the court history.
// A count: "N", "0", or a leading number above 0 and at most 99.
bool ValidateCount(QStringView text);
// A blood alcohol level: "N", "R", or a leading number strictly between 0 and 1.
bool ValidateBAC(QStringView text);
// A date of arrest: "N", or a text the date recogniser reads as a calendar date.
bool ValidateArrestDate(QStringView text);

// The arrest date padded to two-digit month and day ("1/5/2005" becomes "01/05/2005").
QString PadArrestDate(const QString& text);
// Month 1 to 12 and a day the month can have (29 for February; the year is not looked at), read
// from the padded text's first two and fourth and fifth characters.
bool ArrestMonthDayOk(const QString& padded);

// What a BAC field stores: any text with an N is "N", else any with an R is "R".
QString StoredBAC(const QString& text);

} // namespace tov::intake
