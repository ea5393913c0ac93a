#include "testing/TextFit.h"

#include <QFontMetrics>
#include <QRect>

namespace tov::testing {

int LargestFittingPixelSize(QFont font, const QString& text, QSize box, int min, int max) {
    const auto fits = [&](int px) {
        font.setPixelSize(px);
        const QRect needed = QFontMetrics(font).boundingRect(QRect(0, 0, box.width(), 1 << 20),
                                                             Qt::TextWordWrap, text);
        return needed.height() <= box.height() && needed.width() <= box.width();
    };
    int low = min;
    int high = max;
    while (low < high) {
        const int mid = (low + high + 1) / 2;
        if (fits(mid)) {
            low = mid;
        } else {
            high = mid - 1;
        }
    }
    return low;
}

} // namespace tov::testing
