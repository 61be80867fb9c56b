#pragma once
class QWidget;
namespace corpo {
// Shows the slip window without blocking; it enables mainWindow again when it closes.
void MostraStampaSchedine(QWidget* mainWindow);
}
