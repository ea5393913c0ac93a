#include "testing/ItemSequence.h"

#include <QSqlField>
#include <QSqlRecord>
#include <QtTest>

using namespace tov;
using testing::ItemSequence;
using Step = ItemSequence::Step;

namespace {

// A language table with the rows given by their IDs: True/False up to 67, four choices after.
app::RecordSet table(const QList<int>& ids) {
    std::vector<QSqlRecord> rows;
    for (int id : ids) {
        QSqlRecord row;
        const QStringList answers =
            id <= 67 ? QStringList{"True", "False"} : QStringList{"1. A", "2. B", "3. C", "4. D"};
        row.append(QSqlField(QStringLiteral("ID"), QMetaType(QMetaType::Int)));
        row.setValue(0, id);
        for (int i = 0; i < answers.size(); ++i) {
            row.append(
                QSqlField(QStringLiteral("ANSWER%1").arg(i + 1), QMetaType(QMetaType::QString)));
            row.setValue(i + 1, answers[i]);
        }
        rows.push_back(row);
    }
    return app::RecordSet::fromRecords(std::move(rows));
}

QList<int> items(int from, int to) {
    QList<int> ids;
    for (int n = from; n <= to; ++n) {
        ids << n;
    }
    return ids;
}

ItemSequence started(const QList<int>& ids) {
    ItemSequence sequence(table(ids), {0, 67, 73});
    sequence.start();
    return sequence;
}

// The stored answers: the codes given, then zeros up to item 73.
QString stored(const QString& codes) {
    return codes + QString(73 - codes.size(), QLatin1Char('0'));
}

QString ones(int n) {
    return QString(n, QLatin1Char('1'));
}

} // namespace

class TestItemSequence : public QObject {
    Q_OBJECT

private slots:
    void keys_data();
    void keys();
    void answerCursor_data();
    void answerCursor();
};

void TestItemSequence::keys_data() {
    QTest::addColumn<QList<int>>("ids");
    // Answers by position (1 = first), "b" for F10, "67*1" for 67 first answers.
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("item");
    // R refused (a beep), I item, S section 2 instructions, E end.
    QTest::addColumn<QChar>("last");
    // P part done, T test done, as the answers gave them.
    QTest::addColumn<QString>("notes");
    QTest::addColumn<QString>("codes");
    const QList<int> all = items(1, 73);
    QTest::newRow("F10 on item 1") << all << "b" << 1 << QChar('R') << "" << stored("");
    QTest::newRow("F10 on item 2") << all << "2 b" << 1 << QChar('I') << "" << stored("2");
    QTest::newRow("new answer replaces") << all << "2 b 1" << 2 << QChar('I') << "" << stored("1");
    QTest::newRow("back to item 1, again")
        << all << "1 1 b b b" << 1 << QChar('R') << "" << stored("11");
    QTest::newRow("section 1 done") << all << "67*1" << 68 << QChar('S') << "P" << stored(ones(67));
    QTest::newRow("F10 on item 68")
        << all << "67*1 b" << 67 << QChar('I') << "P" << stored(ones(67));
    QTest::newRow("item 67 anew") << all << "67*1 b 2" << 68 << QChar('S') << "PP"
                                  << stored(ones(66) + "2");
    QTest::newRow("F10 on item 69")
        << all << "67*1 4 b" << 68 << QChar('I') << "P" << stored(ones(67) + "4");
    QTest::newRow("whole test") << all << "67*2 4 3 2 1 1 2" << 74 << QChar('E') << "PT"
                                << QString(67, QLatin1Char('2')) + "432112";
    QTest::newRow("F10 on item 73")
        << all << "67*1 5*1 b" << 72 << QChar('I') << "P" << stored(ones(72));
    QTest::newRow("item 72 anew, then the end")
        << all << "67*1 5*1 b 2 4" << 74 << QChar('E') << "PT" << ones(71) + "24";
    const QList<int> noFive = items(1, 4) + items(6, 73) + QList<int>{73};
    QTest::newRow("row 5 missing") << noFive << "4*1" << 6 << QChar('I') << "" << stored(ones(4));
    QTest::newRow("row 5 missing, copy of 73 unseen")
        << noFive << "72*1" << 74 << QChar('E') << "PT" << ones(4) + "0" + ones(68);
    QTest::newRow("rows run out") << items(1, 72) << "72*1" << 73 << QChar('E') << "P"
                                  << stored(ones(72));
}

void TestItemSequence::keys() {
    QFETCH(QList<int>, ids);
    QFETCH(QString, keys);
    ItemSequence sequence = started(ids);
    QChar last('I');
    QString notes;
    for (const QString& key : keys.split(QLatin1Char(' '))) {
        QVERIFY2(last != QLatin1Char('E'), "a key after the end");
        const QStringList repeat = key.split(QLatin1Char('*'));
        for (int n = repeat.size() == 2 ? repeat[0].toInt() : 1; n > 0; --n) {
            Step step = Step::Refused;
            if (key == QLatin1String("b")) {
                step = sequence.back();
            } else {
                const ItemSequence::Answered a = sequence.answer(repeat.last().toInt() - 1);
                notes += QString(a.sectionOne ? "P" : "") + QString(a.test ? "T" : "");
                step = sequence.next();
            }
            last = QStringLiteral("RISE").at(static_cast<int>(step));
        }
    }
    QTEST(sequence.itemNumber(), "item");
    QTEST(last, "last");
    QTEST(notes, "notes");
    QTEST(testing::ResponseString(sequence.codes()), "codes");
}

void TestItemSequence::answerCursor_data() {
    QTest::addColumn<int>("item");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("to");
    QTest::newRow("two, down") << 1 << 0 << 1 << 1;
    QTest::newRow("two, down wraps") << 1 << 1 << 1 << 0;
    QTest::newRow("two, up wraps") << 1 << 0 << -1 << 1;
    QTest::newRow("four, down wraps") << 68 << 3 << 1 << 0;
    QTest::newRow("four, up wraps") << 68 << 0 << -1 << 3;
}

void TestItemSequence::answerCursor() {
    QFETCH(int, item);
    ItemSequence sequence = started({item});
    QCOMPARE(sequence.item().id, item);
    QFETCH(int, from);
    QFETCH(int, step);
    QTEST(sequence.nextAnswer(from, step), "to");
}

QTEST_MAIN(TestItemSequence)
#include "test_itemsequence.moc"
