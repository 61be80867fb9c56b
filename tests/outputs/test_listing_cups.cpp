// The listing printed through the print service to the queue "PDF", which
// writes every job as a PDF file into ~/PDF of the printing user. Needs the
// "cups" fixture (cups_fixture.sh).
#include "app/corpo.h"
#include "app/messages.h"
#include "app/settings.h"
#include "outputs/frmTabulato.h"
#include "printing/printerpage.h"
#include "tests/outputs/listingsupport.h"
#include "tests/support/testsupport.h"
#include "ui_frmTabulato.h"

#include <QPrinterInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QtTest>
#include <pwd.h>
#include <unistd.h>

using namespace corpo;
using namespace listing;

namespace {

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000))
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Where the queue puts the jobs of this user.
QString OutputFolder() {
    const passwd* pw = getpwuid(getuid());
    return QString::fromLocal8Bit(pw ? pw->pw_dir : qgetenv("HOME").constData()) + "/PDF";
}

QStringList FilesWith(const QString& token) {
    QStringList out;
    for (const QString& f : QDir(OutputFolder()).entryList(QDir::Files))
        if (f.contains(token))
            out << OutputFolder() + "/" + f;
    return out;
}

// Waits until `count` finished files carry the token (or the time is up).
QStringList WaitForFiles(const QString& token, int count, int seconds = 60) {
    QElapsedTimer t;
    t.start();
    QStringList files;
    while (t.elapsed() < seconds * 1000) {
        files = FilesWith(token);
        bool complete = files.size() >= count;
        for (const QString& f : files)
            complete = complete && run("pdfinfo", {f}).contains("Pages:");
        if (complete)
            break;
        QTest::qWait(200);
    }
    return files;
}

bool Fixture(const QString& action) {
    return QProcess::execute("sh", {qEnvironmentVariable("BRAMA_CUPS_FIXTURE"), action,
                                    qEnvironmentVariable("BRAMA_CUPS_STATE")}) == 0;
}

QString FixtureState() {
    QFile f(qEnvironmentVariable("BRAMA_CUPS_STATE"));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).trimmed() : QString();
}

} // namespace

class TestListingCups : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void copies_data();
    void copies();
    // Stops the service: keep it last.
    void serviceStopped();

private:
    int PressStampa(int copies, testing::Script& script);
    QString token_;
    SystemRecord saved_;
    std::unique_ptr<testsupport::AppFolder> app_;
};

void TestListingCups::initTestCase() {
    if (FixtureState() == "skip")
        QSKIP("no print service on this machine");
    QVERIFY2(QPrinterInfo::availablePrinterNames().contains("PDF"),
             qPrintable(QPrinterInfo::availablePrinterNames().join(',')));
}

void TestListingCups::init() {
    saved_ = Sistema;
    app_ = std::make_unique<testsupport::AppFolder>();
    app_->write("impostazioni.cfg", SettingsBytes("Ricevitoria del Corso", "PDF"));
    Sistema = TenEuroSystem();
    // A name of its own marks this test's files among any others in ~/PDF.
    token_ = QStringLiteral("Cups%1").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    Sistema.NomeSistema = token_.leftJustified(20, ' ');
    Printer().UsePrinter();
}

void TestListingCups::cleanup() {
    for (const QString& f : FilesWith(token_))
        QFile::remove(f);
    Sistema = saved_;
    app_.reset();
}

int TestListingCups::PressStampa(int copies, testing::Script& script) {
    frmTabulato w;
    w.ui->VsCopie->setValue(copies);
    QTest::mouseClick(w.ui->cmdStampa, Qt::LeftButton);
    return script.messages().size();
}

void TestListingCups::copies_data() {
    QTest::addColumn<int>("copies");
    QTest::newRow("one copy, one file") << 1;
    QTest::newRow("three copies, three files") << 3;
}

void TestListingCups::copies() {
    QFETCH(int, copies);
    testing::Script script;
    QCOMPARE(PressStampa(copies, script), 0);
    const QStringList files = WaitForFiles(token_, copies);
    QCOMPARE(files.size(), copies);
    for (const QString& f : files) {
        const QString info = run("pdfinfo", {f});
        QVERIFY2(info.contains(QRegularExpression("Pages:\\s+1\\n")), qPrintable(info));
        QVERIFY2(info.contains("595 x 842 pts (A4)"), qPrintable(info));
    }
}

void TestListingCups::serviceStopped() {
    if (FixtureState() == "theirs")
        QSKIP("the print service was started by someone else: not stopping it");
    QVERIFY(Fixture("pause"));
    testing::Script script;
    QCOMPARE(PressStampa(1, script), 1);
    const Shown m = script.messages().first();
    QCOMPARE(m.text, QStringLiteral("Stampante non installata"));
    QCOMPARE(m.title, QStringLiteral("!!! E R R O R E !!!"));
    QCOMPARE(m.icon, MsgIcon::Critical);
    QVERIFY(!Printer().InJob());
    // Back as the other tests expect it; the cleanup fixture stops it.
    QVERIFY(Fixture("start"));
    QTest::qWait(2000);
    QVERIFY(FilesWith(token_).isEmpty());
}

QTEST_MAIN(TestListingCups)
#include "test_listing_cups.moc"
