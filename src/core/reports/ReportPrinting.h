#pragma once

#include "platform/Printer.h"

#include <QString>
#include <QStringList>

namespace tov::reports {

inline const QString ReportFont = QStringLiteral("Courier New");
inline constexpr double ReportPointSize = 11.5;
// A stray screen copy of the report, removed with report.prn when the viewer closes.
inline const QString ReportScreenFileName = QStringLiteral("REPORT.SCR");

// The text of report.prn without its last character. Throws AppError when it cannot be read.
QString ReadReportFile(const QString& programFolder);
// The pages of a report text: the pieces between its form feeds, which are not printed.
QStringList ReportPages(const QString& text);
// The printer's job for a report text; `marginNote` goes in the foot margin of every page.
platform::PrintJob ReportJob(const QString& text, const QString& marginNote = {});

// Prints report.prn, one printed page per form-feed piece, under the hourglass. Throws AppError.
void PrintReportFile(platform::Printer& printer, const QString& programFolder,
                     const QString& marginNote = {});
// The same pages as a PDF file.
void SaveReportPdf(platform::Printer& printer, const QString& programFolder, const QString& path,
                   const QString& marginNote = {});

// The numbered copies "temp1", "temp2", ... of a batch of reports in the program folder.
QString NumberedCopyPath(const QString& programFolder, int number);
// Copies report.prn over the numbered copy. Throws AppError.
void CopyReportTo(const QString& programFolder, int number);
// Copies each numbered copy back over report.prn and prints it, in the order given.
void PrintNumberedCopies(platform::Printer& printer, const QString& programFolder,
                         const QList<int>& numbers, const QString& marginNote = {});
// Removes the numbered copies of a batch that has ended, printed or not: each holds a client's
// report.
void RemoveNumberedCopies(const QString& programFolder, const QList<int>& numbers);
// The names of the numbered copies, for finding those an earlier run left.
inline const QString NumberedCopyPattern = QStringLiteral("temp[0-9]+");
// Removes report.prn and the stray REPORT.SCR from the program folder, if there: a report holds a
// client's name and answers and is not kept once it has been shown or printed.
void RemoveReportFiles(const QString& programFolder);

} // namespace tov::reports
