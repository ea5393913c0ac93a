#pragma once

#include "app/Context.h"

class QWidget;

namespace tov::supervisor {

// Asks for the access code until it is entered; false when the supervisor cancels. Wrong codes
// count across prompts, and after three in a row each try waits longer, the wait shown.
bool PromptForAccessCode(const app::Context& ctx, QWidget* parent = nullptr);

// Asks for the current code, then the new one twice, and stores its digest. False when cancelled
// or refused (the operator has been told why).
bool ChangeAccessCode(const app::Context& ctx, QWidget* parent = nullptr);

} // namespace tov::supervisor
