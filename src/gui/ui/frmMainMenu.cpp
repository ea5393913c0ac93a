#include "ui/frmMainMenu.h"

#include "app/DataDrive.h"
#include "app/ProgramState.h"
#include "app/frmAbout.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "ui/Branding.h"
#include "ui/Geometry.h"
#include "ui/Headings.h"
#include "ui/MenuChoice.h"
#include "ui/MessagePanel.h"
#include "ui/ScreenKit.h"

#include <QAction>
#include <QApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace tov::ui {

namespace {
const QColor kClientFrameFocus(0, 255, 255);
const QColor kClientFrameRest(0, 0, 255);

// A list that takes the focus without choosing an entry: the operator picks the client with the
// arrow keys or the mouse, and the first Down picks the first client.
class ClientListBox : public QListWidget {
public:
    using QListWidget::QListWidget;

protected:
    void focusInEvent(QFocusEvent* event) override {
        const bool hadCurrent = currentIndex().isValid();
        const QSignalBlocker blockList(this);
        const QSignalBlocker blockSelection(selectionModel());
        QListWidget::focusInEvent(event);
        if (!hadCurrent) {
            selectionModel()->clearCurrentIndex();
        }
    }
};
} // namespace

frmMainMenu::frmMainMenu(app::ProgramState& state, platform::Platform& platform,
                         app::DataDrive& drive, QWidget* parent)
    : QMainWindow(parent), state_(state), platform_(platform), drive_(drive) {
    setObjectName(QStringLiteral("frmMainMenu"));
    setWindowTitle(app::ProgramState::AppTitle);
    resize(twips(13800), twips(9900));

    central_ = new QWidget(this);
    central_->setObjectName(QStringLiteral("background"));
    central_->setAutoFillBackground(true);
    QPalette bg = central_->palette();
    bg.setColor(QPalette::Window, QColor(0xd8, 0xdc, 0xe4));
    central_->setPalette(bg);
    setCentralWidget(central_);

    msgPanel_ = new MessagePanel(central_);
    kit_ = new ScreenKit(this, msgPanel_);

    frMainMenu_ = new QFrame(central_);
    frMainMenu_->setObjectName(QStringLiteral("frMainMenu"));
    frMainMenu_->setFrameShape(QFrame::Box);
    frMainMenu_->setFrameShadow(QFrame::Raised);
    frMainMenu_->setLineWidth(1);
    frMainMenu_->setAutoFillBackground(true);
    QPalette fp = frMainMenu_->palette();
    fp.setColor(QPalette::Window, QColor(0xf2, 0xf3, 0xf6));
    frMainMenu_->setPalette(fp);
    frMainMenu_->setFixedSize(twips(11400), twips(6300));

    const Branding brand = Branding::of(state_.settings().publisher());
    imgZEVLogo_ = new QLabel(frMainMenu_);
    imgZEVLogo_->setObjectName(QStringLiteral("imgZEVLogo"));
    imgZEVLogo_->setPixmap(brand.logo(QSize(twips(3600), twips(900))));

    QLabel* title = boldHeading(QStringLiteral("Tovaline II - Short Form"), frMainMenu_, 1.8);
    title->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    const QStringList captions = {
        QStringLiteral("Edit Current Client"), QStringLiteral("Add New Client"),
        QStringLiteral("Supervisor Options"), QStringLiteral("Exit Application")};
    const QStringList helps = {
        QStringLiteral("Edit client's information."),
        QStringLiteral("Enter a new client. Test client on computer or enter data from answer "
                       "sheet."),
        QStringLiteral("Print client report, verify data entry or delete client names."),
        QStringLiteral("Quit the program.")};
    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(twips(150));
    for (int i = 0; i < captions.size(); ++i) {
        MenuChoice* choice = kit_->addMenuChoice(captions[i], helps[i]);
        choice->setParent(frMainMenu_);
        choice->setFixedWidth(twips(4200));
        buttons->addWidget(choice);
    }
    buttons->addStretch(1);

    fraClient_ = new QGroupBox(QStringLiteral("Client List"), frMainMenu_);
    fraClient_->setObjectName(QStringLiteral("fraClient"));
    fraClient_->setAutoFillBackground(true);
    lbNameDisplay_ = new ClientListBox(fraClient_);
    lbNameDisplay_->setObjectName(QStringLiteral("lbNameDisplay"));
    lbNameDisplay_->setSelectionMode(QAbstractItemView::SingleSelection);
    QFont mono(QStringLiteral("Liberation Mono"));
    mono.setStyleHint(QFont::TypeWriter);
    mono.setPointSizeF(lbNameDisplay_->font().pointSizeF() * 1.05);
    lbNameDisplay_->setFont(mono);
    auto* listLayout = new QVBoxLayout(fraClient_);
    listLayout->setContentsMargins(twips(120), twips(240), twips(120), twips(120));
    listLayout->addWidget(lbNameDisplay_);
    lbNameDisplay_->installEventFilter(this);
    setClientFrameFocused(false);

    auto* grid = new QGridLayout(frMainMenu_);
    grid->setContentsMargins(twips(300), twips(240), twips(300), twips(300));
    grid->setHorizontalSpacing(twips(360));
    grid->setVerticalSpacing(twips(240));
    grid->addWidget(imgZEVLogo_, 0, 0);
    grid->addWidget(title, 0, 1);
    grid->addLayout(buttons, 1, 0);
    grid->addWidget(fraClient_, 1, 1);
    lblDemonstration_ = demonstrationBanner(frMainMenu_);
    grid->addWidget(lblDemonstration_, 2, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 1);

    // Tab order: the client list first, then the menu choices in index order.
    setTabOrder(lbNameDisplay_, kit_->cmdMenuChoice(0));
    for (int i = 1; i <= kit_->lastMenuChoice(); ++i) {
        setTabOrder(kit_->cmdMenuChoice(i - 1), kit_->cmdMenuChoice(i));
    }

    connect(kit_, &ScreenKit::menuChoiceClicked, this, &frmMainMenu::cmdMenuChoice_Click);
    connect(kit_, &ScreenKit::menuChoiceFocused, this, [this](int i) { LastMenuChoice = i; });
    connect(lbNameDisplay_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && !lbNameDisplay_->item(row)->isSelected()) {
            lbNameDisplay_->item(row)->setSelected(true);
        }
        lbNameDisplay_Click();
    });

    buildMenuBar();

    timNumLock_ = new QTimer(this);
    timNumLock_->setObjectName(QStringLiteral("timNumLock"));
    timNumLock_->setInterval(1000);
    connect(timNumLock_, &QTimer::timeout, this, &frmMainMenu::timNumLock_Timer);

    updateEditChoice();
    updateAddChoice();
    kit_->cmdMenuChoice(SupervisorOptions)->setEnabled(false);
}

frmMainMenu::~frmMainMenu() = default;

void frmMainMenu::buildMenuBar() {
    QMenuBar* bar = menuBar();
    mnuExit_ = bar->addAction(QStringLiteral("E&xit!"));
    mnuExit_->setObjectName(QStringLiteral("mnuExit"));
    connect(mnuExit_, &QAction::triggered, this, [this] { cmdMenuChoice_Click(ExitApplication); });

    QMenu* options = bar->addMenu(QStringLiteral("&Options"));
    options->setObjectName(QStringLiteral("mnuOptions"));
    mnuSelectDrive_ = options->addAction(QStringLiteral("&Select Data Drive"));
    mnuSelectDrive_->setObjectName(QStringLiteral("mnuSelectDrive"));
    connect(mnuSelectDrive_, &QAction::triggered, this, &frmMainMenu::mnuSelectDrive_Click);
    mnuPrintDos_ = options->addAction(QStringLiteral("&Print to DOS port"));
    mnuPrintDos_->setObjectName(QStringLiteral("mnuPrintDos"));
    mnuNumLock_ = options->addAction(QStringLiteral("&Num Lock Always On"));
    mnuNumLock_->setObjectName(QStringLiteral("mnuNumLock"));
    mnuNumLock_->setCheckable(true);
    mnuNumLock_->setChecked(state_.NumLockOn());
    // The check mark follows the option, not the click, so that a failed write shows no change.
    connect(mnuNumLock_, &QAction::triggered, this, [this] {
        mnuNumLock_->setChecked(state_.NumLockOn());
        mnuNumLock_Click();
    });

    mnuAbout_ = bar->addAction(QStringLiteral("&About..."));
    mnuAbout_->setObjectName(QStringLiteral("mnuAbout"));
    connect(mnuAbout_, &QAction::triggered, this, &frmMainMenu::mnuAbout_Click);
}

void frmMainMenu::setSequences(Sequences sequences) {
    sequences_ = std::move(sequences);
    updateEditChoice();
    updateAddChoice();
    kit_->cmdMenuChoice(SupervisorOptions)->setEnabled(bool(sequences_.SupervisorOptions));
}

bool frmMainMenu::Form_Load() {
    if (startUp_ && !startUp_()) {
        return false;
    }
    timNumLock_->start();
    return true;
}

QString frmMainMenu::listEntry(int record, const QString& name) {
    return QString::number(record) + QLatin1Char('-') + name;
}

void frmMainMenu::Activate() {
    lblDemonstration_->setVisible(state_.content().demonstration());
    centerFrame(frMainMenu_);
    kit_->ResetMenuChoices();
    const bool hadSelection = lbNameDisplay_->currentItem() != nullptr;
    updateEditChoice();
    RefreshNameDisplay();
    // The rebuilt list shows the client that stays current, as it was shown before.
    if (hadSelection && lbNameDisplay_->currentItem() == nullptr &&
        state_.clients().CurrentClient() >= 1 &&
        state_.clients().CurrentClient() <= lbNameDisplay_->count()) {
        lbNameDisplay_->setCurrentRow(state_.clients().CurrentClient() - 1);
    }
    updateAddChoice();
    if (CloseOthersOnActivate) {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w != this && w->isVisible() && !w->inherits("QMenu")) {
                w->close();
            }
        }
    }
}

void frmMainMenu::RefreshNameDisplay() {
    const int count = state_.clients().ClientCount();
    if (count <= 0 || !ListRefreshAllowed) {
        return;
    }
    const QSignalBlocker block(lbNameDisplay_);
    lbNameDisplay_->clear();
    for (int n = 1; n <= count; ++n) {
        lbNameDisplay_->addItem(
            listEntry(n, state_.clients().Clients(n).get(records::Field::Name)));
    }
}

void frmMainMenu::updateEditChoice() {
    const QListWidgetItem* item = lbNameDisplay_->currentItem();
    kit_->cmdMenuChoice(EditCurrentClient)
        ->setEnabled(bool(sequences_.EditCurrentClient) && item != nullptr &&
                     !item->text().isEmpty());
}

void frmMainMenu::updateAddChoice() {
    kit_->cmdMenuChoice(AddNewClient)
        ->setEnabled(bool(sequences_.AddNewClient) &&
                     state_.clients().ClientCount() < records::ClientTable::Capacity);
}

void frmMainMenu::lbNameDisplay_Click() {
    updateEditChoice();
    const QListWidgetItem* item = lbNameDisplay_->currentItem();
    if (item == nullptr) {
        return;
    }
    // Only the number before the first hyphen counts: names may hold hyphens too.
    bool ok = false;
    const int record = item->text().section(QLatin1Char('-'), 0, 0).toInt(&ok);
    if (ok && record >= 1 && record <= state_.clients().ClientCount()) {
        state_.clients().setCurrentClient(record);
    }
}

void frmMainMenu::setClientFrameFocused(bool focused) {
    QPalette p = fraClient_->palette();
    p.setColor(QPalette::Window, focused ? kClientFrameFocus : kClientFrameRest);
    p.setColor(QPalette::WindowText, focused ? Qt::black : Qt::white);
    fraClient_->setPalette(p);
    QFont f = fraClient_->font();
    f.setBold(focused);
    fraClient_->setFont(f);
    // The list keeps its own font whatever the caption does.
    QFont lf = lbNameDisplay_->font();
    lf.setBold(false);
    lbNameDisplay_->setFont(lf);
}

bool frmMainMenu::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lbNameDisplay_) {
        switch (event->type()) {
        case QEvent::FocusIn:
            if (state_.clients().ClientCount() < 1) {
                // Nothing to pick: go on to adding a client.
                QTimer::singleShot(0, this, [this] {
                    QPushButton* add = kit_->cmdMenuChoice(AddNewClient);
                    if (add->isEnabled()) {
                        add->setFocus(Qt::TabFocusReason);
                    } else {
                        focusNextChild();
                    }
                });
                return false;
            }
            setClientFrameFocused(true);
            kit_->setHelp(QStringLiteral("Use up or down arrow keys or mouse to select client."));
            updateEditChoice();
            return false;
        case QEvent::KeyPress:
            updateEditChoice();
            return false;
        case QEvent::FocusOut:
            setClientFrameFocused(false);
            kit_->setHelp(QString());
            return false;
        default:
            break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMainMenu::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    const int panel = twips(480);
    msgPanel_->setGeometry(twips(60), central_->height() - panel - twips(60),
                           central_->width() - twips(120), panel);
    centerFrame(frMainMenu_);
}

void frmMainMenu::runSequence(const std::function<void()>& sequence, bool isEdit) {
    if (isEdit) {
        CloseOthersOnActivate = false;
    }
    ListRefreshAllowed = false;
    frMainMenu_->hide();
    sequence();
    if (state_.ending()) {
        return;
    }
    CloseOthersOnActivate = true;
    frMainMenu_->show();
    ListRefreshAllowed = true;
    Activate();
}

void frmMainMenu::cmdMenuChoice_Click(int index) {
    switch (index) {
    case EditCurrentClient:
        if (!sequences_.EditCurrentClient || !drive_.CheckDataDisk()) {
            return;
        }
        runSequence(sequences_.EditCurrentClient, true);
        break;
    case AddNewClient:
        if (!sequences_.AddNewClient || !drive_.CheckDataDisk()) {
            return;
        }
        runSequence(sequences_.AddNewClient, false);
        break;
    case SupervisorOptions:
        if (!sequences_.SupervisorOptions || !drive_.CheckDataDisk()) {
            return;
        }
        runSequence(sequences_.SupervisorOptions, false);
        break;
    case ExitApplication:
        hide();
        state_.endProgram();
        break;
    default:
        break;
    }
}

void frmMainMenu::timNumLock_Timer() {
    platform_.keyboard->setNumLock(state_.NumLockOn());
}

void frmMainMenu::setNumLockChecked(bool on) {
    mnuNumLock_->setChecked(on);
}

void frmMainMenu::mnuNumLock_Click() {
    const bool on = !state_.NumLockOn();
    try {
        state_.settings().setNumLock(on);
    } catch (const AppError& e) {
        platform::showAppError(*platform_.boxes, e);
        return;
    }
    state_.setNumLockOn(on);
    mnuNumLock_->setChecked(on);
}

void frmMainMenu::mnuAbout_Click() {
    app::frmAbout about(state_.settings().publisher(), state_.content(), this);
    about.setSplash(false);
    about.exec();
}

void frmMainMenu::mnuSelectDrive_Click() {
    drive_.SelectDataDrive(false);
}

} // namespace tov::ui
