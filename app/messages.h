// Every message box, input box and beep of the program goes through here, so
// that tests can answer them and read what the user would have seen.
#pragma once

#include "app/runerror.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace corpo {

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
// PrintAnywayCancel: "Stampa comunque" (Yes) and "Annulla" (Cancel, the default).
enum class MsgButtons { Ok, YesNo, YesNoCancel, PrintAnywayCancel };
enum class MsgResult { Ok, Yes, No, Cancel };

// A message box with the given buttons, icon and title, over the active window.
MsgResult MsgBox(const QString& prompt, MsgButtons buttons, MsgIcon icon, const QString& title);

// An input box; an empty string when the user cancels or leaves it empty.
QString InputBox(const QString& prompt, const QString& title, const QString& defaultText);

// The desktop's beep.
void Beep();

// The standard report of a trapped run-time failure:
// "Errore N (cause) nella procedura P (<owner>)", OK only, the program's title.
// The number and the procedure are for support; the cause is for the user.
// owner is "Modulo corpo" or "Form frmX".
void ReportError(const RunError& error, const QString& procedure, const QString& owner);
QString ReportText(const RunError& error, const QString& procedure, const QString& owner);

// What the message layer showed; tests install a Script to answer and read it.
struct Shown {
    enum Kind { Message, Input, Beep } kind = Message;
    QString text;
    QString title;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
    QString defaultText; // input boxes only
    QString focusAtShow; // objectName of the focused widget when shown
};

namespace testing {

// While alive, answers every message and input box without showing anything.
// Message boxes are answered from the queued answers (then Ok for OK boxes,
// Yes for Yes/No and print-anyway boxes and No for Yes/No/Cancel boxes, which
// goes on without opening any further dialog); input boxes from the queued inputs (then cancel).
class Script {
public:
    Script();
    ~Script();
    Script(const Script&) = delete;
    Script& operator=(const Script&) = delete;

    void queueAnswer(MsgResult r);
    void queueInput(std::optional<QString> text); // nullopt = Cancel
    // Called after a message box (not an input box) is recorded, before it is
    // answered (e.g. to look at the window underneath).
    std::function<void(const Shown&)> onShown;

    QList<Shown> shown;
    QList<Shown> messages() const; // without beeps
    int beeps() const;
    void clear() { shown.clear(); }

private:
    friend MsgResult corpo::MsgBox(const QString&, MsgButtons, MsgIcon, const QString&);
    friend QString corpo::InputBox(const QString&, const QString&, const QString&);
    friend void corpo::Beep();
    QList<MsgResult> answers_;
    QList<std::optional<QString>> inputs_;
    Script* previous_ = nullptr;
};

} // namespace testing
} // namespace corpo
