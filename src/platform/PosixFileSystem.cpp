#include "platform/PosixFileSystem.h"

#include "platform/AppError.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tov::platform {

namespace {

[[noreturn]] void fail(int errnoValue, const QString& path) {
    int number = PosixFileSystem::errorNumberFor(errnoValue);
    // A missing folder is a path not found, a missing file in a folder that is there is not.
    if (number == err::FileNotFound && !QFileInfo(QFileInfo(path).absolutePath()).isDir()) {
        number = err::PathNotFound;
    }
    QString text;
    switch (number) {
    case err::FileNotFound:
        text = QStringLiteral("File not found");
        break;
    case err::PathNotFound:
        text = QStringLiteral("Path not found");
        break;
    case err::PermissionDenied:
        text = QStringLiteral("Permission denied");
        break;
    case err::DriveNotReady:
        text = QStringLiteral("Disk not ready");
        break;
    case err::DiskFull:
        text = QStringLiteral("Disk full");
        break;
    case err::BadFileName:
        text = QStringLiteral("Bad file name or number");
        break;
    case err::DeviceIo:
        text = QStringLiteral("Device I/O error");
        break;
    default:
        text = QString::fromLocal8Bit(std::strerror(errnoValue));
        break;
    }
    throw AppError(number, text + QStringLiteral(" (") + path + QLatin1Char(')'));
}

// A file descriptor closed on every path out of a call.
class Fd {
public:
    Fd(const QString& path, int flags, mode_t mode = 0644)
        : path_(path), fd_(::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC, mode)) {
        if (fd_ < 0) {
            fail(errno, path);
        }
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }
    // Closes now so that a failing close is reported instead of lost.
    void close() {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0 && errno != EINTR) {
            fail(errno, path_);
        }
    }

private:
    QString path_;
    int fd_;
};

void writeAll(const Fd& fd, const QString& path, const char* data, qint64 length, qint64 offset) {
    while (length > 0) {
        const ssize_t n = ::pwrite(fd.get(), data, static_cast<size_t>(length), offset);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail(errno, path);
        }
        data += n;
        length -= n;
        offset += n;
    }
}

} // namespace

int PosixFileSystem::errorNumberFor(int errnoValue) {
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

bool PosixFileSystem::exists(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0;
}

qint64 PosixFileSystem::size(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
        fail(errno, path);
    }
    return st.st_size;
}

void PosixFileSystem::probeRead(const QString& path) {
    Fd fd(path, O_RDONLY);
    struct stat st {};
    if (::fstat(fd.get(), &st) == 0 && S_ISDIR(st.st_mode)) {
        fail(EISDIR, path);
    }
    fd.close();
}

QByteArray PosixFileSystem::readOrCreate(const QString& path) {
    if (!exists(path)) {
        Fd created(path, O_WRONLY | O_CREAT | O_EXCL);
        if (::fsync(created.get()) != 0) {
            fail(errno, path);
        }
        created.close();
    }
    Fd fd(path, O_RDONLY);
    QByteArray content;
    char buffer[8192];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail(errno, path);
        }
        if (n == 0) {
            break;
        }
        content.append(buffer, n);
    }
    fd.close();
    return content;
}

void PosixFileSystem::writeAt(const QString& path, qint64 offset, const QByteArray& bytes) {
    Fd fd(path, O_RDWR | O_CREAT);
    writeAll(fd, path, bytes.constData(), bytes.size(), offset);
    // The operator may pull the volume as soon as the program is idle.
    if (::fsync(fd.get()) != 0) {
        fail(errno, path);
    }
    fd.close();
}

void PosixFileSystem::writeNew(const QString& path, const QByteArray& bytes) {
    Fd fd(path, O_WRONLY | O_CREAT | O_TRUNC);
    writeAll(fd, path, bytes.constData(), bytes.size(), 0);
    fd.close();
}

void PosixFileSystem::remove(const QString& path) {
    if (::unlink(QFile::encodeName(path).constData()) != 0) {
        fail(errno, path);
    }
}

} // namespace tov::platform
