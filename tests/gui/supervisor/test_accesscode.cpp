#include "app/ProgramState.h"
#include "supervisor/AccessCode.h"
#include "supervisor/AccessCodePrompt.h"
#include "supervisor/frmMyInputBox.h"
#include "support/Fakes.h"
#include "support/ProgramRig.h"
#include "support/ScreenDriver.h"
#include "ui/ScreenKit.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace tov;
using supervisor::frmMyInputBox;

namespace {

// Types each entry into the next access-code dialog, then presses Enter twice (to the button,
// then the button); "<cancel>" chooses "Cancel Input" instead. A dialog not yet up is waited for
// a while (the first start shows one after its splash); `onShown` sees each dialog come.
void answerDialogs(QStringList entries, QStringList* seen,
                   const std::function<void()>& onShown = {}, int waits = 300) {
    QTimer::singleShot(0, [entries, seen, onShown, waits]() mutable {
        auto* box = qobject_cast<frmMyInputBox*>(QApplication::activeModalWidget());
        if (entries.isEmpty()) {
            return;
        }
        if (box == nullptr) {
            if (waits > 0) {
                QTimer::singleShot(10, [=] { answerDialogs(entries, seen, onShown, waits - 1); });
            }
            return;
        }
        if (onShown) {
            onShown();
        }
        const QString entry = entries.takeFirst();
        *seen << box->windowTitle() + "|" + box->lblHelpMsg()->text();
        if (!entries.isEmpty()) {
            answerDialogs(entries, seen, onShown); // the next try opens a new dialog
        }
        if (entry == "<cancel>") {
            box->kit()->cmdMenuChoice(1)->click();
            return;
        }
        QTest::keyClicks(box->txtInput(), entry);
        *seen << box->txtInput()->displayText();
        QTest::keyClick(box->txtInput(), Qt::Key_Return);
        QTest::keyClick(box->kit()->cmdMenuChoice(0), Qt::Key_Return);
    });
}

} // namespace

class TestAccessCode : public QObject {
    Q_OBJECT

private slots:
    void lowerCaseAccepted();
    void wrongEntryAsksAgain();
    void cancelReturnsFalseSilently();
    void emptyEntryKeepsDialog_data();
    void emptyEntryKeepsDialog();
    void ninthCharacterRefused();
    void codeChecks_data();
    void codeChecks();
    void waitsAfterWrongCodes();
    void waitShownAndEnforced();
    void changeAccessCode_data();
    void changeAccessCode();
    void damagedCodeRefusesAll();
    void firstStartSetsCode_data();
    void firstStartSetsCode();
    void waitOutlivesRestart();
};

void TestAccessCode::lowerCaseAccepted() {
    fakes::ProgramRig rig({});
    auto& boxes = *rig.boxes;
    QStringList seen;
    answerDialogs({QString(QChar(supervisor::AccessCode).toLower())}, &seen);
    QVERIFY(supervisor::PromptForAccessCode(rig.program->context()));
    QVERIFY(boxes.shown.isEmpty());
    QCOMPARE(seen.value(0), QStringLiteral("Enter Secret Code|Enter the secret code to continue.  "
                                           "For security, asterisks (*) will show as you type."));
    QCOMPARE(seen.value(1), QStringLiteral("*"));
}

void TestAccessCode::wrongEntryAsksAgain() {
    fakes::ProgramRig rig({});
    auto& boxes = *rig.boxes;
    QStringList seen;
    answerDialogs({"wrong", "x", QString(QChar(supervisor::AccessCode))}, &seen);
    QVERIFY(supervisor::PromptForAccessCode(rig.program->context()));
    QCOMPARE(rig.state().WrongAccessCodes(), 0); // a right code starts the count again
    QCOMPARE(boxes.shown.size(), 2);
    QCOMPARE(boxes.shown[0].text, QStringLiteral("Incorrect password.  Please try again."));
    QCOMPARE(boxes.shown[0].title, QStringLiteral("Incorrect Password"));
    QCOMPARE(boxes.shown[0].icon, platform::MessageBoxes::Icon::Error);
    QCOMPARE(seen.value(1), QStringLiteral("*****"));
    // Each try starts with an empty field.
    QCOMPARE(seen.value(3), QStringLiteral("*"));
}

void TestAccessCode::cancelReturnsFalseSilently() {
    fakes::ProgramRig rig({});
    auto& boxes = *rig.boxes;
    QStringList seen;
    answerDialogs({"wrong", "<cancel>"}, &seen);
    QVERIFY(!supervisor::PromptForAccessCode(rig.program->context()));
    QCOMPARE(boxes.shown.size(), 1); // only the wrong entry's message
}

void TestAccessCode::emptyEntryKeepsDialog_data() {
    QTest::addColumn<bool>("password");
    QTest::addColumn<QString>("message");
    QTest::newRow("password") << true << "Please enter the required password.";
    QTest::newRow("plain") << false << "Please enter the required data.";
}

void TestAccessCode::emptyEntryKeepsDialog() {
    QFETCH(bool, password);
    QFETCH(QString, message);
    fakes::FakeMessageBoxes boxes;
    frmMyInputBox box(boxes);
    box.PasswordInput = password;
    box.HelpMessage = "Type it.";
    QVERIFY(fakes::showScreen(&box));
    QVERIFY(box.txtInput()->hasFocus());
    QTest::keyClick(box.txtInput(), Qt::Key_Return);
    QVERIFY(box.kit()->cmdMenuChoice(0)->hasFocus());
    QTest::keyClick(box.kit()->cmdMenuChoice(0), Qt::Key_Return);
    QVERIFY(box.isVisible());
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown[0].text, message);
    QCOMPARE(boxes.shown[0].title, QStringLiteral("Input required"));
    QCOMPARE(boxes.shown[0].icon, platform::MessageBoxes::Icon::Question);
    QVERIFY(box.txtInput()->hasFocus());
    QTest::keyClicks(box.txtInput(), "abc");
    QCOMPARE(box.txtInput()->displayText(), password ? QStringLiteral("***") : "abc");
    box.kit()->cmdMenuChoice(0)->click();
    QVERIFY(!box.isVisible());
    QCOMPARE(box.InputValue, QStringLiteral("abc"));
    QVERIFY(!box.Cancelled());
}

void TestAccessCode::ninthCharacterRefused() {
    fakes::FakeMessageBoxes boxes;
    frmMyInputBox box(boxes);
    box.InputLength = 8;
    QVERIFY(fakes::showScreen(&box));
    QTest::keyClicks(box.txtInput(), "123456789");
    QCOMPARE(box.txtInput()->text(), QStringLiteral("12345678"));
}

// The stored value is a salted digest that only the code (in any case) matches; anything else
// in its place is damaged and matches nothing.
void TestAccessCode::codeChecks_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("check");
    QTest::addColumn<bool>("required"); // the agency must set its own code
    const int right = int(supervisor::CodeCheck::Right);
    const int wrong = int(supervisor::CodeCheck::Wrong);
    const int damaged = int(supervisor::CodeCheck::Damaged);
    const QString agency = supervisor::StoredAccessCode(QStringLiteral("Agency7"));
    QTest::newRow("given code") << ""
                                << "Z" << right << false;
    QTest::newRow("given code, small letter") << ""
                                              << "z" << right << false;
    QTest::newRow("given code, wrong") << ""
                                       << "Y" << wrong << false;
    QTest::newRow("agency code") << agency << "Agency7" << right << false;
    QTest::newRow("agency code, other case") << agency << "aGENCY7" << right << false;
    QTest::newRow("agency code, wrong") << agency << "Agency8" << wrong << false;
    QTest::newRow("given code no longer") << agency << "Z" << wrong << false;
    QTest::newRow("plain code in its place") << "Agency7"
                                             << "Agency7" << damaged << false;
    QTest::newRow("other rounds") << QString(agency).replace("$100000$", "$1000$") << "Agency7"
                                  << damaged << false;
    QTest::newRow("no code set yet") << ""
                                     << "Z" << wrong << true;
    QTest::newRow("agency code, set as required") << agency << "Agency7" << right << true;
    QTest::newRow("cut short") << agency.left(agency.size() - 8) << "Agency7" << damaged << false;
}

void TestAccessCode::codeChecks() {
    QFETCH(QString, stored);
    QFETCH(QString, entry);
    QFETCH(int, check);
    QFETCH(bool, required);
    QCOMPARE(int(supervisor::CheckAccessCode(entry, stored, required)), check);
}

void TestAccessCode::waitsAfterWrongCodes() {
    QList<int> waits;
    for (int wrong = 0; wrong <= 9; ++wrong) {
        waits << supervisor::AccessCodeWait(wrong);
    }
    QCOMPARE(waits, (QList<int>{0, 0, 0, 2, 4, 8, 16, 30, 30, 30}));
    // A fresh salt each time: equal codes are not seen as such in the settings.
    QVERIFY(supervisor::StoredAccessCode("Agency7") != supervisor::StoredAccessCode("Agency7"));
}

// After three wrong codes the next try waits 2 seconds: the box says so, counts down and takes
// no code until the time has passed on the clock.
void TestAccessCode::waitShownAndEnforced() {
    fakes::ProgramRig rig({});
    rig.clock->ms = 50000;
    QStringList seen;
    int shown = 0;
    // Three wrong codes, then the prompt is cancelled.
    answerDialogs({"one", "two", "three", "<cancel>"}, &seen);
    QVERIFY(!supervisor::PromptForAccessCode(rig.program->context()));
    QCOMPARE(rig.state().WrongAccessCodes(), 3);
    QCOMPARE(rig.state().AccessCodeAllowedAt(), 52000);
    QVERIFY(fakes::readAll(rig.iniFile()).contains("WrongAccessCodes=3\n"));
    fakes::whenModal<frmMyInputBox>([&](frmMyInputBox* box) {
        ++shown;
        QCOMPARE(box->lblHelpMsg()->text(),
                 QStringLiteral("Too many wrong codes.  Please wait 2 seconds, then enter the "
                                "code."));
        fakes::saveShot(box, "frmMyInputBox_wait");
        QTest::keyClicks(box->txtInput(), "Z");
        QCOMPARE(box->txtInput()->text(), QString()); // typing does nothing
        box->kit()->cmdMenuChoice(0)->click();
        QVERIFY(box->isVisible());
        rig.clock->ms = 51200;
        box->showWait();
        QVERIFY(box->lblHelpMsg()->text().contains("wait 1 second,"));
        rig.clock->ms = 52000;
        box->showWait();
        QCOMPARE(box->lblHelpMsg()->text().left(26), QStringLiteral("Enter the secret code to c"));
        QTest::keyClicks(box->txtInput(), "z");
        box->kit()->cmdMenuChoice(0)->click();
    });
    QVERIFY(supervisor::PromptForAccessCode(rig.program->context()));
    QCOMPARE(shown, 1);
    QCOMPARE(rig.boxes->beeps, 1);
    QCOMPARE(rig.state().WrongAccessCodes(), 0);
    QVERIFY(fakes::readAll(rig.iniFile()).contains("WrongAccessCodes=0\n"));
}

// Changing the code: the current code, then the new one twice; only a digest reaches the
// settings, and the new code works after a restart.
void TestAccessCode::changeAccessCode_data() {
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("works"); // the code that opens the prompt afterwards
    QTest::newRow("six characters")
        << QStringList{"z", "abc123", "ABC123"} << "The access code has been changed."
        << "Abc123";
    QTest::newRow("eight characters")
        << QStringList{"Z", "Office#8", "Office#8"} << "The access code has been changed."
        << "OFFICE#8";
    QTest::newRow("five characters") << QStringList{"Z", "abc12"}
                                     << "The new access code must be 6 to 8 characters long.  "
                                        "The access code has not been changed."
                                     << "Z";
    QTest::newRow("entries differ") << QStringList{"Z", "abc123", "abc124"}
                                    << "The two entries of the new access code differ.  The "
                                       "access code has not been changed."
                                    << "Z";
    QTest::newRow("cancelled at the new code") << QStringList{"Z", "<cancel>"} << ""
                                               << "Z";
    QTest::newRow("current code wrong, then cancelled")
        << QStringList{"Q", "<cancel>"} << "Incorrect password.  Please try again."
        << "Z";
}

void TestAccessCode::changeAccessCode() {
    QFETCH(QStringList, entries);
    QFETCH(QString, message);
    QFETCH(QString, works);
    fakes::ProgramRig rig({});
    QStringList seen;
    answerDialogs(entries, &seen);
    const bool changed = supervisor::ChangeAccessCode(rig.program->context());
    QCOMPARE(changed, works != "Z");
    QCOMPARE(rig.boxes->texts(), message.isEmpty() ? QStringList() : QStringList{message});
    const QByteArray ini = fakes::readAll(rig.programDir + "/tov2sf.ini");
    if (changed) {
        QCOMPARE(seen.value(2), QStringLiteral("New Access Code|Enter the new access code: 6 to "
                                               "8 letters or digits."));
        QVERIFY(ini.contains("AccessCode=pbkdf2-sha256$100000$"));
        QVERIFY(!ini.toUpper().contains(entries[1].toUpper().toUtf8()));
    } else {
        QVERIFY(!ini.contains("AccessCode="));
    }
    // A program started again on the same settings.
    const app::Settings again(rig.programDir);
    QCOMPARE(supervisor::CheckAccessCode(works, again.accessCode()), supervisor::CodeCheck::Right);
    QCOMPARE(supervisor::CheckAccessCode(works.toLower(), again.accessCode()),
             supervisor::CodeCheck::Right);
}

// A damaged AccessCode line lets no code in, not even the one given with the program, and says
// how to recover.
void TestAccessCode::damagedCodeRefusesAll() {
    fakes::ProgramRig rig({});
    rig.state().settings().setAccessCode("pbkdf2-sha256$100000$!!$??");
    QStringList seen;
    answerDialogs({"Z"}, &seen);
    QVERIFY(!supervisor::PromptForAccessCode(rig.program->context()));
    QCOMPARE(rig.boxes->texts().size(), 1);
    QVERIFY(rig.boxes->texts()[0].contains("tov2sf.ini (the AccessCode line) is damaged"));
    QCOMPARE(rig.state().WrongAccessCodes(), 0);
}

// A program folder whose settings require the agency's own code (as the installed program's
// do) asks for it after the data volume and before the main menu, until it is set or cancelled.
// Cancel ends the program and leaves the settings as they were; the code given with the program
// is never accepted there.
void TestAccessCode::firstStartSetsCode_data() {
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("messages");
    const QString set = "The access code has been set.";
    QTest::newRow("set") << QStringList{"Agency7", "agency7"} << QStringList{set};
    QTest::newRow("too short, then set")
        << QStringList{"Z", "abc12", "Agency7", "AGENCY7"}
        << QStringList{"The new access code must be 6 to 8 characters long.  The access code has "
                       "not been set.",
                       "The new access code must be 6 to 8 characters long.  The access code has "
                       "not been set.",
                       set};
    QTest::newRow("entries differ, then set")
        << QStringList{"Agency7", "Agency8", "Agency7", "Agency7"}
        << QStringList{"The two entries of the new access code differ.  The access code has not "
                       "been set.",
                       set};
    QTest::newRow("cancelled") << QStringList{"<cancel>"} << QStringList{};
    QTest::newRow("cancelled at the second entry")
        << QStringList{"Agency7", "<cancel>"} << QStringList{};
}

void TestAccessCode::firstStartSetsCode() {
    QFETCH(QStringList, entries);
    QFETCH(QStringList, messages);
    fakes::ProgramRig rig({"Kim"}, "[Settings]\nNumLock=True\nAccessCodeRequired=True\n");
    const QByteArray before = fakes::readAll(rig.iniFile());
    const bool cancelled = entries.last() == "<cancel>";
    QStringList seen;
    // Whether the main menu was up when a dialog came.
    QList<bool> menuShown;
    answerDialogs(entries, &seen, [&] { menuShown << rig.menu().isVisible(); });
    QCOMPARE(rig.program->start(), !cancelled);
    QCOMPARE(menuShown, QList<bool>(entries.size(), false));
    QCOMPARE(seen.value(0), QStringLiteral("Set Access Code|This program has no access code yet.  "
                                           "Enter the agency's own access code: 6 to 8 letters "
                                           "or digits."));
    QCOMPARE(rig.boxes->texts(), messages);
    if (cancelled) {
        QCOMPARE(rig.ends, 1);
        QCOMPARE(fakes::readAll(rig.iniFile()), before);
        return;
    }
    QVERIFY(rig.menu().isVisible());
    // The given code is refused from now on, the agency's accepted in any case.
    rig.boxes->shown.clear();
    answerDialogs({"Z", "aGENCY7"}, &seen);
    QVERIFY(supervisor::PromptForAccessCode(rig.program->context()));
    QCOMPARE(rig.boxes->texts(), QStringList{"Incorrect password.  Please try again."});
}

// The wrong codes of an earlier run still count: the first try after a restart waits as long as
// the next try of that run would have.
void TestAccessCode::waitOutlivesRestart() {
    fakes::ProgramRig rig({"Kim"}, "[Settings]\nNumLock=True\nWrongAccessCodes=4\n");
    rig.clock->ms = 1000;
    QVERIFY(rig.program->start());
    QCOMPARE(rig.state().WrongAccessCodes(), 4);
    QCOMPARE(rig.state().AccessCodeAllowedAt(), 1000 + 4000);
}

QTEST_MAIN(TestAccessCode)
#include "test_accesscode.moc"
