#pragma once

// A client record for scoring tests, written as short descriptions: answers "1-9=1 71=2" (items or
// ranges = answer code) over a baseline of every True/False item False and every multiple-choice
// item 4, and fields "Age=20 BAC=.08" over a baseline of an adult with a clean record.

#include "records/ClientRecord.h"

#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace tov::testclient {

inline records::ClientRecord baseline() {
    using records::Field;
    records::ClientRecord r;
    r.set(Field::Name, u"Test, Client");
    r.set(Field::Age, u"30");
    r.set(Field::DOB, u"01/02/1996");
    r.set(Field::Gender, u"1");
    r.set(Field::Race, u"5");
    r.set(Field::Marital, u"2");
    r.set(Field::Education, u"3");
    r.set(Field::SSN, u"000-11-2222");
    r.set(Field::DLNumber, u"T123-4567-8901");
    r.set(Field::TestDate, u"12/01/2026");
    for (Field f :
         {Field::PriorDUI, Field::COSupervision, Field::Reckless, Field::SSSuspend,
          Field::MViolations, Field::Accidents, Field::AlcoholArrests, Field::DrugArrests}) {
        r.set(f, u"0");
    }
    r.set(Field::DateOfPresentArrest, u"11/15/2026");
    r.set(Field::BAC, u".05");
    r.set(Field::StPriorDUI, u"0");
    r.set(Field::StBAC, u"N");
    r.set(Field::Responses, QString(67, QLatin1Char('2')) + QString(6, QLatin1Char('4')));
    r.set(Field::EditCount, u"0");
    r.set(Field::NameDeleted, u"0");
    return r;
}

// Applies "first-last=code" / "item=code" pieces to the answers; "all=code" sets every item.
inline void applyAnswers(records::ClientRecord& r, const QString& pieces) {
    QString answers = r.get(records::Field::Responses);
    for (const QString& piece : pieces.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString range = piece.section(QLatin1Char('='), 0, 0);
        const QChar code = piece.section(QLatin1Char('='), 1, 1).at(0);
        int first = 1;
        int last = 73;
        if (range != QLatin1String("all")) {
            first = range.section(QLatin1Char('-'), 0, 0).toInt();
            last = range.contains(QLatin1Char('-')) ? range.section(QLatin1Char('-'), 1, 1).toInt()
                                                    : first;
        }
        for (int i = first; i <= last; ++i) {
            answers[i - 1] = code;
        }
    }
    r.set(records::Field::Responses, answers);
}

// Applies "Field=value" pieces; a value may not contain blanks ("_" stands for one).
inline void applyFields(records::ClientRecord& r, const QString& pieces) {
    for (const QString& piece : pieces.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString name = piece.section(QLatin1Char('='), 0, 0);
        QString value = piece.section(QLatin1Char('='), 1);
        value.replace(QLatin1Char('_'), QLatin1Char(' '));
        for (const auto& l : records::kLayout) {
            if (name == QLatin1String(l.name)) {
                r.set(l.field, value);
            }
        }
    }
}

inline records::ClientRecord client(const QString& answers, const QString& fields) {
    records::ClientRecord r = baseline();
    applyAnswers(r, answers);
    applyFields(r, fields);
    return r;
}

} // namespace tov::testclient
