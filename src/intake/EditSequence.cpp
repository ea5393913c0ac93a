#include "intake/EditSequence.h"

#include "app/ProgramState.h"
#include "entry/frmNewEntry.h"
#include "intake/frmClientInfo.h"
#include "intake/frmCourtHistory.h"

namespace tov::intake {

void RunEditCurrentClient(const app::Context& context, QWidget* parent) {
    app::ProgramState& state = context.state;
    state.ProceedToNext = false;
    {
        frmClientInfo info(context, parent);
        info.ScanEditMode = false;
        info.exec();
    }
    if (!state.ProceedToNext || state.ending) {
        return;
    }
    state.ProceedToNext = false;
    {
        frmCourtHistory court(context, parent);
        court.exec();
    }
    if (!state.ProceedToNext || state.ending) {
        return;
    }
    // The stored answers, for review and correction.
    entry::frmNewEntry grid(context, parent);
    grid.exec();
}

} // namespace tov::intake
