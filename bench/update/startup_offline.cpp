// How long start-up takes when the version check cannot reach its server:
// from entering the start-up routine to the main window's first Show event,
// in process and offscreen, the median of five runs for each kind of dead
// network, with the check's own share.
#include "app/messages.h"
#include "startup/startup.h"
#include "update/download.h"
#include "update/versioncheck.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLocalServer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTextStream>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Notes the first time a window named frmMain gets its Show event.
class ShowWatcher : public QObject {
public:
    explicit ShowWatcher(const QElapsedTimer& clock) : clock_(clock) {}
    qint64 shownAt = -1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (shownAt < 0 && event->type() == QEvent::Show && watched->isWidgetType() &&
            watched->objectName() == QLatin1String("frmMain"))
            shownAt = clock_.elapsed();
        return false;
    }

private:
    const QElapsedTimer& clock_;
};

struct Run {
    qint64 totalMs = 0;
    qint64 checkMs = 0;
    int messages = 0;
};

Run StartOnce(const QString& base) {
    Run run;
    corpo::testing::Script script; // answers anything start-up might ask
    corpo::testing::VersionServerScope scope(base, corpo::DownloadDeadlineMs);
    QElapsedTimer clock;
    ShowWatcher watcher(clock);
    qApp->installEventFilter(&watcher);

    corpo::StartupOptions options;
    options.versionCheck = [&] {
        QElapsedTimer check;
        check.start();
        corpo::NewVersion();
        run.checkMs = check.elapsed();
    };
    clock.start();
    QWidget* main = corpo::StartUp(options);
    qApp->removeEventFilter(&watcher);
    // This process now answers later copies; the next run must not ask itself.
    if (main)
        QLocalServer::removeServer(corpo::InstanceName());
    run.totalMs = watcher.shownAt;
    run.messages = int(script.messages().size());
    // Away without the closing question; ready for the next run.
    if (main) {
        main->hide();
        delete main;
    }
    QCoreApplication::processEvents();
    return run;
}

qint64 Median(std::vector<qint64> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;

    // (a) nobody listens; (b) the name cannot exist; (c) a server that takes
    // the connection and never says a word.
    QTcpServer refused;
    refused.listen(QHostAddress(QHostAddress::LocalHost), 0);
    const quint16 refusedPort = refused.serverPort();
    refused.close();
    QTcpServer silent;
    silent.listen(QHostAddress(QHostAddress::LocalHost), 0);
    QList<QTcpSocket*> held;
    QObject::connect(&silent, &QTcpServer::newConnection, &silent, [&] {
        while (QTcpSocket* s = silent.nextPendingConnection())
            held.append(s);
    });

    struct Case {
        const char* name;
        QString base;
        qint64 limitMs;
    };
    const std::vector<Case> cases = {
        {"refused port on 127.0.0.1", QStringLiteral("http://127.0.0.1:%1").arg(refusedPort), 1150},
        {"host under .invalid", QStringLiteral("http://versione.invalid"), 1150},
        {"server that never answers",
         QStringLiteral("http://127.0.0.1:%1").arg(silent.serverPort()), 4150},
    };

    QTextStream out(stdout);
    bool allWithin = true;
    for (const Case& c : cases) {
        std::vector<qint64> totals, checks;
        int messages = 0;
        for (int i = 0; i < runs; ++i) {
            const Run r = StartOnce(c.base);
            totals.push_back(r.totalMs);
            checks.push_back(r.checkMs);
            messages += r.messages;
        }
        const qint64 total = Median(totals);
        const qint64 check = Median(checks);
        const bool within = total >= 0 && total <= c.limitMs;
        allWithin = allWithin && within;
        out << c.name << ": runs";
        for (qint64 t : totals)
            out << " " << t;
        out << " ms" << Qt::endl;
        out << c.name << ": start-up median " << total << " ms (limit " << c.limitMs
            << "), version check " << check << " ms (" << (total > 0 ? 100 * check / total : 0)
            << "%), " << runs << " runs";
        if (messages)
            out << ", " << messages << " messages shown";
        out << (within ? "" : "  OVER THE LIMIT") << Qt::endl;
    }
    qDeleteAll(held);
    return allWithin ? 0 : 1;
}
