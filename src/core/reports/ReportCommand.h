#pragma once

#include "content/ContentSet.h"

#include <QByteArray>
#include <QJsonObject>
#include <QStringList>

#include <functional>

namespace tov::reports {

struct ScoringPass;

// The results of a scoring pass as the --json output gives them.
QJsonObject ResultsJson(const ScoringPass& pass);

// tov2sf-report: scores one record of a client file with a program folder's tables and writes
// its report (or its results as JSON). Output goes to `out`, a one-line message to `err`;
// returns the exit status.
class ReportCommand {
public:
    static constexpr const char* Usage =
        "usage: tov2sf-report [--program-folder DIR] --data-file PATH --client N "
        "[--summary-page] [--client-page] [--output PATH|-] [--json]";

    // Exit statuses: 0 done; 2 bad arguments, nothing read or written; 1 the report could not be
    // made (an output named is then left as it was).
    static constexpr int BadUse = 2;
    static constexpr int CannotReport = 1;

    int run(const QStringList& arguments);

    // The program folder when --program-folder is not given, asked for only when needed
    // (finding it may make the user's own); none when not set or empty.
    std::function<QString()> defaultProgramFolder;
    // Where the content set may come from for that default program folder (an installed
    // program's agency or shipped set); a folder given with --program-folder uses its own files.
    std::function<content::ContentPlaces(const QString& programFolder)> contentPlaces;

    QByteArray out;
    QByteArray err;
};

} // namespace tov::reports
