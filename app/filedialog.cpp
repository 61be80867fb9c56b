#include "app/filedialog.h"

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
    dialog.setObjectName(request.objectName);
    dialog.setWindowTitle(request.title);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDirectory(request.folder);
    dialog.setNameFilter(request.filter);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

namespace testing {
FileDialogScope::FileDialogScope(Answer answer) : previous_(std::move(fileAnswer)) {
    fileAnswer = std::move(answer);
}
FileDialogScope::~FileDialogScope() { fileAnswer = std::move(previous_); }
} // namespace testing

} // namespace corpo
