#pragma once

#include "app/Context.h"

#include <QString>

class QImage;
class QWidget;

namespace tov::scan {

struct ScannedSheet;

// Scan Answer Sheet: the client's name and licence number, one page from the
// scanner, its marks read, then the client information, court history and
// answer grid screens filled with what was read for the operator to check
// before anything is stored.
class ScanProcedure {
public:
    static inline const QString RawFile = QStringLiteral("raw.bmp");
    static inline const QString ScanFile = QStringLiteral("scan.bmp");

    ScanProcedure(const app::Context& context, QWidget* mainWindow);

    void run();

private:
    bool identify(QString& name, QString& licence);
    QImage acquire();
    void keepImages(const QImage& raw, const QImage& prepared);
    void review(const QString& name, const QString& licence, const ScannedSheet& sheet);
    void scanError(const QString& what);

    app::Context ctx_;
    QWidget* mainWindow_;
};

} // namespace tov::scan
