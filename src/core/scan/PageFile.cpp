#include "scan/PageFile.h"

#include "platform/ScanErrors.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QPdfDocument>

#include <cmath>

namespace tov::scan {

namespace scanerr = platform::scanerr;

namespace {

constexpr double MetresPerInch = 0.0254;
constexpr double PdfDpi = 200;
constexpr double PointsPerInch = 72;
// A PDF page larger than this is no answer sheet; it is rendered at this size at most.
constexpr double LargestPdfInches = 20;
// Scaled while decoding to about 200 dots per inch for an 8.5-inch page.
constexpr int DecodeWidth = 1700;
constexpr int ScaleAboveWidth = 2200;

bool isPdf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(5) == "%PDF-";
}

// After a scaled decode some formats state the resolution of the full page, others that of the
// scaled one; the one that makes a page of plausible width is taken.
void keepResolutionOfScaledPage(QImage& image, int fullWidth) {
    const int dpm = image.dotsPerMeterX();
    if (dpm <= 0 || fullWidth <= 0 || image.width() == fullWidth) {
        return;
    }
    const auto inches = [&image](double dotsPerMetre) {
        return image.width() / (dotsPerMetre * MetresPerInch);
    };
    const double scaled = double(dpm) * image.width() / fullWidth;
    if ((inches(dpm) < 6 || inches(dpm) > 12) && inches(scaled) >= 6 && inches(scaled) <= 12) {
        const int adjusted = static_cast<int>(std::lround(scaled));
        image.setDotsPerMeterX(adjusted);
        image.setDotsPerMeterY(adjusted);
    }
}

QImage onWhite(const QImage& image) {
    QImage page(image.size(), QImage::Format_RGB32);
    if (page.isNull()) {
        return page;
    }
    page.fill(Qt::white);
    QPainter painter(&page);
    painter.drawImage(0, 0, image);
    painter.end();
    page.setDotsPerMeterX(image.dotsPerMeterX());
    page.setDotsPerMeterY(image.dotsPerMeterY());
    return page;
}

} // namespace

PageFile::PageFile(const QString& path, qint64 maxPixels) : path_(path), maxPixels_(maxPixels) {
    const QFileInfo info(path);
    if (!info.exists()) {
        fail(scanerr::FileNotFound, path);
        return;
    }
    // A folder, a pipe or a device is no page file; nor is anything larger than any scan.
    if (!info.isFile() || !info.isReadable()) {
        fail(scanerr::CannotOpenFile, path);
        return;
    }
    if (info.size() > MaxFileBytes) {
        fail(scanerr::NotEnoughMemory, path);
        return;
    }
    if (isPdf(path)) {
        pdf_ = std::make_unique<QPdfDocument>();
        if (pdf_->load(path) != QPdfDocument::Error::None || pdf_->pageCount() <= 0) {
            fail(scanerr::InvalidFileFormat, path);
            return;
        }
        count_ = pdf_->pageCount();
        return;
    }
    reader_ = std::make_unique<QImageReader>(path);
    reader_->setAutoTransform(true);
    static const QList<QByteArray> formats = {"png", "jpeg", "jpg", "bmp", "tiff", "tif"};
    if (!reader_->canRead() || !formats.contains(reader_->format().toLower())) {
        fail(scanerr::InvalidFileFormat, path);
        return;
    }
    count_ = std::max(1, reader_->imageCount());
}

PageFile::~PageFile() = default;

void PageFile::fail(int number, const QString& detail) {
    error_ = number;
    detail_ = detail;
}

QImage PageFile::page(int index) {
    if (error_ != 0 && count_ == 0) {
        return {};
    }
    if (index < 0 || index >= count_) {
        fail(scanerr::InvalidParameter, path_);
        return {};
    }
    return pdf_ ? pdfPage(index) : imagePage(index);
}

QImage PageFile::imagePage(int index) {
    // Each page from a fresh reader: some formats read on from where the last page ended.
    reader_ = std::make_unique<QImageReader>(path_);
    reader_->setAutoTransform(true);
    if (index > 0 && !reader_->jumpToImage(index)) {
        fail(scanerr::ErrorReadingFile, path_);
        return {};
    }
    const QSize full = reader_->size();
    QSize decoded = full;
    if (full.isValid() && full.width() > ScaleAboveWidth &&
        reader_->supportsOption(QImageIOHandler::ScaledSize)) {
        const int k = (full.width() + DecodeWidth - 1) / DecodeWidth;
        decoded = QSize(std::max(1, full.width() / k), std::max(1, full.height() / k));
        reader_->setScaledSize(decoded);
    }
    const qint64 pixels = decoded.isValid() ? qint64(decoded.width()) * decoded.height() : 0;
    if (pixels > maxPixels_) {
        fail(scanerr::NotEnoughMemory, path_);
        return {};
    }
    const int previousLimit = QImageReader::allocationLimit();
    if (pixels > 0 && decoded == full) {
        // Large enough for the page in 32-bit colour, however the format holds it.
        const int needed = static_cast<int>((pixels * 4 >> 20) + 1);
        QImageReader::setAllocationLimit(std::max(previousLimit, needed));
    }
    QImage image = reader_->read();
    QImageReader::setAllocationLimit(previousLimit);
    if (image.isNull()) {
        fail(reader_->error() == QImageReader::UnsupportedFormatError ? scanerr::InvalidFileFormat
                                                                      : scanerr::ErrorReadingFile,
             path_);
        return {};
    }
    // A header that gives no size (or not the one decoded) let the page past the cap above.
    if (qint64(image.width()) * image.height() > maxPixels_) {
        fail(scanerr::NotEnoughMemory, path_);
        return {};
    }
    keepResolutionOfScaledPage(image, full.width());
    return image;
}

QImage PageFile::pdfPage(int index) {
    const QSizeF points = pdf_->pagePointSize(index);
    const double most = LargestPdfInches * PointsPerInch;
    if (!(points.width() > 0 && points.height() > 0)) {
        fail(scanerr::ErrorReadingFile, path_);
        return {};
    }
    double dpi = PdfDpi * std::min({1.0, most / points.width(), most / points.height()});
    const auto side = [&dpi](double pts) { return pts / PointsPerInch * dpi; };
    QSize size(std::max(1, int(std::lround(side(points.width())))),
               std::max(1, int(std::lround(side(points.height())))));
    // Like a page of any other format, one of more pixels than allowed is rendered smaller, its
    // sides rounded down so that it fits; a sliver that cannot fit is refused.
    const double pixels = side(points.width()) * side(points.height());
    if (qint64(size.width()) * size.height() > maxPixels_) {
        dpi *= std::sqrt(double(maxPixels_) / pixels);
        size =
            QSize(std::max(1, int(side(points.width()))), std::max(1, int(side(points.height()))));
        if (qint64(size.width()) * size.height() > maxPixels_) {
            fail(scanerr::NotEnoughMemory, path_);
            return {};
        }
    }
    QImage rendered = pdf_->render(index, size);
    if (rendered.isNull()) {
        fail(scanerr::ErrorReadingFile, path_);
        return {};
    }
    const int dpm = static_cast<int>(std::lround(dpi / MetresPerInch));
    rendered.setDotsPerMeterX(dpm);
    rendered.setDotsPerMeterY(dpm);
    // The page is rendered on a transparent ground.
    return onWhite(rendered);
}

} // namespace tov::scan
