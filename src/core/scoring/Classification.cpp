#include "scoring/Classification.h"

#include "records/InRange.h"
#include "scoring/ReportRecord.h"
#include "scoring/ScoringTables.h"
#include "scoring/WholeValue.h"

namespace tov::scoring {

namespace {

constexpr int kTrue = 1;

QString minimum() {
    return QStringLiteral("a minimum problem");
}

void dependency(const ScoreResults& r, Classification& c) {
    const auto& a = r.AnswerCodes;
    int count = 0;
    // Tolerance: admitted, or shown by a BAC of .20 or more.
    if (a[31] != 0 && (a[31] == kTrue || r.BacCode >= 20)) {
        count = 1;
        c.PhysiologicalDependence = true;
    }
    if (a[33] == kTrue) {
        ++count;
        c.PhysiologicalDependence = true;
    }
    if (a[36] == kTrue) {
        ++count;
    }
    if ((a[40] != 0 || a[54] != 0 || a[70] != 0) &&
        (a[40] == kTrue || r.ItemPoints[54] > 0 || r.ItemPoints[70] > 0)) {
        ++count;
    }
    for (const int item : {45, 50, 59}) {
        if (a[item] == kTrue) {
            ++count;
        }
    }
    c.DependencyCount = count;
    c.IsDependent = count >= 3;
    if (c.IsDependent) {
        QString list;
        for (const int item : {31, 33, 36, 40, 45, 50, 59}) {
            if (a[item] == kTrue) {
                list += QString::number(item) + QStringLiteral(", ");
            }
        }
        for (const int item : {54, 70}) {
            if (r.ItemPoints[item] > 0) {
                list += QString::number(item) + QStringLiteral(", ");
            }
        }
        if (r.BacCode >= 20) {
            list += QStringLiteral("BAL>=.20,");
        }
        list.chop(2);
        c.AdmissionsList = list;
    }
    QString tolerance;
    if (a[31] == kTrue) {
        tolerance = QStringLiteral("(Tolerance: 31");
    }
    if (a[33] == kTrue) {
        tolerance += tolerance.isEmpty() ? QStringLiteral("(") : QStringLiteral(", ");
        tolerance += QStringLiteral("Withdrawal: 33");
    }
    if (!tolerance.isEmpty()) {
        tolerance += QStringLiteral(").");
    }
    c.ToleranceText = tolerance;
}

void abuse(const ScoreResults& r, Classification& c) {
    const auto& a = r.AnswerCodes;
    const int duis = WholeValue(r.CourtValues[PriorDui]);
    const int alcoholArrests = WholeValue(r.CourtValues[AlcoholArrestCount]);
    const int drugArrests = WholeValue(r.CourtValues[DrugArrestCount]);
    c.MultipleArrests = duis >= 2 || alcoholArrests >= 2 || drugArrests >= 2;
    int count = 0;
    QString list;
    for (const int item : {13, 18, 24, 29}) {
        const bool admitted = a[item] == kTrue;
        // Item 24 counts when answered at all by someone arrested more than once.
        if (admitted || (item == 24 && a[item] != 0 && c.MultipleArrests)) {
            ++count;
        }
        if (admitted) {
            list += QString::number(item) + QStringLiteral(", ");
        }
        if (a[item] == 0) {
            c.AbuseItemsOmitted = true;
        }
    }
    if (duis >= 2) {
        list += QStringLiteral(" DUIs,");
    }
    if (alcoholArrests >= 2) {
        list += QStringLiteral(" Alcohol Arrests,");
    }
    if (drugArrests >= 2) {
        list += QStringLiteral(" Drug Arrests,");
    }
    if (!list.isEmpty()) {
        list.chop(2);
        list += QLatin1Char('.');
    }
    c.AbuseCount = count;
    c.AbuseList = list;
}

void selfRating(const ScoreResults& r, Classification& c) {
    const int drinking = r.AnswerCodes[68];
    const int drugs = r.AnswerCodes[73];
    c.DrinkingPhrase = c.DrugPhrase = minimum();
    // Tested from mild to serious, each hit overwriting the level and naming its substance.
    static const std::array<std::pair<int, const char*>, 3> levels = {
        {{3, "a mild problem"}, {2, "a moderate problem"}, {1, "a serious problem"}}};
    QString last;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const auto& [code, phrase] = levels[i];
        if (drinking == code) {
            c.SelfRatingLevel = static_cast<int>(i) + 1;
            c.DrinkingPhrase = QString::fromLatin1(phrase);
            last = QStringLiteral("alcohol");
        }
        if (drugs == code) {
            c.SelfRatingLevel = static_cast<int>(i) + 1;
            c.DrugPhrase = QString::fromLatin1(phrase);
            last = QStringLiteral("drugs");
        }
    }
    c.SelfRatedSubstance = c.DrinkingPhrase != minimum() && c.DrugPhrase != minimum()
                               ? QStringLiteral("alcohol and drugs")
                               : last;
}

void elevation(const ScoreResults& r, Classification& c) {
    const bool alcohol = r.Percentile[Alcohol] >= 70;
    const bool drugs = r.Percentile[Drugs] >= 70;
    if (alcohol && drugs) {
        c.ElevatedCount = 2;
        c.ScalePhrase = QStringLiteral("Alcohol and Drug Scales");
        c.RiskWord = QStringLiteral("alcohol and drugs");
    } else if (alcohol) {
        c.ElevatedCount = 1;
        c.ScalePhrase = c.ElevatedScale = QStringLiteral("Alcohol Scale");
        c.OtherScale = QStringLiteral("Drug Scale");
        c.RiskWord = QStringLiteral("alcohol");
    } else if (drugs) {
        c.ElevatedCount = 1;
        c.ScalePhrase = c.ElevatedScale = QStringLiteral("Drug Scale");
        c.OtherScale = QStringLiteral("Alcohol Scale");
        c.RiskWord = QStringLiteral("drugs");
    }
}

} // namespace

Classification ClassifySubstanceUse(const ScoreResults& r) {
    Classification c;
    c.PastDiagnosis = r.AnswerCodes[64] == kTrue;
    dependency(r, c);
    abuse(r, c);
    selfRating(r, c);
    elevation(r, c);
    return c;
}

QString RiskClassification(const Classification& c, const ScoreResults& r) {
    const int suspensions = r.PriorCounts[SummarySuspensions];
    const int priors = r.PriorDuiTotal;
    if (suspensions >= 2 || priors >= 2 || c.IsDependent || c.PastDiagnosis) {
        return QStringLiteral("   HIGH RISK");
    }
    if (suspensions == 1 || priors == 1 || r.BacCode >= 20 ||
        (c.AbuseCount >= 1 && !c.IsDependent)) {
        return QStringLiteral("SIGNIFICANT RISK");
    }
    if (suspensions <= 0 && priors == 0 && records::InRange(r.BacCode, 15, 19) &&
        c.AbuseCount == 0 && !c.IsDependent) {
        return QStringLiteral(" MODERATE RISK");
    }
    return QStringLiteral("  MINIMAL RISK");
}

} // namespace tov::scoring
