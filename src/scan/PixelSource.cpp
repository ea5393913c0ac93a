#include "scan/PixelSource.h"

#include <algorithm>

namespace tov::scan {

int PixelSource::countNotWhite(int x, int y, int w, int h) const {
    int count = 0;
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            count += isWhite(x + i, y + j) ? 0 : 1;
        }
    }
    return count;
}

ImagePixels::ImagePixels(const QImage& image) {
    switch (image.format()) {
    case QImage::Format_Grayscale8:
        image_ = image;
        eightBit_ = true;
        whiteValue_[255] = true;
        break;
    case QImage::Format_Indexed8: {
        image_ = image;
        eightBit_ = true;
        const QList<QRgb> table = image.colorTable();
        for (int v = 0; v < static_cast<int>(table.size()) && v < 256; ++v) {
            whiteValue_[static_cast<std::size_t>(v)] = (table[v] & 0xFFFFFFU) == 0xFFFFFFU;
        }
        break;
    }
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
        image_ = image;
        break;
    default:
        image_ = image.convertToFormat(QImage::Format_RGB32);
        break;
    }
}

bool ImagePixels::whiteAt(int x, int y) const {
    if (eightBit_) {
        return whiteValue_[image_.constScanLine(y)[x]];
    }
    const auto* line = reinterpret_cast<const QRgb*>(image_.constScanLine(y));
    return (line[x] & 0xFFFFFFU) == 0xFFFFFFU;
}

bool ImagePixels::isWhite(int x, int y) const {
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) {
        return false;
    }
    return whiteAt(x, y);
}

int ImagePixels::countNotWhite(int x, int y, int w, int h) const {
    if (w <= 0 || h <= 0) {
        return 0;
    }
    // Wide arithmetic: a window far off the page must not wrap around.
    const qint64 x0 = x;
    const qint64 y0 = y;
    const qint64 x1 = x0 + w; // exclusive
    const qint64 y1 = y0 + h;
    const qint64 cx0 = std::max<qint64>(x0, 0);
    const qint64 cy0 = std::max<qint64>(y0, 0);
    const qint64 cx1 = std::min<qint64>(x1, image_.width());
    const qint64 cy1 = std::min<qint64>(y1, image_.height());
    const qint64 total = qint64(w) * h;
    if (cx0 >= cx1 || cy0 >= cy1) {
        return static_cast<int>(total);
    }
    qint64 white = 0;
    for (qint64 j = cy0; j < cy1; ++j) {
        const int row = static_cast<int>(j);
        if (eightBit_) {
            const uchar* line = image_.constScanLine(row);
            for (qint64 i = cx0; i < cx1; ++i) {
                white += whiteValue_[line[i]] ? 1 : 0;
            }
        } else {
            const auto* line = reinterpret_cast<const QRgb*>(image_.constScanLine(row));
            for (qint64 i = cx0; i < cx1; ++i) {
                white += (line[i] & 0xFFFFFFU) == 0xFFFFFFU ? 1 : 0;
            }
        }
    }
    return static_cast<int>(total - white);
}

} // namespace tov::scan
