#include "ui/Headings.h"

#include "content/ContentSet.h"

#include <QLabel>
#include <QString>

namespace tov::ui {

QLabel* boldHeading(const QString& text, QWidget* parent, double scale) {
    auto* label = new QLabel(text, parent);
    QFont f = label->font();
    f.setPointSizeF(f.pointSizeF() * scale);
    f.setBold(true);
    label->setFont(f);
    return label;
}

QLabel* clientNameHeading(QWidget* parent) {
    QLabel* label = boldHeading(QString(), parent, 1.3);
    label->setObjectName(QStringLiteral("lblClientName"));
    return label;
}

QLabel* frameCaption(const QString& text, QWidget* parent) {
    QLabel* label = boldHeading(text, parent, 1.2);
    label->setObjectName(QStringLiteral("lblFrameCaption"));
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QLabel* demonstrationBanner(QWidget* parent) {
    QLabel* label = boldHeading(content::DemonstrationMark, parent, 1.2);
    label->setObjectName(QStringLiteral("lblDemonstration"));
    label->setAlignment(Qt::AlignCenter);
    label->setAutoFillBackground(true);
    label->setMargin(4);
    QPalette p = label->palette();
    p.setColor(QPalette::Window, QColor(0xb0, 0x00, 0x20));
    p.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(p);
    label->hide();
    return label;
}

} // namespace tov::ui
