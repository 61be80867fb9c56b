// The version check end to end: a server of our own on 127.0.0.1, the
// window it opens or not, the messages shown, and what is left on disk.
#include "app/corpo.h"
#include "app/messages.h"
#include "tests/update/fakehttp.h"
#include "tests/update/watch.h"
#include "update/download.h"
#include "update/versioncheck.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <thread>

namespace {

struct Outcome {
    int windows = 0;
    QString local, remote;                 // the window's two labels
    bool appModal = false, parentless = false;
    QStringList filesDuringWindow;          // the temporary folder while the window shows
    QFileDevice::Permissions copyPermissions;
    QList<corpo::Shown> messages;
    QStringList leftovers;                  // the temporary folder afterwards
    qint64 elapsedMs = 0;
};

QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

Outcome RunCheck(const QString& base, int deadlineMs, corpo::HostResolver resolver = {}) {
    Outcome o;
    corpo::testing::Script script;
    corpo::testing::VersionServerScope scope(base, deadlineMs, std::move(resolver));
    const QString tmp = QDir::tempPath();
    watch::WindowWatcher watcher(QStringLiteral("frmNewVersion"), [&](QWidget* form) {
        ++o.windows;
        o.local = form->findChild<QLabel*>(QStringLiteral("lbLocalVersion"))->text();
        o.remote = form->findChild<QLabel*>(QStringLiteral("lbRemoteVersion"))->text();
        o.appModal = form->windowModality() == Qt::ApplicationModal && QApplication::activeModalWidget() == form;
        o.parentless = form->parentWidget() == nullptr;
        o.filesDuringWindow = Entries(tmp);
        if (o.filesDuringWindow.size() == 1)
            o.copyPermissions = QFileInfo(tmp + QLatin1Char('/') + o.filesDuringWindow.first()).permissions();
    });
    QElapsedTimer clock;
    clock.start();
    corpo::NewVersion();
    o.elapsedMs = clock.elapsed();
    o.messages = script.messages();
    o.leftovers = Entries(tmp);
    return o;
}

QString Report(int number, const QString& description) {
    return QStringLiteral("Error %1 (%2) in procedure NewVersion of Modulo corpo").arg(number).arg(description);
}

// The padding that takes a reply to an exact size.
QByteArray Sized(const QByteArray& start, qsizetype size) {
    QByteArray b = start;
    b.append(size - start.size(), 'x');
    return b;
}

QList<QByteArray> HeaderLines(const QByteArray& request) {
    QList<QByteArray> lines = request.split('\n');
    for (QByteArray& l : lines)
        l = l.trimmed();
    lines.removeAll(QByteArray());
    return lines;
}

} // namespace

class TestVersionCheck : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void serverLines_data();
    void serverLines();
    void failedTransfers_data();
    void failedTransfers();
    void replySizeLimit_data();
    void replySizeLimit();
    void secondCheckBypassesCaches();
    void namesAreLookedUpWithinTheDeadline_data();
    void namesAreLookedUpWithinTheDeadline();
    void requestTellsNothingAboutTheUser();
    void addressesAskedByTheirName_data();
    void addressesAskedByTheirName();
    void sameBytesWhoeverRuns();
    void hangingLookupDoesNotHoldExit();

private:
    std::unique_ptr<QTemporaryDir> tmp_;
    QByteArray savedTmpdir_;
    bool hadTmpdir_ = false;
};

void TestVersionCheck::init() {
    hadTmpdir_ = qEnvironmentVariableIsSet("TMPDIR");
    savedTmpdir_ = qgetenv("TMPDIR");
    tmp_ = std::make_unique<QTemporaryDir>();
    QVERIFY(tmp_->isValid());
    qputenv("TMPDIR", QFile::encodeName(tmp_->path()));
}

void TestVersionCheck::cleanup() {
    if (hadTmpdir_)
        qputenv("TMPDIR", savedTmpdir_);
    else
        qunsetenv("TMPDIR");
    tmp_.reset();
}

void TestVersionCheck::serverLines_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("shownRemote"); // null: no window
    QTest::addColumn<QString>("message");     // null: no message

    const QString none;
    QTest::newRow("0.3.10") << QByteArray("0.3.10") << "0.3.10" << none;
    QTest::newRow("0.3.3") << QByteArray("0.3.3") << "0.3.3" << none;
    QTest::newRow("0.4") << QByteArray("0.4") << "0.4" << none;
    QTest::newRow("0.10.0") << QByteArray("0.10.0") << "0.10.0" << none;
    QTest::newRow("1") << QByteArray("1") << "1" << none;
    QTest::newRow("1.0.0") << QByteArray("1.0.0") << "1.0.0" << none;
    QTest::newRow("blank then 0.4.0") << QByteArray(" 0.4.0") << " 0.4.0" << none;
    QTest::newRow("0.4.0 CR LF") << QByteArray("0.4.0\r\n") << "0.4.0" << none;
    QTest::newRow("twenty nines") << QByteArray("0.3.99999999999999999999") << "0.3.99999999999999999999" << none;
    QTest::newRow("markup shown as typed") << QByteArray("1<b>x</b>") << "1<b>x</b>" << none;
    QTest::newRow("0.3.2") << QByteArray("0.3.2") << none << none;
    QTest::newRow("0.03.002") << QByteArray("0.03.002") << none << none;
    QTest::newRow("0.3.2 and a blank") << QByteArray("0.3.2 ") << none << none;
    QTest::newRow("0.3.2 CR LF 9.9.9") << QByteArray("0.3.2\r\n9.9.9") << none << none;
    QTest::newRow("0.3.2.7") << QByteArray("0.3.2.7") << none << none;
    QTest::newRow("0.2.9") << QByteArray("0.2.9") << none << none;
    QTest::newRow("0.3.1") << QByteArray("0.3.1") << none << none;
    QTest::newRow("0.3.") << QByteArray("0.3.") << none << none;
    QTest::newRow("x.y.z") << QByteArray("x.y.z") << none << none;
    QTest::newRow("0.3") << QByteArray("0.3") << none << Report(9, QStringLiteral("Subscript out of range"));
    QTest::newRow("empty body") << QByteArray() << none << Report(62, QStringLiteral("Input past end of file"));
    QTest::newRow("<html>") << QByteArray("<html>") << none << Report(9, QStringLiteral("Subscript out of range"));
}

void TestVersionCheck::serverLines() {
    QFETCH(QByteArray, body);
    QFETCH(QString, shownRemote);
    QFETCH(QString, message);

    fakehttp::Server server;
    server.setReply(fakehttp::Ok(body));
    const Outcome o = RunCheck(server.base(), 3000);

    QCOMPARE(server.requests().size(), 1);
    QCOMPARE(o.windows, shownRemote.isNull() ? 0 : 1);
    if (!shownRemote.isNull()) {
        QCOMPARE(o.local, QStringLiteral("0.3.2"));
        QCOMPARE(o.remote, shownRemote);
        QVERIFY(o.appModal);
        QVERIFY(o.parentless);
        // While the window shows, the local copy is there and private.
        QCOMPARE(o.filesDuringWindow.size(), 1);
        QVERIFY2(o.filesDuringWindow.first().startsWith(QLatin1String("ver_vrlqrv")),
                 qPrintable(o.filesDuringWindow.first()));
        QCOMPARE(o.copyPermissions & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther),
                 QFileDevice::Permissions());
    }
    if (message.isNull()) {
        QCOMPARE(o.messages.size(), 0);
    } else {
        QCOMPARE(o.messages.size(), 1);
        QCOMPARE(o.messages.first().text, message);
        QCOMPARE(o.messages.first().title, QStringLiteral("Bramasolovanti"));
        QCOMPARE(o.messages.first().buttons, corpo::MsgButtons::Ok);
        QCOMPARE(o.messages.first().icon, corpo::MsgIcon::None);
    }
    QCOMPARE(o.leftovers, QStringList());
}

void TestVersionCheck::failedTransfers_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("deadlineMs");
    QTest::newRow("404 with a version body") << "404" << 300;
    QTest::newRow("500") << "500" << 300;
    QTest::newRow("redirect") << "302" << 300;
    QTest::newRow("port bound then closed") << "closed" << 300;
    QTest::newRow("host under .invalid") << "invalid" << 300;
    QTest::newRow("server that never answers") << "silent" << 300;
    QTest::newRow("body one byte every 100 ms") << "trickle" << 500;
    QTest::newRow("head but no body") << "truncated" << 300;
    QTest::newRow("temporary folder missing") << "notmp" << 300;
    QTest::newRow("temporary folder is a file") << "tmpfile" << 300;
}

void TestVersionCheck::failedTransfers() {
    QFETCH(QString, kind);
    QFETCH(int, deadlineMs);

    fakehttp::Server server;
    QString base = server.base();
    if (kind == QLatin1String("404"))
        server.setReply({fakehttp::Response(404, "9.9.9")});
    else if (kind == QLatin1String("500"))
        server.setReply({fakehttp::Response(500, "9.9.9")});
    else if (kind == QLatin1String("302"))
        server.setReply({fakehttp::Response(302, "9.9.9", {"Location: " + base.toLatin1() + "/other"})});
    else if (kind == QLatin1String("closed"))
        base = QStringLiteral("http://127.0.0.1:%1").arg(fakehttp::ClosedPort());
    else if (kind == QLatin1String("invalid"))
        base = QStringLiteral("http://versione.invalid:%1").arg(server.port());
    else if (kind == QLatin1String("silent"))
        server.setReply({QByteArray(), true});
    else if (kind == QLatin1String("trickle"))
        server.setReply({fakehttp::Response(200, Sized("9.9.9\r\n", 100)), false, 100});
    else if (kind == QLatin1String("truncated"))
        server.setReply({"HTTP/1.1 200 OK\r\nContent-Length: 100\r\nConnection: close\r\n\r\n9.9.9"});
    else
        server.setReply(fakehttp::Ok("9.9.9"));

    QString tmp = QDir::tempPath();
    if (kind == QLatin1String("notmp"))
        qputenv("TMPDIR", QFile::encodeName(tmp + QStringLiteral("/missing")));
    if (kind == QLatin1String("tmpfile")) {
        QFile f(tmp + QStringLiteral("/plain"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        qputenv("TMPDIR", QFile::encodeName(f.fileName()));
    }

    const Outcome o = RunCheck(base, deadlineMs);
    QCOMPARE(o.windows, 0);
    QCOMPARE(o.messages.size(), 0);
    if (kind == QLatin1String("notmp") || kind == QLatin1String("tmpfile")) {
        QCOMPARE(server.connections(), 0); // nothing asked without a place for the answer
        QVERIFY(!QFileInfo::exists(tmp + QStringLiteral("/missing")));
    } else {
        QCOMPARE(Entries(tmp), QStringList());
    }
    // A dead network holds nobody much beyond the deadline.
    QVERIFY2(o.elapsedMs < deadlineMs + 1500, qPrintable(QString::number(o.elapsedMs)));
}

void TestVersionCheck::replySizeLimit_data() {
    QTest::addColumn<qsizetype>("size");
    QTest::addColumn<bool>("gzipped");
    QTest::addColumn<int>("windows");
    QTest::newRow("65,536 bytes") << qsizetype(65536) << false << 1;
    QTest::newRow("65,537 bytes") << qsizetype(65537) << false << 0;
    QTest::newRow("65,536 bytes once unpacked") << qsizetype(65536) << true << 1;
    QTest::newRow("65,537 bytes once unpacked") << qsizetype(65537) << true << 0;
}

void TestVersionCheck::replySizeLimit() {
    QFETCH(qsizetype, size);
    QFETCH(bool, gzipped);
    QFETCH(int, windows);

    const QByteArray body = Sized("0.4.0\r\n", size);
    fakehttp::Server server;
    if (gzipped) {
        // A small packed reply that unpacks past the limit must not slip through.
        QProcess gzip;
        gzip.start(QStringLiteral("gzip"), {QStringLiteral("-c"), QStringLiteral("-n")});
        QVERIFY(gzip.waitForStarted());
        gzip.write(body);
        gzip.closeWriteChannel();
        QVERIFY(gzip.waitForFinished());
        const QByteArray packed = gzip.readAllStandardOutput();
        QVERIFY(packed.size() < 1000);
        server.setReply({fakehttp::Response(200, packed, {"Content-Encoding: gzip"})});
    } else {
        server.setReply(fakehttp::Ok(body));
    }
    const Outcome o = RunCheck(server.base(), 3000);
    QCOMPARE(o.windows, windows);
    if (windows)
        QCOMPARE(o.remote, QStringLiteral("0.4.0"));
    QCOMPARE(o.messages.size(), 0);
    QCOMPARE(o.leftovers, QStringList());
}

void TestVersionCheck::secondCheckBypassesCaches() {
    fakehttp::Server server;
    server.setReplies({fakehttp::Ok("0.4.0", {"Cache-Control: max-age=3600"}), fakehttp::Ok("0.3.2")});
    const Outcome first = RunCheck(server.base(), 3000);
    QCOMPARE(first.windows, 1);
    QCOMPARE(first.remote, QStringLiteral("0.4.0"));
    const Outcome second = RunCheck(server.base(), 3000);
    QCOMPARE(second.windows, 0);
    QCOMPARE(second.messages.size(), 0);
    QCOMPARE(server.requests().size(), 2);
    for (const QByteArray& r : server.requests())
        QVERIFY2(HeaderLines(r).contains("Cache-Control: no-cache"), r.constData());
}

void TestVersionCheck::namesAreLookedUpWithinTheDeadline_data() {
    QTest::addColumn<int>("lookupMs");
    QTest::addColumn<bool>("deadFirstAddress");
    QTest::addColumn<int>("windows");
    QTest::newRow("quick name") << 0 << false << 1;
    QTest::newRow("dead first address, live second") << 0 << true << 1;
    QTest::newRow("look-up slower than the deadline") << 4000 << false << 0;
}

void TestVersionCheck::namesAreLookedUpWithinTheDeadline() {
    QFETCH(int, lookupMs);
    QFETCH(bool, deadFirstAddress);
    QFETCH(int, windows);

    fakehttp::Server server;
    server.setReply(fakehttp::Ok("0.4.0"));
    const QString base = QStringLiteral("http://versione.test:%1").arg(server.port());
    auto asked = std::make_shared<std::atomic<int>>(0);
    corpo::HostResolver resolver = [=](const QString& host) {
        ++*asked;
        std::this_thread::sleep_for(std::chrono::milliseconds(lookupMs));
        QList<QHostAddress> out;
        if (host != QLatin1String("versione.test"))
            return out;
        if (deadFirstAddress)
            out << QHostAddress(QStringLiteral("127.0.0.2")); // nobody listens there on this port
        out << QHostAddress(QHostAddress::LocalHost);
        return out;
    };
    const Outcome o = RunCheck(base, 1000, resolver);
    QCOMPARE(o.windows, windows);
    QCOMPARE(o.messages.size(), 0);
    QCOMPARE(asked->load(), 1);
    QVERIFY2(o.elapsedMs < 2500, qPrintable(QString::number(o.elapsedMs)));
    if (windows) {
        QCOMPARE(server.requests().size(), 1);
        // The server is asked by the name, not by the address it resolved to.
        QVERIFY(HeaderLines(server.requests().first())
                    .contains("Host: versione.test:" + QByteArray::number(server.port())));
    } else {
        QCOMPARE(server.connections(), 0);
    }
    QCOMPARE(o.leftovers, QStringList());
}

void TestVersionCheck::requestTellsNothingAboutTheUser() {
    fakehttp::Server server;
    server.setReply(fakehttp::Ok("0.3.2"));
    RunCheck(server.base(), 3000);
    QCOMPARE(server.requests().size(), 1);
    const QList<QByteArray> lines = HeaderLines(server.requests().first());
    QCOMPARE(lines.first(), QByteArray("GET /public/lotto/ver_vorlacco.asp HTTP/1.1"));
    QVERIFY(lines.contains("User-Agent: Bramasolovanti/0.3.2"));
    QVERIFY(lines.contains("Accept-Language: it"));
    for (const QByteArray& line : lines) {
        const QByteArray name = line.left(line.indexOf(':')).toLower();
        QVERIFY2(name != "cookie" && name != "authorization" && name != "referer" && name != "content-length",
                 line.constData());
    }
}

void TestVersionCheck::addressesAskedByTheirName_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("host");
    QTest::newRow("IPv4") << "127.0.0.1" << "127.0.0.1";
    QTest::newRow("IPv6") << "::1" << "[::1]";
}

void TestVersionCheck::addressesAskedByTheirName() {
    QFETCH(QString, address);
    QFETCH(QString, host);
    fakehttp::Server server{QHostAddress(address)};
    if (!server.listening())
        QSKIP("no such loopback address here");
    server.setReply(fakehttp::Ok("0.4.0"));
    const Outcome o = RunCheck(server.base(), 3000);
    QCOMPARE(o.windows, 1);
    QCOMPARE(server.requests().size(), 1);
    const QByteArray expected = "Host: " + host.toLatin1() + ':' + QByteArray::number(server.port());
    QVERIFY2(HeaderLines(server.requests().first()).contains(expected), server.requests().first().constData());
}

void TestVersionCheck::sameBytesWhoeverRuns() {
    fakehttp::Server server;
    server.setReply(fakehttp::Ok("0.3.2"));
    const QString probe = QCoreApplication::applicationDirPath() + QStringLiteral("/versioncheck_probe");
    const QList<QStringList> people = {
        {QStringLiteral("LANG=it_IT.UTF-8"), QStringLiteral("USER=mario"), QStringLiteral("HOME=/home/mario")},
        {QStringLiteral("LANG=en_GB.UTF-8"), QStringLiteral("USER=jane"), QStringLiteral("HOME=/root")},
    };
    for (const QStringList& person : people) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* v : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"})
            env.remove(QString::fromLatin1(v));
        for (const QString& kv : person)
            env.insert(kv.section(QLatin1Char('='), 0, 0), kv.section(QLatin1Char('='), 1));
        p.setProcessEnvironment(env);
        p.start(probe, {server.base(), QStringLiteral("3000")});
        QVERIFY2(p.waitForStarted(), qPrintable(probe));
        // The server answers from this thread's event loop.
        QTRY_VERIFY_WITH_TIMEOUT(p.state() == QProcess::NotRunning, 20000);
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(p.readAllStandardOutput().trimmed(), QByteArray("messages=0"));
    }
    QCOMPARE(server.requests().size(), 2);
    QCOMPARE(server.requests().at(0), server.requests().at(1));
}

void TestVersionCheck::hangingLookupDoesNotHoldExit() {
    const QString probe = QCoreApplication::applicationDirPath() + QStringLiteral("/versioncheck_probe");
    QProcess p;
    QElapsedTimer clock;
    clock.start();
    p.start(probe, {QStringLiteral("http://versione.test:9"), QStringLiteral("300"), QStringLiteral("--hanging-lookup")});
    QVERIFY(p.waitForStarted());
    QVERIFY(p.waitForFinished(15000));
    // The look-up hangs for 30 s; the program ends long before.
    QVERIFY2(clock.elapsed() < 8000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(p.exitCode(), 0);
    QCOMPARE(p.readAllStandardOutput().trimmed(), QByteArray("messages=0"));
}

QTEST_MAIN(TestVersionCheck)
#include "test_versioncheck.moc"
