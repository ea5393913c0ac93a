#pragma once

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

} // namespace tov::platform
