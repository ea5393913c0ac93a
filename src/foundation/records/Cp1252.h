#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace tov::records {

// Windows-1252, the single-byte code page of the record file, through a fixed table so the file
// reads the same on every host. A character the code page lacks is stored as "?"; each of the
// five unassigned bytes reads back as the control character of the same value, so every byte
// survives a read and a write.
QByteArray toCp1252(QStringView text);
QString fromCp1252(QByteArrayView bytes);

// The first character of a text the code page cannot store (a character outside the basic plane
// whole), or nothing when all of it can be stored. A "?" typed as such is stored.
QString FirstUnstorable(QStringView text);

} // namespace tov::records
