// The interpretation texts (TOVIL??.TXT, TOVC??.TXT) and INVAL.TXT: the section reader, then the
// paragraphs printed as the report prints them, justified or line by line.

#include "fuzz/FuzzSupport.h"

#include "app/Publisher.h"
#include "platform/AppError.h"
#include "reports/JustifyParagraph.h"
#include "reports/ReportDocument.h"
#include "reports/ReportPage.h"
#include "reports/TextSections.h"

using namespace tov;

namespace {

const QStringList& labels() {
    // The range labels of the shipped TSF2RPT.TXT and the finer ones of the full report.
    static const QStringList all = {QStringLiteral("LOW"),         QStringLiteral("MEDIUM"),
                                    QStringLiteral("PROBLEM"),     QStringLiteral("SEVERE"),
                                    QStringLiteral("MEDIUM-LOW"),  QStringLiteral("MEDIUM-HIGH"),
                                    QStringLiteral("MAXIMUM-LOW"), QStringLiteral("MAXIMUM-HIGH")};
    return all;
}

void printLines(reports::ReportPage& page, const QStringList& lines, int indent) {
    for (const QString& line : lines) {
        const bool last = page.LineCount >= reports::ReportPage::BodyEnd;
        page.after(indent, line);
        if (last) {
            page.StartNewPage();
        }
    }
}

void printJustified(reports::ReportPage& page, const QStringList& lines, reports::Justify how) {
    QString paragraph;
    for (const QString& line : lines) {
        paragraph += line + QLatin1Char(' ');
    }
    for (const QString& line : reports::JustifyParagraph(paragraph, how)) {
        page.after(8, line);
        if (page.LineCount > reports::ReportPage::BodyEnd) {
            page.StartNewPage();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const reports::TextSections file(QStringLiteral("TOVILAL.TXT"), fuzz::bytesOf(data, size));
    reports::ReportDocument doc;
    reports::ReportPage page(doc, QStringLiteral("Fuzz Client"),
                             app::PublisherTexts::of(app::Publisher::Quillmark));
    page.PageNumber = 1;
    page.LineCount = 1;
    for (const QString& label : labels()) {
        try {
            const QStringList lines = file.section(label);
            printLines(page, lines, 7);
            printJustified(page, lines, reports::Justify::Scale);
            printJustified(page, lines, reports::Justify::Classification);
        } catch (const AppError& e) {
            if (!e.description().startsWith(QLatin1String("TOVILAL.TXT: "))) {
                abort();
            }
        }
    }
    // INVAL.TXT is read from its start.
    try {
        printLines(page, file.upToEnd(), 7);
        page.counted();
        page.PageFooter(1);
    } catch (const AppError& e) {
        if (!e.description().startsWith(QLatin1String("TOVILAL.TXT: "))) {
            abort();
        }
    }
    (void)doc.bytes();
    return 0;
}
