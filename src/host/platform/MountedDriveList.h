#pragma once

#include "platform/DriveList.h"

namespace tov::platform {

// Mounted volumes from the system's mount table, removable media first, pseudo file systems left
// out.
class MountedDriveList final : public DriveList {
public:
    QList<Drive> drives() override;
};

} // namespace tov::platform
