#include "platform/ProfileFile.h"

#include "platform/AppError.h"
#include "platform/RegularFile.h"
#include "records/Cp1252.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>

#include <optional>

namespace tov::platform {

namespace {

QString sectionName(const QString& line) {
    const QString t = line.trimmed();
    if (t.startsWith(QLatin1Char('[')) && t.contains(QLatin1Char(']'))) {
        return t.mid(1, t.indexOf(QLatin1Char(']')) - 1).trimmed();
    }
    return {};
}

bool isSection(const QString& line) {
    const QString t = line.trimmed();
    return t.startsWith(QLatin1Char('[')) && t.contains(QLatin1Char(']'));
}

// The key of a "key=value" line; nothing for comments and other lines.
std::optional<QString> keyOf(const QString& line) {
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(QLatin1Char(';'))) {
        return std::nullopt;
    }
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0) {
        return std::nullopt;
    }
    return line.left(eq).trimmed();
}

QString valueOf(const QString& line) {
    QString v = line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
    if (v.size() >= 2 && (v.front() == QLatin1Char('"') || v.front() == QLatin1Char('\'')) &&
        v.back() == v.front()) {
        v = v.mid(1, v.size() - 2);
    }
    return v;
}

// The byte order marks of a file saved as "Unicode" (UTF-16), as Windows editors offer.
constexpr char Utf16LeMark[] = "\xFF\xFE";
constexpr char Utf16BeMark[] = "\xFE\xFF";

// The file as lines of bytes, each with its own line end, so a write can leave every line it
// does not change exactly as it was, whatever its encoding.
struct Lines {
    QList<QByteArray> raw;  // without the line end
    QList<QByteArray> ends; // "\n", "\r\n" or, for a last line without one, nothing
    QByteArray eol = QByteArrayLiteral("\n");
    // Set when the file is UTF-16: its encoding, for writing it back the same way.
    std::optional<QStringConverter::Encoding> utf16;

    // A line as text: UTF-8 when it is valid UTF-8, otherwise the Windows code page the file
    // was most likely written in. A byte order mark at the start of the file is not text.
    QString text(qsizetype i) const {
        QByteArrayView bytes(raw[i]);
        while (i == 0 && bytes.startsWith("\xEF\xBB\xBF")) {
            bytes = bytes.sliced(3);
        }
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString decoded = utf8(bytes);
        return utf8.hasError() ? records::fromCp1252(bytes) : decoded;
    }
    QByteArray bytes() const {
        QByteArray out;
        for (qsizetype i = 0; i < raw.size(); ++i) {
            out += raw[i] + ends[i];
        }
        if (utf16) {
            // The mark is written once, explicitly; a U+FEFF that follows it is text and stays.
            QStringDecoder decode(QStringDecoder::Utf8, QStringConverter::Flag::ConvertInitialBom);
            QStringEncoder encode(*utf16);
            out = QByteArray(*utf16 == QStringConverter::Utf16LE ? Utf16LeMark : Utf16BeMark, 2) +
                  QByteArray(encode(QString(decode(out))));
        }
        return out;
    }
    void insert(qsizetype at, const QString& line) {
        // The line before a new one needs an end of its own; a lone CR gets its LF.
        if (at > 0 && !ends[at - 1].endsWith('\n')) {
            ends[at - 1] += ends[at - 1].isEmpty() ? eol : QByteArrayLiteral("\n");
        }
        raw.insert(at, line.toUtf8());
        ends.insert(at, eol);
    }
};

std::optional<QStringConverter::Encoding> utf16Of(const QByteArray& content) {
    if (content.startsWith(Utf16LeMark)) {
        return QStringConverter::Utf16LE;
    }
    if (content.startsWith(Utf16BeMark)) {
        return QStringConverter::Utf16BE;
    }
    return std::nullopt;
}

// Why the settings file cannot be used, or nothing when it can (or is not there yet).
std::optional<AppError> unusable(const QString& path, QByteArray& content) {
    try {
        content = ReadRegularFile(path, MaxSettingsBytes);
    } catch (const AppError& e) {
        if (e.number() == err::FileNotFound || e.number() == err::PathNotFound) {
            return std::nullopt;
        }
        return e;
    }
    return std::nullopt;
}

Lines load(const QString& path, std::optional<AppError>* refused = nullptr) {
    Lines result;
    QByteArray content;
    if (const std::optional<AppError> why = unusable(path, content)) {
        // Read as if missing (the defaults); a write is refused rather than replacing it.
        if (refused != nullptr) {
            *refused = why;
        }
        return result;
    }
    // A UTF-16 file is worked on as UTF-8 lines and written back as UTF-16.
    result.utf16 = utf16Of(content);
    if (result.utf16) {
        QStringDecoder decode(*result.utf16, QStringConverter::Flag::ConvertInitialBom);
        content = QString(decode(QByteArrayView(content).sliced(2))).toUtf8();
    }
    if (content.contains("\r\n")) {
        result.eol = QByteArrayLiteral("\r\n");
    }
    qsizetype start = 0;
    while (start < content.size()) {
        qsizetype nl = content.indexOf('\n', start);
        const qsizetype next = nl < 0 ? content.size() : nl + 1;
        qsizetype stop = nl < 0 ? content.size() : nl;
        if (stop > start && content[stop - 1] == '\r') {
            --stop;
        }
        result.raw << content.mid(start, stop - start);
        result.ends << content.mid(stop, next - stop);
        start = next;
    }
    return result;
}

} // namespace

QString ProfileFile::read(const QString& section, const QString& key, const QString& defaultValue,
                          int bufferSize) const {
    const Lines file = load(path_);
    bool inSection = false;
    QString value = defaultValue;
    for (qsizetype i = 0; i < file.raw.size(); ++i) {
        const QString line = file.text(i);
        if (isSection(line)) {
            inSection = sectionName(line).compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inSection) {
            continue;
        }
        const auto k = keyOf(line);
        if (k && k->compare(key, Qt::CaseInsensitive) == 0) {
            value = valueOf(line);
            break;
        }
    }
    return bufferSize > 0 ? value.left(bufferSize - 1) : QString();
}

void ProfileFile::write(const QString& section, const QString& key, const QString& value) const {
    std::optional<AppError> refused;
    Lines file = load(path_, &refused);
    if (refused) {
        // The file was refused as it was read: that is what the operator must put right.
        throw AppError(refused->number(),
                       QStringLiteral("Cannot read %1: %2").arg(path_, refused->description()));
    }
    const QString entry = key + QLatin1Char('=') + value;
    qsizetype sectionAt = -1;
    qsizetype insertAt = -1;
    bool done = false;
    for (qsizetype i = 0; i < file.raw.size() && !done; ++i) {
        const QString line = file.text(i);
        if (isSection(line)) {
            if (sectionAt >= 0) {
                break; // end of our section
            }
            if (sectionName(line).compare(section, Qt::CaseInsensitive) == 0) {
                sectionAt = i;
                insertAt = i + 1;
            }
            continue;
        }
        if (sectionAt < 0) {
            continue;
        }
        const auto k = keyOf(line);
        if (k && k->compare(key, Qt::CaseInsensitive) == 0) {
            file.raw[i] = entry.toUtf8();
            done = true;
        } else if (!line.trimmed().isEmpty()) {
            insertAt = i + 1;
        }
    }
    if (!done) {
        if (sectionAt >= 0) {
            file.insert(insertAt, entry);
        } else {
            file.insert(file.raw.size(), QLatin1Char('[') + section + QLatin1Char(']'));
            file.insert(file.raw.size(), entry);
        }
    }
    // Written to a new file and renamed over the old one, so a failure never leaves half a file.
    QSaveFile out(path_);
    if (!out.open(QIODevice::WriteOnly)) {
        throw AppError(err::PermissionDenied,
                       QStringLiteral("Cannot write %1: %2").arg(path_, out.errorString()));
    }
    out.write(file.bytes());
    if (!out.commit()) {
        throw AppError(err::PathFileAccess,
                       QStringLiteral("Cannot write %1: %2").arg(path_, out.errorString()));
    }
}

} // namespace tov::platform
