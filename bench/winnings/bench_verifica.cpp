// How fast a system is followed over a whole archive: 10,000 dates of draws
// on all eleven wheels (fixed seed), the "10 €uro" system played on Tutte,
// the worst case (ten wheels a draw). Prints the milliseconds (best of five)
// and the totals; fails past 100 ms.
#include "gioco/verifica.h"

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    constexpr int Dates = 10000;
    constexpr double LimitMs = 100;
    std::mt19937 random(20261207u);
    corpo::Archivio archivio;
    QDate d(1939, 1, 7);
    for (int i = 0; i < Dates; ++i, d = d.addDays(i % 4 == 0 ? 3 : i % 4 == 2 ? 2 : 1))
        for (corpo::Estratti& e : archivio.estrazioni[d])
            for (size_t k = 0; k < e.size(); ++k)
                do
                    e[k] = uint8_t(random() % 90 + 1);
                while (std::find(e.begin(), e.begin() + long(k), e[k]) != e.begin() + long(k));

    corpo::SystemRecord system;
    uint8_t n = 1;
    for (const corpo::Scommessa& b : corpo::Scommesse)
        for (uint8_t& v : b.Numeri(system))
            v = n++;
    system.Ruota = QStringLiteral("Tutte");
    system.ImpCinq1 = system.ImpCinq2 = {1.00f, 0.30f, 0.15f, 0.05f};
    system.ImpQuad1 = system.ImpQuad2 = {0.60f, 0.30f, 0.10f};
    system.ImpTerz1 = system.ImpTerz2 = {0.75f, 0.25f};
    system.ImpAmbo1 = system.ImpAmbo2 = system.ImpEstratto = 1.00f;

    double best = 1e9;
    std::optional<corpo::EsitoColpi> esito;
    for (int run = 0; run < 5; ++run) {
        const auto start = std::chrono::steady_clock::now();
        esito = corpo::SeguiSistema(system, archivio, archivio.Prima(), 0);
        best = std::min(best, std::chrono::duration<double, std::milli>(
                                  std::chrono::steady_clock::now() - start)
                                  .count());
    }
    if (!esito || int(esito->colpi.size()) != Dates)
        return 1;
    std::printf("draws:        %zu (%d wheels each)\n", esito->colpi.size(), corpo::RuoteCitta);
    std::printf("milliseconds: %.3f (limit %.0f)\n", best, LimitMs);
    std::printf("%s\n", qPrintable(corpo::DescriviTotali(esito->totali)));
    return best <= LimitMs ? 0 : 1;
}
