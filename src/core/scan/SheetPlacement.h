#pragma once

#include <QImage>
#include <QPointF>

#include <array>
#include <vector>

namespace tov::scan {

// One field of the sheet as the placement sees it: its bubbles' centres in sheet pixels from
// the anchor box corner, a step apart along the field.
struct FieldLine {
    QPointF first; // centre of bubble 0
    QPointF step;  // from one bubble's centre to the next
    int count = 0;
};

// Where the sheet lies on the page: sheet pixels (100 dots per inch of the sheet as designed,
// measured from the anchor box corner) to page pixels. The two boxes give a turn and a scale
// about the anchor (a similarity); a small smooth correction on top takes up what they cannot
// show: paper stretched by a sheet feeder, a sheet not lying flat. The correction is measured
// from the printed bubble rings themselves.
class SheetPlacement {
public:
    SheetPlacement() = default;
    // origin: the anchor box corner on the page; angle in degrees, clockwise.
    SheetPlacement(QPointF origin, double scale, double angleDegrees);

    QPointF map(QPointF sheet) const;
    double scale() const { return scale_; }
    QPointF origin() const { return origin_; }
    // The correction at a sheet point, in sheet pixels.
    QPointF correction(QPointF sheet) const;

    // Measures each field's rings on the ink plane (255 = paper) around where the placement puts
    // it, top to bottom, or where the rings cannot be seen (a page on which the print was
    // dropped) its pencil mark, and fits the correction to what was seen; fields with neither
    // leave it as it is.
    void alignTo(const QImage& ink, std::vector<FieldLine> fields);

private:
    struct Seen {
        QPointF at;     // sheet point
        QPointF offset; // sheet pixels
        double weightX = 0;
        double weightY = 0;
    };
    // How far a field lies from where it is expected, along x and y of the sheet; a weight of 0
    // for a direction in which its rings were not seen clearly.
    Seen measure(const QImage& ink, const FieldLine& field) const;
    // Where the field's pencil mark lies, for a field whose rings cannot be seen: a black and
    // white scan at a light setting drops the print, but keeps the marks.
    Seen measureMark(const QImage& ink, const FieldLine& field) const;
    void fit(const std::vector<Seen>& seen);

    QPointF origin_;
    double scale_ = 1;
    double cos_ = 1;
    double sin_ = 0;
    // correction = c0 + c1 u + c2 v + c3 u v per coordinate, u and v the sheet point / 1000.
    std::array<double, 4> cx_{};
    std::array<double, 4> cy_{};
};

} // namespace tov::scan
