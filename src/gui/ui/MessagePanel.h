#pragma once

#include <QLabel>

namespace tov::ui {

// The help line at the bottom of a screen: what the focused control expects and which key to
// press.
class MessagePanel : public QLabel {
    Q_OBJECT
public:
    explicit MessagePanel(QWidget* parent = nullptr) : QLabel(parent) {
        setObjectName(QStringLiteral("MsgPanel"));
        setFrameShape(QFrame::Panel);
        setFrameShadow(QFrame::Sunken);
        setLineWidth(2);
        setMinimumHeight(30);
        setIndent(8);
        setTextFormat(Qt::PlainText);
        QFont f = font();
        f.setPointSizeF(f.pointSizeF() * 1.1);
        setFont(f);
    }
};

} // namespace tov::ui
