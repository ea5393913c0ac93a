#include "scan/SheetBoxes.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tov::scan {

namespace {

// Box sides, in page pixels, of a sheet printed at 0.6 to 1.5 times its size on a page of about
// 100 dots per inch (the box is 20 pixels at actual size).
constexpr int SmallestSide = 11;
constexpr int LargestSide = 34;
constexpr int MostPixels = LargestSide * LargestSide * 3 / 2;
// Where the anchor box is looked for: its place at actual size (35, 60) with room for the sheet
// to lie 10 mm off the guide, be turned by several degrees about any point, and be scaled.
constexpr int AnchorRegionWidth = 320;
constexpr int AnchorRegionHeight = 360;

struct Blob {
    std::vector<QPoint> pixels;
    bool tooLarge = false;
    bool unfinished = false; // reaches the end of the searched band
    // Which borders of the page it reaches.
    bool left = false, top = false, right = false, bottom = false;
    bool cut() const { return left || top || right || bottom; }
};

} // namespace

SheetBoxes::SheetBoxes(const QImage& marks) : marks_(marks) {
    if (marks.isNull() || marks.format() != QImage::Format_Grayscale8) {
        return;
    }
    std::array<qint64, 256> histogram{};
    qint64 total = 0;
    // Every fourth pixel of every fourth row tells the levels well enough.
    for (int y = 0; y < marks.height(); y += 4) {
        const uchar* line = marks.constScanLine(y);
        for (int x = 0; x < marks.width(); x += 4) {
            ++histogram[line[x]];
            ++total;
        }
    }
    const auto percentile = [&](double share) {
        const qint64 wanted = std::max<qint64>(1, static_cast<qint64>(std::ceil(total * share)));
        qint64 seen = 0;
        for (int v = 0; v < 256; ++v) {
            seen += histogram[static_cast<std::size_t>(v)];
            if (seen >= wanted) {
                return v;
            }
        }
        return 255;
    };
    levels_.paper = percentile(0.5);
    // The two boxes are less than a tenth of a percent of the page; its darkest pixels are
    // theirs, or a scanner lid's, or firm pencil's: black enough to start from.
    levels_.black = std::min(percentile(0.0002), levels_.paper);
    threshold_ = levels_.paper - levels_.black >= 40 ? (levels_.paper + levels_.black) / 2
                                                     : levels_.paper - 20;
}

std::vector<FoundBox> SheetBoxes::squaresIn(const QRect& wanted, double cutSide) const {
    std::vector<FoundBox> found;
    if (marks_.isNull() || marks_.format() != QImage::Format_Grayscale8) {
        return found;
    }
    const QRect page(0, 0, marks_.width(), marks_.height());
    const QRect region = wanted & page;
    if (region.isEmpty()) {
        return found;
    }
    // A blob may reach a little beyond the region; further than that it is too large anyway.
    const QRect band = region.adjusted(-LargestSide, -LargestSide, LargestSide, LargestSide) & page;
    const int bw = band.width();
    std::vector<uchar> seen(static_cast<std::size_t>(bw) * band.height(), 0);
    const auto seenAt = [&](int x, int y) -> uchar& {
        return seen[static_cast<std::size_t>(y - band.top()) * bw + (x - band.left())];
    };
    const uchar* bits = marks_.constBits();
    const qsizetype stride = marks_.bytesPerLine();
    const int threshold = threshold_;
    const auto dark = [=](int x, int y) { return bits[y * stride + x] < threshold; };
    const auto medianGrey = [&](const std::vector<QPoint>& pixels) {
        std::vector<int> greys;
        greys.reserve(pixels.size());
        for (const QPoint& p : pixels) {
            greys.push_back(marks_.constScanLine(p.y())[p.x()]);
        }
        const auto middle = greys.begin() + static_cast<std::ptrdiff_t>(greys.size() / 2);
        std::nth_element(greys.begin(), middle, greys.end());
        return *middle;
    };

    std::vector<QPoint> stack;
    for (int y = region.top(); y <= region.bottom(); ++y) {
        for (int x = region.left(); x <= region.right(); ++x) {
            if (seenAt(x, y) != 0 || !dark(x, y)) {
                continue;
            }
            Blob blob;
            stack.assign(1, QPoint(x, y));
            seenAt(x, y) = 1;
            while (!stack.empty()) {
                const QPoint p = stack.back();
                stack.pop_back();
                if (blob.pixels.size() < std::size_t(MostPixels)) {
                    blob.pixels.push_back(p);
                } else {
                    blob.tooLarge = true;
                }
                blob.left = blob.left || p.x() == 0;
                blob.top = blob.top || p.y() == 0;
                blob.right = blob.right || p.x() == page.right();
                blob.bottom = blob.bottom || p.y() == page.bottom();
                if ((p.x() == band.left() && !blob.left) || (p.y() == band.top() && !blob.top) ||
                    (p.x() == band.right() && !blob.right) ||
                    (p.y() == band.bottom() && !blob.bottom)) {
                    blob.unfinished = true;
                }
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        const QPoint q(p.x() + dx, p.y() + dy);
                        if (!band.contains(q) || seenAt(q.x(), q.y()) != 0 || !dark(q.x(), q.y())) {
                            continue;
                        }
                        seenAt(q.x(), q.y()) = 1;
                        stack.push_back(q);
                    }
                }
            }
            const auto n = static_cast<int>(blob.pixels.size());
            if (blob.tooLarge || blob.unfinished ||
                n < (blob.cut() ? SmallestSide * SmallestSide / 3 : SmallestSide * SmallestSide) ||
                n > LargestSide * LargestSide) {
                continue;
            }
            double sx = 0;
            double sy = 0;
            int left = blob.pixels[0].x();
            int right = left;
            int top = blob.pixels[0].y();
            int bottom = top;
            for (const QPoint& p : blob.pixels) {
                sx += p.x();
                sy += p.y();
                left = std::min(left, p.x());
                right = std::max(right, p.x());
                top = std::min(top, p.y());
                bottom = std::max(bottom, p.y());
            }
            QPointF centre(sx / n, sy / n);
            const int w = right - left + 1;
            const int h = bottom - top + 1;
            if (blob.cut()) {
                // Only part of the square is on the page: solid, as wide as a whole one across
                // the cut (the anchor's, or its own side there), and at least a third of it
                // there. Its centre lies half a side in from the edge the page shows.
                const bool acrossX = blob.left || blob.right;
                const bool acrossY = blob.top || blob.bottom;
                const int whole = acrossX ? h : w;
                const int part = acrossX ? w : h;
                const double side = cutSide > 0 ? cutSide : whole;
                const bool fits = !(acrossX && acrossY) && whole >= side * 0.75 &&
                                  whole <= side * 1.33 && side >= SmallestSide &&
                                  side <= LargestSide && part >= side / 3 && part <= side * 1.1 &&
                                  n * 4 >= w * h * 3;
                if (!fits) {
                    continue;
                }
                const double half = (side - 1) / 2;
                if (blob.left) {
                    centre.setX(right - half);
                } else if (blob.right) {
                    centre.setX(left + half);
                } else if (blob.top) {
                    centre.setY(bottom - half);
                } else {
                    centre.setY(top + half);
                }
                found.push_back({centre, side, medianGrey(blob.pixels)});
                continue;
            }
            double farthest = 0;
            for (const QPoint& p : blob.pixels) {
                const double ddx = p.x() - centre.x();
                const double ddy = p.y() - centre.y();
                farthest = std::max(farthest, ddx * ddx + ddy * ddy);
            }
            // Square, filled, and with corners: a square's area is twice the square of its
            // half-diagonal, a disc's more than three times that of its radius.
            const bool square = std::max(w, h) * 10 <= std::min(w, h) * 13;
            const bool solid = n * 4 >= w * h * 3;
            const double cornered = farthest > 0 ? n / farthest : 0;
            if (!square || !solid || cornered < 1.7 || cornered > 2.8) {
                continue;
            }
            found.push_back({centre, std::sqrt(double(n)), medianGrey(blob.pixels)});
        }
    }
    return found;
}

std::optional<FoundBox> SheetBoxes::findAnchor() const {
    const std::vector<FoundBox> boxes =
        squaresIn(QRect(0, 0, AnchorRegionWidth, AnchorRegionHeight));
    const auto nearest =
        std::min_element(boxes.begin(), boxes.end(), [](const auto& a, const auto& b) {
            return a.centre.x() + a.centre.y() < b.centre.x() + b.centre.y();
        });
    if (nearest == boxes.end()) {
        return std::nullopt;
    }
    return *nearest;
}

std::optional<FoundBox> SheetBoxes::findReference(const FoundBox& anchor, double distance) const {
    const QPointF expected = anchor.centre + QPointF(distance, 0);
    const QRectF region(anchor.centre.x() + 0.7 * distance, anchor.centre.y() - 0.13 * distance,
                        0.55 * distance, 0.26 * distance);
    std::optional<FoundBox> best;
    double bestDistance = 0;
    for (const FoundBox& box : squaresIn(region.toAlignedRect(), anchor.side)) {
        if (box.side * 4 < anchor.side * 3 || box.side * 3 > anchor.side * 4) {
            continue;
        }
        const QPointF away = box.centre - expected;
        const double d = std::hypot(away.x(), away.y());
        if (!best || d < bestDistance) {
            best = box;
            bestDistance = d;
        }
    }
    return best;
}

} // namespace tov::scan
