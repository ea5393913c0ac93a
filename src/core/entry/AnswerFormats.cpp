#include "entry/AnswerFormats.h"

#include "records/NumericValue.h"

#include <algorithm>
#include <array>

namespace tov::entry {

namespace {
const std::array<AnswerFormatInfo, 6>& formats() {
    static const std::array<AnswerFormatInfo, 6> all = {{
        {0, 2, 1120, 450, 200, QStringLiteral("0=No answer, 1=True, 2=False, Tab=Next grid")},
        {1, 2, 1120, 450, 200, QStringLiteral("0=No answer, 1=Yes, 2=No, Tab=Next grid")},
        {2, 4, 1550, 450, 200, QStringLiteral("0=No answer, 1=1, 2=2,  3=3, 4=4, Tab=Next grid")},
        {3, 4, 1550, 400, 200,
         QStringLiteral("0=No answer, 1=Rare/Never, 2=Sometimes, 3=Often, 4=Very Often, "
                        "Tab=Next grid")},
        {4, 5, 1750, 400, 200,
         QStringLiteral("0=No answer, 1=True, 2=Mostly True, 3=Can't Decide, 4=Mostly False, "
                        "5=False, Tab=Next grid")},
        {5, 5, 1750, 400, 200,
         QStringLiteral("0=No answer, 1=Very Often, 2=Often, 3=Can't Decide, 4=Often, 5=Very "
                        "Often, Tab=Next grid")},
    }};
    return all;
}
} // namespace

int AnswerFormat(QStringView answer2) {
    const QStringView start = answer2.left(5);
    if (start.startsWith(u"False")) {
        return 0;
    }
    if (start.startsWith(u"No")) {
        return 1;
    }
    if (start == u"Somet") {
        return 3;
    }
    if (start == u"Mostl") {
        return 4;
    }
    if (start == u"Often") {
        return 5;
    }
    return 2;
}

const AnswerFormatInfo& formatInfo(int code) {
    return formats()[static_cast<std::size_t>(code >= 0 && code <= 5 ? code : 2)];
}

QStringList headerTexts(int code) {
    QStringList texts = {QStringLiteral("Num")};
    for (int i = 1; i <= formatInfo(code).choices; ++i) {
        texts << QString::number(i);
    }
    return texts;
}

int ItemOfLabel(QStringView label) {
    // Compared as a number first: a huge value does not fit an int.
    const double n = records::NumericValue(label);
    return n >= 1 && n < 74 ? static_cast<int>(n) : 0;
}

int TopRowFor(int currentRow, int rows) {
    if (currentRow + 16 > rows) {
        return std::max(1, rows - 17);
    }
    return currentRow == 1 ? 1 : currentRow - 1;
}

} // namespace tov::entry
