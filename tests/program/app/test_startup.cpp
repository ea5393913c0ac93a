#include "app/StartUp.h"
#include "app/frmAbout.h"
#include "app/frmDriveSelect.h"
#include "content/ContentStore.h"
#include "platform/UserProgramFolder.h"
#include "support/ProgramRig.h"
#include "ui/frmMainMenu.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

using namespace tov;
using fakes::ProgramRig;
using Answer = platform::MessageBoxes::Answer;
using Buttons = platform::MessageBoxes::Buttons;

class TestStartUp : public QObject {
    Q_OBJECT

private slots:
    void splashFadesByItself();
    void aboutBoxShowsArtworkAndOk();
    void startUpWritesSystemDbAndKeepsDataFile();
    void startsWithStoredFolder();
    void missingDataAnsweredNoEndsWithoutMenu();
    void missingDataThenDialogChoice();
    void missingWorkgroupFileEnds();
    void installedSetInForce_data();
    void installedSetInForce();
    void writeProtectedVolumeThenOk();
    void failedStepsAreOfferedAgain_data();
    void failedStepsAreOfferedAgain();
    void driveDialogHelpAndChoices();
    void driveDialogOtherFolder();
    void restoreRequestBringsMenuBack();
};

void TestStartUp::splashFadesByItself() {
    app::frmAbout splash(app::Publisher::Quillmark, content::ContentSet{});
    splash.setSplash(true);
    QCOMPARE(splash.windowTitle(), QStringLiteral("Initializing..."));
    splash.show();
    QVERIFY(!splash.cmdOK()->isVisible());
    QVERIFY(splash.findChild<QFrame*>("Picture2_5")->isVisible());
    QTRY_VERIFY(splash.boxHeightTwips(0) < app::frmAbout::BoxStartTwips);
    // Every tick takes 50 twips from each box.
    QCOMPARE((app::frmAbout::BoxStartTwips - splash.boxHeightTwips(3)) % 50, 0);
    fakes::saveShot(&splash, "splash");
    QTRY_VERIFY_WITH_TIMEOUT(splash.FadeDone(), 5000);
    QVERIFY(splash.boxHeightTwips(0) < 61);
    QVERIFY(splash.boxHeightTwips(0) >= 61 - 50);
    QVERIFY(!splash.Timer1()->isActive());
    for (int i = 0; i < app::frmAbout::BoxCount; ++i) {
        QVERIFY(!splash.findChild<QFrame*>(QString("Picture2_%1").arg(i))->isVisible());
    }
    QVERIFY(splash.isVisible()); // it never waits for a key, and never closes itself
}

void TestStartUp::aboutBoxShowsArtworkAndOk() {
    app::frmAbout about(app::Publisher::Quillmark, content::ContentSet{});
    about.setSplash(false);
    about.show();
    QCOMPARE(about.windowTitle(), QStringLiteral("About Tovaline-II Short Form"));
    QVERIFY(about.cmdOK()->isVisible());
    QVERIFY(!about.findChild<QFrame*>("Picture2_0")->isVisible());
    QVERIFY(!about.Timer1()->isActive());
    QCOMPARE(about.findChild<QLabel*>("SSPanel1")->text(),
             QStringLiteral("Quillmark Assessment Press"));
    QVERIFY(about.findChild<QLabel*>("SSPanel4")->text().startsWith("Web: "));
    QVERIFY(about.findChild<QLabel*>("SSPanel5")->text().startsWith("E-mail: "));
    fakes::saveShot(&about, "about_box_quillmark");
    QTest::keyClick(about.cmdOK(), Qt::Key_Return);
    QVERIFY(!about.isVisible());
}

void TestStartUp::startUpWritesSystemDbAndKeepsDataFile() {
    ProgramRig rig({"Harmon, Della J."});
    const QByteArray data = fakes::readAll(rig.dataFile());
    QVERIFY(rig.program->start());
    const QByteArray ini = fakes::readAll(rig.iniFile());
    QVERIFY(ini.contains("[Options]\nSystemDB=" + rig.programDir.toUtf8() + "/zevltd.mda\n"));
    QCOMPARE(fakes::readAll(rig.dataFile()), data);
    QCOMPARE(QDir(rig.dataDir).entryList(QDir::Files), QStringList({"DATA401.TOV"}));
    QCOMPARE(rig.state().QuestionBankPath(), rig.programDir + "/TOV2SF.MDB");
    QCOMPARE(rig.state().SoundPath(), QStringLiteral("%1/c:").arg(rig.programDir));
    QCOMPARE(rig.state().SectionEnd(), (std::array<int, 3>{0, 67, 73}));
    QVERIFY(rig.state().workspace().isOpen());
    QCOMPARE(rig.state().engine().defaultUser(), QStringLiteral("ZEVTest"));
    QVERIFY(rig.boxes->shown.isEmpty());
}

void TestStartUp::startsWithStoredFolder() {
    ProgramRig rig({"A", "B"}, "[Path]\nSndPath=..\n");
    QVERIFY(rig.program->start());
    QCOMPARE(rig.state().DataPath(), rig.dataDir);
    QCOMPARE(rig.state().StartupDiskId(), QStringLiteral("DATA-VOL"));
    QCOMPARE(rig.state().SoundPath(), rig.root.path());
    QVERIFY(rig.menu().isVisible());
    QCOMPARE(rig.menu().lbNameDisplay()->count(), 2);
    QVERIFY(rig.menu().ListRefreshAllowed);
}

void TestStartUp::missingDataAnsweredNoEndsWithoutMenu() {
    ProgramRig rig({});
    QFile::remove(rig.dataFile());
    rig.boxes->script({Answer::No});
    QVERIFY(!rig.program->start());
    QCOMPARE(rig.boxes->shown.size(), 1);
    QCOMPARE(rig.boxes->shown[0].text, "No test information found on drive " + rig.dataDir +
                                           ", would you like to try another drive?");
    QCOMPARE(rig.ends, 1);
    QVERIFY(!rig.menu().isVisible());
    QVERIFY(!QFile::exists(rig.dataFile()));
}

void TestStartUp::missingDataThenDialogChoice() {
    ProgramRig rig({});
    QFile::remove(rig.dataFile());
    QTemporaryDir stick;
    fakes::writeAll(stick.filePath("DATA401.TOV"), fakes::clientRecord("Found, Fay"));
    rig.volumes->ids[stick.path()] = "STICK";
    rig.drives->list = {{stick.path(), "USB stick", true}, {rig.dataDir, rig.dataDir, false}};
    rig.boxes->script({Answer::Yes});
    int initialIndex = -1;
    fakes::whenModal<app::frmDriveSelect>([&](app::frmDriveSelect* dialog) {
        initialIndex = dialog->drDrive()->currentIndex();
        // The stored folder is offered first; the operator moves up to the stick.
        QTest::keyClick(dialog->drDrive(), Qt::Key_Up);
        QTest::keyClick(dialog->cmdDone(), Qt::Key_Space);
    });
    QVERIFY(rig.program->start());
    QCOMPARE(initialIndex, 1);
    QCOMPARE(rig.state().DataPath(), stick.path());
    QCOMPARE(rig.menu().lbNameDisplay()->item(0)->text().trimmed(), QStringLiteral("1-Found, Fay"));
    QVERIFY(fakes::readAll(rig.iniFile()).contains("FilePath=" + stick.path().toUtf8()));
}

void TestStartUp::writeProtectedVolumeThenOk() {
    // The fake file system stands for the write-protected stick: root ignores file modes.
    ProgramRig rig({"A", "B"});
    rig.fs->readOnlyFolders = {rig.dataDir};
    rig.boxes->onShow = [&rig](const fakes::FakeMessageBoxes::Shown&) {
        rig.fs->readOnlyFolders.clear();
    };
    QVERIFY(rig.program->start());
    QCOMPARE(rig.boxes->shown.size(), 1);
    QCOMPARE(rig.boxes->shown[0].text,
             QStringLiteral("Data disk write protected!\r\rSet the data disk to writable and "
                            "replace in drive."));
    QCOMPARE(rig.boxes->shown[0].title, QStringLiteral("Data Disk Error"));
    QVERIFY(rig.menu().isVisible());
    QCOMPARE(rig.menu().lbNameDisplay()->count(), 2);
}

void TestStartUp::missingWorkgroupFileEnds() {
    ProgramRig rig({"A"});
    QFile::remove(rig.programDir + "/zevltd.mda");
    QVERIFY(!rig.program->start());
    QCOMPARE(rig.boxes->shown.size(), 1);
    QVERIFY(rig.boxes->shown[0].text.startsWith("Error 3028:"));
    QCOMPARE(rig.ends, 1);
    QVERIFY(!rig.menu().isVisible());
}

// An installed program takes the question bank and the workgroup file from the set in force; a
// set whose files changed is not used: the program says which file and ends.
void TestStartUp::installedSetInForce_data() {
    QTest::addColumn<QString>("changed");
    QTest::newRow("set as installed") << "";
    QTest::newRow("a text changed") << "INVAL.TXT";
}

void TestStartUp::installedSetInForce() {
    QFETCH(QString, changed);
    QTemporaryDir machine;
    const QString installed = machine.filePath("installed");
    const QString set = installed + "/content";
    content::CopyContentFiles(qEnvironmentVariable("TOV_PROGRAM_DIR"), set);
    fakes::writeAll(set + "/content.json",
                    content::ManifestOf(set, "County Set", "1", "", false).toJson());
    fakes::writeAll(installed + "/" + platform::InstalledMarker, "");
    if (!changed.isEmpty()) {
        fakes::writeAll(set + "/" + changed, "END\r\n");
    }
    ProgramRig rig({"A"}, "[Settings]\nNumLock=True\n", {}, {},
                   {{}, installed, machine.filePath("agency-sets")});
    QCOMPARE(rig.program->start(), changed.isEmpty());
    if (changed.isEmpty()) {
        QCOMPARE(rig.state().QuestionBankPath(), set + "/TOV2SF.MDB");
        QVERIFY(fakes::readAll(rig.iniFile()).contains("SystemDB=" + set.toUtf8() + "/zevltd.mda"));
        QCOMPARE(rig.state().content().title(), QStringLiteral("County Set 1"));
        QVERIFY(rig.boxes->shown.isEmpty());
        return;
    }
    QCOMPARE(rig.boxes->shown.size(), 1);
    QVERIFY2(rig.boxes->shown[0].text.contains(changed + " has changed"),
             qPrintable(rig.boxes->shown[0].text));
    QCOMPARE(rig.ends, 1);
    QVERIFY(!rig.menu().isVisible());
}

void TestStartUp::failedStepsAreOfferedAgain_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("goesOn");
    const QString notFound =
        "Data diskette not found!\r\rInsert data diskette in drive A to continue.";
    const QString protectedText =
        "Data disk write protected!\r\rSet the data disk to writable and replace in drive.";
    QTest::newRow("not found, OK") << 53 << int(Answer::Ok) << notFound << true;
    QTest::newRow("drive not ready, Cancel") << 71 << int(Answer::Cancel) << notFound << false;
    QTest::newRow("engine cannot open, OK") << 3051 << int(Answer::Ok) << notFound << true;
    QTest::newRow("write protected, OK") << 70 << int(Answer::Ok) << protectedText << true;
    QTest::newRow("write protected, Cancel") << 70 << int(Answer::Cancel) << protectedText << false;
    QTest::newRow("other error") << 61 << int(Answer::Ok) << "Error 61:Disk full" << false;
}

void TestStartUp::failedStepsAreOfferedAgain() {
    QFETCH(int, number);
    QFETCH(int, answer);
    QFETCH(QString, text);
    QFETCH(bool, goesOn);
    ProgramRig rig({"A"});
    app::StartUp startUp(rig.state(), rig.program->platform(), rig.program->dataDrive(),
                         rig.menu());
    rig.boxes->script({Answer(answer)});
    int runs = 0;
    const bool result = startUp.attempt([&] {
        if (++runs == 1) {
            throw AppError(number, "Disk full");
        }
    });
    QCOMPARE(result, goesOn);
    QCOMPARE(runs, goesOn ? 2 : 1);
    QCOMPARE(rig.boxes->shown.size(), 1);
    QCOMPARE(rig.boxes->shown[0].text, text);
    QCOMPARE(rig.ends, goesOn ? 0 : 1);
}

void TestStartUp::driveDialogHelpAndChoices() {
    fakes::FakeMessageBoxes boxes;
    const QList<platform::Drive> drives = {{"/media/usb0", "/media/usb0  [AGENCY]", true},
                                           {"/", "/", false}};
    app::frmDriveSelect dialog(drives, "/", boxes);
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Select Drive"));
    QCOMPARE(dialog.findChild<QLabel*>("Label1")->text(),
             QStringLiteral(" Choose the drive associated with the data disk. (Usually A: or F:)"));
    QCOMPARE(dialog.drDrive()->currentIndex(), 1);
    // The drives, "Other folder..." and "New data volume...".
    QCOMPARE(dialog.drDrive()->count(), 4);
    dialog.cmdhelp()->click();
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown[0].text,
             QStringLiteral("Use the dropdown box to select the drive that the floppy data \r\n"
                            "diskette or USB Flash Drive is in. Floppy drives are usually A: or\r\n"
                            "B: and USB drives are usually F: or G:"));
    QCOMPARE(boxes.shown[0].buttons, Buttons::Ok);
    QVERIFY(boxes.shown[0].title.isEmpty());
    // Nothing is chosen before the list is touched or Done pressed.
    QVERIFY(dialog.NewDrive().isEmpty());
    QTest::keyClick(dialog.drDrive(), Qt::Key_Up);
    QCOMPARE(dialog.NewDrive(), QStringLiteral("/media/usb0"));
    dialog.cmdDone()->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void TestStartUp::driveDialogOtherFolder() {
    fakes::FakeMessageBoxes boxes;
    app::frmDriveSelect dialog({{"/", "/", false}}, "/", boxes);
    // A network-share folder as long as the system allows.
    const QString share = "/mnt/" + QString(4000, QLatin1Char('s'));
    QStringList picks = {QString(), "/srv/agency/data", share};
    dialog.setFolderPicker([&] { return picks.takeFirst(); });
    dialog.show();
    // Cancelled folder dialog: the choice stays where it was.
    QTest::keyClick(dialog.drDrive(), Qt::Key_Down);
    QCOMPARE(dialog.drDrive()->currentIndex(), 0);
    QVERIFY(dialog.NewDrive().isEmpty());
    QTest::keyClick(dialog.drDrive(), Qt::Key_Down);
    QCOMPARE(dialog.NewDrive(), QStringLiteral("/srv/agency/data"));
    QCOMPARE(dialog.drDrive()->currentText(), QStringLiteral("/srv/agency/data"));
    QCOMPARE(dialog.drDrive()->itemText(dialog.drDrive()->count() - 2),
             app::frmDriveSelect::OtherFolder);
    // Taken whole, shown whole in its tip, and the dialog keeps to the screen.
    QTest::keyClick(dialog.drDrive(), Qt::Key_Down);
    QCOMPARE(dialog.NewDrive(), share);
    QCOMPARE(
        dialog.drDrive()->itemData(dialog.drDrive()->currentIndex(), Qt::ToolTipRole).toString(),
        share);
    QVERIFY(dialog.sizeHint().width() < 1000);
}

void TestStartUp::restoreRequestBringsMenuBack() {
    ProgramRig rig({"A"});
    QVERIFY(rig.program->start());
    QVERIFY(rig.instance->handler);
    rig.menu().showMinimized();
    rig.instance->handler();
    QVERIFY(rig.menu().isVisible());
    QVERIFY(!rig.menu().isMinimized());
}

QTEST_MAIN(TestStartUp)
#include "test_startup.moc"
