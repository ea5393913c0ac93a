#pragma once

#include "app/Context.h"
#include "app/QuestionBank.h"
#include "testing/PresentationTexts.h"
#include "testing/PromptPlayer.h"
#include "testing/TestItem.h"
#include "ui/ModalScreen.h"

#include <array>
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

    int ItemNumber() const { return itemNumber_; }
    const AnswerCodes& answerCodes() const { return codes_; }
    bool SoundOn() const { return prompts_.SoundOn(); }
    const PromptPlayer& prompts() const { return prompts_; }

    QGroupBox* fraInstructions() const { return fraInstructions_; }
    QGroupBox* fraQuestions() const { return fraQuestions_; }
    QGroupBox* fraAnswer() const { return fraAnswer_; }
    QPlainTextEdit* txtInstructions() const { return txtInstructions_; }
    QPlainTextEdit* txtQuestion() const { return txtQuestion_; }
    QLabel* txtButtonText(int index) const { return txtButtonText_.at(index); }

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
    void answerFocused(int index);
    void goBack();
    void abortTest();
    void finishTest();
    bool storeResponses();
    void showItem();
    void hideQuestionFrames();
    void setQuestionFocused(bool focused);
    int answerIndexOf(const QObject* watched) const;
    int nextVisibleAnswer(int from, int step) const;
    void scaleText();
    void fitInstructions();
    void endPresentation();

    app::Context ctx_;
    QString language_;
    PresentationTexts texts_;
    PromptPlayer prompts_;
    std::unique_ptr<app::Database> bank_;
    app::RecordSet questions_;
    TestItem item_;
    AnswerCodes codes_{};
    int itemNumber_ = 0;
    bool firstLoad_ = true;
    bool goingBack_ = false;
    bool firstInstructions_ = false;
    bool activated_ = false;
    bool closing_ = false;
    QString instructionText_;
    Qt::FocusReason lastFocusReason_ = Qt::OtherFocusReason;

    QGroupBox* fraInstructions_ = nullptr;
    QPlainTextEdit* txtInstructions_ = nullptr;
    QGroupBox* fraQuestions_ = nullptr;
    QGroupBox* fraAnswer_ = nullptr;
    QPlainTextEdit* txtQuestion_ = nullptr;
    std::array<QLabel*, kMaxAnswers> txtButtonText_{};
};

} // namespace tov::testing
