#pragma once

#include "scoring/ScoreResults.h"

#include <QString>
#include <QStringList>

namespace tov::scoring {

// The substance dependency / abuse classification against the DSM-IV screening criteria, and
// what the narrative needs from the self-ratings and the elevated scales.
struct Classification {
    bool IsDependent = false;
    int DependencyCount = 0;
    int AbuseCount = 0;
    bool PhysiologicalDependence = false;
    bool AbuseItemsOmitted = false;
    bool MultipleArrests = false;
    bool PastDiagnosis = false; // item 64 answered True
    QString AdmissionsList;
    QString AbuseList;
    QString ToleranceText;
    int SelfRatingLevel = 0;
    QString DrinkingPhrase;
    QString DrugPhrase;
    QString SelfRatedSubstance;
    int ElevatedCount = 0;
    QString ScalePhrase;
    QString ElevatedScale;
    QString OtherScale;
    QString RiskWord;
};

Classification ClassifySubstanceUse(const ScoreResults& r);

// The classification paragraph of the full report, as one text for JustifyParagraph; empty when
// an abuse item was omitted (the report then prints OmissionLines instead).
QString ClassificationParagraph(const Classification& c, const ScoreResults& r);
QStringList OmissionLines();

// The four lines of the first page's classification statement.
QStringList FirstPageStatement(const Classification& c);

// The risk classification of the header box: "   HIGH RISK", "SIGNIFICANT RISK",
// " MODERATE RISK" or "  MINIMAL RISK".
QString RiskClassification(const Classification& c, const ScoreResults& r);

} // namespace tov::scoring
