#pragma once

#include <QByteArray>
#include <QRegularExpression>
#include <QString>

namespace tov::platform {

// The files in the program folder that hold a client's data (reports, batch copies, scan images)
// are made and removed only here. A program folder may be shared with other local users, who
// could plant a link or a file of their own under one of the names.

// Writes the bytes as a new owner-only (0600) file created by this call, which then takes the
// name's place: a link or file already under the name is replaced, never written through. The
// file is either complete or not there under the name. Throws AppError (number by the system's
// error, the system's text as description).
void WriteConfidentialFile(const QString& path, const QByteArray& bytes);

// Makes an empty owner-only (0600) file under the name, durable with its folder entry before
// returning. False, with nothing touched, when anything is already there under the name; a link
// is never followed. Throws AppError as WriteConfidentialFile does.
bool CreateConfidentialFile(const QString& path);

// Removes the name itself (a link, never what it points to). False only when something is there
// and stays.
bool RemoveConfidentialFile(const QString& path);

// Removes every entry of the folder whose name matches the whole of `names`, and what a write
// to such a name cut short left behind.
void RemoveConfidentialFiles(const QString& folder, const QRegularExpression& names);

} // namespace tov::platform
