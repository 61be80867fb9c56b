#include "winnings/aggiornaarchivio.h"

#include "app/fileio.h"
#include "app/messages.h"
#include "app/places.h"
#include "buildconfig.h"
#include "gioco/prospetto.h"
#include "update/download.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressDialog>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include <archive.h>
#include <archive_entry.h>
#include <memory>

namespace corpo {

namespace {

QString FileIndirizzo() { return ConfigPath(QStringLiteral("indirizzo_archivio.cfg")); }
// The address file and the one of the reply's validators hold a line or three.
constexpr qint64 FilePiccolo = 4096;

// What the last download's reply said, beside the archive: address,
// Last-Modified and ETag, one a line.
QString FileValidatori() { return PercorsoArchivio().chopped(4) + QStringLiteral(".scaricato"); }

QString Mb(qint64 bytes) { return FormatoConteggio(bytes >> 20); }

QString Motivo(const DownloadResult& r, const QUrl& url) {
    using O = DownloadResult::Outcome;
    const QString host = url.host();
    switch (r.outcome) {
    case O::NoNetwork:
        return QStringLiteral("Nessuna connessione con %1: controlla la rete e riprova.").arg(host);
    case O::Timeout:
        return QStringLiteral("%1 non ha mandato l'archivio entro %2 minuti: riprova più tardi.")
            .arg(host)
            .arg(ScadenzaAggiornamentoMinuti);
    case O::Cancelled:
        return QStringLiteral("Aggiornamento annullato: l'archivio è rimasto com'era.");
    case O::TooBig:
        return QStringLiteral("Il file all'indirizzo %1 supera i %2 MB: non è l'archivio delle "
                              "estrazioni.")
            .arg(url.toDisplayString(), Mb(ZipMassimo));
    case O::Certificate:
        return QStringLiteral("Il certificato di %1 non è stato accettato: la connessione non è "
                              "sicura e l'archivio non è stato scaricato.")
            .arg(host);
    case O::HttpStatus:
        return r.status == 404
                   ? QStringLiteral("All'indirizzo %1 non c'è nessun file (errore HTTP 404): "
                                    "controlla l'indirizzo dell'archivio.")
                         .arg(url.toDisplayString())
                   : QStringLiteral("%1 ha risposto con l'errore HTTP %2: l'archivio non è stato "
                                    "scaricato.")
                         .arg(host)
                         .arg(r.status);
    default: return QStringLiteral("Lo scaricamento da %1 non è riuscito.").arg(host);
    }
}

} // namespace

QString IndirizzoArchivioPredefinito() { return QStringLiteral(BRAMA_ARCHIVE_ADDRESS); }

QString IndirizzoArchivio() {
    const std::optional<QByteArray> saved = ReadSmallFile(FileIndirizzo(), FilePiccolo, nullptr);
    const QString text = saved ? QString::fromUtf8(*saved).trimmed() : QString();
    return text.isEmpty() ? IndirizzoArchivioPredefinito() : text;
}

bool SalvaIndirizzoArchivio(const QString& indirizzo, RunError* error) {
    const QString text = indirizzo.trimmed();
    if (text == IndirizzoArchivioPredefinito() || text.isEmpty())
        return !QFile::exists(FileIndirizzo()) || QFile::remove(FileIndirizzo());
    return WriteFileAtomically(FileIndirizzo(), text.toUtf8() + '\n', error);
}

FileZip LeggiZip(const QByteArray& zip) {
    FileZip out;
    // libarchive's own words are English: the player is told the fact.
    const QString rotto = QStringLiteral("Il file scaricato non è uno zip leggibile: l'archivio "
                                         "non è stato aggiornato.");
    const std::unique_ptr<archive, int (*)(archive*)> a(archive_read_new(), &archive_read_free);
    archive_read_support_format_zip(a.get());
    const QString nonUnFile = QStringLiteral("Lo zip scaricato non contiene un solo file: non "
                                             "è l'archivio delle estrazioni.");
    const auto fail = [&out](const QString& why) {
        out.testo.clear();
        out.errore = why;
        return out;
    };
    if (archive_read_open_memory(a.get(), zip.constData(), size_t(zip.size())) != ARCHIVE_OK)
        return fail(rotto);
    int files = 0;
    archive_entry* entry = nullptr;
    for (;;) {
        const int r = archive_read_next_header(a.get(), &entry);
        if (r == ARCHIVE_EOF)
            break;
        if (r < ARCHIVE_WARN)
            return fail(rotto);
        if (archive_entry_filetype(entry) == AE_IFDIR)
            continue;
        // A link or a device is no file to read: a zip of one is refused too.
        if (++files > 1 || archive_entry_filetype(entry) != AE_IFREG)
            return fail(nonUnFile);
        const char* name = archive_entry_pathname_utf8(entry);
        // A file without a name is still named in the messages.
        out.nome = name && *name ? QString::fromUtf8(name) : QStringLiteral("nello zip");
        std::array<char, 65536> buffer;
        for (la_ssize_t n; (n = archive_read_data(a.get(), buffer.data(), buffer.size())) != 0;) {
            if (n < 0)
                return fail(rotto);
            if (out.testo.size() + n > ArchivioMassimo)
                return fail(QStringLiteral("Il file nello zip scaricato supera i %1 MB: non è "
                                           "l'archivio delle estrazioni.")
                                .arg(Mb(ArchivioMassimo)));
            out.testo.append(buffer.data(), qsizetype(n));
        }
    }
    if (files != 1)
        return fail(nonUnFile);
    return out;
}

EsitoAggiornamento AggiornaArchivio(const QString& indirizzo,
                                    const std::function<void(qint64, qint64)>& progress,
                                    const std::function<bool()>& cancelled) {
    EsitoAggiornamento out;
    const QUrl url(indirizzo.trimmed(), QUrl::StrictMode);
    if (url.scheme().compare(QLatin1String("http"), Qt::CaseInsensitive) == 0) {
        out.messaggio = QStringLiteral("L'indirizzo %1 non è protetto: l'archivio si scarica "
                                       "solo da un indirizzo https://.")
                            .arg(indirizzo.trimmed());
        return out;
    }
    DownloadRequest request;
    request.address = indirizzo.trimmed();
    request.maxBytes = ZipMassimo;
    request.deadlineMs = ScadenzaAggiornamentoMs;
    request.progress = progress;
    request.cancelled = cancelled;
    // "Only if changed" asks about the archive we hold, from the same address.
    const QByteArray indirizzoUtf8 = request.address.toUtf8();
    if (QFileInfo::exists(PercorsoArchivio()))
        if (const std::optional<QByteArray> v =
                ReadSmallFile(FileValidatori(), FilePiccolo, nullptr)) {
            const QList<QByteArray> lines = v->split('\n');
            if (lines.size() >= 3 && lines[0] == indirizzoUtf8) {
                request.ifModifiedSince = lines[1];
                request.ifNoneMatch = lines[2];
            }
        }
    const DownloadResult r = Download(request);
    if (r.outcome == DownloadResult::Outcome::BadAddress) {
        out.messaggio = QStringLiteral("L'indirizzo %1 non è valido: scrivilo come "
                                       "https://sito/percorso/archivio.zip.")
                            .arg(request.address);
        return out;
    }
    if (r.outcome == DownloadResult::Outcome::NotModified) {
        out.riuscito = true;
        out.messaggio = QStringLiteral("L'archivio è già aggiornato.");
        return out;
    }
    if (r.outcome != DownloadResult::Outcome::Downloaded) {
        out.messaggio = Motivo(r, url);
        return out;
    }
    const FileZip file = LeggiZip(r.body);
    if (!file.errore.isEmpty()) {
        out.messaggio = file.errore;
        return out;
    }
    EsitoImportazione esito = ImportaTesto(file.testo, file.nome);
    if (!esito.salvato && !esito.invariato) {
        out.messaggio = esito.messaggio;
        return out;
    }
    // The next update asks only for what is newer; without these it asks for everything.
    WriteFileAtomically(FileValidatori(),
                        indirizzoUtf8 + '\n' + r.lastModified + '\n' + r.etag + '\n', nullptr);
    out.riuscito = true;
    out.salvato = esito.salvato;
    const QDate ultima = esito.archivio.Ultima();
    out.messaggio = esito.nuove == 0 ? QStringLiteral("L'archivio è già aggiornato.")
                    : esito.nuove == 1
                        ? QStringLiteral("1 nuova estrazione, del %1.").arg(FormatoData(ultima))
                        : QStringLiteral("%1 nuove estrazioni, l'ultima del %2.")
                              .arg(esito.nuove)
                              .arg(FormatoData(ultima));
    if (esito.avviso)
        out.messaggio += QStringLiteral("\n\n") + esito.messaggio;
    out.archivio = std::move(esito.archivio);
    return out;
}

frmAggiornaArchivio::frmAggiornaArchivio(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAggiornaArchivio"));
    setWindowTitle(QStringLiteral("Aggiorna archivio delle estrazioni"));
    auto* etichetta = new QLabel(QStringLiteral("&Indirizzo dell'archivio (zip):"), this);
    indirizzo_ = new QLineEdit(IndirizzoArchivio(), this);
    indirizzo_->setObjectName(QStringLiteral("txtIndirizzo"));
    indirizzo_->setAccessibleName(QStringLiteral("Indirizzo dell'archivio"));
    indirizzo_->setMinimumWidth(480);
    etichetta->setBuddy(indirizzo_);
    auto* predefinito = new QPushButton(QStringLiteral("Indirizzo &predefinito"), this);
    predefinito->setObjectName(QStringLiteral("cmdPredefinito"));
    connect(predefinito, &QPushButton::clicked, this,
            [this] { indirizzo_->setText(IndirizzoArchivioPredefinito()); });
    auto* bottoni = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    bottoni->button(QDialogButtonBox::Cancel)
        ->setText(QStringLiteral("Annulla")); // not Qt's English
    QPushButton* aggiorna =
        bottoni->addButton(QStringLiteral("&Aggiorna"), QDialogButtonBox::AcceptRole);
    aggiorna->setObjectName(QStringLiteral("cmdAggiorna"));
    aggiorna->setDefault(true);
    bottoni->addButton(predefinito, QDialogButtonBox::ResetRole);
    connect(bottoni, &QDialogButtonBox::accepted, this, &frmAggiornaArchivio::Aggiorna);
    connect(bottoni, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(etichetta);
    layout->addWidget(indirizzo_);
    layout->addWidget(bottoni);
}

void frmAggiornaArchivio::Aggiorna() {
    const QString indirizzo = indirizzo_->text().trimmed();
    if (indirizzo != IndirizzoArchivio()) {
        RunError error;
        if (!SalvaIndirizzoArchivio(indirizzo, &error))
            MsgBox(QStringLiteral("L'indirizzo non si può conservare (%1): vale solo per ora.")
                       .arg(error.description),
                   MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("Attenzione"));
    }
    QProgressDialog progress(QStringLiteral("Scarico l'archivio delle estrazioni..."),
                             QStringLiteral("Annulla"), 0, 0, this);
    progress.setObjectName(QStringLiteral("dlgScaricamento"));
    progress.setAccessibleName(QStringLiteral("Scaricamento dell'archivio"));
    progress.setWindowTitle(windowTitle());
    progress.setWindowModality(Qt::WindowModal);
    progress.setAutoReset(false);
    progress.show();
    const EsitoAggiornamento esito = AggiornaArchivio(
        indirizzo,
        [&progress](qint64 got, qint64 total) {
            // A size not announced (-1) makes a busy bar, which shows no value.
            progress.setMaximum(int(std::max(total, qint64{}) >> 10));
            progress.setValue(int(got >> 10));
        },
        [&progress] { return progress.wasCanceled(); });
    progress.close();
    MsgBox(esito.messaggio, MsgButtons::Ok,
           esito.riuscito ? MsgIcon::Information : MsgIcon::Exclamation,
           esito.riuscito ? QStringLiteral("Aggiorna archivio") : QStringLiteral("Attenzione"));
    if (esito.salvato)
        nuovo = esito.archivio;
    if (esito.riuscito)
        accept();
}

std::optional<Archivio> ApriAggiornaArchivio(QWidget* parent) {
    frmAggiornaArchivio dlg(parent);
    dlg.exec();
    return std::move(dlg.nuovo);
}

} // namespace corpo
