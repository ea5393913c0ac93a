#include "content/ContentCheck.h"
#include "content/ContentCommand.h"
#include "content/ContentSet.h"
#include "content/ContentStore.h"
#include "platform/AppError.h"
#include "platform/UserProgramFolder.h"
#include "reports/ReportCommand.h"
#include "support/Files.h"
#include "support/TestClient.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using namespace tov;
using fakes::readAll;
using fakes::writeAll;

namespace {

const QString kBuilt = qEnvironmentVariable("TOV_PROGRAM_DIR");

// A sound set: the build's demonstration content, copied.
QString copySet(const QString& to) {
    content::CopyContentFiles(kBuilt, to);
    return to;
}

void sql(const QString& bank, const QString& statement) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "edit");
        db.setDatabaseName(bank);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY2(q.exec(statement), qPrintable(statement));
    }
    QSqlDatabase::removeDatabase("edit");
}

// An installed program folder of a test's own: the package's marker, settings naming where
// agency sets go, and the shipped set with its manifest.
struct Machine {
    QTemporaryDir root;
    QString installed = root.filePath("usr-lib-tov2sf");
    QString agencyRoot = root.filePath("var-lib-tov2sf");
    QString user = root.filePath("home-tov2sf");

    Machine() {
        copySet(installed + "/content");
        content::ContentCommand manifest;
        manifest.run({"tov2sf-content", "manifest", installed + "/content", "--name",
                      "Demonstration content", "--version", "1.0", "--demonstration"});
        writeAll(installed + "/" + platform::InstalledMarker, "installed\n");
        writeAll(installed + "/tov2sf.ini", "[Path]\nContentFolder=" + agencyRoot.toUtf8() + "\n");
        QDir().mkpath(user);
    }
    content::ContentPlaces places() const { return content::PlacesFor(installed, user); }
    // tov2sf-content as root on this machine.
    int command(const QStringList& words, QByteArray* out = nullptr) const {
        content::ContentCommand c;
        c.ownFolder = installed;
        c.isRoot = [] { return true; };
        const int status = c.run(QStringList{"tov2sf-content"} + words);
        if (out != nullptr) {
            *out = c.out + c.err;
        }
        return status;
    }
};

// The first failed check of a candidate, as "FILE: reason"; empty when all passed.
QString firstFailure(const QList<content::CheckLine>& lines) {
    for (const content::CheckLine& line : lines) {
        if (!line.passed()) {
            return line.file + ": " + line.failure;
        }
    }
    return {};
}

} // namespace

class TestContent : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void checkNamesTheFile_data();
    void checkNamesTheFile();
    void setInForce_data();
    void setInForce();
    void installStatusRemove();
    void reportsWithTheInstalledSet();
};

void TestContent::initTestCase() {
    if (!QFile::exists(kBuilt + "/Sound/English/Inst0.wav")) {
        QSKIP("the build made no spoken prompts (espeak-ng missing)");
    }
}

// A sound set passes; a set missing or damaging one kind of file fails, naming the file.
void TestContent::checkNamesTheFile_data() {
    QTest::addColumn<std::function<void(const QString&)>>("damage");
    QTest::addColumn<QString>("failure"); // the start of the first failure; empty: all pass
    QTest::newRow("sound set") << std::function<void(const QString&)>([](const QString&) {})
                               << QString();
    QTest::newRow("table cut short") << std::function<void(const QString&)>([](const QString& d) {
        writeAll(d + "/TOV2SFB.TXT", readAll(d + "/TOV2SFB.TXT").left(400));
    }) << "TOV2SFB.TXT: TOV2SFB.TXT";
    QTest::newRow("text without a section")
        << std::function<void(const QString&)>(
               [](const QString& d) { writeAll(d + "/TOVCAL.TXT", "END\r\n"); })
        << "TOVCAL.TXT: TOVCAL.TXT: the section";
    QTest::newRow("bank with 72 items")
        << std::function<void(const QString&)>([](const QString& d) {
               sql(d + "/TOV2SF.MDB", "DELETE FROM Spanish WHERE ID = 73");
           })
        << "TOV2SF.MDB: 72 items, not 73";
    QTest::newRow("missing prompt") << std::function<void(const QString&)>([](const QString& d) {
        QFile::remove(d + "/Sound/Spanish/Inst1.wav");
    }) << "Sound/Spanish: no wave file for Inst1.wav";
    QTest::newRow("sheet table disagrees with the sheet")
        << std::function<void(const QString&)>([](const QString& d) {
               sql(d + "/TOV2SF.MDB", "UPDATE ScanItem SET r = r + 3 WHERE rowid = 10");
           })
        << "TOV2SF.MDB: row 10";
    QTest::newRow("missing file") << std::function<void(const QString&)>([](const QString& d) {
        QFile::remove(d + "/INVAL.TXT");
    }) << "INVAL.TXT: missing";
}

void TestContent::checkNamesTheFile() {
    QFETCH(std::function<void(const QString&)>, damage);
    QFETCH(QString, failure);
    QTemporaryDir dir;
    damage(copySet(dir.filePath("set")));
    const QString found = firstFailure(content::CheckContent(dir.filePath("set")));
    QVERIFY2(failure.isEmpty() ? found.isEmpty() : found.startsWith(failure), qPrintable(found));
}

// The one rule for the set in force, and the refusal of an installed set whose files changed.
void TestContent::setInForce_data() {
    QTest::addColumn<bool>("installed");
    QTest::addColumn<bool>("agency");
    QTest::addColumn<QString>("changed");  // a file of the set in force altered
    QTest::addColumn<QString>("expected"); // kind, or the start of the refusal
    QTest::newRow("program folder") << false << true << "TOVCAL.TXT"
                                    << "program folder";
    QTest::newRow("installed, shipped set") << true << false << ""
                                            << "shipped";
    QTest::newRow("installed, agency set") << true << true << ""
                                           << "agency";
    QTest::newRow("agency file changed") << true << true << "TOVCAL.TXT"
                                         << "The content set Agency 2 in ";
    QTest::newRow("shipped prompt missing") << true << false << "-Sound/English/Inst2.wav"
                                            << "The content set Demonstration content 1.0 in ";
}

void TestContent::setInForce() {
    QFETCH(bool, installed);
    QFETCH(bool, agency);
    QFETCH(QString, changed);
    QFETCH(QString, expected);
    Machine m;
    if (agency) {
        QTemporaryDir candidate;
        QCOMPARE(m.command({"install", copySet(candidate.filePath("set")), "--name", "Agency",
                            "--version", "2"}),
                 0);
    }
    content::ContentPlaces places =
        installed ? m.places() : content::ContentPlaces{m.installed + "/content", {}, {}};
    const QString folder = !installed ? places.programFolder
                           : agency   ? places.agencyFolder()
                                      : places.shippedFolder();
    if (changed.startsWith('-')) {
        QVERIFY(QFile::remove(folder + "/" + changed.mid(1)));
    } else if (!changed.isEmpty()) {
        writeAll(folder + "/" + changed, readAll(folder + "/" + changed) + "x");
    }
    try {
        const content::ContentSet set = content::FindContentSet(places);
        const QString kind = set.kind == content::ContentKind::Agency    ? "agency"
                             : set.kind == content::ContentKind::Shipped ? "shipped"
                                                                         : "program folder";
        QCOMPARE(kind, expected);
        QCOMPARE(set.folder, folder);
        QCOMPARE(set.demonstration(), kind != "agency");
    } catch (const AppError& e) {
        QVERIFY2(e.description().startsWith(expected), qPrintable(e.description()));
        const QString named =
            changed.startsWith('-') ? changed.mid(1) + " is missing" : changed + " has changed";
        QVERIFY2(e.description().contains(named), qPrintable(e.description()));
        QVERIFY(e.description().contains("Reinstall"));
    }
}

// tov2sf-content on a machine of the test's own: install (the previous set kept), status, a
// changed file named, a damaged set refused without touching the one in force, remove, and
// root needed for the machine's own folder.
void TestContent::installStatusRemove() {
    Machine m;
    QTemporaryDir candidate;
    const QString set = copySet(candidate.filePath("set"));
    QByteArray out;
    QCOMPARE(m.command({"status"}, &out), 0);
    QVERIFY2(out.contains("name: Demonstration content\n") &&
                 out.contains("demonstration: yes - scores are not valid\n"),
             out.constData());
    QCOMPARE(m.command({"install", set, "--name", "County Set", "--version", "1"}, &out), 0);
    QCOMPARE(m.command({"install", set, "--name", "County Set", "--version", "2"}, &out), 0);
    QCOMPARE(content::Manifest::read(m.places().backupFolder()).version, QStringLiteral("1"));
    QCOMPARE(m.command({"status"}, &out), 0);
    QVERIFY2(out.contains("name: County Set\nversion: 2\n") &&
                 out.contains("demonstration: no\n") &&
                 out.contains("every one as the manifest says"),
             out.constData());

    writeAll(m.places().agencyFolder() + "/INVAL.TXT", "changed\r\n");
    QCOMPARE(m.command({"status"}, &out), 1);
    QVERIFY2(out.contains("changed: INVAL.TXT has changed\n"), out.constData());

    QFile::remove(set + "/TOVCDG.TXT");
    QCOMPARE(m.command({"install", set, "--name", "Broken", "--version", "3"}, &out), 1);
    QVERIFY2(out.contains("FAILED: TOVCDG.TXT: the file: missing"), out.constData());
    QCOMPARE(content::Manifest::read(m.places().agencyFolder()).name, QStringLiteral("County Set"));
    QCOMPARE(QDir(m.agencyRoot).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList({"agency", "agency.previous"}));

    QCOMPARE(m.command({"remove"}, &out), 0);
    QVERIFY(!QFile::exists(m.places().agencyFolder()));
    QCOMPARE(content::FindContentSet(m.places()).kind, content::ContentKind::Shipped);
    QCOMPARE(m.command({"remove"}, &out), 1);

    content::ContentCommand user;
    user.ownFolder = m.installed;
    user.isRoot = [] { return false; };
    QCOMPARE(user.run({"tov2sf-content", "install", set, "--name", "X", "--version", "1"}), 1);
    QVERIFY2(user.err.contains("needs root"), user.err.constData());
    QCOMPARE(user.run({"tov2sf-content", "install", set}), 2);
}

// tov2sf-report of an installed program scores with the agency's set exactly as a program folder
// holding the same files does, names the set in its JSON, warns of demonstration content, and
// refuses a set whose files changed.
void TestContent::reportsWithTheInstalledSet() {
    Machine m;
    QTemporaryDir candidate;
    const QString set = copySet(candidate.filePath("set"));
    const QString data = candidate.filePath("DATA401.TOV");
    writeAll(data, testclient::client("1-20=1 30-40=1 68=2", "PriorDUI=1 BAC=.16").bytes());
    const auto report = [&](const QStringList& extra, QByteArray* err = nullptr) {
        reports::ReportCommand c;
        c.defaultProgramFolder = [&] { return m.user; };
        c.contentPlaces = [&](const QString& folder) {
            return content::PlacesFor(m.installed, folder);
        };
        const int status = c.run(QStringList{"tov2sf-report", "--data-file", data, "--client", "1",
                                             "--summary-page", "--output", "-"} +
                                 extra);
        if (err != nullptr) {
            *err = c.err;
        }
        return status == 0 ? c.out : QByteArray("status ") + QByteArray::number(status);
    };
    QByteArray err;
    const QByteArray shipped = report({}, &err);
    QVERIFY2(err.contains("warning: the content set Demonstration content 1.0 is demonstration "
                          "content - scores are not valid"),
             err.constData());
    QCOMPARE(m.command({"install", set, "--name", "County Set", "--version", "4"}), 0);
    QCOMPARE(report({}, &err), report({"--program-folder", set}));
    QVERIFY2(err.isEmpty(), err.constData());
    const QJsonObject json =
        QJsonDocument::fromJson(report({"--json"})).object().value("content").toObject();
    QCOMPARE(json.value("name").toString(), QStringLiteral("County Set"));
    QCOMPARE(json.value("version").toString(), QStringLiteral("4"));
    QCOMPARE(json.value("demonstration").toBool(true), false);

    writeAll(m.places().agencyFolder() + "/TOVILDR.TXT", "END\r\n");
    QCOMPARE(report({}, &err), QByteArray("status 1"));
    QVERIFY2(err.contains("TOVILDR.TXT has changed") && err.contains("Reinstall"), err.constData());
}

QTEST_MAIN(TestContent)
#include "test_content.moc"
