#include "records/InRange.h"
#include "support/ProgramRig.h"
#include "ui/Geometry.h"
#include "ui/MenuChoice.h"
#include "ui/MessagePanel.h"
#include "ui/ScreenKit.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtTest>

using namespace tov;
using ui::MenuChoice;
using ui::ScreenKit;

namespace {

// A screen with two fields and four menu choices, as a screen of the program builds them.
class Screen : public QDialog {
public:
    Screen() {
        auto* layout = new QVBoxLayout(this);
        panel = new ui::MessagePanel(this);
        kit = new ScreenKit(this, panel);
        layout->addWidget(kit->addLabel("First:"));
        first = new QLineEdit(this);
        layout->addWidget(first);
        layout->addWidget(kit->addLabel("Second:"));
        second = new QLineEdit(this);
        layout->addWidget(second);
        kit->addField(first, 0, "Type the first value, then press Enter.",
                      [this] { return first->text() != "bad"; });
        kit->addField(second, 1, "Type the second value, then press Enter.");
        for (int i = 0; i < 4; ++i) {
            layout->addWidget(kit->addMenuChoice(QString("Choice %1").arg(i),
                                                 QString("Help for choice %1.").arg(i)));
        }
        layout->addWidget(panel);
        QObject::connect(kit, &ScreenKit::menuChoiceClicked, this, [this](int i) { clicks << i; });
    }
    ui::MessagePanel* panel;
    ScreenKit* kit;
    QLineEdit* first;
    QLineEdit* second;
    QList<int> clicks;
};

QColor panelColour(MenuChoice* c) {
    return c->palette().color(QPalette::Window);
}

} // namespace

class TestScreenKit : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void focusLightsOnePanel();
    void leavingResetsAllPanels();
    void arrowKeysDoNotMove_data();
    void arrowKeysDoNotMove();
    void enterClicksOnce();
    void enterDoesNotReachNextScreen();
    void spaceClicks();
    void fieldFocusBoldsLabelAndShowsHelp();
    void enterRunsFieldCheck();
    void inRange_data();
    void inRange();
    void twipsAndCentring();

private:
    std::unique_ptr<Screen> screen_;
};

void TestScreenKit::init() {
    screen_ = std::make_unique<Screen>();
    screen_->show();
    QApplication::setActiveWindow(screen_.get());
    QVERIFY(QTest::qWaitForWindowActive(screen_.get()));
}

void TestScreenKit::cleanup() {
    screen_.reset();
}

void TestScreenKit::focusLightsOnePanel() {
    screen_->kit->cmdMenuChoice(2)->setFocus();
    QTRY_VERIFY(screen_->kit->cmdMenuChoice(2)->hasFocus());
    for (int i = 0; i < 4; ++i) {
        const QColor expected = i == 2 ? QColor(0, 255, 255) : QColor(0, 0, 255);
        QCOMPARE(panelColour(screen_->kit->sspMenuChoice(i)), expected);
        QCOMPARE(screen_->kit->cmdMenuChoice(i)->font().bold(), i == 2);
    }
    QCOMPARE(screen_->panel->text(), QStringLiteral("Help for choice 2."));
}

void TestScreenKit::leavingResetsAllPanels() {
    screen_->kit->cmdMenuChoice(3)->setFocus();
    QTRY_VERIFY(screen_->kit->sspMenuChoice(3)->isHighlighted());
    screen_->first->setFocus();
    QTRY_VERIFY(screen_->first->hasFocus());
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(panelColour(screen_->kit->sspMenuChoice(i)), QColor(0, 0, 255));
        QVERIFY(!screen_->kit->cmdMenuChoice(i)->font().bold());
    }
}

void TestScreenKit::arrowKeysDoNotMove_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("up") << int(Qt::Key_Up);
    QTest::newRow("down") << int(Qt::Key_Down);
    QTest::newRow("left") << int(Qt::Key_Left);
    QTest::newRow("right") << int(Qt::Key_Right);
    QTest::newRow("letter") << int(Qt::Key_A);
}

void TestScreenKit::arrowKeysDoNotMove() {
    QFETCH(int, key);
    QPushButton* b = screen_->kit->cmdMenuChoice(1);
    b->setFocus();
    QTRY_VERIFY(b->hasFocus());
    QTest::keyClick(b, Qt::Key(key));
    QVERIFY(b->hasFocus());
    QVERIFY(screen_->clicks.isEmpty());
}

void TestScreenKit::enterClicksOnce() {
    QPushButton* b = screen_->kit->cmdMenuChoice(0);
    b->setFocus();
    QTRY_VERIFY(b->hasFocus());
    QTest::keyClick(b, Qt::Key_Return);
    QCOMPARE(screen_->clicks, QList<int>({0}));
    QTest::keyClick(b, Qt::Key_Enter);
    QCOMPARE(screen_->clicks, QList<int>({0, 0}));
    // A held key's repeats do nothing more.
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r", true);
    QApplication::sendEvent(b, &repeat);
    QCOMPARE(screen_->clicks.size(), 2);
}

void TestScreenKit::enterDoesNotReachNextScreen() {
    Screen next;
    QObject::connect(screen_->kit, &ScreenKit::menuChoiceClicked, &next, [&next] {
        next.show();
        QApplication::setActiveWindow(&next);
        next.kit->cmdMenuChoice(0)->setFocus();
    });
    QPushButton* b = screen_->kit->cmdMenuChoice(0);
    b->setFocus();
    QTRY_VERIFY(b->hasFocus());
    QTest::keyPress(b, Qt::Key_Return);
    QTRY_VERIFY(next.kit->cmdMenuChoice(0)->hasFocus());
    QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(screen_->clicks, QList<int>({0}));
    QVERIFY(next.clicks.isEmpty());
}

void TestScreenKit::spaceClicks() {
    QPushButton* b = screen_->kit->cmdMenuChoice(3);
    b->setFocus();
    QTRY_VERIFY(b->hasFocus());
    QTest::keyClick(b, Qt::Key_Space);
    QCOMPARE(screen_->clicks, QList<int>({3}));
}

void TestScreenKit::fieldFocusBoldsLabelAndShowsHelp() {
    screen_->first->setText("abc");
    screen_->second->setFocus();
    QTRY_VERIFY(screen_->second->hasFocus());
    QVERIFY(screen_->kit->lblInfo(1)->font().bold());
    QVERIFY(!screen_->kit->lblInfo(0)->font().bold());
    QCOMPARE(screen_->panel->text(), QStringLiteral("Type the second value, then press Enter."));
    screen_->first->setFocus();
    QTRY_VERIFY(screen_->first->hasFocus());
    QVERIFY(screen_->kit->lblInfo(0)->font().bold());
    QVERIFY(!screen_->kit->lblInfo(1)->font().bold());
    QCOMPARE(screen_->first->selectedText(), QStringLiteral("abc"));
    screen_->kit->cmdMenuChoice(0)->setFocus();
    QTRY_VERIFY(!screen_->kit->lblInfo(0)->font().bold());
}

void TestScreenKit::enterRunsFieldCheck() {
    screen_->first->setFocus();
    QTRY_VERIFY(screen_->first->hasFocus());
    QTest::keyClicks(screen_->first, "bad");
    QTest::keyClick(screen_->first, Qt::Key_Return);
    QVERIFY(screen_->first->hasFocus());
    screen_->first->clear();
    QTest::keyClicks(screen_->first, "good");
    QTest::keyClick(screen_->first, Qt::Key_Return);
    QVERIFY(screen_->second->hasFocus());
    QTest::keyClick(screen_->second, Qt::Key_Return);
    QVERIFY(screen_->kit->cmdMenuChoice(0)->hasFocus());
    QVERIFY(screen_->clicks.isEmpty());
}

void TestScreenKit::inRange_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("inside");
    QTest::newRow("4") << 4 << false;
    QTest::newRow("5") << 5 << true;
    QTest::newRow("7") << 7 << true;
    QTest::newRow("9") << 9 << true;
    QTest::newRow("10") << 10 << false;
}

void TestScreenKit::inRange() {
    QFETCH(int, value);
    QFETCH(bool, inside);
    QCOMPARE(records::InRange(value, 5, 9), inside);
}

void TestScreenKit::twipsAndCentring() {
    QCOMPARE(ui::twips(1440), 96);
    QCOMPARE(ui::twips(15), 1);
    QCOMPARE(ui::toTwips(96), 1440);
    QWidget window;
    window.resize(800, 600);
    auto* frame = new QWidget(&window);
    frame->resize(400, 300);
    ui::centerFrame(frame);
    QCOMPARE(frame->pos(), QPoint(200, (600 - (300 + 1000 / 15)) / 2));
}

QTEST_MAIN(TestScreenKit)
#include "test_screenkit.moc"
