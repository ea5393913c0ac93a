// tov2sf-markread --question-bank FILE --image FILE [--raw]
//
// Reads the answer sheets of a page file (every page of a multi-page TIFF or PDF) with the sheet
// table of the question bank, the way the program reads a scanned sheet, and prints for each
// page a page=N line, one name=value line per read value and a doubtful= line naming the values
// read with doubt. The question bank is only read: the base points the reader finds are not
// written back.

#include "content/ContentStore.h"
#include "platform/AppError.h"
#include "platform/RegularFile.h"
#include "platform/ScanErrors.h"
#include "scan/MarkReader.h"
#include "scan/PageFile.h"
#include "scan/PreparedPage.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <cstdio>
#include <optional>

using namespace tov;

namespace {

constexpr int AllRead = 0;
constexpr int PageRefused = 1;
constexpr int BadUse = 2;

void complain(const QString& message) {
    std::fprintf(stderr, "tov2sf-markread: %s\n", qPrintable(message));
}

std::optional<std::vector<scan::ScanItemRow>> loadRows(const QString& path, QString& error) {
    std::optional<std::vector<scan::ScanItemRow>> rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "bank");
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        QSqlQuery q(db);
        if (!db.open()) {
            error = db.lastError().text();
        } else if (!q.exec(QStringLiteral("SELECT r, theta, DimX, dx, DimY, dy, LocationName "
                                          "FROM ScanItem ORDER BY rowid"))) {
            error = QStringLiteral("no sheet table in %1: %2").arg(path, q.lastError().text());
        } else {
            rows.emplace();
            while (q.next()) {
                scan::ScanItemRow row;
                row.r = q.value(0).toDouble();
                row.theta = q.value(1).toDouble();
                row.DimX = q.value(2).toInt();
                row.dx = q.value(3).toDouble();
                row.DimY = q.value(4).toInt();
                row.dy = q.value(5).toDouble();
                row.LocationName = q.value(6).toString();
                rows->push_back(row);
            }
        }
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase("bank");
    return rows;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tov2sf-markread"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TOV_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Reads filled answer sheets from a page file (PNG, JPEG, BMP, TIFF or PDF; every page of "
        "a multi-page file) as the program reads a scanned sheet, and prints for each page a "
        "page=N line, its values as name=value lines and a doubtful= line naming the values "
        "read with doubt (empty when none).\n\n"
        "Exit status: 0 when every page was read, 1 when a page was refused (its reason on "
        "standard error; the other pages are still read), 2 on bad arguments or a file that "
        "cannot be read."));
    const QCommandLineOption bankOption(QStringLiteral("question-bank"),
                                        QStringLiteral("The question bank holding the sheet "
                                                       "table \"ScanItem\" (TOV2SF.MDB); by "
                                                       "default the one of the content set in "
                                                       "force."),
                                        QStringLiteral("FILE"));
    const QCommandLineOption imageOption(
        QStringLiteral("image"), QStringLiteral("The page file to read."), QStringLiteral("FILE"));
    const QCommandLineOption rawOption(
        QStringLiteral("raw"), QStringLiteral("Accepted for older scripts: every page, as scanned "
                                              "or already prepared, is read the same way."));
    parser.addOption(bankOption);
    parser.addOption(imageOption);
    parser.addOption(rawOption);
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    if (!parser.parse(app.arguments())) {
        complain(parser.errorText());
        return BadUse;
    }
    if (parser.isSet(helpOption)) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return AllRead;
    }
    if (parser.isSet(versionOption)) {
        std::printf("tov2sf-markread %s\n", TOV_VERSION);
        return AllRead;
    }
    QString bank = parser.value(bankOption);
    const QString imagePath = parser.value(imageOption);
    if ((parser.isSet(bankOption) && bank.isEmpty()) || imagePath.isEmpty() ||
        !parser.positionalArguments().isEmpty()) {
        complain(QStringLiteral("usage: tov2sf-markread [--question-bank FILE] --image FILE "
                                "[--raw] (--help tells more)"));
        return BadUse;
    }
    if (!parser.isSet(bankOption)) {
        // The sheet table of the set the program scans with, as the program finds it.
        try {
            const QString own = QCoreApplication::applicationDirPath();
            bank = content::FindContentSet(content::PlacesFor(own, own))
                       .filePath(QStringLiteral("TOV2SF.MDB"));
        } catch (const AppError& e) {
            complain(e.description());
            return BadUse;
        }
    }
    if (!QFileInfo::exists(bank)) {
        complain(QStringLiteral("question bank %1 not found").arg(bank));
        return BadUse;
    }
    // SQLite would wait for ever on a pipe and read whatever a device gives.
    try {
        platform::CheckRegularFile(bank, platform::MaxDatabaseBytes);
    } catch (const AppError& e) {
        complain(QStringLiteral("question bank %1 cannot be read: %2").arg(bank, e.description()));
        return BadUse;
    }
    QString error;
    const auto rows = loadRows(bank, error);
    if (!rows) {
        complain(error);
        return BadUse;
    }
    scan::PageFile file(imagePath);
    if (file.pageCount() == 0) {
        complain(QStringLiteral("cannot read the image %1: %2")
                     .arg(imagePath, platform::ErrorText(file.error())));
        return BadUse;
    }
    int status = AllRead;
    for (int n = 0; n < file.pageCount(); ++n) {
        std::printf("page=%d\n", n + 1);
        const QImage page = file.page(n);
        if (page.isNull()) {
            complain(
                QStringLiteral("page %1: %2").arg(n + 1).arg(platform::ErrorText(file.error())));
            status = PageRefused;
            continue;
        }
        scan::VectorScanItems items(*rows);
        const scan::SheetReading reading =
            scan::ReadAnswerSheet(scan::PreparePage(page), items, QDate::currentDate());
        if (reading.outcome != scan::SheetOutcome::Read) {
            complain(QStringLiteral("page %1: %2").arg(n + 1).arg(scan::RefusalText(reading)));
            status = PageRefused;
            continue;
        }
        for (const auto& [name, value] : scan::NamedValues(reading.values)) {
            std::printf("%s=%s\n", qPrintable(name), qPrintable(value));
        }
        std::printf("doubtful=%s\n", qPrintable(reading.doubtful.join(QLatin1Char(','))));
        std::fflush(stdout);
    }
    return status;
}
