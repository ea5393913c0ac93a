#pragma once

#include "platform/AppError.h"
#include "platform/Clock.h"
#include "platform/DriveList.h"
#include "platform/EndRequests.h"
#include "platform/FileSystem.h"
#include "platform/KeyboardState.h"
#include "platform/MessageBoxes.h"
#include "platform/PosixFileSystem.h"
#include "platform/Printer.h"
#include "platform/Scanner.h"
#include "platform/SingleInstance.h"
#include "platform/SystemCalls.h"
#include "platform/VolumeIdentity.h"
#include "platform/VolumeLock.h"
#include "platform/WavePlayer.h"

#include <QList>
#include <QMap>
#include <QString>

#include <deque>
#include <functional>
#include <optional>

namespace tov::fakes {

// Message boxes that show nothing: each call is recorded and answered from a script. A box the
// script did not foresee gets its first button's answer (OK, Yes or Retry).
class FakeMessageBoxes final : public platform::MessageBoxes {
public:
    struct Shown {
        QString text;
        Buttons buttons;
        Icon icon;
        QString title;
    };

    Answer show(const QString& text, Buttons buttons, Icon icon, const QString& title) override;
    void beep() override { ++beeps; }

    void script(std::initializer_list<Answer> answers) { answers_.insert(answers_.end(), answers); }
    // Runs while the box would be on screen, before it is answered.
    std::function<void(const Shown&)> onShow;
    // Answers a box before the script does; no answer leaves it to the script.
    std::function<std::optional<Answer>(const Shown&)> answerFor;

    QList<Shown> shown;
    int beeps = 0;
    // The texts and the titles of the boxes shown, in order.
    QStringList texts() const;
    QStringList titles() const;

private:
    std::deque<Answer> answers_;
};

class FakeVolumeIdentity final : public platform::VolumeIdentity {
public:
    QString read(const QString& folder) override;

    // The identity each folder reads as; a folder not listed is a drive not ready.
    QMap<QString, QString> ids;
    // Failures to throw before the next reads succeed.
    std::deque<int> failures;
    QStringList reads;
};

// A volume lock answering as scripted: taken, unless the folder is listed as held by another
// program (or read-only, or full). Records every folder asked for.
class FakeVolumeLock final : public platform::VolumeLock {
public:
    Result take(const QString& folder, platform::LockHolder& holder) override;
    void release() override { held.clear(); }
    QString heldFolder() const override { return held; }

    // Folders and what taking them gives, each answer used up in turn; unlisted: taken.
    QMap<QString, std::deque<Result>> answers;
    platform::LockHolder other{4242, QStringLiteral("front-desk"), QStringLiteral("maria")};
    QStringList asked;
    QString held;
};

class FakeKeyboardState final : public platform::KeyboardState {
public:
    std::optional<bool> numLock() override { return on; }
    void setNumLock(bool value) override {
        on = value;
        ++sets;
    }
    std::optional<bool> on = false;
    int sets = 0;
};

class FakeSingleInstance final : public platform::SingleInstance {
public:
    bool otherCopyRunning() override { return running; }
    void restoreOtherCopy(const QString& title) override { restoredTitles << title; }
    void onRestoreRequested(std::function<void()> h) override { handler = std::move(h); }

    bool running = false;
    QStringList restoredTitles;
    std::function<void()> handler;
};

class FakeClock final : public platform::Clock {
public:
    QDate today() override { return date; }
    qint64 elapsedMs() override { return ms; }
    QDate date{2026, 12, 7};
    qint64 ms = 0;
};

class FakeDriveList final : public platform::DriveList {
public:
    QList<platform::Drive> drives() override { return list; }
    QList<platform::Drive> list;
};

// A wave player that plays nothing: each call is recorded, and a device error or a failing
// file can be scripted.
class FakeWavePlayer final : public platform::WavePlayer {
public:
    void setDeviceType(const QString& type) override;
    int error() const override { return deviceError; }
    void open(const QString& path) override;
    void play() override;
    void close() override;

    // The error the device reports after set-up; 0 = usable.
    int deviceError = 0;
    // File name (without folder) -> error number thrown when it is opened or played.
    QMap<QString, int> openFailures;
    QMap<QString, int> playFailures;

    QString deviceType;
    // Every call in order: "type WaveAudio", "open <path>", "play <path>", "close".
    QStringList calls;
    // The full path of every prompt started, in order.
    QStringList played;
    // The prompt playing now; empty when stopped.
    QString playing;

private:
    QString open_;
};

// Keeps every job it is given; set `failure` to make it refuse as a missing printer does.
class FakePrinter final : public platform::Printer {
public:
    void print(const platform::PrintJob& job) override {
        if (onPrint) {
            onPrint(job);
        }
        if (!failure.isEmpty()) {
            throw AppError(err::DriveNotReady, failure);
        }
        printed << job;
    }
    void printToPdf(const platform::PrintJob& job, const QString& path) override {
        pdfs << job;
        pdfPaths << path;
    }

    QList<platform::PrintJob> printed;
    QList<platform::PrintJob> pdfs;
    QStringList pdfPaths;
    QString failure;
    // Runs as each job reaches the printer, before it is taken or refused.
    std::function<void(const platform::PrintJob&)> onPrint;
};

// End requests the test makes itself, as the host does on a logout.
class FakeEndRequests final : public platform::EndRequests {
public:
    void onEndRequested(std::function<void()> h) override { handler = std::move(h); }
    void request() {
        if (handler) {
            handler();
        }
    }
    std::function<void()> handler;
};

// A scanner check that fails with a scripted error number; 0 = a scanner is there. Each
// acquisition gives the scripted page and then the further ones until one is taken, or throws
// the scripted acquisition error.
class FakeScanner final : public platform::Scanner {
public:
    void CheckAvailable() override;
    void AcquirePages(const platform::ScanSettings& settings, const TakePage& take) override;
    int failure = platform::Scanner::NoDataSource;
    QString description = QStringLiteral("Twain no Data Source");
    int checks = 0;

    QImage page;
    QList<QImage> morePages;
    int offered = 0; // pages handed out by the last acquisition
    int acquireFailure = 0;
    QList<platform::ScanSettings> acquisitions;
};

// The host's system calls with one failure injected on request: the n-th call fails with an
// errno as a pulled stick fails it (EIO), or the device fills up at the n-th write. Every call is
// logged with the file it concerns, so a test can say what failed.
class FaultySystemCalls final : public platform::SystemCalls {
public:
    enum class Call { Open, Read, Write, Fsync, Truncate, Close, Stat, Unlink };
    static QString nameOf(Call call);

    int open(const char* path, int flags, mode_t mode) override;
    ssize_t read(int fd, void* buffer, size_t length) override;
    ssize_t pread(int fd, void* buffer, size_t length, off_t offset) override;
    ssize_t pwrite(int fd, const void* data, size_t length, off_t offset) override;
    int fsync(int fd) override;
    int ftruncate(int fd, off_t length) override;
    int close(int fd) override;
    int stat(const char* path, struct stat* st) override;
    int fstat(int fd, struct stat* st) override;
    int unlink(const char* path) override;

    // The n-th call from now (1 = the next), of any kind, fails with the errno.
    void failNth(int n, int errnoValue);
    // The n-th write from now finds the device full: it stores half of what it adds to the file
    // and is cut short; from then on no write can add to any file (ENOSPC), while rewriting bytes
    // in place and cutting a file still work, as on a real full device.
    void fillDeviceAtWrite(int n);

    int calls() const { return static_cast<int>(log.size()); }
    int calls(Call call) const { return counts_.value(call); }

    struct Logged {
        Call call;
        QString file; // file name without folder
    };
    QList<Logged> log;
    // The position in the log of the call that failed or filled the device; -1 while none has.
    int fired = -1;

private:
    bool enter(Call call, const QString& file);
    QString fileOf(int fd) const { return files_.value(fd); }

    platform::HostSystemCalls host_;
    QMap<Call, int> counts_;
    QMap<int, QString> files_;
    int failAt_ = 0;
    int failErrno_ = 0;
    int fillAtWrite_ = 0;
    bool full_ = false;
    qint64 room_ = 0;
};

// The real file system with failures injected: a folder can be made write-protected, and the
// n-th call of an operation can be made to fail with an error number. Underneath, the system
// calls can be made to fail one by one (system()).
class FaultyFileSystem final : public platform::FileSystem {
public:
    enum class Op { Exists, Size, Probe, Read, WriteAt, WriteNew, Remove };

    bool exists(const QString& path) override;
    qint64 size(const QString& path) override;
    void probeRead(const QString& path) override;
    QByteArray readOrCreate(const QString& path) override;
    void writeAt(const QString& path, qint64 offset, const QByteArray& bytes) override;
    void writeNew(const QString& path, const QByteArray& bytes) override;
    void remove(const QString& path) override;

    // Folders whose files cannot be created or written (a write-protected volume).
    QStringList readOnlyFolders;
    // Fails the given call (1 = the next one) of an operation with an error number.
    void failNth(Op op, int n, int errorNumber);
    int calls(Op op) const { return counts_.value(op); }
    // Operations of every kind so far.
    int calls() const { return total_; }

    FaultySystemCalls& system() { return system_; }
    // Runs after every operation, whether it passed or threw.
    std::function<void(Op op, bool threw)> afterEach;

private:
    void enter(Op op, const QString& path, bool writes);
    template <typename F> auto run(Op op, const QString& path, bool writes, F&& f);
    FaultySystemCalls system_;
    platform::PosixFileSystem real_{system_};
    int total_ = 0;
    QMap<Op, int> counts_;
    QMap<Op, QPair<int, int>> planned_; // op -> (call number, error number)
};

} // namespace tov::fakes
