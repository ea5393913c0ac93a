#pragma once

#include <QString>

namespace tov::platform {

// Who holds a data volume: the program copy's process, host and user.
struct LockHolder {
    qint64 pid = 0;
    QString host;
    QString user;
};

// One writer per data volume: a lock beside the client file, held while a program has the
// volume open, so a second program (on this machine or another) never writes to it. A lock left
// by a program that died on this machine is taken over.
class VolumeLock {
public:
    enum class Result {
        Taken,       // held now (or already)
        HeldByOther, // another program has the volume; `holder` says which
        NoRoom,      // the volume is full: no lock can be written
        ReadOnly,    // the volume cannot be written at all
    };

    virtual ~VolumeLock() = default;
    // Takes the lock of a data folder. Taking another folder's lets go of the one held before,
    // but only once the new one is held.
    virtual Result take(const QString& folder, LockHolder& holder) = 0;
    // Lets go of the lock held, if any.
    virtual void release() = 0;
    // The folder whose lock is held; empty when none is.
    virtual QString heldFolder() const = 0;
};

} // namespace tov::platform
