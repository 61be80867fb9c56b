// The print preview: what a print routine would send, recorded once and shown
// page by page; printing or saving from it sends those very jobs, so the
// preview and the paper cannot differ.
#pragma once

#include "gioco/sistema.h"
#include "outputs/taratura.h"
#include "printing/printerpage.h"

#include <QDialog>
#include <functional>

class QLabel;
class QPainter;
class QPrinter;
class QPrintPreviewWidget;
class QPushButton;

namespace corpo {

// One print routine of a preview and what the screen shows under each of its
// pages, in millimetres from the paper's corner (never on paper).
struct ParteAnteprima {
    std::function<void()> stampa;
    std::function<void(QPainter&)> sfondo;
};

// Every job one after the other, as the pages of a single file (a PDF file
// holds what the printer would get as separate jobs).
RecordedJob UnisciLavori(const QList<RecordedJob>& lavori);

class frmAnteprima : public QDialog {
    Q_OBJECT
public:
    frmAnteprima(QWidget* parent, PrinterPage& pagina, const QList<RecordedJob>& lavori,
                 const QList<std::function<void(QPainter&)>>& sfondi,
                 std::function<bool()> primaDiStampare);
    ~frmAnteprima() override;

    const QList<RecordedJob>& lavori() const { return lavori_; }
    int pagine() const;

    QPrintPreviewWidget* anteprima;
    QPushButton* cmdStampa;
    QPushButton* cmdPdf;
    QPushButton* cmdChiudi;
    QLabel* lblPagina; // "Pagina 1 di 2"
    QString nomePdf;   // the file name the PDF dialog suggests

public Q_SLOTS:
    // Sends every job to its printer, as Stampa does, and closes.
    void Stampa();
    // Asks for a file and writes every page into it as one PDF.
    void SalvaPdf();

private:
    void disegna(QPrinter* printer);
    PrinterPage& pagina_;
    QList<RecordedJob> lavori_;
    QList<std::function<void(QPainter&)>> sfondi_;
    std::function<bool()> primaDiStampare_;
    std::unique_ptr<QPrinter> printer_;
    QWidget* vista_; // the pages' view, within the preview widget
};

// Records what the parts print and shows it over parent (window-modal, not
// blocking). Shows nothing when they printed nothing: they have said why.
// primaDiStampare, when given, may still refuse the printing from the preview.
// The PDF dialog suggests a file named after `sistema`.
void MostraAnteprima(QWidget* parent, PrinterPage& pagina, const SystemRecord& sistema,
                     const QList<ParteAnteprima>& parti,
                     std::function<bool()> primaDiStampare = {});

// Our picture of a slip, laid so that its number cells fall on the calibrated ones.
void DisegnaSchedina(QPainter& painter, const TaraturaAmbetto& t);

} // namespace corpo
