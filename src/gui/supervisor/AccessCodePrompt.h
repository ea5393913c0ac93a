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

// Whether the agency must still set its own code: the settings require one and none is stored.
bool AccessCodeToBeSet(const app::Context& ctx);
// The first start of a program whose settings require the agency's own code: the new code twice,
// asked again until it is set; false when the evaluator cancels (nothing is stored).
bool SetFirstAccessCode(const app::Context& ctx, QWidget* parent = nullptr);

// Takes up the wrong codes in a row an earlier run left: the next try waits as long as after the
// last of them, so closing the program does not cut a wait short.
void ResumeAccessCodeWait(const app::Context& ctx);

} // namespace tov::supervisor
