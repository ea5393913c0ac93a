#include "reports/ReportBlocks.h"

#include "records/InRange.h"
#include "records/NumericValue.h"

namespace tov::reports {

using namespace scoring;

namespace {

// A court value as the prior history prints it: "N/A" for not available, a one-character value
// with a trailing blank so the staff mark lines up.
QString display(const QString& value) {
    if (value == QLatin1String("-1")) {
        return QStringLiteral("N/A");
    }
    return value.size() == 1 ? value + QLatin1Char(' ') : value;
}

QString bacDisplay(const QString& value) {
    return value == QLatin1String("-2") ? QStringLiteral("Refused") : display(value);
}

QString dateDisplay(const QString& value) {
    return value.startsWith(QLatin1Char('N')) ? QStringLiteral("N/A") : display(value);
}

} // namespace

void ClientHeaderBlock(const ReportContext& ctx, ReportPage& page) {
    const ReportRecord& cl = ctx.client;
    const QString marital = MaritalLabel(cl.Marital);
    page.uncounted(ReportLine()
                       .blanks(7)
                       .text(QStringLiteral("NAME: ") + cl.Name)
                       .at(40)
                       .text(QStringLiteral("AGE: ") + cl.Age)
                       .at(50)
                       .blanks(13 - static_cast<int>(marital.size()))
                       .text(QStringLiteral("MARITAL STATUS: ") + marital));
    page.uncounted(ReportLine()
                       .blanks(7)
                       .text(QStringLiteral("RACE: ") + RaceLabel(cl.Race))
                       .at(40)
                       .text(QStringLiteral("SEX: ") + GenderLabel(cl.Gender))
                       .at(55)
                       .blanks(10 - static_cast<int>(cl.TestDate.size()))
                       .text(QStringLiteral("TODAY'S DATE: ") + cl.TestDate));
    const QString dob = cl.DOB.compare(QLatin1String("N"), Qt::CaseInsensitive) == 0
                            ? QStringLiteral("N/A")
                            : cl.DOB;
    page.uncounted(ReportLine().blanks(7).text(QStringLiteral("DATE OF BIRTH: ") + dob));
    page.uncounted(ReportLine().at(8).text(QStringLiteral("EDUCATION (HIGHEST GRADE): ") +
                                           EducationLabel(cl.Education)));
    page.uncounted(ReportLine()
                       .blanks(7)
                       .text(QStringLiteral("DRIVER'S LICENSE NUMBER: ") + cl.DLNumber)
                       .at(59)
                       .text(QStringLiteral("---CLASSIFICATION---")));
    page.uncounted(ReportLine()
                       .blanks(7)
                       .text(QStringLiteral("SOCIAL SECURITY NUMBER : ") + cl.SSN)
                       .at(61)
                       .text(RiskClassification(ctx.c, ctx.r)));
    page.uncounted(ReportLine().at(38).text(QStringLiteral("* * * * *")));
    page.LineCount += 8;
    if (ctx.truth() >= 95) {
        page.counted();
    }
}

void ConfidentialityLines(ReportPage& page) {
    for (const char* line :
         {"TOV-II results  are  confidential  and  should  be  considered  working",
          "hypotheses. No diagnosis or decision should be based solely upon TOV-II",
          "results. The TOV-II is to be used in conjunction with experienced staff", "judgment."}) {
        page.uncounted(ReportLine().blanks(7).text(QString::fromLatin1(line)));
    }
    page.uncounted();
    page.LineCount += 5;
}

QString ProfileBar(int percentile) {
    static const QString dots = QStringLiteral("-...............-...........-.......-...-");
    const int n = percentile * 10 / 25;
    return QString(n + 1, QLatin1Char('*')) + dots.right(40 - n);
}

void ProfileChart(const ReportContext& ctx, ReportPage& page) {
    const QString rule = QStringLiteral("+---------------+-----------+-------+---+");
    const QString divider = QStringLiteral("-               -           -       -   -");
    page.uncounted(ReportLine()
                       .blanks(7)
                       .text(QStringLiteral("MEASURES"))
                       .blanks(12)
                       .text(QStringLiteral("%ile"))
                       .blanks(6)
                       .text(QStringLiteral("                TOV-II PROFILE")));
    page.uncounted(ReportLine()
                       .blanks(7)
                       .text(QStringLiteral("--------"))
                       .blanks(12)
                       .text(QStringLiteral("----"))
                       .blanks(6)
                       .text(rule));
    page.uncounted(
        ReportLine().blanks(37).text(QStringLiteral("-   LOW RISK    -  MEDIUM   -PROBLEM-MAX-")));
    page.uncounted(ReportLine().blanks(37).text(divider));
    bool someNotScored = false;
    for (int s = 1; s <= kScaleCount; ++s) {
        ReportLine line;
        line.blanks(7).text(ctx.scaleName(s));
        if (!ctx.notScored(s)) {
            const int p = ctx.r.Percentile[s];
            line.at(p < 10 ? 29 : 28).number(p);
            if (ctx.truth() >= 90 || ctx.r.CourtRaised[s]) {
                line.text(QStringLiteral("*"));
            }
            line.at(38).text(ProfileBar(p));
        } else {
            someNotScored = true;
            line.text(QStringLiteral(" **"))
                .at(38)
                .text(QStringLiteral("Scale not scored, insufficient answers"));
        }
        page.uncounted(line);
        page.uncounted(ReportLine().blanks(37).text(s == kScaleCount ? rule : divider));
    }
    const bool inaccurate = ctx.truth() >= 90;
    const bool raised =
        ctx.r.CourtRaised[Alcohol] || ctx.r.CourtRaised[DriverRisk] || ctx.r.CourtRaised[Drugs];
    QString note1;
    QString note2;
    if (someNotScored) {
        note1 = QStringLiteral("** Too many omitted items");
        note2 = QStringLiteral("   to score this scale");
    } else if (inaccurate) {
        note1 = QStringLiteral("* These test results");
        note2 = QStringLiteral("  are inaccurate");
    } else if (raised) {
        note2 = QStringLiteral("* Minimum Scale Score");
    }
    page.uncounted(ReportLine()
                       .blanks(7)
                       .text(note1)
                       .at(38)
                       .text(QStringLiteral("0"))
                       .blanks(15)
                       .text(QStringLiteral("40"))
                       .blanks(10)
                       .text(QStringLiteral("70"))
                       .blanks(6)
                       .text(QStringLiteral("90 100")));
    page.uncounted(ReportLine().blanks(7).text(note2).at(38).text(
        QStringLiteral("----------- PERCENTILE SCORES -----------")));
    page.uncounted();
    page.LineCount += 15;
}

void PriorHistoryTable(const ReportContext& ctx, ReportPage& page, int mode) {
    const auto& court = ctx.r.CourtValues;
    if (mode == 1) {
        page.uncounted(
            ReportLine().at(21).text(QStringLiteral("PRIOR HISTORY: DEFENDANT/STAFF(*) PROVIDED")));
        page.uncounted(
            ReportLine().at(21).text(QStringLiteral("----- -------- ------------------ --------")));
    } else {
        page.uncounted(ReportLine().at(27).text(QStringLiteral("DEFENDANT PROVIDED INFORMATION")));
        page.uncounted(ReportLine().at(27).text(QStringLiteral("--------- -------- -----------")));
    }
    QString bac;
    if (mode == 1) {
        if (ctx.r.BacCode == ScoreResults::NotAvailableBac) {
            bac = QStringLiteral("N/A");
        } else if (ctx.r.BacCode == ScoreResults::RefusedBac) {
            bac = QStringLiteral("Refused");
        } else if (records::NumericValue(ctx.client.StaffValues[2]) > 0) {
            bac = display(ctx.client.StaffValues[2]);
        } else {
            bac = bacDisplay(court[ArrestBac]);
        }
        bac += ctx.r.StaffMark[0];
    } else {
        bac = bacDisplay(court[ArrestBac]);
    }
    page.uncounted(
        ReportLine()
            .blanks(7)
            .text(QStringLiteral("Date of this arrest: ") + dateDisplay(court[ArrestDate]))
            .at(50)
            .text(QStringLiteral("BAC this arrest: ") + bac));
    page.uncounted(ReportLine()
                       .blanks(7)
                       .text(QStringLiteral("Number of Prior"))
                       .at(61)
                       .text(QStringLiteral("Last 10 Years")));
    static const std::array<const char*, 8> labels = {
        "DUI convictions.....................................",
        "Court ordered supervisions for DUI..................",
        "Reckless driving convictions reduced from DUI.......",
        "Statutory summary suspensions (not DUI).............",
        "Moving violations...................................",
        "At fault accidents..................................",
        "Alcohol-related arrests.............................",
        "Drug-related arrests................................"};
    for (int i = 1; i <= 8; ++i) {
        QString value = display(court[i]);
        if (mode == 1 && i == PriorDui) {
            const int duis = ctx.r.PriorCounts[1];
            value = duis == -1 ? QStringLiteral("N/A") : display(QString::number(duis).right(2));
            value += ctx.r.StaffMark[1];
        }
        page.uncounted(
            ReportLine().blanks(12).text(QString::fromLatin1(labels[i - 1])).at(66).text(value));
    }
    page.uncounted();
    page.LineCount += 12;
}

void ObservationsAndSignature(const ReportContext& ctx, ReportPage& page) {
    page.after(7, QStringLiteral(
                      "OBSERVATIONS AND RECOMMENDATIONS:_____________________________________"));
    const int fillTo = page.PageNumber >= 3 ? 46 : 44;
    while (page.LineCount < fillTo) {
        page.counted();
        page.after(7, QString(70, QLatin1Char('_')));
    }
    page.counted();
    page.after(7, QStringLiteral("______________________________    ____________"));
    page.counted(ReportLine()
                     .blanks(7)
                     .text(QStringLiteral("    STAFF MEMBER SIGNATURE            DATE"))
                     .at(60)
                     .text(QStringLiteral("(TOV-II TEST #"))
                     .number(ctx.recordNumber)
                     .text(QStringLiteral(")")));
    if (page.LineCount <= 56) {
        page.counted();
    }
}

void ResponsesListing(const ReportContext& ctx, ReportPage& page) {
    page.counted(ReportLine().at(34).text(QStringLiteral("TOV-II RESPONSES")));
    page.counted(ReportLine().at(34).text(QStringLiteral("----------------")));
    auto answers = [&ctx](int first, int last) {
        QString out;
        for (int item = first; item <= last; ++item) {
            const int code = ctx.r.AnswerCodes[item];
            if (item > Sections::End1) {
                out += QString::number(code % 10);
            } else {
                out += code == 1   ? QLatin1Char('T')
                       : code == 2 ? QLatin1Char('F')
                                   : QLatin1Char('0');
            }
            if (item % 10 == 0) {
                out += QStringLiteral("  ");
            }
        }
        return out;
    };
    page.after(7, QStringLiteral("  1- 50  ") + answers(1, 50));
    page.after(7, QStringLiteral(" 51- 73  ") + answers(51, 73));
    if (page.LineCount < 56) {
        page.counted();
    }
}

void MultipleChoiceAnswers(const ReportContext& ctx, ReportPage& page) {
    page.after(7, QStringLiteral("SECTION 3: Answers to multiple choice items are printed below:"));
    page.after(7, QStringLiteral("--------------------------------------------------------------"));
    auto answer = [&ctx](int item) {
        const int code = ctx.r.AnswerCodes[item];
        if (!records::InRange(code, 1, 4)) {
            return QString::number(item) + QStringLiteral(". No response given");
        }
        return ctx.tables.texts.choiceTexts[4 * (item - 68) + code];
    };
    for (int item = 68; item <= 70; ++item) {
        page.counted(ReportLine().blanks(7).text(answer(item)).at(44).text(answer(item + 3)));
    }
    if (records::InRange(page.LineCount, 3, 57)) {
        page.counted();
    }
}

} // namespace tov::reports
