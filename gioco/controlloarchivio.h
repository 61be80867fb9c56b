// The draw archive checked against the game's calendar: the wheels each date
// should have, the gaps between dates, and whether the numbers still stand in
// the order they were drawn.
#pragma once

#include "gioco/verifica.h"

#include <QDate>
#include <QList>
#include <QString>
#include <array>

namespace corpo {

// When the archive's history starts, and when the wheels that came later
// were first drawn.
inline const QDate InizioArchivio{1939, 1, 7};
inline const QDate InizioCagliariGenova{1939, 7, 8};
inline const QDate InizioNazionale{2005, 5, 4};
// The longest gap between two dates from a date on. In 1943-44 the war
// stopped draws for months: no gap is flagged before 1946. Then draws were
// weekly, on Saturday, and a holiday moved one a few days: past two weeks a
// draw is missing. A second draw a week came in 1997 (Wednesday), a third in
// June 2005 (Tuesday, Thursday, Saturday; special ones on Friday): from 1998
// a whole week without one is a hole.
struct Intervallo {
    QDate dal;
    int giorni;
};
inline const std::array<Intervallo, 2> IntervalliMassimi = {
    {{{1946, 1, 1}, 14}, {{1998, 1, 1}, 7}}};

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
