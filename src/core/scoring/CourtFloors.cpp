#include "records/InRange.h"
#include "scoring/ScaleScorer.h"
#include "scoring/WholeValue.h"

#include "records/NumericValue.h"

namespace tov::scoring {

using records::InRange;

namespace {

bool startsWithLetter(const QString& value, QChar letter) {
    return value.startsWith(letter, Qt::CaseInsensitive);
}

// The staff's BAC when given, else the arrest BAC; -100 not available, -200 refused.
void bacCode(const ReportRecord& client, ScoreResults& r) {
    QString& arrest = r.CourtValues[ArrestBac];
    if (startsWithLetter(arrest, QLatin1Char('N'))) {
        arrest = QStringLiteral("-1");
    } else if (startsWithLetter(arrest, QLatin1Char('R'))) {
        arrest = QStringLiteral("-2");
    }
    const QString& staff = client.StaffValues[2];
    if (startsWithLetter(staff, QLatin1Char('R'))) {
        r.BacCode = ScoreResults::RefusedBac;
        r.StaffMark[0] = QStringLiteral("*");
    } else if (startsWithLetter(staff, QLatin1Char('N')) && arrest == QLatin1String("-1")) {
        r.BacCode = ScoreResults::NotAvailableBac;
        r.StaffMark[0] = QStringLiteral("*");
    } else if (records::NumericValue(staff) > 0) {
        r.BacCode = BacHundredths(staff);
        r.StaffMark[0] = QStringLiteral("*");
    } else {
        r.BacCode = BacHundredths(arrest);
    }
}

void priorCounts(const ReportRecord& client, ScoreResults& r) {
    const QString& staff = client.StaffValues[1];
    for (int i = 1; i <= 4; ++i) {
        r.PriorCounts[i] = WholeValue(r.CourtValues[i]);
    }
    if (startsWithLetter(staff, QLatin1Char('N'))) {
        if (r.CourtValues[PriorDui] == QLatin1String("-1")) {
            r.PriorCounts[1] = -1;
            r.StaffMark[1] = QStringLiteral("*");
        }
    } else {
        r.PriorCounts[1] = WholeValue(staff);
        r.StaffMark[1] = QStringLiteral("*");
    }
    r.PriorDuiTotal = 0;
    for (int i = 1; i <= 3; ++i) {
        if (r.PriorCounts[i] >= 1) {
            r.PriorDuiTotal += r.PriorCounts[i];
        }
    }
}

// The Alcohol floor for a BAC by age and prior DUI's; 0 where the table has none.
int bacFloor(int bac, bool adult, bool priors) {
    if (bac == ScoreResults::RefusedBac) {
        return 54;
    }
    if (bac == ScoreResults::NotAvailableBac) {
        return 39;
    }
    struct Row {
        int low;
        std::array<int, 4> floor; // adult/no priors, adult/priors, young/no priors, young/priors
    };
    static constexpr std::array<Row, 6> rows = {{{26, {89, 90, 89, 90}},
                                                 {20, {71, 86, 89, 90}},
                                                 {18, {67, 73, 71, 83}},
                                                 {15, {44, 56, 57, 70}},
                                                 {8, {36, 42, 46, 56}},
                                                 {2, {0, 0, 36, 42}}}};
    for (const Row& row : rows) {
        if (bac >= row.low) {
            return row.floor[(adult ? 0 : 2) + (priors ? 1 : 0)];
        }
    }
    return 0;
}

// The floor for a count from a list indexed by the count, the last entry for anything above.
int floorFor(int count, std::initializer_list<int> floors) {
    if (count < 1) {
        return 0;
    }
    const auto n = static_cast<int>(floors.size());
    return *(floors.begin() + (count > n ? n - 1 : count - 1));
}

void driverRiskFromRecord(ScoreResults& r, int accidents, int violations) {
    int& p = r.Percentile[DriverRisk];
    // Each accident or violation raise names only its own reason. A DUI reason of this scale
    // gives way to it; the Alcohol scale's own reasons are left as they are.
    auto raised = [&r](bool accident) {
        r.CourtRaised[DriverRisk] = true;
        r.DuiRaised[DriverRisk] = false;
        r.AccidentRaised = accident;
        r.ViolationRaised = !accident;
    };
    if (accidents == 2 && RaiseTo(p, 56)) {
        raised(true);
    }
    if (InRange(violations, 8, 10) && RaiseTo(p, 69)) {
        raised(false);
    }
    if (accidents == 3 && RaiseTo(p, 70)) {
        raised(true);
    }
    if (p < 89) {
        if (violations >= 11) {
            p = 89;
            raised(false);
        }
        // Accidents name the reason even when the violations have just set the same floor.
        if (accidents >= 4) {
            p = 89;
            raised(true);
        }
    }
}

} // namespace

void ApplyCourtFloors(const ReportRecord& client, ScoreResults& r) {
    const double age = records::NumericValue(client.Age);
    r.CourtValues = client.CourtValues;
    for (int i = 1; i <= 8; ++i) {
        if (startsWithLetter(r.CourtValues[i], QLatin1Char('N'))) {
            r.CourtValues[i] = QStringLiteral("-1");
        }
    }
    for (QString& mark : r.StaffMark) {
        mark = QStringLiteral(" ");
    }
    r.CourtRaised = {};
    r.DuiRaised = {};
    r.BacRaised = r.AlcoholArrestRaised = r.AccidentRaised = r.ViolationRaised =
        r.DrugArrestRaised = false;

    bacCode(client, r);
    priorCounts(client, r);
    const bool priors = r.PriorDuiTotal > 0;

    int& alcohol = r.Percentile[Alcohol];
    if (RaiseTo(alcohol, bacFloor(r.BacCode, age >= 21, priors))) {
        r.CourtRaised[Alcohol] = r.BacRaised = true;
    }
    if (RaiseTo(alcohol, floorFor(r.PriorDuiTotal, {68, 71, 88, 91, 95}))) {
        r.CourtRaised[Alcohol] = r.DuiRaised[Alcohol] = true;
    }
    if (RaiseTo(alcohol,
                floorFor(WholeValue(r.CourtValues[AlcoholArrestCount]), {46, 57, 72, 87}))) {
        r.CourtRaised[Alcohol] = r.AlcoholArrestRaised = true;
    }
    if (RaiseTo(r.Percentile[DriverRisk], floorFor(r.PriorDuiTotal, {41, 68, 71, 90, 92}))) {
        r.CourtRaised[DriverRisk] = r.DuiRaised[DriverRisk] = true;
    }
    driverRiskFromRecord(r, WholeValue(r.CourtValues[AtFaultAccidents]),
                         WholeValue(r.CourtValues[MovingViolations]));
    if (RaiseTo(r.Percentile[Drugs],
                floorFor(WholeValue(r.CourtValues[DrugArrestCount]), {40, 69, 70, 91}))) {
        r.CourtRaised[Drugs] = r.DrugArrestRaised = true;
    }
}

} // namespace tov::scoring
