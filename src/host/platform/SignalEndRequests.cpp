#include "platform/SignalEndRequests.h"

#include <QSocketNotifier>

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace tov::platform {

namespace {

// The one thing the signal handler reaches: the pipe it wakes the event loop through. Signal
// handlers belong to the process, so this has to as well.
std::atomic<int> wakeFd{-1};

// Only async-signal-safe calls here: one write, errno kept for the code it interrupted.
void onSignal(int /*signal*/) {
    const int saved = errno;
    const int fd = wakeFd.load();
    if (fd >= 0) {
        const char byte = 1;
        // A full pipe already holds a request; nothing is lost by dropping this one.
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
    }
    errno = saved;
}

} // namespace

SignalEndRequests::SignalEndRequests() {
    int ends[2] = {-1, -1};
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        return; // no requests then: the signals keep ending the program at once
    }
    readEnd_ = ends[0];
    writeEnd_ = ends[1];
    notifier_ = std::make_unique<QSocketNotifier>(readEnd_, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &SignalEndRequests::drain);
}

SignalEndRequests::~SignalEndRequests() {
    if (installed_) {
        for (std::size_t i = 0; i < std::size(Signals); ++i) {
            ::sigaction(Signals[i], &previous_[i], nullptr);
        }
        wakeFd.store(-1);
    }
    notifier_.reset();
    if (readEnd_ >= 0) {
        ::close(readEnd_);
        ::close(writeEnd_);
    }
}

void SignalEndRequests::onEndRequested(std::function<void()> handler) {
    handler_ = std::move(handler);
    if (!installed_ && readEnd_ >= 0) {
        install();
    }
}

void SignalEndRequests::install() {
    wakeFd.store(writeEnd_);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    // Calls the signal interrupts carry on; the request is answered from the event loop.
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(Signals); ++i) {
        ::sigaction(Signals[i], &action, &previous_[i]);
    }
    installed_ = true;
}

void SignalEndRequests::drain() {
    char bytes[64];
    while (::read(readEnd_, bytes, sizeof bytes) > 0) {
    }
    if (handler_) {
        handler_();
    }
}

} // namespace tov::platform
