#pragma once

#include "reports/ReportContext.h"
#include "reports/ReportPage.h"

namespace tov::reports {

// The interpretation paragraph of a scale for its risk range. Mode 1: the full report, with a
// heading, from TOVIL??.TXT; mode 2: the client page, from TOVC??.TXT.
void PrintScaleInterpretation(const ReportContext& ctx, ReportPage& page, int scale, int mode);

// The classification paragraph of the full report (or the omission note that replaces it).
void PrintClassificationParagraph(const ReportContext& ctx, ReportPage& page);

// The four-line classification statement of the first page.
void PrintFirstPageStatement(const ReportContext& ctx, ReportPage& page);

// The range 1..4 of a percentile: below 40, 40..69, 70..89, 90 and above.
int RiskRange(int percentile);

// The interpretation file of a scale in a mode, in the program folder.
QString InterpretationFile(const QString& contentFolder, int scale, int mode);

} // namespace tov::reports
