#include "platform/ErrnoErrors.h"

#include "platform/AppError.h"

#include <cerrno>

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

} // namespace tov::platform
