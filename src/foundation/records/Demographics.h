#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace tov::records {

// The four code lists of the record; position 0 is "N/A" in each. They are also the entries of
// the selection boxes and the texts the reports print.
const QStringList& genderList();
const QStringList& raceList();
const QStringList& maritalList();
const QStringList& educationList();

// The text for a stored one-digit code; "N/A" for a code the list lacks.
QString codeText(const QStringList& list, const QString& code);

enum class CodeList { Gender, Race, Marital, Education };
const QStringList& entries(CodeList list);

// The list position a typed or chosen text stands for: the text is the position's digit, or it
// begins with the position's key letters (upper-cased; for the three Hispanic entries of the race
// list, the eleventh character). -1 when nothing matches.
int ListPosition(CodeList list, QStringView text);

} // namespace tov::records
