#include "intake/frmClientInfo.h"

#include "app/DataDrive.h"
#include "app/ProgramState.h"
#include "intake/CodeListBox.h"
#include "intake/IntakeChoices.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "records/Cp1252.h"
#include "records/DateText.h"
#include "records/NumericValue.h"
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
using records::Field;

namespace {

constexpr int kSsnLength = 11;
constexpr int kLicenceLength = 14;
const QString CR = QStringLiteral("\r");

bool startsWithN(const QString& text) {
    return !text.isEmpty() && text[0].toUpper() == QLatin1Char('N');
}

} // namespace

frmClientInfo::frmClientInfo(const app::Context& context, QWidget* parent)
    : ui::ModalScreen(QStringLiteral("Client Information"), QStringLiteral("frClient"), parent),
      ctx_(context) {
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

    auto lineEdit = [frame](const char* name, int maxLength) {
        auto* e = new QLineEdit(frame);
        e->setObjectName(QLatin1String(name));
        e->setMaxLength(maxLength);
        return e;
    };
    txtName = lineEdit("txtName", 25);
    txtAge = lineEdit("txtAge", 2);
    txtDob = lineEdit("txtDob", 10);
    cmbGender = new CodeListBox(records::CodeList::Gender, beep, frame);
    cmbGender->setObjectName(QStringLiteral("cmbGender"));
    cmbRace = new CodeListBox(records::CodeList::Race, beep, frame);
    cmbRace->setObjectName(QStringLiteral("cmbRace"));
    cmbMarital = new CodeListBox(records::CodeList::Marital, beep, frame);
    cmbMarital->setObjectName(QStringLiteral("cmbMarital"));
    cmbEducation = new CodeListBox(records::CodeList::Education, beep, frame);
    cmbEducation->setObjectName(QStringLiteral("cmbEducation"));
    txtSSN = lineEdit("txtSSN", kSsnLength);
    txtDLNumber = lineEdit("txtDLNumber", kLicenceLength);
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
    if (ctx_.state.EditMode) {
        RecordToScreen();
    }
}

QList<QWidget*> frmClientInfo::fields() const {
    return {txtName,    txtAge,       txtDob, cmbGender,  cmbRace,
            cmbMarital, cmbEducation, txtSSN, txtDLNumber};
}

bool frmClientInfo::isLocked() const {
    return !txtName->isEnabled();
}

QString frmClientInfo::currentValue(QWidget* field) const {
    if (auto* list = qobject_cast<CodeListBox*>(field)) {
        return QString::number(list->position());
    }
    return static_cast<QLineEdit*>(field)->text();
}

void frmClientInfo::RecordToScreen() {
    const records::ClientRecord& r = ctx_.state.clients.current();
    txtName->setText(r.trimmed(Field::Name));
    txtAge->setText(r.trimmed(Field::Age));
    txtDob->setText(r.trimmed(Field::DOB));
    const QList<std::pair<CodeListBox*, Field>> lists = {{cmbGender, Field::Gender},
                                                         {cmbRace, Field::Race},
                                                         {cmbMarital, Field::Marital},
                                                         {cmbEducation, Field::Education}};
    for (const auto& [list, field] : lists) {
        bool ok = false;
        const int code = r.trimmed(field).toInt(&ok);
        list->setCurrentIndex(ok && code >= 0 && code < list->count() ? code : -1);
        if (list->currentIndex() < 0) {
            list->setEditText(QString());
        }
    }
    txtSSN->setText(r.trimmed(Field::SSN));
    txtDLNumber->setText(r.trimmed(Field::DLNumber));
    nameDeletedFlag_ = static_cast<int>(records::NumericValue(r.get(Field::NameDeleted)));
    editsMade_ = static_cast<int>(records::NumericValue(r.get(Field::EditCount)));
    if (nameDeletedFlag_ == 1 || editsMade_ > 2) {
        lockScreen();
    }
    baseline_.clear();
    for (QWidget* f : fields()) {
        baseline_[f] = currentValue(f);
    }
    loadedEditCount_ = r.get(Field::EditCount);
}

void frmClientInfo::RecordToDB() {
    records::ClientRecord& r = ctx_.state.clients.current();
    r.set(Field::Name, txtName->text());
    r.set(Field::Age, txtAge->text());
    r.set(Field::DOB, txtDob->text());
    r.set(Field::Gender, QString::number(cmbGender->position()));
    r.set(Field::Race, QString::number(cmbRace->position()));
    r.set(Field::Marital, QString::number(cmbMarital->position()));
    r.set(Field::Education, QString::number(cmbEducation->position()));
    r.set(Field::SSN, txtSSN->text());
    r.set(Field::DLNumber, txtDLNumber->text());
    r.set(Field::NameDeleted, QString::number(nameDeletedFlag_));
    r.set(Field::EditCount, QString::number(editsMade_));
}

void frmClientInfo::Activate() {
    ui::ScreenKit* k = kit();
    if (nameDeletedFlag_ == 1) {
        k->setChoiceHelp(ChoiceOK, QStringLiteral("Client name has been deleted. Editing is not "
                                                  "permitted. Press Enter to continue."));
    }
    if (ScanEditMode || ctx_.state.EditMode) {
        k->ResetLabels();
        k->cmdMenuChoice(ChoiceOK)->setFocus(Qt::OtherFocusReason);
    } else {
        txtName->setFocus(Qt::OtherFocusReason);
    }
    if (nameDeletedFlag_ == 1) {
        ctx_.platform.boxes->show(QStringLiteral("This client's name has been deleted.") + CR +
                                      QStringLiteral("Editing this information is no longer "
                                                     "permitted."),
                                  MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Information,
                                  QStringLiteral("Name Deleted"));
    } else if (editsMade_ == 3) {
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
        const int limit = edit == txtSSN ? kSsnLength : kLicenceLength;
        if (typed && key->key() != Qt::Key_Backspace && edit->text().size() >= limit &&
            !edit->hasSelectedText()) {
            fail(edit == txtSSN ? QStringLiteral("Enter Social Security Number like this: "
                                                 "000-00-0000. Press Enter to continue.")
                                : QStringLiteral("Enter drivers license. Press Enter to "
                                                 "continue."));
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
    if (field == txtName) {
        if (txtName->text().isEmpty()) {
            return fail(QStringLiteral("Enter client's name. Press Enter to continue."));
        }
        // Never stored as "?" in the letter's place, however the text came in.
        const QString letter = records::FirstUnstorable(txtName->text());
        return letter.isEmpty() || fail(ui::UnstorableText(letter));
    }
    if (field == txtAge) {
        const QString t = txtAge->text().trimmed();
        if (startsWithN(t)) {
            txtAge->setText(QStringLiteral("N"));
            return true;
        }
        const double age = records::NumericValue(t);
        txtAge->setText(t);
        if (age > 10 && age < 100) {
            return true;
        }
        txtAge->clear();
        return fail(QStringLiteral("Enter age of client in number of years. Press Enter to "
                                   "continue."));
    }
    if (field == txtDob) {
        const QString t = txtDob->text().trimmed();
        if (startsWithN(t)) {
            txtDob->setText(QStringLiteral("N"));
            return true;
        }
        txtDob->setText(t);
        if (records::IsMonthDayYear(t)) {
            return true;
        }
        txtDob->clear();
        return fail(QStringLiteral("Enter Date of Birth (mm/dd/yyy) or N for not available. "
                                   "Press Enter to continue."));
    }
    // A list passes when its text stands for an entry of the list: a code that matches nothing
    // would be stored as no code at all.
    if (field == cmbGender) {
        return cmbGender->position() >= 0 ||
               fail(QStringLiteral("Press down arrow to select gender or N for not available. "
                                   "Press Enter to continue."));
    }
    if (field == cmbRace) {
        return cmbRace->position() >= 0 ||
               fail(QStringLiteral("Press down arrow to select ethnicity. Press Enter to "
                                   "continue."));
    }
    if (field == cmbMarital) {
        return cmbMarital->position() >= 0 ||
               fail(QStringLiteral("Press down arrow key to select marital status. Press Enter "
                                   "to continue."));
    }
    if (field == cmbEducation) {
        return cmbEducation->position() >= 0 ||
               fail(QStringLiteral("Press down arrow to select education level. Press Enter to "
                                   "continue."));
    }
    if (field == txtSSN) {
        const QString t = txtSSN->text().trimmed();
        if (startsWithN(t)) {
            txtSSN->setText(QStringLiteral("N"));
            return true;
        }
        txtSSN->setText(t);
        if (t.size() <= kSsnLength) {
            return true;
        }
        txtSSN->clear();
        return fail(QStringLiteral("Enter Social Security Number. Press Enter to continue."));
    }
    if (field == txtDLNumber) {
        const QString t = txtDLNumber->text().trimmed();
        if (t.compare(QLatin1String("N"), Qt::CaseInsensitive) == 0) {
            txtDLNumber->setText(QStringLiteral("N"));
            return true;
        }
        txtDLNumber->setText(t);
        return !t.isEmpty() ||
               fail(QStringLiteral("Enter drivers license number. Press Enter to continue."));
    }
    return true;
}

void frmClientInfo::lockScreen() {
    for (QWidget* f : fields()) {
        f->setEnabled(false);
    }
}

void frmClientInfo::countEdit(QWidget* field) {
    if (!ctx_.state.EditMode || !baseline_.contains(field)) {
        return;
    }
    const QString now = currentValue(field);
    if (now == baseline_.value(field)) {
        return;
    }
    ++editsMade_;
    if (editsMade_ < 3) {
        baseline_[field] = now;
        return;
    }
    editsMade_ = 3;
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

bool frmClientInfo::changedFromRecord() const {
    const records::ClientRecord& r = ctx_.state.clients.current();
    return txtName->text() != r.trimmed(Field::Name) || txtAge->text() != r.trimmed(Field::Age) ||
           txtDob->text() != r.trimmed(Field::DOB) ||
           QString::number(cmbGender->position()) != r.trimmed(Field::Gender) ||
           QString::number(cmbRace->position()) != r.trimmed(Field::Race) ||
           QString::number(cmbMarital->position()) != r.trimmed(Field::Marital) ||
           QString::number(cmbEducation->position()) != r.trimmed(Field::Education) ||
           txtSSN->text() != r.trimmed(Field::SSN) ||
           txtDLNumber->text() != r.trimmed(Field::DLNumber);
}

void frmClientInfo::cmdMenuChoice_Click(int index) {
    if (index == ChoiceOK) {
        acceptInformation();
    } else if (index == ChoiceCancel) {
        ctx_.state.ProceedToNext = false;
        closeScreen();
    }
}

void frmClientInfo::acceptInformation() {
    // The focus moves to the button before this runs; an edit made in the last field has
    // been counted by then.
    const auto checkFails = [this](QWidget* field, bool ok) {
        if (ok) {
            return false;
        }
        if (validate(field)) {
            return false;
        }
        field->setFocus(Qt::OtherFocusReason);
        return true;
    };
    bool accepted = false;
    if (txtName->text().isEmpty() && checkFails(txtName, false)) {
        return;
    }
    if (txtAge->text().isEmpty() && checkFails(txtAge, false)) {
        return;
    }
    const QString dob = txtDob->text();
    const bool dobOk =
        !dob.isEmpty() &&
        (records::IsMonthDayYear(dob) || dob.compare(QLatin1String("N"), Qt::CaseInsensitive) == 0);
    if (!dobOk && !txtDob->isEnabled()) {
        // A locked screen only moves the sequence on.
        accepted = true;
    } else if (!dobOk && checkFails(txtDob, false)) {
        return;
    }
    if (!accepted) {
        for (CodeListBox* list : {cmbGender, cmbRace, cmbEducation, cmbMarital}) {
            if (checkFails(list, list->position() >= 0)) {
                return;
            }
        }
        if (txtDLNumber->text().isEmpty() && checkFails(txtDLNumber, false)) {
            return;
        }
        if (txtSSN->text().isEmpty() && checkFails(txtSSN, false)) {
            return;
        }
    }

    auto& table = ctx_.state.clients;
    bool changed = true;
    if (ctx_.state.EditMode) {
        changed = changedFromRecord();
    } else {
        table.setCurrentClient(table.ClientCount() + 1);
    }
    ctx_.state.ProceedToNext = true;
    const bool mayStore =
        table.ClientCount() == 0 || ScanEditMode || records::NumericValue(loadedEditCount_) < 3;
    if (changed && mayStore) {
        records::ClientRecord& r = table.current();
        const records::ClientRecord before = r;
        if (!ctx_.state.EditMode) {
            r.set(Field::Responses, QString(records::kItemCount, QLatin1Char('0')));
            r.set(Field::NameDeleted, u"0");
            r.set(Field::TestDate,
                  ctx_.platform.clock->today().toString(QStringLiteral("MM/dd/yyyy")));
        }
        RecordToDB();
        if (ctx_.state.EditMode) {
            r.set(Field::EditCount, QString::number(editsMade_));
            if (!ctx_.drive.CheckDataDisk()) {
                ctx_.state.ProceedToNext = false;
                closeScreen();
                return;
            }
            try {
                table.PutClientRecord(table.CurrentClient());
            } catch (const AppError& e) {
                // The record stays as it is on the disk; the operator may try again.
                r = before;
                ctx_.state.ProceedToNext = false;
                ctx_.platform.boxes->show(
                    QStringLiteral("Error %1:%2").arg(e.number()).arg(e.description()),
                    MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Error, QString());
                return;
            }
        }
    }
    closeScreen();
}

} // namespace tov::intake
