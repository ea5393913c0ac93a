#pragma once

#include "records/ClientRecord.h"

#include <QDate>
#include <QList>
#include <QMap>
#include <QString>

#include <optional>

namespace tov::intake {

// The fields of the client information, in the order they are typed.
enum class ClientField { Name, Age, DOB, Gender, Race, Marital, Education, SSN, DLNumber };

// The client information as it is typed: the texts, and each code list's position (-1 when its
// text stands for no entry of the list).
struct ClientInfo {
    QString name;
    QString age;
    QString dob;
    int gender = -1;
    int race = -1;
    int marital = -1;
    int education = -1;
    QString ssn;
    QString licence;

    // A field's value as edits are counted by it: the text, or the list position as a number.
    QString value(ClientField field) const;
};

// What checking one typed field gives.
struct FieldCheck {
    std::optional<QString> text; // what the field holds afterwards; none: left as typed
    bool cleared = false;        // a refused text is emptied for typing it anew
    QString message;             // why it is refused
    QString unstorable;          // a character the client file cannot store, which refuses it too

    bool passed() const { return message.isEmpty() && unstorable.isEmpty(); }
};

// How many characters a typed field takes.
int FieldLength(ClientField field);
// What the operator is told when typing on in a full field; empty where the field just stops.
QString FullFieldText(ClientField field);

// A typed field's check as the field is left: blanks trimmed, "N" for not available.
FieldCheck CheckText(ClientField field, const QString& text);
// A list passes when its text stands for an entry: a code that matches nothing would be stored
// as no code at all. The message when it does not, else nothing.
QString CheckChoice(ClientField field, int position);
// The fields checked once more as the information is accepted, in that order (education before
// marital status, the licence before the SSN), each only when its value is in doubt. A locked
// screen whose date of birth is in doubt is accepted as it is after the name and age.
QList<ClientField> FieldsToRecheck(const ClientInfo& info, bool locked);

// The information a record holds; a code its list lacks is no entry.
ClientInfo InfoOf(const records::ClientRecord& record);
// Whether the information differs from what the record holds.
bool DiffersFrom(const ClientInfo& info, const records::ClientRecord& record);

// How often an existing client's information may still be changed: three times in its life, and
// not at all once the names were deleted. A change is one field left with a value other than the
// one it had when last counted, so changing a field back counts too.
class EditLimit {
public:
    static constexpr int kEdits = 3;

    // A new client: nothing counted, nothing locked.
    EditLimit() = default;
    // An existing client as stored, counting from the information as first shown.
    EditLimit(const records::ClientRecord& stored, const ClientInfo& shown);

    int editsMade() const { return editsMade_; }
    int nameDeletedFlag() const { return nameDeleted_; }
    bool nameDeleted() const { return nameDeleted_ == 1; }
    // Reached on an earlier visit, as the screen opens.
    bool reached() const { return editsMade_ == kEdits; }
    bool lockedAtStart() const { return nameDeleted() || editsMade_ >= kEdits; }
    // A first client, a scanned sheet or a client stored with edits to spare is stored.
    bool mayStore(int clientCount, bool scanned) const;

    // The field was left holding `info`'s value. True when this change reaches the limit, which
    // locks the information.
    bool fieldLeft(ClientField field, const ClientInfo& info);

private:
    int editsMade_ = 0;
    int storedEdits_ = 0;
    int nameDeleted_ = 0;
    QMap<ClientField, QString> counted_;
};

// Writes the information into the record as the client file keeps it: the texts as they stand,
// each list as its position's digit, the deleted-name flag and the count of edits.
void StoreInfo(records::ClientRecord& record, const ClientInfo& info, const EditLimit& limit);
// A new client's record: no answers yet, the name not deleted, and today as its test date.
void StartNewRecord(records::ClientRecord& record, QDate today);

} // namespace tov::intake
