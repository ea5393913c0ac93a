#include "reports/ReportCommand.h"

#include "platform/AppError.h"
#include "records/ClientTable.h"
#include "reports/ScoreClient.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>

namespace tov::reports {

namespace {

template <std::size_t N> QJsonArray fromOne(const std::array<int, N>& values) {
    QJsonArray a;
    for (std::size_t i = 1; i < N; ++i) {
        a.append(values[i]);
    }
    return a;
}

QJsonArray flags(const std::array<bool, 5>& values) {
    QJsonArray a;
    for (std::size_t i = 1; i < values.size(); ++i) {
        a.append(values[i]);
    }
    return a;
}

// Record n of a client file, a short last record padded as the program reads it.
records::ClientRecord readRecord(const QString& path, int n) {
    QFile file(path);
    if (!QFileInfo::exists(path)) {
        throw AppError(err::FileNotFound, QStringLiteral("The client file %1 was not found.")
                                              .arg(QDir::toNativeSeparators(path)));
    }
    if (!file.open(QIODevice::ReadOnly)) {
        throw AppError(err::PermissionDenied,
                       QStringLiteral("The client file %1 cannot be read: %2")
                           .arg(QDir::toNativeSeparators(path), file.errorString()));
    }
    const QByteArray content = file.readAll();
    const int count = records::ClientTable::recordCountForLength(content.size());
    if (n < 1 || n > count) {
        throw AppError(err::SubscriptOutOfRange,
                       QStringLiteral("%1 holds %2 client records; there is no record %3.")
                           .arg(QDir::toNativeSeparators(path))
                           .arg(count)
                           .arg(n));
    }
    const qsizetype offset = qsizetype(n - 1) * records::kRecordSize;
    return records::ClientRecord::fromBytes(QByteArrayView(content).sliced(offset).first(
        std::min<qsizetype>(records::kRecordSize, content.size() - offset)));
}

} // namespace

QJsonObject ResultsJson(const ScoringPass& pass) {
    const scoring::ScoreResults& r = pass.scores;
    const scoring::Classification& c = pass.classification;
    QJsonObject reasons{{QStringLiteral("BacRaised"), r.BacRaised},
                        {QStringLiteral("DuiRaised"), flags(r.DuiRaised)},
                        {QStringLiteral("AlcoholArrestRaised"), r.AlcoholArrestRaised},
                        {QStringLiteral("AccidentRaised"), r.AccidentRaised},
                        {QStringLiteral("ViolationRaised"), r.ViolationRaised},
                        {QStringLiteral("DrugArrestRaised"), r.DrugArrestRaised}};
    QJsonObject classification{
        {QStringLiteral("IsDependent"), c.IsDependent},
        {QStringLiteral("DependencyCount"), c.DependencyCount},
        {QStringLiteral("AbuseCount"), c.AbuseCount},
        {QStringLiteral("PhysiologicalDependence"), c.PhysiologicalDependence},
        {QStringLiteral("AbuseItemsOmitted"), c.AbuseItemsOmitted},
        {QStringLiteral("MultipleArrests"), c.MultipleArrests},
        {QStringLiteral("PastDiagnosis"), c.PastDiagnosis},
        {QStringLiteral("AdmissionsList"), c.AdmissionsList},
        {QStringLiteral("AbuseList"), c.AbuseList},
        {QStringLiteral("ToleranceText"), c.ToleranceText},
        {QStringLiteral("SelfRatingLevel"), c.SelfRatingLevel},
        {QStringLiteral("SelfRatedSubstance"), c.SelfRatedSubstance},
        {QStringLiteral("ElevatedCount"), c.ElevatedCount}};
    QJsonArray scales;
    for (int s = 1; s <= scoring::kScaleCount; ++s) {
        scales.append(pass.tables.texts.scaleNames[s]);
    }
    return {
        {QStringLiteral("Scales"), scales},
        {QStringLiteral("RawScore"), fromOne(r.RawScore)},
        {QStringLiteral("Percentile"), fromOne(r.Percentile)},
        {QStringLiteral("OmittedCount"), fromOne(r.OmittedCount)},
        {QStringLiteral("ScoredItemCount"), fromOne(r.ScoredItemCount)},
        {QStringLiteral("BacCode"), r.BacCode},
        {QStringLiteral("PriorCounts"), fromOne(r.PriorCounts)},
        {QStringLiteral("PriorDuiTotal"), r.PriorDuiTotal},
        {QStringLiteral("CourtRaised"), flags({r.CourtRaised[0], r.CourtRaised[1], r.CourtRaised[2],
                                               r.CourtRaised[3], r.CourtRaised[4]})},
        {QStringLiteral("Reasons"), reasons},
        {QStringLiteral("Classification"), classification},
        {QStringLiteral("RiskClassification"), pass.riskClassification}};
}

int ReportCommand::run(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption folder(QStringLiteral("program-folder"),
                                    QStringLiteral("The program folder with the tables."),
                                    QStringLiteral("DIR"));
    const QCommandLineOption dataFile(QStringLiteral("data-file"),
                                      QStringLiteral("The client record file."),
                                      QStringLiteral("PATH"));
    const QCommandLineOption client(QStringLiteral("client"), QStringLiteral("Record number."),
                                    QStringLiteral("N"));
    const QCommandLineOption summary(QStringLiteral("summary-page"),
                                     QStringLiteral("Add the one-page summary."));
    const QCommandLineOption clientPage(QStringLiteral("client-page"),
                                        QStringLiteral("Add the client page."));
    const QCommandLineOption output(QStringLiteral("output"),
                                    QStringLiteral("Report file, or - for standard output."),
                                    QStringLiteral("PATH"));
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Print the results."));
    parser.addOptions({folder, dataFile, client, summary, clientPage, output, json});
    auto fail = [this](const QString& text) {
        err += "tov2sf-report: " + text.toLocal8Bit() + '\n';
        return 1;
    };
    if (!parser.parse(arguments)) {
        return fail(parser.errorText() + QStringLiteral("; ") + QLatin1String(Usage));
    }
    if (!parser.positionalArguments().isEmpty() || !parser.isSet(folder) ||
        !parser.isSet(dataFile) || !parser.isSet(client)) {
        return fail(QLatin1String(Usage));
    }
    bool ok = false;
    const int n = parser.value(client).toInt(&ok);
    if (!ok) {
        return fail(QStringLiteral("--client must be a record number, not \"%1\"")
                        .arg(parser.value(client)));
    }
    const QString programFolder = parser.value(folder);
    if (!QFileInfo(programFolder).isDir()) {
        return fail(QStringLiteral("the program folder %1 does not exist").arg(programFolder));
    }
    const ExtraPages extra{parser.isSet(summary), parser.isSet(clientPage)};
    try {
        const records::ClientRecord record = readRecord(parser.value(dataFile), n);
        if (parser.isSet(json)) {
            const ScoringPass pass = RunScoring(programFolder, record, n, extra);
            out += QJsonDocument(ResultsJson(pass)).toJson(QJsonDocument::Indented);
        } else if (parser.value(output) == QLatin1String("-")) {
            out += RunScoring(programFolder, record, n, extra).report;
        } else {
            ScoreClient(programFolder, record, n, extra, parser.value(output));
        }
    } catch (const AppError& e) {
        return fail(e.description());
    }
    return 0;
}

} // namespace tov::reports
