#include "app/frmImpostazioni.h"

#include "app/corpo.h"
#include "app/messages.h"
#include "app/printers.h"
#include "app/settings.h"
#include "ui_frmImpostazioni.h"

#include <QFocusEvent>
#include <QTimer>

namespace corpo {

namespace {
// Where the header's text ends: the blanks of the mask after it are no place
// to type, since a letter there would stand apart from the rest.
int fineIntestazione(const QLineEdit* field) {
    const QString shown = field->displayText();
    int end = int(shown.size());
    while (end > 0 && shown.at(end - 1) == QLatin1Char('_'))
        --end;
    return end;
}
} // namespace

void MostraImpostazioni(QWidget* parent) {
    frmImpostazioni dlg(parent);
    dlg.carica();
    dlg.exec();
}

frmImpostazioni::frmImpostazioni(QWidget* parent) : QDialog(parent), ui(new Ui::frmImpostazioni) {
    ui->setupUi(this);
    connect(ui->cmdSalva, &QPushButton::clicked, this, &frmImpostazioni::cmdSalva_Click);
    connect(ui->cmdUscita, &QPushButton::clicked, this, &frmImpostazioni::cmdUscita_Click);
    // The cursor never rests in the blanks past the text: not after the
    // header is shown, nor after a click there.
    QLineEdit* field = ui->mskIntestazione;
    connect(field, &QLineEdit::cursorPositionChanged, this, [field](int, int position) {
        if (!field->hasSelectedText() && position > fineIntestazione(field))
            field->setCursorPosition(fineIntestazione(field));
    });
    field->installEventFilter(this);
}

bool frmImpostazioni::eventFilter(QObject* watched, QEvent* event) {
    // Entering the header from the keyboard continues the text; the line
    // edit itself would put the cursor on its first place.
    if (watched == ui->mskIntestazione && event->type() == QEvent::FocusIn &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::MouseFocusReason) {
        QLineEdit* field = ui->mskIntestazione;
        QMetaObject::invokeMethod(
            field, [field] { field->setCursorPosition(fineIntestazione(field)); },
            Qt::QueuedConnection);
    }
    return QDialog::eventFilter(watched, event);
}

frmImpostazioni::~frmImpostazioni() = default;

void frmImpostazioni::carica() {
    const Settings impostazioni = ReadConfiguration();
    ui->mskIntestazione->setText(impostazioni.intestazione);
    const QStringList printers = InstalledPrinters();
    ui->cmbStampante->clear();
    ui->cmbStampante->addItems(printers);
    ui->cmbStampante->setCurrentIndex(
        printers.indexOf(InitialPrinter(printers, impostazioni.stampante)));
    if (!printers.isEmpty() && ui->cmbStampante->currentText().isEmpty()) {
        MsgBox(QStringLiteral("Attenzione selezionare una stampante"), MsgButtons::Ok,
               MsgIcon::Critical, QStringLiteral("Importante"));
        ui->cmbStampante->setCurrentIndex(0);
    }
    if (printers.isEmpty())
        MsgBox(QStringLiteral("Attenzione nessuna stampante installata"), MsgButtons::Ok,
               MsgIcon::Critical, QStringLiteral("Importante"));
}

QString frmImpostazioni::intestazione() const {
    // text() leaves out the unfilled places of the mask; trailing blanks typed
    // by the user are not part of a header either.
    QString t = ui->mskIntestazione->text();
    while (t.endsWith(QLatin1Char(' ')))
        t.chop(1);
    return t;
}

void frmImpostazioni::cmdSalva_Click() {
    RunError error;
    if (!WriteConfiguration(intestazione(), ui->cmbStampante->currentText(), &error)) {
        ReportError(error, QStringLiteral("cmdSalva_Click"),
                    QStringLiteral("Form frmImpostazioni"));
        return;
    }
    accept();
}

void frmImpostazioni::cmdUscita_Click() { reject(); }

} // namespace corpo
