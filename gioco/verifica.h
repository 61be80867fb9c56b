// Checking a system against a draw, without any window: the draw typed by the
// player, the draw archive (one line per draw and wheel) and what each bet
// won on it.
#pragma once

#include "gioco/ruote.h"
#include "gioco/sistema.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace corpo {

using Estratti = std::array<uint8_t, 5>; // the five numbers drawn on one wheel

// The five fields of a typed draw: the numbers, or the message and the field
// at fault (0..4).
struct EstrazioneDigitata {
    std::optional<Estratti> numeri;
    QString messaggio;
    int campo = -1;
};
EstrazioneDigitata LeggiEstrazione(const std::array<QString, 5>& campi);

// The draws of an archive by date; a wheel without a draw holds zeros.
struct Archivio {
    std::map<QDate, std::array<Estratti, NumRuote>> estrazioni;
    const Estratti* Trova(const QDate& data, int ruota) const;
    // The latest date before `data` with a draw on one of `ruote`; none when none.
    QDate Precedente(const QDate& data, const QList<int>& ruote) const;
    QDate Prima() const;  // the oldest date, or none
    QDate Ultima() const; // the newest date, or none
    int Righe() const;    // the draws held, one per date and wheel
};

// An archive file read: every good line kept, the refused ones counted and
// the first few named (what the message shows, however long the file).
struct LetturaArchivio {
    Archivio archivio;
    QList<std::pair<int, QString>> scartate; // line number (from 1), why
    int righeScartate = 0;                   // all of them
    int righe = 0;                           // lines, blank ones left out
};
// `oggi` is today: a draw can be no later than tomorrow, nor before 1871.
LetturaArchivio LeggiArchivio(const QByteArray& bytes, const QDate& oggi = QDate::currentDate());
// A draw's date as the player reads it: 04/01/2025.
QString FormatoData(const QDate& data);
// Adds the draws of `from` to `into`; a draw of the same date and wheel is replaced.
void UnisciArchivi(Archivio& into, const Archivio& from);
// An archive bigger than this is no draw archive (the whole history is a few MB).
inline constexpr qint64 ArchivioMassimo = 64 << 20;
// The archive as a file: lines "yyyy/mm/dd<TAB>BA<TAB>n1 ... n5", by date and wheel.
QByteArray ScriviArchivio(const Archivio& archivio);

// One bet checked on one wheel.
struct EsitoScommessa {
    int scommessa = 0; // group order: 0 Cinquina 1 ... 8 Estratto
    int ruota = 0;
    std::vector<uint8_t> numeri;
    std::vector<bool> estratti; // per number: drawn
    int punti = 0;
    float vincita = 0;
};
struct EsitoVerifica {
    QList<EsitoScommessa> scommesse; // wheel by wheel, bet by bet
    double totale = 0;
};
// The system's numbers against the draws (wheel, numbers); a bet with h hits
// collects its winning for h numbers divided by `divisore`. Nothing when the
// winnings overflow.
std::optional<EsitoVerifica> VerificaEstrazione(const SystemRecord& record,
                                                const QList<std::pair<int, Estratti>>& draws,
                                                int divisore);

} // namespace corpo
