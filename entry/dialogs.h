// The standard dialogs of the main window and the colour picker; tests may
// answer the file dialog without showing anything.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

class QWidget;

namespace corpo {

struct FileDialogRequest {
    bool save = false;     // save dialog (overwrite prompt) or open dialog (file must exist)
    QString folder;        // initial folder
    QString filter;        // "Sistemi Bramasolovanti (*.vrl)"
    QString defaultSuffix; // "vrl" for Save
};

// The chosen full path, or empty when the user cancelled.
QString AskFileName(QWidget* parent, const FileDialogRequest& request);

// The colour chosen in the standard colour dialog, starting from initial
// (0x00BBGGRR); nothing when the user cancelled.
std::optional<int32_t> AskColour(QWidget* parent, int32_t initial);

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
