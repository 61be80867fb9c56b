#include "winnings/frmStatistiche.h"

#include "app/messages.h"
#include "gioco/prospetto.h"
#include "gioco/ruote.h"
#include "gioco/scommesse.h"
#include "winnings/aggiornaarchivio.h"
#include "winnings/archivio.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>

namespace corpo {

namespace {

// A cell shown as text and sorted by its value: "68,6" after "9".
class Cella : public QTableWidgetItem {
public:
    Cella(const QString& text, double valore) : QTableWidgetItem(text) {
        setData(Qt::UserRole, valore);
        setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        setTextAlignment(Qt::AlignCenter);
    }
    bool operator<(const QTableWidgetItem& other) const override {
        return data(Qt::UserRole).toDouble() < other.data(Qt::UserRole).toDouble();
    }
};

Cella* Intero(int n) { return new Cella(FormatoConteggio(n), n); }
// A dash where no count applies (a blank grape, a bet too small), sorted first.
Cella* Trattino() { return new Cella(QStringLiteral("—"), -1); }
// A count, or the dash for a negative one.
Cella* Conteggio(int n) { return n < 0 ? Trattino() : Intero(n); }

QTableWidget* Tabella(const QString& name, const QString& accessible, const QStringList& heads) {
    auto* t = new QTableWidget(0, int(heads.size()));
    t->setObjectName(name);
    t->setAccessibleName(accessible);
    t->setHorizontalHeaderLabels(heads);
    t->verticalHeader()->hide();
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return t;
}

QString Numeri(std::span<const uint8_t> numeri) {
    QStringList out;
    for (uint8_t n : numeri)
        out << (n ? QString::number(n) : QStringLiteral("—"));
    return out.join(QLatin1Char(' '));
}

} // namespace

std::optional<RitardiScelti> ApriStatistiche(QWidget* parent, const SystemRecord& record) {
    RunError error;
    std::optional<Archivio> archivio = CaricaArchivio(&error);
    if (!archivio) {
        MsgBox(QStringLiteral("L'archivio delle estrazioni non si può leggere (%1).")
                   .arg(error.description),
               MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Statistiche"));
        return std::nullopt;
    }
    frmStatistiche dlg(record, std::move(*archivio), parent);
    if (dlg.exec() != QDialog::Accepted)
        return std::nullopt;
    return dlg.Mostrati();
}

void MostraRitardiAcini(QWidget* window, const RitardiScelti& ritardi) {
    const Statistiche& s = ritardi.statistiche;
    size_t at = 0;
    for (const Scommessa& bet : Scommesse)
        for (int k = 0; k < bet.size; ++k) {
            const StatisticaNumero& n = s.numeri[at++];
            auto* field = window->findChild<QWidget*>(NomeCampoNumero(bet.group, k));
            if (!field || n.numero == 0)
                continue;
            const QString volte = n.frequenza == 1
                                      ? QStringLiteral("una volta")
                                      : FormatoConteggio(n.frequenza) + QStringLiteral(" volte");
            const QString text =
                QStringLiteral("Numero %1 sulla ruota di %2: ritardo %3, ritardo massimo %4; "
                               "uscito %5 in %6 estrazioni, dal %7.")
                    .arg(n.numero)
                    .arg(NomeRuota(ritardi.ruota), FormatoConteggio(n.ritardo),
                         FormatoConteggio(n.ritardoMax), volte, FormatoConteggio(s.estrazioni),
                         FormatoData(s.prima));
            field->setToolTip(text);
            field->setAccessibleDescription(text);
            if (auto* edit = qobject_cast<QLineEdit*>(field))
                QObject::connect(
                    edit, &QLineEdit::textChanged, edit,
                    [edit] {
                        edit->setToolTip({});
                        edit->setAccessibleDescription({});
                    },
                    Qt::SingleShotConnection);
        }
}

frmStatistiche::frmStatistiche(const SystemRecord& record, Archivio archivio, QWidget* parent)
    : QDialog(parent), record_(record), archivio_(std::move(archivio)) {
    setObjectName(QStringLiteral("frmStatistiche"));
    const QString nome = NomeBreve(record_);
    setWindowTitle(nome.isEmpty() ? QStringLiteral("Statistiche")
                                  : QStringLiteral("Statistiche ") + nome);

    ruota_ = new QComboBox;
    ruota_->setObjectName(QStringLiteral("cmbRuota"));
    ruota_->setAccessibleName(QStringLiteral("Ruota"));
    for (int r = 0; r < NumeroRuote; ++r)
        ruota_->addItem(NomeRuota(r));
    // "Tutte" is ten wheels: the counts are a single wheel's, Bari's.
    ruota_->setCurrentIndex(IndiceRuota(record_.Ruota, NomiRuote().first(NumeroRuote)).value_or(0));
    auto* lblRuota = new QLabel(QStringLiteral("&Ruota"));
    lblRuota->setBuddy(ruota_);

    dal_ = new QDateEdit;
    dal_->setObjectName(QStringLiteral("txtDal"));
    dal_->setAccessibleName(QStringLiteral("Dal giorno"));
    dal_->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    dal_->setCalendarPopup(true);
    if (!archivio_.estrazioni.empty())
        dal_->setDateRange(archivio_.Prima(), archivio_.Ultima());
    dal_->setDate(archivio_.estrazioni.empty() ? InizioArchivio : archivio_.Prima());
    dal_->setEnabled(!archivio_.estrazioni.empty());
    auto* lblDal = new QLabel(QStringLiteral("&Dal"));
    lblDal->setBuddy(dal_);

    auto* scelte = new QHBoxLayout;
    scelte->addWidget(lblRuota);
    scelte->addWidget(ruota_);
    scelte->addSpacing(12);
    scelte->addWidget(lblDal);
    scelte->addWidget(dal_);
    scelte->addStretch();

    riepilogo_ = new QLabel;
    riepilogo_->setObjectName(QStringLiteral("lblRiepilogo"));
    riepilogo_->setWordWrap(true);
    riepilogo_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    numeri_ =
        Tabella(QStringLiteral("tblNumeri"), QStringLiteral("Statistiche dei numeri"),
                {QStringLiteral("Acino"), QStringLiteral("Numero"), QStringLiteral("Scommessa"),
                 QStringLiteral("Ritardo"), QStringLiteral("Ritardo\nmassimo"),
                 QStringLiteral("Frequenza"), QStringLiteral("Scarto\ndall'attesa")});
    numeri_->sortByColumn(0, Qt::AscendingOrder); // sorting goes on once filled
    scommesse_ = Tabella(QStringLiteral("tblScommesse"), QStringLiteral("Ritardi delle scommesse"),
                         {QStringLiteral("Scommessa"), QStringLiteral("Numeri"),
                          QStringLiteral("Ritardo ambo"), QStringLiteral("Ritardo terno")});
    scommesse_->sortByColumn(0, Qt::AscendingOrder);

    auto* chart = new QChart;
    barre_ = new QBarSeries;
    chart->addSeries(barre_);
    assi_ = new QBarCategoryAxis;
    QFont piccolo = assi_->labelsFont(); // up to 29 numbers side by side
    piccolo.setPointSizeF(piccolo.pointSizeF() * 0.75);
    assi_->setLabelsFont(piccolo);
    assi_->setTruncateLabels(false); // a number needs no "...", and fits its bar's width
    valori_ = new QValueAxis;
    valori_->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(assi_, Qt::AlignBottom);
    chart->addAxis(valori_, Qt::AlignLeft);
    barre_->attachAxis(assi_);
    barre_->attachAxis(valori_);
    chart->legend()->setAlignment(Qt::AlignBottom);
    auto* grafico = new QChartView(chart);
    grafico->setObjectName(QStringLiteral("grfRitardi"));
    grafico->setAccessibleName(QStringLiteral("Grafico dei ritardi"));
    grafico->setRenderHint(QPainter::Antialiasing);
    grafico->setMinimumSize(200, 150);

    auto* schede = new QTabWidget;
    schede->setObjectName(QStringLiteral("tabStatistiche"));
    schede->setAccessibleName(QStringLiteral("Grafico e scommesse"));
    schede->addTab(grafico, QStringLiteral("&Grafico"));
    schede->addTab(scommesse_, QStringLiteral("S&commesse"));

    auto* split = new QSplitter;
    split->addWidget(numeri_);
    split->addWidget(schede);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);

    controllo_ = new QListWidget;
    controllo_->setObjectName(QStringLiteral("lstControllo"));
    controllo_->setAccessibleName(QStringLiteral("Controllo dell'archivio"));
    controllo_->setMinimumHeight(48);
    titoloControllo_ = new QLabel;
    titoloControllo_->setObjectName(QStringLiteral("lblControllo"));
    titoloControllo_->setBuddy(controllo_);

    auto* bottoni = new QDialogButtonBox(QDialogButtonBox::Close);
    QPushButton* chiudi = bottoni->button(QDialogButtonBox::Close);
    chiudi->setObjectName(QStringLiteral("cmdChiudi"));
    chiudi->setText(QStringLiteral("C&hiudi"));
    chiudi->setAccessibleName(QStringLiteral("Chiudi"));
    connect(bottoni, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // On request the bunch of the main window tells each grape's delay.
    QPushButton* sulVorlacco =
        bottoni->addButton(QStringLiteral("Ritardi sul &vorlacco"), QDialogButtonBox::AcceptRole);
    sulVorlacco->setObjectName(QStringLiteral("cmdRitardiVorlacco"));
    sulVorlacco->setAutoDefault(false); // Enter in the date field does not close the window
    sulVorlacco->setAccessibleName(QStringLiteral("Mostra i ritardi sul vorlacco"));
    sulVorlacco->setToolTip(QStringLiteral("Ogni acino del vorlacco mostra il suo ritardo "
                                           "quando il puntatore gli passa sopra"));
    connect(bottoni, &QDialogButtonBox::accepted, this, &QDialog::accept);
    QPushButton* aggiorna =
        bottoni->addButton(QStringLiteral("Aggi&orna archivio..."), QDialogButtonBox::ActionRole);
    aggiorna->setObjectName(QStringLiteral("cmdAggiornaArchivio"));
    aggiorna->setAutoDefault(false);
    aggiorna->setToolTip(QStringLiteral("Scarica l'archivio delle estrazioni pubblicato e "
                                        "aggiunge le nuove estrazioni"));
    connect(aggiorna, &QPushButton::clicked, this, [this] {
        std::optional<Archivio> nuovo = ApriAggiornaArchivio(this);
        if (!nuovo)
            return;
        archivio_ = std::move(*nuovo);
        {
            const QSignalBlocker quiet(dal_); // counted once, below
            const QDate scelta = dal_->date();
            dal_->setDateRange(archivio_.Prima(), archivio_.Ultima());
            dal_->setDate(dal_->isEnabled() ? scelta : archivio_.Prima());
            dal_->setEnabled(true);
        }
        Aggiorna();
        MostraControllo();
    });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(scelte);
    layout->addWidget(riepilogo_);
    layout->addWidget(split, 4);
    layout->addWidget(titoloControllo_);
    layout->addWidget(controllo_, 1);
    layout->addWidget(bottoni);
    resize(1200, 760); // the screen's fitting makes it smaller where needed

    connect(ruota_, &QComboBox::currentIndexChanged, this, &frmStatistiche::Aggiorna);
    connect(dal_, &QDateEdit::dateChanged, this, &frmStatistiche::Aggiorna);
    Aggiorna();
    MostraControllo();
}

void frmStatistiche::Aggiorna() {
    const int ruota = ruota_->currentIndex();
    const QDate dal = archivio_.estrazioni.empty() ? QDate() : dal_->date();
    mostrati_ = {ruota, CalcolaStatistiche(archivio_, record_, ruota, dal)};
    const Statistiche& s = mostrati_.statistiche;

    if (archivio_.estrazioni.empty())
        riepilogo_->setText(QStringLiteral("L'archivio delle estrazioni è vuoto: importalo da "
                                           "Verifica."));
    else if (s.estrazioni == 0)
        riepilogo_->setText(QStringLiteral("Nessuna estrazione della ruota di %1 dal %2.")
                                .arg(NomeRuota(ruota), FormatoData(dal)));
    else
        riepilogo_->setText(
            QStringLiteral("Ruota di %1: %2 estrazioni dal %3 al %4. Un numero esce in media "
                           "%5 volte (5 numeri su 90 a estrazione).")
                .arg(NomeRuota(ruota), FormatoConteggio(s.estrazioni), FormatoData(s.prima),
                     FormatoData(s.ultima), FormatoDecimale(s.frequenzaAttesa, 1)));

    numeri_->setSortingEnabled(false);
    numeri_->setRowCount(NumeroNumeri);
    auto* ritardi = new QBarSet(QStringLiteral("Ritardo"));
    auto* massimi = new QBarSet(QStringLiteral("Ritardo massimo"));
    QStringList categorie;
    int riga = 0;
    for (const Scommessa& bet : Scommesse)
        for (int k = 0; k < bet.size; ++k, ++riga) {
            const StatisticaNumero& n = s.numeri[size_t(riga)];
            const bool vuoto = n.numero == 0;
            const double scarto = n.frequenza - s.frequenzaAttesa;
            numeri_->setItem(riga, 0, Intero(riga + 1));
            numeri_->setItem(riga, 1, vuoto ? Trattino() : Intero(n.numero));
            numeri_->setItem(riga, 2, new Cella(bet.Nome(), bet.group));
            numeri_->setItem(riga, 3, vuoto ? Trattino() : Intero(n.ritardo));
            numeri_->setItem(riga, 4, vuoto ? Trattino() : Intero(n.ritardoMax));
            numeri_->setItem(riga, 5, vuoto ? Trattino() : Intero(n.frequenza));
            numeri_->setItem(riga, 6,
                             vuoto ? Trattino()
                                   : new Cella((scarto > 0 ? QStringLiteral("+") : QString()) +
                                                   FormatoDecimale(scarto, 1),
                                               scarto));
            // A bar per number: the head number stands in every bet, once is enough.
            const QString nome = QString::number(n.numero);
            if (vuoto || categorie.contains(nome))
                continue;
            categorie << nome;
            *ritardi << n.ritardo;
            *massimi << n.ritardoMax;
        }
    numeri_->setSortingEnabled(true);

    scommesse_->setSortingEnabled(false);
    scommesse_->setRowCount(NumeroGruppi);
    for (const Scommessa& bet : Scommesse) {
        const StatisticaScommessa& b = s.scommesse[size_t(bet.group)];
        scommesse_->setItem(bet.group, 0, new Cella(bet.Nome(), bet.group));
        scommesse_->setItem(bet.group, 1, new Cella(Numeri(bet.Numeri(record_)), bet.group));
        scommesse_->setItem(bet.group, 2, Conteggio(b.ritardoAmbo));
        scommesse_->setItem(bet.group, 3, Conteggio(b.ritardoTerno));
    }
    scommesse_->setSortingEnabled(true);

    barre_->clear();
    barre_->append(ritardi);
    barre_->append(massimi);
    assi_->setCategories(categorie);
    double alto = 1;
    for (int i = 0; i < massimi->count(); ++i)
        alto = std::max(alto, massimi->at(i));
    valori_->setRange(0, alto);
    valori_->applyNiceNumbers();
}

void frmStatistiche::MostraControllo() {
    const ControlloArchivio c = ControllaArchivio(archivio_);
    controllo_->clear();
    for (const Rilievo& r : c.rilievi)
        controllo_->addItem(r.testo);
    if (c.totale > c.rilievi.size())
        controllo_->addItem(QStringLiteral("... e altri %1 rilievi.")
                                .arg(FormatoConteggio(c.totale - c.rilievi.size())));
    titoloControllo_->setText(
        archivio_.estrazioni.empty() ? QStringLiteral("Controllo dell'&archivio: vuoto.")
        : c.totale == 0
            ? QStringLiteral("Controllo dell'&archivio: ogni data ha le sue ruote, e nessuna "
                             "estrazione manca.")
        : c.totale == 1 ? QStringLiteral("Controllo dell'&archivio: un rilievo.")
                        : QStringLiteral("Controllo dell'&archivio: %1 rilievi.")
                              .arg(FormatoConteggio(c.totale)));
}

} // namespace corpo
