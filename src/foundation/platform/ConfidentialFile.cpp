#include "platform/ConfidentialFile.h"

#include "platform/AppError.h"
#include "platform/ErrnoErrors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tov::platform {

namespace {

constexpr mode_t OwnerOnly = S_IRUSR | S_IWUSR;
constexpr int SuffixLength = 6;

[[noreturn]] void fail(int errnoValue) {
    throw errnoError(errnoValue);
}

QString randomSuffix() {
    constexpr char Letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString suffix;
    for (int i = 0; i < SuffixLength; ++i) {
        suffix += QLatin1Char(
            Letters[QRandomGenerator::global()->bounded(static_cast<int>(sizeof Letters - 1))]);
    }
    return suffix;
}

// The hidden name a write to `name` goes to first; a run cut short may leave it.
QString tempName(const QString& name) {
    return QLatin1Char('.') + name + QLatin1Char('.') + randomSuffix();
}

// A file made now: O_EXCL refuses any name already there, a link included, so nothing planted
// is ever opened.
int createNew(const QString& folder, const QString& name, QByteArray& created) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        created = QFile::encodeName(folder + QLatin1Char('/') + tempName(name));
        const int fd = ::open(created.constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, OwnerOnly);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

// Only a file or a link is ever replaced or removed under a confidential name; a device, a pipe
// or a folder named so is someone else's.
bool replaceable(const QString& path) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0) {
        return true; // nothing there (or nothing that can be looked at, which the call reports)
    }
    return S_ISREG(st.st_mode) || S_ISLNK(st.st_mode);
}

void writeAll(int fd, const QByteArray& bytes) {
    const char* data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            fail(n < 0 ? errno : ENOSPC);
        }
        data += n;
        left -= n;
    }
}

} // namespace

void WriteConfidentialFile(const QString& path, const QByteArray& bytes) {
    if (!replaceable(path)) {
        throw AppError(err::BadFileName, QStringLiteral("Not a regular file"));
    }
    const QFileInfo info(path);
    QByteArray created;
    const int fd = createNew(info.absolutePath(), info.fileName(), created);
    if (fd < 0) {
        fail(errno);
    }
    bool open = true;
    try {
        // The mode asked for at creation is narrowed by the umask, never widened; this makes it
        // exactly owner-only whatever the umask.
        if (::fchmod(fd, OwnerOnly) != 0) {
            fail(errno);
        }
        writeAll(fd, bytes);
        open = false;
        if (::close(fd) != 0 && errno != EINTR) {
            fail(errno);
        }
        // The name itself is replaced, whatever it was: a link planted there goes, its target
        // stays as it was.
        if (::rename(created.constData(), QFile::encodeName(path).constData()) != 0) {
            fail(errno);
        }
    } catch (const AppError&) {
        if (open) {
            ::close(fd);
        }
        ::unlink(created.constData());
        throw;
    }
}

bool CreateConfidentialFile(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    const int fd =
        ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, OwnerOnly);
    if (fd < 0) {
        if (errno == EEXIST) {
            return false;
        }
        fail(errno);
    }
    // Exactly owner-only whatever the umask, and on the device before the operator is told it
    // is there: a stick pulled out next must still hold it.
    int failed = ::fchmod(fd, OwnerOnly) != 0 || ::fsync(fd) != 0 ? errno : 0;
    if (::close(fd) != 0 && errno != EINTR && failed == 0) {
        failed = errno;
    }
    if (failed != 0) {
        ::unlink(name.constData());
        fail(failed);
    }
    // The folder entry as well, where the file system can sync a folder (not every network
    // share can; the file is there all the same).
    const int dir = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(),
                           O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

bool RemoveConfidentialFile(const QString& path) {
    if (!replaceable(path)) {
        return false;
    }
    return ::unlink(QFile::encodeName(path).constData()) == 0 || errno == ENOENT;
}

void RemoveConfidentialFiles(const QString& folder, const QRegularExpression& names) {
    const QRegularExpression whole(QRegularExpression::anchoredPattern(names.pattern()));
    const QRegularExpression cutShort(QRegularExpression::anchoredPattern(
        QStringLiteral("\\.(.+)\\.[A-Za-z0-9]{%1}").arg(SuffixLength)));
    const QDir dir(folder);
    // System lists links whose target is gone; a directory under such a name is not removed.
    for (const QString& name :
         dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        const QRegularExpressionMatch temp = cutShort.match(name);
        if (whole.match(name).hasMatch() ||
            (temp.hasMatch() && whole.match(temp.captured(1)).hasMatch())) {
            RemoveConfidentialFile(dir.filePath(name));
        }
    }
}

} // namespace tov::platform
