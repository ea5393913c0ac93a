// Small page files through our page handling: any bytes as a PNG, JPEG, BMP, TIFF (several
// pages) or PDF file of a few kilobytes, read a page at a time with a cap of 128 x 128 pixels a
// page (larger ones are scaled down while decoding or refused), each page's stated resolution
// judged, the page prepared for the reader at a size of at most 256 pixels a side (or one
// beyond any sheet, which preparation refuses) and read as a sheet, which it is refused as.
// The first byte picks the name the file is given (its ending), the second the prepared size;
// the rest is the file. The decoders are Qt's; what is fuzzed is what we do around them, so
// nothing large is decoded, prepared or read and an execution takes a millisecond or so.

#include "fuzz/FuzzSupport.h"

#include "scan/MarkReader.h"
#include "scan/PageFile.h"
#include "scan/PreparedPage.h"
#include "scan/SheetGeometry.h"

#include <QDate>

#include <algorithm>
#include <array>
#include <cstdlib>

using namespace tov;

namespace {

constexpr qint64 MostPixels = 128 * 128;
constexpr int LargestPrepared = 256;

const std::vector<scan::ScanItemRow>& sheetRows() {
    static const std::vector<scan::ScanItemRow> rows = scan::AnswerSheetGeometry().ScanItemRows();
    return rows;
}

// The resolution to prepare a page at so that its longer side becomes `side` pixels.
double dpiForSide(const QImage& page, int side) {
    return 100.0 * std::max(page.width(), page.height()) / side;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) {
        return 0;
    }
    static const std::array<const char*, 6> endings = {"png", "jpg", "bmp", "tif", "pdf", "bin"};
    const QString path = fuzz::scratchFolder() + QStringLiteral("/page.") +
                         QString::fromLatin1(endings[data[0] % endings.size()]);
    const uint8_t sizeChoice = data[1];
    fuzz::writeFile(path, fuzz::bytesOf(data + 2, size - 2));
    scan::PageFile file(path, MostPixels);
    for (int n = 0; n < file.pageCount() && n < 3; ++n) {
        const QImage page = file.page(n);
        if (page.isNull()) {
            if (file.error() == 0) {
                std::abort(); // a page that is not read says why
            }
            continue;
        }
        if (qint64(page.width()) * page.height() > MostPixels) {
            std::abort(); // the cap holds for every format
        }
        const double stated = scan::StatedDpi(page);
        if (stated != 0 &&
            !(stated > 0 && page.width() / stated >= 6 && page.width() / stated <= 12)) {
            std::abort(); // a stated resolution is one that makes a page of 6 to 12 inches
        }
        // Mostly a small page; now and then one larger than any sheet, which is refused whole.
        const int side = sizeChoice < 8 ? 4001 + 1000 * sizeChoice : 1 + sizeChoice;
        const scan::PreparedPage prepared = scan::PreparePage(page, dpiForSide(page, side));
        if (prepared.isNull() != (side > LargestPrepared) ||
            std::max(prepared.width(), prepared.height()) > side + 1) {
            std::abort();
        }
        if (prepared.isNull()) {
            continue;
        }
        scan::VectorScanItems items(sheetRows());
        const scan::SheetReading reading =
            scan::ReadAnswerSheet(prepared, items, QDate(2026, 12, 8));
        // No sheet fits on so small a page: it is refused, with a reason.
        if (reading.outcome == scan::SheetOutcome::Read || scan::RefusalText(reading).isEmpty()) {
            std::abort();
        }
    }
    return 0;
}
