#include "entry/AnswerFormats.h"
#include "entry/frmNewEntry.h"
#include "support/ProgramRig.h"
#include "support/ScreenDriver.h"
#include "ui/MessagePanel.h"
#include "ui/ScreenKit.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QtTest>

using namespace tov;
using entry::frmNewEntry;
using fakes::press;
using fakes::ProgramRig;
using fakes::typeText;
using records::Field;

namespace {

// A question bank whose English items have these second answers, items numbered from 1.
void writeBank(const QString& path, const QStringList& answer2) {
    QFile::remove(path);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "bankmaker");
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec("CREATE TABLE English (ID INTEGER, TestQuestion TEXT, ANSWER1 TEXT, "
                       "ANSWER2 TEXT)"));
        q.prepare("INSERT INTO English VALUES (?, ?, ?, ?)");
        for (int i = 0; i < answer2.size(); ++i) {
            q.addBindValue(i + 1);
            q.addBindValue(QString("Item %1").arg(i + 1));
            q.addBindValue("first");
            q.addBindValue(answer2[i]);
            QVERIFY(q.exec());
        }
        db.close();
    }
    QSqlDatabase::removeDatabase("bankmaker");
}

// The short form: 67 true/false items and six with four numbered answers.
QStringList shortForm() {
    QStringList a;
    for (int i = 1; i <= 67; ++i) {
        a << "False";
    }
    for (int i = 68; i <= 73; ++i) {
        a << "2. Sometimes or less";
    }
    return a;
}

struct Rig : ProgramRig {
    explicit Rig(const QStringList& answer2 = shortForm(),
                 const QString& responses = QString(73, QLatin1Char('1')))
        : ProgramRig({}) {
        records::ClientRecord r =
            records::ClientRecord::fromBytes(fakes::clientRecord("Keyed, Kim"));
        r.set(Field::Responses, responses);
        fakes::writeAll(dataFile(), r.bytes());
        writeBank(programDir + "/TOV2SF.MDB", answer2);
        QVERIFY(program->start());
    }
    std::unique_ptr<frmNewEntry> open(bool editing, int client, bool scan = false) {
        state().clients().setCurrentClient(client);
        const intake::ClientMode mode = scan      ? intake::ClientMode::ScannedClient
                                        : editing ? intake::ClientMode::EditClient
                                                  : intake::ClientMode::NewClient;
        auto screen = std::make_unique<frmNewEntry>(program->context(), mode, &menu());
        if (!fakes::showScreen(screen.get())) {
            return nullptr;
        }
        return screen;
    }
    // A new client in slot 2 with no answers yet.
    void newClient() {
        state().clients().Clients(2).set(Field::Name, u"New, Ned");
        state().clients().Clients(2).set(Field::Responses, QString(73, QLatin1Char('0')));
    }
};

QVariant cell(QTableView* t, int row, int column, int role) {
    return t->model()->index(row - 1, column).data(role);
}
QColor back(QTableView* t, int row, int column) {
    return cell(t, row, column, Qt::BackgroundRole).value<QBrush>().color();
}
QString text(QTableView* t, int row, int column) {
    return cell(t, row, column, Qt::DisplayRole).toString();
}

} // namespace

class TestNewEntry : public QObject {
    Q_OBJECT

private slots:
    void formats_data();
    void formats();
    void gridsInFirstOccurrenceOrder();
    void shortFormLayoutAndColours();
    void keysPerFormat_data();
    void keysPerFormat();
    void zeroRemovesAnswer();
    void lastItemMovesToNextGrid();
    void lastItemOfLastGridBeeps();
    void upArrow();
    void clickKeysRowInItemColumn();
    void saveWithoutKeysWritesLoadedCharacters();
    void keyWholeSheetForNewClient();
    void cancelNewClientClearsSlot();
    void cancelExistingChangesNothing();
    void scrolling_data();
    void scrolling();
    void scannedShortAnswersWarned();
    void codeBeyondChoicesKept();
    void missingBankStoresNothing();
};

void TestNewEntry::formats_data() {
    QTest::addColumn<QString>("answer2");
    QTest::addColumn<int>("format");
    QTest::newRow("False") << "False" << 0;
    QTest::newRow("No") << "No" << 1;
    QTest::newRow("Nope") << "Nope" << 1;
    QTest::newRow("Sometimes") << "Sometimes" << 3;
    QTest::newRow("Mostly True") << "Mostly True" << 4;
    QTest::newRow("Often") << "Often" << 5;
    QTest::newRow("2. Moderate") << "2. Moderate" << 2;
    QTest::newRow("empty") << "" << 2;
    QTest::newRow("lower false") << "false" << 2;
}

void TestNewEntry::formats() {
    QFETCH(QString, answer2);
    QFETCH(int, format);
    QCOMPARE(entry::AnswerFormat(answer2), format);
}

void TestNewEntry::gridsInFirstOccurrenceOrder() {
    Rig rig({"2. x", "False", "3. y", "False", "False"});
    auto screen = rig.open(true, 1);
    QVERIFY(screen);
    QCOMPARE(screen->gridCount(), 2);
    QCOMPARE(screen->gridFormat(0), 2);
    QCOMPARE(screen->gridFormat(1), 0);
    QCOMPARE(screen->lblSection(0)->text(), QStringLiteral("Section 1"));
    QCOMPARE(screen->lblSection(1)->text(), QStringLiteral("Section 2"));
    QCOMPARE(screen->grdResponses(0)->model()->rowCount(), 2);
    QCOMPARE(text(screen->grdResponses(0), 2, 0), QStringLiteral("3."));
    QCOMPARE(text(screen->grdResponses(1), 1, 0), QStringLiteral("2."));
    QCOMPARE(screen->grdResponses(0)->model()->columnCount(), 5);
    QCOMPARE(screen->grdResponses(1)->model()->headerData(0, Qt::Horizontal).toString(),
             QStringLiteral("Num"));
    QCOMPARE(screen->grdResponses(1)->model()->headerData(2, Qt::Horizontal).toString(),
             QStringLiteral("2"));
}

void TestNewEntry::shortFormLayoutAndColours() {
    Rig rig(shortForm(), "12" + QString(71, QLatin1Char('0')));
    auto screen = rig.open(true, 1);
    QVERIFY(screen);
    QCOMPARE(screen->windowTitle(), QStringLiteral("Edit Client Responses"));
    QCOMPARE(screen->lblClientName()->text(), QStringLiteral("Keyed, Kim"));
    QTableView* tf = screen->grdResponses(0);
    QVERIFY(tf->hasFocus());
    QCOMPARE(screen->msgPanel()->text(),
             QStringLiteral("0=No answer, 1=True, 2=False, Tab=Next grid"));
    // Row 1 is current: cyan, its answer still showing.
    QCOMPARE(back(tf, 1, 1), QColor(0, 255, 255));
    QCOMPARE(text(tf, 1, 1), QStringLiteral("X"));
    // Row 2 is answered False: X on green.
    QCOMPARE(back(tf, 2, 2), QColor(0, 255, 0));
    QCOMPARE(text(tf, 2, 2), QStringLiteral("X"));
    QCOMPARE(back(tf, 2, 1), QColor(255, 255, 255));
    QCOMPARE(cell(tf, 3, 0, Qt::ForegroundRole).value<QBrush>().color(), QColor(0, 0, 128));
    fakes::saveShot(screen.get(), "answer_grid");
    press(Qt::Key_Tab);
    QVERIFY(screen->grdResponses(1)->hasFocus());
    QCOMPARE(screen->msgPanel()->text(),
             QStringLiteral("0=No answer, 1=1, 2=2,  3=3, 4=4, Tab=Next grid"));
    // Leaving grid 0 painted its row back to normal.
    QCOMPARE(back(tf, 1, 1), QColor(0, 255, 0));
    press(Qt::Key_Tab);
    QVERIFY(screen->kit()->cmdMenuChoice(0)->hasFocus());
    QCOMPARE(screen->msgPanel()->text(),
             QStringLiteral("SAVE data, close this window and return to Main Menu"));
}

void TestNewEntry::keysPerFormat_data() {
    QTest::addColumn<QString>("answer2");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("stored"); // empty: refused with a beep
    QTest::newRow("5 in format 4") << "Mostly True"
                                   << "5"
                                   << "5";
    QTest::newRow("5 in format 3") << "Sometimes"
                                   << "5"
                                   << "";
    QTest::newRow("4 in format 3") << "Sometimes"
                                   << "4"
                                   << "4";
    QTest::newRow("3 in true/false") << "False"
                                     << "3"
                                     << "";
    QTest::newRow("3 in yes/no") << "No"
                                 << "3"
                                 << "";
    QTest::newRow("2 in true/false") << "False"
                                     << "2"
                                     << "2";
    QTest::newRow("letter") << "Often"
                            << "a"
                            << "";
    QTest::newRow("5 in format 5") << "Often"
                                   << "5"
                                   << "5";
    QTest::newRow("5 in format 2") << "2. x"
                                   << "5"
                                   << "";
}

void TestNewEntry::keysPerFormat() {
    QFETCH(QString, answer2);
    QFETCH(QString, key);
    QFETCH(QString, stored);
    Rig rig({answer2, answer2, answer2});
    auto screen = rig.open(true, 1);
    QVERIFY(screen);
    typeText(key);
    if (stored.isEmpty()) {
        QCOMPARE(rig.boxes->beeps, 1);
        QCOMPARE(screen->EntryAnswers(1), QStringLiteral("1"));
        QCOMPARE(screen->currentRow(0), 1);
    } else {
        QCOMPARE(rig.boxes->beeps, 0);
        QCOMPARE(screen->EntryAnswers(1), stored);
        QCOMPARE(screen->currentRow(0), 2);
        QCOMPARE(text(screen->grdResponses(0), 1, stored.toInt()), QStringLiteral("X"));
    }
}

void TestNewEntry::zeroRemovesAnswer() {
    Rig rig;
    auto screen = rig.open(true, 1);
    QVERIFY(screen);
    QTableView* tf = screen->grdResponses(0);
    typeText("0");
    QCOMPARE(screen->EntryAnswers(1), QStringLiteral("0"));
    QCOMPARE(text(tf, 1, 1), QString());
    QCOMPARE(back(tf, 1, 1), QColor(255, 255, 255));
    QCOMPARE(screen->currentRow(0), 2);
}

void TestNewEntry::lastItemMovesToNextGrid() {
    Rig rig;
    auto screen = rig.open(true, 1);
    QVERIFY(screen);
    for (int i = 0; i < 66; ++i) {
        press(Qt::Key_Down);
    }
    QCOMPARE(screen->currentRow(0), 67);
    typeText("2");
    QCOMPARE(screen->EntryAnswers(67), QStringLiteral("2"));
    QVERIFY(screen->grdResponses(1)->hasFocus());
    QCOMPARE(screen->currentRow(1), 1);
    QCOMPARE(back(screen->grdResponses(1), 1, 1), QColor(0, 255, 255));
    QCOMPARE(rig.boxes->beeps, 0);
    fakes::saveShot(screen.get(), "answer_grid_section2");
}

void TestNewEntry::lastItemOfLastGridBeeps() {
    Rig rig;
    auto screen = rig.open(true, 1);
    QVERIFY(screen);
    press(Qt::Key_Tab);
    typeText("12343");
    QCOMPARE(screen->currentRow(1), 6);
    typeText("4");
    QCOMPARE(screen->EntryAnswers(73), QStringLiteral("4"));
    QCOMPARE(rig.boxes->beeps, 1);
    QCOMPARE(screen->currentRow(1), 6);
    QVERIFY(screen->grdResponses(1)->hasFocus());
    press(Qt::Key_Down);
    QCOMPARE(rig.boxes->beeps, 2);
}

void TestNewEntry::upArrow() {
    Rig rig;
    auto screen = rig.open(true, 1);
    QVERIFY(screen);
    press(Qt::Key_Up);
    QCOMPARE(rig.boxes->beeps, 1);
    QCOMPARE(screen->currentRow(0), 1);
    press(Qt::Key_Tab);
    press(Qt::Key_Up);
    QVERIFY(screen->grdResponses(0)->hasFocus());
    QCOMPARE(screen->currentRow(0), 67);
    press(Qt::Key_Up);
    QCOMPARE(screen->currentRow(0), 66);
    press(Qt::Key_Left);
    press(Qt::Key_Right);
    QCOMPARE(screen->currentRow(0), 66);
    QCOMPARE(screen->grdResponses(0)->currentIndex().column(), 0);
}

// A click on an answer cell of the other grid keys that row there, from its item column; the
// click answers nothing.
void TestNewEntry::clickKeysRowInItemColumn() {
    Rig rig;
    auto screen = rig.open(true, 1);
    QVERIFY(screen);
    QTableView* t = screen->grdResponses(1);
    QTest::mouseClick(t->viewport(), Qt::LeftButton, {},
                      t->visualRect(t->model()->index(2, 3)).center());
    QVERIFY(t->hasFocus());
    QCOMPARE(screen->currentRow(1), 3);
    QCOMPARE(t->currentIndex().column(), 0);
    QCOMPARE(back(t, 3, 3), QColor(0, 255, 255));
    QCOMPARE(back(t, 1, 1), QColor(0, 255, 0));
    QCOMPARE(back(screen->grdResponses(0), 1, 1), QColor(0, 255, 0));
    QCOMPARE(screen->EntryAnswers(70), QStringLiteral("1"));
}

void TestNewEntry::saveWithoutKeysWritesLoadedCharacters() {
    const QString odd = "12?x" + QString(69, QLatin1Char('2'));
    Rig rig(shortForm(), odd);
    const QByteArray before = fakes::readAll(rig.dataFile());
    auto screen = rig.open(true, 1);
    QVERIFY(screen);
    // "?" and "x" show as no answer.
    QCOMPARE(text(screen->grdResponses(0), 3, 1) + text(screen->grdResponses(0), 3, 2), QString());
    screen->kit()->cmdMenuChoice(0)->setFocus();
    press(Qt::Key_Return);
    QVERIFY(!screen->isVisible());
    QCOMPARE(fakes::readAll(rig.dataFile()), before);
    QCOMPARE(rig.fs->calls(fakes::FaultyFileSystem::Op::WriteAt), 1);
}

void TestNewEntry::keyWholeSheetForNewClient() {
    Rig rig;
    rig.newClient();
    const QByteArray before = fakes::readAll(rig.dataFile());
    auto screen = rig.open(false, 2);
    QVERIFY(screen);
    QString keyed;
    for (int i = 1; i <= 67; ++i) {
        keyed += QString::number(1 + i % 2);
    }
    keyed += "123412";
    typeText(keyed);
    QVERIFY(screen->grdResponses(1)->hasFocus());
    press(Qt::Key_Tab);
    press(Qt::Key_Return);
    QVERIFY(!screen->isVisible());
    QVERIFY(screen->ProceedToNext());
    QCOMPARE(rig.state().clients().ClientCount(), 2);
    const QByteArray after = fakes::readAll(rig.dataFile());
    QCOMPARE(after.size(), 380);
    QCOMPARE(after.left(190), before);
    QCOMPARE(after.mid(190 + 115, 73), keyed.toLatin1());
    QCOMPARE(after.mid(190, 8), QByteArray("New, Ned"));
}

void TestNewEntry::cancelNewClientClearsSlot() {
    Rig rig;
    rig.newClient();
    const QByteArray before = fakes::readAll(rig.dataFile());
    auto screen = rig.open(false, 2);
    QVERIFY(screen);
    typeText("2121");
    screen->kit()->cmdMenuChoice(1)->click();
    QVERIFY(!screen->isVisible());
    QVERIFY(!screen->ProceedToNext());
    QCOMPARE(rig.state().clients().Clients(2).bytes(), QByteArray(190, ' '));
    QCOMPARE(rig.state().clients().CurrentClient(), 1);
    QCOMPARE(fakes::readAll(rig.dataFile()), before);
}

void TestNewEntry::cancelExistingChangesNothing() {
    Rig rig;
    const QByteArray before = fakes::readAll(rig.dataFile());
    auto screen = rig.open(true, 1);
    QVERIFY(screen);
    typeText("2222");
    screen->kit()->cmdMenuChoice(1)->click();
    QCOMPARE(fakes::readAll(rig.dataFile()), before);
    QCOMPARE(rig.state().clients().Clients(1).bytes(), before);
}

void TestNewEntry::scrolling_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("top");
    QTest::newRow("row 20") << 20 << 19;
    QTest::newRow("row 30 near the end") << 30 << 24;
    QTest::newRow("row 1") << 1 << 1;
}

void TestNewEntry::scrolling() {
    QFETCH(int, row);
    QFETCH(int, top);
    QCOMPARE(entry::TopRowFor(row, 41), top);
    QStringList forty;
    for (int i = 0; i < 40; ++i) {
        forty << "False";
    }
    Rig rig(forty);
    auto screen = rig.open(true, 1);
    QVERIFY(screen);
    QTableView* t = screen->grdResponses(0);
    // Out of view first, then made current.
    t->verticalScrollBar()->setValue(row > 10 ? 0 : 20);
    t->setCurrentIndex(t->model()->index(row - 1, 0));
    screen->KeepRowVisible(0);
    QCOMPARE(screen->topVisibleRow(0), top);
}

void TestNewEntry::scannedShortAnswersWarned() {
    Rig rig(shortForm(), QString(60, QLatin1Char('1')));
    rig.newClient();
    rig.state().clients().Clients(2).set(Field::Responses, QString(60, QLatin1Char('2')));
    auto screen = rig.open(false, 2, true);
    QVERIFY(screen);
    QCOMPARE(rig.boxes->shown.size(), 1);
    QCOMPARE(rig.boxes->shown[0].title, QStringLiteral("Scanned Answers Warning"));
    QCOMPARE(rig.boxes->shown[0].text,
             QStringLiteral("Scanned answers being populated for editing but\rsome answers did not "
                            "scan correctly.\rCheck responses carefully."));
    QCOMPARE(screen->EntryAnswers(60), QStringLiteral("2"));
    QCOMPARE(screen->EntryAnswers(61), QStringLiteral("0"));
    QCOMPARE(rig.state().clients().Clients(2).get(Field::Responses),
             QString(60, QLatin1Char('2')) + QString(13, QLatin1Char('0')));
}

void TestNewEntry::codeBeyondChoicesKept() {
    Rig rig(shortForm(), "5" + QString(72, QLatin1Char('1')));
    auto screen = rig.open(true, 1);
    QVERIFY(screen);
    press(Qt::Key_Down);
    QTableView* tf = screen->grdResponses(0);
    QCOMPARE(text(tf, 1, 1) + text(tf, 1, 2), QString());
    QCOMPARE(screen->EntryAnswers(1), QStringLiteral("5"));
    screen->kit()->cmdMenuChoice(0)->click();
    QCOMPARE(fakes::readAll(rig.dataFile()).mid(115, 1), QByteArray("5"));
}

void TestNewEntry::missingBankStoresNothing() {
    Rig rig;
    rig.newClient();
    const QByteArray before = fakes::readAll(rig.dataFile());
    QFile::remove(rig.programDir + "/TOV2SF.MDB");
    rig.state().clients().setCurrentClient(2);
    frmNewEntry screen(rig.program->context(), intake::ClientMode::NewClient, &rig.menu());
    QVERIFY(!screen.isReady());
    QCOMPARE(rig.boxes->shown.size(), 1);
    QVERIFY(rig.boxes->shown[0].text.startsWith("The answer grid cannot be shown"));
    screen.exec();
    QVERIFY(!screen.ProceedToNext());
    QCOMPARE(fakes::readAll(rig.dataFile()), before);
    QVERIFY(!QFile::exists(rig.programDir + "/TOV2SF.MDB"));
}

QTEST_MAIN(TestNewEntry)
#include "test_newentry.moc"
