#include "app/runerror.h"

namespace corpo {

RunError MakeError(int number) {
    switch (number) {
    case err::InvalidCall: return {number, QStringLiteral("Invalid procedure call or argument")};
    case err::Overflow: return {number, QStringLiteral("Overflow")};
    case err::SubscriptOutOfRange: return {number, QStringLiteral("Subscript out of range")};
    case err::BadFileName: return {number, QStringLiteral("Bad file name or number")};
    case err::FileNotFound: return {number, QStringLiteral("File not found")};
    case err::DeviceIO: return {number, QStringLiteral("Device I/O error")};
    case err::DiskFull: return {number, QStringLiteral("Disk full")};
    case err::InputPastEnd: return {number, QStringLiteral("Input past end of file")};
    case err::PermissionDenied: return {number, QStringLiteral("Permission denied")};
    case err::PathFileAccess: return {number, QStringLiteral("Path/File access error")};
    case err::PathNotFound: return {number, QStringLiteral("Path not found")};
    case err::PrinterError: return {number, QStringLiteral("Printer error")};
    default: return {number, QStringLiteral("Application-defined or object-defined error")};
    }
}

} // namespace corpo
