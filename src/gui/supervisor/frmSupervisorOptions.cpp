#include "supervisor/frmSupervisorOptions.h"

#include "app/ProgramState.h"
#include "app/Publisher.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "reports/ReportBatch.h"
#include "reports/frmPrintSelected.h"
#include "reports/frmViewReport.h"
#include "supervisor/AccessCodePrompt.h"
#include "supervisor/DeleteNames.h"
#include "supervisor/frmVerify.h"
#include "ui/Geometry.h"
#include "ui/MessagePanel.h"
#include "ui/ScreenKit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace tov::supervisor {

using platform::MessageBoxes;
using records::Field;

namespace {

QLabel* comment(const QString& text, const QString& name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setMaximumWidth(ui::twips(6000));
    return label;
}

QString verifyHelp() {
    return QStringLiteral("Click Execute to perform data verification.");
}

QString deleteHelp() {
    return QStringLiteral("Click Execute to perform delete names operation.");
}

QString accessCodeHelp() {
    return QStringLiteral("Click Execute to change the access code.");
}

} // namespace

frmSupervisorOptions::frmSupervisorOptions(const app::Context& context, platform::Printer& printer,
                                           QWidget* parent)
    : ui::ModalScreen(QStringLiteral("Supervisor Operations"), QStringLiteral("frAll"), parent),
      ctx_(context), printer_(printer), tabs_(new QTabWidget(mainFrame())),
      chkSumPage_(new QCheckBox(QStringLiteral("One-page summary report"))),
      chkClientPage_(new QCheckBox(QStringLiteral("One-page client report"))),
      frCurrentClient_(new QGroupBox(QStringLiteral("Current Client"), mainFrame())),
      lblNameDisplay_(new QLabel(frCurrentClient_)) {
    setObjectName(QStringLiteral("frmSupervisorOptions"));
    tabs_->setObjectName(QStringLiteral("sstSupervisorOperations"));
    tabs_->setStyleSheet(QStringLiteral("QTabWidget::pane { background: rgb(0, 0, 255); } "
                                        "QTabWidget > QWidget > QWidget { background: rgb(0, 0, "
                                        "255); color: white; } "
                                        "QLabel, QRadioButton, QCheckBox { color: white; }"));
    chkSumPage_->setObjectName(QStringLiteral("chkSumPage"));
    chkClientPage_->setObjectName(QStringLiteral("chkClientPage"));
    frCurrentClient_->setObjectName(QStringLiteral("frCurrentClient"));
    lblNameDisplay_->setObjectName(QStringLiteral("lblNameDisplay"));

    auto* reportsTab = new QWidget;
    auto* reportsLayout = new QVBoxLayout(reportsTab);
    auto* group = new QButtonGroup(this);
    const QStringList captions = {QStringLiteral("Print above current client's report"),
                                  QStringLiteral("Select and print multiple clients' reports"),
                                  QStringLiteral("Print all clients' reports")};
    for (int i = 0; i < 3; ++i) {
        auto* option = new QRadioButton(captions[i], reportsTab);
        option->setObjectName(QStringLiteral("optPrintOption%1").arg(i));
        group->addButton(option, i);
        reportsLayout->addWidget(option);
        options_.at(static_cast<std::size_t>(i)) = option;
    }
    options_[PrintCurrent]->setChecked(true);
    connect(group, &QButtonGroup::idClicked, this, [this](int id) { printOption_ = id; });
    connect(group, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on) {
            printOption_ = id;
        }
    });
    reportsLayout->addSpacing(ui::twips(120));
    chkSumPage_->setParent(reportsTab);
    chkClientPage_->setParent(reportsTab);
    reportsLayout->addWidget(chkSumPage_);
    reportsLayout->addWidget(chkClientPage_);

    auto* verifyTab = new QWidget;
    auto* verifyLayout = new QVBoxLayout(verifyTab);
    verifyLayout->addWidget(comment(
        QStringLiteral("This gives you the opportunity to re-enter the client's responses from "
                       "the answer sheet.  After you enter the responses, any differences from "
                       "what was just entered and what was previously stored will be reported.  "
                       "This gives you the opportunity to correct any errors."),
        QStringLiteral("Label1"), verifyTab));
    auto* deleteTab = new QWidget;
    auto* deleteLayout = new QVBoxLayout(deleteTab);
    deleteLayout->addWidget(comment(
        QStringLiteral("This operation will delete the client's name from the client database.  "
                       "USE WITH CAUTION!  Once the name has been deleted on this data disk, it "
                       "CANNOT be retrieved.  All other associated client data, demographics, "
                       "court history and responses will NOT be deleted.  Use this operation to "
                       "protect client confidentiality when you are done with the disk."),
        QStringLiteral("Label2"), deleteTab));
    auto* codeTab = new QWidget;
    auto* codeLayout = new QVBoxLayout(codeTab);
    codeLayout->addWidget(comment(
        QStringLiteral("The access code guards the reports and the end of a test.  To change "
                       "it, enter the current code, then the new code twice.  The new code is "
                       "6 to 8 letters or digits; capitals and small letters count the same.  "
                       "Keep it where only supervisors can find it."),
        QStringLiteral("Label3"), codeTab));
    tabs_->addTab(reportsTab, QStringLiteral("Reports"));
    tabs_->addTab(verifyTab, QStringLiteral("Data Verification"));
    tabs_->addTab(deleteTab, QStringLiteral("Delete Names"));
    tabs_->addTab(codeTab, QStringLiteral("Change Access Code"));
    // Every tab in sight, none behind scroll arrows.
    tabs_->setUsesScrollButtons(false);
    tabs_->setMinimumWidth(tabs_->tabBar()->sizeHint().width() + ui::twips(120));

    auto* nameLayout = new QHBoxLayout(frCurrentClient_);
    nameLayout->addWidget(lblNameDisplay_);

    ui::ScreenKit* k = kit();
    QHBoxLayout* buttons =
        k->addMenuChoiceButtons(mainFrame(),
                                {{QStringLiteral("Execute Selection"), QString()},
                                 {QStringLiteral("Go to Main Menu"), QString()}},
                                2600);
    auto* layout = new QVBoxLayout(mainFrame());
    layout->setContentsMargins(ui::twips(360), ui::twips(300), ui::twips(360), ui::twips(300));
    layout->setSpacing(ui::twips(240));
    layout->addWidget(tabs_);
    layout->addWidget(frCurrentClient_);
    layout->addLayout(buttons);
    connect(tabs_, &QTabWidget::currentChanged, this, &frmSupervisorOptions::tabChanged);
    connect(k, &ui::ScreenKit::menuChoiceClicked, this, &frmSupervisorOptions::cmdMenuChoice_Click);

    emptyVolume_ = ctx_.state.clients().ClientCount() == 0;
    showCurrentName();
    finishLayout();
}

reports::ExtraPages frmSupervisorOptions::extraPages() const {
    return {chkSumPage_->isChecked(), chkClientPage_->isChecked()};
}

void frmSupervisorOptions::showCurrentName() {
    const auto& table = ctx_.state.clients();
    lblNameDisplay_->setText(emptyVolume_ || table.CurrentClient() == 0
                                 ? QStringLiteral("No Clients")
                                 : table.Clients(table.CurrentClient()).trimmed(Field::Name));
}

void frmSupervisorOptions::Activate() {
    if (activated_) {
        return;
    }
    activated_ = true;
    kit()->ResetMenuChoices();
    if (emptyVolume_) {
        ctx_.platform.boxes->show(QStringLiteral("There are no clients on this data disk.\r"
                                                 "Returning to main menu."),
                                  MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Information,
                                  QStringLiteral("Empty Data Disk"));
        QTimer::singleShot(0, this, [this] { closeScreen(); });
        return;
    }
    tabChanged(tabs_->currentIndex());
    tabs_->tabBar()->setFocus(Qt::OtherFocusReason);
}

void frmSupervisorOptions::tabChanged(int tab) {
    switch (tab) {
    case TabReports:
        kit()->setHelp(QString());
        showCurrentName();
        options_.at(static_cast<std::size_t>(printOption_))->setChecked(true);
        break;
    case TabVerify:
        kit()->setHelp(verifyHelp());
        showCurrentName();
        break;
    case TabDeleteNames:
        kit()->setHelp(deleteHelp());
        lblNameDisplay_->setText(QStringLiteral("All Clients"));
        break;
    default:
        kit()->setHelp(accessCodeHelp());
        lblNameDisplay_->setText(QStringLiteral("All Clients"));
        break;
    }
    // Execute repeats the tab's help line when it takes the focus.
    kit()->setChoiceHelp(ChoiceExecute, kit()->msgPanel()->text());
}

void frmSupervisorOptions::cmdMenuChoice_Click(int index) {
    if (index == ChoiceExecute) {
        execute();
    }
    closeScreen();
}

void frmSupervisorOptions::databaseEmpty(const QString& title) {
    ctx_.platform.boxes->show(QStringLiteral("Cannot perform this function.\rDatabase empty."),
                              MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Information, title);
}

void frmSupervisorOptions::execute() {
    const bool empty = ctx_.state.clients().ClientCount() == 0;
    switch (tabs_->currentIndex()) {
    case TabReports: {
        if (empty) {
            databaseEmpty(QStringLiteral("Print Report"));
            return;
        }
        if (!PromptForAccessCode(ctx_, this)) {
            return;
        }
        if (printOption_ == PrintCurrent) {
            reports::frmViewReport viewer(ctx_, printer_, extraPages(), this);
            viewer.exec();
        } else if (printOption_ == PrintSelected) {
            reports::frmPrintSelected picker(ctx_, printer_, extraPages(), this);
            picker.exec();
        } else {
            PrintAllReports();
        }
        return;
    }
    case TabVerify: {
        if (empty) {
            databaseEmpty(QStringLiteral("Verify Data"));
            return;
        }
        frmVerify verify(ctx_, this);
        verify.exec();
        return;
    }
    case TabDeleteNames:
        if (empty) {
            databaseEmpty(QStringLiteral("Delete Names"));
            return;
        }
        DeleteNames(ctx_);
        return;
    default:
        ChangeAccessCode(ctx_, this);
        return;
    }
}

void frmSupervisorOptions::PrintAllReports() {
    auto& table = ctx_.state.clients();
    {
        reports::ReportBatch batch(ctx_.state.programFolder(), ctx_.state.content(),
                                   app::PublisherTexts::of(ctx_.state.settings().publisher()),
                                   extraPages());
        try {
            // Each client's copy is numbered with its record.
            for (int n = 1; n <= table.ClientCount(); ++n) {
                table.setCurrentClient(n);
                batch.add(table.current(), n, n);
            }
            const ui::Hourglass busy;
            batch.print(printer_);
        } catch (const AppError& e) {
            ctx_.platform.boxes->show(e.description(), MessageBoxes::Buttons::Ok,
                                      MessageBoxes::Icon::Error, QStringLiteral("Print Report"));
        }
    }
    table.setCurrentClient(1);
}

} // namespace tov::supervisor
