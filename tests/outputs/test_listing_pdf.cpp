// The listing saved as a PDF file through the save dialog, read back with
// the poppler and MuPDF tools: positions on paper, Cancel, failures.
#include "app/corpo.h"
#include "app/messages.h"
#include "app/printers.h"
#include "app/settings.h"
#include "outputs/frmTabulato.h"
#include "printing/printerpage.h"
#include "tests/outputs/listingsupport.h"
#include "tests/support/testsupport.h"
#include "ui_frmTabulato.h"

#include <QFileDialog>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>

using namespace corpo;
using namespace listing;

namespace {

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000))
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

double pt(double mm) { return mm * 72 / 25.4; }
double mm(double pt) { return pt * 25.4 / 72; }

// Corners (xMin, yMin) in points of the first word equal to `text`.
std::optional<QPointF> WordCorner(const QString& pdf, const QString& text) {
    const QString html = run("pdftotext", {"-bbox", pdf, "-"});
    static const QRegularExpression word(
        "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"[0-9.]+\" yMax=\"[0-9.]+\">([^<]*)</word>");
    auto it = word.globalMatch(html);
    while (it.hasNext()) {
        const auto m = it.next();
        if (m.captured(3) == text.toHtmlEscaped())
            return QPointF(m.captured(1).toDouble(), m.captured(2).toDouble());
    }
    return std::nullopt;
}

// A text run's transform and first glyph origin from "mutool trace", for the
// first turned run in the given font: angle in degrees and origin in millimetres.
struct Run {
    double angle = 0;
    QPointF origin;
    bool found = false;
};
Run TraceRun(const QString& pdf, const QString& font) {
    const QString trace = run("mutool", {"trace", pdf});
    static const QRegularExpression block(
        "<fill_text[^>]*transform=\"([-0-9. ]+)\">\\s*<span font=\"([^\"]+)\"[^>]*>\\s*"
        "<g [^>]*x=\"([-0-9.]+)\" y=\"([-0-9.]+)\"");
    auto it = block.globalMatch(trace);
    while (it.hasNext()) {
        const auto m = it.next();
        if (!m.captured(2).startsWith(font))
            continue;
        const QStringList t = m.captured(1).split(' ', Qt::SkipEmptyParts);
        const double a = t[0].toDouble(), b = t[1].toDouble(), c = t[2].toDouble(),
                     d = t[3].toDouble(), e = t[4].toDouble(), f = t[5].toDouble();
        const double gx = m.captured(3).toDouble(), gy = m.captured(4).toDouble();
        Run r;
        r.found = true;
        r.angle = qRadiansToDegrees(std::atan2(-b, a));
        if (qAbs(r.angle) < 1)
            continue; // upright text in the same font
        r.origin = QPointF(mm(a * gx + c * gy + e), mm(b * gx + d * gy + f));
        return r;
    }
    return {};
}

} // namespace

class TestListingPdf : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void savedThroughTheDialog_data();
    void savedThroughTheDialog();
    void suggestedName_data();
    void suggestedName();
    void cancelPrintsNothing();
    void folderThatIsAFile();
    void failedWriteKeepsTheEarlierFile();

private:
    // Presses Stampa with "File PDF" ticked; the dialog gets `answer`.
    void PrintThroughDialog(const std::function<void(QFileDialog*)>& answer, bool* seen);
    QTemporaryDir home_;
    QString documents_;
    SystemRecord saved_;
    std::unique_ptr<testsupport::AppFolder> app_;
    std::unique_ptr<testsupport::LocaleScope> locale_;
};

void TestListingPdf::initTestCase() {
    // The save dialog opens in the user's Documents.
    qputenv("HOME", home_.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home_.path() + "/.config").toLocal8Bit());
    documents_ = home_.path() + "/Documents";
    QVERIFY(QDir().mkpath(documents_));
}

void TestListingPdf::init() {
    saved_ = Sistema;
    app_ = std::make_unique<testsupport::AppFolder>();
    locale_ = std::make_unique<testsupport::LocaleScope>(testsupport::italian());
    app_->write("impostazioni.cfg", SettingsBytes("Ricevitoria del Corso", "PDF"));
    Sistema = TenEuroSystem();
    ColoreCapogioco = ColoreCapogiocoDefault;
    for (const QString& f : QDir(documents_).entryList(QDir::Files))
        QFile::remove(documents_ + "/" + f);
}

void TestListingPdf::cleanup() {
    Sistema = saved_;
    locale_.reset();
    app_.reset();
}

void TestListingPdf::PrintThroughDialog(const std::function<void(QFileDialog*)>& answer,
                                        bool* seen) {
    // No print service is needed for a file.
    testing::PrinterListScope none({});
    frmTabulato w;
    w.show();
    w.ui->chkFilePdf->click();
    QVERIFY(!w.ui->VsCopie->isEnabled());
    WhenModal<QFileDialog>(answer, seen);
    QTest::mouseClick(w.ui->cmdStampa, Qt::LeftButton);
    QVERIFY(w.isEnabled());
    QCOMPARE(Printer().target(), PrinterPage::Target::Printer);
}

void TestListingPdf::savedThroughTheDialog_data() {
    QTest::addColumn<int>("capogioco");
    QTest::newRow("no head number") << 0;
    QTest::newRow("head number 7") << 7;
}

void TestListingPdf::savedThroughTheDialog() {
    QFETCH(int, capogioco);
    Sistema.Capogioco = uint8_t(capogioco);
    testing::Script script;
    bool seen = false;
    QString suggested;
    PrintThroughDialog(
        [&](QFileDialog* d) {
            suggested = d->selectedFiles().value(0);
            QMetaObject::invokeMethod(d, "accept");
        },
        &seen);
    QVERIFY(seen);
    QVERIFY2(script.messages().isEmpty(), qPrintable(script.messages().value(0).text));
    const QString pdf = documents_ + "/Prova 1.pdf";
    QCOMPARE(suggested, pdf);
    QVERIFY(QFile::exists(pdf));
    const QString info = run("pdfinfo", {pdf});
    QVERIFY2(info.contains(QRegularExpression("Pages:\\s+1\\n")), qPrintable(info));
    QVERIFY2(info.contains("595 x 842 pts (A4)"), qPrintable(info));

    const double tol = pt(0.1);
    const auto header = WordCorner(pdf, "Bramasolovanti");
    QVERIFY(header);
    QVERIFY2(qAbs(header->x() - pt(5)) < tol && qAbs(header->y() - pt(5)) < tol,
             qPrintable(QStringLiteral("%1 %2").arg(header->x()).arg(header->y())));
    const auto prospect = WordCorner(pdf, "Prospetto");
    QVERIFY(prospect);
    QVERIFY(qAbs(prospect->x() - pt(115)) < tol);

    if (capogioco) {
        // The big head number: the first "07" of the page in reading order
        // is the cluster's, so look for the one at 115 mm.
        const QString html = run("pdftotext", {"-bbox", pdf, "-"});
        QVERIFY2(html.contains(QRegularExpression(
                     "<word xMin=\"325\\.9[0-9]*\" yMin=\"283\\.4[0-9]*\" [^>]*>07</word>")),
                 qPrintable(html.left(4000)));
    } else {
        // The total, turned by 30 degrees about its top-left corner.
        const Run total = TraceRun(pdf, "ComicNeue-Bold");
        QVERIFY(total.found);
        QVERIFY2(qAbs(total.angle - 30) < 0.01, qPrintable(QString::number(total.angle)));
        QVERIFY2(qAbs(total.origin.x() - 92.72) < 0.1 && qAbs(total.origin.y() - 147.02) < 0.1,
                 qPrintable(QStringLiteral("%1 %2").arg(total.origin.x()).arg(total.origin.y())));
    }
}

void TestListingPdf::suggestedName_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("file");
    QTest::newRow("trimmed") << "  Prova 1           " << "Prova 1.pdf";
    QTest::newRow("slash") << "Estate/Inverno      " << "Estate_Inverno.pdf";
    QTest::newRow("empty name") << QString(20, ' ') << "Tabulato.pdf";
}

void TestListingPdf::suggestedName() {
    QFETCH(QString, name);
    QFETCH(QString, file);
    QCOMPARE(NomeFilePdf(name), file);
}

void TestListingPdf::cancelPrintsNothing() {
    testing::Script script;
    bool seen = false;
    PrintThroughDialog([](QFileDialog* d) { d->reject(); }, &seen);
    QVERIFY(seen);
    QVERIFY(script.messages().isEmpty());
    QVERIFY(QDir(documents_).entryList(QDir::Files).isEmpty());
    QVERIFY(!Printer().InJob());
}

void TestListingPdf::folderThatIsAFile() {
    // Root writes anywhere, but not under a regular file.
    QFile blocker(documents_ + "/archivio");
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    testing::Script script;
    bool seen = false;
    PrintThroughDialog(
        [&](QFileDialog* d) {
            d->selectFile(documents_ + "/archivio/tabulato.pdf");
            QMetaObject::invokeMethod(d, "done", Q_ARG(int, QDialog::Accepted));
        },
        &seen);
    QVERIFY(seen);
    QCOMPARE(script.messages().size(), 1);
    QCOMPARE(script.messages().first().text,
             QStringLiteral("Error 76 (Path not found) in procedure StampaTabulato of Form frmTabulato"));
    QCOMPARE(QDir(documents_).entryList(QDir::Files), QStringList{"archivio"});
}

void TestListingPdf::failedWriteKeepsTheEarlierFile() {
    const QString pdf = documents_ + "/Prova 1.pdf";
    const QByteArray earlier = QByteArray("%PDF-1.4 an earlier listing\n").repeated(200);
    {
        QFile f(pdf);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(earlier);
    }
    // A disk that takes no more than 2 KB per file: the new PDF cannot fit.
    rlimit old{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 2048;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    testing::Script script;
    bool seen = false;
    PrintThroughDialog(
        [&](QFileDialog* d) {
            d->selectFile(pdf);
            QMetaObject::invokeMethod(d, "done", Q_ARG(int, QDialog::Accepted));
        },
        &seen);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    QVERIFY(seen);
    QCOMPARE(script.messages().size(), 1);
    QVERIFY2(script.messages().first().text.contains(
                 QRegularExpression("^Error [0-9]+ \\(.+\\) in procedure StampaTabulato of Form "
                                    "frmTabulato$")),
             qPrintable(script.messages().first().text));
    QFile f(pdf);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), earlier);
    QCOMPARE(QDir(documents_).entryList(QDir::Files), QStringList{"Prova 1.pdf"});
}

QTEST_MAIN(TestListingPdf)
#include "test_listing_pdf.moc"
