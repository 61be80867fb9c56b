// The calibration window, the slip window and the forecast sheet: bars and
// boxes, the range messages, squares on the recorder and in PDF files, Stop,
// and the failures.
#include "app/corpo.h"
#include "app/fileio.h"
#include "app/messages.h"
#include "app/printers.h"
#include "app/shell.h"
#include "outputs/anteprima.h"
#include "outputs/frmPrnInCorso.h"
#include "outputs/frmStampaSchedine.h"
#include "outputs/frmTaraturaAmbetto.h"
#include "outputs/pronostico.h"
#include "outputs/schedine.h"
#include "outputs/stampaschedine.h"
#include "tests/outputs/support.h"
#include "tests/support/testsupport.h"
#include "ui_frmPrnInCorso.h"
#include "ui_frmStampaSchedine.h"
#include "ui_frmTaraturaAmbetto.h"

#include <QPolygonF>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

using namespace corpo;
using namespace papers;

namespace {

// The folder with T saved, the full system, one printer "PDF" and the window, loaded.
struct Ambiente {
    testsupport::AppFolder folder{true};
    testing::PrinterListScope printers{{"PDF"}};
    testing::Script script;
    std::unique_ptr<frmStampaSchedine> w;
    explicit Ambiente(bool forecast = false) {
        folder.write(TaraturaFileName, EncodeTaratura(CalibrazioneT()));
        Sistema = SistemaCompleto();
        NomiRuote = Ruote;
        w = std::make_unique<frmStampaSchedine>();
        w->Form_Load();
        w->ui->chkPronostico->setChecked(forecast);
        script.clear();
    }
    void print(const QString& da, const QString& a) {
        w->ui->meDa->setText(da);
        w->ui->meA->setText(a);
        w->ui->cmdStampa->click();
    }
    // The messages but the rules question, which the script answers "Stampa comunque".
    QStringList avvisi() const {
        QStringList out;
        for (const Shown& m : Avvisi(script)) out << m.text;
        return out;
    }
};

// Centres of the squares of one recorded page, as "(x, y)" to three decimals.
QString Centri(const RecordedJob& job, int page) {
    QStringList out;
    for (const PageOp& b : job.ofKind(PageOp::Box))
        if (b.page == page) out << QString::asprintf("(%.3f, %.3f)", b.x + 1, b.y + 1);
    return out.join(' ');
}

// The centres, in millimetres, of the 2 mm squares mutool trace finds on each page.
QList<QList<QPointF>> QuadratiPdf(const QString& pdf) {
    static const QRegularExpression path(
        "<(fill|stroke)_path[^>]*transform=\"([^\"]*)\"[^>]*>(.*?)</\\1_path>",
        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression point("<(?:moveto|lineto) x=\"([-0-9.e]+)\" y=\"([-0-9.e]+)\"");
    QList<QList<QPointF>> pages;
    for (const QString& page : Run("mutool", {"trace", pdf}).split("<page ").mid(1)) {
        QList<QPointF> centres;
        for (const auto& p : path.globalMatch(page)) {
            QList<double> m;
            for (const QString& v : p.captured(2).split(' ', Qt::SkipEmptyParts))
                m << v.toDouble();
            if (m.size() != 6) continue;
            QPolygonF corners;
            for (const auto& q : point.globalMatch(p.captured(3))) {
                const double x = q.captured(1).toDouble(), y = q.captured(2).toDouble();
                corners << QPointF(m[0] * x + m[2] * y + m[4], m[1] * x + m[3] * y + m[5]) * 25.4 /
                               72;
            }
            const QRectF r = corners.boundingRect();
            // A filled square may come as a fill and an outline of the same place.
            const auto same = [&](QPointF q) { return (q - r.center()).manhattanLength() < 0.05; };
            if (corners.size() == 4 && Near(r.width(), 2, 0.1) && Near(r.height(), 2, 0.1) &&
                std::none_of(centres.begin(), centres.end(), same))
                centres << r.center();
        }
        pages << centres;
    }
    return pages;
}

// The calibration window loaded from a folder holding `t`, with the printers `installed`.
struct FinestraTaratura {
    testsupport::AppFolder folder{false};
    testing::PrinterListScope printers;
    testing::RecorderScope recorder;
    testing::Script script;
    std::unique_ptr<frmTaraturaAmbetto> w;
    explicit FinestraTaratura(const TaraturaAmbetto& t = CalibrazioneT(),
                              const QStringList& installed = {"PDF"})
        : printers(installed) {
        folder.write(TaraturaFileName, EncodeTaratura(t));
        w = std::make_unique<frmTaraturaAmbetto>();
        w->Form_Load();
    }
    QByteArray saved() {
        w->ui->cmdSalva->click();
        return folder.read(TaraturaFileName);
    }
};

frmPrnInCorso* FinestraProgresso() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<frmPrnInCorso*>(w); p && p->isVisible()) return p;
    return nullptr;
}

} // namespace

class TestSlipsWindow : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void initTestCase() {
        InstallFontSubstitutions();
        QLocale::setDefault(testsupport::italian());
    }
    void cleanup() { Printer().UsePrinter(); }

    void loadAndSave_data() {
        QTest::addColumn<float>("stored");
        QTest::addColumn<int>("bar");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QByteArray>("saved"); // bytes of Left once saved untouched
        QTest::newRow("10.125 to even") << 10.125f << 1012 << "10,12" << QByteArray("85EB2141");
        QTest::newRow("12.345 a little above")
            << 12.345f << 1235 << "12,35" << QByteArray("9A994541");
        QTest::newRow("10.115") << 10.115f << 1011 << "10,11" << QByteArray("8FC22141");
    }
    void loadAndSave() {
        QFETCH(float, stored);
        QFETCH(int, bar);
        QFETCH(QString, box);
        QFETCH(QByteArray, saved);
        TaraturaAmbetto t = CalibrazioneT();
        t.Left = stored;
        FinestraTaratura env(t);
        QVERIFY(env.script.messages().isEmpty());
        QCOMPARE(env.w->barra(3)->value(), bar);
        QCOMPARE(env.w->casella(3)->text(), box);
        QCOMPARE(env.saved().mid(384, 4).toHex().toUpper(), saved);
    }

    void barShowsShortestForm() {
        FinestraTaratura env;
        for (int i = 0; i < TaraturaDistanze; ++i) {
            QScrollBar* bar = env.w->barra(i);
            QCOMPARE(
                QList<int>({bar->minimum(), bar->maximum(), bar->singleStep(), bar->pageStep()}),
                QList<int>({0, 30000, 10, 100}));
            bar->setValue(1250);
            QCOMPARE(env.w->casella(i)->text(), QStringLiteral("12,5"));
            bar->setValue(1000);
            QCOMPARE(env.w->casella(i)->text(), QStringLiteral("10"));
        }
    }

    void typedValue_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("bar");
        QTest::addColumn<QString>("box");
        QTest::newRow("12,35") << "12,35" << 1235 << "12,35";
        QTest::newRow("letters") << "dodici" << 2000 << "20";
        QTest::newRow("too large") << "300,5" << 2000 << "20";
    }
    void typedValue() {
        QFETCH(QString, typed);
        QFETCH(int, bar);
        QFETCH(QString, box);
        FinestraTaratura env;
        QLineEdit* left = env.w->casella(3);
        left->setText(typed);
        Q_EMIT left->editingFinished();
        QCOMPARE(env.w->barra(3)->value(), bar);
        QCOMPARE(left->text(), box);
        QStringList shown;
        for (const Shown& m : env.script.messages())
            shown << m.text;
        QCOMPARE(shown,
                 typed == box ? QStringList() : QStringList{"Valore non valido: da 0 a 300 mm"});
    }

    void printerChoice_data() {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("chosen");
        const QStringList two{"Alfa", "Beta"};
        const QString unselected = "Attenzione non e' selezionata nessuna stampante";
        QTest::newRow("known") << two << "Beta"
                               << ""
                               << "Beta";
        QTest::newRow("unknown") << two << "Gamma" << unselected << "Alfa";
        QTest::newRow("case differs") << two << "beta" << unselected << "Alfa";
        QTest::newRow("none stored") << two << ""
                                     << "" << StampantePredefinita(two);
        QTest::newRow("none installed") << QStringList{} << "Beta"
                                        << "Attenzione nessuna stampante installata"
                                        << "";
    }
    void printerChoice() {
        QFETCH(QStringList, installed);
        QFETCH(QString, stored);
        QFETCH(QString, message);
        QFETCH(QString, chosen);
        TaraturaAmbetto t = CalibrazioneT();
        t.Stampante = stored;
        FinestraTaratura env(t, installed);
        QCOMPARE(env.script.messages().size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty()) {
            QCOMPARE(env.script.messages()[0].text, message);
            QCOMPARE(env.script.messages()[0].title, QStringLiteral("Importante"));
        }
        QCOMPARE(env.w->ui->cmbStampante->currentText(), chosen);
        // A missing printer leaves the stored name for when it comes back.
        QCOMPARE(DecodeTaratura(env.saved()).Stampante, installed.isEmpty() ? stored : chosen);
    }

    void quality() {
        TaraturaAmbetto t = CalibrazioneT();
        t.Qualita = 1111;
        FinestraTaratura env(t);
        QVERIFY(env.w->ui->optColor_1->isChecked());
        env.w->ui->optColor_0->click();
        QCOMPARE(int(DecodeTaratura(env.saved()).Qualita), 9999);
        // Anything but 9999 prints as draft.
        PrinterPage page;
        for (int q : {9999, 1111, 0}) {
            t.Qualita = int16_t(q);
            ImpostaPaginaSchedina(page, t, 0);
            QCOMPARE(page.PrintQuality, q == 9999 ? -3 : -1);
        }
    }

    void goldenAfterTestPrint() {
        FinestraTaratura env; // Ximporti, Yimporti 0
        env.w->ui->cmdTest->click();
        QCOMPARE(env.recorder.jobs().size(), 1);
        QCOMPARE(env.recorder.last().title, QStringLiteral("Bramasolovanti - Taratura"));
        const QList<PageOp> boxes = env.recorder.last().ofKind(PageOp::Box);
        QCOMPARE(boxes.size(), 206);
        for (const PageOp& b : boxes)
            QVERIFY(b.fillStyle == 1 && Near(b.x2 - b.x, 2, 1e-9) && Near(b.y2 - b.y, 2, 1e-9));
        QVERIFY(Near(boxes.last().x + 1, 95.5, 0.001));
        QVERIFY(Near(boxes.last().y + 1, 133, 0.001));
        QCOMPARE(env.saved().toHex(' '), GoldenT().toHex(' '));
        QVERIFY(env.script.messages().isEmpty());
    }

    void failedSaveKeepsFile() {
        FinestraTaratura env;
        const QByteArray before = env.folder.read(TaraturaFileName);
        env.w->barra(3)->setValue(1111);
        // Root writes into read-only folders; an immutable folder stops root too.
        const QString path = env.folder.path();
        if (QProcess::execute("chattr", {"+i", path}) != 0)
            QSKIP("this file system cannot make a folder immutable");
        env.w->ui->cmdSalva->click();
        QProcess::execute("chattr", {"-i", path});
        QCOMPARE(env.script.messages().size(), 1);
        QCOMPARE(env.script.messages()[0].text,
                 ReportText(MakeError(err::PermissionDenied), "cmdSalva_Click",
                            "Form frmTaraturaAmbetto"));
        QCOMPARE(env.folder.read(TaraturaFileName), before);
        QCOMPARE(QDir(path).entryList(QDir::Files), QStringList{TaraturaFileName});
    }

    void escapeClosesWithoutSaving() {
        FinestraTaratura env;
        const QByteArray before = env.folder.read(TaraturaFileName);
        env.w->show();
        QVERIFY(QTest::qWaitForWindowExposed(env.w.get()));
        env.w->barra(0)->setValue(2222);
        QTest::keyClick(env.w->casella(0), Qt::Key_Escape);
        QVERIFY(!env.w->isVisible());
        QCOMPARE(env.folder.read(TaraturaFileName), before);
    }

    void rulerSheet() {
        FinestraTaratura env;
        env.w->ui->cmdRighello->click();
        const RecordedJob job = env.recorder.last();
        QCOMPARE(job.pages, 1);
        QCOMPARE(job.title, QStringLiteral("Bramasolovanti - Righello"));
        QStringList
            lines; // ticks 5 mm in from the paper's edges, one a millimetre, and cross-hairs
        for (const PageOp& l : job.ofKind(PageOp::Line))
            lines << QString::asprintf("(%g, %g)-(%g, %g)", l.x, l.y, l.x2, l.y2);
        QCOMPARE(lines.filter(QRegularExpression("^\\(([0-9.]+), 5\\)-\\(\\1, ")).size(), 201);
        QCOMPARE(lines.filter(QRegularExpression("^\\(5, ([0-9.]+)\\)-\\([0-9.]+, \\1\\)")).size(),
                 286);
        for (const char* cross :
             {"(16, 31)-(26, 31)", "(21, 26)-(21, 36)", "(90.5, 121)-(100.5, 121)"})
            QVERIFY2(lines.contains(cross), cross);
        QVERIFY(!Find(job, "1 (21,0; 31,0)").text.isNull());
        QVERIFY(!Find(job, "Importo 65 (95,5; 121,0)").text.isNull());
    }

    // A bad range (after a beep), or slips the terminal would refuse and "Annulla":
    // nothing is printed.
    void rangeErrors_data() {
        QTest::addColumn<QString>("da");
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        const QString err = "!!! E R R O R E !!!";
        QTest::newRow("3 2") << "3"
                             << "2"
                             << "'DA' è maggiore di 'A'"
                             << " " + err + " ";
        QTest::newRow("empty 9") << ""
                                 << "9"
                                 << "'DA' è minore del minimo" << err;
        QTest::newRow("0 0") << "0"
                             << "0"
                             << "'DA' è minore del minimo" << err;
        QTest::newRow("1 10") << "1"
                              << "10"
                              << "'A' è maggiore del massimo" << err;
        QTest::newRow("rules, Annulla")
            << "1"
            << "2"
            << "Il terminale del Lotto rifiuterà queste schedine:\n\n"
               "Schedina 1 (Cinquina 1): 1,55 € non è un multiplo di 0,50 €\n"
               "Schedina 2 (Cinquina 2): 3,60 € non è un multiplo di 0,50 €\n\n"
               "Stamparle comunque?"
            << "Attenzione";
    }
    void rangeErrors() {
        QFETCH(QString, da);
        QFETCH(QString, a);
        QFETCH(QString, text);
        QFETCH(QString, title);
        Ambiente env;
        testing::RecorderScope recorder;
        // The masked fields take one digit; the check itself sees any text.
        env.w->ui->meDa->setInputMask(QString());
        env.w->ui->meA->setInputMask(QString());
        bool progressShown = false;
        env.script.onShown = [&](const Shown&) { progressShown |= FinestraProgresso() != nullptr; };
        env.script.queueAnswer(MsgResult::Cancel);
        env.print(da, a);
        const bool rules = title == "Attenzione";
        QCOMPARE(env.script.shown.size(), rules ? 1 : 2);
        QCOMPARE(env.script.shown[0].kind, rules ? Shown::Message : Shown::Beep);
        QCOMPARE(env.script.shown.last().text, text);
        QCOMPARE(env.script.shown.last().title, title);
        QCOMPARE(env.script.shown.last().icon, MsgIcon::Exclamation);
        QCOMPARE(env.script.shown.last().buttons,
                 rules ? MsgButtons::PrintAnywayCancel : MsgButtons::Ok);
        QVERIFY(!progressShown);
        QVERIFY(recorder.jobs().isEmpty());
    }

    void recordedSlips_data() {
        QTest::addColumn<int>("slip");
        QTest::addColumn<QString>("centres");
        QTest::addColumn<QString>("amount");
        QTest::newRow("slip 1") << 1
                                << "(21.000, 31.000) (66.000, 31.000) (41.000, 49.000) "
                                   "(21.000, 67.000) (66.000, 67.000) (104.300, 56.100) "
                                   "(75.500, 109.000) (80.500, 113.000) (95.500, 121.000)"
                                << " € 1,55 -- ";
        QTest::newRow("slip 9") << 9
                                << "(51.000, 62.500) (104.300, 56.100) (60.500, 105.000) "
                                   "(70.500, 105.000) (80.500, 105.000)"
                                << " € 7,50 -- ";
    }
    void recordedSlips() {
        QFETCH(int, slip);
        QFETCH(QString, centres);
        QFETCH(QString, amount);
        Ambiente env;
        testing::RecorderScope recorder;
        env.print(QString::number(slip), QString::number(slip));
        QCOMPARE(env.avvisi(), QStringList());
        QCOMPARE(recorder.jobs().size(), 1);
        const RecordedJob job = recorder.last();
        QCOMPARE(job.pages, 1);
        QCOMPARE(job.title, QString("Bramasolovanti - Schedina %1 - Prova di stampa").arg(slip));
        QCOMPARE(Centri(job, 1), centres);
        for (const PageOp& b : job.ofKind(PageOp::Box))
            QCOMPARE(b.fillStyle, 0);
        // Below the header: amount, slip number and name on one line.
        const QList<PageOp> texts = job.ofKind(PageOp::Text);
        QCOMPARE(texts.size(), 5);
        QCOMPARE(texts[1].text + texts[2].text + texts[3].text,
                 amount + QString("Scheda N. %1 -- ").arg(slip) + "Prova di stampa     ");
        QCOMPARE(QPointF(texts[1].x, texts[1].y), QPointF(20, 12.5 + texts[0].height));
        QVERIFY(Near(texts[2].x, texts[1].x + texts[1].width, 1e-9));
    }

    // The preview holds the very job Stampa sends; its own Stampa sends it again,
    // without the slip picture drawn under the pages on screen.
    void previewIsWhatPrints_data() {
        QTest::addColumn<bool>("calibration");
        QTest::addColumn<int>("pages");
        QTest::newRow("slips 1-3") << false << 3;
        QTest::newRow("test page and ruler") << true << 2;
    }
    void previewIsWhatPrints() {
        QFETCH(bool, calibration);
        QFETCH(int, pages);
        Ambiente env;
        FinestraTaratura taratura;
        QWidget* w = calibration ? static_cast<QWidget*>(taratura.w.get()) : env.w.get();
        const auto click = [&](const char* name) { w->findChild<QPushButton*>(name)->click(); };
        if (calibration) {
            click("cmdTest");
            click("cmdRighello");
        } else {
            env.print("1", "3");
        }
        QList<RecordedJob> jobs = Printer().recordedJobs();
        click("cmdAnteprima");
        auto* preview = w->findChild<frmAnteprima*>();
        QVERIFY(preview);
        QCOMPARE(Printer().recordedJobs().size(), jobs.size()); // opening it printed nothing
        QCOMPARE(preview->pagine(), pages);
        preview->cmdStampa->click();
        const QList<RecordedJob> again = Printer().recordedJobs().mid(jobs.size());
        QCOMPARE(again.size(), jobs.size());
        for (int i = 0; i < jobs.size(); ++i) {
            QCOMPARE(again[i].describe(), jobs[i].describe());
            QVERIFY(again[i].ofKind(PageOp::Picture).isEmpty());
        }
    }

    void missingCalibrationStillPrints() {
        Ambiente env;
        testing::RecorderScope recorder;
        QFile::remove(env.folder.file(TaraturaFileName));
        env.print("9", "9");
        QCOMPARE(env.script.messages().size(), 1);
        QCOMPARE(env.script.messages()[0].text,
                 QStringLiteral("Error 53 (File not found) in procedure LeggiTaraturaAmbetto of "
                                "Form frmStampaSchedine"));
        QCOMPARE(recorder.jobs().size(), 1);
    }

    void unknownPrinterKeepsCurrent() {
        Ambiente env;
        testing::PrinterListScope two{{"Alfa", "Beta"}};
        testing::RecorderScope recorder;
        Printer().SelectPrinter("Beta");
        TaraturaAmbetto t = CalibrazioneT();
        for (const QString name : {"alfa", "Alfa"}) { // only the exact name switches
            t.Stampante = name;
            env.folder.write(TaraturaFileName, EncodeTaratura(t));
            env.print("1", "1");
            QCOMPARE(recorder.last().printer, name == "Alfa" ? name : QStringLiteral("Beta"));
        }
        QCOMPARE(env.avvisi(), QStringList());
    }

    void noPrinterOneMessage() {
        Ambiente env(true); // the forecast sheet and the slips
        testing::PrinterListScope none({});
        env.print("1", "9");
        QCOMPARE(env.avvisi(), QStringList{"Stampante non installata"});
    }

    // A wheel the list lacks, or a blank wheel and no list: said before the
    // run, and the slip goes out with no wheel cell marked.
    void wheelNotFound_data() {
        QTest::addColumn<QString>("ruota");
        QTest::addColumn<bool>("list");
        QTest::newRow("unknown wheel") << "Atlantide " << true;
        QTest::newRow("blank wheel, no list") << "          " << false;
    }
    void wheelNotFound() {
        QFETCH(QString, ruota);
        QFETCH(bool, list);
        Ambiente env;
        testing::RecorderScope recorder;
        Sistema.Ruota = ruota;
        if (!list) NomiRuote.fill(QString());
        env.print("9", "9");
        QCOMPARE(env.script.messages().size(), 1);
        QCOMPARE(env.script.messages()[0].text,
                 QStringLiteral("Ruota non trovata nell'elenco delle ruote: le schedine saranno "
                                "stampate senza ruota."));
        QCOMPARE(recorder.jobs().size(), 1);
        QCOMPARE(Centri(recorder.last(), 1), QStringLiteral("(51.000, 62.500) (60.500, 105.000) "
                                                            "(70.500, 105.000) (80.500, 105.000)"));
    }

    void pdfSquaresAtTheirCells() {
        Ambiente env;
        QTemporaryDir dir;
        Printer().UsePdfFile(dir.filePath("schede.pdf"));
        env.print("1", "9");
        QCOMPARE(env.avvisi(), QStringList());
        const QList<QList<QPointF>> found = QuadratiPdf(dir.filePath("schede.pdf"));
        QCOMPARE(found.size(), 9);
        TaraturaAmbetto t = CalibrazioneT();
        const LayoutSchedina l = CalcolaLayout(t);
        RuoteSegnate napoli{};
        napoli[5] = true;
        for (int s = 1; s <= 9; ++s) {
            const QList<Punto> cells = CaselleScheda(t, l, PreparaScheda(Sistema, s), napoli);
            QCOMPARE(found[s - 1].size(), cells.size());
            for (const Punto& e : cells)
                QVERIFY2(
                    std::any_of(found[s - 1].begin(), found[s - 1].end(),
                                [&](QPointF f) {
                                    return Near(f.x(), e.x + 1, 0.1) && Near(f.y(), e.y + 1, 0.1);
                                }),
                    qPrintable(QString("slip %1: no square at (%2, %3)").arg(s).arg(e.x).arg(e.y)));
        }
    }

    void stopAfterTheThirdSlip() {
        Ambiente env;
        QTemporaryDir dir;
        Printer().UsePdfFile(dir.filePath("schede.pdf"));
        env.w->show();
        bool closeRefused = false;
        QStringList labels;
        QTimer watcher;
        connect(&watcher, &QTimer::timeout, [&] {
            frmPrnInCorso* p = FinestraProgresso();
            if (!p || labels.value(labels.size() - 1) == p->ui->Label1->text()) return;
            labels << p->ui->Label1->text();
            if (labels.last() == "Scheda n. 0002") {
                env.w->close(); // closing the slip window in the middle of the run is refused
                closeRefused = env.w->isVisible();
            }
            if (labels.last() == "Scheda n. 0003") p->ui->cmdInterrompi->click();
        });
        watcher.start(0);
        env.print("1", "9");
        watcher.stop();
        QCOMPARE(labels.last(), QStringLiteral("Scheda n. 0003"));
        QVERIFY(closeRefused);
        QCOMPARE(PdfPages(dir.filePath("schede.pdf")), 3);
        QVERIFY(Run("pdfinfo", {dir.filePath("schede.pdf")})
                    .contains(QRegularExpression(
                        "Title: +Bramasolovanti - Schedine 1-3 - Prova di stampa\n")));
        QVERIFY(FinestraProgresso() == nullptr);
        QVERIFY(env.w->isEnabled());
    }

    void missingNoticePicture() {
        Ambiente env(true);
        testing::RecorderScope recorder;
        QFile::remove(env.folder.file("images/vietato.jpg"));
        frmStampaSchedine w;
        w.Form_Load();
        QCOMPARE(env.script.messages().size(), 1);
        QVERIFY2(env.script.messages()[0].text.contains("vietato.jpg"),
                 qPrintable(env.script.messages()[0].text));
        w.ui->chkSchedine->setChecked(false);
        w.ui->cmdStampa->click(); // the forecast sheet prints without it
        QCOMPARE(env.script.messages().size(), 1);
        QCOMPARE(recorder.jobs().size(), 1);
        for (const PageOp& p : recorder.last().ofKind(PageOp::Picture))
            QVERIFY2(!p.text.endsWith("vietato.jpg"), qPrintable(p.text));
    }

    void forecastSheet_data() {
        QTest::addColumn<float>("left");
        QTest::addColumn<int>("capogioco");
        QTest::newRow("Left 12.5, head 7") << 12.5f << 7;
        QTest::newRow("Left 13.5, head 7") << 13.5f << 7;
        QTest::newRow("Left 13.5, no head") << 13.5f << 0;
    }
    void forecastSheet() {
        QFETCH(float, left);
        QFETCH(int, capogioco);
        testsupport::AppFolder folder(true);
        testing::PrinterListScope printers({"PDF"});
        testing::RecorderScope recorder;
        testing::Script script;
        Sistema = SistemaCompleto();
        Sistema.Capogioco = uint8_t(capogioco);
        Sistema.ImportoSistema = 1234.5f;
        ColoreCapogioco = 0x800000; // dark blue: the number turns white
        TaraturaAmbetto t = CalibrazioneT();
        t.Left = left;
        StampaSchedaPronostico(t, PagePicture::Load(folder.file("images/vietato.jpg")));
        QVERIFY2(script.messages().isEmpty(), qPrintable(script.messages().value(0).text));
        const RecordedJob job = recorder.last();
        QCOMPARE(job.pages, 1);
        QCOMPARE(job.title, QStringLiteral("Bramasolovanti - Pronostico - Prova di stampa"));
        const PageOp header = Find(job, "Bramasolovanti by Marvolt - ");
        QCOMPARE(QPointF(header.x, header.y), QPointF(10, 14));
        const PageOp amount = Find(job, "€ 1.234,50");
        QCOMPARE(QPointF(amount.x, amount.y), QPointF(50, 110));
        QStringList head; // the disc and its number
        for (const PageOp& c : job.ofKind(PageOp::Circle))
            if (c.radius == 17) head << QString("(%1, %2)").arg(c.x).arg(c.y);
        for (const PageOp& op : job.ofKind(PageOp::Text))
            if (op.fontSize == 60) head << op.text << QString::number(op.foreColor, 16);
        QCOMPARE(head, capogioco ? QStringList({"(78, 102)", "07", "ffffff"}) : QStringList());
    }
};

QTEST_MAIN(TestSlipsWindow)
#include "test_slips_window.moc"
