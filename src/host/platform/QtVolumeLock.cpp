#include "platform/QtVolumeLock.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStorageInfo>

#include <pwd.h>
#include <unistd.h>

namespace tov::platform {

QtVolumeLock::QtVolumeLock() = default;

QtVolumeLock::~QtVolumeLock() = default;

QString QtVolumeLock::currentUser() {
    if (const passwd* pw = ::getpwuid(::geteuid()); pw != nullptr && pw->pw_name != nullptr) {
        return QString::fromLocal8Bit(pw->pw_name);
    }
    return QString::number(::geteuid());
}

VolumeLock::Result QtVolumeLock::take(const QString& folder, LockHolder& holder) {
    const QString path = QDir(folder).absolutePath();
    if (lock_ && path == folder_) {
        return Result::Taken;
    }
    auto lock = std::make_unique<QLockFile>(QDir(path).filePath(LockFileName));
    // Only a dead process makes a lock stale: a program may hold its volume for days.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        lock_ = std::move(lock);
        folder_ = path;
        return Result::Taken;
    }
    switch (lock->error()) {
    case QLockFile::LockFailedError: {
        QString process;
        lock->getLockInfo(&holder.pid, &holder.host, &process);
        // The lock file is its holder's: its owner is the user.
        const QFileInfo file(QDir(path).filePath(LockFileName));
        holder.user = file.owner();
        if (holder.user.isEmpty() && file.exists()) {
            holder.user = QString::number(file.ownerId());
        }
        return Result::HeldByOther;
    }
    case QLockFile::PermissionError:
        return Result::ReadOnly;
    default: {
        const QStorageInfo volume(path);
        return volume.isReadOnly()            ? Result::ReadOnly
               : volume.bytesAvailable() <= 0 ? Result::NoRoom
                                              : Result::ReadOnly;
    }
    }
}

void QtVolumeLock::release() {
    lock_.reset();
    folder_.clear();
}

} // namespace tov::platform
