#pragma once

#include "app/Context.h"

class QWidget;

namespace tov::intake {

// Edit Current Client: the client information, then the court history, then the answers, each
// written as it is accepted. The chain stops at the first screen that is cancelled.
void RunEditCurrentClient(const app::Context& context, QWidget* parent);

} // namespace tov::intake
