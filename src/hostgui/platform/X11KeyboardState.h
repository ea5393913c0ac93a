#pragma once

#include "platform/KeyboardState.h"

namespace tov::platform {

// Num Lock through the X keyboard extension. Where there is no X display it reads nothing and
// sets nothing.
class X11KeyboardState final : public KeyboardState {
public:
    X11KeyboardState();
    ~X11KeyboardState() override;
    X11KeyboardState(const X11KeyboardState&) = delete;
    X11KeyboardState& operator=(const X11KeyboardState&) = delete;

    std::optional<bool> numLock() override;
    void setNumLock(bool on) override;

private:
    void* display_ = nullptr; // Display*, kept out of this header for X11's macros
    unsigned int mask_ = 0;
};

} // namespace tov::platform
