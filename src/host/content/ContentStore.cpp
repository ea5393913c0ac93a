#include "content/ContentStore.h"

#include "app/Settings.h"
#include "platform/AppError.h"
#include "platform/ErrnoErrors.h"
#include "platform/UserProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace tov::content {

namespace {

QString nativeOf(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// Writes a file whole and to the disk, readable by every user: a content set holds no client's
// data.
void writeDurably(const QString& path, const QByteArray& bytes) {
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly) || out.write(bytes) != bytes.size() ||
        !out.flush() || ::fsync(out.handle()) != 0) {
        throw AppError(
            err::DeviceIo,
            QStringLiteral("%1 cannot be written: %2").arg(nativeOf(path), out.errorString()));
    }
    out.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
}

void makeFolder(const QString& path) {
    if (!QDir().mkpath(path)) {
        throw AppError(err::PermissionDenied,
                       QStringLiteral("The folder %1 cannot be made.").arg(nativeOf(path)));
    }
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                    QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                    QFile::ExeOther);
}

void syncFolder(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void renameOrThrow(const QString& from, const QString& to) {
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0) {
        throw platform::errnoError(errno, nativeOf(to));
    }
}

void removeFolder(const QString& path) {
    if (QFileInfo::exists(path) && !QDir(path).removeRecursively()) {
        throw AppError(err::PermissionDenied,
                       QStringLiteral("The folder %1 cannot be removed.").arg(nativeOf(path)));
    }
}

// A folder of its own beside the set in force, for a set being put together.
QString newFolderIn(const QString& root) {
    for (;;) {
        QString path =
            root + QStringLiteral("/.agency.new-%1")
                       .arg(QRandomGenerator::system()->generate(), 8, 16, QLatin1Char('0'));
        if (!QFileInfo::exists(path)) {
            makeFolder(path);
            return path;
        }
    }
}

} // namespace

ContentPlaces PlacesFor(const QString& ownFolder, const QString& programFolder) {
    if (!QFileInfo::exists(ownFolder + QLatin1Char('/') + platform::InstalledMarker)) {
        return {programFolder, QString(), QString()};
    }
    return {programFolder, ownFolder, app::Settings(ownFolder).contentFolder()};
}

void CopyContentFiles(const QString& from, const QString& to) {
    makeFolder(to);
    for (const QString& file : ContentFilesIn(from)) {
        const QString source = from + QLatin1Char('/') + file;
        const QString target = to + QLatin1Char('/') + file;
        makeFolder(QFileInfo(target).absolutePath());
        QFile in(source);
        if (!QFileInfo(source).isFile() || !in.open(QIODevice::ReadOnly)) {
            throw AppError(
                err::FileNotFound,
                QStringLiteral("%1 cannot be read: %2").arg(nativeOf(source), in.errorString()));
        }
        writeDurably(target, in.readAll());
    }
}

ContentStore::Installed ContentStore::install(const QString& candidate, const QString& name,
                                              const QString& version,
                                              const QString& publisher) const {
    makeFolder(places_.agencyRoot);
    const QString fresh = newFolderIn(places_.agencyRoot);
    Installed result;
    try {
        // What is checked is the copy, so what goes into force is what passed.
        CopyContentFiles(candidate, fresh);
        result.check = CheckContent(fresh);
        for (const CheckLine& line : result.check) {
            if (!line.passed()) {
                removeFolder(fresh);
                return result;
            }
        }
        writeDurably(fresh + QLatin1Char('/') + ManifestFileName,
                     ManifestOf(fresh, name, version, publisher, false).toJson());
        syncFolder(fresh);
    } catch (const AppError&) {
        removeFolder(fresh);
        throw;
    }
    const QString inForce = places_.agencyFolder();
    if (QFileInfo::exists(inForce)) {
        // One step swaps the new set into force; the old one is then where the new one was.
        if (::renameat2(AT_FDCWD, QFile::encodeName(fresh).constData(), AT_FDCWD,
                        QFile::encodeName(inForce).constData(), RENAME_EXCHANGE) != 0) {
            const int e = errno;
            removeFolder(fresh);
            throw platform::errnoError(e, nativeOf(inForce));
        }
        removeFolder(places_.backupFolder());
        renameOrThrow(fresh, places_.backupFolder());
    } else {
        renameOrThrow(fresh, inForce);
    }
    syncFolder(places_.agencyRoot);
    result.done = true;
    return result;
}

bool ContentStore::remove() const {
    const QString inForce = places_.agencyFolder();
    if (!QFileInfo::exists(inForce)) {
        return false;
    }
    removeFolder(places_.backupFolder());
    renameOrThrow(inForce, places_.backupFolder());
    syncFolder(places_.agencyRoot);
    return true;
}

} // namespace tov::content
