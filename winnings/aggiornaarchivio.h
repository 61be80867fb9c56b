// The draw archive brought up to date from where the operator publishes it:
// downloaded only when it changed, unpacked, checked and merged into the
// stored archive; from a window or from the command line.
#pragma once

#include "winnings/archivio.h"

#include <QDialog>
#include <functional>
#include <optional>

class QLineEdit;

namespace corpo {

// The most a download may bring: the whole history zipped is a few MB.
inline constexpr qint64 ZipMassimo = 20 << 20;
// From name look-up to the last byte, on a slow line too.
inline constexpr int ScadenzaAggiornamentoMinuti = 3;
inline constexpr int ScadenzaAggiornamentoMs = ScadenzaAggiornamentoMinuti * 60 * 1000;

// Where the archive is asked: the player's choice, else the build's.
QString IndirizzoArchivio();
QString IndirizzoArchivioPredefinito();
// Keeps the player's choice in his configuration (the build's own: forgets
// it). False, with the cause, when it cannot be written.
bool SalvaIndirizzoArchivio(const QString& indirizzo, RunError* error);

// The one file a zip holds, at most ArchivioMassimo unpacked; or why it is
// none, in Italian.
struct FileZip {
    QByteArray testo;
    QString nome;
    QString errore; // set when there is no file
};
FileZip LeggiZip(const QByteArray& zip);

struct EsitoAggiornamento {
    bool riuscito = false; // updated, or it already was
    bool salvato = false;  // the stored archive changed
    QString messaggio;     // what the player is told
    Archivio archivio;     // the stored archive, when it changed
};
// Any failure leaves the stored archive as it was. progress and cancelled as
// for Download.
EsitoAggiornamento AggiornaArchivio(const QString& indirizzo,
                                    const std::function<void(qint64, qint64)>& progress = {},
                                    const std::function<bool()>& cancelled = {});

// The address, which the player may change, and Aggiorna: the download with
// a progress bar and Annulla.
class frmAggiornaArchivio : public QDialog {
    Q_OBJECT
public:
    explicit frmAggiornaArchivio(QWidget* parent = nullptr);
    // Downloads from the address shown and tells what happened; closes
    // itself when the archive is up to date.
    void Aggiorna();
    std::optional<Archivio> nuovo; // the stored archive, when it changed

private:
    QLineEdit* indirizzo_;
};

// Opens the window modal over parent: the stored archive when it changed.
std::optional<Archivio> ApriAggiornaArchivio(QWidget* parent);

} // namespace corpo
