// The About and new-version windows as the user sees and drives them, the system-information tool,
// and the version check end to end against a server of our own on localhost: the window it opens or
// not, the message shown, what is left on disk, what the server was told and how long it all took.
#include "app/corpo.h"
#include "app/fileio.h"
#include "app/maker.h"
#include "app/messages.h"
#include "app/shell.h"
#include "buildconfig.h"
#include "outputs/frmVerifica.h"
#include "printing/printerpage.h"
#include "startup/startup.h"
#include "tests/support/testsupport.h"
#include "update/download.h"
#include "update/forms.h"
#include "update/frmAbout.h"
#include "update/frmNewVersion.h"
#include "update/versioncheck.h"
#include "winnings/aggiornaarchivio.h"
#include "winnings/frmStatistiche.h"

#include <QDesktopServices>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QScopeGuard>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

#include <archive.h>
#include <archive_entry.h>
#include <thread>

namespace {

QByteArray Response(int status, const QByteArray& body, const QByteArray& header = {}) {
    return {"HTTP/1.1 " + QByteArray::number(status) + " X\r\n" + header + "Content-Length: " +
            QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body};
}

// Answers every request with `reply` and keeps the raw requests.
class Server {
public:
    Server() {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
            while (QTcpSocket* s = server_.nextPendingConnection())
                QObject::connect(s, &QTcpSocket::readyRead, s, [this, s] { read(s); });
        });
    }
    QByteArray reply =
        Response(200, corpo::StringaVersione().toLatin1()); // empty: read the request, never answer
    int trickleMs = 0; // > 0: `chunk` bytes of the reply every trickleMs
    int chunk = 1;
    QList<QByteArray> requests;
    quint16 port() const { return server_.serverPort(); }
    QString base() const { return QString("http://localhost:%1").arg(port()); } // looked up

private:
    void read(QTcpSocket* s) {
        QByteArray& buffer = pending_[s];
        buffer += s->readAll();
        const qsizetype end = buffer.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        requests.append(buffer.left(end + 4));
        buffer.clear();
        if (trickleMs <= 0) {
            s->write(reply);
            if (!reply.isEmpty())
                s->disconnectFromHost();
            return;
        }
        auto* timer = new QTimer(s);
        QObject::connect(timer, &QTimer::timeout, s, [this, s, sent = 0, bytes = reply]() mutable {
            if (sent < bytes.size())
                s->write(bytes.mid(sent, chunk));
            sent += chunk;
        });
        timer->start(trickleMs);
    }

    QTcpServer server_;
    QHash<QTcpSocket*, QByteArray> pending_;
};

// A zip of the named files, written by libarchive.
QByteArray Zip(const QList<std::pair<QByteArray, QByteArray>>& files) {
    QByteArray out(1 << 20, '\0');
    size_t used = 0;
    archive* a = archive_write_new();
    archive_write_set_format_zip(a);
    archive_write_open_memory(a, out.data(), size_t(out.size()), &used);
    for (const auto& [name, bytes] : files) {
        archive_entry* e = archive_entry_new();
        archive_entry_set_pathname(e, name.constData());
        archive_entry_set_filetype(e, AE_IFREG);
        archive_entry_set_perm(e, 0644);
        archive_entry_set_size(e, bytes.size());
        archive_write_header(a, e);
        archive_write_data(a, bytes.constData(), size_t(bytes.size()));
        archive_entry_free(e);
    }
    archive_write_free(a); // closes it
    return out.left(qsizetype(used));
}

// An HTTPS server on 127.0.0.1 with a certificate made for this run. Each path answers with its
// body (200, Last-Modified, ETag) unless asked with that ETag (304); "/lento.zip" stalls early.
class TlsServer : public QTcpServer {
public:
    TlsServer(const QSslCertificate& certificate, const QSslKey& key)
        : certificate_(certificate), key_(key) {
        listen(QHostAddress::LocalHost, 0);
    }
    QHash<QByteArray, QByteArray> bodies;
    QList<QByteArray> requests;
    QString url(const QString& path) const {
        return QString("https://localhost:%1/%2").arg(serverPort()).arg(path);
    }

protected:
    void incomingConnection(qintptr fd) override {
        auto* s = new QSslSocket(this);
        s->setSocketDescriptor(fd);
        s->setLocalCertificate(certificate_);
        s->setPrivateKey(key_);
        connect(s, &QSslSocket::readyRead, s, [this, s] {
            QByteArray& buffer = pending_[s];
            buffer += s->readAll();
            if (!buffer.contains("\r\n\r\n"))
                return;
            requests.append(buffer);
            const QByteArray path = buffer.split(' ').value(1), etag = '"' + path + "-1\"";
            if (path == "/lento.zip")
                s->write("HTTP/1.1 200 OK\r\nContent-Length: 9000000\r\n\r\n" +
                         QByteArray(4096, 'x'));
            else if (!bodies.contains(path))
                s->write(Response(404, "non c'è"));
            else if (buffer.contains("If-None-Match: " + etag))
                s->write("HTTP/1.1 304 Not Modified\r\nConnection: close\r\n\r\n");
            else
                s->write(Response(200, bodies[path],
                                  "Last-Modified: Tue, 03 Dec 2024 20:00:00 GMT\r\nETag: " + etag +
                                      "\r\n"));
            buffer.clear();
        });
        s->startServerEncryption();
    }

private:
    QSslCertificate certificate_;
    QSslKey key_;
    QHash<QSslSocket*, QByteArray> pending_;
};

QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

struct Outcome {
    QStringList windows; // "local -> remote" for each new-version window, and what was wrong
    QStringList messages;
    qint64 ms = 0;
};

Outcome RunCheck(const QString& base, int deadlineMs, corpo::HostResolver resolver = {}) {
    Outcome o;
    corpo::testing::Script script;
    corpo::testing::VersionServerScope scope(base, deadlineMs, std::move(resolver));
    QTimer
        watch; // the check waits in its own event loop: each new-version window seen, then closed
    QObject::connect(&watch, &QTimer::timeout, &watch, [&] {
        QWidget* form = QApplication::activeWindow();
        if (!form || form->objectName() != "frmNewVersion")
            return;
        const auto* remote = form->findChild<QLabel*>("lbRemoteVersion");
        QString seen = form->findChild<QLabel*>("lbLocalVersion")->text() + " -> " + remote->text();
        if (QApplication::activeModalWidget() != form ||
            form->windowModality() != Qt::ApplicationModal || remote->textFormat() != Qt::PlainText)
            seen += ", not modal or not plain";
        // While it shows, the server's reply is one private file.
        const QStringList files = Entries(QDir::tempPath());
        const auto others =
            QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
        if (files.size() != 1 || !files.first().startsWith("ver_vrlqrv") ||
            QFileInfo(QDir::temp().filePath(files.first())).permissions() & others)
            seen += ", no private copy: " + files.join(QLatin1Char(' '));
        o.windows << seen;
        form->close();
    });
    watch.start(10);
    QElapsedTimer clock;
    clock.start();
    corpo::NewVersion();
    o.ms = clock.elapsed();
    for (const corpo::Shown& m : script.messages())
        o.messages << m.text;
    return o;
}

// A name of our own that leads to 127.0.0.1, after lookupMs.
corpo::HostResolver SlowName(int lookupMs) {
    return [lookupMs](const QString& host) {
        std::this_thread::sleep_for(std::chrono::milliseconds(lookupMs));
        return host == "versione.test" ? QList{QHostAddress(QHostAddress::LocalHost)}
                                       : QList<QHostAddress>{};
    };
}

// Runs one check in another process (see main), under the given environment.
QByteArray Probe(const QStringList& args, const QStringList& env = {}) {
    QProcess p;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    for (const char* v : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"})
        e.remove(QString::fromLatin1(v));
    for (const QString& kv : env)
        e.insert(kv.section(QLatin1Char('='), 0, 0), kv.section(QLatin1Char('='), 1));
    p.setProcessEnvironment(e);
    p.start(QCoreApplication::applicationFilePath(), QStringList{"--probe"} + args);
    // The server answers from this thread's event loop.
    if (!QTest::qWaitFor([&] { return p.state() == QProcess::NotRunning; }, 15000))
        return "still running";
    return p.readAllStandardOutput().trimmed();
}

} // namespace

// Where the desktop was asked to open an address (no browser starts).
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public Q_SLOTS:
    void record(const QUrl& url) { opened.append(url); }
};

const QByteArray Draws = "2024/12/03\tBA\t1\t2\t3\t4\t5\n2024/12/03\tCA\t6\t7\t8\t9\t10\n"
                         "2024/12/05\tBA\t11\t12\t13\t14\t15\n";

class TestUpdate;

// The server with its files, and a data folder of its own for the stored archive.
struct ArchiveServer {
    explicit ArchiveServer(TestUpdate* test);
    TlsServer server;
    QTemporaryDir data;
    QString url(const QString& path) const { return server.url(path); }
};

class TestUpdate : public QObject {
    Q_OBJECT
    friend struct ArchiveServer;
    QSslCertificate cert_;
    QSslKey key_;
    QString tempBase_;
    corpo::testing::MakerAddressScope maker_{"https://www.example.com"};
    std::optional<QTemporaryDir> tmp_; // the check's temporary folder, empty for each test

private Q_SLOTS:

    void initTestCase() {
        tempBase_ = QDir::tempPath();
        // The archive server's certificate, made now: localhost, valid a day.
        QTemporaryDir keys;
        QProcess openssl;
        openssl.start("openssl",
                      {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                       "-nodes", "-days", "1", "-subj", "/CN=localhost", "-addext",
                       "subjectAltName=DNS:localhost", "-keyout", keys.filePath("k.pem"), "-out",
                       keys.filePath("c.pem")});
        QVERIFY(openssl.waitForFinished(20000) && openssl.exitCode() == 0);
        cert_ = QSslCertificate::fromPath(keys.filePath("c.pem")).value(0);
        key_ = QSslKey(corpo::ReadSmallFile(keys.filePath("k.pem"), 4096, nullptr).value_or(""),
                       QSsl::Ec);
        QVERIFY(!cert_.isNull() && !key_.isNull());
        corpo::InstallFontSubstitutions();
        QApplication::setQuitOnLastWindowClosed(false);
    }

    void init() {
        tmp_.emplace(tempBase_ + "/update-XXXXXX");
        QVERIFY(tmp_->isValid());
        qputenv("TMPDIR", QFile::encodeName(tmp_->path()));
    }

    void keysAndLink_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("how"); // esc and ok close; click and tab open the maker's page
        for (const char* w : {"frmAbout", "frmNewVersion"})
            for (const char* how : {"esc", "click", "tab"})
                QTest::addRow("%s: %s", w, how) << w << how;
        for (const char* how : {"ok", "enter"}) // the focus starts on OK
            QTest::addRow("frmAbout: %s", how) << "frmAbout" << how;
    }

    void keysAndLink() {
        QFETCH(QString, window);
        QFETCH(QString, how);
        const bool closes = how == "esc" || how == "ok" || how == "enter";
        UrlRecorder recorder;
        QDesktopServices::setUrlHandler("https", &recorder, "record");
        const auto unset = qScopeGuard([] { QDesktopServices::unsetUrlHandler("https"); });
        std::unique_ptr<QDialog> form(window == "frmAbout"
                                          ? static_cast<QDialog*>(new corpo::frmAbout)
                                          : new corpo::frmNewVersion);
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        auto* url = form->findChild<QLabel*>("lbURL");
        QCOMPARE(url->cursor().shape(), Qt::PointingHandCursor); // a link to the pointer
        if (how == "esc") // what each says, where and in which font
            testsupport::CheckGoldenWindow("tests/update/golden/" + window + ".txt", form.get());
        if (how == "ok") { // About's artwork (the window shows through a corner)
            testsupport::CheckGoldenImage(
                "tests/update/golden/about_art.png",
                form->grab(form->findChild<QLabel*>("picIcon")->geometry()).toImage());
            corpo::testing::MakerAddressScope none{QString()}; // no link to no site
            QVERIFY(corpo::frmAbout().findChild<QLabel*>("lbURL")->isHidden());
        }
        QWidget* const focused = nullptr; // keys go where the focus is
        if (how == "esc" || how == "enter")
            QTest::keyClick(focused, how == "esc" ? Qt::Key_Escape : Qt::Key_Return);
        else if (how == "ok")
            QTest::mouseClick(form->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
        else if (how == "click")
            QTest::mouseClick(url, Qt::LeftButton);
        if (how == "tab") {
            // Reached by Tab, the link shows a focus frame it had not before.
            const QImage before = url->grab().toImage();
            for (int i = 0; i < 8 && (i == 0 || QApplication::focusWidget() != url); ++i)
                QTest::keyClick(focused, Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), url);
            QVERIFY2(url->grab().toImage() != before, "no focus frame on the link");
            QTest::keyClick(focused, Qt::Key_Enter);
        }
        QCOMPARE(form->isVisible(), !closes);
        QCOMPARE(recorder.opened,
                 closes ? QList<QUrl>() : QList{QUrl("https://www.example.com/lotto/")});
    }

    void sysInfo_data() {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QStringList>("tools");
        QTest::addColumn<QString>("started"); // the tool's name and arguments; empty: the message
        const QString gnome = "gnome-control-center";
        QTest::newRow("GNOME") << "GNOME" << QStringList{"kinfocenter", gnome}
                               << "gnome-control-center info-overview";
        QTest::newRow("KDE") << "KDE" << QStringList{gnome, "kinfocenter"} << "kinfocenter";
        QTest::newRow("XFCE second in the list")
            << "X-Generic:XFCE" << QStringList{gnome, "xfce4-about"} << "xfce4-about";
        QTest::newRow("unknown desktop: first known tool")
            << "Sway" << QStringList{"hardinfo", "kinfocenter"} << "kinfocenter";
        QTest::newRow("empty PATH") << "KDE" << QStringList{} << "";
    }

    void sysInfo() {
        QFETCH(QString, desktop);
        QFETCH(QStringList, tools);
        QFETCH(QString, started);
        QTemporaryDir bin;
        const QString record = bin.filePath("started.txt");
        for (const QString& t : tools) {
            // Shell built-ins only: the PATH of the test holds nothing else.
            const QByteArray script =
                "#!/bin/sh\necho \"${0##*/} $*\" > '" + QFile::encodeName(record);
            QVERIFY(corpo::WriteFileAtomically(bin.filePath(t), script + "'\n", nullptr));
            QVERIFY(QFile::setPermissions(bin.filePath(t), QFile::ReadOwner | QFile::ExeOwner));
        }
        const auto path = testsupport::SetEnv(
            "PATH", tools.isEmpty() ? QByteArray() : QFile::encodeName(bin.path()));
        const auto xdg = testsupport::SetEnv("XDG_CURRENT_DESKTOP", desktop.toUtf8());
        corpo::testing::Script script;
        corpo::frmAbout form;
        form.show();
        QTest::mouseClick(form.findChild<QPushButton*>("cmdSysInfo"), Qt::LeftButton);
        QCOMPARE(script.messages().value(0).text,
                 started.isEmpty()
                     ? "Le informazioni sul sistema non sono disponibili in questa fase"
                     : "");
        QTest::qWait(started.isEmpty() ? 200 : 0);
        QTRY_COMPARE_WITH_TIMEOUT(
            QString(corpo::ReadSmallFile(record, 1024, nullptr).value_or("")).trimmed(), started,
            5000);
    }

    // The body is served with status 200 unless the row's name sets up something
    // else; every row ends quickly and leaves nothing in the temporary folder.
    void check_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("shown"); // the line the window shows; empty: no window
        QTest::addColumn<int>("error");     // the error reported; 0: none
        for (const char* v : {"0.3.10", "0.3.3", "0.4", "0.10.0", "1", "1.0.0", " 0.4.0",
                              "0.3.99999999999999999999", "1<b>x</b>"})
            QTest::newRow(v) << QByteArray(v) << QString::fromLatin1(v) << 0;
        QTest::newRow("0.4.0 CR LF") << QByteArray("0.4.0\r\n") << "0.4.0" << 0;
        QTest::newRow("0.4.0 LF 0.5.0") << QByteArray("0.4.0\n0.5.0") << "0.4.0" << 0;
        QTest::newRow("65,536 bytes")
            << QByteArray("0.4.0\r\n").leftJustified(65536, 'x') << "0.4.0" << 0;
        const QByteArray now = corpo::StringaVersione().toLatin1(); // this build's own
        for (const QByteArray& v :
             {now, now + " ", now + ".7", now + "\r\n9.9.9", QByteArray("0.03.002"),
              QByteArray("0.2.9"), QByteArray("0.3.1"), QByteArray("0.3."), QByteArray("x.y.z")})
            QTest::newRow(v.constData()) << v << QString() << 0;
        QTest::newRow("status 299") << QByteArray("0.4.0") << "0.4.0" << 0; // still a success
        QTest::newRow("two addresses, the first answers") << QByteArray("0.4.0") << "0.4.0" << 0;
        QTest::newRow("0.3") << QByteArray("0.3") << QString() << 9;
        QTest::newRow("empty body") << QByteArray() << QString() << 62;
        QTest::newRow("<html>") << QByteArray("<html>\n<body>0.9.9</body>") << QString() << 9;
        QTest::newRow("ftp address") << QByteArray("9.9.9") << QString() << 5; // never asked
        for (const char* kind :
             {"404", "500", "redirect", "port bound then closed", "host under .invalid",
              "look-up slower than the deadline", "silent server", "one byte every 100 ms",
              "65,537 bytes", "65,537 bytes once unpacked", "temporary folder missing",
              "no maker's address"})
            QTest::newRow(kind) << QByteArray("9.9.9") << QString() << 0;
    }

    void check() {
        QFETCH(QByteArray, body);
        QFETCH(QString, shown);
        QFETCH(int, error);
        const QString kind = QString::fromLatin1(QTest::currentDataTag());
        const auto is = [&](const char* start) { return kind.startsWith(start); };
        Server server, other;
        server.reply = other.reply = Response(200, body);
        QString base = server.base();
        corpo::HostResolver resolver;
        int deadlineMs = is("look-up") || is("silent") ? 300 : is("one byte") ? 500 : 3000;
        const QByteArray big = QByteArray("0.4.0\r\n").leftJustified(65537, 'x');
        if (is("404") || is("500") || is("status")) {
            server.reply = Response(kind.right(3).toInt(), body);
        } else if (is("redirect")) {
            server.reply = Response(302, "", "Location: " + other.base().toLatin1() + "/\r\n");
        } else if (is("port")) {
            QTcpServer closed;
            closed.listen(QHostAddress::LocalHost, 0);
            base = QString("http://127.0.0.1:%1").arg(closed.serverPort());
        } else if (is("host")) {
            base = QString("http://versione.invalid:%1").arg(server.port());
        } else if (is("two")) { // asked once
            base = QString("http://versione.test:%1").arg(server.port());
            resolver = [](const QString&) {
                return QList<QHostAddress>(2, QHostAddress(QHostAddress::LocalHost));
            };
        } else if (is("look-up")) {
            base = QString("http://versione.test:%1").arg(server.port());
            resolver = SlowName(2000);
        } else if (is("silent")) {
            server.reply.clear();
        } else if (is("one byte")) {
            server.trickleMs = 100;
        } else if (is("65,537")) { // a small packed reply must not slip through either
            // In pieces: each one counts towards the limit as it arrives.
            server.trickleMs = 1;
            server.chunk = 8192;
            server.reply = kind.endsWith("bytes") ? Response(200, big)
                                                  : Response(200, qCompress(big).mid(4),
                                                             "Content-Encoding: deflate\r\n");
        } else if (is("no maker")) {
            base.clear();
        } else if (is("ftp")) {
            base = QString("ftp://localhost:%1").arg(server.port());
        } else if (is("temporary")) {
            qputenv("TMPDIR", QFile::encodeName(tmp_->path() + "/missing"));
        }
        const Outcome o = RunCheck(base, deadlineMs, resolver);
        QCOMPARE(o.windows, shown.isEmpty()
                                ? QStringList()
                                : QStringList{corpo::StringaVersione() + " -> " + shown});
        const QString report = QString("Errore %1 (%2) nella procedura %3 (Modulo corpo)")
                                   .arg(error)
                                   .arg(corpo::MakeError(error).description,
                                        error == 5 ? "DownloadFile" : "NewVersion");
        QCOMPARE(o.messages, error ? QStringList{report} : QStringList());
        QCOMPARE(Entries(tmp_->path()), QStringList());
        // A dead network holds nobody much beyond the deadline.
        QVERIFY2(o.ms < deadlineMs + 1500, qPrintable(QString::number(o.ms)));
        // Nothing asked without a place for the answer, a name, or a site.
        if (is("temporary") || is("look-up") || is("no maker") || is("two") || is("ftp"))
            QCOMPARE(server.requests.size(), is("two") ? 1 : 0);
    }

    void requestTellsNothingAboutTheUser() {
        Server server;
        const QByteArray host = "versione.test:" + QByteArray::number(server.port());
        QVERIFY(RunCheck("http://" + host, 3000, SlowName(300)).ms < 2000); // no waiting idle
        QCOMPARE(server.requests.size(), 1);
        const QByteArray request = server.requests.first();
        QVERIFY2(request.startsWith("GET /public/lotto/ver_vorlacco.asp HTTP/1.1\r\n"),
                 request.constData());
        // Asked by the name, not by the address it resolved to; asked afresh, past any cache.
        for (const QByteArray& header :
             {"Host: " + host, "User-Agent: Bramasolovanti/" + corpo::StringaVersione().toLatin1(),
              QByteArray("Accept-Language: it"), QByteArray("Cache-Control: no-cache")})
            QVERIFY2(request.contains("\r\n" + header + "\r\n"), request.constData());
        for (const char* name :
             {"\ncookie:", "\nauthorization:", "\nreferer:", "\ncontent-length:"})
            QVERIFY2(!request.toLower().contains(name), request.constData());
    }

    // The desktop's proxy is asked for the address by its name, which this
    // machine could not look up itself; a build without proxies never asks it.
    void followsTheSystemProxy() {
        Server proxy;
        Probe({"http://lotto.invalid", "3000"}, {"http_proxy=" + proxy.base(), "no_proxy="});
        QCOMPARE(proxy.requests.size(), BRAMA_SYSTEM_PROXY);
        if (BRAMA_SYSTEM_PROXY)
            QVERIFY2(proxy.requests.first().startsWith(
                         "GET http://lotto.invalid/public/lotto/ver_vorlacco.asp HTTP/1.1\r\n"),
                     proxy.requests.first().constData());
    }

    // The draw archive's update against our HTTPS server: the stored archive
    // is what the player keeps, so each failure must leave it byte for byte.
    void archiveUpdate_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("trusted");
        QTest::addColumn<QString>("message");
        // clang-format off
        QTest::newRow("broken zip") << "rotto.zip" << true
            << "Il file scaricato non è uno zip leggibile: l'archivio non è stato aggiornato.";
        QTest::newRow("two files") << "due.zip" << true
            << "Lo zip scaricato non contiene un solo file: non è l'archivio delle estrazioni.";
        QTest::newRow("no draws") << "testo.zip" << true << "Il file leggimi.txt non è un archivio delle "
            "estrazioni: nessuna delle sue 1 righe ha la data (aaaa/mm/gg), la sigla della ruota e cinque numeri da 1 a 90.";
        QTest::newRow("404") << "manca.zip" << true
            << "All'indirizzo %U non c'è nessun file (errore HTTP 404): controlla l'indirizzo dell'archivio.";
        QTest::newRow("unpacked too big") << "bomba.zip" << true
            << "Il file nello zip scaricato supera i 64 MB: non è l'archivio delle estrazioni.";
        QTest::newRow("too big") << "grande.zip" << true
            << "Il file all'indirizzo %U supera i 20 MB: non è l'archivio delle estrazioni.";
        QTest::newRow("certificate") << "storico.zip" << false << "Il certificato di localhost non è stato "
            "accettato: la connessione non è sicura e l'archivio non è stato scaricato.";
        QTest::newRow("plain http") << "http://localhost/storico.zip" << true
            << "L'indirizzo %U non è protetto: l'archivio si scarica solo da un indirizzo https://.";
        QTest::newRow("nobody listens") << "https://127.0.0.1:1/storico.zip" << true
            << "Nessuna connessione con 127.0.0.1: controlla la rete e riprova.";
        // clang-format on
    }
    void archiveUpdate() {
        QFETCH(QString, path);
        ArchiveServer server(this);
        const QByteArray before = "2024/12/02\tBA\t1\t2\t3\t4\t5\n";
        QVERIFY(corpo::WriteFileAtomically(corpo::PercorsoArchivio(), before, nullptr));
        const QString url = path.contains("://") ? path : server.url(path);
        std::optional<corpo::testing::TrustScope> trust;
        if (testsupport::Fetch<bool>("trusted"))
            trust.emplace(QList{cert_});
        const corpo::EsitoAggiornamento esito = corpo::AggiornaArchivio(url);
        QCOMPARE(esito.messaggio, testsupport::Fetch<QString>("message").replace("%U", url));
        QVERIFY(!esito.riuscito && !esito.salvato);
        QCOMPARE(*corpo::ReadSmallFile(corpo::PercorsoArchivio(), 1000, nullptr), before);
    }

    void archiveUpdateOnlyWhenChanged() {
        ArchiveServer server(this);
        const corpo::testing::TrustScope trust({cert_});
        const QString url = server.url("storico.zip");
        corpo::EsitoAggiornamento esito = corpo::AggiornaArchivio(url);
        QCOMPARE(esito.messaggio, "2 nuove estrazioni, l'ultima del 05/12/2024.");
        QVERIFY(esito.riuscito && esito.salvato);
        QCOMPARE(*corpo::ReadSmallFile(corpo::PercorsoArchivio(), 1000, nullptr), Draws);
        // Asked again, with what the first reply said: the server answers 304.
        esito = corpo::AggiornaArchivio(url);
        QCOMPARE(esito.messaggio, "L'archivio è già aggiornato.");
        QVERIFY(esito.riuscito && !esito.salvato);
        QCOMPARE(server.server.requests.size(), 2);
        QVERIFY(!server.server.requests[0].contains("If-"));
        QVERIFY(server.server.requests[1].contains("If-None-Match: \"/storico.zip-1\"\r\n"));
        QVERIFY(server.server.requests[1].contains(
            "If-Modified-Since: Tue, 03 Dec 2024 20:00:00 GMT\r\n"));
        QCOMPARE(*corpo::ReadSmallFile(corpo::PercorsoArchivio(), 1000, nullptr), Draws);
        server.server.bodies["/altro.zip"] = server.server.bodies["/storico.zip"];
        esito = corpo::AggiornaArchivio(server.url("altro.zip")); // another address: asked for all
        QVERIFY(!server.server.requests.value(2).contains("If-"));
        QCOMPARE(esito.messaggio, "L'archivio è già aggiornato.");
        // The command line is told no more than that, with no display, in one line and exit 1.
        const auto headless = testsupport::SetEnv("DISPLAY", {}),
                   platform = testsupport::SetEnv("QT_QPA_PLATFORM", {});
        QProcess p;
        p.start(testsupport::builtAppFolder() + "bramasolovanti", {"--aggiorna-archivio", url});
        QVERIFY(QTest::qWaitFor([&] { return p.state() == QProcess::NotRunning; }, 15000));
        QCOMPARE(p.exitCode(), 1);
        QCOMPARE(QString::fromUtf8(p.readAllStandardError()),
                 "Il certificato di localhost non è stato accettato: la connessione non è sicura "
                 "e l'archivio non è stato scaricato.\n");
    }

    // From Verifica: the address typed is kept, the download shows its progress, and Annulla stops
    // it with the archive untouched. From Statistiche on no archive: the new one from its first
    // draw.
    void archiveUpdateWindow_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("message");
        QTest::newRow("frmVerifica") << "lento.zip"
                                     << "Aggiornamento annullato: l'archivio è rimasto com'era.";
        QTest::newRow("frmStatistiche") << "storico.zip"
                                        << "2 nuove estrazioni, l'ultima del 05/12/2024.";
    }
    void archiveUpdateWindow() {
        QFETCH(QString, file);
        ArchiveServer server(this);
        const corpo::testing::TrustScope trust({cert_});
        const testsupport::AppFolder folder;
        corpo::testing::Script script;
        const bool cancel = file == "lento.zip";
        corpo::PrinterPage page;
        std::unique_ptr<QDialog> form(cancel
                                          ? static_cast<QDialog*>(new corpo::frmVerifica({}, page))
                                          : new corpo::frmStatistiche({}, {}));
        form->show();
        QString seen;
        bool typed = false, cancelled = false, stayed = false;
        QTimer poll;
        connect(&poll, &QTimer::timeout, &poll, [&] {
            QWidget* window = nullptr;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName() == "frmAggiornaArchivio" && w->isVisible())
                    window = w;
            auto* bar = window ? window->findChild<QProgressDialog*>("dlgScaricamento") : nullptr;
            if (window && !typed && window->isActiveWindow()) { // its focus set
                typed = true;
                testsupport::CheckGoldenWindow( // centred on the window it came from
                    QString("tests/update/golden/frmAggiornaArchivio_%1.txt")
                        .arg(QTest::currentDataTag()),
                    window);
                window->findChild<QLineEdit*>("txtIndirizzo")->setText(server.url(file));
                QTimer::singleShot(0, window->findChild<QPushButton*>("cmdAggiorna"),
                                   &QPushButton::click);
            } else if (cancel && bar && bar->isVisible() && bar->value() == 4 &&
                       !cancelled) { // all 4 kB, however they came
                cancelled = true;
                seen = QString("%1/%2").arg(bar->value()).arg(bar->maximum());
                bar->findChild<QPushButton*>()->click();
            } else if (window && !script.messages().isEmpty()) { // closes itself after a success
                stayed = true;
                window->close();
            }
        });
        poll.start(10);
        form->findChild<QPushButton*>("cmdAggiornaArchivio")->click();
        QCOMPARE(seen, cancel ? "4/8789" : ""); // kB of the size the server announced
        QCOMPARE(stayed, cancel);
        QTEST(script.messages().value(0).text, "message");
        QCOMPARE(QFile::exists(corpo::PercorsoArchivio()), !cancel);
        QCOMPARE(corpo::IndirizzoArchivio(), server.url(file));
        testsupport::CheckGoldenWindow(
            QString("tests/update/golden/%1.txt").arg(QTest::currentDataTag()), form.get());
    }

    void hangingLookupDoesNotHoldExit() {
        const QDeadlineTimer soon(8000); // the look-up hangs for 30 s; the program ends long before
        QCOMPARE(Probe({"http://versione.test:9", "300", "--hanging-lookup"}), "messages=0");
        QVERIFY(!soon.hasExpired());
    }
};

ArchiveServer::ArchiveServer(TestUpdate* test) : server(test->cert_, test->key_) {
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    QDir().mkpath(QFileInfo(corpo::PercorsoArchivio()).path());
    server.bodies["/storico.zip"] = Zip({{"storico.txt", Draws}});
    server.bodies["/rotto.zip"] = server.bodies["/storico.zip"].left(40) + QByteArray(200, 'x');
    server.bodies["/due.zip"] = Zip({{"a.txt", Draws}, {"b.txt", Draws}});
    // Unpacked, the most an archive may be, and a byte more (made once: 64 MB each).
    static const QByteArray full =
        Zip({{"leggimi.txt", QByteArray(corpo::ArchivioMassimo - 5, ' ') + "ciao\n"}});
    static const QByteArray bomb = Zip({{"b.txt", QByteArray(corpo::ArchivioMassimo + 1, 'x')}});
    server.bodies["/testo.zip"] = full;
    server.bodies["/bomba.zip"] = bomb;
    server.bodies["/grande.zip"] = QByteArray(corpo::ZipMassimo + 1, 'x');
}

// With --probe: one check against the server named next, in a process of its
// own (what another process sends, and how quickly it ends).
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.value(1) != "--probe") {
        TestUpdate test;
        return QTest::qExec(&test, argc, argv);
    }
    corpo::testing::Script script;
    corpo::testing::VersionServerScope scope(args.at(2), args.at(3).toInt(),
                                             args.contains("--hanging-lookup") ? SlowName(30000)
                                                                               : nullptr);
    corpo::NewVersion();
    QTextStream(stdout) << "messages=" << script.messages().size() << Qt::endl;
    return 0;
}

#include "test_update.moc"
