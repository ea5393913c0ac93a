#pragma once

#include "platform/VolumeIdentity.h"

namespace tov::platform {

// File system id and device of the volume, and the data folder's own inode, so that another
// stick, another mounted image or a folder made anew under the same path reads as another disk.
class PosixVolumeIdentity final : public VolumeIdentity {
public:
    QString read(const QString& folder) override;
};

} // namespace tov::platform
