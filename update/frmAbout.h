#pragma once
class QWidget;
namespace corpo {
// Opens the About window, modal over parent.
void MostraAbout(QWidget* parent);
}
