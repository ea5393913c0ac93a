#include "content/ContentSet.h"

#include "platform/AppError.h"
#include "platform/RegularFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

namespace tov::content {

namespace {

// Spoken prompts are the largest files of a set, a few hundred kilobytes each.
constexpr qint64 MaxContentFileBytes = platform::MaxDatabaseBytes;

QString relativeTo(const QString& folder, const QString& path) {
    return QDir(folder).relativeFilePath(path);
}

} // namespace

QStringList FixedContentFiles() {
    return {
        QStringLiteral("TOV2SF.MDB"),  QStringLiteral("zevltd.mda"),  QStringLiteral("TOV2SFB.TXT"),
        QStringLiteral("TSF2RPT.TXT"), QStringLiteral("TOVILVA.TXT"), QStringLiteral("TOVILAL.TXT"),
        QStringLiteral("TOVILDR.TXT"), QStringLiteral("TOVILDG.TXT"), QStringLiteral("TOVCVA.TXT"),
        QStringLiteral("TOVCAL.TXT"),  QStringLiteral("TOVCDR.TXT"),  QStringLiteral("TOVCDG.TXT"),
        QStringLiteral("INVAL.TXT")};
}

QByteArray Manifest::toJson() const {
    QJsonObject digests;
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        digests.insert(it.key(), it.value());
    }
    const QJsonObject root{
        {QStringLiteral("name"), name},
        {QStringLiteral("version"), version},
        {QStringLiteral("publisher"), publisher},
        {QStringLiteral("installed"), installed.toUTC().toString(Qt::ISODate)},
        {QStringLiteral("demonstration"), demonstration},
        {QStringLiteral("files"), digests},
    };
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

Manifest Manifest::fromJson(const QByteArray& json, const QString& path) {
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    const auto refuse = [&path](const QString& why) {
        return AppError(err::BadFileName, QStringLiteral("The manifest %1 cannot be used: %2")
                                              .arg(QDir::toNativeSeparators(path), why));
    };
    if (doc.isNull() || !doc.isObject()) {
        throw refuse(error.error != QJsonParseError::NoError ? error.errorString()
                                                             : QStringLiteral("not an object"));
    }
    const QJsonObject root = doc.object();
    Manifest m;
    m.name = root.value(QStringLiteral("name")).toString();
    m.version = root.value(QStringLiteral("version")).toString();
    m.publisher = root.value(QStringLiteral("publisher")).toString();
    m.installed =
        QDateTime::fromString(root.value(QStringLiteral("installed")).toString(), Qt::ISODate);
    m.demonstration = root.value(QStringLiteral("demonstration")).toBool(false);
    const QJsonObject digests = root.value(QStringLiteral("files")).toObject();
    for (auto it = digests.begin(); it != digests.end(); ++it) {
        const QString digest = it.value().toString();
        const QString file = QDir::cleanPath(it.key());
        // A path out of the set, or a digest that is not one, is not ours.
        if (digest.size() != 64 || file.startsWith(QLatin1String("..")) ||
            QDir::isAbsolutePath(file)) {
            throw refuse(QStringLiteral("the entry for %1 is not a file of the set").arg(it.key()));
        }
        m.files.insert(file, digest.toLower());
    }
    if (m.name.isEmpty() || m.files.isEmpty()) {
        throw refuse(QStringLiteral("it names no set or no files"));
    }
    return m;
}

Manifest Manifest::read(const QString& folder) {
    const QString path = folder + QLatin1Char('/') + ManifestFileName;
    return fromJson(platform::ReadRegularFile(path, platform::MaxTextFileBytes), path);
}

QStringList ContentFilesIn(const QString& folder) {
    QStringList files;
    for (const QString& name : FixedContentFiles()) {
        if (QFileInfo(folder + QLatin1Char('/') + name).isFile()) {
            files << name;
        }
    }
    QStringList sounds;
    // The prompts are the wave files; anything else there is no part of the set.
    QDirIterator it(folder + QLatin1Char('/') + SoundFolderName,
                    {QStringLiteral("*.wav"), QStringLiteral("*.WAV")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        sounds << relativeTo(folder, it.next());
    }
    sounds.sort();
    return files + sounds;
}

QString FileDigest(const QString& path) {
    platform::CheckRegularFile(path, MaxContentFileBytes);
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file)) {
        throw AppError(err::DeviceIo, QStringLiteral("%1 cannot be read: %2")
                                          .arg(QDir::toNativeSeparators(path), file.errorString()));
    }
    return QString::fromLatin1(hash.result().toHex());
}

Manifest ManifestOf(const QString& folder, const QString& name, const QString& version,
                    const QString& publisher, bool demonstration) {
    Manifest m{name, version, publisher, QDateTime::currentDateTimeUtc(), demonstration, {}};
    for (const QString& file : ContentFilesIn(folder)) {
        m.files.insert(file, FileDigest(folder + QLatin1Char('/') + file));
    }
    return m;
}

QString ContentSet::title() const {
    if (manifest.name.isEmpty()) {
        return QStringLiteral("the program folder's own files");
    }
    return manifest.version.isEmpty() ? manifest.name
                                      : manifest.name + QLatin1Char(' ') + manifest.version;
}

QString AboutLine(const ContentSet& set) {
    if (set.demonstration()) {
        return DemonstrationMark;
    }
    if (set.manifest.name.isEmpty()) {
        return QStringLiteral("Content: the program folder's own files");
    }
    QString line = QStringLiteral("Content: ") + set.title();
    if (!set.manifest.publisher.isEmpty()) {
        line += QStringLiteral(" (%1)").arg(set.manifest.publisher);
    }
    return line;
}

QStringList ChangedFiles(const QString& folder, const Manifest& manifest) {
    QStringList changed;
    for (const QString& name : FixedContentFiles()) {
        if (!manifest.files.contains(name)) {
            changed << QStringLiteral("%1 is not in its manifest").arg(name);
        }
    }
    for (auto it = manifest.files.cbegin(); it != manifest.files.cend(); ++it) {
        const QString path = folder + QLatin1Char('/') + it.key();
        if (!QFileInfo::exists(path)) {
            changed << QStringLiteral("%1 is missing").arg(it.key());
            continue;
        }
        try {
            if (FileDigest(path) != it.value()) {
                changed << QStringLiteral("%1 has changed").arg(it.key());
            }
        } catch (const AppError& e) {
            changed << QStringLiteral("%1 cannot be read (%2)").arg(it.key(), e.description());
        }
    }
    return changed;
}

ContentSet FindContentSet(const ContentPlaces& places) {
    if (places.installedFolder.isEmpty()) {
        ContentSet set{places.programFolder, ContentKind::ProgramFolder, {}};
        // A manifest, when there is one, names the set and says whether it is for
        // demonstration; the files are used as they are.
        if (QFileInfo::exists(places.programFolder + QLatin1Char('/') + ManifestFileName)) {
            set.manifest = Manifest::read(places.programFolder);
        }
        return set;
    }
    const bool agency = QFileInfo::exists(places.agencyFolder());
    ContentSet set{agency ? places.agencyFolder() : places.shippedFolder(),
                   agency ? ContentKind::Agency : ContentKind::Shipped,
                   {}};
    const QString remedy =
        agency ? QStringLiteral("Reinstall the set with tov2sf-content install, or remove it with "
                                "tov2sf-content remove.")
               : QStringLiteral("Reinstall the tov2sf package.");
    try {
        set.manifest = Manifest::read(set.folder);
    } catch (const AppError& e) {
        throw AppError(e.number(),
                       QStringLiteral("The content set in %1 cannot be used: %2 %3")
                           .arg(QDir::toNativeSeparators(set.folder), e.description(), remedy));
    }
    const QStringList changed = ChangedFiles(set.folder, set.manifest);
    if (!changed.isEmpty()) {
        throw AppError(err::BadFileName,
                       QStringLiteral("The content set %1 in %2 no longer matches its manifest: "
                                      "%3. Nothing can be scored with it. %4")
                           .arg(set.title(), QDir::toNativeSeparators(set.folder),
                                changed.join(QStringLiteral("; ")), remedy));
    }
    return set;
}

} // namespace tov::content
