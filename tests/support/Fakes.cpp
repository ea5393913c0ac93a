#include "support/Fakes.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>

namespace tov::fakes {

using Answer = platform::MessageBoxes::Answer;

QStringList FakeMessageBoxes::texts() const {
    QStringList all;
    for (const Shown& s : shown) {
        all << s.text;
    }
    return all;
}

QStringList FakeMessageBoxes::titles() const {
    QStringList all;
    for (const Shown& s : shown) {
        all << s.title;
    }
    return all;
}

Answer FakeMessageBoxes::show(const QString& text, Buttons buttons, Icon icon,
                              const QString& title) {
    shown.append({text, buttons, icon, title});
    if (onShow) {
        onShow(shown.back());
    }
    if (answerFor) {
        if (const auto a = answerFor(shown.back())) {
            return *a;
        }
    }
    if (!answers_.empty()) {
        const Answer a = answers_.front();
        answers_.pop_front();
        return a;
    }
    switch (buttons) {
    case Buttons::Ok:
    case Buttons::OkCancel:
        return Answer::Ok;
    case Buttons::YesNo:
        return Answer::Yes;
    case Buttons::RetryCancel:
        return Answer::Retry;
    }
    return Answer::Ok;
}

QString FakeVolumeIdentity::read(const QString& folder) {
    reads << folder;
    if (!failures.empty()) {
        const int number = failures.front();
        failures.pop_front();
        throw AppError(number, QStringLiteral("scripted failure"));
    }
    const auto it = ids.constFind(folder);
    if (it == ids.constEnd()) {
        throw AppError(err::DriveNotReady, QStringLiteral("Disk not ready"));
    }
    return *it;
}

void FakeWavePlayer::setDeviceType(const QString& type) {
    deviceType = type;
    calls << QStringLiteral("type ") + type;
}

void FakeWavePlayer::open(const QString& path) {
    calls << QStringLiteral("open ") + path;
    const int failure = openFailures.value(QFileInfo(path).fileName());
    if (failure != 0) {
        throw AppError(failure, QStringLiteral("scripted open failure"));
    }
    open_ = path;
}

void FakeWavePlayer::play() {
    calls << QStringLiteral("play ") + open_;
    const int failure = playFailures.value(QFileInfo(open_).fileName());
    if (failure != 0) {
        throw AppError(failure, QStringLiteral("scripted play failure"));
    }
    played << open_;
    playing = open_;
}

void FakeWavePlayer::close() {
    calls << QStringLiteral("close");
    open_.clear();
    playing.clear();
}

void FakeScanner::CheckAvailable() {
    ++checks;
    if (failure != 0) {
        throw AppError(failure, description);
    }
}

QString FaultySystemCalls::nameOf(Call call) {
    switch (call) {
    case Call::Open:
        return QStringLiteral("open");
    case Call::Read:
        return QStringLiteral("read");
    case Call::Write:
        return QStringLiteral("write");
    case Call::Fsync:
        return QStringLiteral("fsync");
    case Call::Truncate:
        return QStringLiteral("ftruncate");
    case Call::Close:
        return QStringLiteral("close");
    case Call::Stat:
        return QStringLiteral("stat");
    case Call::Unlink:
        return QStringLiteral("unlink");
    }
    return {};
}

void FaultySystemCalls::failNth(int n, int errnoValue) {
    failAt_ = calls() + n;
    failErrno_ = errnoValue;
}

void FaultySystemCalls::fillDeviceAtWrite(int n) {
    fillAtWrite_ = counts_.value(Call::Write) + n;
}

// Logs the call; false when it is the one to fail (errno set).
bool FaultySystemCalls::enter(Call call, const QString& file) {
    log.append({call, file});
    ++counts_[call];
    if (calls() == failAt_) {
        failAt_ = 0;
        fired = calls() - 1;
        errno = failErrno_;
        return false;
    }
    return true;
}

int FaultySystemCalls::open(const char* path, int flags, mode_t mode) {
    const QString file = QFileInfo(QFile::decodeName(path)).fileName();
    if (!enter(Call::Open, file)) {
        return -1;
    }
    const int fd = host_.open(path, flags, mode);
    if (fd >= 0) {
        files_[fd] = file;
    }
    return fd;
}

ssize_t FaultySystemCalls::read(int fd, void* buffer, size_t length) {
    return enter(Call::Read, fileOf(fd)) ? host_.read(fd, buffer, length) : -1;
}

ssize_t FaultySystemCalls::pread(int fd, void* buffer, size_t length, off_t offset) {
    return enter(Call::Read, fileOf(fd)) ? host_.pread(fd, buffer, length, offset) : -1;
}

ssize_t FaultySystemCalls::pwrite(int fd, const void* data, size_t length, off_t offset) {
    if (!enter(Call::Write, fileOf(fd))) {
        return -1;
    }
    struct stat st {};
    host_.fstat(fd, &st);
    const qint64 grows = std::max<qint64>(0, offset + qint64(length) - st.st_size);
    if (counts_.value(Call::Write) == fillAtWrite_) {
        fillAtWrite_ = 0;
        fired = calls() - 1;
        full_ = true;
        room_ = grows / 2;
    }
    if (!full_ || grows <= room_) {
        room_ -= full_ ? grows : 0;
        return host_.pwrite(fd, data, length, offset);
    }
    const qint64 fits = st.st_size + room_ - offset;
    room_ = 0;
    if (fits <= 0) {
        errno = ENOSPC;
        return -1;
    }
    return host_.pwrite(fd, data, static_cast<size_t>(fits), offset);
}

int FaultySystemCalls::fsync(int fd) {
    return enter(Call::Fsync, fileOf(fd)) ? host_.fsync(fd) : -1;
}

int FaultySystemCalls::ftruncate(int fd, off_t length) {
    return enter(Call::Truncate, fileOf(fd)) ? host_.ftruncate(fd, length) : -1;
}

int FaultySystemCalls::close(int fd) {
    const bool passes = enter(Call::Close, fileOf(fd));
    files_.remove(fd);
    // Linux frees the descriptor even when close reports an error.
    const int result = host_.close(fd);
    if (!passes) {
        errno = failErrno_;
        return -1;
    }
    return result;
}

int FaultySystemCalls::stat(const char* path, struct stat* st) {
    return enter(Call::Stat, QFileInfo(QFile::decodeName(path)).fileName()) ? host_.stat(path, st)
                                                                            : -1;
}

int FaultySystemCalls::fstat(int fd, struct stat* st) {
    return enter(Call::Stat, fileOf(fd)) ? host_.fstat(fd, st) : -1;
}

int FaultySystemCalls::unlink(const char* path) {
    return enter(Call::Unlink, QFileInfo(QFile::decodeName(path)).fileName()) ? host_.unlink(path)
                                                                              : -1;
}

platform::VolumeLock::Result FakeVolumeLock::take(const QString& folder,
                                                  platform::LockHolder& holder) {
    asked << folder;
    Result result = Result::Taken;
    auto scripted = answers.find(folder);
    if (scripted != answers.end() && !scripted->empty()) {
        result = scripted->front();
        scripted->pop_front();
    }
    if (result == Result::HeldByOther) {
        holder = other;
    } else if (result == Result::Taken) {
        held = folder;
    }
    return result;
}

void FakeScanner::AcquirePages(const platform::ScanSettings& settings, const TakePage& take) {
    acquisitions << settings;
    if (acquireFailure != 0) {
        throw AppError(acquireFailure, QStringLiteral("scripted acquisition failure"));
    }
    offered = 0;
    for (const QImage& p : QList<QImage>{page} + morePages) {
        ++offered;
        if (take(p)) {
            return;
        }
    }
}

void FaultyFileSystem::failNth(Op op, int n, int errorNumber) {
    planned_[op] = {counts_.value(op) + n, errorNumber};
}

void FaultyFileSystem::enter(Op op, const QString& path, bool writes) {
    const int call = ++counts_[op];
    const auto plan = planned_.constFind(op);
    if (plan != planned_.constEnd() && plan->first == call) {
        const int number = plan->second;
        planned_.remove(op);
        throw AppError(number, QStringLiteral("injected failure"));
    }
    if (writes) {
        const QString folder = QFileInfo(path).absolutePath();
        for (const QString& ro : readOnlyFolders) {
            if (QDir::cleanPath(QFileInfo(ro).absoluteFilePath()) == QDir::cleanPath(folder)) {
                throw AppError(err::PermissionDenied, QStringLiteral("Permission denied"));
            }
        }
    }
}

template <typename F> auto FaultyFileSystem::run(Op op, const QString& path, bool writes, F&& f) {
    ++total_;
    struct After {
        FaultyFileSystem& fs;
        Op op;
        int uncaught = std::uncaught_exceptions();
        ~After() {
            if (fs.afterEach) {
                fs.afterEach(op, std::uncaught_exceptions() > uncaught);
            }
        }
    } after{*this, op};
    enter(op, path, writes);
    return f();
}

bool FaultyFileSystem::exists(const QString& path) {
    return run(Op::Exists, path, false, [&] { return real_.exists(path); });
}

qint64 FaultyFileSystem::size(const QString& path) {
    return run(Op::Size, path, false, [&] { return real_.size(path); });
}

void FaultyFileSystem::probeRead(const QString& path) {
    run(Op::Probe, path, false, [&] { real_.probeRead(path); });
}

QByteArray FaultyFileSystem::readOrCreate(const QString& path) {
    return run(Op::Read, path, !QFileInfo::exists(path), [&] { return real_.readOrCreate(path); });
}

void FaultyFileSystem::writeAt(const QString& path, qint64 offset, const QByteArray& bytes) {
    run(Op::WriteAt, path, true, [&] { real_.writeAt(path, offset, bytes); });
}

void FaultyFileSystem::writeNew(const QString& path, const QByteArray& bytes) {
    run(Op::WriteNew, path, true, [&] { real_.writeNew(path, bytes); });
}

void FaultyFileSystem::remove(const QString& path) {
    run(Op::Remove, path, true, [&] { real_.remove(path); });
}

} // namespace tov::fakes
