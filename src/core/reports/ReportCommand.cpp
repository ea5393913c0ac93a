#include "reports/ReportCommand.h"

#include "app/Publisher.h"
#include "app/Settings.h"
#include "platform/AppError.h"
#include "platform/RegularFile.h"
#include "records/ClientTable.h"
#include "records/Quoted.h"
#include "reports/ReportPrinting.h"
#include "reports/ScoreClient.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <optional>
#include <utility>

#include <sys/stat.h>

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

// The file a path leads to, links followed; nothing when there is none.
std::optional<std::pair<dev_t, ino_t>> identity(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
        return std::nullopt;
    }
    return std::pair{st.st_dev, st.st_ino};
}

// Whether two names lead to one file: the same path once links and "." and ".." are resolved,
// or the same device and inode (a hard link, a second mount of the folder).
bool sameFile(const QString& a, const QString& b) {
    const QString canonical = QFileInfo(a).canonicalFilePath();
    if (!canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath()) {
        return true;
    }
    const auto target = identity(a);
    return target && target == identity(b);
}

// Whether writing to `output` would replace the client file or a file the program folder needs
// (its tables, texts, settings, question bank or the programs), under any name or link.
bool replacesAnInput(const QString& output, const QString& dataFile, const QString& folder) {
    if (!identity(output)) {
        return false; // nothing there yet, so nothing read there
    }
    if (sameFile(output, dataFile)) {
        return true;
    }
    // What the command reads there: the tables and texts, the settings; and what the program
    // needs: its question bank, workgroup file and the programs.
    static const QStringList read = {QStringLiteral("txt"), QStringLiteral("ini"),
                                     QStringLiteral("mdb"), QStringLiteral("mda")};
    const QDir dir(folder);
    for (const QFileInfo& entry : dir.entryInfoList(QDir::Files | QDir::System | QDir::Hidden)) {
        const bool input = read.contains(entry.suffix(), Qt::CaseInsensitive) ||
                           (entry.isFile() && entry.isExecutable());
        if (input && sameFile(output, entry.filePath())) {
            return true;
        }
    }
    return false;
}

// Whether the report may take the name's place: nothing is there, or a plain file or a link (the
// link itself is replaced, never what it leads to).
bool replaceableOutput(const QString& output) {
    struct stat st {};
    if (::lstat(QFile::encodeName(output).constData(), &st) != 0) {
        return true;
    }
    return S_ISREG(st.st_mode) || S_ISLNK(st.st_mode);
}

// Record n of a client file, a short last record padded as the program reads it.
records::ClientRecord readRecord(const QString& path, int n) {
    QByteArray content;
    try {
        content = platform::ReadRegularFile(path, platform::MaxClientFileBytes);
    } catch (const AppError& e) {
        if (e.number() == err::FileNotFound || e.number() == err::PathNotFound) {
            throw AppError(err::FileNotFound, QStringLiteral("The client file %1 was not found.")
                                                  .arg(QDir::toNativeSeparators(path)));
        }
        throw AppError(e.number(), QStringLiteral("The client file %1 cannot be read: %2")
                                       .arg(QDir::toNativeSeparators(path), e.description()));
    }
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
    parser.setApplicationDescription(QStringLiteral(
        "Scores one client of a client file and writes the report exactly as the program "
        "writes report.prn.\n\nExit status: 0 on success; otherwise one line on standard "
        "error and status 2 for bad arguments (an --output that is the client file or a file "
        "the command reads among them), 1 when the report cannot be made."));
    const QCommandLineOption folder(
        QStringLiteral("program-folder"),
        QStringLiteral("The program folder with the tables (default: the command's own; when "
                       "installed, the user's program folder ~/.local/share/tov2sf)."),
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
    const QCommandLineOption output(
        QStringLiteral("output"),
        QStringLiteral("Report file, or - for standard output (default: report.prn in the "
                       "program folder)."),
        QStringLiteral("PATH"));
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Print the results."));
    const QCommandLineOption help(QStringLiteral("help"), QStringLiteral("Show this help."));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Show the version."));
    parser.addOptions({folder, dataFile, client, summary, clientPage, output, json, help, version});
    auto fail = [this](const QString& text, int status = CannotReport) {
        err += "tov2sf-report: " + text.toLocal8Bit() + '\n';
        return status;
    };
    if (!parser.parse(arguments)) {
        return fail(parser.errorText() + QStringLiteral("; ") + QLatin1String(Usage), BadUse);
    }
    if (parser.isSet(help)) {
        out += QLatin1String(Usage).latin1() + QByteArray("\n\n") +
               parser.helpText().section(QLatin1Char('\n'), 1).toLocal8Bit();
        return 0;
    }
    if (parser.isSet(version)) {
        out += "tov2sf-report " TOV_VERSION "\n";
        return 0;
    }
    const bool ownFiles = parser.isSet(folder) || !contentPlaces;
    const QString programFolder = parser.isSet(folder)   ? parser.value(folder)
                                  : defaultProgramFolder ? defaultProgramFolder()
                                                         : QString();
    if (!parser.positionalArguments().isEmpty() || programFolder.isEmpty() ||
        !parser.isSet(dataFile) || !parser.isSet(client)) {
        return fail(QLatin1String(Usage), BadUse);
    }
    bool ok = false;
    const int n = parser.value(client).toInt(&ok);
    if (!ok) {
        return fail(QStringLiteral("--client must be a record number, not %1")
                        .arg(records::Quoted(parser.value(client))),
                    BadUse);
    }
    if (!QFileInfo(programFolder).isDir()) {
        return fail(QStringLiteral("the program folder %1 does not exist").arg(programFolder),
                    BadUse);
    }
    const QString target = parser.value(output);
    if (!target.isEmpty() && target != QLatin1String("-")) {
        if (replacesAnInput(target, parser.value(dataFile), programFolder)) {
            return fail(QStringLiteral("--output %1 is the client file or a file of the program "
                                       "folder; the report is not written over it")
                            .arg(QDir::toNativeSeparators(target)),
                        BadUse);
        }
        // The report takes the name's place: a device, pipe or folder there is not replaced.
        if (!replaceableOutput(target)) {
            return fail(QStringLiteral("--output %1 is not a file; the report is not written "
                                       "in its place")
                            .arg(QDir::toNativeSeparators(target)),
                        BadUse);
        }
    }
    const ExtraPages extra{parser.isSet(summary), parser.isSet(clientPage)};
    try {
        const content::ContentSet set =
            content::FindContentSet(ownFiles ? content::ContentPlaces{programFolder, {}, {}}
                                             : contentPlaces(programFolder));
        if (set.demonstration()) {
            err += "tov2sf-report: warning: " +
                   QStringLiteral("the content set %1 is demonstration content - scores are not "
                                  "valid")
                       .arg(set.title())
                       .toLocal8Bit() +
                   '\n';
        }
        const records::ClientRecord record = readRecord(parser.value(dataFile), n);
        // The publisher lines are those of the installation the program folder belongs to.
        const app::PublisherTexts publisher =
            app::PublisherTexts::of(app::Settings(programFolder).publisher());
        if (parser.isSet(json)) {
            const ScoringPass pass = RunScoring(set.folder, publisher, record, n, extra);
            QJsonObject results = ResultsJson(pass);
            results.insert(QStringLiteral("content"),
                           QJsonObject{{QStringLiteral("name"), set.manifest.name},
                                       {QStringLiteral("version"), set.manifest.version},
                                       {QStringLiteral("demonstration"), set.demonstration()}});
            out += QJsonDocument(results).toJson(QJsonDocument::Indented);
        } else if (target == QLatin1String("-")) {
            out += RunScoring(set.folder, publisher, record, n, extra).report;
        } else {
            ScoreClient(programFolder, set.folder, publisher, record, n, extra, target);
        }
    } catch (const AppError& e) {
        return fail(e.description());
    }
    return 0;
}

} // namespace tov::reports
