// Every file the program reads from outside, damaged in each of the usual ways: the loader gives
// the operator a message naming what is wrong (or, where the rules of the file say how such a
// file reads, reads it that way), nothing crashes, and no file is changed by the attempt.
#include "app/Publisher.h"
#include "app/QuestionBank.h"
#include "app/Settings.h"
#include "entry/AnswerFormats.h"
#include "platform/AppError.h"
#include "platform/PosixFileSystem.h"
#include "platform/RegularFile.h"
#include "records/ClientTable.h"
#include "records/Quoted.h"
#include "reports/ReportCommand.h"
#include "reports/ReportPrinting.h"
#include "reports/ScoreClient.h"
#include "scoring/Blueprint.h"
#include "support/Files.h"
#include "support/TestClient.h"
#include "testing/ItemBank.h"
#include "testing/LanguageTables.h"
#include "testing/TestItem.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace tov;

namespace {

using fakes::readAll;

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

// Every file of a folder with its bytes: what "nothing changed" is compared on.
QMap<QString, QByteArray> snapshot(const QString& folder) {
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
        files.insert(name, readAll(folder + QLatin1Char('/') + name));
    }
    return files;
}

QByteArray utf16(const QByteArray& text) {
    QStringEncoder enc(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    return enc(QString::fromLatin1(text));
}

// The first whole number of a text replaced by a word.
QByteArray firstNumberSpoilt(QByteArray text) {
    const qsizetype at = text.indexOf(QByteArrayLiteral("30,"));
    return text.replace(at, 2, "3O");
}

const QString kTables = QStringLiteral(TOV_SCORING_DATA);
const QString kTexts = QStringLiteral(TOV_REPORT_TEXTS);
const QString kItems = QStringLiteral(TOV_ITEMS_DIR);

void copyProgramFolder(const QString& dir) {
    for (const QString& name : {QStringLiteral("TOV2SFB.TXT"), QStringLiteral("TSF2RPT.TXT")}) {
        QVERIFY(QFile::copy(kTables + QLatin1Char('/') + name, dir + QLatin1Char('/') + name));
    }
    for (const QString& name : QDir(kTexts).entryList(QDir::Files)) {
        QVERIFY(QFile::copy(kTexts + QLatin1Char('/') + name, dir + QLatin1Char('/') + name));
    }
}

// A client file of n records, each a real-shaped client.
QByteArray clientFile(int records) {
    QByteArray bytes;
    for (int n = 1; n <= records; ++n) {
        records::ClientRecord r = testclient::baseline();
        r.set(records::Field::Name, QStringLiteral("Client %1").arg(n));
        bytes += r.bytes();
    }
    return bytes;
}

// A question bank with an English table of the given rows (ID, question, answer 2).
void makeBank(const QString& path, int rows, const QVariant& firstId = 1) {
    const QString connection = QStringLiteral("bad-input-bank");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral(
            "CREATE TABLE English (ID INTEGER, TestQuestion TEXT, QuestionAudio TEXT, ANSWER1 "
            "TEXT, ANSWER2 TEXT, ANSWER3 TEXT, ANSWER4 TEXT, ANSWER5 TEXT, ChoiceAudio1 TEXT, "
            "ChoiceAudio2 TEXT, ChoiceAudio3 TEXT, ChoiceAudio4 TEXT, ChoiceAudio5 TEXT)")));
        for (int n = 1; n <= rows; ++n) {
            q.prepare(QStringLiteral("INSERT INTO English (ID, TestQuestion, QuestionAudio, "
                                     "ANSWER1, ANSWER2, ChoiceAudio1, ChoiceAudio2) VALUES "
                                     "(?, ?, ?, 'True', 'False', 'True', 'False')"));
            q.addBindValue(n == 1 ? firstId : QVariant(n));
            q.addBindValue(QStringLiteral("Statement %1").arg(n));
            q.addBindValue(QStringLiteral("Q%1").arg(n, 2, 10, QLatin1Char('0')));
            QVERIFY(q.exec());
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
}

// What the presentation tells the operator before the client starts, or nothing when the
// table can be given.
QString bankMessage(const QString& path) {
    try {
        const auto bank = app::Workspace().OpenDatabase(path);
        app::RecordSet rows = bank->OpenRecordset(QStringLiteral("Select * from [English]"));
        if (rows.RecordCount() < testing::kItems) {
            return testing::shortTableText(QStringLiteral("English"), rows.RecordCount());
        }
        for (rows.MoveFirst(); !rows.atEOF(); rows.MoveNext()) {
            (void)testing::TestItem::fromRow(rows).numberedQuestion();
        }
        return {};
    } catch (const AppError& e) {
        return testing::unreadableTableText(QStringLiteral("English"), e.number(), e.description());
    }
}

} // namespace

class TestBadInput : public QObject {
    Q_OBJECT

private slots:
    void damagedFile_data();
    void damagedFile();
    void settingsWriteKeepsOtherLines_data();
    void settingsWriteKeepsOtherLines();
    void hostileFile_data();
    void hostileFile();
    void quotedPiece_data();
    void quotedPiece();
    void gridItemOfDamagedId_data();
    void gridItemOfDamagedId();
};

// loader: which reader takes the file; file: the file damaged (its content replaced, or removed
// when `missing`); message: a fragment of what the operator is told, empty where the file's own
// rules read it without complaint; value: what was read then (client count, data folder).
void TestBadInput::damagedFile_data() {
    QTest::addColumn<QString>("loader");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("missing");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("value");

    const QByteArray tables = readAll(kTables + QStringLiteral("/TOV2SFB.TXT"));
    const QByteArray texts = readAll(kTables + QStringLiteral("/TSF2RPT.TXT"));
    const QByteArray interp = readAll(kTexts + QStringLiteral("/TOVILAL.TXT"));
    const QByteArray inval = readAll(kTexts + QStringLiteral("/INVAL.TXT"));
    const QString client = QStringLiteral("DATA401.TOV");

    // The client file: its length alone gives the record count, rounded; only more records than
    // the table holds is refused.
    QTest::newRow("clients: missing") << "clients" << client << QByteArray() << true << ""
                                      << "0";
    QTest::newRow("clients: empty") << "clients" << client << QByteArray() << false << ""
                                    << "0";
    QTest::newRow("clients: truncated to 1.5 records")
        << "clients" << client << clientFile(2).left(285) << false << ""
        << "2";
    QTest::newRow("clients: a few bytes")
        << "clients" << client << QByteArray("Smith") << false << ""
        << "0";
    QTest::newRow("clients: too long")
        << "clients" << client << clientFile(52) << false
        << "holds 52 client records, more than the 51 this program can keep. The file has not "
           "been changed."
        << "";
    QTest::newRow("clients: binary junk")
        << "clients" << client << QByteArray(380, '\xff') << false << ""
        << "2";
    QTest::newRow("clients: UTF-16") << "clients" << client << utf16(clientFile(1)) << false << ""
                                     << "2";

    // The scoring tables and their texts: the first value that cannot be read is named.
    QTest::newRow("tables: missing")
        << "scoring"
        << "TOV2SFB.TXT" << QByteArray() << true << "TOV2SFB.TXT was not found."
        << "";
    QTest::newRow("tables: empty") << "scoring"
                                   << "TOV2SFB.TXT" << QByteArray() << false
                                   << "TOV2SFB.TXT: the file ends before listed significant "
                                      "item 1. The file is incomplete."
                                   << "";
    QTest::newRow("tables: truncated")
        << "scoring"
        << "TOV2SFB.TXT" << tables.left(tables.size() / 2) << false << "The file is incomplete."
        << "";
    QTest::newRow("tables: key too long")
        << "scoring"
        << "TOV2SFB.TXT" << QByteArray(tables).replace("\"000000\"", "\"0000000\"") << false
        << "it must be 6 digits, one per item."
        << "";
    QTest::newRow("tables: norm count too high")
        << "scoring"
        << "TOV2SFB.TXT" << QByteArray(tables).replace("\n30,3,", "\n61,3,") << false
        << "it must be 0 to 60."
        << "";
    QTest::newRow("tables: not a number") << "scoring"
                                          << "TOV2SFB.TXT" << firstNumberSpoilt(tables) << false
                                          << "is \"3O\", which is not a whole number."
                                          << "";
    QTest::newRow("tables: UTF-16")
        << "scoring"
        << "TOV2SFB.TXT" << utf16(tables) << false << "which is not a whole number."
        << "";
    QTest::newRow("texts: missing")
        << "scoring"
        << "TSF2RPT.TXT" << QByteArray() << true << "TSF2RPT.TXT was not found."
        << "";
    QTest::newRow("texts: truncated")
        << "scoring"
        << "TSF2RPT.TXT" << texts.left(200) << false << "TSF2RPT.TXT: the file ends before"
        << "";
    QTest::newRow("texts: empty") << "scoring"
                                  << "TSF2RPT.TXT" << QByteArray() << false
                                  << "TSF2RPT.TXT: the file ends before old label 1 of 21."
                                  << "";

    // The interpretation texts and INVAL.TXT: a section is found by its label and ends at END.
    QTest::newRow("interpretation: missing")
        << "scoring"
        << "TOVILAL.TXT" << QByteArray() << true << "TOVILAL.TXT was not found."
        << "";
    QTest::newRow("interpretation: empty")
        << "scoring"
        << "TOVILAL.TXT" << QByteArray() << false << "TOVILAL.TXT: the section \"LOW\" is missing."
        << "";
    QTest::newRow("interpretation: truncated")
        << "scoring"
        << "TOVILAL.TXT" << interp.left(interp.indexOf("END")) << false
        << "has no END line; the file is incomplete."
        << "";
    QTest::newRow("interpretation: UTF-16")
        << "scoring"
        << "TOVILAL.TXT" << utf16(interp) << false << "is missing."
        << "";
    QTest::newRow("INVAL.TXT: missing")
        << "invalid"
        << "INVAL.TXT" << QByteArray() << true << "INVAL.TXT was not found."
        << "";
    QTest::newRow("INVAL.TXT: truncated")
        << "invalid"
        << "INVAL.TXT" << inval.left(inval.indexOf("END")) << false
        << "INVAL.TXT: the text has no END line; the file is incomplete."
        << "";
    QTest::newRow("INVAL.TXT: empty")
        << "invalid"
        << "INVAL.TXT" << QByteArray() << false << "INVAL.TXT: the text has no END line"
        << "";

    // The question bank: a table the test cannot be given from is refused before the client
    // starts.
    QTest::newRow("bank: missing") << "bank"
                                   << "TOV2SF.MDB" << QByteArray() << true << "Could not find file"
                                   << "";
    QTest::newRow("bank: empty") << "bank"
                                 << "TOV2SF.MDB" << QByteArray() << false
                                 << "The English test in the question bank could not be read."
                                 << "";
    QTest::newRow("bank: not a database")
        << "bank"
        << "TOV2SF.MDB" << QByteArray("ID,TestQuestion\n1,Statement\n") << false
        << "The English test in the question bank could not be read."
        << "";
    QTest::newRow("bank: truncated") << "bank"
                                     << "TOV2SF.MDB" << QByteArray("half") << false
                                     << "The English test in the question bank could not be "
                                        "read."
                                     << "";
    QTest::newRow("bank: wrong count")
        << "bank"
        << "TOV2SF.MDB" << QByteArray("72") << false
        << "The English test in the question bank has 72 of its 73 items"
        << "";
    QTest::newRow("bank: too many rows") << "bank"
                                         << "TOV2SF.MDB" << QByteArray("80") << false << ""
                                         << "";
    QTest::newRow("bank: ID not a number") << "bank"
                                           << "TOV2SF.MDB" << QByteArray("73 x") << false << ""
                                           << "";

    // The settings file: a value it does not hold reads as its default.
    QTest::newRow("settings: missing") << "settings"
                                       << "tov2sf.ini" << QByteArray() << true << ""
                                       << "a:";
    QTest::newRow("settings: empty") << "settings"
                                     << "tov2sf.ini" << QByteArray() << false << ""
                                     << "a:";
    QTest::newRow("settings: truncated")
        << "settings"
        << "tov2sf.ini" << QByteArray("[Path]\r\nFilePa") << false << ""
        << "a:";
    QTest::newRow("settings: value too long") << "settings"
                                              << "tov2sf.ini"
                                              << "[Path]\nFilePath=" + QByteArray(80, 'd') << false
                                              << "" << QString(80, QLatin1Char('d'));
    QTest::newRow("settings: Windows code page")
        << "settings"
        << "tov2sf.ini" << QByteArray("[Path]\r\nFilePath=/media/D\xc4TEN\r\n") << false << ""
        << QStringLiteral("/media/DÄTEN");
    QTest::newRow("settings: byte order mark")
        << "settings"
        << "tov2sf.ini" << QByteArray("\xef\xbb\xbf[Path]\nFilePath=/media/usb\n") << false << ""
        << "/media/usb";
    QTest::newRow("settings: UTF-16")
        << "settings"
        << "tov2sf.ini" << utf16("[Path]\r\nFilePath=/media/usb\r\n") << false << ""
        << "/media/usb";
    QTest::newRow("settings: UTF-16 big-endian")
        << "settings"
        << "tov2sf.ini"
        << QByteArray("\xfe\xff\0[\0P\0a\0t\0h\0]\0\n\0F\0i\0l\0e\0P\0a\0t\0h\0=\0/\0m\0n\0t\0\n",
                      2 + 14 + 26)
        << false << ""
        << "/mnt";
    QTest::newRow("tables: binary junk quoted shortly")
        << "scoring"
        << "TOV2SFB.TXT" << QByteArray("\x01\x02\x1b[31m") + QByteArray(200, 'x') << false
        << "is \"???[31mxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx...\", which is not a whole number"
        << "";
}

void TestBadInput::damagedFile() {
    QFETCH(QString, loader);
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QFETCH(bool, missing);
    QFETCH(QString, message);
    QFETCH(QString, value);

    QTemporaryDir dir;
    const QString path = dir.filePath(file);
    if (loader == QLatin1String("scoring") || loader == QLatin1String("invalid")) {
        copyProgramFolder(dir.path());
    }
    if (loader == QLatin1String("bank") && !missing) {
        // A count or a damaged ID builds a real bank; other contents are the file itself.
        bool counted = false;
        const int rows = content.split(' ').first().toInt(&counted);
        if (counted) {
            makeBank(path, rows, content.contains(' ') ? QVariant(QStringLiteral("x")) : 1);
        } else if (content == "half") {
            makeBank(path, testing::kItems);
            const QByteArray whole = readAll(path);
            writeAll(path, whole.left(whole.size() / 2));
        } else {
            writeAll(path, content);
        }
    } else if (missing) {
        QFile::remove(path);
    } else {
        writeAll(path, content);
    }
    const QMap<QString, QByteArray> before = snapshot(dir.path());

    QString told;
    QString read;
    if (loader == QLatin1String("clients")) {
        platform::PosixFileSystem fs;
        records::ClientTable table(fs);
        try {
            table.LoadClientFile(dir.path());
            read = QString::number(table.ClientCount());
        } catch (const AppError& e) {
            told = e.description();
        }
    } else if (loader == QLatin1String("scoring") || loader == QLatin1String("invalid")) {
        // A Truthfulness score high enough for the invalid report needs INVAL.TXT.
        const QString answers =
            loader == QLatin1String("invalid") ? QStringLiteral("1-10=1") : QString();
        try {
            (void)reports::RunScoring(
                dir.path(), app::PublisherTexts::of(app::Settings(dir.path()).publisher()),
                testclient::client(answers, QString()), 1, {true, true});
        } catch (const AppError& e) {
            told = e.description();
        }
    } else if (loader == QLatin1String("bank")) {
        told = bankMessage(path);
    } else {
        read = app::Settings(dir.path()).FilePath();
    }

    QVERIFY2(message.isEmpty() ? told.isEmpty() : told.contains(message), qPrintable(told));
    if (!value.isEmpty()) {
        QCOMPARE(read, value);
    }
    QMap<QString, QByteArray> after = snapshot(dir.path());
    // Loading creates an absent client file empty; nothing else may appear or change.
    if (loader == QLatin1String("clients") && missing) {
        QCOMPARE(after.take(file), QByteArray());
    }
    QCOMPARE(after.keys(), before.keys());
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        QVERIFY2(after.value(it.key()) == it.value(), qPrintable(it.key() + " changed"));
    }
}

// Writing one setting rewrites its own line only: the others stay byte for byte, whatever their
// encoding and line ends.
void TestBadInput::settingsWriteKeepsOtherLines_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("Windows code page elsewhere")
        << QByteArray("[Path]\r\nFilePath=a:\r\nSndPath=C:\\Kl\xe4nge\r\n[Settings]\r\n"
                      "NumLock=True\r\n")
        << QByteArray("[Path]\r\nFilePath=a:\r\nSndPath=C:\\Kl\xe4nge\r\n[Settings]\r\n"
                      "NumLock=False\r\n");
    QTest::newRow("mixed line ends")
        << QByteArray("[Settings]\r\nNumLock=True\nPublisher=Tessaran\r\n; note\n")
        << QByteArray("[Settings]\r\nNumLock=False\nPublisher=Tessaran\r\n; note\n");
    QTest::newRow("no final line end") << QByteArray("[Path]\nFilePath=a:")
                                       << QByteArray("[Path]\nFilePath=a:\n[Settings]\n"
                                                     "NumLock=False\n");
    QTest::newRow("last line ends in a lone CR")
        << QByteArray("[Path]\nFilePath=a:\r")
        << QByteArray("[Path]\nFilePath=a:\r\n[Settings]\nNumLock=False\n");
    QTest::newRow("byte order mark") << QByteArray("\xef\xbb\xbf[Settings]\nNumLock=True\n")
                                     << QByteArray("\xef\xbb\xbf[Settings]\nNumLock=False\n");
    // Notepad's "Unicode": written back as it came, byte order mark and all.
    QTest::newRow("UTF-16 little-endian")
        << utf16("[S]\r\nNumLock=True\r\n")
        << utf16("[S]\r\nNumLock=True\r\n[Settings]\r\nNumLock=False\r\n");
    QTest::newRow("UTF-16 big-endian")
        << QByteArray("\xfe\xff\0[\0S\0]\0\n\0N\0L\0=\0T\0\n", 20)
        << QByteArray("\xfe\xff\0[\0S\0]\0\n\0N\0L\0=\0T\0\n\0[\0S\0e\0t\0t\0i\0n\0g\0s\0]\0\n"
                      "\0N\0u\0m\0L\0o\0c\0k\0=\0F\0a\0l\0s\0e\0\n",
                      20 + 22 + 28);
    // A second mark after the first is a character of the first line, kept as it was.
    QTest::newRow("UTF-16, mark twice")
        << QByteArray(
               "\xfe\xff\xfe\xff\0[\0S\0e\0t\0t\0i\0n\0g\0s\0]\0\n\0N\0u\0m\0L\0o\0c\0k\0=\0T"
               "\0r\0u\0e\0\n",
               4 + 22 + 26)
        << QByteArray(
               "\xfe\xff\xfe\xff\0[\0S\0e\0t\0t\0i\0n\0g\0s\0]\0\n\0N\0u\0m\0L\0o\0c\0k\0=\0F"
               "\0a\0l\0s\0e\0\n",
               4 + 22 + 28);
}

void TestBadInput::settingsWriteKeepsOtherLines() {
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tov2sf.ini"));
    writeAll(path, content);
    const app::Settings settings(dir.path());
    settings.setNumLock(false);
    QCOMPARE(readAll(path), expected);
    QVERIFY(!settings.NumLock());
}

// Something other than a file, or a file larger than its format can be, under a loader's name:
// refused before reading, at once (a pipe would wait for ever, /dev/zero never ends, a sparse
// file of gigabytes would fill memory) and nothing is changed.
void TestBadInput::hostileFile_data() {
    QTest::addColumn<QString>("loader");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");
    QTest::addColumn<qint64>("bound"); // the loader's largest file
    const struct {
        const char* loader;
        const char* file;
        qint64 bound;
    } loaders[] = {{"clients", "DATA401.TOV", platform::MaxClientFileBytes},
                   {"report tool", "DATA401.TOV", platform::MaxClientFileBytes},
                   {"scoring", "TOV2SFB.TXT", platform::MaxTextFileBytes},
                   {"invalid", "INVAL.TXT", platform::MaxTextFileBytes},
                   {"blueprint", "blueprint.txt", platform::MaxTextFileBytes},
                   {"wording", "spanish.txt", platform::MaxTextFileBytes},
                   {"report read back", "report.prn", platform::MaxReportBytes},
                   {"bank", "TOV2SF.MDB", platform::MaxDatabaseBytes},
                   {"settings", "tov2sf.ini", platform::MaxSettingsBytes}};
    for (const auto& [loader, file, bound] : loaders) {
        const QString notAFile = QLatin1String(loader) == QLatin1String("clients")
                                     ? QStringLiteral("Bad file name or number")
                                     : QStringLiteral("Not a regular file");
        for (const char* kind : {"pipe", "link to /dev/zero", "folder"}) {
            QTest::addRow("%s: %s", loader, kind) << loader << file << kind << notAFile << bound;
        }
        QTest::addRow("%s: sparse, over its size", loader)
            << loader << file << "sparse" << QStringLiteral("File too large") << bound;
    }
    // Refused while it was read for the write: said as a read.
    QTest::newRow("settings: refusal says read")
        << "settings"
        << "tov2sf.ini"
        << "sparse" << QStringLiteral("Cannot read ") << platform::MaxSettingsBytes;
}

void TestBadInput::hostileFile() {
    QFETCH(QString, loader);
    QFETCH(QString, file);
    QFETCH(QString, kind);
    QFETCH(QString, message);
    QFETCH(qint64, bound);
    QTemporaryDir dir;
    copyProgramFolder(dir.path());
    const QString path = dir.filePath(file);
    QFile::remove(path);
    const QByteArray name = QFile::encodeName(path);
    if (kind == QLatin1String("pipe")) {
        QCOMPARE(::mkfifo(name.constData(), 0600), 0);
    } else if (kind == QLatin1String("link to /dev/zero")) {
        QCOMPARE(::symlink("/dev/zero", name.constData()), 0);
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkdir(path));
    } else {
        QFile sparse(path);
        QVERIFY(sparse.open(QIODevice::WriteOnly));
        QVERIFY(sparse.resize(bound + 1));
    }
    // Names only: a sparse file is not read by the test either.
    const auto entries = [&dir] {
        return QDir(dir.path())
            .entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    };
    const QStringList before = entries();

    QString told;
    try {
        if (loader == QLatin1String("clients")) {
            platform::PosixFileSystem fs;
            records::ClientTable(fs).LoadClientFile(dir.path());
        } else if (loader == QLatin1String("report tool")) {
            reports::ReportCommand command;
            QCOMPARE(command.run({"tov2sf-report", "--program-folder", dir.path(), "--data-file",
                                  path, "--client", "1", "--output", "-"}),
                     1);
            told = QString::fromLocal8Bit(command.err);
        } else if (loader == QLatin1String("scoring") || loader == QLatin1String("invalid")) {
            (void)reports::RunScoring(
                dir.path(), app::PublisherTexts::of(app::Settings(dir.path()).publisher()),
                testclient::client(loader == QLatin1String("invalid") ? QStringLiteral("1-10=1")
                                                                      : QString(),
                                   QString()),
                1, {true, true});
        } else if (loader == QLatin1String("blueprint")) {
            (void)scoring::Blueprint::load(path);
        } else if (loader == QLatin1String("wording")) {
            (void)testing::ItemWording::load(
                path, scoring::Blueprint::load(kItems + QStringLiteral("/blueprint.txt")));
        } else if (loader == QLatin1String("report read back")) {
            (void)reports::ReadReportFile(dir.path());
        } else if (loader == QLatin1String("bank")) {
            told = bankMessage(path);
        } else {
            // Read as if missing; a write is refused rather than replacing it.
            const app::Settings settings(dir.path());
            QCOMPARE(settings.FilePath(), QStringLiteral("a:"));
            settings.setNumLock(false);
        }
    } catch (const AppError& e) {
        told = e.description();
    }
    QVERIFY2(told.contains(message), qPrintable(told));
    QCOMPARE(entries(), before);
    QCOMPARE(QFileInfo(path).isSymLink(), kind == QLatin1String("link to /dev/zero"));
}

// A piece of a damaged file in a message: at most 40 characters, none that cannot be shown, cut
// with "..."; the same through the loaders that quote their files.
void TestBadInput::quotedPiece_data() {
    QTest::addColumn<QString>("loader");
    QTest::addColumn<QByteArray>("piece");
    QTest::addColumn<QString>("shown");
    const QByteArray forty(40, 'x');
    const auto q = [](const QByteArray& text) { return QString::fromUtf8(text); };
    QTest::newRow("short") << "quote" << QByteArray("3O") << "\"3O\"";
    QTest::newRow("40 characters, whole") << "quote" << forty << q('"' + forty + '"');
    QTest::newRow("41 characters, cut") << "quote" << forty + 'y' << q('"' + forty + "...\"");
    QTest::newRow("control codes")
        << "quote" << QByteArray("a\x01\tb\x1b[0m\x7f") << "\"a??b?[0m?\"";
    QTest::newRow("bytes that are no UTF-8") << "quote" << QByteArray("\xff\xfe\xc3") << "\"???\"";
    QTest::newRow("letters kept") << "quote" << QByteArray("D\xc3\xa4ten") << "\"D\u00e4ten\"";
    QTest::newRow("a pair cut in two at 40") << "quote" << QByteArray(39, 'x') + "\xf0\x9f\x98\x80"
                                             << q('"' + QByteArray(39, 'x') + "?...\"");
    QTest::newRow("blueprint item") << "blueprint" << QByteArray("\x01\x02") + QByteArray(100, 'z')
                                    << q("found \"??" + QByteArray(38, 'z') + "...\"");
    QTest::newRow("report tool --client") << "report tool" << QByteArray("\x1b]0;") + forty
                                          << q("not \"?]0;" + forty.left(36) + "...\"");
}

void TestBadInput::quotedPiece() {
    QFETCH(QString, loader);
    QFETCH(QByteArray, piece);
    QFETCH(QString, shown);
    QString told;
    if (loader == QLatin1String("quote")) {
        told = records::Quoted(QString::fromUtf8(piece));
    } else if (loader == QLatin1String("blueprint")) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("blueprint.txt"));
        writeAll(path, piece + " | 1 2 | T | AL | | | \n");
        try {
            (void)scoring::Blueprint::load(path);
        } catch (const AppError& e) {
            told = e.description();
        }
    } else {
        reports::ReportCommand command;
        QCOMPARE(command.run({"tov2sf-report", "--program-folder", kTexts, "--data-file", kTexts,
                              "--client", QString::fromUtf8(piece)}),
                 reports::ReportCommand::BadUse);
        told = QString::fromLocal8Bit(command.err);
    }
    QVERIFY2(told.contains(shown), qPrintable(told));
}

// The answer grid labels its rows with the bank's IDs and reads the item back from the label; an
// ID no item has must not reach the answers (a huge one once overflowed the conversion).
void TestBadInput::gridItemOfDamagedId_data() {
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("item");
    QTest::newRow("item") << "12." << 12;
    QTest::newRow("last item") << "73." << 73;
    QTest::newRow("past the last") << "74." << 0;
    QTest::newRow("huge") << "1e99." << 0;
    QTest::newRow("negative") << "-5." << 0;
    QTest::newRow("not a number") << "x." << 0;
    QTest::newRow("empty") << "." << 0;
}

void TestBadInput::gridItemOfDamagedId() {
    QFETCH(QString, label);
    QFETCH(int, item);
    QCOMPARE(entry::ItemOfLabel(label), item);
}

QTEST_GUILESS_MAIN(TestBadInput)
#include "test_bad_input.moc"
