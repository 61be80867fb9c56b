#include "gioco/codepage.h"

namespace corpo {

namespace {
// Windows-1252 in 0x80..0x9F; 0 marks the five unassigned places.
constexpr char16_t cp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
} // namespace

QByteArray ToCodePage(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out.append(char(u));
            continue;
        }
        char b = '?';
        for (int i = 0; i < 32; ++i)
            if (cp1252High[i] && cp1252High[i] == u)
                b = char(0x80 + i);
        out.append(b);
    }
    return out;
}

QString FromCodePage(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b >= 0x80 && b < 0xA0)
            out.append(cp1252High[b - 0x80] ? QChar(cp1252High[b - 0x80]) : QChar(b));
        else
            out.append(QChar(b));
    }
    return out;
}

} // namespace corpo
