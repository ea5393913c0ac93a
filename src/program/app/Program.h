#pragma once

#include "app/Context.h"
#include "app/DataDrive.h"
#include "app/ProgramState.h"
#include "platform/Platform.h"
#include "ui/frmMainMenu.h"

#include <memory>

namespace tov::app {

// The whole program: the host services, the program-wide state, the data volume and the main
// menu, wired together.
class Program {
public:
    // `content` says where the content set may come from; by default the program folder's own
    // files.
    Program(const QString& programFolder, platform::Platform platform,
            content::ContentPlaces content = {});
    ~Program();

    // Start-up, then the main menu until the program ends. Returns the exit status.
    int run();
    // Start-up only; false when the program ends without showing the menu.
    bool start();

    ProgramState& state() { return *state_; }
    platform::Platform& platform() { return platform_; }
    DataDrive& dataDrive() { return *drive_; }
    ui::frmMainMenu& mainMenu() { return *menu_; }
    app::Context context() { return {*state_, platform_, *drive_}; }

    // Shows the drive dialog and returns the drive chosen.
    QString chooseDrive();

private:
    platform::Platform platform_;
    content::ContentPlaces content_;
    std::unique_ptr<ProgramState> state_;
    std::unique_ptr<DataDrive> drive_;
    std::unique_ptr<ui::frmMainMenu> menu_;
};

} // namespace tov::app
