#pragma once

#include "records/ClientRecord.h"

#include <QString>

#include <array>

namespace tov::platform {
class FileSystem;
}

namespace tov::records {

// The client table: every record of the client file in memory, slot n holding record n. Slot 0
// stands for "no client" and is never loaded or written.
class ClientTable {
public:
    static constexpr int Capacity = 51;
    static inline const QString FileName = QStringLiteral("DATA401.TOV");

    explicit ClientTable(platform::FileSystem& fs) : fs_(fs) {}

    // The client file of a data folder.
    static QString filePathFor(const QString& dataPath);
    // Records in a file of this length: length / 190, an exact half rounding to even.
    static int recordCountForLength(qint64 length);

    // Reads the whole client file of the data folder (created empty when absent). A file of more
    // records than the table holds is refused with error TooManyClients and the table is left
    // as it was.
    void LoadClientFile(const QString& dataPath);
    // Writes one slot as its record and makes it durable. Slot ClientCount + 1 appends a record
    // and the count grows with it. The file is first compared with what this table last read or
    // wrote: a record another program changed, or a record it appended, is not written over
    // (error RecordChanged) and the file is left as it is.
    void PutClientRecord(int slot);
    // Every field of the current slot spaces, in memory only.
    void ClearClientRecord();

    ClientRecord& Clients(int slot);
    const ClientRecord& Clients(int slot) const;
    ClientRecord& current() { return Clients(currentClient_); }

    int ClientCount() const { return clientCount_; }
    int CurrentClient() const { return currentClient_; }
    void setCurrentClient(int slot);
    const QString& filePath() const { return filePath_; }

private:
    static void checkSlot(int slot);
    // Record n (from 1) of a client file's content; shorter for a short last record.
    static QByteArray recordBytes(const QByteArray& file, int n);

    platform::FileSystem& fs_;
    std::array<ClientRecord, Capacity + 1> clients_{};
    // Each record's bytes as the file last held them, by this table's reading or writing.
    std::array<QByteArray, Capacity + 1> stored_{};
    int clientCount_ = 0;
    int currentClient_ = 0;
    QString filePath_;
};

} // namespace tov::records
