#include "intake/frmClientInfo.h"
#include "intake/frmCourtHistory.h"
#include "supervisor/frmMyInputBox.h"
#include "support/TestingRig.h"
#include "testing/frmSelectEntryMethod.h"
#include "testing/frmSelectLanguage.h"
#include "ui/MenuChoice.h"
#include "ui/MessagePanel.h"
#include "ui/frmMainMenu.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QtTest>

using namespace tov;
using fakes::press;
using fakes::TestingRig;
using fakes::typeText;
using records::Field;
using testing::frmPresentQA;
using testing::frmSelectEntryMethod;
using testing::frmSelectLanguage;

namespace {

// Gives a dialog that a chain has just opened the keyboard.
bool takeKeyboard(QWidget* dialog) {
    QApplication::setActiveWindow(dialog);
    return QTest::qWaitForWindowActive(dialog);
}

// Types each entry into the next access-code prompts; "<cancel>" cancels that prompt.
void answerAccessCodes(QStringList entries, int* prompts) {
    QTimer::singleShot(0, [entries, prompts]() mutable {
        auto* box = qobject_cast<supervisor::frmMyInputBox*>(QApplication::activeModalWidget());
        if (box == nullptr || entries.isEmpty()) {
            return;
        }
        ++*prompts;
        const QString entry = entries.takeFirst();
        if (!entries.isEmpty()) {
            answerAccessCodes(entries, prompts);
        }
        if (entry == QLatin1String("<cancel>")) {
            box->kit()->cmdMenuChoice(1)->click();
            return;
        }
        QTest::keyClicks(box->txtInput(), entry);
        QTest::keyClick(box->txtInput(), Qt::Key_Return);
        QTest::keyClick(box->kit()->cmdMenuChoice(0), Qt::Key_Return);
    });
}

void fillClientInfo(intake::frmClientInfo* info) {
    QVERIFY(info->txtName->hasFocus());
    for (const char* value : {"Quill, Quentin", "52", "02/29/1972", "1", "5", "2", "3",
                              "000-11-2222", "Q123-4567-8901"}) {
        typeText(QString::fromLatin1(value));
        press(Qt::Key_Return);
    }
    QVERIFY(info->kit()->cmdMenuChoice(0)->hasFocus());
    press(Qt::Key_Return);
}

void fillCourtHistory(intake::frmCourtHistory* court) {
    for (const char* value :
         {"1", "0", "n", "2", "12", "0", "1", "0", "9/8/2026", ".15", "1", "r"}) {
        typeText(QString::fromLatin1(value));
        press(Qt::Key_Return);
    }
    QVERIFY(court->kit()->cmdMenuChoice(0)->hasFocus());
    press(Qt::Key_Return);
}

// What one run of Add New Client went through.
struct Chain {
    bool courtShown = false;
    bool languageShown = false;
    QString presented;
    int prompts = 0;
};

// What the operator does on the entry method screen when the chain comes back to it.
using Afterwards = std::function<void(frmSelectEntryMethod*)>;

// Runs Add New Client from the main menu: the operator chooses "Administer Test to Client",
// types the client's information and court history, picks the language at the given position
// (-1 cancels), and the client answers with the codes given; "abort" leaves with Shift+Alt+F10.
// The supervisor then types the access codes given. Each screen is given the keyboard before the
// next one is awaited: waiting spins the event loop.
void runOnScreen(TestingRig& rig, Chain& chain, int language, const QString& codes,
                 const QStringList& accessCodes, bool cancelInfo = false,
                 const Afterwards& afterwards = {}) {
    auto present = [&chain, codes, accessCodes](frmPresentQA* qa) {
        chain.presented = qa->Language();
        QVERIFY(takeKeyboard(qa));
        answerAccessCodes(accessCodes, &chain.prompts);
        if (codes == QLatin1String("abort")) {
            press(Qt::Key_F10, Qt::ShiftModifier | Qt::AltModifier);
            return;
        }
        fakes::passInstructions(qa);
        fakes::answerItems(qa, codes, 1);
    };
    auto chooseLanguage = [&chain, language, present] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* lang = qobject_cast<frmSelectLanguage*>(modal)) {
            chain.languageShown = true;
            QVERIFY(takeKeyboard(lang));
            if (language < 0) {
                lang->kit()->cmdMenuChoice(frmSelectLanguage::ChoiceCancel)->click();
                return;
            }
            fakes::whenModal<frmPresentQA>(present);
            lang->kit()->cmdMenuChoice(language)->setFocus();
            press(Qt::Key_Return);
        } else if (auto* qa = qobject_cast<frmPresentQA*>(modal)) {
            // With one language the language screen is skipped.
            present(qa);
        }
    };
    auto court = [&chain, chooseLanguage](intake::frmCourtHistory* screen) {
        chain.courtShown = true;
        QVERIFY(takeKeyboard(screen));
        QTimer::singleShot(0, chooseLanguage);
        fillCourtHistory(screen);
    };
    auto info = [cancelInfo, court](intake::frmClientInfo* screen) {
        QVERIFY(takeKeyboard(screen));
        if (cancelInfo) {
            screen->kit()->cmdMenuChoice(1)->click();
            return;
        }
        fakes::whenModal<intake::frmCourtHistory>(court);
        fillClientInfo(screen);
    };
    fakes::whenModal<frmSelectEntryMethod>([info, afterwards](frmSelectEntryMethod* entry) {
        QVERIFY(takeKeyboard(entry));
        fakes::whenModal<intake::frmClientInfo>(info);
        QVERIFY(entry->kit()->cmdMenuChoice(0)->hasFocus());
        press(Qt::Key_Return);
        if (afterwards) {
            QVERIFY(takeKeyboard(entry));
            afterwards(entry);
        }
    });
    rig.menu().kit()->cmdMenuChoice(ui::frmMainMenu::AddNewClient)->click();
}

QString recordField(const QByteArray& file, int record, Field f) {
    const auto& l = records::layoutOf(f);
    return QString::fromLatin1(file.mid((record - 1) * 190 + l.offset, l.width)).trimmed();
}

} // namespace

class TestEntryMethod : public QObject {
    Q_OBJECT

private slots:
    void entryScreenChoices();
    void scannerCheck_data();
    void scannerCheck();
    void languageButtons_data();
    void languageButtons();
    void languageChoice_data();
    void languageChoice();
    void wholeChainStoresClient();
    void onlySpanishSkipsLanguageScreen();
    void abortStillAsksForCode();
    void cancelledInformationEndsChain();
    void cancelledLanguageEndsChain();
    void refusedBank_data();
    void refusedBank();
    void missingBankRefused();
};

void TestEntryMethod::entryScreenChoices() {
    TestingRig rig;
    frmSelectEntryMethod screen(rig.program->context(), {}, &rig.menu());
    QVERIFY(fakes::showScreen(&screen));
    QCOMPARE(screen.windowTitle(), QStringLiteral("Entry Method"));
    QCOMPARE(screen.mainFrame()->objectName(), QStringLiteral("fraSelectMethod"));
    QCOMPARE(screen.frBlank()->geometry(), screen.mainFrame()->geometry());
    const QStringList captions = {"Administer Test to Client", "Enter Test Data from Answer Sheet",
                                  "Scan Answer Sheet", "Cancel New Client Entry"};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(screen.kit()->cmdMenuChoice(i)->text(), captions[i]);
    }
    // The answer-sheet paths wait for their screens; without a scanner there is no message.
    QVERIFY(!screen.kit()->cmdMenuChoice(1)->isEnabled());
    QVERIFY(!screen.kit()->cmdMenuChoice(2)->isEnabled());
    QVERIFY(rig.boxes->shown.isEmpty());
    QVERIFY(screen.kit()->cmdMenuChoice(0)->hasFocus());
    QCOMPARE(screen.msgPanel()->text(),
             QStringLiteral("Onscreen Presentation. Enter client information then present the "
                            "test on the computer."));
    // The longest help line is read whole.
    QVERIFY(screen.msgPanel()->contentsRect().width() >=
            screen.msgPanel()->fontMetrics().horizontalAdvance(screen.msgPanel()->text()) +
                screen.msgPanel()->indent());
    press(Qt::Key_Down); // arrows do not move between the choices
    QVERIFY(screen.kit()->cmdMenuChoice(0)->hasFocus());
    press(Qt::Key_Tab);
    QVERIFY(screen.kit()->cmdMenuChoice(3)->hasFocus());
    QCOMPARE(screen.msgPanel()->text(),
             QStringLiteral("Cancel. Do not enter a new client. Return to Main Menu."));
    fakes::saveShot(&screen, "entry_method");
    press(Qt::Key_Return);
    QVERIFY(!screen.isVisible());
    QCOMPARE(rig.state().clients().ClientCount(), 2);
}

void TestEntryMethod::scannerCheck_data() {
    QTest::addColumn<int>("failure");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("message");
    QTest::newRow("scanner there") << 0 << true << "";
    QTest::newRow("no source manager") << 20079 << false << "";
    QTest::newRow("no data source") << 20082 << false << "";
    QTest::newRow("other failure") << 20001 << false << "Scanner\r20001\rThe scanner jammed";
}

void TestEntryMethod::scannerCheck() {
    QFETCH(int, failure);
    QFETCH(bool, enabled);
    QFETCH(QString, message);
    TestingRig rig;
    rig.scanner->failure = failure;
    rig.scanner->description = QStringLiteral("The scanner jammed");
    testing::EntryMethods methods;
    bool scanned = false;
    methods.ScanProcedure = [&scanned] { scanned = true; };
    frmSelectEntryMethod screen(rig.program->context(), methods, &rig.menu());
    QCOMPARE(rig.scanner->checks, 1);
    QCOMPARE(screen.kit()->cmdMenuChoice(2)->isEnabled(), enabled);
    QCOMPARE(rig.boxes->shown.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty()) {
        QCOMPARE(rig.boxes->shown[0].text, message);
        QCOMPARE(rig.boxes->shown[0].title, QStringLiteral("Program Error"));
        QCOMPARE(rig.boxes->shown[0].icon, platform::MessageBoxes::Icon::Error);
    }
    if (enabled) {
        QVERIFY(fakes::showScreen(&screen));
        screen.kit()->cmdMenuChoice(2)->click();
        QVERIFY(scanned);
        QVERIFY(!screen.isVisible());
    }
}

void TestEntryMethod::languageButtons_data() {
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<QStringList>("languages");
    QTest::newRow("shipped bank") << QStringList{} << QStringList{"English", "Spanish"};
    QTest::newRow("Spanish made first")
        << QStringList{"CREATE TABLE Moved AS SELECT * FROM English", "DROP TABLE English",
                       "ALTER TABLE Moved RENAME TO English"}
        << QStringList{"Spanish", "English"};
    QTest::newRow("english in lower case") << QStringList{"ALTER TABLE English RENAME TO Renamed",
                                                          "ALTER TABLE Renamed RENAME TO english"}
                                           << QStringList{"Spanish"};
    QTest::newRow("only Spanish") << QStringList{"DROP TABLE English"} << QStringList{"Spanish"};
    QTest::newRow("no language") << QStringList{"DROP TABLE English", "DROP TABLE Spanish",
                                                "CREATE TABLE French (ID)"}
                                 << QStringList{};
}

void TestEntryMethod::languageButtons() {
    QFETCH(QStringList, changes);
    QFETCH(QStringList, languages);
    TestingRig rig;
    QVERIFY(rig.alterBank(changes));
    frmSelectLanguage screen(rig.program->context(), &rig.menu());
    QCOMPARE(screen.LanguageCount(), languages.size());
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(!screen.kit()->sspMenuChoice(i)->isHidden(), i < languages.size());
        if (i < languages.size()) {
            QCOMPARE(screen.kit()->cmdMenuChoice(i)->text(), languages[i]);
        }
    }
    if (languages.size() < 2) {
        return;
    }
    QVERIFY(fakes::showScreen(&screen));
    QCOMPARE(screen.windowTitle(), QStringLiteral("Select Presentation Language"));
    QVERIFY(screen.kit()->cmdMenuChoice(0)->hasFocus());
    QCOMPARE(screen.msgPanel()->text(), "Present in " + languages[0]);
    press(Qt::Key_Tab);
    QCOMPARE(screen.msgPanel()->text(), "Present in " + languages[1]);
    fakes::saveShot(&screen, "select_language");
    press(Qt::Key_Tab);
    QVERIFY(screen.kit()->cmdMenuChoice(frmSelectLanguage::ChoiceCancel)->hasFocus());
    QCOMPARE(screen.msgPanel()->text(), QStringLiteral("Cancel presentation"));
}

void TestEntryMethod::languageChoice_data() {
    QTest::addColumn<int>("tabs");
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("proceed");
    QTest::newRow("first") << 0 << "English" << true;
    QTest::newRow("second") << 1 << "Spanish" << true;
    QTest::newRow("cancel") << 2 << "" << false;
}

void TestEntryMethod::languageChoice() {
    QFETCH(int, tabs);
    QFETCH(QString, language);
    QFETCH(bool, proceed);
    TestingRig rig;
    frmSelectLanguage screen(rig.program->context(), &rig.menu());
    QCOMPARE(screen.LanguageCount(), 2);
    QVERIFY(fakes::showScreen(&screen));
    for (int i = 0; i < tabs; ++i) {
        press(Qt::Key_Tab);
    }
    press(Qt::Key_Return);
    QVERIFY(!screen.isVisible());
    QCOMPARE(screen.Language(), language);
    QCOMPARE(screen.ProceedToNext(), proceed);
}

void TestEntryMethod::wholeChainStoresClient() {
    TestingRig rig;
    QVERIFY(rig.started);
    const QByteArray before = fakes::readAll(rig.dataFile());
    Chain chain;
    const QString codes = fakes::sampleResponses();
    runOnScreen(rig, chain, 0, codes, {"x", "<cancel>", "z"});
    QVERIFY(!QTest::currentTestFailed());
    QVERIFY(chain.courtShown);
    QVERIFY(chain.languageShown);
    QCOMPARE(chain.presented, QStringLiteral("English"));
    // A wrong code and a cancelled prompt both bring the prompt back.
    QCOMPARE(chain.prompts, 3);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    const QStringList titles = rig.boxes->titles();
    QCOMPARE(titles, QStringList({"Tovaline-II Short Form", "Presentation Note",
                                  "Presentation Note", "Incorrect Password"}));
    QCOMPARE(rig.boxes->shown[0].text, QStringLiteral("Press the Enter key to begin the test."));
    QCOMPARE(rig.boxes->shown[0].buttons, platform::MessageBoxes::Buttons::Ok);

    const QByteArray after = fakes::readAll(rig.dataFile());
    QCOMPARE(after.size(), 3 * 190);
    QCOMPARE(after.left(qsizetype{2} * 190), before);
    QCOMPARE(recordField(after, 3, Field::Name), QStringLiteral("Quill, Quentin"));
    QCOMPARE(recordField(after, 3, Field::Age), QStringLiteral("52"));
    QCOMPARE(recordField(after, 3, Field::DOB), QStringLiteral("02/29/1972"));
    QCOMPARE(recordField(after, 3, Field::SSN), QStringLiteral("000-11-2222"));
    QCOMPARE(recordField(after, 3, Field::DLNumber), QStringLiteral("Q123-4567-8901"));
    QCOMPARE(recordField(after, 3, Field::TestDate), QStringLiteral("12/07/2026"));
    QCOMPARE(recordField(after, 3, Field::DateOfPresentArrest), QStringLiteral("09/08/2026"));
    QCOMPARE(recordField(after, 3, Field::Responses), codes);
    QCOMPARE(recordField(after, 3, Field::EditCount), QStringLiteral("0"));
    QCOMPARE(rig.state().clients().ClientCount(), 3);
    // Back on the main menu, the new client is listed.
    QListWidget* list = rig.menu().lbNameDisplay();
    QCOMPARE(list->count(), 3);
    QVERIFY(list->item(2)->text().startsWith(QStringLiteral("3-Quill, Quentin")));
    QVERIFY(rig.menu().frMainMenu()->isVisible());
}

void TestEntryMethod::onlySpanishSkipsLanguageScreen() {
    TestingRig rig;
    QVERIFY(rig.alterBank({"DROP TABLE English"}));
    Chain chain;
    runOnScreen(rig, chain, 0, QString(67, '1') + "111111", {"Z"});
    QVERIFY(!QTest::currentTestFailed());
    QVERIFY(!chain.languageShown);
    QCOMPARE(chain.presented, QStringLiteral("Spanish"));
    QCOMPARE(rig.boxes->titles().mid(1),
             QStringList({"Nota de Presentación", "Nota de Presentacion"}));
    QCOMPARE(rig.state().clients().ClientCount(), 3);
    QCOMPARE(chain.prompts, 1);
}

void TestEntryMethod::abortStillAsksForCode() {
    TestingRig rig;
    const QByteArray before = fakes::readAll(rig.dataFile());
    Chain chain;
    runOnScreen(rig, chain, 1, QStringLiteral("abort"), {"<cancel>", "z"});
    QVERIFY(!QTest::currentTestFailed());
    QCOMPARE(chain.presented, QStringLiteral("Spanish"));
    QCOMPARE(chain.prompts, 2);
    QCOMPARE(fakes::readAll(rig.dataFile()), before);
    QCOMPARE(rig.state().clients().ClientCount(), 2);
    QCOMPARE(rig.menu().lbNameDisplay()->count(), 2);
}

void TestEntryMethod::cancelledInformationEndsChain() {
    TestingRig rig;
    const QByteArray before = fakes::readAll(rig.dataFile());
    Chain chain;
    runOnScreen(rig, chain, 0, QString(), {}, true);
    QVERIFY(!QTest::currentTestFailed());
    QVERIFY(!chain.courtShown);
    QVERIFY(!chain.languageShown);
    QCOMPARE(chain.prompts, 0);
    QCOMPARE(fakes::readAll(rig.dataFile()), before);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

void TestEntryMethod::cancelledLanguageEndsChain() {
    TestingRig rig;
    const QByteArray before = fakes::readAll(rig.dataFile());
    Chain chain;
    runOnScreen(rig, chain, -1, QString(), {"z"});
    QVERIFY(!QTest::currentTestFailed());
    QVERIFY(chain.languageShown);
    QVERIFY(chain.presented.isEmpty());
    QCOMPARE(chain.prompts, 0);
    QVERIFY(rig.boxes->shown.isEmpty());
    QCOMPARE(fakes::readAll(rig.dataFile()), before);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    // The client who took no test is not left current: the first one in the file is.
    QCOMPARE(rig.state().clients().ClientCount(), 2);
    QCOMPARE(rig.state().clients().CurrentClient(), 1);
}

void TestEntryMethod::refusedBank_data() {
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<QString>("message");
    QTest::newRow("no language table")
        << QStringList{"DROP TABLE English", "DROP TABLE Spanish"}
        << "The question bank holds no English or Spanish test, so the test cannot be given on "
           "screen.\r\rNothing has been stored for this client. Press Enter to continue.";
    QTest::newRow("short table")
        << QStringList{"DROP TABLE English", "DELETE FROM Spanish WHERE ID > 10"}
        << "The Spanish test in the question bank has 10 of its 73 items, so it cannot be "
           "given.\r\rNothing has been stored for this client. Press Enter to continue.";
}

void TestEntryMethod::refusedBank() {
    QFETCH(QStringList, changes);
    QFETCH(QString, message);
    TestingRig rig;
    QVERIFY(rig.alterBank(changes));
    const QByteArray before = fakes::readAll(rig.dataFile());
    bool backOnChoices = false;
    Chain chain;
    runOnScreen(rig, chain, 0, QString(), {"z"}, false, [&](frmSelectEntryMethod* entry) {
        // After the message the operator chooses again among the methods.
        backOnChoices = entry->isVisible() && entry->mainFrame()->isVisible() &&
                        entry->kit()->cmdMenuChoice(3)->hasFocus();
        press(Qt::Key_Return);
        QVERIFY(!entry->isVisible());
    });
    QVERIFY(!QTest::currentTestFailed());
    QVERIFY(backOnChoices);
    QCOMPARE(rig.boxes->shown.size(), 1);
    QCOMPARE(rig.boxes->shown[0].text, message);
    QCOMPARE(rig.boxes->shown[0].title, QStringLiteral("Question Bank Error"));
    QVERIFY(chain.presented.isEmpty());
    QCOMPARE(chain.prompts, 0);
    QCOMPARE(fakes::readAll(rig.dataFile()), before);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

void TestEntryMethod::missingBankRefused() {
    TestingRig rig;
    QVERIFY(QFile::remove(rig.bankPath()));
    const QByteArray before = fakes::readAll(rig.dataFile());
    Chain chain;
    runOnScreen(rig, chain, 0, QString(), {"z"}, false, [](frmSelectEntryMethod* entry) {
        QVERIFY(entry->mainFrame()->isVisible());
        press(Qt::Key_Return);
    });
    QVERIFY(!QTest::currentTestFailed());
    QCOMPARE(rig.boxes->shown.size(), 1);
    QVERIFY(rig.boxes->shown[0].text.startsWith(
        "The question bank could not be opened, so the test cannot be given on screen.\rError "
        "3024:"));
    QVERIFY(rig.boxes->shown[0].text.endsWith("Nothing has been stored for this client. Press "
                                              "Enter to continue."));
    QCOMPARE(fakes::readAll(rig.dataFile()), before);
    QCOMPARE(rig.state().clients().ClientCount(), 2);
}

QTEST_MAIN(TestEntryMethod)
#include "test_entrymethod.moc"
