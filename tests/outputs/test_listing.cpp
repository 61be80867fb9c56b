// The listing on the recorder: where every part of the page lands, colour and
// black and white, copies, and what the window does with each control.
#include "app/corpo.h"
#include "app/frmImpostazioni.h"
#include "app/messages.h"
#include "app/printers.h"
#include "app/settings.h"
#include "outputs/frmPrnInCorso.h"
#include "outputs/frmTabulato.h"
#include "printing/printerpage.h"
#include "tests/outputs/listingsupport.h"
#include "tests/support/testsupport.h"
#include "update/maker.h"
#include "ui_frmImpostazioni.h"
#include "ui_frmPrnInCorso.h"
#include "ui_frmTabulato.h"
#include "winnings/prospetto.h"
#include "winnings/stampaprospetto.h"
#include "tests/printing/metrics.h"

#include <QLineEdit>
#include <QtTest>

using namespace corpo;
using namespace listing;

namespace {
bool near(double a, double b, double tol) { return qAbs(a - b) < tol; }
constexpr double Exact = 0.001;  // where the number is given outright
constexpr double Metric = 0.01;  // where font metrics enter
} // namespace

class TestListing : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void placement_data();
    void placement();
    void rotatedTexts();
    void prospect();
    void headNumber_data();
    void headNumber();
    void colours_data();
    void colours();
    void copies_data();
    void copies();
    void emptyHeaderAndOtherHeader_data();
    void emptyHeaderAndOtherHeader();
    void differentCinquinaStakes();
    void addressOnTheNameLine();
    void windowAtLoad();
    void scrollBarArrows_data();
    void scrollBarArrows();
    void headerSavedFromTheWindowPrintsNextTime();
    void printerLabel_data();
    void printerLabel();
    void noPrinter();
    void otherErrorStopsTheCopies();
    void missingFootPicture();
    void missingStalk();
    void escapeCloses();
    void progressWindow();
    void prospectAtAnyPosition_data();
    void prospectAtAnyPosition();
    void prospectOfZeroStakes();

private:
    RecordedJob PrintOnce(bool colour = true, int copies = 1);
    SystemRecord saved_;
    QString savedHeader_, savedPrinter_;
    std::unique_ptr<testsupport::AppFolder> app_;
    std::unique_ptr<testsupport::LocaleScope> locale_;
    std::unique_ptr<testing::PrinterListScope> printers_;
};

void TestListing::init() {
    saved_ = Sistema;
    savedHeader_ = IntestazioneStampa;
    savedPrinter_ = StampanteTabulato;
    app_ = std::make_unique<testsupport::AppFolder>();
    locale_ = std::make_unique<testsupport::LocaleScope>(testsupport::italian());
    printers_ = std::make_unique<testing::PrinterListScope>(QStringList{"Altra", "PDF"});
    app_->write("impostazioni.cfg", SettingsBytes(QStringLiteral("Ricevitoria del Corso"),
                                                  QStringLiteral("PDF")));
    Sistema = TenEuroSystem();
    ColoreCapogioco = ColoreCapogiocoDefault;
    ColoreVorlacco = ColoreVorlaccoDefault;
}

void TestListing::cleanup() {
    Sistema = saved_;
    IntestazioneStampa = savedHeader_;
    StampanteTabulato = savedPrinter_;
    printers_.reset();
    locale_.reset();
    app_.reset();
}

// Opens the window, sets colour and copies, presses Stampa on the recorder.
RecordedJob TestListing::PrintOnce(bool colour, int copies) {
    testing::RecorderScope rec;
    frmTabulato w;
    w.ui->chkColor->setChecked(colour);
    w.ui->VsCopie->setValue(copies);
    QTest::mouseClick(w.ui->cmdStampa, Qt::LeftButton);
    return rec.last();
}

void TestListing::placement_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<double>("right"); // where it ends; < 0 when not checked
    QTest::addColumn<double>("tolerance");
    QTest::newRow("product") << "Bramasolovanti by Marvolt - " << 5.0 << 5.0 << 64.276 << Exact;
    QTest::newRow("header") << "Ricevitoria del Corso" << 64.276 << 5.0 << -1.0 << Metric;
    QTest::newRow("rule") << "x" + QString(93, QChar(0x2014)) + "x" << 5.0 << 8.996 << 206.116 << Metric;
    QTest::newRow("name") << "Nome Sistema Prova 1             " << 5.0 << 12.993 << 74.861 << Metric;
    QTest::newRow("address") << QString(26, ' ') + "WWW.EXAMPLE.COM" << 74.861 << 12.993 << 196.378
                             << Metric;
    QTest::newRow("title") << "Bramasolovanti" << 60.0 << 20.0 << -1.0 << Exact;
    QTest::newRow("prospect title") << "Prospetto Vincite" << 115.0 << 205.0 << -1.0 << Exact;
    QTest::newRow("first heading") << "Ambo" << 115.0 << 213.114 << -1.0 << Metric;
    QTest::newRow("Estratto heading") << "Estratto" << 115.0 << 265.894 << -1.0 << Metric;
    QTest::newRow("Estratto amount") << "€ 11,23" << 115.0 << 268.492 << 126.855 << Metric;
}

void TestListing::placement() {
    QFETCH(QString, text);
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(double, right);
    QFETCH(double, tolerance);
    const RecordedJob job = PrintOnce();
    QCOMPARE(job.pages, 1);
    QCOMPARE(job.printer, QStringLiteral("PDF"));
    const PageOp op = Find(job, text);
    QVERIFY2(op.kind == PageOp::Text && !op.text.isNull(),
             qPrintable(Texts(job).join(QLatin1Char('|'))));
    QVERIFY2(near(op.x, x, tolerance) && near(op.y, y, tolerance), qPrintable(op.describe()));
    if (right >= 0)
        QVERIFY2(near(op.x + op.width, right, tolerance), qPrintable(op.describe()));
}

void TestListing::rotatedTexts() {
    const RecordedJob job = PrintOnce();
    const QList<PageOp> rotated = job.ofKind(PageOp::RotatedText);
    QCOMPARE(rotated.size(), 2);
    const PageOp& total = rotated[0];
    QCOMPARE(total.text, QStringLiteral("€ 10,00"));
    QVERIFY2(near(total.x, 80.01, Exact) && near(total.y, 125.01, Exact), qPrintable(total.describe()));
    QCOMPARE(total.deviceFont.escapement, 300);
    QCOMPARE(total.deviceFont.height, -667);
    QCOMPARE(total.deviceFont.weight, 700);
    QCOMPARE(total.deviceFont.faceName, QStringLiteral("Comic Sans MS"));
    QCOMPARE(total.foreColor, 255);
    const PageOp& wheel = rotated[1];
    QCOMPARE(wheel.text, QStringLiteral("NAPOLI    "));
    QVERIFY2(near(wheel.x, 90.001, Exact) && near(wheel.y, 175.006, Exact), qPrintable(wheel.describe()));
    QCOMPARE(wheel.deviceFont.height, -583);
    QCOMPARE(wheel.foreColor, 0);
    // Without a head number there is no disc and no big number.
    QCOMPARE(job.ofKind(PageOp::Circle).size(), 29);
}

void TestListing::prospect() {
    const RecordedJob job = PrintOnce();
    // Nine heading rows 6.598 mm apart, the columns at 0, 18, 40 and 65 mm.
    QList<double> rows;
    QList<double> columns;
    for (const PageOp& op : job.ofKind(PageOp::Text)) {
        if (op.text == "Ambo" || op.text == "Estratto")
            rows << op.y;
        if (op.y < 214 && op.y > 213 && op.fontSize == 6.5)
            columns << op.x;
    }
    QCOMPARE(rows.size(), 9);
    for (int i = 0; i < 9; ++i)
        QVERIFY2(near(rows[i], 213.114 + i * 6.598, Metric), qPrintable(QString::number(rows[i])));
    QCOMPARE(columns.size(), 4);
    const double at[4] = {115, 133, 155, 180};
    for (int c = 0; c < 4; ++c)
        QVERIFY2(near(columns[c], at[c], 1e-4), qPrintable(QString::number(columns[c], 'f', 6)));
    const PageOp title = Find(job, "Prospetto Vincite");
    QCOMPARE(title.fontName, QStringLiteral("Comic Sans MS"));
    QCOMPARE(title.fontSize, 20.0);
    QCOMPARE(title.bold, false);
    const PageOp amount = Find(job, "€ 11,23");
    QCOMPARE(amount.fontName, QStringLiteral("Courier New"));
    QCOMPARE(amount.fontSize, 8.0);
    QVERIFY(amount.bold);
    const PageOp foot = job.ofKind(PageOp::Picture).value(1);
    QVERIFY(foot.text.endsWith(QStringLiteral("images/vietato.jpg")));
    QCOMPARE(QRectF(foot.x, foot.y, foot.width, foot.height), QRectF(5, 240, 95, 25));
    // The foot picture is the page's last drawing.
    QCOMPARE(job.ops.last().kind, PageOp::Picture);
}

void TestListing::headNumber_data() {
    QTest::addColumn<bool>("colour");
    QTest::addColumn<int32_t>("totalColour");
    QTest::newRow("colour") << true << 255;
    QTest::newRow("black and white") << false << 0;
}

void TestListing::headNumber() {
    QFETCH(bool, colour);
    QFETCH(int32_t, totalColour);
    Sistema.Capogioco = 7;
    ColoreCapogioco = 0x00FF00;
    const RecordedJob job = PrintOnce(colour);
    QCOMPARE(job.ofKind(PageOp::RotatedText).size(), 0);
    const QList<PageOp> circles = job.ofKind(PageOp::Circle);
    QCOMPARE(circles.size(), 29 + 9 + 1);
    const PageOp disc = circles.last();
    QCOMPARE(QPointF(disc.x, disc.y), QPointF(150, 130));
    QCOMPARE(disc.radius, 45.0);
    QCOMPARE(disc.fillStyle, 0);
    // The disc keeps the head number's colour in black and white too.
    QCOMPARE(disc.fillColor, 0x00FF00);
    QCOMPARE(disc.foreColor, 0);
    const PageOp big = Find(job, "07");
    const QList<PageOp> texts = job.ofKind(PageOp::Text);
    const PageOp number = *std::find_if(texts.begin(), texts.end(),
                                        [](const PageOp& t) { return t.fontSize == 180; });
    QCOMPARE(number.text, QStringLiteral("07"));
    QCOMPARE(QPointF(number.x, number.y), QPointF(115, 100));
    QVERIFY(number.bold);
    QCOMPARE(number.fontName, QStringLiteral("Courier New"));
    const PageOp total = Find(job, "€ 10,00");
    QCOMPARE(QPointF(total.x, total.y), QPointF(110, 55));
    QCOMPARE(total.fontSize, 60.0);
    QCOMPARE(total.foreColor, totalColour);
    const PageOp wheel = Find(job, "NAPOLI    ");
    QCOMPARE(wheel.kind, PageOp::Text);
    QCOMPARE(QPointF(wheel.x, wheel.y), QPointF(90, 175));
    QCOMPARE(wheel.fontSize, 70.0);
    Q_UNUSED(big);
}

void TestListing::colours_data() {
    QTest::addColumn<bool>("colour");
    QTest::addColumn<int32_t>("title");
    QTest::addColumn<int32_t>("grapes");
    QTest::addColumn<QString>("foot");
    QTest::newRow("colour") << true << 0xFF0000 << ColoreVorlaccoDefault << "images/vietato.jpg";
    QTest::newRow("black and white") << false << 0 << 0xFFFFFF << "images/vietatoBW.jpg";
}

void TestListing::colours() {
    QFETCH(bool, colour);
    QFETCH(int32_t, title);
    QFETCH(int32_t, grapes);
    QFETCH(QString, foot);
    const RecordedJob job = PrintOnce(colour);
    const PageOp t = Find(job, "Bramasolovanti");
    QCOMPARE(t.foreColor, title);
    QCOMPARE(t.fontName, QStringLiteral("Comic Sans MS"));
    QCOMPARE(t.fontSize, 48.0);
    QVERIFY(t.bold);
    for (const PageOp& c : job.ofKind(PageOp::Circle))
        QCOMPARE(c.fillColor, grapes);
    QVERIFY(job.ofKind(PageOp::Picture).value(1).text.endsWith(foot));
    QCOMPARE(job.ofKind(PageOp::RotatedText).value(0).foreColor, colour ? 255 : 0);
}

void TestListing::copies_data() {
    QTest::addColumn<int>("copies");
    QTest::newRow("none") << 0;
    QTest::newRow("one") << 1;
    QTest::newRow("three") << 3;
}

void TestListing::copies() {
    QFETCH(int, copies);
    testing::RecorderScope rec;
    testing::Script script;
    frmTabulato w;
    w.ui->VsCopie->setValue(copies);
    QCOMPARE(w.ui->labCopie->text(), QString::number(copies));
    QTest::mouseClick(w.ui->cmdStampa, Qt::LeftButton);
    QCOMPARE(rec.jobs().size(), copies);
    QVERIFY(script.messages().isEmpty());
    QVERIFY(w.isEnabled());
    for (const RecordedJob& j : rec.jobs())
        QCOMPARE(j.describe(), rec.jobs().first().describe());
}

void TestListing::emptyHeaderAndOtherHeader_data() {
    QTest::addColumn<QString>("header");
    QTest::newRow("empty") << "";
    QTest::newRow("with accents") << "Tabaccheria Però";
}

void TestListing::emptyHeaderAndOtherHeader() {
    QFETCH(QString, header);
    app_->write("impostazioni.cfg", SettingsBytes(header, QStringLiteral("PDF")));
    const RecordedJob job = PrintOnce();
    const QList<PageOp> texts = job.ofKind(PageOp::Text);
    QCOMPARE(texts[0].text, QStringLiteral("Bramasolovanti by Marvolt - "));
    QCOMPARE(texts[1].text, header);
    QVERIFY(near(texts[1].x, 64.276, Metric));
    QVERIFY(near(texts[2].y, 8.996, Metric)); // the rule follows on the next line
}

void TestListing::differentCinquinaStakes() {
    Sistema.ImpCinq2 = {2.00f, 0.60f, 0.30f, 0.10f};
    const RecordedJob job = PrintOnce();
    // Amounts of the first two blocks, by column.
    QList<PageOp> amounts;
    for (const PageOp& op : job.ofKind(PageOp::Text))
        if (op.fontSize == 8 && op.text.startsWith(QStringLiteral("€ ")))
            amounts << op;
    QCOMPARE(amounts.size(), 21);
    for (int c = 0; c < 4; ++c) {
        QCOMPARE(amounts[c].text, FormatoVincita(Sistema.VinCinq1[c]));
        QCOMPARE(amounts[4 + c].text, FormatoVincita(Sistema.VinCinq2[c]));
        QVERIFY(amounts[c].text != amounts[4 + c].text);
    }
    QVERIFY(Sistema.VinCinq2[0] > Sistema.VinCinq1[0]);
}

void TestListing::addressOnTheNameLine() {
    QCOMPARE(IndirizzoStampato(), QStringLiteral("WWW.EXAMPLE.COM"));
    // With its scheme the address would run off an A4 sheet (210 mm).
    PageFont f{QStringLiteral("Courier New"), 14, true};
    const double withScheme =
        74.861 + MeasureText(f, QString(26, ' ') + "HTTPS://WWW.EXAMPLE.COM").width;
    QVERIFY(near(withScheme, 220.088, Metric));
}

void TestListing::windowAtLoad() {
    IntestazioneStampa.clear();
    frmTabulato w;
    QCOMPARE(w.windowTitle(), QStringLiteral("Stampa Tabulato"));
    QCOMPARE(w.font().family(), QStringLiteral("Calibri"));
    QCOMPARE(w.ui->labCopie->text(), QStringLiteral("1"));
    QCOMPARE(w.ui->VsCopie->value(), 1);
    QCOMPARE(w.ui->VsCopie->minimum(), 0);
    QCOMPARE(w.ui->VsCopie->maximum(), 20);
    QCOMPARE(w.ui->cmdStampa->text(), QStringLiteral("&Stampa"));
    QVERIFY(!w.ui->cmdStampa->icon().isNull());
    QCOMPARE(w.ui->cmdImpostazioni->text(), QStringLiteral("&Impostazioni"));
    QCOMPARE(w.ui->chkColor->text(), QStringLiteral("A colori"));
    QCOMPARE(w.ui->Label2->text(), QStringLiteral("Copie"));
    // The settings are read at load.
    QCOMPARE(IntestazioneStampa, QStringLiteral("Ricevitoria del Corso"));
    QVERIFY(w.isModal());
}

void TestListing::scrollBarArrows_data() {
    QTest::addColumn<QString>("arrow");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<QString>("shown");
    QTest::newRow("upper arrow raises") << "up" << 2 << "3";
    QTest::newRow("lower arrow lowers") << "down" << 1 << "0";
    QTest::newRow("never below 0") << "down" << 4 << "0";
    QTest::newRow("never above 20") << "up" << 25 << "20";
    QTest::newRow("Up key raises") << "key up" << 2 << "3";
    QTest::newRow("Down key lowers") << "key down" << 1 << "0";
    QTest::newRow("trough above the handle raises") << "trough" << 1 << "2";
}

void TestListing::scrollBarArrows() {
    QFETCH(QString, arrow);
    QFETCH(int, clicks);
    QFETCH(QString, shown);
    frmTabulato w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QScrollBar* bar = w.ui->VsCopie;
    const QPoint at = arrow == "up" ? QPoint(bar->width() / 2, 3)
                                    : QPoint(bar->width() / 2, bar->height() - 3);
    for (int i = 0; i < clicks; ++i) {
        if (arrow == "key up")
            QTest::keyClick(bar, Qt::Key_Up);
        else if (arrow == "key down")
            QTest::keyClick(bar, Qt::Key_Down);
        else if (arrow == "trough")
            QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() / 3));
        else
            QTest::mouseClick(bar, Qt::LeftButton, {}, at);
    }
    QCOMPARE(w.ui->labCopie->text(), shown);
}

void TestListing::headerSavedFromTheWindowPrintsNextTime() {
    testing::RecorderScope rec;
    testing::Script script;
    frmTabulato w;
    w.show();
    bool seen = false;
    WhenModal<frmImpostazioni>(
        [](frmImpostazioni* dlg) {
            dlg->ui->mskIntestazione->setText(QStringLiteral("Bar Sport"));
            QTest::mouseClick(dlg->findChild<QPushButton*>(QStringLiteral("cmdSalva")),
                              Qt::LeftButton);
        },
        &seen);
    QTest::mouseClick(w.ui->cmdImpostazioni, Qt::LeftButton);
    QVERIFY(seen);
    QVERIFY(app_->read("impostazioni.cfg").startsWith("BAR SPORT"));
    QTest::mouseClick(w.ui->cmdStampa, Qt::LeftButton);
    QCOMPARE(Texts(rec.last()).value(1), QStringLiteral("BAR SPORT"));
}

void TestListing::printerLabel_data() {
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QString>("configured");
    QTest::addColumn<QString>("label");
    QTest::newRow("configured printer") << QStringList{"Altra", "PDF"} << "PDF" << "Stampante: PDF";
    QTest::newRow("unknown name: the current one")
        << QStringList{"Altra"} << "Nessuna" << "Stampante: Altra";
    QTest::newRow("none installed")
        << QStringList{} << "PDF" << "Stampante: nessuna stampante installata";
}

void TestListing::printerLabel() {
    QFETCH(QStringList, installed);
    QFETCH(QString, configured);
    QFETCH(QString, label);
    testing::PrinterListScope printers(installed);
    app_->write("impostazioni.cfg", SettingsBytes(QStringLiteral("x"), configured));
    frmTabulato w;
    QCOMPARE(w.ui->lblStampante->text(), label);
    w.ui->chkFilePdf->click();
    QCOMPARE(w.ui->lblStampante->text(), QStringLiteral("Stampante: File PDF"));
    QVERIFY(!w.ui->VsCopie->isEnabled());
}

void TestListing::noPrinter() {
    testing::PrinterListScope printers({});
    testing::RecorderScope rec;
    Printer().UsePrinter();
    testing::Script script;
    frmTabulato w;
    QTest::mouseClick(w.ui->cmdStampa, Qt::LeftButton);
    QCOMPARE(script.messages().size(), 1);
    const Shown m = script.messages().first();
    QCOMPARE(m.text, QStringLiteral("Stampante non installata"));
    QCOMPARE(m.title, QStringLiteral("!!! E R R O R E !!!"));
    QCOMPARE(m.icon, MsgIcon::Critical);
    QCOMPARE(m.buttons, MsgButtons::Ok);
    QVERIFY(!Printer().InJob());
    QVERIFY(w.isEnabled());
    Printer().UseRecorder();
}

void TestListing::otherErrorStopsTheCopies() {
    // A stake too large for any winning to be worked out.
    Sistema.ImpEstratto = 3e38f;
    testing::RecorderScope rec;
    testing::Script script;
    frmTabulato w;
    w.ui->VsCopie->setValue(3);
    QTest::mouseClick(w.ui->cmdStampa, Qt::LeftButton);
    QCOMPARE(script.messages().size(), 1);
    QCOMPARE(script.messages().first().text,
             QStringLiteral("Error 6 (Overflow) in procedure StampaTabulato of Form frmTabulato"));
    QCOMPARE(script.messages().first().title, QStringLiteral("Bramasolovanti"));
    QCOMPARE(rec.jobs().size(), 0);
    QVERIFY(!Printer().InJob());
    QVERIFY(w.isEnabled());
}

void TestListing::missingFootPicture() {
    QVERIFY(QFile::remove(app_->file("images/vietatoBW.jpg")));
    testing::Script script;
    const RecordedJob job = PrintOnce(false);
    QCOMPARE(script.messages().size(), 1);
    QVERIFY2(script.messages().first().text.contains(QStringLiteral("images/vietatoBW.jpg")),
             qPrintable(script.messages().first().text));
    // The listing comes out all the same, the stalk its only picture.
    QCOMPARE(job.ofKind(PageOp::Picture).size(), 1);
    QVERIFY(job.ofKind(PageOp::Picture).first().metafile);
    QVERIFY(Texts(job).contains(QStringLiteral("€ 11,23")));
}

void TestListing::missingStalk() {
    QVERIFY(QFile::remove(app_->file("images/raspoprn.wmf")));
    testing::Script script;
    const RecordedJob job = PrintOnce();
    QCOMPARE(script.messages().size(), 1);
    QCOMPARE(script.messages().first().text,
             QStringLiteral("Error 53 (File not found) in procedure stampaVorlacco of Modulo corpo"));
    QCOMPARE(job.ofKind(PageOp::Circle).size(), 0);
    QVERIFY(!Texts(job).contains(QStringLiteral("07")));
    // The rest of the listing follows.
    QVERIFY(Texts(job).contains(QStringLiteral("€ 11,23")));
    QCOMPARE(job.ofKind(PageOp::RotatedText).size(), 2);
    QCOMPARE(job.ofKind(PageOp::Picture).size(), 1);
}

void TestListing::escapeCloses() {
    frmTabulato w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::keyClick(&w, Qt::Key_Escape);
    QVERIFY(!w.isVisible());
}

void TestListing::progressWindow() {
    StopStampa = false;
    QWidget owner;
    frmPrnInCorso* w = CaricaPrnInCorso(&owner);
    QVERIFY(w->isVisible());
    QVERIFY(!w->isModal());
    QCOMPARE(w->windowTitle(), QStringLiteral("Stampa in corso..."));
    QCOMPARE(w->ui->Label1->text(), QStringLiteral("Scheda n. 000000"));
    QCOMPARE(w->ui->cmdInterrompi->text(), QStringLiteral("&Interrompi"));
    w->MostraScheda(3);
    QCOMPARE(w->ui->Label1->text(), QStringLiteral("Scheda n. 3"));
    QTest::mouseClick(w->ui->cmdInterrompi, Qt::LeftButton);
    QVERIFY(StopStampa);
    StopStampa = false;
    delete w;
}

void TestListing::prospectAtAnyPosition_data() {
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<QString>("font"); // what the caller left
    QTest::addColumn<int>("fillStyle");
    QTest::newRow("the listing's place") << 115.0f << 205.0f << "Comic Sans MS" << 0;
    QTest::newRow("top-left corner") << 0.0f << 0.0f << "Courier New" << 1;
    QTest::newRow("elsewhere") << 12.5f << 40.25f << "Comic Sans MS" << 1;
}

void TestListing::prospectAtAnyPosition() {
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(QString, font);
    QFETCH(int, fillStyle);
    testing::RecorderScope rec;
    PrinterPage& page = Printer();
    page.FontName = font;
    page.FontBold = false;
    page.FillStyle = fillStyle;
    page.ForeColor = 255;
    StampaProspetto(x, y);
    QCOMPARE(page.FillStyle, fillStyle);
    QCOMPARE(page.FontName, QStringLiteral("Courier New"));
    QCOMPARE(page.FontSize, 8.0);
    QVERIFY(page.FontBold);
    const double end = page.CurrentX, endY = page.CurrentY;
    page.EndDoc();
    const QList<PageOp> texts = rec.last().ofKind(PageOp::Text);
    QCOMPARE(texts.size(), 1 + 2 * 21);
    const PageOp& title = texts[0];
    QCOMPARE(title.text, QStringLiteral("Prospetto Vincite"));
    QCOMPARE(QPointF(title.x, title.y), QPointF(x, y));
    QCOMPARE(title.fontName, font);
    QCOMPARE(title.fontSize, 20.0);
    QCOMPARE(title.foreColor, 0); // black, whatever the caller had
    const double titleLine =
        font == "Courier New" ? expect::monoLine(20) : expect::comicLine(20);
    const double block = expect::monoLine(6.5) + 4;
    const double offsets[4] = {0, 18, 40, 65};
    // Walk the nine blocks: headings, then amounts one heading line lower.
    const int columns[9] = {4, 4, 3, 3, 2, 2, 1, 1, 1};
    int i = 1;
    for (int b = 0; b < 9; ++b) {
        const double top = y + titleLine + b * block;
        for (int c = 0; c < columns[b]; ++c, ++i) {
            QVERIFY2(near(texts[i].x, x + offsets[c], 1e-4) && near(texts[i].y, top, Metric),
                     qPrintable(texts[i].describe()));
            QCOMPARE(texts[i].fontSize, 6.5);
        }
        for (int c = 0; c < columns[b]; ++c, ++i) {
            QVERIFY2(near(texts[i].x, x + offsets[c], 1e-4) &&
                         near(texts[i].y, top + expect::monoLine(6.5), Metric),
                     qPrintable(texts[i].describe()));
            QCOMPARE(texts[i].fontSize, 8.0);
            QVERIFY(texts[i].bold);
        }
    }
    // The position stays at the end of the Estratto amount, on its line.
    QVERIFY(near(end, texts.last().x + texts.last().width, 1e-6));
    QVERIFY(near(endY, texts.last().y, 1e-6));
}

void TestListing::prospectOfZeroStakes() {
    Sistema = SystemRecord();
    testing::RecorderScope rec;
    StampaProspetto(115, 205);
    Printer().EndDoc();
    QStringList amounts;
    for (const PageOp& op : rec.last().ofKind(PageOp::Text))
        if (op.fontSize == 8)
            amounts << op.text;
    QCOMPARE(amounts, QStringList(21, QStringLiteral("€ 0,00")));
}

QTEST_MAIN(TestListing)
#include "test_listing.moc"
