#include "platform/Platform.h"

#include "app/Settings.h"

#include "platform/LocalSingleInstance.h"
#include "platform/MountedDriveList.h"
#include "platform/PosixFileSystem.h"
#include "platform/PosixVolumeIdentity.h"
#include "platform/QtMessageBoxes.h"
#include "platform/QtPrinter.h"
#include "platform/QtVolumeLock.h"
#include "platform/QtWavePlayer.h"
#include "platform/SaneScanner.h"
#include "platform/ScanFileDialog.h"
#include "platform/SignalEndRequests.h"
#include "platform/X11KeyboardState.h"

namespace tov::platform {

Platform makeHostPlatform(const QString& programFolder, const QString& appTitle) {
    Platform p;
    p.fs = std::make_unique<PosixFileSystem>();
    p.volumes = std::make_unique<PosixVolumeIdentity>();
    p.lock = std::make_unique<QtVolumeLock>();
    p.boxes = std::make_unique<QtMessageBoxes>(appTitle);
    p.keyboard = std::make_unique<X11KeyboardState>();
    p.instance = std::make_unique<LocalSingleInstance>(programFolder);
    p.clock = std::make_unique<SystemClock>();
    p.drives = std::make_unique<MountedDriveList>();
    p.wave = std::make_unique<QtWavePlayer>();
    // The settings choose the scanner once, at start.
    const app::Settings settings(programFolder);
    if (settings.scanSource() == app::ScanSource::ImageFile) {
        p.scanner = std::make_unique<ImageFileScanner>(ScanFileDialog(settings.scanFolder()));
    } else {
        p.scanner = std::make_unique<SaneScanner>(settings.scanDevice());
    }
    p.printer = std::make_unique<QtPrinter>();
    p.endRequests = std::make_unique<SignalEndRequests>();
    return p;
}

} // namespace tov::platform
