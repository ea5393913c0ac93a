#pragma once

#include "app/Context.h"

#include <QByteArray>
#include <QString>

namespace tov::supervisor {

// The reversible character shift that hides names: direction 0 scrambles, any other direction
// restores. Works on the record's single-byte codes; blanks stay blanks.
QByteArray ShiftText(const QByteArray& text, int direction);
// The same shift on text as the record holds it.
QString ShiftText(const QString& text, int direction);

QString deleteNamesWarning();

// Asks, then hides the name, SSN and licence number of every client on the data volume whose
// name is not yet hidden, writing each changed record back. True when the records were changed.
bool DeleteNames(const app::Context& context);

} // namespace tov::supervisor
