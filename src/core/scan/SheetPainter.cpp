#include "scan/SheetPainter.h"

#include <QFile>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

namespace tov::scan {

namespace {

QFont sheetFont(int pixelSize, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// A bubble: a circle inside its sample window with its label in the middle.
void paintBubble(QPainter& p, QPoint window, const QString& label) {
    const QRectF circle(window.x() + 0.5, window.y() + 0.5, SheetGeometry::Window - 1.0,
                        SheetGeometry::Window - 1.0);
    p.drawEllipse(circle);
    p.setFont(sheetFont(label.size() > 1 ? 7 : 9, false));
    p.drawText(circle, Qt::AlignCenter, label);
}

void paintGroup(QPainter& p, const SheetGeometry& g, const SheetGroup& group) {
    if (!group.frame.isNull()) {
        p.drawRoundedRect(group.frame, 6, 6);
    }
    if (!group.title.isEmpty()) {
        p.setFont(sheetFont(9, true));
        p.drawText(group.titleAt, group.title);
    }
    if (!group.writeIn) {
        return;
    }
    for (int k = 0; k < group.fieldCount; ++k) {
        const int index = group.firstField + k;
        const SheetField& f = g.fields[static_cast<std::size_t>(index)];
        const QRect box(f.first.x() - 3, f.first.y() - 25, 21, 21);
        if (f.count == 1) {
            // The single "zero" column: a word instead of a box to write in.
            p.setFont(sheetFont(8, false));
            p.drawText(QRect(box.x() - 6, box.y(), box.width() + 12, box.height()),
                       Qt::AlignHCenter | Qt::AlignBottom, QStringLiteral("zero"));
            continue;
        }
        p.drawRect(box);
        const bool afterZero = k > 0 && g.fields[static_cast<std::size_t>(index - 1)].count == 1;
        if (afterZero) {
            p.setFont(sheetFont(16, true));
            p.drawText(QPoint(box.x() - 8, box.bottom() - 1), QStringLiteral("."));
        }
    }
}

void paintField(QPainter& p, const SheetField& f) {
    for (int i = 0; i < f.count; ++i) {
        paintBubble(p, f.bubble(i), f.labels.value(i));
    }
    if (f.vertical()) {
        return;
    }
    const int midY = f.first.y() + SheetGeometry::Window / 2;
    if (f.kind == FieldKind::Answer) {
        p.setFont(sheetFont(10, true));
        p.drawText(QRect(f.first.x() - 36, midY - 8, 30, 16), Qt::AlignRight | Qt::AlignVCenter,
                   f.caption);
        return;
    }
    const int captionX = f.kind == FieldKind::Choice ? 40 : 430;
    p.setFont(sheetFont(9, f.kind == FieldKind::Choice));
    p.drawText(QRect(captionX, midY - 8, f.first.x() - captionX - 6, 16),
               Qt::AlignLeft | Qt::AlignVCenter, f.caption);
    p.setFont(sheetFont(8, false));
    int y = f.first.y() + SheetGeometry::Window + 12;
    for (const QString& line : f.key) {
        p.drawText(QPoint(40, y), line);
        y += 11;
    }
}

} // namespace

QColor SheetInk() {
    return {70, 140, 235};
}

void PaintAnswerSheet(QPainter& p, const SheetGeometry& g, const PrintStyle& style) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    QPen pen(style.ink);
    pen.setWidthF(style.lineWidth);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    for (const SheetGeometry::Text& t : g.texts) {
        p.setFont(sheetFont(t.pixelSize, t.bold));
        p.drawText(t.at, t.text);
    }
    for (const SheetGroup& group : g.groups) {
        paintGroup(p, g, group);
    }
    for (const SheetField& f : g.fields) {
        paintField(p, f);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawRect(g.anchorBox);
    p.drawRect(g.referenceBox);
    p.restore();
}

bool WriteAnswerSheetPdf(const SheetGeometry& sheet, const QString& path) {
    QPdfWriter pdf(path);
    pdf.setResolution(100);
    pdf.setPageLayout(
        QPageLayout(QPageSize(QPageSize::Legal), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    pdf.setTitle(QStringLiteral("Answer sheet"));
    pdf.setCreator(QStringLiteral("tov2sf"));
    QPainter p;
    if (!p.begin(&pdf)) {
        return false;
    }
    PaintAnswerSheet(p, sheet);
    return p.end() && QFile::exists(path);
}

} // namespace tov::scan
