#include "ui/Branding.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace tov::ui {

Branding Branding::of(app::Publisher publisher) {
    const app::PublisherTexts texts = app::PublisherTexts::of(publisher);
    const QColor colour =
        publisher == app::Publisher::Tessaran ? QColor(0x1f, 0x6f, 0x4a) : QColor(0x23, 0x3f, 0x8c);
    return {texts.company, texts.web, texts.email, texts.phone, colour};
}

QPixmap Branding::logo(QSize size) const {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box(1, 1, size.width() - 2, size.height() - 2);
    QLinearGradient fill(box.topLeft(), box.bottomRight());
    fill.setColorAt(0, colour.lighter(135));
    fill.setColorAt(1, colour.darker(120));
    p.setPen(QPen(colour.darker(160), 2));
    p.setBrush(fill);
    p.drawRoundedRect(box, size.height() / 6.0, size.height() / 6.0);

    // A quill or a tessera: a stroke mark on the left, the initial beside it.
    const qreal h = box.height();
    const QRectF emblem(box.left() + h * 0.15, box.top() + h * 0.15, h * 0.7, h * 0.7);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 230));
    QPainterPath mark;
    if (company.startsWith(QLatin1Char('T'))) {
        const qreal s = emblem.width() / 2.2;
        for (int i = 0; i < 4; ++i) {
            mark.addRect(emblem.left() + qreal(i % 2) * (s * 1.2),
                         emblem.top() + qreal(i / 2) * (s * 1.2), s, s);
        }
    } else {
        mark.moveTo(emblem.bottomLeft());
        mark.cubicTo(emblem.center(), emblem.topRight(), emblem.topRight());
        mark.cubicTo(QPointF(emblem.right() - emblem.width() * 0.1, emblem.center().y()),
                     QPointF(emblem.center().x(), emblem.bottom() - emblem.height() * 0.1),
                     emblem.bottomLeft());
    }
    p.drawPath(mark);

    const QString name = company.section(QLatin1Char(' '), 0, 0);
    const QRectF text(emblem.right() + h * 0.12, box.top(), box.right() - emblem.right() - h * 0.2,
                      h);
    QFont f(QStringLiteral("DejaVu Serif"));
    f.setBold(true);
    // As large as the name fits beside the emblem.
    int px = static_cast<int>(h * 0.34);
    do {
        f.setPixelSize(px);
        px -= 1;
    } while (px > 6 && QFontMetricsF(f).horizontalAdvance(name) > text.width());
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(text, Qt::AlignVCenter | Qt::AlignLeft, name);
    return pixmap;
}

} // namespace tov::ui
