#pragma once

#include <QString>

namespace tov::records {

// A piece of a damaged file quoted in a message: in double quotes, at most 40 characters, any
// that cannot be shown (control codes, binary bytes) as '?', and "..." when it was cut.
inline QString Quoted(const QString& value) {
    constexpr qsizetype Shown = 40;
    QString text = value.left(Shown);
    for (QChar& c : text) {
        // U+FFFD stands for bytes that were no text at all: shown as the other binary bytes.
        if (!c.isPrint() || c == QChar::ReplacementCharacter) {
            c = QLatin1Char('?');
        }
    }
    if (value.size() > Shown) {
        text += QStringLiteral("...");
    }
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace tov::records
