// Scanned page files as a copier or a scanner program may leave them: any bytes as a PNG, JPEG,
// BMP, TIFF (several pages) or PDF file, read a page at a time, each page prepared for the
// reader and read as a sheet. The first byte picks the name the file is given (its ending),
// which the image reader consults; the rest is the file. At most three pages are read, and no
// page larger than a sheet at 300 dots per inch is decoded, so one input stays cheap.

#include "fuzz/FuzzSupport.h"

#include "scan/MarkReader.h"
#include "scan/PageFile.h"
#include "scan/PreparedPage.h"
#include "scan/SheetGeometry.h"

#include <QDate>

#include <array>

using namespace tov;

namespace {

const std::vector<scan::ScanItemRow>& sheetRows() {
    static const std::vector<scan::ScanItemRow> rows = scan::AnswerSheetGeometry().ScanItemRows();
    return rows;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    static const std::array<const char*, 6> endings = {"png", "jpg", "bmp", "tif", "pdf", "bin"};
    const QString path = fuzz::scratchFolder() + QStringLiteral("/page.") +
                         QString::fromLatin1(endings[data[0] % endings.size()]);
    fuzz::writeFile(path, fuzz::bytesOf(data + 1, size - 1));
    constexpr qint64 SheetAt300Dpi = qint64(2550) * 4200;
    scan::PageFile file(path, SheetAt300Dpi);
    for (int n = 0; n < file.pageCount() && n < 3; ++n) {
        const QImage page = file.page(n);
        if (page.isNull()) {
            continue;
        }
        scan::VectorScanItems items(sheetRows());
        (void)scan::ReadAnswerSheet(scan::PreparePage(page), items, QDate(2026, 12, 8));
    }
    return 0;
}
