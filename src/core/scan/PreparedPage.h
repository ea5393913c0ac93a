#pragma once

#include <QImage>

namespace tov::scan {

// A page of an answer sheet ready for the mark reader, at about 100 dots per inch: the
// resolution the page states is only a first guess, the reader measures the sheet's own scale
// from its boxes. Two planes, 8 bits per pixel, 255 = paper:
//  - marks: the brightest channel, in which the sheet's light-blue drop-out print is nearly
//    paper, and so is cream or recycled paper (whose blue is dim: light pencil on it would
//    barely show in blue alone); only pencil and the black boxes remain (a grey page: its grey);
//  - ink: the darkest channel, in which the print shows too; fields are placed by it.
struct PreparedPage {
    QImage marks;
    QImage ink;
    // True when the page's resolution came from the file or scanner rather than from its width.
    bool resolutionStated = false;

    bool isNull() const { return marks.isNull(); }
    int width() const { return marks.width(); }
    int height() const { return marks.height(); }
};

// The resolution an image states, in dots per inch; 0 when it states none (or one that would
// make a page narrower than 6 or wider than 12 inches, which is some program's default and not
// the scan's).
double StatedDpi(const QImage& image);

// Brings a page as a source delivers it (any format, any resolution) to the reader's two planes
// at 100 dots per inch by its stated resolution, or as an 8.5-inch-wide page when it states
// none; a caller that knows the resolution better gives it as knownDpi. Transparent pixels lie
// on white paper. A null image gives a null page.
PreparedPage PreparePage(const QImage& acquired, double knownDpi = 0);

// A prepared page, or the page as acquired, at the size of the prepared page: what the
// procedure keeps as raw.bmp.
QImage AtPreparedSize(const QImage& acquired, const PreparedPage& page);

} // namespace tov::scan
