#include "entry/dialogs.h"

#include "entry/numbers.h"

#include <QColorDialog>
#include <QFileDialog>

namespace corpo {

namespace {
std::function<QString(QWidget*, const FileDialogRequest&)> fileAnswer;
} // namespace

QString AskFileName(QWidget* parent, const FileDialogRequest& request) {
    if (fileAnswer)
        return fileAnswer(parent, request);
    QFileDialog dialog(parent);
    // Qt's own dialog: the same look and behaviour on every desktop.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setWindowTitle(request.save ? QStringLiteral("Salva Sistema")
                                       : QStringLiteral("Apri Sistema"));
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDirectory(request.folder);
    dialog.setNameFilter(request.filter);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.selectFile(QString());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

std::optional<int32_t> AskColour(QWidget* parent, int32_t initial) {
    QColorDialog dialog(ToQColor(initial), parent);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    dialog.setWindowTitle(QStringLiteral("Colore"));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return FromQColor(dialog.selectedColor());
}

namespace testing {
FileDialogScope::FileDialogScope(Answer answer) : previous_(std::move(fileAnswer)) {
    fileAnswer = std::move(answer);
}
FileDialogScope::~FileDialogScope() { fileAnswer = std::move(previous_); }
} // namespace testing

} // namespace corpo
