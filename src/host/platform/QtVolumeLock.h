#pragma once

#include "platform/VolumeLock.h"

#include <memory>

class QLockFile;

namespace tov::platform {

// The lock as a QLockFile named after the client file ("DATA401.TOV.lock"). It records the
// process and the host, and its owner is the user; a lock whose process is gone on this host is
// stale and taken over, one held on another host never is.
class QtVolumeLock final : public VolumeLock {
public:
    static inline const QString LockFileName = QStringLiteral("DATA401.TOV.lock");

    QtVolumeLock();
    ~QtVolumeLock() override;
    QtVolumeLock(const QtVolumeLock&) = delete;
    QtVolumeLock& operator=(const QtVolumeLock&) = delete;

    Result take(const QString& folder, LockHolder& holder) override;
    void release() override;
    QString heldFolder() const override { return folder_; }

    // The user this program runs as, for the lock's record.
    static QString currentUser();

private:
    std::unique_ptr<QLockFile> lock_;
    QString folder_;
};

} // namespace tov::platform
