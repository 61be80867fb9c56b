#include "entry/dialogs.h"

#include "app/convert.h"
#include "gioco/numbers.h"

#include <QColorDialog>

namespace corpo {

std::optional<int32_t> AskColour(QWidget* parent, int32_t initial) {
    QColorDialog dialog(ToQColor(initial), parent);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    dialog.setWindowTitle(QStringLiteral("Colore"));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return FromQColor(dialog.selectedColor());
}

} // namespace corpo
