#include "entry/frmColourPicker.h"

#include "ui_frmColourPicker.h"

#include "app/art.h"
#include "app/convert.h"
#include "app/corpo.h"
#include "entry/dialogs.h"
#include "gioco/numbers.h"

#include <QMouseEvent>
#include <cmath>

namespace corpo {

QImage PaletteImage() {
    QImage img(256, 128, QImage::Format_RGB32);
    for (int x = 0; x < img.width(); ++x) {
        const int hue = x * 359 / (img.width() - 1);
        for (int y = 0; y < img.height(); ++y) {
            // Top row white, middle row the pure hue, bottom row black.
            const int lightness = 255 - y * 255 / (img.height() - 1);
            img.setPixelColor(x, y, QColor::fromHsl(hue, 255, lightness));
        }
    }
    return img;
}

QImage GreyRampImage() {
    QImage img(256, 16, QImage::Format_RGB32);
    for (int x = 0; x < img.width(); ++x)
        for (int y = 0; y < img.height(); ++y)
            img.setPixelColor(x, y, QColor(x, x, x));
    return img;
}

frmColourPicker::frmColourPicker(QWidget* parent, int32_t colore,
                                 std::function<void(int32_t)> anteprima)
    : QDialog(parent), ColoreScelto(colore), ui(std::make_unique<Ui::frmColourPicker>()),
      anteprima_(std::move(anteprima)) {
    ui->setupUi(this);
    setObjectName(QStringLiteral("frmColourPicker"));
    setFixedSize(size());
    palette_ = {ui->Col_Palette_0, ui->Col_Palette_1};
    images_ = {PaletteImage(), GreyRampImage()};
    for (size_t i = 0; i < palette_.size(); ++i) {
        palette_[i]->setPixmap(QPixmap::fromImage(images_[i]));
        palette_[i]->installEventFilter(this);
    }
    ui->cmdSalva->setIcon(QIcon(RenderArt(QStringLiteral(":/entry/applica.svg"), QSize(64, 64))));

    connect(ui->cmdGeneraColore, &QPushButton::clicked, this,
            &frmColourPicker::cmdGeneraColore_Click);
    connect(ui->cmdGetColour, &QPushButton::clicked, this, &frmColourPicker::cmdGetColour_Click);
    connect(ui->cmdSalva, &QPushButton::clicked, this, &frmColourPicker::cmdSalva_Click);

    QPalette pal = ui->picColore->palette();
    pal.setColor(QPalette::Window, ToQColor(ColoreScelto));
    ui->picColore->setPalette(pal);
}

frmColourPicker::~frmColourPicker() = default;

int32_t frmColourPicker::PaletteColour(int index, const QPointF& pos) const {
    const QImage& img = images_[size_t(index)];
    const int x = ArrotondaPari(pos.x());
    const int y = ArrotondaPari(pos.y());
    if (x < 0 || y < 0 || x >= img.width() || y >= img.height())
        return -1;
    return FromQColor(img.pixelColor(x, y));
}

void frmColourPicker::preview() {
    QPalette pal = ui->picColore->palette();
    pal.setColor(QPalette::Window, ToQColor(ColoreScelto));
    ui->picColore->setPalette(pal);
    if (anteprima_)
        anteprima_(ColoreScelto);
}

bool frmColourPicker::eventFilter(QObject* watched, QEvent* event) {
    const int index = watched == palette_[0] ? 0 : watched == palette_[1] ? 1 : -1;
    if (index >= 0 &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseMove)) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const bool left = event->type() == QEvent::MouseButtonPress
                              ? mouse->button() == Qt::LeftButton
                              : bool(mouse->buttons() & Qt::LeftButton);
        if (left) {
            const int32_t colour = PaletteColour(index, mouse->position());
            if (colour != -1) {
                ColoreScelto = colour;
                preview();
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmColourPicker::cmdGeneraColore_Click() {
    ColoreScelto = RandomColour(Rnd());
    preview();
}

void frmColourPicker::cmdGetColour_Click() {
    const std::optional<int32_t> chosen = AskColour(this, ColoreScelto);
    if (!chosen)
        return;
    ColoreScelto = *chosen;
    preview();
}

void frmColourPicker::cmdSalva_Click() { accept(); }

} // namespace corpo
