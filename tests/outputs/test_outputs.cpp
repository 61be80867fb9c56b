// The papers of outputs/: the listing, the slips, the forecast sheet, the calibration sheets and
// the draw check, with their windows and files; whole jobs against the snapshots in golden/
// (testsupport::CheckGolden). Run with the argument "cups", the program prints through the queue
// "PDF" of the "cups" fixture (cups_fixture.sh), which writes each job into ~/PDF.
#include "app/corpo.h"
#include "app/fileio.h"
#include "app/finestre.h"
#include "app/maker.h"
#include "app/messages.h"
#include "app/printers.h"
#include "app/settings.h"
#include "app/shell.h"
#include "gioco/verifica.h"
#include "outputs/anteprima.h"
#include "outputs/frmPrnInCorso.h"
#include "outputs/frmStampaSchedine.h"
#include "outputs/frmTabulato.h"
#include "outputs/frmTaraturaAmbetto.h"
#include "outputs/frmVerifica.h"
#include "outputs/schedine.h"
#include "outputs/stampaschedine.h"
#include "outputs/taratura.h"
#include "tests/outputs/sample.h"
#include "tests/support/testsupport.h"
#include "winnings/frmStatistiche.h"
#include "winnings/frmVincite.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPushButton>
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

int PdfPages(const QString& pdf) { // 0 for no PDF
    return Run("pdfinfo", {pdf}).section("Pages:", 1).section('\n', 0, 0).trimmed().toInt();
}

// Answers every PDF file dialog with path while alive; keeps the names offered.
struct RispostaPdf {
    QTimer timer;
    QStringList offered;
    explicit RispostaPdf(const QString& path) {
        QObject::connect(&timer, &QTimer::timeout, [this, path] {
            if (auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                auto* name = d->findChild<QLineEdit*>("fileNameEdit");
                offered << name->text();
                name->setText(path);                // typed by the player
                static_cast<QDialog*>(d)->accept(); // as the dialog's Save button
            }
        });
        timer.start(10);
    }
};

// Number cell 1 at (20, 30), the amounts grid and the wheels derived from it.
TaraturaAmbetto CalibrazioneT() {
    return {5, 4.5f, 30, 20, 12.5f, 0, 0, 5, 4, QualitaNormale, QStringLiteral("PDF")};
}

void Stampa(QWidget* w, const QString& da, const QString& a) {
    Child<QLineEdit>(w, "meDa")->setText(da);
    Child<QLineEdit>(w, "meA")->setText(a);
    Child(w, "cmdStampa")->click();
}

// A folder with T saved and the settings, one printer "PDF", and the sample
// system with the colours the main window would hand its windows.
struct Ambiente {
    testsupport::AppFolder folder{true};
    testing::PrinterListScope printers{{"PDF"}};
    testing::Script script;
    testing::MakerAddressScope maker{QString()}; // papers as a build that names no maker
    SystemRecord Sistema = SistemaCompleto();
    // Dark blue head number: its digits turn white.
    Colori colori{ColoreVorlaccoPredefinito, 0x800000};
    PrinterPage pagina; // as the main window hands it on
    explicit Ambiente(const QStringList& installed = {"PDF"}) : printers(installed) {
        folder.write(NomeFileTaratura, CodificaTaratura(CalibrazioneT()));
        folder.write("impostazioni.cfg", SettingsBytes("Ricevitoria del Corso", "PDF"));
    }
    DatiCarta carta() const { return {Sistema, colori, QString()}; }
    // What was said, but the rules question (answered "Stampa comunque").
    QStringList avvisi() const {
        QStringList out;
        for (const Shown& m : script.messages())
            if (m.buttons != MsgButtons::PrintAnywayCancel)
                out << m.text;
        return out;
    }
    std::unique_ptr<frmStampaSchedine> Schedine(bool slips = true, bool forecast = false) {
        auto w = std::make_unique<frmStampaSchedine>(nullptr, carta(), pagina);
        w->Form_Load();
        Child<QCheckBox>(w.get(), "chkSchedine")->setChecked(slips);
        Child<QCheckBox>(w.get(), "chkPronostico")->setChecked(forecast);
        return w;
    }
    // The check window with a typed draw checked: its Stampa ready.
    std::unique_ptr<QWidget> Verificata() {
        auto w = std::make_unique<frmVerifica>(Sistema, pagina);
        for (int i = 0; i < 5; ++i)
            w->findChild<QLineEdit*>(QString("txtEstratto_%1").arg(i))
                ->setText(QString::number(i + 1));
        w->Verifica();
        return w;
    }
    std::unique_ptr<frmTaraturaAmbetto> Taratura() {
        auto w = std::make_unique<frmTaraturaAmbetto>(nullptr, carta(), pagina);
        w->Form_Load();
        return w;
    }
};

} // namespace

class TestOutputs : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        InstallFontSubstitutions();
        AdattaFinestreAlloSchermo();
        QLocale::setDefault(testsupport::italian());
    }

    // The windows larger than a small screen: each frame on the screen's free
    // area, its buttons inside it (ctest runs this also on 1280x1024 at scale 2).
    void windowsFitTheScreen() {
        Ambiente env;
        auto slips = env.Schedine();
        Child(slips.get(), "cmdAnteprima")->click();
        frmVerifica verifica(env.Sistema, env.pagina);
        frmVincite vincite(nullptr, env.Sistema);
        frmStatistiche statistiche(env.Sistema, Archivio{});
        for (QWidget* w : QList<QWidget*>{slips->findChild<QWidget*>("frmAnteprima"), &verifica,
                                          &vincite, &statistiche}) {
            w->show();
            QVERIFY(QTest::qWaitForWindowExposed(w));
            QVERIFY2(w->screen()->availableGeometry().contains(w->frameGeometry()),
                     qPrintable(w->objectName() + QDebug::toString(w->frameGeometry())));
            for (const QAbstractButton* b : w->findChildren<QAbstractButton*>())
                if (b->isVisibleTo(w))
                    QVERIFY2(w->rect().contains(QRect(b->mapTo(w, QPoint()), b->size())),
                             qPrintable(b->text()));
            // Shrunk in proportion, each control where the design has it.
            const QSize screen = w->screen()->size();
            testsupport::CheckGoldenWindow(QStringLiteral("tests/outputs/golden/fit_%1_%2x%3.txt")
                                               .arg(w->objectName())
                                               .arg(screen.width())
                                               .arg(screen.height()),
                                           w);
        }
    }

    // The papers' windows as they open on the sample system, and the preview of its slips.
    void windows() {
        Ambiente env;
        frmTabulato listing(nullptr, env.carta(), env.pagina);
        auto slips = env.Schedine();
        auto calibration = env.Taratura();
        Child(slips.get(), "cmdAnteprima")->click();
        for (QWidget* w : QList<QWidget*>{&listing, slips.get(), calibration.get(),
                                          slips->findChild<QWidget*>("frmAnteprima")}) {
            w->show();
            QVERIFY(QTest::qWaitForWindowExposed(w));
            testsupport::CheckGoldenWindow("tests/outputs/golden/" + w->objectName() + ".txt", w);
        }
        QString opened; // Taratura opens the calibration over the slips
        testsupport::CloseNextModal(&listing, &opened);
        Child(slips.get(), "cmdTaratura")->click();
        QCOMPARE(opened, "frmTaraturaAmbetto");
    }

    // Each paper whole, against its snapshot.
    void papers_data() {
        QTest::addColumn<QString>("paper");
        for (const char* name :
             {"tabulato", "tabulato_bianco_nero", "tabulato_capogioco",
              "tabulato_capogioco_bianco_nero", "schedine_1_9", "pronostico", "righello",
              "prova_taratura", "verifica", "verifica_tutte", "colpi"})
            QTest::newRow(name) << QString(name);
    }
    void papers() {
        QFETCH(QString, paper);
        Ambiente env; // head number 7
        env.pagina.UseRecorder();
        std::optional<testing::MakerAddressScope> address; // these print one
        if (QStringList{"tabulato", "schedine_1_9", "pronostico"}.contains(paper))
            address.emplace("https://www.example.com");
        if (paper.startsWith("tabulato")) {
            env.Sistema.Capogioco = paper.contains("capogioco") ? 7 : 0;
            frmTabulato w(nullptr, env.carta(), env.pagina);
            Child<QCheckBox>(&w, "chkColor")->setChecked(!paper.endsWith("bianco_nero"));
            Child(&w, "cmdStampa")->click();
        } else if (paper == "schedine_1_9" || paper == "pronostico") {
            Stampa(env.Schedine(paper != "pronostico", paper == "pronostico").get(), "1", "9");
        } else if (paper.startsWith("verifica")) { // on one wheel, or the ten of "Tutte"
            QList<std::pair<int, Estratti>> draws;
            env.Sistema.Ruota = paper == "verifica" ? env.Sistema.Ruota : "Tutte";
            for (int r = paper == "verifica" ? 5 : 0; r < (paper == "verifica" ? 6 : 10); ++r)
                draws.append({r, {1, 10, 45, 7, 77}});
            const auto esito = VerificaEstrazione(env.Sistema, draws, int(draws.size()));
            StampaVerifica(env.pagina, env.Sistema, *esito, "Estrazione del 04/01/2025");
        } else if (paper == "colpi") {             // 45 draws followed, one a line: a second page
            EsitoColpi esito{{}, {9000, 0, 0, 0}}; // 2 € a draw, nothing won
            for (int i = 0; i < 45; ++i)
                esito.colpi.push_back(
                    {QDate(2025, 1, 2).addDays(2 * i), {}, 0, 0, {}, -200 * (i + 1)});
            StampaColpi(env.pagina, env.Sistema, esito, "Dal 02/01/2025");
        } else {
            Child(env.Taratura().get(), paper == "righello" ? "cmdRighello" : "cmdTest")->click();
        }
        QCOMPARE(env.avvisi(), QStringList());
        testsupport::CheckGolden("tests/outputs/golden/" + paper + ".txt",
                                 env.pagina.recordedJobs());
    }

    // "printA.cfg" byte for byte: after the test print, and single values.
    void calibrationBytes_data() {
        QTest::addColumn<float>("left");
        QTest::addColumn<int>("quality");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("message");
        const auto row = [](const char* tag, float left, int quality, const QString& name,
                            int offset, const QByteArray& bytes,
                            const QStringList& installed = {"PDF"}, const QString& message = {}) {
            QTest::newRow(tag) << left << quality << name << offset << bytes << installed
                               << message;
        };
        QFile golden(testsupport::sourceFolder() + "tests/outputs/golden/printA_T.hex");
        QVERIFY(golden.open(QIODevice::ReadOnly)); // T once the test print derived the grid
        row("test print", 20, 9999, "PDF", 0, QByteArray::fromHex(golden.readAll()));
        row("Left 300, the largest", 300, 9999, "PDF", 384, QByteArray("\0\0\x96\x43", 4));
        row("Qualita 1111", 20, 1111, "PDF", 1152, QByteArray("\2\0\x57\4", 4));
        row("name in the code page", 20, 9999, "Stampa€ è", 1280,
            QByteArray("\x09\x00Stampa\x80 \xE8", 11), {"Stampa€ è"});
        // The window's printer: a missing one leaves the stored name for when it comes back.
        row("printer known", 20, 9999, "Beta", 1280, QByteArray("\4\0Beta", 6), {"Alfa", "Beta"});
        row("printer's case differs", 20, 9999, "beta", 1280, QByteArray("\4\0Alfa", 6),
            {"Alfa", "Beta"}, "Attenzione non e' selezionata nessuna stampante");
        row("one printer, another saved", 20, 9999, "Beta", 1280, QByteArray("\4\0Alfa", 6),
            {"Alfa"}, "Attenzione non e' selezionata nessuna stampante");
        row("no printer installed", 20, 9999, "Beta", 1280, QByteArray("\4\0Beta", 6), {},
            "Attenzione nessuna stampante installata");
    }
    void calibrationBytes() {
        QFETCH(float, left);
        QFETCH(int, offset);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        Ambiente env(testsupport::Fetch<QStringList>("installed"));
        TaraturaAmbetto t = CalibrazioneT();
        t.Left = left;
        t.Ximporti = left + 14.5f; // the grid as derived from it, past 300 mm for Left 300
        t.Qualita = int16_t(testsupport::Fetch<int>("quality"));
        t.Stampante = testsupport::Fetch<QString>("name");
        env.folder.write(NomeFileTaratura, CodificaTaratura(t));
        env.pagina.UseRecorder();
        auto w = env.Taratura();
        if (offset == 0)
            Child(w.get(), "cmdTest")->click(); // derives the amounts grid
        Child(w.get(), "cmdSalva")->click();
        QCOMPARE(env.folder.read(NomeFileTaratura).mid(offset, bytes.size()).toHex(' '),
                 bytes.toHex(' '));
        QCOMPARE(env.avvisi(), message.isEmpty() ? QStringList() : QStringList{message});
    }

    // Every value typed in the window is what Salva writes; a refused one is said once.
    void calibrationTyped() {
        Ambiente env;
        auto w = env.Taratura();
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QLineEdit* box = nullptr;
        // The box confirmed again while its message shows, as a box losing the
        // focus to the message does on some Qt versions.
        bool again = true;
        env.script.onShown = [&](const Shown&) {
            if (std::exchange(again, false))
                Q_EMIT box->editingFinished();
        };
        const std::tuple<int, const char*, float> typed[] = {
            {0, "5,25", 5.25f},   {1, "4,75", 4.75f},  {2, "31,5", 31.5f},     {3, "300", 300},
            {4, "13,25", 13.25f}, {5, "35,5", 35.5f},  {6, "105,75", 105.75f}, {7, "5,5", 5.5f},
            {8, "3,75", 3.75f},   {2, "300,5", 31.5f}, // refused: the value typed before stays
            {8, "1,5", 3.75f},                         // refused: marks 2 mm wide would overlap
        };
        for (const auto& [field, text, value] : typed) {
            box = w->casella(field);
            box->setFocus();
            QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(box, text);
            QTest::keyClick(box, Qt::Key_Tab);
        }
        QTest::mouseClick(Child(w.get(), "cmdSalva"), Qt::LeftButton);
        const TaraturaAmbetto saved = DecodificaTaratura(env.folder.read(NomeFileTaratura));
        for (const auto& [field, text, value] : typed)
            QCOMPARE(Distanza(saved, field), value);
        QVERIFY(!again);                                   // the message did show
        QCOMPARE(int(saved.Qualita), int(QualitaNormale)); // the window leaves it as read
        box->setFocus(); // a wrong value not confirmed when the window goes: nothing said
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, "300,5");
        w.reset();
        QCOMPARE(env.avvisi(), (QStringList{"Valore non valido: da 0 a 300 mm",
                                            "Valore non valido: da 2 a 300 mm"}));
    }

    // The slip picture drawn under the preview's marks: each wheel and amount
    // cell around the mark the calibration puts there.
    void slipPictureUnderMarks() {
        QImage image(600, 840, QImage::Format_RGB32); // 4 pixels a millimetre
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.scale(4, 4);
        DisegnaSchedina(painter, CalibrazioneT());
        painter.end();
        testsupport::CheckGoldenImage("tests/outputs/golden/schedina.png", image);
    }

    // Each press, a double click here, starts one run. The copies count wherever the listing goes;
    // a check goes to the printer or to the file it was sent to. Files and previews need no printer
    // installed, and opening a preview prints nothing (the printer is a file here).
    void pdfPages_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("copies");
        QTest::addColumn<int>("pages"); // of the file chosen; 0: no file was asked for
        QTest::addColumn<int>("jobs");  // sent to the printer
        QTest::newRow("listing, File PDF, 2 copies") << "cmdStampa" << 2 << 2 << 0;
        QTest::newRow("listing, preview and its PDF, 2 copies") << "cmdAnteprima" << 2 << 2 << 0;
        QTest::newRow("listing, 0 copies") << "cmdStampa" << 0 << 0 << 0;
        QTest::newRow("listing, preview, 0 copies") << "cmdAnteprima" << 0 << 0 << 0;
        QTest::newRow("check, PDF") << "cmdPdf" << 1 << 1 << 0;
        QTest::newRow("check, Stampa") << "cmdStampa" << 1 << 0 << 1;
        QTest::newRow("slips, Stampa") << "cmdStampa" << 1 << 0 << 1;
        QTest::newRow("ruler, Righello") << "cmdRighello" << 1 << 0 << 1;
    }
    void pdfPages() {
        QFETCH(QString, button);
        QFETCH(int, copies);
        QFETCH(int, pages);
        QFETCH(int, jobs);
        const QString window = QString(QTest::currentDataTag()).section(',', 0, 0);
        const bool preview = button == "cmdAnteprima";
        Ambiente env(jobs > 0 ? QStringList{"PDF"} : QStringList{});
        QTemporaryDir dir;
        const QString file = dir.filePath("scelto.pdf"), printer = dir.filePath("stampante.pdf");
        preview ? env.pagina.UsePdfFile(printer) : env.pagina.UseRecorder();
        env.Sistema.NomeSistema = "pro/va.vrl "; // offered as "pro_va": no folder in a file name
        RispostaPdf answer(file);
        std::unique_ptr<QWidget> w =
            window == "check"   ? env.Verificata()
            : window == "slips" ? std::unique_ptr<QWidget>(env.Schedine())
            : window == "ruler" ? std::unique_ptr<QWidget>(env.Taratura())
                                : std::make_unique<frmTabulato>(nullptr, env.carta(), env.pagina);
        if (window == "listing") {
            auto* bar = Child<QScrollBar>(w.get(), "VsCopie"); // 20 at its top: Up adds one
            bar->setValue(7);
            bar->setSliderPosition(1); // dragged down to one
            QTest::keyClick(bar, copies > 1 ? Qt::Key_Up : Qt::Key_Down);
            if (!preview) // said where the listing goes
                Child<QCheckBox>(w.get(), "chkFilePdf")->click();
            QCOMPARE(Child<QLabel>(w.get(), "lblStampante")->text().endsWith(": File PDF"),
                     !preview);
        }
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QPushButton* b = Child(w.get(), qPrintable(button));
        QTest::mouseDClick(w->windowHandle(), Qt::LeftButton, {},
                           b->mapTo(w.get(), b->rect().center()));
        QCoreApplication::processEvents();
        if (auto* shown = w->findChild<frmAnteprima*>()) {
            QCOMPARE(shown->pagine(), pages);
            shown->cmdPdf->click();
        }
        QCOMPARE(env.avvisi(), copies > 0 ? QStringList()
                                          : QStringList{"Le copie sono 0: scegli "
                                                        "almeno una copia del tabulato."});
        const QString offered =
            window == "check" ? "Bramasolovanti - Verifica - pro_va.pdf" : "pro_va.pdf";
        QCOMPARE(answer.offered, pages > 0 ? QStringList{offered} : QStringList());
        QCOMPARE(QFile::exists(file) ? PdfPages(file) : 0, pages);
        QCOMPARE(env.pagina.recordedJobs().size(), jobs);
        QVERIFY(!QFile::exists(printer));
    }

    // One message, and a job only where the paper can still go out: a bad range or the rules
    // question answered "Annulla" print nothing; a calibration putting marks in a corner is unused.
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
        QTest::newRow("range 9 1, before the forecast") << 1 << "91"
                                                        << "'DA' è maggiore di 'A'" << 0;
        QTest::newRow("rules, Annulla")
            << 4 << "13"
            << "Il terminale del Lotto rifiuterà queste schedine:\n\n"
               "Schedina 1 (Cinquina 1): 1,55 € non è un multiplo di 0,50 €\n"
               "Schedina 2 (Cinquina 2): 3,60 € non è un multiplo di 0,50 €\n"
               "Schedina 3 (Quaterna 1): la puntata Ambo di 0,40 € non si può segnare sulla "
               "schedina (si segnerebbe 0,35 €)\n"
               "Schedina 3 (Quaterna 1): la puntata Quaterna di 0,90 € non si può segnare sulla "
               "schedina (si segnerebbe 0,85 €)\n\n"
               "Stamparle comunque?"
            << 0;
        // Slip 9 then lands where the shipped calibration puts it.
        QTest::newRow("empty calibration")
            << 5 << "99"
            << "Il file \"printA.cfg\" è vuoto: si usa la taratura predefinita. Salva la "
               "taratura per scriverlo di nuovo."
            << 1;
        QTest::newRow("calibration with cells 0 mm apart")
            << 6 << "99"
            << "Il file \"printA.cfg\" contiene distanze non valide (da 0 a 300 mm, almeno 2 mm "
               "tra due caselle): la taratura non è stata letta."
            << 1;
    }
    void oneMessage() {
        QFETCH(int, fault);
        QFETCH(QString, range);
        Ambiente env(fault == 0 ? QStringList{} : QStringList{"PDF"});
        if (fault != 0)
            env.pagina.UseRecorder();
        if (fault == 3)
            env.Sistema.Ruota = "Atlantide ";
        env.Sistema.ImpQuad1 = {0.4f, 0.7f, 0.9f}; // 2,00 €, but each amount cell marks once
        const TaraturaAmbetto apart{5, 4.5f, 30, 50, 12.5f, 0, 0, 0, 4, 0, {}}; // amounts at 0 mm
        if (fault >= 5) // empty, or number 1 at (50, 30)
            env.folder.write(NomeFileTaratura, fault == 5 ? QByteArray() : CodificaTaratura(apart));
        env.script.queueAnswer(MsgResult::Cancel);
        if (range.isEmpty()) {
            frmTabulato w(nullptr, env.carta(), env.pagina);
            Child<QScrollBar>(&w, "VsCopie")->setValue(3);
            Child(&w, "cmdStampa")->click();
        } else {
            Stampa(env.Schedine(true, fault < 4).get(), range.left(1), range.right(1));
        }
        QCOMPARE(env.script.messages().size(), 1);
        QTEST(env.script.messages()[0].text, "text");
        QTEST(int(env.pagina.recordedJobs().size()), "jobs");
        if (fault >= 5) // the slip as the calibration used puts it
            testsupport::CheckGolden(QString("tests/outputs/golden/taratura_%1.txt").arg(fault),
                                     env.pagina.recordedJobs());
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
        env.pagina.UseRecorder();
        std::unique_ptr<QWidget> w;
        if (calibration) {
            w = env.Taratura();
            Child(w.get(), "cmdTest")->click();
            Child(w.get(), "cmdRighello")->click();
        } else {
            w = env.Schedine();
            Stampa(w.get(), "1", "3");
        }
        const QList<RecordedJob> jobs = env.pagina.recordedJobs();
        QCOMPARE(jobs.size(), calibration ? 2 : 1);
        Child(w.get(), "cmdAnteprima")->click();
        auto* preview = w->findChild<frmAnteprima*>();
        QVERIFY(preview);
        QCOMPARE(preview->pagine(), pages);
        // The first sheets as the preview shows them, with the slip picture under the marks.
        testsupport::CheckGoldenImage(QString("tests/outputs/golden/anteprima_%1.png").arg(pages),
                                      preview->anteprima->grab().toImage());
        // The page in view, shown and said; Tab goes through the controls as they stand.
        const QString page = QString("Pagina 1 di %1").arg(pages);
        QCOMPARE(preview->lblPagina->text(), page);
        QVERIFY(QTest::qWaitForWindowActive(preview));
        preview->cmdChiudi->setFocus();
        QStringList tab;
        for (int i = 0; i < 7; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            const auto* said = QAccessible::queryAccessibleInterface(QApplication::focusWidget());
            tab << (said->text(QAccessible::Name) + ' ' + said->text(QAccessible::Description))
                       .trimmed();
        }
        QCOMPARE(tab.join('|'), "Pagine da stampare " + page +
                                    "|Riduci|Ingrandisci|Adatta|Salva come PDF...|Stampa|Chiudi");
        if (!calibration) // the slip window shows the under-18 notice, reads out each amount
            QVERIFY(!Child<QLabel>(w.get(), "vietato")->pixmap().isNull() &&
                    Child<QLabel>(w.get(), "lblTotali")
                        ->accessibleName()
                        .startsWith("Importo di ogni schedina: schedina 1, 1,55 €; schedina 2, "
                                    "3,60 €; "));
        preview->cmdStampa->click();
        const QList<RecordedJob> again = env.pagina.recordedJobs().mid(jobs.size());
        QCOMPARE(again.size(), jobs.size());
        for (int i = 0; i < jobs.size(); ++i) {
            QCOMPARE(again[i].describe(), jobs[i].describe());
            QVERIFY(again[i].ofKind(PageOp::Picture).isEmpty());
        }
    }

    // The slip window offers slips 1 to 9, only what can print; closed, it frees the main window.
    void slipWindowGoes() {
        Ambiente env;
        QWidget main;
        main.setEnabled(false); // as the main window does before opening it
        MostraStampaSchedine(&main, env.carta(), env.pagina);
        const QPointer<frmStampaSchedine> w = main.findChild<frmStampaSchedine*>();
        QVERIFY(w && w->isVisible());
        QCOMPARE(Child<QLineEdit>(w, "meA")->text(), "9"); // slips 1 to 9 offered, of 9
        QCOMPARE(Child<QLabel>(w, "labSchede")->text(), "9");
        QVERIFY(!Child<QLabel>(w, "imgNewScheda")->pixmap().isNull()); // the slip's picture
        Child<QLineEdit>(w, "meDa")->setFocus();
        QTest::keyClick(Child<QLineEdit>(w, "meDa"), Qt::Key_Return); // Enter goes on to "A",
        QTest::keyClick(w->focusWidget(), Qt::Key_Enter);             // then to Stampa
        QCOMPARE(w->focusWidget()->objectName(), "cmdStampa");
        Child<QCheckBox>(w, "chkSchedine")->setChecked(false); // the forecast alone: no range
        QVERIFY(!Child<QLineEdit>(w, "meDa")->isEnabled() &&
                !Child<QLineEdit>(w, "meA")->isEnabled());
        Child<QCheckBox>(w, "chkPronostico")->setChecked(false); // nothing to print
        QVERIFY(!Child(w, "cmdStampa")->isEnabled());
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
        env.pagina.UsePdfFile(pdf);
        auto w = env.Schedine();
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
        env.Sistema.NomeSistema = "Prova di stampa.vrl "; // the title names it without ".vrl"
        Stampa(w.get(), "1", "9");
        watcher.stop();
        QCOMPARE(labels.last(), QStringLiteral("Scheda n. 0003"));
        QVERIFY(closeRefused && progress() == nullptr);
        QVERIFY(Run("pdfinfo", {pdf})
                    .contains(QRegularExpression(
                        "Title: +Bramasolovanti - Schedine 1-3 - Prova di stampa\n")));
        QCOMPARE(PdfPages(pdf), 3);
        // Dark at every square's centre, 4 pixels a millimetre.
        Run("pdftoppm", {"-r", "101.6", "-gray", "-png", pdf, dir.filePath("p")});
        const auto recorded = env.pagina.Record([&env] { Stampa(env.Schedine().get(), "1", "3"); });
        for (const PageOp& b : recorded.value(0).ofKind(PageOp::Box)) {
            const QImage page(dir.filePath(QString("p-%1.png").arg(b.page)));
            QVERIFY2(qGray(page.pixel(int((b.x + 1) * 4), int((b.y + 1) * 4))) < 100,
                     qPrintable(b.describe()));
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

    // Each run's jobs by their own title: another run may print into ~/PDF meanwhile.
    static QString Name() { return QString("Prova_%1").arg(getpid()); }
    // The new jobs in the order they were sent (by job number: two files can
    // land in the same instant), once `count` are written.
    QFileInfoList Jobs(int count) {
        QFileInfoList fresh;
        for (int tries = 0; fresh.size() < count && tries < 300; ++tries) {
            QTest::qWait(200);
            fresh.clear();
            for (const QFileInfo& f : out_.entryInfoList({"*.pdf"}, QDir::Files))
                if (!before_.contains(f.fileName()) && f.fileName().contains(Name()) &&
                    PdfPages(f.filePath()) > 0)
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
        if (ReadSmallFile(qEnvironmentVariable("BRAMA_CUPS_STATE"), 64, nullptr) == "skip\n")
            QSKIP("no print service on this machine");
        InstallFontSubstitutions();
        QVERIFY2(InstalledPrinters().contains("PDF"), qPrintable(InstalledPrinters().join(',')));
    }
    void init() {
        env_ = std::make_unique<Ambiente>(InstalledPrinters());
        env_->Sistema.Capogioco = 0;
        env_->Sistema.NomeSistema = Name();
        before_ = out_.entryList({"*.pdf"}, QDir::Files);
    }
    void cleanup() {
        // A job still in the queue would land in the next test's folder listing.
        for (int tries = 0; tries < 150 && !Run("lpstat", {"-o"}).trimmed().isEmpty(); ++tries)
            QTest::qWait(200);
        for (const QString& f : out_.entryList({"*.pdf"}, QDir::Files))
            if (!before_.contains(f) && f.contains(Name()))
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
        frmTabulato w(nullptr, env_->carta(), env_->pagina);
        Child<QCheckBox>(&w, "chkColor")->setChecked(colour);
        const auto recorded = env_->pagina.Record([&] { Child(&w, "cmdStampa")->click(); });
        Child<QScrollBar>(&w, "VsCopie")->setValue(copies);
        Child(&w, "cmdStampa")->click();
        QCOMPARE(env_->avvisi(), QStringList());
        const QFileInfoList jobs = Jobs(copies);
        QCOMPARE(jobs.size(), copies);
        QCOMPARE(Job(jobs.last()), "Bramasolovanti_-_Tabulato_-_" + Name() +
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
        int coloured = 0; // the grapes' colours are the listing snapshot's
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                coloured += !stalk.contains(x * 25.4 / 50, y * 25.4 / 50) &&
                            distance(page.pixel(x, y), qGray(page.pixel(x, y)) * 0x010101) > 24;
        QVERIFY2(colour ? coloured > 1000 : coloured == 0, qPrintable(QString::number(coloured)));
    }

    void slipJobs_data() {
        QTest::addColumn<bool>("forecast");
        QTest::addColumn<QStringList>("jobs");
        const QString slips = "Bramasolovanti_-_Schedine_1-9_-_" + Name() + " 9";
        QTest::newRow("slips 1 to 9: one job") << false << QStringList{slips};
        QTest::newRow("forecast, then the slips")
            << true << QStringList{"Bramasolovanti_-_Pronostico_-_" + Name() + " 1", slips};
    }
    void slipJobs() {
        QFETCH(QStringList, jobs);
        Stampa(env_->Schedine(true, testsupport::Fetch<bool>("forecast")).get(), "1", "9");
        QCOMPARE(env_->avvisi(), QStringList());
        QStringList found;
        for (const QFileInfo& f : Jobs(int(jobs.size())))
            found << Job(f);
        QCOMPARE(found, jobs);
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
