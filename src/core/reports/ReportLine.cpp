#include "reports/ReportLine.h"

namespace tov::reports {

qsizetype ReportLine::currentLength() const {
    const qsizetype lastBreak = text_.lastIndexOf(QLatin1Char('\n'));
    return text_.size() - (lastBreak + 1);
}

ReportLine& ReportLine::blanks(int n) {
    if (n > 0) {
        text_ += QString(n, QLatin1Char(' '));
    }
    return *this;
}

ReportLine& ReportLine::text(const QString& s) {
    text_ += s;
    return *this;
}

ReportLine& ReportLine::at(int column) {
    if (currentLength() >= column) {
        text_ += QLatin1Char('\n');
    }
    return blanks(column - 1 - static_cast<int>(currentLength()));
}

ReportLine& ReportLine::number(int value) {
    text_ += (value < 0 ? QString::number(value) : QLatin1Char(' ') + QString::number(value)) +
             QLatin1Char(' ');
    return *this;
}

} // namespace tov::reports
