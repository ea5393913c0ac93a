// The mark reader on any page image and any "ScanItem" table. The input holds both, packed so a
// whole page fits in a few kilobytes:
//   width and height (two bytes each), the image format (one byte), the cell size (one byte),
//   the row count (one byte), then per row r, theta, dx, dy (doubles), DimX, DimY (16-bit) and
//   the location name (a length byte and its bytes), then the page as runs of square cells of
//   one grey (a value byte, a run-length byte), row of cells by row of cells; the rest is white.
// mkmarkseed.py writes a seed: a sheet with both boxes, a full table and some marks.
// Any field may hold anything: NaN, infinity, huge or negative sizes.
//
// The page is drawn into one buffer kept for the whole run and handed to the reader as a QImage
// over that buffer, so an execution costs the reading and not a page-sized allocation.

#include "fuzz/FuzzSupport.h"

#include "platform/AppError.h"
#include "scan/MarkReader.h"
#include "scan/PreparedPage.h"
#include "scan/ScanItems.h"

#include <QDate>
#include <QImage>

#include <algorithm>
#include <cstring>
#include <vector>

using namespace tov;

namespace {

constexpr int MaxWidth = 1000;
constexpr int MaxHeight = 1500;

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

uchar* pageBuffer() {
    static std::vector<uchar> buffer(size_t(MaxWidth) * MaxHeight);
    return buffer.data();
}

// The cells of the input drawn into the page buffer: each cell a size x size square of its grey.
// Runs are drawn whole, a row of cells at a time, so the work goes with the runs and rows and
// not with the pixels, and nothing page-sized is allocated.
void drawCells(Reader& in, int width, int height, int size) {
    const auto columns = static_cast<size_t>((width + size - 1) / size);
    const auto cellSide = static_cast<size_t>(size);
    std::vector<uchar> line(static_cast<size_t>(width));
    uint8_t grey = 255;
    size_t left = 0; // cells still to come of the current run
    uchar* page = pageBuffer();
    for (int top = 0; top < height; top += size) {
        size_t at = 0; // cells of this row drawn
        while (at < columns) {
            if (left == 0) {
                if (in.more()) {
                    grey = in.take<uint8_t>();
                    left = size_t(in.take<uint8_t>()) + 1;
                } else {
                    grey = 255; // past the input: white
                    left = columns;
                }
            }
            const size_t n = std::min(left, columns - at);
            const size_t from = at * cellSide;
            const size_t to = std::min((at + n) * cellSide, line.size());
            std::memset(line.data() + from, grey, to - from);
            at += n;
            left -= n;
        }
        for (int y = top; y < std::min(height, top + size); ++y) {
            std::memcpy(page + size_t(y) * MaxWidth, line.data(), line.size());
        }
    }
}

// The page in the form the input chose: eight-bit grey (as prepared pages are), eight-bit with a
// colour table in which some other value is white too, or, for small pages, 32-bit colour.
QImage pageImage(int width, int height, uint8_t format) {
    QImage grey(pageBuffer(), width, height, MaxWidth, QImage::Format_Grayscale8);
    switch (format % 4) {
    case 2: {
        QImage indexed(pageBuffer(), width, height, MaxWidth, QImage::Format_Indexed8);
        QList<QRgb> table(256);
        for (int v = 0; v < 256; ++v) {
            table[v] = qRgb(v, v, v);
        }
        table[format / 4] = qRgb(255, 255, 255);
        indexed.setColorTable(table);
        return indexed;
    }
    case 3:
        if (width * height <= 200 * 200) {
            return grey.convertToFormat(QImage::Format_RGB32);
        }
        return grey;
    default:
        return grey;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Reader in(data, size);
    // Up to a legal-size page at 100 dpi with some margin.
    const int width = 1 + in.take<uint16_t>() % MaxWidth;
    const int height = 1 + in.take<uint16_t>() % MaxHeight;
    const auto format = in.take<uint8_t>();
    const int cell = 1 + in.take<uint8_t>() % 16;
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
    drawCells(in, width, height, cell);
    const QImage page = pageImage(width, height, format);
    scan::VectorScanItems table(items);
    try {
        // The page as it is, at 100 dots per inch: the reader's own work, not a resampling.
        (void)scan::ReadAnswerSheet(scan::PreparePage(page, 100), table, QDate(2026, 12, 8));
    } catch (const AppError&) {
        // A refusal with a message is an answer too.
    }
    return 0;
}
