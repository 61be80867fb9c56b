// The statistics window: each grape's delay, longest delay and frequency on
// one wheel from a chosen date, in a table and a chart; each bet's ambo and
// terno delay; and what the archive's self-check found.
#pragma once

#include "gioco/controlloarchivio.h"
#include "gioco/sistema.h"
#include "gioco/statistiche.h"
#include "gioco/verifica.h"

#include <QDialog>
#include <optional>

class QComboBox;
class QDateEdit;
class QLabel;
class QListWidget;
class QTableWidget;

class QBarSeries;
class QBarCategoryAxis;
class QValueAxis;

namespace corpo {

// The counts the player asked to see on the bunch, and their wheel.
struct RitardiScelti {
    int ruota = 0;
    Statistiche statistiche;
};

// Reads the stored archive and opens the window, modal over parent, on record.
// The counts shown last when the player asks for them on the bunch.
std::optional<RitardiScelti> ApriStatistiche(QWidget* parent, const SystemRecord& record);

// Each grape field of `window` (named as the bets name them) tells its delay
// in its tooltip and to screen readers, until its number changes.
void MostraRitardiAcini(QWidget* window, const RitardiScelti& ritardi);

class frmStatistiche : public QDialog {
    Q_OBJECT

public:
    frmStatistiche(const SystemRecord& record, Archivio archivio, QWidget* parent = nullptr);

    // Counts again for the wheel and the date the window shows.
    void Aggiorna();
    const RitardiScelti& Mostrati() const { return mostrati_; }

private:
    void MostraControllo();

    SystemRecord record_;
    Archivio archivio_;
    RitardiScelti mostrati_;
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
