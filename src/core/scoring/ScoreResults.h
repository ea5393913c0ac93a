#pragma once

#include <QString>

#include <array>

namespace tov::scoring {

// What one scoring pass leaves for the classification and the report. Arrays are indexed as
// named: items 1..73, scales 1..4, index 0 unused unless said.
struct ScoreResults {
    std::array<int, 74> AnswerCodes{};
    std::array<int, 74> ItemPoints{};
    std::array<int, 5> RawScore{};
    std::array<int, 5> Percentile{};
    std::array<int, 5> OmittedCount{};
    std::array<int, 5> ScoredItemCount{};
    // True answers among items 1..67.
    int TrueCount = 0;

    // Blood alcohol of this arrest x 100, or NotAvailableBac / RefusedBac.
    int BacCode = 0;
    static constexpr int NotAvailableBac = -100;
    static constexpr int RefusedBac = -200;
    // Prior DUI convictions, supervisions, reckless reductions, summary suspensions (1..4);
    // -1 = not available.
    std::array<int, 5> PriorCounts{};
    int PriorDuiTotal = 0;
    // "*" where a staff-entered value was used: 0 the BAC, 1 the prior DUI's.
    std::array<QString, 5> StaffMark;

    // Court-history floors: which scale they raised (1..4) and why.
    std::array<bool, 6> CourtRaised{};
    bool BacRaised = false;
    std::array<bool, 5> DuiRaised{};
    bool AlcoholArrestRaised = false;
    bool AccidentRaised = false;
    bool ViolationRaised = false;
    bool DrugArrestRaised = false;

    // The court values 1..10 as the report prints them: not available "-1", and for the BAC
    // "-1" not available or "-2" refused.
    std::array<QString, 11> CourtValues;
};

} // namespace tov::scoring
