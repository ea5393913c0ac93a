#pragma once

// Keys typed into whatever has the focus, as the operator types them.

#include <QApplication>
#include <QWidget>
#include <QtTest>

namespace tov::fakes {

inline QWidget* focused() {
    return QApplication::focusWidget();
}

// Characters beyond ASCII go as key events carrying their text, as a keyboard layout sends them.
inline void typeText(const QString& text) {
    for (const QChar c : text) {
        // Each key goes where the focus is now: a key may move it on.
        QWidget* w = focused();
        QVERIFY(w != nullptr);
        if (c.unicode() < 128) {
            QTest::keyClick(w, c.toLatin1());
        } else {
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
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
