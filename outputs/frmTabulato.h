#pragma once
class QWidget;
namespace corpo {
// Opens the listing window, modal over parent.
void MostraTabulato(QWidget* parent);
}
