#include "winnings/frmVincite.h"

#include "app/art.h"
#include "app/corpo.h"
#include "app/fileio.h"
#include "app/finestre.h"
#include "app/messages.h"
#include "gioco/prospetto.h"
#include "gioco/scommesse.h"
#include "gioco/verifica.h"
#include "ui_frmVincite.h"

#include <QApplication>
#include <QPointer>
#include <initializer_list>
#include <utility>

namespace corpo {

namespace {

// Colours the given roles of a widget in every state, leaving the rest to the theme.
void ImpostaColori(QWidget* w,
                   std::initializer_list<std::pair<QPalette::ColorRole, QColor>> roles) {
    QPalette p;
    for (const auto& [role, colour] : roles)
        p.setColor(role, colour);
    w->setPalette(p);
}

} // namespace

frmVincite::frmVincite(QWidget* parent, SystemRecord& sistema)
    : QDialog(parent), ui(std::make_unique<Ui::frmVincite>()), sistema_(sistema) {
    ui->setupUi(this);
    setFixedSize(size());
    // The prospect's own colours, whatever the theme: the played numbers black on
    // yellow, the amounts navy on white.
    const QColor navy(0x00, 0x00, 0x80);
    for (const Scommessa& bet : Scommesse) {
        for (int p = 0; p < bet.size; ++p)
            ImpostaColori(
                findChild<QLineEdit*>(NomeCampoNumero(bet.group, p)),
                {{QPalette::Text, Qt::black}, {QPalette::Base, QColor(0xFF, 0xFF, 0x80)}});
        for (int k = 0; k < bet.stakeCount; ++k)
            ImpostaColori(findChild<QLabel*>(NomeCampoVincita(bet.group, k)),
                          {{QPalette::WindowText, navy}, {QPalette::Window, Qt::white}});
    }
    // The title is navy on a light window; a dark theme's window needs a light blue.
    const bool dark = palette().color(QPalette::Window).lightness() < 128;
    ImpostaColori(ui->Label1, {{QPalette::WindowText, dark ? QColor(150, 180, 255) : navy}});
    ShowArt(ui->Picture1, QStringLiteral(":/winnings/picture1.svg"));
    ShowArt(ui->Picture2, QStringLiteral(":/winnings/picture2.svg"));
}

frmVincite::~frmVincite() = default;

bool frmVincite::Form_Load() {
    const SystemRecord& s = sistema_;
    for (const Scommessa& bet : Scommesse)
        for (int p = 0; p < bet.size; ++p)
            findChild<QLineEdit*>(NomeCampoNumero(bet.group, p))
                ->setText(FormatoNumero(bet.Numeri(s)[size_t(p)]));

    if (!CalcolaProspetto(sistema_)) {
        ReportError(MakeError(err::Overflow), QStringLiteral("Form_Load"),
                    QStringLiteral("Form frmVincite"));
        return false;
    }

    // Each amount also carries its bet and kind, so a screen reader reads the
    // prospect row by row.
    for (const Scommessa& bet : Scommesse)
        for (int k = 0; k < bet.stakeCount; ++k) {
            const QString amount = FormatoVincita(bet.Vincite(s)[size_t(k)]);
            QLabel* label = findChild<QLabel*>(NomeCampoVincita(bet.group, k));
            label->setText(amount);
            label->setAccessibleName(
                QStringLiteral("%1, %2: %3").arg(bet.Nome(), bet.NomeTipo(k).toLower(), amount));
        }
    return true;
}

void MostraVincite(QWidget* parent, SystemRecord& sistema) {
    const RitornoFocus back;
    frmVincite form(parent, sistema);
    if (form.Form_Load())
        form.exec();
}

} // namespace corpo
