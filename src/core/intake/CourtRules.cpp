#include "intake/CourtRules.h"

#include "records/DateText.h"
#include "records/NumericValue.h"

namespace tov::intake {

namespace {
bool isOneOf(QStringView text, const char* letters) {
    if (text.size() != 1) {
        return false;
    }
    for (const char* c = letters; *c != 0; ++c) {
        if (text[0] == QLatin1Char(*c)) {
            return true;
        }
    }
    return false;
}
} // namespace

bool ValidateCount(QStringView text) {
    if (isOneOf(text, "Nn") || text == u"0") {
        return true;
    }
    const double n = records::NumericValue(text);
    return n > 0 && n <= 99;
}

bool ValidateBAC(QStringView text) {
    if (isOneOf(text, "NnRr")) {
        return true;
    }
    const double n = records::NumericValue(text);
    return n > 0 && n < 1;
}

bool ValidateArrestDate(QStringView text) {
    return text.compare(u"N", Qt::CaseInsensitive) == 0 || records::RecogniseDate(text).has_value();
}

QString PadArrestDate(const QString& text) {
    QString t = text;
    if (t.size() >= 2 && t[1] == QLatin1Char('/')) {
        t.prepend(QLatin1Char('0'));
    }
    if (t.size() >= 5 && t[4] == QLatin1Char('/')) {
        t.insert(3, QLatin1Char('0'));
    }
    return t;
}

bool ArrestMonthDayOk(const QString& padded) {
    const int month = static_cast<int>(records::NumericValue(padded.mid(0, 2)));
    const int day = static_cast<int>(records::NumericValue(padded.mid(3, 2)));
    if (month < 1 || month > 12 || day < 1 || day > 31) {
        return false;
    }
    if (month == 4 || month == 6 || month == 9 || month == 11) {
        return day <= 30;
    }
    return month != 2 || day <= 29;
}

QString StoredBAC(const QString& text) {
    const QString upper = text.toUpper();
    if (upper.contains(QLatin1Char('N'))) {
        return QStringLiteral("N");
    }
    if (upper.contains(QLatin1Char('R'))) {
        return QStringLiteral("R");
    }
    return text;
}

} // namespace tov::intake
