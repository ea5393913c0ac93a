#pragma once

#include <QString>
#include <QStringList>

namespace tov::platform {

// Text pages for the printer: each piece is one printed page, in one font throughout.
struct PrintJob {
    QString fontName;
    double pointSize = 0;
    QStringList pages;
    // A line printed in the foot margin of every page, outside the text (empty for none).
    QString marginNote;
};

// The system printer. Both operations throw AppError when the output cannot be made; nothing is
// printed half then.
class Printer {
public:
    virtual ~Printer() = default;

    // Prints on the system's default printer.
    virtual void print(const PrintJob& job) = 0;
    // Writes the same pages, laid out as the printer lays them out, to a PDF file.
    virtual void printToPdf(const PrintJob& job, const QString& path) = 0;
};

} // namespace tov::platform
