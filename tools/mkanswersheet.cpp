// Makes both products of the answer sheet's one geometry:
//
//   mkanswersheet --scan-items BANK   fills the "ScanItem" table of the question bank
//   mkanswersheet --pdf FILE          writes the printable sheet
//
// Either or both may be given.

#include "scan/SheetGeometry.h"
#include "scan/SheetPainter.h"

#include <QFile>
#include <QGuiApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <cstdio>

using namespace tov;

namespace {

bool writeScanItems(const scan::SheetGeometry& sheet, const QString& path) {
    if (!QFile::exists(path)) {
        std::fprintf(stderr, "mkanswersheet: %s does not exist\n", qPrintable(path));
        return false;
    }
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "bank");
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery q(db);
            ok = db.transaction() && q.exec(QStringLiteral("DELETE FROM ScanItem"));
            for (const scan::ScanItemRow& row : sheet.ScanItemRows()) {
                q.prepare(QStringLiteral("INSERT INTO ScanItem (r, theta, DimX, dx, DimY, dy, X, "
                                         "y, LocationName) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
                q.addBindValue(row.r);
                q.addBindValue(row.theta);
                q.addBindValue(row.DimX);
                q.addBindValue(row.dx);
                q.addBindValue(row.DimY);
                q.addBindValue(row.dy);
                q.addBindValue(QVariant()); // X and y are written by the reader
                q.addBindValue(QVariant());
                q.addBindValue(row.LocationName);
                ok = ok && q.exec();
            }
            ok = ok && db.commit();
            if (!ok) {
                std::fprintf(stderr, "mkanswersheet: %s\n", qPrintable(q.lastError().text()));
            }
            db.close();
        } else {
            std::fprintf(stderr, "mkanswersheet: %s\n", qPrintable(db.lastError().text()));
        }
    }
    QSqlDatabase::removeDatabase("bank");
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    // Text needs a GUI application; no display is used.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.size() % 2 != 0) {
        std::fprintf(stderr, "usage: mkanswersheet [--scan-items BANK] [--pdf FILE]\n");
        return 2;
    }
    const scan::SheetGeometry sheet = scan::AnswerSheetGeometry();
    for (int i = 0; i < args.size(); i += 2) {
        if (args[i] == QLatin1String("--scan-items")) {
            if (!writeScanItems(sheet, args[i + 1])) {
                return 1;
            }
        } else if (args[i] == QLatin1String("--pdf")) {
            if (!scan::WriteAnswerSheetPdf(sheet, args[i + 1])) {
                std::fprintf(stderr, "mkanswersheet: cannot write %s\n", qPrintable(args[i + 1]));
                return 1;
            }
        } else {
            std::fprintf(stderr, "mkanswersheet: unknown option %s\n", qPrintable(args[i]));
            return 2;
        }
    }
    return 0;
}
