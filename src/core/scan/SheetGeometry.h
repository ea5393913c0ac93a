#pragma once

#include "scan/ScanItems.h"

#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include <vector>

namespace tov::scan {

// How a field is read: a vertical digit column, a horizontal choice row, a horizontal count row
// (first bubble = 0) or a horizontal answer row (first bubble = answer 1).
enum class FieldKind { Digit, Choice, Count, Answer };

// One field of the printed answer sheet, in page pixels (100 dpi) of a sheet lying straight.
struct SheetField {
    QString LocationName;
    FieldKind kind = FieldKind::Digit;
    QPoint first;       // top-left corner of bubble 0's 15 x 15 sample window
    int count = 0;      // bubbles
    int step = 0;       // pixels between neighbouring bubbles, down a column or along a row
    QStringList labels; // printed inside the bubbles
    QString caption;    // printed left of a row (rows only)
    QStringList key;    // lines printed under a choice row: what the bubble numbers mean

    bool vertical() const { return kind == FieldKind::Digit; }
    QPoint bubble(int i) const {
        return vertical() ? first + QPoint(0, step * i) : first + QPoint(step * i, 0);
    }
};

// A titled part of the sheet: a heading over a run of fields.
struct SheetGroup {
    QString title;
    QPoint titleAt; // left end of the title's baseline
    int firstField = 0;
    int fieldCount = 0;
    bool writeIn = false; // boxes above the columns for the client to write the digits in
    QRect frame;          // drawn around the group when not empty
};

// The one description of the answer sheet: the printed form and the "ScanItem" table are both
// made from it, so the paper and the reader cannot disagree.
struct SheetGeometry {
    static constexpr int Width = 850;   // 8.5 inches at 100 dpi
    static constexpr int Height = 1400; // 14 inches
    static constexpr int Window = 15;   // bubble sample window

    QRect anchorBox;
    QRect referenceBox;
    std::vector<SheetField> fields; // the 113 fields in reading order
    std::vector<SheetGroup> groups;
    struct Text {
        QString text;
        QPoint at;
        int pixelSize = 9;
        bool bold = false;
    };
    std::vector<Text> texts; // headings and instructions not tied to a field

    // The "ScanItem" records: base point from the anchor box corner as r and theta (degrees),
    // bubble count and spacing.
    std::vector<ScanItemRow> ScanItemRows() const;
};

// The answer sheet of this program.
SheetGeometry AnswerSheetGeometry();

} // namespace tov::scan
