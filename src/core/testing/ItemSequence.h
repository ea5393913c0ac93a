#pragma once

#include "app/QuestionBank.h"
#include "testing/TestItem.h"

#include <array>

namespace tov::testing {

// The way the client walks the items of a language table: the general and section 1
// instructions, item 1 and one item further per answer, F10 back to the item before, the
// section 2 instructions before the first multiple-choice item and the end after the last item.
// It keeps the row cursor, the item shown and the answers given; the screen presents it.
class ItemSequence {
public:
    // What the screen shows after a move.
    enum class Step {
        Refused,    // nothing to go back to: a beep, the item stays
        Item,       // the item now current
        SectionTwo, // the section 2 instructions, with the item now current behind them
        End,        // no item follows: the answers are complete
    };
    // What the answer to the item shown completed.
    struct Answered {
        bool sectionOne = false; // the last true/false item
        bool test = false;       // the last item
        bool last = false;       // the last item or a number beyond it: nothing more to focus
    };

    ItemSequence() = default;
    // The rows in stored order; the section ends as the program state holds them (0, the last
    // true/false item, the last item).
    ItemSequence(app::RecordSet rows, const std::array<int, 3>& sectionEnd);

    // Item 1, with no answers yet.
    Step start();
    // Stores the answer at index (0 first) as the code of the item shown.
    Answered answer(int index);
    // The item after the one shown.
    Step next();
    // The item before the one shown, to be answered anew; never the section 2 instructions.
    Step back();

    // The general instructions lead to those of section 1, any other instructions to the item.
    void generalInstructionsShown() { general_ = true; }
    bool leavingGeneralInstructions();

    // The answer shown step answers away from index, around the end of the list.
    int nextAnswer(int from, int step) const;

    int itemNumber() const { return number_; }
    const TestItem& item() const { return item_; }
    const AnswerCodes& codes() const { return codes_; }
    void close() { rows_.Close(); }

private:
    Step advance(bool goingBack);

    app::RecordSet rows_;
    std::array<int, 3> ends_{};
    TestItem item_;
    AnswerCodes codes_{};
    // The row's ID, but 1 for the first row shown.
    int number_ = 0;
    bool general_ = false;
};

} // namespace tov::testing
