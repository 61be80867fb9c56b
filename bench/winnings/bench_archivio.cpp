// How fast a draw archive is imported: 100,000 generated lines (fixed seed),
// written to a temporary file; the import (read, check every line, merge,
// write the stored archive) against a plain read of the same file, and the
// look-up of every date. The data folder is a temporary one.
#include "winnings/verifica.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <random>

namespace {
double Ms(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - from)
        .count();
}
} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("bench_archivio"));

    constexpr int Lines = 100000;
    const char* const codes[] = {"BA", "CA", "FI", "GE", "MI", "NA", "PA", "RM", "TO", "VE", "RN"};
    std::mt19937 random(20240104u);
    QByteArray text;
    QDate day(1939, 1, 7);
    for (int i = 0; i < Lines; ++i) {
        if (i % 11 == 0)
            day = day.addDays(3);
        int n[5];
        for (int k = 0; k < 5; ++k) {
            bool again = true;
            while (again) {
                n[k] = int(random() % 90u) + 1;
                again = false;
                for (int j = 0; j < k; ++j)
                    again = again || n[j] == n[k];
            }
        }
        text += day.toString(QStringLiteral("yyyy/MM/dd")).toLatin1() + '\t' + codes[i % 11];
        for (int k : n)
            text += '\t' + QByteArray::number(k);
        text += '\n';
    }
    const QString path = home.filePath(QStringLiteral("archivio.txt"));
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size())
        return 1;
    out.close();

    auto start = std::chrono::steady_clock::now();
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return 1;
    const qsizetype bytes = in.readAll().size();
    in.close();
    const double plain = Ms(start);

    start = std::chrono::steady_clock::now();
    const corpo::EsitoImportazione esito = corpo::ImportaArchivio(path);
    const double import = Ms(start);

    start = std::chrono::steady_clock::now();
    int found = 0;
    const QList<QDate> dates = esito.archivio.Date();
    for (const QDate& d : dates)
        found += esito.archivio.Trova(d, 7) != nullptr;
    const double lookUp = Ms(start);

    std::printf("lines:            %d (%lld bytes)\n", Lines, static_cast<long long>(bytes));
    std::printf("plain read ms:    %.3f\n", plain);
    std::printf("import ms:        %.3f\n", import);
    std::printf("import / read:    %.1f\n", import / plain);
    std::printf("dates:            %lld\n", static_cast<long long>(dates.size()));
    std::printf("look-up us/date:  %.3f\n",
                lookUp * 1000 / double(std::max<qsizetype>(dates.size(), 1)));
    std::printf("stored lines:     %d\n", esito.archivio.Righe());
    const bool ok = esito.salvato && esito.messaggio.isEmpty() && esito.archivio.Righe() == Lines &&
                    found == int(dates.size()) && import < 1000;
    std::printf("%s\n", ok ? "ok" : "FAILED (import over 1 s or lines lost)");
    return ok ? 0 : 1;
}
