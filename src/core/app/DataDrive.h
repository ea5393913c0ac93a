#pragma once

#include <QString>

#include <functional>

namespace tov::platform {
class FileSystem;
class MessageBoxes;
class VolumeIdentity;
class VolumeLock;
} // namespace tov::platform

namespace tov::app {

class ProgramState;

// Choosing the data folder, checking and loading it, and the guard that every write and every
// work sequence runs first: the volume must still be the one accepted, with as many records as
// the client table.
class DataDrive {
public:
    struct Services {
        platform::FileSystem& fs;
        platform::VolumeIdentity& volumes;
        platform::MessageBoxes& boxes;
        // One writer per volume: the volume is locked before anything is read or written.
        platform::VolumeLock& lock;
        // Shows the drive dialog and returns the drive chosen, empty when none was.
        std::function<QString()> chooseDrive;
        // Rebuilds the main menu's client list after a change of data folder.
        std::function<void()> refreshClientList;
    };

    DataDrive(ProgramState& state, Services services);

    // Chooses, checks and loads the data folder. Returns false when the operator gave up and the
    // program must end (at start-up), or when even the previous folder could not be reloaded.
    bool SelectDataDrive(bool startupMode);
    // DataPath = folder, the volume locked, the client file loaded, the write test made. Throws
    // AppError: VolumeInUse when another program has the volume. A full volume opens all the
    // same (volumeFull() says so): its clients can be viewed and printed.
    void OpenDataDisk(const QString& folder);
    bool volumeFull() const { return full_; }
    // The identity of the volume that holds the data folder; empty when nothing is there.
    QString ReadDiskIdentity();
    // The guard. On false the program has been told to end and nothing may be written.
    bool CheckDataDisk();

    static QString dataDiskChangedText();
    static QString dataDiskNotFoundText();
    static QString writeProtectedText();
    static QString inUseText(const QString& user, const QString& host);
    static QString fullText();

private:
    enum class Outcome { Accepted, Another, GiveUp };
    Outcome tryCandidate(const QString& candidate, bool startupMode);
    int recordCountOnDisk();
    void removeIfThere(const QString& path);
    bool confirmSame(const std::function<bool()>& same);

    ProgramState& state_;
    Services services_;
    bool full_ = false;
};

} // namespace tov::app
