// libFuzzer entry for the readers of outside data; FUZZ_<NAME> picks the
// reader. Besides not crashing, each checks what its callers rely on.
#include "app/corpo.h"
#include "app/fileio.h"
#include "app/handover.h"
#include "app/settings.h"
#include "gioco/controlloarchivio.h"
#include "gioco/numbers.h"
#include "gioco/statistiche.h"
#include "gioco/systemfile.h"
#include "gioco/verifica.h"
#include "outputs/taratura.h"
#include "update/versioncompare.h"
#include "winnings/aggiornaarchivio.h"
#include "winnings/archivio.h"

#include <QLocale>
#include <QTemporaryDir>
#include <cmath>
#include <cstdint>
#include <cstdlib>

using namespace corpo;

namespace {
void check(bool ok) {
    if (!ok)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
#if defined(FUZZ_SYSTEMFILE)
    const auto decoded = DecodeSystemFile(bytes);
    if (const LoadedSystem* s = std::get_if<LoadedSystem>(&decoded)) {
        // What opens is a possible system and saves to a file that opens alike.
        check(s->record.Capogioco <= 90 && s->record.ImpEstratto >= 0 &&
              s->record.ImpEstratto <= MaxStake);
        const QByteArray again = EncodeSystemFile(s->record, s->coloreVorlacco, s->coloreCapogioco);
        check(again.size() == SystemFileBytes);
        check(std::holds_alternative<LoadedSystem>(DecodeSystemFile(again)));
    }
#elif defined(FUZZ_TARATURA)
    TaraturaAmbetto t = DecodificaTaratura(bytes);
    if (TaraturaValida(t)) {
        const TaraturaAmbetto back = DecodificaTaratura(CodificaTaratura(t));
        for (int i = 0; i < TaraturaDistanze; ++i)
            check(Distanza(back, i) == Distanza(t, i));
        CalcolaLayout(t);
    }
    for (int i = 0; i < TaraturaDistanze; ++i) {
        const int bar = BarraDaCampo(Distanza(t, i));
        check(bar >= BarraMinima && bar <= BarraMassima);
    }
#elif defined(FUZZ_RUOTE)
    // A quoted name may span lines, but every name ends at a separator or the end.
    const qsizetype separators = bytes.count(',') + bytes.count('\n') + bytes.count('\r');
    check(LeggiRuote(FromCodePage(bytes)).size() <= separators + 1);
#elif defined(FUZZ_IMPOSTAZIONI)
    const QList<QByteArray> lines = SettingsLines(bytes);
    check(lines.size() <= 2);
    for (const QByteArray& line : lines)
        check(!line.contains('\n') && FromCodePage(line).size() == line.size());
#elif defined(FUZZ_VERSIONE)
    const QString line = FirstLine(bytes);
    check(!line.contains(QLatin1Char('\n')) && !line.contains(QLatin1Char('\r')));
    CompareVersions(StringaVersione(), line);
    check(CompareVersions(line, line) == VersionOrder::NotNewer);
#elif defined(FUZZ_TESTI)
    // Typed text: calibration distances in both notations, stakes.
    const QString text = QString::fromUtf8(bytes);
    for (const QLocale& l : {QLocale(QLocale::Italian, QLocale::Italy), QLocale::c()})
        if (const std::optional<int> v = BarraDaTesto(text, l))
            check(*v >= BarraMinima && *v <= BarraMassima);
    const float stake = ParseStake(text);
    check(!std::isnan(stake));
    FormatStake(stake);
#elif defined(FUZZ_ZIP)
    // The downloaded archive's zip: one file within the limit, or a reason.
    const FileZip z = LeggiZip(bytes);
    check(z.errore.isEmpty() ? !z.nome.isEmpty() && z.testo.size() <= ArchivioMassimo
                             : z.testo.isEmpty());
    LeggiArchivio(z.testo);
#elif defined(FUZZ_ARCHIVIO)
    // The reader keeps only what its message shows, and no date out of the
    // game's life; an import stores every draw read, or changes nothing.
    static QTemporaryDir folder; // the data folder itself, with no program name
    static const QString file = folder.filePath(QStringLiteral("importa.txt"));
    qputenv("XDG_DATA_HOME", folder.path().toLocal8Bit());
    const LetturaArchivio l = LeggiArchivio(bytes);
    const Archivio& read = l.archivio;
    check(l.scartate.size() == std::min(l.righeScartate, 20) && l.righeScartate <= l.righe);
    check(read.estrazioni.empty() ||
          (read.Prima().year() >= 1871 && read.Ultima() <= QDate::currentDate().addDays(1)));
    // A file found already in the stored form is stored as it came.
    check(!l.scritta || ScriviArchivio(read) == bytes);
    const std::optional<Archivio> before = CaricaArchivio(nullptr);
    check(WriteFileAtomically(file, bytes, nullptr));
    const EsitoImportazione e = ImportaArchivio(file);
    const std::optional<Archivio> after = CaricaArchivio(nullptr);
    check(before && after && (e.salvato || e.invariato) == !read.estrazioni.empty());
    check(e.salvato || after->estrazioni == before->estrazioni);
    for (const auto& [giorno, ruote] : read.estrazioni)
        for (int r = 0; r < NumeroRuote; ++r) {
            const Estratti* got = after->Trova(giorno, r);
            check(!ruote[size_t(r)][0] || (got && *got == ruote[size_t(r)]));
        }
    // The self-check names what it counts; no grape's absence outlasts the draws.
    const ControlloArchivio c = ControllaArchivio(read);
    check(c.rilievi.size() == std::min(c.totale, 500));
    SystemRecord bunch;
    bunch.Cinq1 = {1, 2, 3, 4, 90};
    const Statistiche s = CalcolaStatistiche(read, bunch, int(size % NumeroRuote));
    for (const StatisticaNumero& n : std::span(s.numeri).first(5))
        check(n.ritardo <= n.ritardoMax && n.ritardoMax + n.frequenza <= s.estrazioni);
    if (after->estrazioni.size() > 2000) // each run stays quick
        QFile::remove(PercorsoArchivio());
#elif defined(FUZZ_CONSEGNA)
    // What the running copy takes from its socket: a whole message is the
    // one its path gives back, and the same short of its last byte waits.
    const HandOver h = ParseHandOver(bytes);
    if (h.kind == HandOver::Open || h.kind == HandOver::Activate)
        check(HandOverMessage(h.file) == bytes &&
              ParseHandOver(bytes.chopped(1)).kind == HandOver::Incomplete);
    // Any absolute path arrives as sent, or is not sent at all.
    const QString path = QLatin1Char('/') + QString::fromUtf8(bytes);
    const QByteArray message = HandOverMessage(path);
    check(message.isEmpty()
              ? path.toUtf8().size() > MaxPathBytes
              : message.size() <= MaxHandOverBytes && ParseHandOver(message).file == path);
#endif
    return 0;
}
