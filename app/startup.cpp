#include "app/startup.h"

#include "app/corpo.h"
#include "app/finestre.h"
#include "app/frmSplash.h"
#include "app/places.h"
#include "app/shell.h"
#include "entry/frmMain.h"
#include "update/versioncheck.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QStandardPaths>
#include <QTimer>
#include <QTranslator>
#include <unistd.h>

namespace corpo {

namespace {
QLocalServer* instanceServer = nullptr;
constexpr int ConnectTimeoutMs = 1000;
} // namespace

QString InstanceName() {
    // XDG_RUNTIME_DIR, or a 0700 folder of this user that Qt creates.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY", qEnvironmentVariable("DISPLAY"));
    for (QChar& c : display)
        if (!c.isLetterOrNumber() && c != QLatin1Char('.'))
            c = QLatin1Char('_');
    return QStringLiteral("%1/bramasolovanti-%2-%3").arg(folder).arg(::getuid()).arg(display);
}

bool ActivatePrevInstance(const QString& systemFile) {
    QLocalSocket socket;
    socket.connectToServer(InstanceName());
    if (!socket.waitForConnected(ConnectTimeoutMs))
        return false;
    socket.write(systemFile.isEmpty() ? QByteArray("activate\n")
                                      : "open " + systemFile.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(ConnectTimeoutMs))
        return false;
    // The running copy answers once its window is in front.
    if (!socket.waitForReadyRead(ConnectTimeoutMs * 3))
        return false;
    return socket.readAll().startsWith("ok");
}

bool ListenForOtherCopies(std::function<QWidget*()> window,
                          std::function<void(const QString&)> open) {
    delete instanceServer;
    instanceServer = new QLocalServer(qApp);
    instanceServer->setSocketOptions(QLocalServer::UserAccessOption);
    if (!instanceServer->listen(InstanceName())) {
        // A copy that crashed leaves its socket behind.
        QLocalServer::removeServer(InstanceName());
        if (!instanceServer->listen(InstanceName()))
            return false;
    }
    QObject::connect(instanceServer, &QLocalServer::newConnection, instanceServer, [window, open] {
        while (QLocalSocket* s = instanceServer->nextPendingConnection()) {
            QObject::connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            QObject::connect(s, &QLocalSocket::readyRead, s, [s, window, open] {
                if (!s->canReadLine())
                    return;
                const QByteArray line = s->readLine().chopped(1);
                if (line.startsWith("open ") && open) {
                    // After the answer: opening may show message boxes.
                    const QString file = QString::fromUtf8(line.mid(5));
                    QTimer::singleShot(0, qApp, [open, file] { open(file); });
                } else if (line != "activate") {
                    return;
                }
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

namespace {
QPointer<frmMain> mainWindow;

// A file handed over while the user is busy with another window (a modal
// one, or the slip window that disables the main one) waits until that
// window is closed, then opens as Open would.
void OpenWhenFree(const QString& file) {
    if (!mainWindow)
        return;
    if (!mainWindow->isEnabled() || QApplication::activeModalWidget())
        return QTimer::singleShot(250, mainWindow, [file] { OpenWhenFree(file); });
    mainWindow->OpenSystemFile(file);
}
} // namespace

QWidget* Avvio(const StartupOptions& options) {
    Edizione = QStringLiteral("Freeware");
    const QString systemFile =
        options.systemFile.isEmpty() ? QString() : QFileInfo(options.systemFile).absoluteFilePath();
    if (ActivatePrevInstance(systemFile))
        return nullptr;

    ListenForOtherCopies([] { return mainWindow.data(); }, OpenWhenFree);

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
    if (!systemFile.isEmpty())
        QTimer::singleShot(0, main, [main, systemFile] { main->OpenSystemFile(systemFile); });
    if (options.onMainShown)
        options.onMainShown(main);
    return main;
}

bool InstallQtTranslations(const QLocale& locale) {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

namespace {
void Describe(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("Bramasolovanti: sistemi per il Lotto, con prospetto delle vincite, "
                       "tabulato e stampa delle schedine."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("sistema"),
                                 QStringLiteral("Un sistema salvato (.vrl) da aprire all'avvio."),
                                 QStringLiteral("[sistema.vrl]"));
}

void Name() {
    QCoreApplication::setApplicationName(AppTitle);
    QCoreApplication::setApplicationVersion(VersionString());
}
} // namespace

int Main(int argc, char** argv) {
    // --help and --version need no window system: answer them before one is
    // opened (process() prints and ends the program).
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        if (a == "-h" || a == "--help" || a == "-?" || a == "--help-all" || a == "-v" ||
            a == "--version") {
            QCoreApplication core(argc, argv);
            Name();
            InstallQtTranslations(QLocale::system());
            QCommandLineParser parser;
            Describe(parser);
            parser.process(core);
            return 0;
        }
    }
    QApplication app(argc, argv);
    Name();
    QCommandLineParser parser;
    Describe(parser);
    parser.process(app);
    QGuiApplication::setDesktopFileName(QStringLiteral("bramasolovanti"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("bramasolovanti"),
                                                 QIcon(QStringLiteral(":/update/grapes.svg"))));
    InstallQtTranslations(QLocale::system());
    InstallFontSubstitutions();
    AdattaFinestreAlloSchermo();
    FixPlaces(AppFolder());
    StartupOptions options;
    options.systemFile = parser.positionalArguments().value(0);
    // The splash may be clicked away before the main window shows: that must
    // not end the program.
    QApplication::setQuitOnLastWindowClosed(false);
    if (!Avvio(options))
        return 0;
    QApplication::setQuitOnLastWindowClosed(true);
    return app.exec();
}

} // namespace corpo
