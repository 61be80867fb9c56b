#include "app/messages.h"

#include "app/corpo.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

namespace corpo {

namespace {
testing::Script* activeScript = nullptr;

QString focusName() {
    QWidget* w = QApplication::focusWidget();
    return w ? w->objectName() : QString();
}

QWidget* parentWindow() {
    if (QWidget* w = QApplication::activeModalWidget())
        return w;
    return QApplication::activeWindow();
}
} // namespace

MsgResult MsgBox(const QString& prompt, MsgButtons buttons, MsgIcon icon, const QString& title) {
    if (activeScript) {
        Shown s;
        s.kind = Shown::Message;
        s.text = prompt;
        s.title = title;
        s.icon = icon;
        s.buttons = buttons;
        s.focusAtShow = focusName();
        activeScript->shown.append(s);
        if (activeScript->onShown)
            activeScript->onShown(s);
        if (!activeScript->answers_.isEmpty())
            return activeScript->answers_.takeFirst();
        switch (buttons) {
        case MsgButtons::YesNo:
        case MsgButtons::PrintAnywayCancel: return MsgResult::Yes;
        case MsgButtons::YesNoCancel: return MsgResult::No;
        case MsgButtons::Ok: break;
        }
        return MsgResult::Ok;
    }
    QMessageBox box(parentWindow());
    box.setWindowTitle(title);
    box.setText(prompt);
    switch (icon) {
    case MsgIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MsgIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    }
    if (buttons == MsgButtons::PrintAnywayCancel) {
        QPushButton* anyway =
            box.addButton(QStringLiteral("&Stampa comunque"), QMessageBox::AcceptRole);
        QPushButton* cancel = box.addButton(QStringLiteral("&Annulla"), QMessageBox::RejectRole);
        box.setDefaultButton(cancel); // Esc: the lone RejectRole button, by itself
        box.exec();
        return box.clickedButton() == anyway ? MsgResult::Yes : MsgResult::Cancel;
    }
    if (buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel) {
        const bool cancel = buttons == MsgButtons::YesNoCancel;
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No |
                               (cancel ? QMessageBox::Cancel : QMessageBox::NoButton));
        box.button(QMessageBox::Yes)->setText(QStringLiteral("&Sì")); // "&No" is Qt's own
        if (cancel)
            box.button(QMessageBox::Cancel)->setText(QStringLiteral("&Annulla"));
        box.setDefaultButton(QMessageBox::Yes); // whatever order the desktop puts them in
        switch (box.exec()) {
        case QMessageBox::Yes: return MsgResult::Yes;
        case QMessageBox::No: return MsgResult::No;
        default: return cancel ? MsgResult::Cancel : MsgResult::No;
        }
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MsgResult::Ok;
}

QString InputBox(const QString& prompt, const QString& title, const QString& defaultText) {
    if (activeScript) {
        Shown s;
        s.kind = Shown::Input;
        s.text = prompt;
        s.title = title;
        s.defaultText = defaultText;
        s.focusAtShow = focusName();
        activeScript->shown.append(s);
        if (!activeScript->inputs_.isEmpty()) {
            std::optional<QString> a = activeScript->inputs_.takeFirst();
            return a ? *a : QString();
        }
        return QString();
    }
    QInputDialog dlg(parentWindow());
    dlg.setWindowTitle(title);
    dlg.setLabelText(prompt);
    dlg.setTextValue(defaultText);
    dlg.setCancelButtonText(QStringLiteral("Annulla"));
    if (dlg.exec() != QDialog::Accepted)
        return QString();
    return dlg.textValue();
}

void Beep() {
    if (activeScript) {
        Shown s;
        s.kind = Shown::Beep;
        s.focusAtShow = focusName();
        activeScript->shown.append(s);
        return;
    }
    QApplication::beep();
}

QString ReportText(const RunError& error, const QString& procedure, const QString& owner) {
    return QStringLiteral("Errore %1 (%2) nella procedura %3 (%4)")
        .arg(error.number)
        .arg(error.description, procedure, owner);
}

void ReportError(const RunError& error, const QString& procedure, const QString& owner) {
    MsgBox(ReportText(error, procedure, owner), MsgButtons::Ok, MsgIcon::None, TitoloProgramma);
}

namespace testing {

Script::Script() : previous_(activeScript) { activeScript = this; }
Script::~Script() { activeScript = previous_; }
void Script::queueAnswer(MsgResult r) { answers_.append(r); }
void Script::queueInput(std::optional<QString> text) { inputs_.append(std::move(text)); }

QList<Shown> Script::messages() const {
    QList<Shown> out;
    for (const Shown& s : shown)
        if (s.kind != Shown::Beep)
            out.append(s);
    return out;
}

int Script::beeps() const {
    int n = 0;
    for (const Shown& s : shown)
        n += s.kind == Shown::Beep;
    return n;
}

} // namespace testing
} // namespace corpo
