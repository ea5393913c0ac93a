#include "platform/RegularFile.h"

#include "platform/AppError.h"
#include "platform/ErrnoErrors.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tov::platform {

namespace {

[[noreturn]] void failErrno(int errnoValue) {
    throw errnoError(errnoValue);
}

void checkOpen(int fd, qint64 maxBytes) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        failErrno(errno);
    }
    if (!S_ISREG(st.st_mode)) {
        throw AppError(err::BadFileName, QStringLiteral("Not a regular file"));
    }
    if (st.st_size > maxBytes) {
        throw AppError(err::PathFileAccess,
                       QStringLiteral("File too large (over %1 bytes)").arg(maxBytes));
    }
}

// The descriptor closed however the read ends.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
};

int openForReading(const QString& path) {
    // Non-blocking, so that opening a pipe returns at once and the check below refuses it.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        failErrno(errno);
    }
    return fd;
}

} // namespace

QByteArray ReadRegularFile(const QString& path, qint64 maxBytes) {
    const Descriptor file{openForReading(path)};
    checkOpen(file.fd, maxBytes);
    // The size is checked once more while reading: the file may grow after the check.
    QByteArray content;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(file.fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            failErrno(errno);
        }
        if (n == 0) {
            break;
        }
        if (content.size() + n > maxBytes) {
            throw AppError(err::PathFileAccess,
                           QStringLiteral("File too large (over %1 bytes)").arg(maxBytes));
        }
        content.append(buffer, n);
    }
    return content;
}

void CheckRegularFile(const QString& path, qint64 maxBytes) {
    const Descriptor file{openForReading(path)};
    checkOpen(file.fd, maxBytes);
}

} // namespace tov::platform
