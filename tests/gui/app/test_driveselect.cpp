// The Select Drive dialog: the entry it starts on, and a new data volume made from it, also on
// a first start of the whole program.
#include "app/frmDriveSelect.h"
#include "support/ProgramRig.h"
#include "ui/frmMainMenu.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace tov;
using Answer = platform::MessageBoxes::Answer;
using fakes::ProgramRig;

class TestDriveSelect : public QObject {
    Q_OBJECT

private slots:
    void startsOn_data();
    void startsOn();
    void newVolume_data();
    void newVolume();
    void firstStartOnNewVolume();
};

void TestDriveSelect::startsOn_data() {
    QTest::addColumn<QStringList>("drives"); // "*" before a removable one
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("shown"); // the entry it starts on and Done takes; empty: none
    const QString stick = "/media/agency/STICK";
    QTest::newRow("stored volume") << QStringList{"*" + stick, "/", "/srv/tov"} << "/srv/tov/"
                                   << "/srv/tov";
    QTest::newRow("first start, a stick")
        << QStringList{"/", "/home", "*" + stick, "*/media/agency/SPARE"} << "" << stick;
    QTest::newRow("stored volume gone, a stick")
        << QStringList{"/", "*" + stick} << "/media/agency/OLD" << stick;
    QTest::newRow("stored folder, not a drive")
        << QStringList{"/", "*" + stick} << QDir::tempPath() + "/" << QDir::tempPath();
    QTest::newRow("first start, only /") << QStringList{"/"} << ""
                                         << "";
    QTest::newRow("stored volume gone, no stick") << QStringList{"/", "/home"} << "A:"
                                                  << "";
}

void TestDriveSelect::startsOn() {
    QFETCH(QStringList, drives);
    QFETCH(QString, current);
    QFETCH(QString, shown);
    QList<platform::Drive> list;
    for (const QString& d : drives) {
        const QString path = d.startsWith('*') ? d.mid(1) : d;
        list.append({path, path, d.startsWith('*')});
    }
    fakes::FakeMessageBoxes boxes;
    app::frmDriveSelect dialog(list, current, boxes);
    dialog.show();
    QCOMPARE(dialog.drDrive()->currentData().toString(), shown);
    QCOMPARE(dialog.cmdDone()->isEnabled(), !shown.isEmpty());
    if (shown.isEmpty()) {
        fakes::saveShot(&dialog, "drive_select_first_start");
    }
    // Enter on the list presses Done: the entry shown is the choice.
    QTest::keyClick(dialog.drDrive(), Qt::Key_Return);
    QCOMPARE(dialog.isVisible(), shown.isEmpty());
    QCOMPARE(dialog.NewDrive(), shown);
    QVERIFY(boxes.shown.isEmpty());
}

void TestDriveSelect::newVolume_data() {
    QTest::addColumn<QString>("there");  // what the folder holds under DATA401.TOV
    QTest::addColumn<QString>("picked"); // in the test's folder; "-": the folder dialog cancelled
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<bool>("made");
    const QStringList asked = {"question"};
    QTest::newRow("made") << ""
                          << "Clients" << int(Answer::Yes) << asked << true;
    QTest::newRow("a volume there")
        << "volume"
        << "Clients" << int(Answer::Yes) << QStringList{"there"} << false;
    QTest::newRow("a link there") << "link"
                                  << "Clients" << int(Answer::Yes) << QStringList{"there"} << false;
    // Planted while the question is up: the file is made by the call or not at all.
    QTest::newRow("a link put there meanwhile")
        << "link meanwhile"
        << "Clients" << int(Answer::Yes) << QStringList{"question", "there"} << false;
    QTest::newRow("folder dialog cancelled") << ""
                                             << "-" << int(Answer::Yes) << QStringList{} << false;
    QTest::newRow("answered No") << ""
                                 << "Clients" << int(Answer::No) << asked << false;
    QTest::newRow("folder gone") << ""
                                 << "Gone" << int(Answer::Yes) << QStringList{"question", "failed"}
                                 << false;
}

void TestDriveSelect::newVolume() {
    QFETCH(QString, there);
    QFETCH(QString, picked);
    QFETCH(int, answer);
    QFETCH(QStringList, boxes);
    QFETCH(bool, made);
    QTemporaryDir root;
    const QString folder = root.filePath(picked);
    const QString file = folder + "/DATA401.TOV";
    const QString elsewhere = root.filePath("elsewhere.TOV");
    QDir().mkpath(root.filePath("Clients"));
    const QByteArray record = fakes::clientRecord("Kept, Kay");
    const auto plantLink = [&] {
        QVERIFY(::symlink(QFile::encodeName(elsewhere).constData(),
                          QFile::encodeName(file).constData()) == 0);
    };
    if (there == "volume") {
        fakes::writeAll(file, record);
    } else if (there == "link") {
        plantLink();
    }
    fakes::FakeMessageBoxes shown;
    if (there == "link meanwhile") {
        shown.onShow = [&](const fakes::FakeMessageBoxes::Shown& box) {
            if (box.buttons == platform::MessageBoxes::Buttons::YesNo) {
                plantLink();
            }
        };
    }
    shown.script({Answer(answer)});
    app::frmDriveSelect dialog({{"/", "/", false}}, QString(), shown);
    int picks = 0;
    dialog.setNewVolumePicker([&] {
        ++picks;
        return picked == "-" ? QString() : folder;
    });
    dialog.setFolderPicker([] { return QString("/other"); });
    dialog.show();
    // "New data volume..." is the last entry.
    QTest::keyClick(dialog.drDrive(), Qt::Key_End);
    QCOMPARE(picks, 1);
    QStringList texts;
    for (const QString& kind : boxes) {
        texts << (kind == "question" ? app::frmDriveSelect::newVolumeQuestion(folder)
                  : kind == "there"  ? app::frmDriveSelect::volumeThereText(folder)
                                     : app::frmDriveSelect::newVolumeFailedText(
                                           folder, AppError(53, "File not found")));
    }
    QCOMPARE(shown.texts(), texts);
    QCOMPARE(shown.titles(), QStringList(boxes.size(), "New Data Volume"));
    // Made: owner-only, empty, and chosen at once; else the dialog waits on nothing chosen.
    QCOMPARE(dialog.isVisible(), !made);
    QCOMPARE(dialog.NewDrive(), made ? folder : QString());
    QCOMPARE(dialog.drDrive()->currentText(), made ? folder : QString());
    struct stat st {};
    const bool plain =
        ::lstat(QFile::encodeName(file).constData(), &st) == 0 && S_ISREG(st.st_mode);
    QCOMPARE(plain, made || there == "volume");
    if (made) {
        QCOMPARE(int(st.st_mode & 07777), 0600);
        QCOMPARE(st.st_size, 0);
    }
    QCOMPARE(fakes::readAll(file), there == "volume" ? record : QByteArray());
    QVERIFY(!QFile::exists(elsewhere));
    if (!made) {
        QCOMPARE(dialog.drDrive()->currentIndex(), -1);
        QVERIFY(!dialog.cmdDone()->isEnabled());
    }
}

void TestDriveSelect::firstStartOnNewVolume() {
    ProgramRig rig({});
    fakes::writeAll(rig.iniFile(), "[Settings]\nNumLock=True\n[Path]\nFilePath=\n");
    QString folder = rig.root.filePath("Clients");
    QDir().mkpath(folder);
    rig.volumes->ids[folder] = "NEW-VOL";
    rig.boxes->script({Answer::Yes});
    fakes::whenModal<app::frmDriveSelect>([&](app::frmDriveSelect* dialog) {
        dialog->setNewVolumePicker([&] { return folder; });
        QTest::keyClick(dialog->drDrive(), Qt::Key_End);
    });
    QVERIFY(rig.program->start());
    QCOMPARE(rig.boxes->titles(), QStringList({"New Data Volume"}));
    QCOMPARE(rig.state().DataPath(), folder);
    QCOMPARE(rig.state().StartupDiskId(), QStringLiteral("NEW-VOL"));
    QVERIFY(rig.menu().isVisible());
    QCOMPARE(rig.menu().lbNameDisplay()->count(), 0);
    QVERIFY(fakes::readAll(rig.iniFile()).contains("FilePath=" + folder.toUtf8() + "\n"));
    QCOMPARE(QFileInfo(folder + "/DATA401.TOV").size(), 0);
}

QTEST_MAIN(TestDriveSelect)
#include "test_driveselect.moc"
