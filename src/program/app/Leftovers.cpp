#include "app/Leftovers.h"

#include "app/Settings.h"
#include "platform/ConfidentialFile.h"
#include "reports/ReportPrinting.h"
#include "reports/ScoreClient.h"
#include "scan/ScanProcedure.h"

#include <QRegularExpression>
#include <QStringList>

namespace tov::app {

void RemoveConfidentialLeftovers(const Settings& settings) {
    QStringList names = {QRegularExpression::escape(reports::ReportFileName),
                         QRegularExpression::escape(reports::ReportScreenFileName),
                         reports::NumberedCopyPattern};
    if (!settings.scanTrace()) {
        names << QRegularExpression::escape(scan::ScanProcedure::RawFile)
              << QRegularExpression::escape(scan::ScanProcedure::ScanFile);
    }
    platform::RemoveConfidentialFiles(settings.programFolder(),
                                      QRegularExpression(names.join(QLatin1Char('|'))));
}

} // namespace tov::app
