#include "outputs/frmStampaSchedine.h"

#include "app/corpo.h"
#include "app/fileio.h"
#include "app/messages.h"
#include "app/settings.h"
#include "outputs/erroristampa.h"
#include "outputs/frmPrnInCorso.h"
#include "outputs/frmTaraturaAmbetto.h"
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

QString PercorsoVietato() { return PercorsoApp + QStringLiteral("images/vietato.jpg"); }

void MostraStampaSchedine(QWidget* mainWindow) {
    auto* w = new frmStampaSchedine(mainWindow);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->Form_Load();
    w->show();
}

frmStampaSchedine::frmStampaSchedine(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Window), ui(new Ui::frmStampaSchedine), mainWindow_(mainWindow) {
    InizializzaRisorseSchedine();
    ui->setupUi(this);
    connect(ui->chkSchedine, &QCheckBox::toggled, this, &frmStampaSchedine::aggiornaComandi);
    connect(ui->chkPronostico, &QCheckBox::toggled, this, &frmStampaSchedine::aggiornaComandi);
    connect(ui->cmdStampa, &QPushButton::clicked, this, &frmStampaSchedine::cmdStampa_Click);
    connect(ui->cmdTaratura, &QPushButton::clicked, this, &frmStampaSchedine::cmdTaratura_Click);
    ui->meDa->installEventFilter(this);
    ui->meA->installEventFilter(this);
}

frmStampaSchedine::~frmStampaSchedine() {
    ui->meDa->removeEventFilter(this);
    ui->meA->removeEventFilter(this);
    delete ui;
}

void frmStampaSchedine::Form_Load() {
    Massimo = SchedaMassima;
    ui->labSchede->setText(QString::number(Massimo));
    ui->meDa->setText(QStringLiteral("1"));
    ui->meA->setText(QStringLiteral("9"));
    ui->chkSchedine->setChecked(true);
    ui->chkPronostico->setChecked(true);
    aggiornaComandi();
    try {
        Vietato = PagePicture::Load(PercorsoVietato());
        ui->vietato->setPixmap(QPixmap::fromImage(Vietato.image()));
    } catch (const RunError&) {
        Vietato = PagePicture();
        ui->vietato->clear();
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
    return QWidget::eventFilter(watched, event);
}

void frmStampaSchedine::cmdTaratura_Click() { MostraTaratura(this); }

void frmStampaSchedine::cmdStampa_Click() {
    stampaInCorso_ = true;
    setEnabled(false);
    ReadConfiguration();
    LeggiTaraturaAmbetto(Taratura);
    if (ui->chkPronostico->isChecked())
        StampaSchedaPronostico(Taratura, Vietato);
    if (ui->chkSchedine->isChecked())
        StampaSchedina();
    setEnabled(true);
    stampaInCorso_ = false;
}

void frmStampaSchedine::StampaSchedina() {
    const int da = ValoreCampoScheda(ui->meDa->text());
    const int a = ValoreCampoScheda(ui->meA->text());
    if (const std::optional<ErroreIntervallo> e = ControllaIntervallo(da, a)) {
        Beep();
        MsgBox(e->testo, MsgButtons::Ok, MsgIcon::Exclamation, e->titolo);
        return;
    }

    frmPrnInCorso* progresso = CaricaPrnInCorso(this);
    StopStampa = false;
    AvanzamentoSchedine avanzamento;
    avanzamento.fermare = [] {
        // The stop button and the progress window's repainting get through here.
        QCoreApplication::processEvents();
        return StopStampa;
    };
    avanzamento.schedaStampata = [progresso](int slip) {
        progresso->MostraScheda(slip);
    };
    try {
        StampaSchedineSullaPagina(Printer(), Taratura, da, a, avanzamento);
    } catch (const RunError& e) {
        SegnalaErroreStampa(e);
    }
    progresso->close();
    delete progresso;
}

void frmStampaSchedine::closeEvent(QCloseEvent* event) {
    // The run lets events through between slips: the window stays until it ends.
    if (stampaInCorso_) {
        event->ignore();
        return;
    }
    if (mainWindow_)
        mainWindow_->setEnabled(true);
    QWidget::closeEvent(event);
}

} // namespace corpo
