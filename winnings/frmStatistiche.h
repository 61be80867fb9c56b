// The statistics window: each grape's delay, longest delay and frequency on
// one wheel from a chosen date, in a table and a chart; each bet's ambo and
// terno delay; and what the archive's self-check found.
#pragma once

#include "gioco/controlloarchivio.h"
#include "gioco/sistema.h"
#include "gioco/statistiche.h"
#include "gioco/verifica.h"

#include <QDialog>

class QComboBox;
class QDateEdit;
class QLabel;
class QListWidget;
class QTableWidget;

class QBarSeries;
class QBarCategoryAxis;
class QValueAxis;

namespace corpo {

// Reads the stored archive and opens the window, modal over parent, on record.
void ApriStatistiche(QWidget* parent, const SystemRecord& record);

class frmStatistiche : public QDialog {
    Q_OBJECT

public:
    frmStatistiche(const SystemRecord& record, Archivio archivio, QWidget* parent = nullptr);

    // Counts again for the wheel and the date the window shows.
    void Aggiorna();

private:
    void MostraControllo();

    SystemRecord record_;
    Archivio archivio_;
    QComboBox* ruota_;
    QDateEdit* dal_;
    QLabel* riepilogo_;
    QTableWidget* numeri_;
    QTableWidget* scommesse_;
    QBarSeries* barre_;
    QBarCategoryAxis* assi_;
    QValueAxis* valori_;
    QLabel* titoloControllo_;
    QListWidget* controllo_;
};

} // namespace corpo
