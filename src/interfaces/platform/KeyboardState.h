#pragma once

#include <optional>

namespace tov::platform {

// Lock-key state of the keyboard.
class KeyboardState {
public:
    virtual ~KeyboardState() = default;
    // The Num Lock state, or nothing where the platform cannot tell.
    virtual std::optional<bool> numLock() = 0;
    virtual void setNumLock(bool on) = 0;
};

} // namespace tov::platform
