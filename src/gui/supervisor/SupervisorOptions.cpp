#include "supervisor/SupervisorOptions.h"

#include "supervisor/frmSupervisorOptions.h"

namespace tov::supervisor {

void RunSupervisorOptions(const app::Context& context, platform::Printer& printer,
                          QWidget* parent) {
    frmSupervisorOptions options(context, printer, parent);
    options.exec();
}

} // namespace tov::supervisor
