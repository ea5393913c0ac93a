#pragma once

#include "app/Context.h"
#include "intake/ClientMode.h"
#include "intake/frmCourtHistory.h"

#include <QString>
#include <QStringList>

#include <array>

class QWidget;

namespace tov::intake {

// What a scanned answer sheet gives the intake screens to show for checking: the name and
// licence the operator typed before the scan, the values read from the sheet and the names of
// those read with doubt ("ssn", "dob", "gender", ..., "st_bac").
struct ScannedIntake {
    QString name, licence, age, gender, race, marital, education, ssn;
    // The court history values in the screen's field order.
    std::array<QString, records::kCourtFieldCount> court;
    QStringList doubtful;
};

// The two intake screens in turn, client information then court history, for the client the
// table has current, in the mode given. True when both were accepted and the road goes on; false
// when one was cancelled or the program is ending. A scanned sheet's values are shown in them for
// checking.
bool RunIntakeChain(const app::Context& context, ClientMode mode, QWidget* parent,
                    const ScannedIntake* scanned = nullptr);

} // namespace tov::intake
