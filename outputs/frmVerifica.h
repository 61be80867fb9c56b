// The check of a system against a draw, typed by the player or taken from the
// imported draw archive, or over many draws of the archive; the result on
// screen, on the listing's printer or in a PDF.
#pragma once

#include "app/runerror.h"
#include "gioco/verifica.h"

#include <QDialog>
#include <QString>
#include <memory>

class QChartView;
class QThread;
class QWidget;

namespace Ui {
class frmVerifica;
}

namespace corpo {

class GuardiaStampa;
class PrinterPage;

// Opens the check of `sistema`, modal over parent; it prints on pagina.
void ApriVerifica(const SystemRecord& sistema, PrinterPage& pagina, QWidget* parent);

// The result as one page on `page`, ended with EndDoc. `estrazione`
// says which draw it was, `avviso` which wheels it lacked. Failures are
// thrown (corpo::RunError).
void StampaVerifica(PrinterPage& page, const SystemRecord& sistema, const EsitoVerifica& esito,
                    const QString& estrazione, const QString& avviso = {});
// The system followed over many draws: the balance drawn, one line per draw,
// the totals; as many pages as the lines take, ended with EndDoc.
void StampaColpi(PrinterPage& page, const SystemRecord& sistema, const EsitoColpi& esito,
                 const QString& intestazione);

class frmVerifica : public QDialog {
    Q_OBJECT
    std::unique_ptr<Ui::frmVerifica> ui;

public:
    frmVerifica(const SystemRecord& sistema, PrinterPage& pagina, QWidget* parent = nullptr);
    ~frmVerifica() override;

    // Checks the draw the window shows, or the draws from its date, or tells
    // the player why there is none to check (and clears an earlier result).
    void Verifica();
    // Imports the archive file and shows its dates.
    void Importa(const QString& file);

private:
    // The stored archive, read on a thread of its own: however big, it never
    // holds up the window. Until it is read the date field is off.
    void ArchivioLetto();
    std::unique_ptr<QThread> lettore_;
    std::optional<Archivio> letto_;
    RunError erroreLettura_;

    void MostraDate();
    void SegnaEstrazioni(int anno, int mese);
    void Pulisci();
    void Mostra(const EsitoVerifica& esito);
    void MostraColpi(const EsitoColpi& esito);
    void Stampa(bool pdf);

    const SystemRecord sistema_;
    PrinterPage& pagina_;
    GuardiaStampa* guardia_ = nullptr;
    QChartView* grafico_ = nullptr;
    Archivio archivio_;
    std::optional<EsitoVerifica> esito_;
    std::optional<EsitoColpi> colpi_;
    QString estrazione_; // the draw (or draws) the result belongs to
    QString avviso_;     // the wheels the draw lacks
};

} // namespace corpo
