#pragma once

#include <QByteArray>
#include <QString>

namespace tov::platform {

// Every file the program loads is read through here. What is read is bounded and must be a
// plain file: a pipe, a device, a folder or a link to one of them is refused before any byte is
// read (a pipe would wait for ever, /dev/zero never ends), and so is a file larger than its
// format can be (a sparse file of terabytes would otherwise fill memory).

// Largest sizes of the program's files, each far above anything real.
inline constexpr qint64 MaxSettingsBytes = 1 << 20;   // tov2sf.ini (a few hundred bytes)
inline constexpr qint64 MaxClientFileBytes = 1 << 20; // the client file (51 records of 190)
inline constexpr qint64 MaxTextFileBytes = 4 << 20;   // scoring tables, texts (a few KB)
inline constexpr qint64 MaxReportBytes = 16 << 20;    // a report read back to print or copy
inline constexpr qint64 MaxDatabaseBytes = 256 << 20; // the question bank (tens of KB)

// The whole file. Throws AppError: FileNotFound (53) or PermissionDenied (70) as the system
// says, BadFileName (52) for anything but a regular file, PathFileAccess (75) when larger than
// maxBytes. The description is short and names no path; callers add their own context.
QByteArray ReadRegularFile(const QString& path, qint64 maxBytes);

// The same checks without reading, for a file another library opens itself.
void CheckRegularFile(const QString& path, qint64 maxBytes);

} // namespace tov::platform
