#include "records/ClientTable.h"

#include "platform/AppError.h"
#include "platform/FileSystem.h"

namespace tov::records {

QString ClientTable::filePathFor(const QString& dataPath) {
    return dataPath + QLatin1Char('/') + FileName;
}

int ClientTable::recordCountForLength(qint64 length) {
    const qint64 whole = length / kRecordSize;
    const qint64 rest = (length % kRecordSize) * 2;
    if (rest > kRecordSize || (rest == kRecordSize && whole % 2 == 1)) {
        return static_cast<int>(whole + 1);
    }
    return static_cast<int>(whole);
}

void ClientTable::checkSlot(int slot) {
    if (slot < 0 || slot > Capacity) {
        throw AppError(err::SubscriptOutOfRange,
                       QStringLiteral("Client slot %1 is outside 0 to %2").arg(slot).arg(Capacity));
    }
}

void ClientTable::LoadClientFile(const QString& dataPath) {
    const QString path = filePathFor(dataPath);
    const QByteArray content = fs_.readOrCreate(path);
    const int count = recordCountForLength(content.size());
    if (count > Capacity) {
        throw AppError(err::TooManyClients,
                       QStringLiteral("%1 holds %2 client records, more than the %3 this program "
                                      "can keep. The file has not been changed.")
                           .arg(path)
                           .arg(count)
                           .arg(Capacity));
    }
    std::array<ClientRecord, Capacity + 1> loaded{};
    for (int n = 1; n <= count; ++n) {
        loaded[n] = ClientRecord::fromBytes(
            QByteArrayView(content)
                .sliced(qsizetype(n - 1) * kRecordSize)
                .first(std::min<qsizetype>(kRecordSize,
                                           content.size() - qsizetype(n - 1) * kRecordSize)));
    }
    clients_ = loaded;
    clientCount_ = count;
    currentClient_ = count > 0 ? 1 : 0;
    filePath_ = path;
}

void ClientTable::PutClientRecord(int slot) {
    checkSlot(slot);
    // A record may only be rewritten or appended directly after the last one: a gap would
    // leave a hole in the file.
    if (slot < 1 || slot > clientCount_ + 1 || filePath_.isEmpty()) {
        throw AppError(err::SubscriptOutOfRange,
                       QStringLiteral("Client slot %1 cannot be written to a file of %2 records")
                           .arg(slot)
                           .arg(clientCount_));
    }
    fs_.writeAt(filePath_, qint64(slot - 1) * kRecordSize, clients_[slot].bytes());
    if (slot > clientCount_) {
        clientCount_ = slot;
    }
}

void ClientTable::ClearClientRecord() {
    Clients(currentClient_).clear();
}

ClientRecord& ClientTable::Clients(int slot) {
    checkSlot(slot);
    return clients_[slot];
}

const ClientRecord& ClientTable::Clients(int slot) const {
    checkSlot(slot);
    return clients_[slot];
}

void ClientTable::setCurrentClient(int slot) {
    checkSlot(slot);
    currentClient_ = slot;
}

} // namespace tov::records
