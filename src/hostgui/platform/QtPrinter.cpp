#include "platform/QtPrinter.h"

#include "platform/AppError.h"

#include <QFont>
#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace tov::platform {

namespace {

QFont printerFont(const PrintJob& job) {
    QFont font(job.fontName);
    // Where the named face is missing, a metric-compatible fixed-pitch face keeps the columns.
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(job.pointSize);
    return font;
}

void prepare(QPrinter& printer) {
    printer.setPageSize(QPageSize(QPageSize::Letter));
    // The report lays out its own left margin and page length in characters and lines.
    printer.setPageMargins(QMarginsF(0.4, 0.25, 0.4, 0.25), QPageLayout::Inch);
}

} // namespace

QString QtPrinter::noPrinterText() {
    return QStringLiteral("No printer is installed. Set up a printer, then print again.");
}

void QtPrinter::paintMarginNote(QPainter& painter, QPrinter& printer, const QString& note) {
    // In the foot margin, below the report's own lines, so the page keeps its layout.
    const QFont text = painter.font();
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setStyleHint(QFont::SansSerif);
    small.setPointSizeF(8);
    small.setBold(true);
    painter.setFont(small);
    const double height = printer.pageLayout().paintRectPixels(printer.resolution()).height();
    painter.drawText(QPointF(0, height + 0.17 * printer.resolution()), note);
    painter.setFont(text);
}

void QtPrinter::paint(QPrinter& printer, const PrintJob& job) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        throw AppError(err::DeviceIo, QStringLiteral("The printer could not be started."));
    }
    painter.setFont(printerFont(job));
    const QFontMetricsF metrics(painter.font(), &printer);
    const double height = printer.pageLayout().paintRectPixels(printer.resolution()).height();
    for (qsizetype p = 0; p < job.pages.size(); ++p) {
        if (p > 0) {
            printer.newPage();
        }
        QString page = job.pages.at(p);
        page.remove(QLatin1Char('\r'));
        const QStringList lines = page.split(QLatin1Char('\n'));
        // A full report page is about 60 lines: closer lines keep it on one sheet, as the
        // report's own page breaks expect.
        const double line = qMin(metrics.lineSpacing(),
                                 height / static_cast<double>(qMax<qsizetype>(1, lines.size())));
        double baseline = metrics.ascent();
        for (const QString& text : lines) {
            painter.drawText(QPointF(0, baseline), text);
            baseline += line;
        }
        if (!job.marginNote.isEmpty()) {
            paintMarginNote(painter, printer, job.marginNote);
        }
    }
    if (!painter.end()) {
        throw AppError(err::DeviceIo, QStringLiteral("The printer did not accept the report."));
    }
}

void QtPrinter::print(const PrintJob& job) {
    // A QPrinter without a real printer quietly becomes PDF output going nowhere.
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        throw AppError(err::DriveNotReady, noPrinterText());
    }
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setDocName(QStringLiteral("Client Report"));
    prepare(printer);
    paint(printer, job);
}

void QtPrinter::printToPdf(const PrintJob& job, const QString& path) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setDocName(QStringLiteral("Client Report"));
    prepare(printer);
    paint(printer, job);
}

} // namespace tov::platform
