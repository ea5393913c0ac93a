#pragma once

#include "platform/ProfileFile.h"

#include <QString>

namespace tov::app {

// The publishers an installation can show.
enum class Publisher { Quillmark, Tessaran };

// The program's settings file, tov2sf.ini in the program folder.
class Settings {
public:
    static inline const QString FileName = QStringLiteral("tov2sf.ini");

    explicit Settings(const QString& programFolder);

    const QString& path() const { return file_.path(); }
    const QString& programFolder() const { return programFolder_; }

    // "Path"/"FilePath": the stored data folder, trimmed; "a:" when missing.
    QString FilePath() const;
    void setFilePath(const QString& folder) const;
    // "Path"/"SndPath": the sound folder, trimmed; "c:" when missing.
    QString GetINISndPath() const;
    // "Settings"/"NumLock": on when the value begins with exactly "Tru"; on when missing.
    bool NumLock() const;
    void setNumLock(bool on) const;
    // "Options"/"SystemDB": the workgroup file handed to the database engine.
    QString SystemDB() const;
    void setSystemDB(const QString& path) const;
    // "Settings"/"Publisher": which publisher this installation shows.
    Publisher publisher() const;

    // A relative folder from the settings is taken relative to the program folder.
    QString resolve(const QString& folder) const;

private:
    QString programFolder_;
    platform::ProfileFile file_;
};

} // namespace tov::app
