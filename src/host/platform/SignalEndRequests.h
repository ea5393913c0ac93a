#pragma once

#include "platform/EndRequests.h"

#include <QObject>

#include <csignal>
#include <iterator>
#include <memory>

class QSocketNotifier;

namespace tov::platform {

// SIGTERM and SIGHUP as end requests. The signal handler only writes a byte into a pipe; the
// pipe's notifier calls the program's handler from the event loop, where anything may be done.
// One at a time per process: signal handlers are the process's.
class SignalEndRequests final : public QObject, public EndRequests {
    Q_OBJECT
public:
    SignalEndRequests();
    ~SignalEndRequests() override;
    SignalEndRequests(const SignalEndRequests&) = delete;
    SignalEndRequests& operator=(const SignalEndRequests&) = delete;

    void onEndRequested(std::function<void()> handler) override;

    static constexpr int Signals[] = {SIGTERM, SIGHUP};

private:
    void install();
    void drain();

    std::function<void()> handler_;
    int readEnd_ = -1;
    int writeEnd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
    struct sigaction previous_[std::size(Signals)] = {};
    bool installed_ = false;
};

} // namespace tov::platform
