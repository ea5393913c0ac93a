#pragma once

class QWidget;

namespace tov::platform {
class MessageBoxes;
}

namespace tov::supervisor {

// The supervisor's access code: one letter, compared without regard to case.
inline constexpr char AccessCode = 'Z';

// Asks for the access code until it is entered; false when the supervisor cancels.
bool PromptForAccessCode(platform::MessageBoxes& boxes, QWidget* parent = nullptr);

} // namespace tov::supervisor
