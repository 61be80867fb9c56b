// The start-up routine, the single instance and the shutdown.
#pragma once

#include <QString>
#include <functional>

class QApplication;
class QWidget;

namespace corpo {

class frmMain;

// The name under which the running copy listens for later ones (per user).
QString InstanceName();

// When a copy already runs, asks it to bring its main window to the front and
// returns true: this copy must then end. False when no copy answered.
bool ActivatePrevInstance();

// Starts answering later copies: each one brings window() to the front,
// restored when minimised. Returns false when the name could not be taken.
bool ListenForOtherCopies(std::function<QWidget*()> window);

// What the start-up sequence may be given instead of the real thing (tests and
// the start-up benchmark).
struct StartupOptions {
    std::function<void()> versionCheck; // empty: the real check
    float pauseMs = 1000;
    std::function<void(QWidget*)> onMainShown; // after the main window is shown
};

// The start-up in its order, inside a running QApplication: edition, single
// instance, application folder, splash, version check, main window loaded
// hidden, pause, splash closed, main window shown. Returns the main window, or
// nullptr when another copy was brought to the front (the caller exits with 0).
QWidget* Avvio(const StartupOptions& options = {});

// The program: QApplication, Avvio, event loop.
int Main(int argc, char** argv);

} // namespace corpo
