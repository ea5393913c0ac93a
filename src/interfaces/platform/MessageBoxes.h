#pragma once

#include "platform/AppError.h"

#include <QString>

namespace tov::platform {

// Modal message boxes and the beep. Texts come verbatim, with carriage returns as line breaks.
class MessageBoxes {
public:
    enum class Buttons { Ok, OkCancel, YesNo, RetryCancel };
    enum class Icon { None, Error, Information, Question };
    enum class Answer { Ok, Cancel, Yes, No, Retry };

    virtual ~MessageBoxes() = default;

    // Shows the box and returns the button chosen. An empty title means the application title.
    virtual Answer show(const QString& text, Buttons buttons, Icon icon, const QString& title) = 0;
    virtual void beep() = 0;
};

// An error as the program words it everywhere: "Error n:description".
inline QString ErrorText(int number, const QString& description) {
    return QStringLiteral("Error %1:%2").arg(number).arg(description);
}

// Shows an error in the program's one way: its number and description, an OK button, the error
// icon unless another is given, and the application title unless another is given.
inline void showAppError(MessageBoxes& boxes, const AppError& e, const QString& title = QString(),
                         MessageBoxes::Icon icon = MessageBoxes::Icon::Error) {
    boxes.show(ErrorText(e.number(), e.description()), MessageBoxes::Buttons::Ok, icon, title);
}

} // namespace tov::platform
