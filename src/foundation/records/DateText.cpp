#include "records/DateText.h"

#include <QList>
#include <QString>

namespace tov::records {

namespace {

int yearFrom(QStringView digits) {
    const int value = digits.toInt();
    if (digits.size() <= 2) {
        return value < 30 ? 2000 + value : 1900 + value;
    }
    return digits.size() == 4 ? value : -1;
}

bool allDigits(QStringView s) {
    if (s.isEmpty() || s.size() > 4) {
        return false;
    }
    for (const QChar c : s) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<RecognisedDate> RecogniseDate(QStringView text) {
    const QString t = text.trimmed().toString();
    QChar separator;
    for (const QChar c : {QLatin1Char('/'), QLatin1Char('-'), QLatin1Char('.')}) {
        if (t.contains(c)) {
            separator = c;
            break;
        }
    }
    if (separator.isNull()) {
        return std::nullopt;
    }
    const QStringList parts = t.split(separator);
    if (parts.size() != 3 || !allDigits(parts[0]) || !allDigits(parts[1]) || !allDigits(parts[2]) ||
        parts[0].size() > 2 || parts[1].size() > 2) {
        return std::nullopt;
    }
    const int first = parts[0].toInt();
    const int second = parts[1].toInt();
    const int year = yearFrom(parts[2]);
    if (year < 1) {
        return std::nullopt;
    }
    if (const QDate monthFirst(year, first, second); monthFirst.isValid()) {
        return RecognisedDate{monthFirst, false};
    }
    if (first > 12) {
        if (const QDate dayFirst(year, second, first); dayFirst.isValid()) {
            return RecognisedDate{dayFirst, true};
        }
    }
    return std::nullopt;
}

bool IsMonthDayYear(QStringView text) {
    const auto d = RecogniseDate(text);
    return d.has_value() && !d->dayFirst;
}

} // namespace tov::records
