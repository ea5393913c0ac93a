#include "entry/AnswerGridModel.h"
#include "ui/ScreenKit.h"

#include <QSignalSpy>
#include <QtTest>

using tov::entry::AnswerGridModel;

namespace {

const QColor white(255, 255, 255);
const QColor navy(0, 0, 128);
const QColor green(0, 255, 0);
const QColor cyan(0, 255, 255);
const QColor black(0, 0, 0);

QColor colour(const AnswerGridModel& m, int row, int column, int role) {
    return m.index(row, column).data(role).value<QBrush>().color();
}

} // namespace

class TestAnswerGridModel : public QObject {
    Q_OBJECT

private slots:
    void cellRoles_data();
    void cellRoles();
    void keyedRowMoves();
};

// Row 0 of a true/false grid names item 3; it is the row under test.
void TestAnswerGridModel::cellRoles_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("doubtful");
    QTest::addColumn<bool>("keyed");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QColor>("foreground");
    const QColor amber = tov::ui::ScreenKit::DoubtColour();
    QTest::newRow("label") << 2 << false << false << 0 << "3." << white << navy;
    QTest::newRow("label, keyed") << 2 << false << true << 0 << "3." << white << navy;
    QTest::newRow("label, doubtful keyed") << 0 << true << true << 0 << "3." << amber << navy;
    QTest::newRow("answer") << 2 << false << false << 2 << "X" << green << black;
    QTest::newRow("other choice") << 2 << false << false << 1 << "" << white << navy;
    QTest::newRow("answer, doubtful") << 2 << true << false << 2 << "X" << green << black;
    QTest::newRow("other choice, doubtful") << 2 << true << false << 1 << "" << amber << navy;
    QTest::newRow("answer, keyed") << 2 << false << true << 2 << "X" << cyan << black;
    QTest::newRow("other choice, keyed") << 2 << true << true << 1 << "" << cyan << black;
    QTest::newRow("no answer") << 0 << false << false << 1 << "" << white << navy;
    QTest::newRow("code without a column") << 5 << false << false << 2 << "" << white << navy;
}

void TestAnswerGridModel::cellRoles() {
    QFETCH(int, code);
    QFETCH(bool, doubtful);
    QFETCH(bool, keyed);
    QFETCH(int, column);
    AnswerGridModel m({"Num", "1", "2"}, {"3.", "1."});
    m.setCode(3, code);
    m.setCode(1, 1);
    m.setDoubtfulItems(doubtful ? QList<int>{3} : QList<int>{1});
    m.setKeyedRow(keyed ? 0 : 1);
    QTEST(m.index(0, column).data().toString(), "text");
    QTEST(colour(m, 0, column, Qt::BackgroundRole), "background");
    QTEST(colour(m, 0, column, Qt::ForegroundRole), "foreground");
    QCOMPARE(m.flags(m.index(0, column)), Qt::ItemIsEnabled);
}

// The view repaints only the rows the model names: moving the keyed row names the one it leaves.
void TestAnswerGridModel::keyedRowMoves() {
    AnswerGridModel m({"Num", "1", "2"}, {"1.", "2.", "3."});
    m.setKeyedRow(0);
    QSignalSpy changed(&m, &AnswerGridModel::dataChanged);
    m.setKeyedRow(2);
    QList<int> rows;
    for (const QList<QVariant>& args : changed) {
        const auto from = args.at(0).toModelIndex();
        const auto to = args.at(1).toModelIndex();
        QCOMPARE(std::pair(from.column(), to.column()), std::pair(0, 2));
        for (int row = from.row(); row <= to.row(); ++row) {
            rows << row;
        }
    }
    QCOMPARE(rows, (QList<int>{0, 2}));
    QCOMPARE(colour(m, 0, 1, Qt::BackgroundRole), white);
    QCOMPARE(colour(m, 2, 1, Qt::BackgroundRole), cyan);
}

QTEST_MAIN(TestAnswerGridModel)
#include "test_answergridmodel.moc"
