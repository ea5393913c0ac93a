#pragma once

// Whole files read and written in one go, for tests that compare what reached a file.

#include <QByteArray>
#include <QFile>
#include <QString>

namespace tov::fakes {

// The file's bytes; empty when it cannot be read.
inline QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        f.write(bytes);
    }
}

} // namespace tov::fakes
