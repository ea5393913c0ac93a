// The item blueprint and the scoring tables and texts the build installs in the program folder:
// the tables are generated from the blueprint, and the blueprint must give the program's fixed
// items the roles the classification reads them for.
#include "reports/Interpretation.h"
#include "reports/TextSections.h"
#include "scoring/Blueprint.h"
#include "scoring/ScoringTables.h"

#include <QtTest>

using namespace tov;
using namespace tov::scoring;

namespace {

QString programFolder() {
    return qEnvironmentVariable("TOV_PROGRAM_DIR");
}

Blueprint blueprint() {
    return Blueprint::load(QStringLiteral(TOV_BLUEPRINT));
}

ScoringTables installedTables() {
    return LoadScoringTables(programFolder());
}

} // namespace

class TestBlueprint : public QObject {
    Q_OBJECT

private slots:
    void keysAndScalesMatch();
    void significantAndListedItemsMatch();
    void normsRiseWithTheRawScore();
    void fixedItemsHaveTheirRoles_data();
    void fixedItemsHaveTheirRoles();
    void everyLabelHasItsSection();
};

void TestBlueprint::keysAndScalesMatch() {
    const Blueprint bp = blueprint();
    const ScoringTables tables = installedTables();
    for (const BlueprintItem& item : bp.items()) {
        for (int code = 0; code < item.points.size(); ++code) {
            QCOMPARE(tables.pointsFor(item.number, code), item.points.at(code));
        }
    }
    for (int s = 1; s <= kScaleCount; ++s) {
        QCOMPARE(tables.scaleItems[s], bp.scaleItems(s));
    }
}

void TestBlueprint::significantAndListedItemsMatch() {
    const Blueprint bp = blueprint();
    const ScoringTables tables = installedTables();
    const QList<int> significant = bp.significantItems(QStringLiteral("AL")) +
                                   bp.significantItems(QStringLiteral("DR")) +
                                   bp.significantItems(QStringLiteral("DG"));
    QCOMPARE(QList<int>(tables.significantItems.begin() + 1, tables.significantItems.end()),
             significant);
    const QList<int> listed = bp.listedItems(QStringLiteral("AL")) +
                              bp.listedItems(QStringLiteral("DG")) +
                              bp.listedItems(QStringLiteral("DR"));
    QCOMPARE(QList<int>(tables.listedItems.begin() + 1, tables.listedItems.end()), listed);
    for (int i = 1; i <= kListedCount; ++i) {
        QCOMPARE(tables.texts.listedTexts[i], bp.item(listed.at(i - 1)).listedText);
    }
    for (int item = 68; item <= 73; ++item) {
        for (int answer = 1; answer <= 4; ++answer) {
            QCOMPARE(tables.texts.choiceTexts[4 * (item - 68) + answer],
                     bp.item(item).answerTexts.at(answer - 1));
        }
    }
}

void TestBlueprint::normsRiseWithTheRawScore() {
    const ScoringTables tables = installedTables();
    for (int s = 1; s <= kScaleCount; ++s) {
        for (int group = 1; group <= kNormGroups; ++group) {
            for (int gender = 1; gender <= kGenders; ++gender) {
                const NormColumn& n = tables.norms[s][group][gender];
                QVERIFY(n.count > 0);
                for (int raw = 2; raw <= n.count; ++raw) {
                    QVERIFY(n.percentile[raw] >= n.percentile[raw - 1]);
                }
            }
        }
    }
}

void TestBlueprint::fixedItemsHaveTheirRoles_data() {
    QTest::addColumn<QList<int>>("items");
    QTest::addColumn<QString>("role");
    QTest::newRow("abuse") << QList<int>{13, 18, 24, 29} << "abuse";
    QTest::newRow("dependency") << QList<int>{31, 33, 36, 40, 45, 50, 54, 59, 70} << "dependency";
    QTest::newRow("tolerance") << QList<int>{31} << "tolerance";
    QTest::newRow("withdrawal") << QList<int>{33} << "withdrawal";
    QTest::newRow("diagnosis") << QList<int>{64} << "diagnosis";
    QTest::newRow("drinking self-rating") << QList<int>{68} << "self-rating-alcohol";
    QTest::newRow("drug self-rating") << QList<int>{73} << "self-rating-drugs";
    QTest::newRow("substances") << QList<int>{71} << "substances";
}

void TestBlueprint::fixedItemsHaveTheirRoles() {
    const Blueprint bp = blueprint();
    QFETCH(QList<int>, items);
    QFETCH(QString, role);
    QList<int> holders;
    for (const BlueprintItem& item : bp.items()) {
        if (item.roles.contains(role)) {
            holders << item.number;
        }
    }
    QCOMPARE(holders, items);
    // 54 and 70 count by their points, which only a scale item earns.
    for (const int item : {54, 70}) {
        QVERIFY(!bp.item(item).scales.isEmpty());
    }
    QVERIFY(bp.item(71).significant.contains(QStringLiteral("AL")));
    QVERIFY(bp.item(71).significant.contains(QStringLiteral("DG")));
}

void TestBlueprint::everyLabelHasItsSection() {
    const ScoringTables tables = installedTables();
    const QString folder = programFolder();
    QStringList labels = {QStringLiteral("MEDIUM-LOW"), QStringLiteral("MEDIUM-HIGH"),
                          QStringLiteral("MAXIMUM-LOW"), QStringLiteral("MAXIMUM-HIGH")};
    for (int r = 1; r <= 4; ++r) {
        labels << tables.texts.rangeLabels[r];
    }
    for (int mode = 1; mode <= 2; ++mode) {
        for (int s = 1; s <= kScaleCount; ++s) {
            const reports::TextSections file(reports::InterpretationFile(folder, s, mode));
            for (const QString& label : labels) {
                QVERIFY(!file.section(label).isEmpty());
            }
        }
    }
    QVERIFY(!reports::TextSections(folder + QStringLiteral("/INVAL.TXT")).upToEnd().isEmpty());
}

QTEST_GUILESS_MAIN(TestBlueprint)
#include "test_blueprint.moc"
