#include "scan/SheetReading.h"

#include <cmath>

namespace tov::scan {

QString RefusalText(const SheetReading& reading) {
    switch (reading.outcome) {
    case SheetOutcome::Read:
        return {};
    case SheetOutcome::NoAnchorBox:
        return QStringLiteral("Anchor Box not found");
    case SheetOutcome::NoReferenceBox:
        return QStringLiteral("Reference Box not found");
    case SheetOutcome::ScaleOutOfRange:
        return QStringLiteral("Answer sheet printed at %1% of actual size (90% to 105% can be "
                              "read)")
            .arg(std::lround(reading.scale * 100));
    case SheetOutcome::PageTooShort:
        return QStringLiteral("Page too short for the answer sheet (cut off at the bottom)");
    case SheetOutcome::SheetOffPage:
        return QStringLiteral("Answer sheet not wholly on the page");
    }
    return {};
}

std::vector<std::pair<QString, QString>> NamedValues(const ScannedSheet& s) {
    return {{QStringLiteral("ssn"), s.SSN},
            {QStringLiteral("dob"), s.DateOfBirth},
            {QStringLiteral("age"), s.Age},
            {QStringLiteral("bac"), s.BAC},
            {QStringLiteral("arrest_date"), s.DateOfPresentArrest},
            {QStringLiteral("gender"), s.Gender},
            {QStringLiteral("race"), s.Race},
            {QStringLiteral("education"), s.Education},
            {QStringLiteral("marital"), s.Marital},
            {QStringLiteral("prior_dui"), s.PriorDUI},
            {QStringLiteral("co_supervision"), s.COSupervision},
            {QStringLiteral("reckless"), s.Reckless},
            {QStringLiteral("ss_suspend"), s.SSSuspend},
            {QStringLiteral("m_violations"), s.MViolations},
            {QStringLiteral("accidents"), s.Accidents},
            {QStringLiteral("alcohol_arrests"), s.AlcoholArrests},
            {QStringLiteral("drug_arrests"), s.DrugArrests},
            {QStringLiteral("st_bac"), s.StBAC},
            {QStringLiteral("st_prior_dui"), s.StPriorDUI},
            {QStringLiteral("answers"), s.ScannedAnswers}};
}

QString WithCentury(const QString& date, QDate today) {
    const QString yy = date.right(2);
    QString century = QStringLiteral("19");
    if (yy.size() == 2 && yy[0].isDigit() && yy[1].isDigit() && yy[0].unicode() < 128 &&
        yy[1].unicode() < 128) {
        const int year = 2000 + yy.toInt();
        century = year > today.year() ? QStringLiteral("19") : QStringLiteral("20");
    }
    return date.left(6) + century + yy;
}

QString AgeFrom(const QString& date, QDate today) {
    const QDate d = QDate::fromString(date, QStringLiteral("MM/dd/yyyy"));
    if (!d.isValid()) {
        return QStringLiteral("N");
    }
    return QString::number(today.year() - d.year());
}

} // namespace tov::scan
