#pragma once

#include "ui/ModalScreen.h"

#include <functional>

class QLabel;
class QLineEdit;
class QTimer;

namespace tov::platform {
class MessageBoxes;
}

namespace tov::supervisor {

// A small screen that takes one line of text, in plain or password mode.
class frmMyInputBox : public ui::ModalScreen {
    Q_OBJECT
public:
    enum Choice { ChoiceOK = 0, ChoiceCancel = 1 };

    explicit frmMyInputBox(platform::MessageBoxes& boxes, QWidget* parent = nullptr);
    ~frmMyInputBox() override;

    bool PasswordInput = false;
    QString InputValue;
    int InputLength = 255;
    QString HelpMessage;
    // Seconds the box must still refuse an entry (after wrong access codes); none when not set.
    // While it lasts the wait is shown in place of the help message and typing does nothing.
    std::function<int()> WaitSeconds;
    bool Cancelled() const { return cancelled_; }
    // Shows the wait as it stands now; a timer calls it while the box is up.
    void showWait();

    QLineEdit* txtInput() const { return txtInput_; }
    QLabel* lblHelpMsg() const { return lblHelpMsg_; }

protected:
    void Activate() override;

private:
    void cmdMenuChoice_Click(int index);

    platform::MessageBoxes& boxes_;
    QLineEdit* txtInput_;
    QLabel* lblHelpMsg_;
    QTimer* waitTimer_;
    bool cancelled_ = false;
};

} // namespace tov::supervisor
