#include "gioco/verifica.h"

#include "gioco/prospetto.h"
#include "gioco/ruote.h"

#include <algorithm>

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

int IndiceCodice(const char* p, const char* end) {
    if (end - p != 2)
        return -1;
    for (int i = 0; i < NumRuote; ++i)
        if (p[0] == Ruote[size_t(i)].codice[0] && p[1] == Ruote[size_t(i)].codice[1])
            return i;
    return -1;
}

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
        if (v < 1 || v > 90) {
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

} // namespace

EstrazioneDigitata LeggiEstrazione(const std::array<QString, 5>& campi) {
    EstrazioneDigitata out;
    Estratti numeri{};
    for (int i = 0; i < 5; ++i) {
        const QString text = campi[size_t(i)].trimmed();
        bool ok = false;
        const int v = text.toInt(&ok);
        out.campo = i;
        if (text.isEmpty()) {
            out.messaggio = QStringLiteral("Mancano dei numeri: scrivi tutti e cinque i numeri "
                                           "estratti sulla ruota.");
            return out;
        }
        if (!ok || v < 1 || v > 90) {
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
    if (it == estrazioni.end() || ruota < 0 || ruota >= NumRuote ||
        it->second[size_t(ruota)][0] == 0)
        return nullptr;
    return &it->second[size_t(ruota)];
}

QDate Archivio::Precedente(const QDate& data, const QList<int>& ruote) const {
    for (auto it = std::make_reverse_iterator(estrazioni.lower_bound(data));
         it != estrazioni.rend(); ++it)
        for (int r : ruote)
            if (r >= 0 && r < NumRuote && it->second[size_t(r)][0] != 0)
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
    auto giorno = out.archivio.estrazioni.end(); // lines come by date: the last one's
    int line = 0;
    for (; p != end; ++line) {
        const char* const eol = std::find(p, end, '\n');
        const char* const from = p;
        p = eol == end ? end : eol + 1;
        if (from == eol) // the commonest blank line, at no cost
            continue;
        const Riga r = LeggiRiga(from, eol, domani);
        if (r.vuota)
            continue;
        ++out.righe;
        if (r.errore) {
            // Only what the message shows is kept: a file of junk costs no more.
            if (out.righeScartate++ < RigheNominate)
                out.scartate.append({line + 1, QString::fromUtf8(r.errore)});
            continue;
        }
        if (giorno == out.archivio.estrazioni.end() || giorno->first != r.data)
            giorno = out.archivio.estrazioni.try_emplace(r.data).first;
        giorno->second[size_t(r.ruota)] = r.numeri;
    }
    return out;
}

QByteArray ScriviArchivio(const Archivio& archivio) {
    QByteArray out;
    out.reserve(archivio.Righe() * 28);
    char buf[64];
    for (const auto& [data, ruote] : archivio.estrazioni) {
        int y = 0, m = 0, d = 0;
        data.getDate(&y, &m, &d); // once a date: a wheel's line repeats it
        for (int i = 0; i < NumRuote; ++i) {
            const Estratti& e = ruote[size_t(i)];
            if (e[0] == 0)
                continue;
            const int n =
                std::snprintf(buf, sizeof buf, "%04d/%02d/%02d\t%s\t%d\t%d\t%d\t%d\t%d\n", y, m, d,
                              Ruote[size_t(i)].codice, e[0], e[1], e[2], e[3], e[4]);
            out.append(buf, n);
        }
    }
    return out;
}

void UnisciArchivi(Archivio& into, const Archivio& from) {
    for (const auto& [data, ruote] : from.estrazioni) {
        auto& dove = into.estrazioni[data];
        for (int i = 0; i < NumRuote; ++i)
            if (ruote[size_t(i)][0] != 0)
                dove[size_t(i)] = ruote[size_t(i)];
    }
}

QString FormatoData(const QDate& data) { return data.toString(QStringLiteral("dd/MM/yyyy")); }

std::optional<EsitoVerifica> VerificaEstrazione(const SystemRecord& record,
                                                const QList<std::pair<int, Estratti>>& draws,
                                                int divisore) {
    const std::optional<Importi21> vincite = CalcolaVincite(StakesOf(record));
    if (!vincite)
        return std::nullopt;
    EsitoVerifica out;
    for (const auto& [ruota, numeri] : draws) {
        for (const Scommessa& bet : Scommesse) {
            EsitoScommessa e;
            e.scommessa = bet.group;
            e.ruota = ruota;
            const std::span<const uint8_t> played = bet.Numbers(record);
            e.numeri.assign(played.begin(), played.end());
            for (uint8_t n : e.numeri) {
                const bool drawn =
                    n != 0 && std::find(numeri.begin(), numeri.end(), n) != numeri.end();
                e.estratti.push_back(drawn);
                e.punti += drawn;
            }
            // The Estratto pays one number drawn; every other bet starts at the ambo,
            // its member k paying k + 2 numbers.
            const int member = bet.group == Estratto ? e.punti - 1 : e.punti - 2;
            if (member >= 0)
                e.vincita =
                    float(double((*vincite)[size_t(FirstStake(bet.group) + member)]) / divisore);
            out.totale += double(e.vincita);
            out.scommesse.append(std::move(e));
        }
    }
    return out;
}

} // namespace corpo
