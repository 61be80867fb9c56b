// The draw archive checked against the game's calendar: the wheels each date
// should have, the gaps between dates, and whether the numbers still stand in
// the order they were drawn.
#pragma once

#include "gioco/verifica.h"

#include <QDate>
#include <QList>
#include <QString>

namespace corpo {

// When the archive's history starts, and when the wheels that came later
// were first drawn.
inline const QDate InizioArchivio{1939, 1, 7};
inline const QDate InizioCagliariGenova{1939, 7, 8};
inline const QDate InizioNazionale{2005, 5, 4};
// Up to the end of the war draws were stopped for months; from then on they
// were at least weekly, and a gap longer than two weeks is a hole.
inline const QDate InizioCalendarioRegolare{1946, 1, 1};
inline constexpr int IntervalloMassimo = 14;

struct Rilievo {
    QDate data;    // the date it concerns (the later one, for a gap); none: the whole archive
    QString testo; // what the player reads: "12/03/1941: manca la ruota di Cagliari."
};
struct ControlloArchivio {
    QList<Rilievo> rilievi; // by date, the first few hundred
    int totale = 0;         // all of them
};

// The wheels expected on a date (indices into Ruote): none before the
// history starts.
QList<int> RuoteAttese(const QDate& data);

ControlloArchivio ControllaArchivio(const Archivio& archivio);

} // namespace corpo
