#include "winnings/frmVincite.h"

#include "app/art.h"
#include "app/corpo.h"
#include "app/fileio.h"
#include "app/messages.h"
#include "app/scommesse.h"
#include "winnings/prospetto.h"
#include "ui_frmVincite.h"

#include <QApplication>
#include <QPointer>

// Resources of a static library have to be pulled in by name.
static void InitVinciteResources() { Q_INIT_RESOURCE(frmVincite); }

namespace corpo {

namespace {

// The window's artwork, rendered sharp at the screen's pixel ratio.
void DrawPicture(QLabel* label, const QString& resource) {
    label->setPixmap(RenderArt(resource, label->size(), label->devicePixelRatioF()));
}

// The widgets' own font name stays "Calibri"; where it is missing the
// metric-compatible Carlito keeps the amounts inside their labels.
void PreferCalibri(QWidget* w) {
    QFont f = w->font();
    f.setFamilies({QStringLiteral("Calibri"), QStringLiteral("Carlito")});
    w->setFont(f);
}

} // namespace

frmVincite::frmVincite(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::frmVincite>()) {
    InitVinciteResources();
    ui->setupUi(this);
    setFixedSize(size());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    for (QWidget* w : findChildren<QWidget*>())
        if (w->font().family() == QLatin1String("Calibri"))
            PreferCalibri(w);
    DrawPicture(ui->Picture1, QStringLiteral(":/winnings/picture1.svg"));
    DrawPicture(ui->Picture2, QStringLiteral(":/winnings/picture2.svg"));
}

frmVincite::~frmVincite() = default;

bool frmVincite::Form_Load() {
    const SystemRecord& s = Sistema;
    for (const Scommessa& bet : Scommesse)
        for (int p = 0; p < bet.size; ++p)
            findChild<QLineEdit*>(NumberFieldName(bet.group, p))
                ->setText(FormatoNumero(bet.Numbers(s)[size_t(p)]));

    RunError error;
    if (!CalcolaProspetto(&error)) {
        ReportError(error, QStringLiteral("Form_Load"), QStringLiteral("Form frmVincite"));
        return false;
    }

    for (const Scommessa& bet : Scommesse)
        for (int k = 0; k < bet.stakeCount; ++k)
            findChild<QLabel*>(WinningsFieldName(bet.group, k))
                ->setText(FormatoVincita(bet.Winnings(s)[size_t(k)]));
    return true;
}

void MostraVincite(QWidget* parent) {
    // The button that opened the prospect gets the focus back once it closes.
    QPointer<QWidget> caller = QApplication::focusWidget();
    {
        frmVincite form(parent);
        if (form.Form_Load())
            form.exec();
    }
    if (caller) {
        caller->activateWindow();
        caller->setFocus(Qt::OtherFocusReason);
    }
}

} // namespace corpo
