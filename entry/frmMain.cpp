#include "entry/frmMain.h"

#include "ui_frmMain.h"

#include "app/art.h"
#include "app/corpo.h"
#include "app/fileio.h"
#include "app/finestre.h"
#include "app/messages.h"
#include "app/places.h"
#include "app/settings.h"
#include "app/shell.h"
#include "entry/dialogs.h"
#include "entry/frmColourPicker.h"
#include "entry/widgets.h"
#include "gioco/prospetto.h"
#include "gioco/ruote.h"
#include "gioco/systemfile.h"
#include "gioco/verifica.h"
#include "outputs/frmStampaSchedine.h"
#include "outputs/frmTabulato.h"
#include "outputs/frmVerifica.h"
#include "update/frmAbout.h"
#include "winnings/acino.h"
#include "winnings/frmStatistiche.h"
#include "winnings/frmVincite.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPainter>
#include <QShortcut>
#include <QSvgRenderer>
#include <QTimer>
#include <QValidator>
#include <algorithm>

namespace corpo {

namespace {

const QString FiltroSistemi = QStringLiteral("Sistemi Bramasolovanti (*.vrl)");
const QString NomeVuoto = QStringLiteral("vuoto.vrl");

// A top-level QWidget reads as a plain filler to a screen reader: the main
// window says it is an application's frame.
// A grape is drawing only: the number field on it carries the name, so a
// screen reader passes the grape over.
class Decorazione : public QAccessibleWidget {
public:
    explicit Decorazione(QWidget* w) : QAccessibleWidget(w, QAccessible::Graphic) {}
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.invisible = true;
        return s;
    }
};

QAccessibleInterface* interfacciaAccessibile(const QString& className, QObject* object) {
    if (!object->isWidgetType())
        return nullptr;
    if (className == QLatin1String("corpo::frmMain"))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    if (className == QLatin1String("corpo::Acino"))
        return new Decorazione(static_cast<QWidget*>(object));
    return nullptr;
}

// What a field may hold, whatever puts the text there: the key filter checks
// typing and Ctrl+V with messages; this refuses a paste from the context menu
// or a drop silently.
class ValidatoreCampo : public QValidator {
public:
    ValidatoreCampo(bool stake, QObject* parent) : QValidator(parent), stake_(stake) {}
    State validate(QString& text, int&) const override {
        // A full stop typed or pasted into a stake lands as its comma.
        if (stake_)
            text = StakeNotation(text);
        return FieldAccepts(text, stake_) ? Acceptable : Invalid;
    }

private:
    bool stake_;
};

} // namespace

frmMain::frmMain(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::frmMain>()) {
    QAccessible::installFactory(interfacciaAccessibile);
    ui->setupUi(this);
    setObjectName(QStringLiteral("frmMain"));

    // Every change of a field, the wheel or a colour marks the system as
    // changed; the empty system, Open and Save clear the mark afterwards.
    for (int g = 0; g < NumeroGruppi; ++g) {
        for (int p = 0; p < Scommesse[size_t(g)].size; ++p) {
            QLineEdit* field = findChild<QLineEdit*>(NomeCampoNumero(g, p));
            Q_ASSERT(field);
            numbers_[size_t(g)][size_t(p)] = field;
            field->setAccessibleName(
                QStringLiteral("%1, numero %2").arg(Scommesse[size_t(g)].Nome()).arg(p + 1));
            field->setValidator(new ValidatoreCampo(false, field));
            field->installEventFilter(this);
            connect(field, &QLineEdit::textChanged, this, [this, field] {
                doc_.modificato = true;
                ControllaValore(field);
            });
        }
        for (int k = 0; k < Scommesse[size_t(g)].stakeCount; ++k) {
            QLineEdit* field = findChild<QLineEdit*>(NomeCampoImporto(g, k));
            Q_ASSERT(field);
            stakes_[size_t(g)][size_t(k)] = field;
            field->setAccessibleName(
                QStringLiteral("%1, %2, euro")
                    .arg(Scommesse[size_t(g)].Nome(), Scommesse[size_t(g)].NomeTipo(k).toLower()));
            field->setValidator(new ValidatoreCampo(true, field));
            field->installEventFilter(this);
            connect(field, &QLineEdit::textChanged, this, [this] { doc_.modificato = true; });
        }
    }
    for (int i = 0; i < NumeroNumeri; ++i) {
        grapes_[size_t(i)] = findChild<Acino*>(QStringLiteral("ellissi_%1").arg(i));
        Q_ASSERT(grapes_[size_t(i)]);
    }

    // Enter presses the focused button, as Space does; outside a dialog only
    // an auto-default button takes Enter.
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(true);

    // Rendered at twice the size, so they stay sharp when the window grows.
    ShowArt(ui->picSfondoVorlacco, QStringLiteral(":/entry/sfondo_vorlacco.svg"), 2);
    ShowArt(ui->Picture3, QStringLiteral(":/entry/logo_bramasolovanti.svg"), 2);

    connect(ui->cmdApri, &QPushButton::clicked, this, &frmMain::ApriSistema);
    connect(ui->cmdSalva, &QPushButton::clicked, this, &frmMain::SalvaSistema);
    connect(ui->cmdCapogioco, &QPushButton::clicked, this, [this] { ImpostaCapogioco(1); });
    connect(ui->cmdCasuale, &QPushButton::clicked, this, &frmMain::NumeriCasuali);
    connect(ui->cmdCancella, &QPushButton::clicked, this, [this] {
        if (ChiediSalvataggio())
            NuovoSistema();
    });
    connect(ui->cmd10Euro, &QPushButton::clicked, this, &frmMain::ImpostaImporti10);
    connect(ui->cmd20Euro, &QPushButton::clicked, this, &frmMain::ImpostaImporti20);
    connect(ui->cmdVincite, &QPushButton::clicked, this, &frmMain::cmdVincite_Click);
    connect(ui->cmdPrnTabulato, &QPushButton::clicked, this, &frmMain::cmdPrnTabulato_Click);
    connect(ui->cmdPrnSchedine, &QPushButton::clicked, this, &frmMain::cmdPrnSchedine_Click);
    connect(ui->cmdVerifica, &QPushButton::clicked, this, &frmMain::cmdVerifica_Click);
    connect(ui->cmdStatistiche, &QPushButton::clicked, this, [this] {
        if (!SistemaPronto())
            return;
        if (const std::optional<RitardiScelti> r = ApriStatistiche(this, doc_.sistema))
            MostraRitardiAcini(this, *r);
    });
    connect(new QShortcut(QKeySequence(Qt::Key_F5), this), &QShortcut::activated, ui->cmdVerifica,
            &QPushButton::click);
    connect(ui->cmdColoreVorlacco, &QPushButton::clicked, this, &frmMain::cmdColoreVorlacco_Click);
    connect(ui->cmdColoraCapogioco, &QPushButton::clicked, this,
            &frmMain::cmdColoraCapogioco_Click);
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, [this] { ShowAbout(this); });
    connect(ui->cmbRuote, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        doc_.sistema.Ruota = FixedString(text, WheelChars);
        doc_.modificato = true;
    });

    resizer_ = new Ridimensionatore(this);
}

frmMain::~frmMain() = default;

DatiCarta frmMain::carta() const { return {doc_.sistema, doc_.colori, impostazioni_.intestazione}; }

void frmMain::carica() {
    setWindowTitle(TitoloProgramma + QStringLiteral(" by Marvolt - Versione ") + StringaVersione() +
                   QStringLiteral(" - ") + Edizione);
    LoadWheels(ui->cmbRuote);
    NuovoSistema();
    impostazioni_ = ReadConfiguration();
    AdattaAlloSchermo(this);
}

// Checked: a place past the bets is a fault to stop at, not another field to change.
QLineEdit* frmMain::campoNumero(int group, int position) const {
    return numbers_.at(size_t(group)).at(size_t(position));
}
QLineEdit* frmMain::campoImporto(int group, int index) const {
    return stakes_.at(size_t(group)).at(size_t(index));
}
Acino* frmMain::acino(int index) const { return grapes_.at(size_t(index)); }

// ---------------------------------------------------------------- the system

void frmMain::NuovoSistema() {
    doc_.colori.vorlacco = ColoreVorlaccoPredefinito;
    doc_.colori.capogioco = ColoreCapogiocoPredefinito;
    doc_.sistema.Capogioco = 0;
    // Position by position, the two bets of a kind together. An empty field
    // holds nothing, not blanks: a click into it and a digit must just work.
    for (const StakeSlot& n : NumberOrder()) {
        campoNumero(n.group, n.index)->clear();
        Scommesse[size_t(n.group)].Numeri(doc_.sistema)[size_t(n.index)] = 0;
    }
    doc_.sistema.NomeSistema = FixedString(NomeVuoto, NameChars);
    ui->lblNomeSistema->setText(doc_.sistema.NomeSistema.trimmed());
    doc_.sistema.Ruota = FixedString(QString(), WheelChars);
    ui->cmbRuote->setCurrentIndex(0); // none when there is no list
    for (const StakeSlot& s : StakeOrder())
        campoImporto(s.group, s.index)->setText(QStringLiteral("0,00"));
    ImportiDaiCampi();
    ImpostaColoreVorlacco(ColoreVorlaccoPredefinito);
    ui->cmdColoraCapogioco->setEnabled(false);
    doc_.modificato = false;
}

void frmMain::NumeriNeiCampi() {
    for (const StakeSlot& n : NumberOrder())
        campoNumero(n.group, n.index)
            ->setText(
                QString::number(Scommesse[size_t(n.group)].Numeri(doc_.sistema)[size_t(n.index)]));
}

void frmMain::ControllaValore(QLineEdit* field) {
    if (Val(field->text()) <= NumeroMassimo)
        return;
    MsgBox(QStringLiteral("I valori possibili sono da 1 a 90"), MsgButtons::Ok, MsgIcon::Critical,
           QStringLiteral("Errore"));
    field->setText(QStringLiteral("00"));
    field->setSelection(0, 2);
}

bool frmMain::VerificaSistema() {
    Cluster values{};
    for (int g = 0; g < NumeroGruppi; ++g)
        for (int p = 0; p < Scommesse[size_t(g)].size; ++p)
            values[size_t(g)][size_t(p)] = int(Val(campoNumero(g, p)->text()));
    const Verdict v = CheckCluster(values, doc_.sistema);
    if (v.ok)
        return true;
    MsgBox(v.message, MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Attenzione!!"));
    campoNumero(v.group, v.position)->setFocus(Qt::OtherFocusReason);
    return false;
}

void frmMain::ImpostaCapogioco(uint8_t mode) {
    int32_t colour;
    int candidate = doc_.sistema.Capogioco;
    if (doc_.sistema.Capogioco != 0)
        colour = doc_.colori.capogioco;
    else
        colour = RandomColour(Rnd());
    if (mode == 1) {
        const QString answer =
            InputBox(QStringLiteral("Inserisci il capogioco (1-90)"), QStringLiteral("CAPOGIOCO"),
                     QString::number(doc_.sistema.Capogioco));
        const HeadNumberAnswer a = ParseHeadNumber(answer);
        if (a.kind == HeadNumberAnswer::Cancelled)
            return;
        if (a.kind == HeadNumberAnswer::OutOfRange) {
            MsgBox(QStringLiteral("I valori possibili sono da 1 a 90"), MsgButtons::Ok,
                   MsgIcon::Critical, QStringLiteral("Errore"));
            return;
        }
        candidate = a.value;
    }
    for (int g = 0; g < NumeroGruppi; ++g)
        campoNumero(g, 0)->setText(QString::number(candidate));
    ImpostaColoreCapogioco(colour);
    doc_.sistema.Capogioco = uint8_t(candidate);
    doc_.colori.capogioco = colour;
    ui->cmdColoraCapogioco->setEnabled(true);
    VerificaSistema();
}

void frmMain::NumeriCasuali() {
    const Cluster values = RandomCluster(doc_.sistema.Capogioco, &Rnd);
    for (int g = 0; g < NumeroGruppi; ++g)
        for (int p = 0; p < Scommesse[size_t(g)].size; ++p)
            campoNumero(g, p)->setText(QString::number(values[size_t(g)][size_t(p)]));
    if (doc_.sistema.Capogioco != 0)
        ImpostaCapogioco(0);
    VerificaSistema();
}

// ---------------------------------------------------------------- stakes

void frmMain::ImportiDaiCampi() {
    for (const StakeSlot& s : StakeOrder())
        Scommesse[size_t(s.group)].Importi(doc_.sistema)[size_t(s.index)] =
            ParseStake(campoImporto(s.group, s.index)->text());
    const float total = SystemTotal(doc_.sistema);
    ui->txtImportoSistema->setText(FormatTotal(total));
    doc_.sistema.ImportoSistema = total;
}

void frmMain::ImportiNeiCampi() {
    for (const StakeSlot& s : StakeOrder())
        campoImporto(s.group, s.index)
            ->setText(
                FormatStake(Scommesse[size_t(s.group)].Importi(doc_.sistema)[size_t(s.index)]));
}

void frmMain::ImpostaImporti10() {
    ApplyPreset(doc_.sistema, Preset::Euro10);
    ImportiNeiCampi();
    ImportiDaiCampi();
}

void frmMain::ImpostaImporti20() {
    ApplyPreset(doc_.sistema, Preset::Euro20);
    ImportiNeiCampi();
    ImportiDaiCampi();
}

bool frmMain::SistemaPronto() {
    doc_.sistema.Ruota = FixedString(ui->cmbRuote->currentText(), WheelChars);
    if (!VerificaSistema())
        return false;
    // Left empty by a system whose wheel is not in the list.
    if (ui->cmbRuote->count() > 0 && ui->cmbRuote->currentIndex() < 0) {
        MsgBox(QStringLiteral("Scegliere la ruota dall'elenco."), MsgButtons::Ok,
               MsgIcon::Exclamation, QStringLiteral("Attenzione"));
        ui->cmbRuote->setFocus(Qt::OtherFocusReason);
        return false;
    }
    ImportiDaiCampi();
    return true;
}

void frmMain::cmdVincite_Click() {
    // The prospect shows the numbers of the record: only a complete system
    // puts them there.
    if (SistemaPronto())
        MostraVincite(this, doc_.sistema);
}

void frmMain::cmdPrnTabulato_Click() {
    if (SistemaPronto())
        MostraTabulato(this, carta(), stampante_);
}

void frmMain::cmdPrnSchedine_Click() {
    if (!SistemaPronto())
        return;
    // The slip window enables the main window again when it closes.
    setEnabled(false);
    MostraStampaSchedine(this, carta(), stampante_);
}

void frmMain::cmdVerifica_Click() {
    if (SistemaPronto())
        ApriVerifica(doc_.sistema, stampante_, this);
}

// ---------------------------------------------------------------- colours

void frmMain::coloraCampo(QLineEdit* field, int32_t colour) {
    const QColor c = ToQColor(colour);
    QPalette pal = field->palette();
    pal.setColor(QPalette::Base, c);
    // Keep the number readable on any colour the user picks.
    pal.setColor(QPalette::Text, ToQColor(ColoreCifra(colour)));
    field->setPalette(pal);
}

void frmMain::ImpostaColoreVorlacco(int32_t colour) {
    for (Acino* e : grapes_)
        e->impostaColore(ToQColor(colour));
    for (const StakeSlot& n : NumberOrder())
        coloraCampo(campoNumero(n.group, n.index), colour);
    if (doc_.sistema.Capogioco != 0)
        ImpostaColoreCapogioco(doc_.colori.capogioco);
}

void frmMain::ImpostaColoreCapogioco(int32_t colour) {
    for (int g = 0; g < NumeroGruppi; ++g)
        coloraCampo(campoNumero(g, 0), colour);
    for (const Scommessa& bet : Scommesse)
        acino(bet.acinoTesta)->impostaColore(ToQColor(colour));
}

void frmMain::cmdColoreVorlacco_Click() {
    ScegliColore(doc_.colori.vorlacco, [this](int32_t c) { ImpostaColoreVorlacco(c); });
}

void frmMain::cmdColoraCapogioco_Click() {
    ScegliColore(doc_.colori.capogioco, [this](int32_t c) { ImpostaColoreCapogioco(c); });
}

void frmMain::ScegliColore(int32_t& colore, const std::function<void(int32_t)>& dipingi) {
    int32_t scelto = colore;
    {
        frmColourPicker picker(this, colore, dipingi);
        if (picker.exec() == QDialog::Accepted)
            scelto = picker.ColoreScelto;
    }
    doc_.modificato |= scelto != colore;
    colore = scelto;
    dipingi(colore);
}

// ---------------------------------------------------------------- files

QString frmMain::cartellaSistemi() const { return SystemsFolder(); }

bool frmMain::SalvaSistema() {
    if (!VerificaSistema())
        return false;
    FileDialogRequest request;
    request.save = true;
    request.title = QStringLiteral("Salva Sistema");
    request.folder = cartellaSistemi();
    request.filter = FiltroSistemi;
    request.defaultSuffix = QStringLiteral("vrl");
    const QString path = AskFileName(this, request);
    if (path.isEmpty())
        return false;

    const QString previousName = doc_.sistema.NomeSistema;
    doc_.sistema.NomeSistema = FixedString(QFileInfo(path).fileName(), NameChars);
    if (doc_.sistema.NomeSistema.trimmed() == NomeVuoto) {
        MsgBox(QStringLiteral("Impostare un nome diverso da\r\n[") + NomeVuoto +
                   QStringLiteral("]"),
               MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Attenzione"));
        doc_.sistema.NomeSistema = FixedString(ui->lblNomeSistema->text(), NameChars);
        return false;
    }

    QApplication::setOverrideCursor(Qt::WaitCursor);
    doc_.sistema.Ruota = FixedString(ui->cmbRuote->currentText(), WheelChars);
    ImportiDaiCampi();
    const std::optional<QString> failed = SalvaDocumento(doc_, path);
    QApplication::restoreOverrideCursor();
    if (failed) {
        doc_.sistema.NomeSistema = previousName;
        MsgBox(*failed, MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("E R R O R E"));
        return false;
    }
    doc_.sistema.NomeSistema = doc_.sistema.NomeSistema.toLower();
    ui->lblNomeSistema->setText(doc_.sistema.NomeSistema.trimmed());
    doc_.file = path;
    doc_.modificato = false;
    return true;
}

bool frmMain::ChiediSalvataggio() {
    if (!doc_.modificato)
        return true;
    switch (MsgBox(QStringLiteral("Il sistema è stato modificato. Salvarlo?"),
                   MsgButtons::YesNoCancel, MsgIcon::Question, windowTitle())) {
    case MsgResult::Yes: return SalvaSistema();
    case MsgResult::No: return true;
    default: return false;
    }
}

void frmMain::ApriSistema() {
    if (!ChiediSalvataggio())
        return;
    FileDialogRequest request;
    request.save = false;
    request.title = QStringLiteral("Apri Sistema");
    request.folder = cartellaSistemi();
    request.filter = FiltroSistemi;
    const QString path = AskFileName(this, request);
    if (!path.isEmpty())
        ApriFileSistema(path);
}

void frmMain::ApriFileSistema(const QString& path) {
    // Everything is read before the current system is touched: a bad file
    // leaves it exactly as it was.
    auto opened = ApriDocumento(path);
    if (const ErroreApertura* e = std::get_if<ErroreApertura>(&opened)) {
        MsgBox(e->testo, MsgButtons::Ok, MsgIcon::Critical, e->titolo);
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    NuovoSistema();
    doc_ = std::move(std::get<Documento>(opened));
    doc_.sistema.Ruota = FixedString(doc_.sistema.Ruota.trimmed(), WheelChars);
    QApplication::restoreOverrideCursor();

    // The wheel box rewrites Ruota as it moves: remember the one to look for.
    const QString wanted = doc_.sistema.Ruota.trimmed();
    NumeriNeiCampi();
    if (doc_.sistema.Capogioco != 0)
        ImpostaCapogioco(0);
    doc_.sistema.NomeSistema = FixedString(doc_.sistema.NomeSistema.trimmed(), NameChars);
    ui->lblNomeSistema->setText(doc_.sistema.NomeSistema.trimmed());
    ImportiNeiCampi();
    VerificaSistema();
    ImportiDaiCampi();
    QComboBox* wheels = ui->cmbRuote;
    QStringList names;
    for (int i = 0; i < wheels->count(); ++i)
        names << wheels->itemText(i);
    const std::optional<int> wheel = IndiceRuota(wanted, names);
    // A wheel not in the list is never swapped for another: the box stays
    // empty and the user picks one.
    wheels->setCurrentIndex(wheel.value_or(-1));
    ImpostaColoreVorlacco(doc_.colori.vorlacco);
    doc_.modificato = false;
    if (!names.isEmpty() && !wheel) // a list, and the wheel not in it
        MsgBox((wanted.isEmpty() ? QStringLiteral("Il sistema non indica la ruota.")
                                 : QStringLiteral("La ruota \"%1\" del sistema non è "
                                                  "nell'elenco delle ruote.")
                                       .arg(wanted)) +
                   QStringLiteral("\r\nScegliere la ruota dall'elenco."),
               MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("Attenzione"));
}

// ---------------------------------------------------------------- events

bool frmMain::filtraTasto(QLineEdit* field, QKeyEvent* key, bool stake) {
    switch (key->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
    case Qt::Key_Control: // a modifier on its own, on the way to a shortcut
    case Qt::Key_Shift:
    case Qt::Key_Alt:
    case Qt::Key_Meta: return false;
    default: break;
    }
    // Pasted text meets the same rules as typed text.
    if (key->matches(QKeySequence::Paste))
        return rifiutaInserimento(field, QGuiApplication::clipboard()->text(), stake);
    for (const auto editing : {QKeySequence::SelectAll, QKeySequence::Copy, QKeySequence::Cut,
                               QKeySequence::Undo, QKeySequence::Redo})
        if (key->matches(editing))
            return false;
    const QString text = key->text();
    const bool ctrl = key->modifiers() & Qt::ControlModifier;
    if (text.isEmpty() && !ctrl)
        return false; // arrows, Home, End, shift alone: no character typed
    // A combination no shortcut took is not typing: it beeps, as a letter would.
    if (ctrl || key->modifiers() & Qt::AltModifier || text.size() != 1) {
        Beep();
        return true;
    }
    return rifiutaInserimento(field, text, stake);
}

bool frmMain::rifiutaInserimento(QLineEdit* field, const QString& inserted, bool stake) {
    const bool allowed = std::all_of(inserted.begin(), inserted.end(), [stake](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
               (stake && (c == QLatin1Char(',') || c == QLatin1Char('.')));
    });
    QString after = field->text();
    const int at = field->hasSelectedText() ? field->selectionStart() : field->cursorPosition();
    after.replace(at, field->selectedText().size(), inserted);
    if (stake)
        after = StakeNotation(after);
    // A second decimal mark is a slip of the finger, like a letter.
    if (!allowed || after.count(QLatin1Char(',')) > 1) {
        Beep();
        return true;
    }
    if (FieldAccepts(after, stake))
        return false; // the validator writes a full stop as the comma
    // Text that cannot stand whole in its field is refused, never cut: a cut
    // amount or number would be a different bet.
    if (stake)
        MsgBox(QStringLiteral("Gli importi possibili sono da 0,00 a %1, con al massimo due "
                              "decimali")
                   .arg(FormatStake(MaxStake)),
               MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Errore"));
    else
        Beep();
    return true;
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    QLineEdit* field = qobject_cast<QLineEdit*>(watched);
    if (!field)
        return QWidget::eventFilter(watched, event);
    const bool stake = field->objectName().startsWith(QStringLiteral("txtImp"));
    switch (event->type()) {
    case QEvent::KeyPress: return filtraTasto(field, static_cast<QKeyEvent*>(event), stake);
    case QEvent::FocusIn:
        // Select after the click that brought the focus has been handled too,
        // so typing always replaces the whole old value.
        QMetaObject::invokeMethod(
            field,
            [field] {
                if (field->hasFocus())
                    field->selectAll();
            },
            Qt::QueuedConnection);
        field->selectAll();
        break;
    case QEvent::FocusOut: {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (stake && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            field->setText(FormatStake(ParseStake(field->text())));
            ImportiDaiCampi();
        }
        break;
    }
    default: break;
    }
    return QWidget::eventFilter(watched, event);
}

void frmMain::closeEvent(QCloseEvent* event) {
    // A changed system asks about saving instead, so closing asks only once.
    const bool leave = doc_.modificato
                           ? ChiediSalvataggio()
                           : MsgBox(QStringLiteral("Uscire dall'applicazione?"), MsgButtons::YesNo,
                                    MsgIcon::Question, windowTitle()) == MsgResult::Yes;
    if (!leave) {
        event->ignore();
        return;
    }
    UnloadAllForms(objectName());
    event->accept();
}

bool frmMain::sulloSfondo(const QPoint& pos) const {
    QWidget* under = childAt(pos);
    return under == nullptr || under == ui->Picture3;
}

void frmMain::mousePressEvent(QMouseEvent* event) {
    backgroundPressed_ =
        event->button() == Qt::LeftButton && sulloSfondo(event->position().toPoint());
    QWidget::mousePressEvent(event);
}

void frmMain::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = backgroundPressed_ && event->button() == Qt::LeftButton &&
                       sulloSfondo(event->position().toPoint());
    backgroundPressed_ = false;
    QWidget::mouseReleaseEvent(event);
    if (click)
        ShowAbout(this);
}

} // namespace corpo
