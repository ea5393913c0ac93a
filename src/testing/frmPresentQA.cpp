#include "testing/frmPresentQA.h"

#include "app/DataDrive.h"
#include "app/ProgramState.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "testing/LanguageTables.h"
#include "testing/TextFit.h"
#include "ui/Geometry.h"
#include "ui/MenuChoice.h"
#include "ui/MessagePanel.h"
#include "ui/ScreenKit.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace tov::testing {

using platform::MessageBoxes;
using records::Field;

namespace {

constexpr int kMarginTwips = 300;
constexpr int kHelpTwips = 900;
const QColor kAnswerTextBack(0xe4, 0xe4, 0xe4);

bool isEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

// A focus that comes back with the window (after a message box, say) is no move by the client
// and plays nothing again.
bool movedByClient(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

QPlainTextEdit* readOnlyText(const QString& name, QWidget* parent) {
    auto* edit = new QPlainTextEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::ClickFocus);
    edit->setFrameShape(QFrame::Box);
    return edit;
}

} // namespace

frmPresentQA::frmPresentQA(const app::Context& context, QWidget* parent)
    : ui::ModalScreen(QStringLiteral("Question Presentation"), QStringLiteral("frQandA"), parent),
      ctx_(context), texts_(QString()),
      prompts_(context.platform.wave.get(), *context.platform.fs, *context.platform.boxes) {
    setObjectName(QStringLiteral("frmPresentQA"));
    ui::ScreenKit* k = kit();
    QFrame* frame = mainFrame();

    fraQuestions_ = new QGroupBox(QStringLiteral("Question"), frame);
    fraQuestions_->setObjectName(QStringLiteral("fraQuestions"));
    txtQuestion_ = readOnlyText(QStringLiteral("txtQuestion"), fraQuestions_);
    auto* ql = new QVBoxLayout(fraQuestions_);
    ql->addWidget(txtQuestion_);
    setQuestionFocused(false);

    fraAnswer_ = new QGroupBox(QStringLiteral("Choose Answer"), frame);
    fraAnswer_->setObjectName(QStringLiteral("fraAnswer"));
    auto* al = new QVBoxLayout(fraAnswer_);
    al->setSpacing(ui::twips(90));
    for (int i = 0; i < kMaxAnswers; ++i) {
        ui::MenuChoice* c = k->addMenuChoice(QString(), QString());
        c->setParent(fraAnswer_);
        QPushButton* button = c->button();
        // The answer's text lies over its button; clicks go through to the button.
        auto* text = new QLabel(button);
        text->setObjectName(QStringLiteral("txtButtonText_%1").arg(i));
        text->setWordWrap(true);
        text->setTextFormat(Qt::PlainText);
        text->setFocusPolicy(Qt::NoFocus);
        text->setAttribute(Qt::WA_TransparentForMouseEvents);
        text->setAutoFillBackground(true);
        text->setIndent(ui::twips(120));
        QPalette tp = text->palette();
        tp.setColor(QPalette::Window, kAnswerTextBack);
        tp.setColor(QPalette::WindowText, Qt::black);
        text->setPalette(tp);
        auto* bl = new QHBoxLayout(button);
        bl->setContentsMargins(ui::twips(90), ui::twips(60), ui::twips(90), ui::twips(60));
        bl->addWidget(text);
        txtButtonText_.at(i) = text;
        button->installEventFilter(this);
        al->addWidget(c);
    }
    al->addStretch(1);

    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(ui::twips(240), ui::twips(180), ui::twips(240), ui::twips(180));
    layout->addWidget(fraQuestions_, 2);
    layout->addWidget(fraAnswer_, 3);

    fraInstructions_ = new QGroupBox(QStringLiteral("Instructions"), this);
    fraInstructions_->setObjectName(QStringLiteral("fraInstructions"));
    fraInstructions_->setAutoFillBackground(true);
    txtInstructions_ = readOnlyText(QStringLiteral("txtInstructions"), fraInstructions_);
    auto* il = new QVBoxLayout(fraInstructions_);
    il->addWidget(txtInstructions_);
    fraInstructions_->hide();

    txtQuestion_->installEventFilter(this);
    txtInstructions_->installEventFilter(this);
    connect(k, &ui::ScreenKit::menuChoiceClicked, this, &frmPresentQA::chooseAnswer);
    connect(k, &ui::ScreenKit::menuChoiceFocused, this, &frmPresentQA::answerFocused);

    // A client alone at the screen reads best with the screen to themselves.
    const QScreen* display = screen();
    const QRect area = display != nullptr ? display->availableGeometry() : QRect(0, 0, 800, 600);
    resize(area.width() * 19 / 20, area.height() * 19 / 20);
}

frmPresentQA::~frmPresentQA() {
    prompts_.StopPrompt();
}

void frmPresentQA::setLanguage(const QString& language) {
    language_ = language;
    texts_ = PresentationTexts(language);
}

bool frmPresentQA::OpenQuestions() {
    const app::ProgramState& state = ctx_.state;
    prompts_.setFolder(PromptPlayer::soundFolder(state.SoundPath, language_));
    try {
        bank_ = state.workspace.OpenDatabase(state.QuestionBankPath);
        questions_ = bank_->OpenRecordset(QStringLiteral("Select * from [") + language_ +
                                          QStringLiteral("]"));
    } catch (const AppError& e) {
        ctx_.platform.boxes->show(unreadableTableText(language_, e.number(), e.description()),
                                  MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Error,
                                  refusalTitle());
        return false;
    }
    // Advancing past the end of a short table would have nothing to show.
    if (questions_.RecordCount() < kItems) {
        ctx_.platform.boxes->show(shortTableText(language_, questions_.RecordCount()),
                                  MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Error,
                                  refusalTitle());
        return false;
    }
    questions_.MoveFirst();
    firstLoad_ = true;
    GetNextQuestion();
    codes_.fill(0);
    goingBack_ = false;
    fraInstructions_->show();
    fraInstructions_->raise();
    return true;
}

void frmPresentQA::Activate() {
    if (activated_) {
        return;
    }
    activated_ = true;
    if (!bank_ && !OpenQuestions()) {
        QTimer::singleShot(0, this, [this] { endPresentation(); });
        return;
    }
    if (texts_.spanish()) {
        setWindowTitle(texts_.caption());
    }
    prompts_.InitSound();
    firstInstructions_ = true;
    TestInstructions(0);
    prompts_.PlayPrompt(QStringLiteral("Inst0.wav"));
    kit()->ResetMenuChoices();
}

void frmPresentQA::TestInstructions(int number) {
    txtInstructions_->clear();
    fraInstructions_->show();
    fraInstructions_->raise();
    instructionText_ = texts_.instructions(number);
    QString shown = instructionText_;
    txtInstructions_->setPlainText(shown.replace(QLatin1String("\r\n"), QLatin1String("\n")));
    fitInstructions();
    txtInstructions_->setFocus(Qt::OtherFocusReason);
}

void frmPresentQA::GetNextQuestion() {
    if (closing_) {
        return;
    }
    const auto& ends = ctx_.state.SectionEnd;
    if (firstLoad_) {
        itemNumber_ = 1;
        firstLoad_ = false;
    } else {
        ++itemNumber_;
    }
    // Going back from the last item still has an item to show.
    if (!goingBack_ && itemNumber_ > ends[2]) {
        finishTest();
        return;
    }
    if (itemNumber_ > 1) {
        questions_.MoveNext();
        if (questions_.atEOF()) {
            // The rows ran out before the last item: the items never shown stay unanswered.
            finishTest();
            return;
        }
        itemNumber_ = questions_.Fields(QStringLiteral("ID")).toInt();
    }
    if (!goingBack_ && itemNumber_ == ends[1] + 1) {
        prompts_.StopPrompt();
        hideQuestionFrames();
        TestInstructions(2);
        repaint();
        prompts_.PlayPrompt(QStringLiteral("Inst2.wav"));
    }
    showItem();
}

void frmPresentQA::showItem() {
    item_ = TestItem::fromRow(questions_);
    txtQuestion_->setPlainText(item_.numberedQuestion());
    for (int i = 0; i < kMaxAnswers; ++i) {
        const bool shown = item_.hasAnswer(i);
        txtButtonText_.at(i)->setText(shown ? item_.answers.at(i) : QString());
        kit()->cmdMenuChoice(i)->setVisible(shown);
    }
    txtQuestion_->moveCursor(QTextCursor::Start);
    scaleText();
}

void frmPresentQA::hideQuestionFrames() {
    // The focus waits on the window, so that hiding the frames moves it to no answer.
    setFocus(Qt::OtherFocusReason);
    fraQuestions_->hide();
    fraAnswer_->hide();
}

void frmPresentQA::leaveInstructions() {
    fraQuestions_->show();
    fraAnswer_->show();
    if (firstInstructions_) {
        firstInstructions_ = false;
        TestInstructions(1);
        repaint();
        prompts_.PlayPrompt(QStringLiteral("Inst1.wav"));
        return;
    }
    setFocus(Qt::OtherFocusReason);
    fraInstructions_->hide();
    txtQuestion_->setFocus(Qt::OtherFocusReason);
}

void frmPresentQA::chooseAnswer(int index) {
    if (closing_ || fraInstructions_->isVisible() || !item_.hasAnswer(index)) {
        return;
    }
    const auto& ends = ctx_.state.SectionEnd;
    kit()->sspMenuChoice(index)->setHighlighted(false);
    const int answered = item_.id;
    if (answered >= 1 && answered <= kItems) {
        codes_.at(answered) = index + 1;
    }
    if (answered == ends[1]) {
        prompts_.StopPrompt();
        hideQuestionFrames();
        kit()->setHelp(QString());
        ctx_.platform.boxes->show(texts_.partDoneText(), MessageBoxes::Buttons::Ok,
                                  MessageBoxes::Icon::None, texts_.partDoneTitle());
        fraQuestions_->show();
        fraAnswer_->show();
    }
    if (answered == ends[2]) {
        prompts_.StopPrompt();
        hideQuestionFrames();
        kit()->setHelp(QString());
        ctx_.platform.boxes->show(texts_.testDoneText(), MessageBoxes::Buttons::Ok,
                                  MessageBoxes::Icon::None, texts_.testDoneTitle());
    }
    GetNextQuestion();
    if (closing_ || answered >= ends[2]) {
        return;
    }
    if (fraInstructions_->isVisible()) {
        txtInstructions_->setFocus(Qt::OtherFocusReason);
    } else {
        txtQuestion_->setFocus(Qt::OtherFocusReason);
    }
}

void frmPresentQA::answerFocused(int index) {
    kit()->setHelp(texts_.answerHelp(prompts_.SoundOn()));
    if (movedByClient(lastFocusReason_)) {
        prompts_.PlayPrompt(item_.choiceAudio.at(index));
    }
}

void frmPresentQA::goBack() {
    if (closing_ || fraInstructions_->isVisible()) {
        return;
    }
    if (item_.id == 1) {
        ctx_.platform.boxes->beep();
        return;
    }
    if (questions_.atBOF()) {
        questions_.MoveFirst();
        ctx_.platform.boxes->beep();
        return;
    }
    questions_.MovePrevious();
    if (questions_.atBOF()) {
        questions_.MoveFirst();
        ctx_.platform.boxes->beep();
        return;
    }
    questions_.MovePrevious();
    goingBack_ = true;
    GetNextQuestion();
    goingBack_ = false;
    kit()->cmdMenuChoice(0)->setFocus(Qt::OtherFocusReason);
    txtQuestion_->setFocus(Qt::OtherFocusReason);
}

void frmPresentQA::abortTest() {
    if (closing_) {
        return;
    }
    auto& table = ctx_.state.clients;
    table.ClearClientRecord();
    // Client 1 becomes current again; with no clients there is none.
    table.setCurrentClient(table.ClientCount() > 0 ? 1 : 0);
    endPresentation();
}

void frmPresentQA::finishTest() {
    kit()->setHelp(QString());
    if (ctx_.drive.CheckDataDisk()) {
        storeResponses();
    }
    ctx_.state.ProceedToNext = true;
    endPresentation();
}

bool frmPresentQA::storeResponses() {
    auto& table = ctx_.state.clients;
    table.current().set(Field::Responses, ResponseString(codes_));
    for (;;) {
        try {
            // The new client's record reaches the file now, and the client count grows with it.
            table.PutClientRecord(table.CurrentClient());
            return true;
        } catch (const AppError& e) {
            const auto answer = ctx_.platform.boxes->show(
                QStringLiteral("The client's answers could not be written to the data disk.\r"
                               "Error %1:%2\r\rRetry to write them again, Cancel to leave them "
                               "unsaved.")
                    .arg(e.number())
                    .arg(e.description()),
                MessageBoxes::Buttons::RetryCancel, MessageBoxes::Icon::Error,
                QStringLiteral("Data Disk Error"));
            if (answer != MessageBoxes::Answer::Retry) {
                return false;
            }
        }
    }
}

void frmPresentQA::endPresentation() {
    closing_ = true;
    prompts_.StopPrompt();
    questions_.Close();
    closeScreen();
}

int frmPresentQA::answerIndexOf(const QObject* watched) const {
    for (int i = 0; i < kMaxAnswers; ++i) {
        if (watched == kit()->cmdMenuChoice(i)) {
            return i;
        }
    }
    return -1;
}

int frmPresentQA::nextVisibleAnswer(int from, int step) const {
    for (int n = 1; n <= kMaxAnswers; ++n) {
        const int i = (from + step * n + kMaxAnswers) % kMaxAnswers;
        if (!kit()->cmdMenuChoice(i)->isHidden()) {
            return i;
        }
    }
    return from;
}

bool frmPresentQA::previewKey(QObject* watched, const QKeyEvent* key) {
    if (key->key() == Qt::Key_F10) {
        const auto both = Qt::ShiftModifier | Qt::AltModifier;
        if ((key->modifiers() & both) == both) {
            abortTest();
        } else {
            goBack();
        }
        return true;
    }
    if (watched == txtInstructions_) {
        if (isEnter(key) || key->key() == Qt::Key_Tab) {
            // A held key does not skip the instructions unread.
            if (!key->isAutoRepeat()) {
                leaveInstructions();
            }
            return true;
        }
        return key->key() == Qt::Key_Backtab;
    }
    if (watched == txtQuestion_) {
        if (key->key() == Qt::Key_Down) {
            kit()->cmdMenuChoice(0)->setFocus(Qt::TabFocusReason);
        }
        return true;
    }
    const int index = answerIndexOf(watched);
    if (index < 0) {
        return false;
    }
    switch (key->key()) {
    case Qt::Key_Up:
    case Qt::Key_Backtab:
        if (index == 0) {
            txtQuestion_->setFocus(Qt::OtherFocusReason);
        } else {
            kit()->cmdMenuChoice(nextVisibleAnswer(index, -1))->setFocus(Qt::BacktabFocusReason);
        }
        return true;
    case Qt::Key_Down:
    case Qt::Key_Tab:
        kit()->cmdMenuChoice(nextVisibleAnswer(index, 1))->setFocus(Qt::TabFocusReason);
        return true;
    default:
        return false; // Enter and Space choose, the rest is discarded by the screen conventions
    }
}

void frmPresentQA::focusEvent(QObject* watched, const QFocusEvent* event) {
    const bool in = event->type() == QEvent::FocusIn;
    if (watched == txtInstructions_) {
        if (in) {
            kit()->setHelp(texts_.instructionsHelp());
            kit()->ResetMenuChoices();
        }
        return;
    }
    if (watched == txtQuestion_) {
        if (!in) {
            setQuestionFocused(false);
            return;
        }
        if (fraInstructions_->isVisible()) {
            txtInstructions_->setFocus(Qt::OtherFocusReason);
            return;
        }
        kit()->ResetMenuChoices();
        setQuestionFocused(true);
        kit()->setHelp(texts_.questionHelp());
        if (movedByClient(event->reason())) {
            prompts_.PlayPrompt(item_.questionAudio);
        }
        return;
    }
    if (in && answerIndexOf(watched) >= 0) {
        lastFocusReason_ = event->reason();
    }
}

bool frmPresentQA::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
        if (previewKey(watched, static_cast<QKeyEvent*>(event))) {
            return true;
        }
        break;
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        focusEvent(watched, static_cast<QFocusEvent*>(event));
        break;
    default:
        break;
    }
    return ui::ModalScreen::eventFilter(watched, event);
}

void frmPresentQA::keyPressEvent(QKeyEvent* event) {
    // Keys with no control focused still reach the window first.
    if (previewKey(this, event)) {
        return;
    }
    ui::ModalScreen::keyPressEvent(event);
}

void frmPresentQA::setQuestionFocused(bool focused) {
    QPalette p = txtQuestion_->palette();
    p.setColor(QPalette::Base, focused ? QColor(0, 255, 255) : QColor(0, 0, 255));
    p.setColor(QPalette::Text, focused ? Qt::black : Qt::white);
    txtQuestion_->setPalette(p);
}

void frmPresentQA::resizeEvent(QResizeEvent* event) {
    ui::ModalScreen::resizeEvent(event);
    const int margin = ui::twips(kMarginTwips);
    const QSize frameSize(std::max(200, width() - 2 * margin),
                          std::max(200, height() - ui::twips(1000) - 2 * margin));
    mainFrame()->setFixedSize(frameSize);
    fraInstructions_->setFixedSize(frameSize);
    ui::centerFrame(mainFrame());
    ui::centerFrame(fraInstructions_);
    // The longer help lines take two lines, inside the room left below the frames.
    msgPanel()->setWordWrap(true);
    msgPanel()->setGeometry(ui::twips(60), height() - ui::twips(kHelpTwips) - ui::twips(60),
                            width() - ui::twips(120), ui::twips(kHelpTwips));
    scaleText();
}

void frmPresentQA::scaleText() {
    // Large, clear text for the client that grows with the window.
    const int px = std::clamp(std::min(height() / 24, width() / 40), 14, 44);
    QFont f = mainFrame()->font();
    f.setPixelSize(px);
    mainFrame()->setFont(f);
    QFont qf = txtQuestion_->font();
    qf.setPixelSize(px * 6 / 5);
    txtQuestion_->setFont(qf);
    const int textWidth = mainFrame()->width() - ui::twips(1200);
    for (int i = 0; i < kMaxAnswers; ++i) {
        QPushButton* button = kit()->cmdMenuChoice(i);
        QFont bf = button->font();
        bf.setPixelSize(px);
        button->setFont(bf);
        const int needed = txtButtonText_.at(i)->heightForWidth(textWidth);
        button->setMinimumHeight(std::max(needed, px * 3 / 2) + ui::twips(180));
    }
    QFont mf = msgPanel()->font();
    mf.setPixelSize(std::clamp(px * 2 / 3, 13, 20));
    msgPanel()->setFont(mf);
    fitInstructions();
}

void frmPresentQA::fitInstructions() {
    const QSize box = fraInstructions_->size() - QSize(ui::twips(600), ui::twips(900));
    QFont f = txtInstructions_->font();
    f.setPixelSize(LargestFittingPixelSize(f, txtInstructions_->toPlainText(), box, 14, 40));
    txtInstructions_->setFont(f);
}

} // namespace tov::testing
