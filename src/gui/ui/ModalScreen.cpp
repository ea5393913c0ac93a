#include "ui/ModalScreen.h"

#include "ui/Geometry.h"
#include "ui/MessagePanel.h"
#include "ui/ScreenKit.h"

#include <QFrame>
#include <QKeyEvent>
#include <QTimer>

namespace tov::ui {

namespace {
constexpr int kMarginTwips = 300;
constexpr int kPanelTwips = 480;
} // namespace

// The screen kit goes before the fields and buttons it watches: tearing them down moves the
// focus, and the kit would pass that on to a screen whose own part is already destroyed.
ModalScreen::~ModalScreen() {
    delete kit_;
}

ModalScreen::ModalScreen(const QString& caption, const QString& frameName, QWidget* parent)
    : QDialog(parent), frame_(new QFrame(this)), msgPanel_(new MessagePanel(this)),
      kit_(new ScreenKit(this, msgPanel_)) {
    setWindowTitle(caption);
    setModal(true);
    frame_->setObjectName(frameName);
    frame_->setFrameShape(QFrame::Box);
    frame_->setFrameShadow(QFrame::Raised);
    frame_->setAutoFillBackground(true);
    QPalette fp = frame_->palette();
    fp.setColor(QPalette::Window, QColor(0xf2, 0xf3, 0xf6));
    frame_->setPalette(fp);
    setAutoFillBackground(true);
    QPalette bg = palette();
    bg.setColor(QPalette::Window, QColor(0xd8, 0xdc, 0xe4));
    setPalette(bg);
}

void ModalScreen::finishLayout() {
    frame_->adjustSize();
    frame_->setFixedSize(frame_->sizeHint());
    resize(frame_->width() + 2 * twips(kMarginTwips),
           frame_->height() + twips(1000) + 2 * twips(kMarginTwips));
}

void ModalScreen::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CenterForm(this);
    centerFrame(frame_);
    kit_->ResetMenuChoices();
    Activate();
}

void ModalScreen::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    msgPanel_->setGeometry(twips(60), height() - twips(kPanelTwips) - twips(60),
                           width() - twips(120), twips(kPanelTwips));
    centerFrame(frame_);
}

void ModalScreen::keyPressEvent(QKeyEvent* event) {
    // Enter and Escape belong to the fields and menu choices, never to the dialog itself.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return ||
        event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ModalScreen::reject() {
    // Only the screen's own choices close it; Escape and the window's close button do not.
}

void ModalScreen::closeScreen() {
    done(QDialog::Rejected);
}

} // namespace tov::ui
