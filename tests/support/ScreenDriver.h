#pragma once

// Keys typed into whatever has the focus, as the operator types them.

#include <QApplication>
#include <QClipboard>
#include <QWidget>
#include <QtTest>

namespace tov::fakes {

inline QWidget* focused() {
    return QApplication::focusWidget();
}

// Characters beyond ASCII go as key events carrying their text, as a keyboard layout sends them
// (a character outside the basic plane as one key).
inline void typeText(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString key = text.sliced(i, length);
        i += length - 1;
        // Each key goes where the focus is now: a key may move it on.
        QWidget* w = focused();
        QVERIFY(w != nullptr);
        if (key.front().unicode() < 128) {
            QTest::keyClick(w, key.front().toLatin1());
        } else {
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, key, Qt::NoModifier);
        }
    }
}

// Text put on the clipboard and pasted with Ctrl+V where the focus is.
inline void pasteText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
    QWidget* w = focused();
    QVERIFY(w != nullptr);
    QTest::keyClick(w, Qt::Key_V, Qt::ControlModifier);
}

inline void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* w = focused();
    QVERIFY(w != nullptr);
    QTest::keyClick(w, key, modifiers);
}

// Shows a screen without waiting on it, and waits until it has the keyboard.
inline bool showScreen(QWidget* screen) {
    screen->show();
    QApplication::setActiveWindow(screen);
    return QTest::qWaitForWindowActive(screen);
}

} // namespace tov::fakes
