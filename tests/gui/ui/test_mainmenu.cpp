#include "app/frmAbout.h"
#include "app/frmDriveSelect.h"
#include "support/ProgramRig.h"
#include "ui/MenuChoice.h"
#include "ui/MessagePanel.h"
#include "ui/ScreenKit.h"
#include "ui/frmMainMenu.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

using namespace tov;
using fakes::ProgramRig;
using ui::frmMainMenu;

namespace {

const QStringList kThree = {"Harmon, Della J.", "Ortega-Ruiz, Marco", "Whitfield, Samuel R."};

QPushButton* choice(ProgramRig& rig, int i) {
    return rig.menu().kit()->cmdMenuChoice(i);
}

// Every sequence available, each recording that it ran.
struct Recorder {
    QStringList ran;
    frmMainMenu::Sequences sequences(ProgramRig& rig) {
        auto note = [this, &rig](const QString& name) {
            return [this, &rig, name] {
                ran << name;
                QVERIFY(!rig.menu().frMainMenu()->isVisible());
                QVERIFY(!rig.menu().ListRefreshAllowed);
            };
        };
        return {note("edit"), note("add"), note("supervisor")};
    }
};

bool startRig(ProgramRig& rig) {
    if (!rig.program->start()) {
        return false;
    }
    QApplication::setActiveWindow(&rig.menu());
    return QTest::qWaitForWindowActive(&rig.menu());
}

} // namespace

class TestMainMenu : public QObject {
    Q_OBJECT

private slots:
    void listsClientsWithFullNames();
    void choosingEntrySetsCurrentClient_data();
    void choosingEntrySetsCurrentClient();
    void arrowKeysChooseClients();
    void editEnabledOnlyWithSelection();
    void emptyTableSendsFocusToAdd();
    void fullTableDisablesAdd();
    void choicesWithoutScreensStayDisabled();
    void sequencesRunGuardFirst();
    void failedGuardOpensNothing();
    void reinsertedDiskLetsSequenceRun();
    void listRebuiltAfterSequence();
    void numLockEntryWritesSettings();
    void numLockEnforcedEverySecond();
    void printToDosPortDoesNothing();
    void exitEndsProgram();
    void aboutBoxIsModalWithOk();
    void contentMarks_data();
    void contentMarks();
    void selectDataDriveFromMenu();
    void secondCopyTouchesNothing();
};

void TestMainMenu::listsClientsWithFullNames() {
    ProgramRig rig(kThree);
    QVERIFY(startRig(rig));
    QListWidget* list = rig.menu().lbNameDisplay();
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->item(0)->text(), QStringLiteral("1-Harmon, Della J.         "));
    QCOMPARE(list->item(1)->text(), QStringLiteral("2-Ortega-Ruiz, Marco       "));
    QCOMPARE(list->item(2)->text(), QStringLiteral("3-Whitfield, Samuel R.     "));
    QCOMPARE(rig.menu().windowTitle(), QStringLiteral("Tovaline II - Short Form"));
    QVERIFY(rig.menu().isVisible());
    fakes::saveShot(&rig.menu(), "main_menu");
}

void TestMainMenu::choosingEntrySetsCurrentClient_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("current");
    QTest::newRow("first") << 0 << 1;
    QTest::newRow("name with a hyphen") << 1 << 2;
    QTest::newRow("third") << 2 << 3;
}

void TestMainMenu::choosingEntrySetsCurrentClient() {
    QFETCH(int, row);
    QFETCH(int, current);
    ProgramRig rig(kThree);
    QVERIFY(startRig(rig));
    QListWidget* list = rig.menu().lbNameDisplay();
    const QRect r = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
    QCOMPARE(rig.state().clients().CurrentClient(), current);
}

void TestMainMenu::arrowKeysChooseClients() {
    ProgramRig rig(kThree);
    QVERIFY(startRig(rig));
    QListWidget* list = rig.menu().lbNameDisplay();
    QTRY_VERIFY(list->hasFocus());
    QCOMPARE(rig.menu().msgPanel()->text(),
             QStringLiteral("Use up or down arrow keys or mouse to select client."));
    QCOMPARE(rig.menu().fraClient()->palette().color(QPalette::Window), QColor(0, 255, 255));
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(list->currentRow(), 1);
    QCOMPARE(rig.state().clients().CurrentClient(), 2);
    QTest::keyClick(list, Qt::Key_End);
    QCOMPARE(rig.state().clients().CurrentClient(), 3);
    QTest::keyClick(list, Qt::Key_Up);
    QCOMPARE(rig.state().clients().CurrentClient(), 2);
    // Leaving the list: blue frame, white caption, empty help line.
    QTest::keyClick(list, Qt::Key_Tab);
    QVERIFY(!list->hasFocus());
    QCOMPARE(rig.menu().fraClient()->palette().color(QPalette::Window), QColor(0, 0, 255));
    QCOMPARE(rig.menu().fraClient()->palette().color(QPalette::WindowText), QColor(Qt::white));
}

void TestMainMenu::editEnabledOnlyWithSelection() {
    ProgramRig rig(kThree);
    Recorder rec;
    rig.menu().setSequences(rec.sequences(rig));
    QVERIFY(startRig(rig));
    QListWidget* list = rig.menu().lbNameDisplay();
    QTRY_VERIFY(list->hasFocus());
    // The list has the focus but no client is chosen yet.
    QVERIFY(list->currentItem() == nullptr);
    QVERIFY(!choice(rig, frmMainMenu::EditCurrentClient)->isEnabled());
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(list->currentRow(), 0);
    QVERIFY(list->currentItem()->isSelected());
    QCOMPARE(rig.state().clients().CurrentClient(), 1);
    QVERIFY(choice(rig, frmMainMenu::EditCurrentClient)->isEnabled());
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(rig.state().clients().CurrentClient(), 2);
    // Back from a sequence the same client is shown chosen.
    choice(rig, frmMainMenu::SupervisorOptions)->click();
    QCOMPARE(list->currentRow(), 1);
    QVERIFY(choice(rig, frmMainMenu::EditCurrentClient)->isEnabled());
}

void TestMainMenu::emptyTableSendsFocusToAdd() {
    ProgramRig rig({});
    Recorder rec;
    rig.menu().setSequences(rec.sequences(rig));
    QVERIFY(startRig(rig));
    QCOMPARE(rig.state().clients().ClientCount(), 0);
    QCOMPARE(rig.state().clients().CurrentClient(), 0);
    QTRY_VERIFY(choice(rig, frmMainMenu::AddNewClient)->hasFocus());
    QCOMPARE(rig.menu().msgPanel()->text(),
             QStringLiteral("Enter a new client. Test client on computer or enter data from "
                            "answer sheet."));
    // Tabbing into the list from the last choice lands on "Add New Client" again.
    choice(rig, frmMainMenu::ExitApplication)->setFocus();
    QTest::keyClick(choice(rig, frmMainMenu::ExitApplication), Qt::Key_Tab);
    QTRY_VERIFY(choice(rig, frmMainMenu::AddNewClient)->hasFocus());
    QVERIFY(!choice(rig, frmMainMenu::EditCurrentClient)->isEnabled());
}

void TestMainMenu::fullTableDisablesAdd() {
    QStringList many;
    for (int i = 1; i <= 51; ++i) {
        many << QString("Client %1").arg(i);
    }
    ProgramRig rig(many);
    Recorder rec;
    rig.menu().setSequences(rec.sequences(rig));
    QVERIFY(startRig(rig));
    QCOMPARE(rig.menu().lbNameDisplay()->count(), 51);
    QVERIFY(!choice(rig, frmMainMenu::AddNewClient)->isEnabled());

    ProgramRig fifty(many.mid(0, 50));
    fifty.menu().setSequences(rec.sequences(fifty));
    QVERIFY(startRig(fifty));
    QVERIFY(choice(fifty, frmMainMenu::AddNewClient)->isEnabled());
}

void TestMainMenu::choicesWithoutScreensStayDisabled() {
    ProgramRig rig(kThree);
    QVERIFY(startRig(rig));
    rig.menu().lbNameDisplay()->setCurrentRow(0);
    // Every work sequence has its screens now.
    QVERIFY(choice(rig, frmMainMenu::EditCurrentClient)->isEnabled());
    QVERIFY(choice(rig, frmMainMenu::AddNewClient)->isEnabled());
    QVERIFY(choice(rig, frmMainMenu::SupervisorOptions)->isEnabled());
    QVERIFY(choice(rig, frmMainMenu::ExitApplication)->isEnabled());
}

void TestMainMenu::sequencesRunGuardFirst() {
    ProgramRig rig(kThree);
    Recorder rec;
    rig.menu().setSequences(rec.sequences(rig));
    QVERIFY(startRig(rig));
    rig.menu().lbNameDisplay()->setCurrentRow(0);
    const int readsBefore = rig.volumes->reads.size();
    for (int i : {frmMainMenu::EditCurrentClient, frmMainMenu::AddNewClient,
                  frmMainMenu::SupervisorOptions}) {
        choice(rig, i)->setFocus();
        QTest::keyClick(choice(rig, i), Qt::Key_Return);
    }
    QCOMPARE(rec.ran, QStringList({"edit", "add", "supervisor"}));
    QCOMPARE(rig.volumes->reads.size() - readsBefore, 3);
    QVERIFY(rig.menu().frMainMenu()->isVisible());
    QVERIFY(rig.menu().ListRefreshAllowed);
    QVERIFY(rig.menu().CloseOthersOnActivate);
    QVERIFY(rig.boxes->shown.isEmpty());
}

void TestMainMenu::failedGuardOpensNothing() {
    ProgramRig rig(kThree);
    Recorder rec;
    rig.menu().setSequences(rec.sequences(rig));
    QVERIFY(startRig(rig));
    const QByteArray before = fakes::readAll(rig.dataFile());
    rig.volumes->ids[rig.dataDir] = "SOME-OTHER-STICK";
    choice(rig, frmMainMenu::AddNewClient)->click();
    QVERIFY(rec.ran.isEmpty());
    QCOMPARE(rig.boxes->shown.size(), 2);
    QCOMPARE(rig.boxes->shown[0].title, QStringLiteral("Data Disk Changed"));
    QCOMPARE(rig.boxes->shown[1].title, QStringLiteral("Data Disk Not Found"));
    QCOMPARE(rig.ends, 1);
    QCOMPARE(fakes::readAll(rig.dataFile()), before);
}

void TestMainMenu::reinsertedDiskLetsSequenceRun() {
    ProgramRig rig(kThree);
    Recorder rec;
    rig.menu().setSequences(rec.sequences(rig));
    QVERIFY(startRig(rig));
    rig.volumes->ids.remove(rig.dataDir); // pulled out
    rig.boxes->onShow = [&rig](const fakes::FakeMessageBoxes::Shown&) {
        rig.volumes->ids[rig.dataDir] = "DATA-VOL"; // put back before OK
    };
    choice(rig, frmMainMenu::AddNewClient)->click();
    QCOMPARE(rig.boxes->shown.size(), 1);
    QCOMPARE(rig.boxes->shown[0].title, QStringLiteral("Data Disk Changed"));
    QCOMPARE(rec.ran, QStringList({"add"}));
    QCOMPARE(rig.ends, 0);
}

void TestMainMenu::listRebuiltAfterSequence() {
    ProgramRig rig(kThree);
    frmMainMenu::Sequences seq;
    // A sequence that stores a fourth client, as adding one does.
    seq.AddNewClient = [&rig] {
        auto& table = rig.state().clients();
        const int slot = table.ClientCount() + 1;
        table.setCurrentClient(slot);
        table.Clients(slot).set(records::Field::Name, u"Newcomer, Pat");
        table.PutClientRecord(slot);
    };
    rig.menu().setSequences(seq);
    QVERIFY(startRig(rig));
    choice(rig, frmMainMenu::AddNewClient)->click();
    QListWidget* list = rig.menu().lbNameDisplay();
    QCOMPARE(list->count(), 4);
    QCOMPARE(list->item(3)->text(), QStringLiteral("4-Newcomer, Pat            "));
    QCOMPARE(fakes::readAll(rig.dataFile()).size(), 4 * 190);
}

void TestMainMenu::numLockEntryWritesSettings() {
    ProgramRig rig(kThree);
    QVERIFY(startRig(rig));
    QVERIFY(rig.state().NumLockOn());
    QVERIFY(rig.menu().mnuNumLock()->isChecked());
    rig.menu().mnuNumLock()->trigger();
    QVERIFY(!rig.state().NumLockOn());
    QVERIFY(!rig.menu().mnuNumLock()->isChecked());
    QVERIFY(fakes::readAll(rig.iniFile()).contains("NumLock=False\n"));
    rig.menu().mnuNumLock()->trigger();
    QVERIFY(rig.state().NumLockOn());
    QVERIFY(rig.menu().mnuNumLock()->isChecked());
    QVERIFY(fakes::readAll(rig.iniFile()).contains("NumLock=True\n"));
}

void TestMainMenu::numLockEnforcedEverySecond() {
    ProgramRig rig(kThree, "[Settings]\nNumLock=False\n");
    QVERIFY(startRig(rig));
    QVERIFY(!rig.state().NumLockOn());
    QVERIFY(!rig.menu().mnuNumLock()->isChecked());
    rig.keyboard->on = true;
    QTRY_COMPARE_WITH_TIMEOUT(rig.keyboard->on, std::optional<bool>(false), 1500);
    rig.menu().mnuNumLock()->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(rig.keyboard->on, std::optional<bool>(true), 1500);
    rig.keyboard->on = false; // the operator presses Num Lock
    QTRY_COMPARE_WITH_TIMEOUT(rig.keyboard->on, std::optional<bool>(true), 1500);
}

void TestMainMenu::printToDosPortDoesNothing() {
    ProgramRig rig(kThree);
    QVERIFY(startRig(rig));
    const QByteArray ini = fakes::readAll(rig.iniFile());
    const QByteArray data = fakes::readAll(rig.dataFile());
    rig.menu().mnuPrintDos()->trigger();
    QCOMPARE(fakes::readAll(rig.iniFile()), ini);
    QCOMPARE(fakes::readAll(rig.dataFile()), data);
    QVERIFY(rig.boxes->shown.isEmpty());
    QVERIFY(rig.menu().isVisible());
    QCOMPARE(rig.ends, 0);
}

void TestMainMenu::exitEndsProgram() {
    ProgramRig rig(kThree);
    QVERIFY(startRig(rig));
    const QByteArray data = fakes::readAll(rig.dataFile());
    QPushButton* exitButton = choice(rig, frmMainMenu::ExitApplication);
    rig.menu().lbNameDisplay()->setFocus();
    QTest::keyClick(rig.menu().lbNameDisplay(), Qt::Key_Backtab);
    QTRY_VERIFY(exitButton->hasFocus());
    QCOMPARE(rig.menu().msgPanel()->text(), QStringLiteral("Quit the program."));
    QCOMPARE(rig.menu().LastMenuChoice, 3);
    QTest::keyClick(exitButton, Qt::Key_Return);
    QCOMPARE(rig.ends, 1);
    QCOMPARE(fakes::readAll(rig.dataFile()), data);

    ProgramRig viaMenu(kThree);
    QVERIFY(startRig(viaMenu));
    viaMenu.menu().mnuExit()->trigger();
    QCOMPARE(viaMenu.ends, 1);
    QCOMPARE(viaMenu.menu().mnuExit()->text(), QStringLiteral("E&xit!"));
}

void TestMainMenu::aboutBoxIsModalWithOk() {
    ProgramRig rig(kThree, "[Settings]\nPublisher=Tessaran\n");
    QVERIFY(startRig(rig));
    bool seen = false;
    fakes::whenModal<app::frmAbout>([&](app::frmAbout* about) {
        seen = true;
        QCOMPARE(about->windowTitle(), QStringLiteral("About Tovaline-II Short Form"));
        QVERIFY(!about->Splash());
        QVERIFY(about->cmdOK()->isVisible());
        QCOMPARE(about->findChild<QLabel*>("SSPanel1")->text(),
                 QStringLiteral("Tessaran Behavioral Measures"));
        fakes::saveShot(about, "about_box");
        QTest::keyClick(about->cmdOK(), Qt::Key_Return);
    });
    rig.menu().mnuAbout()->trigger();
    QVERIFY(seen);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

// Demonstration content never passes for real: the main menu and the About box say so while it
// is in force, and name any other set instead.
void TestMainMenu::contentMarks_data() {
    QTest::addColumn<QString>("name"); // of the manifest in the program folder; none when empty
    QTest::addColumn<bool>("demonstration");
    QTest::addColumn<QString>("about"); // the About box's content line; empty: the banner
    QTest::newRow("demonstration set") << "Demonstration content" << true << "";
    QTest::newRow("agency set") << "County Set" << false << "Content: County Set 3 (County)";
    QTest::newRow("no manifest") << "" << false << "Content: the program folder's own files";
}

void TestMainMenu::contentMarks() {
    QFETCH(QString, name);
    QFETCH(bool, demonstration);
    QFETCH(QString, about);
    ProgramRig rig(kThree);
    if (!name.isEmpty()) {
        content::Manifest m{name, "3", "County", {}, demonstration, {}};
        m.files.insert("TOV2SF.MDB", QString(64, '0'));
        fakes::writeAll(rig.programDir + "/content.json", m.toJson());
    }
    QVERIFY(startRig(rig));
    QCOMPARE(rig.menu().lblDemonstration()->isVisible(), demonstration);
    QCOMPARE(rig.menu().lblDemonstration()->text(),
             QStringLiteral("Demonstration content - scores are not valid"));
    if (demonstration) {
        fakes::saveShot(&rig.menu(), "main_menu_demonstration");
    }
    bool seen = false;
    fakes::whenModal<app::frmAbout>([&](app::frmAbout* box) {
        seen = true;
        auto* banner = box->findChild<QLabel*>("lblDemonstration");
        auto* line = box->findChild<QLabel*>("lblContent");
        QCOMPARE(banner != nullptr && banner->isVisible(), about.isEmpty());
        QCOMPARE(line != nullptr ? line->text() : QString(), about);
        box->accept();
    });
    rig.menu().mnuAbout()->trigger();
    QVERIFY(seen);
}

void TestMainMenu::selectDataDriveFromMenu() {
    ProgramRig rig(kThree);
    QTemporaryDir other;
    fakes::writeAll(other.filePath("DATA401.TOV"), fakes::clientRecord("Other, Olga"));
    rig.volumes->ids[other.path()] = "OTHER-VOL";
    rig.drives->list = {{rig.dataDir, rig.dataDir, false}, {other.path(), "USB stick", true}};
    QVERIFY(startRig(rig));
    fakes::whenModal<app::frmDriveSelect>([&](app::frmDriveSelect* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Select Drive"));
        QCOMPARE(dialog->drDrive()->currentText(), rig.dataDir);
        fakes::saveShot(dialog, "drive_select");
        QTest::keyClick(dialog->drDrive(), Qt::Key_Down);
        QCOMPARE(dialog->NewDrive(), other.path());
        dialog->cmdDone()->click();
    });
    rig.menu().mnuSelectDrive()->trigger();
    QCOMPARE(rig.state().DataPath(), other.path());
    QCOMPARE(rig.state().StartupDiskId(), QStringLiteral("OTHER-VOL"));
    QCOMPARE(rig.menu().lbNameDisplay()->count(), 1);
    QCOMPARE(rig.menu().lbNameDisplay()->item(0)->text(),
             QStringLiteral("1-Other, Olga              "));
    QVERIFY(fakes::readAll(rig.iniFile()).contains("FilePath=" + other.path().toUtf8() + "\n"));
}

void TestMainMenu::secondCopyTouchesNothing() {
    ProgramRig rig(kThree);
    rig.instance->running = true;
    const QByteArray ini = fakes::readAll(rig.iniFile());
    QVERIFY(!rig.program->start());
    QCOMPARE(rig.instance->restoredTitles, QStringList({"Tovaline II - Short Form"}));
    QCOMPARE(fakes::readAll(rig.iniFile()), ini);
    QVERIFY(!rig.menu().isVisible());
    QVERIFY(rig.volumes->reads.isEmpty());
    QCOMPARE(rig.fs->calls(fakes::FaultyFileSystem::Op::Read), 0);
}

QTEST_MAIN(TestMainMenu)
#include "test_mainmenu.moc"
