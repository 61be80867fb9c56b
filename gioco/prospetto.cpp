#include "gioco/prospetto.h"

#include "gioco/sistema.h"

#include <algorithm>
#include <cmath>

namespace corpo {

namespace {

// The Lotto payout of each kind shared out over the combinations of that kind
// that a bet of n numbers forms. Decimal constants as the payout tables print
// them: 41.666 is not 250/6, 83.333 is not 250/3.
constexpr std::array<double, 4> Cinq{25, 450, 24000, 6000000};
constexpr std::array<double, 3> Quat{41.666, 1125, 120000};
constexpr std::array<double, 2> Tern{83.333, 4500};
constexpr std::array<double, 1> Amb{250};
constexpr std::array<double, 1> Estr{11.232};

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

} // namespace

std::span<const double> FattoriUnita(int size) {
    switch (size) {
    case 5: return Cinq;
    case 4: return Quat;
    case 3: return Tern;
    case 2: return Amb;
    default: return Estr;
    }
}

bool UnitaVincita(float stake, double factor, float& out) {
    return ToFloat(static_cast<double>(stake) * factor, out);
}

bool ProspettoCinquina(const std::array<float, 4>& imp, std::array<float, 4>& vin) {
    float uA, uT, uQ, uC;
    if (!UnitaVincita(imp[0], Cinq[0], uA) || !UnitaVincita(imp[1], Cinq[1], uT) ||
        !UnitaVincita(imp[2], Cinq[2], uQ) || !UnitaVincita(imp[3], Cinq[3], uC))
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
    if (!UnitaVincita(imp[0], Quat[0], uA) || !UnitaVincita(imp[1], Quat[1], uT) ||
        !UnitaVincita(imp[2], Quat[2], uQ))
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
    if (!UnitaVincita(imp[0], Tern[0], uA) || !UnitaVincita(imp[1], Tern[1], uT))
        return false;
    std::array<float, 2> out{uA, uT};
    if (imp[1] != 0 && !ToFloat(double(uA) * 3 + double(uT), out[1]))
        return false;
    vin = out;
    return true;
}

bool ProspettoAmbo(const float& imp, float& vin) { return UnitaVincita(imp, Amb[0], vin); }

bool ProspettoEstratto(const float& imp, float& vin) { return UnitaVincita(imp, Estr[0], vin); }

namespace {

// One bet of n stakes through its winnings routine, from and to Importi21.
template <std::size_t N>
bool Bet(bool (*prospetto)(const std::array<float, N>&, std::array<float, N>&),
         const Importi21& stakes, Importi21& winnings, int at) {
    std::array<float, N> imp, vin;
    std::copy_n(stakes.begin() + at, N, imp.begin());
    if (!prospetto(imp, vin))
        return false;
    std::copy_n(vin.begin(), N, winnings.begin() + at);
    return true;
}

} // namespace

std::optional<Importi21> CalcolaVincite(const Importi21& stakes) {
    Importi21 w{};
    for (const Scommessa& b : Scommesse) {
        const int at = FirstStake(b.group);
        const size_t one = size_t(at);
        bool ok = false;
        switch (b.size) {
        case 5: ok = Bet<4>(ProspettoCinquina, stakes, w, at); break;
        case 4: ok = Bet<3>(ProspettoQuaterna, stakes, w, at); break;
        case 3: ok = Bet<2>(ProspettoTerno, stakes, w, at); break;
        case 2: ok = ProspettoAmbo(stakes[one], w[one]); break;
        default: ok = ProspettoEstratto(stakes[one], w[one]); break;
        }
        if (!ok)
            return std::nullopt;
    }
    return w;
}

Importi21 StakesOf(const SystemRecord& r) {
    Importi21 s{};
    for (const Scommessa& b : Scommesse)
        std::ranges::copy(b.Stakes(r), s.begin() + FirstStake(b.group));
    return s;
}

void SetWinnings(SystemRecord& r, const Importi21& w) {
    for (const Scommessa& b : Scommesse)
        std::copy_n(w.begin() + FirstStake(b.group), b.stakeCount, b.Winnings(r).begin());
}

QString FormatoVincita(double amount, const QLocale& locale) {
    return QStringLiteral("\u20AC ") + FormatoCifra(amount, locale);
}

QString FormatoEuro(double amount, const QLocale& locale) {
    return FormatoCifra(amount, locale) + QStringLiteral(" \u20AC");
}

QString FormatoCifra(double amount, const QLocale& locale) {
    // The locale gives the digits, the decimal mark and the sign; the
    // thousands are grouped here, since some locales leave four-digit amounts
    // bare (Spanish, Polish) and the C locale never groups.
    QLocale plain = locale;
    plain.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    QString text = plain.toString(amount, 'f', 2);
    const QString mark =
        locale.groupSeparator().isEmpty() ? QStringLiteral(",") : locale.groupSeparator();
    int end = text.indexOf(locale.decimalPoint());
    if (end < 0)
        end = int(text.size());
    const int first =
        text.startsWith(locale.negativeSign()) ? int(locale.negativeSign().size()) : 0;
    for (int at = end - 3; at > first; at -= 3)
        text.insert(at, mark);
    return text;
}

QString FormatoNumero(uint8_t number) { return number == 0 ? QString() : QString::number(number); }

bool CalcolaProspetto(SystemRecord& record) {
    const std::optional<Importi21> w = CalcolaVincite(StakesOf(record));
    if (!w)
        return false;
    SetWinnings(record, *w);
    return true;
}

} // namespace corpo
