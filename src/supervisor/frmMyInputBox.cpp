#include "supervisor/frmMyInputBox.h"

#include "platform/MessageBoxes.h"
#include "ui/Geometry.h"
#include "ui/ScreenKit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tov::supervisor {

using platform::MessageBoxes;

frmMyInputBox::frmMyInputBox(platform::MessageBoxes& boxes, QWidget* parent)
    : ui::ModalScreen(QString(), QStringLiteral("frInput"), parent), boxes_(boxes),
      txtInput_(new QLineEdit(mainFrame())), lblHelpMsg_(new QLabel(mainFrame())) {
    setObjectName(QStringLiteral("frmMyInputBox"));
    ui::ScreenKit* k = kit();
    txtInput_->setObjectName(QStringLiteral("txtInput"));
    txtInput_->setMinimumWidth(ui::twips(4800));
    lblHelpMsg_->setObjectName(QStringLiteral("lblHelpMsg"));
    lblHelpMsg_->setWordWrap(true);
    lblHelpMsg_->setMaximumWidth(ui::twips(6000));
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
}

void frmMyInputBox::cmdMenuChoice_Click(int index) {
    if (index == ChoiceCancel) {
        cancelled_ = true;
        closeScreen();
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
