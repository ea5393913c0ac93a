#pragma once

#include "scoring/Classification.h"
#include "scoring/ReportRecord.h"
#include "scoring/ScoreResults.h"
#include "scoring/ScoringTables.h"

#include <QString>

namespace tov::reports {

// What the report writer reads: the tables and texts, the client, the scores and the
// classification of this scoring pass.
struct ReportContext {
    const scoring::ScoringTables& tables;
    const scoring::ReportRecord& client;
    const scoring::ScoreResults& r;
    const scoring::Classification& c;
    int recordNumber;
    QString contentFolder; // where the interpretation texts and INVAL.TXT are

    int truth() const { return r.Percentile[scoring::Truthfulness]; }
    bool notScored(int scale) const { return r.OmittedCount[scale] >= 5; }
    const QString& scaleName(int scale) const { return tables.texts.scaleNames[scale]; }
};

// The labels the report prints for the record's codes; "N/A" for a code the list lacks.
QString GenderLabel(const QString& code);
QString RaceLabel(const QString& code);
QString MaritalLabel(const QString& code);
QString EducationLabel(const QString& code);

} // namespace tov::reports
