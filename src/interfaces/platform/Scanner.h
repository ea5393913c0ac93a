#pragma once

#include "platform/AppError.h"

#include <QImage>
#include <QRect>

#include <functional>

namespace tov::platform {

// What one acquisition asks of the scanner: one page, the sheet's area in twips from its top-left
// corner, 8 bits per colour, in colour, at 100 dots per inch.
struct ScanSettings {
    int MaxPages = 1;
    QRect FrameTwips{1, 1, 12240, 20160}; // 8.5 by 14 inches
    int Bits = 8;
    bool Colour = true;
    int Resolution = 100;
};

// The answer-sheet scanner. Failures are AppErrors numbered from the scanner vocabulary
// 20000..20090, whose texts ErrorText gives.
class Scanner {
public:
    // What CheckAvailable throws when no scanner is installed at all; both mean "no scanner"
    // rather than a fault.
    static constexpr int NoSourceManager = 20079;
    static constexpr int NoDataSource = 20082;

    virtual ~Scanner() = default;

    // Receives the pages of one acquisition in turn; true when the page was the one wanted, and
    // no more are needed.
    using TakePage = std::function<bool(const QImage&)>;

    // Returns when a scanner can be used; throws AppError otherwise.
    virtual void CheckAvailable() = 0;
    // Acquires one scan and hands its pages to `take` in order, until it takes one: each page
    // as the device or file gives it, in colour or grey, with the resolution it was scanned at
    // in its dots per metre (the library's default when nothing says). Throws AppError when no
    // page comes.
    virtual void AcquirePages(const ScanSettings& settings, const TakePage& take) = 0;
    // The first page of one acquisition.
    QImage Acquire(const ScanSettings& settings) {
        QImage first;
        AcquirePages(settings, [&first](const QImage& page) {
            first = page;
            return true;
        });
        return first;
    }
};

// The host without scanner support: there is never a scanner source.
class NoScanner final : public Scanner {
public:
    void CheckAvailable() override { throw AppError(NoDataSource, noSource()); }
    void AcquirePages(const ScanSettings& /*settings*/, const TakePage& /*take*/) override {
        throw AppError(NoDataSource, noSource());
    }

private:
    static QString noSource() { return QStringLiteral("Twain no Data Source"); }
};

} // namespace tov::platform
