#pragma once

#include <QStringView>

namespace tov::records {

// The number a text begins with, where a number is needed from a text field: leading blanks are
// skipped, then an optional sign, digits with an optional decimal point and fraction, and an
// optional exponent are read as far as they go. A text that does not begin with a number
// (such as "N") is 0; ".5" is 0.5 and "5x" is 5.
double NumericValue(QStringView text);

} // namespace tov::records
