#include "intake/EditSequence.h"

#include "entry/frmNewEntry.h"
#include "intake/IntakeChain.h"

namespace tov::intake {

void RunEditCurrentClient(const app::Context& context, QWidget* parent) {
    if (!RunIntakeChain(context, ClientMode::EditClient, parent)) {
        return;
    }
    // The stored answers, for review and correction.
    entry::frmNewEntry grid(context, ClientMode::EditClient, parent);
    grid.exec();
}

} // namespace tov::intake
