// How fast the winnings of many systems are computed: 100,000 systems of 21
// random stakes from 0,00 to 99,99 (fixed seed, so the checksum is stable).
// Prints the milliseconds, the nanoseconds per system and a checksum.
#include "gioco/prospetto.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

int main() {
    constexpr int Systems = 100000;
    std::mt19937 random(20261206u);
    std::vector<corpo::Importi21> stakes(Systems);
    for (corpo::Importi21& s : stakes)
        for (float& v : s)
            v = float(random() % 10000u) / 100.0f; // whole cents, as a stake field holds them

    uint64_t checksum = 0;
    int failures = 0;
    const auto start = std::chrono::steady_clock::now();
    for (const corpo::Importi21& s : stakes) {
        const std::optional<corpo::Importi21> w = corpo::CalcolaVincite(s);
        if (!w) {
            ++failures;
            continue;
        }
        for (float v : *w) {
            uint32_t bits;
            std::memcpy(&bits, &v, 4);
            checksum = checksum * 1000003u + bits;
        }
    }
    const auto stop = std::chrono::steady_clock::now();

    const double ns = std::chrono::duration<double, std::nano>(stop - start).count();
    std::printf("systems:      %d\n", Systems);
    std::printf("milliseconds: %.3f\n", ns / 1e6);
    std::printf("ns/system:    %.1f\n", ns / Systems);
    std::printf("checksum:     %016llx\n", static_cast<unsigned long long>(checksum));
    std::printf("failures:     %d\n", failures);
    return failures == 0 ? 0 : 1;
}
