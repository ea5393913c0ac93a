// The dependency / abuse classification, its paragraph, the first-page statement and the risk
// classification, from answers, item points and court values set directly.
#include "scoring/Classification.h"
#include "scoring/ReportRecord.h"
#include "scoring/ScoringTables.h"

#include <QtTest>

using namespace tov::scoring;

namespace {

// Every True/False item False, every multiple-choice item 4, nothing elevated, no court history.
// Descriptions: "item=code" for answers, "item=points" for item points, "n=value" for court values.
ScoreResults results(const QString& answers, const QString& points = QString(),
                     const QString& court = QString(), int bac = 5, int alcohol = 20,
                     int drugs = 20) {
    ScoreResults r;
    for (int i = 1; i <= 73; ++i) {
        r.AnswerCodes[i] = i <= 67 ? 2 : 4;
    }
    for (int i = 1; i <= 10; ++i) {
        r.CourtValues[i] = QStringLiteral("0");
    }
    auto apply = [](const QString& pieces, auto set) {
        for (const QString& piece : pieces.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            set(piece.section(QLatin1Char('='), 0, 0).toInt(), piece.section(QLatin1Char('='), 1));
        }
    };
    apply(answers, [&r](int i, const QString& v) { r.AnswerCodes[i] = v.toInt(); });
    apply(points, [&r](int i, const QString& v) { r.ItemPoints[i] = v.toInt(); });
    apply(court, [&r](int i, const QString& v) { r.CourtValues[i] = v; });
    r.BacCode = bac;
    r.Percentile[Alcohol] = alcohol;
    r.Percentile[Drugs] = drugs;
    return r;
}

} // namespace

class TestClassification : public QObject {
    Q_OBJECT

private slots:
    void dependency_data();
    void dependency();
    void abuse_data();
    void abuse();
    void selfRating_data();
    void selfRating();
    void elevation_data();
    void elevation();
    void paragraphOfAClientWithNothingAdmitted();
    void paragraphPieces_data();
    void paragraphPieces();
    void omittedAbuseItemReplacesTheParagraph();
    void firstPageStatement_data();
    void firstPageStatement();
    void riskClassification_data();
    void riskClassification();
};

void TestClassification::dependency_data() {
    QTest::addColumn<QString>("answers");
    QTest::addColumn<QString>("points");
    QTest::addColumn<int>("bac");
    QTest::addColumn<bool>("dependent");
    QTest::addColumn<bool>("physiological");
    QTest::addColumn<QString>("admissions");
    QTest::addColumn<QString>("tolerance");
    // Tolerance shown by the BAC: counted and physiological, yet not an admission, and no
    // tolerance text; the list ends in the BAC note cut by two characters.
    QTest::newRow("item 31 False with BAC .20") << "31=2 36=1 45=1"
                                                << "" << 20 << true << true << "36, 45, BAL>=.2"
                                                << "";
    QTest::newRow("item 31 omitted with BAC .20") << "31=0 36=1 45=1"
                                                  << "" << 20 << false << false << ""
                                                  << "";
    QTest::newRow("items 36, 45, 50 only") << "36=1 45=1 50=1"
                                           << "" << 5 << true << false << "36, 45, 50"
                                           << "";
    QTest::newRow("two criteria only") << "36=1 45=1"
                                       << "" << 5 << false << false << ""
                                       << "";
    QTest::newRow("tolerance and withdrawal") << "31=1 33=1 59=1"
                                              << "" << 5 << true << true << "31, 33, 59"
                                              << "(Tolerance: 31, Withdrawal: 33).";
    QTest::newRow("withdrawal alone") << "33=1 36=1 40=1"
                                      << "" << 5 << true << true << "33, 36, 40"
                                      << "(Withdrawal: 33).";
    // Items 40, 54 and 70 make one criterion together; 54 and 70 by their points.
    QTest::newRow("items 40, 54 and 70 count once") << "36=1 40=1 54=2 70=1"
                                                    << "54=2 70=3" << 5 << false << false << ""
                                                    << "";
    QTest::newRow("54 and 70 listed after the others")
        << "36=1 45=1 54=2 70=1"
        << "54=2 70=3" << 5 << true << false << "36, 45, 54, 70"
        << "";
    QTest::newRow("40, 54 and 70 all omitted") << "36=1 45=1 40=0 54=0 70=0"
                                               << "54=1" << 5 << false << false << ""
                                               << "";
}

void TestClassification::dependency() {
    QFETCH(QString, answers);
    QFETCH(QString, points);
    QFETCH(int, bac);
    QFETCH(bool, dependent);
    QFETCH(bool, physiological);
    QFETCH(QString, admissions);
    QFETCH(QString, tolerance);
    const Classification c = ClassifySubstanceUse(results(answers, points, QString(), bac));
    QCOMPARE(c.IsDependent, dependent);
    QCOMPARE(c.PhysiologicalDependence, physiological);
    QCOMPARE(c.AdmissionsList, admissions);
    QCOMPARE(c.ToleranceText, tolerance);
}

void TestClassification::abuse_data() {
    QTest::addColumn<QString>("answers");
    QTest::addColumn<QString>("court");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("list");
    QTest::addColumn<bool>("omitted");
    QTest::addColumn<bool>("multiple");
    QTest::newRow("none") << ""
                          << "" << 0 << "" << false << false;
    QTest::newRow("13 and 29") << "13=1 29=1"
                               << "" << 2 << "13, 29." << false << false;
    // Item 24 answered False still counts for a client with two prior DUIs; 24 is not listed.
    QTest::newRow("item 24 False with two prior DUIs") << "24=2"
                                                       << "1=2" << 1 << " DUI." << false << true;
    QTest::newRow("item 24 True with arrests")
        << "24=1"
        << "7=3 8=2" << 1 << "24,  Alcohol Arrests, Drug Arrest." << false << true;
    QTest::newRow("item 24 omitted with two DUIs") << "24=0"
                                                   << "1=2" << 0 << " DUI." << true << true;
    QTest::newRow("item 13 omitted") << "13=0"
                                     << "" << 0 << "" << true << false;
    QTest::newRow("one arrest is not several") << "24=2"
                                               << "7=1 8=1" << 0 << "" << false << false;
}

void TestClassification::abuse() {
    QFETCH(QString, answers);
    QFETCH(QString, court);
    QFETCH(int, count);
    QFETCH(QString, list);
    QFETCH(bool, omitted);
    QFETCH(bool, multiple);
    const Classification c = ClassifySubstanceUse(results(answers, QString(), court));
    QCOMPARE(c.AbuseCount, count);
    QCOMPARE(c.AbuseList, list);
    QCOMPARE(c.AbuseItemsOmitted, omitted);
    QCOMPARE(c.MultipleArrests, multiple);
}

void TestClassification::selfRating_data() {
    QTest::addColumn<QString>("answers");
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("drinking");
    QTest::addColumn<QString>("drugs");
    QTest::addColumn<QString>("substance");
    QTest::newRow("no problem") << "" << 0 << "a minimum problem"
                                << "a minimum problem"
                                << "";
    QTest::newRow("68 = 1 and 73 = 3") << "68=1 73=3" << 3 << "a serious problem"
                                       << "a mild problem"
                                       << "alcohol and drugs";
    QTest::newRow("73 = 2 only") << "73=2" << 2 << "a minimum problem"
                                 << "a moderate problem"
                                 << "drugs";
    QTest::newRow("68 = 3 only") << "68=3" << 1 << "a mild problem"
                                 << "a minimum problem"
                                 << "alcohol";
    QTest::newRow("both omitted") << "68=0 73=0" << 0 << "a minimum problem"
                                  << "a minimum problem"
                                  << "";
}

void TestClassification::selfRating() {
    QFETCH(QString, answers);
    QFETCH(int, level);
    QFETCH(QString, drinking);
    QFETCH(QString, drugs);
    QFETCH(QString, substance);
    const Classification c = ClassifySubstanceUse(results(answers));
    QCOMPARE(c.SelfRatingLevel, level);
    QCOMPARE(c.DrinkingPhrase, drinking);
    QCOMPARE(c.DrugPhrase, drugs);
    QCOMPARE(c.SelfRatedSubstance, substance);
}

void TestClassification::elevation_data() {
    QTest::addColumn<int>("alcohol");
    QTest::addColumn<int>("drugs");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("sentence");
    QTest::newRow("Alcohol 69, Drugs 70")
        << 69 << 70 << 1
        << " This person's Drug Scale score is elevated (at or above the 70th percentile) whereas "
           "their Alcohol Scale score is not (at or below the 69th percentile) elevated. This "
           "profile is not uncommon in the early stages of substance use, or after relapse.";
    QTest::newRow("Alcohol 70, Drugs 70")
        << 70 << 70 << 2
        << " This individual's Alcohol Scale and Drug Scale scores are elevated (at or above the "
           "70th percentile) and represent drinking and drug use risk of further involvement, "
           "abuse and/or relapse.";
    QTest::newRow("both 69") << 69 << 69 << 0
                             << " This individual's Alcohol Scale and Drug Scale scores are at or "
                                "below the 69th percentile and do not represent significant "
                                "substance (alcohol or other drugs) use risk.";
}

void TestClassification::elevation() {
    QFETCH(int, alcohol);
    QFETCH(int, drugs);
    QFETCH(int, count);
    QFETCH(QString, sentence);
    const ScoreResults r = results(QString(), QString(), QString(), 5, alcohol, drugs);
    const Classification c = ClassifySubstanceUse(r);
    QCOMPARE(c.ElevatedCount, count);
    const QString paragraph = ClassificationParagraph(c, r);
    QVERIFY2(paragraph.contains(sentence), qPrintable(paragraph));
    const QString multiple = QStringLiteral(
        " Use of multiple substances simultaneously or sequentially is likely. A detailed history "
        "including review of court records could be helpful.");
    QCOMPARE(paragraph.endsWith(multiple), count == 2);
}

void TestClassification::paragraphOfAClientWithNothingAdmitted() {
    const ScoreResults r = results(QString());
    QCOMPARE(ClassificationParagraph(ClassifySubstanceUse(r), r),
             QStringLiteral(
                 "DEPENDENCY/ABUSE CLASSIFICATION: Three or more of the seven DSM-IV dependency "
                 "items (or their equivalents) are not admitted to, consequently the "
                 "classification of 'dependency' as defined here does not apply. Moreover, this "
                 "person reports (item #64) that he or she has not been diagnosed 'substance "
                 "dependent' in the past. One or more of the substance abuse items (or their "
                 "equivalents) are not admitted to, consequently the classification of 'substance "
                 "abuse' as defined here does not apply. This client's self-ratings of their "
                 "drinking and drug use was 'no problem.' This individual's Alcohol Scale and "
                 "Drug Scale scores are at or below the 69th percentile and do not represent "
                 "significant substance (alcohol or other drugs) use risk. According to DSM-IV "
                 "criteria as represented herein, this person does not meet the criteria of "
                 "dependency or abuse."));
}

// Pieces the paragraph must hold (and, with a leading "!", must not hold).
void TestClassification::paragraphPieces_data() {
    QTest::addColumn<QString>("answers");
    QTest::addColumn<QString>("court");
    QTest::addColumn<int>("bac");
    QTest::addColumn<int>("alcohol");
    QTest::addColumn<QStringList>("pieces");
    QTest::newRow("physiological by BAC, no tolerance text")
        << "31=2 36=1 45=1"
        << "" << 20 << 20
        << QStringList{"the 'dependency' criteria as defined here. These admissions include:",
                       " These admissions include: #36, 45, BAL>=.2.",
                       "with physiological dependence  This client's self-ratings",
                       " Review this client's Truthfulness Scale score to establish how open",
                       "how open and truthful they are about their substance use. It is not"};
    QTest::newRow("dependent with past diagnosis and self-rating")
        << "31=1 33=1 36=1 64=1 68=2"
        << "" << 5 << 20
        << QStringList{" Moreover, this person reports (item #64) having been diagnosed",
                       "having been diagnosed 'substance dependent' in the past.",
                       "with physiological dependence (Tolerance: 31, Withdrawal: 33). This client",
                       "their degree of risk is represented by their Alcohol and/or Drug",
                       "Alcohol and/or Drug Scales score.",
                       "!Review this client's",
                       "!substance abuse items"};
    QTest::newRow("abuse with elevated Alcohol")
        << "13=1"
        << "" << 5 << 75
        << QStringList{" These admissions include: #13. This client's",
                       " In summary, this client meets the DSM-IV substance abuse classification. "
                       "And within this abuse category their degree of risk is represented by "
                       "their Alcohol Scale score."};
    QTest::newRow("past diagnosis only")
        << "64=1"
        << "" << 5 << 20
        << QStringList{" However, this person reports (item #64) having been diagnosed 'substance "
                       "dependent' in the past. By DSM-IV definition, the classification of "
                       "'dependency' still applies. This client's",
                       "use risk. The 'once dependent, always dependent' theory is controversial.",
                       "!One or more of the substance abuse items"};
    QTest::newRow("elevated without a classification")
        << ""
        << "" << 5 << 80
        << QStringList{" Problematic risk of alcohol is present. Although not meeting the DSM-IV "
                       "criteria for dependence or abuse, this client demonstrates a substance "
                       "use risk."};
    QTest::newRow("self-rated concern only")
        << "73=3"
        << "" << 5 << 20
        << QStringList{" This client describes their drinking as a minimum problem and their drug "
                       "use as a mild problem.",
                       "person does not meet the criteria of dependency or abuse. Yet, "
                       "self-ratings suggest drugs concern."};
}

void TestClassification::paragraphPieces() {
    QFETCH(QString, answers);
    QFETCH(QString, court);
    QFETCH(int, bac);
    QFETCH(int, alcohol);
    QFETCH(QStringList, pieces);
    const ScoreResults r = results(answers, QString(), court, bac, alcohol);
    const QString paragraph = ClassificationParagraph(ClassifySubstanceUse(r), r);
    for (const QString& piece : pieces) {
        if (piece.startsWith(QLatin1Char('!'))) {
            QVERIFY2(!paragraph.contains(piece.mid(1)), qPrintable(paragraph));
        } else {
            QVERIFY2(paragraph.contains(piece), qPrintable(paragraph));
        }
    }
}

void TestClassification::omittedAbuseItemReplacesTheParagraph() {
    // Dependent or not, an omitted abuse item leaves only the omission note.
    const ScoreResults r = results(QStringLiteral("13=0 31=1 33=1 36=1"));
    const Classification c = ClassifySubstanceUse(r);
    QVERIFY(c.IsDependent);
    QCOMPARE(ClassificationParagraph(c, r), QString());
    QCOMPARE(OmissionLines().size(), 3);
}

void TestClassification::firstPageStatement_data() {
    QTest::addColumn<QString>("answers");
    QTest::addColumn<QString>("first");
    QTest::newRow("dependent")
        << "36=1 45=1 50=1"
        << "According to DSM-IV screening criteria, as represented herein (p. 2), ";
    QTest::newRow("past diagnosis")
        << "64=1"
        << "According to DSM-IV screening criteria, as represented herein (p. 2), ";
    QTest::newRow("abuse")
        << "29=1"
        << "According to DSM-IV screening criteria, as represented herein, (p. 2),";
    QTest::newRow("neither")
        << ""
        << "According to DSM-IV screening criterion, as represented herein (p. 2),";
}

void TestClassification::firstPageStatement() {
    QFETCH(QString, answers);
    QFETCH(QString, first);
    const QStringList lines = FirstPageStatement(ClassifySubstanceUse(results(answers)));
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines.first(), first);
}

void TestClassification::riskClassification_data() {
    QTest::addColumn<QString>("answers");
    QTest::addColumn<int>("bac");
    QTest::addColumn<int>("suspensions");
    QTest::addColumn<int>("priors");
    QTest::addColumn<QString>("risk");
    QTest::newRow("BAC .16, no admissions") << "" << 16 << 0 << 0 << " MODERATE RISK";
    QTest::newRow("BAC .16, one admission") << "18=1" << 16 << 0 << 0 << "SIGNIFICANT RISK";
    QTest::newRow("BAC .10, no admissions") << "" << 10 << 0 << 0 << "  MINIMAL RISK";
    QTest::newRow("BAC .20") << "" << 20 << 0 << 0 << "SIGNIFICANT RISK";
    QTest::newRow("one suspension") << "" << 5 << 1 << 0 << "SIGNIFICANT RISK";
    QTest::newRow("one prior") << "" << 16 << 0 << 1 << "SIGNIFICANT RISK";
    QTest::newRow("two suspensions") << "" << 5 << 2 << 0 << "   HIGH RISK";
    QTest::newRow("two priors") << "" << 5 << 0 << 2 << "   HIGH RISK";
    QTest::newRow("dependent") << "36=1 45=1 50=1" << 5 << 0 << 0 << "   HIGH RISK";
    QTest::newRow("item 64 True") << "64=1" << 16 << 0 << 0 << "   HIGH RISK";
    QTest::newRow("refused BAC") << "" << -200 << 0 << 0 << "  MINIMAL RISK";
    QTest::newRow("suspensions not available") << "" << 17 << -1 << 0 << " MODERATE RISK";
}

void TestClassification::riskClassification() {
    QFETCH(QString, answers);
    QFETCH(int, bac);
    QFETCH(int, suspensions);
    QFETCH(int, priors);
    QFETCH(QString, risk);
    ScoreResults r = results(answers, QString(), QString(), bac);
    r.PriorCounts[SummarySuspensions] = suspensions;
    r.PriorDuiTotal = priors;
    QCOMPARE(RiskClassification(ClassifySubstanceUse(r), r), risk);
}

QTEST_GUILESS_MAIN(TestClassification)
#include "test_classification.moc"
