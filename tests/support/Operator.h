#pragma once

// An operator for whole-program tests: whatever modal screen is on top gets the keys planned for
// its kind. A screen that is still there after its keys (a failed write keeps it open), or one
// the plan does not know, is left by its Cancel choice, so no failure can leave a test waiting.

#include "entry/frmNewEntry.h"
#include "intake/frmClientInfo.h"
#include "intake/frmCourtHistory.h"
#include "reports/frmPrintSelected.h"
#include "reports/frmViewReport.h"
#include "supervisor/frmMyInputBox.h"
#include "supervisor/frmSupervisorOptions.h"
#include "supervisor/frmVerify.h"
#include "support/ScreenDriver.h"
#include "testing/frmPresentQA.h"
#include "testing/frmSelectEntryMethod.h"
#include "testing/frmSelectLanguage.h"
#include "ui/ScreenKit.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMap>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <functional>

namespace tov::fakes {

class Operator {
public:
    using Action = std::function<void(QWidget*)>;

    Operator() {
        QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
    }
    // What the operator does on the first showing of a screen of this class (its meta-object
    // class name, e.g. "tov::intake::frmClientInfo").
    void plan(const QString& className, Action action) { plan_[className] = std::move(action); }
    void start() { timer_.start(2); }
    void stop() {
        timer_.stop();
        plan_.clear();
    }
    // Screens met that the plan did not know, by class name.
    QStringList unplanned;

    // Leaves a screen as the operator would who wants nothing more of it.
    static void leave(QWidget* w) {
        click<intake::frmClientInfo>(w, intake::frmClientInfo::ChoiceCancel);
        click<intake::frmCourtHistory>(w, intake::frmCourtHistory::ChoiceCancel);
        click<entry::frmNewEntry>(w, entry::frmNewEntry::ChoiceCancel);
        click<testing::frmSelectEntryMethod>(w, testing::frmSelectEntryMethod::ChoiceCancel);
        click<testing::frmSelectLanguage>(w, testing::frmSelectLanguage::ChoiceCancel);
        click<supervisor::frmSupervisorOptions>(w,
                                                supervisor::frmSupervisorOptions::ChoiceMainMenu);
        click<supervisor::frmVerify>(w, supervisor::frmVerify::ChoiceCancel);
        click<supervisor::frmMyInputBox>(w, supervisor::frmMyInputBox::ChoiceCancel);
        click<reports::frmViewReport>(w, reports::frmViewReport::ChoiceClose);
        click<reports::frmPrintSelected>(w, reports::frmPrintSelected::ChoiceReturn);
        if (auto* d = qobject_cast<QDialog*>(w); d != nullptr && d->isVisible()) {
            d->done(QDialog::Rejected);
        }
    }

private:
    template <typename Screen> static void click(QWidget* w, int choice) {
        if (auto* s = qobject_cast<Screen*>(w); s != nullptr && s->isVisible()) {
            s->kit()->cmdMenuChoice(choice)->click();
        }
    }
    static bool contains(const QList<QPointer<QWidget>>& list, QWidget* w) {
        return std::any_of(list.begin(), list.end(), [w](const auto& p) { return p == w; });
    }
    void tick() {
        QWidget* w = QApplication::activeModalWidget();
        if (w == nullptr || !w->isVisible() || contains(busy_, w)) {
            return;
        }
        busy_ << w;
        // The keys go from a timer of their own: a screen they open runs a nested event loop, and
        // Qt does not fire this timer again while its own handler is still running.
        QTimer::singleShot(0, [this, screen = QPointer<QWidget>(w)] {
            if (screen != nullptr && screen->isVisible()) {
                act(screen);
            }
            busy_.removeAll(screen);
            busy_.removeAll(nullptr);
            seen_.removeAll(nullptr);
        });
    }
    void act(QWidget* w) {
        const QString name = QString::fromLatin1(w->metaObject()->className());
        if (contains(seen_, w) || !plan_.contains(name)) {
            if (!contains(seen_, w)) {
                unplanned << name;
            }
            leave(w);
            return;
        }
        seen_ << w;
        QApplication::setActiveWindow(w);
        if (QTest::qWaitForWindowActive(w)) {
            plan_.value(name)(w);
        } else {
            leave(w);
        }
    }

    QTimer timer_;
    QMap<QString, Action> plan_;
    QList<QPointer<QWidget>> seen_;
    QList<QPointer<QWidget>> busy_;
};

template <typename Screen> Screen* as(QWidget* w) {
    return qobject_cast<Screen*>(w);
}

// Chooses a menu choice of a screen as the operator does: focus, then Enter.
inline void acceptOn(ui::ModalScreen* s, int choice) {
    s->kit()->cmdMenuChoice(choice)->setFocus();
    press(Qt::Key_Return);
}

// A new client's two intake screens keyed in full and accepted, after the given entry method.
inline void planIntake(Operator& op, int method) {
    op.plan("tov::testing::frmSelectEntryMethod",
            [method](QWidget* w) { acceptOn(as<testing::frmSelectEntryMethod>(w), method); });
    op.plan("tov::intake::frmClientInfo", [](QWidget* w) {
        for (const char* value : {"NEW, NED", "52", "02/29/1972", "1", "5", "2", "3", "000-11-2222",
                                  "Q123-4567-8901"}) {
            typeText(QString::fromLatin1(value));
            press(Qt::Key_Return);
        }
        acceptOn(as<intake::frmClientInfo>(w), intake::frmClientInfo::ChoiceOK);
    });
    op.plan("tov::intake::frmCourtHistory", [](QWidget* w) {
        for (const char* value :
             {"1", "0", "n", "2", "12", "0", "1", "0", "9/8/2026", ".15", "1", "r"}) {
            typeText(QString::fromLatin1(value));
            press(Qt::Key_Return);
        }
        acceptOn(as<intake::frmCourtHistory>(w), intake::frmCourtHistory::ChoiceOK);
    });
}

} // namespace tov::fakes
