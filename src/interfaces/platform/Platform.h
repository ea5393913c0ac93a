#pragma once

#include "platform/Clock.h"
#include "platform/DriveList.h"
#include "platform/EndRequests.h"
#include "platform/FileSystem.h"
#include "platform/KeyboardState.h"
#include "platform/MessageBoxes.h"
#include "platform/Printer.h"
#include "platform/Scanner.h"
#include "platform/SingleInstance.h"
#include "platform/VolumeIdentity.h"
#include "platform/VolumeLock.h"
#include "platform/WavePlayer.h"

#include <memory>

namespace tov::platform {

// Everything the program asks of the host, one implementation each: the real ones in the
// program, scripted fakes in the tests.
struct Platform {
    std::unique_ptr<FileSystem> fs;
    std::unique_ptr<VolumeIdentity> volumes;
    std::unique_ptr<VolumeLock> lock;
    std::unique_ptr<MessageBoxes> boxes;
    std::unique_ptr<KeyboardState> keyboard;
    std::unique_ptr<SingleInstance> instance;
    std::unique_ptr<Clock> clock;
    std::unique_ptr<DriveList> drives;
    std::unique_ptr<WavePlayer> wave;
    std::unique_ptr<Scanner> scanner;
    // Reports go to the system's default printer.
    std::unique_ptr<Printer> printer;
    std::unique_ptr<EndRequests> endRequests;
};

// The host's own implementations. Needs a QApplication.
Platform makeHostPlatform(const QString& programFolder, const QString& appTitle);

} // namespace tov::platform
