#include "scoring/TableReader.h"

#include "platform/AppError.h"
#include "platform/RegularFile.h"
#include "records/Cp1252.h"
#include "records/Quoted.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace tov::scoring {

namespace {

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool isLineEnd(QChar c) {
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

// A value quoted for a message, cut when it is long.
QString shown(const QString& value) {
    return records::Quoted(value);
}

} // namespace

QByteArray readDataFile(const QString& path) {
    try {
        return platform::ReadRegularFile(path, platform::MaxTextFileBytes);
    } catch (const AppError& e) {
        if (e.number() == err::FileNotFound || e.number() == err::PathNotFound) {
            throw AppError(
                err::FileNotFound,
                QStringLiteral("The file %1 was not found.").arg(QDir::toNativeSeparators(path)));
        }
        throw AppError(e.number() == err::PermissionDenied ? err::PermissionDenied : e.number(),
                       QStringLiteral("The file %1 cannot be read: %2")
                           .arg(QDir::toNativeSeparators(path), e.description()));
    }
}

TableReader::TableReader(const QString& path)
    : path_(path), text_(records::fromCp1252(readDataFile(path))) {}

TableReader::TableReader(const QString& path, const QByteArray& content)
    : path_(path), text_(records::fromCp1252(content)) {}

QString TableReader::fileName() const {
    return QFileInfo(path_).fileName();
}

void TableReader::fail(int number, const QString& text) const {
    throw AppError(number, QStringLiteral("%1: %2").arg(fileName(), text));
}

void TableReader::pastEnd(const QString& what) const {
    fail(tableerr::InputPastEnd,
         QStringLiteral("the file ends before %1. The file is incomplete.").arg(what));
}

void TableReader::badInteger(const QString& what) const {
    if (tokenIsNumber_) {
        fail(tableerr::BadValue,
             QStringLiteral("%1 is %2, which is out of range.").arg(what, shown(token_)));
    }
    fail(tableerr::NotANumber,
         QStringLiteral("%1 is %2, which is not a whole number.").arg(what, shown(token_)));
}

void TableReader::skipBlanks() {
    while (!atEnd() && isBlank(text_[pos_])) {
        ++pos_;
    }
}

bool TableReader::skipToValue() {
    while (!atEnd() && (isBlank(text_[pos_]) || isLineEnd(text_[pos_]))) {
        ++pos_;
    }
    return !atEnd();
}

void TableReader::skipDelimiter() {
    skipBlanks();
    if (atEnd()) {
        return;
    }
    const QChar c = text_[pos_];
    if (c == QLatin1Char(',') || c == QLatin1Char('\n')) {
        ++pos_;
    } else if (c == QLatin1Char('\r')) {
        ++pos_;
        if (!atEnd() && text_[pos_] == QLatin1Char('\n')) {
            ++pos_;
        }
    }
}

QString TableReader::readString() {
    QString value;
    if (text_[pos_] == QLatin1Char('"')) {
        const qsizetype close = text_.indexOf(QLatin1Char('"'), pos_ + 1);
        const qsizetype end = close < 0 ? text_.size() : close;
        value = text_.mid(pos_ + 1, end - pos_ - 1);
        pos_ = close < 0 ? end : close + 1;
        // Anything between the closing quote and the delimiter is not part of the value.
        while (!atEnd() && text_[pos_] != QLatin1Char(',') && !isLineEnd(text_[pos_])) {
            ++pos_;
        }
    } else {
        const qsizetype start = pos_;
        while (!atEnd() && text_[pos_] != QLatin1Char(',') && !isLineEnd(text_[pos_])) {
            ++pos_;
        }
        qsizetype end = pos_;
        while (end > start && isBlank(text_[end - 1])) {
            --end;
        }
        value = text_.mid(start, end - start);
    }
    skipDelimiter();
    return value;
}

bool TableReader::readInteger(int& value) {
    const qsizetype start = pos_;
    while (!atEnd() && !isBlank(text_[pos_]) && !isLineEnd(text_[pos_]) &&
           text_[pos_] != QLatin1Char(',')) {
        ++pos_;
    }
    const QStringView token = QStringView(text_).mid(start, pos_ - start);
    skipDelimiter();
    qsizetype i = 0;
    bool negative = false;
    if (!token.isEmpty() && (token[0] == QLatin1Char('-') || token[0] == QLatin1Char('+'))) {
        negative = token[0] == QLatin1Char('-');
        i = 1;
    }
    long long n = 0;
    bool ok = i < token.size();
    for (; ok && i < token.size(); ++i) {
        const QChar c = token[i];
        ok = c >= QLatin1Char('0') && c <= QLatin1Char('9');
        n = std::min<long long>(n * 10 + (c.unicode() - '0'), 1'000'000);
    }
    n = negative ? -n : n;
    if (ok && n >= -32768 && n <= 32767) {
        value = static_cast<int>(n);
        return true;
    }
    token_ = token.toString();
    tokenIsNumber_ = ok;
    return false;
}

QString TableReader::readLine() {
    const qsizetype start = pos_;
    while (!atEnd() && !isLineEnd(text_[pos_])) {
        ++pos_;
    }
    QString line = text_.mid(start, pos_ - start);
    if (!atEnd() && text_[pos_] == QLatin1Char('\r')) {
        ++pos_;
    }
    if (!atEnd() && text_[pos_] == QLatin1Char('\n')) {
        ++pos_;
    }
    return line;
}

} // namespace tov::scoring
