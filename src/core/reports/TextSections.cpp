#include "reports/TextSections.h"

#include "platform/AppError.h"
#include "records/Cp1252.h"
#include "scoring/TableReader.h"

#include <QFileInfo>

namespace tov::reports {

TextSections::TextSections(const QString& path) : path_(path) {
    split(scoring::readDataFile(path));
}

TextSections::TextSections(const QString& path, const QByteArray& content) : path_(path) {
    split(content);
}

void TextSections::split(const QByteArray& content) {
    QString text = records::fromCp1252(content);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines_ = text.split(QLatin1Char('\n'));
    // A final line end does not start another line.
    if (!lines_.isEmpty() && lines_.last().isEmpty()) {
        lines_.removeLast();
    }
}

QStringList TextSections::section(const QString& label) const {
    const qsizetype at = lines_.indexOf(label);
    if (at < 0) {
        throw AppError(scoring::tableerr::InputPastEnd,
                       QStringLiteral("%1: the section \"%2\" is missing.")
                           .arg(QFileInfo(path_).fileName(), label));
    }
    return linesFrom(at + 1, label);
}

QStringList TextSections::upToEnd() const {
    return linesFrom(0, QString());
}

QStringList TextSections::linesFrom(qsizetype first, const QString& label) const {
    const qsizetype end = lines_.indexOf(QStringLiteral("END"), first);
    if (end < 0) {
        const QString where = label.isEmpty() ? QStringLiteral("the text")
                                              : QStringLiteral("the section \"%1\"").arg(label);
        throw AppError(scoring::tableerr::InputPastEnd,
                       QStringLiteral("%1: %2 has no END line; the file is incomplete.")
                           .arg(QFileInfo(path_).fileName(), where));
    }
    return lines_.mid(first, end - first);
}

} // namespace tov::reports
