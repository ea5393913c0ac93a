#pragma once

#include <QString>

namespace tov::platform {

// Numbers of the scanner vocabulary the acquisition code reports in.
namespace scanerr {
inline constexpr int GeneralFailure = 20000;
inline constexpr int NotEnoughMemory = 20001;
inline constexpr int ErrorReadingFile = 20007;
inline constexpr int InvalidFileFormat = 20009;
inline constexpr int FileNotFound = 20010;
inline constexpr int InvalidWidthHeight = 20011;
inline constexpr int SubTypeNotSupported = 20012;
inline constexpr int InvalidParameter = 20013;
inline constexpr int InvalidBitsPerPixel = 20027;
inline constexpr int CannotOpenFile = 20014;
inline constexpr int PrematureEof = 20073;
inline constexpr int NoSourceManager = 20079;
inline constexpr int CancelledOrUnknown = 20080;
inline constexpr int ScannerOutOfMemory = 20081;
inline constexpr int NoDataSource = 20082;
inline constexpr int SourceBusy = 20083;
inline constexpr int SourceReportedError = 20084;
inline constexpr int UnknownCapability = 20085;
inline constexpr int ValueOutOfRange = 20087;
inline constexpr int OperationCancelled = 20090;
} // namespace scanerr

// The operator's text for a scanner error number; empty for a number the vocabulary lacks.
QString ErrorText(int code);

} // namespace tov::platform
