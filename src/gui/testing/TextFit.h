#pragma once

#include <QFont>
#include <QSize>
#include <QString>

namespace tov::testing {

// The largest pixel size, from min to max, at which the text wrapped to the box's width fits
// its height; min when none does.
int LargestFittingPixelSize(QFont font, const QString& text, QSize box, int min, int max);

} // namespace tov::testing
