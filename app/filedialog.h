// The one file dialog of the program, for systems, PDF files and archives;
// tests may answer it without showing anything.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace corpo {

struct FileDialogRequest {
    bool save = false;     // save dialog (overwrite prompt) or open dialog (file must exist)
    QString title;         // "Salva Sistema"
    QString folder;        // initial folder
    QString filter;        // "Sistemi Bramasolovanti (*.vrl)"; several joined by ";;"
    QString defaultSuffix; // "vrl" for Save
    QString fileName;      // the name offered at first
    QString objectName;    // the dialog's name, for tests that find it on screen
};

// The chosen full path, or empty when the user cancelled.
QString AskFileName(QWidget* parent, const FileDialogRequest& request);

namespace testing {
// While alive, answers every file dialog instead of showing it.
class FileDialogScope {
public:
    using Answer = std::function<QString(QWidget*, const FileDialogRequest&)>;
    explicit FileDialogScope(Answer answer);
    ~FileDialogScope();
    FileDialogScope(const FileDialogScope&) = delete;
    FileDialogScope& operator=(const FileDialogScope&) = delete;

private:
    Answer previous_;
};
} // namespace testing

} // namespace corpo
