#include "intake/frmCourtHistory.h"

#include "app/DataDrive.h"
#include "app/ProgramState.h"
#include "app/SaveClient.h"
#include "intake/CourtRules.h"
#include "intake/IntakeChain.h"
#include "intake/IntakeChoices.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "scan/SheetReading.h"
#include "ui/Geometry.h"
#include "ui/Headings.h"
#include "ui/MenuChoice.h"
#include "ui/MessagePanel.h"
#include "ui/ScreenKit.h"
#include "ui/StorableText.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tov::intake {

using platform::MessageBoxes;
using records::Field;

namespace {

// The screen's fields in the order of the record's court fields.
struct FieldSpec {
    const char* name;
    int limit;
    const char* label;
};

constexpr std::array<FieldSpec, frmCourtHistory::FieldCount> kFields = {{
    {"txtPriorDUI", 2, "1. Number of prior DUI's:"},
    {"txtCOSupervision", 2, "2. Court-ordered supervisions for DUI"},
    {"txtReckless", 2, "3. Reckless driving convictions reduced from DUI:"},
    {"txtSSSuspend", 2, "4. Prior statutory summary suspensions (not DUI):"},
    {"txtMViolations", 2, "5. Moving violations (traffic tickets):"},
    {"txtAccidents", 2, "6. At-fault accidents:"},
    {"txtAlcoholArrests", 2, "7. Alcohol-related (not DUI) arrests:"},
    {"txtDrugArrests", 2, "8. Drug-related (not DUI) arrests:"},
    {"txtDateOfPresentArrest", 10, "9. Date of current or most recent DUI:"},
    {"txtBAC", 4, "10. Blood Alcohol Content level at time of current DUI arrest:"},
    {"txtStPriorDUI", 2, "Number of prior DUI's in last 10 years:"},
    {"txtStBAC", 4, "BAC level at time of arrest:"},
}};

const QString kCountHelp =
    QStringLiteral("Enter a number 0 through 99 or N for not available, then press Enter.");
const QString kDateHelp = QStringLiteral(
    "Type date of arrest in the form MM/DD/YYYY or N for not available, then press Enter.");
const QString kBacHelp = QStringLiteral(
    "Enter blood alcohol level, R for Refused or N for not available, then press Enter.");

bool isCount(Field f) {
    return f != Field::DateOfPresentArrest && f != Field::BAC && f != Field::StBAC;
}

} // namespace

frmCourtHistory::frmCourtHistory(const app::Context& context, ClientMode mode, QWidget* parent)
    : ui::ModalScreen(QStringLiteral("Court History"), QStringLiteral("frCourt"), parent),
      ctx_(context), mode_(mode) {
    setObjectName(QStringLiteral("frmCourtHistory"));
    ui::ScreenKit* k = kit();
    QFrame* frame = mainFrame();

    lblClientName_ = ui::clientNameHeading(frame);

    auto* years = new QGroupBox(QStringLiteral("In last 10 years, number of..."), frame);
    years->setObjectName(QStringLiteral("fr10Years"));
    auto* staff = new QGroupBox(QStringLiteral("Completed by Staff Member Only"), frame);
    staff->setObjectName(QStringLiteral("frStaff"));
    auto* yearsGrid = new QGridLayout(years);
    auto* mainGrid = new QGridLayout;
    auto* staffGrid = new QGridLayout(staff);
    for (QGridLayout* g : {yearsGrid, mainGrid, staffGrid}) {
        g->setHorizontalSpacing(ui::twips(240));
        g->setVerticalSpacing(ui::twips(90));
    }

    for (int i = 0; i < FieldCount; ++i) {
        const FieldSpec& def = kFields[static_cast<std::size_t>(i)];
        const Field f = records::courtField(i);
        QWidget* box = f < DateOfPresentArrest ? static_cast<QWidget*>(years)
                       : f >= StPriorDUI       ? static_cast<QWidget*>(staff)
                                               : frame;
        QLabel* label = k->addLabel(QString::fromLatin1(def.label), box);
        auto* edit = new QLineEdit(box);
        edit->setObjectName(QLatin1String(def.name));
        edit->setMaxLength(def.limit);
        ui::KeepStorable(edit, [this](const QString& letter) {
            fail(ui::UnstorableText(letter), QStringLiteral("Data Entry Error"));
        });
        edit->setFixedWidth(ui::twips(def.limit == 10 ? 1700 : 900));
        fields_[static_cast<std::size_t>(i)] = edit;
        const QString help = f == DateOfPresentArrest   ? kDateHelp
                             : (f == BAC || f == StBAC) ? kBacHelp
                                                        : kCountHelp;
        k->addField(edit, i, help, [this, f, edit] {
            if (f == DateOfPresentArrest) {
                return enterDate();
            }
            return isCount(f) ? enterCount(edit) : enterBAC(edit);
        });
        QGridLayout* grid = box == years ? yearsGrid : box == staff ? staffGrid : mainGrid;
        const int row = grid->rowCount();
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1, Qt::AlignLeft);
    }
    k->setCheckOnTab(true);
    field(DateOfPresentArrest)->installEventFilter(this);

    QHBoxLayout* buttons = addIntakeChoiceRow(k, frame);
    k->setNextAfter(field(StBAC), k->cmdMenuChoice(ChoiceOK));

    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(ui::twips(480), ui::twips(300), ui::twips(480), ui::twips(300));
    layout->setSpacing(ui::twips(200));
    layout->addWidget(lblClientName_);
    layout->addWidget(years);
    layout->addLayout(mainGrid);
    layout->addWidget(staff);
    layout->addLayout(buttons);

    QWidget* previous = field(0);
    for (int i = 1; i < FieldCount; ++i) {
        setTabOrder(previous, field(i));
        previous = field(i);
    }
    setTabOrder(previous, k->cmdMenuChoice(ChoiceOK));
    setTabOrder(k->cmdMenuChoice(ChoiceOK), k->cmdMenuChoice(ChoiceCancel));

    connect(k, &ui::ScreenKit::menuChoiceClicked, this, &frmCourtHistory::cmdMenuChoice_Click);
    finishLayout();

    if (editing()) {
        GetCourtData();
    }
}

void frmCourtHistory::GetCourtData() {
    const records::ClientRecord& r = ctx_.state.clients().current();
    for (int i = 0; i < FieldCount; ++i) {
        field(i)->setText(r.trimmed(records::courtField(i)));
    }
}

void frmCourtHistory::Activate() {
    lblClientName_->setText(ctx_.state.clients().current().get(Field::Name).trimmed());
    lblClientName_->show();
    if (ScanEditMode() || editing()) {
        kit()->cmdMenuChoice(ChoiceOK)->setFocus(Qt::OtherFocusReason);
    } else {
        field(0)->setFocus(Qt::OtherFocusReason);
    }
}

bool frmCourtHistory::fail(const QString& text, const QString& title) {
    ctx_.platform.boxes->beep();
    ctx_.platform.boxes->show(text, MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Error, title);
    return false;
}

bool frmCourtHistory::enterCount(QLineEdit* edit) {
    const QString t = edit->text().trimmed();
    edit->setText(t);
    if (!ValidateCount(t)) {
        return fail(QStringLiteral("Enter a number 0 through 99, or N for not available. Press "
                                   "Enter to continue."),
                    QStringLiteral("Data Entry Error"));
    }
    if (t.compare(QLatin1String("N"), Qt::CaseInsensitive) == 0) {
        edit->setText(QStringLiteral("N"));
    }
    return true;
}

bool frmCourtHistory::enterBAC(QLineEdit* edit) {
    const QString t = edit->text().trimmed();
    edit->setText(t);
    if (!ValidateBAC(t)) {
        return fail(QStringLiteral("Enter blood alcohol level, R for Refused or N for not "
                                   "available. Press Enter to continue."),
                    QStringLiteral("Data Entry Error"));
    }
    if (t == QLatin1String("n")) {
        edit->setText(QStringLiteral("N"));
    } else if (t.compare(QLatin1String("r"), Qt::CaseInsensitive) == 0) {
        edit->setText(QStringLiteral("R"));
    }
    return true;
}

bool frmCourtHistory::enterDate() {
    QLineEdit* edit = field(DateOfPresentArrest);
    const QString t = edit->text().trimmed();
    edit->setText(t);
    if (!ValidateArrestDate(t)) {
        return fail(QStringLiteral("Enter date of arrest month, day, year as mm/dd/yy or N for "
                                   "Not Available. Press Enter to continue."),
                    QString());
    }
    if (t.compare(QLatin1String("N"), Qt::CaseInsensitive) == 0) {
        edit->setText(QStringLiteral("N"));
        return true;
    }
    const QString padded = PadArrestDate(t);
    edit->setText(padded);
    if (ArrestMonthDayOk(padded)) {
        return true;
    }
    return fail(QStringLiteral("Enter date of arrest month, day, year as mm/dd/yyyy or N for Not "
                               "Available. Press Enter to continue."),
                QString());
}

bool frmCourtHistory::dateKey(const QKeyEvent* key) {
    QLineEdit* edit = field(DateOfPresentArrest);
    const QString text = key->text();
    const bool backspace = key->key() == Qt::Key_Backspace;
    if (!backspace && (text.isEmpty() || !text[0].isPrint())) {
        return false; // arrows, Home, Delete and the like edit as usual
    }
    if (edit->hasSelectedText() && edit->selectedText().size() == edit->text().size() &&
        edit->text().size() == 10) {
        return false;
    }
    if (edit->text().size() >= 10 && !backspace) {
        ctx_.platform.boxes->beep();
        return true;
    }
    static const QString accepted = QStringLiteral("0123456789Nn/#$%'-.");
    if (backspace || accepted.contains(text[0])) {
        return false;
    }
    ctx_.platform.boxes->beep();
    return true;
}

bool frmCourtHistory::eventFilter(QObject* watched, QEvent* event) {
    if (watched == field(DateOfPresentArrest) && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter &&
            key->key() != Qt::Key_Tab && dateKey(key)) {
            return true;
        }
    }
    return ui::ModalScreen::eventFilter(watched, event);
}

void frmCourtHistory::keyPressEvent(QKeyEvent* event) {
    // Shift+Alt+F10 leaves at once: nothing saved, the chain stops.
    if (event->key() == Qt::Key_F10 &&
        (event->modifiers() & (Qt::ShiftModifier | Qt::AltModifier)) ==
            (Qt::ShiftModifier | Qt::AltModifier)) {
        closeScreen();
        return;
    }
    ui::ModalScreen::keyPressEvent(event);
}

void frmCourtHistory::cmdMenuChoice_Click(int index) {
    if (index == ChoiceOK) {
        acceptInformation();
    } else if (index == ChoiceCancel) {
        if (!editing()) {
            auto& table = ctx_.state.clients();
            table.ClearClientRecord();
            // Client 1 becomes current again; with no clients there is none.
            table.setCurrentClient(table.ClientCount() > 0 ? 1 : 0);
        }
        setProceedToNext(false);
        closeScreen();
    }
}

void frmCourtHistory::acceptInformation() {
    for (int i = 0; i < FieldCount; ++i) {
        const Field f = records::courtField(i);
        if (f == StBAC) {
            continue; // validated by its own Enter only
        }
        const QString t = field(i)->text();
        const bool ok = f == DateOfPresentArrest ? ValidateArrestDate(t)
                        : f == BAC               ? ValidateBAC(t)
                                                 : ValidateCount(t);
        if (!ok) {
            if (f == DateOfPresentArrest) {
                enterDate();
            } else if (f == BAC) {
                enterBAC(field(i));
            } else {
                enterCount(field(i));
            }
            field(i)->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    if (!SaveCourtData()) {
        return;
    }
    setProceedToNext(!ctx_.state.ending());
    closeScreen();
}

bool frmCourtHistory::SaveCourtData() {
    field(BAC)->setText(StoredBAC(field(BAC)->text()));
    field(StBAC)->setText(StoredBAC(field(StBAC)->text()));
    auto& table = ctx_.state.clients();
    records::ClientRecord& r = table.current();
    const records::ClientRecord before = r;
    for (int i = 0; i < FieldCount; ++i) {
        r.set(records::courtField(i), field(i)->text());
    }
    if (!editing()) {
        return true;
    }
    if (!ctx_.drive.CheckDataDisk()) {
        return true; // the program is ending; nothing was written
    }
    // On failure the record stays as it is on the disk; the operator may try again.
    return app::saveCurrentClient(table, before, *ctx_.platform.boxes);
}

void frmCourtHistory::showScanned(const ScannedIntake& scanned) {
    for (int order = 0; order < FieldCount; ++order) {
        field(order)->setText(scanned.court.at(static_cast<std::size_t>(order)));
        const char* name = scan::kSheetCourt[static_cast<std::size_t>(order)].name;
        if (scanned.doubtful.contains(QLatin1String(name))) {
            kit()->markDoubtful(field(order));
        }
    }
}

} // namespace tov::intake
