#include "app/DataDrive.h"
#include "app/ProgramState.h"
#include "platform/QtVolumeLock.h"
#include "support/Fakes.h"
#include "support/Files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace tov;
using app::DataDrive;
using fakes::FaultyFileSystem;
using Answer = platform::MessageBoxes::Answer;
using Buttons = platform::MessageBoxes::Buttons;
using Icon = platform::MessageBoxes::Icon;

namespace {

const QString kChanged =
    "Original data disk not found!\r\rThe data disk used when the program was started is no "
    "longer in the floppy drive.\r\rIt is VERY important that the data disk not be removed or "
    "changed while the program is running.  Corruption of the client database may occur, "
    "possibly making the data disk unusable.\r\rIf you wish to change test programs or data "
    "disks, you must first exit the program currently running on your computer.  To exit the "
    "program, select the Exit Application option on the Main Menu.  Wait for the disk drive "
    "light to turn off, then change data disks and start the new program.\r\rPlease re-insert "
    "the original data disk and click OK.";
const QString kNotFound =
    "Original data disk still not found!\r\rThe data disk used when the program was started is "
    "not in the floppy drive.\r\rThe test program must be closed and re-opened to use a "
    "different data disk.\r\rIf you wish to change test programs or data disks, you must first "
    "exit the program currently running on your computer.  To exit the program, select the Exit "
    "Application option on the Main Menu.  Wait for the disk drive light to turn off, then "
    "change data disks and start the new program.\r\rThis test program will now shut down.";
const QString kWriteProtected =
    "Data disk write protected!\r\rSet the data disk to writable and replace in drive.";

QByteArray record(const char* name) {
    QByteArray r(190, ' ');
    r.replace(0, int(qstrlen(name)), name);
    return r;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

using fakes::readAll;

// A program folder, two data volumes and the services around a DataDrive.
struct Rig {
    QTemporaryDir root;
    QString program = root.filePath("TOV2SF");
    QString volA = root.filePath("volA");
    QString volB = root.filePath("volB");
    FaultyFileSystem fs;
    fakes::FakeVolumeIdentity volumes;
    fakes::FakeMessageBoxes boxes;
    fakes::FakeVolumeLock lock;
    QStringList dialogAnswers; // what the drive dialog returns, in turn
    int dialogs = 0;
    int refreshes = 0;
    int ends = 0;
    app::ProgramState state{program, fs};
    DataDrive drive{state, DataDrive::Services{fs, volumes, boxes, lock,
                                               [this] {
                                                   ++dialogs;
                                                   return dialogAnswers.isEmpty()
                                                              ? QString()
                                                              : dialogAnswers.takeFirst();
                                               },
                                               [this] { ++refreshes; }}};

    Rig() {
        QDir().mkpath(program);
        QDir().mkpath(volA);
        QDir().mkpath(volB);
        writeFile(volA + "/DATA401.TOV", record("Alpha") + record("Beta"));
        writeFile(volB + "/DATA401.TOV", record("Gamma"));
        volumes.ids[volA] = "VOL-A";
        volumes.ids[volB] = "VOL-B";
        state.setEndProgram([this] { ++ends; });
        state.settings().setFilePath(volA);
    }
    QString ini() const { return QString::fromUtf8(readAll(program + "/tov2sf.ini")); }
};

} // namespace

class TestDataDrive : public QObject {
    Q_OBJECT

private slots:
    void storedFolderAcceptedWithoutDialog();
    void relativeStoredFolderFromProgramFolder();
    void longFolderOpens_data();
    void longFolderOpens();
    void newInstallationChoosesFirst();
    void missingFileAsksForAnotherDrive();
    void doneWithoutChoiceGivesEmptyCandidate();
    void driveLetterNamedInCapitals_data();
    void driveLetterNamedInCapitals();
    void writeProtectedThenOk();
    void writeProtectedThenCancelEndsStartUp();
    void tooManyClientsOffersAnotherDrive();
    void otherErrorGivesUp();
    void lockAndFullVolume_data();
    void lockAndFullVolume();
    void menuModeGiveUpReloadsPrevious();
    void menuModeReloadFailureEndsProgram();
    void menuModeAcceptRefreshesList();
    void writeTestLeavesNoFile();
    void identityReadFailures();
    void guardPassesOnSameDisk();
    void guardChangedIdentityThenReinserted();
    void guardChangedIdentityEndsProgram();
    void guardRecordCountChanged();
    void guardRecordCountRestored();
    void guardFileGone_data();
    void guardFileGone();
};

void TestDataDrive::storedFolderAcceptedWithoutDialog() {
    Rig rig;
    QVERIFY(rig.drive.SelectDataDrive(true));
    QCOMPARE(rig.dialogs, 0);
    QVERIFY(rig.boxes.shown.isEmpty());
    QCOMPARE(rig.state.DataPath(), rig.volA);
    QCOMPARE(rig.state.StartupDiskId(), QStringLiteral("VOL-A"));
    QCOMPARE(rig.state.clients().ClientCount(), 2);
    QCOMPARE(rig.state.clients().CurrentClient(), 1);
    QCOMPARE(rig.state.clients().Clients(2).trimmed(records::Field::Name), QStringLiteral("Beta"));
    QVERIFY(rig.ini().contains("FilePath=" + rig.volA + "\n"));
    QCOMPARE(rig.ends, 0);
    QCOMPARE(rig.refreshes, 0); // the main menu fills its list itself at start-up
}

void TestDataDrive::relativeStoredFolderFromProgramFolder() {
    Rig rig;
    rig.state.settings().setFilePath("../volB");
    rig.volumes.ids[QDir::cleanPath(rig.program + "/../volB")] = "VOL-B";
    QVERIFY(rig.drive.SelectDataDrive(true));
    QCOMPARE(rig.state.DataPath(), QDir::cleanPath(rig.volB));
    QCOMPARE(rig.state.clients().ClientCount(), 1);
    QVERIFY(rig.ini().contains("FilePath=../volB\n"));
}

// A network-share mount path is long: the folder is used and stored whole, up to the length the
// system allows, whether it was stored or chosen in the dialog.
void TestDataDrive::longFolderOpens_data() {
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("chosen");
    QTest::newRow("50, stored") << 50 << false;
    QTest::newRow("200, stored") << 200 << false;
    QTest::newRow("4000, stored") << 4000 << false;
    QTest::newRow("4000, chosen") << 4000 << true;
}

void TestDataDrive::longFolderOpens() {
    QFETCH(int, length);
    QFETCH(bool, chosen);
    Rig rig;
    // Folder names of at most 200 characters, down to the length wanted.
    QString folder = rig.root.path();
    QVERIFY(folder.size() < length - 2);
    while (folder.size() < length) {
        folder += QLatin1Char('/') +
                  QString(qMin<qsizetype>(200, length - folder.size() - 1), QLatin1Char('s'));
    }
    QCOMPARE(folder.size(), length);
    QVERIFY(QDir().mkpath(folder));
    writeFile(folder + "/DATA401.TOV", record("Longpath"));
    rig.volumes.ids[folder] = "SHARE";
    if (chosen) {
        rig.state.settings().setFilePath(rig.root.filePath("nowhere"));
        rig.boxes.script({Answer::Yes});
        rig.dialogAnswers = {folder};
    } else {
        rig.state.settings().setFilePath(folder);
    }
    QVERIFY(rig.drive.SelectDataDrive(true));
    QCOMPARE(rig.dialogs, chosen ? 1 : 0);
    QCOMPARE(rig.state.DataPath(), folder);
    QCOMPARE(rig.state.StartupDiskId(), QStringLiteral("SHARE"));
    QCOMPARE(rig.state.clients().Clients(1).trimmed(records::Field::Name),
             QStringLiteral("Longpath"));
    QCOMPARE(rig.lock.held, folder);
    // The lock beside the client file takes such a folder too.
    platform::QtVolumeLock lock;
    platform::LockHolder holder;
    QCOMPARE(lock.take(folder, holder), platform::VolumeLock::Result::Taken);
    QVERIFY(QFile::exists(folder + "/DATA401.TOV.lock"));
    // Written back whole, and read whole at the next start.
    QCOMPARE(app::Settings(rig.program).FilePath(), folder);
    QCOMPARE(rig.ends, 0);
}

// An installed program's settings name no volume: the choice comes first, with no message.
void TestDataDrive::newInstallationChoosesFirst() {
    Rig rig;
    rig.state.settings().setFilePath(QString());
    rig.dialogAnswers = {rig.volB};
    QVERIFY(rig.drive.SelectDataDrive(true));
    QVERIFY(rig.boxes.shown.isEmpty());
    QCOMPARE(rig.dialogs, 1);
    QCOMPARE(rig.state.DataPath(), rig.volB);
    QVERIFY(rig.ini().contains("FilePath=" + rig.volB + "\n"));
}

void TestDataDrive::missingFileAsksForAnotherDrive() {
    Rig rig;
    rig.state.settings().setFilePath(rig.root.filePath("empty"));
    QDir().mkpath(rig.root.filePath("empty"));
    rig.boxes.script({Answer::Yes});
    rig.dialogAnswers = {rig.volB};
    QVERIFY(rig.drive.SelectDataDrive(true));
    QCOMPARE(rig.boxes.shown.size(), 1);
    QCOMPARE(rig.boxes.shown[0].text, "No test information found on drive " +
                                          rig.root.filePath("empty") +
                                          ", would you like to try another drive?");
    QCOMPARE(rig.boxes.shown[0].buttons, Buttons::YesNo);
    QCOMPARE(rig.boxes.shown[0].icon, Icon::None);
    QCOMPARE(rig.dialogs, 1);
    QCOMPARE(rig.state.DataPath(), rig.volB);
    QVERIFY(rig.ini().contains("FilePath=" + rig.volB + "\n"));
    // Nothing was created on the folder that had no client file.
    QVERIFY(QDir(rig.root.filePath("empty")).isEmpty());
}

void TestDataDrive::doneWithoutChoiceGivesEmptyCandidate() {
    Rig rig;
    rig.state.settings().setFilePath(rig.root.filePath("nowhere"));
    rig.boxes.script({Answer::Yes, Answer::No});
    rig.dialogAnswers = {QString()};
    QVERIFY(!rig.drive.SelectDataDrive(true));
    QCOMPARE(rig.boxes.shown.size(), 2);
    QCOMPARE(rig.boxes.shown[1].text, QStringLiteral("No test information found on drive , would "
                                                     "you like to try another drive?"));
    QCOMPARE(rig.ends, 1);
    QVERIFY(rig.ini().contains("FilePath=" + rig.root.filePath("nowhere") + "\n"));
}

void TestDataDrive::driveLetterNamedInCapitals_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("named");
    QTest::newRow("default a:") << "a:"
                                << "A:";
    QTest::newRow("f:") << "f:"
                        << "F:";
    QTest::newRow("folder keeps its case") << "/media/Agency/Disk"
                                           << "/media/Agency/Disk";
}

void TestDataDrive::driveLetterNamedInCapitals() {
    QFETCH(QString, stored);
    QFETCH(QString, named);
    Rig rig;
    rig.state.settings().setFilePath(stored);
    rig.boxes.script({Answer::No});
    QVERIFY(!rig.drive.SelectDataDrive(true));
    QCOMPARE(rig.boxes.shown.size(), 1);
    QCOMPARE(rig.boxes.shown[0].text, "No test information found on drive " + named +
                                          ", would you like to try another drive?");
}

void TestDataDrive::writeProtectedThenOk() {
    // The write-protected volume is the fake file system refusing writes in the folder; root
    // ignores file modes, so a chmod would not protect anything here.
    Rig rig;
    rig.fs.readOnlyFolders = {rig.volA};
    rig.boxes.onShow = [&](const fakes::FakeMessageBoxes::Shown&) {
        rig.fs.readOnlyFolders.clear(); // the operator slides the tab back
    };
    rig.boxes.script({Answer::Ok});
    QVERIFY(rig.drive.SelectDataDrive(true));
    QCOMPARE(rig.boxes.shown.size(), 1);
    QCOMPARE(rig.boxes.shown[0].text, kWriteProtected);
    QCOMPARE(rig.boxes.shown[0].title, QStringLiteral("Data Disk Error"));
    QCOMPARE(rig.boxes.shown[0].buttons, Buttons::OkCancel);
    QCOMPARE(rig.boxes.shown[0].icon, Icon::Error);
    QCOMPARE(rig.dialogs, 0);
    QCOMPARE(rig.state.DataPath(), rig.volA);
    QCOMPARE(rig.state.clients().ClientCount(), 2);
    QVERIFY(!QFile::exists(rig.volA + "/checkWriteTest"));
}

void TestDataDrive::writeProtectedThenCancelEndsStartUp() {
    Rig rig;
    rig.fs.readOnlyFolders = {rig.volA};
    rig.boxes.script({Answer::Ok, Answer::Cancel});
    QVERIFY(!rig.drive.SelectDataDrive(true));
    QCOMPARE(rig.boxes.shown.size(), 2);
    QCOMPARE(rig.boxes.shown[1].text, kWriteProtected);
    QCOMPARE(rig.ends, 1);
    QCOMPARE(readAll(rig.volA + "/DATA401.TOV"), record("Alpha") + record("Beta"));
}

void TestDataDrive::tooManyClientsOffersAnotherDrive() {
    Rig rig;
    QByteArray many;
    for (int i = 0; i < 52; ++i) {
        many += record("Crowd");
    }
    writeFile(rig.volA + "/DATA401.TOV", many);
    rig.boxes.script({Answer::Yes});
    rig.dialogAnswers = {rig.volB};
    QVERIFY(rig.drive.SelectDataDrive(true));
    QCOMPARE(rig.boxes.shown.size(), 1);
    QVERIFY(rig.boxes.shown[0].text.contains("52 client records"));
    QVERIFY(rig.boxes.shown[0].text.endsWith("Would you like to try another drive?"));
    QCOMPARE(rig.boxes.shown[0].buttons, Buttons::YesNo);
    QCOMPARE(rig.state.DataPath(), rig.volB);
    QCOMPARE(readAll(rig.volA + "/DATA401.TOV"), many);
    QVERIFY(!QFile::exists(rig.volA + "/checkWriteTest"));
}

void TestDataDrive::otherErrorGivesUp() {
    Rig rig;
    rig.fs.failNth(FaultyFileSystem::Op::WriteNew, 1, err::PathFileAccess);
    QVERIFY(!rig.drive.SelectDataDrive(true));
    QCOMPARE(rig.boxes.shown.size(), 1);
    QCOMPARE(rig.boxes.shown[0].text, QStringLiteral("Error 75:injected failure"));
    QCOMPARE(rig.boxes.shown[0].buttons, Buttons::Ok);
    QCOMPARE(rig.ends, 1);
}

// The stored volume at start-up, locked by another program, read-only or full: what the
// operator is asked and where the program ends up. The boxes are answered in turn; the drive
// dialog offers volume B.
void TestDataDrive::lockAndFullVolume_data() {
    using Result = platform::VolumeLock::Result;
    QTest::addColumn<QList<int>>("locks");   // answers of the lock for volume A, in turn
    QTest::addColumn<bool>("writeTestFull"); // the write test finds no room
    QTest::addColumn<QList<int>>("answers"); // to the boxes, in turn
    QTest::addColumn<QStringList>("titles"); // of the boxes shown
    QTest::addColumn<QString>("opened");     // "A", "B" or "" (the program ends)
    const QString inUse = QStringLiteral("Data Disk In Use");
    QTest::newRow("in use, retried once free")
        << QList<int>{int(Result::HeldByOther)} << false << QList<int>{int(Answer::Retry)}
        << QStringList{inUse} << "A";
    QTest::newRow("in use, cancel goes to the drive choice")
        << QList<int>{int(Result::HeldByOther), int(Result::HeldByOther)} << false
        << QList<int>{int(Answer::Retry), int(Answer::Cancel)} << QStringList{inUse, inUse} << "B";
    QTest::newRow("read-only: the write-protected question")
        << QList<int>{int(Result::ReadOnly)} << false << QList<int>{int(Answer::Cancel)}
        << QStringList{QStringLiteral("Data Disk Error")} << "";
    QTest::newRow("no room for the lock: opened, with the warning")
        << QList<int>{int(Result::NoRoom)} << true << QList<int>{int(Answer::Ok)}
        << QStringList{QStringLiteral("Data Disk Full")} << "A";
    QTest::newRow("no room for the write test: opened, with the warning")
        << QList<int>{} << true << QList<int>{int(Answer::Ok)}
        << QStringList{QStringLiteral("Data Disk Full")} << "A";
}

void TestDataDrive::lockAndFullVolume() {
    QFETCH(QList<int>, locks);
    QFETCH(bool, writeTestFull);
    QFETCH(QList<int>, answers);
    Rig rig;
    for (const int l : locks) {
        rig.lock.answers[rig.volA].push_back(platform::VolumeLock::Result(l));
    }
    if (writeTestFull) {
        rig.fs.failNth(FaultyFileSystem::Op::WriteNew, 1, err::DiskFull);
    }
    for (const int a : answers) {
        rig.boxes.script({Answer(a)});
    }
    rig.dialogAnswers = {rig.volB};
    const QByteArray before = readAll(rig.volA + "/DATA401.TOV");
    QFETCH(QString, opened);
    QCOMPARE(rig.drive.SelectDataDrive(true), !opened.isEmpty());
    QFETCH(QStringList, titles);
    QStringList shown;
    for (const auto& box : rig.boxes.shown) {
        shown << box.title;
    }
    QCOMPARE(shown, titles);
    if (titles.first() == QLatin1String("Data Disk In Use")) {
        QCOMPARE(rig.boxes.shown[0].text,
                 QStringLiteral("Data disk in use!\r\rThe data disk is open in the test program "
                                "of maria on front-desk. Only one program at a time may use a "
                                "data disk.\r\rAsk for that program to be closed, then click "
                                "Retry, or click Cancel to choose another data disk."));
        QCOMPARE(rig.boxes.shown[0].buttons, Buttons::RetryCancel);
    }
    if (titles.first() == QLatin1String("Data Disk Full")) {
        QCOMPARE(rig.boxes.shown[0].text,
                 QStringLiteral("Data disk full!\r\rClients can be viewed and printed, but "
                                "nothing can be saved on this data disk until room is made on "
                                "it."));
        QVERIFY(rig.drive.volumeFull());
    }
    const QString folder = opened == QLatin1String("A")   ? rig.volA
                           : opened == QLatin1String("B") ? rig.volB
                                                          : QString();
    if (!folder.isEmpty()) {
        QCOMPARE(rig.state.DataPath(), folder);
        QCOMPARE(rig.state.clients().ClientCount(), folder == rig.volA ? 2 : 1);
    }
    QCOMPARE(rig.ends, opened.isEmpty() ? 1 : 0);
    // A volume another program holds is never written to, nor its file created.
    QCOMPARE(readAll(rig.volA + "/DATA401.TOV"), before);
    QVERIFY(!QFile::exists(rig.volA + "/checkWriteTest"));
}

void TestDataDrive::menuModeGiveUpReloadsPrevious() {
    Rig rig;
    QVERIFY(rig.drive.SelectDataDrive(true));
    const QString before = rig.ini();
    rig.dialogAnswers = {rig.root.filePath("nowhere")};
    rig.boxes.script({Answer::No});
    QVERIFY(rig.drive.SelectDataDrive(false));
    QCOMPARE(rig.state.DataPath(), rig.volA);
    QCOMPARE(rig.state.clients().ClientCount(), 2);
    QCOMPARE(rig.state.StartupDiskId(), QStringLiteral("VOL-A"));
    QCOMPARE(rig.refreshes, 1);
    QCOMPARE(rig.ends, 0);
    QCOMPARE(rig.ini(), before);
}

void TestDataDrive::menuModeReloadFailureEndsProgram() {
    Rig rig;
    QVERIFY(rig.drive.SelectDataDrive(true));
    rig.dialogAnswers = {rig.volB};
    rig.fs.readOnlyFolders = {rig.volA, rig.volB};
    rig.boxes.script({Answer::Cancel});
    QVERIFY(!rig.drive.SelectDataDrive(false));
    QCOMPARE(rig.boxes.shown.size(), 2);
    QCOMPARE(rig.boxes.shown[0].text, kWriteProtected);
    QCOMPARE(rig.boxes.shown[1].text,
             QStringLiteral("Reload of original data disk failed, aborting Program"));
    QCOMPARE(rig.boxes.shown[1].buttons, Buttons::Ok);
    QCOMPARE(rig.ends, 1);
}

void TestDataDrive::menuModeAcceptRefreshesList() {
    Rig rig;
    QVERIFY(rig.drive.SelectDataDrive(true));
    rig.dialogAnswers = {rig.volB};
    QVERIFY(rig.drive.SelectDataDrive(false));
    QCOMPARE(rig.dialogs, 1);
    QCOMPARE(rig.state.DataPath(), rig.volB);
    QCOMPARE(rig.state.StartupDiskId(), QStringLiteral("VOL-B"));
    QCOMPARE(rig.state.clients().ClientCount(), 1);
    QCOMPARE(rig.refreshes, 1);
    QVERIFY(rig.ini().contains("FilePath=" + rig.volB + "\n"));
}

void TestDataDrive::writeTestLeavesNoFile() {
    Rig rig;
    writeFile(rig.volA + "/checkWriteTest", "stale");
    QVERIFY(rig.drive.SelectDataDrive(true));
    QCOMPARE(QDir(rig.volA).entryList(QDir::Files), QStringList({"DATA401.TOV"}));
    QVERIFY(rig.fs.calls(FaultyFileSystem::Op::WriteNew) >= 1);
    QCOMPARE(rig.fs.calls(FaultyFileSystem::Op::WriteAt), 0);
}

void TestDataDrive::identityReadFailures() {
    Rig rig;
    rig.state.setDataPath(rig.volA);
    rig.volumes.ids[rig.volA] = "  VOL-A  ";
    QCOMPARE(rig.drive.ReadDiskIdentity(), QStringLiteral("VOL-A"));

    rig.state.setDataPath(rig.root.filePath("pulled"));
    QCOMPARE(rig.drive.ReadDiskIdentity(), QString());
    QVERIFY(rig.boxes.shown.isEmpty());

    rig.state.setDataPath(rig.volA);
    rig.volumes.failures = {err::DeviceIo};
    rig.boxes.script({Answer::Retry});
    QCOMPARE(rig.drive.ReadDiskIdentity(), QStringLiteral("VOL-A"));
    QCOMPARE(rig.boxes.shown.size(), 1);
    QCOMPARE(rig.boxes.shown[0].title, QStringLiteral("Disk Serial Number Error"));
    QCOMPARE(rig.boxes.shown[0].text, QStringLiteral("Error #:57 - scripted failure"));
    QCOMPARE(rig.boxes.shown[0].buttons, Buttons::RetryCancel);

    rig.volumes.failures = {err::DeviceIo};
    rig.boxes.script({Answer::Cancel});
    QCOMPARE(rig.drive.ReadDiskIdentity(), QString());
}

void TestDataDrive::guardPassesOnSameDisk() {
    Rig rig;
    QVERIFY(rig.drive.SelectDataDrive(true));
    QVERIFY(rig.drive.CheckDataDisk());
    QVERIFY(rig.boxes.shown.isEmpty());
    QCOMPARE(rig.ends, 0);
}

void TestDataDrive::guardChangedIdentityThenReinserted() {
    Rig rig;
    QVERIFY(rig.drive.SelectDataDrive(true));
    rig.volumes.ids[rig.volA] = "OTHER-STICK";
    rig.boxes.onShow = [&](const fakes::FakeMessageBoxes::Shown&) {
        rig.volumes.ids[rig.volA] = "VOL-A";
    };
    QVERIFY(rig.drive.CheckDataDisk());
    QCOMPARE(rig.boxes.shown.size(), 1);
    QCOMPARE(rig.boxes.shown[0].text, kChanged);
    QCOMPARE(rig.boxes.shown[0].title, QStringLiteral("Data Disk Changed"));
    QCOMPARE(rig.boxes.shown[0].icon, Icon::Error);
    QCOMPARE(rig.boxes.shown[0].buttons, Buttons::Ok);
    QCOMPARE(rig.ends, 0);
}

void TestDataDrive::guardChangedIdentityEndsProgram() {
    Rig rig;
    QVERIFY(rig.drive.SelectDataDrive(true));
    rig.volumes.ids.remove(rig.volA); // pulled
    QVERIFY(!rig.drive.CheckDataDisk());
    QCOMPARE(rig.boxes.shown.size(), 2);
    QCOMPARE(rig.boxes.shown[0].text, kChanged);
    QCOMPARE(rig.boxes.shown[1].text, kNotFound);
    QCOMPARE(rig.boxes.shown[1].title, QStringLiteral("Data Disk Not Found"));
    QCOMPARE(rig.boxes.shown[1].icon, Icon::Error);
    QCOMPARE(rig.ends, 1);
    // Once failed, the guard never passes again in this run.
    rig.volumes.ids[rig.volA] = "VOL-A";
    QVERIFY(!rig.drive.CheckDataDisk());
}

void TestDataDrive::guardRecordCountChanged() {
    Rig rig;
    QVERIFY(rig.drive.SelectDataDrive(true));
    // Copied over from another machine while the program ran: one record more.
    writeFile(rig.volA + "/DATA401.TOV", record("Alpha") + record("Beta") + record("Copied"));
    QVERIFY(!rig.drive.CheckDataDisk());
    QCOMPARE(rig.boxes.shown.size(), 2);
    QCOMPARE(rig.boxes.shown[0].title, QStringLiteral("Data Disk Changed"));
    QCOMPARE(rig.boxes.shown[1].title, QStringLiteral("Data Disk Not Found"));
    QCOMPARE(rig.ends, 1);
}

void TestDataDrive::guardRecordCountRestored() {
    Rig rig;
    QVERIFY(rig.drive.SelectDataDrive(true));
    writeFile(rig.volA + "/DATA401.TOV", record("Alpha"));
    rig.boxes.onShow = [&](const fakes::FakeMessageBoxes::Shown&) {
        writeFile(rig.volA + "/DATA401.TOV", record("Alpha") + record("Beta"));
    };
    QVERIFY(rig.drive.CheckDataDisk());
    QCOMPARE(rig.boxes.shown.size(), 1);
    QCOMPARE(rig.ends, 0);
}

void TestDataDrive::guardFileGone_data() {
    QTest::addColumn<QByteArray>("clients"); // the client file at the start
    QTest::newRow("two records") << record("Alpha") + record("Beta");
    // No records is a count too: a file that is gone must not match it.
    QTest::newRow("empty") << QByteArray();
}

void TestDataDrive::guardFileGone() {
    QFETCH(QByteArray, clients);
    Rig rig;
    writeFile(rig.volA + "/DATA401.TOV", clients);
    QVERIFY(rig.drive.SelectDataDrive(true));
    QFile::remove(rig.volA + "/DATA401.TOV");
    QVERIFY(!rig.drive.CheckDataDisk());
    QCOMPARE(rig.boxes.shown.size(), 2);
    QVERIFY(!QFile::exists(rig.volA + "/DATA401.TOV"));
}

QTEST_GUILESS_MAIN(TestDataDrive)
#include "test_datadrive.moc"
