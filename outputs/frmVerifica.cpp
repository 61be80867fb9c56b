#include "outputs/frmVerifica.h"

#include "app/filedialog.h"
#include "app/fileio.h"
#include "app/messages.h"
#include "app/settings.h"
#include "gioco/prospetto.h"
#include "outputs/carta.h"
#include "outputs/erroristampa.h"
#include "outputs/frmTabulato.h"
#include "outputs/guardiastampa.h"
#include "printing/printerpage.h"
#include "ui_frmVerifica.h"
#include "winnings/archivio.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QTextCharFormat>
#include <QThread>
#include <algorithm>

namespace corpo {

namespace {

constexpr int ColonnaNumeri = 2; // Ruota, Scommessa, then five numbers
constexpr int Colonne = ColonnaNumeri + 5 + 2;
// Drawn numbers stand out on screen as on the bunch: bold on the head-number
// red, in black whatever the theme's text colour (white on it would be hard to read).
const QColor Segnato(255, 120, 120);

QString Titolo(const SystemRecord& sistema) {
    const QString nome = NomeBreve(sistema);
    return nome.isEmpty() ? QStringLiteral("Verifica") : QStringLiteral("Verifica ") + nome;
}

QString Punti(int n) {
    return n == 1 ? QStringLiteral("1 punto") : QStringLiteral("%1 punti").arg(n);
}

} // namespace

void ApriVerifica(QWidget* parent, const SystemRecord& sistema) {
    frmVerifica dlg(parent, sistema);
    dlg.exec();
}

void StampaVerifica(const SystemRecord& sistema, const EsitoVerifica& esito,
                    const QString& estrazione) {
    PrinterPage& page = Printer();
    page.DocName = TitoloLavoro(QStringLiteral("Verifica"), sistema);
    page.ScaleMode = scale::Millimeters;
    page.FontName = CourierNew;
    page.FontBold = true;
    page.FontSize = 12;
    page.CurrentX = 15;
    page.CurrentY = 15;
    page.Print(Titolo(sistema) + QStringLiteral(" - ruota ") + sistema.Ruota.trimmed(), true);
    page.FontBold = false;
    page.FontSize = 10;
    page.CurrentX = 15;
    page.Print(estrazione, true);
    page.CurrentY = page.CurrentY + 4;

    // Every row on the one page: the ten wheels of "Tutte" make 90 of them.
    const double top = page.CurrentY, bottom = 270;
    const int rows = int(esito.scommesse.size());
    const double pitch = std::min(6.0, (bottom - top) / std::max(rows, 1));
    page.FontSize = std::min(10.0, std::floor(pitch / 0.3528 * 0.8 * 2) / 2);
    const double cell = page.TextWidth(QStringLiteral("000"));
    double y = top;
    for (const EsitoScommessa& e : esito.scommesse) {
        page.CurrentY = y;
        page.CurrentX = 15;
        page.Print(CodiceRuota(e.ruota) + QLatin1Char(' ') + Scommesse[size_t(e.scommessa)].Name(),
                   false);
        for (size_t i = 0; i < e.numeri.size(); ++i) {
            const double x = 60 + double(i) * cell;
            page.CurrentX = x;
            page.CurrentY = y;
            page.FontBold = e.estratti[i];
            page.Print(FormatoNumero(e.numeri[i]).rightJustified(2), false);
            if (e.estratti[i]) { // a drawn number is ringed
                page.FillStyle = 1;
                page.Circle(x + cell / 3, y + pitch * 0.4, pitch * 0.55, 0);
            }
        }
        page.FontBold = false;
        page.CurrentX = 60 + 5.5 * cell;
        page.CurrentY = y;
        page.Print(Punti(e.punti), false);
        const QString won = FormatoVincita(e.vincita);
        page.CurrentX = 195 - page.TextWidth(won);
        page.Print(won, true);
        y += pitch;
    }
    page.FontSize = 12;
    page.FontBold = true;
    const QString total = QStringLiteral("Vincita totale: ") + FormatoVincita(float(esito.totale));
    page.CurrentY = y + 4;
    page.CurrentX = 195 - page.TextWidth(total);
    page.Print(total, true);
    page.EndDoc();
}

frmVerifica::frmVerifica(QWidget* parent, const SystemRecord& sistema)
    : QDialog(parent), ui(new Ui::frmVerifica), sistema_(sistema) {
    ui->setupUi(this);
    setWindowTitle(QStringLiteral("Verifica"));
    ui->lblSistema->setText(QStringLiteral("Sistema: %1   Ruota: %2   Importo: %3")
                                .arg(sistema_.NomeSistema.trimmed(), sistema_.Ruota.trimmed(),
                                     FormatoVincita(sistema_.ImportoSistema)));
    // On "Tutte" the typed numbers are those of one wheel, which the player names.
    const bool tutte = DivisoreVincite(sistema_.Ruota) > 1;
    for (int i = 0; i < RuoteCitta; ++i)
        ui->cmbRuotaDigitata->addItem(NomeRuota(i));
    ui->cmbRuotaDigitata->setVisible(tutte);
    for (int i = 0; i < 5; ++i) {
        auto* field = findChild<QLineEdit*>(QStringLiteral("txtEstratto_%1").arg(i));
        connect(field, &QLineEdit::textEdited, ui->optDigitati,
                [this] { ui->optDigitati->setChecked(true); });
    }
    ui->tblEsito->setColumnCount(Colonne);
    ui->tblEsito->setHorizontalHeaderLabels(
        {QStringLiteral("Ruota"), QStringLiteral("Scommessa"), QStringLiteral("1°"),
         QStringLiteral("2°"), QStringLiteral("3°"), QStringLiteral("4°"), QStringLiteral("5°"),
         QStringLiteral("Punti"), QStringLiteral("Vincita")});
    for (int i = 0; i < 5; ++i) // read aloud as the number's place in the bet
        ui->tblEsito->horizontalHeaderItem(ColonnaNumeri + i)
            ->setData(Qt::AccessibleTextRole, QStringLiteral("%1° numero").arg(i + 1));
    ui->tblEsito->verticalHeader()->hide();
    ui->cmdStampa->setEnabled(false);
    ui->cmdPdf->setEnabled(false);
    connect(ui->cmdVerifica, &QPushButton::clicked, this, &frmVerifica::Verifica);
    connect(ui->cmdImporta, &QPushButton::clicked, this, [this] {
        FileDialogRequest request;
        request.title = QStringLiteral("Importa archivio delle estrazioni");
        request.folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
        request.filter = QStringLiteral("Archivi delle estrazioni (*.txt *.csv);;Tutti i file (*)");
        const QString file = AskFileName(this, request);
        if (!file.isEmpty())
            Importa(file);
    });
    guardia_ = new GuardiaStampa(this);
    guardia_->proteggi(ui->cmdStampa);
    guardia_->proteggi(ui->cmdPdf);
    connect(ui->cmdStampa, &QPushButton::clicked, this, [this] { Stampa(false); });
    connect(ui->cmdPdf, &QPushButton::clicked, this, [this] { Stampa(true); });

    connect(ui->dtpData, &QDateEdit::dateChanged, ui->optArchivio,
            [this] { ui->optArchivio->setChecked(true); });
    connect(ui->dtpData->calendarWidget(), &QCalendarWidget::currentPageChanged, this,
            &frmVerifica::SegnaEstrazioni);
    MostraDate();
    lettore_.reset(QThread::create([this] { letto_ = CaricaArchivio(&erroreLettura_); }));
    connect(lettore_.get(), &QThread::finished, this, &frmVerifica::ArchivioLetto);
    lettore_->start();
}

frmVerifica::~frmVerifica() {
    if (lettore_)
        lettore_->wait();
}

void frmVerifica::ArchivioLetto() {
    if (!lettore_)
        return;
    lettore_->wait();
    lettore_.reset();
    if (letto_)
        archivio_ = std::move(*letto_);
    else
        ReportError(erroreLettura_, QStringLiteral("CaricaArchivio"),
                    QStringLiteral("Form frmVerifica"));
    letto_.reset();
    MostraDate();
}

void frmVerifica::MostraDate() {
    // The archive's span, opened on its newest draw: a field and a calendar
    // cost the same for ten dates or for the whole history.
    const bool any = !archivio_.estrazioni.empty();
    const QSignalBlocker quiet(ui->dtpData); // only the player's choice picks the archive
    if (any) {
        ui->dtpData->setDateRange(archivio_.Prima(), archivio_.Ultima());
        ui->dtpData->setDate(archivio_.Ultima());
    }
    ui->optArchivio->setEnabled(any);
    ui->dtpData->setEnabled(any);
    SegnaEstrazioni(ui->dtpData->date().year(), ui->dtpData->date().month());
}

void frmVerifica::SegnaEstrazioni(int anno, int mese) {
    // The calendar shows the month's days with a draw in bold.
    QCalendarWidget* calendario = ui->dtpData->calendarWidget();
    calendario->setDateTextFormat(QDate(), {});
    QTextCharFormat estrazione;
    estrazione.setFontWeight(QFont::Bold);
    const QDate primo(anno, mese, 1);
    for (auto it = archivio_.estrazioni.lower_bound(primo);
         it != archivio_.estrazioni.end() && it->first < primo.addMonths(1); ++it)
        calendario->setDateTextFormat(it->first, estrazione);
}

void frmVerifica::Importa(const QString& file) {
    ArchivioLetto(); // what the import adds to, once read
    EsitoImportazione esito = ImportaArchivio(file);
    if (esito.avviso)
        MsgBox(esito.messaggio, MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("Attenzione"));
    else
        MsgBox(esito.messaggio, MsgButtons::Ok, MsgIcon::Information,
               QStringLiteral("Importa archivio"));
    if (!esito.salvato)
        return;
    archivio_ = std::move(esito.archivio);
    MostraDate();
    ui->optArchivio->setChecked(true);
}

void frmVerifica::Verifica() {
    const QList<int> ruote = RuoteDaVerificare(sistema_.Ruota);
    if (ruote.isEmpty()) {
        MsgBox(QStringLiteral("La ruota \"%1\" non è una ruota del Lotto: scegline una nella "
                              "finestra principale.")
                   .arg(sistema_.Ruota.trimmed()),
               MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Attenzione!!"));
        return;
    }
    QList<std::pair<int, Estratti>> draws;
    if (ui->optDigitati->isChecked()) {
        std::array<QString, 5> campi;
        for (int i = 0; i < 5; ++i)
            campi[size_t(i)] =
                findChild<QLineEdit*>(QStringLiteral("txtEstratto_%1").arg(i))->text();
        const EstrazioneDigitata typed = LeggiEstrazione(campi);
        if (!typed.numeri) {
            auto* field = findChild<QLineEdit*>(QStringLiteral("txtEstratto_%1").arg(typed.campo));
            field->setFocus();
            field->selectAll();
            MsgBox(typed.messaggio, MsgButtons::Ok, MsgIcon::Critical,
                   QStringLiteral("Attenzione!!"));
            return;
        }
        const int ruota = ruote.size() > 1 ? ui->cmbRuotaDigitata->currentIndex() : ruote.first();
        draws.append({ruota, *typed.numeri});
        estrazione_ = QStringLiteral("Numeri estratti su %1: ").arg(NomeRuota(ruota));
        for (uint8_t n : *typed.numeri)
            estrazione_ += QString::number(n) + QLatin1Char(' ');
        estrazione_ = estrazione_.trimmed();
    } else {
        const QDate data = ui->dtpData->date();
        for (int r : ruote)
            if (const Estratti* e = archivio_.Trova(data, r))
                draws.append({r, *e});
        if (draws.isEmpty()) {
            QString text = QStringLiteral("L'archivio non ha l'estrazione del %1 sulla ruota %2.")
                               .arg(FormatoData(data), sistema_.Ruota.trimmed());
            if (const QDate before = archivio_.Precedente(data, ruote); before.isValid())
                text +=
                    QStringLiteral(" L'estrazione precedente è del %1.").arg(FormatoData(before));
            MsgBox(text, MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("Attenzione"));
            ui->dtpData->setFocus();
            return;
        }
        estrazione_ = QStringLiteral("Estrazione del ") + FormatoData(data);
    }
    const int divisore = DivisoreVincite(sistema_.Ruota);
    if (divisore > 1)
        estrazione_ += QStringLiteral(" (vincite divise per %1 ruote)").arg(divisore);
    esito_ = VerificaEstrazione(sistema_, draws, divisore);
    if (!esito_) {
        ReportError(MakeError(err::Overflow), QStringLiteral("Verifica"),
                    QStringLiteral("Form frmVerifica"));
        return;
    }
    Mostra(*esito_);
}

void frmVerifica::Mostra(const EsitoVerifica& esito) {
    QTableWidget* t = ui->tblEsito;
    t->setRowCount(int(esito.scommesse.size()));
    const auto put = [t](int row, int column, const QString& text, Qt::Alignment align) {
        auto* item = new QTableWidgetItem(text);
        item->setTextAlignment(align | Qt::AlignVCenter);
        t->setItem(row, column, item);
        return item;
    };
    for (int row = 0; row < int(esito.scommesse.size()); ++row) {
        const EsitoScommessa& e = esito.scommesse[row];
        put(row, 0, NomeRuota(e.ruota), Qt::AlignLeft);
        put(row, 1, Scommesse[size_t(e.scommessa)].Name(), Qt::AlignLeft);
        for (int i = 0; i < 5; ++i) {
            const bool has = size_t(i) < e.numeri.size();
            QTableWidgetItem* item =
                put(row, ColonnaNumeri + i, has ? FormatoNumero(e.numeri[size_t(i)]) : QString(),
                    Qt::AlignHCenter);
            if (has && e.estratti[size_t(i)]) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
                item->setBackground(Segnato);
                item->setForeground(QColor(Qt::black));
                // Said in words too, for who does not see the colour.
                item->setToolTip(QStringLiteral("Estratto"));
                item->setData(Qt::AccessibleTextRole, item->text() + QStringLiteral(" estratto"));
            }
        }
        put(row, ColonnaNumeri + 5, QString::number(e.punti), Qt::AlignHCenter)
            ->setData(Qt::AccessibleTextRole, Punti(e.punti));
        put(row, ColonnaNumeri + 6, FormatoVincita(e.vincita), Qt::AlignRight);
    }
    t->resizeColumnsToContents();
    ui->lblTotale->setText(QStringLiteral("Vincita totale: ") +
                           FormatoVincita(float(esito.totale)));
    ui->cmdStampa->setEnabled(true);
    ui->cmdPdf->setEnabled(true);
}

void frmVerifica::Stampa(bool pdf) {
    if (!esito_)
        return;
    const auto print = [this] {
        PrinterPage& page = Printer();
        try {
            // A PDF file needs no printer.
            if (page.target() != PrinterPage::Target::PdfFile) {
                page.SelectPrinter(ReadConfiguration().stampante);
            }
            StampaVerifica(sistema_, *esito_, estrazione_);
        } catch (const RunError& e) {
            SegnalaErroreStampa(e, QStringLiteral("StampaVerifica"),
                                QStringLiteral("Form frmVerifica"));
        }
    };
    // The file is asked for first: the run keeps the window, and its
    // dialogs, disabled.
    QString path;
    if (pdf) {
        path = ChiediFilePdf(this, QStringLiteral("Salva la verifica come PDF"),
                             NomeFilePdf(TitoloLavoro(QStringLiteral("Verifica"), sistema_)));
        if (path.isEmpty())
            return;
    }
    guardia_->esegui([&] {
        if (pdf)
            StampaSuPdf(path, print);
        else
            print();
    });
}

} // namespace corpo
