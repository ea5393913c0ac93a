#pragma once

#include "app/Publisher.h"
#include "reports/ReportDocument.h"

#include <QString>

namespace tov::reports {

// The page state of the report being written: the lines used on the current page, the pages
// started, and the page header and footer.
class ReportPage {
public:
    ReportPage(ReportDocument& doc, QString clientName, app::PublisherTexts publisher)
        : doc_(doc), clientName_(std::move(clientName)), publisher_(std::move(publisher)) {}

    int LineCount = 0;
    int PageNumber = 0;

    // Writes a line and counts it.
    void counted(const ReportLine& l);
    void counted(const QString& text = QString());
    // Writes a line without counting it; the caller counts a block as a whole.
    void uncounted(const ReportLine& l) { doc_.line(l); }
    void uncounted(const QString& text = QString()) { doc_.line(text); }
    void formFeed() { doc_.formFeed(); }

    // A counted line of text after n blanks.
    void after(int n, const QString& text) { counted(ReportLine().blanks(n).text(text)); }

    void StartNewPage();
    // Mode 1 fills the page to its last line; mode 2 leaves room for the full footer.
    void PageFooter(int mode);
    // A new page when `height` more lines would pass the page's end.
    void needs(int height);

    const app::PublisherTexts& publisher() const { return publisher_; }

    static constexpr int BodyEnd = 57;
    static constexpr int PageEnd = 58;

private:
    ReportDocument& doc_;
    QString clientName_;
    app::PublisherTexts publisher_;
};

} // namespace tov::reports
