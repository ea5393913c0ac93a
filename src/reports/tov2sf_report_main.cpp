// tov2sf-report: regenerates the report of one client of a data volume from the command line,
// exactly as the program writes report.prn.
#include "reports/ReportCommand.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    const QCoreApplication app(argc, argv);
    tov::reports::ReportCommand command;
    const int status = command.run(QCoreApplication::arguments());
    std::fwrite(command.out.constData(), 1, command.out.size(), stdout);
    std::fwrite(command.err.constData(), 1, command.err.size(), stderr);
    return status;
}
