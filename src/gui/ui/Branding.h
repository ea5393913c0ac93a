#pragma once

#include "app/Publisher.h"

#include <QPixmap>
#include <QString>

namespace tov::ui {

// What a publisher shows on screen: its name and contact lines (from the publisher texts) and its
// logo.
struct Branding {
    QString company;
    QString web;
    QString email;
    QString phone;
    QColor colour;

    static Branding of(app::Publisher publisher);
    // The logo, drawn at the given size.
    QPixmap logo(QSize size) const;
};

} // namespace tov::ui
