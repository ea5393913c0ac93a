#include "scoring/Blueprint.h"

#include "platform/AppError.h"
#include "platform/RegularFile.h"
#include "records/Quoted.h"
#include "scoring/ScoringTables.h"
#include "scoring/TableReader.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace tov::scoring {

namespace {

QStringList listField(const QString& field) {
    const QString f = field.trimmed();
    if (f == QLatin1String("-")) {
        return {};
    }
    QStringList parts = f.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (QString& p : parts) {
        p = p.trimmed();
    }
    return parts;
}

class LineError {
public:
    LineError(QString file, int line) : file_(std::move(file)), line_(line) {}
    [[noreturn]] void operator()(const QString& text) const {
        throw AppError(tableerr::BadValue,
                       QStringLiteral("%1, line %2: %3").arg(file_).arg(line_).arg(text));
    }

private:
    QString file_;
    int line_;
};

} // namespace

QString Blueprint::scaleCode(int scale) {
    static const std::array<const char*, 5> codes = {"", "VA", "AL", "DR", "DG"};
    return QString::fromLatin1(codes.at(scale));
}

Blueprint Blueprint::load(const QString& path) {
    QByteArray content;
    try {
        content = platform::ReadRegularFile(path, platform::MaxTextFileBytes);
    } catch (const AppError& e) {
        throw AppError(
            err::FileNotFound,
            QStringLiteral("The blueprint %1 cannot be read: %2").arg(path, e.description()));
    }
    const QString name = QFileInfo(path).fileName();
    const QStringList lines =
        QString::fromUtf8(content).remove(QLatin1Char('\r')).split(QLatin1Char('\n'));
    Blueprint bp;
    const QStringList scaleCodes = {QStringLiteral("VA"), QStringLiteral("AL"),
                                    QStringLiteral("DR"), QStringLiteral("DG")};
    const QStringList groups = {QStringLiteral("AL"), QStringLiteral("DR"), QStringLiteral("DG")};
    static const QRegularExpression answerLine(QStringLiteral("^(\\d+)\\.(\\d)$"));
    for (int n = 0; n < lines.size(); ++n) {
        const QString line = lines.at(n).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) {
            continue;
        }
        const LineError fail(name, n + 1);
        const QStringList f = line.split(QLatin1Char('|'));
        const QString head = f.at(0).trimmed();
        const auto answer = answerLine.match(head);
        if (answer.hasMatch()) {
            if (f.size() != 3 || bp.items_.isEmpty() ||
                bp.items_.last().number != answer.captured(1).toInt() ||
                bp.items_.last().answers.size() + 1 != answer.captured(2).toInt()) {
                fail(
                    QStringLiteral("an answer line must follow its item, answers 1 to 4 in order"));
            }
            bp.items_.last().answers << f.at(1).trimmed();
            bp.items_.last().answerTexts << f.at(2).trimmed();
            continue;
        }
        if (f.size() != 7) {
            fail(QStringLiteral("expected 7 fields separated by \"|\", found %1").arg(f.size()));
        }
        BlueprintItem item;
        bool ok = false;
        item.number = head.toInt(&ok);
        if (!ok || item.number != bp.items_.size() + 1) {
            fail(QStringLiteral("item %1 expected, found %2")
                     .arg(bp.items_.size() + 1)
                     .arg(records::Quoted(head)));
        }
        const int codes = item.number <= Sections::End1 ? 3 : 5;
        for (const QString& p : f.at(1).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const int v = p.toInt(&ok);
            if (!ok || v < 0 || v > 9) {
                fail(
                    QStringLiteral("points must be digits 0 to 9, not %1").arg(records::Quoted(p)));
            }
            item.points << v;
        }
        if (item.points.size() != codes) {
            fail(QStringLiteral("item %1 needs %2 point values").arg(item.number).arg(codes));
        }
        item.scales = listField(f.at(2));
        item.roles = listField(f.at(3));
        item.significant = listField(f.at(4));
        for (const QString& s : item.scales) {
            if (!scaleCodes.contains(s)) {
                fail(QStringLiteral("unknown scale %1").arg(records::Quoted(s)));
            }
        }
        for (const QString& g : item.significant) {
            if (!groups.contains(g)) {
                fail(QStringLiteral("unknown significant-item group %1").arg(records::Quoted(g)));
            }
        }
        const QString listed = f.at(5).trimmed();
        if (listed != QLatin1String("-")) {
            const qsizetype colon = listed.indexOf(QLatin1String(": "));
            item.listedGroup = listed.left(colon);
            item.listedText = listed.mid(colon + 2);
            if (colon < 0 || !groups.contains(item.listedGroup) || item.listedText.size() > 35) {
                fail(QStringLiteral("a listed item is \"AL: text\", \"DR: text\" or \"DG: text\" "
                                    "with at most 35 characters of text"));
            }
        }
        item.wording = f.at(6).trimmed();
        bp.items_ << item;
    }
    const LineError fail(name, static_cast<int>(lines.size()));
    if (bp.items_.size() != Sections::End2) {
        fail(QStringLiteral("the blueprint holds %1 items, 73 expected").arg(bp.items_.size()));
    }
    for (const BlueprintItem& item : bp.items_) {
        const int answers = item.number > Sections::End1 ? 4 : 0;
        if (item.answers.size() != answers) {
            fail(QStringLiteral("item %1 needs %2 answer lines").arg(item.number).arg(answers));
        }
        for (const QString& t : item.answerTexts) {
            if (t.size() > 35) {
                fail(QStringLiteral("the answer text %1 is longer than 35 characters")
                         .arg(records::Quoted(t)));
            }
        }
    }
    const std::array<std::pair<const char*, int>, 3> sizes = {{{"AL", 11}, {"DR", 7}, {"DG", 10}}};
    const std::array<std::pair<const char*, int>, 3> listedSizes = {
        {{"AL", 7}, {"DR", 7}, {"DG", 6}}};
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        const QString g = QString::fromLatin1(sizes[i].first);
        if (bp.significantItems(g).size() != sizes[i].second) {
            fail(QStringLiteral("the significant items of %1 number %2, %3 expected")
                     .arg(g)
                     .arg(bp.significantItems(g).size())
                     .arg(sizes[i].second));
        }
        const QString lg = QString::fromLatin1(listedSizes[i].first);
        if (bp.listedItems(lg).size() != listedSizes[i].second) {
            fail(QStringLiteral("the listed items of %1 number %2, %3 expected")
                     .arg(lg)
                     .arg(bp.listedItems(lg).size())
                     .arg(listedSizes[i].second));
        }
    }
    for (int s = 1; s <= kScaleCount; ++s) {
        if (bp.scaleItems(s).size() > kMaxScaleItems) {
            fail(QStringLiteral("the %1 scale has more than %2 items")
                     .arg(scaleCode(s))
                     .arg(kMaxScaleItems));
        }
    }
    return bp;
}

QList<int> Blueprint::scaleItems(int scale) const {
    QList<int> out;
    for (const BlueprintItem& item : items_) {
        if (item.scales.contains(scaleCode(scale))) {
            out << item.number;
        }
    }
    return out;
}

QList<int> Blueprint::significantItems(const QString& group) const {
    QList<int> out;
    for (const BlueprintItem& item : items_) {
        if (item.significant.contains(group)) {
            out << item.number;
        }
    }
    return out;
}

QList<int> Blueprint::listedItems(const QString& group) const {
    QList<int> out;
    for (const BlueprintItem& item : items_) {
        if (item.listedGroup == group) {
            out << item.number;
        }
    }
    return out;
}

} // namespace tov::scoring
