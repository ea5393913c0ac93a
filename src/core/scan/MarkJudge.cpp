#include "scan/MarkJudge.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace tov::scan {

namespace {

// A bubble is marked when at least this share of its inside is as dark as the page's marks.
constexpr double MarkedShare = 0.5;
// No pencil is lighter than this (of 255, paper to the boxes' black): paper grain, dust and
// the drop-out print stay below it.
constexpr int FaintestPencil = 38;
// Nor is a mark told by a line lighter than this, however few marks the page has to learn from:
// an erasure's smudge (50 at the darkest) would count, where the lightest pencil (70) does.
constexpr int LightestMarkLine = 56;
// Two marks in one field whose darkness differs by less than this share are a near tie. A
// second mark nearly as firm as the first reads 10 to 15% lighter through a coarse JPEG or a
// dusty glass; an erasure's trace is far lighter than this.
constexpr double NearTie = 0.75;

} // namespace

MarkJudge::MarkJudge(const QImage& marks, PageLevels levels) : marks_(marks) {
    setLevels(levels);
}

void MarkJudge::setLevels(PageLevels levels) {
    // Too little contrast to tell paper from ink: the darkest third counts as ink.
    const int paper = std::clamp(levels.paper, 32, 255);
    const int black = std::clamp(levels.black, 0, paper - 32);
    for (int v = 0; v < 256; ++v) {
        const int d = v >= paper ? 0 : v <= black ? 255 : 255 * (paper - v) / (paper - black);
        darknessOf_[static_cast<std::size_t>(v)] = static_cast<uchar>(d);
    }
}

void MarkJudge::learnMarks(const std::vector<Bubble>& sheet) {
    std::vector<int> levels;
    for (const Bubble& b : sheet) {
        if (b.level >= FaintestPencil) {
            levels.push_back(b.level);
        }
    }
    // Half way from paper to the client's typical mark: lighter marks (erasures, smudges) are
    // not marks, and a client who presses lightly is read as firmly as one who does not. Even a
    // page of one or two light marks (the BAC zeros alone) learns from them; the lower middle
    // of an even count, so that of two marks the lighter one sets the line.
    markThreshold_ = 128;
    if (!levels.empty()) {
        const auto middle = levels.begin() + static_cast<std::ptrdiff_t>((levels.size() - 1) / 2);
        std::nth_element(levels.begin(), middle, levels.end());
        markThreshold_ = std::clamp(*middle / 2, LightestMarkLine, 128);
    }
}

MarkJudge::Bubble MarkJudge::measure(QPointF centre, double radius) const {
    Bubble b;
    // Off the page is paper: nothing there is a mark.
    if (!std::isfinite(centre.x()) || !std::isfinite(centre.y()) || marks_.isNull() ||
        centre.x() < -radius || centre.y() < -radius || centre.x() > marks_.width() + radius ||
        centre.y() > marks_.height() + radius) {
        return b;
    }
    const int t = markThreshold_;
    const int low = t * 7 / 10;
    const int high = std::min(255, t * 6 / 5);
    int pixels = 0;
    int atT = 0;
    int atLow = 0;
    int atHigh = 0;
    std::array<uchar, 512> inside{};
    const int x0 = static_cast<int>(std::floor(centre.x() - radius));
    const int x1 = static_cast<int>(std::ceil(centre.x() + radius));
    const int y0 = static_cast<int>(std::floor(centre.y() - radius));
    const int y1 = static_cast<int>(std::ceil(centre.y() + radius));
    const int width = marks_.width();
    const int height = marks_.height();
    for (int y = y0; y <= y1; ++y) {
        const bool row = y >= 0 && y < height;
        const uchar* line = row ? marks_.constScanLine(y) : nullptr;
        const double dy = y - centre.y();
        for (int x = x0; x <= x1; ++x) {
            const double dx = x - centre.x();
            if (dx * dx + dy * dy > radius * radius) {
                continue;
            }
            const int d = row && x >= 0 && x < width ? darknessOf_[line[x]] : 0;
            if (pixels < static_cast<int>(inside.size())) {
                inside[static_cast<std::size_t>(pixels)] = static_cast<uchar>(d);
            }
            ++pixels;
            b.darkness += d;
            atT += d >= t ? 1 : 0;
            atLow += d >= low ? 1 : 0;
            atHigh += d >= high ? 1 : 0;
        }
    }
    if (pixels == 0) {
        return b;
    }
    const int kept = std::min(pixels, static_cast<int>(inside.size()));
    std::nth_element(inside.begin(), inside.begin() + kept / 2, inside.begin() + kept);
    b.level = inside[static_cast<std::size_t>(kept / 2)];
    const double share = double(atT) / pixels;
    b.marked = share >= MarkedShare;
    b.nearLine =
        (double(atLow) / pixels >= MarkedShare) != (double(atHigh) / pixels >= MarkedShare) ||
        (share >= 0.35 && share < 0.6);
    return b;
}

MarkJudge::FieldResult MarkJudge::judgeField(const std::vector<Bubble>& bubbles) {
    FieldResult result;
    int darkest = -1;
    int second = -1;
    for (std::size_t i = 0; i < bubbles.size(); ++i) {
        const Bubble& b = bubbles[i];
        result.doubtful = result.doubtful || b.nearLine;
        if (!b.marked) {
            continue;
        }
        ++result.marked;
        if (b.darkness > darkest) {
            second = darkest;
            darkest = b.darkness;
            result.darkest = static_cast<int>(i);
        } else {
            second = std::max(second, b.darkness);
        }
    }
    if (result.marked >= 2 && second >= NearTie * darkest) {
        result.doubtful = true;
    }
    return result;
}

} // namespace tov::scan
