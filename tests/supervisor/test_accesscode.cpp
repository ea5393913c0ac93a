#include "intake/ScreenDriver.h"
#include "platform/Fakes.h"
#include "platform/ProgramRig.h"
#include "supervisor/AccessCode.h"
#include "supervisor/frmMyInputBox.h"
#include "ui/ScreenKit.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace tov;
using supervisor::frmMyInputBox;

namespace {

// Types each entry into the next access-code dialog, then presses Enter twice (to the button,
// then the button); "<cancel>" chooses "Cancel Input" instead.
void answerDialogs(QStringList entries, QStringList* seen) {
    QTimer::singleShot(0, [entries, seen]() mutable {
        auto* box = qobject_cast<frmMyInputBox*>(QApplication::activeModalWidget());
        if (box == nullptr || entries.isEmpty()) {
            return;
        }
        const QString entry = entries.takeFirst();
        *seen << box->windowTitle() + "|" + box->lblHelpMsg()->text();
        if (!entries.isEmpty()) {
            answerDialogs(entries, seen); // the next try opens a new dialog
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
};

void TestAccessCode::lowerCaseAccepted() {
    fakes::FakeMessageBoxes boxes;
    QStringList seen;
    answerDialogs({QString(QChar(supervisor::AccessCode).toLower())}, &seen);
    QVERIFY(supervisor::PromptForAccessCode(boxes));
    QVERIFY(boxes.shown.isEmpty());
    QCOMPARE(seen.value(0), QStringLiteral("Enter Secret Code|Enter the secret code to continue.  "
                                           "For security, asterisks (*) will show as you type."));
    QCOMPARE(seen.value(1), QStringLiteral("*"));
}

void TestAccessCode::wrongEntryAsksAgain() {
    fakes::FakeMessageBoxes boxes;
    QStringList seen;
    answerDialogs({"wrong", "x", QString(QChar(supervisor::AccessCode))}, &seen);
    QVERIFY(supervisor::PromptForAccessCode(boxes));
    QCOMPARE(boxes.shown.size(), 2);
    QCOMPARE(boxes.shown[0].text, QStringLiteral("Incorrect password.  Please try again."));
    QCOMPARE(boxes.shown[0].title, QStringLiteral("Incorrect Password"));
    QCOMPARE(boxes.shown[0].icon, platform::MessageBoxes::Icon::Error);
    QCOMPARE(seen.value(1), QStringLiteral("*****"));
    // Each try starts with an empty field.
    QCOMPARE(seen.value(3), QStringLiteral("*"));
}

void TestAccessCode::cancelReturnsFalseSilently() {
    fakes::FakeMessageBoxes boxes;
    QStringList seen;
    answerDialogs({"wrong", "<cancel>"}, &seen);
    QVERIFY(!supervisor::PromptForAccessCode(boxes));
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

QTEST_MAIN(TestAccessCode)
#include "test_accesscode.moc"
