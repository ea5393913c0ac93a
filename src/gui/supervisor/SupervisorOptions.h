#pragma once

#include "app/Context.h"

class QWidget;

namespace tov::platform {
class Printer;
}

namespace tov::supervisor {

// The main menu's Supervisor Options: the supervisor operations screen, modal.
void RunSupervisorOptions(const app::Context& context, platform::Printer& printer, QWidget* parent);

} // namespace tov::supervisor
