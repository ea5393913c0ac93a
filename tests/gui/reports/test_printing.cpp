#include "reports/ReportPrinting.h"
#include "reports/ScoreClient.h"
#include "reports/frmPrintSelected.h"
#include "reports/frmViewReport.h"
#include "support/FakePrinter.h"
#include "support/ScreenDriver.h"
#include "ui/ScreenKit.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

using namespace tov;
using fakes::ReportRig;

namespace {

const QStringList fiveClients = {"ONE, ANN", "TWO, BEN", "THREE, CY", "FOUR, DEE", "FIVE, EVE"};

bool pageMentions(const platform::PrintJob& job, const QString& name) {
    return job.pages.join(QString()).contains(name);
}

} // namespace

class TestPrinting : public QObject {
    Q_OBJECT

private slots:
    void printReportFilePages_data();
    void printReportFilePages();
    void readReportFileDropsLastCharacter();
    void noPrinterKeepsReport();
    void viewerShowsAndPrints();
    void demonstrationMarks();
    void viewerKeysReturnToText_data();
    void viewerKeysReturnToText();
    void viewerSavesPdf();
    void closingViewerRemovesReport();
    void printSelectedInListOrder();
    void printSelectedWithNothingSelected();
    void selectAllPrintsEveryClient();
};

void TestPrinting::printReportFilePages_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("pages");
    QTest::newRow("three pages") << QByteArray("one\r\n\ftwo\r\n\fthree\r\n\x1a")
                                 << QStringList{"one\r\n", "two\r\n", "three\r\n"};
    QTest::newRow("one page") << QByteArray("only\r\nX") << QStringList{"only\r\n"};
    QTest::newRow("form feed at the start") << QByteArray("\fa\r\n ") << QStringList{"", "a\r\n"};
    QTest::newRow("code page text") << QByteArray("Pe\xf1"
                                                  "a\r\n\fend\n")
                                    << QStringList{QString::fromUtf8("Peña\r\n"), "end"};
}

void TestPrinting::printReportFilePages() {
    QFETCH(QByteArray, file);
    QFETCH(QStringList, pages);
    ReportRig rig({});
    fakes::writeAll(rig.programFile("report.prn"), file);
    reports::PrintReportFile(rig.printer, rig.programDir);
    QCOMPARE(rig.printer.printed.size(), 1);
    const platform::PrintJob& job = rig.printer.printed.first();
    QCOMPARE(job.pages, pages);
    for (const QString& page : job.pages) {
        QVERIFY(!page.contains(QLatin1Char('\f')));
    }
    QCOMPARE(job.fontName, QStringLiteral("Courier New"));
    QCOMPARE(job.pointSize, 11.5);
}

void TestPrinting::readReportFileDropsLastCharacter() {
    ReportRig rig({});
    fakes::writeAll(rig.programFile("report.prn"), "abc\r\n");
    QCOMPARE(reports::ReadReportFile(rig.programDir), QStringLiteral("abc\r"));
    QFile::remove(rig.programFile("report.prn"));
    QVERIFY_THROWS_EXCEPTION(AppError, reports::ReadReportFile(rig.programDir));
}

void TestPrinting::noPrinterKeepsReport() {
    ReportRig rig({"ONE, ANN"});
    QVERIFY(rig.started);
    rig.state().clients().setCurrentClient(1);
    rig.printer.failure = "No printer is installed.";
    reports::frmViewReport viewer(rig.program->context(), rig.printer, {}, &rig.menu());
    QVERIFY(fakes::showScreen(&viewer));
    const QByteArray before = fakes::readAll(rig.programFile("report.prn"));
    QVERIFY(!before.isEmpty());
    viewer.kit()->cmdMenuChoice(reports::frmViewReport::ChoicePrint)->setFocus();
    fakes::press(Qt::Key_Return);
    QCOMPARE(rig.boxes->shown.size(), 1);
    QCOMPARE(rig.boxes->shown[0].text, QStringLiteral("No printer is installed."));
    QCOMPARE(fakes::readAll(rig.programFile("report.prn")), before);
    QVERIFY(viewer.isVisible());
}

void TestPrinting::viewerShowsAndPrints() {
    ReportRig rig(fiveClients);
    QVERIFY(rig.started);
    rig.state().clients().setCurrentClient(3);
    reports::frmViewReport viewer(rig.program->context(), rig.printer, {}, &rig.menu());
    QVERIFY(fakes::showScreen(&viewer));
    QVERIFY(viewer.reportShown());
    // The form feeds are page breaks on paper only; the carriage return left by the dropped last
    // character shows as a line end.
    QCOMPARE(viewer.Text1()->toPlainText().remove(QLatin1Char('\f')).trimmed(),
             reports::ReadReportFile(rig.programDir)
                 .remove(QLatin1Char('\r'))
                 .remove(QLatin1Char('\f'))
                 .trimmed());
    QVERIFY(viewer.Text1()->toPlainText().contains("THREE, CY"));
    QVERIFY(viewer.Text1()->isReadOnly());
    QCOMPARE(QApplication::focusWidget(), viewer.Text1());
    fakes::saveShot(&viewer, "frmViewReport");
    fakes::press(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("cmdPrintReport"));
    fakes::press(Qt::Key_Return);
    QCOMPARE(rig.printer.printed.size(), 1);
    QCOMPARE(rig.printer.printed[0].pages,
             reports::ReportPages(reports::ReadReportFile(rig.programDir)));
    QVERIFY(rig.printer.printed[0].pages.size() >= 2);
    QVERIFY(rig.printer.printed[0].marginNote.isEmpty());
    QVERIFY(!viewer.findChild<QLabel*>("lblDemonstration")->isVisible());
}

// With demonstration content in force the viewer says so above the report, and every printed
// page, one report or a batch, carries the mark in its margin; report.prn is as ever.
void TestPrinting::demonstrationMarks() {
    ReportRig rig(fiveClients, true);
    QVERIFY(rig.started);
    QVERIFY(rig.state().content().demonstration());
    const QString mark = QStringLiteral("Demonstration content - scores are not valid");
    rig.state().clients().setCurrentClient(2);
    {
        reports::frmViewReport viewer(rig.program->context(), rig.printer, {}, &rig.menu());
        QVERIFY(fakes::showScreen(&viewer));
        QCOMPARE(viewer.findChild<QLabel*>("lblDemonstration")->text(), mark);
        QVERIFY(viewer.findChild<QLabel*>("lblDemonstration")->isVisible());
        QVERIFY(!viewer.Text1()->toPlainText().contains(mark));
        fakes::saveShot(&viewer, "frmViewReport_demonstration");
        viewer.kit()->cmdMenuChoice(reports::frmViewReport::ChoicePrint)->click();
    }
    reports::frmPrintSelected screen(rig.program->context(), rig.printer, {}, &rig.menu());
    QVERIFY(fakes::showScreen(&screen));
    screen.lbNameDisplay()->selectAll();
    screen.kit()->cmdMenuChoice(reports::frmPrintSelected::ChoicePrint)->click();
    QCOMPARE(rig.printer.printed.size(), 6);
    for (const platform::PrintJob& job : rig.printer.printed) {
        QCOMPARE(job.marginNote, mark);
        QVERIFY(!job.pages.join(QString()).contains(mark));
    }
}

void TestPrinting::viewerKeysReturnToText_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("toText");
    QTest::newRow("Up") << int(Qt::Key_Up) << true;
    QTest::newRow("Down") << int(Qt::Key_Down) << true;
    QTest::newRow("Page Up") << int(Qt::Key_PageUp) << true;
    QTest::newRow("Page Down") << int(Qt::Key_PageDown) << true;
    QTest::newRow("Left stays") << int(Qt::Key_Left) << false;
}

void TestPrinting::viewerKeysReturnToText() {
    QFETCH(int, key);
    QFETCH(bool, toText);
    ReportRig rig({"ONE, ANN"});
    QVERIFY(rig.started);
    rig.state().clients().setCurrentClient(1);
    reports::frmViewReport viewer(rig.program->context(), rig.printer, {}, &rig.menu());
    QVERIFY(fakes::showScreen(&viewer));
    QPushButton* close = viewer.kit()->cmdMenuChoice(reports::frmViewReport::ChoiceClose);
    close->setFocus();
    fakes::press(static_cast<Qt::Key>(key));
    QCOMPARE(QApplication::focusWidget() == viewer.Text1(), toText);
    QVERIFY(rig.printer.printed.isEmpty());
}

void TestPrinting::viewerSavesPdf() {
    ReportRig rig({"ONE, ANN"});
    QVERIFY(rig.started);
    rig.state().clients().setCurrentClient(1);
    reports::frmViewReport viewer(rig.program->context(), rig.printer, {}, &rig.menu());
    viewer.askPdfPath = [&rig] { return rig.programFile("out.pdf"); };
    QVERIFY(fakes::showScreen(&viewer));
    viewer.kit()->cmdMenuChoice(reports::frmViewReport::ChoicePdf)->setFocus();
    fakes::press(Qt::Key_Return);
    QCOMPARE(rig.printer.pdfPaths, QStringList{rig.programFile("out.pdf")});
    QCOMPARE(rig.printer.pdfs[0].pages,
             reports::ReportPages(reports::ReadReportFile(rig.programDir)));
    // Changing one's mind in the file dialog writes nothing.
    viewer.askPdfPath = [] { return QString(); };
    fakes::press(Qt::Key_Return);
    QCOMPARE(rig.printer.pdfs.size(), 1);
}

void TestPrinting::closingViewerRemovesReport() {
    ReportRig rig({"ONE, ANN"});
    QVERIFY(rig.started);
    rig.state().clients().setCurrentClient(1);
    fakes::writeAll(rig.programFile("REPORT.SCR"), "stray");
    {
        reports::frmViewReport viewer(rig.program->context(), rig.printer, {}, &rig.menu());
        QVERIFY(fakes::showScreen(&viewer));
        QVERIFY(QFile::exists(rig.programFile("report.prn")));
        viewer.kit()->cmdMenuChoice(reports::frmViewReport::ChoiceClose)->setFocus();
        fakes::press(Qt::Key_Return);
        QVERIFY(!viewer.isVisible());
    }
    QVERIFY(!QFile::exists(rig.programFile("report.prn")));
    QVERIFY(!QFile::exists(rig.programFile("REPORT.SCR")));
}

void TestPrinting::printSelectedInListOrder() {
    ReportRig rig(fiveClients);
    QVERIFY(rig.started);
    reports::frmPrintSelected screen(rig.program->context(), rig.printer, {}, &rig.menu());
    QVERIFY(fakes::showScreen(&screen));
    QCOMPARE(screen.lbNameDisplay()->count(), 5);
    QCOMPARE(screen.lbNameDisplay()->item(2)->text(),
             QStringLiteral("3-THREE, CY") + QString(16, QLatin1Char(' ')));
    QCOMPARE(screen.lbNameDisplay()->currentRow(), 0);
    // Client 5 first, then client 2: the list order decides.
    for (int i = 0; i < 4; ++i) {
        fakes::press(Qt::Key_Down);
    }
    fakes::press(Qt::Key_Space);
    for (int i = 0; i < 3; ++i) {
        fakes::press(Qt::Key_Up);
    }
    fakes::press(Qt::Key_Space);
    QCOMPARE(screen.lbNameDisplay()->selectedItems().size(), 2);
    QStringList copiesWhilePrinting;
    rig.printer.onPrint = [&](const platform::PrintJob&) {
        copiesWhilePrinting = QDir(rig.programDir).entryList({QStringLiteral("temp*")});
    };
    screen.kit()->cmdMenuChoice(reports::frmPrintSelected::ChoicePrint)->setFocus();
    fakes::press(Qt::Key_Return);
    QCOMPARE(rig.printer.printed.size(), 2);
    QVERIFY(pageMentions(rig.printer.printed[0], "TWO, BEN"));
    QVERIFY(pageMentions(rig.printer.printed[1], "FIVE, EVE"));
    // A numbered copy for each report while the batch prints, none once it has ended.
    QCOMPARE(copiesWhilePrinting, (QStringList{"temp1", "temp2"}));
    QVERIFY(!QFile::exists(rig.programFile("temp1")));
    QVERIFY(!QFile::exists(rig.programFile("temp2")));
    QCOMPARE(rig.state().clients().CurrentClient(), 5);
    QVERIFY(!screen.isVisible());
}

void TestPrinting::printSelectedWithNothingSelected() {
    ReportRig rig(fiveClients);
    QVERIFY(rig.started);
    reports::frmPrintSelected screen(rig.program->context(), rig.printer, {}, &rig.menu());
    QVERIFY(fakes::showScreen(&screen));
    QVERIFY(screen.kit()->cmdMenuChoice(reports::frmPrintSelected::ChoicePrint)->isEnabled());
    screen.kit()->cmdMenuChoice(reports::frmPrintSelected::ChoicePrint)->setFocus();
    fakes::press(Qt::Key_Return);
    QVERIFY(rig.printer.printed.isEmpty());
    QVERIFY(!QFile::exists(rig.programFile("report.prn")));
    QVERIFY(!QFile::exists(rig.programFile("temp1")));
    QVERIFY(!screen.isVisible());
}

void TestPrinting::selectAllPrintsEveryClient() {
    ReportRig rig(fiveClients);
    QVERIFY(rig.started);
    reports::frmPrintSelected screen(rig.program->context(), rig.printer, {}, &rig.menu());
    QVERIFY(fakes::showScreen(&screen));
    screen.kit()->cmdMenuChoice(reports::frmPrintSelected::ChoiceSelectAll)->setFocus();
    fakes::press(Qt::Key_Return);
    QCOMPARE(screen.lbNameDisplay()->selectedItems().size(), 5);
    QVERIFY(screen.isVisible());
    fakes::press(Qt::Key_Backtab);
    fakes::press(Qt::Key_Return);
    QCOMPARE(rig.printer.printed.size(), 5);
    for (int i = 0; i < 5; ++i) {
        QVERIFY(pageMentions(rig.printer.printed[i], fiveClients[i]));
    }
}

QTEST_MAIN(TestPrinting)
#include "test_printing.moc"
