#pragma once

#include <QString>

namespace tov::platform {

// Identity of the volume that holds a folder: it changes when another medium is inserted or
// another file system is mounted at the same place.
class VolumeIdentity {
public:
    virtual ~VolumeIdentity() = default;
    // Throws AppError; number 71 (drive not ready) when nothing is there.
    virtual QString read(const QString& folder) = 0;
};

} // namespace tov::platform
