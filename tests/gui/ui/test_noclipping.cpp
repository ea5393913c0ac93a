#include "app/frmAbout.h"
#include "app/frmDriveSelect.h"
#include "scan/frmScanInfo.h"
#include "supervisor/AccessCodePrompt.h"
#include "support/FakePrinter.h"
#include "support/Operator.h"
#include "ui/frmMainMenu.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QtTest>

// Every screen of the program on every display the program supports: each visible control lies
// wholly inside its parent, so nothing is cut off. The displays are the offscreen platform's
// screens (listed in displays.json); the same program runs again at 125 % scaling.

using namespace tov;
using fakes::Operator;
using Options = supervisor::frmSupervisorOptions;

namespace {

using Check = std::function<void(QWidget*)>;

// A window with no parent on a given display: it opens where it stands.
void placeOn(QWidget* window, QScreen* display) {
    window->setScreen(display);
    window->move(display->geometry().topLeft());
}

// The program, its menu on the display under test, with a current client who has answers.
struct Rig : fakes::ReportRig {
    explicit Rig(QScreen* display) : ReportRig({"Harmon, Della J.", "Ortega-Ruiz, Marco"}) {
        placeOn(&menu(), display);
        state().clients().setCurrentClient(1);
    }
    app::Context context() { return program->context(); }
};

// A screen made as the program makes it, shown on the menu's display and checked.
template <typename Screen, typename... Args> void shown(const Check& check, Args&&... args) {
    Screen screen(std::forward<Args>(args)...);
    QVERIFY(fakes::showScreen(&screen));
    check(&screen);
}
template <typename Screen> void opened(Rig& rig, const Check& check) {
    shown<Screen>(check, rig.context(), &rig.menu());
}
// A screen of a client's chain, opened for editing the current client.
template <typename Screen> void editing(Rig& rig, const Check& check) {
    shown<Screen>(check, rig.context(), intake::ClientMode::EditClient, &rig.menu());
}

// Runs a step of the program; each screen of the class it opens is checked, then handled by
// `then` (left by its Cancel choice when none is given).
void during(const QString& className, const std::function<void()>& step, const Check& check,
            const std::function<void(QWidget*, int)>& then = {}) {
    Operator op;
    int count = 0;
    op.plan(className, [&](QWidget* w) {
        check(w);
        ++count;
        if (then) {
            then(w, count);
        } else {
            Operator::leave(w);
        }
    });
    op.start();
    step();
    op.stop();
    QVERIFY2(count > 0, qPrintable(className + QStringLiteral(" never opened")));
}

const QString kInputBox = QStringLiteral("tov::supervisor::frmMyInputBox");

struct Screen {
    const char* name;
    std::function<void(Rig&, const Check&)> open;
};

std::function<void(Rig&, const Check&)> supervisorTab(int tab) {
    return [tab](Rig& rig, const Check& check) {
        Options screen(rig.context(), rig.printer, &rig.menu());
        QVERIFY(fakes::showScreen(&screen));
        screen.sstSupervisorOperations()->setCurrentIndex(tab);
        check(&screen);
    };
}

const QList<Screen>& screens() {
    static const QList<Screen> list = {
        {"frmMainMenu", [](Rig& rig, const Check& check) { check(&rig.menu()); }},
        {"frmAbout",
         [](Rig& rig, const Check& check) {
             during(
                 "tov::app::frmAbout", [&] { rig.menu().mnuAbout()->trigger(); }, check);
         }},
        {"frmAbout splash",
         [](Rig& rig, const Check& check) {
             app::frmAbout splash(rig.state().settings().publisher(), rig.state().content());
             placeOn(&splash, rig.menu().screen());
             splash.setSplash(true);
             QVERIFY(fakes::showScreen(&splash));
             check(&splash);
         }},
        {"frmDriveSelect",
         [](Rig& rig, const Check& check) {
             const QList<platform::Drive> drives = {{rig.dataDir, rig.dataDir, false}};
             shown<app::frmDriveSelect>(check, drives, rig.dataDir, *rig.boxes, &rig.menu());
         }},
        {"frmClientInfo", editing<intake::frmClientInfo>},
        {"frmCourtHistory", editing<intake::frmCourtHistory>},
        {"frmSelectEntryMethod",
         [](Rig& rig, const Check& check) {
             shown<testing::frmSelectEntryMethod>(check, rig.context(),
                                                  testing::EntryMethods{[] {}, [] {}}, &rig.menu());
         }},
        {"frmSelectLanguage",
         [](Rig& rig, const Check& check) {
             testing::frmSelectLanguage screen(rig.context(), &rig.menu());
             QVERIFY(screen.LanguageCount() > 1);
             QVERIFY(fakes::showScreen(&screen));
             check(&screen);
         }},
        {"frmPresentQA",
         [](Rig& rig, const Check& check) {
             testing::frmPresentQA screen(rig.context(), &rig.menu());
             screen.setLanguage(QStringLiteral("English"));
             QVERIFY(screen.OpenQuestions());
             QVERIFY(fakes::showScreen(&screen));
             check(&screen); // the instructions
             fakes::press(Qt::Key_Return);
             fakes::press(Qt::Key_Return);
             QVERIFY(screen.txtQuestion()->hasFocus());
             check(&screen); // the first question
         }},
        {"frmNewEntry", editing<entry::frmNewEntry>},
        {"frmScanInfo", opened<scan::frmScanInfo>},
        {"frmViewReport",
         [](Rig& rig, const Check& check) {
             shown<reports::frmViewReport>(check, rig.context(), rig.printer, reports::ExtraPages{},
                                           &rig.menu());
         }},
        {"frmPrintSelected",
         [](Rig& rig, const Check& check) {
             shown<reports::frmPrintSelected>(check, rig.context(), rig.printer,
                                              reports::ExtraPages{}, &rig.menu());
         }},
        {"frmMyInputBox access code",
         [](Rig& rig, const Check& check) {
             during(
                 kInputBox, [&] { supervisor::PromptForAccessCode(rig.context(), &rig.menu()); },
                 check);
         }},
        {"frmMyInputBox wait shown",
         [](Rig& rig, const Check& check) {
             rig.state().setAccessCodeAllowedAt(rig.clock->ms + 30'000);
             during(
                 kInputBox, [&] { supervisor::PromptForAccessCode(rig.context(), &rig.menu()); },
                 [&](QWidget* w) {
                     const QString help = w->findChild<QLabel*>("lblHelpMsg")->text();
                     QVERIFY2(help.startsWith(QStringLiteral("Too many wrong codes")),
                              qPrintable(help));
                     check(w);
                 });
         }},
        {"frmMyInputBox change access code",
         [](Rig& rig, const Check& check) {
             // The current code, then the new one twice.
             during(
                 kInputBox, [&] { supervisor::ChangeAccessCode(rig.context(), &rig.menu()); },
                 check,
                 [](QWidget* w, int prompt) {
                     auto* box = qobject_cast<supervisor::frmMyInputBox*>(w);
                     QTest::keyClicks(box->txtInput(), prompt == 1 ? "Z" : "Agency7");
                     box->kit()->cmdMenuChoice(prompt < 3 ? 0 : 1)->click();
                 });
         }},
        {"frmSupervisorOptions reports", supervisorTab(Options::TabReports)},
        {"frmSupervisorOptions verify", supervisorTab(Options::TabVerify)},
        {"frmSupervisorOptions delete names", supervisorTab(Options::TabDeleteNames)},
        {"frmSupervisorOptions access code", supervisorTab(Options::TabAccessCode)},
        {"frmVerify", opened<supervisor::frmVerify>},
    };
    return list;
}

// Where a control's position follows the scrolling of a view, reaching past it is normal.
bool scrolledContent(const QWidget* w) {
    const QWidget* parent = w->parentWidget();
    const auto* area = qobject_cast<const QAbstractScrollArea*>(parent->parentWidget());
    return area != nullptr && area->viewport() == parent;
}

// The visible controls of a window that reach outside their parent.
QStringList clippedControls(QWidget* window) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QStringList found;
    for (const QWidget* w : window->findChildren<QWidget*>()) {
        if (w->isVisible() && !w->isWindow() && !scrolledContent(w) &&
            !w->parentWidget()->rect().contains(w->geometry())) {
            QDebug(&found.emplace_back())
                << w << w->geometry() << "in" << w->parentWidget() << w->parentWidget()->size();
        }
    }
    return found;
}

} // namespace

class TestNoClipping : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY2(QGuiApplication::screens().size() > 1,
                 "the displays of displays.json are missing");
    }
    void controlsInsideParents_data();
    void controlsInsideParents();
};

void TestNoClipping::controlsInsideParents_data() {
    QTest::addColumn<int>("screen");
    QTest::addColumn<int>("display");
    const QList<QScreen*> displays = QGuiApplication::screens();
    for (int d = 0; d < displays.size(); ++d) {
        const QSize pixels = displays[d]->geometry().size() * displays[d]->devicePixelRatio();
        for (int s = 0; s < screens().size(); ++s) {
            QTest::addRow("%s %dx%d @%g", screens()[s].name, pixels.width(), pixels.height(),
                          displays[d]->devicePixelRatio())
                << s << d;
        }
    }
}

void TestNoClipping::controlsInsideParents() {
    QFETCH(int, screen);
    QFETCH(int, display);
    QScreen* on = QGuiApplication::screens().at(display);
    Rig rig(on);
    QVERIFY(rig.started);
    screens()[screen].open(rig, [&](QWidget* window) {
        QCOMPARE(window->screen(), on);
        const QStringList clipped = clippedControls(window);
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral("; "))));
    });
}

QTEST_MAIN(TestNoClipping)
#include "test_noclipping.moc"
