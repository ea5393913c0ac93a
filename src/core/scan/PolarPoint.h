#pragma once

#include <QtGlobal>

namespace tov::scan {

// A position on the answer sheet, held both as pixels and as length and angle from an origin.
// theta is in degrees, 0 = to the right, positive = downwards (clockwise on the image).
struct PolarPoint {
    qint16 x = 0;
    qint16 y = 0;
    float r = 0;
    float theta = 0;
};

// x and y from r and theta, each rounded to the nearest pixel with halves to even. A result
// beyond the 16-bit range is held at its end, and one that is not a number counts 0.
void ToCartesian(PolarPoint& p);
// r and theta from x and y; theta is the arctangent of y / x in degrees, 90 when x is 0.
void ToPolar(PolarPoint& p);

// Rounds to the nearest integer, halves to even, and keeps the result within the 16-bit range.
qint16 RoundToPixel(double value);

} // namespace tov::scan
