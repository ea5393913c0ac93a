#include "scoring/TableReader.h"

#include "platform/AppError.h"
#include "records/Cp1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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
    const QString cut = value.size() > 40 ? value.left(40) + QStringLiteral("...") : value;
    return QLatin1Char('"') + cut + QLatin1Char('"');
}

} // namespace

TableReader::TableReader(const QString& path) : path_(path) {
    QFile file(path);
    if (!QFileInfo::exists(path)) {
        throw AppError(
            err::FileNotFound,
            QStringLiteral("The file %1 was not found.").arg(QDir::toNativeSeparators(path)));
    }
    if (!file.open(QIODevice::ReadOnly)) {
        throw AppError(err::PermissionDenied,
                       QStringLiteral("The file %1 cannot be read: %2")
                           .arg(QDir::toNativeSeparators(path), file.errorString()));
    }
    text_ = records::fromCp1252(file.readAll());
}

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

void TableReader::skipBlanks() {
    while (!atEnd() && isBlank(text_[pos_])) {
        ++pos_;
    }
}

void TableReader::skipBlanksAndLineEnds() {
    while (!atEnd() && (isBlank(text_[pos_]) || isLineEnd(text_[pos_]))) {
        ++pos_;
    }
}

void TableReader::skipDelimiter() {
    skipBlanks();
    if (atEnd()) {
        return;
    }
    if (text_[pos_] == QLatin1Char(',')) {
        ++pos_;
    } else if (text_[pos_] == QLatin1Char('\r')) {
        ++pos_;
        if (!atEnd() && text_[pos_] == QLatin1Char('\n')) {
            ++pos_;
        }
    } else if (text_[pos_] == QLatin1Char('\n')) {
        ++pos_;
    }
}

QString TableReader::inputString(const QString& what) {
    skipBlanksAndLineEnds();
    if (atEnd()) {
        pastEnd(what);
    }
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

int TableReader::inputInteger(const QString& what) {
    skipBlanksAndLineEnds();
    if (atEnd()) {
        pastEnd(what);
    }
    const qsizetype start = pos_;
    while (!atEnd() && !isBlank(text_[pos_]) && !isLineEnd(text_[pos_]) &&
           text_[pos_] != QLatin1Char(',')) {
        ++pos_;
    }
    const QString token = text_.mid(start, pos_ - start);
    skipDelimiter();
    bool digitsOnly = !token.isEmpty();
    for (qsizetype i = 0; i < token.size(); ++i) {
        const bool sign = i == 0 && (token[i] == QLatin1Char('-') || token[i] == QLatin1Char('+'));
        if (!sign && !token[i].isDigit()) {
            digitsOnly = false;
        }
    }
    bool ok = false;
    const int value = digitsOnly ? token.toInt(&ok) : 0;
    if (!ok) {
        fail(tableerr::NotANumber,
             QStringLiteral("%1 is %2, which is not a whole number.").arg(what, shown(token)));
    }
    if (value < -32768 || value > 32767) {
        fail(tableerr::BadValue,
             QStringLiteral("%1 is %2, which is out of range.").arg(what, shown(token)));
    }
    return value;
}

QString TableReader::lineInput(const QString& what) {
    if (atEnd()) {
        pastEnd(what);
    }
    const qsizetype start = pos_;
    while (!atEnd() && !isLineEnd(text_[pos_])) {
        ++pos_;
    }
    const QString line = text_.mid(start, pos_ - start);
    if (!atEnd() && text_[pos_] == QLatin1Char('\r')) {
        ++pos_;
    }
    if (!atEnd() && text_[pos_] == QLatin1Char('\n')) {
        ++pos_;
    }
    return line;
}

} // namespace tov::scoring
