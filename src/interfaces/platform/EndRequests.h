#pragma once

#include <functional>

namespace tov::platform {

// The host asking the program to end: a logout, a shutdown or a kill. The program then ends as
// it does by its own Exit, its screens' work cancelled and its confidential files removed.
class EndRequests {
public:
    virtual ~EndRequests() = default;
    // What the program does when asked. It runs on the event loop, never in a signal handler;
    // until it is given, the host's default (ending at once) stands.
    virtual void onEndRequested(std::function<void()> handler) = 0;
};

} // namespace tov::platform
