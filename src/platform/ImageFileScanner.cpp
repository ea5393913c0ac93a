#include "platform/ImageFileScanner.h"

#include "platform/ScanErrors.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include <cmath>

namespace tov::platform {

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kMetresPerInch = 0.0254;
// A sheet is 8.5 inches wide; a resolution that makes the page narrower or wider than these is
// a default some program wrote, not the scan's.
constexpr double kNarrowestInches = 6.0;
constexpr double kWidestInches = 12.0;

[[noreturn]] void fail(int number, const QString& path) {
    throw AppError(number, ErrorText(number) + QStringLiteral(" (") + path + QLatin1Char(')'));
}

// The dots per inch the file states; 0 when it states none. A file without a resolution is
// given the library's default, which tells nothing about the scan.
double statedDpi(const QImage& image) {
    static const int libraryDefault = QImage(1, 1, QImage::Format_RGB32).dotsPerMeterX();
    const int dpm = image.dotsPerMeterX();
    if (dpm <= 0 || dpm == libraryDefault) {
        return 0;
    }
    return dpm * kMetresPerInch;
}

QImage onWhite(const QImage& image) {
    if (!image.hasAlphaChannel()) {
        return image.convertToFormat(QImage::Format_RGB32);
    }
    QImage page(image.size(), QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    painter.drawImage(0, 0, image);
    return page;
}

} // namespace

QImage ImageFileScanner::Acquire(const ScanSettings& settings) {
    const QString path = pick_ ? pick_() : QString();
    if (path.isEmpty()) {
        throw AppError(scanerr::OperationCancelled, ErrorText(scanerr::OperationCancelled));
    }
    return Load(path, settings);
}

QImage ImageFileScanner::Load(const QString& path, const ScanSettings& settings) {
    const QFileInfo info(path);
    if (!info.exists()) {
        fail(scanerr::FileNotFound, path);
    }
    if (!info.isFile() || !info.isReadable()) {
        fail(scanerr::CannotOpenFile, path);
    }
    QImageReader reader(path);
    reader.setAutoTransform(true);
    static const QList<QByteArray> formats = {"png", "jpeg", "jpg", "bmp", "tiff", "tif"};
    if (!reader.canRead() || !formats.contains(reader.format().toLower())) {
        fail(scanerr::InvalidFileFormat, path);
    }
    const QImage read = reader.read();
    if (read.isNull()) {
        fail(reader.error() == QImageReader::UnsupportedFormatError ? scanerr::InvalidFileFormat
                                                                    : scanerr::ErrorReadingFile,
             path);
    }
    const QImage page = onWhite(read);

    const double dpi = statedDpi(page);
    const double inches = dpi > 0 ? page.width() / dpi : 0;
    double factor = 0;
    if (inches >= kNarrowestInches && inches <= kWidestInches) {
        factor = settings.Resolution / dpi;
    } else {
        const double width = settings.FrameTwips.width() / kTwipsPerInch * settings.Resolution;
        factor = width / page.width();
    }
    QImage scaled = std::abs(factor - 1.0) < 1e-6
                        ? page
                        : page.scaled(std::max(1, int(std::lround(page.width() * factor))),
                                      std::max(1, int(std::lround(page.height() * factor))),
                                      Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (scaled.isNull()) {
        fail(scanerr::NotEnoughMemory, path);
    }
    const int dpm = static_cast<int>(std::lround(settings.Resolution / kMetresPerInch));
    scaled.setDotsPerMeterX(dpm);
    scaled.setDotsPerMeterY(dpm);
    return scaled;
}

} // namespace tov::platform
