#pragma once

#include "records/ItemCounts.h"

#include <QList>
#include <QString>

#include <array>

namespace tov::scoring {

class TableReader;

inline constexpr int kScaleCount = 4;
inline constexpr int kMaxNormCount = 60;
inline constexpr int kMaxScaleItems = 31;
inline constexpr int kSignificantCount = 28;
inline constexpr int kListedCount = 20;
inline constexpr int kChoiceTextCount = 24;
inline constexpr int kNormGroups = 3;
inline constexpr int kGenders = 2;
inline constexpr int kFloorLevels = 8;
inline constexpr int kTruthBands = 9;

// The scales, numbered as everywhere in scoring and reports.
enum Scale { Truthfulness = 1, Alcohol = 2, DriverRisk = 3, Drugs = 4 };

// Items 1..67 are True/False, 68..73 multiple choice; the highest answer code of each section.
struct Sections {
    static constexpr int End1 = records::kTrueFalseItems;
    static constexpr int End2 = records::kItemCount;
    static constexpr int MaxCode1 = 2;
    static constexpr int MaxCode2 = 4;
    static constexpr int sectionOf(int item) { return item <= End1 ? 1 : 2; }
    static constexpr int positionOf(int item) { return item <= End1 ? item : item - End1; }
};

// Texts of the report read from TSF2RPT.TXT.
struct ReportTexts {
    std::array<QString, kScaleCount + 1> scaleNames;       // 1..4
    std::array<QString, kScaleCount + 1> rangeLabels;      // 1..4, the interpretation file sections
    std::array<QString, kScaleCount + 1> rangeWords;       // 1..4, printed in the scale headings
    std::array<QString, kListedCount + 1> listedTexts;     // 1..20
    std::array<QString, kChoiceTextCount + 1> choiceTexts; // 1..24
};

// The percentile table of one scale, norm group and gender.
struct NormColumn {
    int count = 0;                                   // raw scores 1..count are covered
    std::array<int, kMaxNormCount + 1> percentile{}; // by raw score; [0] stays 0
};

// Everything TOV2SFB.TXT and TSF2RPT.TXT hold, reloaded for every scoring pass.
struct ScoringTables {
    ReportTexts texts;
    // The items listed in the report's significant-items section: 1..7 Alcohol, 8..13 Drugs,
    // 14..20 Driver Risk.
    std::array<int, kListedCount + 1> listedItems{};
    // Points per item position by answer code: key1[code][position] for section 1 (codes 0..2),
    // key2[code][position] for section 2 (codes 0..4); each a string of digits.
    std::array<QString, Sections::MaxCode1 + 1> key1;
    std::array<QString, Sections::MaxCode2 + 1> key2;
    // norms[scale][group][gender], group 1..3, gender 1..2.
    std::array<std::array<std::array<NormColumn, kGenders + 1>, kNormGroups + 1>, kScaleCount + 1>
        norms{};
    std::array<QList<int>, kScaleCount + 1> scaleItems;
    std::array<int, kSignificantCount + 1> significantItems{};
    // [scale 2..4][level 1..8] and [scale 2..4][band 1..9].
    std::array<std::array<int, kFloorLevels + 1>, kScaleCount + 1> significantFloor{};
    std::array<std::array<int, kTruthBands + 1>, kScaleCount + 1> truthCorrection{};

    // Points the item earns with the answer code: the key digit at the item's position.
    int pointsFor(int item, int answerCode) const;
};

inline constexpr const char* kTablesFile = "TOV2SFB.TXT";
inline constexpr const char* kTextsFile = "TSF2RPT.TXT";

// Reads TOV2SFB.TXT and TSF2RPT.TXT from the program folder in their interleaved order. A
// missing or short file, a value that is not a number, or a count or item the tables cannot
// hold throws AppError naming the file and the value.
ScoringTables LoadScoringTables(const QString& programFolder);
// The same from the two files' contents, already read.
ScoringTables ReadScoringTables(TableReader& tables, TableReader& texts);

} // namespace tov::scoring
