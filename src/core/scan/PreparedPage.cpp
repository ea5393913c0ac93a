#include "scan/PreparedPage.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace tov::scan {

namespace {

constexpr double MetresPerInch = 0.0254;
constexpr double SheetInches = 8.5;
constexpr double ReaderDpi = 100;
// A page narrower or wider than these at its stated resolution does not state the scan's.
constexpr double NarrowestInches = 6.0;
constexpr double WidestInches = 12.0;
constexpr double LargestSide = 4000; // pixels of a prepared page, 40 inches

bool isGreyFormat(const QImage& image) {
    switch (image.format()) {
    case QImage::Format_Grayscale8:
    case QImage::Format_Grayscale16:
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        return true;
    case QImage::Format_Indexed8:
        return image.allGray();
    default:
        return false;
    }
}

// The image as 32-bit RGB on white paper, or as 8-bit grey when it holds only greys.
QImage normalised(const QImage& image) {
    if (isGreyFormat(image)) {
        return image.format() == QImage::Format_Grayscale8
                   ? image
                   : image.convertToFormat(QImage::Format_Grayscale8);
    }
    if (!image.hasAlphaChannel()) {
        return image.format() == QImage::Format_RGB32 ? image
                                                      : image.convertToFormat(QImage::Format_RGB32);
    }
    QImage page(image.size(), QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    painter.drawImage(0, 0, image);
    return page;
}

// For each output position, the two source positions it samples: a quarter and three quarters
// across the source span it covers. Two samples a side see every printed line of a page scanned
// at up to 600 dots per inch and cost a fraction of a full average.
struct Samples {
    std::vector<int> first;
    std::vector<int> second;
};

Samples samplePositions(int outSize, int inSize) {
    Samples at;
    const double step = double(inSize) / outSize;
    for (int o = 0; o < outSize; ++o) {
        const auto sample = [&](double share) {
            const int s = static_cast<int>(std::floor((o + share) * step));
            return std::clamp(s, 0, inSize - 1);
        };
        at.first.push_back(sample(0.25));
        at.second.push_back(sample(0.75));
    }
    return at;
}

} // namespace

double StatedDpi(const QImage& image) {
    // A file without a resolution is given the library's default, which says nothing.
    static const int libraryDefault = QImage(1, 1, QImage::Format_RGB32).dotsPerMeterX();
    const int dpm = image.dotsPerMeterX();
    if (dpm <= 0 || dpm == libraryDefault || image.width() <= 0) {
        return 0;
    }
    const double dpi = dpm * MetresPerInch;
    const double inches = image.width() / dpi;
    return inches >= NarrowestInches && inches <= WidestInches ? dpi : 0;
}

PreparedPage PreparePage(const QImage& acquired, double knownDpi) {
    PreparedPage page;
    if (acquired.isNull() || acquired.width() <= 0 || acquired.height() <= 0) {
        return page;
    }
    const double stated = knownDpi > 0 ? knownDpi : StatedDpi(acquired);
    page.resolutionStated = stated > 0;
    const double dpi = stated > 0 ? stated : acquired.width() / SheetInches;
    const double factor = ReaderDpi / dpi;
    const double w = std::max(1.0, std::round(acquired.width() * factor));
    const double h = std::max(1.0, std::round(acquired.height() * factor));
    // No sheet is this large at 100 dots per inch: a sliver of a page taken as 8.5 inches wide
    // would otherwise make a page of gigabytes.
    if (w > LargestSide || h > LargestSide) {
        return page;
    }
    const int outW = static_cast<int>(w);
    const int outH = static_cast<int>(h);

    const QImage source = normalised(acquired);
    if (source.isNull()) {
        return page;
    }
    page.marks = QImage(outW, outH, QImage::Format_Grayscale8);
    page.ink = QImage(outW, outH, QImage::Format_Grayscale8);
    if (page.marks.isNull() || page.ink.isNull()) {
        return {};
    }
    const Samples xs = samplePositions(outW, source.width());
    const Samples ys = samplePositions(outH, source.height());
    const int* x0 = xs.first.data();
    const int* x1 = xs.second.data();
    const bool grey = source.format() == QImage::Format_Grayscale8;
    for (int y = 0; y < outH; ++y) {
        const auto row = static_cast<std::size_t>(y);
        const uchar* top = source.constScanLine(ys.first[row]);
        const uchar* bottom = source.constScanLine(ys.second[row]);
        uchar* marks = page.marks.scanLine(y);
        uchar* ink = page.ink.scanLine(y);
        if (grey) {
            for (int o = 0; o < outW; ++o) {
                const int a = x0[o];
                const int b = x1[o];
                const unsigned sum = top[a] + top[b] + bottom[a] + bottom[b];
                marks[o] = static_cast<uchar>((sum + 2) / 4);
                ink[o] = marks[o];
            }
            continue;
        }
        const auto* t = reinterpret_cast<const quint32*>(top);
        const auto* u = reinterpret_cast<const quint32*>(bottom);
        for (int o = 0; o < outW; ++o) {
            const int a = x0[o];
            const int b = x1[o];
            unsigned brightest = 0;
            unsigned darkest = 0;
            for (const quint32 c : {t[a], t[b], u[a], u[b]}) {
                const unsigned r = (c >> 16) & 0xFFU;
                const unsigned g = (c >> 8) & 0xFFU;
                const unsigned bl = c & 0xFFU;
                const unsigned rgMax = r > g ? r : g;
                const unsigned rgMin = r < g ? r : g;
                brightest += rgMax > bl ? rgMax : bl;
                darkest += rgMin < bl ? rgMin : bl;
            }
            marks[o] = static_cast<uchar>((brightest + 2) / 4);
            ink[o] = static_cast<uchar>((darkest + 2) / 4);
        }
    }
    const int dpm = static_cast<int>(std::lround(ReaderDpi / MetresPerInch));
    for (QImage* plane : {&page.marks, &page.ink}) {
        plane->setDotsPerMeterX(dpm);
        plane->setDotsPerMeterY(dpm);
    }
    return page;
}

QImage AtPreparedSize(const QImage& acquired, const PreparedPage& page) {
    if (acquired.isNull() || page.isNull() || acquired.size() == page.marks.size()) {
        return acquired;
    }
    return acquired.scaled(page.marks.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace tov::scan
