#pragma once

#include "platform/FileSystem.h"

namespace tov::platform {

// The data volume through POSIX calls, so that a record write can be flushed with fsync.
class PosixFileSystem final : public FileSystem {
public:
    bool exists(const QString& path) override;
    qint64 size(const QString& path) override;
    void probeRead(const QString& path) override;
    QByteArray readOrCreate(const QString& path) override;
    void writeAt(const QString& path, qint64 offset, const QByteArray& bytes) override;
    void writeNew(const QString& path, const QByteArray& bytes) override;
    void remove(const QString& path) override;

    // The program's error number for a system errno.
    static int errorNumberFor(int errnoValue);
};

} // namespace tov::platform
