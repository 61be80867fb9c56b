// The papers of outputs/: the listing, the slips, the forecast sheet, the
// calibration sheets and the draw check, with their windows and files.
// Whole recorded jobs (positions, fonts, colours) are compared with the
// snapshots in tests/outputs/golden/, number by number within 0.01 mm. After a
// deliberate change, regenerate them with
//     BRAMA_REGEN_GOLDEN=1 ctest -R 'test_outputs$'
// and look at the PDFs it writes beside the test program before committing.
// Run with the argument "cups", the program prints through the queue "PDF" of
// the "cups" fixture (cups_fixture.sh), which writes each job into ~/PDF.
#include "app/corpo.h"
#include "app/fileio.h"
#include "app/messages.h"
#include "app/printers.h"
#include "app/settings.h"
#include "app/shell.h"
#include "outputs/anteprima.h"
#include "outputs/frmPrnInCorso.h"
#include "outputs/frmStampaSchedine.h"
#include "outputs/frmTabulato.h"
#include "outputs/frmTaraturaAmbetto.h"
#include "outputs/frmVerifica.h"
#include "outputs/schedine.h"
#include "outputs/taratura.h"
#include "tests/outputs/sample.h"
#include "tests/support/golden.h"
#include "tests/support/testsupport.h"
#include "winnings/verifica.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPolygonF>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QtTest>
#include <algorithm>
#include <pwd.h>
#include <unistd.h>

using namespace corpo;

namespace {

template <class T = QPushButton> T* Child(const QObject* w, const char* name) {
    T* c = w->findChild<T*>(QString::fromLatin1(name));
    if (!c)
        qFatal("no control %s", name);
    return c;
}

QString Run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(60000) ? QString::fromUtf8(p.readAllStandardOutput()) : QString();
}

int PdfPages(const QString& pdf) {
    const auto m = QRegularExpression("Pages:\\s+(\\d+)").match(Run("pdfinfo", {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// Number cell 1 at (20, 30), the amounts grid and the wheels derived from it.
TaraturaAmbetto CalibrazioneT() {
    return {5, 4.5f, 30, 20, 12.5f, 0, 0, 5, 4, QualitaNormale, QStringLiteral("PDF")};
}

// A folder with T saved and the settings, one printer "PDF", the sample
// system; every global put back afterwards.
struct Ambiente {
    testsupport::GlobalsScope globals;
    testsupport::AppFolder folder{true};
    testing::PrinterListScope printers{{"PDF"}};
    testing::Script script;
    explicit Ambiente(const QStringList& installed = {"PDF"}) : printers(installed) {
        folder.write(NomeFileTaratura, CodificaTaratura(CalibrazioneT()));
        folder.write("impostazioni.cfg", SettingsBytes("Ricevitoria del Corso", "PDF"));
        Sistema = SistemaCompleto();
        NomiRuote = {"Bari",    "Cagliari", "Firenze", "Genova",  "Milano",    "Napoli",
                     "Palermo", "Roma",     "Torino",  "Venezia", "Nazionale", "Tutte"};
        ColoreCapogioco = 0x800000; // dark blue: the head number's digits turn white
    }
    // What was said, but the rules question (answered "Stampa comunque").
    QStringList avvisi() const {
        QStringList out;
        for (const Shown& m : script.messages())
            if (m.buttons != MsgButtons::PrintAnywayCancel)
                out << m.text;
        return out;
    }
};

std::unique_ptr<frmStampaSchedine> Schedine(bool slips = true, bool forecast = false) {
    auto w = std::make_unique<frmStampaSchedine>();
    w->Form_Load();
    Child<QCheckBox>(w.get(), "chkSchedine")->setChecked(slips);
    Child<QCheckBox>(w.get(), "chkPronostico")->setChecked(forecast);
    return w;
}

void Stampa(QWidget* w, const QString& da, const QString& a) {
    Child<QLineEdit>(w, "meDa")->setText(da);
    Child<QLineEdit>(w, "meA")->setText(a);
    Child(w, "cmdStampa")->click();
}

std::unique_ptr<frmTaraturaAmbetto> Taratura() {
    auto w = std::make_unique<frmTaraturaAmbetto>();
    w->Form_Load();
    return w;
}

// The centres of the 2 mm squares on each page ("x y" in mm), sorted.
QList<QStringList> Quadrati(const QString& pdf) {
    static const QRegularExpression path(
        "<(fill|stroke)_path[^>]*transform=\"([^\"]*)\"[^>]*>(.*?)</\\1_path>",
        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression point("<(?:moveto|lineto) x=\"([-0-9.e]+)\" y=\"([-0-9.e]+)\"");
    QList<QStringList> pages;
    for (const QString& page : Run("mutool", {"trace", pdf}).split("<page ").mid(1)) {
        QStringList centres;
        for (const auto& p : path.globalMatch(page)) {
            const QStringList m = p.captured(2).split(' ', Qt::SkipEmptyParts);
            QPolygonF corners;
            for (const auto& q : point.globalMatch(p.captured(3))) {
                const double x = q.captured(1).toDouble(), y = q.captured(2).toDouble();
                corners << QPointF(m[0].toDouble() * x + m[2].toDouble() * y + m[4].toDouble(),
                                   m[1].toDouble() * x + m[3].toDouble() * y + m[5].toDouble()) *
                               25.4 / 72;
            }
            const QRectF r = corners.boundingRect();
            if (corners.size() == 4 && qAbs(r.width() - 2) < 0.1 && qAbs(r.height() - 2) < 0.1)
                centres << QString::asprintf("%.1f %.1f", r.center().x(), r.center().y());
        }
        centres.removeDuplicates(); // a filled square may come as a fill and an outline
        centres.sort();
        pages << centres;
    }
    return pages;
}

} // namespace

class TestOutputs : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        InstallFontSubstitutions();
        QLocale::setDefault(testsupport::italian());
    }
    void cleanup() { Printer().UsePrinter(); }

    // Each paper whole, against its snapshot.
    void papers_data() {
        QTest::addColumn<QString>("paper");
        for (const char* name : {"tabulato", "tabulato_bianco_nero", "tabulato_capogioco",
                                 "tabulato_capogioco_bianco_nero", "schedine_1_9", "pronostico",
                                 "righello", "prova_taratura", "verifica"})
            QTest::newRow(name) << QString(name);
    }
    void papers() {
        QFETCH(QString, paper);
        Ambiente env; // head number 7
        testing::RecorderScope recorder;
        if (paper.startsWith("tabulato")) {
            Sistema.Capogioco = paper.contains("capogioco") ? 7 : 0;
            frmTabulato w;
            Child<QCheckBox>(&w, "chkColor")->setChecked(!paper.endsWith("bianco_nero"));
            Child(&w, "cmdStampa")->click();
        } else if (paper == "schedine_1_9" || paper == "pronostico") {
            Stampa(Schedine(paper != "pronostico", paper == "pronostico").get(), "1", "9");
        } else if (paper == "verifica") {
            const auto esito = VerificaEstrazione(Sistema, {{5, {1, 10, 45, 7, 77}}}, 1);
            StampaVerifica(*esito, "Estrazione del 04/01/2025");
        } else {
            Child(Taratura().get(), paper == "righello" ? "cmdRighello" : "cmdTest")->click();
        }
        QCOMPARE(env.avvisi(), QStringList());
        QCOMPARE(recorder.jobs().size(), 1);
        const QString difference = testsupport::GoldenDifference(
            "tests/outputs/golden/" + paper + ".txt", recorder.jobs());
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }

    // "printA.cfg" byte for byte: after the test print, and single values.
    void calibrationBytes_data() {
        QTest::addColumn<float>("left");
        QTest::addColumn<int>("quality");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("bytes");
        QFile golden(testsupport::sourceFolder() + "tests/outputs/golden/printA_T.hex");
        QVERIFY(golden.open(QIODevice::ReadOnly)); // T once the test print derived the grid
        QTest::newRow("test print")
            << 20.0f << 9999 << "PDF" << 0 << QByteArray::fromHex(golden.readAll());
        QTest::newRow("Left 10.25")
            << 10.25f << 9999 << "PDF" << 384 << QByteArray("\0\0\x24\x41", 4);
        QTest::newRow("Qualita 1111")
            << 20.0f << 1111 << "PDF" << 1152 << QByteArray("\2\0\x57\4", 4);
        QTest::newRow("name in the code page")
            << 20.0f << 9999 << "Stampa€ è" << 1280 << QByteArray("\x09\x00Stampa\x80 \xE8", 11);
    }
    void calibrationBytes() {
        QFETCH(float, left);
        QFETCH(int, quality);
        QFETCH(QString, name);
        QFETCH(int, offset);
        QFETCH(QByteArray, bytes);
        Ambiente env({name});
        TaraturaAmbetto t = CalibrazioneT();
        t.Left = left;
        t.Qualita = int16_t(quality);
        t.Stampante = name;
        env.folder.write(NomeFileTaratura, CodificaTaratura(t));
        testing::RecorderScope recorder;
        auto w = Taratura();
        if (offset == 0)
            Child(w.get(), "cmdTest")->click(); // derives the amounts grid
        Child(w.get(), "cmdSalva")->click();
        QCOMPARE(env.folder.read(NomeFileTaratura).mid(offset, bytes.size()).toHex(' '),
                 bytes.toHex(' '));
    }

    // Every value typed in the window, through the keyboard, is what Salva writes.
    void calibrationTyped() {
        Ambiente env;
        auto w = Taratura();
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        const std::tuple<int, const char*, float> typed[] = {
            {0, "5,25", 5.25f},   {1, "4,75", 4.75f},  {2, "31,5", 31.5f},     {3, "21", 21},
            {4, "13,25", 13.25f}, {5, "35,5", 35.5f},  {6, "105,75", 105.75f}, {7, "5,5", 5.5f},
            {8, "3,75", 3.75f},   {0, "300,5", 5.25f}, // refused: the value typed before stays
        };
        for (const auto& [field, text, value] : typed) {
            QLineEdit* box = w->casella(field);
            box->setFocus();
            QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(box, text);
            QTest::keyClick(box, Qt::Key_Tab);
        }
        QTest::keyClick(Child<QRadioButton>(w.get(), "optColor_1"), Qt::Key_Space);
        QTest::mouseClick(Child(w.get(), "cmdSalva"), Qt::LeftButton);
        const TaraturaAmbetto saved = DecodificaTaratura(env.folder.read(NomeFileTaratura));
        for (const auto& [field, text, value] : typed)
            QCOMPARE(Distanza(saved, field), value);
        QCOMPARE(int(saved.Qualita), int(QualitaBassa));
        QCOMPARE(env.avvisi(), QStringList{"Valore non valido: da 0 a 300 mm"});
    }

    void failedSaveKeepsFile() {
        Ambiente env;
        const QByteArray before = env.folder.read(NomeFileTaratura);
        const QStringList files = QDir(env.folder.path()).entryList(QDir::Files);
        auto w = Taratura();
        w->barra(3)->setValue(1111);
        // Root writes into read-only folders; an immutable folder stops root too.
        if (QProcess::execute("chattr", {"+i", env.folder.path()}) != 0)
            QSKIP("this file system cannot make a folder immutable");
        Child(w.get(), "cmdSalva")->click();
        QProcess::execute("chattr", {"-i", env.folder.path()});
        QCOMPARE(env.avvisi(),
                 QStringList{ReportText(MakeError(Cause::FolderReadOnly), "cmdSalva_Click",
                                        "Form frmTaraturaAmbetto")});
        QCOMPARE(env.folder.read(NomeFileTaratura), before);
        QCOMPARE(QDir(env.folder.path()).entryList(QDir::Files), files);
    }

    // The calibration's printer: a missing one leaves the stored name for when it comes back.
    void printerChoice_data() {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("chosen");
        const QStringList two{"Alfa", "Beta"};
        const QString unselected = "Attenzione non e' selezionata nessuna stampante";
        QTest::newRow("known") << two << "Beta" << QString() << "Beta";
        QTest::newRow("case differs") << two << "beta" << unselected << "Alfa";
        QTest::newRow("none installed") << QStringList{} << "Beta"
                                        << "Attenzione nessuna stampante installata" << QString();
    }
    void printerChoice() {
        QFETCH(QStringList, installed);
        QFETCH(QString, stored);
        QFETCH(QString, message);
        QFETCH(QString, chosen);
        Ambiente env(installed);
        TaraturaAmbetto t = CalibrazioneT();
        t.Stampante = stored;
        env.folder.write(NomeFileTaratura, CodificaTaratura(t));
        auto w = Taratura();
        QCOMPARE(env.avvisi(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(Child<QComboBox>(w.get(), "cmbStampante")->currentText(), chosen);
        Child(w.get(), "cmdSalva")->click();
        QCOMPARE(DecodificaTaratura(env.folder.read(NomeFileTaratura)).Stampante,
                 installed.isEmpty() ? stored : chosen);
    }

    void stakeSplit_data() {
        QTest::addColumn<float>("stake");
        QTest::addColumn<QList<double>>("marked");
        QTest::newRow("7.50") << 7.50f << QList<double>{5, 2, 0.5};
        QTest::newRow("0.70 kept to cents") << 0.70f << QList<double>{0.5, 0.2};
        QTest::newRow("4.90") << 4.90f << QList<double>{3, 1, 0.5, 0.2, 0.1, 0.05};
        QTest::newRow("391.85") << 391.85f << QList<double>(Tagli.begin(), Tagli.end());
        QTest::newRow("0.01") << 0.01f << QList<double>{};
    }
    void stakeSplit() {
        QFETCH(float, stake);
        QFETCH(QList<double>, marked);
        GrigliaImporti g;
        g.fill(true); // the row is cleared first, the others stay (row 1 here)
        ScomponiImporto(g, stake, 2);
        QList<double> found;
        for (int j = 0; j < ColonneImporti; ++j)
            if (g[size_t(2 + 5 * j)])
                found << Tagli[size_t(j)];
        QCOMPARE(found, marked);
        QVERIFY(g[1]);
    }

    // One message, and a job only where the paper can still go out: a bad range
    // or the rules question answered "Annulla" print nothing.
    void oneMessage_data() {
        QTest::addColumn<int>("fault");
        QTest::addColumn<QString>("range"); // of the slips; empty: the listing
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("jobs");
        QTest::newRow("listing, no printer") << 0 << QString() << "Stampante non installata" << 0;
        QTest::newRow("slips and forecast, no printer") << 0 << "99"
                                                        << "Stampante non installata" << 0;
        QTest::newRow("unknown wheel") << 3 << "99"
                                       << "Ruota non trovata nell'elenco delle ruote: le "
                                          "schedine saranno stampate senza ruota."
                                       << 2;
        QTest::newRow("range 3 2") << 4 << "32"
                                   << "'DA' è maggiore di 'A'" << 0;
        QTest::newRow("rules, Annulla")
            << 4 << "12"
            << "Il terminale del Lotto rifiuterà queste schedine:\n\n"
               "Schedina 1 (Cinquina 1): 1,55 € non è un multiplo di 0,50 €\n"
               "Schedina 2 (Cinquina 2): 3,60 € non è un multiplo di 0,50 €\n\n"
               "Stamparle comunque?"
            << 0;
    }
    void oneMessage() {
        QFETCH(int, fault);
        QFETCH(QString, range);
        QFETCH(QString, text);
        QFETCH(int, jobs);
        Ambiente env(fault == 0 ? QStringList{} : QStringList{"PDF"});
        testing::RecorderScope recorder;
        if (fault == 0)
            Printer().UsePrinter();
        if (fault == 3)
            Sistema.Ruota = "Atlantide ";
        env.script.queueAnswer(MsgResult::Cancel);
        if (range.isEmpty()) {
            frmTabulato w;
            Child<QScrollBar>(&w, "VsCopie")->setValue(3);
            Child(&w, "cmdStampa")->click();
        } else {
            Stampa(Schedine(true, fault < 4).get(), range.left(1), range.right(1));
        }
        QCOMPARE(env.script.messages().size(), 1);
        QCOMPARE(env.script.messages()[0].text, text);
        QCOMPARE(recorder.jobs().size(), jobs);
    }

    // The second press of a double click prints nothing more.
    void doubleClickOneJob_data() {
        QTest::addColumn<bool>("listing");
        QTest::newRow("listing") << true;
        QTest::newRow("slips") << false;
    }
    void doubleClickOneJob() {
        QFETCH(bool, listing);
        Ambiente env;
        testing::RecorderScope recorder;
        const std::unique_ptr<QWidget> w =
            listing ? std::make_unique<frmTabulato>() : std::unique_ptr<QWidget>(Schedine());
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QPushButton* b = Child(w.get(), "cmdStampa");
        QTest::mouseDClick(w->windowHandle(), Qt::LeftButton, {},
                           b->mapTo(w.get(), b->rect().center()));
        QCoreApplication::processEvents();
        QCOMPARE(recorder.jobs().size(), 1);
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
        testing::RecorderScope recorder;
        std::unique_ptr<QWidget> w;
        if (calibration) {
            w = Taratura();
            Child(w.get(), "cmdTest")->click();
            Child(w.get(), "cmdRighello")->click();
        } else {
            w = Schedine();
            Stampa(w.get(), "1", "3");
        }
        const QList<RecordedJob> jobs = Printer().recordedJobs();
        QCOMPARE(jobs.size(), calibration ? 2 : 1);
        Child(w.get(), "cmdAnteprima")->click();
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

    // Closed, the slip window gives the main window back and is gone.
    void slipWindowGoes() {
        Ambiente env;
        QWidget main;
        main.setEnabled(false); // as the main window does before opening it
        MostraStampaSchedine(&main);
        const QPointer<frmStampaSchedine> w = main.findChild<frmStampaSchedine*>();
        QVERIFY(w && w->isVisible());
        w->close();
        QVERIFY(main.isEnabled());
        QTRY_VERIFY(!w);
    }

    // Stop after slip 3 of 1-9 into a real PDF: three pages, each with its
    // squares where the calibration puts them; the window cannot close meanwhile.
    void stopAfterTheThirdSlip() {
        Ambiente env;
        QTemporaryDir dir;
        const QString pdf = dir.filePath("schede.pdf");
        Printer().UsePdfFile(pdf);
        auto w = Schedine();
        w->show();
        const auto progress = [&] {
            auto* p = w->findChild<frmPrnInCorso*>();
            return p && p->isVisible() ? p : nullptr;
        };
        bool closeRefused = false;
        QStringList labels;
        QTimer watcher;
        connect(&watcher, &QTimer::timeout, [&] {
            frmPrnInCorso* p = progress();
            const QString label = p ? Child<QLabel>(p, "Label1")->text() : QString();
            if (!p || labels.value(labels.size() - 1) == label)
                return;
            labels << label;
            if (label == "Scheda n. 0002") { // closing the window mid-run is refused
                w->close();
                closeRefused = w->isVisible();
            }
            if (label == "Scheda n. 0003")
                Child(p, "cmdInterrompi")->click();
        });
        watcher.start(0);
        Sistema.NomeSistema = "Prova di stampa.vrl "; // the title names it without ".vrl"
        Stampa(w.get(), "1", "9");
        watcher.stop();
        QCOMPARE(labels.last(), QStringLiteral("Scheda n. 0003"));
        QVERIFY(closeRefused);
        QVERIFY(progress() == nullptr);
        QVERIFY(Run("pdfinfo", {pdf})
                    .contains(QRegularExpression(
                        "Title: +Bramasolovanti - Schedine 1-3 - Prova di stampa\n")));
        const QList<QStringList> found = Quadrati(pdf);
        QCOMPARE(found.size(), 3);
        const auto recorded = Printer().Record([] { Stampa(Schedine().get(), "1", "3"); });
        for (int page = 1; page <= 3; ++page) {
            QStringList want;
            for (const PageOp& b : recorded.value(0).ofKind(PageOp::Box))
                if (b.page == page)
                    want << QString::asprintf("%.1f %.1f", b.x + 1, b.y + 1);
            want.sort();
            QCOMPARE(found[page - 1], want);
        }
    }
};

// Through the print service, whose queue writes each job as a PDF into ~/PDF
// (of the printing user, whatever HOME says).
class TestCups : public QObject {
    Q_OBJECT
    std::unique_ptr<Ambiente> env_;
    QDir out_{QString::fromLocal8Bit(getpwuid(getuid())->pw_dir) + "/PDF"};
    QStringList before_;

    static bool Fixture(const QString& action) {
        return QProcess::execute("sh", {qEnvironmentVariable("BRAMA_CUPS_FIXTURE"), action,
                                        qEnvironmentVariable("BRAMA_CUPS_STATE")}) == 0;
    }
    static QString State() {
        QFile f(qEnvironmentVariable("BRAMA_CUPS_STATE"));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).trimmed() : QString();
    }
    // The new jobs in the order they were sent (by job number: two files can
    // land in the same instant), once `count` are written.
    QFileInfoList Jobs(int count) {
        QFileInfoList fresh;
        for (int tries = 0; fresh.size() < count && tries < 300; ++tries) {
            QTest::qWait(200);
            fresh.clear();
            for (const QFileInfo& f : out_.entryInfoList({"*.pdf"}, QDir::Files))
                if (!before_.contains(f.fileName()) && PdfPages(f.filePath()) > 0)
                    fresh << f;
        }
        const auto number = [](const QFileInfo& f) {
            return f.completeBaseName().section("-job_", -1).toInt();
        };
        std::sort(fresh.begin(), fresh.end(),
                  [&](const QFileInfo& a, const QFileInfo& b) { return number(a) < number(b); });
        return fresh;
    }
    // The title as the queue spells it in the file name, and the pages.
    static QString Job(const QFileInfo& f) {
        return f.fileName().section("-job_", 0, 0).section("__", 0, 0) + " " +
               QString::number(PdfPages(f.filePath()));
    }

private Q_SLOTS:
    void initTestCase() {
        if (State() == "skip")
            QSKIP("no print service on this machine");
        InstallFontSubstitutions();
        QVERIFY2(InstalledPrinters().contains("PDF"), qPrintable(InstalledPrinters().join(',')));
    }
    void init() {
        env_ = std::make_unique<Ambiente>(InstalledPrinters());
        Sistema.Capogioco = 0;
        Printer().UsePrinter();
        before_ = out_.entryList({"*.pdf"}, QDir::Files);
    }
    void cleanup() {
        // A job still in the queue would land in the next test's folder listing.
        for (int tries = 0; tries < 150 && !Run("lpstat", {"-o"}).trimmed().isEmpty(); ++tries)
            QTest::qWait(200);
        for (const QString& f : out_.entryList({"*.pdf"}, QDir::Files))
            if (!before_.contains(f))
                out_.remove(f);
        env_.reset();
    }

    // One job a copy; every grape in its stored colour, or no colour at all.
    void listing_data() {
        QTest::addColumn<int>("copies");
        QTest::addColumn<bool>("colour");
        QTest::newRow("one copy in colour") << 1 << true;
        QTest::newRow("three copies in black and white") << 3 << false;
    }
    void listing() {
        QFETCH(int, copies);
        QFETCH(bool, colour);
        frmTabulato w;
        Child<QCheckBox>(&w, "chkColor")->setChecked(colour);
        const auto recorded = Printer().Record([&] { Child(&w, "cmdStampa")->click(); });
        Child<QScrollBar>(&w, "VsCopie")->setValue(copies);
        Child(&w, "cmdStampa")->click();
        QCOMPARE(env_->avvisi(), QStringList());
        const QFileInfoList jobs = Jobs(copies);
        QCOMPARE(jobs.size(), copies);
        QCOMPARE(Job(jobs.last()), "Bramasolovanti_-_Tabulato_-_Prova_di_stampa" +
                                       QString(copies == 1 ? "" : "_-_copia_3_di_3") + " 1");
        QTemporaryDir dir;
        Run("pdftoppm",
            {"-png", "-r", "50", "-singlefile", jobs.last().filePath(), dir.filePath("p")});
        const QImage page(dir.filePath("p.png"));
        const auto distance = [](QRgb a, QRgb b) {
            return qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) +
                   qAbs(qBlue(a) - qBlue(b));
        };
        // No colour but in the stalk, which keeps its own on either paper.
        QRectF stalk;
        for (const PageOp& p : recorded.value(0).ofKind(PageOp::Picture))
            if (p.metafile)
                stalk = QRectF(p.x, p.y, p.width, p.height);
        int coloured = 0, grapes = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                coloured += !stalk.contains(x * 25.4 / 50, y * 25.4 / 50) &&
                            distance(page.pixel(x, y), qGray(page.pixel(x, y)) * 0x010101) > 24;
        const QRgb stored =
            qRgb(ColoreVorlacco & 0xFF, ColoreVorlacco >> 8 & 0xFF, ColoreVorlacco >> 16 & 0xFF);
        for (const PageOp& c : recorded.value(0).ofKind(PageOp::Circle)) // below the digits
            grapes += distance(page.pixel(qRound(c.x * 50 / 25.4),
                                          qRound((c.y + c.radius / 2) * 50 / 25.4)),
                               stored) < 24;
        QCOMPARE(grapes, colour ? 29 : 0);
        QVERIFY2(colour ? coloured > 1000 : coloured == 0, qPrintable(QString::number(coloured)));
    }

    void slipJobs_data() {
        QTest::addColumn<bool>("forecast");
        QTest::addColumn<QStringList>("jobs");
        const QString slips = "Bramasolovanti_-_Schedine_1-9_-_Prova_di_stampa 9";
        QTest::newRow("slips 1 to 9: one job") << false << QStringList{slips};
        QTest::newRow("forecast, then the slips")
            << true << QStringList{"Bramasolovanti_-_Pronostico_-_Prova_di_stampa 1", slips};
    }
    void slipJobs() {
        QFETCH(bool, forecast);
        QFETCH(QStringList, jobs);
        Stampa(Schedine(true, forecast).get(), "1", "9");
        QCOMPARE(env_->avvisi(), QStringList());
        QStringList found;
        for (const QFileInfo& f : Jobs(int(jobs.size())))
            found << Job(f);
        QCOMPARE(found, jobs);
    }

    // Stops the service: keep it last.
    void serviceStopped() {
        if (State() == "theirs")
            QSKIP("the print service was started by someone else");
        QVERIFY(Fixture("pause"));
        frmTabulato listing;
        Child(&listing, "cmdStampa")->click();
        Stampa(Schedine(true, true).get(), "1", "9"); // the sheet fails, the slips are not tried
        QVERIFY(Fixture("start")); // back as it was; the cleanup fixture stops it
        QCOMPARE(env_->avvisi(), QStringList(2, "Stampante non installata"));
        QCOMPARE(env_->script.messages().last().title, QStringLiteral("!!! E R R O R E !!!"));
        QVERIFY(!Printer().InJob());
        QTest::qWait(2000);
        QCOMPARE(out_.entryList({"*.pdf"}, QDir::Files), before_);
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTEST_SET_MAIN_SOURCE_PATH
    if (argc > 1 && qstrcmp(argv[1], "cups") == 0) {
        TestCups cups;
        return QTest::qExec(&cups, argc - 1, argv + 1);
    }
    TestOutputs outputs;
    return QTest::qExec(&outputs, argc, argv);
}

#include "test_outputs.moc"
