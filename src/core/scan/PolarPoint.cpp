#include "scan/PolarPoint.h"

#include <cmath>
#include <limits>

namespace tov::scan {

namespace {
constexpr double Pi = 3.14159265358979;
}

qint16 RoundToPixel(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    constexpr double lo = std::numeric_limits<qint16>::min();
    constexpr double hi = std::numeric_limits<qint16>::max();
    if (value <= lo) {
        return std::numeric_limits<qint16>::min();
    }
    if (value >= hi) {
        return std::numeric_limits<qint16>::max();
    }
    // Halves go to the even neighbour, as the sheet positions were measured with that rounding.
    const double down = std::floor(value);
    const double rest = value - down;
    double result = down;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(down, 2.0) != 0.0)) {
        result = down + 1.0;
    }
    return static_cast<qint16>(result);
}

void ToCartesian(PolarPoint& p) {
    // The angle in radians is held in single precision, like the angle itself.
    const auto radians = static_cast<float>(static_cast<double>(p.theta) * Pi / 180.0);
    const double r = p.r;
    p.x = RoundToPixel(r * std::cos(static_cast<double>(radians)));
    p.y = RoundToPixel(r * std::sin(static_cast<double>(radians)));
}

void ToPolar(PolarPoint& p) {
    const double x = p.x;
    const double y = p.y;
    p.r = static_cast<float>(std::sqrt(x * x + y * y));
    p.theta = p.x == 0 ? 90.0F : static_cast<float>(180.0 / Pi * std::atan(y / x));
}

} // namespace tov::scan
