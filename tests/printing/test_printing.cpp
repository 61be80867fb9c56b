// The printer page and the cluster figure: whole recorded jobs against the
// snapshots in golden/ (testsupport::CheckGolden says how to regenerate them).
#include "app/corpo.h"
#include "app/fileio.h"
#include "app/messages.h"
#include "app/printers.h"
#include "printing/printerpage.h"
#include "printing/vorlacco.h"
#include "tests/support/testsupport.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <clocale>
#include <malloc.h>
#include <optional>

using namespace corpo;

namespace {

// A sample of every operation. After each, a dot shows where the current position went. Jobs that
// end empty or are abandoned leave nothing, and each job starts in the default state.
void PageOperations(PrinterPage& page) {
    testsupport::AppFolder app;
    const auto dot = [&] { page.Print(QStringLiteral("."), false); };
    page.FontBold = true; // gone with the abandoned job
    page.Print(QStringLiteral("abbandonato"), true);
    page.KillDoc();
    page.FontName = QStringLiteral("Comic Sans MS");
    page.ForeColor = 255;
    page.CurrentX = 60;
    dot();
    page.EndDoc(); // and the next job starts afresh
    page.CurrentX = 115;
    page.CurrentY = 205;
    page.Print(QStringLiteral("Bramasolovanti by "), false);
    dot();
    page.FontName = QStringLiteral("Comic Sans MS");
    page.FontSize = 20;
    page.FontUnderline = true;
    page.Print(QStringLiteral("Prospetto Vincite"), true);
    dot();
    page.FontName = QStringLiteral("Courier New");
    page.FontSize = 27.5;
    page.FontBold = true;
    page.FontUnderline = false;
    page.ForeColor = 0x0080FFFF;
    page.Print(QStringLiteral("07"), false);
    page.ForeColor = 0;
    page.FillStyle = 0;
    page.FillColor = 0x00336699;
    page.DrawWidth = 5;
    page.Circle(150, 130, 11, 0x000000FF);
    dot();
    page.Line(10, 20, 40, 60, 0x0000FF00, false);
    dot();
    page.NewPage();
    page.Line(10, 20, 40, 60, 0x00FF0000, true);
    dot();
    page.PaintPicture(PagePicture::Load(app.file("images/vietato.jpg")), 5, 240, 95, 25);
    page.PaintPicture(PagePicture::Load(PercorsoFiguraVorlacco()), 5, 100);
    dot();
    // Rotated: height and page pixels rounded half to even, the position kept.
    page.FontSize = 10;
    page.CurrentX = 80;
    page.CurrentY = 125;
    PrintRotatedText(page, QStringLiteral("€ 10,00 ★"), 300);
    page.FontBold = false;
    page.ScaleMode = scale::Pixels;
    for (const double size : {1.5, 4.5}) {
        page.FontSize = size;
        page.CurrentX = size + 1;
        page.CurrentY = size + 4;
        PrintRotatedText(page, QStringLiteral("ROMA"), 900);
    }
    dot();
    page.NewPage(); // no blank third sheet
    page.EndDoc();
    page.FontItalic = true;
    page.EndDoc(); // no job: the italics go all the same
    dot();
    page.EndDoc();
}

} // namespace

class TestPrinting : public QObject {
    Q_OBJECT

private Q_SLOTS:

    // A sample of every page operation against its snapshot. (The cluster figure is in the
    // listing's snapshots, with and without head number and colour.)
    void golden() {
        testing::PrinterListScope printers({QStringLiteral("Golden")});
        PrinterPage page(PrinterPage::Target::Recorder);
        page.SelectPrinter(QStringLiteral("Golden"));
        PageOperations(page);
        testsupport::CheckGolden("tests/printing/golden/page.txt", page.recordedJobs());
    }

    // Exact names only; no match keeps the current printer; none at all is 482 and nothing starts.
    void selectPrinter_data() {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("wanted");
        QTest::addColumn<QString>("chosen"); // or the error
        for (const auto& [row, wanted, chosen] : {std::tuple{"exact name", "Altra", "Altra"},
                                                  {"other case", "altra", "PDF"},
                                                  {"empty name", "", "PDF"},
                                                  {"unknown name", "Nessuna", "PDF"}})
            QTest::newRow(row) << QStringList{"Altra", "PDF"} << wanted << chosen;
        QTest::newRow("no printer") << QStringList{} << "PDF"
                                    << "482";
    }
    void selectPrinter() {
        testing::PrinterListScope printers(testsupport::Fetch<QStringList>("installed"));
        PrinterPage page;
        QString chosen;
        try {
            page.SelectPrinter(QStringLiteral("PDF")); // the current one
            page.SelectPrinter(testsupport::Fetch<QString>("wanted"));
            chosen = page.DeviceName();
        } catch (const RunError& e) {
            chosen = QString::number(e.number);
            QVERIFY_THROWS_EXCEPTION(RunError, page.Print(QStringLiteral("x"), true));
            QVERIFY(!page.InJob());
        }
        QTEST(chosen, "chosen");
    }

    // Abandoned or failed, a PDF job leaves no file behind.
    void pdfNotWritten() {
        QTemporaryDir dir;
        PrinterPage page;
        page.UsePdfFile(dir.filePath(QStringLiteral("abbandonato.pdf")));
        page.Print(QStringLiteral("x"), true);
        page.KillDoc();
        page.Print(QStringLiteral("y"), true);
        page.UsePrinter(); // changing the target abandons too
        // A path whose folder is a regular file stops root as well.
        QVERIFY(WriteFileAtomically(dir.filePath(QStringLiteral("file")), "x", nullptr));
        page.UsePdfFile(dir.filePath(QStringLiteral("file/tabulato.pdf")));
        page.Print(QStringLiteral("x"), true);
        try {
            page.EndDoc();
            QFAIL("a PDF under a regular file was written");
        } catch (const RunError& e) {
            QVERIFY(e.number == err::PathNotFound || e.number == err::PathFileAccess);
        }
        QVERIFY(!page.InJob());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("file")});
    }

    // A stalk that is missing or no metafile: the figure's report, no grape, the caller's page on.
    void brokenStalk_data() {
        QTest::addColumn<QByteArray>("content"); // null: the file is removed
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("not a metafile") << QByteArray("GIF89a this is no metafile at all");
    }
    void brokenStalk() {
        QFETCH(QByteArray, content);
        testsupport::AppFolder app;
        if (content.isNull())
            QVERIFY(QFile::remove(PercorsoFiguraVorlacco()));
        else
            app.write("images/raspoprn.wmf", content);
        PrinterPage page(PrinterPage::Target::Recorder);
        testing::Script script;
        page.Print(QStringLiteral("before"), true);
        stampaVorlacco(page, DatiCarta{}, 15, 45, 11, true);
        page.Print(QStringLiteral("after"), true);
        page.EndDoc();
        QCOMPARE(script.messages().size(), 1);
        QCOMPARE(script.messages().first().text,
                 "Errore 53 (file non trovato) nella procedura stampaVorlacco (Modulo corpo)");
        QStringList drawn;
        for (const PageOp& op : page.recordedJobs().value(0).ops)
            drawn << op.text;
        QCOMPARE(drawn, (QStringList{"before", "after"}));
    }

    // libwmf writes its numbers with the locale's decimal sign: under an
    // Italian locale the stalk must still come out as under C. Reading it leaks nothing.
    void stalkIgnoresTheLocale() {
        testsupport::AppFolder app;
        const QByteArray c = PagePicture::Load(PercorsoFiguraVorlacco()).svg();
        const size_t held = mallinfo2().uordblks; // each reading frees the library's 180 kB
        for (int i = 0; i < 5; ++i)
            PagePicture::Load(PercorsoFiguraVorlacco());
        QCOMPARE_LT(mallinfo2().uordblks, held + 100'000);
        QTemporaryDir locales;
        if (!setlocale(LC_NUMERIC, "it_IT.UTF-8")) {
            if (QStandardPaths::findExecutable(QStringLiteral("localedef")).isEmpty())
                QSKIP("no it_IT locale and no localedef to make one");
            QProcess::execute(QStringLiteral("localedef"),
                              {"-i", "it_IT", "-f", "UTF-8", locales.filePath("it_IT.UTF-8")});
            qputenv("LOCPATH", QFile::encodeName(locales.path()));
            QVERIFY(setlocale(LC_NUMERIC, "it_IT.UTF-8"));
        }
        const QByteArray decimal = localeconv()->decimal_point;
        const QByteArray italian = PagePicture::Load(PercorsoFiguraVorlacco()).svg();
        setlocale(LC_NUMERIC, "C");
        qunsetenv("LOCPATH");
        QCOMPARE(decimal, QByteArray(","));
        QVERIFY(c.contains("<polyline") || c.contains("<path"));
        QCOMPARE(italian, c);
    }
};

QTEST_MAIN(TestPrinting)
#include "test_printing.moc"
