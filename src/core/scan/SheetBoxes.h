#pragma once

#include <QImage>
#include <QPointF>
#include <QRect>

#include <optional>
#include <vector>

namespace tov::scan {

// A solid square printed on the sheet, as found on the page.
struct FoundBox {
    QPointF centre;     // of its pixels, in page pixels
    double side = 0;    // the side of a square of its area
    int blackLevel = 0; // the median grey of its pixels
};

// The page's own levels in the marks plane: the grey of its paper and of its blackest print.
struct PageLevels {
    int paper = 255;
    int black = 0;
};

// Finds the sheet's two black boxes on the marks plane of a prepared page. A box is a solid
// square of a size a sheet printed at 0.6 to 1.5 times its size could show; a filled bubble
// (round), a write-in box (hollow), a line of print, a dark scanner lid or page edge (too
// large, or cut by the page's border) is none.
class SheetBoxes {
public:
    explicit SheetBoxes(const QImage& marks);

    // The grey of the paper (the page's median) and a first black level (its darkest pixels).
    PageLevels levels() const { return levels_; }

    // The solid square nearest the top-left corner, within the top-left part of the page where
    // a sheet 10 mm off the guide or turned by several degrees about any point has it; it may
    // be cut by the page's edge.
    std::optional<FoundBox> findAnchor() const;
    // The solid square of the anchor's size to its right, about `distance` pixels away, within
    // a few degrees of level; it may be cut by the page's edge (a sheet laid off the guide).
    std::optional<FoundBox> findReference(const FoundBox& anchor, double distance) const;

    // The solid squares within the region, in the order found (rows from the top). Given the
    // side a square should have, one cut by the page's border is taken too, its centre put
    // where the whole square's would be.
    std::vector<FoundBox> squaresIn(const QRect& region, double cutSide = 0) const;

private:
    const QImage& marks_;
    PageLevels levels_;
    int threshold_ = 128; // darker than this is part of a box
};

} // namespace tov::scan
