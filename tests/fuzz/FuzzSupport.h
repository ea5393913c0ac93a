#pragma once

// Shared pieces of the fuzz targets: a scratch folder on a memory file system where one is
// available, and reading a whole file of the source tree once.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace tov::fuzz {

inline QByteArray bytesOf(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// A folder that lives as long as the fuzzing process; on /dev/shm when it exists, so the many
// small writes of a run cost little.
inline const QString& scratchFolder() {
    static const std::unique_ptr<QTemporaryDir> dir = [] {
        const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                                       : QDir::tempPath();
        return std::make_unique<QTemporaryDir>(base + QStringLiteral("/tovfuzz-XXXXXX"));
    }();
    static const QString path = dir->path();
    return path;
}

inline void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
        abort();
    }
}

inline QByteArray readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    return f.readAll();
}

// Splits an input into parts at a line holding only "=====": a target whose input is two files
// reads them from one.
inline QList<QByteArray> splitParts(const QByteArray& input, int parts) {
    QList<QByteArray> out;
    QByteArray rest = input;
    static const QByteArray mark = QByteArrayLiteral("\n=====\n");
    while (out.size() < parts - 1) {
        const qsizetype at = rest.indexOf(mark);
        if (at < 0) {
            break;
        }
        out << rest.left(at + 1);
        rest = rest.mid(at + mark.size());
    }
    out << rest;
    while (out.size() < parts) {
        out << QByteArray();
    }
    return out;
}

} // namespace tov::fuzz
