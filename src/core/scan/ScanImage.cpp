#include "scan/ScanImage.h"

#include "platform/AppError.h"
#include "platform/ConfidentialFile.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tov::scan {

namespace {

// The settings the procedure prepares a page with.
constexpr int SeparatedPlane = 2; // plane 2 of separation mode 1: yellow
constexpr int ContrastSetting = 800;
constexpr int LastWhiteValue = 75; // lookup table: 0..75 white, 76..255 black

static_assert(SeparatedPlane == 2, "the yellow plane is the complement of blue");

// Output byte for each possible blue value.
std::array<uchar, 256> blueToPrepared() {
    std::array<uchar, 256> table{};
    for (int blue = 0; blue < 256; ++blue) {
        const int yellow = 255 - blue;
        const int contrasted = ContrastValue(yellow, ContrastSetting);
        table[static_cast<std::size_t>(blue)] = contrasted <= LastWhiteValue ? 255 : 0;
    }
    return table;
}

void putLe16(QByteArray& b, int v) {
    b.append(char(v & 0xFF));
    b.append(char((v >> 8) & 0xFF));
}

void putLe32(QByteArray& b, quint32 v) {
    for (int i = 0; i < 4; ++i) {
        b.append(char((v >> (8 * i)) & 0xFF));
    }
}

} // namespace

int ContrastValue(int v, int c) {
    c = std::clamp(c, -1000, 1000);
    double factor = 1.0;
    if (c >= 1000) {
        return v < 128 ? 0 : 255; // infinite stretch: a hard split at mid-grey
    }
    factor = c > 0 ? 1000.0 / (1000.0 - c) : (1000.0 + c) / 1000.0;
    const double out = 128.0 + (v - 128.0) * factor;
    return std::clamp(static_cast<int>(std::lround(out)), 0, 255);
}

QImage PrepareScan(const QImage& raw) {
    if (raw.isNull()) {
        return {};
    }
    static_assert(sizeof(QRgb) == 4);
    const std::array<uchar, 256> table = blueToPrepared();
    QImage out(raw.size(), QImage::Format_Grayscale8);
    const int w = raw.width();
    const int h = raw.height();

    switch (raw.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        for (int y = 0; y < h; ++y) {
            const auto* in = reinterpret_cast<const QRgb*>(raw.constScanLine(y));
            uchar* o = out.scanLine(y);
            for (int x = 0; x < w; ++x) {
                o[x] = table[qBlue(in[x])];
            }
        }
        return out;
    case QImage::Format_RGB888:
        for (int y = 0; y < h; ++y) {
            const uchar* in = raw.constScanLine(y);
            uchar* o = out.scanLine(y);
            for (int x = 0; x < w; ++x) {
                o[x] = table[in[3 * x + 2]];
            }
        }
        return out;
    case QImage::Format_Grayscale8:
        for (int y = 0; y < h; ++y) {
            const uchar* in = raw.constScanLine(y);
            uchar* o = out.scanLine(y);
            for (int x = 0; x < w; ++x) {
                o[x] = table[in[x]];
            }
        }
        return out;
    default:
        return PrepareScan(raw.convertToFormat(QImage::Format_RGB32));
    }
}

bool SaveEightBitBmp(const QImage& image, const QString& path) {
    if (image.isNull()) {
        return false;
    }
    const QImage grey = image.format() == QImage::Format_Grayscale8
                            ? image
                            : image.convertToFormat(QImage::Format_Grayscale8);
    const int w = grey.width();
    const int h = grey.height();
    const int stride = (w + 3) / 4 * 4;
    const quint32 paletteSize = 256 * 4;
    const quint32 offset = 14 + 40 + paletteSize;
    const quint32 dataSize = quint32(stride) * quint32(h);

    QByteArray b;
    b.reserve(int(offset + dataSize));
    b.append("BM", 2);
    putLe32(b, offset + dataSize);
    putLe32(b, 0);
    putLe32(b, offset);
    putLe32(b, 40); // BITMAPINFOHEADER
    putLe32(b, quint32(w));
    putLe32(b, quint32(h)); // positive: rows stored bottom-up
    putLe16(b, 1);
    putLe16(b, 8);
    putLe32(b, 0); // no compression
    putLe32(b, dataSize);
    putLe32(b, 3937); // 100 dpi in pixels per metre
    putLe32(b, 3937);
    putLe32(b, 256);
    putLe32(b, 0);
    for (int i = 0; i < 256; ++i) {
        b.append(char(i));
        b.append(char(i));
        b.append(char(i));
        b.append(char(0));
    }
    const QByteArray pad(stride - w, '\0');
    for (int y = h - 1; y >= 0; --y) {
        b.append(reinterpret_cast<const char*>(grey.constScanLine(y)), w);
        b.append(pad);
    }
    // The page shows the client's marks: owner-only, never written through a link.
    try {
        platform::WriteConfidentialFile(path, b);
    } catch (const AppError&) {
        return false;
    }
    return true;
}

} // namespace tov::scan
