#include "reports/frmViewReport.h"

#include "app/ProgramState.h"
#include "app/Publisher.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "reports/ReportPrinting.h"
#include "reports/ScoreClient.h"
#include "ui/Geometry.h"
#include "ui/Headings.h"
#include "ui/MenuChoice.h"
#include "ui/ScreenKit.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace tov::reports {

using platform::MessageBoxes;

frmViewReport::frmViewReport(const app::Context& context, platform::Printer& printer,
                             ExtraPages extra, QWidget* parent)
    : ui::ModalScreen(QStringLiteral("Client Report"), QStringLiteral("fraAll"), parent),
      ctx_(context), printer_(printer), extra_(extra), text1_(new QPlainTextEdit(mainFrame())) {
    setObjectName(QStringLiteral("frmViewReport"));
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setReadOnly(true);
    text1_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text1_->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    QFont font(ReportFont);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(10);
    text1_->setFont(font);
    const QFontMetrics metrics(font);
    text1_->setMinimumSize(metrics.horizontalAdvance(QString(84, QLatin1Char('M'))),
                           metrics.lineSpacing() * 30);
    text1_->installEventFilter(this);

    ui::ScreenKit* k = kit();
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(ui::twips(240));
    const QStringList captions = {QStringLiteral("&Print Report"),
                                  QStringLiteral("Save as &PDF..."), QStringLiteral("&Close")};
    const QStringList helps = {
        QStringLiteral("Press Enter to print this report."),
        QStringLiteral("Press Enter to save this report as a PDF file."),
        QStringLiteral("Press Enter to close the report and return."),
    };
    const QStringList names = {QStringLiteral("cmdPrintReport"), QStringLiteral("cmdSavePdf"),
                               QStringLiteral("cmdCancel")};
    for (int i = 0; i < captions.size(); ++i) {
        ui::MenuChoice* c = k->addMenuChoice(captions[i], helps[i]);
        c->setParent(mainFrame());
        c->setFixedWidth(ui::twips(2600));
        c->button()->setObjectName(names[i]);
        // Up, Down and the page keys on a button go back to the text, before the kit eats them.
        c->button()->installEventFilter(this);
        buttons->addWidget(c);
    }
    auto* layout = new QVBoxLayout(mainFrame());
    layout->setContentsMargins(ui::twips(240), ui::twips(240), ui::twips(240), ui::twips(240));
    QLabel* banner = ui::demonstrationBanner(mainFrame());
    banner->setVisible(ctx_.state.content().demonstration());
    layout->addWidget(banner);
    layout->addWidget(text1_);
    layout->addLayout(buttons);
    setTabOrder(text1_, k->cmdMenuChoice(ChoicePrint));
    setTabOrder(k->cmdMenuChoice(ChoicePrint), k->cmdMenuChoice(ChoicePdf));
    setTabOrder(k->cmdMenuChoice(ChoicePdf), k->cmdMenuChoice(ChoiceClose));
    connect(k, &ui::ScreenKit::menuChoiceClicked, this, &frmViewReport::cmdMenuChoice_Click);
    askPdfPath = [this] {
        return QFileDialog::getSaveFileName(this, QStringLiteral("Save Report as PDF"),
                                            QDir::homePath() + QStringLiteral("/report.pdf"),
                                            QStringLiteral("PDF files (*.pdf)"));
    };
    finishLayout();
}

frmViewReport::~frmViewReport() {
    RemoveReportFiles(ctx_.state.programFolder());
}

void frmViewReport::Activate() {
    if (activated_) {
        return;
    }
    activated_ = true;
    ui::SetHourglass();
    auto& table = ctx_.state.clients();
    QString error;
    try {
        ScoreClient(ctx_.state.programFolder(), ctx_.state.content().folder,
                    app::PublisherTexts::of(ctx_.state.settings().publisher()), table.current(),
                    table.CurrentClient(), extra_);
        text1_->setPlainText(ReadReportFile(ctx_.state.programFolder()));
        shown_ = true;
    } catch (const AppError& e) {
        error = e.description();
    }
    ui::ResetHourglass();
    if (!error.isEmpty()) {
        showError(error);
        // The screen cannot close while it is still being shown.
        QTimer::singleShot(0, this, [this] { closeScreen(); });
        return;
    }
    kit()->ResetMenuChoices();
    text1_->setFocus(Qt::OtherFocusReason);
    kit()->setHelp(QStringLiteral("Use the arrow and page keys to read the report. "
                                  "Press Tab to reach the buttons."));
}

void frmViewReport::showError(const QString& what) {
    ctx_.platform.boxes->show(what, MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Error,
                              QStringLiteral("Client Report"));
}

bool frmViewReport::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched != text1_) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            text1_->setFocus(Qt::OtherFocusReason);
            return true;
        default:
            break;
        }
    }
    return ui::ModalScreen::eventFilter(watched, event);
}

void frmViewReport::cmdMenuChoice_Click(int index) {
    if (index == ChoiceClose) {
        closeScreen();
        return;
    }
    if (!shown_) {
        return;
    }
    try {
        if (index == ChoicePrint) {
            const ui::Hourglass busy;
            PrintReportFile(printer_, ctx_.state.programFolder(),
                            content::MarginNote(ctx_.state.content()));
        } else {
            const QString path = askPdfPath ? askPdfPath() : QString();
            if (path.isEmpty()) {
                return;
            }
            const ui::Hourglass busy;
            SaveReportPdf(printer_, ctx_.state.programFolder(), path,
                          content::MarginNote(ctx_.state.content()));
        }
    } catch (const AppError& e) {
        showError(e.description());
    }
}

} // namespace tov::reports
