#include "ui/Geometry.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QWidget>

namespace tov::ui {

namespace {
constexpr int kTwipsPerInch = 1440;
constexpr int kLogicalDpi = 96;
} // namespace

int twips(int t) {
    return t * kLogicalDpi / kTwipsPerInch;
}
int toTwips(int pixels) {
    return pixels * kTwipsPerInch / kLogicalDpi;
}

void CenterForm(QWidget* screen) {
    const QScreen* display = screen->screen();
    if (display == nullptr || screen->isMaximized()) {
        return;
    }
    const QRect area = display->availableGeometry();
    const QRect frame = screen->frameGeometry();
    screen->move(area.left() + (area.width() - frame.width()) / 2,
                 area.top() + (area.height() - frame.height()) / 2);
}

void centerFrame(QWidget* frame) {
    const QWidget* window = frame->parentWidget();
    if (window == nullptr) {
        return;
    }
    const int left = (window->width() - frame->width()) / 2;
    const int top = (window->height() - (frame->height() + twips(1000))) / 2;
    frame->move(std::max(0, left), std::max(0, top));
}

void SetHourglass() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QApplication::processEvents();
}

void ResetHourglass() {
    while (QApplication::overrideCursor() != nullptr) {
        QApplication::restoreOverrideCursor();
    }
    QApplication::processEvents();
}

void SelectActiveText() {
    QWidget* w = QApplication::focusWidget();
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->selectAll();
    } else if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->lineEdit()) {
        combo->lineEdit()->selectAll();
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(w)) {
        text->selectAll();
    }
}

} // namespace tov::ui
