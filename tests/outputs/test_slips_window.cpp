#include "app/corpo.h"
#include "app/messages.h"
#include "app/printers.h"
#include "app/shell.h"
#include "outputs/frmPrnInCorso.h"
#include "outputs/frmStampaSchedine.h"
#include "outputs/frmTaraturaAmbetto.h"
#include "outputs/schedine.h"
#include "outputs/stampaschedine.h"
#include "outputs/taratura.h"
#include "printing/printerpage.h"
#include "tests/outputs/slipsupport.h"
#include "tests/support/testsupport.h"
#include "ui_frmPrnInCorso.h"
#include "ui_frmStampaSchedine.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QXmlStreamReader>
#include <QtTest>

using namespace corpo;
using namespace slips;

namespace {

// Everything one slip-window test needs: the folder with T saved, the system,
// the printer list and the window, loaded.
struct Ambiente {
    testsupport::AppFolder folder{true};
    testing::PrinterListScope printers{{QStringLiteral("PDF")}};
    testing::Script script;
    std::unique_ptr<frmStampaSchedine> w;
    Ambiente() {
        folder.write(TaraturaFileName, EncodeTaratura(CalibrazioneT()));
        Sistema = SistemaCompleto();
        NomiRuote = Ruote;
        w = std::make_unique<frmStampaSchedine>();
        w->Form_Load();
        script.clear();
    }
    void range(const QString& da, const QString& a) {
        w->ui->meDa->setText(da);
        w->ui->meA->setText(a);
    }
};

// Centres of the marks of one job's page, as "(x, y)" to three decimals.
QStringList CentriRegistrati(const RecordedJob& job, int page) {
    QStringList out;
    for (const PageOp& b : job.ofKind(PageOp::Box))
        if (b.page == page)
            out << QStringLiteral("(%1, %2)").arg(b.x + 1, 0, 'f', 3).arg(b.y + 1, 0, 'f', 3);
    return out;
}

// The centres every slip's marks should have, from the same layout rules.
QList<QList<Punto>> CentriAttesi(int da, int a) {
    TaraturaAmbetto t = CalibrazioneT();
    const LayoutSchedina l = CalcolaLayout(t);
    RuoteSegnate ruote{};
    ruote[5] = true;
    QList<QList<Punto>> pages;
    for (int s = da; s <= a; ++s) {
        QList<Punto> centres;
        for (const Punto& p : CaselleScheda(t, l, PreparaScheda(SistemaCompleto(), s), ruote))
            centres.append({p.x + 1, p.y + 1});
        pages.append(centres);
    }
    return pages;
}

// Every closed four-corner path of a PDF, per page, as the centre of its
// bounding box in millimetres, when it is a 2 mm square.
QList<QList<QPointF>> QuadratiPdf(const QString& pdf) {
    QProcess mutool;
    mutool.start(QStringLiteral("mutool"), {QStringLiteral("trace"), pdf});
    mutool.waitForFinished(60000);
    QXmlStreamReader xml(mutool.readAllStandardOutput());
    QList<QList<QPointF>> pages;
    QList<QPointF> points;
    double m[6] = {1, 0, 0, 1, 0, 0};
    auto toMm = [](double pt) { return pt * 25.4 / 72.0; };
    while (!xml.atEnd()) {
        xml.readNext();
        const QString name = xml.name().toString();
        if (xml.isStartElement()) {
            if (name == QStringLiteral("page")) {
                pages.append(QList<QPointF>());
            } else if (name == QStringLiteral("fill_path") || name == QStringLiteral("stroke_path")) {
                points.clear();
                const QStringList tr =
                    xml.attributes().value(QStringLiteral("transform")).toString().split(' ');
                for (int i = 0; i < 6; ++i)
                    m[i] = tr.size() == 6 ? tr[i].toDouble() : (i == 0 || i == 3 ? 1 : 0);
            } else if (name == QStringLiteral("moveto") || name == QStringLiteral("lineto")) {
                const double x = xml.attributes().value(QStringLiteral("x")).toDouble();
                const double y = xml.attributes().value(QStringLiteral("y")).toDouble();
                points.append({m[0] * x + m[2] * y + m[4], m[1] * x + m[3] * y + m[5]});
            }
        } else if (xml.isEndElement() &&
                   (name == QStringLiteral("fill_path") || name == QStringLiteral("stroke_path"))) {
            if (points.size() != 4 || pages.isEmpty())
                continue;
            double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
            for (const QPointF& p : points) {
                x0 = qMin(x0, p.x());
                y0 = qMin(y0, p.y());
                x1 = qMax(x1, p.x());
                y1 = qMax(y1, p.y());
            }
            if (!Vicino(toMm(x1 - x0), 2, 0.1) || !Vicino(toMm(y1 - y0), 2, 0.1))
                continue;
            const QPointF c(toMm((x0 + x1) / 2), toMm((y0 + y1) / 2));
            // A filled square may come as a fill and an outline of the same place.
            bool seen = false;
            for (const QPointF& q : pages.last())
                seen |= Vicino(q.x(), c.x(), 0.05) && Vicino(q.y(), c.y(), 0.05);
            if (!seen)
                pages.last().append(c);
        }
    }
    return pages;
}

int PaginePdf(const QString& pdf) {
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    info.waitForFinished(30000);
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info.readAllStandardOutput());
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

frmPrnInCorso* FinestraProgresso() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<frmPrnInCorso*>(w); p && p->isVisible())
            return p;
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

    void load() {
        Ambiente env;
        frmStampaSchedine& w = *env.w;
        QCOMPARE(w.windowTitle(), QStringLiteral("Stampa Schedine"));
        QCOMPARE(w.ui->labSchede->text(), QStringLiteral("9"));
        QCOMPARE(w.ui->meDa->text(), QStringLiteral("1"));
        QCOMPARE(w.ui->meA->text(), QStringLiteral("9"));
        QVERIFY(w.ui->chkSchedine->isChecked());
        QVERIFY(w.ui->chkPronostico->isChecked());
        QVERIFY(w.ui->cmdStampa->isEnabled());
        QVERIFY(!w.Vietato.isNull());
        QVERIFY(!w.ui->vietato->pixmap().isNull());
        QVERIFY(!w.ui->imgNewScheda->pixmap().isNull());
        QCOMPARE(w.Minimo, 1);
        QCOMPARE(w.Massimo, 9);
    }

    void oneOptionalDigit_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        QTest::newRow("digit") << "7" << "7";
        QTest::newRow("two digits keep one") << "34" << "3";
        QTest::newRow("letter refused") << "x" << "";
        QTest::newRow("nothing") << "" << "";
    }
    void oneOptionalDigit() {
        QFETCH(QString, typed);
        QFETCH(QString, text);
        Ambiente env;
        for (QLineEdit* e : {env.w->ui->meDa, env.w->ui->meA}) {
            e->clear();
            QTest::keyClicks(e, typed);
            QCOMPARE(e->text(), text);
            QVERIFY(e->hasAcceptableInput());
        }
    }

    void checkBoxes_data() {
        QTest::addColumn<bool>("schedine");
        QTest::addColumn<bool>("pronostico");
        QTest::addColumn<bool>("fields");
        QTest::addColumn<bool>("stampa");
        QTest::newRow("both") << true << true << true << true;
        QTest::newRow("slips only") << true << false << true << true;
        QTest::newRow("sheet only") << false << true << false << true;
        QTest::newRow("neither") << false << false << false << false;
    }
    void checkBoxes() {
        QFETCH(bool, schedine);
        QFETCH(bool, pronostico);
        QFETCH(bool, fields);
        QFETCH(bool, stampa);
        Ambiente env;
        frmStampaSchedine& w = *env.w;
        // Clicked the way a user would, in both orders.
        if (!schedine)
            w.ui->chkSchedine->click();
        if (!pronostico)
            w.ui->chkPronostico->click();
        QCOMPARE(w.ui->meDa->isEnabled(), fields);
        QCOMPARE(w.ui->meA->isEnabled(), fields);
        QCOMPARE(w.ui->cmdStampa->isEnabled(), stampa);
        if (!schedine && !pronostico) {
            w.ui->chkPronostico->click();
            QVERIFY(w.ui->cmdStampa->isEnabled());
            QVERIFY(!w.ui->meDa->isEnabled());
        }
    }

    void enterMovesOn() {
        Ambiente env;
        frmStampaSchedine& w = *env.w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.activateWindow();
        w.ui->meDa->setFocus();
        QTest::keyClick(w.ui->meDa, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), w.ui->meA);
        QTest::keyClick(w.ui->meA, Qt::Key_Enter);
        QCOMPARE(QApplication::focusWidget(), w.ui->cmdStampa);
    }

    void rangeErrors_data() {
        QTest::addColumn<QString>("da");
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        const QString err = QStringLiteral("!!! E R R O R E !!!");
        QTest::newRow("3 2") << "3" << "2" << "'DA' è maggiore di 'A'" << " !!! E R R O R E !!! ";
        QTest::newRow("empty 9") << "" << "9" << "'DA' è minore del minimo" << err;
        QTest::newRow("0 0") << "0" << "0" << "'DA' è minore del minimo" << err;
        QTest::newRow("1 10") << "1" << "10" << "'A' è maggiore del massimo" << err;
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
        env.range(da, a);
        bool progressShown = false;
        env.script.onShown = [&](const Shown&) { progressShown |= FinestraProgresso() != nullptr; };
        env.w->StampaSchedina();
        QCOMPARE(env.script.shown.size(), 2);
        QCOMPARE(env.script.shown[0].kind, Shown::Beep);
        QCOMPARE(env.script.shown[1].text, text);
        QCOMPARE(env.script.shown[1].title, title);
        QCOMPARE(env.script.shown[1].icon, MsgIcon::Exclamation);
        QVERIFY(!progressShown);
        QVERIFY(recorder.jobs().isEmpty());
        QVERIFY(!Printer().InJob());
    }

    void recordedSlips_data() {
        QTest::addColumn<int>("slip");
        QTest::addColumn<QStringList>("centres");
        QTest::addColumn<QString>("amount");
        QTest::newRow("slip 1") << 1
                                << QStringList{"(21.000, 31.000)",  "(66.000, 31.000)",
                                               "(41.000, 49.000)",  "(21.000, 67.000)",
                                               "(66.000, 67.000)",  "(104.300, 56.100)",
                                               "(75.500, 109.000)", "(80.500, 113.000)",
                                               "(95.500, 121.000)"}
                                << " € 1,55 -- ";
        QTest::newRow("slip 9") << 9
                                << QStringList{"(51.000, 62.500)", "(104.300, 56.100)",
                                               "(60.500, 105.000)", "(70.500, 105.000)",
                                               "(80.500, 105.000)"}
                                << " € 7,50 -- ";
    }
    void recordedSlips() {
        QFETCH(int, slip);
        QFETCH(QStringList, centres);
        QFETCH(QString, amount);
        Ambiente env;
        testing::RecorderScope recorder;
        env.w->ui->chkPronostico->setChecked(false);
        env.range(QString::number(slip), QString::number(slip));
        env.w->ui->cmdStampa->click();
        QVERIFY(env.script.messages().isEmpty());
        QCOMPARE(recorder.jobs().size(), 1);
        const RecordedJob job = recorder.last();
        QCOMPARE(job.pages, 1);
        QCOMPARE(job.printer, QStringLiteral("PDF"));
        QCOMPARE(CentriRegistrati(job, 1), centres);
        for (const PageOp& b : job.ofKind(PageOp::Box)) {
            QCOMPARE(b.fillStyle, 0);
            QCOMPARE(b.foreColor, 0);
        }
        const QList<PageOp> texts = job.ofKind(PageOp::Text);
        QCOMPARE(texts.size(), 5);
        QCOMPARE(texts[0].text, QStringLiteral("Bramasolovanti QRV - WWW.EXAMPLE.COM"));
        QCOMPARE(texts[0].x, 20.0);
        QCOMPARE(texts[0].y, 12.5);
        QCOMPARE(texts[0].fontName, QStringLiteral("Comic Sans MS"));
        QCOMPARE(texts[0].fontSize, 12.0);
        QCOMPARE(texts[1].text, amount);
        QCOMPARE(texts[1].x, 20.0);
        QVERIFY(texts[1].bold);
        QCOMPARE(texts[1].fontSize, 10.0);
        QVERIFY(Vicino(texts[1].y, 12.5 + texts[0].height, 1e-9));
        QCOMPARE(texts[2].text, QStringLiteral("Scheda N. %1 -- ").arg(slip));
        QVERIFY(Vicino(texts[2].x, texts[1].x + texts[1].width, 1e-9));
        QCOMPARE(texts[3].text, QStringLiteral("Prova di stampa     "));
        QCOMPARE(texts[4].text, IntestazioneStampa);
        QCOMPARE(texts[4].fontSize, 8.0);
        QCOMPARE(texts[4].x, 20.0);
    }

    void qualityOfTheRun() {
        // The page the slips are drawn on takes the calibration's quality.
        PrinterPage page;
        TaraturaAmbetto t = CalibrazioneT();
        t.Qualita = QualitaBassa;
        ImpostaPaginaSchedina(page, t, 0);
        QCOMPARE(page.PrintQuality, -1);
        QCOMPARE(page.FillStyle, 0);
        QCOMPARE(page.ScaleMode, int(scale::Millimeters));
    }

    void unknownWheel() {
        Ambiente env;
        testing::RecorderScope recorder;
        env.w->ui->chkPronostico->setChecked(false);
        Sistema.Ruota = QStringLiteral("Atlantide ");
        env.w->ui->cmdStampa->click();
        QCOMPARE(env.script.messages().size(), 1);
        QCOMPARE(env.script.messages()[0].text, QStringLiteral("Errore Stampante non previsto"));
        QCOMPARE(env.script.messages()[0].title, QStringLiteral("!!! E R R O R E !!!"));
        QCOMPARE(env.script.messages()[0].icon, MsgIcon::Critical);
        QVERIFY(recorder.jobs().isEmpty());
        QVERIFY(!Printer().InJob());
        QVERIFY(FinestraProgresso() == nullptr);
        QVERIFY(env.w->isEnabled());
    }

    void wheelWithBlanks() {
        Ambiente env;
        testing::RecorderScope recorder;
        env.w->ui->chkPronostico->setChecked(false);
        env.range(QStringLiteral("4"), QStringLiteral("4"));
        Sistema.Ruota = QStringLiteral("  Roma    ");
        env.w->ui->cmdStampa->click();
        QCOMPARE(CentriRegistrati(recorder.last(), 1).filter(QStringLiteral("(104.300")),
                 QStringList{QStringLiteral("(104.300, 66.500)")});
    }

    void nineSlipsNinePages() {
        Ambiente env;
        testing::RecorderScope recorder;
        env.w->ui->chkPronostico->setChecked(false);
        env.w->ui->cmdStampa->click();
        QCOMPARE(recorder.jobs().size(), 1);
        const RecordedJob job = recorder.last();
        QCOMPARE(job.pages, 9);
        // Each page carries its own slip's number, in slip order.
        QStringList numbers;
        for (const PageOp& t : job.ofKind(PageOp::Text))
            if (t.text.startsWith(QStringLiteral("Scheda N. ")))
                numbers << QStringLiteral("%1:%2").arg(t.page).arg(t.text.trimmed());
        QCOMPARE(numbers.join(' '),
                 QStringLiteral("1:Scheda N. 1 -- 2:Scheda N. 2 -- 3:Scheda N. 3 -- "
                                "4:Scheda N. 4 -- 5:Scheda N. 5 -- 6:Scheda N. 6 -- "
                                "7:Scheda N. 7 -- 8:Scheda N. 8 -- 9:Scheda N. 9 --"));
    }

    void forecastBeforeSlips() {
        Ambiente env;
        testing::RecorderScope recorder;
        env.w->ui->cmdStampa->click();
        QVERIFY2(env.script.messages().isEmpty(),
                 qPrintable(env.script.messages().value(0).text));
        QCOMPARE(recorder.jobs().size(), 2);
        QCOMPARE(recorder.jobs()[0].pages, 1);
        QVERIFY(recorder.jobs()[0].ofKind(PageOp::Box).isEmpty());
        QCOMPARE(recorder.jobs()[0].ofKind(PageOp::Picture).size() >= 1, true);
        QCOMPARE(recorder.jobs()[1].pages, 9);
        QVERIFY(env.w->isEnabled());
    }

    void onlyTheForecast() {
        Ambiente env;
        testing::RecorderScope recorder;
        env.w->ui->chkSchedine->setChecked(false);
        env.range(QStringLiteral("3"), QStringLiteral("2")); // not looked at
        env.w->ui->cmdStampa->click();
        QVERIFY(env.script.messages().isEmpty());
        QCOMPARE(recorder.jobs().size(), 1);
        QCOMPARE(recorder.jobs()[0].pages, 1);
    }

    void missingCalibrationStillPrints() {
        Ambiente env;
        testing::RecorderScope recorder;
        QFile::remove(env.folder.file(TaraturaFileName));
        env.w->ui->chkPronostico->setChecked(false);
        env.range(QStringLiteral("9"), QStringLiteral("9"));
        env.w->ui->cmdStampa->click();
        QCOMPARE(env.script.messages().size(), 1);
        QCOMPARE(env.script.messages()[0].text,
                 QStringLiteral("Error 53 (File not found) in procedure LeggiTaraturaAmbetto of "
                                "Form frmStampaSchedine"));
        // A fresh window's calibration is all zeros: the number sits at its
        // grid cell from the corner.
        QCOMPARE(recorder.jobs().size(), 1);
        QCOMPARE(CentriRegistrati(recorder.last(), 1).first(), QStringLiteral("(1.000, 1.000)"));
    }

    void noPrinterInstalled() {
        Ambiente env;
        testing::PrinterListScope none{QStringList()};
        Printer().UsePrinter();
        env.w->ui->cmdStampa->click();
        QStringList texts;
        for (const Shown& s : env.script.messages())
            texts << s.text + QLatin1Char('|') + s.title;
        QCOMPARE(texts, QStringList({QStringLiteral("Stampante non installata|!!! E R R O R E !!!"),
                                     QStringLiteral("Stampante non installata|!!! E R R O R E !!!")}));
        QVERIFY(!Printer().InJob());
        QVERIFY(FinestraProgresso() == nullptr);
    }

    void unknownPrinterKeepsCurrent() {
        Ambiente env;
        testing::PrinterListScope two{{QStringLiteral("Alfa"), QStringLiteral("Beta")}};
        testing::RecorderScope recorder;
        Printer().SelectPrinter(QStringLiteral("Beta"));
        TaraturaAmbetto t = CalibrazioneT();
        t.Stampante = QStringLiteral("alfa"); // not exactly any installed name
        env.folder.write(TaraturaFileName, EncodeTaratura(t));
        env.w->ui->chkPronostico->setChecked(false);
        env.range(QStringLiteral("1"), QStringLiteral("1"));
        env.w->ui->cmdStampa->click();
        QVERIFY(env.script.messages().isEmpty());
        QCOMPARE(recorder.last().printer, QStringLiteral("Beta"));
        t.Stampante = QStringLiteral("Alfa");
        env.folder.write(TaraturaFileName, EncodeTaratura(t));
        env.w->ui->cmdStampa->click();
        QCOMPARE(recorder.last().printer, QStringLiteral("Alfa"));
    }

    void pdfSquaresAtTheirCells() {
        if (QStandardPaths::findExecutable(QStringLiteral("mutool")).isEmpty())
            QSKIP("mutool is not installed");
        Ambiente env;
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("schede.pdf"));
        Printer().UsePdfFile(pdf);
        env.w->ui->chkPronostico->setChecked(false);
        env.w->ui->cmdStampa->click();
        QVERIFY(env.script.messages().isEmpty());
        QCOMPARE(PaginePdf(pdf), 9);
        const QList<QList<QPointF>> found = QuadratiPdf(pdf);
        const QList<QList<Punto>> expected = CentriAttesi(1, 9);
        QCOMPARE(found.size(), 9);
        for (int page = 0; page < 9; ++page) {
            QCOMPARE(found[page].size(), expected[page].size());
            for (const Punto& e : expected[page]) {
                bool there = false;
                for (const QPointF& f : found[page])
                    there |= Vicino(f.x(), e.x, 0.1) && Vicino(f.y(), e.y, 0.1);
                QVERIFY2(there, qPrintable(QStringLiteral("page %1: no square at (%2, %3)")
                                               .arg(page + 1)
                                               .arg(double(e.x))
                                               .arg(double(e.y))));
            }
        }
    }

    void stopAfterTheThirdSlip() {
        Ambiente env;
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("schede.pdf"));
        Printer().UsePdfFile(pdf);
        env.w->ui->chkPronostico->setChecked(false);
        env.w->show();
        bool closeRefused = false;
        QStringList labels;
        QTimer watcher;
        watcher.setInterval(0);
        connect(&watcher, &QTimer::timeout, [&] {
            frmPrnInCorso* p = FinestraProgresso();
            if (!p)
                return;
            if (labels.isEmpty() || labels.last() != p->ui->Label1->text())
                labels << p->ui->Label1->text();
            if (p->ui->Label1->text() == QStringLiteral("Scheda n. 0002")) {
                // Closing the slip window in the middle of the run is refused.
                env.w->close();
                closeRefused = env.w->isVisible();
            }
            if (p->ui->Label1->text() == QStringLiteral("Scheda n. 0003"))
                p->ui->cmdInterrompi->click();
        });
        watcher.start();
        env.w->ui->cmdStampa->click();
        watcher.stop();
        QVERIFY(labels.contains(QStringLiteral("Scheda n. 0003")));
        QVERIFY(!labels.contains(QStringLiteral("Scheda n. 0004")));
        QVERIFY(closeRefused);
        QVERIFY(env.script.messages().isEmpty());
        QCOMPARE(PaginePdf(pdf), 3);
        QVERIFY(FinestraProgresso() == nullptr);
        QVERIFY(env.w->isEnabled());
    }

    void failedJobLeavesNoPdf() {
        Ambiente env;
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("schede.pdf"));
        Printer().UsePdfFile(pdf);
        env.w->ui->chkPronostico->setChecked(false);
        Sistema.Ruota = QStringLiteral("Atlantide ");
        env.w->ui->cmdStampa->click();
        QCOMPARE(env.script.messages().size(), 1);
        QVERIFY(!QFile::exists(pdf));
        // The next run starts a fresh job rather than adding to the failed one.
        Sistema.Ruota = QStringLiteral("Napoli    ");
        env.range(QStringLiteral("1"), QStringLiteral("2"));
        env.w->ui->cmdStampa->click();
        QCOMPARE(PaginePdf(pdf), 2);
    }

    void mainWindowEnabledOnClose() {
        testsupport::AppFolder folder(true);
        testing::Script script;
        QWidget main;
        main.setObjectName(QStringLiteral("frmMain"));
        main.show();
        main.setEnabled(false); // as the main window does before opening this one
        MostraStampaSchedine(&main);
        QPointer<frmStampaSchedine> w;
        for (QWidget* t : QApplication::topLevelWidgets())
            if (auto* s = qobject_cast<frmStampaSchedine*>(t); s && s->isVisible())
                w = s;
        QVERIFY(w);
        QVERIFY(w->isEnabled());
        QVERIFY(!main.isEnabled());
        w->close();
        QVERIFY(main.isEnabled());
        QTRY_VERIFY(w.isNull()); // deleted once closed
    }

    void calibrationOpensModally() {
        Ambiente env;
        env.w->show();
        QVERIFY(QTest::qWaitForWindowExposed(env.w.get()));
        QString seen;
        QTimer::singleShot(0, [&] {
            if (auto* t = qobject_cast<frmTaraturaAmbetto*>(QApplication::activeModalWidget())) {
                seen = QStringLiteral("%1 over %2, %3")
                           .arg(t->windowTitle(), t->parentWidget() ? t->parentWidget()->objectName()
                                                                     : QStringLiteral("nothing"))
                           .arg(t->casella(3)->text());
                t->reject();
            }
        });
        env.w->ui->cmdTaratura->click();
        // It read the saved calibration: Left of T.
        QCOMPARE(seen, QStringLiteral("Taratura Stampa Schedine over frmStampaSchedine, 20"));
    }

    void missingNoticePicture() {
        testsupport::AppFolder folder(true);
        QFile::remove(folder.file(QStringLiteral("images/vietato.jpg")));
        folder.write(TaraturaFileName, EncodeTaratura(CalibrazioneT()));
        testing::PrinterListScope printers{{QStringLiteral("PDF")}};
        testing::RecorderScope recorder;
        Sistema = SistemaCompleto();
        NomiRuote = Ruote;
        testing::Script script;
        frmStampaSchedine w;
        w.Form_Load();
        QCOMPARE(script.messages().size(), 1);
        QVERIFY2(script.messages()[0].text.contains(QStringLiteral("vietato.jpg")),
                 qPrintable(script.messages()[0].text));
        QVERIFY(w.Vietato.isNull());
        script.clear();
        w.ui->chkSchedine->setChecked(false);
        w.ui->cmdStampa->click();
        QVERIFY(script.messages().isEmpty());
        QCOMPARE(recorder.jobs().size(), 1);
        for (const PageOp& p : recorder.last().ofKind(PageOp::Picture))
            QVERIFY2(!p.text.endsWith(QStringLiteral("vietato.jpg")), qPrintable(p.text));
    }
};

QTEST_MAIN(TestSlipsWindow)
#include "test_slips_window.moc"
