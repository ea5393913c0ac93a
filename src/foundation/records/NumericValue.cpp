#include "records/NumericValue.h"

#include <QString>

namespace tov::records {

double NumericValue(QStringView text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto isDigit = [&](qsizetype at) {
        return at < n && text[at] >= QLatin1Char('0') && text[at] <= QLatin1Char('9');
    };
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t'))) {
        ++i;
    }
    const qsizetype start = i;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        ++i;
    }
    bool digits = false;
    while (isDigit(i)) {
        ++i;
        digits = true;
    }
    if (i < n && text[i] == QLatin1Char('.')) {
        ++i;
        while (isDigit(i)) {
            ++i;
            digits = true;
        }
    }
    if (!digits) {
        return 0.0;
    }
    qsizetype end = i;
    // An exponent counts only when digits follow it.
    if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        if (j < n && (text[j] == QLatin1Char('+') || text[j] == QLatin1Char('-'))) {
            ++j;
        }
        if (isDigit(j)) {
            while (isDigit(j)) {
                ++j;
            }
            end = j;
        }
    }
    bool ok = false;
    const double value = text.mid(start, end - start).toString().toDouble(&ok);
    return ok ? value : 0.0;
}

} // namespace tov::records
