#include "startup/startup.h"

#include "app/corpo.h"
#include "app/finestre.h"
#include "app/handover.h"
#include "app/messages.h"
#include "app/places.h"
#include "app/shell.h"
#include "entry/frmMain.h"
#include "startup/frmSplash.h"
#include "startup/rigacomando_aggiorna.h"
#include "startup/rigacomando_statistiche.h"
#include "startup/rigacomando_verifica.h"
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
#include <cstdio>
#include <optional>
#include <unistd.h>

namespace corpo {

namespace {
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
    // The running copy answers once its window is in front; waiting for the
    // answer also sends the message, and a send that fails ends the wait.
    if (!socket.waitForReadyRead(ConnectTimeoutMs * 3))
        return false;
    return socket.readAll().startsWith("ok");
}

namespace {

// Takes the socket's name at start-up; a socket file nobody answers on is
// what a copy that crashed leaves behind, and is replaced. A live copy's
// socket is never taken: Qt binds a socket restricted to the user under a
// temporary name and renames it into place, over whatever holds the name, so
// the question comes before the listen.
bool Listen(QLocalServer* server) {
    QLocalSocket probe;
    probe.connectToServer(InstanceName());
    if (probe.waitForConnected(ConnectTimeoutMs) ||
        (probe.error() != QLocalSocket::ConnectionRefusedError &&
         probe.error() != QLocalSocket::ServerNotFoundError))
        return false;
    return server->listen(InstanceName());
}

// Closed at once; the disconnection Serve watches then deletes it.
void Drop(QLocalSocket* s) { s->abort(); }

void Serve(QLocalSocket* s, const std::function<QWidget*()>& window,
           const std::function<void(const QString&)>& open) {
    // Never more than one message is kept, however much a client sends.
    s->setReadBufferSize(MaxHandOverBytes + 1);
    QTimer::singleShot(ClientDeadlineMs, s, [s] { Drop(s); });
    QObject::connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
    QObject::connect(s, &QLocalSocket::readyRead, s, [s, window, open] {
        if (s->bytesAvailable() > MaxHandOverBytes)
            return Drop(s);
        const HandOver request = ParseHandOver(s->peek(s->bytesAvailable())); // at most the cap
        if (request.kind == HandOver::Incomplete)
            return;
        if (request.kind == HandOver::Refused)
            return Drop(s);
        s->readAll();
        if (request.kind == HandOver::Open && open)
            // After the answer: opening may show message boxes.
            QMetaObject::invokeMethod(
                qApp, [open, file = request.file] { open(file); }, Qt::QueuedConnection);
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

bool ListenForOtherCopies(QObject* owner, std::function<QWidget*()> window,
                          std::function<void(const QString&)> open) {
    auto* instanceServer = new QLocalServer(owner);
    instanceServer->setSocketOptions(QLocalServer::UserAccessOption);
    const bool listening = Listen(instanceServer);
    QObject::connect(instanceServer, &QLocalServer::newConnection, instanceServer,
                     [instanceServer, window, open] {
                         while (QLocalSocket* s = instanceServer->nextPendingConnection()) {
                             // The longest waiting makes room: a real copy speaks at once.
                             QList<QLocalSocket*> waiting;
                             for (QLocalSocket* c : instanceServer->findChildren<QLocalSocket*>(
                                      QString(), Qt::FindDirectChildrenOnly))
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
    QObject::connect(relisten, &QTimer::timeout, instanceServer, [instanceServer] {
        if (!instanceServer->isListening())
            instanceServer->listen(InstanceName());
    });
    relisten->start(RelistenMs);
    return listening;
}

namespace {
// A file handed over while the user is busy with another window (a modal
// one, or the slip window that disables the main one) waits until that
// window is closed, then opens as Open would: a changed system is offered
// for saving first, and stays when the user keeps it.
void OpenWhenFree(const QPointer<frmMain>& mainWindow, const QString& file) {
    if (!mainWindow)
        return;
    if (!mainWindow->isEnabled() || QApplication::activeModalWidget())
        return QTimer::singleShot(250, mainWindow,
                                  [mainWindow, file] { OpenWhenFree(mainWindow, file); });
    if (mainWindow->ChiediSalvataggio())
        mainWindow->ApriFileSistema(file);
}
} // namespace

QWidget* StartUp(const StartupOptions& options) {
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

    // The main window is made after the server: both ends share where it will be.
    // The server goes with the main window once there is one.
    const auto mainWindow = std::make_shared<QPointer<frmMain>>();
    auto* server = new QObject(qApp);
    ListenForOtherCopies(
        server, [mainWindow] { return mainWindow->data(); },
        [mainWindow](const QString& file) { OpenWhenFree(*mainWindow, file); });

    QPointer<frmSplash> splash = new frmSplash;
    splash->show();
    splash->activateWindow();

    if (options.versionCheck)
        options.versionCheck();
    else
        NewVersion();

    auto* main = new frmMain;
    main->setAttribute(Qt::WA_DeleteOnClose);
    *mainWindow = main;
    server->setParent(main);
    main->carica();

    Pause(options.pauseMs);
    if (splash)
        splash->close();
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    main->show();
    if (!systemFile.isEmpty())
        QMetaObject::invokeMethod(
            main, [main, systemFile] { main->ApriFileSistema(systemFile); }, Qt::QueuedConnection);
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
// The command line in Italian, whatever the system's language: Qt's own
// help and error texts would follow the locale and Qt's translations.
const QStringList HelpNames{QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("?"),
                            QStringLiteral("help-all")};
const QStringList VersionNames{QStringLiteral("v"), QStringLiteral("version")};

QString HelpText() {
    const QString text = QStringLiteral(
        "Uso: bramasolovanti [opzioni] [sistema.vrl]\n"
        "Bramasolovanti: sistemi per il Lotto, con prospetto delle vincite, tabulato e stampa "
        "delle schedine.\n\n"
        "Opzioni:\n"
        "  -h, --help     Mostra questo aiuto ed esce.\n"
        "  -v, --version  Mostra la versione ed esce.\n"
        "  --statistiche SISTEMA.vrl [--archivio FILE] [--ruota NOME] [--dal AAAA/MM/GG]\n"
        "                 Scrive ritardo, ritardo massimo e frequenza di ogni numero del\n"
        "                 sistema ed esce; senza --archivio legge l'archivio importato.\n"
        "  --aggiorna-archivio [INDIRIZZO]\n"
        "                 Scarica l'archivio delle estrazioni (uno zip, https://) se è\n"
        "                 cambiato e aggiunge le nuove estrazioni a quello importato.\n\n"
        "Argomenti:\n"
        "  sistema.vrl    Un sistema salvato da aprire all'avvio; se il programma è già\n"
        "                 aperto, lo apre la copia in uso.\n");
    return text + AiutoVerifica();
}

struct CommandLine {
    bool help;
    bool version;
    QString error; // Italian, for the terminal
    QString systemFile;
};

CommandLine Parse(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption help(HelpNames), version(VersionNames);
    parser.addOption(help);
    parser.addOption(version);
    QString error;
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        error = unknown.isEmpty()
                    ? QStringLiteral("Riga di comando non valida.")
                    : QStringLiteral("Opzione sconosciuta: %1%2.")
                          .arg(unknown[0].size() == 1 ? QStringLiteral("-") : QStringLiteral("--"),
                               unknown[0]);
    }
    const QStringList files = parser.positionalArguments();
    if (error.isEmpty() && files.size() > 1)
        error = QStringLiteral("Si può aprire un solo sistema alla volta (di troppo: %1).")
                    .arg(files[1]);
    return {parser.isSet(help), parser.isSet(version), error, files.value(0)};
}

// Help and version first, as any program does; then a wrong command line.
// Nothing when the program goes on.
std::optional<int> Answer(const CommandLine& line) {
    if (line.help) {
        std::fputs(qPrintable(HelpText()), stdout);
        return 0;
    }
    if (line.version) {
        std::fputs(
            qPrintable(TitoloProgramma + QLatin1Char(' ') + StringaVersione() + QLatin1Char('\n')),
            stdout);
        return 0;
    }
    if (!line.error.isEmpty()) {
        std::fputs(
            qPrintable(line.error +
                       QStringLiteral("\nPer l'elenco delle opzioni: bramasolovanti --help\n")),
            stderr);
        return 2;
    }
    return std::nullopt;
}
} // namespace

int Main(int argc, char** argv) {
    // --help and --version need no window system: they are answered before
    // one is opened. Qt's own options (-platform...) are known only once the
    // application has taken them out.
    QStringList raw;
    for (int i = 0; i < argc; ++i)
        raw << QString::fromLocal8Bit(argv[i]);
    // So does --statistiche, wherever it stands.
    if (raw.removeOne(QStringLiteral("--statistiche"))) {
        QCoreApplication app(argc, argv); // for the stored archive's folder
        QCoreApplication::setApplicationName(TitoloProgramma);
        return RigaComandoStatistiche(raw.mid(1));
    }
    if (raw.removeOne(QStringLiteral("--aggiorna-archivio"))) {
        QCoreApplication app(argc, argv); // the network, and the stored archive's folder
        QCoreApplication::setApplicationName(TitoloProgramma);
        return RigaComandoAggiorna(raw.mid(1));
    }
    const CommandLine early = Parse(raw);
    if (early.help || early.version)
        return *Answer(early);
    if (ChiedeVerifica(raw)) // no window at all
        return VerificaDaRigaDiComando(argc, argv);
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(TitoloProgramma);
    QCoreApplication::setApplicationVersion(StringaVersione());
    const CommandLine line = Parse(QCoreApplication::arguments());
    if (const std::optional<int> code = Answer(line))
        return *code;
    QGuiApplication::setDesktopFileName(QStringLiteral("bramasolovanti"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("bramasolovanti"),
                                                 QIcon(QStringLiteral(":/update/grapes.svg"))));
    InstallQtTranslations(QLocale::system());
    InstallFontSubstitutions();
    AdattaFinestreAlloSchermo();
    FixPlaces();
    StartupOptions options;
    options.systemFile = line.systemFile;
    // The splash may be clicked away before the main window shows: that must
    // not end the program.
    QApplication::setQuitOnLastWindowClosed(false);
    if (!StartUp(options))
        return 0;
    QApplication::setQuitOnLastWindowClosed(true);
    return app.exec();
}

} // namespace corpo
