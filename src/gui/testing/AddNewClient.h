#pragma once

#include "app/Context.h"
#include "testing/frmSelectEntryMethod.h"

class QWidget;

namespace tov::testing {

// Add New Client: the entry method screen and the chain of screens of the method chosen.
void RunAddNewClient(const app::Context& context, QWidget* parent, const EntryMethods& methods);

} // namespace tov::testing
