// tov2sf-report: regenerates the report of one client of a data volume from the command line,
// exactly as the program writes report.prn.
#include "content/ContentStore.h"
#include "platform/AppError.h"
#include "platform/UserProgramFolder.h"
#include "reports/ReportCommand.h"

#include <QCoreApplication>
#include <QStandardPaths>

#include <cstdio>

int main(int argc, char* argv[]) {
    const QCoreApplication app(argc, argv);
    tov::reports::ReportCommand command;
    // As the program finds it: its own folder, or the user's when it is installed for everyone.
    command.defaultProgramFolder = [] {
        QString own = QCoreApplication::applicationDirPath();
        try {
            return tov::platform::ProgramFolderFor(
                own, QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation),
                {QStringLiteral("tov2sf.ini")});
        } catch (const tov::AppError&) {
            return own; // the error shows when the report cannot be written there
        }
    };
    command.contentPlaces = [](const QString& programFolder) {
        return tov::content::PlacesFor(QCoreApplication::applicationDirPath(), programFolder);
    };
    const int status = command.run(QCoreApplication::arguments());
    std::fwrite(command.out.constData(), 1, command.out.size(), stdout);
    std::fwrite(command.err.constData(), 1, command.err.size(), stderr);
    return status;
}
