// What the slip, calibration and forecast tests share: the calibration T,
// a complete system, the wheel list and a few comparisons.
#pragma once

#include "app/corpo.h"
#include "outputs/taratura.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <array>
#include <cmath>

namespace slips {

// Number cell 1 at (20, 30), amounts grid and wheels derived from it.
inline corpo::TaraturaAmbetto CalibrazioneT() {
    corpo::TaraturaAmbetto t;
    t.DistanzaX = 5;
    t.DistanzaY = 4.5f;
    t.Top = 30;
    t.Left = 20;
    t.Intestazione = 12.5f;
    t.DXimporti = 5;
    t.DYimporti = 4;
    t.Qualita = corpo::QualitaNormale;
    t.Stampante = QStringLiteral("PDF");
    return t;
}

// "printA.cfg" of T once the test print has derived Ximporti and Yimporti.
inline QByteArray GoldenT() {
    QByteArray out(corpo::TaraturaFileBytes, '\0');
    const QList<QPair<int, const char*>> parts = {
        {0, "0000A040"},    {128, "00009040"},  {256, "0000F041"},  {384, "0000A041"},
        {512, "00004841"},  {640, "00000A42"},  {768, "0000D042"},  {896, "0000A040"},
        {1024, "00008040"}, {1152, "02000F27"}, {1280, "0300504446"}};
    for (const auto& [offset, hex] : parts) {
        const QByteArray b = QByteArray::fromHex(hex);
        out.replace(offset, b.size(), b);
    }
    return out;
}

inline const std::array<QString, 12> Ruote{"Bari",   "Cagliari", "Firenze", "Genova",
                                           "Milano", "Napoli",   "Palermo", "Roma",
                                           "Torino", "Venezia",  "Nazionale", "Tutte"};

// Slip 1: 1 10 45 81 90 with Ambo 1, Terno 0.50, Cinquina 0.05; slip 9: 77
// with 7.50; every other bet complete too; played on Napoli.
inline corpo::SystemRecord SistemaCompleto() {
    corpo::SystemRecord s;
    s.Ruota = QStringLiteral("Napoli    ");
    s.NomeSistema = QStringLiteral("Prova di stampa     ");
    s.Cinq1 = {1, 10, 45, 81, 90};
    s.ImpCinq1 = {1, 0.5f, 0, 0.05f};
    s.Cinq2 = {2, 13, 24, 35, 46};
    s.ImpCinq2 = {2, 1, 0.5f, 0.1f};
    s.Quad1 = {3, 14, 25, 36};
    s.ImpQuad1 = {1, 1, 0.2f};
    s.Quad2 = {4, 15, 26, 37};
    s.ImpQuad2 = {0.5f, 0.5f, 0.5f};
    s.Terz1 = {5, 16, 27};
    s.ImpTerz1 = {3, 2};
    s.Terz2 = {6, 17, 28};
    s.ImpTerz2 = {1, 1};
    s.Ambo1 = {7, 18};
    s.ImpAmbo1 = 4.9f;
    s.Ambo2 = {8, 19};
    s.ImpAmbo2 = 250;
    s.Estratto = 77;
    s.ImpEstratto = 7.5f;
    s.Capogioco = 7;
    s.ImportoSistema = 30;
    return s;
}

inline bool Vicino(double a, double b, double tolerance) { return std::abs(a - b) <= tolerance; }

} // namespace slips
