// The settings file tov2sf.ini: every value the program reads from it, then a write of each key
// the program writes, which must keep every other line of the file byte for byte.

#include "fuzz/FuzzSupport.h"

#include "app/Settings.h"
#include "platform/AppError.h"

#include <QStringDecoder>

#include <utility>

using namespace tov;

namespace {

QList<QByteArray> linesOf(const QByteArray& bytes) {
    QList<QByteArray> lines = bytes.split('\n');
    if (!lines.isEmpty() && lines.back().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}

// A file with a UTF-16 byte order mark is kept in UTF-16 and compared as the text it holds; any
// other file byte for byte.
QByteArray textOf(const QByteArray& bytes) {
    for (const auto& [mark, encoding] :
         {std::pair{QByteArray("\xff\xfe"), QStringDecoder::Utf16LE},
          std::pair{QByteArray("\xfe\xff"), QStringDecoder::Utf16BE}}) {
        if (bytes.startsWith(mark)) {
            // As the program reads it: a second mark is a character, not a mark.
            QStringDecoder decode(encoding, QStringConverter::Flag::ConvertInitialBom);
            const QString text = decode(bytes.mid(2));
            return text.toUtf8();
        }
    }
    return bytes;
}

// The file after a write differs from the one before only in one changed or added line, plus a
// section heading when the section was missing.
void checkOnlyEntryChanged(const QByteArray& before, const QByteArray& after) {
    const QList<QByteArray> a = linesOf(textOf(before));
    const QList<QByteArray> b = linesOf(textOf(after));
    qsizetype prefix = 0;
    // The last line of a file without a final line end gains one.
    auto same = [](QByteArray x, QByteArray y) {
        if (x.endsWith('\r')) {
            x.chop(1);
        }
        if (y.endsWith('\r')) {
            y.chop(1);
        }
        return x == y;
    };
    while (prefix < a.size() && prefix < b.size() && same(a[prefix], b[prefix])) {
        ++prefix;
    }
    qsizetype suffix = 0;
    while (suffix < a.size() - prefix && suffix < b.size() - prefix &&
           a[a.size() - 1 - suffix] == b[b.size() - 1 - suffix]) {
        ++suffix;
    }
    const qsizetype removed = a.size() - prefix - suffix;
    const qsizetype added = b.size() - prefix - suffix;
    if (removed > 1 || added > 2 || added < removed) {
        abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString& folder = fuzz::scratchFolder();
    const QString path = folder + QLatin1Char('/') + app::Settings::FileName;
    const QByteArray input = fuzz::bytesOf(data, size);
    fuzz::writeFile(path, input);
    const app::Settings settings(folder);
    const QString dataFolder = settings.FilePath();
    (void)settings.resolve(dataFolder);
    (void)settings.resolve(settings.GetINISndPath());
    const bool numLock = settings.NumLock();
    (void)settings.SystemDB();
    (void)settings.publisher();
    // A path setting holds at most what its buffer does, less the terminator.
    if (dataFolder.size() >= app::Settings::PathBuffer) {
        abort();
    }

    // Each write changes its own line only, and reads back.
    QByteArray before = input;
    settings.setNumLock(!numLock);
    QByteArray after = fuzz::readFile(path);
    checkOnlyEntryChanged(before, after);
    if (settings.NumLock() == numLock) {
        abort();
    }
    before = after;
    settings.setFilePath(QStringLiteral("/media/DATA ÄÖ"));
    after = fuzz::readFile(path);
    checkOnlyEntryChanged(before, after);
    if (settings.FilePath() != QStringLiteral("/media/DATA ÄÖ")) {
        abort();
    }
    return 0;
}
