#include "testing/frmSelectEntryMethod.h"

#include "app/ProgramState.h"
#include "intake/IntakeChain.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "supervisor/AccessCodePrompt.h"
#include "testing/LanguageTables.h"
#include "testing/frmPresentQA.h"
#include "testing/frmSelectLanguage.h"
#include "ui/Geometry.h"
#include "ui/Headings.h"
#include "ui/MenuChoice.h"
#include "ui/MessagePanel.h"
#include "ui/ScreenKit.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tov::testing {

using platform::MessageBoxes;

frmSelectEntryMethod::frmSelectEntryMethod(const app::Context& context, EntryMethods methods,
                                           QWidget* parent)
    : ui::ModalScreen(QStringLiteral("Entry Method"), QStringLiteral("fraSelectMethod"), parent),
      ctx_(context), methods_(std::move(methods)) {
    setObjectName(QStringLiteral("frmSelectEntryMethod"));
    ui::ScreenKit* k = kit();
    QFrame* frame = mainFrame();

    // What stays on screen while the chain's screens hide the choices.
    frBlank_ = new QFrame(this);
    frBlank_->setObjectName(QStringLiteral("frBlank"));
    frBlank_->setFrameShape(QFrame::Box);
    frBlank_->lower();

    lblClientName_ = new QLabel(frame);
    lblClientName_->setObjectName(QStringLiteral("lblClientName"));
    lblClientName_->hide();

    QLabel* title = ui::frameCaption(QStringLiteral("Select Client Data Entry Method"), frame);

    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(ui::twips(600), ui::twips(360), ui::twips(600), ui::twips(480));
    layout->setSpacing(ui::twips(240));
    layout->addWidget(title);
    const std::pair<QString, QString> choices[] = {
        {QStringLiteral("Administer Test to Client"),
         QStringLiteral("Onscreen Presentation. Enter client information then present the test "
                        "on the computer.")},
        {QStringLiteral("Enter Test Data from Answer Sheet"),
         QStringLiteral("Paper-Pencil Presentation. Manually enter test information from "
                        "completed answer sheet.")},
        {QStringLiteral("Scan Answer Sheet"),
         QStringLiteral("Optical Scanner Presentation. Scan completed answer sheet.")},
        {QStringLiteral("Cancel New Client Entry"),
         QStringLiteral("Cancel. Do not enter a new client. Return to Main Menu.")},
    };
    int helpWidth = 0;
    for (const auto& [caption, help] : choices) {
        ui::MenuChoice* c = k->addMenuChoice(caption, help);
        c->setParent(frame);
        c->setFixedWidth(ui::twips(5400));
        layout->addWidget(c, 0, Qt::AlignHCenter);
        helpWidth = std::max(helpWidth, msgPanel()->fontMetrics().horizontalAdvance(help));
    }
    connect(k, &ui::ScreenKit::menuChoiceClicked, this, &frmSelectEntryMethod::cmdMenuChoice_Click);
    finishLayout();
    // The help lines are read whole.
    resize(std::max(width(), helpWidth + ui::twips(600)), height());

    k->cmdMenuChoice(ChoicePaper)->setEnabled(bool(methods_.AnswerGrid));
    checkScanner();
}

void frmSelectEntryMethod::checkScanner() {
    QPushButton* scan = kit()->cmdMenuChoice(ChoiceScan);
    if (!methods_.ScanProcedure || ctx_.platform.scanner == nullptr) {
        scan->setEnabled(false);
        return;
    }
    try {
        ctx_.platform.scanner->CheckAvailable();
    } catch (const AppError& e) {
        if (e.number() != platform::Scanner::NoSourceManager &&
            e.number() != platform::Scanner::NoDataSource) {
            ctx_.platform.boxes->show(
                QStringLiteral("Scanner\r%1\r%2").arg(e.number()).arg(e.description()),
                MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Error,
                QStringLiteral("Program Error"));
        }
        scan->setEnabled(false);
    }
}

void frmSelectEntryMethod::placeBlank() {
    frBlank_->setGeometry(mainFrame()->geometry());
}

void frmSelectEntryMethod::resizeEvent(QResizeEvent* event) {
    ui::ModalScreen::resizeEvent(event);
    placeBlank();
}

void frmSelectEntryMethod::Activate() {
    placeBlank();
    kit()->cmdMenuChoice(ChoiceOnScreen)->setFocus(Qt::OtherFocusReason);
}

void frmSelectEntryMethod::cmdMenuChoice_Click(int index) {
    switch (index) {
    case ChoiceOnScreen:
        if (AdministerTest() == Outcome::BackToMethods) {
            // The test could not be given; the operator chooses again.
            mainFrame()->show();
            kit()->cmdMenuChoice(ChoiceCancel)->setFocus(Qt::OtherFocusReason);
            return;
        }
        break;
    case ChoicePaper:
        EnterFromAnswerSheet();
        break;
    case ChoiceScan:
        mainFrame()->hide();
        if (methods_.ScanProcedure) {
            methods_.ScanProcedure();
        }
        break;
    default:
        break;
    }
    // A new client whose entry stopped before anything was stored is not left current, or the
    // supervisor's report would be of a client that is not in the file.
    records::ClientTable& table = ctx_.state.clients();
    if (table.CurrentClient() > table.ClientCount()) {
        table.setCurrentClient(table.ClientCount() > 0 ? 1 : 0);
    }
    closeScreen();
}

void frmSelectEntryMethod::EnterFromAnswerSheet() {
    if (intake::RunIntakeChain(ctx_, intake::ClientMode::NewClient, this) && methods_.AnswerGrid) {
        methods_.AnswerGrid();
    }
}

frmSelectEntryMethod::Outcome frmSelectEntryMethod::refuse(const QString& text) {
    ctx_.platform.boxes->show(text, MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Error,
                              refusalTitle());
    return Outcome::BackToMethods;
}

frmSelectEntryMethod::Outcome frmSelectEntryMethod::AdministerTest() {
    app::ProgramState& state = ctx_.state;
    if (!intake::RunIntakeChain(ctx_, intake::ClientMode::NewClient, this)) {
        return Outcome::Done;
    }

    QString language;
    bool chosen = true;
    {
        frmSelectLanguage chooser(ctx_, this);
        int count = 0;
        try {
            count = chooser.LanguageCount();
        } catch (const AppError& e) {
            return refuse(bankUnreadableText(e.number(), e.description()));
        }
        if (count < 1) {
            return refuse(noLanguageText());
        }
        if (count < 2) {
            language = chooser.kit()->cmdMenuChoice(0)->text();
        } else {
            chooser.exec();
            chosen = chooser.ProceedToNext();
            language = chooser.Language();
        }
    }
    if (!chosen || state.ending()) {
        return Outcome::Done;
    }

    frmPresentQA presentation(ctx_, this);
    presentation.setLanguage(language);
    // The test is refused before the client sees anything of it.
    if (!presentation.OpenQuestions()) {
        return Outcome::BackToMethods;
    }
    mainFrame()->hide();
    kit()->setHelp(QStringLiteral("Press the Enter key to continue."));
    ctx_.platform.boxes->show(QStringLiteral("Press the Enter key to begin the test."),
                              MessageBoxes::Buttons::Ok, MessageBoxes::Icon::None,
                              QStringLiteral("Tovaline-II Short Form"));
    presentation.exec();
    mainFrame()->hide();
    repaint();

    // Only the supervisor takes the program back from the client, whether the test was finished
    // or aborted.
    while (!state.ending() && !supervisor::PromptForAccessCode(ctx_, this)) {
    }
    return Outcome::Done;
}

} // namespace tov::testing
