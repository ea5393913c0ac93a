#include "scoring/ScoringTables.h"

#include "records/Quoted.h"
#include "scoring/TableReader.h"

#include <algorithm>

namespace tov::scoring {

int ScoringTables::pointsFor(int item, int answerCode) const {
    const int position = Sections::positionOf(item);
    // A code the section does not have (a damaged answer) earns nothing.
    const QString* key = nullptr;
    if (Sections::sectionOf(item) == 1 && answerCode >= 0 && answerCode <= Sections::MaxCode1) {
        key = &key1[answerCode];
    } else if (Sections::sectionOf(item) == 2 && answerCode >= 0 &&
               answerCode <= Sections::MaxCode2) {
        key = &key2[answerCode];
    }
    if (key == nullptr || position > key->size()) {
        return 0;
    }
    return key->at(position - 1).digitValue();
}

namespace {

QString scaleName(int scale) {
    static const char* const names[] = {"", "Truthfulness", "Alcohol", "Driver Risk", "Drugs"};
    return QString::fromLatin1(names[scale]);
}

QString genderName(int gender) {
    return gender == 1 ? QStringLiteral("male") : QStringLiteral("female");
}

// An integer that must lie in a range, else a table error naming it.
template <typename What> int boundedInteger(TableReader& in, const What& what, int low, int high) {
    const int value = in.inputInteger(what);
    if (value < low || value > high) {
        in.fail(tableerr::BadValue, QStringLiteral("%1 is %2; it must be %3 to %4.")
                                        .arg(what())
                                        .arg(value)
                                        .arg(low)
                                        .arg(high));
    }
    return value;
}

QString readKey(TableReader& in, int section, int code, int length) {
    const auto what = [section, code] {
        return QStringLiteral("the scoring key of section %1 for answer %2").arg(section).arg(code);
    };
    QString key = in.inputString(what);
    const bool digits = std::all_of(key.begin(), key.end(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
    if (key.size() != length || !digits) {
        in.fail(tableerr::BadValue, QStringLiteral("%1 is %2; it must be %3 digits, one per item.")
                                        .arg(what(), records::Quoted(key))
                                        .arg(length));
    }
    return key;
}

void readTexts(TableReader& texts, ReportTexts& out) {
    // An older label set comes first; it is read past and not used.
    for (int i = 1; i <= 21; ++i) {
        texts.inputString([i] { return QStringLiteral("old label %1 of 21").arg(i); });
    }
    for (int s = 1; s <= kScaleCount; ++s) {
        out.scaleNames[s] =
            texts.inputString([s] { return QStringLiteral("scale name %1").arg(s); });
    }
    for (int r = 1; r <= kScaleCount; ++r) {
        out.rangeLabels[r] =
            texts.inputString([r] { return QStringLiteral("range label %1").arg(r); });
    }
    for (int r = 1; r <= kScaleCount; ++r) {
        out.rangeWords[r] =
            texts.inputString([r] { return QStringLiteral("range word %1").arg(r); });
    }
}

void readNorms(TableReader& in, ScoringTables& t) {
    for (int g = 1; g <= kGenders; ++g) {
        for (int group = 1; group <= kNormGroups; ++group) {
            for (int s = 1; s <= kScaleCount; ++s) {
                const auto table = [s, group, g] {
                    return QStringLiteral("the %1 norms of group %2 (%3)")
                        .arg(scaleName(s))
                        .arg(group)
                        .arg(genderName(g));
                };
                NormColumn& column = t.norms[s][group][g];
                column.count = boundedInteger(
                    in, [&table] { return QStringLiteral("the length of %1").arg(table()); }, 0,
                    kMaxNormCount);
                for (int raw = 1; raw <= column.count; ++raw) {
                    column.percentile[raw] = boundedInteger(
                        in,
                        [&table, raw] {
                            return QStringLiteral("the percentile for raw score %1 in %2")
                                .arg(raw)
                                .arg(table());
                        },
                        0, 99);
                }
            }
        }
    }
}

void readScaleItems(TableReader& in, ScoringTables& t) {
    for (int s = 1; s <= kScaleCount; ++s) {
        const int count = boundedInteger(
            in, [s] { return QStringLiteral("the item count of the %1 scale").arg(scaleName(s)); },
            0, kMaxScaleItems);
        for (int i = 1; i <= count; ++i) {
            t.scaleItems[s].append(boundedInteger(
                in,
                [s, i] {
                    return QStringLiteral("item %1 of the %2 scale").arg(i).arg(scaleName(s));
                },
                1, 73));
        }
    }
}

void readFloorsAndCorrections(TableReader& in, ScoringTables& t) {
    for (int s = Alcohol; s <= Drugs; ++s) {
        for (int level = 1; level <= kFloorLevels; ++level) {
            t.significantFloor[s][level] = boundedInteger(
                in,
                [s, level] {
                    return QStringLiteral("the %1 floor for significant level %2")
                        .arg(scaleName(s))
                        .arg(level);
                },
                0, 99);
        }
    }
    for (int s = Alcohol; s <= Drugs; ++s) {
        for (int band = 1; band <= kTruthBands; ++band) {
            t.truthCorrection[s][band] = in.inputInteger([s, band] {
                return QStringLiteral("the %1 Truthfulness correction for band %2")
                    .arg(scaleName(s))
                    .arg(band);
            });
        }
    }
}

} // namespace

ScoringTables LoadScoringTables(const QString& programFolder) {
    TableReader texts(programFolder + QLatin1Char('/') + QLatin1String(kTextsFile));
    TableReader tables(programFolder + QLatin1Char('/') + QLatin1String(kTablesFile));
    return ReadScoringTables(tables, texts);
}

ScoringTables ReadScoringTables(TableReader& tables, TableReader& texts) {
    ScoringTables t;
    readTexts(texts, t.texts);
    for (int i = 1; i <= kListedCount; ++i) {
        t.listedItems[i] = boundedInteger(
            tables, [i] { return QStringLiteral("listed significant item %1").arg(i); }, 1, 73);
    }
    for (int i = 1; i <= kListedCount; ++i) {
        t.texts.listedTexts[i] =
            texts.lineInput([i] { return QStringLiteral("the text of listed item %1").arg(i); });
    }
    for (int i = 1; i <= kChoiceTextCount; ++i) {
        t.texts.choiceTexts[i] = texts.lineInput(
            [i] { return QStringLiteral("multiple-choice answer text %1").arg(i); });
    }
    for (int code = 0; code <= Sections::MaxCode1; ++code) {
        t.key1[code] = readKey(tables, 1, code, Sections::End1);
    }
    for (int code = 0; code <= Sections::MaxCode2; ++code) {
        t.key2[code] = readKey(tables, 2, code, Sections::End2 - Sections::End1);
    }
    readNorms(tables, t);
    readScaleItems(tables, t);
    for (int i = 1; i <= kSignificantCount; ++i) {
        t.significantItems[i] = boundedInteger(
            tables, [i] { return QStringLiteral("significant item %1").arg(i); }, 1, 73);
    }
    readFloorsAndCorrections(tables, t);
    return t;
}

} // namespace tov::scoring
