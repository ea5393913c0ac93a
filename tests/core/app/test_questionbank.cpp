#include "app/QuestionBank.h"
#include "platform/AppError.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using namespace tov;
using app::DbEngine;
using app::Workspace;

namespace {

// A small bank: tables made in the order English, Spanish, ScanItem.
QString makeBank(const QTemporaryDir& dir) {
    QString path = dir.filePath("bank.mdb");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "maker");
        db.setDatabaseName(path);
        db.open();
        QSqlQuery q(db);
        q.exec("CREATE TABLE English (ID INTEGER, TestQuestion TEXT, ANSWER1 TEXT, ANSWER2 TEXT)");
        q.exec("CREATE TABLE Spanish (ID INTEGER, TestQuestion TEXT)");
        q.exec("CREATE TABLE ScanItem (r REAL, X INTEGER, y INTEGER, LocationName TEXT)");
        q.exec("INSERT INTO English VALUES (1, 'First', 'True', 'False')");
        q.exec("INSERT INTO English VALUES (2, 'Second', '', NULL)");
        q.exec("INSERT INTO English VALUES (3, 'Third', 'Yes', 'No')");
        q.exec("INSERT INTO ScanItem VALUES (1.5, 0, 0, 'SSN1')");
        q.exec("INSERT INTO ScanItem VALUES (2.5, 0, 0, 'SSN2')");
        db.close();
    }
    QSqlDatabase::removeDatabase("maker");
    return path;
}

Workspace openWorkspace(const QTemporaryDir& dir) {
    const QString mda = dir.filePath("zevltd.mda");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "wg");
        db.setDatabaseName(mda);
        db.open();
        QSqlQuery q(db);
        q.exec("CREATE TABLE Users (Name TEXT PRIMARY KEY, Role TEXT)");
        q.exec("INSERT INTO Users VALUES ('admin', 'Admins')");
        db.close();
    }
    QSqlDatabase::removeDatabase("wg");
    QFile ini(dir.filePath("tov2sf.ini"));
    ini.open(QIODevice::WriteOnly);
    ini.write("[Options]\nSystemDB=" + mda.toUtf8() + "\n");
    ini.close();
    DbEngine engine;
    engine.setDefaults("ZEVTest", "qorlune");
    engine.setIniPath(dir.filePath("tov2sf.ini"));
    return Workspace::open(engine, "admin", "");
}

} // namespace

class TestQuestionBank : public QObject {
    Q_OBJECT

private slots:
    void tablesInStoredOrder();
    void recordsetMovesAndReadsFields();
    void emptyFieldsReadAsNull();
    void tableOpensIgnoringCase();
    void editUpdateWritesTheRow();
    void updatesInTransaction_data();
    void updatesInTransaction();
    void queryResultCannotBeEdited();
    void openFailures_data();
    void openFailures();
    void workgroupChecksUser();
    void shippedBankHasItsTables();
};

void TestQuestionBank::tablesInStoredOrder() {
    QTemporaryDir dir;
    const auto db = openWorkspace(dir).OpenDatabase(makeBank(dir));
    QCOMPARE(db->TableDefs(), QStringList({"English", "Spanish", "ScanItem"}));
}

void TestQuestionBank::recordsetMovesAndReadsFields() {
    QTemporaryDir dir;
    const auto db = openWorkspace(dir).OpenDatabase(makeBank(dir));
    app::RecordSet rs = db->OpenRecordset("Select * from [English]");
    QCOMPARE(rs.RecordCount(), 3);
    QVERIFY(!rs.atBOF());
    QCOMPARE(rs.Fields("TestQuestion").toString(), QStringLiteral("First"));
    QCOMPARE(rs.Fields("answer1").toString(), QStringLiteral("True"));
    rs.MoveNext();
    rs.MoveNext();
    QCOMPARE(rs.Fields("ID").toInt(), 3);
    rs.MoveNext();
    QVERIFY(rs.atEOF());
    QVERIFY_THROWS_EXCEPTION(AppError, rs.Fields("ID"));
    rs.MovePrevious();
    QCOMPARE(rs.Fields("ID").toInt(), 3);
    rs.MoveFirst();
    rs.MovePrevious();
    QVERIFY(rs.atBOF());
    rs.MoveFirst();
    QCOMPARE(rs.Fields("ID").toInt(), 1);

    app::RecordSet empty = db->OpenRecordset("Select * from [Spanish]");
    QVERIFY(empty.atBOF());
    QVERIFY(empty.atEOF());
}

void TestQuestionBank::emptyFieldsReadAsNull() {
    QTemporaryDir dir;
    const auto db = openWorkspace(dir).OpenDatabase(makeBank(dir));
    app::RecordSet rs = db->OpenRecordset("Select * from [English]");
    rs.MoveNext();
    QVERIFY(rs.Fields("ANSWER1").isNull());
    QVERIFY(rs.Fields("ANSWER2").isNull());
    QVERIFY(rs.Fields("NoSuchField").isNull());
}

void TestQuestionBank::tableOpensIgnoringCase() {
    QTemporaryDir dir;
    const auto db = openWorkspace(dir).OpenDatabase(makeBank(dir));
    app::RecordSet rs = db->OpenTable("ENGLISH");
    QCOMPARE(rs.RecordCount(), 3);
    QCOMPARE(rs.fieldNames(), QStringList({"ID", "TestQuestion", "ANSWER1", "ANSWER2"}));
    try {
        db->OpenTable("French");
        QFAIL("opened a table that does not exist");
    } catch (const AppError& e) {
        QCOMPARE(e.number(), err::DbNoSuchTable);
    }
}

void TestQuestionBank::editUpdateWritesTheRow() {
    QTemporaryDir dir;
    const QString path = makeBank(dir);
    const Workspace ws = openWorkspace(dir);
    {
        const auto db = ws.OpenDatabase(path);
        app::RecordSet rs = db->OpenTable("scanitem");
        rs.MoveNext();
        rs.Edit();
        rs.setField("X", 412);
        rs.setField("y", 77);
        rs.Update();
        QCOMPARE(rs.Fields("X").toInt(), 412);
        QVERIFY_THROWS_EXCEPTION(AppError, rs.setField("X", 1)); // no Edit
    }
    const auto db = ws.OpenDatabase(path);
    app::RecordSet rs = db->OpenTable("ScanItem");
    QCOMPARE(rs.Fields("X").toInt(), 0);
    rs.MoveNext();
    QCOMPARE(rs.Fields("X").toInt(), 412);
    QCOMPARE(rs.Fields("y").toInt(), 77);
    QCOMPARE(rs.Fields("LocationName").toString(), QStringLiteral("SSN2"));
}

void TestQuestionBank::updatesInTransaction_data() {
    QTest::addColumn<bool>("commit");
    QTest::addColumn<int>("stored");
    QTest::newRow("committed") << true << 412;
    QTest::newRow("closed before the commit") << false << 0;
}

void TestQuestionBank::updatesInTransaction() {
    QFETCH(bool, commit);
    QFETCH(int, stored);
    QTemporaryDir dir;
    const QString path = makeBank(dir);
    const Workspace ws = openWorkspace(dir);
    {
        const auto db = ws.OpenDatabase(path);
        app::RecordSet rs = db->OpenTable("ScanItem");
        db->BeginTrans();
        for (; !rs.atEOF(); rs.MoveNext()) {
            rs.Edit();
            rs.setField("X", 412);
            rs.Update();
        }
        rs.Close();
        if (commit) {
            db->CommitTrans();
        }
    }
    const auto db = ws.OpenDatabase(path);
    app::RecordSet rs = db->OpenTable("ScanItem");
    for (; !rs.atEOF(); rs.MoveNext()) {
        QCOMPARE(rs.Fields("X").toInt(), stored);
    }
}

void TestQuestionBank::queryResultCannotBeEdited() {
    QTemporaryDir dir;
    const auto db = openWorkspace(dir).OpenDatabase(makeBank(dir));
    app::RecordSet rs = db->OpenRecordset("Select * from [English]");
    QVERIFY_THROWS_EXCEPTION(AppError, rs.Edit());
}

void TestQuestionBank::openFailures_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("number");
    QTest::newRow("missing file") << "absent.mdb" << QByteArray() << err::DbFileNotFound;
    QTest::newRow("missing folder") << "nofolder/bank.mdb" << QByteArray() << err::DbInvalidPath;
    QTest::newRow("not a database")
        << "text.mdb" << QByteArray("This is not a database file at all, just text.")
        << err::DbCannotOpen;
}

void TestQuestionBank::openFailures() {
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(int, number);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (!content.isEmpty()) {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(content);
    }
    try {
        openWorkspace(dir).OpenDatabase(path);
        QFAIL("opened");
    } catch (const AppError& e) {
        QCOMPARE(e.number(), number);
    }
    // Never a new empty database in its place.
    QCOMPARE(QFile::exists(path), !content.isEmpty());
}

void TestQuestionBank::workgroupChecksUser() {
    QTemporaryDir dir;
    openWorkspace(dir);
    DbEngine engine;
    engine.setIniPath(dir.filePath("tov2sf.ini"));
    QVERIFY(Workspace::open(engine, "ADMIN", "").isOpen());
    try {
        Workspace::open(engine, "intruder", "");
        QFAIL("unknown user accepted");
    } catch (const AppError& e) {
        QCOMPARE(e.number(), err::DbWorkgroupMissing);
    }
    QFile::remove(dir.filePath("zevltd.mda"));
    try {
        Workspace::open(engine, "admin", "");
        QFAIL("missing workgroup file accepted");
    } catch (const AppError& e) {
        QCOMPARE(e.number(), err::DbWorkgroupMissing);
    }
    QVERIFY(!QFile::exists(dir.filePath("zevltd.mda")));
}

void TestQuestionBank::shippedBankHasItsTables() {
    const QString folder = qEnvironmentVariable("TOV_PROGRAM_DIR");
    if (folder.isEmpty()) {
        QSKIP("TOV_PROGRAM_DIR not set");
    }
    QTemporaryDir dir;
    const QString copy = dir.filePath("TOV2SF.MDB");
    QVERIFY(QFile::copy(folder + "/TOV2SF.MDB", copy));
    const auto db = openWorkspace(dir).OpenDatabase(copy);
    const QStringList tables = db->TableDefs();
    QVERIFY(tables.indexOf("English") >= 0);
    QVERIFY(tables.indexOf("English") < tables.indexOf("Spanish"));
    QVERIFY(tables.contains("ScanItem"));
    const QStringList wanted = {"ID",      "TestQuestion", "QuestionAudio", "ANSWER1",
                                "ANSWER5", "ChoiceAudio1", "ChoiceAudio5"};
    QSqlDatabase check = QSqlDatabase::addDatabase("QSQLITE", "check");
    check.setDatabaseName(folder + "/TOV2SF.MDB");
    check.setConnectOptions("QSQLITE_OPEN_READONLY");
    QVERIFY(check.open());
    for (const QString& table : {QStringLiteral("English"), QStringLiteral("Spanish")}) {
        const QSqlRecord r = check.record(table);
        for (const QString& field : wanted) {
            QVERIFY2(r.indexOf(field) >= 0, qPrintable(table + "." + field));
        }
    }
    const QSqlRecord scan = check.record("ScanItem");
    for (const char* field : {"r", "theta", "DimX", "dx", "DimY", "dy", "X", "y", "LocationName"}) {
        QVERIFY2(scan.indexOf(field) >= 0, field);
    }
    check.close();
}

QTEST_GUILESS_MAIN(TestQuestionBank)
#include "test_questionbank.moc"
