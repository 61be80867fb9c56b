#include "gioco/prospetto.h"

#include "gioco/sistema.h"

#include <algorithm>
#include <cmath>

namespace corpo {

namespace {

// The smallest magnitude that rounds to an infinite float: FLT_MAX plus half
// of its last place. Exact in double.
constexpr double OltreFloat = 0x1.ffffffp127;

// Rounds a double to float, or fails when the float would not be finite.
// Checked before the conversion, which is undefined out of range.
bool InFloat(double d, float& out) {
    if (!(std::fabs(d) < OltreFloat)) // also catches NaN
        return false;
    out = static_cast<float>(d);
    return true;
}

} // namespace

bool UnitaVincita(float stake, double factor, float& out) {
    return InFloat(static_cast<double>(stake) * factor, out);
}

bool ProspettoScommessa(const Giocata& giocata, std::span<const float> imp, std::span<float> vin) {
    const size_t members = imp.size();
    std::array<float, 4> unit{}, out{};
    for (size_t k = 0; k < members; ++k)
        if (!UnitaVincita(imp[k], giocata.unita[k], unit[k]))
            return false;
    for (size_t m = 0; m < members; ++m) {
        out[m] = unit[m];
        // A hit of member m's kind also makes every smaller kind it holds,
        // but only when the member's own kind is played.
        if (m == 0 || imp[m] == 0)
            continue;
        double sum = unit[m];
        for (size_t j = 0; j < m; ++j)
            sum += double(Binomiale(giocata.NumeriTipo(int(m)), giocata.NumeriTipo(int(j)))) *
                   double(unit[j]);
        if (!InFloat(sum, out[m]))
            return false;
    }
    std::copy_n(out.begin(), members, vin.begin());
    return true;
}

std::optional<Importi21> CalcolaVincite(const Importi21& stakes) {
    Importi21 w{};
    for (const Scommessa& b : Scommesse) {
        const size_t at = size_t(PrimoImporto(b.group)), n = size_t(b.stakeCount);
        if (!ProspettoScommessa(*b.giocata, std::span(stakes).subspan(at, n),
                                std::span(w).subspan(at, n)))
            return std::nullopt;
    }
    return w;
}

Importi21 ImportiDi(const SystemRecord& r) {
    Importi21 s{};
    for (const Scommessa& b : Scommesse)
        std::ranges::copy(b.Importi(r), s.begin() + PrimoImporto(b.group));
    return s;
}

void ImpostaVincite(SystemRecord& r, const Importi21& w) {
    for (const Scommessa& b : Scommesse)
        std::copy_n(w.begin() + PrimoImporto(b.group), b.stakeCount, b.Vincite(r).begin());
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
    const int end = int(text.indexOf(locale.decimalPoint())); // two decimals: always there
    const int first =
        text.startsWith(locale.negativeSign()) ? int(locale.negativeSign().size()) : 0;
    for (int at = end - 3; at > first; at -= 3)
        text.insert(at, mark);
    return text;
}

QString FormatoNumero(uint8_t number) { return number == 0 ? QString() : QString::number(number); }

namespace {
QLocale Italiano() { return QLocale(QLocale::Italian, QLocale::Italy); }
} // namespace

QString FormatoConteggio(qint64 n) { return Italiano().toString(n); }
QString FormatoDecimale(double v, int decimali) { return Italiano().toString(v, 'f', decimali); }

bool CalcolaProspetto(SystemRecord& record) {
    const std::optional<Importi21> w = CalcolaVincite(ImportiDi(record));
    if (!w)
        return false;
    ImpostaVincite(record, *w);
    return true;
}

} // namespace corpo
