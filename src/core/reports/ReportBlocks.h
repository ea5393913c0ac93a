#pragma once

#include "reports/ReportContext.h"
#include "reports/ReportPage.h"

namespace tov::reports {

// The building blocks the full report, the summary and the client page share. Each writes its
// lines and counts them as the page state expects.
void ClientHeaderBlock(const ReportContext& ctx, ReportPage& page);
void ConfidentialityLines(ReportPage& page);
void ProfileChart(const ReportContext& ctx, ReportPage& page);
// The chart's bar for a percentile: percentile x 10 / 25 + 1 asterisks, then the rest of the
// dotted range row, 41 characters in all.
QString ProfileBar(int percentile);
// Mode 1: the full report and the summary (staff values marked); mode 2: the client page.
void PriorHistoryTable(const ReportContext& ctx, ReportPage& page, int mode);
void ObservationsAndSignature(const ReportContext& ctx, ReportPage& page);
void ResponsesListing(const ReportContext& ctx, ReportPage& page);
void SignificantItems(const ReportContext& ctx, ReportPage& page);
void MultipleChoiceAnswers(const ReportContext& ctx, ReportPage& page);

} // namespace tov::reports
