#include "platform/ImageFileScanner.h"

#include "platform/ScanErrors.h"
#include "scan/PageFile.h"

namespace tov::platform {

namespace {

[[noreturn]] void fail(int number, const QString& path) {
    throw AppError(number, ErrorText(number) + QStringLiteral(" (") + path + QLatin1Char(')'));
}

} // namespace

void ImageFileScanner::AcquirePages(const ScanSettings& /*settings*/, const TakePage& take) {
    const QString path = pick_ ? pick_() : QString();
    if (path.isEmpty()) {
        throw AppError(scanerr::OperationCancelled, ErrorText(scanerr::OperationCancelled));
    }
    LoadPages(path, take);
}

void ImageFileScanner::LoadPages(const QString& path, const TakePage& take) {
    scan::PageFile file(path);
    if (file.pageCount() == 0) {
        fail(file.error(), path);
    }
    bool any = false;
    for (int n = 0; n < file.pageCount(); ++n) {
        const QImage page = file.page(n);
        if (page.isNull()) {
            continue;
        }
        any = true;
        if (take(page)) {
            return;
        }
    }
    if (!any) {
        fail(file.error(), path);
    }
}

QImage ImageFileScanner::Load(const QString& path) {
    QImage first;
    LoadPages(path, [&first](const QImage& page) {
        first = page;
        return true;
    });
    return first;
}

} // namespace tov::platform
