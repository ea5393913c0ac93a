#include "reports/ReportBatch.h"

#include "reports/ReportPrinting.h"
#include "reports/ScoreClient.h"

#include <utility>

namespace tov::reports {

ReportBatch::ReportBatch(QString programFolder, const content::ContentSet& content,
                         app::PublisherTexts publisher, ExtraPages extra)
    : folder_(std::move(programFolder)), content_(content.folder),
      marginNote_(content::MarginNote(content)), publisher_(std::move(publisher)), extra_(extra) {}

ReportBatch::~ReportBatch() {
    RemoveNumberedCopies(folder_, copies_);
    RemoveReportFiles(folder_);
}

void ReportBatch::add(const records::ClientRecord& client, int recordNumber, int copy) {
    ScoreClient(folder_, content_, publisher_, client, recordNumber, extra_);
    copies_ << copy;
    CopyReportTo(folder_, copy);
}

void ReportBatch::print(platform::Printer& printer) const {
    PrintNumberedCopies(printer, folder_, copies_, marginNote_);
}

} // namespace tov::reports
