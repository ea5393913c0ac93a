#include "intake/CodeListBox.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

namespace tov::intake {

CodeListBox::CodeListBox(records::CodeList list, std::function<void()> beep, QWidget* parent)
    : QComboBox(parent), list_(list), beep_(std::move(beep)) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr); // typed text is mapped by code, not completed
    addItems(records::entries(list));
    setMaxVisibleItems(static_cast<int>(records::entries(list).size()));
    setCurrentIndex(-1);
    lineEdit()->clear();
    connect(lineEdit(), &QLineEdit::textChanged, this, [this] { mapText(); });
}

void CodeListBox::mapText() {
    if (mapping_) {
        return;
    }
    mapping_ = true;
    const int p = position();
    if (p >= 0) {
        if (currentIndex() != p || currentText() != itemText(p)) {
            setCurrentIndex(p);
            setEditText(itemText(p));
        }
        if (hasFocus()) {
            lineEdit()->selectAll();
        }
    } else if (isVisible() && isEnabled()) {
        // Nothing matches: offer the list, as F4 would.
        QTimer::singleShot(0, this, [this] {
            if (position() < 0 && isVisible() && isEnabled()) {
                showPopup();
            }
        });
    }
    mapping_ = false;
}

void CodeListBox::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    const bool typed = !text.isEmpty() && text[0].isPrint();
    if (event->key() == Qt::Key_Backspace ||
        (typed && (event->modifiers() & ~Qt::ShiftModifier & ~Qt::KeypadModifier) == 0)) {
        const QChar c = text.isEmpty() ? QChar() : text[0];
        const int last = static_cast<int>(records::entries(list_).size()) - 1;
        const bool allowed = event->key() != Qt::Key_Backspace &&
                             ((c >= QLatin1Char('0') && c <= QChar(u'0' + last)) ||
                              c == QLatin1Char('N') || c == QLatin1Char('n'));
        if (!allowed) {
            setCurrentIndex(-1);
            setEditText(QString());
            if (beep_) {
                beep_();
            }
            event->accept();
            return;
        }
    }
    QComboBox::keyPressEvent(event);
}

} // namespace tov::intake
