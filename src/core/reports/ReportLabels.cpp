#include "reports/ReportContext.h"
#include "scoring/WholeValue.h"

#include <QStringList>

namespace tov::reports {

namespace {

QString labelOf(const QStringList& labels, const QString& code) {
    const int n = scoring::WholeValue(code);
    return n >= 0 && n < labels.size() ? labels.at(n) : labels.at(0);
}

} // namespace

QString GenderLabel(const QString& code) {
    static const QStringList labels = {QStringLiteral("N/A"), QStringLiteral("Male"),
                                       QStringLiteral("Female")};
    return labelOf(labels, code);
}

QString RaceLabel(const QString& code) {
    static const QStringList labels = {QStringLiteral("N/A"),
                                       QStringLiteral("Native American"),
                                       QStringLiteral("Alaskan Native"),
                                       QStringLiteral("Asian, P.Islander"),
                                       QStringLiteral("Black, NonHispanic"),
                                       QStringLiteral("White, NonHispanic"),
                                       QStringLiteral("Hispanic, P.R."),
                                       QStringLiteral("Hispanic, Mexican"),
                                       QStringLiteral("Hispanic, Cuban"),
                                       QStringLiteral("Other")};
    return labelOf(labels, code);
}

QString MaritalLabel(const QString& code) {
    static const QStringList labels = {QStringLiteral("N/A"),       QStringLiteral("Never Married"),
                                       QStringLiteral("Married"),   QStringLiteral("Divorced"),
                                       QStringLiteral("Separated"), QStringLiteral("Widowed")};
    return labelOf(labels, code);
}

QString EducationLabel(const QString& code) {
    static const QStringList labels = {QStringLiteral("N/A"),
                                       QStringLiteral("8th grade or less"),
                                       QStringLiteral("Did not complete H.S."),
                                       QStringLiteral("High School graduate"),
                                       QStringLiteral("Some college"),
                                       QStringLiteral("College graduate")};
    return labelOf(labels, code);
}

} // namespace tov::reports
