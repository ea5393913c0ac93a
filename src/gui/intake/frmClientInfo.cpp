#include "intake/frmClientInfo.h"

#include "app/DataDrive.h"
#include "app/ProgramState.h"
#include "app/SaveClient.h"
#include "intake/CodeListBox.h"
#include "intake/IntakeChain.h"
#include "intake/IntakeChoices.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "ui/Geometry.h"
#include "ui/MenuChoice.h"
#include "ui/MessagePanel.h"
#include "ui/ScreenKit.h"
#include "ui/StorableText.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tov::intake {

using platform::MessageBoxes;

namespace {

const QString CR = QStringLiteral("\r");

} // namespace

frmClientInfo::frmClientInfo(const app::Context& context, ClientMode mode, QWidget* parent)
    : ui::ModalScreen(QStringLiteral("Client Information"), QStringLiteral("frClient"), parent),
      ctx_(context), mode_(mode) {
    setObjectName(QStringLiteral("frmClientInfo"));
    ui::ScreenKit* k = kit();
    QFrame* frame = mainFrame();
    auto beep = [this] { ctx_.platform.boxes->beep(); };

    // Labels in their index order.
    const QStringList captions = {QStringLiteral("Client Name:"),
                                  QStringLiteral("Age:"),
                                  QStringLiteral("Gender:"),
                                  QStringLiteral("Ethnicity/Race:"),
                                  QStringLiteral("Marital Status:"),
                                  QStringLiteral("Education:"),
                                  QStringLiteral("Social Security #:"),
                                  QStringLiteral("Drivers License #:"),
                                  QStringLiteral("Date of Birth:")};
    for (const QString& c : captions) {
        k->addLabel(c, frame);
    }

    auto lineEdit = [frame](const char* name, ClientField field) {
        auto* e = new QLineEdit(frame);
        e->setObjectName(QLatin1String(name));
        e->setMaxLength(FieldLength(field));
        return e;
    };
    txtName = lineEdit("txtName", ClientField::Name);
    txtAge = lineEdit("txtAge", ClientField::Age);
    txtDob = lineEdit("txtDob", ClientField::DOB);
    cmbGender = new CodeListBox(records::CodeList::Gender, beep, frame);
    cmbGender->setObjectName(QStringLiteral("cmbGender"));
    cmbRace = new CodeListBox(records::CodeList::Race, beep, frame);
    cmbRace->setObjectName(QStringLiteral("cmbRace"));
    cmbMarital = new CodeListBox(records::CodeList::Marital, beep, frame);
    cmbMarital->setObjectName(QStringLiteral("cmbMarital"));
    cmbEducation = new CodeListBox(records::CodeList::Education, beep, frame);
    cmbEducation->setObjectName(QStringLiteral("cmbEducation"));
    txtSSN = lineEdit("txtSSN", ClientField::SSN);
    txtDLNumber = lineEdit("txtDLNumber", ClientField::DLNumber);
    txtSSN->installEventFilter(this);
    txtDLNumber->installEventFilter(this);
    // Every typed field goes into the client file, which stores "?" for a letter it lacks.
    for (QLineEdit* e : {txtName, txtAge, txtDob, txtSSN, txtDLNumber}) {
        ui::KeepStorable(e, [this](const QString& letter) { fail(ui::UnstorableText(letter)); });
    }

    struct Row {
        QWidget* field;
        int label;
        QString help;
    };
    const QList<Row> rows = {
        {txtName, 0,
         QStringLiteral("Type client's name (up to 25 characters) or N for not available, then "
                        "press Enter.")},
        {txtAge, 1, QStringLiteral("Type age in years or N for not available, then press Enter.")},
        {txtDob, 8,
         QStringLiteral("Type Date of Birth (mm/dd/yyyy) or N for not available, then press "
                        "Enter.")},
        {cmbGender, 2,
         QStringLiteral("Use up or down arrow keys to select gender or N/A for not available, "
                        "then press Enter.")},
        {cmbRace, 3,
         QStringLiteral("Use up or down arrow keys to select ethnicity/race or N/A for not "
                        "available, then press Enter.")},
        {cmbMarital, 4,
         QStringLiteral("Use up or down arrow keys to select marital status or N/A for not "
                        "available, then press Enter.")},
        {cmbEducation, 5,
         QStringLiteral("Use up or down arrow keys to select education level or N/A for not "
                        "available, then press Enter.")},
        {txtSSN, 6,
         QStringLiteral("Type Social Security Number or N for not available, then press Enter.")},
        {txtDLNumber, 7,
         QStringLiteral("Type drivers license number (up to 14 characters) or N for not "
                        "available, then press Enter.")},
    };

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(ui::twips(240));
    grid->setVerticalSpacing(ui::twips(120));
    int r = 0;
    for (const Row& row : rows) {
        k->addField(row.field, row.label, row.help, [this, w = row.field] { return validate(w); });
        grid->addWidget(k->lblInfo(row.label), r, 0, Qt::AlignRight);
        grid->addWidget(row.field, r, 1);
        row.field->setMinimumWidth(ui::twips(4200));
        ++r;
    }
    k->setCheckOnTab(true);

    QHBoxLayout* buttons = addIntakeChoiceRow(k, frame);
    k->setNextAfter(txtDLNumber, k->cmdMenuChoice(ChoiceOK));

    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(ui::twips(480), ui::twips(360), ui::twips(480), ui::twips(360));
    layout->setSpacing(ui::twips(360));
    layout->addLayout(grid);
    layout->addLayout(buttons);

    QWidget* previous = txtName;
    for (QWidget* w :
         {static_cast<QWidget*>(txtAge), static_cast<QWidget*>(txtDob),
          static_cast<QWidget*>(cmbGender), static_cast<QWidget*>(cmbRace),
          static_cast<QWidget*>(cmbMarital), static_cast<QWidget*>(cmbEducation),
          static_cast<QWidget*>(txtSSN), static_cast<QWidget*>(txtDLNumber),
          static_cast<QWidget*>(k->cmdMenuChoice(0)), static_cast<QWidget*>(k->cmdMenuChoice(1))}) {
        setTabOrder(previous, w);
        previous = w;
    }

    connect(k, &ui::ScreenKit::menuChoiceClicked, this, &frmClientInfo::cmdMenuChoice_Click);
    connect(k, &ui::ScreenKit::fieldFocusLost, this, [this](QWidget* field) {
        if (auto* list = qobject_cast<CodeListBox*>(field)) {
            list->mapText();
        }
        countEdit(field);
    });
    finishLayout();

    // Load.
    if (editing()) {
        RecordToScreen();
    }
}

QList<QWidget*> frmClientInfo::fields() const {
    return {txtName,    txtAge,       txtDob, cmbGender,  cmbRace,
            cmbMarital, cmbEducation, txtSSN, txtDLNumber};
}

ClientField frmClientInfo::fieldOf(QWidget* field) const {
    return static_cast<ClientField>(fields().indexOf(field));
}

bool frmClientInfo::isLocked() const {
    return !txtName->isEnabled();
}

ClientInfo frmClientInfo::info() const {
    return {txtName->text(),          txtAge->text(),      txtDob->text(),
            cmbGender->position(),    cmbRace->position(), cmbMarital->position(),
            cmbEducation->position(), txtSSN->text(),      txtDLNumber->text()};
}

void frmClientInfo::RecordToScreen() {
    const records::ClientRecord& r = ctx_.state.clients().current();
    const ClientInfo stored = InfoOf(r);
    txtName->setText(stored.name);
    txtAge->setText(stored.age);
    txtDob->setText(stored.dob);
    const QList<std::pair<CodeListBox*, int>> lists = {{cmbGender, stored.gender},
                                                       {cmbRace, stored.race},
                                                       {cmbMarital, stored.marital},
                                                       {cmbEducation, stored.education}};
    for (const auto& [list, position] : lists) {
        list->setCurrentIndex(position);
        if (list->currentIndex() < 0) {
            list->setEditText(QString());
        }
    }
    txtSSN->setText(stored.ssn);
    txtDLNumber->setText(stored.licence);
    // Edits are counted from what the fields show, which the typing limits may have cut.
    limit_ = EditLimit(r, info());
    if (limit_.lockedAtStart()) {
        lockScreen();
    }
}

void frmClientInfo::RecordToDB() {
    StoreInfo(ctx_.state.clients().current(), info(), limit_);
}

void frmClientInfo::Activate() {
    ui::ScreenKit* k = kit();
    if (limit_.nameDeleted()) {
        k->setChoiceHelp(ChoiceOK, QStringLiteral("Client name has been deleted. Editing is not "
                                                  "permitted. Press Enter to continue."));
    }
    if (ScanEditMode() || editing()) {
        k->ResetLabels();
        k->cmdMenuChoice(ChoiceOK)->setFocus(Qt::OtherFocusReason);
    } else {
        txtName->setFocus(Qt::OtherFocusReason);
    }
    if (limit_.nameDeleted()) {
        ctx_.platform.boxes->show(QStringLiteral("This client's name has been deleted.") + CR +
                                      QStringLiteral("Editing this information is no longer "
                                                     "permitted."),
                                  MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Information,
                                  QStringLiteral("Name Deleted"));
    } else if (limit_.reached()) {
        k->pinHelp(QStringLiteral("Exceeded limits of editing. Press Enter to continue."),
                   k->cmdMenuChoice(ChoiceOK));
        ctx_.platform.boxes->show(
            QStringLiteral("This client's information has been changed 3 times.") + CR +
                QStringLiteral("No further editing is permitted. Press Enter to continue."),
            MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Information,
            QStringLiteral("Edit Limit Reached"));
    }
}

bool frmClientInfo::eventFilter(QObject* watched, QEvent* event) {
    // The typing limits of the SSN and licence fields, with their own messages.
    if (event->type() == QEvent::KeyPress && (watched == txtSSN || watched == txtDLNumber)) {
        auto* edit = static_cast<QLineEdit*>(watched);
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool typed = !key->text().isEmpty() && key->text()[0].isPrint();
        if (typed && key->key() != Qt::Key_Backspace && edit->text().size() >= edit->maxLength() &&
            !edit->hasSelectedText()) {
            fail(FullFieldText(fieldOf(edit)));
            return true;
        }
    }
    return ui::ModalScreen::eventFilter(watched, event);
}

bool frmClientInfo::fail(const QString& message) {
    ctx_.platform.boxes->beep();
    ctx_.platform.boxes->show(message, MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Error,
                              QString());
    return false;
}

bool frmClientInfo::validate(QWidget* field) {
    if (auto* list = qobject_cast<CodeListBox*>(field)) {
        const QString message = CheckChoice(fieldOf(field), list->position());
        return message.isEmpty() || fail(message);
    }
    auto* edit = static_cast<QLineEdit*>(field);
    const FieldCheck check = CheckText(fieldOf(field), edit->text());
    if (check.text) {
        edit->setText(*check.text);
    }
    if (check.cleared) {
        edit->clear();
    }
    if (!check.unstorable.isEmpty()) {
        return fail(ui::UnstorableText(check.unstorable));
    }
    return check.passed() || fail(check.message);
}

void frmClientInfo::lockScreen() {
    for (QWidget* f : fields()) {
        f->setEnabled(false);
    }
}

void frmClientInfo::countEdit(QWidget* field) {
    if (!editing() || !limit_.fieldLeft(fieldOf(field), info())) {
        return;
    }
    if (field->isEnabled()) {
        ctx_.platform.boxes->show(QStringLiteral("This client's information has been edited") + CR +
                                      QStringLiteral("3 times already. Further editing of "
                                                     "this") +
                                      CR + QStringLiteral("information is no longer permitted."),
                                  MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Information,
                                  QStringLiteral("Edit Limit Reached"));
        lockScreen();
        kit()->cmdMenuChoice(ChoiceOK)->setFocus(Qt::OtherFocusReason);
    }
}

void frmClientInfo::cmdMenuChoice_Click(int index) {
    if (index == ChoiceOK) {
        acceptInformation();
    } else if (index == ChoiceCancel) {
        setProceedToNext(false);
        closeScreen();
    }
}

void frmClientInfo::acceptInformation() {
    // The focus moves to the button before this runs; an edit made in the last field has
    // been counted by then.
    for (const ClientField f : FieldsToRecheck(info(), isLocked())) {
        QWidget* field = fields().at(static_cast<int>(f));
        if (!validate(field)) {
            field->setFocus(Qt::OtherFocusReason);
            return;
        }
    }

    auto& table = ctx_.state.clients();
    bool changed = true;
    if (editing()) {
        changed = DiffersFrom(info(), table.current());
    } else {
        table.setCurrentClient(table.ClientCount() + 1);
    }
    setProceedToNext(true);
    if (changed && limit_.mayStore(table.ClientCount(), ScanEditMode())) {
        records::ClientRecord& r = table.current();
        const records::ClientRecord before = r;
        if (!editing()) {
            StartNewRecord(r, ctx_.platform.clock->today());
        }
        RecordToDB();
        if (editing()) {
            if (!ctx_.drive.CheckDataDisk()) {
                setProceedToNext(false);
                closeScreen();
                return;
            }
            // On failure the record stays as it is on the disk; the operator may try again.
            if (!app::saveCurrentClient(table, before, *ctx_.platform.boxes)) {
                setProceedToNext(false);
                return;
            }
        }
    }
    closeScreen();
}

namespace {

// A list's code as read from a sheet: its position in the list, or nothing shown.
void putCode(CodeListBox* list, const QString& code) {
    bool ok = false;
    const int position = code.toInt(&ok);
    list->setCurrentIndex(ok && position >= 0 && position < list->count() ? position : -1);
    if (list->currentIndex() < 0) {
        list->setEditText(QString());
    }
}

} // namespace

void frmClientInfo::showScanned(const ScannedIntake& scanned) {
    txtName->setText(scanned.name);
    txtAge->setText(scanned.age);
    putCode(cmbGender, scanned.gender);
    putCode(cmbRace, scanned.race);
    putCode(cmbMarital, scanned.marital);
    putCode(cmbEducation, scanned.education);
    txtSSN->setText(scanned.ssn);
    txtDLNumber->setText(scanned.licence);
    // The date of birth is shown only as the age it gives.
    const std::pair<const char*, QWidget*> read[] = {
        {"ssn", txtSSN},   {"dob", txtAge},         {"gender", cmbGender},
        {"race", cmbRace}, {"marital", cmbMarital}, {"education", cmbEducation}};
    for (const auto& [name, widget] : read) {
        if (scanned.doubtful.contains(QLatin1String(name))) {
            kit()->markDoubtful(widget);
        }
    }
}

} // namespace tov::intake
