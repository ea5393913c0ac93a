#include "app/Program.h"
#include "app/ProgramState.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    // A program shown through X11 needs a display; say so plainly instead of aborting.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        std::fputs("tov2sf: no display found; start it from a graphical desktop session.\n",
                   stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(tov::app::ProgramState::AppTitle);
    const QString folder = QApplication::applicationDirPath();
    tov::app::Program program(
        folder, tov::platform::makeHostPlatform(folder, tov::app::ProgramState::AppTitle));
    return program.run();
}
