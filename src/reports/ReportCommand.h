#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QStringList>

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
        "usage: tov2sf-report --program-folder DIR --data-file PATH --client N "
        "[--summary-page] [--client-page] [--output PATH|-] [--json]";

    int run(const QStringList& arguments);

    QByteArray out;
    QByteArray err;
};

} // namespace tov::reports
