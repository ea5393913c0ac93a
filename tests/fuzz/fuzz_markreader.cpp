// The mark reader on any page image and any "ScanItem" table. The input holds both, packed so a
// real page fits in a few kilobytes:
//   width and height (two bytes each), the row count (one byte), then per row r, theta, dx, dy
//   (doubles), DimX, DimY (16-bit) and the location name (a length byte and its bytes), then
//   the page as runs of grey (a value byte, a 16-bit length), row by row; the rest is white.
// mkmarkseed.py writes a seed: a sheet with both boxes, a full table and some marks.
// Any field may hold anything: NaN, infinity, huge or negative sizes.

#include "fuzz/FuzzSupport.h"

#include "platform/AppError.h"
#include "scan/MarkReader.h"
#include "scan/ScanItems.h"

#include <QDate>
#include <QImage>

#include <cstring>

using namespace tov;

namespace {

class Reader {
public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool more() const { return pos_ < size_; }
    template <typename T> T take() {
        T value{};
        const size_t n = std::min(sizeof(T), size_ - pos_);
        std::memcpy(&value, data_ + pos_, n);
        pos_ += n;
        return value;
    }
    QString name() {
        const size_t n = std::min<size_t>(take<uint8_t>() % 16, size_ - pos_);
        const QString s = QString::fromLatin1(reinterpret_cast<const char*>(data_ + pos_),
                                              static_cast<qsizetype>(n));
        pos_ += n;
        return s;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Reader in(data, size);
    // Up to a legal-size page at 100 dpi with some margin.
    const int width = 1 + in.take<uint16_t>() % 1000;
    const int height = 1 + in.take<uint16_t>() % 1500;
    // The reader walks 113 rows; a few more or fewer are damage too.
    const int rows = in.take<uint8_t>() % 128;
    std::vector<scan::ScanItemRow> items;
    for (int n = 0; n < rows; ++n) {
        scan::ScanItemRow row;
        row.r = in.take<double>();
        row.theta = in.take<double>();
        row.dx = in.take<double>();
        row.dy = in.take<double>();
        row.DimX = in.take<int16_t>();
        row.DimY = in.take<int16_t>();
        row.LocationName = in.name();
        items.push_back(row);
    }
    QImage page(width, height, QImage::Format_Grayscale8);
    page.fill(255);
    qsizetype at = 0;
    const qsizetype total = qsizetype(width) * height;
    while (in.more() && at < total) {
        const uint8_t grey = in.take<uint8_t>();
        const qsizetype run = std::min<qsizetype>(qsizetype(in.take<uint16_t>()) + 1, total - at);
        for (qsizetype i = 0; i < run; ++i, ++at) {
            page.scanLine(static_cast<int>(at / width))[at % width] = grey;
        }
    }
    scan::VectorScanItems table(items);
    try {
        (void)scan::ReadAnswerSheet(page, table, QDate(2026, 12, 8));
    } catch (const AppError&) {
        // A refusal with a message is an answer too.
    }
    return 0;
}
