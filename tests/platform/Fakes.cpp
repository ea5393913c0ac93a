#include "platform/Fakes.h"

#include <QDir>
#include <QFileInfo>

namespace tov::fakes {

using Answer = platform::MessageBoxes::Answer;

Answer FakeMessageBoxes::show(const QString& text, Buttons buttons, Icon icon,
                              const QString& title) {
    shown.append({text, buttons, icon, title});
    if (onShow) {
        onShow(shown.back());
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

bool FaultyFileSystem::exists(const QString& path) {
    enter(Op::Exists, path, false);
    return real_.exists(path);
}

qint64 FaultyFileSystem::size(const QString& path) {
    enter(Op::Size, path, false);
    return real_.size(path);
}

void FaultyFileSystem::probeRead(const QString& path) {
    enter(Op::Probe, path, false);
    real_.probeRead(path);
}

QByteArray FaultyFileSystem::readOrCreate(const QString& path) {
    enter(Op::Read, path, !real_.exists(path));
    return real_.readOrCreate(path);
}

void FaultyFileSystem::writeAt(const QString& path, qint64 offset, const QByteArray& bytes) {
    enter(Op::WriteAt, path, true);
    real_.writeAt(path, offset, bytes);
}

void FaultyFileSystem::writeNew(const QString& path, const QByteArray& bytes) {
    enter(Op::WriteNew, path, true);
    real_.writeNew(path, bytes);
}

void FaultyFileSystem::remove(const QString& path) {
    enter(Op::Remove, path, true);
    real_.remove(path);
}

} // namespace tov::fakes
