#include "update/frmNewVersion.h"

#include "app/maker.h"
#include "ui_frmNewVersion.h"
#include "update/forms.h"

#include <QShowEvent>

namespace corpo {

frmNewVersion::frmNewVersion(QWidget* parent) : QDialog(parent), ui(new Ui::frmNewVersion) {
    ui->setupUi(this);
    ui->lbURL->setText(MakerPage());
    if (MakerPage().isEmpty()) // a build that names no maker
        ui->lbURL->hide();
    connect(ui->lbURL, &UrlLabel::clicked, this, &frmNewVersion::lbURL_Click);
    CenterForm(this);
}

frmNewVersion::~frmNewVersion() = default;

void frmNewVersion::showEvent(QShowEvent* event) {
    // The versions may be set any time before the window shows.
    ui->lbLocalVersion->setText(localVersion_);
    ui->lbRemoteVersion->setText(remoteVersion_);
    // Now that the window exists its frame is known: centre the whole of it.
    if (!event->spontaneous())
        CenterForm(this);
    QDialog::showEvent(event);
}

void frmNewVersion::lbURL_Click() { OpenURL(ui->lbURL->text()); }

} // namespace corpo
