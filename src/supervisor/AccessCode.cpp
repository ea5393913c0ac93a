#include "supervisor/AccessCode.h"

#include "platform/MessageBoxes.h"
#include "supervisor/frmMyInputBox.h"

namespace tov::supervisor {

using platform::MessageBoxes;

bool PromptForAccessCode(platform::MessageBoxes& boxes, QWidget* parent) {
    for (;;) {
        QString entry;
        {
            frmMyInputBox input(boxes, parent);
            input.InputLength = 8;
            input.HelpMessage = QStringLiteral("Enter the secret code to continue.  For security, "
                                               "asterisks (*) will show as you type.");
            input.setWindowTitle(QStringLiteral("Enter Secret Code"));
            input.PasswordInput = true;
            input.exec();
            if (input.Cancelled()) {
                return false;
            }
            entry = input.InputValue;
        }
        if (entry.toUpper() == QString(QLatin1Char(AccessCode)).toUpper()) {
            return true;
        }
        boxes.show(QStringLiteral("Incorrect password.  Please try again."),
                   MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Error,
                   QStringLiteral("Incorrect Password"));
    }
}

} // namespace tov::supervisor
