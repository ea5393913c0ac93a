#include "scoring/ReportRecord.h"

namespace tov::scoring {

using records::Field;

ReportRecord ReportRecord::from(const records::ClientRecord& record) {
    ReportRecord r;
    r.Name = record.trimmed(Field::Name);
    r.Age = record.trimmed(Field::Age);
    r.DOB = record.trimmed(Field::DOB);
    r.Gender = record.trimmed(Field::Gender);
    r.Race = record.trimmed(Field::Race);
    r.Marital = record.trimmed(Field::Marital);
    r.Education = record.trimmed(Field::Education);
    r.SSN = record.trimmed(Field::SSN);
    r.DLNumber = record.trimmed(Field::DLNumber);
    r.TestDate = record.trimmed(Field::TestDate);
    static constexpr std::array<Field, 10> court = {Field::PriorDUI,
                                                    Field::COSupervision,
                                                    Field::Reckless,
                                                    Field::SSSuspend,
                                                    Field::MViolations,
                                                    Field::Accidents,
                                                    Field::AlcoholArrests,
                                                    Field::DrugArrests,
                                                    Field::DateOfPresentArrest,
                                                    Field::BAC};
    for (std::size_t i = 0; i < court.size(); ++i) {
        QString value = record.trimmed(court[i]);
        if (value == QLatin1String("-1")) {
            value = QStringLiteral("N");
        }
        r.CourtValues[i + 1] = value;
    }
    r.StaffValues[1] = record.trimmed(Field::StPriorDUI);
    r.StaffValues[2] = record.trimmed(Field::StBAC);
    r.Responses = record.get(Field::Responses);
    return r;
}

std::array<int, 74> AnswerCodesOf(const QString& responses) {
    std::array<int, 74> codes{};
    for (int item = 1; item <= 73 && item <= responses.size(); ++item) {
        const QChar c = responses.at(item - 1);
        codes[item] = c >= QLatin1Char('0') && c <= QLatin1Char('9') ? c.digitValue() : 0;
    }
    return codes;
}

} // namespace tov::scoring
