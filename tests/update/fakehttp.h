// A tiny HTTP server on 127.0.0.1 for the version-check tests: it records
// every request as raw bytes and answers from a queue of scripted replies.
#pragma once

#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <memory>

namespace fakehttp {

struct Reply {
    QByteArray bytes;   // the whole response, status line included
    bool silent = false; // accept, read, never answer
    int trickleMs = 0;  // > 0: the head at once, then one byte of the body every trickleMs
};

inline QByteArray Response(int status, const QByteArray& body, const QList<QByteArray>& headers = {}) {
    QByteArray out = "HTTP/1.1 " + QByteArray::number(status) + " X\r\n";
    for (const QByteArray& h : headers)
        out += h + "\r\n";
    out += "Content-Type: text/plain\r\nContent-Length: " + QByteArray::number(body.size()) +
           "\r\nConnection: close\r\n\r\n";
    return out + body;
}

inline Reply Ok(const QByteArray& body, const QList<QByteArray>& headers = {}) {
    return {Response(200, body, headers)};
}

class Server {
public:
    explicit Server(const QHostAddress& address = QHostAddress(QHostAddress::LocalHost)) {
        listening_ = server_.listen(address, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] { accept(); });
    }
    ~Server() {
        for (const QPointer<QTcpSocket>& s : sockets_)
            if (s)
                s->abort();
    }

    // Replies are used in order; the last one answers every later request.
    void setReplies(const QList<Reply>& replies) { replies_ = replies; }
    void setReply(const Reply& reply) { replies_ = {reply}; }

    bool listening() const { return listening_; }
    quint16 port() const { return server_.serverPort(); }
    QString base() const {
        const QHostAddress a = server_.serverAddress();
        const QString host = a.protocol() == QAbstractSocket::IPv6Protocol ? QLatin1Char('[') + a.toString() + QLatin1Char(']')
                                                                           : a.toString();
        return QStringLiteral("http://%1:%2").arg(host).arg(port());
    }
    const QList<QByteArray>& requests() const { return requests_; }
    int connections() const { return connections_; }

private:
    void accept() {
        while (QTcpSocket* s = server_.nextPendingConnection()) {
            ++connections_;
            sockets_.append(s);
            auto buffer = std::make_shared<QByteArray>();
            QObject::connect(s, &QTcpSocket::readyRead, s, [this, s, buffer] {
                *buffer += s->readAll();
                const qsizetype end = buffer->indexOf("\r\n\r\n");
                if (end < 0 || buffer->isEmpty())
                    return;
                requests_.append(buffer->left(end + 4));
                buffer->clear();
                answer(s, next());
            });
        }
    }

    Reply next() {
        if (replies_.isEmpty())
            return Ok("0.3.2");
        const Reply r = replies_.first();
        if (replies_.size() > 1)
            replies_.removeFirst();
        return r;
    }

    void answer(QTcpSocket* s, const Reply& r) {
        if (r.silent)
            return;
        if (r.trickleMs <= 0) {
            s->write(r.bytes);
            s->disconnectFromHost();
            return;
        }
        // The head goes at once; the body dribbles.
        const qsizetype head = r.bytes.indexOf("\r\n\r\n");
        auto sent = std::make_shared<qsizetype>(head < 0 ? 0 : head + 4);
        s->write(r.bytes.left(*sent));
        auto* timer = new QTimer(s);
        QObject::connect(timer, &QTimer::timeout, s, [s, timer, sent, bytes = r.bytes] {
            if (s->state() != QAbstractSocket::ConnectedState || *sent >= bytes.size()) {
                timer->stop();
                return;
            }
            s->write(bytes.mid(*sent, 1));
            ++*sent;
        });
        timer->start(r.trickleMs);
    }

    QTcpServer server_;
    QList<Reply> replies_;
    QList<QByteArray> requests_;
    QList<QPointer<QTcpSocket>> sockets_;
    int connections_ = 0;
    bool listening_ = false;
};

// A port that was just free and now refuses connections.
inline quint16 ClosedPort() {
    QTcpServer s;
    s.listen(QHostAddress(QHostAddress::LocalHost), 0);
    const quint16 port = s.serverPort();
    s.close();
    return port;
}

} // namespace fakehttp
