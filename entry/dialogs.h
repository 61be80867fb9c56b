// The standard dialogs of the main window and the colour picker.
#pragma once

#include "app/filedialog.h"

#include <QString>
#include <cstdint>
#include <optional>

class QWidget;

namespace corpo {

// The colour chosen in the standard colour dialog, starting from initial
// (0x00BBGGRR); nothing when the user cancelled.
std::optional<int32_t> AskColour(QWidget* parent, int32_t initial);

} // namespace corpo
