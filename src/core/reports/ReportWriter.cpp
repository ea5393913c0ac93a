#include "reports/ReportWriter.h"

#include "reports/Interpretation.h"
#include "reports/ReportBlocks.h"
#include "reports/ReportDocument.h"
#include "reports/ReportPage.h"
#include "reports/TextSections.h"

namespace tov::reports {

using namespace scoring;

namespace {

void titleLines(ReportPage& page) {
    page.uncounted();
    page.uncounted(ReportLine().at(29).text(QStringLiteral("ILLINOIS TOV-II SHORT FORM")));
    page.uncounted(ReportLine().at(29).text(QStringLiteral("**************************")));
    page.uncounted(ReportLine().at(33).text(QStringLiteral("CONFIDENTIAL REPORT")));
    page.uncounted();
    page.LineCount += 5;
}

void notScorable(ReportPage& page, const QString& first, const QString& second) {
    page.counted();
    page.after(8, first);
    page.after(8, second);
    if (page.LineCount <= ReportPage::BodyEnd) {
        page.counted();
    }
}

void summaryParagraphs(const ReportContext& ctx, ReportPage& page) {
    page.counted();
    page.after(
        8, QStringLiteral("* * SUMMARY PARAGRAPHS EXPLAINING CLIENT'S ATTAINED SCALE SCORES * *"));
    page.after(
        8, QStringLiteral("    ------------------------------------------------------------    "));
    page.counted();
    for (int s = 1; s <= kScaleCount; ++s) {
        if (ctx.notScored(s)) {
            page.after(7, ctx.scaleName(s));
            notScorable(page,
                        QStringLiteral(
                            "This scale is  inaccurate and  not scorable  because the  respondent"),
                        QStringLiteral("omitted or skipped an excessive number of items."));
        } else {
            if (s == Truthfulness && ctx.r.RawScore[Truthfulness] == 99) {
                page.after(7, ctx.scaleName(s) + QStringLiteral(" SCALE: "));
                notScorable(
                    page,
                    QStringLiteral(
                        "The Truthfulness Scale is inaccurate because there were an excessive"),
                    QStringLiteral("number of True responses in Section 1."));
            } else {
                PrintScaleInterpretation(ctx, page, s, 1);
                if (page.LineCount >= 3 && page.LineCount <= ReportPage::BodyEnd) {
                    page.counted();
                }
            }
            if (s == Truthfulness) {
                page.needs(4);
                PrintClassificationParagraph(ctx, page);
                if (page.LineCount + 7 > ReportPage::PageEnd) {
                    if (page.LineCount < ReportPage::BodyEnd) {
                        page.PageFooter(1);
                    }
                    page.StartNewPage();
                }
            }
        }
        page.needs(2);
    }
    // The rest of the page is closed off.
    while (page.LineCount < ReportPage::PageEnd) {
        page.counted();
        if (page.LineCount < ReportPage::PageEnd) {
            page.counted(ReportLine().at(38).text(QStringLiteral("* * * * *")));
            page.counted();
        }
    }
}

void validReport(const ReportContext& ctx, ReportPage& page) {
    summaryParagraphs(ctx, page);
    page.needs(7);
    SignificantItems(ctx, page);
    page.counted();
    page.needs(11);
    MultipleChoiceAnswers(ctx, page);
    page.needs(8);
    ObservationsAndSignature(ctx, page);
    page.needs(5);
    ResponsesListing(ctx, page);
    if (page.LineCount < ReportPage::PageEnd) {
        page.PageFooter(2);
    }
}

void invalidReport(const ReportContext& ctx, ReportPage& page) {
    const QStringList text =
        TextSections(ctx.contentFolder + QStringLiteral("/INVAL.TXT")).upToEnd();
    page.PageFooter(2);
    page.StartNewPage();
    for (const QString& line : text) {
        page.after(7, line);
    }
    page.counted();
    ObservationsAndSignature(ctx, page);
    ResponsesListing(ctx, page);
    page.PageFooter(1);
}

} // namespace

QByteArray WriteReport(const ReportContext& ctx, const app::PublisherTexts& publisher,
                       ExtraPages extra) {
    ReportDocument doc;
    ReportPage page(doc, ctx.client.Name, publisher);
    page.PageNumber = 1;
    page.LineCount = 1;
    titleLines(page);
    ClientHeaderBlock(ctx, page);
    ConfidentialityLines(page);
    if (ctx.truth() > 94) {
        page.counted();
    }
    ProfileChart(ctx, page);
    if (ctx.truth() >= 95) {
        page.counted();
    } else {
        PrintFirstPageStatement(ctx, page);
    }
    page.needs(10);
    PriorHistoryTable(ctx, page, 1);
    if (ctx.truth() < 95) {
        validReport(ctx, page);
    } else {
        invalidReport(ctx, page);
    }
    if (extra.summaryPage) {
        SummaryPage(ctx, page);
    }
    if (extra.clientPage) {
        ClientPage(ctx, page);
    }
    return doc.bytes();
}

} // namespace tov::reports
