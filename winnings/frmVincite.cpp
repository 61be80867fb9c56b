#include "winnings/frmVincite.h"

#include "app/art.h"
#include "app/corpo.h"
#include "app/fileio.h"
#include "app/messages.h"
#include "winnings/prospetto.h"
#include "winnings/verifica.h"
#include "ui_frmVincite.h"

#include <QApplication>
#include <QPointer>

// Resources of a static library have to be pulled in by name.
static void InitVinciteResources() { Q_INIT_RESOURCE(frmVincite); }

namespace corpo {

namespace {

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
    // The title is navy on a light window; a dark theme's window needs a light blue.
    if (palette().color(QPalette::Window).lightness() < 128) {
        QPalette title = ui->Label1->palette();
        title.setColor(QPalette::WindowText, QColor(150, 180, 255));
        ui->Label1->setPalette(title);
    }
    ShowArt(ui->Picture1, QStringLiteral(":/winnings/picture1.svg"));
    ShowArt(ui->Picture2, QStringLiteral(":/winnings/picture2.svg"));
}

frmVincite::~frmVincite() = default;

bool frmVincite::Form_Load() {
    const SystemRecord& s = Sistema;
    auto numbers = [](const auto& boxes, const auto& values) {
        for (std::size_t i = 0; i < boxes.size(); ++i)
            boxes[i]->setText(FormatoNumero(values[i]));
    };
    numbers(std::array{ui->txtCinq1_0, ui->txtCinq1_1, ui->txtCinq1_2, ui->txtCinq1_3, ui->txtCinq1_4}, s.Cinq1);
    numbers(std::array{ui->txtCinq2_0, ui->txtCinq2_1, ui->txtCinq2_2, ui->txtCinq2_3, ui->txtCinq2_4}, s.Cinq2);
    numbers(std::array{ui->txtQuad1_0, ui->txtQuad1_1, ui->txtQuad1_2, ui->txtQuad1_3}, s.Quad1);
    numbers(std::array{ui->txtQuad2_0, ui->txtQuad2_1, ui->txtQuad2_2, ui->txtQuad2_3}, s.Quad2);
    numbers(std::array{ui->txtTerz1_0, ui->txtTerz1_1, ui->txtTerz1_2}, s.Terz1);
    numbers(std::array{ui->txtTerz2_0, ui->txtTerz2_1, ui->txtTerz2_2}, s.Terz2);
    numbers(std::array{ui->txtAmbo1_0, ui->txtAmbo1_1}, s.Ambo1);
    numbers(std::array{ui->txtAmbo2_0, ui->txtAmbo2_1}, s.Ambo2);
    ui->txtEstratto->setText(FormatoNumero(s.Estratto));

    RunError error;
    if (!CalcolaProspetto(&error)) {
        ReportError(error, QStringLiteral("Form_Load"), QStringLiteral("Form frmVincite"));
        return false;
    }

    // Bet after bet; each amount also carries its bet and kind, so a screen
    // reader reads the prospect row by row.
    int gruppo = 0;
    auto amounts = [&gruppo](const auto& labels, const auto& values) {
        for (std::size_t k = 0; k < labels.size(); ++k) {
            const QString amount = FormatoVincita(values[k]);
            labels[k]->setText(amount);
            labels[k]->setAccessibleName(QStringLiteral("%1, %2: %3").arg(
                NomeScommessa(gruppo), NomeSorte(gruppo, int(k)), amount));
        }
        ++gruppo;
    };
    amounts(std::array{ui->lblVinCinq1_0, ui->lblVinCinq1_1, ui->lblVinCinq1_2, ui->lblVinCinq1_3}, s.VinCinq1);
    amounts(std::array{ui->lblVinCinq2_0, ui->lblVinCinq2_1, ui->lblVinCinq2_2, ui->lblVinCinq2_3}, s.VinCinq2);
    amounts(std::array{ui->lblVinQuat1_0, ui->lblVinQuat1_1, ui->lblVinQuat1_2}, s.VinQuat1);
    amounts(std::array{ui->lblVinQuat2_0, ui->lblVinQuat2_1, ui->lblVinQuat2_2}, s.VinQuat2);
    amounts(std::array{ui->lblVinTerz1_0, ui->lblVinTerz1_1}, s.VinTerz1);
    amounts(std::array{ui->lblVinTerz2_0, ui->lblVinTerz2_1}, s.VinTerz2);
    amounts(std::array{ui->lblVinAmbo1}, std::array{s.VinAmbo1});
    amounts(std::array{ui->lblVinAmbo2}, std::array{s.VinAmbo2});
    amounts(std::array{ui->lblVinEstratto}, std::array{s.VinEstratto});
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
