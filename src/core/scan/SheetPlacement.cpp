#include "scan/SheetPlacement.h"

#include <algorithm>
#include <cmath>

namespace tov::scan {

namespace {

constexpr double Pi = 3.14159265358979;
constexpr double Ring = 7;      // radius of a printed bubble ring, sheet pixels
constexpr double Outer = 10.5;  // paper around the ring
constexpr int RingSamples = 24; // points around each circle
// How far a field is looked for around where it is expected: paper stretched 1% by a feeder lies
// 6 pixels low in the middle of the sheet, and on a sheet with few measurable rows above that
// the first fit comes only there.
constexpr int Search = 8;
constexpr double Unit = 1000; // sheet pixels per unit of the correction's terms
// Grey levels (of 255) by which the rings must stand out from the paper around them.
constexpr double ClearContrast = 20;
// A pencil mark: a disc of about this radius (sheet pixels) filling a bubble.
constexpr double MarkRadius = 6;
// Darkness (of 255) a mark's middle has at least, and the paper around it at most.
constexpr int MarkMiddle = 160;
constexpr int MarkSurround = 64;
// A pencil mark's middle is drawn by hand: it counts for less than a printed ring.
constexpr double MarkWeight = 0.5;

bool finite(QPointF p) {
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

// Solves a x = b (4 x 4) by elimination; false when it has no single solution.
bool solve4(std::array<std::array<double, 4>, 4> a, std::array<double, 4> b,
            std::array<double, 4>& x) {
    for (int c = 0; c < 4; ++c) {
        int pivot = c;
        for (int r = c + 1; r < 4; ++r) {
            if (std::abs(a[r][c]) > std::abs(a[pivot][c])) {
                pivot = r;
            }
        }
        if (std::abs(a[pivot][c]) < 1e-12) {
            return false;
        }
        std::swap(a[c], a[pivot]);
        std::swap(b[c], b[pivot]);
        for (int r = 0; r < 4; ++r) {
            if (r == c) {
                continue;
            }
            const double f = a[r][c] / a[c][c];
            for (int k = c; k < 4; ++k) {
                a[r][k] -= f * a[c][k];
            }
            b[r] -= f * b[c];
        }
    }
    for (int c = 0; c < 4; ++c) {
        x[c] = b[c] / a[c][c];
    }
    return true;
}

std::array<double, 4> terms(QPointF sheet) {
    const double u = sheet.x() / Unit;
    const double v = sheet.y() / Unit;
    return {1, u, v, u * v};
}

} // namespace

SheetPlacement::SheetPlacement(QPointF origin, double scale, double angleDegrees)
    : origin_(origin), scale_(scale), cos_(std::cos(angleDegrees * Pi / 180)),
      sin_(std::sin(angleDegrees * Pi / 180)) {}

QPointF SheetPlacement::correction(QPointF sheet) const {
    const std::array<double, 4> t = terms(sheet);
    double x = 0;
    double y = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        x += cx_[i] * t[i];
        y += cy_[i] * t[i];
    }
    return {x, y};
}

QPointF SheetPlacement::map(QPointF sheet) const {
    const QPointF q = sheet + correction(sheet);
    return origin_ + scale_ * QPointF(cos_ * q.x() - sin_ * q.y(), sin_ * q.x() + cos_ * q.y());
}

SheetPlacement::Seen SheetPlacement::measure(const QImage& ink, const FieldLine& field) const {
    Seen seen;
    const int count = std::min(field.count, 16);
    const double length = std::hypot(field.step.x(), field.step.y());
    if (count <= 0 || !finite(field.first) || !finite(field.step) || length > 200 ||
        (count > 1 && length < 2 * Outer)) {
        return seen;
    }
    seen.at = field.first + field.step * ((count - 1) / 2.0);
    // A few bubbles of the field stand for it: its ends and its middle.
    std::vector<int> bubbles;
    for (int i = 0; i < count; ++i) {
        if (count <= 3 || i == 0 || i == count - 1 || i == count / 2) {
            bubbles.push_back(i);
        }
    }
    // The ring (two circles either side of its stroke) against the paper just outside it, as
    // page pixel offsets from a bubble's centre; the inside, filled or not, does not count.
    std::vector<QPoint> ring;
    std::vector<QPoint> outside;
    for (int k = 0; k < RingSamples; ++k) {
        const double a = 2 * Pi * k / RingSamples;
        const auto at = [&](double radius) {
            const QPointF d = scale_ * radius * QPointF(std::cos(a), std::sin(a));
            const QPointF turned(cos_ * d.x() - sin_ * d.y(), sin_ * d.x() + cos_ * d.y());
            return QPoint(static_cast<int>(std::lround(turned.x())),
                          static_cast<int>(std::lround(turned.y())));
        };
        ring.push_back(at(Ring - 0.5));
        ring.push_back(at(Ring + 0.5));
        outside.push_back(at(Outer));
    }
    const uchar* bits = ink.constBits();
    const qsizetype stride = ink.bytesPerLine();
    const int width = ink.width();
    const int height = ink.height();
    // The same offsets as steps through the plane, for bubbles well inside the page.
    std::vector<qsizetype> rings;
    std::vector<qsizetype> around;
    rings.reserve(ring.size());
    around.reserve(outside.size());
    for (const QPoint& d : ring) {
        rings.push_back(d.y() * stride + d.x());
    }
    for (const QPoint& d : outside) {
        around.push_back(d.y() * stride + d.x());
    }
    const auto darkAt = [=](QPoint p) -> int {
        if (p.x() < 0 || p.y() < 0 || p.x() >= width || p.y() >= height) {
            return 0;
        }
        return 255 - bits[p.y() * stride + p.x()];
    };
    // How much more ink lies on the rings than around them with the field moved by (dx, dy),
    // on the side of the rings where it is least: a ring is dark all round, while a pencil mark
    // with no ring to be seen (dropped by the scan) would pull the field towards one side.
    constexpr int PerQuarter = RingSamples / 4;
    const int reach = static_cast<int>(std::ceil(scale_ * Outer)) + 1;
    const auto contrast = [&](int dx, int dy) {
        std::array<int, 4> on{};
        std::array<int, 4> off{};
        for (const int i : bubbles) {
            const QPointF c = map(field.first + field.step * i + QPointF(dx, dy));
            if (!finite(c)) {
                return 0.0;
            }
            const QPoint centre(static_cast<int>(std::lround(c.x())),
                                static_cast<int>(std::lround(c.y())));
            const bool inside = centre.x() >= reach && centre.y() >= reach &&
                                centre.x() < width - reach && centre.y() < height - reach;
            const uchar* middle = inside ? bits + centre.y() * stride + centre.x() : nullptr;
            for (int k = 0; k < RingSamples; ++k) {
                const auto q = static_cast<std::size_t>(k / PerQuarter);
                const auto kk = static_cast<std::size_t>(k);
                if (middle != nullptr) {
                    on[q] += 510 - middle[rings[2 * kk]] - middle[rings[2 * kk + 1]];
                    off[q] += 255 - middle[around[kk]];
                } else {
                    on[q] += darkAt(centre + ring[2 * kk]) + darkAt(centre + ring[2 * kk + 1]);
                    off[q] += darkAt(centre + outside[kk]);
                }
            }
        }
        const auto n = static_cast<double>(bubbles.size()) * PerQuarter;
        double least = 1e9;
        for (std::size_t q = 0; q < 4; ++q) {
            least = std::min(least, on[q] / (2 * n) - off[q] / n);
        }
        return least;
    };
    // Every other position first, then the neighbours of the best.
    constexpr int Side = 2 * Search + 1;
    std::array<double, std::size_t{Side} * Side> score{};
    score.fill(-1e9);
    const auto at = [&score](int dx, int dy) -> double& {
        const int index = (dy + Search) * Side + (dx + Search);
        return score[static_cast<std::size_t>(index)];
    };
    int bx = 0;
    int by = 0;
    for (int dy = -Search; dy <= Search; dy += 2) {
        for (int dx = -Search; dx <= Search; dx += 2) {
            at(dx, dy) = contrast(dx, dy);
            if (at(dx, dy) > at(bx, by)) {
                bx = dx;
                by = dy;
            }
        }
    }
    const int cx = bx;
    const int cy = by;
    for (int dy = std::max(-Search, cy - 1); dy <= std::min(Search, cy + 1); ++dy) {
        for (int dx = std::max(-Search, cx - 1); dx <= std::min(Search, cx + 1); ++dx) {
            if (at(dx, dy) < -1e8) {
                at(dx, dy) = contrast(dx, dy);
            }
            if (at(dx, dy) > at(bx, by)) {
                bx = dx;
                by = dy;
            }
        }
    }
    // Rings that stand out clearly, found inside the searched square, are taken.
    const double best = at(bx, by);
    if (best < ClearContrast || std::abs(bx) == Search || std::abs(by) == Search) {
        return seen;
    }
    for (int dy = by - 1; dy <= by + 1; ++dy) {
        for (int dx = bx - 1; dx <= bx + 1; ++dx) {
            if (at(dx, dy) < -1e8) {
                at(dx, dy) = contrast(dx, dy);
            }
        }
    }
    const auto vertex = [](double left, double middle, double right) {
        const double bend = left - 2 * middle + right;
        return bend < 0 ? std::clamp(0.5 * (left - right) / bend, -0.5, 0.5) : 0.0;
    };
    seen.offset = QPointF(bx + vertex(at(bx - 1, by), best, at(bx + 1, by)),
                          by + vertex(at(bx, by - 1), best, at(bx, by + 1)));
    seen.weightX = std::min(1.0, best / (2 * ClearContrast));
    seen.weightY = seen.weightX;
    return seen;
}

SheetPlacement::Seen SheetPlacement::measureMark(const QImage& ink, const FieldLine& field) const {
    Seen seen;
    const int count = std::min(field.count, 16);
    if (count <= 0 || !finite(field.first) || !finite(field.step)) {
        return seen;
    }
    const int width = ink.width();
    const int height = ink.height();
    const auto darkAt = [&](int x, int y) -> int {
        return x < 0 || y < 0 || x >= width || y >= height ? 0 : 255 - ink.constScanLine(y)[x];
    };
    // The mean darkness of the disc (or, from `inner` out, the ring) about a page point.
    const auto meanDark = [&](QPointF c, double inner, double outer) {
        const int r = static_cast<int>(std::ceil(outer));
        const int x0 = static_cast<int>(std::lround(c.x()));
        const int y0 = static_cast<int>(std::lround(c.y()));
        int sum = 0;
        int n = 0;
        for (int dy = -r; dy <= r; ++dy) {
            for (int dx = -r; dx <= r; ++dx) {
                const double ex = x0 + dx - c.x();
                const double ey = y0 + dy - c.y();
                const double d2 = ex * ex + ey * ey;
                if (d2 >= inner * inner && d2 <= outer * outer) {
                    sum += darkAt(x0 + dx, y0 + dy);
                    ++n;
                }
            }
        }
        return n > 0 ? double(sum) / n : 0.0;
    };
    // The field's darkest bubble where it is expected; a field without a mark tells nothing.
    const double search = scale_ * (Search + MarkRadius);
    int marked = -1;
    double darkest = 0;
    for (int i = 0; i < count; ++i) {
        const QPointF c = map(field.first + field.step * i);
        const double dark = finite(c) ? meanDark(c, 0, scale_ * MarkRadius) : 0;
        if (dark > darkest) {
            darkest = dark;
            marked = i;
        }
    }
    if (marked < 0) {
        return seen;
    }
    // Its centre: the centre of the ink about it, taken again about each new centre.
    const QPointF expected = map(field.first + field.step * marked);
    QPointF centre = expected;
    double reach = search;
    for (int round = 0; round < 4; ++round) {
        const int r = static_cast<int>(std::ceil(reach));
        const int x0 = static_cast<int>(std::lround(centre.x()));
        const int y0 = static_cast<int>(std::lround(centre.y()));
        double sx = 0;
        double sy = 0;
        double total = 0;
        for (int dy = -r; dy <= r; ++dy) {
            for (int dx = -r; dx <= r; ++dx) {
                const int d = darkAt(x0 + dx, y0 + dy);
                if (dx * dx + dy * dy <= r * r && d >= 128) {
                    sx += d * (x0 + dx);
                    sy += d * (y0 + dy);
                    total += d;
                }
            }
        }
        if (total <= 0) {
            return seen;
        }
        centre = QPointF(sx / total, sy / total);
        reach = scale_ * (MarkRadius + 2);
    }
    // A solid disc on clear paper, no further off than a field is looked for: a mark, not a
    // stroke, a smudge or a neighbour's mark.
    const QPointF d = centre - expected;
    if (meanDark(centre, 0, scale_ * MarkRadius * 0.6) < MarkMiddle ||
        meanDark(centre, scale_ * (MarkRadius + 3), scale_ * (MarkRadius + 4)) > MarkSurround ||
        std::hypot(d.x(), d.y()) > scale_ * Search) {
        return seen;
    }
    // The page offset back on the sheet's axes, in sheet pixels.
    seen.at = field.first + field.step * marked;
    seen.offset = QPointF(cos_ * d.x() + sin_ * d.y(), -sin_ * d.x() + cos_ * d.y()) / scale_;
    seen.weightX = MarkWeight;
    seen.weightY = MarkWeight;
    return seen;
}

void SheetPlacement::fit(const std::vector<Seen>& seen) {
    std::vector<Seen> used = seen;
    for (int round = 0; round < 3; ++round) {
        for (int axis = 0; axis < 2; ++axis) {
            std::array<std::array<double, 4>, 4> a{};
            std::array<double, 4> b{};
            double total = 0;
            for (const Seen& s : used) {
                const double w = axis == 0 ? s.weightX : s.weightY;
                if (w <= 0) {
                    continue;
                }
                const std::array<double, 4> t = terms(s.at);
                const double value = axis == 0 ? s.offset.x() : s.offset.y();
                for (std::size_t i = 0; i < 4; ++i) {
                    for (std::size_t j = 0; j < 4; ++j) {
                        a[i][j] += w * t[i] * t[j];
                    }
                    b[i] += w * t[i] * value;
                }
                total += w;
            }
            // A light pull towards no correction keeps terms the measurements cannot tell
            // (all of them on a few rows, say) from running wild.
            for (std::size_t i = 0; i < 4; ++i) {
                a[i][i] += 0.002 * total + 1e-6;
            }
            std::array<double, 4> c{};
            if (solve4(a, b, c)) {
                (axis == 0 ? cx_ : cy_) = c;
            }
        }
        // Measurements far from the fit were of something else (a neighbour's rings, heavy
        // pencil over the print): left out of the next round.
        for (Seen& s : used) {
            const QPointF off = correction(s.at) - s.offset;
            if (std::abs(off.x()) > 2.5) {
                s.weightX = 0;
            }
            if (std::abs(off.y()) > 2.5) {
                s.weightY = 0;
            }
        }
    }
}

void SheetPlacement::alignTo(const QImage& ink, std::vector<FieldLine> fields) {
    if (ink.isNull() || ink.format() != QImage::Format_Grayscale8) {
        return;
    }
    cx_ = {};
    cy_ = {};
    std::stable_sort(fields.begin(), fields.end(), [](const FieldLine& a, const FieldLine& b) {
        return a.first.y() < b.first.y();
    });
    // The boxes themselves are where the similarity puts them.
    std::vector<Seen> seen;
    const double boxWeight = 5;
    seen.push_back({QPointF(9.5, 9.5), QPointF(), boxWeight, boxWeight});
    seen.push_back({QPointF(785.5, 9.5), QPointF(), boxWeight, boxWeight});
    // Fitted again at each new row after new measurements, so that each field is looked for
    // where those above it put it: on a sheet with few measurable rows at the top, a stretch
    // seen there carries the search down the page before it drifts outside it.
    std::size_t fitted = seen.size(); // the boxes alone
    double fittedAt = -1e9;
    for (const FieldLine& field : fields) {
        if (seen.size() > fitted && field.first.y() > fittedAt) {
            fit(seen);
            fitted = seen.size();
            fittedAt = field.first.y();
        }
        Seen s = measure(ink, field);
        if (s.weightX <= 0 && s.weightY <= 0) {
            s = measureMark(ink, field);
        }
        if (s.weightX <= 0 && s.weightY <= 0) {
            continue;
        }
        s.offset += correction(s.at);
        seen.push_back(s);
    }
    // Even a mark or two tell how far the page is stretched where they are: on a black and
    // white scan that lost the printed rings they are all there is to go by.
    if (seen.size() > fitted) {
        fit(seen);
    }
}

} // namespace tov::scan
