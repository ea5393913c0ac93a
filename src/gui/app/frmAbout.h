#pragma once

#include "app/Settings.h"
#include "content/ContentSet.h"

#include <QDialog>
#include <array>

class QFrame;
class QLabel;
class QPushButton;
class QTimer;

namespace tov::ui {
class MenuChoice;
}

namespace tov::app {

// The splash screen at start-up and the About box from the menu: the publisher's artwork,
// name and contact lines. As a splash, six boxes covering the artwork shrink away and the screen
// reports FadeDone when they are gone.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    static inline const QString Caption = QStringLiteral("About Tovaline-II Short Form");
    static constexpr int BoxCount = 6;
    static constexpr int BoxStartTwips = 2400;
    static constexpr int ShrinkTwips = 50;
    static constexpr int GoneBelowTwips = 61;

    // `content` is the line on the content set in force; a demonstration set's is shown as a
    // warning.
    frmAbout(Publisher publisher, const content::ContentSet& content, QWidget* parent = nullptr);

    void setSplash(bool splash);
    bool Splash() const { return splash_; }
    bool FadeDone() const { return fadeDone_; }
    int boxHeightTwips(int index) const { return boxTwips_.at(index); }

    QPushButton* cmdOK() const { return cmdOK_; }
    QTimer* Timer1() const { return timer_; }

signals:
    void fadeFinished();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Timer1_Timer();
    void placeBoxes();

    bool splash_ = false;
    bool fadeDone_ = false;
    QWidget* artwork_ = nullptr;
    std::array<QFrame*, BoxCount> Picture2_{};
    std::array<int, BoxCount> boxTwips_{};
    QTimer* timer_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
    ui::MenuChoice* sspMenuChoice_ = nullptr;
};

} // namespace tov::app
