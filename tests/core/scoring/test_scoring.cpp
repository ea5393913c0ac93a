// Scale scores, percentiles and floors on the hand-made test tables in data/: their keys, norms
// (3 x raw for most clients), floors and corrections are chosen so each number below can be
// worked out by hand.
#include "scoring/ScaleScorer.h"
#include "support/TestClient.h"

#include <QtTest>

using namespace tov;
using namespace tov::scoring;

namespace {

QList<int> scales(const std::array<int, 5>& a) {
    return {a[1], a[2], a[3], a[4]};
}

// The reason flags that are set, in a fixed order.
QString flagsOf(const ScoreResults& r) {
    QStringList f;
    if (r.BacRaised) {
        f << QStringLiteral("bac");
    }
    if (r.DuiRaised[Alcohol]) {
        f << QStringLiteral("dui2");
    }
    if (r.AlcoholArrestRaised) {
        f << QStringLiteral("alc");
    }
    if (r.DuiRaised[DriverRisk]) {
        f << QStringLiteral("dui3");
    }
    if (r.ViolationRaised) {
        f << QStringLiteral("viol");
    }
    if (r.AccidentRaised) {
        f << QStringLiteral("acc");
    }
    if (r.DrugArrestRaised) {
        f << QStringLiteral("drug");
    }
    return f.join(QLatin1Char(' '));
}

// Scores a client of the test descriptions with the test tables, read afresh as every scoring pass
// does.
ScoreResults score(const QString& answers, const QString& fields) {
    const ScoringTables tables = LoadScoringTables(QStringLiteral(TOV_SCORING_DATA));
    return ScaleScorer(tables).score(ReportRecord::from(testclient::client(answers, fields)));
}

} // namespace

class TestScoring : public QObject {
    Q_OBJECT

private slots:
    void scores_data();
    void scores();
    void omittedCounts();
    void bacCode_data();
    void bacCode();
    void priorCounts_data();
    void priorCounts();
    void floorsFollowTheTruthfulnessCut();
};

void TestScoring::scores_data() {
    QTest::addColumn<QString>("answers");
    QTest::addColumn<QString>("fields");
    QTest::addColumn<QList<int>>("raw");
    QTest::addColumn<QList<int>>("percentile");
    QTest::addColumn<QString>("flags");

    // Every item False, the multiple-choice items 4: only item 54 scores (2 points on Drugs).
    QTest::newRow("baseline") << ""
                              << "" << QList<int>{0, 0, 0, 2} << QList<int>{0, 0, 0, 6} << "";

    // All omitted: each raw score is the sum of the answer-0 digits (item 1 only).
    QTest::newRow("all omitted") << "all=0"
                                 << "" << QList<int>{1, 0, 0, 0} << QList<int>{10, 0, 0, 0} << "";
    // 4 + 1 court points on Driver Risk, 15th percentile, but no item scored: capped at 7.
    QTest::newRow("all omitted, court points capped at 7")
        << "all=0"
        << "MViolations=7 Accidents=1" << QList<int>{1, 0, 5, 0} << QList<int>{10, 0, 7, 0} << "";

    // 63 True answers: Truthfulness raw 6 (60th, band 6 adds 5 to Alcohol); the significant
    // items lift Driver Risk (7 moderate: level 8) and Drugs (8 moderate: level 8).
    QTest::newRow("63 True answers")
        << "1-6=1 11-67=1"
        << "" << QList<int>{6, 26, 12, 21} << QList<int>{60, 78, 58, 68} << "";
    // One more True answer: Truthfulness raw 99, every percentile 99 (band 9 added to the raw).
    QTest::newRow("64 True answers")
        << "1-7=1 11-67=1"
        << "" << QList<int>{99, 41, 22, 24} << QList<int>{99, 99, 99, 99} << "";

    // Truthfulness 94: band 9 corrections (20, 10, 3), then the usual conversion and caps.
    QTest::newRow("Truthfulness 94 goes on")
        << "1-9=1"
        << "" << QList<int>{9, 20, 10, 5} << QList<int>{94, 7, 7, 15} << "";
    QTest::newRow("Truthfulness 95 stops")
        << "1-10=1"
        << "" << QList<int>{10, 20, 10, 5} << QList<int>{95, 99, 99, 99} << "";

    // Drugs 18 + 3 + 2 + 3 + 2 + 3 + 3 = 34, above the 30 scores of its table.
    QTest::newRow("raw above the table")
        << "41-50=1 70=1 71=3 72=1 73=1"
        << "" << QList<int>{0, 2, 0, 34} << QList<int>{0, 6, 0, 99} << "";
    // Alcohol only: item 71's point on Drugs is taken back with 2 more.
    QTest::newRow("negative raw on Drugs through item 71")
        << "54=1 71=1"
        << "" << QList<int>{0, 1, 0, -1} << QList<int>{0, 3, 0, 0} << "";
    QTest::newRow("negative raw on Alcohol through item 71")
        << "54=1 71=2"
        << "" << QList<int>{0, -1, 0, 1} << QList<int>{0, 0, 0, 3} << "";

    QTest::newRow("BAC .08 at 21 without priors")
        << ""
        << "Age=21 BAC=.08" << QList<int>{0, 0, 0, 2} << QList<int>{0, 36, 0, 6} << "bac";
    QTest::newRow("BAC .08 at 20 without priors")
        << ""
        << "Age=20 BAC=.08" << QList<int>{0, 0, 0, 2} << QList<int>{0, 46, 0, 6} << "bac";
    // 56 from the BAC, then 68 from the one prior DUI; Driver Risk 41 from it.
    QTest::newRow("BAC .08 at 20 with one prior DUI")
        << ""
        << "Age=20 BAC=.08 PriorDUI=1 StPriorDUI=1" << QList<int>{0, 1, 1, 2}
        << QList<int>{0, 68, 41, 6} << "bac dui2 dui3";
    QTest::newRow("BAC .16 at 20 with one prior DUI")
        << ""
        << "Age=20 BAC=.16 PriorDUI=1 StPriorDUI=1" << QList<int>{0, 1, 1, 2}
        << QList<int>{0, 70, 41, 6} << "bac dui3";
    QTest::newRow("staff BAC R whatever the arrest BAC")
        << ""
        << "BAC=.30 StBAC=R" << QList<int>{0, 0, 0, 2} << QList<int>{0, 54, 0, 6} << "bac";
    QTest::newRow("BAC .30 without staff value")
        << ""
        << "BAC=.30" << QList<int>{0, 0, 0, 2} << QList<int>{0, 89, 0, 6} << "bac";
    QTest::newRow("BAC not available")
        << ""
        << "BAC=N StBAC=N" << QList<int>{0, 0, 0, 2} << QList<int>{0, 39, 0, 6} << "bac";
    QTest::newRow("age not given reads as under 21")
        << ""
        << "Age=N BAC=.10" << QList<int>{0, 0, 0, 2} << QList<int>{0, 46, 0, 6} << "bac";

    // 5 + 4 raw points (27th); violations set 69, then the accidents 89 and name the reason.
    QTest::newRow("9 violations and 4 accidents")
        << ""
        << "MViolations=9 Accidents=4" << QList<int>{0, 0, 9, 2} << QList<int>{0, 0, 89, 6}
        << "acc";
    QTest::newRow("12 violations and 4 accidents")
        << ""
        << "MViolations=12 Accidents=4" << QList<int>{0, 0, 10, 2} << QList<int>{0, 0, 89, 6}
        << "acc";
    QTest::newRow("12 violations")
        << ""
        << "MViolations=12" << QList<int>{0, 0, 6, 2} << QList<int>{0, 0, 89, 6} << "viol";
    QTest::newRow("2 accidents") << ""
                                 << "Accidents=2" << QList<int>{0, 0, 2, 2}
                                 << QList<int>{0, 0, 56, 6} << "acc";
    QTest::newRow("3 accidents after 8 violations")
        << ""
        << "MViolations=8 Accidents=3" << QList<int>{0, 0, 7, 2} << QList<int>{0, 0, 70, 6}
        << "acc";
    // Accidents on Driver Risk leave the Alcohol scale's own reason alone.
    QTest::newRow("alcohol arrests and accidents")
        << ""
        << "AlcoholArrests=2 Accidents=2" << QList<int>{0, 2, 2, 2} << QList<int>{0, 57, 56, 6}
        << "alc acc";
    QTest::newRow("two prior DUIs") << ""
                                    << "PriorDUI=2 StPriorDUI=2" << QList<int>{0, 2, 2, 2}
                                    << QList<int>{0, 71, 68, 6} << "dui2 dui3";
    QTest::newRow("drug arrests") << ""
                                  << "DrugArrests=4" << QList<int>{0, 0, 0, 6}
                                  << QList<int>{0, 0, 0, 91} << "drug";
    // "N" counts nothing and raises nothing.
    QTest::newRow("N court values")
        << ""
        << "PriorDUI=N COSupervision=N Reckless=N SSSuspend=N MViolations=N Accidents=N "
           "AlcoholArrests=N DrugArrests=N StPriorDUI=N"
        << QList<int>{0, 0, 0, 2} << QList<int>{0, 0, 0, 6} << "";

    // Norm groups and genders: Alcohol raw 6 reads 3r, 2r or r, less 1 for women.
    QTest::newRow("group 1 male") << "68=1 69=1"
                                  << "" << QList<int>{0, 6, 0, 2} << QList<int>{0, 18, 0, 6} << "";
    QTest::newRow("group 1 female")
        << "68=1 69=1"
        << "Gender=2" << QList<int>{0, 6, 0, 2} << QList<int>{0, 17, 0, 5} << "";
    QTest::newRow("gender N/A scored as male")
        << "68=1 69=1"
        << "Gender=0" << QList<int>{0, 6, 0, 2} << QList<int>{0, 18, 0, 6} << "";
    QTest::newRow("group 2") << "68=1 69=1"
                             << "Race=4" << QList<int>{0, 6, 0, 2} << QList<int>{0, 12, 0, 4} << "";
    QTest::newRow("group 3") << "68=1 69=1"
                             << "Race=7" << QList<int>{0, 6, 0, 2} << QList<int>{0, 6, 0, 2} << "";
    QTest::newRow("race N/A in group 1")
        << "68=1 69=1"
        << "Race=0" << QList<int>{0, 6, 0, 2} << QList<int>{0, 18, 0, 6} << "";

    // Significant-item levels: floors 40 + level (Alcohol), 50 + level (Driver Risk), 60 +
    // level (Drugs).
    QTest::newRow("one strong item: level 1")
        << "20=1"
        << "" << QList<int>{0, 3, 0, 2} << QList<int>{0, 41, 0, 6} << "";
    QTest::newRow("strong and moderate: level 2")
        << "11=1 20=1"
        << "" << QList<int>{0, 5, 0, 2} << QList<int>{0, 42, 0, 6} << "";
    QTest::newRow("two moderate: no level, capped at 38")
        << "11-12=1"
        << "" << QList<int>{0, 4, 0, 2} << QList<int>{0, 12, 0, 6} << "";
    QTest::newRow("three moderate: level 4")
        << "11-13=1"
        << "" << QList<int>{0, 6, 0, 2} << QList<int>{0, 44, 0, 6} << "";
    QTest::newRow("four on Driver Risk: level 5")
        << "21-24=1"
        << "" << QList<int>{0, 0, 4, 2} << QList<int>{0, 0, 55, 6} << "";
    QTest::newRow("item 71 counts for Drugs when 3")
        << "41-42=1 71=3"
        << "" << QList<int>{0, 2, 0, 8} << QList<int>{0, 6, 0, 64} << "";

    // Few scored items cap the table's percentile: Truthfulness 94 adds 10 to Driver Risk.
    QTest::newRow("cap 7 with no item scored")
        << "1-9=1"
        << "MViolations=7 Accidents=1" << QList<int>{9, 20, 15, 5} << QList<int>{94, 7, 7, 15}
        << "";
    QTest::newRow("cap 28 with one item scored")
        << "1-9=1 21=1"
        << "MViolations=7 Accidents=1" << QList<int>{9, 20, 16, 5} << QList<int>{94, 7, 28, 15}
        << "";
    QTest::newRow("cap 38 with two items scored")
        << "1-9=1 21-22=1"
        << "MViolations=7 Accidents=1" << QList<int>{9, 20, 17, 5} << QList<int>{94, 7, 38, 15}
        << "";
    QTest::newRow("no cap with three items scored")
        << "1-9=1 21-22=1 30=1"
        << "MViolations=7 Accidents=1" << QList<int>{9, 20, 20, 5} << QList<int>{94, 7, 60, 15}
        << "";
}

void TestScoring::scores() {
    QFETCH(QString, answers);
    QFETCH(QString, fields);
    QFETCH(QList<int>, raw);
    QFETCH(QList<int>, percentile);
    QFETCH(QString, flags);
    const ScoreResults r = score(answers, fields);
    QCOMPARE(scales(r.RawScore), raw);
    QCOMPARE(scales(r.Percentile), percentile);
    QCOMPARE(flagsOf(r), flags);
    // A court floor marks the scales it raised, and only those.
    QCOMPARE(r.CourtRaised[Alcohol], r.BacRaised || r.DuiRaised[Alcohol] || r.AlcoholArrestRaised);
    QCOMPARE(r.CourtRaised[Drugs], r.DrugArrestRaised);
}

void TestScoring::omittedCounts() {
    const ScoreResults r = score(QStringLiteral("all=0"), QString());
    QCOMPARE(scales(r.OmittedCount), (QList<int>{10, 13, 10, 15}));
    QCOMPARE(scales(r.ScoredItemCount), (QList<int>{1, 0, 0, 0}));
    const ScoreResults some = score(QStringLiteral("41-45=0 71=0"), QString());
    QCOMPARE(scales(some.OmittedCount), (QList<int>{0, 1, 0, 6}));
}

void TestScoring::bacCode_data() {
    QTest::addColumn<QString>("fields");
    QTest::addColumn<int>("bac");
    QTest::addColumn<QString>("mark");
    QTest::newRow("arrest BAC") << "BAC=.15" << 15 << " ";
    QTest::newRow("three decimals") << "BAC=.199" << 19 << " ";
    QTest::newRow("exact hundredths") << "BAC=.29" << 29 << " ";
    QTest::newRow("leading zero") << "BAC=0.08" << 8 << " ";
    QTest::newRow("staff BAC wins") << "BAC=.12 StBAC=.21" << 21 << "*";
    QTest::newRow("staff N, arrest given") << "BAC=.12 StBAC=N" << 12 << " ";
    QTest::newRow("both not available") << "BAC=N StBAC=N" << -100 << "*";
    QTest::newRow("arrest N, staff empty") << "BAC=N StBAC=_" << -100 << " ";
    QTest::newRow("refused at arrest") << "BAC=R StBAC=N" << -200 << " ";
    QTest::newRow("refused to staff") << "BAC=.12 StBAC=R" << -200 << "*";
    QTest::newRow("stored -1") << "BAC=-1 StBAC=N" << -100 << "*";
}

void TestScoring::bacCode() {
    QFETCH(QString, fields);
    QFETCH(int, bac);
    QFETCH(QString, mark);
    const ScoreResults r = score(QString(), fields);
    QCOMPARE(r.BacCode, bac);
    QCOMPARE(r.StaffMark[0], mark);
}

void TestScoring::priorCounts_data() {
    QTest::addColumn<QString>("fields");
    QTest::addColumn<QList<int>>("counts");
    QTest::addColumn<int>("total");
    QTest::addColumn<QString>("mark");
    QTest::newRow("client's counts, staff N")
        << "PriorDUI=1 COSupervision=2 Reckless=1 SSSuspend=3 StPriorDUI=N"
        << QList<int>{1, 2, 1, 3} << 4 << " ";
    QTest::newRow("staff count replaces the client's")
        << "PriorDUI=3 StPriorDUI=1" << QList<int>{1, 0, 0, 0} << 1 << "*";
    QTest::newRow("not available anywhere")
        << "PriorDUI=N COSupervision=N StPriorDUI=N" << QList<int>{-1, -1, 0, 0} << 0 << "*";
    QTest::newRow("suspensions are not DUIs")
        << "SSSuspend=2" << QList<int>{0, 0, 0, 2} << 0 << "*";
}

void TestScoring::priorCounts() {
    QFETCH(QString, fields);
    QFETCH(QList<int>, counts);
    QFETCH(int, total);
    QFETCH(QString, mark);
    const ScoreResults r = score(QString(), fields);
    QCOMPARE(scales(r.PriorCounts), counts);
    QCOMPARE(r.PriorDuiTotal, total);
    QCOMPARE(r.StaffMark[1], mark);
}

void TestScoring::floorsFollowTheTruthfulnessCut() {
    // At 95 the scales are 99 already: no floor raises them, so no reason is named.
    const ScoreResults r =
        score(QStringLiteral("1-10=1"), QStringLiteral("PriorDUI=3 StPriorDUI=3 BAC=.25"));
    QCOMPARE(scales(r.Percentile), (QList<int>{95, 99, 99, 99}));
    QCOMPARE(flagsOf(r), QString());
}

QTEST_GUILESS_MAIN(TestScoring)
#include "test_scoring.moc"
