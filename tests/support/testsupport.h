// What many tests need: a private application folder and the locale set in code.
#pragma once

#include "app/corpo.h"
#include "printing/recordedjob.h"

#include <QImage>
#include <QLocale>
#include <QScopeGuard>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

namespace testsupport {

// A fresh application folder for one test: the program's folder (BRAMA_PROGRAM_FOLDER) points at
// it, with the shipped files copied in when asked. Restores the earlier folder on exit.
class AppFolder {
public:
    explicit AppFolder(bool withShippedFiles = true);
    ~AppFolder();
    QString path() const; // with trailing "/"
    QString file(const QString& name) const { return path() + name; }
    void write(const QString& name, const QByteArray& bytes) const;
    QByteArray read(const QString& name) const;

private:
    QTemporaryDir dir_;
    QByteArray previous_;
};

inline QLocale italian() { return QLocale(QLocale::Italian, QLocale::Italy); }

// The current row's value in `column`, for a value the test reads once (as QFETCH).
template <class T> T Fetch(const char* column) {
    return *static_cast<T*>(QTest::qData(column, qMetaTypeId<T>()));
}

// Sets an environment variable until the returned guard goes.
inline auto SetEnv(const char* name, const QByteArray& value) {
    const bool had = qEnvironmentVariableIsSet(name);
    const QByteArray old = qgetenv(name);
    qputenv(name, value);
    return qScopeGuard([=] { had ? qputenv(name, old) : qunsetenv(name); });
}

// Lowers a resource's limit until the returned guard goes (a file size limit
// fails every write past it, as a full disk would).
inline auto Limit(int resource, rlim_t soft) {
    std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails, no more
    rlimit before{};
    getrlimit(resource, &before);
    const rlimit lower{soft, before.rlim_max};
    setrlimit(resource, &lower);
    return qScopeGuard([=] { setrlimit(resource, &before); });
}

// Closes the next modal window that opens, its name in *name, unless context is gone.
void CloseNextModal(QObject* context, QString* name);

// The built application folder (bin/ of the build), from the test's environment.
QString builtAppFolder();
// The source tree's root.
QString sourceFolder();

// The jobs' descriptions against the snapshot `path` (from the source tree's root), numbers within
// 0.01. With BRAMA_REGEN_GOLDEN set, the snapshot is written first. Each job is also drawn as on
// paper and compared with the picture beside the snapshot (<name>.png), pixel by pixel; a different
// one is saved beside the test program, to be looked at before the new one is committed.
void CheckGolden(const QString& path, const QList<corpo::RecordedJob>& jobs);
// One picture against the golden one at `path` (regenerated like the snapshots).
void CheckGoldenImage(const QString& path, const QImage& actual);
// The shown `window`'s title and size, then each named control, one line each in the order of the
// widget tree: class, name, place in the window, hidden/disabled/focus, colours set, accessible
// name, tooltip and what the user reads or set (texts, ticks, choices and their items, table
// headings and cells, dates and their calendar), against the text snapshot `path` (regenerated).
void CheckGoldenWindow(const QString& path, const QWidget* window);

} // namespace testsupport
