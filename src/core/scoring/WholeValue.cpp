#include "scoring/WholeValue.h"

#include "records/NumericValue.h"

#include <algorithm>
#include <cmath>

namespace tov::scoring {

namespace {
int clampToInt16(double v) {
    return static_cast<int>(std::clamp(v, -32768.0, 32767.0));
}
} // namespace

int WholeValue(QStringView text) {
    return clampToInt16(std::trunc(records::NumericValue(text)));
}

int BacHundredths(QStringView text) {
    // Two decimal places are exact in the text but not in binary; a tolerance far below one
    // thousandth keeps the whole part of the decimal value.
    return clampToInt16(std::floor(records::NumericValue(text) * 100.0 + 1e-7));
}

} // namespace tov::scoring
