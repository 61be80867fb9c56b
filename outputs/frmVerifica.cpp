#include "outputs/frmVerifica.h"

#include "app/corpo.h"
#include "app/filedialog.h"
#include "app/fileio.h"
#include "app/finestre.h"
#include "app/messages.h"
#include "app/settings.h"
#include "gioco/prospetto.h"
#include "gioco/regole.h"
#include "outputs/carta.h"
#include "outputs/erroristampa.h"
#include "outputs/frmTabulato.h"
#include "outputs/guardiastampa.h"
#include "printing/printerpage.h"
#include "ui_frmVerifica.h"
#include "winnings/aggiornaarchivio.h"
#include "winnings/archivio.h"

#include <QCalendarWidget>
#include <QChart>
#include <QChartView>
#include <QDateEdit>
#include <QDateTimeAxis>
#include <QLineEdit>
#include <QLineSeries>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QTextCharFormat>
#include <QThread>
#include <QValueAxis>
#include <algorithm>

namespace corpo {

namespace {

// Ruota, Scommessa, five numbers, Punti, the slip's three figures, then the
// winning kinds, the one column that may be long.
constexpr int ColonnaNumeri = 2;
constexpr int ColonnaPunti = ColonnaNumeri + 5;
constexpr int ColonnaLordo = ColonnaPunti + 1;
constexpr int ColonnaVincite = ColonnaLordo + 3;
// Drawn numbers stand out on screen as on the bunch: bold on the head-number
// red, in black whatever the theme's text colour (white on it would be hard to read).
const QColor Segnato(255, 120, 120);

QString Titolo(const SystemRecord& sistema) {
    const QString nome = NomeBreve(sistema);
    return nome.isEmpty() ? QStringLiteral("Verifica") : QStringLiteral("Verifica ") + nome;
}

// The winning kinds of one bet on one wheel: "3 ambi × € 25,00; 1 terno × € 135,00".
QString Vincite(const EsitoScommessa& e, int divisore) {
    QStringList parts;
    for (const Combinazioni& c : e.vinte)
        parts << DescriviCombinazioni(Scommesse[size_t(e.scommessa)], c, divisore);
    return parts.join(QStringLiteral("; "));
}

// The page's header: the system and its wheel, then what was checked.
void Intestazione(PrinterPage& page, const SystemRecord& sistema, const QString& riga) {
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
    page.Print(riga, true);
}

void Totale(PrinterPage& page, const QString& text, double y) {
    page.FontSize = 11;
    page.FontBold = true;
    page.CurrentY = y;
    page.CurrentX = 195 - page.TextWidth(text);
    page.Print(text, true);
    page.FontBold = false;
}

} // namespace

void ApriVerifica(const SystemRecord& sistema, PrinterPage& pagina, QWidget* parent) {
    const RitornoFocus back;
    frmVerifica dlg(sistema, pagina, parent);
    dlg.exec();
}

void StampaVerifica(PrinterPage& page, const SystemRecord& sistema, const EsitoVerifica& esito,
                    const QString& estrazione, const QString& avviso) {
    Intestazione(page, sistema, estrazione);
    if (!avviso.isEmpty()) {
        page.CurrentX = 15;
        page.Print(avviso, true);
    }
    page.CurrentY = page.CurrentY + 4;

    // Every row on the one page: the ten wheels of "Tutte" make 90 of them,
    // and each winning slip adds its line.
    int slips = 0;
    for (const EsitoSchedina& s : esito.schedine)
        slips += s.importi.lordo > 0;
    const double top = page.CurrentY, bottom = 268;
    const int rows = int(esito.scommesse.size()) + slips;
    const double pitch = std::min(6.0, (bottom - top) / std::max(rows, 1));
    const double size = std::min(10.0, std::floor(pitch / 0.3528 * 0.8 * 2) / 2);
    page.FontSize = size;
    const double cell = page.TextWidth(QStringLiteral("000"));
    double y = top;
    for (const EsitoScommessa& e : esito.scommesse) {
        page.FontSize = size;
        page.CurrentY = y;
        page.CurrentX = 15;
        page.Print(CodiceRuota(e.ruota) + QLatin1Char(' ') + Scommesse[size_t(e.scommessa)].Nome(),
                   false);
        for (size_t n = 0; n < e.numeri.size(); ++n) {
            const double x = 60 + double(n) * cell;
            page.CurrentX = x;
            page.CurrentY = y;
            page.FontBold = e.estratti[n];
            page.Print(FormatoNumero(e.numeri[n]).rightJustified(2), false);
            if (e.estratti[n]) { // a drawn number is ringed
                page.FillStyle = 1;
                page.Circle(x + cell / 3, y + pitch * 0.4, pitch * 0.55, 0);
            }
        }
        page.FontBold = false;
        page.CurrentX = 60 + 5.5 * cell;
        page.CurrentY = y;
        page.Print(Punti(e.punti), false);
        page.FontSize = size * 0.75; // "3 ambi × € 25,00; 1 terno × € 135,00 /10" in its room
        page.CurrentX = 60 + 8 * cell;
        page.CurrentY = y + size * 0.25 * 0.3528; // on the line of the larger text
        page.Print(Vincite(e, esito.divisore), false);
        page.CurrentY = y;
        page.FontSize = size;
        const QString won = FormatoVincita(e.lordo);
        page.CurrentX = 195 - page.TextWidth(won);
        page.Print(won, true);
        y += pitch;
        // A slip's own line under its last wheel: what it pays, net of the tax.
        const EsitoSchedina& slip = esito.schedine[size_t(e.scommessa)];
        if (e.ultima && slip.importi.lordo > 0) {
            const QString text =
                QStringLiteral("Schedina %1: %2")
                    .arg(Scommesse[size_t(e.scommessa)].Nome(), DescriviSchedina(slip));
            page.FontBold = true;
            page.CurrentY = y;
            page.CurrentX = 195 - page.TextWidth(text);
            page.Print(text, true);
            page.FontBold = false;
            y += pitch;
        }
    }
    Totale(page, DescriviTotali(esito.totali), y + 4);
    page.EndDoc();
}

void StampaColpi(PrinterPage& page, const SystemRecord& sistema, const EsitoColpi& esito,
                 const QString& intestazione) {
    Intestazione(page, sistema, intestazione);
    // The balance over time in a box, at most one point a millimetre, under
    // its lowest and highest figure.
    qint64 low = 0, high = 0;
    for (const Colpo& c : esito.colpi) {
        low = std::min(low, c.saldo);
        high = std::max(high, c.saldo);
    }
    page.FontSize = 8;
    page.CurrentX = 15;
    page.CurrentY = page.CurrentY + 2;
    page.Print(
        QStringLiteral("Saldo: da %1 a %2").arg(FormatoCentesimi(low), FormatoCentesimi(high)),
        true);
    const double left = 15, right = 195, top = page.CurrentY + 1, bottom = top + 60;
    page.FillStyle = 1;
    page.Line(left, top, right, bottom, 0, true);
    const double span = double(std::max<qint64>(high - low, 1));
    const auto yOf = [&](qint64 saldo) { return bottom - 2 - (double(saldo - low) / span) * 56; };
    page.Line(left, yOf(0), right, yOf(0), 0x808080, false); // no gain, no loss
    const int n = int(esito.colpi.size());
    const int step = std::max(1, n / int(right - left));
    double px = left, py = yOf(0);
    for (int i = 0; i < n; i += step) {
        const int at = std::min(n - 1, i + step - 1);
        const double x = left + (right - left) * double(at + 1) / n;
        const double ny = yOf(esito.colpi[size_t(at)].saldo);
        page.Line(px, py, x, ny, 0x800000, false); // navy
        px = x;
        py = ny;
    }

    page.FontSize = 9;
    const double pitch = 4.5;
    // The hits end where the figures begin: a fixed-pitch font holds so many letters.
    const int letters = int((160 - page.TextWidth(QStringLiteral("€ 0.000.000,00")) - 42) /
                            page.TextWidth(QStringLiteral("0")));
    double y = bottom + 5;
    for (const Colpo& c : esito.colpi) {
        if (y > 275) {
            page.NewPage();
            y = 15;
        }
        page.CurrentY = y;
        page.CurrentX = 15;
        page.Print(FormatoData(c.data), false);
        page.CurrentX = 40;
        const QString hits = DescriviColpo(c);
        page.Print(hits.size() > letters ? hits.left(letters - 1) + QChar(0x2026) : hits, false);
        const QString netto = FormatoCentesimi(c.importi.netto);
        page.CurrentX = 160 - page.TextWidth(netto);
        page.Print(netto, false);
        const QString saldo = FormatoCentesimi(c.saldo);
        page.CurrentX = 195 - page.TextWidth(saldo);
        page.Print(saldo, true);
        y += pitch;
    }
    if (y > 265) {
        page.NewPage();
        y = 15;
    }
    page.FontSize = 10;
    page.CurrentY = y + 3;
    const QString saldo = QStringLiteral("Saldo: ") + FormatoCentesimi(esito.totali.Saldo());
    page.CurrentX = 195 - page.TextWidth(saldo);
    page.Print(saldo, true);
    Totale(page, DescriviTotali(esito.totali), page.CurrentY + 1);
    page.EndDoc();
}

frmVerifica::frmVerifica(const SystemRecord& sistema, PrinterPage& pagina, QWidget* parent)
    : QDialog(parent), ui(new Ui::frmVerifica), sistema_(sistema), pagina_(pagina) {
    ui->setupUi(this);
    setWindowTitle(QStringLiteral("Verifica"));
    ui->lblSistema->setText(QStringLiteral("Sistema: %1   Ruota: %2   Importo: %3")
                                .arg(sistema_.NomeSistema.trimmed(), sistema_.Ruota.trimmed(),
                                     FormatoVincita(sistema_.ImportoSistema)));
    // On "Tutte" the typed numbers are those of one wheel, which the player names.
    const bool tutte = Tutte(sistema_.Ruota);
    for (int i = 0; i < RuoteCitta; ++i)
        ui->cmbRuotaDigitata->addItem(NomeRuota(i));
    ui->cmbRuotaDigitata->setVisible(tutte);
    for (int i = 0; i < 5; ++i) {
        auto* field = findChild<QLineEdit*>(QStringLiteral("txtEstratto_%1").arg(i));
        connect(field, &QLineEdit::textEdited, ui->optDigitati,
                [this] { ui->optDigitati->setChecked(true); });
    }
    // The player opens the window to type the draw: the first number takes the keys.
    ui->txtEstratto_0->setFocus();
    // Every column named as a screen reader says it.
    const auto columns = [](QTableWidget* t, const QStringList& heads, const QStringList& said) {
        t->setColumnCount(int(heads.size()));
        t->setHorizontalHeaderLabels(heads);
        for (int i = 0; i < int(heads.size()); ++i)
            t->horizontalHeaderItem(i)->setData(Qt::AccessibleTextRole, said[i]);
        t->verticalHeader()->hide();
    };
    QStringList heads{QStringLiteral("Ruota"), QStringLiteral("Scommessa")};
    QStringList said = heads;
    for (int i = 1; i <= 5; ++i) {
        heads << QStringLiteral("%1°").arg(i);
        said << QStringLiteral("%1° numero").arg(i);
    }
    heads << QStringLiteral("Punti") << QStringLiteral("Lordo") << QStringLiteral("Ritenuta")
          << QStringLiteral("Netto") << QStringLiteral("Vincite");
    said << QStringLiteral("Punti") << QStringLiteral("Vincita lorda")
         << QStringLiteral("Ritenuta dell'8%") << QStringLiteral("Vincita netta")
         << QStringLiteral("Combinazioni vinte");
    columns(ui->tblEsito, heads, said);
    columns(ui->tblColpi,
            {QStringLiteral("Data"), QStringLiteral("Punti"), QStringLiteral("Netto"),
             QStringLiteral("Saldo")},
            {QStringLiteral("Data dell'estrazione"), QStringLiteral("Scommesse vincenti"),
             QStringLiteral("Vincita netta"), QStringLiteral("Saldo dall'inizio")});

    // The balance over time beside the draws' table.
    grafico_ = new QChartView(ui->pagColpi);
    grafico_->setObjectName(QStringLiteral("grafico"));
    grafico_->setAccessibleName(QStringLiteral("Grafico del saldo nel tempo"));
    grafico_->setRenderHint(QPainter::Antialiasing);
    grafico_->setMinimumWidth(320);
    grafico_->chart()->legend()->hide();
    ui->layPagColpi->addWidget(grafico_, 2);
    ui->layPagColpi->setStretchFactor(ui->tblColpi, 3);

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
    connect(ui->cmdAggiornaArchivio, &QPushButton::clicked, this, [this] {
        ArchivioLetto(); // what the update adds to, once read
        if (std::optional<Archivio> nuovo = ApriAggiornaArchivio(this)) {
            archivio_ = std::move(*nuovo);
            MostraDate();
            ui->optArchivio->setChecked(true);
        }
    });
    guardia_ = new GuardiaStampa(this);
    guardia_->proteggi(ui->cmdStampa);
    guardia_->proteggi(ui->cmdPdf);
    connect(ui->cmdStampa, &QPushButton::clicked, this, [this] { Stampa(false); });
    connect(ui->cmdPdf, &QPushButton::clicked, this, [this] { Stampa(true); });

    connect(ui->dtpData, &QDateEdit::dateChanged, ui->optArchivio, [this] {
        if (!ui->optColpi->isChecked())
            ui->optArchivio->setChecked(true);
    });
    connect(ui->spnColpi, &QSpinBox::valueChanged, ui->optColpi,
            [this] { ui->optColpi->setChecked(true); });
    connect(ui->chkUltima, &QCheckBox::toggled, this, [this](bool on) {
        ui->spnColpi->setEnabled(!on);
        ui->optColpi->setChecked(true);
    });
    connect(ui->dtpData->calendarWidget(), &QCalendarWidget::currentPageChanged, this,
            &frmVerifica::SegnaEstrazioni);
    Pulisci();
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
    ui->optColpi->setEnabled(any);
    ui->spnColpi->setEnabled(any && !ui->chkUltima->isChecked());
    ui->chkUltima->setEnabled(any);
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
    Pulisci(); // a refused draw leaves no earlier result standing
    const QList<int> ruote = RuoteDaVerificare(sistema_.Ruota);
    if (ruote.isEmpty()) {
        MsgBox(QStringLiteral("La ruota \"%1\" non è una ruota del Lotto: scegline una nella "
                              "finestra principale.")
                   .arg(sistema_.Ruota.trimmed()),
               MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Attenzione!!"));
        return;
    }
    const int divisore = DivisoreVincite(sistema_.Ruota);
    const QString diviso = VinciteDivise(divisore);
    QList<std::pair<int, Estratti>> draws;
    QString estrazione, avviso;
    if (ui->optColpi->isChecked()) {
        const QDate dal = ui->dtpData->date();
        std::optional<EsitoColpi> colpi = SeguiSistema(
            sistema_, archivio_, dal, ui->chkUltima->isChecked() ? 0 : ui->spnColpi->value());
        if (!colpi) {
            ReportError(MakeError(err::Overflow), QStringLiteral("Verifica"),
                        QStringLiteral("Form frmVerifica"));
            return;
        }
        if (colpi->colpi.empty()) {
            MsgBox(QStringLiteral("L'archivio non ha estrazioni sulla ruota %1 dal %2 in poi.")
                       .arg(sistema_.Ruota.trimmed(), FormatoData(dal)),
                   MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("Attenzione"));
            ui->dtpData->setFocus();
            return;
        }
        const auto& list = colpi->colpi;
        estrazione_ = list.size() == 1
                          ? QStringLiteral("1 estrazione, del %1").arg(FormatoData(dal))
                          : QStringLiteral("%1 estrazioni, dal %2 al %3")
                                .arg(list.size())
                                .arg(FormatoData(list.front().data), FormatoData(list.back().data));
        estrazione_ += diviso;
        colpi_ = std::move(colpi);
        MostraColpi(*colpi_);
        return;
    }
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
        estrazione = QStringLiteral("Numeri estratti su %1: ").arg(NomeRuota(ruota));
        for (uint8_t n : *typed.numeri)
            estrazione += QString::number(n) + QLatin1Char(' ');
        estrazione = estrazione.trimmed();
    } else {
        const QDate data = ui->dtpData->date();
        const EstrazioniDelGiorno giorno = EstrazioniDel(archivio_, data, sistema_.Ruota);
        if (giorno.draws.isEmpty()) {
            MsgBox(giorno.messaggio, MsgButtons::Ok, MsgIcon::Exclamation,
                   QStringLiteral("Attenzione"));
            ui->dtpData->setFocus();
            return;
        }
        draws = giorno.draws;
        avviso = RuoteMancanti(giorno.mancanti);
        estrazione = QStringLiteral("Estrazione del ") + FormatoData(data);
    }
    std::optional<EsitoVerifica> esito = VerificaEstrazione(sistema_, draws, divisore);
    if (!esito) {
        ReportError(MakeError(err::Overflow), QStringLiteral("Verifica"),
                    QStringLiteral("Form frmVerifica"));
        return;
    }
    estrazione_ = estrazione + diviso;
    avviso_ = avviso;
    esito_ = std::move(esito);
    Mostra(*esito_);
}

void frmVerifica::Pulisci() {
    esito_.reset();
    colpi_.reset();
    estrazione_.clear();
    avviso_.clear();
    ui->tblEsito->setRowCount(0);
    ui->tblColpi->setRowCount(0);
    grafico_->chart()->removeAllSeries();
    for (QAbstractAxis* axis : grafico_->chart()->axes()) {
        grafico_->chart()->removeAxis(axis); // which hands the axis back to us
        delete axis;
    }
    ui->lblEstrazione->clear();
    ui->lblTotale->clear();
    ui->cmdStampa->setEnabled(false);
    ui->cmdPdf->setEnabled(false);
}

namespace {
QTableWidgetItem* Cella(QTableWidget* t, int row, int column, const QString& text,
                        Qt::Alignment align) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(align | Qt::AlignVCenter);
    t->setItem(row, column, item);
    return item;
}
} // namespace

void frmVerifica::Mostra(const EsitoVerifica& esito) {
    QTableWidget* t = ui->tblEsito;
    t->setRowCount(0);
    const auto put = [t](int row, int column, const QString& text, Qt::Alignment align) {
        return Cella(t, row, column, text, align);
    };
    // The slip's figures: on its one row, or on a row of its own under its wheels.
    const auto slip = [&](int row, const EsitoSchedina& s) {
        put(row, ColonnaLordo, FormatoCentesimi(s.importi.lordo), Qt::AlignRight);
        put(row, ColonnaLordo + 1, FormatoCentesimi(s.importi.ritenuta), Qt::AlignRight);
        put(row, ColonnaLordo + 2, FormatoCentesimi(s.importi.netto), Qt::AlignRight);
        if (s.limitata)
            put(row, ColonnaVincite,
                QStringLiteral("al massimo %1 per schedina")
                    .arg(FormatoVincita(Regole.vincitaMassima)),
                Qt::AlignLeft);
    };
    for (const EsitoScommessa& e : esito.scommesse) {
        const int row = t->rowCount();
        t->insertRow(row);
        put(row, 0, NomeRuota(e.ruota), Qt::AlignLeft);
        put(row, 1, Scommesse[size_t(e.scommessa)].Nome(), Qt::AlignLeft);
        for (int n = 0; n < 5; ++n) {
            const bool has = size_t(n) < e.numeri.size();
            QTableWidgetItem* item =
                put(row, ColonnaNumeri + n, has ? FormatoNumero(e.numeri[size_t(n)]) : QString(),
                    Qt::AlignHCenter);
            if (has && e.estratti[size_t(n)]) {
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
        put(row, ColonnaPunti, QString::number(e.punti), Qt::AlignHCenter)
            ->setData(Qt::AccessibleTextRole, Punti(e.punti));
        put(row, ColonnaVincite, Vincite(e, esito.divisore), Qt::AlignLeft);
        const EsitoSchedina& s = esito.schedine[size_t(e.scommessa)];
        if (s.righe == 1) {
            slip(row, s);
        } else {
            put(row, ColonnaLordo, FormatoVincita(e.lordo), Qt::AlignRight);
            if (e.ultima) {
                const int sum = t->rowCount();
                t->insertRow(sum);
                put(sum, 0, QStringLiteral("Schedina"), Qt::AlignLeft);
                put(sum, 1, Scommesse[size_t(e.scommessa)].Nome(), Qt::AlignLeft);
                slip(sum, s);
            }
        }
    }
    t->resizeColumnsToContents();
    ui->lblEstrazione->setText(avviso_.isEmpty() ? estrazione_
                                                 : estrazione_ + QLatin1Char('\n') + avviso_);
    ui->lblTotale->setText(DescriviTotali(esito.totali));
    ui->stkEsito->setCurrentWidget(ui->pagEstrazione);
    ui->cmdStampa->setEnabled(true);
    ui->cmdPdf->setEnabled(true);
}

void frmVerifica::MostraColpi(const EsitoColpi& esito) {
    QTableWidget* t = ui->tblColpi;
    t->setUpdatesEnabled(false);
    t->setRowCount(int(esito.colpi.size()));
    auto* serie = new QLineSeries;
    QList<QPointF> punti;
    punti.reserve(qsizetype(esito.colpi.size()));
    for (int row = 0; row < int(esito.colpi.size()); ++row) {
        const Colpo& c = esito.colpi[size_t(row)];
        Cella(t, row, 0, FormatoData(c.data), Qt::AlignLeft);
        Cella(t, row, 1, DescriviColpo(c), Qt::AlignLeft);
        Cella(t, row, 2, FormatoCentesimi(c.importi.netto), Qt::AlignRight);
        Cella(t, row, 3, FormatoCentesimi(c.saldo), Qt::AlignRight);
        punti.append({double(c.data.startOfDay().toMSecsSinceEpoch()), double(c.saldo) / 100});
    }
    t->resizeColumnsToContents();
    t->setUpdatesEnabled(true);
    serie->replace(punti);
    QChart* chart = grafico_->chart();
    chart->addSeries(serie);
    auto* asseX = new QDateTimeAxis;
    asseX->setFormat(QStringLiteral("dd/MM/yyyy"));
    asseX->setTickCount(3);
    auto* asseY = new QValueAxis;
    asseY->setTitleText(QStringLiteral("Saldo (€)"));
    asseY->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(asseX, Qt::AlignBottom);
    chart->addAxis(asseY, Qt::AlignLeft);
    serie->attachAxis(asseX);
    serie->attachAxis(asseY);
    if (esito.colpi.size() == 1) { // one date is no span: a day either side, and its mark
        const Colpo& c = esito.colpi.front();
        asseX->setRange(c.data.startOfDay().addDays(-1), c.data.startOfDay().addDays(1));
        const double saldo = double(c.saldo) / 100;
        asseY->setRange(std::min(saldo, 0.0) - 1, std::max(saldo, 0.0) + 1);
        serie->setPointsVisible(true);
    }
    ui->lblEstrazione->setText(estrazione_);
    ui->lblTotale->setText(DescriviTotali(esito.totali) + QStringLiteral("\nSaldo: ") +
                           FormatoCentesimi(esito.totali.Saldo()));
    ui->stkEsito->setCurrentWidget(ui->pagColpi);
    ui->cmdStampa->setEnabled(true);
    ui->cmdPdf->setEnabled(true);
}

void frmVerifica::Stampa(bool pdf) {
    if (!esito_ && !colpi_)
        return;
    const auto print = [this] {
        PrinterPage& page = pagina_;
        try {
            // A PDF file needs no printer.
            if (page.target() != PrinterPage::Target::PdfFile) {
                page.SelectPrinter(ReadConfiguration().stampante);
            }
            if (colpi_)
                StampaColpi(page, sistema_, *colpi_, estrazione_);
            else
                StampaVerifica(page, sistema_, *esito_, estrazione_, avviso_);
        } catch (const RunError& e) {
            SegnalaErroreStampa(page, e, QStringLiteral("StampaVerifica"),
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
            StampaSuPdf(pagina_, path, print);
        else
            print();
    });
}

} // namespace corpo
