// The nine bets of a system, in the order the program walks them: every place
// that needs to know a bet's size, its members in the record, its fields or its
// name reads it here.
#pragma once

#include "gioco/importi.h"
#include "gioco/sistema.h"

#include <QString>
#include <array>
#include <cstdint>
#include <span>

namespace corpo {

enum Gruppo { Cinq1, Cinq2, Quad1, Quad2, Terz1, Terz2, Ambo1, Ambo2, Estratto };
inline constexpr int NumeroGruppi = 9;
inline constexpr int NumeroNumeri = 29;
inline constexpr int NumeroMassimo = 90; // the game's numbers are 1 to 90
inline constexpr int NumeroImporti = 21;

// What every bet of n numbers shares: member k of its stakes is the kind of
// hit with k + 2 numbers (the Estratto's one member is the single number).
struct Giocata {
    int size;
    // The Lotto payout of each member's kind shared out over the combinations
    // of that kind the bet forms (payout ÷ C(n, k)): the unit each winning
    // combination pays per euro staked. Decimal constants as the payout
    // tables print them: 41.666 is not 250/6, 83.333 is not 250/3.
    std::array<double, 4> unita;
    // The stakes the "10 €uro" and "20 €uro" buttons put on each member.
    std::array<float, 4> euro10;
    std::array<float, 4> euro20;
    // The numbers of member k's kind of hit: 1 for the estratto, else k + 2.
    constexpr int NumeriTipo(int member) const { return size == 1 ? 1 : member + 2; }
};

// C(n, k): the combinations of k numbers among n.
constexpr int Binomiale(int n, int k) {
    if (k < 0 || k > n)
        return 0;
    int c = 1;
    for (int i = 1; i <= k; ++i)
        c = c * (n - k + i) / i;
    return c;
}
inline constexpr Giocata Cinquina{
    5, {25, 450, 24000, 6000000}, {1.00f, 0.30f, 0.15f, 0.05f}, {1.85f, 0.85f, 0.25f, 0.05f}};
inline constexpr Giocata Quaterna{
    4, {41.666, 1125, 120000}, {0.60f, 0.30f, 0.10f}, {1.50f, 0.70f, 0.30f}};
inline constexpr Giocata Terno{3, {83.333, 4500}, {0.75f, 0.25f}, {1.00f, 0.50f}};
inline constexpr Giocata Ambo{2, {250}, {1.00f}, {1.50f}};
inline constexpr Giocata Singolo{1, {11.232}, {1.00f}, {3.00f}};

struct Scommessa {
    Gruppo group;
    int size;       // numbers played
    int stakeCount; // kinds of hit it can win; member k is the kind with k + 2 numbers
    // Field names: "txt" + stem + "_0" for a number, "txtImp" + stem + "_0" for a
    // stake; a single field has no index ("txtEstratto", "txtImpAmbo1").
    const char* stem;
    const char* name; // as the player says it: "Cinquina 1"
    const Giocata* giocata;
    // The bunch: its row's indent in half grapes, and the grape of its first
    // number in the order the bunch's grapes are made.
    int rientro;
    int acinoTesta;
    // What the check of a system says when a number is missing, and when one
    // is repeated (none for a bet of one number).
    const char* incompleta;
    const char* ripetuto;

    uint8_t* (*numbersOf)(SystemRecord&);
    float* (*stakesOf)(SystemRecord&);
    float* (*winningsOf)(SystemRecord&);

    std::span<uint8_t> Numeri(SystemRecord& r) const { return {numbersOf(r), size_t(size)}; }
    std::span<const uint8_t> Numeri(const SystemRecord& r) const {
        return Numeri(const_cast<SystemRecord&>(r));
    }
    std::span<float> Importi(SystemRecord& r) const { return {stakesOf(r), size_t(stakeCount)}; }
    std::span<const float> Importi(const SystemRecord& r) const {
        return Importi(const_cast<SystemRecord&>(r));
    }
    std::span<float> Vincite(SystemRecord& r) const { return {winningsOf(r), size_t(stakeCount)}; }
    std::span<const float> Vincite(const SystemRecord& r) const {
        return Vincite(const_cast<SystemRecord&>(r));
    }
    QString Nome() const { return QString::fromLatin1(name); }
    // The kind of hit stake member k pays: "Ambo", "Terno", "Quaterna",
    // "Cinquina"; the Estratto's one member is "Estratto".
    QString NomeTipo(int member) const {
        static constexpr const char* kinds[] = {"Ambo", "Terno", "Quaterna", "Cinquina"};
        return QString::fromLatin1(size == 1 ? "Estratto" : kinds[member]);
    }
};

// clang-format off
inline constexpr std::array<Scommessa, NumeroGruppi> Scommesse = {{
    {Cinq1, 5, 4, "Cinq1", "Cinquina 1", &Cinquina, 1, 14,
     "La prima cinquina non è completa!!!", "Valore duplicato nella prima cinquina!!!",
     [](SystemRecord& r) { return r.Cinq1.data(); }, [](SystemRecord& r) { return r.ImpCinq1.data(); },
     [](SystemRecord& r) { return r.VinCinq1.data(); }},
    {Cinq2, 5, 4, "Cinq2", "Cinquina 2", &Cinquina, 2, 0,
     "La seconda cinquina non è completa!!!", "Valore duplicato nella seconda cinquina!!!",
     [](SystemRecord& r) { return r.Cinq2.data(); }, [](SystemRecord& r) { return r.ImpCinq2.data(); },
     [](SystemRecord& r) { return r.VinCinq2.data(); }},
    {Quad1, 4, 3, "Quad1", "Quaterna 1", &Quaterna, 3, 5,
     "La prima quaterna non è completa!!!", "Valore duplicato nella prima quaterna!!!",
     [](SystemRecord& r) { return r.Quad1.data(); }, [](SystemRecord& r) { return r.ImpQuad1.data(); },
     [](SystemRecord& r) { return r.VinQuat1.data(); }},
    {Quad2, 4, 3, "Quad2", "Quaterna 2", &Quaterna, 2, 9,
     "La seconda quaterna non è completa!!!", "Valore duplicato nella seconda quaterna!!!",
     [](SystemRecord& r) { return r.Quad2.data(); }, [](SystemRecord& r) { return r.ImpQuad2.data(); },
     [](SystemRecord& r) { return r.VinQuat2.data(); }},
    {Terz1, 3, 2, "Terz1", "Terno 1", &Terno, 3, 12,
     "Il primo terno non è completo!!!", "Valore duplicato nel primo terno!!!",
     [](SystemRecord& r) { return r.Terz1.data(); }, [](SystemRecord& r) { return r.ImpTerz1.data(); },
     [](SystemRecord& r) { return r.VinTerz1.data(); }},
    {Terz2, 3, 2, "Terz2", "Terno 2", &Terno, 4, 15,
     "Il secondo terno non è completo!!!", "Valore duplicato nel secondo terno!!!",
     [](SystemRecord& r) { return r.Terz2.data(); }, [](SystemRecord& r) { return r.ImpTerz2.data(); },
     [](SystemRecord& r) { return r.VinTerz2.data(); }},
    {Ambo1, 2, 1, "Ambo1", "Ambo 1", &Ambo, 5, 17,
     "Il primo ambo non è completo!!!", "Valore duplicato nel primo ambo!!!",
     [](SystemRecord& r) { return r.Ambo1.data(); }, [](SystemRecord& r) { return &r.ImpAmbo1; },
     [](SystemRecord& r) { return &r.VinAmbo1; }},
    {Ambo2, 2, 1, "Ambo2", "Ambo 2", &Ambo, 6, 20,
     "Il secondo ambo non è completo!!!", "Valore duplicato nel secondo ambo!!!",
     [](SystemRecord& r) { return r.Ambo2.data(); }, [](SystemRecord& r) { return &r.ImpAmbo2; },
     [](SystemRecord& r) { return &r.VinAmbo2; }},
    {Estratto, 1, 1, "Estratto", "Estratto", &Singolo, 7, 24,
     "Valore estratto non ammesso!!!", nullptr,
     [](SystemRecord& r) { return &r.Estratto; }, [](SystemRecord& r) { return &r.ImpEstratto; },
     [](SystemRecord& r) { return &r.VinEstratto; }},
}};
// clang-format on

// Each row stands at its group's index, with its kind's size.
inline constexpr bool InOrdineDiGruppo = [] {
    int numbers = 0, stakes = 0;
    for (int g = 0; g < NumeroGruppi; ++g) {
        const Scommessa& b = Scommesse[size_t(g)];
        if (b.group != g || b.giocata->size != b.size ||
            b.stakeCount != (b.size == 1 ? 1 : b.size - 1))
            return false;
        numbers += Scommesse[size_t(g)].size;
        stakes += Scommesse[size_t(g)].stakeCount;
    }
    return numbers == NumeroNumeri && stakes == NumeroImporti;
}();
static_assert(InOrdineDiGruppo);

// Where a bet's stakes (or winnings) start among the 21, bet after bet.
constexpr int PrimoImporto(int group) {
    int at = 0;
    for (int g = 0; g < group; ++g)
        at += Scommesse[size_t(g)].stakeCount;
    return at;
}

// The object name of a bet's field: prefix and stem, then "_" and the index
// unless the bet has a single such field ("txtCinq1_0", "txtEstratto").
inline QString NomeCampo(const char* prefix, int group, int index, int count) {
    const QString name = QLatin1String(prefix) + QLatin1String(Scommesse[size_t(group)].stem);
    return count == 1 ? name : name + QLatin1Char('_') + QString::number(index);
}
inline QString NomeCampoNumero(int group, int position) {
    return NomeCampo("txt", group, position, Scommesse[size_t(group)].size);
}
inline QString NomeCampoImporto(int group, int index) {
    return NomeCampo("txtImp", group, index, Scommesse[size_t(group)].stakeCount);
}
inline QString NomeCampoVincita(int group, int index) {
    return NomeCampo("lblVin", group, index, Scommesse[size_t(group)].stakeCount);
}

// The sum of stakes in the given order, brought to cents after each addition:
// a slip's total, and the system's.
inline float SommaImporti(std::span<const float> stakes) {
    float total = 0;
    for (float s : stakes)
        total = AiCentesimi(double(total) + double(s));
    return total;
}

} // namespace corpo
