// Reading the scoring tables and report texts: the value rules of their layouts, the hand-made
// test tables, and a clear refusal of every kind of damaged file.
#include "platform/AppError.h"
#include "scoring/ScoringTables.h"
#include "scoring/TableReader.h"
#include "support/Files.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace tov;
using namespace tov::scoring;

namespace {

using fakes::readAll;

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

const QString kData = QStringLiteral(TOV_SCORING_DATA);

} // namespace

class TestTables : public QObject {
    Q_OBJECT

private slots:
    void values_data();
    void values();
    void lineInputAfterValues();
    void pastTheEnd();

    void loadsTheTestTables();
    void damagedTables_data();
    void damagedTables();
    void missingFiles_data();
    void missingFiles();
};

// Each script reads the file with a sequence of s (string), i (integer) and l (line).
void TestTables::values_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("reads");
    QTest::addColumn<QStringList>("values");
    QTest::newRow("commas and line ends")
        << QByteArray("a,b\r\nc\r\n") << "sss" << QStringList{"a", "b", "c"};
    QTest::newRow("line feeds only")
        << QByteArray("a,b\nc\n") << "sss" << QStringList{"a", "b", "c"};
    QTest::newRow("quoted keeps blanks and commas")
        << QByteArray("\" x, y \",z\r\n") << "ss" << QStringList{" x, y ", "z"};
    QTest::newRow("unquoted loses outer blanks")
        << QByteArray("  Driver Risk  ,x\r\n") << "ss" << QStringList{"Driver Risk", "x"};
    QTest::newRow("blank after closing quote")
        << QByteArray("\"a\"  ,\"b\"  \r\nc") << "sss" << QStringList{"a", "b", "c"};
    QTest::newRow("empty lines between values")
        << QByteArray("1\r\n\r\n\r\n2\r\n") << "ii" << QStringList{"1", "2"};
    QTest::newRow("integers end at a blank")
        << QByteArray("  12 34,-5\r\n+6") << "iiii" << QStringList{"12", "34", "-5", "6"};
    QTest::newRow("digit string read as a string")
        << QByteArray("\"0120\"\r\n0120\r\n") << "ss" << QStringList{"0120", "0120"};
    QTest::newRow("last value without a line end")
        << QByteArray("7,8") << "ii" << QStringList{"7", "8"};
}

void TestTables::values() {
    QFETCH(QByteArray, file);
    QFETCH(QString, reads);
    QFETCH(QStringList, values);
    QTemporaryDir dir;
    writeAll(dir.filePath(QStringLiteral("T.TXT")), file);
    TableReader in(dir.filePath(QStringLiteral("T.TXT")));
    QStringList got;
    for (const QChar r : reads) {
        got << (r == QLatin1Char('i') ? QString::number(in.inputInteger(QStringLiteral("v")))
                                      : in.inputString(QStringLiteral("v")));
    }
    QCOMPARE(got, values);
}

void TestTables::lineInputAfterValues() {
    QTemporaryDir dir;
    writeAll(dir.filePath(QStringLiteral("T.TXT")),
             "\"a\",\"b\"\r\n  Whole, line \"as is\"  \r\n\r\nlast");
    TableReader in(dir.filePath(QStringLiteral("T.TXT")));
    QCOMPARE(in.inputString(QStringLiteral("v")), QStringLiteral("a"));
    QCOMPARE(in.inputString(QStringLiteral("v")), QStringLiteral("b"));
    QCOMPARE(in.lineInput(QStringLiteral("v")), QStringLiteral("  Whole, line \"as is\"  "));
    QCOMPARE(in.lineInput(QStringLiteral("v")), QString());
    QCOMPARE(in.lineInput(QStringLiteral("v")), QStringLiteral("last"));
}

void TestTables::pastTheEnd() {
    QTemporaryDir dir;
    writeAll(dir.filePath(QStringLiteral("T.TXT")), "1,2\r\n\r\n");
    TableReader in(dir.filePath(QStringLiteral("T.TXT")));
    in.inputInteger(QStringLiteral("first"));
    in.inputInteger(QStringLiteral("second"));
    try {
        in.inputInteger(QStringLiteral("the third value"));
        QFAIL("read past the end");
    } catch (const AppError& e) {
        QCOMPARE(
            e.description(),
            QStringLiteral("T.TXT: the file ends before the third value. The file is incomplete."));
    }
}

void TestTables::loadsTheTestTables() {
    const ScoringTables t = LoadScoringTables(kData);
    QCOMPARE(t.texts.scaleNames[3], QStringLiteral("Driver Risk"));
    QCOMPARE(t.texts.rangeLabels[4], QStringLiteral("MAXIMUM"));
    QCOMPARE(t.texts.rangeWords[2], QStringLiteral("MODERATE"));
    QCOMPARE(t.texts.listedTexts[1], QStringLiteral("11. Alcohol item 11"));
    QCOMPARE(t.texts.listedTexts[20], QStringLiteral("27. Driving item 27"));
    QCOMPARE(t.texts.choiceTexts[24], QStringLiteral("73. Answer 4"));
    QCOMPARE(t.listedItems[8], 41);
    QCOMPARE(t.pointsFor(20, 1), 3);
    QCOMPARE(t.pointsFor(54, 2), 2);
    QCOMPARE(t.pointsFor(1, 0), 1);
    QCOMPARE(t.pointsFor(71, 3), 2);
    QCOMPARE(t.pointsFor(71, 1), 1);
    // A damaged answer code earns nothing rather than reading past the key.
    QCOMPARE(t.pointsFor(20, 7), 0);
    QCOMPARE(t.norms[Alcohol][2][2].count, 30);
    QCOMPARE(t.norms[Alcohol][2][2].percentile[30], 59);
    QCOMPARE(t.norms[Truthfulness][3][1].percentile[10], 95);
    QCOMPARE(t.scaleItems[Drugs].size(), 15);
    QCOMPARE(t.scaleItems[Drugs].last(), 73);
    QCOMPARE(t.significantItems[11], 71);
    QCOMPARE(t.significantItems[28], 71);
    QCOMPARE(t.significantFloor[DriverRisk][8], 58);
    QCOMPARE(t.truthCorrection[Alcohol][9], 20);
}

// Each case edits one line of the test TOV2SFB.TXT (1-based; negative counts from the end, -1
// being the last line) and names what the message must say.
void TestTables::damagedTables_data() {
    QTest::addColumn<int>("line");
    QTest::addColumn<QByteArray>("replacement");
    QTest::addColumn<QString>("message");
    QTest::newRow("norm count above 60") << 10 << QByteArray("61,10,20,30,40,50,60,70,80,94,95")
                                         << "TOV2SFB.TXT: the length of the Truthfulness norms of "
                                            "group 1 (male) is 61; it must be 0 "
                                            "to 60.";
    QTest::newRow("scale of 32 items")
        << 34 << QByteArray("32,1,2,3,4,5,6,7,8,9,10")
        << "TOV2SFB.TXT: the item count of the Truthfulness scale is 32; it must be 0 to 31.";
    QTest::newRow("not a number")
        << 11 << QByteArray("30,3,6,9,1x,15")
        << "TOV2SFB.TXT: the percentile for raw score 4 in the Alcohol norms of group 1 (male) is "
           "\"1x\", which is not a whole number.";
    QTest::newRow("a fraction") << -1 << QByteArray("0,0,0,0,0,0,0,0,2.5")
                                << "TOV2SFB.TXT: the Drugs Truthfulness correction for band 9 is "
                                   "\"2.5\", which is not a whole number.";
    QTest::newRow("percentile of 100")
        << 10 << QByteArray("10,10,20,30,40,50,60,70,80,94,100")
        << "TOV2SFB.TXT: the percentile for raw score 10 in the Truthfulness norms of group 1 "
           "(male) is 100; it must be 0 to 99.";
    QTest::newRow("item 74 on a scale")
        << 35 << QByteArray("13,11,12,13,14,15,16,17,18,19,20,68,69,74")
        << "TOV2SFB.TXT: item 13 of the Alcohol scale is 74; it must be 1 to 73.";
    QTest::newRow("short key")
        << 3 << QByteArray("\"111\"")
        << "TOV2SFB.TXT: the scoring key of section 1 for answer 1 is \"111\"; it must be 67 "
           "digits, one per item.";
    QTest::newRow("empty value between commas")
        << 1 << QByteArray("11,,13,14,15,16,17,41,42,43,44,45,46,21,22,23,24,25,26,27")
        << "TOV2SFB.TXT: listed significant item 2 is \"\", which is not a whole number.";
    QTest::newRow("number too large for the tables")
        << -2 << QByteArray("0,0,0,0,0,0,0,0,40000")
        << "TOV2SFB.TXT: the Driver Risk Truthfulness correction for band 9 is \"40000\", which is "
           "out of range.";
    QTest::newRow("a floor line cut short") << -4 << QByteArray("61,62,63")
                                            << "TOV2SFB.TXT: the file ends before the Drugs "
                                               "Truthfulness correction for band 5. The file "
                                               "is incomplete.";
}

void TestTables::damagedTables() {
    QFETCH(int, line);
    QFETCH(QByteArray, replacement);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QList<QByteArray> lines = readAll(kData + QStringLiteral("/TOV2SFB.TXT")).split('\n');
    lines.removeLast(); // after the final line end
    lines[line > 0 ? line - 1 : lines.size() + line] = replacement + '\r';
    writeAll(dir.filePath(QStringLiteral("TOV2SFB.TXT")), lines.join('\n') + '\n');
    QFile::copy(kData + QStringLiteral("/TSF2RPT.TXT"),
                dir.filePath(QStringLiteral("TSF2RPT.TXT")));
    try {
        LoadScoringTables(dir.path());
        QFAIL("a damaged table was accepted");
    } catch (const AppError& e) {
        QCOMPARE(e.description(), message);
    }
}

// A file missing or cut short after some bytes.
void TestTables::missingFiles_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("keep");
    QTest::addColumn<QString>("message");
    QTest::newRow("no tables") << "TOV2SFB.TXT" << -1 << "was not found";
    QTest::newRow("no texts") << "TSF2RPT.TXT" << -1 << "was not found";
    QTest::newRow("empty texts") << "TSF2RPT.TXT" << 0
                                 << "TSF2RPT.TXT: the file ends before old label 1 of 21.";
    QTest::newRow("texts without the answer texts")
        << "TSF2RPT.TXT" << 817
        << "TSF2RPT.TXT: the file ends before multiple-choice answer text 11.";
    QTest::newRow("texts without the scale set")
        << "TSF2RPT.TXT" << 154 << "TSF2RPT.TXT: the file ends before scale name 1.";
    QTest::newRow("tables cut in the norms")
        << "TOV2SFB.TXT" << 560
        << "TOV2SFB.TXT: the file ends before the percentile for raw score 8 in the Drugs norms of "
           "group 1 (male).";
    QTest::newRow("tables without the corrections")
        << "TOV2SFB.TXT" << 2429
        << "TOV2SFB.TXT: the file ends before the Alcohol Truthfulness correction for band 1.";
}

void TestTables::missingFiles() {
    QFETCH(QString, file);
    QFETCH(int, keep);
    QFETCH(QString, message);
    QTemporaryDir dir;
    for (const QString& name : {QStringLiteral("TOV2SFB.TXT"), QStringLiteral("TSF2RPT.TXT")}) {
        if (name != file) {
            QFile::copy(kData + QLatin1Char('/') + name, dir.filePath(name));
        } else if (keep >= 0) {
            writeAll(dir.filePath(name), readAll(kData + QLatin1Char('/') + name).left(keep));
        }
    }
    try {
        LoadScoringTables(dir.path());
        QFAIL("a missing or short file was accepted");
    } catch (const AppError& e) {
        QVERIFY2(e.description().contains(message), qPrintable(e.description()));
        QVERIFY2(e.description().contains(file), qPrintable(e.description()));
    }
}

QTEST_GUILESS_MAIN(TestTables)
#include "test_tables.moc"
