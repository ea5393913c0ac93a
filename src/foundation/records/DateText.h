#pragma once

#include <QDate>
#include <QStringView>

#include <optional>

namespace tov::records {

// A date as the operator types it: month, day and year separated by "/" (or all by "-" or all
// by "."), such as 01/05/2005, 1/5/2005 or 1/5/05. A text that names no calendar date
// (02/30/2005) is not a date.
//
// Two-digit years: 00 to 29 are 2000 to 2029, 30 to 99 are 1930 to 1999. Years of three digits
// are not accepted; four-digit years are taken as written.
//
// When the first number cannot be a month but the text reads as day/month/year (13/01/2005), it
// is recognised that way and marked as read day first; callers that need month first refuse it.
struct RecognisedDate {
    QDate date;
    bool dayFirst = false;
};

std::optional<RecognisedDate> RecogniseDate(QStringView text);

// A date month first, as a date of birth must be.
bool IsMonthDayYear(QStringView text);

} // namespace tov::records
