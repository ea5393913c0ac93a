#include "intake/IntakeChain.h"

#include "app/ProgramState.h"
#include "intake/frmClientInfo.h"

namespace tov::intake {

bool RunIntakeChain(const app::Context& context, ClientMode mode, QWidget* parent,
                    const ScannedIntake* scanned) {
    {
        frmClientInfo info(context, mode, parent);
        if (scanned != nullptr) {
            info.showScanned(*scanned);
        }
        info.exec();
        if (!info.ProceedToNext() || context.state.ending()) {
            return false;
        }
    }
    frmCourtHistory court(context, mode, parent);
    if (scanned != nullptr) {
        court.showScanned(*scanned);
    }
    court.exec();
    return court.ProceedToNext() && !context.state.ending();
}

} // namespace tov::intake
