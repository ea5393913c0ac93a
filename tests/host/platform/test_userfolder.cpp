// An installed program folder is shared and read-only: each user works in a folder of their own,
// owner-only, holding their settings and links to everything installed.
#include "platform/AppError.h"
#include "platform/UserProgramFolder.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace tov;
using platform::InstalledMarker;

namespace {

const QStringList kCopied = {QStringLiteral("tov2sf.ini")};

void write(const QString& path, const QByteArray& bytes, int mode = 0644) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    QVERIFY(::chmod(QFile::encodeName(path).constData(), mode) == 0);
}

QByteArray read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(none)");
}

int modeOf(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

// What a user's folder holds: each name with "file", "dir" or "-> target name".
QStringList contents(const QString& folder) {
    QStringList out;
    for (const QFileInfo& e : QDir(folder).entryInfoList(
             QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name)) {
        out << e.fileName() + (e.isSymLink() ? " -> " + QFileInfo(e.symLinkTarget()).fileName()
                               : e.isDir()   ? QStringLiteral(" dir")
                                             : QStringLiteral(" file"));
    }
    return out;
}

struct Install {
    QTemporaryDir root;
    QString program = root.filePath("lib/tov2sf");
    QString data = root.filePath("home/.local/share");
    QString user = data + "/tov2sf";

    Install() {
        QDir().mkpath(program + "/Sound");
        write(program + "/tov2sf.ini", "[Path]\nFilePath=\n");
        write(program + "/TOV2SF.MDB", "bank");
        write(program + "/TOVCVA.TXT", "table");
        write(program + "/tov2sf", "program", 0755);
        write(program + "/" + InstalledMarker, "shared");
    }
    QString start() { return platform::ProgramFolderFor(program, data, kCopied); }
};

} // namespace

class TestUserFolder : public QObject {
    Q_OBJECT

private slots:
    void writableFolderUsedAsItIs();
    void installedFolderGivesUserFolder_data();
    void installedFolderGivesUserFolder();
    void unsafeUserFolderRefused_data();
    void unsafeUserFolderRefused();
};

void TestUserFolder::writableFolderUsedAsItIs() {
    Install in;
    QFile::remove(in.program + "/" + InstalledMarker);
    QCOMPARE(in.start(), in.program);
    QVERIFY(!QFileInfo::exists(in.data));
}

void TestUserFolder::installedFolderGivesUserFolder_data() {
    QTest::addColumn<QString>("between"); // what happens between the first and the second start
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QByteArray>("settings");
    const QStringList fresh = {"Sound -> Sound", "TOV2SF.MDB -> TOV2SF.MDB",
                               "TOVCVA.TXT -> TOVCVA.TXT", "tov2sf.ini file"};
    QTest::newRow("started again") << "" << fresh << QByteArray("[Path]\nFilePath=\n");
    QTest::newRow("the user's settings kept over an upgrade")
        << "settings changed, upgrade" << fresh << QByteArray("[Path]\nFilePath=/media/stick\n");
    QTest::newRow("a file an upgrade adds is linked, one it removes goes")
        << "file added and removed"
        << QStringList{"Sound -> Sound", "TOV2SF.MDB -> TOV2SF.MDB", "TOVNEW.TXT -> TOVNEW.TXT",
                       "tov2sf.ini file"}
        << QByteArray("[Path]\nFilePath=\n");
    QTest::newRow("a file of the user's under an installed name stays")
        << "own copy"
        << QStringList{"Sound -> Sound", "TOV2SF.MDB file", "TOVCVA.TXT -> TOVCVA.TXT",
                       "tov2sf.ini file"}
        << QByteArray("[Path]\nFilePath=\n");
    QTest::newRow("folder opened up by hand is made owner-only again")
        << "folder opened" << fresh << QByteArray("[Path]\nFilePath=\n");
}

void TestUserFolder::installedFolderGivesUserFolder() {
    QFETCH(QString, between);
    QFETCH(QStringList, expected);
    QFETCH(QByteArray, settings);
    Install in;
    QCOMPARE(in.start(), in.user);
    QCOMPARE(modeOf(in.user), 0700);
    QCOMPARE(modeOf(in.user + "/tov2sf.ini"), 0600);
    if (between.contains("settings changed")) {
        write(in.user + "/tov2sf.ini", settings, 0600);
    }
    if (between.contains("upgrade")) {
        write(in.program + "/tov2sf.ini", "[Path]\nFilePath=\nSndPath=/usr/share/tov2sf\n");
    }
    if (between == "file added and removed") {
        write(in.program + "/TOVNEW.TXT", "new");
        QFile::remove(in.program + "/TOVCVA.TXT");
    }
    if (between == "own copy") {
        QFile::remove(in.user + "/TOV2SF.MDB");
        write(in.user + "/TOV2SF.MDB", "mine", 0600);
    }
    if (between == "folder opened") {
        QVERIFY(::chmod(QFile::encodeName(in.user).constData(), 0755) == 0);
    }
    QCOMPARE(in.start(), in.user);
    QCOMPARE(contents(in.user), expected);
    QCOMPARE(modeOf(in.user), 0700);
    QCOMPARE(read(in.user + "/tov2sf.ini"), settings);
    // Links reach the installed files themselves.
    QCOMPARE(read(in.user + "/TOV2SF.MDB"), QByteArray(between == "own copy" ? "mine" : "bank"));
}

void TestUserFolder::unsafeUserFolderRefused_data() {
    QTest::addColumn<QString>("planted");
    QTest::newRow("a link in the folder's place") << "link";
    QTest::newRow("a file in the folder's place") << "file";
}

void TestUserFolder::unsafeUserFolderRefused() {
    QFETCH(QString, planted);
    Install in;
    QDir().mkpath(in.data);
    QDir().mkpath(in.root.filePath("elsewhere"));
    if (planted == "link") {
        QVERIFY(::symlink(QFile::encodeName(in.root.filePath("elsewhere")).constData(),
                          QFile::encodeName(in.user).constData()) == 0);
    } else {
        write(in.user, "not a folder");
    }
    QVERIFY_THROWS_EXCEPTION(AppError, in.start());
    QVERIFY(QDir(in.root.filePath("elsewhere")).isEmpty());
}

QTEST_GUILESS_MAIN(TestUserFolder)
#include "test_userfolder.moc"
