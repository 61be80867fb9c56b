#include "winnings/prospetto.h"

#include "app/corpo.h"
#include "app/fileio.h"

#include <algorithm>
#include <cmath>

namespace corpo {

namespace {

// The Lotto payout of each kind shared out over the combinations of that kind
// that a bet of n numbers forms. Decimal constants as the payout tables print
// them: 41.666 is not 250/6, 83.333 is not 250/3.
constexpr double CinqAmbo = 25, CinqTerno = 450, CinqQuaterna = 24000, CinqCinquina = 6000000;
constexpr double QuatAmbo = 41.666, QuatTerno = 1125, QuatQuaterna = 120000;
constexpr double TernAmbo = 83.333, TernTerno = 4500;
constexpr double AmboAmbo = 250;
constexpr double EstrEstratto = 11.232;

// The smallest magnitude that rounds to an infinite float: FLT_MAX plus half
// of its last place. Exact in double.
constexpr double FloatOverflow = 0x1.ffffffp127;

// Rounds a double to float, or fails when the float would not be finite.
// Checked before the conversion, which is undefined out of range.
bool ToFloat(double d, float& out) {
    if (!(std::fabs(d) < FloatOverflow)) // also catches NaN
        return false;
    out = static_cast<float>(d);
    return true;
}

// One unit winning: the float stake times its factor, rounded to float.
bool Unit(float stake, double factor, float& out) {
    return ToFloat(static_cast<double>(stake) * factor, out);
}

} // namespace

bool ProspettoCinquina(const std::array<float, 4>& imp, std::array<float, 4>& vin) {
    float uA, uT, uQ, uC;
    if (!Unit(imp[0], CinqAmbo, uA) || !Unit(imp[1], CinqTerno, uT) ||
        !Unit(imp[2], CinqQuaterna, uQ) || !Unit(imp[3], CinqCinquina, uC))
        return false;
    std::array<float, 4> out{uA, uT, uQ, uC};
    // A hit of k numbers also makes every smaller kind it contains, but only
    // when the kind of the member itself is played.
    if (imp[1] != 0 && !ToFloat(double(uA) * 3 + double(uT), out[1]))
        return false;
    if (imp[2] != 0 && !ToFloat(double(uT) * 4 + double(uQ) + double(uA) * 6, out[2]))
        return false;
    if (imp[3] != 0 &&
        !ToFloat(double(uQ) * 5 + double(uC) + double(uT) * 10 + double(uA) * 10, out[3]))
        return false;
    vin = out;
    return true;
}

bool ProspettoQuaterna(const std::array<float, 3>& imp, std::array<float, 3>& vin) {
    float uA, uT, uQ;
    if (!Unit(imp[0], QuatAmbo, uA) || !Unit(imp[1], QuatTerno, uT) ||
        !Unit(imp[2], QuatQuaterna, uQ))
        return false;
    std::array<float, 3> out{uA, uT, uQ};
    if (imp[1] != 0 && !ToFloat(double(uA) * 3 + double(uT), out[1]))
        return false;
    if (imp[2] != 0 && !ToFloat(double(uT) * 4 + double(uQ) + double(uA) * 6, out[2]))
        return false;
    vin = out;
    return true;
}

bool ProspettoTerno(const std::array<float, 2>& imp, std::array<float, 2>& vin) {
    float uA, uT;
    if (!Unit(imp[0], TernAmbo, uA) || !Unit(imp[1], TernTerno, uT))
        return false;
    std::array<float, 2> out{uA, uT};
    if (imp[1] != 0 && !ToFloat(double(uA) * 3 + double(uT), out[1]))
        return false;
    vin = out;
    return true;
}

bool ProspettoAmbo(const float& imp, float& vin) {
    return Unit(imp, AmboAmbo, vin);
}

bool ProspettoEstratto(const float& imp, float& vin) {
    return Unit(imp, EstrEstratto, vin);
}

namespace {

template <std::size_t N>
std::array<float, N> Slice(const Importi21& a, int at) {
    std::array<float, N> s;
    std::copy_n(a.begin() + at, N, s.begin());
    return s;
}

template <std::size_t N>
void Put(Importi21& a, int at, const std::array<float, N>& s) {
    std::copy_n(s.begin(), N, a.begin() + at);
}

} // namespace

std::optional<Importi21> CalcolaVincite(const Importi21& stakes) {
    Importi21 w{};
    std::array<float, 4> c;
    std::array<float, 3> q;
    std::array<float, 2> t;
    for (int at : {pos::Cinq1, pos::Cinq2}) {
        if (!ProspettoCinquina(Slice<4>(stakes, at), c))
            return std::nullopt;
        Put(w, at, c);
    }
    for (int at : {pos::Quad1, pos::Quad2}) {
        if (!ProspettoQuaterna(Slice<3>(stakes, at), q))
            return std::nullopt;
        Put(w, at, q);
    }
    for (int at : {pos::Terz1, pos::Terz2}) {
        if (!ProspettoTerno(Slice<2>(stakes, at), t))
            return std::nullopt;
        Put(w, at, t);
    }
    if (!ProspettoAmbo(stakes[pos::Ambo1], w[pos::Ambo1]) ||
        !ProspettoAmbo(stakes[pos::Ambo2], w[pos::Ambo2]) ||
        !ProspettoEstratto(stakes[pos::Estratto], w[pos::Estratto]))
        return std::nullopt;
    return w;
}

Importi21 StakesOf(const SystemRecord& r) {
    Importi21 s{};
    Put(s, pos::Cinq1, r.ImpCinq1);
    Put(s, pos::Cinq2, r.ImpCinq2);
    Put(s, pos::Quad1, r.ImpQuad1);
    Put(s, pos::Quad2, r.ImpQuad2);
    Put(s, pos::Terz1, r.ImpTerz1);
    Put(s, pos::Terz2, r.ImpTerz2);
    s[pos::Ambo1] = r.ImpAmbo1;
    s[pos::Ambo2] = r.ImpAmbo2;
    s[pos::Estratto] = r.ImpEstratto;
    return s;
}

Importi21 WinningsOf(const SystemRecord& r) {
    Importi21 w{};
    Put(w, pos::Cinq1, r.VinCinq1);
    Put(w, pos::Cinq2, r.VinCinq2);
    Put(w, pos::Quad1, r.VinQuat1);
    Put(w, pos::Quad2, r.VinQuat2);
    Put(w, pos::Terz1, r.VinTerz1);
    Put(w, pos::Terz2, r.VinTerz2);
    w[pos::Ambo1] = r.VinAmbo1;
    w[pos::Ambo2] = r.VinAmbo2;
    w[pos::Estratto] = r.VinEstratto;
    return w;
}

void SetWinnings(SystemRecord& r, const Importi21& w) {
    r.VinCinq1 = Slice<4>(w, pos::Cinq1);
    r.VinCinq2 = Slice<4>(w, pos::Cinq2);
    r.VinQuat1 = Slice<3>(w, pos::Quad1);
    r.VinQuat2 = Slice<3>(w, pos::Quad2);
    r.VinTerz1 = Slice<2>(w, pos::Terz1);
    r.VinTerz2 = Slice<2>(w, pos::Terz2);
    r.VinAmbo1 = w[pos::Ambo1];
    r.VinAmbo2 = w[pos::Ambo2];
    r.VinEstratto = w[pos::Estratto];
}

QString FormatoVincita(float amount, const QLocale& locale) {
    return QStringLiteral("\u20AC ") + FormatoCifra(amount, locale);
}

QString FormatoCifra(float amount, const QLocale& locale) {
    // The locale gives the digits, the decimal mark and the sign; the
    // thousands are grouped here, since some locales leave four-digit amounts
    // bare (Spanish, Polish) and the C locale never groups.
    QLocale plain = locale;
    plain.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    QString text = plain.toString(static_cast<double>(amount), 'f', 2);
    const QString mark = locale.groupSeparator().isEmpty() ? QStringLiteral(",") : locale.groupSeparator();
    int end = text.indexOf(locale.decimalPoint());
    if (end < 0)
        end = int(text.size());
    const int first = text.startsWith(locale.negativeSign()) ? int(locale.negativeSign().size()) : 0;
    for (int at = end - 3; at > first; at -= 3)
        text.insert(at, mark);
    return text;
}

QString FormatoNumero(uint8_t number) {
    return number == 0 ? QString() : QString::number(number);
}

QString NomeSorte(int gruppo, int k) {
    static const char* const sorti[] = {"ambo", "terno", "quaterna", "cinquina"};
    return QString::fromLatin1(gruppo == 8 ? "estratto" : sorti[std::clamp(k, 0, 3)]);
}

bool CalcolaProspetto(RunError* error) {
    const std::optional<Importi21> w = CalcolaVincite(StakesOf(Sistema));
    if (!w) {
        if (error)
            *error = MakeError(err::Overflow);
        return false;
    }
    SetWinnings(Sistema, *w);
    return true;
}

} // namespace corpo
