#include "intake/ClientInfoRules.h"

#include "records/Cp1252.h"
#include "records/DateText.h"
#include "records/Demographics.h"
#include "records/NumericValue.h"

namespace tov::intake {

using records::ClientRecord;
using records::Field;

namespace {

constexpr int kSsnLength = 11;

bool startsWithN(const QString& text) {
    return !text.isEmpty() && text[0].toUpper() == QLatin1Char('N');
}

bool isN(const QString& text) {
    return text.compare(QLatin1String("N"), Qt::CaseInsensitive) == 0;
}

// A text that is "N" for not available or else has to pass `ok`; refused, it is emptied.
template <typename Ok> FieldCheck checkOrN(const QString& typed, Ok ok, const QString& message) {
    const QString t = typed.trimmed();
    if (startsWithN(t)) {
        return {QStringLiteral("N")};
    }
    FieldCheck check{t};
    if (!ok(t)) {
        check.cleared = true;
        check.message = message;
    }
    return check;
}

int codeOf(const ClientRecord& r, Field field, records::CodeList list) {
    bool ok = false;
    const int code = r.trimmed(field).toInt(&ok);
    return ok && code >= 0 && code < records::entries(list).size() ? code : -1;
}

} // namespace

QString ClientInfo::value(ClientField field) const {
    switch (field) {
    case ClientField::Name:
        return name;
    case ClientField::Age:
        return age;
    case ClientField::DOB:
        return dob;
    case ClientField::Gender:
        return QString::number(gender);
    case ClientField::Race:
        return QString::number(race);
    case ClientField::Marital:
        return QString::number(marital);
    case ClientField::Education:
        return QString::number(education);
    case ClientField::SSN:
        return ssn;
    case ClientField::DLNumber:
        return licence;
    }
    return {};
}

int FieldLength(ClientField field) {
    switch (field) {
    case ClientField::Name:
        return 25;
    case ClientField::Age:
        return 2;
    case ClientField::DOB:
        return 10;
    case ClientField::SSN:
        return kSsnLength;
    case ClientField::DLNumber:
        return 14;
    default:
        return 0;
    }
}

QString FullFieldText(ClientField field) {
    if (field == ClientField::SSN) {
        return QStringLiteral("Enter Social Security Number like this: 000-00-0000. Press Enter "
                              "to continue.");
    }
    if (field == ClientField::DLNumber) {
        return QStringLiteral("Enter drivers license. Press Enter to continue.");
    }
    return {};
}

FieldCheck CheckText(ClientField field, const QString& text) {
    switch (field) {
    case ClientField::Name: {
        FieldCheck check;
        if (text.isEmpty()) {
            check.message = QStringLiteral("Enter client's name. Press Enter to continue.");
        } else {
            // Never stored as "?" in the letter's place, however the text came in.
            check.unstorable = records::FirstUnstorable(text);
        }
        return check;
    }
    case ClientField::Age:
        return checkOrN(
            text,
            [](const QString& t) {
                const double age = records::NumericValue(t);
                return age > 10 && age < 100;
            },
            QStringLiteral("Enter age of client in number of years. Press Enter to continue."));
    case ClientField::DOB:
        return checkOrN(
            text, [](const QString& t) { return records::IsMonthDayYear(t); },
            QStringLiteral("Enter Date of Birth (mm/dd/yyy) or N for not available. Press Enter "
                           "to continue."));
    case ClientField::SSN:
        return checkOrN(
            text, [](const QString& t) { return t.size() <= kSsnLength; },
            QStringLiteral("Enter Social Security Number. Press Enter to continue."));
    case ClientField::DLNumber: {
        // Only "N" alone is not available: a licence number may begin with N.
        const QString t = text.trimmed();
        FieldCheck check{isN(t) ? QStringLiteral("N") : t};
        if (t.isEmpty()) {
            check.message =
                QStringLiteral("Enter drivers license number. Press Enter to continue.");
        }
        return check;
    }
    default:
        return {};
    }
}

QString CheckChoice(ClientField field, int position) {
    if (position >= 0) {
        return {};
    }
    switch (field) {
    case ClientField::Gender:
        return QStringLiteral("Press down arrow to select gender or N for not available. Press "
                              "Enter to continue.");
    case ClientField::Race:
        return QStringLiteral("Press down arrow to select ethnicity. Press Enter to continue.");
    case ClientField::Marital:
        return QStringLiteral("Press down arrow key to select marital status. Press Enter to "
                              "continue.");
    case ClientField::Education:
        return QStringLiteral("Press down arrow to select education level. Press Enter to "
                              "continue.");
    default:
        return {};
    }
}

QList<ClientField> FieldsToRecheck(const ClientInfo& info, bool locked) {
    QList<ClientField> fields;
    if (info.name.isEmpty()) {
        fields << ClientField::Name;
    }
    if (info.age.isEmpty()) {
        fields << ClientField::Age;
    }
    const bool dobOk = !info.dob.isEmpty() && (records::IsMonthDayYear(info.dob) || isN(info.dob));
    if (!dobOk) {
        if (locked) {
            return fields;
        }
        fields << ClientField::DOB;
    }
    const std::pair<int, ClientField> lists[] = {{info.gender, ClientField::Gender},
                                                 {info.race, ClientField::Race},
                                                 {info.education, ClientField::Education},
                                                 {info.marital, ClientField::Marital}};
    for (const auto& [position, field] : lists) {
        if (position < 0) {
            fields << field;
        }
    }
    if (info.licence.isEmpty()) {
        fields << ClientField::DLNumber;
    }
    if (info.ssn.isEmpty()) {
        fields << ClientField::SSN;
    }
    return fields;
}

ClientInfo InfoOf(const ClientRecord& record) {
    using records::CodeList;
    return {record.trimmed(Field::Name),
            record.trimmed(Field::Age),
            record.trimmed(Field::DOB),
            codeOf(record, Field::Gender, CodeList::Gender),
            codeOf(record, Field::Race, CodeList::Race),
            codeOf(record, Field::Marital, CodeList::Marital),
            codeOf(record, Field::Education, CodeList::Education),
            record.trimmed(Field::SSN),
            record.trimmed(Field::DLNumber)};
}

bool DiffersFrom(const ClientInfo& info, const ClientRecord& record) {
    const std::pair<ClientField, Field> fields[] = {{ClientField::Name, Field::Name},
                                                    {ClientField::Age, Field::Age},
                                                    {ClientField::DOB, Field::DOB},
                                                    {ClientField::Gender, Field::Gender},
                                                    {ClientField::Race, Field::Race},
                                                    {ClientField::Marital, Field::Marital},
                                                    {ClientField::Education, Field::Education},
                                                    {ClientField::SSN, Field::SSN},
                                                    {ClientField::DLNumber, Field::DLNumber}};
    for (const auto& [field, stored] : fields) {
        if (info.value(field) != record.trimmed(stored)) {
            return true;
        }
    }
    return false;
}

EditLimit::EditLimit(const ClientRecord& stored, const ClientInfo& shown)
    : editsMade_(static_cast<int>(records::NumericValue(stored.get(Field::EditCount)))),
      storedEdits_(editsMade_),
      nameDeleted_(static_cast<int>(records::NumericValue(stored.get(Field::NameDeleted)))) {
    for (int f = 0; f <= static_cast<int>(ClientField::DLNumber); ++f) {
        const auto field = static_cast<ClientField>(f);
        counted_[field] = shown.value(field);
    }
}

bool EditLimit::mayStore(int clientCount, bool scanned) const {
    return clientCount == 0 || scanned || storedEdits_ < kEdits;
}

bool EditLimit::fieldLeft(ClientField field, const ClientInfo& info) {
    const auto it = counted_.find(field);
    if (it == counted_.end()) {
        return false;
    }
    const QString now = info.value(field);
    if (now == *it) {
        return false;
    }
    ++editsMade_;
    if (editsMade_ < kEdits) {
        *it = now;
        return false;
    }
    editsMade_ = kEdits;
    return true;
}

void StoreInfo(ClientRecord& record, const ClientInfo& info, const EditLimit& limit) {
    record.set(Field::Name, info.name);
    record.set(Field::Age, info.age);
    record.set(Field::DOB, info.dob);
    record.set(Field::Gender, QString::number(info.gender));
    record.set(Field::Race, QString::number(info.race));
    record.set(Field::Marital, QString::number(info.marital));
    record.set(Field::Education, QString::number(info.education));
    record.set(Field::SSN, info.ssn);
    record.set(Field::DLNumber, info.licence);
    record.set(Field::NameDeleted, QString::number(limit.nameDeletedFlag()));
    record.set(Field::EditCount, QString::number(limit.editsMade()));
}

void StartNewRecord(ClientRecord& record, QDate today) {
    record.set(Field::Responses, QString(records::kItemCount, QLatin1Char('0')));
    record.set(Field::NameDeleted, u"0");
    record.set(Field::TestDate, today.toString(QStringLiteral("MM/dd/yyyy")));
}

} // namespace tov::intake
