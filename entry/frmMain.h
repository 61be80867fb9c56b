// The main window: the bunch of numbers, the stakes, and every button that
// works on the current system.
#pragma once

#include "app/corpo.h"
#include "app/settings.h"
#include "entry/documento.h"
#include "gioco/numbers.h"
#include "printing/printerpage.h"

#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace Ui {
class frmMain;
}

namespace corpo {

class Ridimensionatore;
class Acino;

class frmMain : public QWidget {
    Q_OBJECT
public:
    // Builds the window; the system is set up only by carica().
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // The load handler: caption, wheel list, empty system, settings.
    void carica();

    // The empty system in the window and the record.
    void NuovoSistema();
    // The record's numbers into the number fields.
    void NumeriNeiCampi();
    // Checks the 29 numbers, copying them into the record; false (the user
    // has been told and the focus is on the field) on the first fault.
    bool VerificaSistema();
    // 1 asks for the head number, 0 re-applies the one in the record.
    void ImpostaCapogioco(uint8_t mode);
    void NumeriCasuali();

    // The stake fields into the record and the total, and back.
    void ImportiDaiCampi();
    void ImportiNeiCampi();
    void ImpostaImporti10();
    void ImpostaImporti20();

    // Paint the bunch; neither changes the stored colours.
    void ImpostaColoreVorlacco(int32_t colour);
    void ImpostaColoreCapogioco(int32_t colour);

    // Save is false when nothing was written (refused, cancelled or failed).
    bool SalvaSistema();
    void ApriSistema();
    // Asks to save a system changed since it was saved or opened; false when
    // the user keeps it (Annulla, or a save that did not happen).
    bool ChiediSalvataggio();
    // What Open does once the file is chosen, with the same messages.
    void ApriFileSistema(const QString& path);

    // The system in the window, its colours, its file and whether it changed.
    const Documento& documento() const { return doc_; }
    Documento& documento() { return doc_; }

    // The range check every change of a number field runs.
    void ControllaValore(QLineEdit* field);

    QLineEdit* campoNumero(int group, int position) const;
    QLineEdit* campoImporto(int group, int index) const;
    Acino* acino(int index) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // What every button that shows or prints the system does first: the
    // wheel into the record, the check (with its message), the stakes read.
    bool SistemaPronto();
    void cmdVincite_Click();
    void cmdPrnTabulato_Click();
    void cmdPrnSchedine_Click();
    void cmdVerifica_Click();
    void cmdColoreVorlacco_Click();
    void cmdColoraCapogioco_Click();
    // The colour picker on `colore`, previewing each choice with `dipingi`;
    // a saved choice changes the document.
    void ScegliColore(int32_t& colore, const std::function<void(int32_t)>& dipingi);
    bool sulloSfondo(const QPoint& pos) const;
    void coloraCampo(QLineEdit* field, int32_t colour);
    bool filtraTasto(QLineEdit* field, QKeyEvent* key, bool stake);
    // Whether text typed or pasted into the field is refused (the user has
    // been told), else it goes in.
    bool rifiutaInserimento(QLineEdit* field, const QString& inserted, bool stake);
    QString cartellaSistemi() const;

    std::unique_ptr<Ui::frmMain> ui;
    Settings impostazioni_; // read at start; a paper's window reads them again
    // What the papers print from: the system as it stands, its colours, the header.
    DatiCarta carta() const;
    std::array<std::array<QLineEdit*, 5>, NumeroGruppi> numbers_{};
    std::array<std::array<QLineEdit*, 4>, NumeroGruppi> stakes_{};
    std::array<Acino*, NumeroNumeri> grapes_{};
    Ridimensionatore* resizer_ = nullptr;
    bool backgroundPressed_ = false;
    Documento doc_;
    PrinterPage stampante_; // every paper of this window and of the windows it opens
};

} // namespace corpo
