#pragma once

#include "records/ItemCounts.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <array>

namespace tov::records {

// The fields of a client record, in file order.
enum class Field {
    Name,
    Age,
    DOB,
    Gender,
    Race,
    Marital,
    Education,
    SSN,
    DLNumber,
    TestDate,
    PriorDUI,
    COSupervision,
    Reckless,
    SSSuspend,
    MViolations,
    Accidents,
    AlcoholArrests,
    DrugArrests,
    DateOfPresentArrest,
    BAC,
    StPriorDUI,
    StBAC,
    Responses,
    EditCount,
    NameDeleted,
};

// The court history: the record's fields from PriorDUI to StBAC, in the order its screen shows
// them and the answer sheet holds them.
inline constexpr int kCourtFieldCount =
    static_cast<int>(Field::StBAC) - static_cast<int>(Field::PriorDUI) + 1;
constexpr Field courtField(int order) {
    return static_cast<Field>(static_cast<int>(Field::PriorDUI) + order);
}
constexpr int courtOrder(Field f) {
    return static_cast<int>(f) - static_cast<int>(Field::PriorDUI);
}

struct FieldLayout {
    Field field;
    const char* name;
    int offset;
    int width;
};

inline constexpr int kFieldCount = 25;
inline constexpr int kRecordSize = 190;

inline constexpr std::array<FieldLayout, kFieldCount> kLayout = {{
    {Field::Name, "Name", 0, 25},
    {Field::Age, "Age", 25, 3},
    {Field::DOB, "DOB", 28, 10},
    {Field::Gender, "Gender", 38, 1},
    {Field::Race, "Race", 39, 1},
    {Field::Marital, "Marital", 40, 1},
    {Field::Education, "Education", 41, 1},
    {Field::SSN, "SSN", 42, 11},
    {Field::DLNumber, "DLNumber", 53, 14},
    {Field::TestDate, "TestDate", 67, 10},
    {Field::PriorDUI, "PriorDUI", 77, 2},
    {Field::COSupervision, "COSupervision", 79, 2},
    {Field::Reckless, "Reckless", 81, 2},
    {Field::SSSuspend, "SSSuspend", 83, 2},
    {Field::MViolations, "MViolations", 85, 2},
    {Field::Accidents, "Accidents", 87, 2},
    {Field::AlcoholArrests, "AlcoholArrests", 89, 2},
    {Field::DrugArrests, "DrugArrests", 91, 2},
    {Field::DateOfPresentArrest, "DateOfPresentArrest", 93, 10},
    {Field::BAC, "BAC", 103, 5},
    {Field::StPriorDUI, "StPriorDUI", 108, 2},
    {Field::StBAC, "StBAC", 110, 5},
    {Field::Responses, "Responses", 115, 73},
    {Field::EditCount, "EditCount", 188, 1},
    {Field::NameDeleted, "NameDeleted", 189, 1},
}};

constexpr const FieldLayout& layoutOf(Field f) {
    return kLayout[static_cast<std::size_t>(f)];
}

// One client's 190-byte record. Held in memory exactly as on disk, so every field keeps its fixed
// width: assigning pads with spaces or cuts, and characters outside the code page become "?".
class ClientRecord {
public:
    ClientRecord() { data_.fill(' '); }

    // A record from file bytes; a short piece is padded with spaces.
    static ClientRecord fromBytes(QByteArrayView bytes);
    QByteArray bytes() const { return {data_.data(), kRecordSize}; }

    // The field at its full width, trailing spaces included.
    QString get(Field f) const;
    // The field without its padding, as screens show and compare it.
    QString trimmed(Field f) const { return get(f).trimmed(); }
    void set(Field f, QStringView value);

    // Every field spaces.
    void clear() { data_.fill(' '); }

    bool operator==(const ClientRecord&) const = default;

private:
    std::array<char, kRecordSize> data_{};
};

} // namespace tov::records
