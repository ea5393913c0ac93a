#include "reports/ReportDocument.h"

#include "records/Cp1252.h"

#include <QList>

namespace tov::reports {

void ReportDocument::line(const QString& text) {
    for (const QStringView part : QStringView(text).split(QLatin1Char('\n'))) {
        bytes_ += records::toCp1252(part);
        bytes_ += "\r\n";
    }
}

void ReportDocument::formFeed() {
    bytes_ += "\f\r\n";
}

} // namespace tov::reports
