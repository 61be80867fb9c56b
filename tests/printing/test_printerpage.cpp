// The printer page as every paper sees it: where text, circles, lines and
// pictures land, where the current position goes, how jobs start and end,
// which printer is chosen, and text turned by an angle.
#include "app/corpo.h"
#include "app/fileio.h"
#include "app/printers.h"
#include "printing/printerpage.h"
#include "tests/printing/metrics.h"
#include "tests/support/testsupport.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace corpo;

namespace {

// The only operation of the recorder's last job, after `draw`.
PageOp drawn(const std::function<void(PrinterPage&)>& draw) {
    testing::RecorderScope rec;
    draw(Printer());
    Printer().EndDoc();
    return rec.last().ops.value(0);
}

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TestPrinterPage : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    // Print: top-left corner at the current position, which then moves on
    // along the line or down one line of the font.
    void print_data() {
        QTest::addColumn<QString>("font");
        QTest::addColumn<double>("size");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("endLine");
        QTest::addColumn<double>("width"); // < 0: not pinned
        QTest::addColumn<double>("height");
        using namespace expect;
        QTest::newRow("header, stays on the line") << "Courier New" << 10.0 << "Bramasolovanti by "
                                                   << false << 18 * monoAdvance(10) << monoLine(10);
        QTest::newRow("cluster number")
            << "Courier New" << 27.5 << "07" << false << 11.644 << monoLine(27.5);
        QTest::newRow("title, ends the line")
            << "Comic Sans MS" << 20.0 << "Prospetto Vincite" << true << -1.0 << comicLine(20);
    }
    void print() {
        QFETCH(QString, font);
        QFETCH(double, size);
        QFETCH(QString, text);
        QFETCH(bool, endLine);
        QFETCH(double, width);
        QFETCH(double, height);
        double afterX = 0, afterY = 0;
        const PageOp op = drawn([&](PrinterPage& page) {
            page.FontName = font;
            page.FontSize = size;
            page.CurrentX = 115;
            page.CurrentY = 205;
            page.Print(text, endLine);
            afterX = page.CurrentX;
            afterY = page.CurrentY;
        });
        QCOMPARE(op.kind, PageOp::Text);
        QVERIFY(qAbs(op.x - 115) < 1e-9 && qAbs(op.y - 205) < 1e-9);
        if (width >= 0) QVERIFY2(qAbs(op.width - width) < 0.01, qPrintable(op.describe()));
        QVERIFY2(qAbs(op.height - height) < 0.01, qPrintable(op.describe()));
        QCOMPARE(afterX, endLine ? 0.0 : 115 + op.width);
        QCOMPARE(afterY, endLine ? 205 + op.height : 205.0);
    }

    // Where each operation leaves the current position, which starts at (1, 2).
    void positionAfter_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QPointF>("after");
        QTest::newRow("Circle: its centre") << int(PageOp::Circle) << QPointF(150, 130);
        QTest::newRow("Line: its second point") << int(PageOp::Line) << QPointF(40, 60);
        QTest::newRow("Box: its second corner") << int(PageOp::Box) << QPointF(40, 60);
        QTest::newRow("PaintPicture: stays") << int(PageOp::Picture) << QPointF(1, 2);
        QTest::newRow("StampaTestoRuotato: stays") << int(PageOp::RotatedText) << QPointF(1, 2);
    }
    void positionAfter() {
        QFETCH(int, kind);
        QFETCH(QPointF, after);
        testsupport::AppFolder app;
        QPointF at;
        const PageOp op = drawn([&](PrinterPage& page) {
            page.CurrentX = 1;
            page.CurrentY = 2;
            if (kind == PageOp::Circle)
                page.Circle(150, 130, 45, 0);
            else if (kind == PageOp::Line || kind == PageOp::Box)
                page.Line(10, 20, 40, 60, 255, kind == PageOp::Box);
            else if (kind == PageOp::Picture)
                page.PaintPicture(PagePicture::Load(app.file("images/vietato.jpg")), 5, 240, 95,
                                  25);
            else
                StampaTestoRuotato(QStringLiteral("ROMA"), 300);
            at = QPointF(page.CurrentX, page.CurrentY);
        });
        QCOMPARE(op.kind, PageOp::Kind(kind));
        QCOMPARE(at, after);
    }

    // A job starts with the first drawing and ends at EndDoc.
    void jobs_data() {
        QTest::addColumn<QString>("steps"); // P print, N new page, E EndDoc, K KillDoc
        QTest::addColumn<QList<int>>("pagesPerJob");
        QTest::newRow("EndDoc right after NewPage adds no page") << "PNE" << QList<int>{1};
        QTest::newRow("drawing after NewPage is on page 2") << "PNPE" << QList<int>{2};
        QTest::newRow("EndDoc without drawing: no job") << "E" << QList<int>{};
        QTest::newRow("each EndDoc ends one job") << "PEPPE" << QList<int>{1, 1};
        QTest::newRow("an abandoned job is lost") << "PKPE" << QList<int>{1};
    }
    void jobs() {
        QFETCH(QString, steps);
        QFETCH(QList<int>, pagesPerJob);
        testing::RecorderScope rec;
        PrinterPage& page = Printer();
        for (QChar s : steps) {
            if (s == 'P')
                page.Print(QStringLiteral("x"), true);
            else if (s == 'N')
                page.NewPage();
            else if (s == 'E')
                page.EndDoc();
            else
                page.KillDoc();
        }
        QList<int> pages;
        for (const RecordedJob& j : rec.jobs())
            pages << j.pages;
        QCOMPARE(pages, pagesPerJob);
    }

    void jobStartsInDefaultState() {
        testing::RecorderScope rec;
        PrinterPage& page = Printer();
        page.FontName = QStringLiteral("Comic Sans MS");
        page.FillStyle = 0;
        page.CurrentX = 60;
        page.Print(QStringLiteral("Bramasolovanti"), false);
        page.EndDoc();
        page.Print(QStringLiteral("next"), false);
        page.EndDoc();
        const PageOp second = rec.jobs().at(1).ops.at(0);
        QCOMPARE(second.x, 0.0);
        QCOMPARE(second.fontName, QStringLiteral("Courier New"));
        QCOMPARE(second.fillStyle, 1);
    }

    // StampaTestoRuotato: height -(20 × size) / TwipsPerPixelY and the position
    // in page pixels, both rounded half to even; the position does not move.
    void rotated_data() {
        QTest::addColumn<double>("size");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QPointF>("at");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("weight");
        QTest::addColumn<QPoint>("device");
        QTest::newRow("10 pt bold") << 10.0 << true << scale::Millimeters << QPointF(80, 125) << -83
                                    << 700 << QPoint(1890, 2953);
        QTest::newRow("1.5 pt, halves")
            << 1.5 << false << scale::Pixels << QPointF(2.5, 5.5) << -12 << 400 << QPoint(2, 6);
        QTest::newRow("4.5 pt, halves")
            << 4.5 << false << scale::Pixels << QPointF(3.5, 4.5) << -38 << 400 << QPoint(4, 4);
    }
    void rotated() {
        QFETCH(double, size);
        QFETCH(bool, bold);
        QFETCH(int, mode);
        QFETCH(QPointF, at);
        QFETCH(int, height);
        QFETCH(int, weight);
        QFETCH(QPoint, device);
        QPointF after;
        const PageOp op = drawn([&](PrinterPage& page) {
            page.FontSize = size;
            page.FontBold = bold;
            page.ScaleMode = mode;
            page.CurrentX = at.x();
            page.CurrentY = at.y();
            StampaTestoRuotato(QStringLiteral("€ 10,00 ★"), 300);
            after = QPointF(page.CurrentX, page.CurrentY);
        });
        QCOMPARE(after, at);
        QCOMPARE(op.kind, PageOp::RotatedText);
        QCOMPARE(op.deviceFont.height, height);
        QCOMPARE(op.deviceFont.weight, weight);
        QCOMPARE(op.deviceFont.escapement, 300);
        QCOMPARE(op.text, QStringLiteral("€ 10,00 ?")); // 8-bit: the star is not in the code page
        QCOMPARE(QPoint(op.deviceX, op.deviceY), device);
    }

    void rotatedAtAngleZeroLandsWherePrintDoes() {
        testing::RecorderScope rec;
        PrinterPage& page = Printer();
        page.FontSize = 12;    // exactly 100 page pixels: the same font both ways
        page.CurrentX = 31.75; // 750 page pixels: no rounding either
        page.CurrentY = 63.5;
        StampaTestoRuotato(QStringLiteral("SALERNO"), 0);
        page.Print(QStringLiteral("SALERNO"), false);
        page.EndDoc();
        const PageOp r = rec.last().ops[0], p = rec.last().ops[1];
        QVERIFY(qAbs(r.x - p.x) < 1e-9 && qAbs(r.y - p.y) < 1e-9);
        QVERIFY(qAbs(r.width - p.width) < 1e-9);
    }

    // Exact names only; no match keeps the current printer; none at all is 482
    // and nothing starts.
    void selectPrinter_data() {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("wanted");
        QTest::addColumn<QString>("chosen"); // empty: error 482
        const QStringList two{"Altra", "PDF"};
        QTest::newRow("exact name") << two << "Altra"
                                    << "Altra";
        QTest::newRow("other case") << two << "altra"
                                    << "PDF";
        QTest::newRow("empty name") << two << ""
                                    << "PDF";
        QTest::newRow("unknown name") << two << "Nessuna"
                                      << "PDF";
        QTest::newRow("no printer") << QStringList{} << "PDF"
                                    << "";
    }
    void selectPrinter() {
        QFETCH(QStringList, installed);
        QFETCH(QString, wanted);
        QFETCH(QString, chosen);
        testing::PrinterListScope printers(installed);
        PrinterPage& page = Printer();
        page.UsePrinter();
        try {
            page.SelectPrinter(QStringLiteral("PDF")); // the current one
            page.SelectPrinter(wanted);
            QVERIFY2(!chosen.isEmpty(), "no error 482 without printers");
            QCOMPARE(page.DeviceName(), chosen);
        } catch (const RunError& e) {
            QVERIFY(chosen.isEmpty());
            QCOMPARE(e.number, 482);
            QVERIFY_THROWS_EXCEPTION(RunError, page.Print(QStringLiteral("x"), true));
            QVERIFY(!page.InJob());
        }
    }

    // The PDF back end, read back with pdftotext: word corners in points.
    void pdf() {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("pagina.pdf"));
        PrinterPage& page = Printer();
        page.UsePdfFile(pdf);
        page.FontBold = true;
        page.FontSize = 180;
        page.CurrentX = 115;
        page.CurrentY = 100;
        page.Print(QStringLiteral("07"), false);
        page.NewPage();
        page.EndDoc();
        page.UsePrinter();
        QVERIFY(run("pdfinfo", {pdf}).contains(QRegularExpression("Pages:\\s+1\\n")));
        QVERIFY(run("pdfinfo", {pdf}).contains(QStringLiteral("595 x 842 pts (A4)")));
        const auto m = QRegularExpression("xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>07<")
                           .match(run("pdftotext", {"-bbox", pdf, "-"}));
        QVERIFY(m.hasMatch());
        QVERIFY2(qAbs(m.captured(1).toDouble() - 325.984) < 0.1 * 72 / 25.4,
                 qPrintable(m.captured(1)));
        QVERIFY2(qAbs(m.captured(2).toDouble() - 283.465) < 0.1 * 72 / 25.4,
                 qPrintable(m.captured(2)));
    }

    // Abandoned or failed, a PDF job leaves no file behind.
    void pdfNotWritten() {
        QTemporaryDir dir;
        PrinterPage& page = Printer();
        page.UsePdfFile(dir.filePath(QStringLiteral("abbandonato.pdf")));
        page.Print(QStringLiteral("x"), true);
        page.KillDoc();
        page.Print(QStringLiteral("y"), true);
        page.UsePrinter(); // changing the target abandons too
        // A path whose folder is a regular file stops root as well.
        QFile blocker(dir.filePath(QStringLiteral("file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        page.UsePdfFile(dir.filePath(QStringLiteral("file/tabulato.pdf")));
        page.Print(QStringLiteral("x"), true);
        try {
            page.EndDoc();
            QFAIL("a PDF under a regular file was written");
        } catch (const RunError& e) {
            QVERIFY(e.number == err::PathNotFound || e.number == err::PathFileAccess);
        }
        QVERIFY(!page.InJob());
        page.UsePrinter();
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("file")});
    }
};

QTEST_MAIN(TestPrinterPage)
#include "test_printerpage.moc"
