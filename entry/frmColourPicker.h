// The colour picker of the bunch and of the head number: every choice is
// previewed on the main window at once; only cmdSalva stores it.
#pragma once

#include <QDialog>
#include <QImage>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class QLabel;

namespace Ui {
class frmColourPicker;
}

namespace corpo {

// Our palette pictures: hues across, from white through the full colour to
// black downwards; and a grey ramp.
QImage PaletteImage();
QImage GreyRampImage();

class frmColourPicker : public QDialog {
    Q_OBJECT
public:
    // Edits `colore`, showing every choice at once through `anteprima`; a
    // saved choice is ColoreScelto once the window is accepted.
    frmColourPicker(QWidget* parent, int32_t colore, std::function<void(int32_t)> anteprima);
    ~frmColourPicker() override;

    int32_t ColoreScelto = 0;

    // The colour of a palette element's pixel, -1 outside the picture.
    int32_t PaletteColour(int index, const QPointF& pos) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void preview();
    void cmdGeneraColore_Click();
    void cmdGetColour_Click();
    void cmdSalva_Click();

    std::unique_ptr<Ui::frmColourPicker> ui;
    std::function<void(int32_t)> anteprima_;
    std::array<QLabel*, 2> palette_{};
    std::array<QImage, 2> images_;
};

} // namespace corpo
