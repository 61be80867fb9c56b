#include "app/fileio.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QScopeGuard>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <span>
#include <sys/stat.h>
#include <unistd.h>

namespace corpo {

RunError ErrnoError(int e) {
    switch (e) {
    case ENOSPC:
    case EFBIG:
    case EDQUOT: return MakeError(err::DiskFull);
    case EACCES:
    case EPERM:
    case EROFS: return MakeError(err::PermissionDenied);
    case ENOENT:
    case ENOTDIR: return MakeError(err::PathNotFound);
    case ENAMETOOLONG: return MakeError(Cause::NameTooLong);
    case ELOOP: return MakeError(Cause::LinkLoop);
    case EISDIR: return MakeError(Cause::IsFolder);
    case EIO: return MakeError(err::DeviceIO);
    default: return MakeError(err::PathFileAccess);
    }
}

namespace {
// e is errno as the failed call left it: the most precise account of what the
// system refused.
RunError FromErrno(QFileDevice::FileError failed, int e) {
    const RunError byErrno = ErrnoError(e);
    switch (failed) {
    case QFileDevice::PermissionsError: return MakeError(err::PermissionDenied);
    case QFileDevice::ResizeError:
    case QFileDevice::WriteError: // a full disk or a refusal as such, else the device failed
        return byErrno.number == err::DiskFull || byErrno.number == err::PermissionDenied
                   ? byErrno
                   : MakeError(err::DeviceIO);
    case QFileDevice::ReadError: return MakeError(err::DeviceIO);
    default: break;
    }
    return byErrno;
}

bool mayWriteIn(const QByteArray& folder) { return ::access(folder.constData(), W_OK) == 0; }
} // namespace

RunError FileError(const QFileDevice& file) { return FromErrno(file.error(), errno); }

RunError FileOpenError(const QString& path, const QFileDevice& file, bool writing) {
    const int e = errno;
    // The system is asked again about the path itself: a folder that may not
    // be entered or a loop of links is no missing file.
    const QByteArray native = QFile::encodeName(path);
    const QByteArray folder = QFile::encodeName(QFileInfo(path).path());
    struct stat st {};
    if (::stat(native.constData(), &st) != 0) {
        const int why = errno;
        if (why == EACCES)
            return MakeError(Cause::FolderDenied);
        if (why != ENOENT)
            return ErrnoError(why);
        struct stat parent {};
        if (::stat(folder.constData(), &parent) != 0 || !S_ISDIR(parent.st_mode))
            return MakeError(err::PathNotFound);
        if (!writing)
            return MakeError(err::FileNotFound);
    } else if (S_ISDIR(st.st_mode)) {
        return MakeError(Cause::IsFolder);
    } else if (!S_ISREG(st.st_mode)) {
        return MakeError(Cause::NotRegularFile);
    }
    // A file is saved by renaming a new one over it: its folder must take
    // new files, and an existing file must itself be writable.
    if (writing && !mayWriteIn(folder))
        return MakeError(Cause::FolderReadOnly);
    if (writing && ::access(native.constData(), F_OK) == 0 && !mayWriteIn(native))
        return MakeError(err::PermissionDenied);
    return FromErrno(file.error(), e);
}

std::optional<QByteArray> ReadSmallFile(const QString& path, qint64 maxBytes, RunError* error) {
    const auto fail = [error](const RunError& e) -> std::optional<QByteArray> {
        if (error)
            *error = e;
        return std::nullopt;
    };
    // Opened without waiting (a pipe would wait for a writer) and judged by
    // what was opened: the path may name something else by now.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        // Asked again about the path: a folder that may not be entered or a
        // loop of links is no missing file.
        const QFile unopened(path);
        return fail(FileOpenError(path, unopened));
    }
    const auto closeFd = qScopeGuard([fd] { ::close(fd); });
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return fail(MakeError(err::DeviceIO));
    // A folder, a pipe or a device is no file of ours, nor is a huge file.
    if (S_ISDIR(st.st_mode))
        return fail(MakeError(Cause::IsFolder));
    if (!S_ISREG(st.st_mode))
        return fail(MakeError(Cause::NotRegularFile));
    if (st.st_size > maxBytes)
        return fail(MakeError(Cause::TooLarge));
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    // One byte more than the file held shows that it grew since.
    QByteArray data(qsizetype(st.st_size) + 1, Qt::Uninitialized);
    qint64 got = 0;
    for (;;) {
        if (got == data.size()) {
            if (got > maxBytes)
                return fail(MakeError(Cause::TooLarge));
            data.resize(qsizetype(std::min(maxBytes + 1, got * 2)));
        }
        const std::span<char> rest =
            std::span(data.data(), size_t(data.size())).subspan(size_t(got));
        const ssize_t n = ::read(fd, rest.data(), rest.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return fail(FromErrno(QFileDevice::ReadError, errno));
        if (n == 0)
            break;
        got += n;
    }
    data.resize(qsizetype(got));
    return data;
}

namespace {
// QSaveFile names its temporary copy "<target>.XXXXXX" in the target's folder.
void removeStaleCopies(const QString& path) {
    const QFileInfo target(path);
    const QRegularExpression ours(
        QStringLiteral("^%1\\.[A-Za-z0-9]{6}$").arg(QRegularExpression::escape(target.fileName())));
    const QDir dir = target.dir();
    const QStringList names = dir.entryList({target.fileName() + QStringLiteral(".*")},
                                            QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QString& name : names)
        if (ours.match(name).hasMatch())
            QFile::remove(dir.filePath(name));
}
} // namespace

namespace {
// Opens the temporary copy of `path`, with what a failure means to the user.
bool openCopy(QSaveFile& f, const QString& path, RunError* error) {
    removeStaleCopies(path);
    // Never fall back to writing the target in place: a failure must leave it intact.
    f.setDirectWriteFallback(false);
    // Unbuffered: a failed write is seen by the write itself, not lost in a
    // flush that commit() does not check.
    if (f.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return true;
    if (error)
        *error = FileOpenError(path, f, true);
    return false;
}

bool writeCopy(QSaveFile& f, const QByteArray& bytes, RunError* error) {
    const qint64 written = f.write(bytes);
    if (written == bytes.size() && f.error() == QFileDevice::NoError)
        return true;
    // A short write the system did not call an error is a full disk.
    if (error)
        *error = f.error() == QFileDevice::NoError ? MakeError(err::DiskFull) : FileError(f);
    return false;
}

bool commitCopy(QSaveFile& f, RunError* error) {
    if (f.commit())
        return true;
    if (error)
        *error = FileError(f);
    return false;
}
} // namespace

bool WriteFileAtomically(const QString& path, const QByteArray& bytes, RunError* error) {
    QSaveFile f(path);
    if (!openCopy(f, path, error))
        return false;
    if (!writeCopy(f, bytes, error)) {
        f.cancelWriting();
        return false;
    }
    return commitCopy(f, error);
}

BackgroundWrite::BackgroundWrite(const QString& path, QByteArray bytes)
    : file_(path), bytes_(std::move(bytes)) {
    if (!openCopy(file_, path, &error_))
        return;
    written_ = std::async(std::launch::async, [this] {
        if (!writeCopy(file_, bytes_, &error_))
            return false;
        // Synced here, so that the commit's own sync finds nothing left to do.
        if (::fdatasync(file_.handle()) == 0)
            return true;
        error_ = ErrnoError(errno);
        return false;
    });
}

BackgroundWrite::~BackgroundWrite() {
    if (written_.valid())
        written_.wait();
    file_.cancelWriting(); // nothing once committed
}

bool BackgroundWrite::Commit(RunError* error) {
    const bool written = written_.valid() && written_.get();
    if (!written) {
        if (error)
            *error = error_;
        return false;
    }
    return commitCopy(file_, error);
}

} // namespace corpo
