#include "testing/frmPresentQA.h"

#include "app/DataDrive.h"
#include "app/ProgramState.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "testing/LanguageTables.h"
#include "testing/StoreResponses.h"
#include "testing/TextFit.h"
#include "ui/Geometry.h"
#include "ui/MenuChoice.h"
#include "ui/MessagePanel.h"
#include "ui/ScreenKit.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace tov::testing {

using platform::MessageBoxes;

namespace {

constexpr int kMarginTwips = 300;
constexpr int kHelpTwips = 900;

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
    answers_ = AnswerTexts(k, fraAnswer_, this);

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
    app::ProgramState& state = ctx_.state;
    // An installed set brings its own prompts; a program folder keeps its sound setting.
    prompts_.setFolder(state.content().installed()
                           ? state.content().soundFolder(language_)
                           : PromptPlayer::soundFolder(state.SoundPath(), language_));
    const auto refuse = [this](const QString& text) {
        ctx_.platform.boxes->show(text, MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Error,
                                  refusalTitle());
        return false;
    };
    app::RecordSet questions;
    try {
        bank_ = state.workspace().OpenDatabase(state.QuestionBankPath());
        questions = bank_->OpenRecordset(QStringLiteral("Select * from [") + language_ +
                                         QStringLiteral("]"));
    } catch (const AppError& e) {
        return refuse(unreadableTableText(language_, e.number(), e.description()));
    }
    // Advancing past the end of a short table would have nothing to show.
    if (questions.RecordCount() < kItems) {
        return refuse(shortTableText(language_, questions.RecordCount()));
    }
    sequence_ = ItemSequence(std::move(questions), state.SectionEnd());
    if (!closing_) {
        present(sequence_.start());
    }
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
    sequence_.generalInstructionsShown();
    TestInstructions(0);
    prompts_.PlayPrompt(QStringLiteral("Inst0.wav"));
    kit()->ResetMenuChoices();
}

void frmPresentQA::TestInstructions(int number) {
    txtInstructions_->clear();
    fraInstructions_->show();
    fraInstructions_->raise();
    QString shown = texts_.instructions(number);
    txtInstructions_->setPlainText(shown.replace(QLatin1String("\r\n"), QLatin1String("\n")));
    fitInstructions();
    txtInstructions_->setFocus(Qt::OtherFocusReason);
}

void frmPresentQA::GetNextQuestion() {
    if (!closing_) {
        present(sequence_.next());
    }
}

void frmPresentQA::present(ItemSequence::Step step) {
    switch (step) {
    case ItemSequence::Step::Refused:
        ctx_.platform.boxes->beep();
        return;
    case ItemSequence::Step::End:
        finishTest();
        return;
    case ItemSequence::Step::SectionTwo:
        prompts_.StopPrompt();
        hideQuestionFrames();
        TestInstructions(2);
        repaint();
        prompts_.PlayPrompt(QStringLiteral("Inst2.wav"));
        break;
    case ItemSequence::Step::Item:
        break;
    }
    const TestItem& item = sequence_.item();
    txtQuestion_->setPlainText(item.numberedQuestion());
    answers_.show(item);
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
    if (sequence_.leavingGeneralInstructions()) {
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
    if (closing_ || fraInstructions_->isVisible() || !sequence_.item().hasAnswer(index)) {
        return;
    }
    kit()->sspMenuChoice(index)->setHighlighted(false);
    const ItemSequence::Answered answered = sequence_.answer(index);
    if (answered.sectionOne) {
        showNote(texts_.partDoneText(), texts_.partDoneTitle());
        fraQuestions_->show();
        fraAnswer_->show();
    }
    if (answered.test) {
        showNote(texts_.testDoneText(), texts_.testDoneTitle());
    }
    GetNextQuestion();
    if (closing_ || answered.last) {
        return;
    }
    (fraInstructions_->isVisible() ? txtInstructions_ : txtQuestion_)
        ->setFocus(Qt::OtherFocusReason);
}

void frmPresentQA::showNote(const QString& text, const QString& title) {
    prompts_.StopPrompt();
    hideQuestionFrames();
    kit()->setHelp(QString());
    ctx_.platform.boxes->show(text, MessageBoxes::Buttons::Ok, MessageBoxes::Icon::None, title);
}

void frmPresentQA::answerFocused(int index) {
    kit()->setHelp(texts_.answerHelp(prompts_.SoundOn()));
    if (movedByClient(lastFocusReason_)) {
        prompts_.PlayPrompt(sequence_.item().choiceAudio.at(index));
    }
}

void frmPresentQA::goBack() {
    if (closing_ || fraInstructions_->isVisible()) {
        return;
    }
    const ItemSequence::Step step = sequence_.back();
    present(step);
    if (step == ItemSequence::Step::Refused) {
        return;
    }
    kit()->cmdMenuChoice(0)->setFocus(Qt::OtherFocusReason);
    txtQuestion_->setFocus(Qt::OtherFocusReason);
}

void frmPresentQA::abortTest() {
    if (closing_) {
        return;
    }
    auto& table = ctx_.state.clients();
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
    setProceedToNext(true);
    endPresentation();
}

bool frmPresentQA::storeResponses() {
    return StoreResponses(ctx_.state.clients(), sequence_.codes(), *ctx_.platform.boxes);
}

void frmPresentQA::endPresentation() {
    closing_ = true;
    prompts_.StopPrompt();
    sequence_.close();
    closeScreen();
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
    const int index = answers_.indexOf(watched);
    if (index < 0) {
        return false;
    }
    switch (key->key()) {
    case Qt::Key_Up:
    case Qt::Key_Backtab:
        if (index == 0) {
            txtQuestion_->setFocus(Qt::OtherFocusReason);
        } else {
            kit()->cmdMenuChoice(sequence_.nextAnswer(index, -1))->setFocus(Qt::BacktabFocusReason);
        }
        return true;
    case Qt::Key_Down:
    case Qt::Key_Tab:
        kit()->cmdMenuChoice(sequence_.nextAnswer(index, 1))->setFocus(Qt::TabFocusReason);
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
            prompts_.PlayPrompt(sequence_.item().questionAudio);
        }
        return;
    }
    if (in && answers_.indexOf(watched) >= 0) {
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
    answers_.scale(px, mainFrame()->width() - ui::twips(1200));
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
