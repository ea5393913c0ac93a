#include "records/ClientRecord.h"

#include "records/Cp1252.h"

#include <algorithm>

namespace tov::records {

ClientRecord ClientRecord::fromBytes(QByteArrayView bytes) {
    ClientRecord r;
    std::copy_n(bytes.data(), std::min<qsizetype>(bytes.size(), kRecordSize), r.data_.begin());
    return r;
}

QString ClientRecord::get(Field f) const {
    const FieldLayout& l = layoutOf(f);
    return fromCp1252(QByteArrayView(data_.data() + l.offset, l.width));
}

void ClientRecord::set(Field f, QStringView value) {
    const FieldLayout& l = layoutOf(f);
    const QByteArray encoded = toCp1252(value);
    const auto n = std::min<qsizetype>(encoded.size(), l.width);
    auto* start = data_.data() + l.offset;
    std::copy_n(encoded.constData(), n, start);
    std::fill(start + n, start + l.width, ' ');
}

} // namespace tov::records
