#pragma once

#include "platform/Scanner.h"

#include <functional>

namespace tov::platform {

// Pages scanned elsewhere (a network copier, say) and saved as PNG, JPEG, BMP or TIFF files:
// the operator picks the file, and its page is scaled to the resolution asked for.
class ImageFileScanner final : public Scanner {
public:
    // Asks the operator for a file; an empty path means the choice was cancelled.
    using PickFile = std::function<QString()>;

    explicit ImageFileScanner(PickFile pick) : pick_(std::move(pick)) {}

    // A file can always be picked.
    void CheckAvailable() override {}
    QImage Acquire(const ScanSettings& settings) override;

    // The page of an image file in colour at the settings' resolution: scaled by the file's own
    // resolution, or to the width of the scan area when the file gives none (or one that would
    // make the page implausibly narrow or wide).
    static QImage Load(const QString& path, const ScanSettings& settings);

private:
    PickFile pick_;
};

} // namespace tov::platform
