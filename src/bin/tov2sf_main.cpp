#include "app/Program.h"
#include "app/ProgramState.h"
#include "app/Settings.h"
#include "content/ContentStore.h"
#include "platform/AppError.h"
#include "platform/QtMessageBoxes.h"
#include "platform/UserProgramFolder.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QStandardPaths>

#include <cstdio>
#include <optional>

namespace {

// --help and --version, answered before anything needs a display. The program takes no other
// arguments: everything it needs is in its settings file.
std::optional<int> answerCommandLine(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Gives, scores and reports the DUI screening test. Everything the program needs is in "
        "its settings file tov2sf.ini; the operator's guide is "
        "/usr/share/doc/tov2sf/guide.md.\n\n"
        "Exit status: 0 when the program ended normally, 1 when no graphical display was found, "
        "2 on bad arguments."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays this help."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Displays the version."));
    parser.addOption(help);
    parser.addOption(version);
    // Arguments the windowing system takes (-platform, -display, ...) are its own.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const bool understood = parser.parse(arguments);
    if (understood && parser.isSet(help)) {
        std::printf("Usage: tov2sf [options]\n%s\n\nOptions:\n"
                    "  -h, --help     Displays this help.\n"
                    "  -v, --version  Displays the version.\n",
                    qPrintable(parser.applicationDescription()));
        return 0;
    }
    if (understood && parser.isSet(version)) {
        std::printf("tov2sf %s\n", TOV_VERSION);
        return 0;
    }
    const bool ours = arguments.size() > 1 && arguments[1].startsWith(QLatin1String("--"));
    if (!understood && ours) {
        std::fprintf(stderr, "tov2sf: %s (tov2sf --help tells more)\n",
                     qPrintable(parser.errorText()));
        return 2;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char* argv[]) {
    if (const std::optional<int> answered = answerCommandLine(argc, argv)) {
        return *answered;
    }
    // A program shown through X11 needs a display; say so plainly instead of aborting.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        std::fputs("tov2sf: no display found; start it from a graphical desktop session.\n",
                   stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(tov::app::ProgramState::AppTitle);
    // Installed for every user, the program works in a folder of the user's own.
    QString folder;
    try {
        folder = tov::platform::ProgramFolderFor(
            QApplication::applicationDirPath(),
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation),
            {tov::app::Settings::FileName});
    } catch (const tov::AppError& e) {
        tov::platform::QtMessageBoxes boxes(tov::app::ProgramState::AppTitle);
        tov::platform::showAppError(boxes, e);
        return 1;
    }
    tov::app::Program program(
        folder, tov::platform::makeHostPlatform(folder, tov::app::ProgramState::AppTitle),
        tov::content::PlacesFor(QApplication::applicationDirPath(), folder));
    return program.run();
}
