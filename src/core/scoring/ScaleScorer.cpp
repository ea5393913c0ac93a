#include "scoring/ScaleScorer.h"

#include "records/InRange.h"
#include "scoring/WholeValue.h"

#include <algorithm>

namespace tov::scoring {

using records::InRange;

bool RaiseTo(int& target, int floor) {
    if (target < floor) {
        target = floor;
        return true;
    }
    return false;
}

int ScaleScorer::normGroupOf(const QString& raceCode) {
    const int race = WholeValue(raceCode);
    if (race == 4) {
        return 2;
    }
    return InRange(race, 6, 8) ? 3 : 1;
}

ScoreResults ScaleScorer::score(const ReportRecord& client) const {
    ScoreResults r;
    r.AnswerCodes = AnswerCodesOf(client.Responses);
    rawScores(client, r);
    percentiles(client, r);
    ApplyCourtFloors(client, r);
    return r;
}

void ScaleScorer::rawScores(const ReportRecord& client, ScoreResults& r) const {
    for (int s = 1; s <= kScaleCount; ++s) {
        for (const int item : tables_.scaleItems[s]) {
            const int code = r.AnswerCodes[item];
            if (code == 0) {
                ++r.OmittedCount[s];
            }
            r.ItemPoints[item] = tables_.pointsFor(item, code);
            r.RawScore[s] += r.ItemPoints[item];
            if (r.ItemPoints[item] > 0) {
                ++r.ScoredItemCount[s];
            }
        }
    }
    // Item 71 names the substance used: alcohol only (1) or drugs only (2) takes back the points
    // the other scale earned from it.
    if (r.AnswerCodes[71] == 1) {
        r.RawScore[Drugs] -= 2;
    } else if (r.AnswerCodes[71] == 2) {
        r.RawScore[Alcohol] -= 2;
    }
    for (int item = 1; item <= Sections::End1; ++item) {
        if (r.AnswerCodes[item] == 1) {
            ++r.TrueCount;
        }
    }
    // Nearly everything True (more than 95% of section 1) makes the Truthfulness scale
    // inaccurate.
    if (r.TrueCount > Sections::End1 * 95 / 100) {
        r.RawScore[Truthfulness] = 99;
    }
    const auto& court = client.CourtValues;
    const int priorDuis = std::min(WholeValue(court[PriorDui]), 5);
    r.RawScore[Alcohol] += priorDuis;
    r.RawScore[DriverRisk] += priorDuis;
    r.RawScore[DriverRisk] += std::min((WholeValue(court[MovingViolations]) + 1) / 2, 6);
    r.RawScore[DriverRisk] += std::min(WholeValue(court[AtFaultAccidents]), 5);
    r.RawScore[Alcohol] += std::min(WholeValue(court[AlcoholArrestCount]), 5);
    r.RawScore[Drugs] += std::min(WholeValue(court[DrugArrestCount]), 5);
}

void ScaleScorer::percentiles(const ReportRecord& client, ScoreResults& r) const {
    const int group = normGroupOf(client.Race);
    const int gender = WholeValue(client.Gender) == 2 ? 2 : 1;

    convert(Truthfulness, group, gender, r);
    const int truth = r.Percentile[Truthfulness];
    if (truth > 94) {
        for (int t = Alcohol; t <= Drugs; ++t) {
            r.RawScore[t] += tables_.truthCorrection[t][9];
            r.Percentile[t] = 99;
        }
        return;
    }
    if (truth >= 10) {
        const int band = std::min(truth / 10, 9);
        for (int t = Alcohol; t <= Drugs; ++t) {
            r.RawScore[t] += tables_.truthCorrection[t][band];
        }
    }
    for (int s = Alcohol; s <= Drugs; ++s) {
        convert(s, group, gender, r);
        significantFloor(s, r);
    }
}

void ScaleScorer::convert(int s, int group, int gender, ScoreResults& r) const {
    const NormColumn& norms = tables_.norms[s][group][gender];
    const int raw = r.RawScore[s];
    if (raw > norms.count) {
        r.Percentile[s] = 99;
        return;
    }
    if (raw < 0) {
        r.Percentile[s] = 0;
        return;
    }
    r.Percentile[s] = norms.percentile[raw];
    if (s != Truthfulness) {
        // A scale on which hardly any item scored cannot reach far up the table.
        static constexpr std::array<int, 3> cap = {7, 28, 38};
        const int scored = r.ScoredItemCount[s];
        if (scored < 3) {
            r.Percentile[s] = std::min(r.Percentile[s], cap[scored]);
        }
    }
}

void ScaleScorer::significantFloor(int s, ScoreResults& r) const {
    static constexpr std::array<std::pair<int, int>, 5> range = {
        {{0, 0}, {0, 0}, {1, 11}, {12, 18}, {19, 28}}};
    int moderate = 0;
    int strong = 0;
    for (int i = range[s].first; i <= range[s].second; ++i) {
        const int item = tables_.significantItems[i];
        const int points = r.ItemPoints[item];
        if (s == DriverRisk) {
            moderate += InRange(points, 1, 2) ? 1 : 0;
            strong += points >= 3 ? 1 : 0;
        } else if (item == 71) {
            const int code = r.AnswerCodes[71];
            const int own = s == Alcohol ? 1 : 2;
            moderate += code == 3 || code == own ? 1 : 0;
        } else {
            moderate += points == 2 ? 1 : 0;
            strong += points == 3 ? 1 : 0;
        }
    }
    const int f = moderate + strong;
    int level = 0;
    if (strong == 1 && f == 1) {
        level = 1;
    } else if (strong == 1 && f == 2) {
        level = 2;
    } else if (strong == 2 && f == 2) {
        level = 3;
    } else if (f >= 3) {
        level = std::min(f + 1, 8);
    }
    if (level > 0) {
        RaiseTo(r.Percentile[s], tables_.significantFloor[s][level]);
    }
}

} // namespace tov::scoring
