#pragma once

#include "app/Publisher.h"
#include "platform/ProfileFile.h"

#include <QString>

namespace tov::app {

// The publishers an installation can show.

// Where answer sheets come from: a scanner through SANE, or image files scanned elsewhere.
enum class ScanSource { Sane, ImageFile };

// The program's settings file, tov2sf.ini in the program folder.
class Settings {
public:
    static inline const QString FileName = QStringLiteral("tov2sf.ini");
    // A folder or file setting holds any path the system allows (network-share mounts are
    // long); the other settings keep their classic buffer sizes.
    static constexpr int PathBuffer = 4096 + 1;

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
    // "Path"/"ContentFolder": where the agency's content sets are installed for the whole
    // machine (read from an installed program's own settings); /var/lib/tov2sf/content when
    // missing.
    QString contentFolder() const;
    // "Settings"/"ScanSource": "File" takes answer sheets from image files; SANE otherwise.
    ScanSource scanSource() const;
    // "Settings"/"ScanDevice": the SANE device to scan with; empty takes the first one found.
    QString scanDevice() const;
    // "Settings"/"ScanFolder": where the image file choice opens; empty for the home folder.
    QString scanFolder() const;
    // "Settings"/"ScanTrace": the mark reader's trace messages, on when the value begins with
    // exactly "Tru"; off when missing.
    bool scanTrace() const;

    // "Settings"/"AccessCode": the supervisor's access code as a salted digest; empty when the
    // agency has not changed it.
    QString accessCode() const;
    void setAccessCode(const QString& stored) const;
    // "Settings"/"AccessCodeRequired": the agency sets its own access code at the first start and
    // the code given with the program is never accepted; on when the value begins with exactly
    // "Tru", off when missing (a program folder of the build's or a portable copy).
    bool accessCodeRequired() const;
    // "Settings"/"WrongAccessCodes": wrong codes in a row so far, kept so that restarting the
    // program does not undo the wait they impose; 0 when missing or not a count.
    int wrongAccessCodes() const;
    void setWrongAccessCodes(int count) const;

    // The settings file's bytes as they are now, and putting them back: a start-up the operator
    // gives up leaves the file as it found it. restore() throws AppError when it cannot write.
    QByteArray snapshot() const;
    void restore(const QByteArray& bytes) const;

    // A relative folder from the settings is taken relative to the program folder.
    QString resolve(const QString& folder) const;

private:
    QString programFolder_;
    platform::ProfileFile file_;
};

} // namespace tov::app
