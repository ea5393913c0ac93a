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
    std::array<QByteArray, Capacity + 1> stored{};
    for (int n = 1; n <= count; ++n) {
        stored[n] = recordBytes(content, n);
        loaded[n] = ClientRecord::fromBytes(stored[n]);
    }
    clients_ = loaded;
    stored_ = stored;
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
    // Only this program writes while it holds the volume; should another have written all the
    // same (a volume shared without a lock), its work is not undone.
    const QByteArray onDisk = fs_.exists(filePath_) ? fs_.readOrCreate(filePath_) : QByteArray();
    if (recordCountForLength(onDisk.size()) != clientCount_ ||
        (slot <= clientCount_ && recordBytes(onDisk, slot) != stored_[slot])) {
        throw AppError(err::RecordChanged,
                       QStringLiteral("The client file on the data disk was changed by another "
                                      "program since it was read, so nothing has been saved. "
                                      "Exit the program and start it again to see the changes."));
    }
    const QByteArray bytes = clients_[slot].bytes();
    fs_.writeAt(filePath_, qint64(slot - 1) * kRecordSize, bytes);
    stored_[slot] = bytes;
    if (slot > clientCount_) {
        clientCount_ = slot;
    }
}

QByteArray ClientTable::recordBytes(const QByteArray& file, int n) {
    const qsizetype from = qsizetype(n - 1) * kRecordSize;
    return from >= file.size() ? QByteArray() : file.mid(from, kRecordSize);
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
