#pragma once

#include <QString>

#include <functional>

namespace tov::platform {

// Keeps one running copy of the program per program folder.
class SingleInstance {
public:
    virtual ~SingleInstance() = default;
    // True when another copy already runs. Otherwise this copy becomes the running one and
    // will be asked to come to the front by later starts.
    virtual bool otherCopyRunning() = 0;
    // Asks the running copy, whose window has the given title, to restore itself and come to
    // the front.
    virtual void restoreOtherCopy(const QString& title) = 0;
    // What this copy does when a later start asks it to come to the front.
    virtual void onRestoreRequested(std::function<void()> handler) = 0;
};

} // namespace tov::platform
