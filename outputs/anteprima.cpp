#include "outputs/anteprima.h"

#include "app/corpo.h"
#include "app/fileio.h"
#include "app/messages.h"
#include "outputs/frmTabulato.h"
#include "outputs/schedine.h"
#include "outputs/taratura.h"

#include <QFile>
#include <QGraphicsView>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QSvgRenderer>
#include <QVBoxLayout>

namespace corpo {

namespace {

void SegnalaErrore(const RunError& e, const QString& procedura) {
    if (e.number == err::PrinterError)
        MsgBox(QStringLiteral("Stampante non installata"), MsgButtons::Ok, MsgIcon::Critical,
               QStringLiteral("!!! E R R O R E !!!"));
    else
        ReportError(e, procedura, QStringLiteral("Form frmAnteprima"));
}

} // namespace

RecordedJob UnisciLavori(const QList<RecordedJob>& lavori) {
    RecordedJob out;
    for (const RecordedJob& j : lavori) {
        if (out.ops.isEmpty())
            out.docName = j.docName;
        for (auto it = j.pictures.begin(); it != j.pictures.end(); ++it)
            out.pictures.insert(int(out.ops.size()) + it.key(), it.value());
        for (PageOp op : j.ops) {
            op.page += out.pages;
            out.ops.append(op);
        }
        out.pages += j.pages;
    }
    return out;
}

frmAnteprima::frmAnteprima(QWidget* parent, PrinterPage& pagina, const QList<RecordedJob>& lavori,
                           const QList<std::function<void(QPainter&)>>& sfondi,
                           std::function<bool()> primaDiStampare)
    : QDialog(parent), pagina_(pagina), lavori_(lavori), sfondi_(sfondi),
      primaDiStampare_(std::move(primaDiStampare)),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    setObjectName(QStringLiteral("frmAnteprima"));
    nomePdf = NomeFilePdf(QString());
    setWindowTitle(QStringLiteral("Anteprima di stampa"));
    // The preview draws into a PDF-format printer: no print service is asked.
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setFullPage(true); // the whole sheet, whatever margins the printer keeps
    printer_->setPageSize(QPageSize(QPageSize::A4));

    anteprima = new QPrintPreviewWidget(printer_.get(), this);
    anteprima->setObjectName(QStringLiteral("anteprima"));
    // The view inside takes the focus: it is what a screen reader names.
    vista_ = anteprima->findChild<QGraphicsView*>();
    if (!vista_)
        vista_ = anteprima;
    vista_->setAccessibleName(QStringLiteral("Pagine da stampare"));
    anteprima->setViewMode(QPrintPreviewWidget::FacingPagesView);
    connect(anteprima, &QPrintPreviewWidget::paintRequested, this, &frmAnteprima::disegna);

    // Made in the order they stand, which is the order Tab follows.
    auto* zoomMeno = new QPushButton(QStringLiteral("&Riduci"), this);
    auto* zoomPiu = new QPushButton(QStringLiteral("&Ingrandisci"), this);
    auto* adatta = new QPushButton(QStringLiteral("&Adatta"), this);
    lblPagina = new QLabel(this);
    lblPagina->setObjectName(QStringLiteral("lblPagina"));
    cmdPdf = new QPushButton(QStringLiteral("Salva come &PDF..."), this);
    cmdStampa = new QPushButton(QStringLiteral("&Stampa"), this);
    cmdChiudi = new QPushButton(QStringLiteral("&Chiudi"), this);
    for (QPushButton* b : {cmdStampa, cmdPdf, cmdChiudi, zoomPiu, zoomMeno, adatta})
        b->setAutoDefault(false);
    cmdStampa->setObjectName(QStringLiteral("cmdStampa"));
    cmdPdf->setObjectName(QStringLiteral("cmdPdf"));
    cmdChiudi->setObjectName(QStringLiteral("cmdChiudi"));
    connect(cmdStampa, &QPushButton::clicked, this, &frmAnteprima::Stampa);
    connect(cmdPdf, &QPushButton::clicked, this, &frmAnteprima::SalvaPdf);
    connect(cmdChiudi, &QPushButton::clicked, this, &QDialog::reject);
    connect(zoomPiu, &QPushButton::clicked, anteprima, [this] { anteprima->zoomIn(); });
    connect(zoomMeno, &QPushButton::clicked, anteprima, [this] { anteprima->zoomOut(); });
    connect(adatta, &QPushButton::clicked, anteprima, &QPrintPreviewWidget::fitInView);

    auto* comandi = new QHBoxLayout;
    for (QPushButton* b : {zoomMeno, zoomPiu, adatta})
        comandi->addWidget(b);
    comandi->addStretch();
    for (QPushButton* b : {cmdPdf, cmdStampa, cmdChiudi})
        comandi->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(anteprima); // it takes the height: it expands, the rest do not
    layout->addWidget(lblPagina);
    layout->addLayout(comandi);
    // The page in view, on screen and to a screen reader.
    connect(anteprima, &QPrintPreviewWidget::previewChanged, this, [this] {
        const QString pagina = QStringLiteral("Pagina %1 di %2")
                                   .arg(anteprima->currentPage())
                                   .arg(anteprima->pageCount());
        lblPagina->setText(pagina);
        vista_->setAccessibleDescription(pagina);
    });
    resize(900, 700);
    anteprima->updatePreview();
}

frmAnteprima::~frmAnteprima() = default;

int frmAnteprima::pagine() const { return anteprima->pageCount(); }

void frmAnteprima::disegna(QPrinter* printer) {
    QPainter p(printer);
    // The jobs are laid out at the render resolution, the sheet's corner at 0.
    const double scala = printer->resolution() / double(RenderDpi);
    p.scale(scala, scala);
    for (int i = 0; i < lavori_.size(); ++i) {
        if (i > 0)
            printer->newPage();
        const std::function<void(QPainter&)> sfondo = sfondi_.value(i);
        std::function<void(int)> sotto;
        if (sfondo)
            sotto = [&](int) {
                p.scale(RenderDpi / scale::MmPerInch, RenderDpi / scale::MmPerInch);
                sfondo(p);
            };
        try {
            RenderJob(
                p, lavori_[i], [printer] { return printer->newPage(); }, sotto);
        } catch (const RunError&) {
            return; // the preview device never refuses a page
        }
    }
}

void frmAnteprima::Stampa() {
    if (primaDiStampare_ && !primaDiStampare_())
        return;
    try {
        for (const RecordedJob& j : lavori_)
            pagina_.Replay(j);
    } catch (const RunError& e) {
        SegnalaErrore(e, QStringLiteral("Stampa"));
        return;
    }
    accept();
}

void frmAnteprima::SalvaPdf() {
    const QString path = ChiediFilePdf(this, QStringLiteral("Salva l'anteprima come PDF"), nomePdf);
    if (path.isEmpty())
        return;
    StampaSuPdf(pagina_, path, [this] {
        try {
            pagina_.Replay(UnisciLavori(lavori_));
        } catch (const RunError& e) {
            SegnalaErrore(e, QStringLiteral("SalvaPdf"));
        }
    });
}

void MostraAnteprima(QWidget* parent, PrinterPage& pagina, const SystemRecord& sistema,
                     const QList<ParteAnteprima>& parti, std::function<bool()> primaDiStampare) {
    QList<RecordedJob> lavori;
    QList<std::function<void(QPainter&)>> sfondi;
    for (const ParteAnteprima& parte : parti) {
        for (const RecordedJob& j : pagina.Record(parte.stampa)) {
            lavori << j;
            sfondi << parte.sfondo;
        }
    }
    if (lavori.isEmpty())
        return;
    auto* dlg = new frmAnteprima(parent, pagina, lavori, sfondi, std::move(primaDiStampare));
    dlg->nomePdf = NomeFilePdf(NomeBreve(sistema));
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    dlg->open();
}

void DisegnaSchedina(QPainter& p, const TaraturaAmbetto& taratura) {
    QFile file(QStringLiteral(":/schedine/schedina.svg"));
    if (!file.open(QIODevice::ReadOnly))
        return;
    // The picture's own sample marks would pass for ours: drawn empty here.
    QByteArray svg = file.readAll().replace("fill=\"#222222\"", "fill=\"none\"");
    QSvgRenderer picture(svg);
    picture.setAspectRatioMode(Qt::IgnoreAspectRatio);
    TaraturaAmbetto t = taratura;
    const LayoutSchedina l = CalcolaLayout(t);
    // Each part of the picture is laid where the calibration puts its cells: a
    // cell's centre in the picture, the step between cells there, the centre of
    // the first mark on paper (1 mm inside its corner), the step on paper. The
    // numbers' part ends at x = 110 and y = 126: the wheels beside it, the
    // amounts below.
    const QPointF angolo(150, 210), taglio(110, 126); // the picture's far corner, the split
    struct Parte {
        QRectF inPicture;
        QPointF centre, step, paper, paperStep;
    };
    const Parte parti[] = {
        {{{0, 0}, taglio},
         {11.5, 28},
         {10, 11},
         {t.Left + 1.0, t.Top + 1.0},
         {t.DistanzaX, t.DistanzaY}},
        {{{taglio.x(), 0}, QPointF(angolo.x(), taglio.y())},
         {117, 27},
         {8.2, 8.2},
         {l.XRuote + 1.0, l.YRuote + 1.0},
         {l.PassoRuote, l.PassoRuote}},
        {{{0, taglio.y()}, angolo},
         {11, 135},
         {10.5, 10},
         {t.Ximporti + 1.0, t.Yimporti + 1.0},
         {t.DXimporti, t.DYimporti}},
    };
    for (const Parte& parte : parti) {
        const double sx = parte.paperStep.x() / parte.step.x();
        const double sy = parte.paperStep.y() / parte.step.y();
        const auto onPaper = [&](QPointF q) {
            return QPointF(parte.paper.x() + (q.x() - parte.centre.x()) * sx,
                           parte.paper.y() + (q.y() - parte.centre.y()) * sy);
        };
        p.save();
        p.setClipRect(
            QRectF(onPaper(parte.inPicture.topLeft()), onPaper(parte.inPicture.bottomRight())));
        picture.render(&p, QRectF(onPaper({0, 0}), onPaper(angolo)));
        p.restore();
    }
}

} // namespace corpo
