#pragma once

#include "app/Publisher.h"
#include "content/ContentSet.h"
#include "records/ClientRecord.h"
#include "reports/ReportWriter.h"

#include <QList>
#include <QString>

namespace tov::platform {
class Printer;
}

namespace tov::reports {

// A batch of reports printed together (every report, or those selected). Each report is written,
// into its numbered copy, before any is printed; however the batch ends, printed or not, its
// copies and the last report are removed, as each holds a client's report.
class ReportBatch {
public:
    // Reports are scored with the content set in force and written in the program folder; a
    // demonstration set marks every printed page.
    ReportBatch(QString programFolder, const content::ContentSet& content,
                app::PublisherTexts publisher, ExtraPages extra);
    ~ReportBatch();
    ReportBatch(const ReportBatch&) = delete;
    ReportBatch& operator=(const ReportBatch&) = delete;

    // Scores the client (recordNumber is printed as the test number) and keeps its report as
    // the numbered copy `copy`. Throws AppError.
    void add(const records::ClientRecord& client, int recordNumber, int copy);
    // Prints the copies in the order they were added. Throws AppError.
    void print(platform::Printer& printer) const;

private:
    QString folder_;
    QString content_;
    QString marginNote_;
    app::PublisherTexts publisher_;
    ExtraPages extra_;
    QList<int> copies_;
};

} // namespace tov::reports
