#pragma once

#include "scan/SheetBoxes.h"

#include <QImage>
#include <QPointF>

#include <array>
#include <vector>

namespace tov::scan {

// Judges the pencil on one page's marks plane: how dark each grey is between this page's paper
// and its boxes' black, whether a bubble's inside is as dark as this client's marks, and whether
// a field's marks leave doubt. It works in page pixels; the reader says where the bubbles lie.
class MarkJudge {
public:
    struct Bubble {
        int darkness = 0; // sum of the inside's darkness (0..255 a pixel)
        int level = 0;    // median darkness of the inside
        bool marked = false;
        bool nearLine = false; // would read the other way with a little more or less ink
    };
    struct FieldResult {
        int marked = 0;
        int darkest = -1; // index of the darkest marked bubble, -1 when none
        bool doubtful = false;
    };

    MarkJudge(const QImage& marks, PageLevels levels);

    void setLevels(PageLevels levels);
    // Learns from every bubble of the sheet how dark this client's marks are, so that light
    // pencil reads and an erasure or a printed label does not.
    void learnMarks(const std::vector<Bubble>& sheet);

    // The bubble whose inside is the disc about `centre`: marked when most of it is as dark as
    // this page's marks. Off the page is paper.
    Bubble measure(QPointF centre, double radius) const;
    // One field's bubbles in order: the darkest mark is the value; two marks of nearly the same
    // darkness, or a bubble near the line between marked and not, make it doubtful.
    static FieldResult judgeField(const std::vector<Bubble>& bubbles);

private:
    const QImage& marks_;
    std::array<uchar, 256> darknessOf_{}; // grey -> darkness, 0 = paper, 255 = the boxes' black
    int markThreshold_ = 128;             // a pixel this dark or darker is pencil
};

} // namespace tov::scan
