// The saved-system file (.vrl): 254 little-endian bytes, header first.
#pragma once

#include "gioco/sistema.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <variant>

namespace corpo {

inline constexpr int SystemRecordBytes = 232;
inline constexpr int SystemFileBytes = 254;
// What Open reads at most: anything longer is no saved system.
inline constexpr int SystemFileMaxBytes = 255;
inline const QByteArray SystemFileMagic = QByteArrayLiteral("VorlaccoQRV001");

// The widths of the record's two texts, in memory and on disk alike.
inline constexpr int WheelChars = 10;
inline constexpr int NameChars = 20;

// Left-aligned, space-padded and cut to width, as fixed-width texts are kept.
QString FixedString(const QString& value, int width);

QByteArray EncodeRecord(const SystemRecord& record);
// Decodes exactly SystemRecordBytes bytes.
SystemRecord DecodeRecord(const QByteArray& bytes);

// The whole current-format file: magic, record, the two colours.
QByteArray EncodeSystemFile(const SystemRecord& record, int32_t coloreVorlacco,
                            int32_t coloreCapogioco);

struct LoadedSystem {
    SystemRecord record;
    bool hasColours = false; // header version 1 or more
    int32_t coloreVorlacco = ColoreVorlaccoPredefinito;
    int32_t coloreCapogioco = ColoreCapogiocoPredefinito;
};
enum class SystemFileProblem {
    UnknownHeader, // not one of the three known headers
    Truncated,     // shorter than its header promises
    Impossible,    // a number or head number above 90, a stake not from 0 to 200 in cents
};
// Recognises the current header and both older ones.
std::variant<LoadedSystem, SystemFileProblem> DecodeSystemFile(const QByteArray& bytes);

} // namespace corpo
