#pragma once

#include "records/ClientRecord.h"

#include <QString>

#include <array>

namespace tov::scoring {

// Indexes of the court values, in the order of the court history screen.
enum Court {
    PriorDui = 1,
    CoSupervision,
    RecklessCount,
    SummarySuspensions,
    MovingViolations,
    AtFaultAccidents,
    AlcoholArrestCount,
    DrugArrestCount,
    ArrestDate,
    ArrestBac,
};

// The working copy of the client's record that scoring and the report read: every field trimmed
// of its padding, and a court value stored as "-1" shown as not available ("N").
struct ReportRecord {
    QString Name;
    QString Age;
    QString DOB;
    QString Gender;
    QString Race;
    QString Marital;
    QString Education;
    QString SSN;
    QString DLNumber;
    QString TestDate;
    std::array<QString, 11> CourtValues; // 1..10
    std::array<QString, 3> StaffValues;  // 1 prior DUI's, 2 BAC
    QString Responses;

    static ReportRecord from(const records::ClientRecord& record);
};

// The answer code of each item 1..73: the digit in the answers, 0 for anything else.
std::array<int, 74> AnswerCodesOf(const QString& responses);

} // namespace tov::scoring
