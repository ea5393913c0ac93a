// The check of the structured fuzz target (fuzz_sheet) on a fixed table of drawn sheets: each
// seed draws a client and the conditions of its sheet as the fuzzer's bytes do, and the reading
// must be what the reader owes that page (sheetgen/SheetTrial.h).
#include "sheetgen/SheetTrial.h"

#include "scan/SheetReading.h"

#include <QTest>

using namespace tov;
using namespace tov::sheetgen;

namespace {

const QDate Today(2026, 12, 8);

QString owedName(const Owed& owed) {
    return owed.read      ? QStringLiteral("read exactly")
           : owed.exact   ? QStringLiteral("exactly if read")
           : owed.refusal ? QStringLiteral("refused")
                          : QStringLiteral("refused or in range");
}

} // namespace

class TestSheetTrials : public QObject {
    Q_OBJECT

private slots:
    // What each seed draws is part of the row, so that a change to the drawing, which would
    // change what the table covers, shows.
    void drawnSheets_data() {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<QString>("owed");
        const QList<std::pair<quint32, const char*>> rows = {
            {8, "read exactly"},         // grey, turned 2.5 degrees, stretched
            {9, "read exactly"},         // grey, fit to page, 10 mm off the guide
            {56, "read exactly"},        // black and white, heavy print, doubled marks
            {66, "read exactly"},        // grey, tinted, doubled marks
            {78, "exactly if read"},     // the reference box cut by the page's edge
            {64, "exactly if read"},     // a column of bubbles at the page's edge
            {73, "refused"},             // printed at 87%
            {77, "refused"},             // printed at 110%
            {69, "refused"},             // cut off above the last row
            {57, "refused or in range"}, // stretched by 2.3%
            {70, "refused or in range"}, // turned 3.1 degrees and bent
            // Black and white scans that dropped the print, of paper stretched by a feeder.
            {40, "read exactly"},
            {52, "read exactly"},
            {63, "read exactly"},
        };
        for (const auto& [seed, owed] : rows) {
            QTest::addRow("seed %u", seed) << seed << QString::fromLatin1(owed);
        }
    }
    void drawnSheets() {
        QFETCH(quint32, seed);
        QRandomGenerator random(seed);
        RandomChoices choices(random);
        const SheetTrial trial = DrawTrial(choices, Today);
        QFETCH(QString, owed);
        QCOMPARE(owedName(OwedFor(trial)), owed);
        const QString wrong = CheckReading(trial, ReadTrial(renderer_, trial, Today), Today);
        QVERIFY2(wrong.isEmpty(),
                 qPrintable(DescribeTrial(trial, Today) + QLatin1Char('\n') + wrong));
    }

    // The check itself: a reading altered after the fact is caught, and says how.
    void checkFindsWhatIsWrong_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("doubt");
        QTest::addColumn<QString>("found");
        QTest::newRow("an answer of another item") << "answers"
                                                   << "<1"
                                                   << ""
                                                   << "item1 read";
        QTest::newRow("a misread doubted") << "answers"
                                           << "<1"
                                           << "item1"
                                           << "";
        QTest::newRow("an answer beyond True and False") << "answers"
                                                         << "<3"
                                                         << ""
                                                         << "answers read as";
        QTest::newRow("an SSN of too few digits") << "ssn"
                                                  << "12-34"
                                                  << ""
                                                  << "ssn read as";
        QTest::newRow("a race beyond its list") << "race"
                                                << "10"
                                                << ""
                                                << "race read as";
        QTest::newRow("a doubt of no value") << ""
                                             << ""
                                             << "item74"
                                             << "doubt named";
    }
    void checkFindsWhatIsWrong() {
        QRandomGenerator random(8);
        RandomChoices choices(random);
        const SheetTrial trial = DrawTrial(choices, Today);
        scan::SheetReading reading = ReadTrial(renderer_, trial, Today);
        QCOMPARE(CheckReading(trial, reading, Today), QString());
        QFETCH(QString, field);
        QFETCH(QString, value);
        scan::ScannedSheet& v = reading.values;
        if (field == QLatin1String("answers")) {
            // "<c": the first answer becomes c, or the other of True and False.
            const QChar was = v.ScannedAnswers[0];
            v.ScannedAnswers[0] = value == QLatin1String("<1") && was == QLatin1Char('1')
                                      ? QLatin1Char('2')
                                      : value.at(1);
        } else if (field == QLatin1String("ssn")) {
            v.SSN = value;
        } else if (field == QLatin1String("race")) {
            v.Race = value;
        }
        QFETCH(QString, doubt);
        if (!doubt.isEmpty()) {
            reading.doubtful << doubt;
        }
        QFETCH(QString, found);
        const QString wrong = CheckReading(trial, reading, Today);
        QVERIFY2(found.isEmpty() ? wrong.isEmpty() : wrong.startsWith(found), qPrintable(wrong));
    }

private:
    SheetRenderer renderer_;
};

QTEST_MAIN(TestSheetTrials)
#include "test_sheettrials.moc"
