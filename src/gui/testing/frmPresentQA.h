#pragma once

#include "app/Context.h"
#include "app/QuestionBank.h"
#include "testing/AnswerTexts.h"
#include "testing/ItemSequence.h"
#include "testing/PresentationTexts.h"
#include "testing/PromptPlayer.h"
#include "testing/TestItem.h"
#include "ui/ModalScreen.h"

#include <memory>

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace tov::testing {

// The screen on which the client takes the test alone: the instructions, then the items one at
// a time with their answers, every one of them spoken. The answers reach the client's record
// when the last item is answered.
class frmPresentQA : public ui::ModalScreen {
    Q_OBJECT
public:
    frmPresentQA(const app::Context& context, QWidget* parent = nullptr);
    ~frmPresentQA() override;

    // The language table to present; set before the questions are opened.
    void setLanguage(const QString& language);
    const QString& Language() const { return language_; }

    // Opens the language table and prepares item 1 behind the general instructions. A table
    // that cannot be read or is short is refused with a message, and false is returned.
    bool OpenQuestions();

    // Advances to the next item, or stores the answers and closes after the last one.
    void GetNextQuestion();
    // Shows instruction text 0 (general), 1 (section 1) or 2 (section 2) and gives it the focus.
    void TestInstructions(int number);

    int ItemNumber() const { return sequence_.itemNumber(); }
    const AnswerCodes& answerCodes() const { return sequence_.codes(); }
    bool SoundOn() const { return prompts_.SoundOn(); }
    const PromptPlayer& prompts() const { return prompts_; }

    QGroupBox* fraInstructions() const { return fraInstructions_; }
    QGroupBox* fraQuestions() const { return fraQuestions_; }
    QGroupBox* fraAnswer() const { return fraAnswer_; }
    QPlainTextEdit* txtInstructions() const { return txtInstructions_; }
    QPlainTextEdit* txtQuestion() const { return txtQuestion_; }
    QLabel* txtButtonText(int index) const { return answers_.label(index); }

protected:
    void Activate() override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool previewKey(QObject* watched, const QKeyEvent* key);
    void focusEvent(QObject* watched, const QFocusEvent* event);
    void leaveInstructions();
    void chooseAnswer(int index);
    void showNote(const QString& text, const QString& title);
    void answerFocused(int index);
    void goBack();
    void abortTest();
    void finishTest();
    bool storeResponses();
    void present(ItemSequence::Step step);
    void hideQuestionFrames();
    void setQuestionFocused(bool focused);
    void scaleText();
    void fitInstructions();
    void endPresentation();

    app::Context ctx_;
    QString language_;
    PresentationTexts texts_;
    PromptPlayer prompts_;
    std::unique_ptr<app::Database> bank_;
    ItemSequence sequence_;
    bool activated_ = false;
    bool closing_ = false;
    Qt::FocusReason lastFocusReason_ = Qt::OtherFocusReason;

    QGroupBox* fraInstructions_ = nullptr;
    QPlainTextEdit* txtInstructions_ = nullptr;
    QGroupBox* fraQuestions_ = nullptr;
    QGroupBox* fraAnswer_ = nullptr;
    QPlainTextEdit* txtQuestion_ = nullptr;
    AnswerTexts answers_;
};

} // namespace tov::testing
