#pragma once

#include <QImage>
#include <QString>

#include <memory>

class QImageReader;
class QPdfDocument;

namespace tov::scan {

// A scanned page file, read a page at a time: PNG, JPEG, BMP, TIFF (every page of a multi-page
// file) or PDF (every page, rendered at 200 dots per inch). A scan too large to hold whole (600
// dots per inch in colour, say) is scaled down while it is decoded. Each page carries the
// resolution the file states for it in its dots per metre (the library's default when it states
// none). Anything that is not a regular file of one of these formats is refused before it is
// read.
class PageFile {
public:
    // maxPixels: pages larger than this are scaled down while decoding, or refused where the
    // format cannot do that.
    explicit PageFile(const QString& path, qint64 maxPixels = MaxDecodedPixels);
    ~PageFile();
    PageFile(const PageFile&) = delete;
    PageFile& operator=(const PageFile&) = delete;

    // 0 while all is well; otherwise the scanner vocabulary's number of what went wrong (not
    // found, cannot be opened, not a page file, cannot be read, too large) and the detail.
    int error() const { return error_; }
    QString detail() const { return detail_; }

    int pageCount() const { return count_; }
    // Page `index` (from 0); a null image, with error() set, when it cannot be read.
    QImage page(int index);

    // The largest page file taken: a 600 dots per inch colour scan of a legal page stored
    // without compression is well under it.
    static constexpr qint64 MaxFileBytes = qint64(1) << 30;
    // Pages decoded whole up to this many pixels; larger ones are scaled down while decoding,
    // or refused where the format cannot do that.
    static constexpr qint64 MaxDecodedPixels = qint64(64) << 20;

private:
    void fail(int number, const QString& detail);
    QImage imagePage(int index);
    QImage pdfPage(int index);

    QString path_;
    qint64 maxPixels_;
    int error_ = 0;
    QString detail_;
    int count_ = 0;
    std::unique_ptr<QImageReader> reader_;
    std::unique_ptr<QPdfDocument> pdf_;
};

} // namespace tov::scan
