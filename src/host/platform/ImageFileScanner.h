#pragma once

#include "platform/Scanner.h"

#include <functional>

namespace tov::platform {

// Pages scanned elsewhere (a network copier, say) and saved as PNG, JPEG, BMP, TIFF or PDF files:
// the operator picks the file, and its pages are handed on in turn.
class ImageFileScanner final : public Scanner {
public:
    // Asks the operator for a file; an empty path means the choice was cancelled.
    using PickFile = std::function<QString()>;

    explicit ImageFileScanner(PickFile pick) : pick_(std::move(pick)) {}

    // A file can always be picked.
    void CheckAvailable() override {}
    void AcquirePages(const ScanSettings& settings, const TakePage& take) override;

    // The pages of an image file in turn, each as the file holds it. A page that cannot be
    // decoded is passed over; a file of which no page can be read throws AppError.
    static void LoadPages(const QString& path, const TakePage& take);
    // The first page of an image file.
    static QImage Load(const QString& path);

private:
    PickFile pick_;
};

} // namespace tov::platform
