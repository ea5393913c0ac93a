#pragma once

#include <QByteArray>
#include <QString>

namespace tov::platform {

// File operations on the data volume. Every call opens, uses and closes the file, so nothing
// stays open while the program waits for the operator. Failures throw AppError with the
// program's error numbers (53 file not found, 57 device error, 70 permission denied, ...).
class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual bool exists(const QString& path) = 0;
    // Length of an existing file in bytes.
    virtual qint64 size(const QString& path) = 0;
    // Opens an existing file for reading and closes it again.
    virtual void probeRead(const QString& path) = 0;
    // Whole content of a file, creating it empty when absent.
    virtual QByteArray readOrCreate(const QString& path) = 0;
    // Writes bytes at an offset of a file (created when absent) and makes them durable on the
    // device before returning. When it throws, the file is as it was before the call as far as
    // the device still allows.
    virtual void writeAt(const QString& path, qint64 offset, const QByteArray& bytes) = 0;
    // Creates (or truncates) a file and writes the bytes.
    virtual void writeNew(const QString& path, const QByteArray& bytes) = 0;
    virtual void remove(const QString& path) = 0;
};

} // namespace tov::platform
