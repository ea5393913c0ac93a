#include "support/TestingRig.h"
#include "ui/MenuChoice.h"
#include "ui/MessagePanel.h"
#include "ui/ScreenKit.h"

#include <QGroupBox>
#include <QLabel>
#include <QtTest>

using namespace tov;
using fakes::answerItem;
using fakes::answerItems;
using fakes::passInstructions;
using fakes::press;
using fakes::TestingRig;
using records::Field;
using testing::frmPresentQA;

namespace {

const QString kPartNote =
    QStringLiteral("You have completed this part of the test. Press Enter to continue.");
const QString kTestNote = QStringLiteral("You have completed the test. Thank you for your "
                                         "participation.\r\rPress Enter to continue.");

QString recordField(const QByteArray& file, int record, Field f) {
    const auto& l = records::layoutOf(f);
    return QString::fromLatin1(file.mid((record - 1) * 190 + l.offset, l.width));
}

// Items 1 to n - 1 answered True, arriving at item n.
void reachItem(frmPresentQA* screen, int n) {
    passInstructions(screen);
    answerItems(screen, QString(n - 1, QLatin1Char('1')), 1);
    if (screen->txtInstructions()->hasFocus()) {
        press(Qt::Key_Return);
    }
    QCOMPARE(screen->ItemNumber(), n);
}

bool answerShown(frmPresentQA* screen, int i) {
    return !screen->kit()->cmdMenuChoice(i)->isHidden();
}

} // namespace

class TestPresentation : public QObject {
    Q_OBJECT

private slots:
    void wholeTestStoresAnswers();
    void firstScreenIsGeneralInstructions();
    void answersOfAnItem_data();
    void answersOfAnItem();
    void downWrapsAndTabMoves_data();
    void downWrapsAndTabMoves();
    void upFromFirstAnswerReturnsToQuestion();
    void otherKeysInQuestionDiscarded();
    void focusColoursAndBold();
    void f10OnFirstItemBeeps();
    void f10OnItem69ShowsItem68WithoutInstructions();
    void f10FromItem68RepeatsNoteAndInstructions();
    void f10OnLastItemGoesBackWithoutEnding();
    void f10IgnoredDuringInstructions();
    void abortDuringInstructionsStoresNothing();
    void abortDuringItemsStoresNothing();
    void languageTexts_data();
    void languageTexts();
    void answerHelpLine_data();
    void answerHelpLine();
    void spanishNotesAndScreenshots();
    void promptsPlayedInOrder_data();
    void promptsPlayedInOrder();
    void shortTableRefused();
    void unreadableTableRefused();
    void failedGuardStoresNothing();
    void failedWriteAsksToRetry();
    void brokenItemOrderLeavesZeros();
};

void TestPresentation::wholeTestStoresAnswers() {
    TestingRig rig;
    QVERIFY(rig.started);
    rig.beginNewClient();
    const QByteArray before = fakes::readAll(rig.dataFile());
    auto screen = rig.present(QStringLiteral("English"));
    QVERIFY(screen);
    passInstructions(screen.get());
    const QString codes = fakes::sampleResponses();
    answerItems(screen.get(), codes, 1);
    QVERIFY(!screen->isVisible());
    QVERIFY(screen->ProceedToNext());
    QCOMPARE(rig.boxes->titles(), QStringList({"Presentation Note", "Presentation Note"}));
    QCOMPARE(rig.boxes->shown[0].text, kPartNote);
    QCOMPARE(rig.boxes->shown[1].text, kTestNote);
    // The record is appended with its answers, and the count grows with it.
    QCOMPARE(rig.state().clients().ClientCount(), 3);
    const QByteArray after = fakes::readAll(rig.dataFile());
    QCOMPARE(after.size(), 3 * 190);
    QCOMPARE(after.left(qsizetype{2} * 190), before);
    QCOMPARE(recordField(after, 3, Field::Responses), codes);
    QCOMPARE(recordField(after, 3, Field::Name).trimmed(), QStringLiteral("Newcomer, Nell"));
    QCOMPARE(rig.state().clients().Clients(3).get(Field::Responses), codes);
}

void TestPresentation::firstScreenIsGeneralInstructions() {
    TestingRig rig;
    rig.beginNewClient();
    auto screen = rig.present(QStringLiteral("English"));
    QVERIFY(screen);
    QCOMPARE(screen->windowTitle(), QStringLiteral("Question Presentation"));
    QVERIFY(screen->fraInstructions()->isVisible());
    QVERIFY(screen->txtInstructions()->toPlainText().startsWith("General Instructions\n\n"));
    QVERIFY(screen->txtInstructions()->toPlainText().endsWith("Press the Enter key to begin."));
    QCOMPARE(screen->msgPanel()->text(), QStringLiteral("When ready press Enter to continue."));
    // Item 1 waits behind the instructions.
    QCOMPARE(screen->ItemNumber(), 1);
    QVERIFY(screen->txtQuestion()->toPlainText().startsWith("1. "));
    fakes::saveShot(screen.get(), "presentation_general_instructions");
    press(Qt::Key_Tab); // Tab leaves the instructions as Enter does
    QVERIFY(screen->txtInstructions()->toPlainText().startsWith("Section 1\n\n"));
    fakes::saveShot(screen.get(), "presentation_section1_instructions");
    press(Qt::Key_Return);
    QVERIFY(!screen->fraInstructions()->isVisible());
    QVERIFY(screen->txtQuestion()->hasFocus());
    QCOMPARE(screen->msgPanel()->text(),
             QStringLiteral("Use Up or Down arrow keys to highlight answer, then press Enter. "
                            "Press F10 to go back to previous question."));
    for (int i = 1; i <= 73; ++i) {
        QCOMPARE(screen->answerCodes().at(i), 0);
    }
}

void TestPresentation::answersOfAnItem_data() {
    QTest::addColumn<int>("item");
    QTest::addColumn<QStringList>("answers");
    QTest::newRow("true/false") << 1 << QStringList{"True", "False"};
    QTest::newRow("last true/false") << 67 << QStringList{"True", "False"};
    QTest::newRow("four choices") << 68
                                  << QStringList{"1. A serious problem", "2. A moderate problem",
                                                 "3. A mild problem", "4. No problem"};
}

void TestPresentation::answersOfAnItem() {
    QFETCH(int, item);
    QFETCH(QStringList, answers);
    TestingRig rig;
    rig.beginNewClient();
    auto screen = rig.present(QStringLiteral("English"));
    QVERIFY(screen);
    reachItem(screen.get(), item);
    QVERIFY(screen->txtQuestion()->toPlainText().startsWith(QString::number(item) + ". "));
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(answerShown(screen.get(), i), i < answers.size());
        QCOMPARE(screen->txtButtonText(i)->text(), answers.value(i));
        // A hidden answer's panel stays.
        QVERIFY(screen->kit()->sspMenuChoice(i)->isVisible());
    }
    fakes::saveShot(screen.get(), answers.size() == 2
                                      ? QStringLiteral("presentation_true_false")
                                      : QStringLiteral("presentation_four_choices"));
}

void TestPresentation::downWrapsAndTabMoves_data() {
    QTest::addColumn<int>("item");
    QTest::addColumn<int>("key");
    QTest::addColumn<QList<int>>("path");
    QTest::newRow("down, two answers") << 1 << int(Qt::Key_Down) << QList<int>{1, 0, 1};
    QTest::newRow("tab, two answers") << 1 << int(Qt::Key_Tab) << QList<int>{1, 0, 1};
    QTest::newRow("down, four answers") << 68 << int(Qt::Key_Down) << QList<int>{1, 2, 3, 0, 1};
    QTest::newRow("tab, four answers") << 70 << int(Qt::Key_Tab) << QList<int>{1, 2, 3, 0};
}

void TestPresentation::downWrapsAndTabMoves() {
    QFETCH(int, item);
    QFETCH(int, key);
    QFETCH(QList<int>, path);
    TestingRig rig;
    rig.beginNewClient();
    auto screen = rig.present(QStringLiteral("English"));
    QVERIFY(screen);
    reachItem(screen.get(), item);
    press(Qt::Key_Down);
    QVERIFY(screen->kit()->cmdMenuChoice(0)->hasFocus());
    for (int next : path) {
        press(Qt::Key(key));
        QVERIFY2(screen->kit()->cmdMenuChoice(next)->hasFocus(), qPrintable(QString::number(next)));
    }
}

void TestPresentation::upFromFirstAnswerReturnsToQuestion() {
    TestingRig rig;
    rig.beginNewClient();
    auto screen = rig.present(QStringLiteral("English"));
    QVERIFY(screen);
    reachItem(screen.get(), 68);
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    QVERIFY(screen->kit()->cmdMenuChoice(2)->hasFocus());
    press(Qt::Key_Up);
    QVERIFY(screen->kit()->cmdMenuChoice(1)->hasFocus());
    press(Qt::Key_Up);
    QVERIFY(screen->kit()->cmdMenuChoice(0)->hasFocus());
    press(Qt::Key_Up);
    QVERIFY(screen->txtQuestion()->hasFocus());
    QCOMPARE(screen->ItemNumber(), 68);
}

void TestPresentation::otherKeysInQuestionDiscarded() {
    TestingRig rig;
    rig.beginNewClient();
    auto screen = rig.present(QStringLiteral("English"));
    QVERIFY(screen);
    passInstructions(screen.get());
    const QString text = screen->txtQuestion()->toPlainText();
    for (Qt::Key key :
         {Qt::Key_Tab, Qt::Key_Up, Qt::Key_Return, Qt::Key_Space, Qt::Key_A, Qt::Key_Delete}) {
        press(key);
        QVERIFY(screen->txtQuestion()->hasFocus());
    }
    QCOMPARE(screen->txtQuestion()->toPlainText(), text);
    QCOMPARE(screen->ItemNumber(), 1);
    QCOMPARE(screen->answerCodes().at(1), 0);
}

void TestPresentation::focusColoursAndBold() {
    TestingRig rig;
    rig.beginNewClient();
    auto screen = rig.present(QStringLiteral("English"));
    QVERIFY(screen);
    passInstructions(screen.get());
    const QColor cyan(0, 255, 255);
    const QColor blue(0, 0, 255);
    QCOMPARE(screen->txtQuestion()->palette().color(QPalette::Base), cyan);
    QCOMPARE(screen->txtQuestion()->palette().color(QPalette::Text), QColor(Qt::black));
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    QCOMPARE(screen->txtQuestion()->palette().color(QPalette::Base), blue);
    QCOMPARE(screen->txtQuestion()->palette().color(QPalette::Text), QColor(Qt::white));
    auto* kit = screen->kit();
    QCOMPARE(kit->sspMenuChoice(1)->palette().color(QPalette::Window), cyan);
    QCOMPARE(kit->sspMenuChoice(0)->palette().color(QPalette::Window), blue);
    QVERIFY(screen->txtButtonText(1)->font().bold());
    QVERIFY(!screen->txtButtonText(0)->font().bold());
    press(Qt::Key_Up);
    QVERIFY(screen->txtButtonText(0)->font().bold());
    QVERIFY(!screen->txtButtonText(1)->font().bold());
    press(Qt::Key_Up);
    QVERIFY(!screen->txtButtonText(0)->font().bold());
    QCOMPARE(kit->sspMenuChoice(0)->palette().color(QPalette::Window), blue);
    QCOMPARE(screen->txtQuestion()->palette().color(QPalette::Base), cyan);
}

void TestPresentation::f10OnFirstItemBeeps() {
    TestingRig rig;
    rig.beginNewClient();
    auto screen = rig.present(QStringLiteral("English"));
    QVERIFY(screen);
    passInstructions(screen.get());
    press(Qt::Key_F10);
    QCOMPARE(rig.boxes->beeps, 1);
    QCOMPARE(screen->ItemNumber(), 1);
    QVERIFY(screen->txtQuestion()->toPlainText().startsWith("1. "));
    answerItem(screen.get(), 2);
    QCOMPARE(screen->ItemNumber(), 2);
    // Back from item 2 shows item 1 again, to be answered anew.
    press(Qt::Key_F10);
    QCOMPARE(screen->ItemNumber(), 1);
    QVERIFY(screen->txtQuestion()->hasFocus());
    press(Qt::Key_F10);
    QCOMPARE(rig.boxes->beeps, 2);
    answerItem(screen.get(), 1);
    QCOMPARE(screen->answerCodes().at(1), 1);
}

void TestPresentation::f10OnItem69ShowsItem68WithoutInstructions() {
    TestingRig rig;
    rig.beginNewClient();
    auto screen = rig.present(QStringLiteral("English"));
    QVERIFY(screen);
    reachItem(screen.get(), 68);
    answerItem(screen.get(), 4);
    QCOMPARE(screen->ItemNumber(), 69);
    // The window sees F10 first, whichever answer has the focus.
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    QVERIFY(screen->kit()->cmdMenuChoice(1)->hasFocus());
    press(Qt::Key_F10);
    QCOMPARE(screen->ItemNumber(), 68);
    QVERIFY(!screen->fraInstructions()->isVisible());
    QVERIFY(screen->txtQuestion()->hasFocus());
    QVERIFY(screen->txtQuestion()->toPlainText().startsWith("68. "));
    // No answer is shown as chosen; the new answer replaces the old code.
    for (int i = 0; i < 4; ++i) {
        QVERIFY(!screen->kit()->sspMenuChoice(i)->isHighlighted());
    }
    answerItem(screen.get(), 3);
    QCOMPARE(screen->answerCodes().at(68), 3);
    QCOMPARE(screen->ItemNumber(), 69);
    QCOMPARE(rig.boxes->beeps, 0);
}

void TestPresentation::f10FromItem68RepeatsNoteAndInstructions() {
    TestingRig rig;
    rig.beginNewClient();
    auto screen = rig.present(QStringLiteral("English"));
    QVERIFY(screen);
    reachItem(screen.get(), 68);
    QCOMPARE(rig.boxes->shown.size(), 1);
    press(Qt::Key_F10);
    QCOMPARE(screen->ItemNumber(), 67);
    QVERIFY(!screen->fraInstructions()->isVisible());
    answerItem(screen.get(), 2);
    QCOMPARE(rig.boxes->shown.size(), 2);
    QCOMPARE(rig.boxes->shown[1].text, kPartNote);
    QVERIFY(screen->fraInstructions()->isVisible());
    QVERIFY(screen->txtInstructions()->hasFocus());
    QVERIFY(screen->txtInstructions()->toPlainText().startsWith("Section 2\n\n"));
    QCOMPARE(screen->answerCodes().at(67), 2);
    press(Qt::Key_Return);
    QCOMPARE(screen->ItemNumber(), 68);
}

void TestPresentation::f10OnLastItemGoesBackWithoutEnding() {
    TestingRig rig;
    rig.beginNewClient();
    auto screen = rig.present(QStringLiteral("English"));
    QVERIFY(screen);
    reachItem(screen.get(), 73);
    press(Qt::Key_F10);
    QVERIFY(screen->isVisible());
    QCOMPARE(screen->ItemNumber(), 72);
    QCOMPARE(rig.state().clients().ClientCount(), 2);
    answerItem(screen.get(), 2);
    answerItem(screen.get(), 4);
    QVERIFY(!screen->isVisible());
    QCOMPARE(rig.state().clients().ClientCount(), 3);
    const QString stored = rig.state().clients().Clients(3).get(Field::Responses);
    QCOMPARE(stored.right(2), QStringLiteral("24"));
}

void TestPresentation::f10IgnoredDuringInstructions() {
    TestingRig rig;
    rig.beginNewClient();
    auto screen = rig.present(QStringLiteral("English"));
    QVERIFY(screen);
    press(Qt::Key_F10);
    QVERIFY(screen->txtInstructions()->toPlainText().startsWith("General Instructions"));
    QCOMPARE(rig.boxes->beeps, 0);
    passInstructions(screen.get());
    answerItems(screen.get(), QString(67, QLatin1Char('2')), 1);
    QVERIFY(screen->txtInstructions()->hasFocus());
    press(Qt::Key_F10);
    QVERIFY(screen->fraInstructions()->isVisible());
    QCOMPARE(screen->ItemNumber(), 68);
}

void TestPresentation::abortDuringInstructionsStoresNothing() {
    TestingRig rig;
    rig.beginNewClient();
    const QByteArray before = fakes::readAll(rig.dataFile());
    auto screen = rig.present(QStringLiteral("English"));
    QVERIFY(screen);
    press(Qt::Key_F10, Qt::ShiftModifier | Qt::AltModifier);
    QVERIFY(!screen->isVisible());
    QCOMPARE(fakes::readAll(rig.dataFile()), before);
    QCOMPARE(rig.state().clients().ClientCount(), 2);
    QCOMPARE(rig.state().clients().CurrentClient(), 1);
    QCOMPARE(rig.state().clients().Clients(3).bytes(), QByteArray(190, ' '));
    // An aborted test is no result of the screen; the road still asks the supervisor for the code.
    QVERIFY(!screen->ProceedToNext());
    QVERIFY(rig.boxes->shown.isEmpty());
}

void TestPresentation::abortDuringItemsStoresNothing() {
    TestingRig rig{QStringList{}};
    rig.beginNewClient();
    auto screen = rig.present(QStringLiteral("English"));
    QVERIFY(screen);
    reachItem(screen.get(), 5);
    press(Qt::Key_F10, Qt::AltModifier | Qt::ShiftModifier);
    QVERIFY(!screen->isVisible());
    QCOMPARE(fakes::readAll(rig.dataFile()).size(), 0);
    QCOMPARE(rig.state().clients().ClientCount(), 0);
    // With no clients on the volume there is no client to make current.
    QCOMPARE(rig.state().clients().CurrentClient(), 0);
    QCOMPARE(rig.state().clients().Clients(1).bytes(), QByteArray(190, ' '));
}

void TestPresentation::languageTexts_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("spanish");
    QTest::newRow("Spanish") << "Spanish" << true;
    QTest::newRow("spanish in lower case") << "spanish" << true;
    QTest::newRow("SPANISH") << "SPANISH" << true;
    QTest::newRow("English") << "English" << false;
    QTest::newRow("english") << "english" << false;
}

void TestPresentation::languageTexts() {
    QFETCH(QString, language);
    QFETCH(bool, spanish);
    TestingRig rig;
    rig.beginNewClient();
    auto screen = rig.present(language);
    QVERIFY(screen);
    QCOMPARE(screen->windowTitle(), spanish ? QStringLiteral("Presentación de preguntas")
                                            : QStringLiteral("Question Presentation"));
    QCOMPARE(screen->txtInstructions()->toPlainText().section('\n', 0, 0),
             spanish ? QStringLiteral("Instrucciones") : QStringLiteral("General Instructions"));
    QCOMPARE(screen->msgPanel()->text(),
             spanish ? QStringLiteral("Oprima la tecla «Enter» para seguir.")
                     : QStringLiteral("When ready press Enter to continue."));
    // The frame captions stay in English.
    QCOMPARE(screen->fraInstructions()->title(), QStringLiteral("Instructions"));
    QCOMPARE(screen->fraAnswer()->title(), QStringLiteral("Choose Answer"));
    passInstructions(screen.get());
    QCOMPARE(screen->txtButtonText(0)->text(),
             spanish ? QStringLiteral("Cierto") : QStringLiteral("True"));
}

void TestPresentation::answerHelpLine_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("deviceError");
    QTest::addColumn<QString>("help");
    const QString spanish = QStringLiteral("Ilumine la respuesta que usted escoja y luego oprima "
                                           "la tecla «Enter».");
    QTest::newRow("English, sound") << "English" << 0
                                    << "Press Enter to select this answer. Press Tab or Arrows "
                                       "to hear question again.";
    QTest::newRow("English, no sound device")
        << "English" << 68 << "Press Enter to select this answer.";
    QTest::newRow("Spanish, sound") << "Spanish" << 0 << spanish;
    QTest::newRow("Spanish, no sound device") << "Spanish" << 68 << spanish;
}

void TestPresentation::answerHelpLine() {
    QFETCH(QString, language);
    QFETCH(int, deviceError);
    QFETCH(QString, help);
    TestingRig rig;
    rig.beginNewClient();
    rig.wave->deviceError = deviceError;
    auto screen = rig.present(language);
    QVERIFY(screen);
    QCOMPARE(screen->SoundOn(), deviceError == 0);
    passInstructions(screen.get());
    press(Qt::Key_Down);
    QCOMPARE(screen->msgPanel()->text(), help);
    press(Qt::Key_Down);
    QCOMPARE(screen->msgPanel()->text(), help);
    // No message tells the client about a missing device.
    QVERIFY(rig.boxes->shown.isEmpty());
}

void TestPresentation::spanishNotesAndScreenshots() {
    TestingRig rig;
    rig.beginNewClient(QStringLiteral("Peña, José"));
    auto screen = rig.present(QStringLiteral("Spanish"));
    QVERIFY(screen);
    fakes::saveShot(screen.get(), "presentation_spanish_instructions");
    passInstructions(screen.get());
    fakes::saveShot(screen.get(), "presentation_spanish_true_false");
    // The longest help line is read whole, on two lines if need be.
    ui::MessagePanel* help = screen->msgPanel();
    QVERIFY(help->wordWrap());
    const QRect needed = help->fontMetrics().boundingRect(
        help->contentsRect().adjusted(help->indent(), 0, -help->indent(), 0), Qt::TextWordWrap,
        help->text());
    QVERIFY(needed.height() <= help->contentsRect().height());
    QVERIFY(screen->txtQuestion()->toPlainText().startsWith("1. He recibido"));
    answerItems(screen.get(), QString(67, QLatin1Char('2')), 1);
    QVERIFY(screen->txtInstructions()->hasFocus());
    fakes::saveShot(screen.get(), "presentation_spanish_section2");
    press(Qt::Key_Return);
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    fakes::saveShot(screen.get(), "presentation_spanish_four_choices");
    press(Qt::Key_Up);
    press(Qt::Key_Up);
    answerItems(screen.get(), QStringLiteral("443211"), 68);
    QVERIFY(!screen->isVisible());
    QCOMPARE(rig.boxes->titles(), QStringList({"Nota de Presentación", "Nota de Presentacion"}));
    QCOMPARE(rig.boxes->shown[0].text,
             QStringLiteral("Usted ha terminado esta parte de la prueba. Oprima la tecla «Enter» "
                            "para seguir."));
    QCOMPARE(rig.boxes->shown[1].text,
             QStringLiteral("Usted ha terminado la prueba. Se le agradece su participacion.\r\r"
                            "Oprima la tecla <<Enter>> para terminar."));
    QCOMPARE(rig.state().clients().Clients(3).get(Field::Responses),
             QString(67, QLatin1Char('2')) + "443211");
}

void TestPresentation::promptsPlayedInOrder_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("yes");
    QTest::addColumn<QString>("no");
    QTest::newRow("English") << "English"
                             << "True.wav"
                             << "False.wav";
    QTest::newRow("Spanish") << "Spanish"
                             << "Cierto.wav"
                             << "Falso.wav";
}

void TestPresentation::promptsPlayedInOrder() {
    QFETCH(QString, language);
    QFETCH(QString, yes);
    QFETCH(QString, no);
    TestingRig rig;
    rig.beginNewClient();
    // Only some of the prompts exist; the others are silent.
    const QString folder =
        rig.makeSounds(language, {"Inst0.wav", "Inst1.wav", "Inst2.wav", "Q01.wav", "Q02.wav", yes,
                                  no, "Q68.wav", "Q68A1.wav", "Q68A2.wav"});
    // The other language's folder is never used.
    rig.makeSounds(language == "English" ? "Spanish" : "English", {"Inst0.wav", "Q01.wav"});
    auto screen = rig.present(language);
    QVERIFY(screen);
    QStringList expected = {"Inst0.wav"};
    const auto check = [&](const QStringList& more) {
        expected << more;
        QStringList played;
        for (const QString& p : std::as_const(rig.wave->played)) {
            QVERIFY2(p.startsWith(folder), qPrintable(p));
            played << p.mid(folder.size());
        }
        QCOMPARE(played, expected);
    };
    check({});
    press(Qt::Key_Return);
    check({"Inst1.wav"});
    press(Qt::Key_Return);
    check({"Q01.wav"});
    press(Qt::Key_Down);
    check({yes});
    press(Qt::Key_Down);
    check({no});
    press(Qt::Key_Up);
    check({yes});
    press(Qt::Key_Up);
    check({"Q01.wav"});
    press(Qt::Key_Down);
    press(Qt::Key_Return);
    check({yes, "Q02.wav"});
    // Going back passes over the first answer on its way to the question.
    press(Qt::Key_F10);
    check({yes, "Q01.wav"});
    answerItems(screen.get(), QString(67, QLatin1Char('1')), 1);
    // Items 3 to 67 have no files: only their True answers and item 2 are heard.
    QStringList heard = {yes, "Q02.wav", yes};
    for (int n = 3; n <= 67; ++n) {
        heard << yes;
    }
    heard << "Inst2.wav";
    check(heard);
    QVERIFY(rig.wave->playing.endsWith("Inst2.wav"));
    press(Qt::Key_Return);
    check({"Q68.wav"});
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    check({"Q68A1.wav", "Q68A2.wav"});
    // Leaving the screen stops the prompt.
    press(Qt::Key_F10, Qt::ShiftModifier | Qt::AltModifier);
    QVERIFY(rig.wave->playing.isEmpty());
    QCOMPARE(rig.boxes->shown.size(), 1);
}

void TestPresentation::shortTableRefused() {
    TestingRig rig;
    rig.beginNewClient();
    QVERIFY(rig.alterBank({"DELETE FROM Spanish WHERE ID > 72"}));
    frmPresentQA screen(rig.program->context(), &rig.menu());
    screen.setLanguage("Spanish");
    QVERIFY(!screen.OpenQuestions());
    QCOMPARE(rig.boxes->shown.size(), 1);
    QCOMPARE(rig.boxes->shown[0].title, QStringLiteral("Question Bank Error"));
    QCOMPARE(rig.boxes->shown[0].text,
             QStringLiteral("The Spanish test in the question bank has 72 of its 73 items, so it "
                            "cannot be given.\r\rNothing has been stored for this client. Press "
                            "Enter to continue."));
    QCOMPARE(rig.state().clients().ClientCount(), 2);
}

void TestPresentation::unreadableTableRefused() {
    TestingRig rig;
    rig.beginNewClient();
    frmPresentQA screen(rig.program->context(), &rig.menu());
    screen.setLanguage("French");
    QVERIFY(!screen.OpenQuestions());
    QCOMPARE(rig.boxes->shown.size(), 1);
    QVERIFY(rig.boxes->shown[0].text.startsWith(
        "The French test in the question bank could not be read.\rError "));
    QCOMPARE(rig.boxes->shown[0].icon, platform::MessageBoxes::Icon::Error);
}

void TestPresentation::failedGuardStoresNothing() {
    TestingRig rig;
    rig.beginNewClient();
    const QByteArray before = fakes::readAll(rig.dataFile());
    auto screen = rig.present(QStringLiteral("English"));
    QVERIFY(screen);
    reachItem(screen.get(), 73);
    rig.volumes->ids[rig.dataDir] = QStringLiteral("ANOTHER-STICK");
    answerItem(screen.get(), 1);
    QVERIFY(!screen->isVisible());
    QCOMPARE(fakes::readAll(rig.dataFile()), before);
    QCOMPARE(rig.state().clients().ClientCount(), 2);
    QCOMPARE(rig.ends, 1);
    QVERIFY(screen->ProceedToNext());
}

void TestPresentation::failedWriteAsksToRetry() {
    TestingRig rig;
    rig.beginNewClient();
    auto screen = rig.present(QStringLiteral("English"));
    QVERIFY(screen);
    reachItem(screen.get(), 73);
    rig.fs->failNth(fakes::FaultyFileSystem::Op::WriteAt, 1, err::DeviceIo);
    answerItem(screen.get(), 2);
    QVERIFY(!screen->isVisible());
    QCOMPARE(rig.boxes->titles().last(), QStringLiteral("Data Disk Error"));
    QCOMPARE(rig.boxes->shown.last().buttons, platform::MessageBoxes::Buttons::RetryCancel);
    // Retried and written once.
    QCOMPARE(rig.state().clients().ClientCount(), 3);
    QCOMPARE(fakes::readAll(rig.dataFile()).size(), 3 * 190);
    QCOMPARE(recordField(fakes::readAll(rig.dataFile()), 3, Field::Responses),
             QString(72, QLatin1Char('1')) + "2");
}

void TestPresentation::brokenItemOrderLeavesZeros() {
    TestingRig rig;
    rig.beginNewClient();
    // Item 5's row is missing and a copy of item 73 stands at the end to keep 73 rows.
    QVERIFY(rig.alterBank({"DELETE FROM English WHERE ID = 5",
                           "INSERT INTO English SELECT * FROM English WHERE ID = 73"}));
    auto screen = rig.present(QStringLiteral("English"));
    QVERIFY(screen);
    passInstructions(screen.get());
    answerItems(screen.get(), "1111", 1);
    QCOMPARE(screen->ItemNumber(), 6);
    answerItems(screen.get(), QString(62, QLatin1Char('1')), 6);
    answerItems(screen.get(), "111111", 68);
    QVERIFY(!screen->isVisible());
    const QString stored = rig.state().clients().Clients(3).get(Field::Responses);
    QCOMPARE(stored, QStringLiteral("11110") + QString(68, QLatin1Char('1')));
}

QTEST_MAIN(TestPresentation)
#include "test_presentation.moc"
