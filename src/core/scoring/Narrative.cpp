// The words of the classification: the paragraph of the full report and the statement of the
// first page.
#include "scoring/Classification.h"
#include "scoring/ScoringTables.h"

namespace tov::scoring {

namespace {

QString dependencyPart(const Classification& c) {
    QString t;
    if (c.IsDependent) {
        t = QStringLiteral("Three or more of the seven DSM-IV dependency items (or their "
                           "equivalents) are admitted to, which meets the 'dependency' criteria as "
                           "defined here.") +
            QStringLiteral(" These admissions include: #") + c.AdmissionsList + QLatin1Char('.');
        t += c.PastDiagnosis
                 ? QStringLiteral(" Moreover, this person reports (item #64) having been diagnosed "
                                  "'substance dependent' in the past.")
                 : QStringLiteral(" This person reports (item #64) that he or she has not been "
                                  "diagnosed 'substance dependent' in the past.");
        t += c.PhysiologicalDependence
                 ? QStringLiteral(" This is a substance dependence classification with "
                                  "physiological dependence ") +
                       c.ToleranceText
                 : QStringLiteral(" This is a substance dependence classification without "
                                  "physiological dependence.");
        return t;
    }
    t = QStringLiteral("Three or more of the seven DSM-IV dependency items (or their equivalents) "
                       "are not admitted to, consequently the classification of 'dependency' as "
                       "defined here does not apply.");
    t += c.PastDiagnosis
             ? QStringLiteral(" However, this person reports (item #64) having been diagnosed "
                              "'substance dependent' in the past. By DSM-IV definition, the "
                              "classification of 'dependency' still applies.")
             : QStringLiteral(" Moreover, this person reports (item #64) that he or she has not "
                              "been diagnosed 'substance dependent' in the past.");
    return t;
}

QString abusePart(const Classification& c) {
    if (c.PastDiagnosis || c.IsDependent) {
        return {};
    }
    if (c.AbuseCount > 0) {
        return QStringLiteral(" One or more of the substance abuse items (or their equivalents) "
                              "are admitted to, which meets the criteria of 'substance abuse' as "
                              "defined here.") +
               QStringLiteral(" These admissions include: #") + c.AbuseList;
    }
    return QStringLiteral(" One or more of the substance abuse items (or their equivalents) are "
                          "not admitted to, consequently the classification of 'substance abuse' "
                          "as defined here does not apply.");
}

QString selfRatingSentence(const Classification& c) {
    if (c.SelfRatingLevel > 0) {
        return QStringLiteral(" This client describes their drinking as ") + c.DrinkingPhrase +
               QStringLiteral(" and their drug use as ") + c.DrugPhrase + QLatin1Char('.');
    }
    return QStringLiteral(" This client's self-ratings of their drinking and drug use was 'no "
                          "problem.'");
}

QString elevationSentence(const Classification& c, const ScoreResults& r) {
    const int a = r.Percentile[Alcohol];
    const int d = r.Percentile[Drugs];
    if (a <= 69 && d <= 69) {
        return QStringLiteral(" This individual's Alcohol Scale and Drug Scale scores are at or "
                              "below the 69th percentile and do not represent significant "
                              "substance (alcohol or other drugs) use risk.");
    }
    if (a > 69 && d > 69) {
        return QStringLiteral(" This individual's Alcohol Scale and Drug Scale scores are elevated "
                              "(at or above the 70th percentile) and represent drinking and drug "
                              "use risk of further involvement, abuse and/or relapse.");
    }
    return QStringLiteral(" This person's ") + c.ElevatedScale +
           QStringLiteral(" score is elevated (at or above the 70th percentile) whereas their ") +
           c.OtherScale +
           QStringLiteral(" score is not (at or below the 69th percentile) elevated.") +
           QStringLiteral(" This profile is not uncommon in the early stages of substance use, or "
                          "after relapse.");
}

QString summarySentence(const Classification& c) {
    const QString scales =
        c.ScalePhrase.isEmpty() ? QStringLiteral("Alcohol and/or Drug Scales") : c.ScalePhrase;
    const QString notMet = QStringLiteral(" According to DSM-IV criteria as represented herein, "
                                          "this ") +
                           QStringLiteral("person does not meet the criteria of dependency or "
                                          "abuse.");
    QString t;
    if (!c.IsDependent && !c.PastDiagnosis && c.AbuseCount > 0) {
        t = QStringLiteral(" In summary, this client meets the DSM-IV substance abuse "
                           "classification.") +
            QStringLiteral(" And within this abuse category their degree of risk is represented "
                           "by their ") +
            scales + QStringLiteral(" score.");
    } else if (c.IsDependent) {
        t = QStringLiteral(" In summary, this client meets the DSM-IV substance dependency "
                           "classification.") +
            QStringLiteral(" And within this dependent category their degree of risk is "
                           "represented by their ") +
            scales + QStringLiteral(" score.");
        if (c.SelfRatingLevel == 0) {
            t += QStringLiteral(" Review this client's Truthfulness Scale score to establish how "
                                "open and truthful they are about their substance use.") +
                 QStringLiteral(" It is not unusual for defendants to minimize their drug usage "
                                "in court-related settings.");
        }
    } else if (c.PastDiagnosis) {
        t = QStringLiteral(" The 'once dependent, always dependent' theory is controversial. Some "
                           "evaluators prefer considering Alcohol and Drug Scale risk (abuse, "
                           "dependency, relapse) scores.");
    } else if (c.ElevatedCount > 0) {
        t = QStringLiteral(" Problematic risk of ") + c.RiskWord +
            QStringLiteral(" is present. Although not meeting the DSM-IV criteria for dependence "
                           "or abuse, this client demonstrates a substance use risk.");
    } else if (c.SelfRatingLevel == 0) {
        t = notMet;
    } else {
        t = notMet + QStringLiteral(" Yet, self-ratings suggest ") + c.SelfRatedSubstance +
            QStringLiteral(" concern.");
    }
    if (c.ElevatedCount == 2) {
        t += QStringLiteral(" Use of multiple substances simultaneously or sequentially is "
                            "likely. A detailed history including review of court records could "
                            "be helpful.");
    }
    return t;
}

} // namespace

QStringList OmissionLines() {
    return {
        QStringLiteral("DEPENDENCY/ABUSE CLASSIFICATION: This defendant omitted one or  more  of"),
        QStringLiteral("the DSM-IV Dependency/Abuse Scale items  (or  their  equivalent  items)."),
        QStringLiteral("These omissions should be corrected, so that this scale can be scored.")};
}

QString ClassificationParagraph(const Classification& c, const ScoreResults& r) {
    if (c.AbuseItemsOmitted) {
        return {};
    }
    return QStringLiteral("DEPENDENCY/ABUSE CLASSIFICATION: ") + dependencyPart(c) + abusePart(c) +
           selfRatingSentence(c) + elevationSentence(c, r) + summarySentence(c);
}

QStringList FirstPageStatement(const Classification& c) {
    if (c.PastDiagnosis || c.IsDependent) {
        return {QStringLiteral(
                    "According to DSM-IV screening criteria, as represented herein (p. 2), "),
                QStringLiteral(
                    "this person meets the substance dependency criterion. In contrast, the"),
                QStringLiteral("Alcohol Scale and Drugs Scale measure the severity of alcohol and"),
                QStringLiteral("other drug abuse problems.")};
    }
    if (c.AbuseCount < 1) {
        return {
            QStringLiteral(
                "According to DSM-IV screening criterion, as represented herein (p. 2),"),
            QStringLiteral("this person does not meet the classification criteria for a substance"),
            QStringLiteral("abuse or dependency disorder. However, the Alcohol and Drugs Scales"),
            QStringLiteral("measure the severity of substance abuse problems.")};
    }
    return {
        QStringLiteral("According to DSM-IV screening criteria, as represented herein, (p. 2),"),
        QStringLiteral("this person meets the substance abuse disorder criterion. In contrast,"),
        QStringLiteral("the Alcohol Scale and Drugs Scale measure the severity of alcohol and"),
        QStringLiteral("other drug abuse problems.")};
}

} // namespace tov::scoring
