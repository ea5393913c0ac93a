#include "supervisor/frmMyInputBox.h"

#include "platform/MessageBoxes.h"
#include "ui/Geometry.h"
#include "ui/ScreenKit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace tov::supervisor {

using platform::MessageBoxes;

frmMyInputBox::frmMyInputBox(platform::MessageBoxes& boxes, QWidget* parent)
    : ui::ModalScreen(QString(), QStringLiteral("frInput"), parent), boxes_(boxes),
      txtInput_(new QLineEdit(mainFrame())), lblHelpMsg_(new QLabel(mainFrame())),
      waitTimer_(new QTimer(this)) {
    setObjectName(QStringLiteral("frmMyInputBox"));
    ui::ScreenKit* k = kit();
    txtInput_->setObjectName(QStringLiteral("txtInput"));
    txtInput_->setMinimumWidth(ui::twips(4800));
    lblHelpMsg_->setObjectName(QStringLiteral("lblHelpMsg"));
    lblHelpMsg_->setWordWrap(true);
    lblHelpMsg_->setMaximumWidth(ui::twips(6000));
    // The frame is sized before the help message is set: room for three lines of it, so the
    // choices below are never cut off.
    lblHelpMsg_->setMinimumHeight(lblHelpMsg_->fontMetrics().lineSpacing() * 3);
    k->addField(txtInput_, -1, QString());

    QHBoxLayout* buttons = k->addMenuChoiceButtons(mainFrame(),
                                                   {{QStringLiteral("Information OK"), QString()},
                                                    {QStringLiteral("Cancel Input"), QString()}},
                                                   2600);
    auto* layout = new QVBoxLayout(mainFrame());
    layout->setContentsMargins(ui::twips(360), ui::twips(300), ui::twips(360), ui::twips(300));
    layout->setSpacing(ui::twips(240));
    layout->addWidget(lblHelpMsg_);
    layout->addWidget(txtInput_);
    layout->addLayout(buttons);
    setTabOrder(txtInput_, k->cmdMenuChoice(ChoiceOK));
    setTabOrder(k->cmdMenuChoice(ChoiceOK), k->cmdMenuChoice(ChoiceCancel));
    connect(k, &ui::ScreenKit::menuChoiceClicked, this, &frmMyInputBox::cmdMenuChoice_Click);
    waitTimer_->setInterval(250);
    connect(waitTimer_, &QTimer::timeout, this, &frmMyInputBox::showWait);
    finishLayout();
}

frmMyInputBox::~frmMyInputBox() {
    PasswordInput = false;
}

void frmMyInputBox::Activate() {
    txtInput_->setMaxLength(InputLength);
    lblHelpMsg_->setText(HelpMessage);
    txtInput_->setEchoMode(PasswordInput ? QLineEdit::Password : QLineEdit::Normal);
    if (PasswordInput) {
        // The typed characters show as asterisks, as the help line promises.
        txtInput_->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    }
    kit()->ResetMenuChoices();
    txtInput_->setFocus(Qt::OtherFocusReason);
    if (WaitSeconds) {
        showWait();
        waitTimer_->start();
    }
}

void frmMyInputBox::showWait() {
    const int left = WaitSeconds ? WaitSeconds() : 0;
    txtInput_->setReadOnly(left > 0);
    if (left > 0) {
        txtInput_->clear();
        lblHelpMsg_->setText(QStringLiteral("Too many wrong codes.  Please wait %1 second%2, "
                                            "then enter the code.")
                                 .arg(left)
                                 .arg(left == 1 ? QString() : QStringLiteral("s")));
    } else {
        lblHelpMsg_->setText(HelpMessage);
    }
}

void frmMyInputBox::cmdMenuChoice_Click(int index) {
    if (index == ChoiceCancel) {
        cancelled_ = true;
        closeScreen();
        return;
    }
    if (WaitSeconds && WaitSeconds() > 0) {
        boxes_.beep(); // the wait is on the help line
        txtInput_->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (txtInput_->text().isEmpty()) {
        boxes_.show(PasswordInput ? QStringLiteral("Please enter the required password.")
                                  : QStringLiteral("Please enter the required data."),
                    MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Question,
                    QStringLiteral("Input required"));
        txtInput_->setFocus(Qt::OtherFocusReason);
        return;
    }
    InputValue = txtInput_->text();
    closeScreen();
}

} // namespace tov::supervisor
