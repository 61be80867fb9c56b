// How fast the statistics of a system are counted on a whole archive.
//
// A generated archive of 110,000 lines (fixed seed), dated as the real one:
// weekly to 1996, then twice and three times a week, Cagliari and Genova from
// July 1939, the Nazionale from May 2005. Read once; then the 29 grapes and the
// nine bets counted on one wheel, as the window and the command line do, the
// best of many runs against 20 ms; the same on every wheel, and the archive's
// self-check, for the record.
#include "gioco/controlloarchivio.h"
#include "gioco/statistiche.h"

#include <QByteArray>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <numeric>
#include <random>

using namespace corpo;

namespace {

constexpr int Lines = 110'000;
constexpr double MaxMs = 20;

QByteArray Generate() {
    std::mt19937 random(21u);
    std::array<int, 90> numbers;
    std::iota(numbers.begin(), numbers.end(), 1);
    QByteArray text;
    text.reserve(Lines * 28);
    int lines = 0;
    char buf[64];
    for (QDate d = InizioArchivio; lines < Lines; d = d.addDays(1)) {
        const int w = d.dayOfWeek(); // 1 Monday ... 7 Sunday
        if (!(w == 6 || (d.year() >= 1997 && w == 3) || (d.year() >= 2006 && (w == 2 || w == 4))))
            continue;
        for (int r : RuoteAttese(d)) {
            std::shuffle(numbers.begin(), numbers.end(), random);
            const int n = std::snprintf(buf, sizeof buf, "%04d/%02d/%02d\t%s\t%d\t%d\t%d\t%d\t%d\n",
                                        d.year(), d.month(), d.day(), Ruote[size_t(r)].codice,
                                        numbers[0], numbers[1], numbers[2], numbers[3], numbers[4]);
            text.append(buf, n);
            if (++lines == Lines)
                break;
        }
    }
    return text;
}

double Ms(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - from)
        .count();
}

} // namespace

int main() {
    const QByteArray text = Generate();
    auto t = std::chrono::steady_clock::now();
    const LetturaArchivio lettura = LeggiArchivio(text, QDate(2100, 1, 1));
    const double readMs = Ms(t);
    const Archivio& archivio = lettura.archivio;

    SystemRecord record;
    uint8_t n = 3;
    for (const Scommessa& b : Scommesse)
        for (uint8_t& x : b.Numeri(record))
            x = n += 3; // 6, 9, ... 87: 29 different numbers
    double best = 1e9, all = 1e9;
    long checksum = 0;
    for (int run = 0; run < 50; ++run) {
        t = std::chrono::steady_clock::now();
        const Statistiche s = CalcolaStatistiche(archivio, record, 0);
        best = std::min(best, Ms(t));
        checksum += s.numeri[0].ritardoMax + s.scommesse[0].ritardoAmbo;
        t = std::chrono::steady_clock::now();
        for (int r = 0; r < NumeroRuote; ++r)
            checksum += CalcolaStatistiche(archivio, record, r).numeri[28].frequenza;
        all = std::min(all, Ms(t));
    }
    t = std::chrono::steady_clock::now();
    const ControlloArchivio controllo = ControllaArchivio(archivio);
    const double checkMs = Ms(t);

    std::printf("lines:              %d (%d dates, %s to %s)\n", archivio.Righe(),
                int(archivio.estrazioni.size()), qPrintable(FormatoData(archivio.Prima())),
                qPrintable(FormatoData(archivio.Ultima())));
    std::printf("read ms:            %.2f\n", readMs);
    std::printf("one wheel ms:       %.3f (at most %.0f)\n", best, MaxMs);
    std::printf("eleven wheels ms:   %.3f\n", all);
    std::printf("self-check ms:      %.3f (%d findings)\n", checkMs, controllo.totale);
    for (const Rilievo& r : controllo.rilievi)
        std::printf("  %s\n", qPrintable(r.testo));
    std::printf("checksum:           %ld\n", checksum);
    return archivio.Righe() == Lines && best <= MaxMs ? 0 : 1;
}
