#include "reports/Interpretation.h"

#include "reports/JustifyParagraph.h"
#include "reports/TextSections.h"

namespace tov::reports {

using namespace scoring;

int RiskRange(int p) {
    if (p < 40) {
        return 1;
    }
    if (p < 70) {
        return 2;
    }
    return p < 90 ? 3 : 4;
}

QString InterpretationFile(const QString& contentFolder, int scale, int mode) {
    static const std::array<const char*, 5> suffix = {"", "VA", "AL", "DR", "DG"};
    return contentFolder + (mode == 1 ? QStringLiteral("/TOVIL") : QStringLiteral("/TOVC")) +
           QLatin1String(suffix[scale]) + QStringLiteral(".TXT");
}

namespace {

QString labelFor(const ReportContext& ctx, int scale, int mode) {
    const int p = ctx.r.Percentile[scale];
    const int range = RiskRange(p);
    if (mode == 1 && range == 2) {
        return p > 55 ? QStringLiteral("MEDIUM-HIGH") : QStringLiteral("MEDIUM-LOW");
    }
    if (range == 4 && (mode == 1 || scale == Truthfulness)) {
        return p > 94 ? QStringLiteral("MAXIMUM-HIGH") : QStringLiteral("MAXIMUM-LOW");
    }
    return ctx.tables.texts.rangeLabels[range];
}

// What the Alcohol and Drugs paragraphs add when the scale and the classification disagree.
QString disagreement(const ReportContext& ctx, int scale) {
    const int p = ctx.r.Percentile[scale];
    const QString word = scale == Alcohol ? QStringLiteral("Alcohol") : QStringLiteral("Drug");
    if (p <= 39 && ctx.c.IsDependent) {
        return QStringLiteral(
                   " Check if this person is a recovering substance (alcohol and/or drugs) ") +
               QStringLiteral("abuser. If the Truthfulness Scale score is below the 90th "
                              "percentile and the ") +
               QStringLiteral(
                   "person is not recovering, then they meet the DSM-IV criteria for dependency.") +
               QStringLiteral("The low ") + word +
               QStringLiteral(" Scale score represents an area of inquiry that could be explored "
                              "in interview.");
    }
    if (p >= 70 && !ctx.c.IsDependent) {
        return QStringLiteral(
                   " Although this person does not meet the DSM-IV dependency criteria, their ") +
               QStringLiteral(
                   "scale score indicates that the person does represent a substance use risk. ") +
               QStringLiteral("The severity of this client's ") + word +
               QStringLiteral(
                   " Scale score is an area of inquiry that should be explored in interview. ") +
               QStringLiteral(
                   " The severity of this person's score reflects problematic substance use.");
    }
    return {};
}

} // namespace

void PrintScaleInterpretation(const ReportContext& ctx, ReportPage& page, int scale, int mode) {
    const int p = ctx.r.Percentile[scale];
    const QString label = labelFor(ctx, scale, mode);
    const QStringList lines =
        TextSections(InterpretationFile(ctx.contentFolder, scale, mode)).section(label);
    if (mode == 1) {
        page.counted(ReportLine()
                         .blanks(7)
                         .text(ctx.scaleName(scale) + QStringLiteral(" SCALE: ") +
                               ctx.tables.texts.rangeWords[RiskRange(p)] +
                               QStringLiteral(" RISK RANGE"))
                         .at(61)
                         .text(QStringLiteral("RISK PERCENTILE:") + QString::number(p)));
    }
    if (mode == 2 || scale == Truthfulness || scale == DriverRisk) {
        const int indent = mode == 1 ? 8 : 7;
        for (const QString& line : lines) {
            const bool last = page.LineCount >= ReportPage::BodyEnd;
            page.after(indent, line);
            if (last) {
                page.StartNewPage();
            }
        }
        return;
    }
    QString paragraph;
    for (const QString& line : lines) {
        paragraph += line + QLatin1Char(' ');
    }
    paragraph += disagreement(ctx, scale);
    for (const QString& line : JustifyParagraph(paragraph, Justify::Scale)) {
        page.after(8, line);
        if (page.LineCount > ReportPage::BodyEnd) {
            page.StartNewPage();
        }
    }
}

void PrintClassificationParagraph(const ReportContext& ctx, ReportPage& page) {
    if (ctx.c.AbuseItemsOmitted) {
        for (const QString& line : OmissionLines()) {
            page.after(7, line);
        }
        page.counted();
        return;
    }
    for (const QString& line :
         JustifyParagraph(ClassificationParagraph(ctx.c, ctx.r), Justify::Classification)) {
        page.after(7, line);
        if (page.LineCount > ReportPage::BodyEnd) {
            page.StartNewPage();
        }
    }
    if (page.LineCount <= ReportPage::BodyEnd) {
        page.counted();
    }
}

void PrintFirstPageStatement(const ReportContext& ctx, ReportPage& page) {
    const QStringList lines = FirstPageStatement(ctx.c);
    const int column = 42 - static_cast<int>(lines.first().size()) / 2;
    page.uncounted();
    for (const QString& line : lines) {
        page.uncounted(ReportLine().at(column).text(line));
    }
    page.uncounted();
    page.uncounted();
    page.LineCount += 5;
}

} // namespace tov::reports
