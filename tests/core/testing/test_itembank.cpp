#include "app/QuestionBank.h"
#include "platform/AppError.h"
#include "scoring/Blueprint.h"
#include "support/Fakes.h"
#include "testing/ItemBank.h"
#include "testing/LanguageTables.h"
#include "testing/TestItem.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QtTest>

using namespace tov;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

const QString kItems = QStringLiteral(TOV_ITEMS_DIR);

QString builtBank() {
    return qEnvironmentVariable("TOV_PROGRAM_DIR") + QStringLiteral("/TOV2SF.MDB");
}

// The rows of a table of the built bank, each as its 13 fields in order.
QList<QStringList> tableRows(const QString& table) {
    QList<QStringList> rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "bank-check");
        db.setDatabaseName(builtBank());
        db.setConnectOptions("QSQLITE_OPEN_READONLY");
        if (db.open()) {
            QSqlQuery q(db);
            q.exec(QStringLiteral("SELECT ID, TestQuestion, QuestionAudio, ANSWER1, ANSWER2, "
                                  "ANSWER3, ANSWER4, ANSWER5, ChoiceAudio1, ChoiceAudio2, "
                                  "ChoiceAudio3, ChoiceAudio4, ChoiceAudio5 FROM %1 ORDER BY "
                                  "rowid")
                       .arg(table));
            while (q.next()) {
                QStringList row;
                for (int i = 0; i < 13; ++i) {
                    row << (q.value(i).isNull() ? QStringLiteral("<null>") : q.value(i).toString());
                }
                rows << row;
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase("bank-check");
    return rows;
}

QStringList expectedRow(const testing::BankRow& r) {
    QStringList row{QString::number(r.id), r.question, r.questionAudio};
    for (int k = 0; k < 5; ++k) {
        row << (k < r.answers.size() ? r.answers.at(k) : QStringLiteral("<null>"));
    }
    for (int k = 0; k < 5; ++k) {
        row << (k < r.choiceAudio.size() ? r.choiceAudio.at(k) : QStringLiteral("<null>"));
    }
    return row;
}

scoring::Blueprint blueprint() {
    return scoring::Blueprint::load(kItems + QStringLiteral("/blueprint.txt"));
}

} // namespace

class TestItemBank : public QObject {
    Q_OBJECT

private slots:
    void tablesHoldTheItems_data();
    void tablesHoldTheItems();
    void bankMatchesBlueprint_data();
    void bankMatchesBlueprint();
    void answersInScoringOrder_data();
    void answersInScoringOrder();
    void everyPromptHasItsWave_data();
    void everyPromptHasItsWave();
    void badWording_data();
    void badWording();
    void presentationLanguages_data();
    void presentationLanguages();
    void responseString_data();
    void responseString();
    void itemFromRow();
};

void TestItemBank::tablesHoldTheItems_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("yes");
    QTest::addColumn<QString>("no");
    QTest::newRow("English") << "English"
                             << "True"
                             << "False";
    QTest::newRow("Spanish") << "Spanish"
                             << "Cierto"
                             << "Falso";
}

void TestItemBank::tablesHoldTheItems() {
    QFETCH(QString, table);
    QFETCH(QString, yes);
    QFETCH(QString, no);
    const QList<QStringList> rows = tableRows(table);
    QCOMPARE(rows.size(), 73);
    for (int n = 1; n <= 73; ++n) {
        const QStringList& r = rows.at(n - 1);
        QCOMPARE(r.at(0), QString::number(n));
        QVERIFY2(!r.at(1).isEmpty() && !r.at(2).isEmpty(), qPrintable(r.join('|')));
        const int answers = n <= 67 ? 2 : 4;
        for (int k = 0; k < 5; ++k) {
            QCOMPARE(r.at(3 + k) != "<null>", k < answers);
            QCOMPARE(r.at(8 + k) != "<null>", k < answers);
        }
        if (n <= 67) {
            // Scoring reads answer 1 as True and 2 as False.
            QCOMPARE(r.at(3), yes);
            QCOMPARE(r.at(4), no);
        }
    }
}

void TestItemBank::bankMatchesBlueprint_data() {
    tablesHoldTheItems_data();
}

void TestItemBank::bankMatchesBlueprint() {
    QFETCH(QString, table);
    const scoring::Blueprint bp = blueprint();
    const QList<testing::BankRow> expected =
        table == "English"
            ? testing::EnglishRows(bp)
            : testing::SpanishRows(
                  bp, testing::ItemWording::load(kItems + QStringLiteral("/spanish.txt"), bp));
    const QList<QStringList> rows = tableRows(table);
    QCOMPARE(rows.size(), expected.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        QCOMPARE(rows.at(i), expectedRow(expected.at(i)));
    }
    if (table == "English") {
        for (qsizetype i = 0; i < rows.size(); ++i) {
            QCOMPARE(rows.at(i).at(1), bp.items().at(i).wording);
        }
    }
}

void TestItemBank::answersInScoringOrder_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("item");
    QTest::addColumn<QStringList>("words");
    // Scoring reads 68 and 73 as 1 serious, 2 moderate, 3 mild, 4 none, and 71 as 1 alcohol
    // only, 2 drugs only, 3 both, 4 neither.
    const QStringList en = {"serious", "moderate", "mild", "No problem"};
    const QStringList es = {"serio", "moderado", "leve", "Ningún"};
    QTest::newRow("68 English") << "English" << 68 << en;
    QTest::newRow("73 English") << "English" << 73 << en;
    QTest::newRow("68 Spanish") << "Spanish" << 68 << es;
    QTest::newRow("73 Spanish") << "Spanish" << 73 << es;
    QTest::newRow("71 English") << "English" << 71
                                << QStringList{"Alcohol only", "Drugs only", "Both", "Neither"};
    QTest::newRow("71 Spanish") << "Spanish" << 71
                                << QStringList{"alcohol", "drogas", "Alcohol y drogas", "Ninguno"};
}

void TestItemBank::answersInScoringOrder() {
    QFETCH(QString, table);
    QFETCH(int, item);
    QFETCH(QStringList, words);
    const QStringList row = tableRows(table).value(item - 1);
    QCOMPARE(row.value(0), QString::number(item));
    for (int k = 0; k < 4; ++k) {
        const QString answer = row.value(3 + k);
        QVERIFY2(answer.startsWith(QString::number(k + 1) + ". ") && answer.contains(words[k]),
                 qPrintable(answer));
    }
    // The roles scoring gives these items are the ones the answers are written for.
    const scoring::Blueprint bp = blueprint();
    const QString role = item == 71   ? "substances"
                         : item == 68 ? "self-rating-alcohol"
                                      : "self-rating-drugs";
    QVERIFY(bp.item(item).roles.contains(role));
}

void TestItemBank::everyPromptHasItsWave_data() {
    tablesHoldTheItems_data();
}

void TestItemBank::everyPromptHasItsWave() {
    QFETCH(QString, table);
    if (TOV_PROMPTS_BUILT == 0) {
        QSKIP("espeak-ng is not installed: the build made no prompts");
    }
    const QString folder = qEnvironmentVariable("TOV_PROGRAM_DIR") + "/Sound/" + table + "/";
    QStringList names = {"Inst0", "Inst1", "Inst2"};
    for (const QStringList& row : tableRows(table)) {
        names << row.at(2);
        for (int k = 8; k < 13; ++k) {
            if (row.at(k) != "<null>") {
                names << row.at(k);
            }
        }
    }
    for (const QString& name : names) {
        QFile wave(folder + name.trimmed() + ".wav");
        QVERIFY2(wave.open(QIODevice::ReadOnly), qPrintable(wave.fileName()));
        const QByteArray head = wave.read(12);
        QVERIFY2(head.startsWith("RIFF") && head.mid(8, 4) == "WAVE", qPrintable(wave.fileName()));
        QVERIFY(wave.size() > 1000);
    }
}

void TestItemBank::badWording_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("error");
    QByteArray all;
    for (int n = 1; n <= 73; ++n) {
        all += QByteArray::number(n) + " | Frase " + QByteArray::number(n) + "\n";
        if (n >= 68) {
            for (int k = 1; k <= 4; ++k) {
                all += QByteArray::number(n) + "." + QByteArray::number(k) + " | R\n";
            }
        }
    }
    QTest::newRow("complete") << all << "";
    QTest::newRow("item missing") << QByteArray(all).replace("12 | Frase 12\n", "")
                                  << "item 12 has no wording";
    QTest::newRow("answer missing")
        << QByteArray(all).replace("70.3 | R\n", "") << "item 70 has no answer 3";
    QTest::newRow("no bar") << "1 Frase\n" + all << "line 3: expected";
    QTest::newRow("empty text") << "1 |  \n" + all << "line 3: expected";
    QTest::newRow("item given twice") << all + "5 | Otra\n"
                                      << "item 5 is given twice";
    QTest::newRow("no item 74") << all + "74 | Otra\n"
                                << "there is no item 74";
    QTest::newRow("answer on a true/false item") << all + "12.1 | R\n"
                                                 << "belong to items 68 to 73 only";
    QTest::newRow("answer 5") << all + "69.5 | R\n"
                              << "belong to items 68 to 73 only";
}

void TestItemBank::badWording() {
    QFETCH(QByteArray, text);
    QFETCH(QString, error);
    QTemporaryDir dir;
    const QString path = dir.filePath("spanish.txt");
    writeFile(path, "# comment\n\n" + text);
    const scoring::Blueprint bp = blueprint();
    try {
        const auto wording = testing::ItemWording::load(path, bp);
        QVERIFY2(error.isEmpty(), "no error reported");
        QCOMPARE(wording.statement(73), QStringLiteral("Frase 73"));
        QCOMPARE(wording.answer(68, 4), QStringLiteral("R"));
    } catch (const AppError& e) {
        QVERIFY2(!error.isEmpty() && e.description().contains(error), qPrintable(e.description()));
    }
}

void TestItemBank::presentationLanguages_data() {
    QTest::addColumn<QStringList>("tables");
    QTest::addColumn<QStringList>("languages");
    QTest::newRow("shipped") << QStringList{"English", "Spanish", "ScanItem"}
                             << QStringList{"English", "Spanish"};
    QTest::newRow("bank order kept")
        << QStringList{"ScanItem", "Spanish", "English"} << QStringList{"Spanish", "English"};
    QTest::newRow("other letter case")
        << QStringList{"english", "SPANISH", "Spanish"} << QStringList{"Spanish"};
    QTest::newRow("none") << QStringList{"ScanItem", "French"} << QStringList{};
}

void TestItemBank::presentationLanguages() {
    QFETCH(QStringList, tables);
    QFETCH(QStringList, languages);
    QCOMPARE(testing::PresentationLanguages(tables), languages);
}

void TestItemBank::responseString_data() {
    QTest::addColumn<QList<int>>("codes");
    QTest::addColumn<QString>("responses");
    QTest::newRow("none answered") << QList<int>{} << QString(73, '0');
    QTest::newRow("first and last") << QList<int>{1, 2} << "1" + QString(71, '0') + "4";
    QTest::newRow("last digit of a large code") << QList<int>{12} << "2" + QString(72, '0');
}

void TestItemBank::responseString() {
    QFETCH(QList<int>, codes);
    QFETCH(QString, responses);
    testing::AnswerCodes a{};
    if (!codes.isEmpty()) {
        a.at(1) = codes.at(0);
    }
    if (codes.size() > 1) {
        a.at(73) = 4;
    }
    QCOMPARE(testing::ResponseString(a), responses);
}

void TestItemBank::itemFromRow() {
    QTemporaryDir dir;
    const QString path = dir.filePath("bank.mdb");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "rows");
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec("CREATE TABLE English (ID INTEGER, TestQuestion TEXT, QuestionAudio TEXT, "
                       "ANSWER1 TEXT, ANSWER2 TEXT, ANSWER3 TEXT, ANSWER4 TEXT, ANSWER5 TEXT, "
                       "ChoiceAudio1 TEXT, ChoiceAudio2 TEXT, ChoiceAudio3 TEXT, "
                       "ChoiceAudio4 TEXT, ChoiceAudio5 TEXT)"));
        QVERIFY(q.exec("INSERT INTO English VALUES (7, 'Seven', ' Q07 ', 'Yes', 'No', 'Maybe', '', "
                       "NULL, ' a1', 'a2 ', 'a3', 'a4', 'a5')"));
        QVERIFY(q.exec("INSERT INTO English VALUES (8, 'Eight', NULL, 'T', 'F', NULL, NULL, NULL, "
                       "'t', 'f', NULL, NULL, NULL)"));
        db.close();
    }
    QSqlDatabase::removeDatabase("rows");
    app::Workspace ws;
    auto db = ws.OpenDatabase(path);
    app::RecordSet rs = db->OpenRecordset("Select * from [English]");
    testing::TestItem seven = testing::TestItem::fromRow(rs);
    QCOMPARE(seven.numberedQuestion(), QStringLiteral("7. Seven"));
    QCOMPARE(seven.questionAudio, QStringLiteral("Q07.wav"));
    QCOMPARE(seven.choiceAudio[0], QStringLiteral("a1.wav"));
    QCOMPARE(seven.choiceAudio[1], QStringLiteral("a2.wav"));
    QVERIFY(seven.hasAnswer(2));
    QCOMPARE(seven.choiceAudio[2], QStringLiteral("a3.wav"));
    // An empty answer is no answer, like a null one.
    QVERIFY(!seven.hasAnswer(3));
    QVERIFY(!seven.hasAnswer(4));
    rs.MoveNext();
    testing::TestItem eight = testing::TestItem::fromRow(rs);
    // A null audio name gives a file name that does not exist.
    QCOMPARE(eight.questionAudio, QStringLiteral(".wav"));
    QVERIFY(eight.hasAnswer(0) && eight.hasAnswer(1) && !eight.hasAnswer(2));
}

QTEST_GUILESS_MAIN(TestItemBank)
#include "test_itembank.moc"
