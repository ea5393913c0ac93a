#pragma once

#include <QString>

#include <stdexcept>

namespace tov {

// Error numbers the program classifies. File and drive failures keep the numbers the
// operator-facing retry questions are keyed on, whatever the host system reports.
namespace err {
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int BadFileName = 52;
inline constexpr int FileNotFound = 53;
inline constexpr int DeviceIo = 57;
inline constexpr int DiskFull = 61;
inline constexpr int PermissionDenied = 70;
inline constexpr int DriveNotReady = 71;
inline constexpr int PathFileAccess = 75;
inline constexpr int PathNotFound = 76;
inline constexpr int DbFileNotFound = 3024;
inline constexpr int DbWorkgroupMissing = 3028;
inline constexpr int DbInvalidPath = 3044;
inline constexpr int DbCannotOpen = 3051;
inline constexpr int DbNoSuchTable = 3078;
inline constexpr int DbNoCurrentRecord = 3021;
inline constexpr int DbQueryFailed = 3061;
inline constexpr int DbUpdateFailed = 3020;
// The client file holds more records than the client table can keep.
inline constexpr int TooManyClients = 20051;
// Another program has the data volume open.
inline constexpr int VolumeInUse = 20052;
// The client file changed on the volume since it was read: not written over.
inline constexpr int RecordChanged = 20053;
} // namespace err

// A failure of an operation, carrying the number callers classify it by and a text for the
// operator. Thrown by file, drive and database operations and caught where the operator is asked.
class AppError : public std::runtime_error {
public:
    AppError(int number, const QString& description)
        : std::runtime_error(description.toStdString()), number_(number),
          description_(description) {}

    int number() const { return number_; }
    const QString& description() const { return description_; }

private:
    int number_;
    QString description_;
};

} // namespace tov
