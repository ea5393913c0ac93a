#include "ui/MenuChoice.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace tov::ui {

// The button goes first, while this choice is still whole: whoever watches the button's events
// (the screen kit) looks at this choice as the button is torn down.
MenuChoice::~MenuChoice() {
    delete button_;
}

MenuChoice::MenuChoice(const QString& caption, int index, QWidget* parent)
    : QFrame(parent), button_(new QPushButton(caption, this)), index_(index) {
    setObjectName(QStringLiteral("sspMenuChoice_%1").arg(index));
    button_->setObjectName(QStringLiteral("cmdMenuChoice_%1").arg(index));
    // Enter is handled by the screen conventions, never by a dialog's default button.
    button_->setAutoDefault(false);
    button_->setDefault(false);
    button_->setMinimumHeight(34);
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setLineWidth(2);
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(button_);
    setHighlighted(false);
}

void MenuChoice::setHighlighted(bool on) {
    highlighted_ = on;
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(on ? FocusColour : RestColour));
    setPalette(p);
    QFont f = button_->font();
    f.setBold(on);
    button_->setFont(f);
}

} // namespace tov::ui
