#pragma once

#include "records/ClientRecord.h"
#include "reports/ReportWriter.h"
#include "scoring/Classification.h"
#include "scoring/ReportRecord.h"
#include "scoring/ScoreResults.h"
#include "scoring/ScoringTables.h"

#include <QByteArray>
#include <QString>

namespace tov::reports {

// Everything one scoring pass produced: the tables it used, the client's working copy, the
// scores, the classification and the report's bytes.
struct ScoringPass {
    scoring::ScoringTables tables;
    scoring::ReportRecord client;
    scoring::ScoreResults scores;
    scoring::Classification classification;
    QString riskClassification;
    QByteArray report;
};

inline const QString ReportFileName = QStringLiteral("report.prn");

// Scores one client with the tables and texts of the content set in `contentFolder` and builds
// its report under the publisher's lines, without writing it anywhere. recordNumber is printed
// as the test number. Throws AppError when a table or text file is missing or malformed.
ScoringPass RunScoring(const QString& contentFolder, const app::PublisherTexts& publisher,
                       const records::ClientRecord& record, int recordNumber, ExtraPages extra);

// The scoring pass of the report viewer and the print operations: scores the client with the
// content set in `contentFolder` and writes report.prn in the program folder (or `output` when
// given). The file is replaced only by a
// complete report; when the pass fails, the previous client's report is removed as well, so
// nothing stale is viewed or printed, and AppError is thrown.
ScoringPass ScoreClient(const QString& programFolder, const QString& contentFolder,
                        const app::PublisherTexts& publisher, const records::ClientRecord& record,
                        int recordNumber, ExtraPages extra, const QString& output = QString());

// Writes a whole report file through a new owner-only file that takes the name's place, so it is
// either complete or untouched and never written through a link. Throws AppError.
void WriteWholeFile(const QString& path, const QByteArray& bytes);

} // namespace tov::reports
