#pragma once

#include "ui/ModalScreen.h"

class QLabel;
class QLineEdit;

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
    bool Cancelled() const { return cancelled_; }

    QLineEdit* txtInput() const { return txtInput_; }
    QLabel* lblHelpMsg() const { return lblHelpMsg_; }

protected:
    void Activate() override;

private:
    void cmdMenuChoice_Click(int index);

    platform::MessageBoxes& boxes_;
    QLineEdit* txtInput_;
    QLabel* lblHelpMsg_;
    bool cancelled_ = false;
};

} // namespace tov::supervisor
