#include "testing/ItemSequence.h"

#include <utility>

namespace tov::testing {

ItemSequence::ItemSequence(app::RecordSet rows, const std::array<int, 3>& sectionEnd)
    : rows_(std::move(rows)), ends_(sectionEnd) {}

ItemSequence::Step ItemSequence::start() {
    rows_.MoveFirst();
    codes_.fill(0);
    number_ = 0;
    return advance(false);
}

ItemSequence::Answered ItemSequence::answer(int index) {
    const int answered = item_.id;
    if (answered >= 1 && answered <= kItems) {
        codes_.at(answered) = index + 1;
    }
    return {answered == ends_[1], answered == ends_[2], answered >= ends_[2]};
}

ItemSequence::Step ItemSequence::next() {
    return advance(false);
}

ItemSequence::Step ItemSequence::back() {
    if (item_.id == 1) {
        return Step::Refused;
    }
    if (rows_.atBOF()) {
        rows_.MoveFirst();
        return Step::Refused;
    }
    rows_.MovePrevious();
    if (rows_.atBOF()) {
        rows_.MoveFirst();
        return Step::Refused;
    }
    // Two rows back and one forward, as the way forward goes.
    rows_.MovePrevious();
    return advance(true);
}

ItemSequence::Step ItemSequence::advance(bool goingBack) {
    ++number_;
    // Going back from the last item still has an item to show.
    if (!goingBack && number_ > ends_[2]) {
        return Step::End;
    }
    if (number_ > 1) {
        rows_.MoveNext();
        if (rows_.atEOF()) {
            // The rows ran out before the last item: the items never shown stay unanswered.
            return Step::End;
        }
        number_ = rows_.Fields(QStringLiteral("ID")).toInt();
    }
    item_ = TestItem::fromRow(rows_);
    return !goingBack && number_ == ends_[1] + 1 ? Step::SectionTwo : Step::Item;
}

bool ItemSequence::leavingGeneralInstructions() {
    return std::exchange(general_, false);
}

int ItemSequence::nextAnswer(int from, int step) const {
    for (int n = 1; n <= kMaxAnswers; ++n) {
        const int i = (from + step * n + kMaxAnswers) % kMaxAnswers;
        if (item_.hasAnswer(i)) {
            return i;
        }
    }
    return from;
}

} // namespace tov::testing
