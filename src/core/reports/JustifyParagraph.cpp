#include "reports/JustifyParagraph.h"

namespace tov::reports {

namespace {

struct Widths {
    int breakAt;   // the last blank at or before this position ends a line
    bool lastLine; // remaining text of this length is the last line
    int padFrom;   // lines longer than this are padded ...
    int padLimit;  // ... up to and including this length
    int padTarget; // ... until they reach this length
};

Widths widthsOf(Justify v, qsizetype remaining) {
    if (v == Justify::Classification) {
        return {72, remaining < 72, 55, 70, 71};
    }
    return {70, remaining <= 70, 55, 69, 70};
}

} // namespace

QString PadLine(QString line, Justify variant) {
    const Widths w = widthsOf(variant, 0);
    if (line.size() <= w.padFrom || line.size() > w.padLimit) {
        return line;
    }
    // Positions are 0-based here; the search never looks at the first character.
    qsizetype pos = line.size() - 1;
    bool widenedThisPass = false;
    while (line.size() < w.padTarget) {
        if (pos < 1) {
            if (!widenedThisPass) {
                break; // no blank between words: the line stays as it is
            }
            pos = line.size() - 1;
            widenedThisPass = false;
            continue;
        }
        if (line.at(pos) == QLatin1Char(' ')) {
            line.insert(pos + 1, QLatin1Char(' '));
            widenedThisPass = true;
        }
        --pos;
    }
    return line;
}

QStringList JustifyParagraph(const QString& text, Justify variant) {
    QStringList lines;
    QString rest = text;
    while (!rest.isEmpty()) {
        const Widths w = widthsOf(variant, rest.size());
        QString line;
        if (w.lastLine) {
            line = rest;
            rest.clear();
        } else {
            const qsizetype blank = rest.lastIndexOf(QLatin1Char(' '), w.breakAt - 1);
            if (blank < 0) {
                // A word longer than the line: cut it, rather than never getting past it.
                line = rest.left(w.breakAt);
                rest = rest.mid(w.breakAt);
            } else {
                line = rest.left(blank);
                rest = rest.mid(blank + 1);
            }
            if (variant == Justify::Classification) {
                rest += QLatin1Char(' ');
            }
        }
        while (line.endsWith(QLatin1Char(' '))) {
            line.chop(1);
        }
        lines.append(PadLine(line, variant));
    }
    return lines;
}

} // namespace tov::reports
