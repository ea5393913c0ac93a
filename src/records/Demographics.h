#pragma once

#include <QString>
#include <QStringList>

namespace tov::records {

// The four code lists of the record; position 0 is "N/A" in each. They are also the entries of
// the selection boxes and the texts the reports print.
const QStringList& genderList();
const QStringList& raceList();
const QStringList& maritalList();
const QStringList& educationList();

// The text for a stored one-digit code; "N/A" for a code the list lacks.
QString codeText(const QStringList& list, const QString& code);

} // namespace tov::records
