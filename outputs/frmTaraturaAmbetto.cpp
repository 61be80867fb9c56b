#include "outputs/frmTaraturaAmbetto.h"

#include "app/art.h"
#include "app/corpo.h"
#include "app/fileio.h"
#include "app/messages.h"
#include "app/printers.h"
#include "outputs/anteprima.h"
#include "outputs/erroristampa.h"
#include "outputs/guardiastampa.h"
#include "outputs/stampaschedine.h"
#include "printing/printerpage.h"
#include "ui_frmTaraturaAmbetto.h"

#include <QGroupBox>
#include <QLocale>
#include <algorithm>

namespace corpo {

void ScegliStampanteSchedine(PrinterPage& page, const QString& name) {
    // Asking for a name nobody has must not move the job to another printer.
    if (InstalledPrinters().contains(name))
        page.SelectPrinter(name);
}

void LeggiTaraturaAmbetto(PrinterPage& page, TaraturaAmbetto& t) {
    if (LeggiFileTaratura(t))
        ScegliStampanteSchedine(page, t.Stampante);
}

void MostraTaratura(QWidget* parent, const DatiCarta& carta, PrinterPage& pagina) {
    frmTaraturaAmbetto w(parent, carta, pagina);
    w.Form_Load();
    w.exec();
}

frmTaraturaAmbetto::frmTaraturaAmbetto(QWidget* parent, DatiCarta carta, PrinterPage& pagina)
    : QDialog(parent), ui(new Ui::frmTaraturaAmbetto), Carta(std::move(carta)), pagina_(pagina) {
    ui->setupUi(this);
    ShowArt(ui->Image1, QStringLiteral(":/schedine/schedina.svg"));
    barre_ = {ui->VsX,        ui->VsY,        ui->vsTop,       ui->vsLeft,     ui->vsIntestazione,
              ui->vsXimporti, ui->vsYimporti, ui->vsDXimporti, ui->vsDYimporti};
    caselle_ = {
        ui->labX,        ui->labY,        ui->labTop,       ui->labLeft,     ui->labIntestazione,
        ui->labXimporti, ui->labYimporti, ui->labDXimporti, ui->labDYimporti};
    for (int i = 0; i < TaraturaDistanze; ++i) {
        barre_[size_t(i)]->setRange(MinimoBarra(i), BarraMassima);
        connect(barre_[size_t(i)], &QScrollBar::valueChanged, this,
                [this, i] { barraCambiata(i); });
        connect(caselle_[size_t(i)], &QLineEdit::editingFinished, this,
                [this, i] { casellaConfermata(i); });
    }
    // "X :" alone does not tell the nine boxes apart: their frame's title does.
    for (QLabel* label : findChildren<QLabel*>()) {
        auto* frame = qobject_cast<QGroupBox*>(label->parentWidget());
        const auto box = std::find(caselle_.begin(), caselle_.end(), label->buddy());
        if (!frame || box == caselle_.end())
            continue;
        const QString name =
            frame->title() + QStringLiteral(", ") + label->text().remove(QStringLiteral(" :"));
        (*box)->setAccessibleName(name);
        barre_[size_t(box - caselle_.begin())]->setAccessibleName(name);
    }
    guardia_ = new GuardiaStampa(this);
    guardia_->proteggi(ui->cmdTest);
    guardia_->proteggi(ui->cmdRighello);
    connect(ui->cmdTest, &QPushButton::clicked, this, &frmTaraturaAmbetto::cmdTest_Click);
    connect(ui->cmdSalva, &QPushButton::clicked, this, &frmTaraturaAmbetto::cmdSalva_Click);
    connect(ui->cmdRighello, &QPushButton::clicked, this, &frmTaraturaAmbetto::cmdRighello_Click);
    connect(ui->cmdAnteprima, &QPushButton::clicked, this, &frmTaraturaAmbetto::cmdAnteprima_Click);
}

frmTaraturaAmbetto::~frmTaraturaAmbetto() {
    // A box losing its focus while the window is torn down must not reach us.
    for (QLineEdit* box : caselle_)
        box->disconnect(this);
}

QScrollBar* frmTaraturaAmbetto::barra(int i) const { return barre_[size_t(i)]; }
QLineEdit* frmTaraturaAmbetto::casella(int i) const { return caselle_[size_t(i)]; }

void frmTaraturaAmbetto::Form_Load() {
    LeggiTaraturaAmbetto(pagina_, Taratura);

    const QStringList printers = InstalledPrinters();
    ui->cmbStampante->addItems(printers);
    ui->cmbStampante->setCurrentIndex(
        int(printers.indexOf(InitialPrinter(printers, Taratura.Stampante))));
    if (printers.isEmpty()) {
        MsgBox(QStringLiteral("Attenzione nessuna stampante installata"), MsgButtons::Ok,
               MsgIcon::Critical, QStringLiteral("Importante"));
    } else if (ui->cmbStampante->currentText().isEmpty()) {
        MsgBox(QStringLiteral("Attenzione non e' selezionata nessuna stampante"), MsgButtons::Ok,
               MsgIcon::Critical, QStringLiteral("Importante"));
        ui->cmbStampante->setCurrentIndex(0);
    }

    for (int i = 0; i < TaraturaDistanze; ++i) {
        QScrollBar* bar = barre_[size_t(i)];
        const QSignalBlocker block(bar);
        bar->setValue(BarraDaCampo(Distanza(Taratura, i)));
        // The field follows its bar even when the bar did not move.
        barraCambiata(i);
    }
}

void frmTaraturaAmbetto::barraCambiata(int i) {
    float& field = Distanza(Taratura, i);
    field = float(double(barre_[size_t(i)]->value()) / 100.0);
    caselle_[size_t(i)]->setText(TestoCampo(field, QLocale()));
}

void frmTaraturaAmbetto::casellaConfermata(int i) {
    // A message box taking the focus would confirm the box a second time.
    if (inConferma_)
        return;
    inConferma_ = true;
    QLineEdit* box = caselle_[size_t(i)];
    QScrollBar* bar = barre_[size_t(i)];
    if (const std::optional<int> v = BarraDaTesto(box->text(), QLocale(), bar->minimum())) {
        const QSignalBlocker block(bar);
        bar->setValue(*v);
    } else {
        MsgBox(QStringLiteral("Valore non valido: da %1 a 300 mm").arg(bar->minimum() / 100),
               MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("Attenzione"));
    }
    barraCambiata(i);
    inConferma_ = false;
}

void frmTaraturaAmbetto::StampaFoglio(const std::function<void()>& foglio) {
    guardia_->esegui([this, &foglio] {
        try {
            ScegliStampanteSchedine(pagina_, ui->cmbStampante->currentText());
            foglio();
        } catch (const RunError& e) {
            SegnalaErroreStampa(pagina_, e);
        }
    });
}

void frmTaraturaAmbetto::cmdTest_Click() {
    StampaFoglio([this] { StampaProvaSullaPagina(pagina_, Carta, Taratura); });
}

void frmTaraturaAmbetto::cmdRighello_Click() {
    StampaFoglio([this] { StampaRighelloSullaPagina(pagina_, Taratura); });
}

void frmTaraturaAmbetto::cmdAnteprima_Click() {
    MostraAnteprima(
        this, pagina_, Carta.sistema,
        {{[this] { cmdTest_Click(); }, [t = Taratura](QPainter& p) { DisegnaSchedina(p, t); }},
         {[this] { cmdRighello_Click(); }, {}}});
}

void frmTaraturaAmbetto::cmdSalva_Click() {
    // With no printer installed the box is empty: the stored name stays for
    // when the printer is back.
    if (ui->cmbStampante->count() > 0)
        Taratura.Stampante = ui->cmbStampante->currentText();
    RunError error;
    if (!ScriviFileTaratura(Taratura, &error))
        ReportError(error, QStringLiteral("cmdSalva_Click"),
                    QStringLiteral("Form frmTaraturaAmbetto"));
}

} // namespace corpo
