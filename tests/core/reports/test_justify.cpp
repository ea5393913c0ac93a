// JustifyParagraph and the report's line writer. The expected lines were worked out by hand from
// the algorithm: break at the last blank within the width, trim, then widen gaps from the right,
// continuing one position left of each widened blank and starting again from the line's end.
#include "reports/JustifyParagraph.h"
#include "reports/ReportBlocks.h"
#include "reports/ReportDocument.h"
#include "reports/ReportLine.h"

#include <QtTest>

using namespace tov::reports;

namespace {

QString rep(char c, int n) {
    return QString(n, QLatin1Char(c));
}

} // namespace

class TestJustify : public QObject {
    Q_OBJECT

private slots:
    void paragraphs_data();
    void paragraphs();
    void lineColumns_data();
    void lineColumns();
    void documentLineEnds();
    void profileBars_data();
    void profileBars();
    void labels_data();
    void labels();
};

void TestJustify::paragraphs_data() {
    QTest::addColumn<int>("variant");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    const int a = static_cast<int>(Justify::Classification);
    const int b = static_cast<int>(Justify::Scale);
    const QString fox =
        QStringLiteral("The quick brown fox jumps over the lazy dog and runs far away home");

    QTest::newRow("B short text, trailing blank dropped")
        << b << "Alcohol is low. " << QStringList{"Alcohol is low."};
    // 66 characters, 4 short of 70: the four rightmost gaps get one blank each.
    QTest::newRow("B break and pad")
        << b << fox + " again and again."
        << QStringList{"The quick brown fox jumps over the lazy dog and  runs  far  away  home",
                       "again and again."};
    // The same line needs 5 to pass 70 in the classification variant.
    QTest::newRow("A break and pad")
        << a << fox + " again and again and again."
        << QStringList{"The quick brown fox jumps over the lazy dog  and  runs  far  away  home",
                       "again and again and again."};
    // A 60-character last line with two gaps: the first pass widens both, each later pass
    // starts from the end again and widens a gap twice, from its right blank.
    QTest::newRow("B restart from the line's end")
        << b << rep('a', 20) + QLatin1Char(' ') + rep('b', 19) + QLatin1Char(' ') + rep('c', 19)
        << QStringList{rep('a', 20) + rep(' ', 4) + rep('b', 19) + rep(' ', 8) + rep('c', 19)};
    QTest::newRow("B line without inner blank") << b << rep('x', 60) << QStringList{rep('x', 60)};
    QTest::newRow("B leading blank is not an inner blank")
        << b << QLatin1Char(' ') + rep('x', 59) << QStringList{QLatin1Char(' ') + rep('x', 59)};
    QTest::newRow("B 55 characters stay as they are")
        << b << rep('x', 27) + QLatin1Char(' ') + rep('y', 27)
        << QStringList{rep('x', 27) + QLatin1Char(' ') + rep('y', 27)};
    QTest::newRow("B 70 characters are a last line")
        << b << rep('x', 35) + QLatin1Char(' ') + rep('y', 34)
        << QStringList{rep('x', 35) + QLatin1Char(' ') + rep('y', 34)};
    // 71 characters: the blank at 36 ends the first line.
    QTest::newRow("B 71 characters break") << b << rep('x', 35) + QLatin1Char(' ') + rep('y', 35)
                                           << QStringList{rep('x', 35), rep('y', 35)};
    // A remainder of exactly 71 characters plus the blank A appends is not shorter than 72: it
    // breaks at that blank and leaves an empty last line.
    QTest::newRow("A remainder of 71 characters")
        << a << rep('w', 65) + QLatin1Char(' ') + rep('r', 35) + QLatin1Char(' ') + rep('s', 35)
        << QStringList{rep('w', 65), rep('r', 35) + QLatin1Char(' ') + rep('s', 35), QString()};
    QTest::newRow("A 71 characters are a last line")
        << a << rep('r', 35) + QLatin1Char(' ') + rep('s', 35)
        << QStringList{rep('r', 35) + QLatin1Char(' ') + rep('s', 35)};
    // A word longer than a line is cut at the width instead of never ending.
    QTest::newRow("A word longer than the line") << a << rep('x', 80) + QStringLiteral(" end")
                                                 << QStringList{rep('x', 72), rep('x', 8) + " end"};
    QTest::newRow("B word longer than the line")
        << b << rep('x', 75) << QStringList{rep('x', 70), rep('x', 5)};
    QTest::newRow("empty text") << b << "" << QStringList{};
}

void TestJustify::paragraphs() {
    QFETCH(int, variant);
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(JustifyParagraph(text, static_cast<Justify>(variant)), lines);
}

void TestJustify::lineColumns_data() {
    QTest::addColumn<QString>("built");
    QTest::addColumn<QString>("expected");
    QTest::newRow("after blanks") << ReportLine().blanks(7).text(QStringLiteral("NAME:")).str()
                                  << "       NAME:";
    QTest::newRow("at a later column")
        << ReportLine().text(QStringLiteral("abc")).at(6).text(QStringLiteral("d")).str()
        << "abc  d";
    QTest::newRow("at the next column")
        << ReportLine().text(QStringLiteral("abc")).at(4).text(QStringLiteral("d")).str() << "abcd";
    // Already at column 4 when column 3 is asked for: column 3 of the next line.
    QTest::newRow("past the column")
        << ReportLine().text(QStringLiteral("abc")).at(3).text(QStringLiteral("d")).str()
        << "abc\n  d";
    QTest::newRow("numbers with sign place and trailing blank")
        << ReportLine().number(5).number(-3).number(0).number(99).str() << " 5 -3  0  99 ";
    QTest::newRow("negative blanks are none")
        << ReportLine().text(QStringLiteral("a")).blanks(-2).text(QStringLiteral("b")).str()
        << "ab";
}

void TestJustify::lineColumns() {
    QFETCH(QString, built);
    QFETCH(QString, expected);
    QCOMPARE(built, expected);
}

void TestJustify::documentLineEnds() {
    ReportDocument doc;
    doc.line(QStringLiteral("one"));
    doc.formFeed();
    doc.line(ReportLine().text(QStringLiteral("abc")).at(2).text(QStringLiteral("x")));
    doc.line(QStringLiteral("caf\u00e9"));
    QCOMPARE(doc.bytes(), QByteArray("one\r\n\f\r\nabc\r\n x\r\ncaf\xe9\r\n"));
}

void TestJustify::profileBars_data() {
    QTest::addColumn<int>("percentile");
    QTest::addColumn<QString>("bar");
    QTest::newRow("0: one asterisk") << 0 << "*...............-...........-.......-...-";
    QTest::newRow("2") << 2 << "*...............-...........-.......-...-";
    QTest::newRow("3") << 3 << "**..............-...........-.......-...-";
    QTest::newRow("39: up to the medium mark") << 39 << "****************-...........-.......-...-";
    QTest::newRow("40: over it") << 40 << "*****************...........-.......-...-";
    QTest::newRow("69") << 69 << "****************************-.......-...-";
    QTest::newRow("70") << 70 << "*****************************.......-...-";
    QTest::newRow("99: forty asterisks") << 99 << "****************************************-";
}

void TestJustify::profileBars() {
    QFETCH(int, percentile);
    QFETCH(QString, bar);
    QCOMPARE(ProfileBar(percentile), bar);
}

// The report's own label texts; a code a list lacks (a damaged record) prints "N/A".
void TestJustify::labels_data() {
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("expected");
    QTest::newRow("gender 2") << GenderLabel(QStringLiteral("2")) << "Female";
    QTest::newRow("gender 3") << GenderLabel(QStringLiteral("3")) << "N/A";
    QTest::newRow("race 1") << RaceLabel(QStringLiteral("1")) << "Native American";
    QTest::newRow("race 3") << RaceLabel(QStringLiteral("3")) << "Asian, P.Islander";
    QTest::newRow("race blank") << RaceLabel(QStringLiteral(" ")) << "N/A";
    QTest::newRow("marital 1") << MaritalLabel(QStringLiteral("1")) << "Never Married";
    QTest::newRow("marital 9") << MaritalLabel(QStringLiteral("9")) << "N/A";
    QTest::newRow("education 2") << EducationLabel(QStringLiteral("2")) << "Did not complete H.S.";
    QTest::newRow("education 3") << EducationLabel(QStringLiteral("3")) << "High School graduate";
    QTest::newRow("education letter") << EducationLabel(QStringLiteral("x")) << "N/A";
}

void TestJustify::labels() {
    QFETCH(QString, label);
    QFETCH(QString, expected);
    QCOMPARE(label, expected);
}

QTEST_GUILESS_MAIN(TestJustify)
#include "test_justify.moc"
