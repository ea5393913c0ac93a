#include "platform/ErrnoErrors.h"

#include "platform/AppError.h"

#include <cerrno>
#include <cstring>

namespace tov::platform {

int errorNumberFor(int errnoValue) {
    switch (errnoValue) {
    case ENOENT:
        return err::FileNotFound;
    case ENOTDIR:
        return err::PathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
        return err::PermissionDenied;
    case ENXIO:
    case ENODEV:
    case ENOMEDIUM:
    case ESTALE:
        return err::DriveNotReady;
    case ENOSPC:
    case EDQUOT:
        return err::DiskFull;
    case ENAMETOOLONG:
    case EINVAL:
    case EISDIR:
        return err::BadFileName;
    case EIO:
    default:
        return err::DeviceIo;
    }
}

QString errorTextFor(int number, int errnoValue) {
    switch (number) {
    case err::FileNotFound:
        return QStringLiteral("File not found");
    case err::PathNotFound:
        return QStringLiteral("Path not found");
    case err::PermissionDenied:
        return QStringLiteral("Permission denied");
    case err::DriveNotReady:
        return QStringLiteral("Disk not ready");
    case err::DiskFull:
        return QStringLiteral("Disk full");
    case err::BadFileName:
        return QStringLiteral("Bad file name or number");
    case err::DeviceIo:
        return QStringLiteral("Device I/O error");
    default:
        return QString::fromLocal8Bit(std::strerror(errnoValue));
    }
}

AppError errnoError(int errnoValue, const QString& what) {
    const int number = errorNumberFor(errnoValue);
    QString text = errorTextFor(number, errnoValue);
    if (!what.isEmpty()) {
        text += QStringLiteral(" (") + what + QLatin1Char(')');
    }
    return {number, text};
}

} // namespace tov::platform
