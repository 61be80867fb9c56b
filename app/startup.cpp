#include "app/startup.h"

#include "app/corpo.h"
#include "app/frmSplash.h"
#include "app/shell.h"
#include "entry/frmMain.h"
#include "update/versioncheck.h"

#include <QApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <unistd.h>

namespace corpo {

namespace {
QLocalServer* instanceServer = nullptr;
constexpr int ConnectTimeoutMs = 1000;
} // namespace

QString InstanceName() {
    return QStringLiteral("bramasolovanti-%1").arg(::getuid());
}

bool ActivatePrevInstance() {
    QLocalSocket socket;
    socket.connectToServer(InstanceName());
    if (!socket.waitForConnected(ConnectTimeoutMs))
        return false;
    socket.write("activate\n");
    if (!socket.waitForBytesWritten(ConnectTimeoutMs))
        return false;
    // The running copy answers once its window is in front.
    if (!socket.waitForReadyRead(ConnectTimeoutMs * 3))
        return false;
    return socket.readAll().startsWith("ok");
}

bool ListenForOtherCopies(std::function<QWidget*()> window) {
    delete instanceServer;
    instanceServer = new QLocalServer(qApp);
    instanceServer->setSocketOptions(QLocalServer::UserAccessOption);
    if (!instanceServer->listen(InstanceName())) {
        // A copy that crashed leaves its socket behind.
        QLocalServer::removeServer(InstanceName());
        if (!instanceServer->listen(InstanceName()))
            return false;
    }
    QObject::connect(instanceServer, &QLocalServer::newConnection, instanceServer, [window] {
        while (QLocalSocket* s = instanceServer->nextPendingConnection()) {
            QObject::connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            QObject::connect(s, &QLocalSocket::readyRead, s, [s, window] {
                if (!s->readAll().startsWith("activate"))
                    return;
                if (QWidget* w = window()) {
                    if (w->isMinimized())
                        w->showNormal();
                    w->show();
                    w->raise();
                    w->activateWindow();
                }
                s->write("ok\n");
                s->flush();
            });
        }
    });
    return true;
}

QWidget* Avvio(const StartupOptions& options) {
    Edizione = QStringLiteral("Freeware");
    if (ActivatePrevInstance())
        return nullptr;
    PercorsoApp = AppFolder();

    static QPointer<QWidget> mainWindow;
    ListenForOtherCopies([] { return mainWindow.data(); });

    QPointer<frmSplash> splash = new frmSplash;
    splash->show();
    splash->activateWindow();

    if (options.versionCheck)
        options.versionCheck();
    else
        NewVersion();

    auto* main = new frmMain;
    main->setAttribute(Qt::WA_DeleteOnClose);
    mainWindow = main;
    main->load();

    Pausa(options.pauseMs);
    if (splash)
        splash->close();
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    main->show();
    if (options.onMainShown)
        options.onMainShown(main);
    return main;
}

int Main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(AppTitle);
    InstallFontSubstitutions();
    // The splash may be clicked away before the main window shows: that must
    // not end the program.
    QApplication::setQuitOnLastWindowClosed(false);
    if (!Avvio())
        return 0;
    QApplication::setQuitOnLastWindowClosed(true);
    return app.exec();
}

} // namespace corpo
