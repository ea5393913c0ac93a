#pragma once

#include "scoring/ReportRecord.h"
#include "scoring/ScoreResults.h"
#include "scoring/ScoringTables.h"

namespace tov::scoring {

// Turns one client's answers and court history into the four scale scores: raw scores,
// percentiles with the Truthfulness correction and the significant-item floors, then the
// court-history floors.
class ScaleScorer {
public:
    explicit ScaleScorer(const ScoringTables& tables) : tables_(tables) {}

    ScoreResults score(const ReportRecord& client) const;

    // The norm group of a race code: 2 for code 4, 3 for codes 6..8, else 1.
    static int normGroupOf(const QString& raceCode);

private:
    void rawScores(const ReportRecord& client, ScoreResults& r) const;
    void percentiles(const ReportRecord& client, ScoreResults& r) const;
    void convert(int scale, int group, int gender, ScoreResults& r) const;
    void significantFloor(int scale, ScoreResults& r) const;

    const ScoringTables& tables_;
};

// The court-history floors of step 6: BAC, prior DUI's, arrests, accidents and violations raise
// percentiles and note why.
void ApplyCourtFloors(const ReportRecord& client, ScoreResults& r);

// Sets target to floor when target is lower; true when it rose.
bool RaiseTo(int& target, int floor);

} // namespace tov::scoring
