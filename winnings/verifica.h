// Checking a system against a draw, without any window: the draw typed by the
// player, the draw archive (one line per draw and wheel) and what each bet
// won on it.
#pragma once

#include "app/corpo.h"
#include "app/runerror.h"

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

// The wheels of the archive in its order: the ten city wheels, then the
// Nazionale. The wheel list names them in the same order.
inline constexpr int NumRuote = 11;
inline constexpr int RuoteCitta = 10; // what "Tutte" plays
QString CodiceRuota(int ruota);       // "BA" ... "RN"
QString NomeRuota(int ruota);         // "Bari" ... "Nazionale"

// The wheels a system's wheel checks: one, the ten cities for "Tutte", none
// for a name the game does not know.
QList<int> RuoteDaVerificare(const QString& ruota);
// Each win on "Tutte" is shared out over the ten wheels it is played on.
int DivisoreVincite(const QString& ruota);

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
// The archive as a file: lines "yyyy/mm/dd<TAB>BA<TAB>n1 ... n5", by date and wheel.
QByteArray ScriviArchivio(const Archivio& archivio);

// Where the imported archive is kept: the user's data folder.
QString PercorsoArchivio();
// The stored archive; an archive never imported is empty.
std::optional<Archivio> CaricaArchivio(RunError* error);

// Imports an archive file: its good lines join the stored archive (a draw of
// the same date and wheel is replaced), which is written whole or not at all.
// Lines of the stored archive that no longer read are kept in a dated copy.
struct EsitoImportazione {
    bool salvato = false; // the stored archive changed
    bool avviso = false;  // something was refused or lost: the message warns
    Archivio archivio;    // the stored archive afterwards
    QString messaggio;    // what the player is told
};
EsitoImportazione ImportaArchivio(const QString& file);

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
