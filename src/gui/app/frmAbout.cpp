#include "app/frmAbout.h"

#include "ui/Branding.h"
#include "ui/Geometry.h"
#include "ui/Headings.h"
#include "ui/MenuChoice.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace tov::app {

namespace {

QLabel* panel(const QString& name, const QString& text, QWidget* parent, qreal scale = 1.0,
              bool bold = false) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setMargin(3);
    QFont f = label->font();
    f.setPointSizeF(f.pointSizeF() * scale);
    f.setBold(bold);
    label->setFont(f);
    return label;
}

} // namespace

frmAbout::frmAbout(Publisher publisher, const content::ContentSet& content, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(Caption);
    setModal(false);
    const ui::Branding brand = ui::Branding::of(publisher);

    artwork_ = new QWidget(this);
    artwork_->setObjectName(QStringLiteral("artwork"));
    artwork_->setFixedSize(ui::twips(6600), ui::twips(BoxStartTwips));
    auto* logo = new QLabel(artwork_);
    logo->setObjectName(QStringLiteral("imgZEVLogo"));
    logo->setPixmap(brand.logo(artwork_->size()));
    logo->setGeometry(artwork_->rect());
    for (int i = 0; i < BoxCount; ++i) {
        auto* box = new QFrame(artwork_);
        box->setObjectName(QStringLiteral("Picture2_%1").arg(i));
        box->setAutoFillBackground(true);
        QPalette p = box->palette();
        p.setColor(QPalette::Window, palette().color(QPalette::Window));
        box->setPalette(p);
        Picture2_[static_cast<std::size_t>(i)] = box;
    }
    boxTwips_.fill(BoxStartTwips);
    placeBoxes();

    QLabel* product = ui::boldHeading(QStringLiteral("Tovaline II - Short Form"), this, 1.6);
    product->setAlignment(Qt::AlignCenter);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(ui::twips(300), ui::twips(300), ui::twips(300), ui::twips(300));
    layout->setSpacing(ui::twips(90));
    layout->addWidget(artwork_, 0, Qt::AlignHCenter);
    layout->addWidget(product);
    layout->addWidget(panel(QStringLiteral("SSPanel1"), brand.company, this, 1.3, true));
    layout->addWidget(panel(QStringLiteral("SSPanel4"), brand.web, this));
    layout->addWidget(panel(QStringLiteral("SSPanel5"), brand.email, this));
    layout->addWidget(panel(QStringLiteral("SSPanel2"),
                            QStringLiteral("This program and its test materials are licensed to "
                                           "the agency that installed it.\nCopying them for any "
                                           "other use is not permitted."),
                            this));
    layout->addWidget(panel(QStringLiteral("SSPanel3"), brand.phone, this));
    if (content.demonstration()) {
        QLabel* banner = ui::demonstrationBanner(this);
        banner->show();
        layout->addWidget(banner);
    } else {
        layout->addWidget(panel(QStringLiteral("lblContent"), content::AboutLine(content), this));
    }

    sspMenuChoice_ = new ui::MenuChoice(QStringLiteral("OK"), 0, this);
    sspMenuChoice_->setObjectName(QStringLiteral("sspMenuChoice"));
    sspMenuChoice_->setHighlighted(true);
    sspMenuChoice_->setFixedWidth(ui::twips(2400));
    cmdOK_ = sspMenuChoice_->button();
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setDefault(true);
    connect(cmdOK_, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(sspMenuChoice_, 0, Qt::AlignHCenter);

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("Timer1"));
    timer_->setInterval(10);
    connect(timer_, &QTimer::timeout, this, &frmAbout::Timer1_Timer);
    setSplash(false);
}

void frmAbout::setSplash(bool splash) {
    splash_ = splash;
    setWindowTitle(splash ? QStringLiteral("Initializing...") : Caption);
    sspMenuChoice_->setVisible(!splash);
    setModal(!splash);
    // The About box shows its artwork at once; only the splash uncovers it.
    for (QFrame* box : Picture2_) {
        box->setVisible(splash && !fadeDone_);
    }
}

void frmAbout::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ui::CenterForm(this);
    if (splash_ && !fadeDone_) {
        timer_->start();
    } else {
        cmdOK_->setFocus();
    }
}

void frmAbout::placeBoxes() {
    const int width = artwork_->width();
    for (int i = 0; i < BoxCount; ++i) {
        const int left = width * i / BoxCount;
        const int right = width * (i + 1) / BoxCount;
        Picture2_[static_cast<std::size_t>(i)]->setGeometry(
            left, 0, right - left, ui::twips(boxTwips_[static_cast<std::size_t>(i)]));
    }
}

void frmAbout::Timer1_Timer() {
    QApplication::processEvents();
    for (int& h : boxTwips_) {
        h = std::max(0, h - ShrinkTwips);
    }
    placeBoxes();
    if (boxTwips_[0] < GoneBelowTwips) {
        for (QFrame* box : Picture2_) {
            box->hide();
        }
        timer_->stop();
        fadeDone_ = true;
        emit fadeFinished();
    }
}

} // namespace tov::app
