#include "app/startup.h"

#include "app/corpo.h"
#include "app/frmSplash.h"
#include "app/handover.h"
#include "app/messages.h"
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
// Any local program of the user can reach the socket: each client gets this
// long to say what it wants, and only so many are served at once, so idle
// ones cannot use up the descriptors.
constexpr int ClientDeadlineMs = 2000;
constexpr int MaxClients = 8;
constexpr int RelistenMs = 1000;
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
    const QByteArray message = HandOverMessage(systemFile);
    if (message.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(InstanceName());
    if (!socket.waitForConnected(ConnectTimeoutMs))
        return false;
    socket.write(message);
    if (!socket.waitForBytesWritten(ConnectTimeoutMs))
        return false;
    // The running copy answers once its window is in front.
    if (!socket.waitForReadyRead(ConnectTimeoutMs * 3))
        return false;
    return socket.readAll().startsWith("ok");
}

namespace {

// Takes the socket's name at start-up; a socket file nobody answers on is
// what a copy that crashed leaves behind, and goes. A live copy's socket is
// never taken.
bool Listen(QLocalServer* server) {
    if (server->listen(InstanceName()))
        return true;
    QLocalSocket probe;
    probe.connectToServer(InstanceName());
    if (probe.waitForConnected(ConnectTimeoutMs) ||
        (probe.error() != QLocalSocket::ConnectionRefusedError &&
         probe.error() != QLocalSocket::ServerNotFoundError))
        return false;
    QLocalServer::removeServer(InstanceName());
    return server->listen(InstanceName());
}

void Drop(QLocalSocket* s) {
    s->abort();
    s->deleteLater();
}

void Serve(QLocalSocket* s, const std::function<QWidget*()>& window,
           const std::function<void(const QString&)>& open) {
    // Never more than one message is kept, however much a client sends.
    s->setReadBufferSize(MaxHandOverBytes + 1);
    QTimer::singleShot(ClientDeadlineMs, s, [s] { Drop(s); });
    QObject::connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
    QObject::connect(s, &QLocalSocket::readyRead, s, [s, window, open] {
        if (s->bytesAvailable() > MaxHandOverBytes)
            return Drop(s);
        const HandOver request = ParseHandOver(s->peek(MaxHandOverBytes + 1));
        if (request.kind == HandOver::Incomplete)
            return;
        if (request.kind == HandOver::Refused)
            return Drop(s);
        s->readAll();
        if (request.kind == HandOver::Open && open)
            // After the answer: opening may show message boxes.
            QTimer::singleShot(0, qApp, [open, file = request.file] { open(file); });
        if (QWidget* w = window()) {
            if (w->isMinimized())
                w->showNormal();
            w->show();
            w->raise();
            w->activateWindow();
        }
        s->write("ok\n");
        s->disconnectFromServer(); // once the answer is out
    });
}

} // namespace

bool ListenForOtherCopies(std::function<QWidget*()> window,
                          std::function<void(const QString&)> open) {
    delete instanceServer;
    instanceServer = new QLocalServer(qApp);
    instanceServer->setSocketOptions(QLocalServer::UserAccessOption);
    const bool listening = Listen(instanceServer);
    QObject::connect(instanceServer, &QLocalServer::newConnection, instanceServer, [window, open] {
        while (QLocalSocket* s = instanceServer->nextPendingConnection()) {
            // The longest waiting makes room: a real copy speaks at once.
            QList<QLocalSocket*> waiting;
            for (QLocalSocket* c :
                 instanceServer->findChildren<QLocalSocket*>(QString(), Qt::FindDirectChildrenOnly))
                if (c != s && c->state() == QLocalSocket::ConnectedState)
                    waiting << c;
            if (waiting.size() >= MaxClients)
                Drop(waiting.constFirst());
            Serve(s, window, open);
        }
    });
    // The server closes itself, and removes its socket file, when a
    // connection cannot be taken (no descriptor left): take the name again
    // once it can be, unless a later copy has taken it meanwhile.
    auto* relisten = new QTimer(instanceServer);
    QObject::connect(relisten, &QTimer::timeout, instanceServer, [] {
        if (!instanceServer->isListening())
            instanceServer->listen(InstanceName());
    });
    relisten->start(RelistenMs);
    return listening;
}

namespace {
QPointer<frmMain> mainWindow;

// A file handed over while the user is busy with another window (a modal
// one, or the slip window that disables the main one) waits until that
// window is closed, then opens as Open would: a changed system is offered
// for saving first, and stays when the user keeps it.
void OpenWhenFree(const QString& file) {
    if (!mainWindow)
        return;
    if (!mainWindow->isEnabled() || QApplication::activeModalWidget())
        return QTimer::singleShot(250, mainWindow, [file] { OpenWhenFree(file); });
    if (mainWindow->ChiediSalvataggio())
        mainWindow->OpenSystemFile(file);
}
} // namespace

QWidget* Avvio(const StartupOptions& options) {
    Edizione = QStringLiteral("Freeware");
    QString systemFile =
        options.systemFile.isEmpty() ? QString() : QFileInfo(options.systemFile).absoluteFilePath();
    if (HandOverMessage(systemFile).isEmpty()) {
        MsgBox(QStringLiteral("Il percorso del sistema è più lungo di %1 byte: il file non può "
                              "essere aperto.")
                   .arg(MaxPathBytes),
               MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Errore"));
        systemFile.clear();
    }
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
