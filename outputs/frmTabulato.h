#pragma once

#include "app/corpo.h"
#include "app/settings.h"

#include "printing/printerpage.h"

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>

class QWidget;

namespace Ui {
class frmTabulato;
}

namespace corpo {

class GuardiaStampa;

// Opens the listing window, modal over parent; it prints on pagina.
void MostraTabulato(QWidget* parent, const DatiCarta& carta, PrinterPage& pagina);

// One copy of the listing on `page`, ended with EndDoc:
// colour or black and white, with the foot picture when it is not null, as
// a job of the given title. Failures are thrown (corpo::RunError) to the
// caller's trap.
void StampaCopiaTabulato(PrinterPage& page, const DatiCarta& carta, bool colore,
                         const PagePicture& foot, const QString& titolo);

// The title of copy `copia` of `copie`: "Bramasolovanti - Tabulato - <system
// name>", and " - copia 2 di 3" when there is more than one.
QString TitoloTabulato(const SystemRecord& sistema, int copia, int copie);

// The file name the PDF save dialog suggests: the system's name, trimmed,
// with "/" as "_", and ".pdf".
QString NomeFilePdf(const QString& nomeSistema);

// Asks where to save a PDF, in the documents folder, suggesting the file
// name `nome`; "" when the user cancels.
QString ChiediFilePdf(QWidget* parent, const QString& titolo, const QString& nome);
// Runs `stampa` with page writing the PDF file `path`, then points the page
// back where it was.
void StampaSuPdf(PrinterPage& page, const QString& path, const std::function<void()>& stampa);

// The listing window: copies, colour, settings, print.
class frmTabulato : public QDialog {
    Q_OBJECT
    std::unique_ptr<Ui::frmTabulato> ui;

public:
    frmTabulato(QWidget* parent, const DatiCarta& carta, PrinterPage& pagina);
    ~frmTabulato() override;

    // The listing as many times as labCopie says, each copy a job of its own,
    // with the standard reports on failure. The copies count wherever the
    // listing goes: jobs on paper, pages in the preview and in a PDF file.
    void StampaTabulato();
    // The printer the next listing goes to, as the window names it.
    QString StampanteInUso() const;

private Q_SLOTS:
    void cmdStampa_Click();
    void cmdImpostazioni_Click();
    void cmdAnteprima_Click();
    void VsCopie_Change(int value);
    void chkFilePdf_Click();

private:
    void caricaVietato();
    void MostraStampante();
    // Every copy, as a page of one PDF file the player names.
    bool StampaPdf();
    // False, after telling the player, when no copy is asked for.
    bool CopieScelte();

    GuardiaStampa* guardia_ = nullptr;
    PrinterPage& pagina_;
    PagePicture vietato_; // the foot picture, loaded at each press of Stampa
    DatiCarta carta_;
    Settings impostazioni_;
};

} // namespace corpo
