#pragma once

#include "content/ContentSet.h"

#include <functional>

class QString;

namespace tov::platform {
struct Platform;
}
namespace tov::ui {
class frmMainMenu;
}

namespace tov::app {

class DataDrive;
class ProgramState;

// The start-up sequence the main menu runs before it is first shown.
class StartUp {
public:
    static inline constexpr const char* DefaultUser = "ZEVTest";
    static inline constexpr const char* DefaultPassword = "qorlune";

    // `content` says where the content set may come from; by default the program folder's own
    // files.
    StartUp(ProgramState& state, platform::Platform& platform, DataDrive& drive,
            ui::frmMainMenu& menu, content::ContentPlaces content = {});

    // False when the program is to end: another copy runs, or the operator gave up.
    bool run();

    // Runs a step of the data-volume part of start-up. A missing or write-protected data disk
    // is offered again while the operator answers OK; false when the program is to end.
    bool attempt(const std::function<void()>& step);

private:
    bool findContent();
    bool setUpEngine();
    void showError(int number, const QString& description);

    ProgramState& state_;
    platform::Platform& platform_;
    DataDrive& drive_;
    ui::frmMainMenu& menu_;
    content::ContentPlaces content_;
};

} // namespace tov::app
