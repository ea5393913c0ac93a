// Builds the scoring tables TOV2SFB.TXT and the report texts TSF2RPT.TXT from the item blueprint
// and the scoring constants, in the layouts the program reads (values separated by commas or
// line ends, strings quoted, whole lines for the item texts).
#include "platform/AppError.h"
#include "scoring/Blueprint.h"
#include "scoring/ScoringTables.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QSaveFile>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <cstdio>

using namespace tov;
using scoring::Blueprint;

namespace {

// The "name = values" lines of the constants file.
QMap<QString, QStringList> readConstants(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        throw AppError(err::FileNotFound, QStringLiteral("cannot read %1").arg(path));
    }
    QMap<QString, QStringList> values;
    int n = 0;
    for (const QString& raw : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        ++n;
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) {
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0) {
            throw AppError(5,
                           QStringLiteral("%1:%2: not a \"name = values\" line").arg(path).arg(n));
        }
        QStringList list = line.mid(eq + 1).split(QLatin1Char(','));
        for (QString& v : list) {
            v = v.trimmed();
        }
        values.insert(line.left(eq).simplified(), list);
    }
    return values;
}

QStringList need(const QMap<QString, QStringList>& c, const QString& key, qsizetype count) {
    QStringList v = c.value(key);
    if (v.size() != count) {
        throw AppError(
            5, QStringLiteral("the constants need \"%1\" with %2 values").arg(key).arg(count));
    }
    return v;
}

QString quoted(const QStringList& values) {
    QStringList q;
    for (const QString& v : values) {
        q << QLatin1Char('"') + v + QLatin1Char('"');
    }
    return q.join(QLatin1Char(','));
}

QString numbers(const QList<int>& values) {
    QStringList s;
    for (const int v : values) {
        s << QString::number(v);
    }
    return s.join(QLatin1Char(','));
}

// The highest raw score a scale can reach: its items' best answers and the court-history points.
int highestRaw(const Blueprint& bp, int scale) {
    static constexpr std::array<int, 5> court = {0, 0, 10, 16, 5};
    int sum = court.at(scale);
    for (const int item : bp.scaleItems(scale)) {
        const QList<int>& p = bp.item(item).points;
        sum += *std::max_element(p.begin(), p.end());
    }
    return sum;
}

QList<int> normTable(double centre, double spread, int count) {
    QList<int> out;
    for (int raw = 1; raw <= count; ++raw) {
        const double z = (raw - centre) / spread;
        const double p = 50.0 * std::erfc(-z / std::sqrt(2.0));
        out << std::clamp(static_cast<int>(std::floor(p)), 1, 99);
    }
    return out;
}

QString tablesFile(const Blueprint& bp, const QMap<QString, QStringList>& c) {
    QStringList lines;
    lines << QStringLiteral("%1").arg(numbers(bp.listedItems(QStringLiteral("AL")) +
                                              bp.listedItems(QStringLiteral("DG")) +
                                              bp.listedItems(QStringLiteral("DR"))));
    for (int section = 1; section <= 2; ++section) {
        const int first = section == 1 ? 1 : scoring::Sections::End1 + 1;
        const int last = section == 1 ? scoring::Sections::End1 : scoring::Sections::End2;
        const int codes = section == 1 ? 3 : 5;
        for (int code = 0; code < codes; ++code) {
            QString key;
            for (int item = first; item <= last; ++item) {
                key += QString::number(bp.item(item).points.at(code));
            }
            lines << QLatin1Char('"') + key + QLatin1Char('"');
        }
    }
    static const std::array<const char*, 3> genders = {"", "male", "female"};
    for (int g = 1; g <= 2; ++g) {
        for (int group = 1; group <= 3; ++group) {
            for (int s = 1; s <= scoring::kScaleCount; ++s) {
                const QString key = QStringLiteral("norm %1 %2 %3")
                                        .arg(Blueprint::scaleCode(s), QLatin1String(genders.at(g)))
                                        .arg(group);
                const QStringList v = need(c, key, 2);
                const int count = std::min(highestRaw(bp, s), scoring::kMaxNormCount);
                lines << QString::number(count) + QLatin1Char(',') +
                             numbers(normTable(v.at(0).toDouble(), v.at(1).toDouble(), count));
            }
        }
    }
    for (int s = 1; s <= scoring::kScaleCount; ++s) {
        const QList<int> items = bp.scaleItems(s);
        lines << QString::number(items.size()) + QLatin1Char(',') + numbers(items);
    }
    lines << numbers(bp.significantItems(QStringLiteral("AL")) +
                     bp.significantItems(QStringLiteral("DR")) +
                     bp.significantItems(QStringLiteral("DG")));
    for (const char* prefix : {"floor", "correction"}) {
        for (int s = 2; s <= scoring::kScaleCount; ++s) {
            lines << need(c,
                          QStringLiteral("%1 %2").arg(QLatin1String(prefix),
                                                      Blueprint::scaleCode(s)),
                          QLatin1String(prefix) == QLatin1String("floor") ? 8 : 9)
                         .join(QLatin1Char(','));
        }
    }
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

QString textsFile(const Blueprint& bp, const QMap<QString, QStringList>& c) {
    QStringList lines;
    const std::array<int, 5> oldCounts = {2, 3, 6, 5, 5};
    for (std::size_t i = 0; i < oldCounts.size(); ++i) {
        lines << quoted(need(c, QStringLiteral("old-labels-%1").arg(i + 1), oldCounts[i]));
    }
    lines << quoted(need(c, QStringLiteral("scale-names"), 4));
    lines << quoted(need(c, QStringLiteral("range-labels"), 4));
    lines << quoted(need(c, QStringLiteral("range-words"), 4));
    for (const char* group : {"AL", "DG", "DR"}) {
        for (const int item : bp.listedItems(QLatin1String(group))) {
            lines << bp.item(item).listedText;
        }
    }
    for (int item = scoring::Sections::End1 + 1; item <= scoring::Sections::End2; ++item) {
        lines << bp.item(item).answerTexts;
    }
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

void write(const QString& path, const QString& text) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(text.toLatin1()) < 0 || !f.commit()) {
        throw AppError(err::DeviceIo, QStringLiteral("cannot write %1").arg(path));
    }
}

} // namespace

int main(int argc, char* argv[]) {
    const QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: mkscoringtables BLUEPRINT CONSTANTS OUTPUT-FOLDER\n");
        return 1;
    }
    try {
        const Blueprint bp = Blueprint::load(QString::fromLocal8Bit(argv[1]));
        const auto constants = readConstants(QString::fromLocal8Bit(argv[2]));
        const QString out = QString::fromLocal8Bit(argv[3]);
        QDir().mkpath(out);
        write(out + QStringLiteral("/TOV2SFB.TXT"), tablesFile(bp, constants));
        write(out + QStringLiteral("/TSF2RPT.TXT"), textsFile(bp, constants));
    } catch (const AppError& e) {
        std::fprintf(stderr, "mkscoringtables: %s\n", qPrintable(e.description()));
        return 1;
    }
    return 0;
}
