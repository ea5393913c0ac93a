#pragma once

namespace tov::platform {
struct Platform;
}

namespace tov::app {

class DataDrive;
class ProgramState;

// What every screen works with: the program-wide state, the host services and the data volume.
struct Context {
    ProgramState& state;
    platform::Platform& platform;
    DataDrive& drive;
};

} // namespace tov::app
