#pragma once

#include "records/ItemCounts.h"

#include <QString>

#include <array>

namespace tov::app {
class RecordSet;
}

namespace tov::testing {

inline constexpr int kItems = records::kItemCount;
inline constexpr int kMaxAnswers = 5;

// The answer code of every item, indexed by item number 1 to 73 (entry 0 unused): 0 = not yet
// answered, otherwise the position of the chosen answer, 1 first.
using AnswerCodes = std::array<int, kItems + 1>;

// One row of a language table, as the presentation shows and speaks it.
struct TestItem {
    int id = 0;
    QString question;
    // Wave file names: the stored base name, trimmed, with ".wav".
    QString questionAudio;
    std::array<QString, kMaxAnswers> answers;
    std::array<QString, kMaxAnswers> choiceAudio;

    // The current row of a language table. Answers 1 and 2 are always there (empty when the
    // field is empty); answers 3 to 5 are present when their field holds text.
    static TestItem fromRow(const app::RecordSet& row);
    bool hasAnswer(int index) const;
    // "12. " followed by the statement.
    QString numberedQuestion() const;
};

// The stored answers: one digit per item, item 1 first, the last digit of each code.
QString ResponseString(const AnswerCodes& codes);

} // namespace tov::testing
