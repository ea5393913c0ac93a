#pragma once

#include <QString>
#include <QStringList>

namespace tov::reports {

// The interpretation text files and INVAL.TXT: plain text whose sections start with a line that
// is exactly their label and end with a line "END". A missing file, a missing label or a
// missing "END" throws AppError naming the file and the label.
class TextSections {
public:
    // Reads the whole file at once.
    explicit TextSections(const QString& path);
    // The content of a file already read; path only names it in messages.
    TextSections(const QString& path, const QByteArray& content);

    // The lines after the label line, up to the "END" line.
    QStringList section(const QString& label) const;
    // The lines from the start of the file up to the "END" line.
    QStringList upToEnd() const;

private:
    void split(const QByteArray& content);
    QStringList linesFrom(qsizetype first, const QString& label) const;

    QString path_;
    QStringList lines_;
};

} // namespace tov::reports
