#include "platform/PosixVolumeIdentity.h"

#include "platform/AppError.h"
#include "platform/ErrnoErrors.h"
#include "platform/PosixFileSystem.h"

#include <QFile>

#include <cerrno>
#include <sys/stat.h>
#include <sys/statvfs.h>

namespace tov::platform {

QString PosixVolumeIdentity::read(const QString& folder) {
    const QByteArray name = QFile::encodeName(folder.isEmpty() ? QStringLiteral(".") : folder);
    struct stat st {};
    struct statvfs vfs {};
    if (::stat(name.constData(), &st) != 0 || ::statvfs(name.constData(), &vfs) != 0) {
        const int e = errno;
        // A folder that is gone is a drive with nothing in it.
        const int number = (e == ENOENT || e == ENOTDIR) ? err::DriveNotReady : errorNumberFor(e);
        throw AppError(number, errorTextFor(number, e));
    }
    return QStringLiteral("%1-%2-%3")
        .arg(static_cast<qulonglong>(vfs.f_fsid), 16, 16, QLatin1Char('0'))
        .arg(static_cast<qulonglong>(st.st_dev), 8, 16, QLatin1Char('0'))
        .arg(static_cast<qulonglong>(st.st_ino), 8, 16, QLatin1Char('0'))
        .toUpper();
}

} // namespace tov::platform
