// The slip calibration window: nine distances and the slip printer, with a
// test print, a ruler sheet and a save.
#pragma once

#include "app/corpo.h"

#include "outputs/taratura.h"

#include <QDialog>
#include <array>
#include <functional>
#include <memory>

class QLineEdit;
class QScrollBar;

namespace Ui {
class frmTaraturaAmbetto;
}

namespace corpo {

class GuardiaStampa;
class PrinterPage;

// Reads "printA.cfg" into t and makes its printer the current one when a
// printer of exactly that name is installed. Failures are reported; t keeps
// what it held and the printer stays.
void LeggiTaraturaAmbetto(PrinterPage& page, TaraturaAmbetto& t);

// The first installed printer named exactly name becomes current; otherwise
// nothing changes, silently.
void ScegliStampanteSchedine(PrinterPage& page, const QString& name);

// Opens the calibration window modally over parent.
// The test page prints `carta`'s header and system name.
void MostraTaratura(QWidget* parent, const DatiCarta& carta, PrinterPage& pagina);

class frmTaraturaAmbetto : public QDialog {
    Q_OBJECT
    std::unique_ptr<Ui::frmTaraturaAmbetto> ui;

public:
    frmTaraturaAmbetto(QWidget* parent, DatiCarta carta, PrinterPage& pagina);
    ~frmTaraturaAmbetto() override;

    // Reads the calibration and fills the window (with its messages).
    void Form_Load();

    // The scroll bar and text box of distance i (file order).
    QScrollBar* barra(int i) const;
    QLineEdit* casella(int i) const;
    TaraturaAmbetto Taratura = TaraturaPredefinita();
    DatiCarta Carta;

public Q_SLOTS:
    void cmdTest_Click();
    void cmdSalva_Click();
    void cmdRighello_Click();
    // One sheet on the slip printer, one run at a time, with the printing report.
    void StampaFoglio(const std::function<void()>& foglio);
    // The test page over our picture of the slip, then the ruler sheet.
    void cmdAnteprima_Click();

private:
    void barraCambiata(int i);
    void casellaConfermata(int i);
    std::array<QScrollBar*, TaraturaDistanze> barre_{};
    std::array<QLineEdit*, TaraturaDistanze> caselle_{};
    bool inConferma_ = false;
    PrinterPage& pagina_;
    GuardiaStampa* guardia_ = nullptr;
};

} // namespace corpo
