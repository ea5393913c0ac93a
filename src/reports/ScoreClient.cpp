#include "reports/ScoreClient.h"

#include "app/Publisher.h"
#include "app/Settings.h"
#include "platform/AppError.h"
#include "scoring/ScaleScorer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tov::reports {

ScoringPass RunScoring(const QString& programFolder, const records::ClientRecord& record,
                       int recordNumber, ExtraPages extra) {
    ScoringPass pass;
    pass.tables = scoring::LoadScoringTables(programFolder);
    pass.client = scoring::ReportRecord::from(record);
    pass.scores = scoring::ScaleScorer(pass.tables).score(pass.client);
    pass.classification = scoring::ClassifySubstanceUse(pass.scores);
    pass.riskClassification = scoring::RiskClassification(pass.classification, pass.scores);
    const ReportContext ctx{pass.tables,         pass.client,  pass.scores,
                            pass.classification, recordNumber, programFolder};
    const app::PublisherTexts publisher =
        app::PublisherTexts::of(app::Settings(programFolder).publisher());
    pass.report = WriteReport(ctx, publisher, extra);
    return pass;
}

ScoringPass ScoreClient(const QString& programFolder, const records::ClientRecord& record,
                        int recordNumber, ExtraPages extra, const QString& output) {
    const QString path =
        output.isEmpty() ? programFolder + QLatin1Char('/') + ReportFileName : output;
    try {
        ScoringPass pass = RunScoring(programFolder, record, recordNumber, extra);
        WriteWholeFile(path, pass.report);
        return pass;
    } catch (const AppError&) {
        QFile::remove(path);
        throw;
    }
}

void WriteWholeFile(const QString& path, const QByteArray& bytes) {
    // The report is complete in memory before the file is touched. It is written over the old
    // one and cut to its length rather than truncated first or renamed over it: both of those
    // make the file system force the data to the disk, many times slower, and a report is
    // rebuilt on every view anyway. A failed write removes the file, so no part of a report is
    // ever left to be viewed or printed.
    QFile file(path);
    // Read and write, because a file opened for writing only is truncated at once.
    const bool written = file.open(QIODevice::ReadWrite) && file.write(bytes) == bytes.size() &&
                         file.resize(bytes.size()) && file.flush();
    if (!written) {
        const bool permission = file.error() == QFileDevice::OpenError &&
                                !QFileInfo(QFileInfo(path).absolutePath()).isWritable();
        const QString reason = file.errorString();
        file.close();
        QFile::remove(path);
        throw AppError(permission ? err::PermissionDenied : err::DeviceIo,
                       QStringLiteral("The report file %1 cannot be written: %2")
                           .arg(QDir::toNativeSeparators(path), reason));
    }
}

} // namespace tov::reports
