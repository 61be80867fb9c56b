#include "startup/frmSplash.h"

#include "app/art.h"
#include "app/corpo.h"
#include "ui_frmSplash.h"

#include <QKeyEvent>

namespace corpo {

// Not kept on top: a message shown while it waits at start-up (a missing
// wheel list, an unreadable settings file) must come above it, or the
// start-up would seem to hang behind it.
frmSplash::frmSplash(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), ui(new Ui::frmSplash) {
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::StrongFocus);
    ShowArt(ui->imgLogo, QStringLiteral(":/art/logo.svg"));
    ui->lblProductName->setText(TitoloProgramma);
    ui->lblVersion->setText(QStringLiteral("Versione ") + StringaVersione());
    ui->lblCompany->setText(QStringLiteral("Marvolt"));
    ui->lblCompanyProduct->setText(QStringLiteral("Marvolt"));
    ui->lblEdizione->setText(Edizione);
    // A click on the frame or on anything inside it closes the splash.
    ui->Frame1->installEventFilter(this);
    for (QWidget* w : ui->Frame1->findChildren<QWidget*>())
        w->installEventFilter(this);
}

frmSplash::~frmSplash() = default;

void frmSplash::keyPressEvent(QKeyEvent*) { close(); }

bool frmSplash::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        close();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace corpo
