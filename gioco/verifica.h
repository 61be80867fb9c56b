// Checking a system against a draw, without any window: the draw typed by the
// player, the draw archive (one line per draw and wheel) and what each bet
// won on it.
#pragma once

#include "gioco/ruote.h"
#include "gioco/scommesse.h"
#include "gioco/sistema.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QLocale>
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
    std::map<QDate, std::array<Estratti, NumeroRuote>> estrazioni;
    const Estratti* Trova(const QDate& data, int ruota) const; // ruota: a wheel's index
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
    // The file is just as ScriviArchivio would write what was read: it can be
    // stored as it is.
    bool scritta = false;
};
// `oggi` is today: a draw can be no later than tomorrow, nor before 1871.
LetturaArchivio LeggiArchivio(const QByteArray& bytes, const QDate& oggi = QDate::currentDate());
// A draw's date as the player reads it: 04/01/2025.
QString FormatoData(const QDate& data);
// Adds the draws of `from` to `into`; a draw of the same date and wheel is replaced.
void UnisciArchivi(Archivio& into, const Archivio& from);
// An archive bigger than this is no draw archive (the whole history is a few MB).
inline constexpr qint64 ArchivioMassimo = 64 << 20;
// The archive as a file: lines "yyyy/mm/dd<TAB>BA<TAB>n1 ... n5", by date and,
// within a date, by the wheel's code (the operator's order).
QByteArray ScriviArchivio(const Archivio& archivio);

// One staked kind that won: `combinazioni` combinations of that kind among the
// numbers drawn, each paying `unita` (before the share-out over the wheels).
struct Combinazioni {
    int membro = 0; // as in the stakes: 0 ambo ... 3 cinquina; the Estratto's own 0
    int combinazioni = 0;
    float unita = 0;
};

// One bet checked on one wheel.
struct EsitoScommessa {
    int scommessa = 0; // group order: 0 Cinquina 1 ... 8 Estratto
    int ruota = 0;
    std::vector<uint8_t> numeri;
    std::vector<bool> estratti; // per number: drawn
    int punti = 0;
    std::vector<Combinazioni> vinte; // each staked kind that won
    double lordo = 0;                // this wheel's win, already shared out
    bool ultima = false;             // its slip's last wheel: the slip's own line follows
};

// What a system spent and won: the gross wins, the tax withheld, the net; in
// cents, exact however many draws they add up.
struct Totali {
    qint64 spesa = 0, lordo = 0, ritenuta = 0, netto = 0;
    qint64 Saldo() const { return netto - spesa; }
    Totali& operator+=(const Totali& o);
};
// Cents as the program shows euro: "€ 79,33" in the given locale.
QString FormatoCentesimi(qint64 cents, const QLocale& locale = QLocale());
// "Spesa € 2,00; lordo € 86,23; ritenuta € 6,90; netto € 79,33": always these
// four, in this order (scripts read them off the command line's last line).
QString DescriviTotali(const Totali& totali, const QLocale& locale = QLocale());

// Each bet is played on one slip: its wheels' wins added, capped, withheld.
struct EsitoSchedina {
    Totali importi;        // its stake is the spesa
    bool limitata = false; // the wins went past the most a slip pays
    int righe = 0;         // its wheels among EsitoVerifica::scommesse
};

struct EsitoVerifica {
    QList<EsitoScommessa> scommesse; // bet by bet, wheel by wheel
    std::array<EsitoSchedina, NumeroGruppi> schedine{};
    Totali totali;
    int divisore = 1;
};
// The system's numbers against the draws (wheel, numbers): every staked kind
// pays one unit per combination of its numbers drawn, each wheel's win divided
// by `divisore`. Nothing when a unit overflows.
std::optional<EsitoVerifica> VerificaEstrazione(const SystemRecord& record,
                                                const QList<std::pair<int, Estratti>>& draws,
                                                int divisore);

// A staked kind that won as the player reads it: "3 ambi × € 25,00", and "/10"
// when the win is shared out over ten wheels.
// What a check on "Tutte" says after its heading: " (vincite divise per 10 ruote)".
QString VinciteDivise(int divisore);
QString DescriviCombinazioni(const Scommessa& bet, const Combinazioni& c, int divisore,
                             const QLocale& locale = QLocale());
// "1 punto", "3 punti".
QString Punti(int n);
// The three slip figures of a winning slip: "lordo € 75,00, ritenuta € 6,00,
// netto € 69,00", with the cap said when it applied.
QString DescriviSchedina(const EsitoSchedina& schedina, const QLocale& locale = QLocale());

// The draws of one date of the archive on the system's wheels; the wheels
// played that the date lacks; or, when it has none, why.
struct EstrazioniDelGiorno {
    QList<std::pair<int, Estratti>> draws;
    QList<int> mancanti;
    QString messaggio; // set when draws is empty
};
EstrazioniDelGiorno EstrazioniDel(const Archivio& archivio, const QDate& data,
                                  const QString& ruota);
// "Manca la ruota di Bari.", "Mancano le ruote di Bari e Napoli."; empty when none.
QString RuoteMancanti(const QList<int>& mancanti);

// The system followed over consecutive draws of the archive.
struct Colpo {
    QDate data;
    std::array<uint8_t, NumeroGruppi> punti{}; // the most numbers each bet hit on a wheel
    uint16_t vincenti = 0;                     // the bets that won, one bit each
    uint16_t mancanti = 0;                     // wheels played that the date lacks, one bit each
    Totali importi;
    qint64 saldo = 0; // from the first draw to this one, in cents
};
struct EsitoColpi {
    std::vector<Colpo> colpi;
    Totali totali;
};
// From `dal`, `colpi` draws (every one up to the last when colpi is 0); a date
// counts when it has a draw on one of the system's wheels. Nothing when a
// unit overflows or the system's wheel is none the game knows.
std::optional<EsitoColpi> SeguiSistema(const SystemRecord& record, const Archivio& archivio,
                                       const QDate& dal, int colpi);
// The bets a draw paid with their hits: "Cinquina 1: 3 punti, Estratto: 1 punto";
// "nessuna vincita"; then the wheels played that the date lacks, named.
QString DescriviColpo(const Colpo& colpo);

} // namespace corpo
