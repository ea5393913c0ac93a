#include "scan/MarkReader.h"

#include "records/ItemCounts.h"

// The sheet's fields in their fixed reading order, and how their digits join into the values.

namespace tov::scan {

namespace {

// Joins read values, putting `mark` after the values whose 1-based numbers are listed when a
// further value follows.
QString joined(const QStringList& values, QChar mark, int after1, int after2) {
    QString text;
    for (int k = 0; k < values.size(); ++k) {
        text += values[k];
        const int number = k + 1;
        if ((number == after1 || number == after2) && number < values.size()) {
            text += mark;
        }
    }
    return text;
}

} // namespace

ScannedSheet MarkReader::ReadFields(ScanItemTable& items, QDate today) {
    ScannedSheet s;
    doubtful_.clear();
    items.MoveFirst();
    bool first = true;
    // One record per read, moving on before every read after the first.
    const auto next = [&] {
        if (!first) {
            items.MoveNext();
        }
        first = false;
    };
    const auto doubt = [&](const QString& name) {
        if (lastDoubtful_ && !doubtful_.contains(name)) {
            doubtful_ << name;
        }
    };
    // n vertical digits, each kept as its own value (one read may give two characters).
    const auto vertValues = [&](int n, const QString& name) {
        QStringList values;
        for (int k = 0; k < n; ++k) {
            next();
            QString value;
            ExtractVertNum(items, value);
            doubt(name);
            if (!value.isEmpty()) {
                values << value;
            }
        }
        return values;
    };
    const auto vertInto = [&](QString& target, int n, const QString& name) {
        for (int k = 0; k < n; ++k) {
            next();
            ExtractVertNum(items, target);
            doubt(name);
        }
    };
    const auto choice = [&](QString& target, const QString& name) {
        next();
        ReadHorizChoice(items, target);
        doubt(name);
    };
    const auto count = [&](QString& target, const QString& name) {
        next();
        ExtractHorizNum(items, target, 0);
        doubt(name);
    };

    s.SSN = joined(vertValues(9, QStringLiteral("ssn")), QLatin1Char('-'), 3, 5);
    s.DateOfBirth =
        WithCentury(joined(vertValues(6, QStringLiteral("dob")), QLatin1Char('/'), 2, 4), today);
    s.Age = AgeFrom(s.DateOfBirth, today);

    // A BAC field: its first column, then the two digits after the point; read in that order,
    // the value is the digits unless the first column holds something other than "N".
    const auto bac = [&](const QString& name) {
        QString notAvailable;
        vertInto(notAvailable, 1, name);
        QString value = QStringLiteral(".");
        vertInto(value, 2, name);
        return notAvailable != QLatin1String("N") ? notAvailable.left(2) : value;
    };
    s.BAC = bac(QStringLiteral("bac"));
    s.DateOfPresentArrest = WithCentury(
        joined(vertValues(6, QStringLiteral("arrest_date")), QLatin1Char('/'), 2, 4), today);

    choice(s.Gender, QStringLiteral("gender"));
    choice(s.Race, QStringLiteral("race"));
    choice(s.Education, QStringLiteral("education"));
    choice(s.Marital, QStringLiteral("marital"));
    // The eight counts come first in the court history.
    for (int order = 0; order < records::courtOrder(records::Field::DateOfPresentArrest); ++order) {
        const SheetCourtValue& c = kSheetCourt[static_cast<std::size_t>(order)];
        count(s.*c.value, QString::fromLatin1(c.name));
    }

    s.StBAC = bac(QStringLiteral("st_bac"));
    vertInto(s.StPriorDUI, 1, QStringLiteral("st_prior_dui"));

    for (int item = 1; item <= records::kItemCount; ++item) {
        next();
        ExtractHorizNum(items, s.ScannedAnswers, 1);
        doubt(QStringLiteral("item%1").arg(item));
    }
    return s;
}

} // namespace tov::scan
