#pragma once

#include "app/Context.h"

#include <QDate>
#include <QString>

#include <QImage>
#include <QStringList>

#include <functional>

class QWidget;

namespace tov::scan {

struct ScannedSheet;
struct SheetReading;
struct PreparedPage;

// Scan Answer Sheet: the client's name and licence number, a page from the
// scanner (of a page file, the first that holds a sheet), its marks read, then
// the client information, court history and answer grid screens filled with
// what was read, doubtful values marked, for the operator to check before
// anything is stored.
class ScanProcedure {
public:
    static inline const QString RawFile = QStringLiteral("raw.bmp");
    static inline const QString ScanFile = QStringLiteral("scan.bmp");

    ScanProcedure(const app::Context& context, QWidget* mainWindow);

    // Removes raw.bmp and scan.bmp from the program folder.
    static void RemoveImages(const QString& programFolder);

    void run();

private:
    bool identify(QString& name, QString& licence);
    // The pages of one acquisition until one reads, each handed to `read`; a scanner error is
    // told the operator, and no page comes.
    void acquire(const std::function<bool(const QImage&)>& read);
    SheetReading readPage(const PreparedPage& page, QDate today);
    void keepImages(const QImage& raw, const QImage& prepared);
    void review(const QString& name, const QString& licence, const ScannedSheet& sheet,
                const QStringList& doubtful);
    void scanError(const QString& what);

    app::Context ctx_;
    QWidget* mainWindow_;
};

} // namespace tov::scan
