#include "update/versioncheck.h"

#include "app/corpo.h"
#include "app/fileio.h"
#include "app/maker.h"
#include "app/messages.h"
#include "update/download.h"
#include "update/frmNewVersion.h"
#include "update/versioncompare.h"

#include <QApplication>
#include <QTemporaryFile>

namespace corpo {

namespace {

const QString Procedure = QStringLiteral("NewVersion");
const QString Module = QStringLiteral("Modulo corpo");

// Puts the window above whatever is on screen at start-up (the splash among them).
void ShowAbove(frmNewVersion& form) {
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (const QWidget* w : windows) {
        if (w != &form && w->isVisible() && (w->windowFlags() & Qt::WindowStaysOnTopHint)) {
            form.setWindowFlag(Qt::WindowStaysOnTopHint, true);
            break;
        }
    }
    form.show();
    form.raise();
    form.activateWindow();
}

} // namespace

void NewVersion() {
    const CheckTarget target = CheckTarget::Current();
    // A build that names no maker has no site to ask.
    if (target.baseAddress.isEmpty())
        return;
    const QString folder = TempFolder();
    if (folder.isEmpty())
        return;
    // Created afresh and only ever used through this handle; it goes away
    // with the handle, however the check ends.
    QTemporaryFile local(folder + QStringLiteral("ver_vrlqrv.XXXXXX.txt"));
    if (!local.open())
        return;
    // Give it its name in the folder now (Linux may keep it nameless until asked).
    if (local.fileName().isEmpty())
        return;

    const QString localVersion = StringaVersione();
    if (!DownloadFile(target.baseAddress + VersionPath, local))
        return;

    if (!local.seek(0)) {
        ReportError(FileError(local), Procedure, Module);
        return;
    }
    const QByteArray bytes = local.read(MaxDownloadBytes + 1);
    if (local.error() != QFileDevice::NoError) {
        ReportError(FileError(local), Procedure, Module);
        return;
    }
    if (bytes.isEmpty()) {
        ReportError(MakeError(err::InputPastEnd), Procedure, Module);
        return;
    }
    const QString serverLine = FirstLine(bytes);

    switch (CompareVersions(localVersion, serverLine)) {
    case VersionOrder::NotNewer: return;
    case VersionOrder::MissingPart:
        ReportError(MakeError(err::SubscriptOutOfRange), Procedure, Module);
        return;
    case VersionOrder::ServerNewer: {
        frmNewVersion form;
        form.setWindowModality(Qt::ApplicationModal);
        form.setLocalVersion(localVersion);
        form.setRemoteVersion(serverLine);
        ShowAbove(form);
        form.exec();
        return;
    }
    }
}

} // namespace corpo
