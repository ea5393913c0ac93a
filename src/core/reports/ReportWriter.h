#pragma once

#include "app/Publisher.h"
#include "reports/ReportContext.h"

#include <QByteArray>

namespace tov::reports {

// The two optional pages after the full report.
struct ExtraPages {
    bool summaryPage = false;
    bool clientPage = false;
};

// Writes the whole report of one scored client: the full report, then the one-page summary and
// the client page when asked. Returns the bytes of report.prn; a missing text file throws
// AppError and nothing is returned.
QByteArray WriteReport(const ReportContext& ctx, const app::PublisherTexts& publisher,
                       ExtraPages extra);

class ReportPage;
void SummaryPage(const ReportContext& ctx, ReportPage& page);
void ClientPage(const ReportContext& ctx, ReportPage& page);

} // namespace tov::reports
