#include "records/Demographics.h"

#include <vector>

namespace tov::records {

const QStringList& genderList() {
    static const QStringList list = {QStringLiteral("N/A"), QStringLiteral("Male"),
                                     QStringLiteral("Female")};
    return list;
}

const QStringList& raceList() {
    static const QStringList list = {QStringLiteral("N/A"),
                                     QStringLiteral("American Indian"),
                                     QStringLiteral("Alaskan Native"),
                                     QStringLiteral("Asian, P. Islander"),
                                     QStringLiteral("Black, NonHispanic"),
                                     QStringLiteral("White, NonHispanic"),
                                     QStringLiteral("Hispanic, P.R."),
                                     QStringLiteral("Hispanic, Mexican"),
                                     QStringLiteral("Hispanic, Cuban"),
                                     QStringLiteral("Other")};
    return list;
}

const QStringList& maritalList() {
    static const QStringList list = {QStringLiteral("N/A"),       QStringLiteral("Single"),
                                     QStringLiteral("Married"),   QStringLiteral("Divorced"),
                                     QStringLiteral("Separated"), QStringLiteral("Widowed")};
    return list;
}

const QStringList& educationList() {
    static const QStringList list = {QStringLiteral("N/A"),
                                     QStringLiteral("8th grade or less"),
                                     QStringLiteral("Did not complete high school"),
                                     QStringLiteral("High school graduate"),
                                     QStringLiteral("Some college"),
                                     QStringLiteral("College graduate")};
    return list;
}

QString codeText(const QStringList& list, const QString& code) {
    bool ok = false;
    const int n = code.trimmed().toInt(&ok);
    return ok && n >= 0 && n < list.size() ? list.at(n) : list.at(0);
}

const QStringList& entries(CodeList list) {
    switch (list) {
    case CodeList::Gender:
        return genderList();
    case CodeList::Race:
        return raceList();
    case CodeList::Marital:
        return maritalList();
    case CodeList::Education:
        return educationList();
    }
    return genderList();
}

namespace {

struct Key {
    int position;
    const char* begins; // upper-cased beginning, or nullptr
    char eleventh;      // the eleventh character, or 0
};

const std::vector<Key>& keysOf(CodeList list) {
    static const std::vector<Key> gender = {{1, "M", 0}, {2, "F", 0}, {0, "N", 0}};
    static const std::vector<Key> marital = {{1, "SI", 0}, {2, "MA", 0}, {3, "DI", 0},
                                             {4, "SE", 0}, {5, "WI", 0}, {0, "N/", 0}};
    static const std::vector<Key> race = {
        {1, "AM", 0},      {2, "AL", 0},      {3, "AS", 0},      {4, "BL", 0}, {5, "WH", 0},
        {6, nullptr, 'P'}, {7, nullptr, 'M'}, {8, nullptr, 'C'}, {9, "OT", 0}, {0, "N/", 0}};
    static const std::vector<Key> education = {{1, "8", 0}, {2, "D", 0}, {3, "H", 0},
                                               {4, "S", 0}, {5, "C", 0}, {0, "N", 0}};
    switch (list) {
    case CodeList::Gender:
        return gender;
    case CodeList::Race:
        return race;
    case CodeList::Marital:
        return marital;
    case CodeList::Education:
        return education;
    }
    return gender;
}

} // namespace

int ListPosition(CodeList list, QStringView text) {
    const QString upper = text.toString().toUpper();
    for (const Key& k : keysOf(list)) {
        if (text == QString::number(k.position)) {
            return k.position;
        }
        if (k.begins != nullptr && upper.startsWith(QLatin1String(k.begins))) {
            return k.position;
        }
        if (k.eleventh != 0 && upper.size() > 10 && upper[10] == QLatin1Char(k.eleventh)) {
            return k.position;
        }
    }
    return -1;
}

} // namespace tov::records
