#pragma once

#include "platform/AppError.h"

namespace tov::platform {

// The answer-sheet scanner as far as the entry method choice needs it: whether one can be used.
class Scanner {
public:
    // What CheckAvailable throws when no scanner is installed at all; both mean "no scanner"
    // rather than a fault.
    static constexpr int NoSourceManager = 20079;
    static constexpr int NoDataSource = 20082;

    virtual ~Scanner() = default;

    // Returns when a scanner can be used; throws AppError otherwise.
    virtual void CheckAvailable() = 0;
};

// The host without scanner support: there is never a scanner source.
class NoScanner final : public Scanner {
public:
    void CheckAvailable() override {
        throw AppError(NoDataSource, QStringLiteral("Twain no Data Source"));
    }
};

} // namespace tov::platform
