// The check of the current system against a draw: typed by the player or
// taken from the imported draw archive; the result on screen, on the
// listing's printer or in a PDF.
#pragma once

#include "app/corpo.h"
#include "app/runerror.h"
#include "gioco/verifica.h"

#include <QDialog>
#include <QString>
#include <memory>

class QThread;
class QWidget;

namespace Ui {
class frmVerifica;
}

namespace corpo {

class GuardiaStampa;

// Opens the check of the system, modal over parent.
void ApriVerifica(QWidget* parent, const SystemRecord& sistema);

// The result as one page on the printer page, ended with EndDoc. `estrazione`
// says which draw it was. Failures are thrown (corpo::RunError).
void StampaVerifica(const SystemRecord& sistema, const EsitoVerifica& esito,
                    const QString& estrazione);

class frmVerifica : public QDialog {
    Q_OBJECT
    std::unique_ptr<Ui::frmVerifica> ui;
    SystemRecord sistema_;

public:
    frmVerifica(QWidget* parent, const SystemRecord& sistema);
    ~frmVerifica() override;

    // Checks the draw the window shows, or tells the player why there is none
    // to check.
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
    void Mostra(const EsitoVerifica& esito);
    void Stampa(bool pdf);

    GuardiaStampa* guardia_ = nullptr;
    Archivio archivio_;
    std::optional<EsitoVerifica> esito_;
    QString estrazione_; // the draw the result belongs to
};

} // namespace corpo
