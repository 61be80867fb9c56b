#include "outputs/frmStampaSchedine.h"

#include "app/art.h"
#include "app/corpo.h"
#include "app/fileio.h"
#include "app/messages.h"
#include "app/places.h"
#include "app/settings.h"
#include "gioco/prospetto.h"
#include "gioco/regole.h"
#include "outputs/anteprima.h"
#include "outputs/erroristampa.h"
#include "outputs/frmPrnInCorso.h"
#include "outputs/frmTaraturaAmbetto.h"
#include "outputs/guardiastampa.h"
#include "outputs/pronostico.h"
#include "outputs/risorse.h"
#include "outputs/schedine.h"
#include "outputs/stampaschedine.h"
#include "ui_frmStampaSchedine.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QPixmap>

namespace corpo {

void MostraStampaSchedine(QWidget* mainWindow, const DatiCarta& carta, PrinterPage& pagina) {
    auto* w = new frmStampaSchedine(mainWindow, carta, pagina);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->Form_Load();
    w->show();
}

frmStampaSchedine::frmStampaSchedine(QWidget* mainWindow, DatiCarta carta, PrinterPage& pagina)
    : QDialog(mainWindow), ui(new Ui::frmStampaSchedine), Carta(std::move(carta)),
      mainWindow_(mainWindow), pagina_(pagina) {
    ui->setupUi(this);
    ShowArt(ui->imgNewScheda, QStringLiteral(":/schedine/schedina.svg"));
    ui->vietato->setAccessibleName(TestoVietato);
    connect(ui->chkSchedine, &QCheckBox::toggled, this, &frmStampaSchedine::aggiornaComandi);
    connect(ui->chkPronostico, &QCheckBox::toggled, this, &frmStampaSchedine::aggiornaComandi);
    guardia_ = new GuardiaStampa(this);
    guardia_->proteggi(ui->cmdStampa);
    guardia_->proteggi(ui->cmdAnteprima);
    connect(ui->cmdStampa, &QPushButton::clicked, this, &frmStampaSchedine::cmdStampa_Click);
    connect(ui->cmdTaratura, &QPushButton::clicked, this, &frmStampaSchedine::cmdTaratura_Click);
    connect(ui->cmdAnteprima, &QPushButton::clicked, this, &frmStampaSchedine::cmdAnteprima_Click);
    ui->meDa->installEventFilter(this);
    ui->meA->installEventFilter(this);
}

frmStampaSchedine::~frmStampaSchedine() {
    ui->meDa->removeEventFilter(this);
    ui->meA->removeEventFilter(this);
}

void frmStampaSchedine::Form_Load() {
    Massimo = SchedaMassima;
    ui->labSchede->setText(QString::number(Massimo));
    ui->meDa->setText(QStringLiteral("1"));
    ui->meA->setText(QStringLiteral("9")); // both boxes start ticked: everything enabled
    const ControlloRegole regole = ControllaRegole(Carta.sistema);
    QStringList totali, detti;
    for (int s = 1; s <= 9; ++s) {
        const QString importo = FormatoEuro(regole.totali[size_t(s - 1)]);
        totali << QStringLiteral("%1: %2").arg(s).arg(importo);
        detti << QStringLiteral("schedina %1, %2").arg(s).arg(importo);
    }
    ui->lblTotali->setText(totali.join(QStringLiteral("   ")));
    // A screen reader reads the name, not the text: the amounts go into it.
    ui->lblTotali->setAccessibleName(QStringLiteral("Importo di ogni schedina: ") +
                                     detti.join(QStringLiteral("; ")));
    try {
        Vietato = PagePicture::Load(PercorsoVietato());
        ui->vietato->setPixmap(QPixmap::fromImage(Vietato.image()));
    } catch (const RunError&) { // the picture and the label stay empty
        MsgBox(QStringLiteral("Manca l'immagine \"%1\": il prospetto sarà stampato senza.")
                   .arg(QDir::toNativeSeparators(PercorsoVietato())),
               MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("Attenzione"));
    }
}

void frmStampaSchedine::aggiornaComandi() {
    const bool schedine = ui->chkSchedine->isChecked();
    ui->meDa->setEnabled(schedine);
    ui->meA->setEnabled(schedine);
    ui->cmdStampa->setEnabled(schedine || ui->chkPronostico->isChecked());
}

bool frmStampaSchedine::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == ui->meDa) {
                ui->meA->setFocus();
                return true;
            }
            if (watched == ui->meA) {
                ui->cmdStampa->setFocus();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmStampaSchedine::reject() {
    // Esc closes the window as its title bar's button does.
    close();
}

void frmStampaSchedine::cmdTaratura_Click() { MostraTaratura(this, Carta, pagina_); }

std::optional<std::pair<int, int>> frmStampaSchedine::Intervallo() {
    const int da = ValoreCampoScheda(ui->meDa->text());
    const int a = ValoreCampoScheda(ui->meA->text());
    if (const std::optional<ErroreIntervallo> e = ControllaIntervallo(da, a)) {
        Beep();
        MsgBox(e->testo, MsgButtons::Ok, MsgIcon::Exclamation, e->titolo);
        return std::nullopt;
    }
    return std::pair{da, a};
}

bool frmStampaSchedine::RegoleAccettate() {
    if (!ui->chkSchedine->isChecked())
        return true;
    // A bad range is refused before the forecast sheet goes out.
    const std::optional<std::pair<int, int>> range = Intervallo();
    if (!range)
        return false;
    const QString testo =
        MessaggioRegole(ControllaRegole(Carta.sistema, range->first, range->second));
    return testo.isEmpty() || MsgBox(testo, MsgButtons::PrintAnywayCancel, MsgIcon::Exclamation,
                                     QStringLiteral("Attenzione")) == MsgResult::Yes;
}

void frmStampaSchedine::cmdAnteprima_Click() {
    if (ui->chkSchedine->isChecked() && !Intervallo())
        return;
    guardia_->esegui([this] {
        Carta.intestazione = ReadConfiguration({Carta.intestazione, {}}).intestazione;
        LeggiTaraturaAmbetto(pagina_, Taratura);
        QList<ParteAnteprima> parti;
        if (ui->chkPronostico->isChecked())
            parti << ParteAnteprima{
                [this] { StampaSchedaPronostico(pagina_, Carta, Taratura, Vietato); }, {}};
        if (ui->chkSchedine->isChecked())
            parti << ParteAnteprima{[this] { StampaSchedina(); },
                                    [t = Taratura](QPainter& p) { DisegnaSchedina(p, t); }};
        MostraAnteprima(this, pagina_, Carta.sistema, parti, [this] { return RegoleAccettate(); });
    });
}

void frmStampaSchedine::cmdStampa_Click() {
    if (!RegoleAccettate())
        return;
    guardia_->esegui([this] {
        Carta.intestazione = ReadConfiguration({Carta.intestazione, {}}).intestazione;
        LeggiTaraturaAmbetto(pagina_, Taratura);
        // After a failed sheet the run stops: the user has been told, and a
        // missing printer would only be reported a second time.
        if (ui->chkPronostico->isChecked() &&
            !StampaSchedaPronostico(pagina_, Carta, Taratura, Vietato))
            return;
        if (ui->chkSchedine->isChecked())
            StampaSchedina();
    });
}

void frmStampaSchedine::StampaSchedina() {
    const std::optional<std::pair<int, int>> range = Intervallo();
    if (!range)
        return;
    const auto [da, a] = *range;
    if (!IndiceRuota(Carta.sistema.Ruota, NomiRuote()))
        MsgBox(QStringLiteral("Ruota non trovata nell'elenco delle ruote: le schedine saranno "
                              "stampate senza ruota."),
               MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("Attenzione"));

    frmPrnInCorso* progresso = CaricaPrnInCorso(this);
    AvanzamentoSchedine avanzamento;
    avanzamento.fermare = [progresso] {
        // The stop button and the progress window's repainting get through here.
        QCoreApplication::processEvents();
        return progresso->Interrotto();
    };
    avanzamento.schedaStampata = [progresso](int slip) { progresso->MostraScheda(slip); };
    try {
        StampaSchedineSullaPagina(pagina_, Carta, Taratura, da, a, avanzamento);
    } catch (const RunError& e) {
        SegnalaErroreStampa(pagina_, e);
    }
    progresso->close();
    delete progresso;
}

void frmStampaSchedine::closeEvent(QCloseEvent* event) {
    // The run lets events through between slips: the window stays until it ends.
    if (guardia_->inCorso()) {
        event->ignore();
        return;
    }
    if (mainWindow_)
        mainWindow_->setEnabled(true);
    // QDialog's own handler would go round through reject().
    QWidget::closeEvent(event);
}

} // namespace corpo
