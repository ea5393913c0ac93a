#pragma once

#include <QFrame>

class QPushButton;

namespace tov::ui {

// A large action button on its coloured 3-D panel: the panel (sspMenuChoice) lights up cyan
// while the button (cmdMenuChoice) has the focus, and is blue otherwise.
class MenuChoice : public QFrame {
    Q_OBJECT
public:
    static constexpr QRgb FocusColour = qRgb(0, 255, 255);
    static constexpr QRgb RestColour = qRgb(0, 0, 255);

    MenuChoice(const QString& caption, int index, QWidget* parent = nullptr);
    ~MenuChoice() override;

    QPushButton* button() const { return button_; }
    int index() const { return index_; }
    void setHighlighted(bool on);
    bool isHighlighted() const { return highlighted_; }

private:
    QPushButton* button_;
    int index_;
    bool highlighted_ = false;
};

} // namespace tov::ui
