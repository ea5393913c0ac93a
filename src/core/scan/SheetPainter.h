#pragma once

#include "scan/SheetGeometry.h"

#include <QColor>
#include <QPainter>
#include <QString>

namespace tov::scan {

// The drop-out ink the sheet is printed in. Its blue is high (235), so preparation (which keeps
// only pixels with blue below 138) turns it white with a wide margin, while it still reads
// clearly on paper.
QColor SheetInk();

// How the sheet's print comes out: the ink and the width of its lines (page pixels). A printer
// short of toner or set to draft prints thinner; one set to "darker", heavier.
struct PrintStyle {
    QColor ink = SheetInk();
    double lineWidth = 1.0;
};

// Draws the printed answer sheet (no marks) in page pixels: 1 unit = 1/100 inch. Everything is
// in the drop-out ink except the anchor and reference boxes, which are solid black. Drawing
// text needs a QGuiApplication.
void PaintAnswerSheet(QPainter& painter, const SheetGeometry& sheet, const PrintStyle& style = {});

// Writes the printable sheet as a one-page PDF, 8.5 x 14 inches. False when it cannot be written.
bool WriteAnswerSheetPdf(const SheetGeometry& sheet, const QString& path);

} // namespace tov::scan
