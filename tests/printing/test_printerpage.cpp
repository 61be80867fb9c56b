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

class TestPrinterPage : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void print_data();
    void print();
    void printInOtherUnits_data();
    void printInOtherUnits();
    void positionAfterShapes_data();
    void positionAfterShapes();
    void jobs_data();
    void jobs();
    void jobStartsInDefaultState();
    void rotatedFont_data();
    void rotatedFont();
    void rotatedPosition_data();
    void rotatedPosition();
    void rotatedAtAngleZeroLandsWherePrintDoes();
    void rotatedTextIsEightBit();
    void choosePrinter_data();
    void choosePrinter();
    void selectPrinterOnThePage();
    void noPrinterIsError482();
    void pictures_data();
    void pictures();
    void pdfPositions();
    void pdfOfTwoPages();
    void pdfThatCannotBeWritten();
    void pdfAbandonedJobWritesNothing();
};

// ---- Print: top-left corner at the current position; the position moves on.

void TestPrinterPage::print_data() {
    QTest::addColumn<QString>("font");
    QTest::addColumn<double>("size");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("endLine");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<double>("width");  // expected advance
    QTest::addColumn<double>("height"); // expected line height
    using namespace expect;
    QTest::newRow("header, stays on the line")
        << "Courier New" << 10.0 << true << "Bramasolovanti by Marvolt - " << false << 5.0 << 5.0
        << 28 * monoAdvance(10) << monoLine(10);
    QTest::newRow("rule, ends the line")
        << "Courier New" << 10.0 << false << "x" + QString(93, QChar(0x2014)) + "x" << true << 5.0
        << 8.996 << 95 * monoAdvance(10) << monoLine(10);
    QTest::newRow("cluster number 27.5 pt")
        << "Courier New" << 27.5 << true << "07" << false << 15.0 << 67.0 << 11.644
        << monoLine(27.5);
    QTest::newRow("prospect heading 6.5 pt")
        << "Courier New" << 6.5 << true << "Quaterna" << true << 155.0 << 213.114
        << 8 * monoAdvance(6.5) << monoLine(6.5);
    QTest::newRow("title in Comic Sans MS 20 pt")
        << "Comic Sans MS" << 20.0 << false << "Prospetto Vincite" << true << 115.0 << 205.0
        << -1.0 << comicLine(20);
    QTest::newRow("empty text keeps the line height")
        << "Courier New" << 14.0 << false << "" << true << 0.0 << 0.0 << 0.0 << monoLine(14);
}

void TestPrinterPage::print() {
    QFETCH(QString, font);
    QFETCH(double, size);
    QFETCH(bool, bold);
    QFETCH(QString, text);
    QFETCH(bool, endLine);
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(double, width);
    QFETCH(double, height);

    testing::RecorderScope rec;
    PrinterPage& page = Printer();
    page.FontName = font;
    page.FontSize = size;
    page.FontBold = bold;
    page.CurrentX = x;
    page.CurrentY = y;
    page.Print(text, endLine);
    const double afterX = page.CurrentX, afterY = page.CurrentY;
    page.EndDoc();

    QCOMPARE(rec.jobs().size(), 1);
    const PageOp op = rec.last().ops.value(0);
    QCOMPARE(op.kind, PageOp::Text);
    QCOMPARE(op.text, text);
    QVERIFY(qAbs(op.x - x) < 1e-9);
    QVERIFY(qAbs(op.y - y) < 1e-9);
    QCOMPARE(op.fontName, font);
    QCOMPARE(op.bold, bold);
    if (width >= 0)
        QVERIFY2(qAbs(op.width - width) < 0.01, qPrintable(op.describe()));
    QVERIFY2(qAbs(op.height - height) < 0.01, qPrintable(op.describe()));
    if (endLine) {
        QCOMPARE(afterX, 0.0);
        QVERIFY2(qAbs(afterY - (y + height)) < 0.01, qPrintable(QString::number(afterY)));
    } else {
        QVERIFY2(qAbs(afterX - (x + op.width)) < 1e-9, qPrintable(QString::number(afterX)));
        QCOMPARE(afterY, y);
    }
}

void TestPrinterPage::printInOtherUnits_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<double>("mmX");
    QTest::addColumn<double>("mmY");
    QTest::newRow("millimetres") << scale::Millimeters << 12.5 << 30.0 << 12.5 << 30.0;
    QTest::newRow("page pixels (1/600 inch)") << scale::Pixels << 600.0 << 1200.0 << 25.4 << 50.8;
    QTest::newRow("twips") << scale::Twips << 1440.0 << 720.0 << 25.4 << 12.7;
    QTest::newRow("centimetres") << scale::Centimeters << 1.0 << 2.5 << 10.0 << 25.0;
    QTest::newRow("points") << scale::Points << 72.0 << 36.0 << 25.4 << 12.7;
}

void TestPrinterPage::printInOtherUnits() {
    QFETCH(int, mode);
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(double, mmX);
    QFETCH(double, mmY);
    testing::RecorderScope rec;
    PrinterPage& page = Printer();
    page.ScaleMode = mode;
    page.CurrentX = x;
    page.CurrentY = y;
    page.Print(QStringLiteral("ab"), false);
    // The advance comes back in the same unit.
    const double advanceMm = 2 * expect::monoAdvance(10);
    QVERIFY(qAbs(page.ScaleX(page.CurrentX - x, mode, scale::Millimeters) - advanceMm) < 0.01);
    page.Circle(x, y, page.ScaleX(5, scale::Millimeters, mode), 0);
    page.EndDoc();
    const RecordedJob job = rec.last();
    QVERIFY(qAbs(job.ops[0].x - mmX) < 1e-6);
    QVERIFY(qAbs(job.ops[0].y - mmY) < 1e-6);
    QVERIFY(qAbs(job.ops[1].radius - 5) < 1e-6);
}

// ---- Where each operation leaves the current position.

void TestPrinterPage::positionAfterShapes_data() {
    QTest::addColumn<QString>("operation");
    QTest::addColumn<double>("expectX");
    QTest::addColumn<double>("expectY");
    // The position starts at (1, 2) for every row.
    QTest::newRow("Circle: its centre") << "circle" << 150.0 << 130.0;
    QTest::newRow("Line: its second point") << "line" << 40.0 << 60.0;
    QTest::newRow("Box: its second corner") << "box" << 40.0 << 60.0;
    QTest::newRow("PaintPicture: stays") << "picture" << 1.0 << 2.0;
    QTest::newRow("StampaTestoRuotato: stays") << "rotated" << 1.0 << 2.0;
}

void TestPrinterPage::positionAfterShapes() {
    QFETCH(QString, operation);
    QFETCH(double, expectX);
    QFETCH(double, expectY);
    testsupport::AppFolder app;
    testing::RecorderScope rec;
    PrinterPage& page = Printer();
    page.CurrentX = 1;
    page.CurrentY = 2;
    page.FillStyle = 0;
    page.FillColor = 0x00FF00;
    page.DrawWidth = 5;
    if (operation == "circle")
        page.Circle(150, 130, 45, 0);
    else if (operation == "line")
        page.Line(10, 20, 40, 60, 255, false);
    else if (operation == "box")
        page.Line(10, 20, 40, 60, 255, true);
    else if (operation == "picture")
        page.PaintPicture(PagePicture::Load(app.file("images/vietato.jpg")), 5, 240, 95, 25);
    else
        StampaTestoRuotato(QStringLiteral("ROMA"), 300);
    QCOMPARE(page.CurrentX, expectX);
    QCOMPARE(page.CurrentY, expectY);
    page.EndDoc();
    const PageOp op = rec.last().ops.value(0);
    QCOMPARE(op.drawWidth, 5);
    QCOMPARE(op.fillStyle, 0);
    QCOMPARE(op.fillColor, 0x00FF00);
    if (operation == "circle") {
        QCOMPARE(op.kind, PageOp::Circle);
        QCOMPARE(op.radius, 45.0);
        QCOMPARE(op.foreColor, 0);
    }
    if (operation == "box") {
        QCOMPARE(op.kind, PageOp::Box);
        QCOMPARE(op.x2, 40.0);
        QCOMPARE(op.y2, 60.0);
        QCOMPARE(op.foreColor, 255);
    }
    if (operation == "picture") {
        QCOMPARE(op.kind, PageOp::Picture);
        QCOMPARE(op.width, 95.0);
        QCOMPARE(op.height, 25.0);
        QVERIFY(!op.metafile);
    }
}

// ---- Jobs: started by the first drawing, ended by EndDoc.

void TestPrinterPage::jobs_data() {
    QTest::addColumn<QString>("steps"); // P print, N new page, E EndDoc, K KillDoc
    QTest::addColumn<QList<int>>("pagesPerJob");
    QTest::newRow("one drawing, one page") << "PE" << QList<int>{1};
    QTest::newRow("EndDoc right after NewPage adds no page") << "PNE" << QList<int>{1};
    QTest::newRow("drawing after NewPage is on page 2") << "PNPE" << QList<int>{2};
    QTest::newRow("two NewPage in a row leave one blank page") << "PNNPE" << QList<int>{3};
    QTest::newRow("EndDoc without drawing: no job") << "E" << QList<int>{};
    QTest::newRow("each EndDoc ends one job") << "PEPPE" << QList<int>{1, 1};
    QTest::newRow("an abandoned job is lost") << "PKPE" << QList<int>{1};
    QTest::newRow("a job without EndDoc sends nothing") << "PP" << QList<int>{};
}

void TestPrinterPage::jobs() {
    QFETCH(QString, steps);
    QFETCH(QList<int>, pagesPerJob);
    testing::RecorderScope rec;
    PrinterPage& page = Printer();
    int printed = 0;
    for (QChar s : steps) {
        if (s == 'P')
            page.Print(QStringLiteral("t%1").arg(++printed), true);
        else if (s == 'N')
            page.NewPage();
        else if (s == 'E')
            page.EndDoc();
        else if (s == 'K')
            page.KillDoc();
    }
    QList<int> pages;
    for (const RecordedJob& j : rec.jobs())
        pages << j.pages;
    QCOMPARE(pages, pagesPerJob);
    if (steps == "PNPE") {
        QCOMPARE(rec.last().ops[0].page, 1);
        QCOMPARE(rec.last().ops[1].page, 2);
    }
    if (steps == "PKPE") // the surviving job holds only the drawing after KillDoc
        QCOMPARE(rec.last().ops.value(0).text, QStringLiteral("t2"));
    page.KillDoc();
}

void TestPrinterPage::jobStartsInDefaultState() {
    testing::RecorderScope rec;
    PrinterPage& page = Printer();
    page.FontName = QStringLiteral("Comic Sans MS");
    page.FontSize = 48;
    page.FontBold = true;
    page.ForeColor = 0xFF0000;
    page.FillStyle = 0;
    page.DrawWidth = 5;
    page.CurrentX = 60;
    page.CurrentY = 20;
    page.Print(QStringLiteral("Bramasolovanti"), false);
    page.EndDoc();
    page.Print(QStringLiteral("next"), false);
    page.EndDoc();
    const PageOp second = rec.jobs().at(1).ops.at(0);
    QCOMPARE(second.x, 0.0);
    QCOMPARE(second.y, 0.0);
    QCOMPARE(second.fontName, QStringLiteral("Courier New"));
    QCOMPARE(second.fontSize, 10.0);
    QCOMPARE(second.bold, false);
    QCOMPARE(second.foreColor, 0);
    QCOMPARE(second.fillStyle, 1);
    QCOMPARE(second.drawWidth, 1);
}

// ---- StampaTestoRuotato

void TestPrinterPage::rotatedFont_data() {
    QTest::addColumn<double>("size");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("weight");
    QTest::newRow("10 pt bold") << 10.0 << true << -83 << 700;
    QTest::newRow("1.5 pt: -12.5 rounds to even") << 1.5 << false << -12 << 400;
    QTest::newRow("4.5 pt: -37.5 rounds to even") << 4.5 << false << -38 << 400;
    QTest::newRow("80 pt total") << 80.0 << true << -667 << 700;
    QTest::newRow("70 pt wheel") << 70.0 << true << -583 << 700;
    QTest::newRow("48 pt forecast sheet") << 48.0 << false << -400 << 400;
}

void TestPrinterPage::rotatedFont() {
    QFETCH(double, size);
    QFETCH(bool, bold);
    QFETCH(int, height);
    QFETCH(int, weight);
    testing::RecorderScope rec;
    PrinterPage& page = Printer();
    QCOMPARE(page.TwipsPerPixelY(), 2.4);
    page.FontName = QStringLiteral("Comic Sans MS");
    page.FontSize = size;
    page.FontBold = bold;
    page.FontItalic = true;
    StampaTestoRuotato(QStringLiteral("ROMA"), 300);
    page.EndDoc();
    const PageOp op = rec.last().ops.value(0);
    QCOMPARE(op.kind, PageOp::RotatedText);
    QCOMPARE(op.deviceFont.height, height);
    QCOMPARE(op.deviceFont.weight, weight);
    QCOMPARE(op.deviceFont.escapement, 300);
    QCOMPARE(op.deviceFont.orientation, 0);
    QCOMPARE(op.deviceFont.italic, true);
    QCOMPARE(op.deviceFont.faceName, QStringLiteral("Comic Sans MS"));
    // The character height drawn is the device height, 1/600 inch each.
    QVERIFY(qAbs(op.fontSize - (-height) * 72.0 / 600.0) < 1e-9);
}

void TestPrinterPage::rotatedPosition_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<int>("angle");
    QTest::addColumn<int>("px");
    QTest::addColumn<int>("py");
    QTest::newRow("listing total") << scale::Millimeters << 80.0 << 125.0 << 300 << 1890 << 2953;
    QTest::newRow("listing wheel") << scale::Millimeters << 90.0 << 175.0 << 300 << 2126 << 4134;
    QTest::newRow("halves to even, down") << scale::Pixels << 2.5 << 4.5 << 450 << 2 << 4;
    QTest::newRow("halves to even, up") << scale::Pixels << 3.5 << 5.5 << 0 << 4 << 6;
    QTest::newRow("a full turn") << scale::Millimeters << 10.0 << 10.0 << 3600 << 236 << 236;
    QTest::newRow("negative halves") << scale::Pixels << -2.5 << -3.5 << 300 << -2 << -4;
}

void TestPrinterPage::rotatedPosition() {
    QFETCH(int, mode);
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(int, angle);
    QFETCH(int, px);
    QFETCH(int, py);
    testing::RecorderScope rec;
    PrinterPage& page = Printer();
    page.ScaleMode = mode;
    page.CurrentX = x;
    page.CurrentY = y;
    StampaTestoRuotato(QStringLiteral("€ 10,00"), angle);
    QCOMPARE(page.CurrentX, x);
    QCOMPARE(page.CurrentY, y);
    page.EndDoc();
    const PageOp op = rec.last().ops.value(0);
    QCOMPARE(op.deviceX, px);
    QCOMPARE(op.deviceY, py);
    QVERIFY(qAbs(op.x - expect::pxMm(px)) < 1e-9);
    QVERIFY(qAbs(op.y - expect::pxMm(py)) < 1e-9);
}

void TestPrinterPage::rotatedAtAngleZeroLandsWherePrintDoes() {
    testing::RecorderScope rec;
    PrinterPage& page = Printer();
    page.FontName = QStringLiteral("Courier New");
    page.FontSize = 12; // exactly 100 page pixels: the same font both ways
    page.CurrentX = 31.75; // 750 page pixels: no rounding either
    page.CurrentY = 63.5;
    StampaTestoRuotato(QStringLiteral("SALERNO"), 0);
    page.Print(QStringLiteral("SALERNO"), false);
    page.EndDoc();
    const RecordedJob job = rec.last();
    const PageOp r = job.ops[0], p = job.ops[1];
    QCOMPARE(r.deviceX, 750);
    QCOMPARE(r.deviceY, 1500);
    QVERIFY(qAbs(r.x - p.x) < 1e-9);
    QVERIFY(qAbs(r.y - p.y) < 1e-9);
    QVERIFY(qAbs(r.width - p.width) < 1e-9);
    QCOMPARE(r.fontSize, p.fontSize);
}

void TestPrinterPage::rotatedTextIsEightBit() {
    testing::RecorderScope rec;
    StampaTestoRuotato(QStringLiteral("€ 1 ★"), 300);
    Printer().EndDoc();
    // The euro sign is in the code page; the star is not.
    QCOMPARE(rec.last().ops.value(0).text, QStringLiteral("€ 1 ?"));
}

// ---- Printer choice

void TestPrinterPage::choosePrinter_data() {
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("wanted");
    QTest::addColumn<QString>("chosen");
    const QStringList two{"Altra", "PDF"};
    QTest::newRow("exact name") << two << "PDF" << "Altra" << "Altra";
    QTest::newRow("other case keeps the current") << two << "PDF" << "altra" << "PDF";
    QTest::newRow("empty name keeps the current") << two << "PDF" << "" << "PDF";
    QTest::newRow("unknown name keeps the current") << two << "PDF" << "Nessuna" << "PDF";
    QTest::newRow("trailing blank is another name") << two << "PDF" << "Altra " << "PDF";
    QTest::newRow("current gone: the first") << two << "Vecchia" << "Nessuna" << "Altra";
    QTest::newRow("no printer at all") << QStringList{} << "PDF" << "PDF" << "";
}

void TestPrinterPage::choosePrinter() {
    QFETCH(QStringList, installed);
    QFETCH(QString, current);
    QFETCH(QString, wanted);
    QFETCH(QString, chosen);
    QCOMPARE(ChoosePrinter(installed, current, wanted), chosen);
}

void TestPrinterPage::selectPrinterOnThePage() {
    testing::PrinterListScope printers({"Altra", "PDF"});
    testing::RecorderScope rec;
    PrinterPage& page = Printer();
    page.SelectPrinter(QStringLiteral("PDF"));
    QCOMPARE(page.DeviceName(), QStringLiteral("PDF"));
    page.SelectPrinter(QStringLiteral("altra"));
    QCOMPARE(page.DeviceName(), QStringLiteral("PDF"));
    page.Print(QStringLiteral("x"), true);
    page.EndDoc();
    QCOMPARE(rec.last().printer, QStringLiteral("PDF"));
    page.SelectPrinter(QStringLiteral("Altra"));
    QCOMPARE(page.DeviceName(), QStringLiteral("Altra"));
}

void TestPrinterPage::noPrinterIsError482() {
    testing::PrinterListScope printers({});
    PrinterPage& page = Printer();
    page.UsePrinter();
    try {
        page.SelectPrinter(QStringLiteral("PDF"));
        QFAIL("no error without printers");
    } catch (const RunError& e) {
        QCOMPARE(e.number, 482);
    }
    // Drawing on the printer without one fails the same way, before anything.
    try {
        page.Print(QStringLiteral("x"), true);
        QFAIL("no error without printers");
    } catch (const RunError& e) {
        QCOMPARE(e.number, 482);
    }
    QVERIFY(!page.InJob());
    page.KillDoc();
}

// ---- Pictures

void TestPrinterPage::pictures_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content"); // empty: the shipped file as it is
    QTest::addColumn<int>("error");
    QTest::addColumn<bool>("metafile");
    QTest::newRow("shipped metafile") << "images/raspoprn.wmf" << QByteArray() << 0 << true;
    QTest::newRow("shipped JPEG") << "images/vietato.jpg" << QByteArray() << 0 << false;
    QTest::newRow("missing metafile") << "images/nessuno.wmf" << QByteArray() << 53 << false;
    QTest::newRow("metafile of garbage") << "images/rotto.wmf" << QByteArray(300, 'x') << 53 << false;
    QTest::newRow("empty metafile") << "images/vuoto.wmf" << QByteArray("") << 53 << false;
    QTest::newRow("JPEG of garbage") << "images/rotto.jpg" << QByteArray(300, 'y') << 53 << false;
}

void TestPrinterPage::pictures() {
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QFETCH(int, error);
    QFETCH(bool, metafile);
    testsupport::AppFolder app;
    if (!content.isNull())
        app.write(file, content);
    try {
        const PagePicture p = PagePicture::Load(app.file(file));
        QCOMPARE(error, 0);
        QCOMPARE(p.isMetafile(), metafile);
        QVERIFY(!p.isNull());
        if (metafile)
            QVERIFY(p.svg().contains("<svg"));
        else
            QCOMPARE(p.image().size(), QSize(1122, 295));
    } catch (const RunError& e) {
        QCOMPARE(e.number, error);
        QCOMPARE(e.description, QStringLiteral("File not found"));
    }
}

// ---- The PDF back end, read back with the poppler and MuPDF tools.

namespace {
QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000))
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Word boxes of a PDF page: text → (xMin, yMin) in points.
QMap<QString, QPointF> wordCorners(const QString& pdf) {
    QMap<QString, QPointF> out;
    const QString html = run(QStringLiteral("pdftotext"),
                             {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"[0-9.]+\" "
                       "yMax=\"[0-9.]+\">([^<]*)</word>"));
    auto it = word.globalMatch(html);
    while (it.hasNext()) {
        const auto m = it.next();
        if (!out.contains(m.captured(3)))
            out.insert(m.captured(3), QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()));
    }
    return out;
}
double pt(double mm) { return mm * 72 / 25.4; }
} // namespace

void TestPrinterPage::pdfPositions() {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("pagina.pdf"));
    PrinterPage& page = Printer();
    page.UsePdfFile(pdf);
    page.FontName = QStringLiteral("Courier New");
    page.FontBold = true;
    page.FontSize = 180;
    page.CurrentX = 115;
    page.CurrentY = 100;
    page.Print(QStringLiteral("07"), false);
    page.FontSize = 10;
    page.CurrentX = 5;
    page.CurrentY = 5;
    page.Print(QStringLiteral("Bramasolovanti"), false);
    page.EndDoc();
    page.UsePrinter();

    QCOMPARE(run("pdfinfo", {pdf}).contains(QRegularExpression("Pages:\\s+1\\n")), true);
    QVERIFY(run("pdfinfo", {pdf}).contains(QStringLiteral("595 x 842 pts (A4)")));
    const QMap<QString, QPointF> words = wordCorners(pdf);
    const double tol = pt(0.1);
    QVERIFY2(words.contains("07"), qPrintable(QStringList(words.keys()).join(',')));
    QVERIFY2(qAbs(words["07"].x() - 325.984) < tol, qPrintable(QString::number(words["07"].x())));
    QVERIFY2(qAbs(words["07"].y() - 283.465) < tol, qPrintable(QString::number(words["07"].y())));
    QVERIFY(qAbs(words["Bramasolovanti"].x() - pt(5)) < tol);
    QVERIFY(qAbs(words["Bramasolovanti"].y() - pt(5)) < tol);
}

void TestPrinterPage::pdfOfTwoPages() {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("due.pdf"));
    PrinterPage& page = Printer();
    page.UsePdfFile(pdf);
    page.Line(10, 10, 50, 10, 0, true);
    page.NewPage();
    page.Print(QStringLiteral("seconda"), true);
    page.NewPage();
    page.EndDoc();
    page.UsePrinter();
    QVERIFY(run("pdfinfo", {pdf}).contains(QRegularExpression("Pages:\\s+2\\n")));
}

void TestPrinterPage::pdfThatCannotBeWritten() {
    QTemporaryDir dir;
    // A path whose folder is a regular file stops root as well.
    QFile blocker(dir.filePath(QStringLiteral("file")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString pdf = dir.filePath(QStringLiteral("file/tabulato.pdf"));
    PrinterPage& page = Printer();
    page.UsePdfFile(pdf);
    page.Print(QStringLiteral("x"), true);
    try {
        page.EndDoc();
        QFAIL("a PDF under a regular file was written");
    } catch (const RunError& e) {
        QVERIFY2(e.number == err::PathNotFound || e.number == err::PathFileAccess,
                 qPrintable(QString::number(e.number)));
    }
    QVERIFY(!page.InJob());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("file")});
    page.UsePrinter();
}

void TestPrinterPage::pdfAbandonedJobWritesNothing() {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("abbandonato.pdf"));
    PrinterPage& page = Printer();
    page.UsePdfFile(pdf);
    page.Print(QStringLiteral("x"), true);
    page.KillDoc();
    QVERIFY(!QFile::exists(pdf));
    page.Print(QStringLiteral("y"), true);
    page.UsePrinter(); // changing the target abandons too
    QVERIFY(!QFile::exists(pdf));
    QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

QTEST_MAIN(TestPrinterPage)
#include "test_printerpage.moc"
