// Two programs on one data volume: the second is refused while the first holds the volume, and
// takes it once the first has ended or died; a record changed on the volume behind a screen's
// back is not written over. The first program is this test run again as a child process
// ("--hold FOLDER"), a whole program on fake screens holding the volume until told to end.
#include "intake/CodeListBox.h"
#include "intake/frmClientInfo.h"
#include "platform/QtVolumeLock.h"
#include "support/ProgramRig.h"
#include "support/ScreenDriver.h"
#include "ui/ScreenKit.h"

#include <QHostInfo>
#include <QProcess>
#include <QtTest>

#include <csignal>

using namespace tov;
using fakes::ProgramRig;
using Answer = platform::MessageBoxes::Answer;

namespace {

const QStringList kClients = {QStringLiteral("Alder, Ann"), QStringLiteral("Birch, Bo")};

void realLock(platform::Platform& p) {
    p.lock = std::make_unique<platform::QtVolumeLock>();
}

// The child: a program holding the volume, saying so, until its standard input closes.
int holdVolume(int argc, char** argv, const QString& folder) {
    QApplication app(argc, argv);
    ProgramRig rig(kClients, QByteArray("[Settings]\nNumLock=True\n"), realLock, folder);
    if (!rig.program->start()) {
        return 1;
    }
    std::printf("holding\n");
    std::fflush(stdout);
    QFile in;
    in.open(stdin, QIODevice::ReadOnly);
    in.readAll(); // until the test closes our input
    return 0;
}

} // namespace

class TestTwoPrograms : public QObject {
    Q_OBJECT

private slots:
    void secondProgramWaitsForTheVolume_data();
    void secondProgramWaitsForTheVolume();
    void changedRecordNotWrittenOver();
};

void TestTwoPrograms::secondProgramWaitsForTheVolume_data() {
    QTest::addColumn<bool>("killed"); // the first program dies rather than ending
    QTest::newRow("first program ended") << false;
    QTest::newRow("first program killed: its lock is stale") << true;
}

void TestTwoPrograms::secondProgramWaitsForTheVolume() {
    QFETCH(bool, killed);
    QTemporaryDir shared;
    QFile data(shared.filePath(QStringLiteral("DATA401.TOV")));
    QVERIFY(data.open(QIODevice::WriteOnly));
    data.write(fakes::clientRecord(kClients[0]) + fakes::clientRecord(kClients[1]));
    data.close();

    QProcess first;
    first.start(QCoreApplication::applicationFilePath(), {"--hold", shared.path()});
    QVERIFY(first.waitForReadyRead(20000));
    QCOMPARE(first.readLine().trimmed(), QByteArray("holding"));
    const QByteArray before = fakes::readAll(data.fileName());

    ProgramRig second(kClients, QByteArray("[Settings]\nNumLock=True\n"), realLock, shared.path());
    QStringList texts;
    second.boxes->onShow = [&](const fakes::FakeMessageBoxes::Shown& box) {
        texts << box.text;
        // Refused once while the first program runs; it then goes, and Retry gets the volume.
        QCOMPARE(fakes::readAll(data.fileName()), before);
        QVERIFY(!QFile::exists(shared.filePath(QStringLiteral("checkWriteTest"))));
        if (killed) {
            ::kill(static_cast<pid_t>(first.processId()), SIGKILL);
        } else {
            first.closeWriteChannel();
        }
        QVERIFY(first.waitForFinished(20000));
    };
    second.boxes->script({Answer::Retry});
    QVERIFY(second.program->start());
    QCOMPARE(second.boxes->titles(), QStringList{"Data Disk In Use"});
    QCOMPARE(texts[0], QStringLiteral("Data disk in use!\r\rThe data disk is open in the test "
                                      "program of %1 on %2. Only one program at a time may use "
                                      "a data disk.\r\rAsk for that program to be closed, then "
                                      "click Retry, or click Cancel to choose another data disk.")
                           .arg(platform::QtVolumeLock::currentUser(), QHostInfo::localHostName()));
    QCOMPARE(second.state().DataPath(), shared.path());
    QCOMPARE(second.state().clients().ClientCount(), 2);
    // The volume is this program's now: a third is refused.
    platform::QtVolumeLock third;
    platform::LockHolder holder;
    QCOMPARE(third.take(shared.path(), holder), platform::VolumeLock::Result::HeldByOther);
    QCOMPARE(holder.pid, QCoreApplication::applicationPid());
}

void TestTwoPrograms::changedRecordNotWrittenOver() {
    ProgramRig rig(kClients);
    QVERIFY(rig.program->start());
    rig.state().clients().setCurrentClient(1);
    intake::frmClientInfo info(rig.program->context(), intake::ClientMode::EditClient, &rig.menu());
    QVERIFY(fakes::showScreen(&info));
    // Meanwhile another program renames client 1 on the volume.
    QByteArray changed = fakes::readAll(rig.dataFile());
    changed.replace(0, 10, "Aspen, Amy");
    fakes::writeAll(rig.dataFile(), changed);
    info.txtAge->setText(QStringLiteral("41"));
    info.txtDob->setText(QStringLiteral("N"));
    for (intake::CodeListBox* list :
         {info.cmbGender, info.cmbRace, info.cmbMarital, info.cmbEducation}) {
        list->setCurrentIndex(1);
    }
    info.txtSSN->setText(QStringLiteral("N"));
    info.txtDLNumber->setText(QStringLiteral("N"));
    info.kit()->cmdMenuChoice(intake::frmClientInfo::ChoiceOK)->click();
    QCOMPARE(fakes::readAll(rig.dataFile()), changed);
    QCOMPARE(rig.boxes->shown.last().text,
             QStringLiteral("Error 20053:The client file on the data disk was changed by another "
                            "program since it was read, so nothing has been saved. Exit the "
                            "program and start it again to see the changes."));
}

int main(int argc, char** argv) {
    if (argc == 3 && QByteArray(argv[1]) == "--hold") {
        return holdVolume(argc, argv, QString::fromLocal8Bit(argv[2]));
    }
    QApplication app(argc, argv);
    TestTwoPrograms test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_twoprograms.moc"
