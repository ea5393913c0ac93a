#include "content/ContentSet.h"
#include "platform/AppError.h"
#include "platform/QtPrinter.h"
#include "reports/ReportPrinting.h"

#include <QDir>
#include <QElapsedTimer>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

using namespace tov;

namespace {

// Three pages of report-like text: indented columns, blank lines, the page's last line near the
// bottom of a report page; `note` goes in the margin of each.
platform::PrintJob threePages(const QString& note = {}) {
    QStringList pages;
    for (int p = 1; p <= 3; ++p) {
        QString page;
        // A full report page: sixty lines, eighty columns.
        for (int line = 1; line <= 60; ++line) {
            page += line % 7 == 0 ? QStringLiteral("\r\n")
                                  : QStringLiteral("PAGE %1 LINE %2").arg(p).arg(line, 2) +
                                        QString(59, QLatin1Char(' ')) +
                                        QStringLiteral("END%1\r\n").arg(line, 2);
        }
        pages << page;
    }
    return reports::ReportJob(pages.join(QLatin1Char('\f')), note);
}

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        return QStringLiteral("<%1 failed>").arg(program);
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The words of each page, in order: what a reader of the printed pages sees.
QStringList pageWords(const QString& text) {
    QStringList out;
    for (const QString& page : text.split(QLatin1Char('\f'))) {
        out << page.simplified();
    }
    while (!out.isEmpty() && out.last().isEmpty()) {
        out.removeLast();
    }
    return out;
}

void checkPdf(const QString& pdf, const platform::PrintJob& job, const QString& shots) {
    QVERIFY2(QFile::exists(pdf), qPrintable(pdf));
    // The margin note, when there is one, is read after each page's own lines.
    QStringList expected = pageWords(job.pages.join(QLatin1Char('\f')));
    for (QString& page : expected) {
        page = (page + QLatin1Char(' ') + job.marginNote).simplified();
    }
    QCOMPARE(pageWords(run("pdftotext", {"-layout", pdf, "-"})), expected);
    const QString info = run("pdffonts", {pdf});
    QVERIFY2(info.contains("LiberationMono") || info.contains("CourierNew"), qPrintable(info));
    QDir().mkpath(shots);
    run("pdftoppm", {"-r", "60", "-png", pdf, shots + "/page"});
    QCOMPARE(QDir(shots).entryList({"page*.png"}).size(), 3);
}

} // namespace

class TestQtPrinter : public QObject {
    Q_OBJECT

private slots:
    void pdfHoldsThePages_data();
    void pdfHoldsThePages();
    void defaultPrinter_data();
    void defaultPrinter();
};

// Pages of a demonstration set carry its mark in their margin; others carry nothing there.
void notes() {
    QTest::addColumn<QString>("note");
    QTest::newRow("no note") << QString();
    QTest::newRow("demonstration mark") << content::DemonstrationMark;
}

void TestQtPrinter::pdfHoldsThePages_data() {
    notes();
}

void TestQtPrinter::pdfHoldsThePages() {
    QFETCH(QString, note);
    QTemporaryDir dir;
    const QString pdf = dir.filePath("report.pdf");
    platform::QtPrinter printer;
    printer.printToPdf(threePages(note), pdf);
    const QString shots = qEnvironmentVariable("TOV_SCREENSHOT_DIR", dir.path()) + "/pdf" +
                          (note.isEmpty() ? "" : "-note");
    checkPdf(pdf, threePages(note), shots);
}

void TestQtPrinter::defaultPrinter_data() {
    notes();
}

// With the test's own CUPS queue (TOV_CUPS_PDF_OUT names where it writes), the pages go
// through the real print system; with no printer at all, printing says so.
void TestQtPrinter::defaultPrinter() {
    QFETCH(QString, note);
    platform::QtPrinter printer;
    const QString out = qEnvironmentVariable("TOV_CUPS_PDF_OUT");
    if (out.isEmpty()) {
        if (!QPrinterInfo::defaultPrinter().isNull()) {
            QSKIP("a real printer is set up here; nothing is printed on it");
        }
        QVERIFY_THROWS_EXCEPTION(AppError, printer.print(threePages()));
        return;
    }
    const QStringList before = QDir(out).entryList({"*.pdf"});
    printer.print(threePages(note));
    QString pdf;
    QElapsedTimer waited;
    waited.start();
    while (pdf.isEmpty() && waited.elapsed() < 30000) {
        for (const QString& name : QDir(out).entryList({"*.pdf"})) {
            if (!before.contains(name)) {
                pdf = QDir(out).filePath(name);
            }
        }
        QThread::msleep(200);
    }
    QVERIFY2(!pdf.isEmpty(), "the print queue wrote no PDF");
    QThread::msleep(500);
    checkPdf(pdf, threePages(note),
             qEnvironmentVariable("TOV_SCREENSHOT_DIR", out) + "/cups" +
                 (note.isEmpty() ? "" : "-note"));
}

QTEST_MAIN(TestQtPrinter)
#include "test_qtprinter.moc"
