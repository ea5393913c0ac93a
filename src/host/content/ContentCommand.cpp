#include "content/ContentCommand.h"

#include "content/ContentCheck.h"
#include "content/ContentSet.h"
#include "content/ContentStore.h"
#include "platform/AppError.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace tov::content {

namespace {

const char* const Usage =
    "usage: tov2sf-content check DIR\n"
    "       tov2sf-content install DIR --name NAME --version VERSION [--publisher TEXT]\n"
    "       tov2sf-content status\n"
    "       tov2sf-content remove\n"
    "       tov2sf-content manifest DIR --name NAME --version VERSION [--demonstration]\n"
    "options for every command: [--installed-folder DIR] [--content-folder DIR]";

QByteArray local(const QString& text) {
    return text.toLocal8Bit();
}

QString kindText(ContentKind kind) {
    switch (kind) {
    case ContentKind::Agency:
        return QStringLiteral("the agency's set");
    case ContentKind::Shipped:
        return QStringLiteral("the set shipped with the package");
    default:
        return QStringLiteral("the program folder's own files");
    }
}

} // namespace

int ContentCommand::run(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Checks and installs the content set."));
    const QCommandLineOption name(QStringLiteral("name"), QStringLiteral("The set's name."),
                                  QStringLiteral("NAME"));
    const QCommandLineOption version(
        QStringLiteral("version"), QStringLiteral("The set's version."), QStringLiteral("VERSION"));
    const QCommandLineOption publisher(QStringLiteral("publisher"),
                                       QStringLiteral("Who publishes the set."),
                                       QStringLiteral("TEXT"));
    const QCommandLineOption demonstration(QStringLiteral("demonstration"),
                                           QStringLiteral("The set is for demonstration only."));
    const QCommandLineOption installedFolder(
        QStringLiteral("installed-folder"),
        QStringLiteral("The installed program folder (default: this command's own)."),
        QStringLiteral("DIR"));
    const QCommandLineOption contentFolder(
        QStringLiteral("content-folder"),
        QStringLiteral("Where agency sets are installed (default: the installed settings' "
                       "ContentFolder, else /var/lib/tov2sf/content)."),
        QStringLiteral("DIR"));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays this help."));
    parser.addOptions(
        {name, version, publisher, demonstration, installedFolder, contentFolder, help});
    const auto fail = [this](const QString& text, int status) {
        err += "tov2sf-content: " + local(text) + '\n';
        return status;
    };
    // --version alone is the command's own; with a value it is a set's.
    if (arguments.size() == 2 &&
        (arguments[1] == QLatin1String("--version") || arguments[1] == QLatin1String("-v"))) {
        out += "tov2sf-content " TOV_VERSION "\n";
        return Done;
    }
    if (!parser.parse(arguments)) {
        return fail(parser.errorText() + QLatin1Char('\n') + QLatin1String(Usage), BadUse);
    }
    if (parser.isSet(help)) {
        out += QByteArray(Usage) + "\n\n" + local(parser.helpText().section(QLatin1Char('\n'), 1)) +
               "  -v, --version                   Displays the command's version (alone).\n"
               "\nExit status: 0 done, 1 refused (a check failed, a file changed, no rights), "
               "2 bad arguments.\n";
        return Done;
    }
    const QStringList words = parser.positionalArguments();
    const QString command = words.value(0);
    const bool takesFolder = command == QLatin1String("check") ||
                             command == QLatin1String("install") ||
                             command == QLatin1String("manifest");
    const bool takesNothing =
        command == QLatin1String("status") || command == QLatin1String("remove");
    if ((!takesFolder && !takesNothing) || words.size() != (takesFolder ? 2 : 1)) {
        return fail(QLatin1String(Usage), BadUse);
    }
    const bool named = command == QLatin1String("install") || command == QLatin1String("manifest");
    if (named &&
        (parser.value(name).trimmed().isEmpty() || parser.value(version).trimmed().isEmpty())) {
        return fail(QStringLiteral("%1 needs --name and --version").arg(command), BadUse);
    }
    const QString candidate = takesFolder ? QDir(words[1]).absolutePath() : QString();
    if (takesFolder && !QFileInfo(candidate).isDir()) {
        return fail(QStringLiteral("%1 is not a folder").arg(QDir::toNativeSeparators(candidate)),
                    BadUse);
    }

    const QString own = parser.isSet(installedFolder) ? parser.value(installedFolder) : ownFolder;
    ContentPlaces places = PlacesFor(own, own);
    if (parser.isSet(installedFolder) && places.installedFolder.isEmpty()) {
        return fail(QStringLiteral("%1 is not an installed program folder")
                        .arg(QDir::toNativeSeparators(own)),
                    BadUse);
    }
    if (parser.isSet(contentFolder)) {
        places.agencyRoot = QDir(parser.value(contentFolder)).absolutePath();
    }

    const auto printCheck = [this](const QList<CheckLine>& lines) {
        bool passed = true;
        for (const CheckLine& line : lines) {
            if (line.passed()) {
                out += local(QStringLiteral("passed: %1: %2\n").arg(line.file, line.what));
            } else {
                out += local(
                    QStringLiteral("FAILED: %1: %2: %3\n").arg(line.file, line.what, line.failure));
                passed = false;
            }
        }
        return passed;
    };

    try {
        if (command == QLatin1String("check")) {
            // The candidate is checked in a copy of its own, so nothing is written where it is.
            QTemporaryDir copy;
            CopyContentFiles(candidate, copy.filePath(QStringLiteral("set")));
            return printCheck(CheckContent(copy.filePath(QStringLiteral("set")))) ? Done : Refused;
        }
        if (command == QLatin1String("manifest")) {
            const Manifest m = ManifestOf(candidate, parser.value(name), parser.value(version),
                                          parser.value(publisher), parser.isSet(demonstration));
            QFile file(candidate + QLatin1Char('/') + ManifestFileName);
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
                file.write(m.toJson()) < 0 || !file.flush()) {
                return fail(QStringLiteral("%1 cannot be written: %2")
                                .arg(file.fileName(), file.errorString()),
                            Refused);
            }
            out += local(QStringLiteral("manifest of %1 files written to %2\n")
                             .arg(m.files.size())
                             .arg(QDir::toNativeSeparators(file.fileName())));
            return Done;
        }
        if (command == QLatin1String("status")) {
            ContentSet inForce;
            QStringList changed;
            if (places.installedFolder.isEmpty()) {
                inForce = FindContentSet(places);
            } else {
                const bool agency = QFileInfo::exists(places.agencyFolder());
                inForce.folder = agency ? places.agencyFolder() : places.shippedFolder();
                inForce.kind = agency ? ContentKind::Agency : ContentKind::Shipped;
                inForce.manifest = Manifest::read(inForce.folder);
                changed = ChangedFiles(inForce.folder, inForce.manifest);
            }
            const Manifest& m = inForce.manifest;
            out += local(
                QStringLiteral("in force: %1 (%2)\n").arg(inForce.title(), kindText(inForce.kind)));
            out += local(QStringLiteral("name: %1\nversion: %2\npublisher: %3\n")
                             .arg(m.name, m.version, m.publisher));
            out += local(QStringLiteral("demonstration: %1\n")
                             .arg(m.demonstration ? QStringLiteral("yes - scores are not valid")
                                                  : QStringLiteral("no")));
            out +=
                local(QStringLiteral("folder: %1\n").arg(QDir::toNativeSeparators(inForce.folder)));
            out +=
                local(QStringLiteral("installed: %1\n")
                          .arg(m.installed.isValid() ? m.installed.toUTC().toString(
                                                           QStringLiteral("yyyy-MM-dd HH:mm 'UTC'"))
                                                     : QStringLiteral("unknown")));
            if (!inForce.installed()) {
                out += "files: a program folder's own files are used as they are\n";
                return Done;
            }
            for (const QString& line : changed) {
                out += local(QStringLiteral("changed: %1\n").arg(line));
            }
            if (!changed.isEmpty()) {
                return fail(QStringLiteral("%1 file(s) no longer match the manifest; nothing is "
                                           "scored with this set until it is reinstalled")
                                .arg(changed.size()),
                            Refused);
            }
            out += local(QStringLiteral("files: %1 checked, every one as the manifest says\n")
                             .arg(m.files.size()));
            return Done;
        }
        // install and remove change the machine's content folder.
        if (places.installedFolder.isEmpty() && !parser.isSet(contentFolder)) {
            return fail(QStringLiteral("%1 is not an installed program folder; a program folder "
                                       "of its own uses its own files")
                            .arg(QDir::toNativeSeparators(own)),
                        Refused);
        }
        if (!parser.isSet(contentFolder) && isRoot && !isRoot()) {
            return fail(QStringLiteral("%1 needs root: run it with sudo").arg(command), Refused);
        }
        const ContentStore store(places);
        if (command == QLatin1String("remove")) {
            if (!store.remove()) {
                return fail(QStringLiteral("no agency set is installed in %1")
                                .arg(QDir::toNativeSeparators(places.agencyRoot)),
                            Refused);
            }
            out += local(QStringLiteral("removed; kept as %1; the shipped demonstration set is in "
                                        "force\n")
                             .arg(QDir::toNativeSeparators(places.backupFolder())));
            return Done;
        }
        const ContentStore::Installed installed =
            store.install(candidate, parser.value(name).trimmed(), parser.value(version).trimmed(),
                          parser.value(publisher).trimmed());
        printCheck(installed.check);
        if (!installed.done) {
            return fail(QStringLiteral("the set was not installed: a check failed"), Refused);
        }
        out += local(QStringLiteral("installed %1 %2 in %3\n")
                         .arg(parser.value(name).trimmed(), parser.value(version).trimmed(),
                              QDir::toNativeSeparators(places.agencyFolder())));
        return Done;
    } catch (const AppError& e) {
        return fail(e.description(), Refused);
    }
}

} // namespace tov::content
