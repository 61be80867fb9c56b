// File access shared by every file the program reads or writes: bounded
// reads, writes that never leave a half-written file, the 8-bit code page of
// the text files, and the failures of the file system as the user is shown them.
#pragma once

#include "gioco/codepage.h"

#include "app/runerror.h"

#include <QByteArray>
#include <QSaveFile>
#include <QString>
#include <future>
#include <optional>

class QFileDevice;

namespace corpo {

RunError FileError(const QFileDevice& file); // from a failed open/read/write
RunError ErrnoError(int e);                  // from errno after a failed system call
// From a failed open of path, for reading or for writing it.
RunError FileOpenError(const QString& path, const QFileDevice& file, bool writing = false);

// Reads a whole file of at most maxBytes. A missing or unreadable file is an
// error, and so is anything that is no regular file (a folder, a pipe, a
// device) or that holds more than maxBytes: error 75, with the cause. It never
// waits: what is judged is what was opened, not what the path named before.
std::optional<QByteArray> ReadSmallFile(const QString& path, qint64 maxBytes, RunError* error);

// Writes a whole file through a temporary file in the same folder that is
// renamed over the target only once everything is written: on any failure the
// earlier file stays as it was. Complete temporary copies of the same target,
// left by a run killed while renaming, go first. Returns false and fills error
// on failure.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes, RunError* error);

// The same write, done on a thread of its own while the caller goes on, for a
// big file still being checked: the bytes are written and synced to a
// temporary copy at once, and only Commit puts them in place. Dropped without
// Commit, it leaves the target as it was.
class BackgroundWrite {
public:
    BackgroundWrite(const QString& path, QByteArray bytes);
    ~BackgroundWrite();
    BackgroundWrite(const BackgroundWrite&) = delete;
    BackgroundWrite& operator=(const BackgroundWrite&) = delete;
    bool Commit(RunError* error);

private:
    QSaveFile file_;
    QByteArray bytes_;
    RunError error_;
    std::future<bool> written_;
};

} // namespace corpo
