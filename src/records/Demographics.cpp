#include "records/Demographics.h"

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

} // namespace tov::records
