#include "gioco/systemfile.h"

#include "gioco/codepage.h"
#include "gioco/importi.h"
#include "gioco/numbers.h"

#include <QtEndian>
#include <bit>
#include <cmath>
#include <span>

namespace corpo {

QString FixedString(const QString& value, int width) {
    return value.left(width).leftJustified(width, QLatin1Char(' '));
}

namespace {

struct Writer {
    QByteArray out;
    void bytes(const QByteArray& b) { out.append(b); }
    void text(const QString& s, int width) { out.append(ToCodePage(FixedString(s, width))); }
    template <size_t N> void u8(const std::array<uint8_t, N>& a) {
        for (uint8_t v : a)
            out.append(char(v));
    }
    void u8(uint8_t v) { out.append(char(v)); }
    void f32(float v) { i32(std::bit_cast<int32_t>(v)); }
    template <size_t N> void f32(const std::array<float, N>& a) {
        for (float v : a)
            f32(v);
    }
    void i32(int32_t v) {
        char b[4];
        qToLittleEndian(v, b);
        out.append(b, 4);
    }
};

struct Reader {
    const QByteArray& in;
    qsizetype pos = 0;
    QString text(int width) {
        QString s = FromCodePage(in.mid(pos, width));
        pos += width;
        return s;
    }
    template <size_t N> void u8(std::array<uint8_t, N>& a) {
        for (uint8_t& v : a)
            v = uint8_t(in[pos++]);
    }
    void u8(uint8_t& v) { v = uint8_t(in[pos++]); }
    int32_t i32() {
        const int32_t v = qFromLittleEndian<int32_t>(in.constData() + pos);
        pos += 4;
        return v;
    }
    void f32(float& v) { v = std::bit_cast<float>(i32()); }
    template <size_t N> void f32(std::array<float, N>& a) {
        for (float& v : a)
            f32(v);
    }
};

// The header's version: the value of its last three characters, 0 if not digits.
int headerVersion(const QByteArray& header) {
    const QByteArray tail = header.right(3);
    int v = 0;
    for (char c : tail) {
        if (c < '0' || c > '9')
            return 0;
        v = v * 10 + (c - '0');
    }
    return v;
}

// Numbers 0..90 (0 = empty) and finite stakes 0..200 in whole cents: what the
// game allows.
bool Possible(const SystemRecord& r) {
    if (r.Capogioco > NumeroMassimo)
        return false;
    for (const Scommessa& bet : Scommesse) {
        for (uint8_t n : bet.Numeri(r))
            if (n > NumeroMassimo)
                return false;
        for (float v : bet.Importi(r))
            if (!(v >= 0 && v <= MaxStake) || !CentesimiInteri(v)) // NaN fails both
                return false;
    }
    return true;
}

} // namespace

QByteArray EncodeRecord(const SystemRecord& r) {
    Writer w;
    w.text(r.Ruota, WheelChars);
    w.text(r.NomeSistema, NameChars);
    w.f32(r.ImportoSistema);
    w.u8(r.Cinq1), w.u8(r.Cinq2), w.u8(r.Quad1), w.u8(r.Quad2), w.u8(r.Terz1), w.u8(r.Terz2);
    w.u8(r.Ambo1), w.u8(r.Ambo2), w.u8(r.Estratto), w.u8(r.Capogioco);
    w.f32(r.ImpCinq1), w.f32(r.ImpCinq2), w.f32(r.ImpQuad1), w.f32(r.ImpQuad2);
    w.f32(r.ImpTerz1), w.f32(r.ImpTerz2), w.f32(r.ImpAmbo1), w.f32(r.ImpAmbo2);
    w.f32(r.ImpEstratto);
    w.f32(r.VinCinq1), w.f32(r.VinCinq2), w.f32(r.VinQuat1), w.f32(r.VinQuat2);
    w.f32(r.VinTerz1), w.f32(r.VinTerz2), w.f32(r.VinAmbo1), w.f32(r.VinAmbo2);
    w.f32(r.VinEstratto);
    Q_ASSERT(w.out.size() == SystemRecordBytes);
    return w.out;
}

SystemRecord DecodeRecord(const QByteArray& bytes) {
    Q_ASSERT(bytes.size() >= SystemRecordBytes);
    SystemRecord r;
    Reader rd{bytes};
    r.Ruota = rd.text(WheelChars);
    r.NomeSistema = rd.text(NameChars);
    rd.f32(r.ImportoSistema);
    rd.u8(r.Cinq1), rd.u8(r.Cinq2), rd.u8(r.Quad1), rd.u8(r.Quad2), rd.u8(r.Terz1);
    rd.u8(r.Terz2), rd.u8(r.Ambo1), rd.u8(r.Ambo2), rd.u8(r.Estratto), rd.u8(r.Capogioco);
    rd.f32(r.ImpCinq1), rd.f32(r.ImpCinq2), rd.f32(r.ImpQuad1), rd.f32(r.ImpQuad2);
    rd.f32(r.ImpTerz1), rd.f32(r.ImpTerz2), rd.f32(r.ImpAmbo1), rd.f32(r.ImpAmbo2);
    rd.f32(r.ImpEstratto);
    rd.f32(r.VinCinq1), rd.f32(r.VinCinq2), rd.f32(r.VinQuat1), rd.f32(r.VinQuat2);
    rd.f32(r.VinTerz1), rd.f32(r.VinTerz2), rd.f32(r.VinAmbo1), rd.f32(r.VinAmbo2);
    rd.f32(r.VinEstratto);
    return r;
}

QByteArray EncodeSystemFile(const SystemRecord& record, int32_t coloreVorlacco,
                            int32_t coloreCapogioco) {
    Writer w;
    w.bytes(SystemFileMagic);
    w.bytes(EncodeRecord(record));
    w.i32(coloreVorlacco);
    w.i32(coloreCapogioco);
    return w.out;
}

std::variant<LoadedSystem, SystemFileProblem> DecodeSystemFile(const QByteArray& bytes) {
    qsizetype start = 14;
    const QByteArray head14 = bytes.left(14);
    if (head14 != SystemFileMagic && head14 != QByteArrayLiteral("Bramasolovanti")) {
        if (bytes.left(17) != QByteArrayLiteral("Il Bramasolovanti"))
            return SystemFileProblem::UnknownHeader;
        start = 17;
    }
    const bool colours = headerVersion(head14) >= 1;
    const qsizetype need = start + SystemRecordBytes + (colours ? 8 : 0);
    if (bytes.size() < need)
        return SystemFileProblem::Truncated;
    LoadedSystem out;
    out.record = DecodeRecord(bytes.mid(start, SystemRecordBytes));
    if (!Possible(out.record))
        return SystemFileProblem::Impossible;
    out.hasColours = colours;
    if (colours) {
        const char* p = bytes.constData() + start + SystemRecordBytes;
        out.coloreVorlacco = qFromLittleEndian<int32_t>(p);
        out.coloreCapogioco = qFromLittleEndian<int32_t>(p + 4);
    }
    return out;
}

} // namespace corpo
