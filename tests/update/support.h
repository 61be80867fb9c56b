// What the update tests share: an environment variable set for one scope, a
// watch on windows that show while the code under test waits in its own
// event loop, and a tiny HTTP server on 127.0.0.1 that records raw requests.
#pragma once

#include <QApplication>
#include <QScopeGuard>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace updatetest {

// Sets an environment variable until the returned guard goes.
inline auto SetEnv(const char* name, const QByteArray& value) {
    const bool had = qEnvironmentVariableIsSet(name);
    const QByteArray old = qgetenv(name);
    qputenv(name, value);
    return qScopeGuard([=] { had ? qputenv(name, old) : qunsetenv(name); });
}

// While the timer lives, hands each window of that name to onSeen once it
// shows, then closes it as the user would if it is still open.
inline std::unique_ptr<QTimer> Watch(const QString& name, std::function<void(QWidget*)> onSeen) {
    auto timer = std::make_unique<QTimer>();
    QObject::connect(timer.get(), &QTimer::timeout, timer.get(), [name, onSeen] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == name && w->isVisible()) {
                onSeen(w);
                w->close();
            }
    });
    timer->start(10);
    return timer;
}

struct Reply {
    QByteArray bytes;  // the whole response; empty: read the request, never answer
    int trickleMs = 0; // > 0: the head at once, then one byte of the body every trickleMs
};

inline Reply Response(int status, const QByteArray& body, const QByteArray& header = {}) {
    return {"HTTP/1.1 " + QByteArray::number(status) + " X\r\n" + header + "Content-Length: " +
            QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body};
}

class Server {
public:
    Server() {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
            while (QTcpSocket* s = server_.nextPendingConnection())
                QObject::connect(s, &QTcpSocket::readyRead, s, [this, s] { read(s); });
        });
    }
    // Used in order; the last one answers every later request.
    QList<Reply> replies{Response(200, "0.3.2")};
    QList<QByteArray> requests;
    quint16 port() const { return server_.serverPort(); }
    QString base() const { return QStringLiteral("http://127.0.0.1:%1").arg(port()); }

private:
    void read(QTcpSocket* s) {
        QByteArray& buffer = pending_[s];
        buffer += s->readAll();
        const qsizetype end = buffer.indexOf("\r\n\r\n");
        if (end < 0) return;
        requests.append(buffer.left(end + 4));
        buffer.clear();
        const Reply r = replies.size() > 1 ? replies.takeFirst() : replies.first();
        if (r.trickleMs <= 0) {
            s->write(r.bytes);
            if (!r.bytes.isEmpty()) s->disconnectFromHost();
            return;
        }
        qsizetype sent = r.bytes.indexOf("\r\n\r\n") + 4;
        s->write(r.bytes.left(sent));
        auto* timer = new QTimer(s);
        QObject::connect(timer, &QTimer::timeout, s, [s, sent, bytes = r.bytes]() mutable {
            if (sent < bytes.size()) s->write(bytes.mid(sent++, 1));
        });
        timer->start(r.trickleMs);
    }

    QTcpServer server_;
    QHash<QTcpSocket*, QByteArray> pending_;
};

} // namespace updatetest
