#include "testing/AddNewClient.h"

namespace tov::testing {

void RunAddNewClient(const app::Context& context, QWidget* parent, const EntryMethods& methods) {
    frmSelectEntryMethod screen(context, methods, parent);
    screen.exec();
}

} // namespace tov::testing
