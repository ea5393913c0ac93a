#include "platform/ProfileFile.h"

#include "platform/AppError.h"

#include <QFile>
#include <QSaveFile>
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

struct Lines {
    QStringList lines;
    QString eol = QStringLiteral("\n");
};

Lines load(const QString& path) {
    Lines result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return result;
    }
    const QString text = QString::fromUtf8(file.readAll());
    if (text.contains(QLatin1String("\r\n"))) {
        result.eol = QStringLiteral("\r\n");
    }
    result.lines = text.split(QLatin1Char('\n'));
    for (QString& line : result.lines) {
        if (line.endsWith(QLatin1Char('\r'))) {
            line.chop(1);
        }
    }
    if (!result.lines.isEmpty() && result.lines.back().isEmpty()) {
        result.lines.removeLast();
    }
    return result;
}

} // namespace

QString ProfileFile::read(const QString& section, const QString& key, const QString& defaultValue,
                          int bufferSize) const {
    const Lines file = load(path_);
    bool inSection = false;
    QString value = defaultValue;
    for (const QString& line : file.lines) {
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
    Lines file = load(path_);
    const QString entry = key + QLatin1Char('=') + value;
    qsizetype sectionAt = -1;
    qsizetype insertAt = -1;
    bool done = false;
    for (qsizetype i = 0; i < file.lines.size() && !done; ++i) {
        const QString& line = file.lines[i];
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
            file.lines[i] = entry;
            done = true;
        } else if (!line.trimmed().isEmpty()) {
            insertAt = i + 1;
        }
    }
    if (!done) {
        if (sectionAt >= 0) {
            file.lines.insert(insertAt, entry);
        } else {
            file.lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
            file.lines.append(entry);
        }
    }
    // Written to a new file and renamed over the old one, so a failure never leaves half a file.
    QSaveFile out(path_);
    if (!out.open(QIODevice::WriteOnly)) {
        throw AppError(err::PermissionDenied,
                       QStringLiteral("Cannot write %1: %2").arg(path_, out.errorString()));
    }
    out.write((file.lines.join(file.eol) + file.eol).toUtf8());
    if (!out.commit()) {
        throw AppError(err::PathFileAccess,
                       QStringLiteral("Cannot write %1: %2").arg(path_, out.errorString()));
    }
}

} // namespace tov::platform
