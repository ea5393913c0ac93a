#include "app/Settings.h"
#include "platform/ProfileFile.h"
#include "support/Files.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using tov::app::Publisher;
using tov::app::Settings;
using tov::platform::ProfileFile;

namespace {

void writeText(const QString& path, const QByteArray& text) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
}

using tov::fakes::readAll;

} // namespace

class TestSettings : public QObject {
    Q_OBJECT

private slots:
    void readsValues_data();
    void readsValues();
    void numLock_data();
    void numLock();
    void bufferSizeTruncates();
    void pathSettingsWhole_data();
    void pathSettingsWhole();
    void writeReplacesKeyAndKeepsTheRest();
    void writeAddsKeyToExistingSection();
    void writeAddsMissingSectionAndFile();
    void writeKeepsCrLfFiles();
    void numLockWritesExactWords();
    void relativeFoldersFromProgramFolder_data();
    void relativeFoldersFromProgramFolder();
    void publisher_data();
    void publisher();
    void scanSettings_data();
    void scanSettings();
};

void TestSettings::readsValues_data() {
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("filePath");
    QTest::addColumn<QString>("sndPath");
    QTest::newRow("no file") << QByteArray() << "a:"
                             << "c:";
    QTest::newRow("no Path section") << QByteArray("[Settings]\nNumLock=True\n") << "a:"
                                     << "c:";
    QTest::newRow("values") << QByteArray("[Path]\nFilePath=f:\nSndPath=d:\\snd\n") << "f:"
                            << "d:\\snd";
    QTest::newRow("spaces trimmed")
        << QByteArray("[Path]\nFilePath =   f:   \nSndPath= e: \n") << "f:"
        << "e:";
    QTest::newRow("quotes dropped")
        << QByteArray("[Path]\nFilePath=\" /media/usb \"\n") << "/media/usb"
        << "c:";
    QTest::newRow("names ignore case") << QByteArray("[PATH]\nfilepath=g:\nSNDPATH=h:\n") << "g:"
                                       << "h:";
    QTest::newRow("key in another section") << QByteArray("[Other]\nFilePath=x:\n[Path]\n") << "a:"
                                            << "c:";
    QTest::newRow("comment lines") << QByteArray("[Path]\n;FilePath=x:\nFilePath=y:\n") << "y:"
                                   << "c:";
    QTest::newRow("empty value") << QByteArray("[Path]\nFilePath=\n") << ""
                                 << "c:";
    QTest::newRow("first of two") << QByteArray("[Path]\nFilePath=1:\nFilePath=2:\n") << "1:"
                                  << "c:";
}

void TestSettings::readsValues() {
    QFETCH(QByteArray, ini);
    QFETCH(QString, filePath);
    QFETCH(QString, sndPath);
    QTemporaryDir dir;
    if (!ini.isNull()) {
        writeText(dir.filePath("tov2sf.ini"), ini);
    }
    const Settings s(dir.path());
    QCOMPARE(s.FilePath(), filePath);
    QCOMPARE(s.GetINISndPath(), sndPath);
}

void TestSettings::numLock_data() {
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<bool>("on");
    QTest::newRow("missing key") << QByteArray("[Settings]\n") << true;
    QTest::newRow("missing file") << QByteArray() << true;
    QTest::newRow("True") << QByteArray("[Settings]\nNumLock=True\n") << true;
    QTest::newRow("lower case true") << QByteArray("[Settings]\nNumLock=true\n") << false;
    QTest::newRow("TRUE") << QByteArray("[Settings]\nNumLock=TRUE\n") << false;
    QTest::newRow("Truly") << QByteArray("[Settings]\nNumLock=Truly\n") << true;
    QTest::newRow("Tr") << QByteArray("[Settings]\nNumLock=Tr\n") << false;
    QTest::newRow("False") << QByteArray("[Settings]\nNumLock=False\n") << false;
    QTest::newRow("empty") << QByteArray("[Settings]\nNumLock=\n") << false;
}

void TestSettings::numLock() {
    QFETCH(QByteArray, ini);
    QFETCH(bool, on);
    QTemporaryDir dir;
    if (!ini.isNull()) {
        writeText(dir.filePath("tov2sf.ini"), ini);
    }
    QCOMPARE(Settings(dir.path()).NumLock(), on);
}

void TestSettings::bufferSizeTruncates() {
    QTemporaryDir dir;
    const QString long60 = QString(60, QLatin1Char('p'));
    writeText(dir.filePath("tov2sf.ini"), "[Path]\nFilePath=" + long60.toUtf8() + "\n");
    const ProfileFile file(dir.filePath("tov2sf.ini"));
    QCOMPARE(file.read("Path", "FilePath", "", 50), QString(49, QLatin1Char('p')));
    QCOMPARE(file.read("Path", "FilePath", "", 10), QString(9, QLatin1Char('p')));
    QCOMPARE(file.read("Path", "Missing", "0123456789AB", 10), QStringLiteral("012345678"));
    // A setting that is not a path keeps its buffer.
    writeText(dir.filePath("tov2sf.ini"), "[Settings]\nPublisher=" + QByteArray(19, 'q') + "  x\n");
    QCOMPARE(file.read("Settings", "Publisher", "", 20), QString(19, QLatin1Char('q')));
}

// Folder and file settings hold any path the system allows, read and written back whole.
void TestSettings::pathSettingsWhole_data() {
    QTest::addColumn<int>("length");
    for (const int length : {49, 50, 200, 4000}) {
        QTest::addRow("%d characters", length) << length;
    }
}

void TestSettings::pathSettingsWhole() {
    QFETCH(int, length);
    QTemporaryDir dir;
    // A share named with an equals sign and a letter beyond ASCII, as mount points may be.
    QString path = QStringLiteral("/mnt/agency share=Büro/");
    path += QString(length - path.size(), QLatin1Char('d'));
    writeText(dir.filePath("tov2sf.ini"), "[Options]\nSystemDB=" + path.toUtf8() +
                                              "\n[Path]\nSndPath=" + path.toUtf8() +
                                              "\n[Settings]\nScanFolder=" + path.toUtf8() +
                                              "\nScanDevice=pnm:" + path.toUtf8() + "\n");
    const Settings settings(dir.path());
    settings.setFilePath(path);
    QCOMPARE(Settings(dir.path()).FilePath(), path);
    QCOMPARE(settings.GetINISndPath(), path);
    QCOMPARE(settings.SystemDB(), path);
    QCOMPARE(settings.scanFolder(), path);
    QCOMPARE(settings.scanDevice(), "pnm:" + path);
    settings.setSystemDB(path + "/zevltd.mda");
    QCOMPARE(Settings(dir.path()).SystemDB(), path + "/zevltd.mda");
}

void TestSettings::writeReplacesKeyAndKeepsTheRest() {
    QTemporaryDir dir;
    const QString path = dir.filePath("tov2sf.ini");
    writeText(path, "; comment\n[Options]\nSystemDB=old\n\n[Path]\nFilePath=a:\nSndPath=..\n");
    Settings(dir.path()).setFilePath("/media/usb0");
    QCOMPARE(readAll(path),
             QByteArray("; comment\n[Options]\nSystemDB=old\n\n[Path]\nFilePath=/media/usb0\n"
                        "SndPath=..\n"));
}

void TestSettings::writeAddsKeyToExistingSection() {
    QTemporaryDir dir;
    const QString path = dir.filePath("tov2sf.ini");
    writeText(path, "[Settings]\nPublisher=Tessaran\n\n[Path]\nSndPath=..\n");
    Settings(dir.path()).setNumLock(false);
    QCOMPARE(readAll(path),
             QByteArray("[Settings]\nPublisher=Tessaran\nNumLock=False\n\n[Path]\nSndPath=..\n"));
}

void TestSettings::writeAddsMissingSectionAndFile() {
    QTemporaryDir dir;
    const Settings s(dir.path());
    s.setSystemDB(dir.filePath("zevltd.mda"));
    s.setFilePath("f:");
    QCOMPARE(readAll(dir.filePath("tov2sf.ini")),
             QByteArray("[Options]\nSystemDB=" + dir.filePath("zevltd.mda").toUtf8() +
                        "\n[Path]\nFilePath=f:\n"));
    QCOMPARE(s.SystemDB(), dir.filePath("zevltd.mda"));
    QCOMPARE(s.FilePath(), QStringLiteral("f:"));
}

void TestSettings::writeKeepsCrLfFiles() {
    QTemporaryDir dir;
    const QString path = dir.filePath("tov2sf.ini");
    writeText(path, "[Settings]\r\nNumLock=True\r\n");
    Settings(dir.path()).setNumLock(false);
    QCOMPARE(readAll(path), QByteArray("[Settings]\r\nNumLock=False\r\n"));
}

void TestSettings::numLockWritesExactWords() {
    QTemporaryDir dir;
    const Settings s(dir.path());
    s.setNumLock(false);
    QVERIFY(readAll(dir.filePath("tov2sf.ini")).contains("NumLock=False\n"));
    QCOMPARE(s.NumLock(), false);
    s.setNumLock(true);
    QVERIFY(readAll(dir.filePath("tov2sf.ini")).contains("NumLock=True\n"));
    QCOMPARE(s.NumLock(), true);
}

void TestSettings::relativeFoldersFromProgramFolder_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("resolved");
    QTest::newRow("parent") << ".."
                            << "/opt/agency";
    QTest::newRow("sibling") << "../DemoVolume"
                             << "/opt/agency/DemoVolume";
    QTest::newRow("absolute") << "/media/usb"
                              << "/media/usb";
    QTest::newRow("drive letter stays inside the program folder") << "a:"
                                                                  << "/opt/agency/TOV2SF/a:";
    QTest::newRow("empty stays empty") << ""
                                       << "";
}

void TestSettings::relativeFoldersFromProgramFolder() {
    QFETCH(QString, folder);
    QFETCH(QString, resolved);
    QCOMPARE(Settings("/opt/agency/TOV2SF").resolve(folder), resolved);
}

void TestSettings::publisher_data() {
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<int>("publisher");
    QTest::newRow("default") << QByteArray() << int(Publisher::Quillmark);
    QTest::newRow("Tessaran") << QByteArray("[Settings]\nPublisher=Tessaran\n")
                              << int(Publisher::Tessaran);
    QTest::newRow("tessaran") << QByteArray("[Settings]\nPublisher=tessaran\n")
                              << int(Publisher::Tessaran);
    QTest::newRow("unknown") << QByteArray("[Settings]\nPublisher=Acme\n")
                             << int(Publisher::Quillmark);
}

void TestSettings::publisher() {
    QFETCH(QByteArray, ini);
    QFETCH(int, publisher);
    QTemporaryDir dir;
    if (!ini.isNull()) {
        writeText(dir.filePath("tov2sf.ini"), ini);
    }
    QCOMPARE(int(Settings(dir.path()).publisher()), publisher);
}

void TestSettings::scanSettings_data() {
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<bool>("fromFiles");
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("trace");
    QTest::newRow("none: SANE, no trace") << QByteArray() << false << ""
                                          << "" << false;
    QTest::newRow("file source") << QByteArray("[Settings]\nScanSource = file\nScanFolder=scans\n")
                                 << true << ""
                                 << "/opt/agency/TOV2SF/scans" << false;
    QTest::newRow("named device, trace on")
        << QByteArray("[Settings]\nScanSource=SANE\nScanDevice= test:1 \nScanTrace=True\n") << false
        << "test:1"
        << "" << true;
    QTest::newRow("unknown source is SANE; trace needs Tru")
        << QByteArray("[Settings]\nScanSource=Twain\nScanTrace=true\n") << false << ""
        << "" << false;
    QTest::newRow("keys of another section")
        << QByteArray("[Options]\nScanSource=File\nScanTrace=True\n") << false << ""
        << "" << false;
}

void TestSettings::scanSettings() {
    QFETCH(QByteArray, ini);
    QFETCH(bool, fromFiles);
    QFETCH(QString, device);
    QFETCH(QString, folder);
    QFETCH(bool, trace);
    QTemporaryDir dir;
    if (!ini.isNull()) {
        writeText(dir.filePath("tov2sf.ini"), ini);
    }
    // Relative folders resolve against the program folder, wherever it is.
    const QString programFolder = QStringLiteral("/opt/agency/TOV2SF");
    const Settings s(dir.path());
    QCOMPARE(s.scanSource() == tov::app::ScanSource::ImageFile, fromFiles);
    QCOMPARE(s.scanDevice(), device);
    QCOMPARE(s.scanFolder().replace(dir.path(), programFolder), folder);
    QCOMPARE(s.scanTrace(), trace);
}

QTEST_GUILESS_MAIN(TestSettings)
#include "test_settings.moc"
