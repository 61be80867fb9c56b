// A run-time failure as the user is told about it, and every failure number
// the program reports. Apart from the message boxes, so that the file and
// printing code can raise a failure without pulling in any window.
#pragma once

#include <QString>

namespace corpo {

struct RunError {
    int number = 0;
    QString description; // in Italian, as the user reads it
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

// What exactly went wrong, when a number alone would send the user looking in
// the wrong place. Each cause belongs to one number.
enum class Cause {
    Standard,       // the number's own words
    FolderDenied,   // 70: a folder on the way may not be entered
    FolderReadOnly, // 70: the folder takes no new files
    NameTooLong,    // 52: longer than the file system allows
    LinkLoop,       // 75: symbolic links that point at each other
    IsFolder,       // 75: a folder where a file was expected
    NotRegularFile, // 75: a pipe, a device or a socket
    TooLarge,       // 75: more bytes than such a file ever holds
};

// The failure with its Italian description: a number's own words, or a
// finer cause with the number it belongs to.
RunError MakeError(int number);
RunError MakeError(Cause cause);

} // namespace corpo
