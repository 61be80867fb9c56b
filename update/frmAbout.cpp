#include "update/frmAbout.h"

#include "app/art.h"
#include "app/corpo.h"
#include "app/maker.h"
#include "app/messages.h"
#include "ui_frmAbout.h"
#include "update/forms.h"
#include "update/sysinfo.h"

#include <QIconEngine>
#include <QPainter>
#include <QShowEvent>

namespace corpo {

namespace {

// Draws the grapes afresh at whatever size is asked, so the icon stays sharp.
class GrapesEngine : public QIconEngine {
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal ratio = painter->device()->devicePixelRatioF();
        painter->drawPixmap(rect, pixmap(rect.size() * ratio, mode, state));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
        return RenderArt(QStringLiteral(":/update/grapes.svg"), size);
    }
    QIconEngine* clone() const override { return new GrapesEngine; }
};

} // namespace

QIcon ProgramIcon() { return QIcon(new GrapesEngine); }

void ShowAbout(QWidget* parent) {
    frmAbout form(parent);
    form.exec();
}

frmAbout::frmAbout(QWidget* parent) : QDialog(parent), ui(new Ui::frmAbout) {
    ui->setupUi(this);
    ui->picIcon->setPixmap(ProgramIcon().pixmap(ui->picIcon->size(), devicePixelRatio()));
    ui->lbURL->setText(MakerPage());
    if (MakerPage().isEmpty()) // a build that names no maker
        ui->lbURL->hide();
    connect(ui->cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(ui->cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
    connect(ui->lbURL, &UrlLabel::clicked, this, &frmAbout::lbURL_Click);
    // The window opens on OK, so Enter closes it rather than opening the link.
    ui->cmdOK->setFocus();

    CenterForm(this);
    setWindowTitle(QStringLiteral("Informazioni su ") + TitoloProgramma);
    ui->lblVersion->setText(QStringLiteral("Versione ") + StringaVersione());
    ui->lblTitle->setText(TitoloProgramma);
    ui->lblDescription->setText(QStringLiteral("Versione ") + Edizione);
}

frmAbout::~frmAbout() = default;

void frmAbout::showEvent(QShowEvent* event) {
    // Now that the window exists its frame is known: centre the whole of it.
    if (!event->spontaneous())
        CenterForm(this);
    QDialog::showEvent(event);
}

void frmAbout::cmdOK_Click() { accept(); }

void frmAbout::cmdSysInfo_Click() { StartSysInfo(); }

void frmAbout::lbURL_Click() { OpenURL(ui->lbURL->text()); }

void frmAbout::StartSysInfo() {
    if (!LaunchSysInfo())
        MsgBox(QStringLiteral("Le informazioni sul sistema non sono disponibili in questa fase"),
               MsgButtons::Ok, MsgIcon::None, TitoloProgramma);
}

} // namespace corpo
