#pragma once

#include <QDialog>

class QFrame;

namespace tov::ui {

class MessagePanel;
class ScreenKit;

// A modal screen of the program: a main frame centred in the window with the help line below it,
// and the shared keyboard and focus grammar. Escape does not close it: every screen ends through
// its own menu choices.
class ModalScreen : public QDialog {
    Q_OBJECT
public:
    ModalScreen(const QString& caption, const QString& frameName, QWidget* parent = nullptr);
    ~ModalScreen() override;

    QFrame* mainFrame() const { return frame_; }
    ScreenKit* kit() const { return kit_; }
    MessagePanel* msgPanel() const { return msgPanel_; }

    // The screen's outcome once it has closed: true when its work was accepted and the road it
    // is on goes on, false when it was cancelled.
    bool ProceedToNext() const { return proceedToNext_; }

protected:
    void setProceedToNext(bool proceed) { proceedToNext_ = proceed; }
    // Sizes the window around the frame once the subclass has filled it.
    void finishLayout();
    // What the screen does each time it is shown: focus and messages.
    virtual void Activate() {}

    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;
    // Closes the screen, ending its modal display.
    void closeScreen();

private:
    QFrame* frame_;
    MessagePanel* msgPanel_;
    ScreenKit* kit_;
    bool proceedToNext_ = false;
};

} // namespace tov::ui
