#pragma once

#include "platform/Scanner.h"

#include <chrono>

namespace tov::platform {

// A scanner reached through SANE. Each call opens the library and the device and closes them
// again, so nothing stays claimed while the operator works. A failing SANE call becomes an
// AppError with the scanner vocabulary's number.
//
// The library is used on a thread of its own while the caller waits, so that a device that
// stops answering cannot hold the program: after `silence` without an answer the call fails as
// a device I/O error would, and leaves that thread to end by itself. Until it has, the library
// is not used again; a call that waits `silence` for it fails as a busy device.
class SaneScanner final : public Scanner {
public:
    // Long enough for a lamp to warm up or a feeder to draw the sheet in.
    static constexpr std::chrono::milliseconds DefaultSilence{60000};

    // The device by its SANE name; empty takes the first one SANE finds.
    explicit SaneScanner(QString deviceName = {},
                         std::chrono::milliseconds silence = DefaultSilence);

    void CheckAvailable() override;
    void AcquirePages(const ScanSettings& settings, const TakePage& take) override;

    // The vocabulary number for a SANE status.
    static int errorNumberFor(int saneStatus);

private:
    QString deviceName_;
    std::chrono::milliseconds silence_;
};

} // namespace tov::platform
