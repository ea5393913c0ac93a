#pragma once

#include <QString>

namespace tov::reports {

// One line of the report, built left to right with the column rules of the report layouts:
// "after n blanks", "at column n" (1-based; on a new line when this one is already past it) and
// numbers written as in a list, with a sign position and a trailing blank.
class ReportLine {
public:
    ReportLine& blanks(int n);
    ReportLine& text(const QString& s);
    ReportLine& at(int column);
    ReportLine& number(int value);

    // The text, and any lines that "at column" had to finish first, joined by "\n".
    const QString& str() const { return text_; }

private:
    qsizetype currentLength() const;

    QString text_;
};

} // namespace tov::reports
