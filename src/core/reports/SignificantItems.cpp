#include "reports/ReportBlocks.h"

#include <QStringList>

#include <algorithm>

namespace tov::reports {

using namespace scoring;

namespace {

struct Group {
    QStringList entries; // the listed items the client answered in the scored direction
    QStringList notes;   // why a court-history floor raised the scale
};

Group groupOf(const ReportContext& ctx, int first, int last) {
    Group g;
    for (int i = first; i <= last; ++i) {
        if (ctx.r.ItemPoints[ctx.tables.listedItems[i]] >= 1) {
            g.entries.append(ctx.tables.texts.listedTexts[i]);
        }
    }
    return g;
}

QStringList linesOf(const Group& g) {
    QStringList lines = g.entries;
    if (lines.isEmpty()) {
        lines = {QStringLiteral("No significant items were reported"),
                 QStringLiteral("for this scale.  Review items  119"),
                 QStringLiteral("through 140 below even though they"),
                 QStringLiteral("reflect  the  client's  subjective"), QStringLiteral("opinion.")};
    }
    return lines + g.notes;
}

// Lines of this section start a new page after the body's last line.
void sectionLine(ReportPage& page, const ReportLine& line) {
    const bool last = page.LineCount >= ReportPage::BodyEnd;
    page.counted(line);
    if (last) {
        page.StartNewPage();
    }
}

} // namespace

void SignificantItems(const ReportContext& ctx, ReportPage& page) {
    const ScoreResults& r = ctx.r;
    Group alcohol = groupOf(ctx, 1, 7);
    Group drugs = groupOf(ctx, 8, 13);
    Group driver = groupOf(ctx, 14, 20);
    if (r.BacRaised) {
        alcohol.notes << QStringLiteral("** Score influenced by BAC");
    } else if (r.DuiRaised[Alcohol]) {
        alcohol.notes << QStringLiteral("** Score influenced by DUI's");
    } else if (r.AlcoholArrestRaised) {
        alcohol.notes << QStringLiteral("** Score due to alcohol arrests");
    }
    if (r.BacCode == ScoreResults::RefusedBac) {
        alcohol.notes << QStringLiteral("** Refused BAC test");
    }
    if (r.DuiRaised[DriverRisk]) {
        driver.notes << QStringLiteral("** Score influenced by DUI's");
    } else if (r.ViolationRaised) {
        driver.notes << QStringLiteral("** Score due to moving violations");
    } else if (r.AccidentRaised) {
        driver.notes << QStringLiteral("** Score due to # of accidents");
    }
    if (r.DrugArrestRaised) {
        drugs.notes << QStringLiteral("** Score due to drug arrests");
    }

    page.needs(static_cast<int>(std::max(alcohol.entries.size(), drugs.entries.size())) + 5);
    sectionLine(page,
                ReportLine().blanks(7).text(QStringLiteral(
                    "SIGNIFICANT ITEMS:  The following self-report responses represent areas")));
    sectionLine(page,
                ReportLine().blanks(7).text(QStringLiteral(
                    "that may help in understanding the respondent's situation and status.")));
    sectionLine(page, ReportLine());

    const QString alcoholName = ctx.scaleName(Alcohol);
    const QString drugsName = ctx.scaleName(Drugs);
    const QStringList left =
        QStringList{alcoholName, QString(alcoholName.size(), QLatin1Char('-'))} + linesOf(alcohol);
    const QStringList right =
        QStringList{drugsName, QString(drugsName.size(), QLatin1Char('-'))} + linesOf(drugs);
    for (qsizetype i = 0; i < std::max(left.size(), right.size()); ++i) {
        ReportLine line;
        line.blanks(7).text(left.value(i));
        if (i < right.size()) {
            line.at(44).text(right.at(i));
        }
        sectionLine(page, line);
    }
    sectionLine(page, ReportLine());
    const QString driverName = ctx.scaleName(DriverRisk);
    for (const QString& text :
         QStringList{driverName, QString(driverName.size(), QLatin1Char('-'))} + linesOf(driver)) {
        sectionLine(page, ReportLine().blanks(7).text(text));
    }
}

} // namespace tov::reports
