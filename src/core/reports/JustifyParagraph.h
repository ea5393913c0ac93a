#pragma once

#include <QString>
#include <QStringList>

namespace tov::reports {

// The two ways the report breaks a paragraph into lines: the classification paragraph (up to 71
// characters, padded to 71) and the scale paragraphs (up to 69, padded to 70).
enum class Justify { Classification, Scale };

// Breaks text into lines at blanks and pads the longer lines with extra blanks between words,
// the rightmost gaps first. The caller prints each line after its indent.
QStringList JustifyParagraph(const QString& text, Justify variant);

// Pads one line, as JustifyParagraph does to each line longer than 55 characters.
QString PadLine(QString line, Justify variant);

} // namespace tov::reports
