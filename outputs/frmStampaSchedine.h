// The slip window: which of the nine slips to print, the forecast sheet, and
// the way to the calibration window.
#pragma once

#include "app/corpo.h"

#include "outputs/taratura.h"
#include "printing/printerpage.h"

#include <QDialog>
#include <QPointer>
#include <memory>
#include <optional>
#include <utility>

namespace Ui {
class frmStampaSchedine;
}

namespace corpo {

class GuardiaStampa;

// Shows the slip window without blocking; it enables mainWindow again when it closes.
void MostraStampaSchedine(QWidget* mainWindow, const DatiCarta& carta, PrinterPage& pagina);

// A dialog that does not block: Esc and the title bar's button close it.
class frmStampaSchedine : public QDialog {
    Q_OBJECT
    std::unique_ptr<Ui::frmStampaSchedine> ui;

public:
    // mainWindow is enabled again when this window closes; every paper goes on pagina.
    frmStampaSchedine(QWidget* mainWindow, DatiCarta carta, PrinterPage& pagina);
    ~frmStampaSchedine() override;

    // Fills the window and loads the notice picture (with its message).
    void Form_Load();
    // Slips meDa..meA of the current system, one job.
    void StampaSchedina();
    TaraturaAmbetto Taratura = TaraturaPredefinita();
    DatiCarta Carta;     // the header is read again before each print
    PagePicture Vietato; // null when the picture could not be read
    int Massimo = 0;

    void reject() override;

public Q_SLOTS:
    void cmdStampa_Click();
    void cmdTaratura_Click();
    void cmdAnteprima_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void aggiornaComandi();
    // The slips meDa..meA; nullopt, after telling the player, when the range is bad.
    std::optional<std::pair<int, int>> Intervallo();
    // When slips are asked for, checks their range and then the slips against
    // the game's rules; false when the range is bad or the player chose not to
    // print them. Nothing has printed yet.
    bool RegoleAccettate();
    QPointer<QWidget> mainWindow_;
    PrinterPage& pagina_;
    GuardiaStampa* guardia_ = nullptr;
};

} // namespace corpo
