// The one-page summary for the agency's file and the client page the defendant reads and signs.
#include "reports/Interpretation.h"
#include "reports/ReportBlocks.h"
#include "reports/ReportWriter.h"

namespace tov::reports {

using namespace scoring;

namespace {

void centred(ReportPage& page, const QString& text) {
    page.counted(ReportLine().at(42 - static_cast<int>(text.size()) / 2).text(text));
}

void classificationLines(const ReportContext& ctx, ReportPage& page) {
    const QString lead = QStringLiteral("*** Substance (Dependency/Abuse) Classification: ");
    if (ctx.c.PastDiagnosis || ctx.c.IsDependent) {
        centred(page, lead + QStringLiteral("substance dependent"));
    } else if (ctx.c.AbuseCount >= 1) {
        centred(page, lead + QStringLiteral("substance abuse"));
    } else {
        centred(page, QStringLiteral("According to DSM-IV criteria as represented herein, this"));
        centred(page, QStringLiteral("person does not meet the criteria of dependency or abuse."));
    }
    page.counted();
}

} // namespace

void SummaryPage(const ReportContext& ctx, ReportPage& page) {
    page.formFeed();
    page.LineCount = 0;
    page.uncounted(ReportLine().at(31).text(QStringLiteral("TOV-II ONE PAGE SUMMARY")));
    page.uncounted(ReportLine().at(31).text(QStringLiteral("***********************")));
    page.uncounted();
    page.LineCount += 3;
    ClientHeaderBlock(ctx, page);
    ConfidentialityLines(page);
    if (ctx.truth() > 94) {
        page.counted();
    }
    ProfileChart(ctx, page);
    if (ctx.truth() > 94) {
        page.counted();
    } else {
        classificationLines(ctx, page);
    }
    PriorHistoryTable(ctx, page, 1);
    page.counted();
    ObservationsAndSignature(ctx, page);
    page.counted();
    if (page.LineCount < ReportPage::BodyEnd) {
        page.counted(ReportLine().at(7).text(page.publisher().notice));
    }
}

void ClientPage(const ReportContext& ctx, ReportPage& page) {
    const ReportRecord& cl = ctx.client;
    page.formFeed();
    page.uncounted(
        ReportLine().at(23).text(QStringLiteral("TOV-II CLIENT REPORT (CONFIDENTIAL REPORT)")));
    page.uncounted(
        ReportLine().at(23).text(QStringLiteral("******************************************")));
    page.LineCount = 2;
    page.uncounted(ReportLine()
                       .blanks(7)
                       .text(QStringLiteral("NAME: ") + cl.Name)
                       .at(40)
                       .text(QStringLiteral("AGE: ") + cl.Age)
                       .at(49)
                       .text(QStringLiteral("SEX: ") + GenderLabel(cl.Gender))
                       .at(63)
                       .blanks(10 - static_cast<int>(cl.TestDate.size()))
                       .text(QStringLiteral("DATE: ") + cl.TestDate));
    page.uncounted(ReportLine()
                       .blanks(7)
                       .text(QStringLiteral("DRIVER'S LICENSE #: ") + cl.DLNumber)
                       .at(49)
                       .text(QStringLiteral("SOCIAL SECURITY #: ") + cl.SSN));
    page.uncounted(ReportLine().blanks(7).text(QStringLiteral("EDUCATION (HIGHEST GRADE): ") +
                                               EducationLabel(cl.Education)));
    page.uncounted();
    page.LineCount += 5;
    for (const char* line :
         {"THE ILLINOIS DUI EVALUATION PROCESS HAS SEVERAL  COMPONENTS:  DEFENDANT",
          "INTERVIEW, DRIVING RECORD, DUI ARREST, BAC LEVEL, TEST DATA, PRIOR DUIs",
          "AND COLLATERAL INTERVIEW (OPTIONAL). RECOMMENDATIONS ARE BASED  ON  ALL",
          "OF THESE COMPONENTS BY LICENSED DUI PROGRAM STAFF."}) {
        page.uncounted(ReportLine().blanks(7).text(QString::fromLatin1(line)));
    }
    page.uncounted();
    page.LineCount += 5;
    PriorHistoryTable(ctx, page, 2);
    ProfileChart(ctx, page);
    for (int s = 1; s <= kScaleCount; ++s) {
        if (ctx.notScored(s)) {
            page.after(7, ctx.scaleName(s) +
                              QStringLiteral(": Scale inaccurate because you skipped too many "
                                             "questions."));
        } else {
            PrintScaleInterpretation(ctx, page, s, 2);
        }
    }
    page.counted();
    for (const char* line :
         {"DEFENDANT VERIFICATION: THE INFORMATION I PROVIDED IS TRUE AND CORRECT.",
          "I READ THE INFORMATION IN THIS REPORT AND THE RECOMMENDATIONS WERE  EX-",
          "PLAINED. IF I REQUEST A COPY OF THIS  SUMMARY  REPORT,  I  ACCEPT  FULL",
          "RESPONSIBILITY FOR ITS FUTURE CONTROL."}) {
        page.after(7, QString::fromLatin1(line));
    }
    page.counted();
    page.after(7, QStringLiteral("__________________________________     _______________"));
    page.after(7, QStringLiteral("      Defendant's Signature                  Date"));
}

} // namespace tov::reports
