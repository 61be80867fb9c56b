// The listing on the recorder: where every part of the page lands, colour and
// black and white, copies, errors; then saved as a PDF file through the save
// dialog and read back with the poppler and MuPDF tools.
#include "app/corpo.h"
#include "app/frmImpostazioni.h"
#include "app/messages.h"
#include "app/printers.h"
#include "app/settings.h"
#include "outputs/frmTabulato.h"
#include "tests/outputs/support.h"
#include "tests/support/testsupport.h"
#include "ui_frmImpostazioni.h"
#include "ui_frmTabulato.h"

#include <QFileDialog>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>

using namespace corpo;
using namespace papers;

namespace {
constexpr double Exact = 0.001; // where the number is given outright
constexpr double Metric = 0.01; // where font metrics enter

double pt(double mm) {
    return mm * 72 / 25.4;
}

// Whether pdftotext -bbox has a word `text` with its top-left corner at (x, y) points.
bool WordAt(const QString& pdf, const QString& text, double x, double y) {
    static const QRegularExpression word(
        "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>([^<]*)<");
    for (const auto& m : word.globalMatch(Run("pdftotext", {"-bbox", pdf, "-"})))
        if (m.captured(3) == text && Near(m.captured(1).toDouble(), x, pt(0.1)) &&
            Near(m.captured(2).toDouble(), y, pt(0.1)))
            return true;
    return false;
}

// The first turned text run of mutool trace in `font`: "angle x y", the
// baseline origin of its first glyph in millimetres.
QString TurnedRun(const QString& pdf, const QString& font) {
    static const QRegularExpression run(
        "<fill_text[^>]*transform=\"([-0-9. ]+)\">\\s*<span font=\"([^\"]+)\"[^>]*>\\s*"
        "<g [^>]*x=\"([-0-9.]+)\" y=\"([-0-9.]+)\"");
    for (const auto& m : run.globalMatch(Run("mutool", {"trace", pdf}))) {
        const QStringList t = m.captured(1).split(' ', Qt::SkipEmptyParts);
        const double a = t[0].toDouble(), b = t[1].toDouble(), c = t[2].toDouble(),
                     d = t[3].toDouble();
        const double gx = m.captured(3).toDouble(), gy = m.captured(4).toDouble();
        const double angle = qRadiansToDegrees(std::atan2(-b, a));
        if (m.captured(2).startsWith(font) && qAbs(angle) > 1)
            return QString::asprintf("%.2f %.2f %.2f", angle,
                                     (a * gx + c * gy + t[4].toDouble()) * 25.4 / 72,
                                     (b * gx + d * gy + t[5].toDouble()) * 25.4 / 72);
    }
    return "none";
}
} // namespace

class TestListing : public QObject {
    Q_OBJECT
    SystemRecord saved_;
    std::unique_ptr<testsupport::AppFolder> app_;
    std::unique_ptr<testsupport::LocaleScope> locale_;
    std::unique_ptr<testing::PrinterListScope> printers_;
    QTemporaryDir home_;
    QString documents_;

    // Opens the window and presses Stampa, printing on the recorder.
    RecordedJob PrintOnce(bool colour = true) {
        testing::RecorderScope rec;
        frmTabulato w;
        w.ui->chkColor->setChecked(colour);
        QTest::mouseClick(w.ui->cmdStampa, Qt::LeftButton);
        return rec.last();
    }

    // Presses Stampa with "File PDF" ticked; the save dialog gets `answer`.
    void PrintThroughDialog(const std::function<void(QFileDialog*)>& answer) {
        testing::PrinterListScope none({}); // no print service is needed for a file
        frmTabulato w;
        w.show();
        w.ui->chkFilePdf->click();
        bool seen = false;
        WhenModal<QFileDialog>(answer, &seen);
        QTest::mouseClick(w.ui->cmdStampa, Qt::LeftButton);
        QVERIFY(seen);
        QVERIFY(w.isEnabled());
        QVERIFY(!Printer().InJob());
    }

  private Q_SLOTS:
    void initTestCase() {
        // The save dialog opens in the user's Documents.
        qputenv("HOME", home_.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (home_.path() + "/.config").toLocal8Bit());
        documents_ = home_.path() + "/Documents";
        QVERIFY(QDir().mkpath(documents_));
    }
    void init() {
        saved_ = Sistema;
        app_ = std::make_unique<testsupport::AppFolder>();
        locale_ = std::make_unique<testsupport::LocaleScope>(testsupport::italian());
        printers_ = std::make_unique<testing::PrinterListScope>(QStringList{"Altra", "PDF"});
        app_->write("impostazioni.cfg", SettingsBytes("Ricevitoria del Corso", "PDF"));
        Sistema = TenEuroSystem();
        ColoreCapogioco = ColoreCapogiocoDefault;
        ColoreVorlacco = ColoreVorlaccoDefault;
        for (const QString& f : QDir(documents_).entryList(QDir::Files))
            QFile::remove(documents_ + "/" + f);
    }
    void cleanup() {
        Sistema = saved_;
        printers_.reset();
        locale_.reset();
        app_.reset();
    }

    void placement_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<double>("right"); // where it ends; < 0 when not checked
        QTest::addColumn<double>("tolerance");
        QTest::addColumn<int>("height"); // of a turned text's device font; 0 when upright
        const QString rule = "x" + QString(92, QChar(0x2014)) + "x";
        const QString name = "Nome Sistema Prova 1             ";
        const QString address = QString(26, ' ') + "WWW.EXAMPLE.COM";
        QTest::newRow("product") << "Bramasolovanti by Marvolt - " << 5. << 5. << 64.276 << Exact
                                 << 0;
        QTest::newRow("header") << "Ricevitoria del Corso" << 64.276 << 5. << -1. << Metric << 0;
        // Ends more than 5 mm from the right edge, outside printers' unprintable margin.
        QTest::newRow("rule") << rule << 5. << 8.996 << 204.0 << Metric << 0;
        QTest::newRow("name") << name << 5. << 12.993 << 74.861 << Metric << 0;
        QTest::newRow("address") << address << 74.861 << 12.993 << 196.378 << Metric << 0;
        QTest::newRow("title") << "Bramasolovanti" << 60. << 20. << -1. << Exact << 0;
        QTest::newRow("total") << "€ 10,00" << 80.01 << 125.01 << -1. << Exact << -667;
        QTest::newRow("wheel") << "NAPOLI    " << 90.001 << 175.006 << -1. << Exact << -583;
        QTest::newRow("prospect") << "Prospetto Vincite" << 115. << 205. << -1. << Exact << 0;
        QTest::newRow("column 1") << "Ambo" << 115. << 213.114 << -1. << Metric << 0;
        QTest::newRow("column 2") << "Terno" << 133. << 213.114 << -1. << Metric << 0;
        QTest::newRow("column 3") << "Quaterna" << 155. << 213.114 << -1. << Metric << 0;
        QTest::newRow("column 4") << "Cinquina" << 180. << 213.114 << -1. << Metric << 0;
        QTest::newRow("ninth block")
            << "Estratto" << 115. << 213.114 + 8 * 6.598 << -1. << Metric << 0;
        QTest::newRow("Estratto won") << "€ 11,23" << 115. << 268.492 << 126.855 << Metric << 0;
    }
    void placement() {
        QFETCH(QString, text);
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(double, right);
        QFETCH(double, tolerance);
        QFETCH(int, height);
        const RecordedJob job = PrintOnce();
        QCOMPARE(job.pages, 1);
        QCOMPARE(job.printer, QStringLiteral("PDF"));
        const PageOp op = Find(job, text);
        QVERIFY2(!op.text.isNull(), qPrintable(job.describe()));
        QCOMPARE(op.kind == PageOp::RotatedText ? op.deviceFont.height : 0, height);
        QVERIFY2(Near(op.x, x, tolerance) && Near(op.y, y, tolerance), qPrintable(op.describe()));
        if (right >= 0)
            QVERIFY2(Near(op.x + op.width, right, tolerance), qPrintable(op.describe()));
    }

    void colours_data() {
        QTest::addColumn<bool>("colour");
        QTest::addColumn<int32_t>("title");
        QTest::addColumn<int32_t>("total");
        QTest::addColumn<int32_t>("grapes");
        QTest::addColumn<QString>("foot");
        QTest::newRow("colour") << true << 0xFF0000 << 255 << ColoreVorlaccoDefault
                                << "vietato.jpg";
        QTest::newRow("black and white") << false << 0 << 0 << 0xFFFFFF << "vietatoBW.jpg";
    }
    void colours() {
        QFETCH(bool, colour);
        QFETCH(int32_t, title);
        QFETCH(int32_t, total);
        QFETCH(int32_t, grapes);
        QFETCH(QString, foot);
        const RecordedJob job = PrintOnce(colour);
        QCOMPARE(Find(job, "Bramasolovanti").foreColor, title);
        QCOMPARE(Find(job, "€ 10,00").foreColor, total);
        for (const PageOp& c : job.ofKind(PageOp::Circle))
            QCOMPARE(c.fillColor, grapes);
        // The foot picture is the page's last drawing.
        const PageOp last = job.ops.last();
        QVERIFY2(last.kind == PageOp::Picture && last.text.endsWith("images/" + foot),
                 qPrintable(last.describe()));
        QCOMPARE(QRectF(last.x, last.y, last.width, last.height), QRectF(5, 240, 95, 25));
    }

    void headNumber() {
        Sistema.Capogioco = 7;
        ColoreCapogioco = 0x800000; // dark blue: its numbers are written in white
        const RecordedJob job = PrintOnce(false);
        const QList<PageOp> circles = job.ofKind(PageOp::Circle);
        QCOMPARE(circles.size(), 29 + 9 + 1);
        // The disc keeps the head number's colour in black and white too.
        const PageOp disc = circles.last();
        QCOMPARE(QPointF(disc.x, disc.y), QPointF(150, 130));
        QCOMPARE(disc.radius, 45.0);
        QCOMPARE(disc.fillColor, 0x800000);
        QStringList big; // the head number, the wheel and the total, upright
        for (const PageOp& t : job.ofKind(PageOp::Text))
            if (t.fontSize >= 60)
                big << QString("%1 %2 (%3, %4) %5")
                           .arg(t.text)
                           .arg(t.fontSize)
                           .arg(t.x)
                           .arg(t.y)
                           .arg(t.foreColor, 0, 16);
        QCOMPARE(big, QStringList({"07 180 (115, 100) ffffff", "NAPOLI     70 (90, 175) 0",
                                   "€ 10,00 60 (110, 55) 0"}));
        QVERIFY(job.ofKind(PageOp::RotatedText).isEmpty());
    }

    void copies_data() {
        QTest::addColumn<int>("copies");
        QTest::addColumn<QString>("title"); // of the last job
        QTest::newRow("none") << 0 << "";
        QTest::newRow("three, from the keyboard")
            << 3 << "Bramasolovanti - Tabulato - Prova 1 - copia 3 di 3";
    }
    void copies() {
        QFETCH(int, copies);
        QFETCH(QString, title);
        testing::RecorderScope rec;
        testing::Script script;
        frmTabulato w;
        if (copies == 0) {
            w.ui->VsCopie->setValue(copies);
        } else { // Tab reaches the bar; Up adds a copy, as 20 is at the top
            w.show();
            QVERIFY(QTest::qWaitForWindowActive(&w));
            w.ui->chkFilePdf->setFocus();
            QTest::keyClick(&w, Qt::Key_Tab);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
            QCOMPARE(w.ui->labCopie->text(), QStringLiteral("3"));
        }
        QTest::mouseClick(w.ui->cmdStampa, Qt::LeftButton);
        QCOMPARE(rec.jobs().size(), copies);
        QCOMPARE(rec.last().title, title);
        QVERIFY(script.messages().isEmpty());
    }

    // A second press during a run, or the second half of a double click, prints nothing.
    void onePressOneJob_data() {
        QTest::addColumn<bool>("queued");
        QTest::newRow("double click") << false;
        QTest::newRow("click waiting while the window prints") << true;
    }
    void onePressOneJob() {
        QFETCH(bool, queued);
        testing::RecorderScope rec;
        frmTabulato w;
        w.show();
        QPushButton* b = w.ui->cmdStampa;
        const QPointF c = b->rect().center();
        if (queued) // delivered only once the run gives the event loop back
            for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
                QCoreApplication::postEvent(
                    b,
                    new QMouseEvent(t, c, b->mapToGlobal(c), Qt::LeftButton,
                                    t == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                    Qt::NoModifier));
        if (queued)
            QTest::mouseClick(b, Qt::LeftButton);
        else // through the window, as the window system sends it: two presses
            QTest::mouseDClick(w.windowHandle(), Qt::LeftButton, {},
                               b->mapTo(&w, b->rect().center()));
        QCoreApplication::processEvents();
        QCOMPARE(rec.jobs().size(), 1);
    }

    void differentCinquinaStakes() {
        Sistema.ImpCinq2 = {2.00f, 0.60f, 0.30f, 0.10f};
        QStringList won; // the first two blocks' winnings, column by column
        for (const PageOp& op : PrintOnce().ofKind(PageOp::Text))
            if (op.fontSize == 8 && op.text.startsWith("€ ")) won << op.text;
        QCOMPARE(won.size(), 21);
        for (int c = 0; c < 4; ++c)
            QVERIFY2(won[c] != won[4 + c], qPrintable(won.join('|')));
    }

    void headerSavedFromTheWindowPrintsNextTime() {
        testing::RecorderScope rec;
        testing::Script script;
        frmTabulato w;
        w.show();
        bool seen = false;
        WhenModal<frmImpostazioni>(
            [](frmImpostazioni* dlg) {
                dlg->ui->mskIntestazione->setText("Bar Sport");
                QTest::mouseClick(dlg->findChild<QPushButton*>("cmdSalva"), Qt::LeftButton);
            },
            &seen);
        QTest::mouseClick(w.ui->cmdImpostazioni, Qt::LeftButton);
        QVERIFY(seen);
        QTest::mouseClick(w.ui->cmdStampa, Qt::LeftButton);
        QCOMPARE(rec.last().ofKind(PageOp::Text).value(1).text, QStringLiteral("BAR SPORT"));
    }

    void errors_data() {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<float>("estratto");
        QTest::addColumn<QString>("text");
        QTest::newRow("no printer") << QStringList{} << 1.0f << "Stampante non installata";
        // A stake too large for any winning to be worked out.
        QTest::newRow("overflow")
            << QStringList{"PDF"} << 3e38f
            << "Error 6 (Overflow) in procedure StampaTabulato of Form frmTabulato";
    }
    void errors() {
        QFETCH(QStringList, installed);
        QFETCH(float, estratto);
        QFETCH(QString, text);
        testing::PrinterListScope printers(installed);
        testing::RecorderScope rec;
        if (installed.isEmpty()) Printer().UsePrinter();
        Sistema.ImpEstratto = estratto;
        testing::Script script;
        frmTabulato w;
        w.ui->VsCopie->setValue(3);
        QTest::mouseClick(w.ui->cmdStampa, Qt::LeftButton);
        QCOMPARE(script.messages().size(), 1); // and no further copy
        QCOMPARE(script.messages()[0].text, text);
        QVERIFY(rec.jobs().isEmpty());
        QVERIFY(!Printer().InJob());
    }

    void missingPictures_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("report");
        QTest::addColumn<int>("circles");
        QTest::newRow("stalk")
            << "raspoprn.wmf"
            << "Error 53 (File not found) in procedure stampaVorlacco of Modulo corpo" << 0;
        QTest::newRow("foot picture") << "vietato.jpg"
                                      << "" << 29;
    }
    void missingPictures() {
        QFETCH(QString, file);
        QFETCH(QString, report);
        QFETCH(int, circles);
        QVERIFY(QFile::remove(app_->file("images/" + file)));
        testing::Script script;
        const RecordedJob job = PrintOnce();
        QCOMPARE(script.messages().size(), 1);
        const QString shown = script.messages()[0].text;
        QVERIFY2(report.isEmpty() ? shown.contains("images/" + file) : shown == report,
                 qPrintable(shown));
        QCOMPARE(job.ofKind(PageOp::Circle).size(), circles);
        QCOMPARE(job.ofKind(PageOp::Picture).size(), 1); // the other picture
        QVERIFY(!Find(job, "€ 11,23").text.isNull());    // the listing goes on
    }

    void savedThroughTheDialog_data() {
        QTest::addColumn<int>("capogioco");
        QTest::newRow("no head number") << 0;
        QTest::newRow("head number 7") << 7;
    }

    void savedThroughTheDialog() {
        QFETCH(int, capogioco);
        Sistema.Capogioco = uint8_t(capogioco);
        testing::Script script;
        QString suggested;
        PrintThroughDialog([&](QFileDialog* d) {
            suggested = d->selectedFiles().value(0);
            QMetaObject::invokeMethod(d, "accept");
        });
        QVERIFY2(script.messages().isEmpty(), qPrintable(script.messages().value(0).text));
        const QString pdf = documents_ + "/Prova 1.pdf";
        QCOMPARE(suggested, pdf);
        const QString info = Run("pdfinfo", {pdf});
        QVERIFY2(info.contains(QRegularExpression("Pages:\\s+1\\n")), qPrintable(info));
        QVERIFY2(info.contains("595 x 842 pts (A4)"), qPrintable(info));
        QVERIFY(WordAt(pdf, "Bramasolovanti", pt(5), pt(5)));
        if (capogioco)
            QVERIFY(WordAt(pdf, "07", 325.984, 283.465)); // the big head number
        else // the total, turned by 30 degrees about its top-left corner
            QCOMPARE(TurnedRun(pdf, "ComicNeue-Bold"), QStringLiteral("30.00 92.72 147.02"));
    }

    void suggestedName() {
        QCOMPARE(NomeFilePdf("Estate/Inverno      "), QStringLiteral("Estate_Inverno.pdf"));
        QCOMPARE(NomeFilePdf(QString(20, ' ')), QStringLiteral("Tabulato.pdf"));
    }

    void cancelPrintsNothing() {
        testing::Script script;
        PrintThroughDialog([](QFileDialog* d) { d->reject(); });
        QVERIFY(script.messages().isEmpty());
        QVERIFY(QDir(documents_).entryList(QDir::Files).isEmpty());
    }

    void failedWrite_data() {
        QTest::addColumn<QString>("earlier"); // a file already there
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("fullDisk");
        QTest::addColumn<QString>("error");
        // Root writes anywhere, but not under a regular file.
        QTest::newRow("under a file")
            << "archivio"
            << "archivio/tabulato.pdf" << false << "Error 76 (Path not found)";
        QTest::newRow("disk full") << "Prova 1.pdf"
                                   << "Prova 1.pdf" << true << "Error ";
    }

    void failedWrite() {
        QFETCH(QString, earlier);
        QFETCH(QString, target);
        QFETCH(bool, fullDisk);
        QFETCH(QString, error);
        const QByteArray before = QByteArray("%PDF-1.4 an earlier listing\n").repeated(200);
        QFile f(documents_ + "/" + earlier);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(before) == before.size());
        f.close();
        // A disk that takes no more than 2 KB per file: the new PDF cannot fit.
        rlimit old{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = old;
        small.rlim_cur = fullDisk ? 2048 : old.rlim_cur;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        testing::Script script;
        PrintThroughDialog([&](QFileDialog* d) {
            d->selectFile(documents_ + "/" + target);
            QMetaObject::invokeMethod(d, "done", Q_ARG(int, QDialog::Accepted));
        });
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        QCOMPARE(script.messages().size(), 1);
        const QString text = script.messages()[0].text;
        QVERIFY2(text.startsWith(error) &&
                     text.endsWith(") in procedure StampaTabulato of Form frmTabulato"),
                 qPrintable(text));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
        QCOMPARE(QDir(documents_).entryList(QDir::Files), QStringList{earlier});
    }
};

QTEST_MAIN(TestListing)
#include "test_listing.moc"
