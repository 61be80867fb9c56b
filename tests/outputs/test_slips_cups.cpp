// The slips and the forecast sheet through a real print service: a CUPS queue
// that turns every job into a PDF file in $HOME/PDF.
#include "app/corpo.h"
#include "app/messages.h"
#include "app/printers.h"
#include "app/shell.h"
#include "outputs/frmStampaSchedine.h"
#include "outputs/frmTaraturaAmbetto.h"
#include "outputs/taratura.h"
#include "printing/printerpage.h"
#include "tests/outputs/slipsupport.h"
#include "tests/support/testsupport.h"
#include "ui_frmStampaSchedine.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

using namespace corpo;

namespace {

const QString CupsSocket = QStringLiteral("/run/cups/cups.sock");

bool Run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

int Pages(const QString& pdf) {
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    info.waitForFinished(30000);
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info.readAllStandardOutput());
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QDir OutputFolder() { return QDir(QDir::homePath() + QStringLiteral("/PDF")); }

QStringList PdfFiles() {
    return OutputFolder().entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name);
}

// The files that appeared since `before`, oldest job first, once `count`
// of them are complete (cups-pdf writes them after the job has left us).
QStringList NewJobs(const QStringList& before, int count) {
    QStringList fresh;
    for (int i = 0; i < 600; ++i) {
        fresh.clear();
        for (const QString& f : PdfFiles())
            if (!before.contains(f))
                fresh << OutputFolder().filePath(f);
        bool complete = fresh.size() >= count;
        for (const QString& f : fresh)
            complete = complete && Pages(f) > 0;
        if (complete)
            break;
        QTest::qWait(100);
    }
    // Job numbers grow: "...-job_12.pdf" comes after "...-job_9.pdf".
    auto job = [](const QString& f) {
        return QRegularExpression(QStringLiteral("job_(\\d+)")).match(f).captured(1).toInt();
    };
    std::sort(fresh.begin(), fresh.end(), [&](const QString& a, const QString& b) { return job(a) < job(b); });
    return fresh;
}

} // namespace

class TestSlipsCups : public QObject {
    Q_OBJECT
    QProcess cupsd_; // only when this test started the print service
    QString queue_;

private Q_SLOTS:
    void initTestCase() {
        InstallFontSubstitutions();
        QLocale::setDefault(testsupport::italian());
        if (QStandardPaths::findExecutable(QStringLiteral("cupsd"), {QStringLiteral("/usr/sbin")})
                .isEmpty() ||
            !QFileInfo::exists(QStringLiteral("/usr/lib/cups/backend/cups-pdf")))
            QSKIP("CUPS or cups-pdf is not installed");
        if (!testsupport::runningAsRoot())
            QSKIP("adding a print queue needs root");
        if (!QFileInfo::exists(CupsSocket)) {
            QDir().mkpath(QStringLiteral("/run/cups"));
            cupsd_.start(QStringLiteral("/usr/sbin/cupsd"), {QStringLiteral("-f")});
            QVERIFY(cupsd_.waitForStarted());
            QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(CupsSocket), 10000);
        }
        queue_ = QStringLiteral("Schedine%1").arg(QCoreApplication::applicationPid());
        QVERIFY(Run(QStringLiteral("/usr/sbin/lpadmin"),
                    {QStringLiteral("-p"), queue_, QStringLiteral("-E"), QStringLiteral("-v"),
                     QStringLiteral("cups-pdf:/"), QStringLiteral("-m"),
                     QStringLiteral("lsb/usr/cups-pdf/CUPS-PDF_opt.ppd")}));
        QTRY_VERIFY_WITH_TIMEOUT(InstalledPrinters().contains(queue_), 10000);
    }

    void cleanupTestCase() {
        if (!queue_.isEmpty())
            Run(QStringLiteral("/usr/sbin/lpadmin"), {QStringLiteral("-x"), queue_});
        if (cupsd_.state() != QProcess::NotRunning) {
            cupsd_.terminate();
            cupsd_.waitForFinished(10000);
        }
    }

    void jobs_data() {
        QTest::addColumn<bool>("forecast");
        QTest::addColumn<QList<int>>("pages");
        QTest::newRow("slips 1 to 9") << false << QList<int>{9};
        QTest::newRow("forecast, then the slips") << true << QList<int>{1, 9};
    }
    void jobs() {
        QFETCH(bool, forecast);
        QFETCH(QList<int>, pages);
        testsupport::AppFolder folder(true);
        TaraturaAmbetto t = DecodeTaratura(folder.read(TaraturaFileName));
        t.Stampante = queue_;
        folder.write(TaraturaFileName, EncodeTaratura(t));
        Sistema = slips::SistemaCompleto();
        NomiRuote = slips::Ruote;
        Printer().UsePrinter();
        testing::Script script;
        frmStampaSchedine w;
        w.Form_Load();
        w.ui->chkPronostico->setChecked(forecast);
        const QStringList before = PdfFiles();
        w.ui->cmdStampa->click();
        QVERIFY2(script.messages().isEmpty(), qPrintable(script.messages().value(0).text));
        QCOMPARE(Printer().DeviceName(), queue_);
        const QStringList fresh = NewJobs(before, int(pages.size()));
        QCOMPARE(fresh.size(), pages.size());
        for (int i = 0; i < fresh.size(); ++i)
            QCOMPARE(Pages(fresh[i]), pages[i]);
    }

    void queueRemovedBeforePrinting() {
        testsupport::AppFolder folder(true);
        const QString gone = queue_ + QStringLiteral("Via");
        QVERIFY(Run(QStringLiteral("/usr/sbin/lpadmin"),
                    {QStringLiteral("-p"), gone, QStringLiteral("-E"), QStringLiteral("-v"),
                     QStringLiteral("cups-pdf:/"), QStringLiteral("-m"),
                     QStringLiteral("lsb/usr/cups-pdf/CUPS-PDF_opt.ppd")}));
        QTRY_VERIFY_WITH_TIMEOUT(InstalledPrinters().contains(gone), 10000);
        TaraturaAmbetto t = DecodeTaratura(folder.read(TaraturaFileName));
        t.Stampante = gone;
        folder.write(TaraturaFileName, EncodeTaratura(t));
        Sistema.Ruota = QStringLiteral("Napoli    ");
        Printer().UsePrinter();
        testing::Script script;
        frmStampaSchedine w;
        w.Form_Load();
        w.ui->chkPronostico->setChecked(false);
        // The queue goes away after the calibration chose it, before the job ends.
        w.ui->meDa->setText(QStringLiteral("1"));
        w.ui->meA->setText(QStringLiteral("1"));
        LeggiTaraturaAmbetto(w.Taratura);
        QCOMPARE(Printer().DeviceName(), gone);
        QVERIFY(Run(QStringLiteral("/usr/sbin/lpadmin"), {QStringLiteral("-x"), gone}));
        QTRY_VERIFY_WITH_TIMEOUT(!InstalledPrinters().contains(gone), 10000);
        const QStringList before = PdfFiles();
        w.StampaSchedina();
        QCOMPARE(script.messages().size(), 1);
        QCOMPARE(script.messages()[0].text, QStringLiteral("Stampante non installata"));
        QTest::qWait(1000);
        QCOMPARE(PdfFiles(), before); // printed nowhere else
    }

    void noPrintService() {
        if (cupsd_.state() == QProcess::NotRunning)
            QSKIP("the print service was running before this test: it is left alone");
        testsupport::AppFolder folder(true);
        Run(QStringLiteral("/usr/sbin/lpadmin"), {QStringLiteral("-x"), queue_});
        queue_.clear();
        cupsd_.terminate();
        QVERIFY(cupsd_.waitForFinished(10000));
        QTRY_VERIFY_WITH_TIMEOUT(InstalledPrinters().isEmpty(), 10000);
        Sistema.Ruota = QStringLiteral("Napoli    ");
        Printer().UsePrinter();
        testing::Script script;
        frmStampaSchedine w;
        w.Form_Load();
        const QStringList before = PdfFiles();
        w.ui->cmdStampa->click();
        QStringList texts;
        for (const Shown& s : script.messages())
            texts << s.text;
        QCOMPARE(texts, QStringList({QStringLiteral("Stampante non installata"),
                                     QStringLiteral("Stampante non installata")}));
        QCOMPARE(PdfFiles(), before);
    }
};

QTEST_MAIN(TestSlipsCups)
#include "test_slips_cups.moc"
