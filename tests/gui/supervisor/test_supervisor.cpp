#include "supervisor/AccessCode.h"
#include "supervisor/DeleteNames.h"
#include "supervisor/frmMyInputBox.h"
#include "supervisor/frmSupervisorOptions.h"
#include "supervisor/frmVerify.h"
#include "support/FakePrinter.h"
#include "support/ScreenDriver.h"
#include "ui/MessagePanel.h"
#include "ui/ScreenKit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>

using namespace tov;
using fakes::ReportRig;
using platform::MessageBoxes;
using records::Field;
using supervisor::frmSupervisorOptions;
using supervisor::frmVerify;

namespace {

const QStringList threeClients = {"ONE, ANN", "TWO, BEN", "THREE, CY"};

// Answers the access-code dialog with the code, or cancels it.
void answerAccessCode(bool enter) {
    fakes::whenModal<supervisor::frmMyInputBox>([enter](supervisor::frmMyInputBox* box) {
        if (!enter) {
            box->kit()->cmdMenuChoice(supervisor::frmMyInputBox::ChoiceCancel)->click();
            return;
        }
        QTest::keyClicks(box->txtInput(), QString(QChar(supervisor::AccessCode)));
        QTest::keyClick(box->txtInput(), Qt::Key_Return);
        QTest::keyClick(box->kit()->cmdMenuChoice(0), Qt::Key_Return);
    });
}

QString responses(const QString& from, const QList<int>& items, QChar answer) {
    QString r = from;
    for (const int n : items) {
        r[n - 1] = answer;
    }
    return r;
}

// True/false items answered 1 and 2 in turn, the multiple-choice items 1 to 4.
QString storedAnswers() {
    QString r;
    for (int n = 1; n <= 73; ++n) {
        r += n <= 67 ? QChar('1' + n % 2) : QChar('1' + n % 4);
    }
    return r;
}

struct VerifyRig : ReportRig {
    VerifyRig() : ReportRig({"ONE, ANN", "TWO, BEN"}) {
        records::ClientRecord r = records::ClientRecord::fromBytes(fakes::clientRecord("TWO, BEN"));
        r.set(Field::Responses, storedAnswers());
        fakes::writeAll(dataFile(), fakes::clientRecord("ONE, ANN") + r.bytes());
        state().clients().LoadClientFile(dataDir);
        state().clients().setCurrentClient(2);
    }
};

} // namespace

class TestSupervisor : public QObject {
    Q_OBJECT

private slots:
    void shiftText_data();
    void shiftText();
    void deleteNamesChangesOnlyIdentity();
    void deleteNamesTwiceSkipsMarked();
    void deleteNamesNoLeavesFile();
    void verifySameAnswers();
    void verifyTwoDiffering();
    void verifyDigitRules_data();
    void verifyDigitRules();
    void verifyBackspace();
    void verifyCancelStoresNothing();
    void tabsShowTheirHelp();
    void changeAccessCodeTab();
    void emptyVolumeMessages_data();
    void emptyVolumeMessages();
    void cancelAccessCodePrintsNothing();
    void printAllInRecordOrder();
    void extraPagesReachTheReport();
};

void TestSupervisor::shiftText_data() {
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("shifted");
    QTest::newRow("capitals and a blank") << "AB CD"
                                          << "DI FK";
    QTest::newRow("small letters") << "abc"
                                   << "dif";
    QTest::newRow("digits and dash") << "123-45"
                                     << "4960;8";
    QTest::newRow("trailing blanks stay") << "A   "
                                          << "D   ";
    // The top of the code page wraps round to its bottom and back.
    QTest::newRow("y diaeresis") << QString::fromUtf8("ÿ") << QString(QChar(2));
    QTest::newRow("thorn") << QString::fromUtf8("þ") << QString(QChar(5));
}

void TestSupervisor::shiftText() {
    QFETCH(QString, plain);
    QFETCH(QString, shifted);
    QCOMPARE(supervisor::ShiftText(plain, 0), shifted);
    QCOMPARE(supervisor::ShiftText(shifted, 1), plain);
}

void TestSupervisor::deleteNamesChangesOnlyIdentity() {
    ReportRig rig({});
    records::ClientRecord a = records::ClientRecord::fromBytes(fakes::clientRecord("AB CD"));
    a.set(Field::SSN, u"123-45-6789");
    a.set(Field::DLNumber, u"D123");
    a.set(Field::Age, u"34");
    records::ClientRecord b =
        records::ClientRecord::fromBytes(fakes::clientRecord(QString::fromUtf8("ÿves, Zoë")));
    fakes::writeAll(rig.dataFile(), a.bytes() + b.bytes());
    QVERIFY(rig.program->start());
    rig.boxes->script({MessageBoxes::Answer::Yes});
    QVERIFY(supervisor::DeleteNames(rig.program->context()));
    QCOMPARE(rig.boxes->shown.size(), 2);
    QCOMPARE(rig.boxes->shown[0].title, QStringLiteral("WARNING!"));
    QCOMPARE(rig.boxes->shown[0].buttons, MessageBoxes::Buttons::YesNo);
    QCOMPARE(rig.boxes->shown[0].icon, MessageBoxes::Icon::Error);
    QCOMPARE(rig.boxes->shown[0].text.split('\r').size(), 7);
    QCOMPARE(rig.boxes->shown[0].text.split('\r')[5], QString());
    QCOMPARE(rig.boxes->shown[1].text,
             QStringLiteral("Process complete. Press Enter to continue."));

    const QByteArray file = fakes::readAll(rig.dataFile());
    QCOMPARE(file.size(), 2 * records::kRecordSize);
    const auto r1 = records::ClientRecord::fromBytes(file.left(records::kRecordSize));
    const auto r2 = records::ClientRecord::fromBytes(file.mid(records::kRecordSize));
    QCOMPARE(r1.trimmed(Field::Name), QStringLiteral("DI FK"));
    QCOMPARE(r1.get(Field::SSN), supervisor::ShiftText(QStringLiteral("123-45-6789"), 0));
    QCOMPARE(r1.trimmed(Field::DLNumber), supervisor::ShiftText(QStringLiteral("D123"), 0));
    QCOMPARE(r1.get(Field::NameDeleted), QStringLiteral("1"));
    // Every byte other than the three fields and the mark is as before.
    records::ClientRecord restored = r1;
    for (const Field f : {Field::Name, Field::SSN, Field::DLNumber}) {
        restored.set(f, supervisor::ShiftText(r1.get(f), 1));
    }
    restored.set(Field::NameDeleted, u"0");
    QCOMPARE(restored, a);
    QCOMPARE(supervisor::ShiftText(r2.get(Field::Name), 1), b.get(Field::Name));
    QCOMPARE(r2.get(Field::NameDeleted), QStringLiteral("1"));
}

void TestSupervisor::deleteNamesTwiceSkipsMarked() {
    ReportRig rig(threeClients);
    QVERIFY(rig.started);
    rig.boxes->script({MessageBoxes::Answer::Yes, MessageBoxes::Answer::Ok,
                       MessageBoxes::Answer::Yes, MessageBoxes::Answer::Ok});
    QVERIFY(supervisor::DeleteNames(rig.program->context()));
    const QByteArray once = fakes::readAll(rig.dataFile());
    QVERIFY(once != fakes::clientRecord("ONE, ANN") + fakes::clientRecord("TWO, BEN") +
                        fakes::clientRecord("THREE, CY"));
    QVERIFY(supervisor::DeleteNames(rig.program->context()));
    QCOMPARE(fakes::readAll(rig.dataFile()), once);
}

void TestSupervisor::deleteNamesNoLeavesFile() {
    ReportRig rig(threeClients);
    QVERIFY(rig.started);
    const QByteArray before = fakes::readAll(rig.dataFile());
    rig.boxes->script({MessageBoxes::Answer::No});
    QVERIFY(!supervisor::DeleteNames(rig.program->context()));
    QCOMPARE(fakes::readAll(rig.dataFile()), before);
    QCOMPARE(rig.boxes->shown.size(), 1);
    QCOMPARE(rig.state().clients().Clients(1).trimmed(Field::Name), QStringLiteral("ONE, ANN"));
}

void TestSupervisor::verifySameAnswers() {
    VerifyRig rig;
    QVERIFY(rig.started);
    const QByteArray before = fakes::readAll(rig.dataFile());
    frmVerify screen(rig.program->context(), &rig.menu());
    QVERIFY(fakes::showScreen(&screen));
    QCOMPARE(screen.lblCurQuestion()->text(), QStringLiteral("Question # 1"));
    QVERIFY(!screen.frPrevQuestion()->isVisible());
    QCOMPARE(screen.msgPanel()->text(), QStringLiteral("Enter response data from answer sheet. "
                                                       "Press Backspace for previous question."));
    fakes::typeText(storedAnswers());
    QCOMPARE(rig.boxes->shown.size(), 1);
    QCOMPARE(rig.boxes->shown[0].text,
             QStringLiteral("Data Verification complete. No corrections needed."));
    QCOMPARE(rig.boxes->shown[0].title, QStringLiteral("Data Verification."));
    QCOMPARE(fakes::readAll(rig.dataFile()), before);
    QVERIFY(!screen.isVisible());
}

void TestSupervisor::verifyTwoDiffering() {
    VerifyRig rig;
    QVERIFY(rig.started);
    frmVerify screen(rig.program->context(), &rig.menu());
    QVERIFY(fakes::showScreen(&screen));
    const QString stored = storedAnswers();
    QString keyed = stored;
    keyed[9] = '0';  // item 10
    keyed[69] = '4'; // item 70, stored 3
    fakes::typeText(keyed);
    QCOMPARE(rig.boxes->shown.size(), 1);
    QCOMPARE(rig.boxes->shown[0].title, QStringLiteral("Data Corrections"));
    QCOMPARE(screen.questionList(), (QList<int>{10, 70}));
    QVERIFY(screen.correcting());
    QCOMPARE(screen.lblCurQuestion()->text(), QStringLiteral("Question # 10"));
    QVERIFY(screen.isVisible());
    fakes::typeText("2");
    QCOMPARE(screen.lblCurQuestion()->text(), QStringLiteral("Question # 70"));
    QCOMPARE(screen.lblPrevQuestion()->text(), QStringLiteral("Question # 10"));
    QCOMPARE(screen.txtPrevQuestion()->text(), QStringLiteral("2"));
    fakes::typeText("4");
    QCOMPARE(rig.boxes->shown.size(), 2);
    QCOMPARE(rig.boxes->shown[1].text, QStringLiteral("Data Verification complete."));
    const auto r =
        records::ClientRecord::fromBytes(fakes::readAll(rig.dataFile()).mid(records::kRecordSize));
    QCOMPARE(r.get(Field::Responses), responses(responses(stored, {10}, '2'), {70}, '4'));
    QVERIFY(!screen.isVisible());
}

void TestSupervisor::verifyDigitRules_data() {
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("3 on true/false") << 1 << "3" << false;
    QTest::newRow("2 on true/false") << 1 << "2" << true;
    QTest::newRow("0 on true/false") << 67 << "0" << true;
    QTest::newRow("3 on item 67") << 67 << "3" << false;
    QTest::newRow("4 on multiple choice") << 68 << "4" << true;
    QTest::newRow("5 on multiple choice") << 73 << "5" << false;
    QTest::newRow("letter") << 5 << "a" << false;
}

void TestSupervisor::verifyDigitRules() {
    QFETCH(int, item);
    QFETCH(QString, key);
    QFETCH(bool, accepted);
    VerifyRig rig;
    QVERIFY(rig.started);
    frmVerify screen(rig.program->context(), &rig.menu());
    QVERIFY(fakes::showScreen(&screen));
    fakes::typeText(storedAnswers().left(item - 1));
    QCOMPARE(screen.position(), item);
    fakes::typeText(key);
    QCOMPARE(screen.position(), accepted ? item + 1 : item);
    QCOMPARE(rig.boxes->beeps, accepted ? 0 : 1);
}

void TestSupervisor::verifyBackspace() {
    VerifyRig rig;
    QVERIFY(rig.started);
    frmVerify screen(rig.program->context(), &rig.menu());
    QVERIFY(fakes::showScreen(&screen));
    fakes::press(Qt::Key_Backspace);
    QCOMPARE(screen.position(), 1);
    QCOMPARE(screen.lblCurQuestion()->text(), QStringLiteral("Question # 1"));
    fakes::typeText("12");
    QCOMPARE(screen.position(), 3);
    fakes::press(Qt::Key_Backspace);
    QCOMPARE(screen.position(), 2);
    QCOMPARE(screen.lblCurQuestion()->text(), QStringLiteral("Question # 2"));
    QCOMPARE(screen.txtCurQuestion()->text(), QStringLiteral("2"));
    fakes::typeText("1");
    QCOMPARE(screen.txtPrevQuestion()->text(), QStringLiteral("1"));
}

void TestSupervisor::verifyCancelStoresNothing() {
    VerifyRig rig;
    QVERIFY(rig.started);
    const QByteArray before = fakes::readAll(rig.dataFile());
    frmVerify screen(rig.program->context(), &rig.menu());
    QVERIFY(fakes::showScreen(&screen));
    QString keyed = storedAnswers();
    keyed[0] = '0';
    fakes::typeText(keyed); // into the correction pass
    QVERIFY(screen.correcting());
    fakes::press(Qt::Key_Tab);
    QCOMPARE(screen.msgPanel()->text(), QStringLiteral("Press Enter to Cancel Data Verification "
                                                       "and return to Main Menu"));
    fakes::press(Qt::Key_Return);
    QVERIFY(!screen.isVisible());
    QCOMPARE(fakes::readAll(rig.dataFile()), before);
    QCOMPARE(rig.state().clients().Clients(2).get(Field::Responses), storedAnswers());
}

void TestSupervisor::tabsShowTheirHelp() {
    ReportRig rig(threeClients);
    QVERIFY(rig.started);
    rig.state().clients().setCurrentClient(2);
    frmSupervisorOptions screen(rig.program->context(), rig.printer, &rig.menu());
    QVERIFY(fakes::showScreen(&screen));
    QCOMPARE(screen.lblNameDisplay()->text(), QStringLiteral("TWO, BEN"));
    QCOMPARE(screen.msgPanel()->text(), QString());
    fakes::press(Qt::Key_Right);
    QCOMPARE(screen.sstSupervisorOperations()->currentIndex(), 1);
    QCOMPARE(screen.msgPanel()->text(),
             QStringLiteral("Click Execute to perform data verification."));
    fakes::press(Qt::Key_Right);
    QCOMPARE(screen.msgPanel()->text(),
             QStringLiteral("Click Execute to perform delete names operation."));
    QCOMPARE(screen.lblNameDisplay()->text(), QStringLiteral("All Clients"));
    fakes::saveShot(&screen, "frmSupervisorOptions");
    fakes::press(Qt::Key_Left);
    QCOMPARE(screen.lblNameDisplay()->text(), QStringLiteral("TWO, BEN"));
    screen.kit()->cmdMenuChoice(frmSupervisorOptions::ChoiceExecute)->setFocus();
    QCOMPARE(screen.msgPanel()->text(),
             QStringLiteral("Click Execute to perform data verification."));
}

// The fourth tab, by keys: the current code, the new one twice; then the reports take the new code.
void TestSupervisor::changeAccessCodeTab() {
    ReportRig rig(threeClients);
    QVERIFY(rig.started);
    frmSupervisorOptions screen(rig.program->context(), rig.printer, &rig.menu());
    QVERIFY(fakes::showScreen(&screen));
    for (int i = 0; i < 3; ++i) {
        fakes::press(Qt::Key_Right);
    }
    QCOMPARE(screen.sstSupervisorOperations()->tabText(3), QStringLiteral("Change Access Code"));
    QCOMPARE(screen.msgPanel()->text(), QStringLiteral("Click Execute to change the access code."));
    fakes::saveShot(&screen, "frmSupervisorOptions_accesscode");
    QStringList entries = {"z", "Desk42", "desk42"};
    std::function<void()> answer = [&] {
        fakes::whenModal<supervisor::frmMyInputBox>([&](supervisor::frmMyInputBox* box) {
            const QString entry = entries.takeFirst();
            if (!entries.isEmpty()) {
                answer();
            }
            QTest::keyClicks(box->txtInput(), entry);
            QTest::keyClick(box->txtInput(), Qt::Key_Return);
            QTest::keyClick(box->kit()->cmdMenuChoice(0), Qt::Key_Return);
        });
    };
    answer();
    screen.kit()->cmdMenuChoice(frmSupervisorOptions::ChoiceExecute)->click();
    QCOMPARE(rig.boxes->texts(), QStringList{"The access code has been changed."});
    QVERIFY(entries.isEmpty());
    QCOMPARE(supervisor::CheckAccessCode("DESK42", rig.state().settings().accessCode()),
             supervisor::CodeCheck::Right);
}

void TestSupervisor::emptyVolumeMessages_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("title");
    QTest::newRow("reports") << 0 << "Print Report";
    QTest::newRow("verify") << 1 << "Verify Data";
    QTest::newRow("delete names") << 2 << "Delete Names";
}

void TestSupervisor::emptyVolumeMessages() {
    QFETCH(int, tab);
    QFETCH(QString, title);
    ReportRig rig({});
    QVERIFY(rig.started);
    frmSupervisorOptions screen(rig.program->context(), rig.printer, &rig.menu());
    screen.show();
    QCOMPARE(rig.boxes->shown.size(), 1);
    QCOMPARE(rig.boxes->shown[0].title, QStringLiteral("Empty Data Disk"));
    QCOMPARE(rig.boxes->shown[0].text,
             QStringLiteral("There are no clients on this data disk.\rReturning to main menu."));
    QTRY_VERIFY(!screen.isVisible());
    // Reached all the same, Execute refuses with the tab's own title.
    screen.sstSupervisorOperations()->setCurrentIndex(tab);
    screen.kit()->cmdMenuChoice(frmSupervisorOptions::ChoiceExecute)->click();
    QCOMPARE(rig.boxes->shown.size(), 2);
    QCOMPARE(rig.boxes->shown[1].text, QStringLiteral("Cannot perform this function.\r"
                                                      "Database empty."));
    QCOMPARE(rig.boxes->shown[1].title, title);
    QVERIFY(rig.printer.printed.isEmpty());
}

void TestSupervisor::cancelAccessCodePrintsNothing() {
    ReportRig rig(threeClients);
    QVERIFY(rig.started);
    rig.state().clients().setCurrentClient(1);
    frmSupervisorOptions screen(rig.program->context(), rig.printer, &rig.menu());
    QVERIFY(fakes::showScreen(&screen));
    screen.optPrintOption(frmSupervisorOptions::PrintAll)->click();
    screen.kit()->cmdMenuChoice(frmSupervisorOptions::ChoiceExecute)->setFocus();
    answerAccessCode(false);
    fakes::press(Qt::Key_Return);
    QVERIFY(rig.printer.printed.isEmpty());
    QVERIFY(!QFile::exists(rig.programFile("report.prn")));
    QVERIFY(!QFile::exists(rig.programFile("temp1")));
    QVERIFY(!screen.isVisible());
}

void TestSupervisor::printAllInRecordOrder() {
    ReportRig rig(threeClients);
    QVERIFY(rig.started);
    rig.state().clients().setCurrentClient(3);
    frmSupervisorOptions screen(rig.program->context(), rig.printer, &rig.menu());
    QVERIFY(fakes::showScreen(&screen));
    screen.optPrintOption(frmSupervisorOptions::PrintAll)->setFocus();
    fakes::press(Qt::Key_Space);
    screen.kit()->cmdMenuChoice(frmSupervisorOptions::ChoiceExecute)->setFocus();
    answerAccessCode(true);
    // The numbered copies as the first report reaches the printer: every report is written first.
    QList<QByteArray> copies;
    rig.printer.onPrint = [&](const platform::PrintJob&) {
        if (copies.isEmpty()) {
            for (int n = 1; n <= 3; ++n) {
                copies << fakes::readAll(rig.programFile(QStringLiteral("temp%1").arg(n)));
            }
        }
    };
    fakes::press(Qt::Key_Return);
    QCOMPARE(rig.printer.printed.size(), 3);
    QCOMPARE(copies.size(), 3);
    for (int n = 1; n <= 3; ++n) {
        QVERIFY(rig.printer.printed[n - 1].pages.join("").contains(threeClients[n - 1]));
        QVERIFY(copies[n - 1].contains(threeClients[n - 1].toLatin1()));
        // Gone with the batch.
        QVERIFY(!QFile::exists(rig.programFile(QStringLiteral("temp%1").arg(n))));
    }
    QCOMPARE(rig.state().clients().CurrentClient(), 1);
    QVERIFY(!screen.isVisible());
}

void TestSupervisor::extraPagesReachTheReport() {
    ReportRig rig(threeClients);
    QVERIFY(rig.started);
    rig.state().clients().setCurrentClient(1);
    int plain = 0;
    for (const bool extra : {false, true}) {
        rig.printer.printed.clear();
        frmSupervisorOptions screen(rig.program->context(), rig.printer, &rig.menu());
        QVERIFY(fakes::showScreen(&screen));
        screen.optPrintOption(frmSupervisorOptions::PrintAll)->click();
        screen.chkSumPage()->setChecked(extra);
        screen.chkClientPage()->setChecked(extra);
        screen.kit()->cmdMenuChoice(frmSupervisorOptions::ChoiceExecute)->setFocus();
        answerAccessCode(true);
        fakes::press(Qt::Key_Return);
        QCOMPARE(rig.printer.printed.size(), 3);
        const auto pages = rig.printer.printed[0].pages.size();
        if (!extra) {
            plain = static_cast<int>(pages);
        } else {
            QCOMPARE(pages, plain + 2);
        }
    }
}

QTEST_MAIN(TestSupervisor)
#include "test_supervisor.moc"
