#include "gioco/numbers.h"

#include <QRandomGenerator>
#include <QTime>
#include <algorithm>
#include <cmath>

namespace corpo {

double Val(const QString& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t') ||
                     text[i] == QLatin1Char('\n') || text[i] == QLatin1Char('\r')))
        ++i;
    QByteArray number;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        number.append(char(text[i++].unicode()));
    auto digits = [&] {
        int count = 0;
        while (i < n && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9')) {
            number.append(char(text[i++].unicode()));
            ++count;
        }
        return count;
    };
    int mantissa = digits();
    if (i < n && text[i] == QLatin1Char('.')) {
        number.append('.');
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0)
        return 0;
    if (i < n && QStringLiteral("eEdD").contains(text[i])) {
        const qsizetype mark = i;
        const qsizetype kept = number.size();
        number.append('e');
        ++i;
        if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
            number.append(char(text[i++].unicode()));
        if (digits() == 0) {
            // "5e" or "5e-" : the exponent is not there, the number ends before it.
            number.truncate(kept);
            i = mark;
        }
    }
    bool ok; // set by the conversion
    const double v = number.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return number.startsWith('-') ? -HUGE_VAL : HUGE_VAL;
    return v;
}

QString FormatStake(float value) {
    QString s = QString::number(double(value), 'f', 2);
    if (s == QStringLiteral("-0.00"))
        s = QStringLiteral("0.00");
    s.replace(QLatin1Char('.'), QLatin1Char(','));
    return s;
}

QString FormatTotal(float value) { return FormatStake(value); }

QString StakeNotation(QString text) { return text.replace(QLatin1Char('.'), QLatin1Char(',')); }

namespace {
// Ascii digits, and the one other character a field takes: a blank in a
// number ("7 "), the comma in a stake ("1,50").
bool SoloCifre(const QString& text, QChar other) {
    return std::all_of(text.begin(), text.end(), [other](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == other;
    });
}
} // namespace

float ParseStake(const QString& text) {
    QString t = StakeNotation(text.trimmed());
    // A sign, an exponent or "nan" is no stake; "," and "1,2,3" do not convert: 0.
    return SoloCifre(t, QLatin1Char(',')) ? t.replace(QLatin1Char(','), QLatin1Char('.')).toFloat()
                                          : 0;
}

bool StakeFits(const QString& text) {
    const qsizetype comma = text.lastIndexOf(QLatin1Char(','));
    return text.size() <= StakeMaxLength && text.count(QLatin1Char(',')) <= 1 &&
           (comma < 0 || text.size() - comma <= 3) && ParseStake(text) <= MaxStake;
}

bool FieldAccepts(const QString& text, bool stake) {
    // An empty number field holds blanks; a stake has its comma.
    return SoloCifre(text, stake ? QLatin1Char(',') : QLatin1Char(' ')) &&
           (stake ? StakeFits(text) : text.size() <= 2);
}

namespace {
// Kind after kind as the table lists them; within a kind, place by place (a
// stake member, or a number's position), each of its bets in turn.
template <size_t N> constexpr std::array<StakeSlot, N> KindByKind(int (*places)(const Scommessa&)) {
    std::array<StakeSlot, N> o{};
    size_t k = 0;
    for (int g = 0; g < NumeroGruppi; ++g) {
        const Giocata* kind = Scommesse[size_t(g)].giocata;
        if (g > 0 && Scommesse[size_t(g - 1)].giocata == kind)
            continue;
        for (int i = 0; i < places(Scommesse[size_t(g)]); ++i)
            for (int h = g; h < NumeroGruppi && Scommesse[size_t(h)].giocata == kind; ++h)
                o[k++] = {h, i};
    }
    return o;
}
} // namespace

const std::array<StakeSlot, NumeroImporti>& StakeOrder() {
    static const auto order =
        KindByKind<NumeroImporti>([](const Scommessa& b) { return b.stakeCount; });
    return order;
}

const std::array<StakeSlot, NumeroNumeri>& NumberOrder() {
    static const auto order = KindByKind<NumeroNumeri>([](const Scommessa& b) { return b.size; });
    return order;
}

float SystemTotal(const SystemRecord& record) {
    std::array<float, NumeroImporti> stakes{};
    for (size_t k = 0; k < stakes.size(); ++k) {
        const StakeSlot& s = StakeOrder()[k];
        stakes[k] = Scommesse[size_t(s.group)].Importi(record)[size_t(s.index)];
    }
    return SommaImporti(stakes);
}

Verdict CheckCluster(const Cluster& values, SystemRecord& record) {
    for (const Scommessa& bet : Scommesse) {
        const std::span<uint8_t> stored = bet.Numeri(record);
        for (int p = 0; p < bet.size; ++p) {
            const int v = values[size_t(bet.group)][size_t(p)];
            if (v == 0)
                return {false, QString::fromUtf8(bet.incompleta), bet.group, p};
            stored[p] = uint8_t(v);
        }
    }
    // Repeats count only within one bet; the bets of a kind are checked pair
    // of positions by pair of positions, the first bet before the second.
    for (int first = 0; first < NumeroGruppi; ++first) {
        const Giocata* kind = Scommesse[size_t(first)].giocata;
        if (first > 0 && Scommesse[size_t(first - 1)].giocata == kind)
            continue;
        const int size = kind->size;
        for (int i = 0; i < size; ++i)
            for (int j = i + 1; j < size; ++j)
                for (int g = first; g < NumeroGruppi && Scommesse[size_t(g)].giocata == kind; ++g) {
                    const std::span<const uint8_t> n = Scommesse[size_t(g)].Numeri(record);
                    if (n[i] == n[j]) {
                        // A repeated ambo sends the focus to its first number.
                        const int focus = size == 2 ? 0 : j;
                        return {false, QString::fromUtf8(Scommesse[size_t(g)].ripetuto), g, focus};
                    }
                }
    }
    return {};
}

HeadNumberAnswer ParseHeadNumber(const QString& answer) {
    if (answer.isEmpty())
        return {};
    // Rounded half to even, 0,5 gives 0 and 90,5 gives 90.
    const double v = Val(answer);
    if (!(v > 0.5 && v <= NumeroMassimo + 0.5))
        return {HeadNumberAnswer::OutOfRange, 0};
    return {HeadNumberAnswer::Accepted, ArrotondaPari(v)};
}

double Rnd() { return QRandomGenerator::global()->generateDouble(); }

int32_t RandomColour(double draw) { return ArrotondaPari(draw * 16777215.0); }

Cluster RandomCluster(int capogioco, const std::function<double()>& draw) {
    Cluster out{};
    std::array<bool, NumeroMassimo + 1> used{};
    auto one = [&] { return int(draw() * NumeroMassimo + 1.0); };
    for (int g = 0; g < Estratto; ++g) {
        for (int p = 0; p < Scommesse[size_t(g)].size; ++p) {
            int n = one();
            while (used[size_t(n)] || n == capogioco)
                n = one();
            used[size_t(n)] = true;
            out[size_t(g)][size_t(p)] = n;
        }
    }
    out[Estratto][0] = one();
    return out;
}

void ApplyPreset(SystemRecord& r, Preset preset) {
    for (const Scommessa& bet : Scommesse) {
        const std::array<float, 4>& stakes =
            preset == Preset::Euro10 ? bet.giocata->euro10 : bet.giocata->euro20;
        std::copy_n(stakes.begin(), bet.stakeCount, bet.Importi(r).begin());
    }
}

} // namespace corpo
