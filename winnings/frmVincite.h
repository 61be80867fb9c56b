#pragma once
class QWidget;
namespace corpo {
// Opens the winnings prospect, modal over parent, for the record's current stakes.
void MostraVincite(QWidget* parent);
}
