#include "reports/ReportPage.h"

namespace tov::reports {

void ReportPage::counted(const ReportLine& l) {
    doc_.line(l);
    ++LineCount;
}

void ReportPage::counted(const QString& text) {
    doc_.line(text);
    ++LineCount;
}

void ReportPage::StartNewPage() {
    ++PageNumber;
    doc_.formFeed();
    doc_.line(
        ReportLine()
            .blanks(7)
            .text(QStringLiteral("NAME: ") + clientName_)
            .at(41)
            .text(QStringLiteral("-") + QString::number(PageNumber % 10) + QStringLiteral("-"))
            .at(66)
            .text(QStringLiteral("TOV-II REPORT")));
    doc_.line();
    LineCount = 2;
}

void ReportPage::PageFooter(int mode) {
    const int fillTo = mode == 1 ? BodyEnd : (LineCount >= 55 ? 55 : 54);
    while (LineCount < fillTo) {
        counted();
    }
    if (LineCount < PageEnd) {
        counted(ReportLine().at(publisher_.reportLineColumn).text(publisher_.reportLine));
    }
    if (LineCount < PageEnd) {
        counted(ReportLine().at(5).text(publisher_.notice));
    }
    if (LineCount < BodyEnd) {
        counted();
    }
    if (LineCount < PageEnd) {
        counted(ReportLine().blanks(32).text(publisher_.closingNotice));
    }
}

void ReportPage::needs(int height) {
    if (LineCount + height > PageEnd) {
        StartNewPage();
    }
}

} // namespace tov::reports
