// A run-time failure as the user is told about it, and every failure number
// the program reports. Apart from the message boxes, so that the file and
// printing code can raise a failure without pulling in any window.
#pragma once

#include <QString>

namespace corpo {

struct RunError {
    int number = 0;
    QString description;
};

namespace err {
inline constexpr int InvalidCall = 5;
inline constexpr int Overflow = 6;
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int BadFileName = 52;
inline constexpr int FileNotFound = 53;
inline constexpr int DeviceIO = 57;
inline constexpr int DiskFull = 61;
inline constexpr int InputPastEnd = 62;
inline constexpr int PermissionDenied = 70;
inline constexpr int PathFileAccess = 75;
inline constexpr int PathNotFound = 76;
inline constexpr int PrinterError = 482;
} // namespace err

// The failure with its standard description.
RunError MakeError(int number);

} // namespace corpo
