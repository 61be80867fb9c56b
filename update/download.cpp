#include "update/download.h"

#include "app/corpo.h"
#include "app/fileio.h"
#include "app/maker.h"
#include "app/messages.h"
#include "buildconfig.h"

#include <QBuffer>
#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QFileDevice>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QSslConfiguration>
#include <QTimer>
#include <QUrl>

#include <memory>
#include <mutex>
#include <netdb.h>
#include <optional>
#include <sys/socket.h>
#include <thread>

namespace corpo {

namespace testing {
namespace {
VersionServerScope* activeScope = nullptr;
}

VersionServerScope::VersionServerScope(const QString& baseAddress, int deadlineMs,
                                       HostResolver resolver)
    : previous_(activeScope), base_(baseAddress), deadlineMs_(deadlineMs),
      resolver_(std::move(resolver)) {
    activeScope = this;
}

VersionServerScope::~VersionServerScope() { activeScope = previous_; }

namespace {
TrustScope* activeTrust = nullptr;
}

TrustScope::TrustScope(QList<QSslCertificate> certificates)
    : previous_(activeTrust), certificates_(std::move(certificates)) {
    activeTrust = this;
}

TrustScope::~TrustScope() { activeTrust = previous_; }

struct TrustedCertificates {
    static QList<QSslCertificate> Get() {
        QList<QSslCertificate> all;
        for (const TrustScope* s = activeTrust; s; s = s->previous_)
            all += s->certificates_;
        return all;
    }
};

} // namespace testing

CheckTarget CheckTarget::Current() {
    if (const testing::VersionServerScope* s = testing::activeScope)
        return {s->base_, s->deadlineMs_,
                s->resolver_ ? s->resolver_ : HostResolver(&SystemResolve)};
    return {MakerAddress(), DownloadDeadlineMs, &SystemResolve};
}

QList<QHostAddress> SystemResolve(const QString& host) {
    QList<QHostAddress> out;
    const QByteArray ace = QUrl::toAce(host);
    if (ace.isEmpty())
        return out;
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_ADDRCONFIG;
    addrinfo* found = nullptr;
    if (getaddrinfo(ace.constData(), nullptr, &hints, &found) != 0)
        return out;
    // Freed however this function is left.
    const std::unique_ptr<addrinfo, void (*)(addrinfo*)> list(found, &freeaddrinfo);
    for (const addrinfo* p = list.get(); p; p = p->ai_next) {
        const QHostAddress a(p->ai_addr);
        if (!out.contains(a)) // a name listed twice in the hosts file
            out.append(a);
    }
    return out;
}

namespace {

// What the look-up thread hands back; shared, so an abandoned look-up can
// still finish without touching anything that is gone.
struct Lookup {
    std::mutex mutex;
    bool done = false;
    QList<QHostAddress> addresses;
    QEventLoop* waiting = nullptr; // woken when done, while it waits
};

// Looks host up without ever waiting past the deadline. Qt's own look-ups
// run on a pool that the program waits for when it ends, so a hanging name
// server would hold up the exit; this thread is simply left behind.
std::optional<QList<QHostAddress>> Resolve(const QString& host, const HostResolver& resolver,
                                           const QDeadlineTimer& deadline) {
    QHostAddress literal;
    if (literal.setAddress(host))
        return QList<QHostAddress>{literal};

    auto lookup = std::make_shared<Lookup>();
    std::thread([lookup, host, resolver] {
        QList<QHostAddress> found = resolver(host);
        const std::lock_guard<std::mutex> lock(lookup->mutex);
        lookup->addresses = std::move(found);
        lookup->done = true;
        if (lookup->waiting) // posted: the loop quits in its own thread
            QMetaObject::invokeMethod(lookup->waiting, &QEventLoop::quit, Qt::QueuedConnection);
    }).detach();

    QEventLoop loop;
    // Once the deadline is past, the time left is 0.
    QTimer::singleShot(deadline.remainingTime(), &loop, &QEventLoop::quit);
    bool wait; // set under the lock
    {
        const std::lock_guard<std::mutex> lock(lookup->mutex);
        wait = !lookup->done;
        lookup->waiting = wait ? &loop : nullptr;
    }
    if (wait)
        loop.exec();
    const std::lock_guard<std::mutex> lock(lookup->mutex);
    lookup->waiting = nullptr; // the loop goes; a late look-up wakes nobody
    if (!lookup->done)
        return std::nullopt;
    return lookup->addresses;
}

// The Host header as the address names it: the name, and the port when it is not the default.
QByteArray HostHeader(const QUrl& url) {
    QByteArray host;
    QHostAddress literal;
    if (literal.setAddress(url.host()))
        host = literal.protocol() == QAbstractSocket::IPv6Protocol
                   ? '[' + url.host().toLatin1() + ']'
                   : url.host().toLatin1();
    else
        host = QUrl::toAce(url.host());
    if (url.port() != -1)
        host += ':' + QByteArray::number(url.port());
    return host;
}

// Failures that happen before the server said anything: the next address may do better.
bool TryNextAddress(QNetworkReply::NetworkError e) {
    switch (e) {
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::UnknownNetworkError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError: return true;
    default: return false;
    }
}

enum class Attempt { Done, Failed, TryNext };

// What one download asks besides the address.
struct FetchOptions {
    qint64 maxBytes = MaxDownloadBytes;
    QList<std::pair<QByteArray, QByteArray>> headers;
    std::function<void(qint64, qint64)> progress;
    std::function<bool()> cancelled;
};

using Outcome = DownloadResult::Outcome;

Attempt Fetch(QNetworkAccessManager& manager, const QUrl& address, const QHostAddress& ip,
              QIODevice& local, const FetchOptions& options, const QDeadlineTimer& deadline,
              DownloadResult& result) {
    QUrl target = address;
    if (!ip.isNull()) // null: a proxy looks the name up
        target.setHost(ip.toString());
    QNetworkRequest request(target);
    // Only fixed bytes leave the machine: nothing that tells who the user is.
    request.setRawHeader("Host", HostHeader(address));
    request.setRawHeader("User-Agent", "Bramasolovanti/" + StringaVersione().toLatin1());
    request.setRawHeader("Accept-Language", "it");
    for (const auto& [name, value] : options.headers)
        request.setRawHeader(name, value);
    request.setPeerVerifyName(address.host());
    if (const QList<QSslCertificate> extra = testing::TrustedCertificates::Get();
        !extra.isEmpty()) {
        QSslConfiguration ssl = request.sslConfiguration();
        ssl.addCaCertificates(extra);
        request.setSslConfiguration(ssl);
    }
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::AuthenticationReuseAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);

    if (!local.seek(0))
        return Attempt::Failed;
    if (auto* file = qobject_cast<QFileDevice*>(&local); file && !file->resize(0))
        return Attempt::Failed;
    if (auto* buffer = qobject_cast<QBuffer*>(&local))
        buffer->buffer().clear();

    std::unique_ptr<QNetworkReply> reply(manager.get(request));
    qint64 received = 0;
    bool writeFailed = false;
    std::optional<Outcome> stopped; // why the download was stopped on this side

    // Whatever arrived counts towards the limit.
    const auto take = [&] {
        const QByteArray chunk = reply->readAll();
        received += chunk.size();
        if (received > options.maxBytes) {
            stopped = Outcome::TooBig;
            reply->abort();
            return;
        }
        if (local.write(chunk) != chunk.size()) {
            writeFailed = true;
            reply->abort();
            return;
        }
        // Told with every piece: Qt's own progress signal holds back the first ones.
        if (options.progress && !chunk.isEmpty()) {
            const qint64 total = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
            options.progress(received, total > 0 ? total : -1);
        }
    };
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, take);
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer); // a coarse timer may fire 5% late
    // Aborted, the reply ends with an error and the attempt fails.
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        stopped = Outcome::Timeout;
        reply->abort();
    });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (options.cancelled()) {
            stopped = Outcome::Cancelled;
            reply->abort();
        }
    });
    if (!reply->isFinished()) {
        timer.start(deadline.remainingTime());
        if (options.cancelled)
            poll.start(20);
        loop.exec();
    }
    timer.stop();
    poll.stop();
    if (!reply->isFinished()) {
        // Should not happen: abort() finishes the reply at once.
        reply->abort();
        return Attempt::Failed;
    }
    if (!stopped && !writeFailed) // the last piece, if any
        take();
    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    result.lastModified = reply->rawHeader("Last-Modified");
    result.etag = reply->rawHeader("ETag");
    result.outcome = Outcome::Failed;
    if (stopped)
        result.outcome = *stopped;
    if (stopped || writeFailed)
        return Attempt::Failed;
    const QNetworkReply::NetworkError error = reply->error();
    if (result.status == 304) {
        result.outcome = Outcome::NotModified;
        return Attempt::Done;
    }
    if (result.status != 0 && (result.status < 200 || result.status > 299)) {
        result.outcome = Outcome::HttpStatus;
        return Attempt::Failed;
    }
    if (error != QNetworkReply::NoError) {
        // A certificate not accepted ends the handshake with this error.
        if (error == QNetworkReply::SslHandshakeFailedError)
            result.outcome = Outcome::Certificate;
        else if (error < QNetworkReply::ContentAccessDenied) // no connection, or a proxy's
            result.outcome = Outcome::NoNetwork;
        return received == 0 && TryNextAddress(error) ? Attempt::TryNext : Attempt::Failed;
    }
    if (result.status == 0)
        return Attempt::Failed;
    if (auto* file = qobject_cast<QFileDevice*>(&local); file && !file->flush())
        return Attempt::Failed;
    result.outcome = Outcome::Downloaded;
    return Attempt::Done;
}

// The address, asked through the system's proxy or straight at each of the
// server's addresses in turn.
void Get(const QUrl& url, QIODevice& local, const FetchOptions& options,
         const HostResolver& resolver, const QDeadlineTimer& deadline, DownloadResult& result) {
    QNetworkAccessManager manager;
#if BRAMA_SYSTEM_PROXY
    // The proxy the desktop sets for this address (http_proxy, no_proxy...),
    // asked with the name: the proxy then looks it up itself.
    const QNetworkProxy proxy =
        QNetworkProxyFactory::systemProxyForQuery(QNetworkProxyQuery(url)).value(0);
    if (proxy.type() != QNetworkProxy::NoProxy && proxy.type() != QNetworkProxy::DefaultProxy) {
        manager.setProxy(proxy);
        Fetch(manager, url, QHostAddress(), local, options, deadline, result);
        return;
    }
#endif
    // Straight to the server.
    manager.setProxy(QNetworkProxy::NoProxy);
    const std::optional<QList<QHostAddress>> addresses = Resolve(url.host(), resolver, deadline);
    result.outcome = !addresses ? Outcome::Timeout : Outcome::NoNetwork;
    if (!addresses || addresses->isEmpty())
        return;
    for (const QHostAddress& ip : *addresses) {
        if (deadline.hasExpired()) {
            result.outcome = Outcome::Timeout;
            return;
        }
        if (Fetch(manager, url, ip, local, options, deadline, result) != Attempt::TryNext)
            return;
    }
}

} // namespace

bool DownloadFile(const QString& address, QFileDevice& local) {
    const CheckTarget target = CheckTarget::Current();
    const QDeadlineTimer deadline(target.deadlineMs);

    const QUrl url(address, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        ReportError(MakeError(err::InvalidCall), QStringLiteral("DownloadFile"),
                    QStringLiteral("Modulo corpo"));
        return false;
    }
    if (!local.isOpen() || !local.isWritable()) {
        ReportError(MakeError(err::BadFileName), QStringLiteral("DownloadFile"),
                    QStringLiteral("Modulo corpo"));
        return false;
    }
    FetchOptions options; // always from the network: Qt asks for no cached copy
    DownloadResult result;
    Get(url, local, options, target.resolver, deadline, result);
    return result.outcome == Outcome::Downloaded;
}

DownloadResult Download(const DownloadRequest& request) {
    const QDeadlineTimer deadline(request.deadlineMs);
    DownloadResult result;
    const QUrl url(request.address, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() ||
        url.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) != 0) {
        result.outcome = Outcome::BadAddress;
        return result;
    }
    FetchOptions options;
    options.maxBytes = request.maxBytes;
    options.progress = request.progress;
    options.cancelled = request.cancelled;
    if (!request.ifModifiedSince.isEmpty())
        options.headers.append(
            std::pair<QByteArray, QByteArray>("If-Modified-Since", request.ifModifiedSince));
    if (!request.ifNoneMatch.isEmpty())
        options.headers.append(
            std::pair<QByteArray, QByteArray>("If-None-Match", request.ifNoneMatch));
    QBuffer body(&result.body);
    body.open(QIODevice::WriteOnly);
    Get(url, body, options, &SystemResolve, deadline, result);
    body.close();
    if (result.outcome != Outcome::Downloaded)
        result.body.clear();
    return result;
}

QString TempFolder() {
    const QString path = QDir::tempPath();
    if (!QFileInfo(path).isDir())
        return QString();
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

} // namespace corpo
