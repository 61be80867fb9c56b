// Fetching one file over HTTP: a small one for the version check, the draw
// archive for its update.
#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QSslCertificate>
#include <QString>
#include <functional>

class QFileDevice;

namespace corpo {

// Turns a host name into addresses. It may block for a long time: it runs
// on a thread of its own that nobody waits for.
using HostResolver = std::function<QList<QHostAddress>(const QString& host)>;

// The system's resolver (getaddrinfo), addresses in its preferred order.
QList<QHostAddress> SystemResolve(const QString& host);

// The largest reply the check accepts, once decompressed.
inline constexpr qint64 MaxDownloadBytes = 65536;
// From name look-up to the last byte.
inline constexpr int DownloadDeadlineMs = 3000;

// Downloads address into local, an open, empty file written only through
// this handle. Only a 2xx reply that arrives whole within the deadline
// counts; anything else leaves local with no meaning and returns false.
// Every cache on the way is asked for a fresh copy.
// Waits in a local event loop, so the windows stay alive meanwhile.
bool DownloadFile(const QString& address, QFileDevice& local);

// A download the player waits for and may stop, "only if changed".
struct DownloadRequest {
    QString address;
    qint64 maxBytes = 0; // past it the download stops
    int deadlineMs = 0;  // from name look-up to the last byte
    // From an earlier download's reply; empty when there was none.
    QByteArray ifModifiedSince, ifNoneMatch;
    // After each piece; total is -1 when the server does not say.
    std::function<void(qint64 received, qint64 total)> progress;
    std::function<bool()> cancelled; // asked every few milliseconds
};
struct DownloadResult {
    enum class Outcome {
        Downloaded,
        NotModified, // 304: what was downloaded before is still current
        BadAddress,
        NoNetwork,
        Timeout,
        Cancelled,
        TooBig,
        Certificate, // the server's certificate was refused
        HttpStatus,  // any status but 2xx and 304
        Failed,
    };
    Outcome outcome = Outcome::Failed;
    int status = 0;
    QByteArray body, lastModified, etag;
};
// Waits in a local event loop, so the windows stay alive meanwhile.
DownloadResult Download(const DownloadRequest& request);

// The user's temporary folder with a trailing "/", or empty when that folder
// does not exist.
QString TempFolder();

// What the check asks and how long it waits (the maker's site unless a test says otherwise).
struct CheckTarget {
    QString baseAddress;
    int deadlineMs;
    HostResolver resolver;
    static CheckTarget Current();
};

namespace testing {

// While alive, the version check asks baseAddress (instead of the maker's)
// with the given deadline, and looks names up through resolver when given.
class VersionServerScope {
public:
    VersionServerScope(const QString& baseAddress, int deadlineMs, HostResolver resolver = {});
    ~VersionServerScope();
    VersionServerScope(const VersionServerScope&) = delete;
    VersionServerScope& operator=(const VersionServerScope&) = delete;

private:
    VersionServerScope* previous_;
    QString base_;
    int deadlineMs_;
    HostResolver resolver_;
    friend struct corpo::CheckTarget;
};

// While alive, HTTPS downloads also trust these certificates (a test
// server's own); every certificate is still checked.
class TrustScope {
public:
    explicit TrustScope(QList<QSslCertificate> certificates);
    ~TrustScope();
    TrustScope(const TrustScope&) = delete;
    TrustScope& operator=(const TrustScope&) = delete;

private:
    TrustScope* previous_;
    QList<QSslCertificate> certificates_;
    friend struct TrustedCertificates;
};

} // namespace testing

} // namespace corpo
