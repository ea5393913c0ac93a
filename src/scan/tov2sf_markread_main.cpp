// tov2sf-markread --question-bank FILE --image FILE [--raw]
//
// Reads one answer sheet image with the sheet table of the question bank and prints one
// name=value line per read value. With --raw the image is a page as scanned (colour) and is
// prepared first; without it, it is a prepared black-and-white page such as scan.bmp.
// The question bank is only read: the base points the reader finds are not written back.

#include "scan/MarkReader.h"
#include "scan/ScanImage.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <cstdio>
#include <optional>

using namespace tov;

namespace {

int fail(const QString& message, int code) {
    std::fprintf(stderr, "tov2sf-markread: %s\n", qPrintable(message));
    return code;
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
    const QStringList args = app.arguments().mid(1);
    QString bank;
    QString imagePath;
    bool raw = false;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--question-bank") && i + 1 < args.size()) {
            bank = args[++i];
        } else if (args[i] == QLatin1String("--image") && i + 1 < args.size()) {
            imagePath = args[++i];
        } else if (args[i] == QLatin1String("--raw")) {
            raw = true;
        } else {
            bank.clear();
            break;
        }
    }
    if (bank.isEmpty() || imagePath.isEmpty()) {
        return fail(QStringLiteral("usage: tov2sf-markread --question-bank FILE --image FILE "
                                   "[--raw]"),
                    2);
    }
    if (!QFileInfo(bank).isFile()) {
        return fail(QStringLiteral("question bank %1 not found").arg(bank), 2);
    }
    QString error;
    const auto rows = loadRows(bank, error);
    if (!rows) {
        return fail(error, 2);
    }
    QImage image(imagePath);
    if (image.isNull()) {
        return fail(QStringLiteral("cannot read the image %1").arg(imagePath), 2);
    }
    if (raw) {
        image = scan::PrepareScan(image);
    }
    scan::VectorScanItems items(*rows);
    const scan::SheetReading reading = scan::ReadAnswerSheet(image, items, QDate::currentDate());
    switch (reading.outcome) {
    case scan::SheetOutcome::NoAnchorBox:
        return fail(QStringLiteral("Anchor Box not found"), 1);
    case scan::SheetOutcome::NoReferenceBox:
        return fail(QStringLiteral("Reference Box not found"), 1);
    case scan::SheetOutcome::Read:
        break;
    }
    for (const auto& [name, value] : scan::NamedValues(reading.values)) {
        std::printf("%s=%s\n", qPrintable(name), qPrintable(value));
    }
    return 0;
}
