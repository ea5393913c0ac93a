#pragma once

#include <QStringView>

namespace tov::scoring {

// The whole part of a text's numeric value, as counts are taken from the court history fields;
// a text that does not begin with a number is 0.
int WholeValue(QStringView text);

// A blood alcohol concentration text x 100, whole part: ".08" is 8, ".155" is 15. Taken from
// the decimal value so that ".29" is 29, not 28.99...
int BacHundredths(QStringView text);

} // namespace tov::scoring
