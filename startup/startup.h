// The start-up routine, the single instance and the shutdown.
#pragma once

#include <QString>
#include <functional>

class QApplication;
class QLocale;
class QObject;
class QWidget;

namespace corpo {

class frmMain;

// The socket on which the running copy listens for later ones: in
// XDG_RUNTIME_DIR (else a private folder of the user), one per user and
// display, so two sessions of one user never reach each other.
QString InstanceName();

// When a copy already runs, asks it to bring its main window to the front
// (and to open systemFile, when given) and returns true: this copy must then
// end. False when no copy answered.
bool ActivatePrevInstance(const QString& systemFile = {});

// Starts answering later copies: each one brings window() to the front,
// restored when minimised, and hands over its file to open(). A client that
// sends anything but one message, or nothing for 2 s, is dropped, and only a
// few are served at once. Returns false when the name could not be taken;
// the name is taken again whenever the server has closed. The server lives
// as long as `owner`.
bool ListenForOtherCopies(QObject* owner, std::function<QWidget*()> window,
                          std::function<void(const QString&)> open = {});

// What the start-up sequence may be given instead of the real thing (tests and
// the start-up benchmark).
struct StartupOptions {
    std::function<void()> versionCheck; // empty: the real check
    float pauseMs = 1000;
    std::function<void(QWidget*)> onMainShown; // after the main window is shown
    QString systemFile; // opened once the main window shows, or handed to the running copy
};

// The start-up in its order, inside a running QApplication: edition, single
// instance, application folder, splash, version check, main window loaded
// hidden, pause, splash closed, main window shown. Returns the main window, or
// nullptr when another copy was brought to the front (the caller exits with 0).
QWidget* StartUp(const StartupOptions& options = {});

// Loads Qt's own texts (dialogs, context menus, standard buttons) in the
// locale's language. False when no translation is installed for it.
bool InstallQtTranslations(const QLocale& locale);

// The program: command line, QApplication, StartUp, event loop.
int Main(int argc, char** argv);

} // namespace corpo
