#include "scan/frmScanInfo.h"
#include "support/ProgramRig.h"
#include "support/ScreenDriver.h"
#include "ui/Geometry.h"
#include "ui/MenuChoice.h"
#include "ui/MessagePanel.h"
#include "ui/ScreenKit.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace tov;
using fakes::press;
using fakes::typeText;
using platform::MessageBoxes;
using scan::frmScanInfo;

namespace {

const QString kNameMessage = QStringLiteral("Enter client's name. Press Enter to continue.");
const QString kLicenceMessage =
    QStringLiteral("Enter client's driver's license number. Press Enter to continue.");

} // namespace

class TestScanInfo : public QObject {
    Q_OBJECT

private slots:
    void screenLayout();
    void helpLines();
    void fieldKeys_data();
    void fieldKeys();
    void lettersTheFileCannotHold_data();
    void lettersTheFileCannotHold();
    void choices_data();
    void choices();
};

void TestScanInfo::screenLayout() {
    fakes::ProgramRig rig({});
    frmScanInfo screen(rig.program->context());
    QVERIFY(fakes::showScreen(&screen));
    QCOMPARE(screen.windowTitle(), QStringLiteral("Scan Information"));
    QVERIFY(screen.windowState() & Qt::WindowMaximized);
    QCOMPARE(screen.kit()->lblInfo(0)->text(), QStringLiteral("Client Name:"));
    QCOMPARE(screen.kit()->lblInfo(1)->text(), QStringLiteral("Driver's License Number:"));
    QCOMPARE(screen.txtName->maxLength(), 25);
    QCOMPARE(screen.txtDLNumber->maxLength(), 14);
    QCOMPARE(screen.kit()->lastMenuChoice(), 1);
    QCOMPARE(screen.kit()->cmdMenuChoice(0)->text(), QStringLiteral("Information OK"));
    QCOMPARE(screen.kit()->cmdMenuChoice(1)->text(), QStringLiteral("Cancel Input"));
    // The frame is centred, leaving room for the help line below it.
    const QWidget* frame = screen.mainFrame();
    QVERIFY(qAbs(frame->x() - (screen.width() - frame->width()) / 2) <= 1);
    QVERIFY(qAbs(frame->y() - (screen.height() - frame->height() - ui::twips(1000)) / 2) <= 1);
    QVERIFY(screen.txtName->hasFocus());
    QVERIFY(screen.kit()->lblInfo(0)->font().bold());
    fakes::saveShot(&screen, QStringLiteral("frmScanInfo"));
}

void TestScanInfo::helpLines() {
    fakes::ProgramRig rig({});
    frmScanInfo screen(rig.program->context());
    QVERIFY(fakes::showScreen(&screen));
    const QList<std::pair<QWidget*, QString>> lines = {
        {screen.txtName, "Type client's name (up to 25 characters) or N for not available, then "
                         "press Enter."},
        {screen.txtDLNumber, "Type client's driver's license number or N for not available, then "
                             "press Enter."},
        {screen.kit()->cmdMenuChoice(0),
         "If information is correct press Enter or press Tab to change an entry."},
        {screen.kit()->cmdMenuChoice(1), "Cancel information input and return to Main Menu."},
    };
    for (const auto& [control, help] : lines) {
        control->setFocus(Qt::TabFocusReason);
        QCOMPARE(screen.msgPanel()->text(), help);
    }
    // Only the focused field's label is bold; a focused button lights its panel.
    QVERIFY(!screen.kit()->lblInfo(0)->font().bold());
    QVERIFY(screen.kit()->sspMenuChoice(1)->isHighlighted());
    QVERIFY(!screen.kit()->sspMenuChoice(0)->isHighlighted());
}

void TestScanInfo::fieldKeys_data() {
    QTest::addColumn<bool>("onLicence");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("message"); // empty: the focus moves on
    const int enter = Qt::Key_Return;
    const int tab = Qt::Key_Tab;
    QTest::newRow("empty name, Enter") << false << "" << enter << kNameMessage;
    QTest::newRow("empty name, Tab") << false << "" << tab << kNameMessage;
    QTest::newRow("name, Enter") << false << "Ames, Al" << enter << "";
    QTest::newRow("name N, Tab") << false << "N" << tab << "";
    QTest::newRow("accented name the file holds") << false << "Zoë Peña" << tab << "";
    QTest::newRow("empty licence, Enter") << true << "" << enter << kLicenceMessage;
    QTest::newRow("empty licence, Tab") << true << "" << tab << kLicenceMessage;
    QTest::newRow("licence, Enter") << true << "A123-4567-8901" << enter << "";
    QTest::newRow("licence, keypad Enter") << true << "N" << int(Qt::Key_Enter) << "";
}

void TestScanInfo::fieldKeys() {
    QFETCH(bool, onLicence);
    QFETCH(QString, text);
    QFETCH(int, key);
    QFETCH(QString, message);
    fakes::ProgramRig rig({});
    frmScanInfo screen(rig.program->context());
    QVERIFY(fakes::showScreen(&screen));
    QLineEdit* field = onLicence ? screen.txtDLNumber : screen.txtName;
    field->setFocus(Qt::TabFocusReason);
    typeText(text);
    press(static_cast<Qt::Key>(key));
    // The key itself is never typed or passed on.
    QCOMPARE(field->text(), text);
    if (!message.isEmpty()) {
        QCOMPARE(rig.boxes->beeps, 1);
        QCOMPARE(rig.boxes->shown.size(), 1);
        QCOMPARE(rig.boxes->shown[0].text, message);
        QCOMPARE(rig.boxes->shown[0].icon, MessageBoxes::Icon::Error);
        QCOMPARE(rig.boxes->shown[0].buttons, MessageBoxes::Buttons::Ok);
        QVERIFY(field->hasFocus());
        return;
    }
    QCOMPARE(rig.boxes->shown.size(), 0);
    QCOMPARE(rig.boxes->beeps, 0);
    QWidget* next = onLicence ? static_cast<QWidget*>(screen.kit()->cmdMenuChoice(0))
                              : static_cast<QWidget*>(screen.txtDLNumber);
    QVERIFY(next->hasFocus());
}

// The name and licence go into the client file: a character it cannot store is refused as it is
// typed or pasted, naming it.
void TestScanInfo::lettersTheFileCannotHold_data() {
    QTest::addColumn<bool>("onLicence");
    QTest::addColumn<bool>("pasted");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("after");
    const QString r = QStringLiteral("The letter \"ř\" cannot be stored in the client file. Type "
                                     "\"r\" instead. Press Enter to continue.");
    QTest::newRow("name typed") << false << false << "Dvořák, A" << r << "Dvoák, A";
    QTest::newRow("name pasted") << false << true << "Dvořák, A" << r << "";
    QTest::newRow("licence typed") << true << false << "ř12" << r << "12";
    QTest::newRow("name the file holds, pasted") << false << true << "Zoë Peña"
                                                 << ""
                                                 << "Zoë Peña";
}

void TestScanInfo::lettersTheFileCannotHold() {
    QFETCH(bool, onLicence);
    QFETCH(bool, pasted);
    QFETCH(QString, input);
    QFETCH(QString, message);
    QFETCH(QString, after);
    fakes::ProgramRig rig({});
    frmScanInfo screen(rig.program->context());
    QVERIFY(fakes::showScreen(&screen));
    QLineEdit* field = onLicence ? screen.txtDLNumber : screen.txtName;
    field->setFocus(Qt::TabFocusReason);
    if (pasted) {
        fakes::pasteText(input);
    } else {
        typeText(input);
    }
    QCoreApplication::processEvents();
    QCOMPARE(rig.boxes->texts(), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(rig.boxes->beeps, message.isEmpty() ? 0 : 1);
    QCOMPARE(field->text(), after);
    QVERIFY(field->hasFocus());
}

void TestScanInfo::choices_data() {
    QTest::addColumn<int>("choice");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("proceed");
    QTest::newRow("Information OK by Enter") << 0 << int(Qt::Key_Return) << true;
    QTest::newRow("Information OK by space") << 0 << int(Qt::Key_Space) << true;
    QTest::newRow("Cancel Input by Enter") << 1 << int(Qt::Key_Return) << false;
    QTest::newRow("an arrow does nothing") << 0 << int(Qt::Key_Right) << false;
}

void TestScanInfo::choices() {
    QFETCH(int, choice);
    QFETCH(int, key);
    QFETCH(bool, proceed);
    fakes::ProgramRig rig({});
    frmScanInfo screen(rig.program->context());
    QVERIFY(fakes::showScreen(&screen));
    typeText(QStringLiteral("Ames, Al"));
    press(Qt::Key_Return);
    typeText(QStringLiteral("A1"));
    press(Qt::Key_Return);
    QVERIFY(screen.kit()->cmdMenuChoice(0)->hasFocus());
    if (choice == 1) {
        press(Qt::Key_Tab);
    }
    QVERIFY(screen.kit()->cmdMenuChoice(choice)->hasFocus());
    const bool before = screen.ProceedToNext();
    press(static_cast<Qt::Key>(key));
    if (key == Qt::Key_Right) {
        QVERIFY(screen.isVisible());
        QVERIFY(screen.kit()->cmdMenuChoice(choice)->hasFocus());
        QCOMPARE(screen.ProceedToNext(), before);
        return;
    }
    QVERIFY(!screen.isVisible());
    QCOMPARE(screen.ProceedToNext(), proceed);
    QCOMPARE(screen.txtName->text(), QStringLiteral("Ames, Al"));
    QCOMPARE(screen.txtDLNumber->text(), QStringLiteral("A1"));
}

QTEST_MAIN(TestScanInfo)
#include "test_scaninfo.moc"
