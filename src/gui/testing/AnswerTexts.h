#pragma once

#include "testing/TestItem.h"

#include <array>

class QLabel;
class QObject;
class QWidget;

namespace tov::ui {
class ScreenKit;
}

namespace tov::testing {

// The answer buttons of the presentation, one per possible answer, each with the answer's text
// over it on a light panel: wrapped, in plain text, and letting clicks through to the button.
class AnswerTexts {
public:
    AnswerTexts() = default;
    // Adds the buttons to the screen kit's menu choices, laid out in frame; keyFilter sees
    // their keys and focus changes.
    AnswerTexts(ui::ScreenKit* kit, QWidget* frame, QObject* keyFilter);

    // The item's answers; the buttons of the answers it lacks are hidden.
    void show(const TestItem& item) const;
    // Fonts of px pixels; each button tall enough for its text wrapped to textWidth.
    void scale(int px, int textWidth) const;
    QLabel* label(int index) const { return labels_.at(index); }
    // The index of the answer whose button watched is, or -1.
    int indexOf(const QObject* watched) const;

private:
    ui::ScreenKit* kit_ = nullptr;
    std::array<QLabel*, kMaxAnswers> labels_{};
};

} // namespace tov::testing
