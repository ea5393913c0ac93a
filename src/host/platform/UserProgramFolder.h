#pragma once

#include <QString>
#include <QStringList>

namespace tov::platform {

// An installed program folder is shared by every user of the machine and cannot be written, so
// each user gets a program folder of their own for the files the program writes (its settings,
// reports, batch copies, scan images). Everything else stays in the installed folder and is
// reached through links, so a package upgrade reaches every user at their next start while
// their settings stay theirs.

// The file a package puts in the program folder it installs; root can write there, but must not.
inline const QString InstalledMarker = QStringLiteral("INSTALLED");

// The name of a user's program folder in their data folder ($XDG_DATA_HOME).
inline const QString UserFolderName = QStringLiteral("tov2sf");

// Whether a program run from `programFolder` keeps its files in a folder of the user's: the
// folder is marked as installed, or cannot be written.
bool NeedsUserFolder(const QString& programFolder);

// Makes or brings up to date the user's program folder: created owner-only, the files named in
// `copied` (the settings) copied from the installed ones the first time, a link to every other
// installed file and folder (executables aside), links to installed files that have gone removed. A
// file of the user's own under an installed name is left as it is. Throws AppError when the folder
// cannot be made.
void PrepareUserFolder(const QString& installedFolder, const QString& userFolder,
                       const QStringList& copied);

// The program folder a run from `installedFolder` works in: the installed folder itself when it
// can be written, else the user's own under `userDataFolder`, prepared. Throws AppError.
QString ProgramFolderFor(const QString& installedFolder, const QString& userDataFolder,
                         const QStringList& copied);

} // namespace tov::platform
