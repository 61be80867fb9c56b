#include "outputs/frmTabulato.h"

#include "app/corpo.h"
#include "app/filedialog.h"
#include "app/fileio.h"
#include "app/finestre.h"
#include "app/frmImpostazioni.h"
#include "app/maker.h"
#include "app/messages.h"
#include "app/places.h"
#include "app/printers.h"
#include "app/settings.h"
#include "gioco/prospetto.h"
#include "outputs/anteprima.h"
#include "outputs/carta.h"
#include "outputs/erroristampa.h"
#include "outputs/guardiastampa.h"
#include "outputs/risorse.h"
#include "printing/printerpage.h"
#include "printing/printtarget.h"
#include "printing/vorlacco.h"
#include "ui_frmTabulato.h"
#include "winnings/stampaprospetto.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>
#include <algorithm>

namespace corpo {

QString NomeFilePdf(const QString& nomeSistema) {
    QString name = nomeSistema.trimmed();
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    if (name.isEmpty())
        name = QStringLiteral("Tabulato");
    return name + QStringLiteral(".pdf");
}

QString TitoloTabulato(const SystemRecord& sistema, int copia, int copie) {
    QString t = TitoloLavoro(QStringLiteral("Tabulato"), sistema);
    // Each copy is a job of its own: distinct titles keep a PDF queue from
    // writing every copy over the one before.
    if (copie > 1)
        t += QStringLiteral(" - copia %1 di %2").arg(copia).arg(copie);
    return t;
}

void StampaCopiaTabulato(PrinterPage& page, const DatiCarta& carta, bool colore,
                         const PagePicture& foot, const QString& titolo) {
    const SystemRecord& Sistema = carta.sistema;
    page.DocName = titolo;
    page.ScaleMode = scale::Millimeters;
    page.FillStyle = 0;
    page.FillColor = 0;
    // 92 dashes: one more would end the rule inside the printers' unprintable
    // margin, under 5 mm from the paper's right edge.
    StampaIntestazione(page, carta, 5, 5, 10, 92);

    ScrittaGrande(page, 48, 60, 20, colore ? Blu : Nero);
    page.Print(TitoloProgramma, false);
    page.ForeColor = Nero;
    page.FontBold = false;

    // The stalk starts a grape's radius left of the first grape: at 16 mm it
    // keeps 5 mm from the paper's edge, like every other mark.
    stampaVorlacco(page, carta, 16, 45, 11, colore);

    if (Sistema.Capogioco == 0) {
        // Without a head number the total and the wheel fill the space, slanted.
        ScrittaGrande(page, 80, 80, 125, colore ? Rosso : Nero);
        PrintRotatedText(page, FormatoVincita(Sistema.ImportoSistema), 300);

        ScrittaGrande(page, 70, 90, 175, Nero);
        PrintRotatedText(page, Sistema.Ruota, 300);
        page.FontBold = false;
    } else {
        // The head number's disc keeps its colour even in black and white.
        StampaCapogioco(page, carta, 150, 130, 45, 115, 100, 180);

        ScrittaGrande(page, 70, 90, 175, Nero);
        page.Print(Sistema.Ruota, true);

        ScrittaGrande(page, 60, 110, 55, colore ? Rosso : Nero);
        page.Print(FormatoVincita(Sistema.ImportoSistema), true);
        page.FontBold = false;
    }

    page.CurrentX = 115;
    page.CurrentY = 205;
    const float x = float(page.CurrentX), y = float(page.CurrentY);
    StampaProspetto(page, Sistema, x, y);

    if (!foot.isNull())
        page.PaintPicture(foot, 5, 240, 95, 25);
    page.EndDoc();
}

void MostraTabulato(QWidget* parent, const DatiCarta& carta, PrinterPage& pagina) {
    const RitornoFocus back;
    frmTabulato dlg(parent, carta, pagina);
    dlg.exec();
}

frmTabulato::frmTabulato(QWidget* parent, const DatiCarta& carta, PrinterPage& pagina)
    : QDialog(parent), ui(new Ui::frmTabulato), pagina_(pagina), carta_(carta) {
    ui->setupUi(this);
    ui->vietato->setAccessibleName(TestoVietato);
    // The copies' scroll bar has 20 at its top: its arrows and trough step the
    // other way round from Qt's, which puts the minimum at the top.
    connect(ui->VsCopie, &QAbstractSlider::actionTriggered, this, [this](int action) {
        QScrollBar* bar = ui->VsCopie;
        const int step = action == QAbstractSlider::SliderSingleStepAdd   ? -bar->singleStep()
                         : action == QAbstractSlider::SliderSingleStepSub ? bar->singleStep()
                         : action == QAbstractSlider::SliderPageStepAdd   ? -bar->pageStep()
                         : action == QAbstractSlider::SliderPageStepSub   ? bar->pageStep()
                                                                          : 0;
        if (step != 0)
            bar->setSliderPosition(std::clamp(bar->value() + step, bar->minimum(), bar->maximum()));
    });
    guardia_ = new GuardiaStampa(this);
    guardia_->proteggi(ui->cmdStampa);
    guardia_->proteggi(ui->cmdAnteprima);
    connect(ui->cmdStampa, &QPushButton::clicked, this, &frmTabulato::cmdStampa_Click);
    connect(ui->cmdImpostazioni, &QPushButton::clicked, this, &frmTabulato::cmdImpostazioni_Click);
    connect(ui->cmdAnteprima, &QPushButton::clicked, this, &frmTabulato::cmdAnteprima_Click);
    connect(ui->VsCopie, &QScrollBar::valueChanged, this, &frmTabulato::VsCopie_Change);
    connect(ui->chkFilePdf, &QCheckBox::clicked, this, &frmTabulato::chkFilePdf_Click);

    impostazioni_ = ReadConfiguration(impostazioni_);
    ui->VsCopie->setValue(1);
    VsCopie_Change(ui->VsCopie->value());
    MostraStampante();
}

frmTabulato::~frmTabulato() = default;

void frmTabulato::VsCopie_Change(int value) { ui->labCopie->setText(QString::number(value)); }

void frmTabulato::chkFilePdf_Click() { MostraStampante(); }

bool frmTabulato::CopieScelte() {
    if (ui->VsCopie->value() > 0)
        return true;
    MsgBox(QStringLiteral("Le copie sono 0: scegli almeno una copia del tabulato."), MsgButtons::Ok,
           MsgIcon::Exclamation, QStringLiteral("Attenzione"));
    return false;
}

QString frmTabulato::StampanteInUso() const {
    if (ui->chkFilePdf->isChecked())
        return QStringLiteral("File PDF");
    const QStringList installed = InstalledPrinters();
    return ChoosePrinter(installed, pagina_.DeviceName(), impostazioni_.stampante);
}

void frmTabulato::MostraStampante() {
    const QString name = StampanteInUso();
    ui->lblStampante->setText(name.isEmpty()
                                  ? QStringLiteral("Stampante: nessuna stampante installata")
                                  : QStringLiteral("Stampante: ") + name);
}

void frmTabulato::cmdImpostazioni_Click() {
    MostraImpostazioni(this);
    impostazioni_ = ReadConfiguration(impostazioni_);
    MostraStampante();
}

void frmTabulato::cmdAnteprima_Click() {
    if (!CopieScelte())
        return;
    guardia_->esegui([this] {
        MostraAnteprima(this, pagina_, carta_.sistema,
                        {{[this] {
                              caricaVietato();
                              StampaTabulato();
                          },
                          {}}});
    });
}

void frmTabulato::cmdStampa_Click() {
    if (!CopieScelte())
        return;
    if (ui->chkFilePdf->isChecked()) {
        StampaPdf();
    } else {
        guardia_->esegui([this] {
            caricaVietato();
            StampaTabulato();
        });
    }
    MostraStampante();
}

void frmTabulato::caricaVietato() {
    const QString name = FileVietato(ui->chkColor->isChecked());
    ui->vietato->clear();
    vietato_ = PagePicture();
    try {
        vietato_ = PagePicture::Load(DataPath(name));
        ui->vietato->setPixmap(QPixmap::fromImage(vietato_.image()));
    } catch (const RunError&) {
        // The listing is still worth having without its foot notice.
        MsgBox(QStringLiteral("Immagine non trovata: ") + QDir::toNativeSeparators(name) +
                   QStringLiteral("\nIl tabulato sarà stampato senza."),
               MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("Attenzione"));
    }
}

void frmTabulato::StampaTabulato() {
    PrinterPage& page = pagina_;
    const bool colore = ui->chkColor->isChecked();
    try {
        // A PDF file needs no printer; the recorder stands in for one.
        if (page.target() != PrinterPage::Target::PdfFile)
            page.SelectPrinter(impostazioni_.stampante);
        DatiCarta carta = carta_;
        carta.intestazione = impostazioni_.intestazione;
        const uint8_t copie = uint8_t(ui->labCopie->text().toInt());
        for (int copia = 1; copia <= copie; ++copia)
            StampaCopiaTabulato(page, carta, colore, vietato_,
                                TitoloTabulato(carta.sistema, copia, copie));
    } catch (const RunError& e) {
        SegnalaErroreStampa(page, e, QStringLiteral("StampaTabulato"),
                            QStringLiteral("Form frmTabulato"));
    }
}

QString ChiediFilePdf(QWidget* parent, const QString& titolo, const QString& nome) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    FileDialogRequest request;
    request.save = true;
    request.title = titolo;
    request.folder = folder;
    request.filter = QStringLiteral("File PDF (*.pdf)");
    request.defaultSuffix = QStringLiteral("pdf");
    request.fileName = nome;
    request.objectName = QStringLiteral("dlgFilePdf");
    return AskFileName(parent, request);
}

void StampaSuPdf(PrinterPage& page, const QString& path, const std::function<void()>& stampa) {
    const PrintTargetScope back(page);
    page.UsePdfFile(path);
    stampa();
}

bool frmTabulato::StampaPdf() {
    // The file is asked for first: the run keeps the window, and its
    // dialogs, disabled.
    const QString path = ChiediFilePdf(this, QStringLiteral("Salva il tabulato come PDF"),
                                       NomeFilePdf(NomeBreve(carta_.sistema)));
    if (path.isEmpty())
        return false;
    return guardia_->esegui([&] {
        caricaVietato();
        // Every copy a page of the one file, as the preview shows them.
        const QList<RecordedJob> copie = pagina_.Record([this] { StampaTabulato(); });
        if (copie.isEmpty())
            return; // the player has been told why
        RecordedJob file = UnisciLavori(copie);
        file.docName = TitoloTabulato(carta_.sistema, 1, 1);
        StampaSuPdf(pagina_, path, [&] {
            try {
                pagina_.Replay(file);
            } catch (const RunError& e) {
                SegnalaErroreStampa(pagina_, e, QStringLiteral("StampaPdf"),
                                    QStringLiteral("Form frmTabulato"));
            }
        });
    });
}

} // namespace corpo
