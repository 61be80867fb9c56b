#include "gioco/verifica.h"

#include "gioco/prospetto.h"
#include "gioco/regole.h"
#include "gioco/ruote.h"

#include <algorithm>
#include <bitset>
#include <cstring>
#include <string_view>

namespace corpo {

namespace {

// No draw is older than the game's first year.
constexpr int PrimoAnno = 1871;
// Lines named one by one in the message; the rest are counted.
constexpr int RigheNominate = 20;

bool Separatore(char c) { return c == '\t' || c == ';' || c == ' ' || c == '\r'; }

// A whole number of at most `digits` digits, or -1.
int Intero(const char* p, const char* end, int digits) {
    if (p == end || end - p > digits)
        return -1;
    int v = 0;
    for (; p != end; ++p) {
        if (*p < '0' || *p > '9')
            return -1;
        v = v * 10 + (*p - '0');
    }
    return v;
}

// The wheel of each two-letter code, looked up at once: every line has one.
constexpr std::array<int8_t, 26 * 26> IndiciCodici = [] {
    std::array<int8_t, 26 * 26> t{};
    t.fill(-1);
    for (int i = 0; i < NumeroRuote; ++i)
        t[size_t((Ruote[size_t(i)].codice[0] - 'A') * 26 + Ruote[size_t(i)].codice[1] - 'A')] =
            int8_t(i);
    return t;
}();

int IndiceCodice(const char* p, const char* end) {
    if (end - p != 2)
        return -1;
    const unsigned a = unsigned(uint8_t(p[0])) - 'A', b = unsigned(uint8_t(p[1])) - 'A';
    return a < 26 && b < 26 ? IndiciCodici[a * 26 + b] : -1;
}

// Within a date the archive lists the wheels by code, as the operator's file
// does: BA CA FI GE MI NA PA RM RN TO VE. The place of each wheel in that order.
constexpr std::array<int, NumeroRuote> PostoInArchivio = [] {
    std::array<int, NumeroRuote> posto{};
    for (int i = 0; i < NumeroRuote; ++i)
        for (int j = 0; j < NumeroRuote; ++j)
            posto[size_t(i)] += std::string_view(Ruote[size_t(j)].codice) <
                                std::string_view(Ruote[size_t(i)].codice);
    return posto;
}();
constexpr std::array<int, NumeroRuote> OrdineArchivio = [] {
    std::array<int, NumeroRuote> ordine{};
    for (int i = 0; i < NumeroRuote; ++i)
        ordine[size_t(PostoInArchivio[size_t(i)])] = i;
    return ordine;
}();

// One line: the date, the wheel and the draw, or why it cannot be read, or
// nothing at all (a blank line).
struct Riga {
    QDate data;
    int ruota = -1;
    Estratti numeri{};
    const char* errore = nullptr;
    bool vuota = false;
};

Riga LeggiRiga(const char* p, const char* end, const QDate& domani) {
    Riga r;
    // One pass, for files of millions of lines: the characters checked and
    // the fields split at once.
    std::array<std::pair<const char*, const char*>, 7> campi;
    int n = 0;
    const char* from = nullptr;
    for (const char* q = p;; ++q) {
        const bool fine = q == end;
        const auto c = fine ? ' ' : static_cast<unsigned char>(*q);
        if (c >= 0x7F || (c < 0x20 && !Separatore(char(c)))) {
            r.errore = "contiene caratteri che non sono testo";
            return r;
        }
        if (!Separatore(char(c))) {
            from = from ? from : q;
        } else if (from) {
            if (n < int(campi.size()))
                campi[size_t(n)] = {from, q};
            ++n;
            from = nullptr;
        }
        if (fine)
            break;
    }
    r.vuota = n == 0;
    if (n != 7) {
        r.errore = r.vuota ? nullptr : "non ha data, ruota e cinque numeri";
        return r;
    }
    const auto [d, dEnd] = campi[0];
    const int anno = dEnd - d == 10 && d[4] == '/' && d[7] == '/' ? Intero(d, d + 4, 4) : -1;
    const int mese = anno < 0 ? -1 : Intero(d + 5, d + 7, 2);
    const int giorno = mese < 0 ? -1 : Intero(d + 8, d + 10, 2);
    if (giorno < 0) {
        r.errore = "ha la data in un formato diverso da aaaa/mm/gg";
        return r;
    }
    r.data = QDate(anno, mese, giorno);
    if (!r.data.isValid()) {
        r.errore = "ha una data che non esiste";
        return r;
    }
    if (anno < PrimoAnno || r.data > domani) {
        r.errore = "ha una data prima del 1871 o dopo domani";
        return r;
    }
    r.ruota = IndiceCodice(campi[1].first, campi[1].second);
    if (r.ruota < 0) {
        r.errore = "ha una ruota sconosciuta";
        return r;
    }
    for (int i = 0; i < 5; ++i) {
        const int v = Intero(campi[size_t(i + 2)].first, campi[size_t(i + 2)].second, 2);
        if (v < 1 || v > NumeroMassimo) {
            r.errore = "ha un numero fuori da 1..90";
            return r;
        }
        if (std::find(r.numeri.begin(), r.numeri.begin() + i, v) != r.numeri.begin() + i) {
            r.errore = "ha un numero ripetuto";
            return r;
        }
        r.numeri[size_t(i)] = uint8_t(v);
    }
    return r;
}

// A line as ScriviArchivio writes it ("2024/01/04<TAB>BA<TAB>7<TAB>...<TAB>90"),
// the whole of a stored or published archive, read without splitting it
// first: the same checks, a tenth of the time. Null for any other form, which
// LeggiRiga judges; else where the line ends (its newline, or the end).
// `scritta` is cleared for a line that reads but is not written so: a number
// with a leading zero, or a Windows line end. The date of the line before is
// kept, its bytes and its value: a date's eleven wheels repeat it.
struct DataPrima {
    std::array<char, 10> testo{};
    QDate data;
};

const char* LeggiRigaScritta(const char* p, const char* end, const QDate& domani, DataPrima& prima,
                             Riga& r, bool& scritta) {
    if (end - p < 23 || p[10] != '\t' || p[13] != '\t')
        return nullptr;
    if (!prima.data.isValid() || !std::equal(prima.testo.begin(), prima.testo.end(), p)) {
        if (p[4] != '/' || p[7] != '/')
            return nullptr;
        // A field that is no number (-1) makes a year before 1871 or no date.
        const int anno = Intero(p, p + 4, 4), mese = Intero(p + 5, p + 7, 2),
                  giorno = Intero(p + 8, p + 10, 2);
        const QDate data(anno, mese, giorno);
        if (!data.isValid() || anno < PrimoAnno || data > domani)
            return nullptr;
        std::copy_n(p, prima.testo.size(), prima.testo.begin());
        prima.data = data;
    }
    const int ruota = IndiceCodice(p + 11, p + 13);
    if (ruota < 0)
        return nullptr;
    const auto cifra = [](char c) { return unsigned(uint8_t(c)) - '0' < 10; };
    const char* q = p + 14;
    std::bitset<NumeroMassimo + 1> visti; // for repeats
    for (int i = 0; i < 5; ++i) {
        if (q == end || !cifra(*q))
            return nullptr;
        scritta = scritta && *q != '0';
        int v = *q++ - '0';
        if (q != end && cifra(*q))
            v = v * 10 + (*q++ - '0');
        if (v < 1 || v > NumeroMassimo || visti.test(size_t(v)))
            return nullptr;
        visti.set(size_t(v));
        r.numeri[size_t(i)] = uint8_t(v);
        if (i < 4 && (q == end || *q++ != '\t'))
            return nullptr;
    }
    if (q != end && *q == '\r') { // a file written on Windows
        scritta = false;
        ++q;
    }
    if (q != end && *q != '\n')
        return nullptr;
    r.data = prima.data;
    r.ruota = ruota;
    return q;
}

} // namespace

EstrazioneDigitata LeggiEstrazione(const std::array<QString, 5>& campi) {
    EstrazioneDigitata out;
    Estratti numeri{};
    for (int i = 0; i < 5; ++i) {
        const QString text = campi[size_t(i)].trimmed();
        bool ok; // set by the conversion
        const int v = text.toInt(&ok);
        out.campo = i;
        if (text.isEmpty()) {
            out.messaggio = QStringLiteral("Mancano dei numeri: scrivi tutti e cinque i numeri "
                                           "estratti sulla ruota.");
            return out;
        }
        if (!ok || v < 1 || v > NumeroMassimo) {
            out.messaggio =
                QStringLiteral("Il numero %1 non è valido: i numeri vanno da 1 a 90.").arg(text);
            return out;
        }
        if (std::find(numeri.begin(), numeri.begin() + i, v) != numeri.begin() + i) {
            out.messaggio = QStringLiteral("Il numero %1 è ripetuto: i cinque numeri estratti "
                                           "sono tutti diversi.")
                                .arg(v);
            return out;
        }
        numeri[size_t(i)] = uint8_t(v);
    }
    out.campo = -1;
    out.numeri = numeri;
    return out;
}

const Estratti* Archivio::Trova(const QDate& data, int ruota) const {
    const auto it = estrazioni.find(data);
    if (it == estrazioni.end() || it->second.at(size_t(ruota))[0] == 0)
        return nullptr;
    return &it->second[size_t(ruota)];
}

QDate Archivio::Precedente(const QDate& data, const QList<int>& ruote) const {
    for (auto it = std::make_reverse_iterator(estrazioni.lower_bound(data));
         it != estrazioni.rend(); ++it)
        for (int r : ruote)
            if (it->second.at(size_t(r))[0] != 0)
                return it->first;
    return {};
}

QDate Archivio::Prima() const { return estrazioni.empty() ? QDate() : estrazioni.begin()->first; }
QDate Archivio::Ultima() const { return estrazioni.empty() ? QDate() : estrazioni.rbegin()->first; }

int Archivio::Righe() const {
    int n = 0;
    for (const auto& [data, ruote] : estrazioni)
        for (const Estratti& e : ruote)
            n += e[0] != 0;
    return n;
}

LetturaArchivio LeggiArchivio(const QByteArray& bytes, const QDate& oggi) {
    LetturaArchivio out;
    const QDate domani = oggi.addDays(1);
    const char* p = bytes.constData();
    const char* const end = p + bytes.size();
    auto& estrazioni = out.archivio.estrazioni;
    auto giorno = estrazioni.end(); // lines come by date: the last one's
    int posto = -1;                 // of the last line's wheel in the archive's order
    DataPrima prima;
    bool scritta = !bytes.isEmpty() && bytes.back() == '\n';
    int line = 0;
    for (; p != end; ++line) {
        Riga r;
        const char* eol = LeggiRigaScritta(p, end, domani, prima, r, scritta);
        if (!eol) {
            scritta = false;
            const auto* nl = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)));
            eol = nl ? nl : end;
            if (p != eol) // the commonest blank line, at no cost
                r = LeggiRiga(p, eol, domani);
            else
                r.vuota = true;
        }
        p = eol == end ? end : eol + 1;
        if (r.vuota)
            continue;
        ++out.righe;
        if (r.errore) {
            // Only what the message shows is kept: a file of junk costs no more.
            if (out.righeScartate++ < RigheNominate)
                out.scartate.append({line + 1, QString::fromUtf8(r.errore)});
            continue;
        }
        if (giorno == estrazioni.end() || giorno->first != r.data) {
            const bool avanti = estrazioni.empty() || estrazioni.rbegin()->first < r.data;
            scritta = scritta && avanti;
            giorno = avanti ? estrazioni.emplace_hint(estrazioni.end(), r.data,
                                                      std::array<Estratti, NumeroRuote>{})
                            : estrazioni.try_emplace(r.data).first;
            posto = -1;
        }
        const int qui = PostoInArchivio[size_t(r.ruota)];
        scritta = scritta && qui > posto;
        posto = qui;
        giorno->second[size_t(r.ruota)] = r.numeri;
    }
    out.scritta = scritta && out.righe > 0;
    return out;
}

QByteArray ScriviArchivio(const Archivio& archivio) {
    // By hand, not printf: the whole history is a hundred thousand lines.
    constexpr qsizetype Riga = sizeof "2024/01/04\tBA\t90\t90\t90\t90\t90\n"; // the longest
    QByteArray out(archivio.Righe() * Riga, Qt::Uninitialized);
    char* w = out.data();
    const auto cifre = [](char* at, int v, int n) {
        for (int i = n - 1; i >= 0; --i, v /= 10)
            at[i] = char('0' + v % 10);
    };
    for (const auto& [data, ruote] : archivio.estrazioni) {
        std::array<char, 10> giorno;          // once a date: a wheel's line repeats it
        cifre(giorno.data(), data.year(), 4); // the reader keeps 1871 on
        giorno[4] = giorno[7] = '/';
        cifre(giorno.data() + 5, data.month(), 2);
        cifre(giorno.data() + 8, data.day(), 2);
        for (const int i : OrdineArchivio) {
            const Estratti& e = ruote[size_t(i)];
            if (e[0] == 0)
                continue;
            w = std::copy(giorno.begin(), giorno.end(), w);
            *w++ = '\t';
            *w++ = Ruote[size_t(i)].codice[0];
            *w++ = Ruote[size_t(i)].codice[1];
            for (const uint8_t n : e) { // 1 to 90
                *w++ = '\t';
                const int len = n >= 10 ? 2 : 1;
                cifre(w, n, len);
                w += len;
            }
            *w++ = '\n';
        }
    }
    out.truncate(w - out.constData());
    return out;
}

void UnisciArchivi(Archivio& into, const Archivio& from) {
    for (const auto& [data, ruote] : from.estrazioni) {
        auto& dove = into.estrazioni[data];
        for (int i = 0; i < NumeroRuote; ++i)
            if (ruote[size_t(i)][0] != 0)
                dove[size_t(i)] = ruote[size_t(i)];
    }
}

QString FormatoData(const QDate& data) { return data.toString(QStringLiteral("dd/MM/yyyy")); }

Totali& Totali::operator+=(const Totali& o) {
    spesa += o.spesa;
    lordo += o.lordo;
    ritenuta += o.ritenuta;
    netto += o.netto;
    return *this;
}

QString FormatoCentesimi(qint64 cents, const QLocale& locale) {
    return FormatoVincita(double(cents) / 100, locale);
}

QString DescriviTotali(const Totali& t, const QLocale& locale) {
    return QStringLiteral("Spesa %1; lordo %2; ritenuta %3; netto %4")
        .arg(FormatoCentesimi(t.spesa, locale), FormatoCentesimi(t.lordo, locale),
             FormatoCentesimi(t.ritenuta, locale), FormatoCentesimi(t.netto, locale));
}

QString DescriviSchedina(const EsitoSchedina& s, const QLocale& locale) {
    QString text = QStringLiteral("lordo %1, ritenuta %2, netto %3")
                       .arg(FormatoCentesimi(s.importi.lordo, locale),
                            FormatoCentesimi(s.importi.ritenuta, locale),
                            FormatoCentesimi(s.importi.netto, locale));
    if (s.limitata)
        text += QStringLiteral(" (una schedina vince al massimo %1)")
                    .arg(FormatoVincita(Regole.vincitaMassima, locale));
    return text;
}

QString Punti(int n) {
    return n == 1 ? QStringLiteral("1 punto") : QStringLiteral("%1 punti").arg(n);
}

namespace {

// A bet ready to check: its numbers and the unit of every kind it can stake.
struct Puntata {
    std::array<uint8_t, 5> numeri{};
    int quanti = 0;
    int membri = 0;
    std::array<float, 4> unita{};
    std::array<int, 4> numeriTipo{}; // the numbers a kind takes: 1 estratto, 2 ambo ...
    qint64 spesa = 0;                // the slip's stake, in cents
};
using Puntate = std::array<Puntata, NumeroGruppi>;

std::optional<Puntate> Prepara(const SystemRecord& record) {
    Puntate out;
    for (const Scommessa& bet : Scommesse) {
        Puntata& p = out[size_t(bet.group)];
        std::ranges::copy(bet.Numeri(record), p.numeri.begin());
        p.quanti = bet.size;
        p.membri = bet.stakeCount;
        const std::span<const float> stakes = bet.Importi(record);
        const std::array<double, 4>& factors = bet.giocata->unita;
        for (int k = 0; k < p.membri; ++k) {
            if (!UnitaVincita(stakes[size_t(k)], factors[size_t(k)], p.unita[size_t(k)]))
                return std::nullopt;
            p.numeriTipo[size_t(k)] = bet.giocata->NumeriTipo(k);
        }
        p.spesa = Centesimi(SommaImporti(stakes));
    }
    return out;
}

// What a bet wins on one wheel with `punti` numbers drawn: one unit of every
// staked kind for each of its combinations drawn, shared out by `divisore`.
double LordoRuota(const Puntata& p, int punti, int divisore) {
    double v = 0;
    for (int k = 0; k < p.membri; ++k)
        if (p.numeriTipo[size_t(k)] <= punti)
            v += Binomiale(punti, p.numeriTipo[size_t(k)]) * double(p.unita[size_t(k)]);
    return v / divisore;
}

// A slip's wins added up: capped, brought to the cent, the tax withheld.
Totali Schedina(double lordo, qint64 spesa, bool* limitata) {
    Totali t;
    t.spesa = spesa;
    *limitata = lordo > Regole.vincitaMassima;
    t.lordo = Centesimi(std::min(lordo, Regole.vincitaMassima));
    // 8% of whole cents never ends in exactly half a cent: no tie to break.
    t.ritenuta = (t.lordo * Regole.ritenutaPercento + 50) / 100;
    t.netto = t.lordo - t.ritenuta;
    return t;
}

// The numbers drawn on a wheel as bits, to count a bet's hits at once.
struct Segnati {
    std::bitset<256> estratti; // any byte: no bound to check
    explicit Segnati(const Estratti& e) {
        for (uint8_t n : e)
            estratti.set(n);
    }
    int Punti(const Puntata& p) const {
        int h = 0;
        for (int i = 0; i < p.quanti; ++i)
            h += p.numeri[size_t(i)] != 0 && estratti.test(p.numeri[size_t(i)]);
        return h;
    }
};

} // namespace

std::optional<EsitoVerifica> VerificaEstrazione(const SystemRecord& record,
                                                const QList<std::pair<int, Estratti>>& draws,
                                                int divisore) {
    const std::optional<Puntate> puntate = Prepara(record);
    if (!puntate)
        return std::nullopt;
    EsitoVerifica out;
    out.divisore = divisore;
    for (const Scommessa& bet : Scommesse) {
        const Puntata& p = (*puntate)[size_t(bet.group)];
        double lordo = 0;
        for (const auto& [ruota, numeri] : draws) {
            EsitoScommessa e;
            e.scommessa = bet.group;
            e.ruota = ruota;
            e.numeri.assign(p.numeri.begin(), p.numeri.begin() + p.quanti);
            const Segnati segnati(numeri);
            for (uint8_t n : e.numeri)
                e.estratti.push_back(n != 0 &&
                                     std::find(numeri.begin(), numeri.end(), n) != numeri.end());
            e.punti = segnati.Punti(p);
            for (int k = 0; k < p.membri; ++k) {
                const int tipo = p.numeriTipo[size_t(k)];
                if (tipo <= e.punti && p.unita[size_t(k)] != 0)
                    e.vinte.push_back({k, Binomiale(e.punti, tipo), p.unita[size_t(k)]});
            }
            e.lordo = LordoRuota(p, e.punti, divisore);
            lordo += e.lordo;
            out.scommesse.append(std::move(e));
        }
        if (!draws.isEmpty())
            out.scommesse.back().ultima = true;
        EsitoSchedina& s = out.schedine[size_t(bet.group)];
        s.importi = Schedina(lordo, p.spesa, &s.limitata);
        s.righe = int(draws.size());
        out.totali += s.importi;
    }
    return out;
}

QString DescriviCombinazioni(const Scommessa& bet, const Combinazioni& c, int divisore,
                             const QLocale& locale) {
    static constexpr std::array<std::array<const char*, 2>, 5> nomi = {{{"estratto", "estratti"},
                                                                        {"ambo", "ambi"},
                                                                        {"terno", "terni"},
                                                                        {"quaterna", "quaterne"},
                                                                        {"cinquina", "cinquine"}}};
    const int tipo = bet.size == 1 ? 0 : c.membro + 1;
    QString text = QStringLiteral("%1 %2 \u00D7 %3")
                       .arg(c.combinazioni)
                       .arg(QLatin1String(nomi[size_t(tipo)][c.combinazioni != 1]),
                            FormatoVincita(c.unita, locale));
    if (divisore != 1)
        text += QStringLiteral(" /%1").arg(divisore);
    return text;
}

QString VinciteDivise(int divisore) {
    return divisore == 1 ? QString()
                         : QStringLiteral(" (vincite divise per %1 ruote)").arg(divisore);
}

EstrazioniDelGiorno EstrazioniDel(const Archivio& archivio, const QDate& data,
                                  const QString& ruota) {
    EstrazioniDelGiorno out;
    const QList<int> ruote = RuoteDaVerificare(ruota);
    const auto it = archivio.estrazioni.find(data);
    for (int r : ruote) {
        if (const Estratti* e = archivio.Trova(data, r))
            out.draws.append({r, *e});
        else
            out.mancanti.append(r);
    }
    if (!out.draws.isEmpty())
        return out;
    out.messaggio =
        it == archivio.estrazioni.end()
            ? QStringLiteral("L'archivio non ha estrazioni del %1.").arg(FormatoData(data))
            : QStringLiteral("L'archivio non ha l'estrazione del %1 sulla ruota %2.")
                  .arg(FormatoData(data), ruota.trimmed());
    if (const QDate before = archivio.Precedente(data, ruote); before.isValid())
        out.messaggio +=
            QStringLiteral(" L'estrazione precedente è del %1.").arg(FormatoData(before));
    return out;
}

QString RuoteMancanti(const QList<int>& mancanti) {
    QStringList nomi;
    for (int r : mancanti)
        nomi << NomeRuota(r);
    if (nomi.isEmpty())
        return {};
    if (nomi.size() == 1)
        return QStringLiteral("Manca la ruota di %1.").arg(nomi[0]);
    const QString last = nomi.takeLast();
    return QStringLiteral("Mancano le ruote di %1 e %2.")
        .arg(nomi.join(QStringLiteral(", ")), last);
}

std::optional<EsitoColpi> SeguiSistema(const SystemRecord& record, const Archivio& archivio,
                                       const QDate& dal, int colpi) {
    const QList<int> ruote = RuoteDaVerificare(record.Ruota);
    const std::optional<Puntate> puntate = Prepara(record);
    if (ruote.isEmpty() || !puntate)
        return std::nullopt;
    const int divisore = DivisoreVincite(record.Ruota);
    EsitoColpi out;
    std::vector<Segnati> segnati;
    segnati.reserve(size_t(ruote.size()));
    for (auto it = archivio.estrazioni.lower_bound(dal);
         it != archivio.estrazioni.end() && (colpi <= 0 || int(out.colpi.size()) < colpi); ++it) {
        Colpo c;
        c.data = it->first;
        segnati.clear();
        for (int r : ruote) {
            const Estratti& e = it->second[size_t(r)];
            if (e[0] == 0)
                c.mancanti |= uint16_t(1u << r);
            else
                segnati.emplace_back(e);
        }
        if (segnati.empty()) // none of the system's wheels drawn that day
            continue;
        for (int g = 0; g < NumeroGruppi; ++g) {
            const Puntata& p = (*puntate)[size_t(g)];
            double lordo = 0;
            for (const Segnati& s : segnati) {
                const int h = s.Punti(p);
                c.punti[size_t(g)] = std::max(c.punti[size_t(g)], uint8_t(h));
                lordo += LordoRuota(p, h, divisore);
            }
            bool limitata; // set, and not shown draw by draw
            const Totali t = Schedina(lordo, p.spesa, &limitata);
            c.importi += t;
            if (t.lordo > 0)
                c.vincenti |= uint16_t(1u << g);
        }
        out.totali += c.importi;
        c.saldo = out.totali.Saldo();
        out.colpi.push_back(c);
    }
    return out;
}

QString DescriviColpo(const Colpo& colpo) {
    QStringList vinte;
    for (int g = 0; g < NumeroGruppi; ++g)
        if (colpo.vincenti >> g & 1)
            vinte << Scommesse[size_t(g)].Nome() + QStringLiteral(": ") +
                         Punti(colpo.punti[size_t(g)]);
    QString text =
        vinte.isEmpty() ? QStringLiteral("nessuna vincita") : vinte.join(QStringLiteral(", "));
    QList<int> mancanti;
    for (int r = 0; r < NumeroRuote; ++r)
        if (colpo.mancanti >> r & 1)
            mancanti << r;
    if (!mancanti.isEmpty()) { // "(mancano le ruote di Bari e Napoli)"
        QString said = RuoteMancanti(mancanti);
        said.chop(1);
        text += QStringLiteral(" (") + said.at(0).toLower() + said.mid(1) + QLatin1Char(')');
    }
    return text;
}

} // namespace corpo
