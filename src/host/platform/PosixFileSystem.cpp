#include "platform/PosixFileSystem.h"

#include "platform/AppError.h"
#include "platform/ErrnoErrors.h"
#include "platform/RegularFile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tov::platform {

namespace {

[[noreturn]] void fail(int errnoValue, const QString& path) {
    int number = errorNumberFor(errnoValue);
    // A missing folder is a path not found, a missing file in a folder that is there is not.
    if (number == err::FileNotFound && !QFileInfo(QFileInfo(path).absolutePath()).isDir()) {
        number = err::PathNotFound;
    }
    throw AppError(number, errorTextFor(number, errnoValue) + QStringLiteral(" (") + path +
                               QLatin1Char(')'));
}

// A file descriptor closed on every path out of a call.
class Fd {
public:
    Fd(SystemCalls& calls, const QString& path, int flags, mode_t mode = 0600)
        : calls_(calls), path_(path),
          fd_(calls.open(QFile::encodeName(path).constData(), flags | O_CLOEXEC, mode)) {
        if (fd_ < 0) {
            fail(errno, path);
        }
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() {
        if (fd_ >= 0) {
            calls_.close(fd_);
        }
    }
    int get() const { return fd_; }
    // Closes now and lets a failing close pass.
    void closeQuietly() {
        const int fd = fd_;
        fd_ = -1;
        calls_.close(fd);
    }
    // Closes now so that a failing close is reported instead of lost.
    void close() {
        const int fd = fd_;
        fd_ = -1;
        if (calls_.close(fd) != 0 && errno != EINTR) {
            fail(errno, path_);
        }
    }

private:
    SystemCalls& calls_;
    QString path_;
    int fd_;
};

// Writes every byte, taking up after a short write as the system allows; the first refusal
// throws.
void writeAll(SystemCalls& calls, const Fd& fd, const QString& path, const char* data,
              qint64 length, qint64 offset) {
    while (length > 0) {
        const ssize_t n = calls.pwrite(fd.get(), data, static_cast<size_t>(length), offset);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail(errno, path);
        }
        if (n == 0) {
            fail(ENOSPC, path);
        }
        data += n;
        length -= n;
        offset += n;
    }
}

QByteArray readRange(SystemCalls& calls, const Fd& fd, const QString& path, qint64 offset,
                     qint64 length) {
    QByteArray content(static_cast<qsizetype>(length), '\0');
    qint64 done = 0;
    while (done < length) {
        const ssize_t n = calls.pread(fd.get(), content.data() + done,
                                      static_cast<size_t>(length - done), offset + done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail(errno, path);
        }
        if (n == 0) {
            break;
        }
        done += n;
    }
    content.truncate(static_cast<qsizetype>(done));
    return content;
}

} // namespace

int HostSystemCalls::open(const char* path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}
ssize_t HostSystemCalls::read(int fd, void* buffer, size_t length) {
    return ::read(fd, buffer, length);
}
ssize_t HostSystemCalls::pread(int fd, void* buffer, size_t length, off_t offset) {
    return ::pread(fd, buffer, length, offset);
}
ssize_t HostSystemCalls::pwrite(int fd, const void* data, size_t length, off_t offset) {
    return ::pwrite(fd, data, length, offset);
}
int HostSystemCalls::fsync(int fd) {
    return ::fsync(fd);
}
int HostSystemCalls::ftruncate(int fd, off_t length) {
    return ::ftruncate(fd, length);
}
int HostSystemCalls::close(int fd) {
    return ::close(fd);
}
int HostSystemCalls::stat(const char* path, struct stat* st) {
    return ::stat(path, st);
}
int HostSystemCalls::fstat(int fd, struct stat* st) {
    return ::fstat(fd, st);
}
int HostSystemCalls::unlink(const char* path) {
    return ::unlink(path);
}

PosixFileSystem::PosixFileSystem() : own_(std::make_unique<HostSystemCalls>()), calls_(*own_) {}

PosixFileSystem::PosixFileSystem(SystemCalls& calls) : calls_(calls) {}

PosixFileSystem::~PosixFileSystem() = default;

bool PosixFileSystem::exists(const QString& path) {
    struct stat st {};
    return calls_.stat(QFile::encodeName(path).constData(), &st) == 0;
}

qint64 PosixFileSystem::size(const QString& path) {
    struct stat st {};
    if (calls_.stat(QFile::encodeName(path).constData(), &st) != 0) {
        fail(errno, path);
    }
    return st.st_size;
}

void PosixFileSystem::probeRead(const QString& path) {
    // Non-blocking: a pipe under the name would otherwise hold the open until a writer comes.
    Fd fd(calls_, path, O_RDONLY | O_NONBLOCK);
    struct stat st {};
    if (calls_.fstat(fd.get(), &st) == 0 && !S_ISREG(st.st_mode)) {
        fail(EISDIR, path);
    }
    fd.close();
}

QByteArray PosixFileSystem::readOrCreate(const QString& path) {
    if (!exists(path)) {
        Fd created(calls_, path, O_WRONLY | O_CREAT | O_EXCL);
        if (calls_.fsync(created.get()) != 0) {
            fail(errno, path);
        }
        created.close();
    }
    Fd fd(calls_, path, O_RDONLY | O_NONBLOCK);
    // Only a plain file of a size a client file can have: a pipe, a device or a link to
    // /dev/zero is refused before reading, a huge (sparse) file too.
    struct stat st {};
    if (calls_.fstat(fd.get(), &st) != 0) {
        fail(errno, path);
    }
    if (!S_ISREG(st.st_mode)) {
        fail(EISDIR, path);
    }
    const auto tooLarge = [] {
        throw AppError(err::PathFileAccess,
                       QStringLiteral("File too large (over %1 bytes)").arg(MaxClientFileBytes));
    };
    if (st.st_size > MaxClientFileBytes) {
        tooLarge();
    }
    QByteArray content;
    char buffer[8192];
    for (;;) {
        if (content.size() > MaxClientFileBytes) {
            tooLarge();
        }
        const ssize_t n = calls_.read(fd.get(), buffer, sizeof buffer);
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
    Fd fd(calls_, path, O_RDWR | O_CREAT);
    struct stat st {};
    if (calls_.fstat(fd.get(), &st) != 0) {
        fail(errno, path);
    }
    const qint64 oldLength = st.st_size;
    // What the write replaces: a write that fails part way puts it back, so the record is either
    // as it was or as meant, never a mixture, and an append that fails leaves no part record.
    const QByteArray old = readRange(calls_, fd, path, offset,
                                     std::clamp<qint64>(oldLength - offset, 0, bytes.size()));
    try {
        writeAll(calls_, fd, path, bytes.constData(), bytes.size(), offset);
        // The operator may pull the volume as soon as the program is idle.
        if (calls_.fsync(fd.get()) != 0) {
            fail(errno, path);
        }
    } catch (const AppError&) {
        restore(fd.get(), offset, old, oldLength, offset + bytes.size() > oldLength);
        throw;
    }
    // Once fsync has passed the bytes are on the device: a failing close loses none of them, and
    // reporting it would make the caller believe the record was not written.
    fd.closeQuietly();
}

void PosixFileSystem::restore(int fd, qint64 offset, const QByteArray& old, qint64 oldLength,
                              bool grew) {
    // Best effort: on a device that has gone the calls fail as well, and the guard's next check
    // finds the volume changed.
    qint64 done = 0;
    while (done < old.size()) {
        const ssize_t n = calls_.pwrite(fd, old.constData() + done,
                                        static_cast<size_t>(old.size() - done), offset + done);
        if (n <= 0) {
            break;
        }
        done += n;
    }
    if (grew) {
        calls_.ftruncate(fd, static_cast<off_t>(oldLength));
    }
    calls_.fsync(fd);
}

void PosixFileSystem::writeNew(const QString& path, const QByteArray& bytes) {
    Fd fd(calls_, path, O_WRONLY | O_CREAT | O_TRUNC);
    writeAll(calls_, fd, path, bytes.constData(), bytes.size(), 0);
    fd.close();
}

void PosixFileSystem::remove(const QString& path) {
    if (calls_.unlink(QFile::encodeName(path).constData()) != 0) {
        fail(errno, path);
    }
}

} // namespace tov::platform
