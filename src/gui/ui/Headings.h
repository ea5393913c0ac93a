#pragma once

class QLabel;
class QString;
class QWidget;

namespace tov::ui {

// A bold label in the screen font scaled by `scale`.
QLabel* boldHeading(const QString& text, QWidget* parent, double scale);
// The client's name above a screen's fields ("lblClientName"), filled in by the screen.
QLabel* clientNameHeading(QWidget* parent);
// A choice screen's centred title ("lblFrameCaption").
QLabel* frameCaption(const QString& text, QWidget* parent);
// The warning that demonstration content is in force ("lblDemonstration"): white on red, centred,
// hidden until the screen shows it.
QLabel* demonstrationBanner(QWidget* parent);

} // namespace tov::ui
