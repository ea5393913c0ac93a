#include "intake/frmCourtHistory.h"
#include "support/ProgramRig.h"
#include "support/ScreenDriver.h"
#include "ui/MessagePanel.h"
#include "ui/ScreenKit.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace tov;
using fakes::press;
using fakes::ProgramRig;
using fakes::typeText;
using intake::frmCourtHistory;
using records::Field;

namespace {

const QString kCountMessage =
    "Enter a number 0 through 99, or N for not available. Press Enter to continue.";
const QString kBacMessage =
    "Enter blood alcohol level, R for Refused or N for not available. Press Enter to continue.";
const QString kShortDateMessage = "Enter date of arrest month, day, year as mm/dd/yy or N for Not "
                                  "Available. Press Enter to continue.";
const QString kLongDateMessage = "Enter date of arrest month, day, year as mm/dd/yyyy or N for "
                                 "Not Available. Press Enter to continue.";

struct Rig : ProgramRig {
    Rig() : ProgramRig({"Harmon, Della J.", "Second, Sam"}) { QVERIFY(program->start()); }
    std::unique_ptr<frmCourtHistory> open(bool editing, int client) {
        state().clients().setCurrentClient(client);
        auto screen = std::make_unique<frmCourtHistory>(
            program->context(),
            editing ? intake::ClientMode::EditClient : intake::ClientMode::NewClient, &menu());
        if (!fakes::showScreen(screen.get())) {
            return nullptr;
        }
        return screen;
    }
};

// Types one value in each field with Enter.
void typeAll(const QStringList& values) {
    for (const QString& v : values) {
        typeText(v);
        press(Qt::Key_Return);
    }
}

} // namespace

class TestCourtHistory : public QObject {
    Q_OBJECT

private slots:
    void newClientFromKeyboard();
    void countField_data();
    void countField();
    void bacField_data();
    void bacField();
    void dateField_data();
    void dateField();
    void dateFieldRefusesLetters();
    void staffBacLeftEmpty();
    void staffBacRefusesWhatTheFileLacks();
    void staffCountEmptyReported();
    void editingWritesAtOnce();
    void cancelNewClientClearsSlot();
    void abortKeyLeavesEverything();
};

void TestCourtHistory::newClientFromKeyboard() {
    Rig rig;
    const QByteArray before = fakes::readAll(rig.dataFile());
    // The client information screen has filled slot 3 in memory.
    rig.state().clients().Clients(3).set(Field::Name, u"New, Nora");
    auto screen = rig.open(false, 3);
    QVERIFY(screen);
    QCOMPARE(screen->windowTitle(), QStringLiteral("Court History"));
    QCOMPARE(screen->lblClientName()->text(), QStringLiteral("New, Nora"));
    QVERIFY(screen->field(0)->hasFocus());
    QCOMPARE(screen->msgPanel()->text(),
             QStringLiteral("Enter a number 0 through 99 or N for not available, then press "
                            "Enter."));
    QVERIFY(screen->kit()->lblInfo(0)->font().bold());
    typeAll({"1", "0", "n", "2", "12", "0", "1", "0"});
    QVERIFY(screen->field(frmCourtHistory::DateOfPresentArrest)->hasFocus());
    QCOMPARE(screen->msgPanel()->text(),
             QStringLiteral("Type date of arrest in the form MM/DD/YYYY or N for not available, "
                            "then press Enter."));
    typeAll({"9/8/2026", ".15", "1"});
    QVERIFY(screen->field(frmCourtHistory::StBAC)->hasFocus());
    typeAll({"r"});
    QVERIFY(screen->kit()->cmdMenuChoice(0)->hasFocus());
    fakes::saveShot(screen.get(), "court_history_filled");
    press(Qt::Key_Return);
    QVERIFY(!screen->isVisible());
    QVERIFY(rig.boxes->shown.isEmpty());
    QVERIFY(screen->ProceedToNext());
    QCOMPARE(rig.state().clients().Clients(3).bytes().mid(77, 38),
             QByteArray("1 0 N 2 120 1 0 09/08/2026.15  1 R    "));
    QCOMPARE(fakes::readAll(rig.dataFile()), before);
}

void TestCourtHistory::countField_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("0") << "0"
                       << "0" << true;
    QTest::newRow("00") << "00"
                        << "00" << false;
    QTest::newRow("empty") << ""
                           << "" << false;
    QTest::newRow("99") << "99"
                        << "99" << true;
    QTest::newRow("n") << "n"
                       << "N" << true;
    QTest::newRow("x") << "x"
                       << "x" << false;
}

void TestCourtHistory::countField() {
    QFETCH(QString, typed);
    QFETCH(QString, after);
    QFETCH(bool, accepted);
    Rig rig;
    auto screen = rig.open(false, 3);
    QVERIFY(screen);
    screen->field(frmCourtHistory::MViolations)->setFocus();
    typeText(typed);
    press(Qt::Key_Tab);
    QCOMPARE(screen->field(frmCourtHistory::MViolations)->text(), after);
    QCOMPARE(screen->field(frmCourtHistory::Accidents)->hasFocus(), accepted);
    if (!accepted) {
        QCOMPARE(rig.boxes->texts(), QStringList({kCountMessage}));
        QCOMPARE(rig.boxes->shown[0].title, QStringLiteral("Data Entry Error"));
        QCOMPARE(rig.boxes->beeps, 1);
    }
}

void TestCourtHistory::bacField_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("accepted");
    QTest::newRow(".08") << ".08"
                         << ".08" << true;
    QTest::newRow("0.08") << "0.08"
                          << "0.08" << true;
    QTest::newRow("0") << "0"
                       << "0" << false;
    QTest::newRow("1") << "1"
                       << "1" << false;
    QTest::newRow("1.0") << "1.0"
                         << "1.0" << false;
    QTest::newRow("r") << "r"
                       << "R" << true;
    QTest::newRow("n") << "n"
                       << "N" << true;
    QTest::newRow("NA") << "NA"
                        << "NA" << false;
}

void TestCourtHistory::bacField() {
    QFETCH(QString, typed);
    QFETCH(QString, after);
    QFETCH(bool, accepted);
    Rig rig;
    auto screen = rig.open(false, 3);
    QVERIFY(screen);
    screen->field(frmCourtHistory::BAC)->setFocus();
    QCOMPARE(screen->msgPanel()->text(),
             QStringLiteral("Enter blood alcohol level, R for Refused or N for not available, "
                            "then press Enter."));
    typeText(typed);
    press(Qt::Key_Return);
    QCOMPARE(screen->field(frmCourtHistory::BAC)->text(), after);
    QCOMPARE(screen->field(frmCourtHistory::StPriorDUI)->hasFocus(), accepted);
    if (!accepted) {
        QCOMPARE(rig.boxes->texts(), QStringList({kBacMessage}));
    }
}

void TestCourtHistory::dateField_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("message"); // empty: accepted
    QTest::newRow("1/5/2005") << "1/5/2005"
                              << "01/05/2005"
                              << "";
    QTest::newRow("1/5/05") << "1/5/05"
                            << "01/05/05"
                            << "";
    QTest::newRow("02/29/2004") << "02/29/2004"
                                << "02/29/2004"
                                << "";
    QTest::newRow("02/30/2005") << "02/30/2005"
                                << "02/30/2005" << kShortDateMessage;
    QTest::newRow("day first") << "13/01/2005"
                               << "13/01/2005" << kLongDateMessage;
    QTest::newRow("n") << "n"
                       << "N"
                       << "";
}

void TestCourtHistory::dateField() {
    QFETCH(QString, typed);
    QFETCH(QString, after);
    QFETCH(QString, message);
    Rig rig;
    auto screen = rig.open(false, 3);
    QVERIFY(screen);
    QLineEdit* date = screen->field(frmCourtHistory::DateOfPresentArrest);
    date->setFocus();
    typeText(typed);
    press(Qt::Key_Return);
    QCOMPARE(date->text(), after);
    QCOMPARE(screen->field(frmCourtHistory::BAC)->hasFocus(), message.isEmpty());
    QCOMPARE(date->hasFocus(), !message.isEmpty());
    if (!message.isEmpty()) {
        QCOMPARE(rig.boxes->texts(), QStringList({message}));
        QVERIFY(rig.boxes->shown[0].title.isEmpty()); // the application title
    }
}

void TestCourtHistory::dateFieldRefusesLetters() {
    Rig rig;
    auto screen = rig.open(false, 3);
    QVERIFY(screen);
    QLineEdit* date = screen->field(frmCourtHistory::DateOfPresentArrest);
    date->setFocus();
    typeText("1a/x5");
    QCOMPARE(date->text(), QStringLiteral("1/5"));
    QCOMPARE(rig.boxes->beeps, 2);
    press(Qt::Key_Backspace);
    QCOMPARE(date->text(), QStringLiteral("1/"));
    date->clear();
    typeText("01/05/20051");
    QCOMPARE(date->text(), QStringLiteral("01/05/2005"));
    QCOMPARE(rig.boxes->beeps, 3);
    // The whole text selected: the next key replaces it.
    date->selectAll();
    typeText("N");
    QCOMPARE(date->text(), QStringLiteral("N"));
    QVERIFY(rig.boxes->shown.isEmpty());
}

void TestCourtHistory::staffBacLeftEmpty() {
    Rig rig;
    auto screen = rig.open(false, 3);
    QVERIFY(screen);
    typeAll({"0", "0", "0", "0", "0", "0", "0", "0", "N", ".1", "0"});
    QVERIFY(screen->field(frmCourtHistory::StBAC)->hasFocus());
    screen->kit()->cmdMenuChoice(0)->setFocus();
    press(Qt::Key_Return);
    QVERIFY(!screen->isVisible());
    QVERIFY(screen->ProceedToNext());
    QCOMPARE(rig.state().clients().Clients(3).get(Field::StBAC), QStringLiteral("     "));
}

// The staff BAC is checked by its own Enter only, so OK would take whatever it held: a letter
// the client file cannot store never gets in.
void TestCourtHistory::staffBacRefusesWhatTheFileLacks() {
    Rig rig;
    auto screen = rig.open(false, 3);
    QVERIFY(screen);
    typeAll({"0", "0", "0", "0", "0", "0", "0", "0", "N", ".1", "0"});
    typeText("Ł");
    QCoreApplication::processEvents();
    QCOMPARE(rig.boxes->texts(),
             QStringList{"The letter \"Ł\" cannot be stored in the client file. Type \"L\" "
                         "instead. Press Enter to continue."});
    QCOMPARE(rig.boxes->titles(), QStringList{"Data Entry Error"});
    QVERIFY(screen->field(frmCourtHistory::StBAC)->text().isEmpty());
    screen->kit()->cmdMenuChoice(0)->setFocus();
    press(Qt::Key_Return);
    QVERIFY(!screen->isVisible());
    QCOMPARE(rig.state().clients().Clients(3).get(Field::StBAC), QStringLiteral("     "));
}

void TestCourtHistory::staffCountEmptyReported() {
    Rig rig;
    auto screen = rig.open(false, 3);
    QVERIFY(screen);
    typeAll({"0", "0", "0", "0", "0", "0", "0", "0", "N", ".1"});
    screen->kit()->cmdMenuChoice(0)->setFocus();
    press(Qt::Key_Return);
    QVERIFY(screen->isVisible());
    QVERIFY(screen->field(frmCourtHistory::StPriorDUI)->hasFocus());
    QCOMPARE(rig.boxes->texts(), QStringList({kCountMessage}));
    QVERIFY(!screen->ProceedToNext());
}

void TestCourtHistory::editingWritesAtOnce() {
    Rig rig;
    const QByteArray before = fakes::readAll(rig.dataFile());
    rig.state().clients().Clients(2).set(Field::PriorDUI, u"3");
    rig.state().clients().Clients(2).set(Field::BAC, u"NA");
    auto screen = rig.open(true, 2);
    QVERIFY(screen);
    QCOMPARE(screen->field(0)->text(), QStringLiteral("3"));
    QVERIFY(screen->kit()->cmdMenuChoice(0)->hasFocus());
    // Every field must be valid: fill those the record left blank.
    for (int i = 1; i < frmCourtHistory::FieldCount; ++i) {
        const Field f = records::courtField(i);
        if (f != frmCourtHistory::BAC) {
            screen->field(i)->setText(f == frmCourtHistory::DateOfPresentArrest ? "N" : "0");
        }
    }
    screen->field(frmCourtHistory::BAC)->setText(".09n");
    press(Qt::Key_Return);
    QVERIFY(screen->ProceedToNext());
    const QByteArray after = fakes::readAll(rig.dataFile());
    QCOMPARE(after.left(190), before.left(190));
    QCOMPARE(after.mid(190 + 77, 38), QByteArray("3 0 0 0 0 0 0 0 N         N    0 0    "));
}

void TestCourtHistory::cancelNewClientClearsSlot() {
    Rig rig;
    const QByteArray before = fakes::readAll(rig.dataFile());
    rig.state().clients().Clients(3).set(Field::Name, u"New, Nora");
    auto screen = rig.open(false, 3);
    QVERIFY(screen);
    typeAll({"1", "2"});
    screen->kit()->cmdMenuChoice(1)->setFocus();
    press(Qt::Key_Return);
    QVERIFY(!screen->isVisible());
    QVERIFY(!screen->ProceedToNext());
    QCOMPARE(rig.state().clients().Clients(3).bytes(), QByteArray(190, ' '));
    QCOMPARE(rig.state().clients().CurrentClient(), 1);
    QCOMPARE(fakes::readAll(rig.dataFile()), before);
}

void TestCourtHistory::abortKeyLeavesEverything() {
    Rig rig;
    rig.state().clients().Clients(3).set(Field::Name, u"New, Nora");
    const QByteArray slot = rig.state().clients().Clients(3).bytes();
    auto screen = rig.open(false, 3);
    QVERIFY(screen);
    typeAll({"1", "2"});
    press(Qt::Key_F10, Qt::ShiftModifier | Qt::AltModifier);
    QVERIFY(!screen->isVisible());
    QVERIFY(!screen->ProceedToNext());
    QCOMPARE(rig.state().clients().Clients(3).bytes(), slot);
    QCOMPARE(rig.state().clients().CurrentClient(), 3);
}

QTEST_MAIN(TestCourtHistory)
#include "test_courthistory.moc"
