#pragma once

#include "platform/Scanner.h"

namespace tov::platform {

// A scanner reached through SANE. Each call opens the library and the device and closes them
// again, so nothing stays claimed while the operator works. A failing SANE call becomes an
// AppError with the scanner vocabulary's number.
class SaneScanner final : public Scanner {
public:
    // The device by its SANE name; empty takes the first one SANE finds.
    explicit SaneScanner(QString deviceName = {});

    void CheckAvailable() override;
    void AcquirePages(const ScanSettings& settings, const TakePage& take) override;

    // The vocabulary number for a SANE status.
    static int errorNumberFor(int saneStatus);

private:
    QString deviceName_;
};

} // namespace tov::platform
