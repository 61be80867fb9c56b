// The listing and the slips through the print service, to the queue "PDF" of
// the "cups" fixture (cups_fixture.sh), which writes every job as a PDF file
// into ~/PDF of the printing user.
#include "app/corpo.h"
#include "app/messages.h"
#include "app/printers.h"
#include "app/settings.h"
#include "app/shell.h"
#include "outputs/frmStampaSchedine.h"
#include "outputs/frmTabulato.h"
#include "tests/outputs/support.h"
#include "tests/support/testsupport.h"
#include "ui_frmStampaSchedine.h"
#include "ui_frmTabulato.h"

#include <QtTest>
#include <pwd.h>
#include <unistd.h>

using namespace corpo;
using namespace papers;

namespace {

// Where the queue puts the jobs of this user, whatever HOME says.
QDir OutputFolder() {
    const passwd* pw = getpwuid(getuid());
    return QDir(QString::fromLocal8Bit(pw ? pw->pw_dir : qgetenv("HOME").constData()) + "/PDF");
}

QStringList PdfFiles() {
    return OutputFolder().entryList({"*.pdf"}, QDir::Files);
}

// The files that appeared since `before`, oldest job first, once `count` of
// them are complete (cups-pdf writes them after the job has left us).
QStringList NewJobs(const QStringList& before, int count, int seconds = 60) {
    QElapsedTimer t;
    t.start();
    QStringList fresh;
    do {
        fresh.clear();
        bool complete = true;
        for (const QString& f : PdfFiles())
            if (!before.contains(f)) {
                fresh << OutputFolder().filePath(f);
                complete = complete && PdfPages(fresh.last()) > 0;
            }
        if (complete && fresh.size() >= count) break;
        QTest::qWait(200);
    } while (t.elapsed() < seconds * 1000);
    // The queue writes the jobs one after the other.
    auto job = [](const QString& f) { return QFileInfo(f).lastModified(); };
    std::sort(fresh.begin(), fresh.end(),
              [&](const QString& a, const QString& b) { return job(a) < job(b); });
    return fresh;
}

// A job's title as the queue spells it in the file name, without the "-job_N"
// it appends and the stray characters it sometimes puts after a "__".
QString Title(const QString& file) {
    return QFileInfo(file).fileName().section("-job_", 0, 0).section("__", 0, 0);
}

QString FixtureState() {
    QFile f(qEnvironmentVariable("BRAMA_CUPS_STATE"));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).trimmed() : QString();
}

bool Fixture(const QString& action) {
    return QProcess::execute("sh", {qEnvironmentVariable("BRAMA_CUPS_FIXTURE"), action,
                                    qEnvironmentVariable("BRAMA_CUPS_STATE")}) == 0;
}

} // namespace

class TestCups : public QObject {
    Q_OBJECT
    std::unique_ptr<testsupport::AppFolder> app_;
    QStringList before_; // what ~/PDF held; each test takes its own files away

  private Q_SLOTS:
    void initTestCase() {
        if (FixtureState() == "skip") QSKIP("no print service on this machine");
        InstallFontSubstitutions();
        QVERIFY2(InstalledPrinters().contains("PDF"), qPrintable(InstalledPrinters().join(',')));
    }
    void init() {
        app_ = std::make_unique<testsupport::AppFolder>();
        app_->write("impostazioni.cfg", SettingsBytes("Ricevitoria del Corso", "PDF"));
        app_->write(TaraturaFileName, EncodeTaratura(CalibrazioneT())); // on "PDF"
        NomiRuote = Ruote;
        Sistema = SistemaCompleto(); // slips, and a listing too
        Printer().UsePrinter();
        before_ = PdfFiles();
    }
    void cleanup() {
        for (const QString& f : PdfFiles())
            if (!before_.contains(f)) OutputFolder().remove(f);
        app_.reset();
    }

    void listingCopies_data() {
        QTest::addColumn<int>("copies");
        QTest::newRow("one copy, one file") << 1;
        QTest::newRow("three copies, three files") << 3;
    }
    void listingCopies() {
        QFETCH(int, copies);
        testing::Script script;
        const QStringList before = PdfFiles();
        frmTabulato w;
        w.ui->VsCopie->setValue(copies);
        QTest::mouseClick(w.ui->cmdStampa, Qt::LeftButton);
        QVERIFY2(script.messages().isEmpty(), qPrintable(script.messages().value(0).text));
        const QStringList files = NewJobs(before, copies);
        QCOMPARE(files.size(), copies);
        QCOMPARE(Title(files.last()),
                 copies == 1 ? "Bramasolovanti_-_Tabulato_-_Prova_di_stampa"
                             : "Bramasolovanti_-_Tabulato_-_Prova_di_stampa_-_copia_3_di_3");
        for (const QString& f : files) {
            const QString info = Run("pdfinfo", {f});
            QVERIFY2(info.contains(QRegularExpression("Pages:\\s+1\\n")), qPrintable(info));
            QVERIFY2(info.contains("595 x 842 pts (A4)"), qPrintable(info));
        }
    }

    void slipJobs_data() {
        QTest::addColumn<bool>("forecast");
        QTest::addColumn<QStringList>("pages"); // title and pages of each job
        const QString slips = "Bramasolovanti_-_Schedine_1-9_-_Prova_di_stampa 9";
        QTest::newRow("slips 1 to 9: one job") << false << QStringList{slips};
        QTest::newRow("forecast, then the slips")
            << true << QStringList{"Bramasolovanti_-_Pronostico_-_Prova_di_stampa 1", slips};
    }
    void slipJobs() {
        QFETCH(bool, forecast);
        QFETCH(QStringList, pages);
        testing::Script script;
        const QStringList before = PdfFiles();
        frmStampaSchedine w;
        w.Form_Load();
        w.ui->chkPronostico->setChecked(forecast);
        w.ui->cmdStampa->click();
        QVERIFY2(Avvisi(script).isEmpty(), qPrintable(Avvisi(script).value(0).text));
        QStringList found;
        for (const QString& f : NewJobs(before, int(pages.size())))
            found << QString("%1 %2").arg(Title(f)).arg(PdfPages(f));
        QCOMPARE(found, pages);
    }

    // Stops the service: keep it last.
    void serviceStopped() {
        if (FixtureState() == "theirs")
            QSKIP("the print service was started by someone else: not stopping it");
        QVERIFY(Fixture("pause"));
        const QStringList before = PdfFiles();
        testing::Script script;
        frmTabulato listing;
        QTest::mouseClick(listing.ui->cmdStampa, Qt::LeftButton);
        frmStampaSchedine slips;
        slips.Form_Load();
        slips.ui->cmdStampa->click(); // the sheet fails, and the slips are not tried
        QVERIFY(Fixture("start"));    // back as it was; the cleanup fixture stops it
        QCOMPARE(Avvisi(script).size(), 2);
        for (const Shown& m : Avvisi(script)) {
            QCOMPARE(m.text, QStringLiteral("Stampante non installata"));
            QCOMPARE(m.title, QStringLiteral("!!! E R R O R E !!!"));
            QCOMPARE(m.icon, MsgIcon::Critical);
        }
        QVERIFY(!Printer().InJob());
        QTest::qWait(2000);
        QCOMPARE(PdfFiles(), before);
    }
};

QTEST_MAIN(TestCups)
#include "test_cups.moc"
