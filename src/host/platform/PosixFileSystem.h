#pragma once

#include "platform/FileSystem.h"
#include "platform/SystemCalls.h"

#include <memory>

namespace tov::platform {

// The data volume through POSIX calls, so that a record write can be flushed with fsync.
class PosixFileSystem final : public FileSystem {
public:
    // On the host's own system calls.
    PosixFileSystem();
    // On calls a test controls; they must outlive this.
    explicit PosixFileSystem(SystemCalls& calls);
    ~PosixFileSystem() override;
    PosixFileSystem(const PosixFileSystem&) = delete;
    PosixFileSystem& operator=(const PosixFileSystem&) = delete;

    bool exists(const QString& path) override;
    qint64 size(const QString& path) override;
    void probeRead(const QString& path) override;
    QByteArray readOrCreate(const QString& path) override;
    void writeAt(const QString& path, qint64 offset, const QByteArray& bytes) override;
    void writeNew(const QString& path, const QByteArray& bytes) override;
    void remove(const QString& path) override;

private:
    // Puts back what a failed writeAt replaced and cuts off what it appended.
    void restore(int fd, qint64 offset, const QByteArray& old, qint64 oldLength, bool grew);

    std::unique_ptr<SystemCalls> own_;
    SystemCalls& calls_;
};

} // namespace tov::platform
