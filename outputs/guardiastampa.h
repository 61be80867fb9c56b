// One print run at a time per window. A print button pressed while its run
// goes on, pressed while the run kept the window busy (the press waits in the
// event queue until the run ends), or pressed twice as a double click, starts
// one run only.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

class QAbstractButton;
class QWidget;

namespace corpo {

class GuardiaStampa : public QObject {
public:
    // window is disabled for the whole run.
    explicit GuardiaStampa(QWidget* window);

    // Eats the second press of a double click on button.
    void proteggi(QAbstractButton* button);

    // Runs run unless a run is going; false when the press started nothing.
    bool esegui(const std::function<void()>& run);
    bool inCorso() const { return inCorso_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> window_;
    bool inCorso_ = false;
};

} // namespace corpo
