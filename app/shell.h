// Small services of the application shell: the application folder, the wait
// that keeps the windows alive, closing every other window, and the fonts.
#pragma once

#include <QString>
#include <functional>

namespace corpo {

// The folder of the program with exactly one trailing "/".
QString AppFolder();
// The same rule applied to a given folder (trimmed of spaces; "/" stays "/").
QString AppFolderOf(const QString& folder);

// Seconds since midnight, as the program's timer reads them.
float Timer();

// Waits the given milliseconds while the windows process their events. The
// clock and the sleep can be replaced (tests cross midnight without waiting).
void Pause(float milliseconds);
void Pause(float milliseconds, const std::function<float()>& timer,
           const std::function<void(int)>& sleepMs);

// Closes every top-level window whose objectName differs from keep.
void UnloadAllForms(const QString& keep);

// Makes the Windows font names the windows and papers ask for resolve to
// their metric-compatible free fonts, whatever fontconfig would pick.
void InstallFontSubstitutions();

} // namespace corpo
