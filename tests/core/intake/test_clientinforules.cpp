#include "intake/ClientInfoRules.h"

#include <QtTest>

using namespace tov::intake;
using tov::records::ClientRecord;
using tov::records::Field;

Q_DECLARE_METATYPE(ClientField)
Q_DECLARE_METATYPE(ClientInfo)

namespace {

const ClientInfo kFilled = {"Harmon, Della J.", "34", "03/14/1992", 2, 5, 3, 4, "000-12-3456",
                            "H655-4219-2031"};

const ClientRecord kStored = [] {
    ClientRecord r;
    r.set(Field::Name, kFilled.name);
    r.set(Field::Age, kFilled.age);
    r.set(Field::DOB, kFilled.dob);
    r.set(Field::Gender, u"2");
    r.set(Field::Race, u"5");
    r.set(Field::Marital, u"3");
    r.set(Field::Education, u"4");
    r.set(Field::SSN, kFilled.ssn);
    r.set(Field::DLNumber, kFilled.licence);
    r.set(Field::TestDate, u"11/02/2026");
    r.set(Field::PriorDUI, u"0");
    r.set(Field::Responses, QString(73, QLatin1Char('2')));
    r.set(Field::EditCount, u"0");
    r.set(Field::NameDeleted, u"0");
    return r;
}();

QString names(const QList<ClientField>& fields) {
    static const QStringList kNames = {"Name",    "Age",       "DOB", "Gender",  "Race",
                                       "Marital", "Education", "SSN", "DLNumber"};
    QStringList out;
    for (ClientField f : fields) {
        out << kNames[static_cast<int>(f)];
    }
    return out.join(',');
}

// The filled information with the named fields emptied (a list: no entry).
ClientInfo without(const QString& blanks) {
    ClientInfo info = kFilled;
    for (const QString& b : blanks.split(',', Qt::SkipEmptyParts)) {
        QString* text = b == "Name"       ? &info.name
                        : b == "Age"      ? &info.age
                        : b == "DOB"      ? &info.dob
                        : b == "SSN"      ? &info.ssn
                        : b == "DLNumber" ? &info.licence
                                          : nullptr;
        if (text != nullptr) {
            text->clear();
        }
        int* list = b == "Gender"      ? &info.gender
                    : b == "Race"      ? &info.race
                    : b == "Marital"   ? &info.marital
                    : b == "Education" ? &info.education
                                       : nullptr;
        if (list != nullptr) {
            *list = -1;
        }
    }
    return info;
}

} // namespace

class TestClientInfoRules : public QObject {
    Q_OBJECT

private slots:
    void typedFields_data();
    void typedFields();
    void choices_data();
    void choices();
    void rechecksOnOk_data();
    void rechecksOnOk();
    void editLimit_data();
    void editLimit();
    void storing_data();
    void storing();
};

// What a field holds after it is left, and why it is refused (nothing: it passes).
void TestClientInfoRules::typedFields_data() {
    QTest::addColumn<ClientField>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("message");
    const QString age = "Enter age of client in number of years. Press Enter to continue.";
    const QString dob = "Enter Date of Birth (mm/dd/yyy) or N for not available. Press Enter to "
                        "continue.";
    const auto row = [](const char* name, ClientField f, const char* typed, const char* after,
                        const QString& message) {
        QTest::newRow(name) << f << QString::fromUtf8(typed) << QString::fromUtf8(after) << message;
    };
    row("name empty", ClientField::Name, "", "", "Enter client's name. Press Enter to continue.");
    row("name kept untrimmed", ClientField::Name, " Smith ", " Smith ", {});
    row("name with €", ClientField::Name, "Berg €", "Berg €", {});
    row("name with ř", ClientField::Name, "Dvořák", "Dvořák", "unstorable ř");
    row("age 10", ClientField::Age, "10", "", age);
    row("age 11", ClientField::Age, "11", "11", {});
    row("age 99", ClientField::Age, "99", "99", {});
    row("age trimmed", ClientField::Age, " 45 ", "45", {});
    row("age no", ClientField::Age, "no", "N", {});
    row("age x", ClientField::Age, "x", "", age);
    row("dob m/d/yyyy stays as typed", ClientField::DOB, "3/4/1992", "3/4/1992", {});
    row("dob day 45", ClientField::DOB, "01/45/1990", "", dob);
    row("dob day first", ClientField::DOB, "13/01/1990", "", dob);
    row("dob N", ClientField::DOB, "N", "N", {});
    row("dob words", ClientField::DOB, "yesterday", "", dob);
    row("SSN N123", ClientField::SSN, "N123", "N", {});
    row("SSN empty passes", ClientField::SSN, "", "", {});
    row("SSN 11", ClientField::SSN, "123-45-6789", "123-45-6789", {});
    row("SSN 12", ClientField::SSN, "123-45-67890", "",
        "Enter Social Security Number. Press Enter to continue.");
    row("licence N and more stays", ClientField::DLNumber, "N12-345", "N12-345", {});
    row("licence n", ClientField::DLNumber, " n ", "N", {});
    row("licence empty", ClientField::DLNumber, " ", "",
        "Enter drivers license number. Press Enter to continue.");
}

void TestClientInfoRules::typedFields() {
    QFETCH(ClientField, field);
    QFETCH(QString, typed);
    QFETCH(QString, after);
    QFETCH(QString, message);
    const FieldCheck check = CheckText(field, typed);
    QCOMPARE(check.cleared ? QString() : check.text.value_or(typed), after);
    QCOMPARE(check.unstorable.isEmpty() ? check.message : "unstorable " + check.unstorable,
             message);
    QCOMPARE(check.passed(), message.isEmpty());
}

void TestClientInfoRules::choices_data() {
    QTest::addColumn<ClientField>("field");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("message");
    QTest::newRow("gender N/A") << ClientField::Gender << 0 << QString();
    QTest::newRow("gender none") << ClientField::Gender << -1
                                 << "Press down arrow to select gender or N for not available. "
                                    "Press Enter to continue.";
    QTest::newRow("race none") << ClientField::Race << -1
                               << "Press down arrow to select ethnicity. Press Enter to continue.";
    QTest::newRow("marital none") << ClientField::Marital << -1
                                  << "Press down arrow key to select marital status. Press Enter "
                                     "to continue.";
    QTest::newRow("education none") << ClientField::Education << -1
                                    << "Press down arrow to select education level. Press Enter "
                                       "to continue.";
    QTest::newRow("education 6") << ClientField::Education << 6 << QString();
}

void TestClientInfoRules::choices() {
    QFETCH(ClientField, field);
    QFETCH(int, position);
    QFETCH(QString, message);
    QCOMPARE(CheckChoice(field, position), message);
}

void TestClientInfoRules::rechecksOnOk_data() {
    QTest::addColumn<ClientInfo>("info");
    QTest::addColumn<bool>("locked");
    QTest::addColumn<QString>("rechecked");
    const QString all = "Name,Age,DOB,Gender,Race,Marital,Education,SSN,DLNumber";
    ClientInfo dobN = kFilled;
    dobN.dob = "n";
    // Not yet "N": checked again, which makes it so.
    ClientInfo dobNa = kFilled;
    dobNa.dob = "n/a";
    QTest::newRow("filled") << kFilled << false << "";
    QTest::newRow("all empty") << without(all) << false
                               << "Name,Age,DOB,Gender,Race,Education,Marital,DLNumber,SSN";
    QTest::newRow("all empty, locked") << without(all) << true << "Name,Age";
    QTest::newRow("locked, good date") << without("Race,SSN") << true << "Race,SSN";
    QTest::newRow("dob n") << dobN << false << "";
    QTest::newRow("dob n/a") << dobNa << false << "DOB";
}

void TestClientInfoRules::rechecksOnOk() {
    QFETCH(ClientInfo, info);
    QFETCH(bool, locked);
    QFETCH(QString, rechecked);
    QCOMPARE(names(FieldsToRecheck(info, locked)), rechecked);
}

// The age field of a stored client left with each value in turn.
void TestClientInfoRules::editLimit_data() {
    QTest::addColumn<QString>("stored"); // edit count and deleted-name flag; empty: a new client
    QTest::addColumn<QStringList>("ages");
    QTest::addColumn<int>("edits");
    QTest::addColumn<int>("reachedBy"); // the change that reaches the limit, 0 for none
    QTest::addColumn<bool>("locked");   // as the screen opens
    QTest::addColumn<bool>("told");     // that the limit was reached before
    QTest::addColumn<bool>("mayStore");
    QTest::newRow("new client") << "" << QStringList{"41", "42", "43"} << 0 << 0 << false << false
                                << true;
    QTest::newRow("unchanged") << "00" << QStringList{"34"} << 0 << 0 << false << false << true;
    QTest::newRow("three changes")
        << "00" << QStringList{"41", "42", "43"} << 3 << 3 << false << false << true;
    QTest::newRow("same value twice")
        << "00" << QStringList{"50", "50"} << 1 << 0 << false << false << true;
    QTest::newRow("changed back") << "00" << QStringList{"50", "34"} << 2 << 0 << false << false
                                  << true;
    QTest::newRow("two stored") << "20" << QStringList{"41"} << 3 << 1 << false << false << true;
    QTest::newRow("three stored") << "30" << QStringList{} << 3 << 0 << true << true << false;
    QTest::newRow("five stored") << "50" << QStringList{} << 5 << 0 << true << false << false;
    QTest::newRow("name deleted") << "01" << QStringList{} << 0 << 0 << true << false << true;
    QTest::newRow("flag 2 is no deletion")
        << "02" << QStringList{"41"} << 1 << 0 << false << false << true;
}

void TestClientInfoRules::editLimit() {
    QFETCH(QString, stored);
    QFETCH(QStringList, ages);
    QFETCH(int, edits);
    QFETCH(int, reachedBy);
    QFETCH(bool, locked);
    QFETCH(bool, told);
    QFETCH(bool, mayStore);
    EditLimit limit;
    if (!stored.isEmpty()) {
        ClientRecord r = kStored;
        r.set(Field::EditCount, stored.left(1));
        r.set(Field::NameDeleted, stored.mid(1));
        limit = EditLimit(r, InfoOf(r));
    }
    QCOMPARE(limit.lockedAtStart(), locked);
    QCOMPARE(limit.reached(), told);
    QCOMPARE(limit.nameDeleted(), stored == "01");
    ClientInfo info = kFilled;
    int reached = 0;
    for (int i = 0; i < ages.size(); ++i) {
        info.age = ages[i];
        if (limit.fieldLeft(ClientField::Age, info) && reached == 0) {
            reached = i + 1;
        }
    }
    QCOMPARE(limit.editsMade(), edits);
    QCOMPARE(reached, reachedBy);
    QCOMPARE(limit.mayStore(2, false), mayStore);
    QVERIFY(limit.mayStore(0, false) && limit.mayStore(2, true));
}

// The record bytes written from the information.
void TestClientInfoRules::storing_data() {
    QTest::addColumn<ClientInfo>("info");
    QTest::addColumn<bool>("isNew");
    QTest::addColumn<QByteArray>("bytes");
    const ClientInfo jose = {"Peña, José",    "34", "1/5/1992", 2, 7, 1, 4, "123-45-6789",
                             "P123-4567-8901"};
    QTest::newRow("new client") << jose << true
                                << QByteArray("Pe\xf1"
                                              "a, Jos\xe9") +
                                       QByteArray(15, ' ') +
                                       "34 1/5/1992  2714123-45-6789P123-4567-890112/07/2026" +
                                       QByteArray(38, ' ') + QByteArray(73, '0') + "00";
    ClientInfo aged = kFilled;
    aged.age = "41";
    QTest::newRow("age edited") << aged << false
                                << kStored.bytes().replace(25, 3, "41 ").replace(188, 1, "1");
    QTest::newRow("unchanged") << kFilled << false << kStored.bytes();
    // A code its list lacks is read as no entry, so it is no longer what the record holds.
    ClientRecord odd = kStored;
    odd.set(Field::Gender, u"7");
    QCOMPARE(InfoOf(odd).gender, -1);
    QVERIFY(DiffersFrom(InfoOf(odd), odd));
}

void TestClientInfoRules::storing() {
    QFETCH(ClientInfo, info);
    QFETCH(bool, isNew);
    QFETCH(QByteArray, bytes);
    ClientRecord r = isNew ? ClientRecord() : kStored;
    QCOMPARE(DiffersFrom(info, r), r.bytes() != bytes);
    EditLimit limit;
    if (isNew) {
        StartNewRecord(r, QDate(2026, 12, 7));
    } else {
        limit = EditLimit(r, InfoOf(r));
        limit.fieldLeft(ClientField::Age, info);
    }
    StoreInfo(r, info, limit);
    QCOMPARE(r.bytes(), bytes);
}

QTEST_GUILESS_MAIN(TestClientInfoRules)
#include "test_clientinforules.moc"
