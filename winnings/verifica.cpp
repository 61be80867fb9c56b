#include "winnings/verifica.h"

#include "app/fileio.h"
#include "winnings/prospetto.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>

namespace corpo {

namespace {

constexpr std::array<const char*, NumRuote> Codici = {"BA", "CA", "FI", "GE", "MI", "NA",
                                                      "PA", "RM", "TO", "VE", "RN"};
constexpr std::array<const char*, NumRuote> Nomi = {"Bari",   "Cagliari", "Firenze",  "Genova",
                                                    "Milano", "Napoli",   "Palermo",  "Roma",
                                                    "Torino", "Venezia",  "Nazionale"};
const QString Tutte = QStringLiteral("Tutte");

// An archive bigger than this is no draw archive (the whole history is a few MB).
constexpr qint64 ArchivioMassimo = 64 << 20;
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
        if (p[0] == Codici[size_t(i)][0] && p[1] == Codici[size_t(i)][1])
            return i;
    return -1;
}

// One line: the date, the wheel and the draw, or why it cannot be read.
struct Riga {
    QDate data;
    int ruota = -1;
    Estratti numeri{};
    const char* errore = nullptr;
};

Riga LeggiRiga(const char* p, const char* end) {
    Riga r;
    for (const char* q = p; q != end; ++q)
        if ((static_cast<unsigned char>(*q) < 0x20 && !Separatore(*q)) ||
            static_cast<unsigned char>(*q) >= 0x7F) {
            r.errore = "contiene caratteri che non sono testo";
            return r;
        }
    std::array<std::pair<const char*, const char*>, 8> campi;
    int n = 0;
    while (p != end) {
        while (p != end && Separatore(*p))
            ++p;
        if (p == end)
            break;
        const char* from = p;
        while (p != end && !Separatore(*p))
            ++p;
        if (n == int(campi.size())) {
            ++n;
            break;
        }
        campi[size_t(n++)] = {from, p};
    }
    if (n == 0) {
        r.errore = "è vuota";
        return r;
    }
    if (n != 7) {
        r.errore = "non ha data, ruota e cinque numeri";
        return r;
    }
    const auto [d, dEnd] = campi[0];
    if (dEnd - d != 10 || d[4] != '/' || d[7] != '/') {
        r.errore = "ha una data impossibile";
        return r;
    }
    r.data = QDate(Intero(d, d + 4, 4), Intero(d + 5, d + 7, 2), Intero(d + 8, d + 10, 2));
    if (!r.data.isValid()) {
        r.errore = "ha una data impossibile";
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

void Unisci(Archivio& into, const Archivio& from) {
    for (const auto& [data, ruote] : from.estrazioni) {
        auto& dove = into.estrazioni[data];
        for (int i = 0; i < NumRuote; ++i)
            if (ruote[size_t(i)][0] != 0)
                dove[size_t(i)] = ruote[size_t(i)];
    }
}

} // namespace

QString CodiceRuota(int ruota) { return QString::fromLatin1(Codici.at(size_t(ruota))); }
QString NomeRuota(int ruota) { return QString::fromLatin1(Nomi.at(size_t(ruota))); }

QList<int> RuoteDaVerificare(const QString& ruota) {
    const QString name = ruota.trimmed();
    if (name.compare(Tutte, Qt::CaseInsensitive) == 0) {
        QList<int> all;
        for (int i = 0; i < RuoteCitta; ++i)
            all << i;
        return all;
    }
    for (int i = 0; i < NumRuote; ++i)
        if (name.compare(NomeRuota(i), Qt::CaseInsensitive) == 0)
            return {i};
    return {};
}

int DivisoreVincite(const QString& ruota) {
    return ruota.trimmed().compare(Tutte, Qt::CaseInsensitive) == 0 ? RuoteCitta : 1;
}

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

QList<QDate> Archivio::Date() const {
    QList<QDate> out;
    out.reserve(qsizetype(estrazioni.size()));
    for (auto it = estrazioni.rbegin(); it != estrazioni.rend(); ++it)
        out << it->first;
    return out;
}

int Archivio::Righe() const {
    int n = 0;
    for (const auto& [data, ruote] : estrazioni)
        for (const Estratti& e : ruote)
            n += e[0] != 0;
    return n;
}

LetturaArchivio LeggiArchivio(const QByteArray& bytes) {
    LetturaArchivio out;
    const char* p = bytes.constData();
    const char* const end = p + bytes.size();
    int line = 0;
    while (p != end) {
        const char* eol = std::find(p, end, '\n');
        ++line;
        const Riga r = LeggiRiga(p, eol);
        if (r.errore)
            out.scartate.append({line, QString::fromUtf8(r.errore)});
        else
            out.archivio.estrazioni[r.data][size_t(r.ruota)] = r.numeri;
        p = eol == end ? end : eol + 1;
    }
    return out;
}

QByteArray ScriviArchivio(const Archivio& archivio) {
    QByteArray out;
    out.reserve(archivio.Righe() * 28);
    char buf[64];
    for (const auto& [data, ruote] : archivio.estrazioni)
        for (int i = 0; i < NumRuote; ++i) {
            const Estratti& e = ruote[size_t(i)];
            if (e[0] == 0)
                continue;
            const int n = std::snprintf(buf, sizeof buf, "%04d/%02d/%02d\t%s\t%d\t%d\t%d\t%d\t%d\n",
                                        data.year(), data.month(), data.day(), Codici[size_t(i)],
                                        e[0], e[1], e[2], e[3], e[4]);
            out.append(buf, n);
        }
    return out;
}

QString MessaggioRigheScartate(const LetturaArchivio& lettura) {
    if (lettura.scartate.isEmpty())
        return {};
    QString text = QStringLiteral("Alcune righe dell'archivio non sono state lette:\n");
    for (int i = 0; i < lettura.scartate.size() && i < RigheNominate; ++i)
        text += QStringLiteral("\nla riga %1 %2")
                    .arg(lettura.scartate[i].first)
                    .arg(lettura.scartate[i].second);
    if (lettura.scartate.size() > RigheNominate)
        text +=
            QStringLiteral("\n... e altre %1 righe").arg(lettura.scartate.size() - RigheNominate);
    text += QStringLiteral("\n\nRighe lette: %1.").arg(lettura.archivio.Righe());
    return text;
}

QString PercorsoArchivio() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/estrazioni.txt");
}

std::optional<Archivio> CaricaArchivio(RunError* error) {
    const QString path = PercorsoArchivio();
    if (!QFileInfo::exists(path))
        return Archivio{};
    const std::optional<QByteArray> bytes = ReadSmallFile(path, ArchivioMassimo, error);
    if (!bytes)
        return std::nullopt;
    // The stored file is ours and was written whole: every line reads.
    return LeggiArchivio(*bytes).archivio;
}

EsitoImportazione ImportaArchivio(const QString& file) {
    EsitoImportazione out;
    RunError error;
    const std::optional<Archivio> stored = CaricaArchivio(&error);
    out.archivio = stored.value_or(Archivio{});
    const QFileInfo info(file);
    if (!info.isFile()) {
        out.messaggio = QStringLiteral("Il file %1 non esiste o non è un file.")
                            .arg(QDir::toNativeSeparators(file));
        return out;
    }
    if (info.size() > ArchivioMassimo) {
        out.messaggio = QStringLiteral("Il file %1 è troppo grande per un archivio delle "
                                       "estrazioni.")
                            .arg(QDir::toNativeSeparators(file));
        return out;
    }
    const std::optional<QByteArray> bytes = ReadSmallFile(file, ArchivioMassimo, &error);
    if (!bytes) {
        out.messaggio = QStringLiteral("Il file %1 non si può leggere (%2).")
                            .arg(QDir::toNativeSeparators(file), error.description);
        return out;
    }
    if (bytes->trimmed().isEmpty()) {
        out.messaggio = QStringLiteral("Il file %1 è vuoto: nessuna estrazione letta.")
                            .arg(QDir::toNativeSeparators(file));
        return out;
    }
    const LetturaArchivio lettura = LeggiArchivio(*bytes);
    out.messaggio = MessaggioRigheScartate(lettura);
    if (lettura.archivio.estrazioni.empty())
        return out;
    if (!stored) {
        // Writing over an archive we could not read would lose it.
        out.messaggio += QStringLiteral("\n\nL'archivio salvato non si può leggere (%1): "
                                        "l'importazione è annullata.")
                             .arg(error.description);
        return out;
    }
    Archivio merged = out.archivio;
    Unisci(merged, lettura.archivio);
    QDir().mkpath(QFileInfo(PercorsoArchivio()).absolutePath());
    if (!WriteFileAtomically(PercorsoArchivio(), ScriviArchivio(merged), &error)) {
        out.messaggio += QStringLiteral("\n\nL'archivio non si può salvare in %1 (%2).")
                             .arg(QDir::toNativeSeparators(PercorsoArchivio()), error.description);
        return out;
    }
    out.archivio = std::move(merged);
    out.salvato = true;
    return out;
}

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
