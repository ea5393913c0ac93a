#include "reports/ScoreClient.h"

#include "platform/AppError.h"
#include "platform/ConfidentialFile.h"
#include "scoring/ScaleScorer.h"

#include <QDir>

namespace tov::reports {

ScoringPass RunScoring(const QString& contentFolder, const app::PublisherTexts& publisher,
                       const records::ClientRecord& record, int recordNumber, ExtraPages extra) {
    ScoringPass pass;
    pass.tables = scoring::LoadScoringTables(contentFolder);
    pass.client = scoring::ReportRecord::from(record);
    pass.scores = scoring::ScaleScorer(pass.tables).score(pass.client);
    pass.classification = scoring::ClassifySubstanceUse(pass.scores);
    pass.riskClassification = scoring::RiskClassification(pass.classification, pass.scores);
    const ReportContext ctx{pass.tables,         pass.client,  pass.scores,
                            pass.classification, recordNumber, contentFolder};
    pass.report = WriteReport(ctx, publisher, extra);
    return pass;
}

ScoringPass ScoreClient(const QString& programFolder, const QString& contentFolder,
                        const app::PublisherTexts& publisher, const records::ClientRecord& record,
                        int recordNumber, ExtraPages extra, const QString& output) {
    const QString path =
        output.isEmpty() ? programFolder + QLatin1Char('/') + ReportFileName : output;
    try {
        ScoringPass pass = RunScoring(contentFolder, publisher, record, recordNumber, extra);
        WriteWholeFile(path, pass.report);
        return pass;
    } catch (const AppError&) {
        // No report is left in the program folder to be shown or printed in its place; an
        // output named by the caller is left as it was (the write never touched it).
        if (output.isEmpty()) {
            platform::RemoveConfidentialFile(path);
        }
        throw;
    }
}

void WriteWholeFile(const QString& path, const QByteArray& bytes) {
    // The report is complete in memory before the file is touched. It holds a client's data, so
    // it is never written through a link or into a file someone else made: a new owner-only
    // file takes the name's place, whole, or the name is left as it was.
    try {
        platform::WriteConfidentialFile(path, bytes);
    } catch (const AppError& e) {
        throw AppError(e.number() == err::PermissionDenied ? err::PermissionDenied : err::DeviceIo,
                       QStringLiteral("The report file %1 cannot be written: %2")
                           .arg(QDir::toNativeSeparators(path), e.description()));
    }
}

} // namespace tov::reports
