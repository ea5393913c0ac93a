#include "intake/CodeListBox.h"
#include "intake/frmClientInfo.h"
#include "support/ProgramRig.h"
#include "support/ScreenDriver.h"
#include "ui/MessagePanel.h"
#include "ui/ScreenKit.h"

#include <QAbstractItemView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace tov;
using fakes::press;
using fakes::ProgramRig;
using fakes::typeText;
using intake::frmClientInfo;
using records::Field;

namespace {

const QByteArray kClient = [] {
    records::ClientRecord r;
    r.set(Field::Name, u"Harmon, Della J.");
    r.set(Field::Age, u"34");
    r.set(Field::DOB, u"03/14/1992");
    r.set(Field::Gender, u"2");
    r.set(Field::Race, u"5");
    r.set(Field::Marital, u"3");
    r.set(Field::Education, u"4");
    r.set(Field::SSN, u"000-12-3456");
    r.set(Field::DLNumber, u"H655-4219-2031");
    r.set(Field::TestDate, u"11/02/2026");
    r.set(Field::PriorDUI, u"0");
    r.set(Field::Responses, QString(73, QLatin1Char('2')));
    r.set(Field::EditCount, u"0");
    r.set(Field::NameDeleted, u"0");
    return r.bytes();
}();

// A started program whose data volume holds the client above and a second one.
struct Rig : ProgramRig {
    Rig() : ProgramRig({}) {
        fakes::writeAll(dataFile(), kClient + fakes::clientRecord("Second, Sam"));
        QVERIFY(program->start());
    }
    std::unique_ptr<frmClientInfo> open(bool editing, int client = 1) {
        state().clients().setCurrentClient(client);
        auto screen = std::make_unique<frmClientInfo>(
            program->context(),
            editing ? intake::ClientMode::EditClient : intake::ClientMode::NewClient, &menu());
        if (!fakes::showScreen(screen.get())) {
            return nullptr;
        }
        return screen;
    }
};

QString fieldOf(const QByteArray& file, int record, Field f) {
    const auto& l = records::layoutOf(f);
    return QString::fromLatin1(file.mid((record - 1) * 190 + l.offset, l.width));
}

} // namespace

class TestClientInfo : public QObject {
    Q_OBJECT

private slots:
    void newClientFromKeyboard();
    void namesTheFileCanHold_data();
    void namesTheFileCanHold();
    void ages_data();
    void ages();
    void datesOfBirth_data();
    void datesOfBirth();
    void genderList();
    void raceList();
    void listWithoutEntryRefused();
    void ssnAndLicence_data();
    void ssnAndLicence();
    void typingLimits();
    void focusedLabelIsBold();
    void checksInOrderOnInformationOk();
    void cancelStoresNothing();
    void editLimitOverThreeVisits();
    void editingWithoutChangeWritesNothing();
    void sameFieldChangedTwiceCountsTwice();
    void deletedNameLocks();
    void failedWriteKeepsRecord();
};

void TestClientInfo::newClientFromKeyboard() {
    Rig rig;
    const QByteArray before = fakes::readAll(rig.dataFile());
    auto screen = rig.open(false);
    QVERIFY(screen);
    QCOMPARE(screen->windowTitle(), QStringLiteral("Client Information"));
    QVERIFY(screen->txtName->hasFocus());
    QCOMPARE(screen->msgPanel()->text(),
             QStringLiteral("Type client's name (up to 25 characters) or N for not available, "
                            "then press Enter."));
    typeText("Peña, José");
    press(Qt::Key_Return);
    QVERIFY(screen->txtAge->hasFocus());
    typeText("34");
    press(Qt::Key_Tab); // Tab checks as Enter does
    QVERIFY(screen->txtDob->hasFocus());
    typeText("1/5/1992");
    press(Qt::Key_Return);
    QVERIFY(screen->cmbGender->hasFocus());
    typeText("2");
    QCOMPARE(screen->cmbGender->currentText(), QStringLiteral("Female"));
    press(Qt::Key_Return);
    typeText("7");
    press(Qt::Key_Return);
    typeText("1");
    press(Qt::Key_Return);
    typeText("4");
    press(Qt::Key_Return);
    QVERIFY(screen->txtSSN->hasFocus());
    typeText("123-45-6789");
    press(Qt::Key_Return);
    typeText("P123-4567-8901");
    press(Qt::Key_Return);
    QVERIFY(screen->kit()->cmdMenuChoice(0)->hasFocus());
    fakes::saveShot(screen.get(), "client_info_filled");
    press(Qt::Key_Return);
    QVERIFY(!screen->isVisible());
    QVERIFY(rig.boxes->shown.isEmpty());
    QVERIFY(screen->ProceedToNext());
    QCOMPARE(rig.state().clients().CurrentClient(), 3);
    QCOMPARE(rig.state().clients().ClientCount(), 2);
    const QByteArray expected = QByteArray("Pe\xf1"
                                           "a, Jos\xe9") +
                                QByteArray(15, ' ') +
                                "34 1/5/1992  2714123-45-6789P123-4567-890112/07/2026" +
                                QByteArray(38, ' ') + QByteArray(73, '0') + "00";
    QCOMPARE(expected.size(), 190);
    QCOMPARE(rig.state().clients().Clients(3).bytes(), expected);
    // A new client reaches the file only with its answers.
    QCOMPARE(fakes::readAll(rig.dataFile()), before);
}

// A character Windows-1252 cannot store is refused as it is typed or pasted, naming it, so the
// file never holds "?" in its place; what the code page has (Western accents, the euro sign,
// curly quotes, "?" itself) is stored byte for byte.
void TestClientInfo::namesTheFileCanHold_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("pasted");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("message"); // empty: taken as it is
    QTest::addColumn<QString>("after");   // the field's text
    QTest::addColumn<QByteArray>("stored");
    const auto refused = [](const char* letter, const char* plain) {
        return QStringLiteral("The letter \"%1\" cannot be stored in the client file. %2Press "
                              "Enter to continue.")
            .arg(QString::fromUtf8(letter),
                 *plain != 0 ? QStringLiteral("Type \"%1\" instead. ").arg(QLatin1String(plain))
                             : QStringLiteral("Use another letter. "));
    };
    const QString kept = QStringLiteral("Harmon, Della J.");
    const QString emoji = QStringLiteral("The character \"😀\" cannot be stored in the client "
                                         "file. Press Enter to continue.");
    QTest::newRow("Ł typed") << "txtName" << false << "Łukasz" << refused("Ł", "L") << "ukasz"
                             << QByteArray("ukasz");
    QTest::newRow("ễ typed") << "txtName" << false << "Nguyễn" << refused("ễ", "e") << "Nguyn"
                             << QByteArray("Nguyn");
    QTest::newRow("ř pasted") << "txtName" << true << "Dvořák, A" << refused("ř", "r") << kept
                              << kept.toLatin1();
    QTest::newRow("emoji typed") << "txtName" << false << "Smith 😀" << emoji << "Smith "
                                 << QByteArray("Smith");
    QTest::newRow("emoji pasted") << "txtName" << true << "😀" << emoji << kept << kept.toLatin1();
    QTest::newRow("Greek typed") << "txtName" << false << "Ωmega" << refused("Ω", "") << "mega"
                                 << QByteArray("mega");
    QTest::newRow("€ typed") << "txtName" << false << "Berg €"
                             << ""
                             << "Berg €" << QByteArray("Berg \x80");
    QTest::newRow("é and ñ pasted") << "txtName" << true << "Peña, José"
                                    << ""
                                    << "Peña, José"
                                    << QByteArray("Pe\xf1"
                                                  "a, Jos\xe9");
    QTest::newRow("curly quote typed") << "txtName" << false << "O’Neil"
                                       << ""
                                       << "O’Neil" << QByteArray("O\x92Neil");
    QTest::newRow("question mark") << "txtName" << false << "Who?"
                                   << ""
                                   << "Who?" << QByteArray("Who?");
    QTest::newRow("licence, Ł typed")
        << "txtDLNumber" << false << "Ł123" << refused("Ł", "L") << "123" << QByteArray("123");
    QTest::newRow("licence, ř pasted") << "txtDLNumber" << true << "ř99" << refused("ř", "r")
                                       << "H655-4219-2031" << QByteArray("H655-4219-2031");
    QTest::newRow("SSN, Ω typed") << "txtSSN" << false << "Ω1" << refused("Ω", "") << "1"
                                  << QByteArray("1");
}

void TestClientInfo::namesTheFileCanHold() {
    QFETCH(QString, field);
    QFETCH(bool, pasted);
    QFETCH(QString, input);
    QFETCH(QString, message);
    QFETCH(QString, after);
    QFETCH(QByteArray, stored);
    Rig rig;
    auto screen = rig.open(true, 1);
    QVERIFY(screen);
    auto* edit = screen->findChild<QLineEdit*>(field);
    QVERIFY(edit);
    edit->setFocus(Qt::TabFocusReason); // its text selected, as the operator finds it
    if (pasted) {
        fakes::pasteText(input);
    } else {
        typeText(input);
    }
    QCoreApplication::processEvents();
    QCOMPARE(rig.boxes->texts(), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(rig.boxes->beeps, message.isEmpty() ? 0 : 1);
    QCOMPARE(edit->text(), after);
    QVERIFY(edit->hasFocus());
    press(Qt::Key_Return);
    QVERIFY(!edit->hasFocus());
    screen->kit()->cmdMenuChoice(0)->setFocus();
    press(Qt::Key_Return);
    QVERIFY(!screen->isVisible());
    QCOMPARE(rig.boxes->shown.size(), message.isEmpty() ? 0 : 1);
    const auto& l = records::layoutOf(field == "txtName"       ? Field::Name
                                      : field == "txtDLNumber" ? Field::DLNumber
                                                               : Field::SSN);
    QCOMPARE(fakes::readAll(rig.dataFile()).mid(l.offset, l.width),
             stored + QByteArray(l.width - stored.size(), ' '));
}

// The screen's side of the field checks; the checks themselves are tested in
// test_clientinforules.
void TestClientInfo::ages_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("10") << "10"
                        << "" << false;
    QTest::newRow("11") << "11"
                        << "11" << true;
    QTest::newRow("100 cannot be typed") << "100"
                                         << "" << false;
    QTest::newRow("n") << "n"
                       << "N" << true;
    QTest::newRow("blank cut by the length") << " 45"
                                             << "" << false;
}

void TestClientInfo::ages() {
    QFETCH(QString, typed);
    QFETCH(QString, after);
    QFETCH(bool, accepted);
    Rig rig;
    auto screen = rig.open(false);
    QVERIFY(screen);
    screen->txtAge->setFocus();
    typeText(typed);
    press(Qt::Key_Return);
    QCOMPARE(screen->txtAge->text(), after);
    QCOMPARE(screen->txtDob->hasFocus(), accepted);
    QCOMPARE(screen->txtAge->hasFocus(), !accepted);
    if (!accepted) {
        QCOMPARE(rig.boxes->texts(), QStringList({"Enter age of client in number of years. Press "
                                                  "Enter to continue."}));
        QCOMPARE(rig.boxes->beeps, 1);
        QCOMPARE(rig.boxes->shown[0].icon, platform::MessageBoxes::Icon::Error);
    }
}

void TestClientInfo::datesOfBirth_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("mm/dd/yyyy") << "03/14/1992"
                                << "03/14/1992" << true;
    QTest::newRow("month 13") << "13/01/1990"
                              << "" << false;
    QTest::newRow("n/a") << "n/a"
                         << "N" << true;
}

void TestClientInfo::datesOfBirth() {
    QFETCH(QString, typed);
    QFETCH(QString, after);
    QFETCH(bool, accepted);
    Rig rig;
    auto screen = rig.open(false);
    QVERIFY(screen);
    screen->txtDob->setFocus();
    typeText(typed);
    press(Qt::Key_Return);
    QCOMPARE(screen->txtDob->text(), after);
    QCOMPARE(screen->cmbGender->hasFocus(), accepted);
    if (!accepted) {
        QCOMPARE(rig.boxes->texts(), QStringList({"Enter Date of Birth (mm/dd/yyy) or N for not "
                                                  "available. Press Enter to continue."}));
    }
}

void TestClientInfo::genderList() {
    Rig rig;
    auto screen = rig.open(false);
    QVERIFY(screen);
    screen->cmbGender->setFocus();
    QCOMPARE(screen->msgPanel()->text(),
             QStringLiteral("Use up or down arrow keys to select gender or N/A for not available, "
                            "then press Enter."));
    typeText("f");
    QCOMPARE(screen->cmbGender->currentText(), QString());
    QCOMPARE(rig.boxes->beeps, 1);
    typeText("2");
    QCOMPARE(screen->cmbGender->currentText(), QStringLiteral("Female"));
    QCOMPARE(screen->cmbGender->position(), 2);
    press(Qt::Key_Backspace); // empties the text and beeps
    QCOMPARE(screen->cmbGender->currentText(), QString());
    QCOMPARE(rig.boxes->beeps, 2);
    typeText("n");
    QCOMPARE(screen->cmbGender->currentText(), QStringLiteral("N/A"));
    press(Qt::Key_Return);
    QVERIFY(screen->cmbRace->hasFocus());
}

void TestClientInfo::raceList() {
    Rig rig;
    auto screen = rig.open(false);
    QVERIFY(screen);
    screen->cmbRace->setFocus();
    typeText("7");
    QCOMPARE(screen->cmbRace->currentText(), QStringLiteral("Hispanic, Mexican"));
    press(Qt::Key_Down);
    QCOMPARE(screen->cmbRace->currentText(), QStringLiteral("Hispanic, Cuban"));
    QCOMPARE(screen->cmbRace->position(), 8);
    press(Qt::Key_Return);
    QVERIFY(screen->cmbMarital->hasFocus());
    screen->RecordToDB();
    QCOMPARE(rig.state().clients().current().get(Field::Race), QStringLiteral("8"));
}

void TestClientInfo::listWithoutEntryRefused() {
    // "N" alone names no marital status: the list drops down and the text is not taken as a code.
    Rig rig;
    auto screen = rig.open(false);
    QVERIFY(screen);
    screen->cmbMarital->setFocus();
    typeText("N");
    QCOMPARE(screen->cmbMarital->position(), -1);
    QTRY_VERIFY(screen->cmbMarital->view()->isVisible());
    screen->cmbMarital->hidePopup();
    screen->cmbMarital->setFocus();
    press(Qt::Key_Return);
    QVERIFY(screen->cmbMarital->hasFocus());
    QCOMPARE(rig.boxes->texts(),
             QStringList({"Press down arrow key to select marital status. Press "
                          "Enter to continue."}));
}

void TestClientInfo::ssnAndLicence_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("SSN N123") << "txtSSN"
                              << "N123"
                              << "N" << true;
    QTest::newRow("licence n") << "txtDLNumber"
                               << "n"
                               << "N" << true;
    QTest::newRow("licence empty") << "txtDLNumber"
                                   << ""
                                   << "" << false;
}

void TestClientInfo::ssnAndLicence() {
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, after);
    QFETCH(bool, accepted);
    Rig rig;
    auto screen = rig.open(false);
    QVERIFY(screen);
    auto* edit = screen->findChild<QLineEdit*>(field);
    edit->setFocus();
    typeText(typed);
    press(Qt::Key_Return);
    QCOMPARE(edit->text(), after);
    QCOMPARE(!edit->hasFocus(), accepted);
}

void TestClientInfo::typingLimits() {
    Rig rig;
    auto screen = rig.open(false);
    QVERIFY(screen);
    screen->txtSSN->setFocus();
    typeText("123-45-67890");
    QCOMPARE(screen->txtSSN->text(), QStringLiteral("123-45-6789"));
    QCOMPARE(rig.boxes->texts(),
             QStringList({"Enter Social Security Number like this: 000-00-0000. "
                          "Press Enter to continue."}));
    press(Qt::Key_Backspace);
    QCOMPARE(screen->txtSSN->text(), QStringLiteral("123-45-678"));
    screen->txtDLNumber->setFocus();
    typeText("ABCDEFGHIJKLMNO");
    QCOMPARE(screen->txtDLNumber->text(), QStringLiteral("ABCDEFGHIJKLMN"));
    QCOMPARE(rig.boxes->texts().last(),
             QStringLiteral("Enter drivers license. Press Enter to continue."));
    screen->txtName->setFocus();
    typeText(QString(30, QLatin1Char('a')));
    QCOMPARE(screen->txtName->text().size(), 25);
}

void TestClientInfo::focusedLabelIsBold() {
    Rig rig;
    auto screen = rig.open(false);
    QVERIFY(screen);
    screen->txtDob->setFocus();
    for (int i = 0; i <= 8; ++i) {
        QCOMPARE(screen->kit()->lblInfo(i)->font().bold(), i == 8);
    }
    QCOMPARE(screen->kit()->lblInfo(8)->text(), QStringLiteral("Date of Birth:"));
    fakes::saveShot(screen.get(), "client_info_empty");
}

void TestClientInfo::checksInOrderOnInformationOk() {
    Rig rig;
    auto screen = rig.open(false);
    QVERIFY(screen);
    screen->kit()->cmdMenuChoice(0)->setFocus();
    press(Qt::Key_Return);
    QVERIFY(screen->isVisible());
    QVERIFY(screen->txtName->hasFocus());
    QCOMPARE(rig.boxes->texts(), QStringList({"Enter client's name. Press Enter to continue."}));
    screen->txtName->setText("Someone");
    screen->txtAge->setText("40");
    screen->txtDob->setText("N");
    screen->cmbGender->setEditText("1");
    screen->cmbRace->setEditText("2");
    screen->cmbMarital->setEditText("3");
    screen->txtSSN->setText("N");
    screen->kit()->cmdMenuChoice(0)->setFocus();
    press(Qt::Key_Return);
    // Education comes before marital status and the licence before the SSN.
    QVERIFY(screen->cmbEducation->hasFocus());
    screen->cmbEducation->setEditText("5");
    screen->kit()->cmdMenuChoice(0)->click();
    QVERIFY(screen->txtDLNumber->hasFocus());
    QCOMPARE(rig.boxes->texts().last(),
             QStringLiteral("Enter drivers license number. Press Enter to continue."));
    screen->txtDLNumber->setText("N");
    screen->kit()->cmdMenuChoice(0)->click();
    QVERIFY(!screen->isVisible());
    QVERIFY(screen->ProceedToNext());
    QCOMPARE(rig.state().clients().current().get(Field::Education), QStringLiteral("5"));
}

void TestClientInfo::cancelStoresNothing() {
    Rig rig;
    const QByteArray before = fakes::readAll(rig.dataFile());
    auto screen = rig.open(true, 2);
    QVERIFY(screen);
    QVERIFY(screen->kit()->cmdMenuChoice(0)->hasFocus());
    screen->txtAge->setFocus();
    typeText("55");
    press(Qt::Key_Return);
    press(Qt::Key_Tab);
    screen->kit()->cmdMenuChoice(1)->setFocus();
    QCOMPARE(screen->msgPanel()->text(),
             QStringLiteral("Cancel information input and return to Main Menu."));
    press(Qt::Key_Return);
    QVERIFY(!screen->isVisible());
    QVERIFY(!screen->ProceedToNext());
    QCOMPARE(fakes::readAll(rig.dataFile()), before);
    QCOMPARE(rig.state().clients().Clients(2).bytes(), before.mid(190, 190));
}

void TestClientInfo::editLimitOverThreeVisits() {
    Rig rig;
    QByteArray file = fakes::readAll(rig.dataFile());
    const QStringList ages = {"41", "42", "43"};
    for (int visit = 1; visit <= 3; ++visit) {
        auto screen = rig.open(true, 1);
        QVERIFY(screen);
        QVERIFY(!screen->isLocked());
        screen->txtAge->setFocus();
        typeText(ages[visit - 1]);
        press(Qt::Key_Return); // leaves the field: one edit
        QCOMPARE(screen->EditsMade(), visit);
        if (visit == 3) {
            QVERIFY(screen->isLocked());
            QCOMPARE(rig.boxes->shown.last().title, QStringLiteral("Edit Limit Reached"));
            QCOMPARE(rig.boxes->shown.last().text,
                     QStringLiteral("This client's information has been edited\r3 times "
                                    "already. Further editing of this\rinformation is no longer "
                                    "permitted."));
            QVERIFY(screen->kit()->cmdMenuChoice(0)->hasFocus());
        } else {
            screen->kit()->cmdMenuChoice(0)->setFocus();
        }
        press(Qt::Key_Return);
        QVERIFY(screen->ProceedToNext());
        // Exactly the age and the edit count changed on the disk.
        file.replace(25, 3, ages[visit - 1].toLatin1() + " ");
        file.replace(188, 1, QByteArray::number(visit));
        QCOMPARE(fakes::readAll(rig.dataFile()), file);
    }
    const int shownBefore = static_cast<int>(rig.boxes->shown.size());
    auto locked = rig.open(true, 1);
    QVERIFY(locked);
    QVERIFY(locked->isLocked());
    QCOMPARE(rig.boxes->shown.size(), shownBefore + 1);
    QCOMPARE(rig.boxes->shown.last().text,
             QStringLiteral("This client's information has been changed 3 times.\rNo further "
                            "editing is permitted. Press Enter to continue."));
    QCOMPARE(locked->msgPanel()->text(),
             QStringLiteral("Exceeded limits of editing. Press Enter to continue."));
    fakes::saveShot(locked.get(), "client_info_locked");
    press(Qt::Key_Return);
    QVERIFY(locked->ProceedToNext());
    QCOMPARE(fakes::readAll(rig.dataFile()), file);
}

void TestClientInfo::editingWithoutChangeWritesNothing() {
    Rig rig;
    const QByteArray before = fakes::readAll(rig.dataFile());
    auto screen = rig.open(true, 1);
    QVERIFY(screen);
    QCOMPARE(screen->txtName->text(), QStringLiteral("Harmon, Della J."));
    QCOMPARE(screen->cmbMarital->currentText(), QStringLiteral("Divorced"));
    // Walk through every field with Enter, changing nothing.
    screen->txtName->setFocus();
    for (int i = 0; i < 9; ++i) {
        press(Qt::Key_Return);
    }
    QVERIFY(screen->kit()->cmdMenuChoice(0)->hasFocus());
    QCOMPARE(screen->EditsMade(), 0);
    press(Qt::Key_Return);
    QVERIFY(screen->ProceedToNext());
    QCOMPARE(fakes::readAll(rig.dataFile()), before);
    QCOMPARE(rig.fs->calls(fakes::FaultyFileSystem::Op::WriteAt), 0);
}

void TestClientInfo::sameFieldChangedTwiceCountsTwice() {
    Rig rig;
    auto screen = rig.open(true, 1);
    QVERIFY(screen);
    screen->txtAge->setFocus();
    typeText("50");
    press(Qt::Key_Return);
    screen->txtAge->setFocus();
    typeText("51");
    press(Qt::Key_Return);
    QCOMPARE(screen->EditsMade(), 2);
    // Back to the first value is a change too.
    screen->txtAge->setFocus();
    typeText("50");
    press(Qt::Key_Return);
    QCOMPARE(screen->EditsMade(), 3);
    QVERIFY(screen->isLocked());
}

void TestClientInfo::deletedNameLocks() {
    Rig rig;
    QByteArray file = fakes::readAll(rig.dataFile());
    file[189] = '1';
    fakes::writeAll(rig.dataFile(), file);
    rig.state().clients().Clients(1).set(Field::NameDeleted, u"1");
    auto screen = rig.open(true, 1);
    QVERIFY(screen);
    QVERIFY(screen->isLocked());
    QCOMPARE(rig.boxes->shown.last().title, QStringLiteral("Name Deleted"));
    QTRY_COMPARE(screen->msgPanel()->text(),
                 QStringLiteral("Client name has been deleted. Editing is not permitted. Press "
                                "Enter to continue."));
    QCOMPARE(rig.boxes->shown.last().text,
             QStringLiteral("This client's name has been deleted.\rEditing this information is no "
                            "longer permitted."));
    press(Qt::Key_Return);
    QVERIFY(screen->ProceedToNext());
    QCOMPARE(fakes::readAll(rig.dataFile()), file);
}

void TestClientInfo::failedWriteKeepsRecord() {
    Rig rig;
    const QByteArray before = fakes::readAll(rig.dataFile());
    auto screen = rig.open(true, 1);
    QVERIFY(screen);
    screen->txtAge->setFocus();
    typeText("60");
    press(Qt::Key_Return);
    rig.fs->failNth(fakes::FaultyFileSystem::Op::WriteAt, 1, err::DiskFull);
    screen->kit()->cmdMenuChoice(0)->click();
    QVERIFY(screen->isVisible());
    QVERIFY(rig.boxes->texts().last().startsWith("Error 61:"));
    QCOMPARE(fakes::readAll(rig.dataFile()), before);
    QCOMPARE(rig.state().clients().Clients(1).bytes(), before.left(190));
    // The operator tries again and the change is stored.
    screen->kit()->cmdMenuChoice(0)->click();
    QVERIFY(!screen->isVisible());
    QCOMPARE(fieldOf(fakes::readAll(rig.dataFile()), 1, Field::Age), QStringLiteral("60 "));
}

QTEST_MAIN(TestClientInfo)
#include "test_clientinfo.moc"
