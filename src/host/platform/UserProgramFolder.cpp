#include "platform/UserProgramFolder.h"

#include "platform/AppError.h"
#include "platform/ConfidentialFile.h"
#include "platform/ErrnoErrors.h"
#include "platform/PosixFileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace tov::platform {

namespace {

constexpr mode_t OwnerOnlyFolder = S_IRWXU;

[[noreturn]] void fail(const QString& what, int errnoValue) {
    const int number = errorNumberFor(errnoValue);
    throw AppError(number, QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(what),
                                                        errorTextFor(number, errnoValue)));
}

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

// The folder made if missing, and made owner-only: it holds the user's reports. A link or a
// file under its name, or a folder of another user's, is refused rather than used.
void makeOwnFolder(const QString& folder) {
    if (!QDir().mkpath(QFileInfo(folder).absolutePath())) {
        fail(QFileInfo(folder).absolutePath(), EACCES);
    }
    if (::mkdir(native(folder).constData(), OwnerOnlyFolder) != 0 && errno != EEXIST) {
        fail(folder, errno);
    }
    struct stat st {};
    if (::lstat(native(folder).constData(), &st) != 0) {
        fail(folder, errno);
    }
    if (!S_ISDIR(st.st_mode)) {
        fail(folder, ENOTDIR);
    }
    if (st.st_uid != ::geteuid()) {
        fail(folder, EPERM);
    }
    if ((st.st_mode & 07777) != OwnerOnlyFolder &&
        ::chmod(native(folder).constData(), OwnerOnlyFolder) != 0) {
        fail(folder, errno);
    }
}

// The installed files a user's folder links to: everything but the programs themselves, the
// marker and the files the user gets a copy of.
QFileInfoList linkedEntries(const QDir& installed, const QStringList& copied) {
    QFileInfoList entries;
    for (const QFileInfo& entry :
         installed.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        const QString name = entry.fileName();
        if (name == InstalledMarker || copied.contains(name, Qt::CaseInsensitive) ||
            (entry.isFile() && entry.isExecutable())) {
            continue;
        }
        entries << entry;
    }
    return entries;
}

// A link in the user's folder to `target`, made or pointed anew; anything else under the name is
// the user's and stays.
void linkTo(const QString& target, const QString& link) {
    const QFileInfo present(link);
    if (present.isSymLink()) {
        if (present.symLinkTarget() == target) {
            return;
        }
        if (::unlink(native(link).constData()) != 0) {
            fail(link, errno);
        }
    } else if (present.exists()) {
        return;
    }
    if (::symlink(native(target).constData(), native(link).constData()) != 0 && errno != EEXIST) {
        fail(link, errno);
    }
}

// Links into the installed folder whose file an upgrade removed.
void removeStaleLinks(const QDir& user, const QString& installedPath) {
    for (const QFileInfo& entry : user.entryInfoList(QDir::System | QDir::NoDotAndDotDot)) {
        if (entry.isSymLink() && !entry.exists() &&
            QFileInfo(entry.symLinkTarget()).absolutePath() == installedPath) {
            ::unlink(native(entry.absoluteFilePath()).constData());
        }
    }
}

} // namespace

bool NeedsUserFolder(const QString& programFolder) {
    const QDir folder(programFolder);
    return QFileInfo::exists(folder.filePath(InstalledMarker)) ||
           ::access(native(folder.absolutePath()).constData(), W_OK) != 0;
}

void PrepareUserFolder(const QString& installedFolder, const QString& userFolder,
                       const QStringList& copied) {
    makeOwnFolder(userFolder);
    const QDir installed(QFileInfo(installedFolder).canonicalFilePath());
    const QDir user(userFolder);
    for (const QString& name : copied) {
        const QString mine = user.filePath(name);
        const QFileInfo source(installed.filePath(name));
        if (QFileInfo(mine).exists() || QFileInfo(mine).isSymLink() || !source.isFile()) {
            continue; // the user's settings are kept across upgrades
        }
        QFile file(source.absoluteFilePath());
        if (!file.open(QIODevice::ReadOnly)) {
            fail(source.absoluteFilePath(), EACCES);
        }
        // A settings file is small; a bound keeps a damaged install from filling the disk.
        constexpr qint64 MaxCopied = 1 << 20;
        WriteConfidentialFile(mine, file.read(MaxCopied));
    }
    for (const QFileInfo& entry : linkedEntries(installed, copied)) {
        linkTo(entry.absoluteFilePath(), user.filePath(entry.fileName()));
    }
    removeStaleLinks(user, installed.absolutePath());
}

QString ProgramFolderFor(const QString& installedFolder, const QString& userDataFolder,
                         const QStringList& copied) {
    if (!NeedsUserFolder(installedFolder)) {
        return installedFolder;
    }
    QString user = QDir(userDataFolder).filePath(UserFolderName);
    PrepareUserFolder(installedFolder, user, copied);
    return user;
}

} // namespace tov::platform
