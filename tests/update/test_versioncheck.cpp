// The version check: the comparison on its own, then end to end against a
// server of our own on 127.0.0.1 (the window it opens or not, the messages
// shown, what is left on disk and what the server was told).
#include "app/messages.h"
#include "app/shell.h"
#include "app/startup.h"
#include "buildconfig.h"
#include "tests/support/testsupport.h"
#include "tests/update/support.h"
#include "update/download.h"
#include "update/versioncheck.h"
#include "update/versioncompare.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLocalServer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

#include <thread>

using namespace updatetest;

namespace {

struct Outcome {
    int windows = 0;
    QString local, remote;    // the window's two labels
    bool modalPlain = false;  // application modal, the server's line shown as plain text
    bool privateCopy = false; // one ver_vrlqrv* file, the owner's only, while the window shows
    QList<corpo::Shown> messages;
    QStringList leftovers; // the temporary folder afterwards
    qint64 ms = 0;
};

QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

Outcome RunCheck(const QString& base, int deadlineMs, corpo::HostResolver resolver = {}) {
    Outcome o;
    corpo::testing::Script script;
    corpo::testing::VersionServerScope scope(base, deadlineMs, std::move(resolver));
    const QString tmp = QDir::tempPath();
    const auto watch = Watch(QStringLiteral("frmNewVersion"), [&](QWidget* form) {
        ++o.windows;
        const auto* remote = form->findChild<QLabel*>(QStringLiteral("lbRemoteVersion"));
        o.local = form->findChild<QLabel*>(QStringLiteral("lbLocalVersion"))->text();
        o.remote = remote->text();
        o.modalPlain = QApplication::activeModalWidget() == form &&
                       form->windowModality() == Qt::ApplicationModal &&
                       remote->textFormat() == Qt::PlainText;
        const QStringList files = Entries(tmp);
        const auto others =
            QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
        o.privateCopy = files.size() == 1 &&
                        files.first().startsWith(QLatin1String("ver_vrlqrv")) &&
                        !(QFileInfo(tmp + QLatin1Char('/') + files.first()).permissions() & others);
    });
    QElapsedTimer clock;
    clock.start();
    corpo::NewVersion();
    o.ms = clock.elapsed();
    o.messages = script.messages();
    o.leftovers = Entries(tmp);
    return o;
}

// A name of our own that leads to 127.0.0.1, after lookupMs.
corpo::HostResolver SlowName(int lookupMs) {
    return [lookupMs](const QString& host) {
        std::this_thread::sleep_for(std::chrono::milliseconds(lookupMs));
        return host == QLatin1String("versione.test") ? QList{QHostAddress(QHostAddress::LocalHost)}
                                                      : QList<QHostAddress>{};
    };
}

// Runs one check in another process, under the given environment; its output.
QByteArray Probe(const QStringList& args, const QStringList& env = {}) {
    QProcess p;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    for (const char* v : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"})
        e.remove(QString::fromLatin1(v));
    for (const QString& kv : env)
        e.insert(kv.section(QLatin1Char('='), 0, 0), kv.section(QLatin1Char('='), 1));
    p.setProcessEnvironment(e);
    p.start(QCoreApplication::applicationFilePath(), QStringList{QStringLiteral("--probe")} + args);
    // The server answers from this thread's event loop.
    if (!QTest::qWaitFor([&] { return p.state() == QProcess::NotRunning; }, 15000))
        return "still running";
    return p.readAllStandardOutput().trimmed();
}

} // namespace

class TestVersionCheck : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void serverLines_data();
    void serverLines();
    void showsNothing_data();
    void showsNothing();
    void secondCheckBypassesCaches();
    void requestTellsNothingAboutTheUser();
    void sameBytesWhoeverRuns();
    void followsTheSystemProxy();
    void hangingLookupDoesNotHoldExit();
    void startUp_data();
    void startUp();

private:
    QString tempBase_;
    std::optional<QTemporaryDir> tmp_; // the check's temporary folder, empty for each test
};

void TestVersionCheck::initTestCase() {
    tempBase_ = QDir::tempPath();
    corpo::InstallFontSubstitutions();
    QApplication::setQuitOnLastWindowClosed(false);
}

void TestVersionCheck::init() {
    tmp_.emplace(tempBase_ + QStringLiteral("/update-XXXXXX"));
    QVERIFY(tmp_->isValid());
    qputenv("TMPDIR", QFile::encodeName(tmp_->path()));
}

void TestVersionCheck::serverLines_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("shown"); // the line the window shows; null: no window
    QTest::addColumn<int>("error");     // the error reported; 0: none

    for (const char* v : {"0.3.10", "0.3.3", "0.4", "0.10.0", "1", "1.0.0", " 0.4.0",
                          "0.3.99999999999999999999", "1<b>x</b>"})
        QTest::newRow(v) << QByteArray(v) << QString::fromLatin1(v) << 0;
    QTest::newRow("0.4.0 CR LF") << QByteArray("0.4.0\r\n") << "0.4.0" << 0;
    QTest::newRow("0.4.0 LF 0.5.0") << QByteArray("0.4.0\n0.5.0") << "0.4.0" << 0;
    QTest::newRow("65,536 bytes") << QByteArray("0.4.0\r\n").leftJustified(65536, 'x') << "0.4.0"
                                  << 0;
    for (const char* v :
         {"0.3.2", "0.03.002", "0.3.2 ", "0.3.2.7", "0.2.9", "0.3.1", "0.3.", "x.y.z"})
        QTest::newRow(v) << QByteArray(v) << QString() << 0;
    QTest::newRow("0.3.2 CR LF 9.9.9") << QByteArray("0.3.2\r\n9.9.9") << QString() << 0;
    QTest::newRow("0.3") << QByteArray("0.3") << QString() << 9;
    QTest::newRow("empty body") << QByteArray() << QString() << 62;
    QTest::newRow("<html>") << QByteArray("<html>\n<body>0.9.9</body>") << QString() << 9;
}

void TestVersionCheck::serverLines() {
    QFETCH(QByteArray, body);
    QFETCH(QString, shown);
    QFETCH(int, error);

    const QString line = corpo::FirstLine(body);
    if (!shown.isNull()) QCOMPARE(line, shown);
    const auto order = !shown.isNull() ? corpo::VersionOrder::ServerNewer
                       : error         ? corpo::VersionOrder::MissingPart
                                       : corpo::VersionOrder::NotNewer;
    QCOMPARE(corpo::CompareVersions(QStringLiteral("0.3.2"), line), order);

    Server server;
    server.replies = {Response(200, body)};
    const Outcome o = RunCheck(server.base(), 3000);
    QCOMPARE(o.windows, shown.isNull() ? 0 : 1);
    if (o.windows) {
        QCOMPARE(o.local, QStringLiteral("0.3.2"));
        QCOMPARE(o.remote, shown);
        QVERIFY(o.modalPlain);
        QVERIFY(o.privateCopy);
    }
    QCOMPARE(o.messages.size(), error ? 1 : 0);
    if (error) {
        QCOMPARE(o.messages.first().text,
                 QStringLiteral("Error %1 (%2) in procedure NewVersion of Modulo corpo")
                     .arg(error)
                     .arg(error == 9 ? "Subscript out of range" : "Input past end of file"));
        QCOMPARE(o.messages.first().title, QStringLiteral("Bramasolovanti"));
        QCOMPARE(o.messages.first().buttons, corpo::MsgButtons::Ok);
    }
    QCOMPARE(o.leftovers, QStringList());
}

void TestVersionCheck::showsNothing_data() {
    QTest::addColumn<QString>("kind");
    for (const char* kind : {"404 with a version body", "500", "redirect", "port bound then closed",
                             "host under .invalid", "look-up slower than the deadline",
                             "silent server", "one byte every 100 ms", "65,537 bytes",
                             "65,537 bytes once unpacked", "temporary folder missing"})
        QTest::newRow(kind) << QString::fromLatin1(kind);
}

void TestVersionCheck::showsNothing() {
    QFETCH(QString, kind);
    const auto is = [&](const char* start) { return kind.startsWith(QLatin1String(start)); };
    Server server;
    QString base = server.base();
    corpo::HostResolver resolver;
    int deadlineMs = 300;
    const QByteArray big = QByteArray("0.4.0\r\n").leftJustified(65537, 'x');
    server.replies = {Response(200, "9.9.9")};
    if (is("404") || is("500")) {
        server.replies = {Response(kind.left(3).toInt(), "9.9.9")};
    } else if (is("redirect")) {
        server.replies = {Response(302, "", "Location: /other\r\n"), Response(200, "9.9.9")};
    } else if (is("port")) {
        QTcpServer closed;
        closed.listen(QHostAddress::LocalHost, 0);
        base = QStringLiteral("http://127.0.0.1:%1").arg(closed.serverPort());
    } else if (is("host")) {
        base = QStringLiteral("http://versione.invalid:%1").arg(server.port());
    } else if (is("look-up")) {
        base = QStringLiteral("http://versione.test:%1").arg(server.port());
        resolver = SlowName(2000);
    } else if (is("silent")) {
        server.replies = {Reply{}};
    } else if (is("one byte")) {
        server.replies = {{Response(200, QByteArray("9.9.9").leftJustified(100, 'x')).bytes, 100}};
        deadlineMs = 500;
    } else if (is("65,537")) { // a small packed reply must not slip through either
        deadlineMs = 3000;
        server.replies = {
            kind.endsWith(QLatin1String("bytes"))
                ? Response(200, big)
                : Response(200, qCompress(big).mid(4), "Content-Encoding: deflate\r\n")};
    } else {
        qputenv("TMPDIR", QFile::encodeName(tmp_->path() + QStringLiteral("/missing")));
    }
    const Outcome o = RunCheck(base, deadlineMs, resolver);
    QCOMPARE(o.windows, 0);
    QCOMPARE(o.messages.size(), 0);
    QCOMPARE(Entries(tmp_->path()), QStringList());
    // A dead network holds nobody much beyond the deadline.
    QVERIFY2(o.ms < deadlineMs + 1500, qPrintable(QString::number(o.ms)));
    if (is("temporary") || is("look-up")) // nothing asked without a place for the answer, or a name
        QCOMPARE(server.requests.size(), 0);
}

void TestVersionCheck::secondCheckBypassesCaches() {
    Server server;
    server.replies = {Response(200, "0.4.0", "Cache-Control: max-age=3600\r\n"),
                      Response(200, "0.3.2")};
    QCOMPARE(RunCheck(server.base(), 3000).windows, 1);
    const Outcome second = RunCheck(server.base(), 3000);
    QCOMPARE(second.windows, 0);
    QCOMPARE(second.messages.size(), 0);
    QCOMPARE(server.requests.size(), 2);
}

void TestVersionCheck::requestTellsNothingAboutTheUser() {
    Server server;
    const QByteArray host = "versione.test:" + QByteArray::number(server.port());
    RunCheck(QStringLiteral("http://") + host, 3000, SlowName(0));
    QCOMPARE(server.requests.size(), 1);
    const QByteArray request = server.requests.first();
    QVERIFY2(request.startsWith("GET /public/lotto/ver_vorlacco.asp HTTP/1.1\r\n"),
             request.constData());
    // Asked by the name, not by the address it resolved to.
    for (const QByteArray& header :
         {"Host: " + host, QByteArray("User-Agent: Bramasolovanti/0.3.2"),
          QByteArray("Accept-Language: it"), QByteArray("Cache-Control: no-cache")})
        QVERIFY2(request.contains("\r\n" + header + "\r\n"), request.constData());
    for (const char* name : {"\ncookie:", "\nauthorization:", "\nreferer:", "\ncontent-length:"})
        QVERIFY2(!request.toLower().contains(name), request.constData());
}

void TestVersionCheck::sameBytesWhoeverRuns() {
    Server server;
    const QStringList args{server.base(), QStringLiteral("3000")};
    QCOMPARE(Probe(args, {"LANG=it_IT.UTF-8", "USER=mario", "HOME=/home/mario"}), "messages=0");
    QCOMPARE(Probe(args, {"LANG=en_GB.UTF-8", "USER=jane", "HOME=/root"}), "messages=0");
    QCOMPARE(server.requests.size(), 2);
    QCOMPARE(server.requests.at(0), server.requests.at(1));
}

// The desktop's proxy is asked for the address by its name, which this
// machine could not look up itself; a build without proxies never asks it.
void TestVersionCheck::followsTheSystemProxy() {
    Server proxy;
    Probe({QStringLiteral("http://lotto.invalid"), QStringLiteral("3000")},
          {QStringLiteral("http_proxy=") + proxy.base(), QStringLiteral("no_proxy=")});
    QCOMPARE(proxy.requests.size(), BRAMA_SYSTEM_PROXY);
    if (BRAMA_SYSTEM_PROXY)
        QVERIFY2(proxy.requests.first().startsWith(
                     "GET http://lotto.invalid/public/lotto/ver_vorlacco.asp HTTP/1.1\r\n"),
                 proxy.requests.first().constData());
}

void TestVersionCheck::hangingLookupDoesNotHoldExit() {
    // The look-up hangs for 30 s; the program ends long before.
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(Probe({"http://versione.test:9", "300", "--hanging-lookup"}), "messages=0");
    QVERIFY2(clock.elapsed() < 8000, qPrintable(QString::number(clock.elapsed())));
}

void TestVersionCheck::startUp_data() {
    QTest::addColumn<QByteArray>("served"); // empty: a server that never answers
    QTest::newRow("silent server") << QByteArray();
    QTest::newRow("0.4.0 served") << QByteArray("0.4.0");
}

// The check where the program runs it: the new-version window above the
// splash, before the main window.
void TestVersionCheck::startUp() {
    QFETCH(QByteArray, served);
    testsupport::AppFolder folder;
    Server server;
    server.replies = {served.isEmpty() ? Reply{} : Response(200, served)};
    corpo::testing::Script script;
    corpo::testing::VersionServerScope scope(server.base(), 300);
    QStringList seen; // the window's line, and what else showed meanwhile
    const auto watch = Watch(QStringLiteral("frmNewVersion"), [&](QWidget* form) {
        seen << form->findChild<QLabel*>(QStringLiteral("lbRemoteVersion"))->text();
        const bool onTop = form->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w != form)
                seen << w->objectName() +
                            (w->windowFlags().testFlag(Qt::WindowStaysOnTopHint) && !onTop
                                 ? QStringLiteral(", kept above it")
                                 : QString());
        if (QApplication::activeModalWidget() == form) seen << QStringLiteral("modal");
    });
    corpo::StartupOptions options;
    options.pauseMs = 50;
    std::unique_ptr<QWidget> main(corpo::Avvio(options));
    // This process answers later copies now; the next start must not ask itself.
    QLocalServer::removeServer(corpo::InstanceName());
    QVERIFY(main && main->isVisible());
    QCOMPARE(main->objectName(), QStringLiteral("frmMain"));
    const QStringList expected{"0.4.0", "frmSplash", "modal"};
    QCOMPARE(seen, served.isEmpty() ? QStringList() : expected);
}

// With --probe: one check against the server named next, in a process of its
// own (what another process sends, and how quickly it ends).
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.value(1) != QLatin1String("--probe")) {
        TestVersionCheck test;
        return QTest::qExec(&test, argc, argv);
    }
    corpo::testing::Script script;
    corpo::testing::VersionServerScope scope(
        args.at(2), args.at(3).toInt(),
        args.contains(QStringLiteral("--hanging-lookup")) ? SlowName(30000) : nullptr);
    corpo::NewVersion();
    QTextStream(stdout) << "messages=" << script.messages().size() << Qt::endl;
    return 0;
}
#include "test_versioncheck.moc"
