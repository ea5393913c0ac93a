#pragma once

#include <QDateTime>
#include <QMap>
#include <QString>
#include <QStringList>

namespace tov::content {

// The files that make the instrument: the question bank with its workgroup file, the scoring
// tables, the report texts, the interpretation texts and the spoken prompts under Sound/. They
// are used together or not at all: one set is in force, never some files of one and some of
// another.
QStringList FixedContentFiles();
inline const QString SoundFolderName = QStringLiteral("Sound");
inline const QString ManifestFileName = QStringLiteral("content.json");

// A set's manifest: what it is and the SHA-256 of every file, by its path in the set ("Sound/
// English/Inst0.wav").
struct Manifest {
    QString name;
    QString version;
    QString publisher;
    QDateTime installed;
    bool demonstration = false;
    QMap<QString, QString> files; // path -> lower-case hex SHA-256

    QByteArray toJson() const;
    // Throws AppError naming the file when it is not a manifest of ours.
    static Manifest fromJson(const QByteArray& json, const QString& path);
    // The manifest file of a set folder. Throws AppError.
    static Manifest read(const QString& folder);
};

// The content files of a folder, as paths in the set: the fixed ones that are there and every
// wave file under Sound/.
QStringList ContentFilesIn(const QString& folder);
// The lower-case hex SHA-256 of a file. Throws AppError when it cannot be read.
QString FileDigest(const QString& path);
// A manifest for the content files of a folder as they are now. Throws AppError.
Manifest ManifestOf(const QString& folder, const QString& name, const QString& version,
                    const QString& publisher, bool demonstration);

// Where a set is in force from.
enum class ContentKind {
    ProgramFolder, // a program folder that holds its own files (the build's, a portable copy)
    Agency,        // the agency's set, installed for the whole machine
    Shipped,       // the demonstration set the package ships
};

struct ContentSet {
    QString folder;
    ContentKind kind = ContentKind::ProgramFolder;
    // The manifest; a program folder without one has a manifest with no name and no files.
    Manifest manifest;

    bool installed() const { return kind != ContentKind::ProgramFolder; }
    bool demonstration() const { return manifest.demonstration; }
    QString filePath(const QString& name) const { return folder + QLatin1Char('/') + name; }
    // The spoken prompts of a language, for an installed set (a program folder keeps its own
    // sound setting).
    QString soundFolder(const QString& language) const {
        return folder + QLatin1Char('/') + SoundFolderName + QLatin1Char('/') + language;
    }
    // "NAME VERSION" for messages and the About box; a program folder's own files without a
    // manifest are named as such.
    QString title() const;
};

// Demonstration content never passes for real: the main menu, the report viewer, every printed
// page, the About box and tov2sf-report say so while it is in force.
inline const QString DemonstrationMark =
    QStringLiteral("Demonstration content - scores are not valid");
// The About box's line on the set in force.
QString AboutLine(const ContentSet& set);
// What each printed page of a report carries in its margin: the mark, or nothing.
inline QString MarginNote(const ContentSet& set) {
    return set.demonstration() ? DemonstrationMark : QString();
}

// The places a run may take its content from.
struct ContentPlaces {
    QString programFolder;   // the folder the run works in
    QString installedFolder; // the package's folder when the program is installed, else empty
    QString agencyRoot;      // where agency sets are installed (installed programs only)

    // The agency's set in force, and the one it replaced.
    QString agencyFolder() const { return agencyRoot + QStringLiteral("/agency"); }
    QString backupFolder() const { return agencyRoot + QStringLiteral("/agency.previous"); }
    QString shippedFolder() const { return installedFolder + QStringLiteral("/content"); }
};

// The files that no longer match a manifest, each with what is wrong ("TOVCAL.TXT has
// changed"); empty when every file is as the manifest says.
QStringList ChangedFiles(const QString& folder, const Manifest& manifest);

// The set in force: a program folder that is not installed uses its own files; an installed
// program uses the agency's set when one is installed, else the shipped one. An installed set
// whose files no longer match its manifest is refused: AppError names the file and says to
// reinstall the set.
ContentSet FindContentSet(const ContentPlaces& places);

} // namespace tov::content
