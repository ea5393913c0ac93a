#include "reports/ReportPrinting.h"

#include "platform/AppError.h"
#include "platform/ConfidentialFile.h"
#include "platform/RegularFile.h"
#include "records/Cp1252.h"
#include "reports/ScoreClient.h"

#include <QDir>
#include <QFile>

namespace tov::reports {

namespace {

QString reportPath(const QString& programFolder) {
    return QDir(programFolder).filePath(ReportFileName);
}

QByteArray readWhole(const QString& path) {
    try {
        return platform::ReadRegularFile(path, platform::MaxReportBytes);
    } catch (const AppError& e) {
        const int number = e.number() == err::PathNotFound ? err::FileNotFound : e.number();
        throw AppError(
            number,
            QStringLiteral("The report file %1 cannot be read: %2").arg(path, e.description()));
    }
}

} // namespace

QString ReadReportFile(const QString& programFolder) {
    const QByteArray bytes = readWhole(reportPath(programFolder));
    return records::fromCp1252(bytes.left(qMax<qsizetype>(0, bytes.size() - 1)));
}

QStringList ReportPages(const QString& text) {
    return text.split(QLatin1Char('\f'));
}

platform::PrintJob ReportJob(const QString& text, const QString& marginNote) {
    return {ReportFont, ReportPointSize, ReportPages(text), marginNote};
}

void PrintReportFile(platform::Printer& printer, const QString& programFolder,
                     const QString& marginNote) {
    printer.print(ReportJob(ReadReportFile(programFolder), marginNote));
}

void SaveReportPdf(platform::Printer& printer, const QString& programFolder, const QString& path,
                   const QString& marginNote) {
    printer.printToPdf(ReportJob(ReadReportFile(programFolder), marginNote), path);
}

QString NumberedCopyPath(const QString& programFolder, int number) {
    return QDir(programFolder).filePath(QStringLiteral("temp%1").arg(number));
}

void CopyReportTo(const QString& programFolder, int number) {
    WriteWholeFile(NumberedCopyPath(programFolder, number), readWhole(reportPath(programFolder)));
}

void RemoveReportFiles(const QString& programFolder) {
    const QDir folder(programFolder);
    platform::RemoveConfidentialFile(folder.filePath(ReportFileName));
    platform::RemoveConfidentialFile(folder.filePath(ReportScreenFileName));
}

void RemoveNumberedCopies(const QString& programFolder, const QList<int>& numbers) {
    for (const int n : numbers) {
        platform::RemoveConfidentialFile(NumberedCopyPath(programFolder, n));
    }
}

void PrintNumberedCopies(platform::Printer& printer, const QString& programFolder,
                         const QList<int>& numbers, const QString& marginNote) {
    for (const int n : numbers) {
        WriteWholeFile(reportPath(programFolder), readWhole(NumberedCopyPath(programFolder, n)));
        PrintReportFile(printer, programFolder, marginNote);
    }
}

} // namespace tov::reports
