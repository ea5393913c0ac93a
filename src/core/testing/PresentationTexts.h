#pragma once

#include <QString>

namespace tov::testing {

// The texts of the presentation screen in the language of the test: caption, help lines,
// instructions and the two closing notes. Line breaks in instructions are CR LF, in the notes CR.
class PresentationTexts {
public:
    // The Spanish texts for a language named Spanish in any letter case, English otherwise.
    explicit PresentationTexts(const QString& language);

    static bool isSpanish(const QString& language);
    bool spanish() const { return spanish_; }

    QString caption() const;
    QString instructionsHelp() const;
    QString questionHelp() const;
    QString answerHelp(bool soundOn) const;

    // 0 = general instructions, 1 = section 1, 2 = section 2.
    QString instructions(int number) const;

    QString partDoneTitle() const;
    QString partDoneText() const;
    QString testDoneTitle() const;
    QString testDoneText() const;

private:
    bool spanish_;
};

} // namespace tov::testing
