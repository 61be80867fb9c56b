// The cluster figure on the recorder: the stalk's box, every grape's centre
// and fill, every number's corner, and what the figure leaves behind.
#include "app/corpo.h"
#include "app/messages.h"
#include "printing/printerpage.h"
#include "printing/vorlacco.h"
#include "tests/printing/metrics.h"
#include "tests/support/testsupport.h"

#include <QtTest>

using namespace corpo;

namespace {

SystemRecord SampleSystem() {
    SystemRecord s;
    s.Cinq1 = {7, 12, 23, 34, 45};
    s.Cinq2 = {1, 2, 3, 4, 5};
    s.Quad1 = {11, 22, 33, 44};
    s.Quad2 = {55, 66, 77, 88};
    s.Terz1 = {9, 19, 29};
    s.Terz2 = {39, 49, 59};
    s.Ambo1 = {69, 79};
    s.Ambo2 = {89, 90};
    s.Estratto = 50;
    return s;
}

// Draws the figure in a job of its own and returns that job.
RecordedJob Draw(float x, float y, int r, bool colour) {
    PrinterPage& page = Printer();
    stampaVorlacco(x, y, r, colour);
    page.EndDoc();
    return page.recordedJobs().value(page.recordedJobs().size() - 1);
}

bool near(double a, double b, double tol = 0.001) { return qAbs(a - b) < tol; }

} // namespace

class TestVorlacco : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void stalk_data();
    void stalk();
    void rows_data();
    void rows();
    void firstRowNumbers();
    void numbersAreTwoDigits();
    void headNumber_data();
    void headNumber();
    void stateAfterwards();
    void brokenStalk_data();
    void brokenStalk();

private:
    SystemRecord saved_;
    int32_t savedColour_ = 0, savedHead_ = 0;
};

void TestVorlacco::init() {
    saved_ = Sistema;
    savedColour_ = ColoreVorlacco;
    savedHead_ = ColoreCapogioco;
    Sistema = SampleSystem();
    ColoreVorlacco = ColoreVorlaccoDefault;
    ColoreCapogioco = ColoreCapogiocoDefault;
}

void TestVorlacco::cleanup() {
    Sistema = saved_;
    ColoreVorlacco = savedColour_;
    ColoreCapogioco = savedHead_;
}

void TestVorlacco::stalk_data() {
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<int>("r");
    QTest::addColumn<QRectF>("box");
    QTest::newRow("listing, R 11") << 15.0f << 45.0f << 11 << QRectF(4, 45, 110, 22);
    QTest::newRow("forecast sheet, R 6") << 12.4f << 31.5f << 6 << QRectF(6.4, 31.5, 60, 12);
}

void TestVorlacco::stalk() {
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(int, r);
    QFETCH(QRectF, box);
    testsupport::AppFolder app;
    testing::RecorderScope rec;
    testing::Script script;
    const RecordedJob job = Draw(x, y, r, true);
    QVERIFY(script.messages().isEmpty());
    const QList<PageOp> pics = job.ofKind(PageOp::Picture);
    QCOMPARE(pics.size(), 1);
    QVERIFY(pics[0].metafile);
    QVERIFY(pics[0].text.endsWith(QStringLiteral("images/raspoprn.wmf")));
    QVERIFY(near(pics[0].x, box.x()));
    QVERIFY(near(pics[0].y, box.y()));
    QVERIFY(near(pics[0].width, box.width()));
    QVERIFY(near(pics[0].height, box.height()));
    // The stalk comes first: the grapes are drawn over its lower edge.
    QCOMPARE(job.ops.first().kind, PageOp::Picture);
}

void TestVorlacco::rows_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("circles");
    QTest::addColumn<QPointF>("firstCentre");
    QTest::addColumn<QPointF>("numbersStart");
    // R 11 at (15, 45).
    QTest::newRow("Cinquina 1") << 0 << 5 << QPointF(20.5, 73.6) << QPointF(15, 67);
    QTest::newRow("Cinquina 2") << 1 << 5 << QPointF(26, 91.2) << QPointF(20.5, 84.6);
    QTest::newRow("Quaterna 1") << 2 << 4 << QPointF(31.5, 108.8) << QPointF(26, 102.2);
    QTest::newRow("Quaterna 2") << 3 << 4 << QPointF(26, 126.4) << QPointF(20.5, 119.8);
    QTest::newRow("Terno 1") << 4 << 3 << QPointF(31.5, 144) << QPointF(26, 137.4);
    QTest::newRow("Terno 2") << 5 << 3 << QPointF(37, 161.6) << QPointF(31.5, 155);
    QTest::newRow("Ambo 1") << 6 << 2 << QPointF(42.5, 179.2) << QPointF(37, 172.6);
    QTest::newRow("Ambo 2") << 7 << 2 << QPointF(48, 196.8) << QPointF(42.5, 190.2);
    QTest::newRow("Estratto") << 8 << 1 << QPointF(53.5, 214.4) << QPointF(48, 207.8);
}

void TestVorlacco::rows() {
    QFETCH(int, row);
    QFETCH(int, circles);
    QFETCH(QPointF, firstCentre);
    QFETCH(QPointF, numbersStart);
    testsupport::AppFolder app;
    testing::RecorderScope rec;
    const RecordedJob job = Draw(15, 45, 11, true);
    const QList<PageOp> all = job.ofKind(PageOp::Circle);
    QCOMPARE(all.size(), 29);
    int before = 0;
    const int perRow[9] = {5, 5, 4, 4, 3, 3, 2, 2, 1};
    for (int i = 0; i < row; ++i)
        before += perRow[i];
    for (int i = 0; i < circles; ++i) {
        const PageOp& c = all[before + i];
        QVERIFY2(near(c.x, firstCentre.x() + i * 17.6), qPrintable(c.describe()));
        QVERIFY2(near(c.y, firstCentre.y()), qPrintable(c.describe()));
        QCOMPARE(c.radius, 11.0);
        QCOMPARE(c.foreColor, 0); // black outline
        QCOMPARE(c.drawWidth, 5);
        QCOMPARE(c.fillStyle, 0);
        QCOMPARE(c.fillColor, ColoreVorlaccoDefault);
    }
    const PageOp firstNumber = job.ofKind(PageOp::Text).value(before);
    QVERIFY2(near(firstNumber.x, numbersStart.x()), qPrintable(firstNumber.describe()));
    QVERIFY2(near(firstNumber.y, numbersStart.y()), qPrintable(firstNumber.describe()));
}

void TestVorlacco::firstRowNumbers() {
    testsupport::AppFolder app;
    testing::RecorderScope rec;
    const QList<PageOp> numbers = Draw(15, 45, 11, true).ofKind(PageOp::Text);
    QCOMPARE(numbers.size(), 29);
    // "07" at 27.5 pt is 11.644 mm wide, then a gap of half a radius.
    const double xs[5] = {15, 32.144, 49.287, 66.431, 83.574};
    const QString texts[5] = {"07", "12", "23", "34", "45"};
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(numbers[i].text, texts[i]);
        QVERIFY2(near(numbers[i].x, xs[i], 0.01), qPrintable(numbers[i].describe()));
        QVERIFY(near(numbers[i].y, 67));
        QCOMPARE(numbers[i].fontName, QStringLiteral("Courier New"));
        QCOMPARE(numbers[i].fontSize, 27.5);
        QVERIFY(numbers[i].bold);
        QVERIFY(numbers[i].transparent);
        QCOMPARE(numbers[i].foreColor, 0);
    }
}

void TestVorlacco::numbersAreTwoDigits() {
    testsupport::AppFolder app;
    testing::RecorderScope rec;
    Sistema = SystemRecord();
    Sistema.Cinq1 = {1, 0, 90, 9, 10};
    const QList<PageOp> numbers = Draw(15, 45, 11, false).ofKind(PageOp::Text);
    QStringList texts;
    for (const PageOp& n : numbers)
        texts << n.text;
    QCOMPARE(texts.mid(0, 5), (QStringList{"01", "00", "90", "09", "10"}));
    // Empty places print "00" and keep their grape.
    QCOMPARE(texts.mid(5), QStringList(24, QStringLiteral("00")));
    QCOMPARE(Printer().recordedJobs().last().ofKind(PageOp::Circle).size(), 29);
}

void TestVorlacco::headNumber_data() {
    QTest::addColumn<int>("capogioco");
    QTest::addColumn<bool>("colour");
    QTest::addColumn<int>("circles");
    QTest::addColumn<int32_t>("bunchFill");
    QTest::addColumn<int32_t>("headFill");
    QTest::newRow("no head number, colour") << 0 << true << 29 << ColoreVorlaccoDefault << 0;
    QTest::newRow("head number, colour") << 7 << true << 38 << ColoreVorlaccoDefault << 255;
    QTest::newRow("head number, black and white") << 7 << false << 38 << 0xFFFFFF << 0xFFFFFF;
    QTest::newRow("no head number, black and white") << 0 << false << 29 << 0xFFFFFF << 0;
}

void TestVorlacco::headNumber() {
    QFETCH(int, capogioco);
    QFETCH(bool, colour);
    QFETCH(int, circles);
    QFETCH(int32_t, bunchFill);
    QFETCH(int32_t, headFill);
    testsupport::AppFolder app;
    testing::RecorderScope rec;
    Sistema.Capogioco = uint8_t(capogioco);
    const RecordedJob job = Draw(15, 45, 11, colour);
    const QList<PageOp> all = job.ofKind(PageOp::Circle);
    QCOMPARE(all.size(), circles);
    for (int i = 0; i < 29; ++i)
        QCOMPARE(all[i].fillColor, bunchFill);
    // The head number's grapes lie over the first grape of every row.
    const int firstOfRow[9] = {0, 5, 10, 14, 18, 21, 24, 26, 28};
    for (int i = 29; i < all.size(); ++i) {
        const PageOp& first = all[firstOfRow[i - 29]];
        QVERIFY2(near(all[i].x, first.x) && near(all[i].y, first.y), qPrintable(all[i].describe()));
        QCOMPARE(all[i].fillColor, headFill);
        QCOMPARE(all[i].fillStyle, 0);
        QCOMPARE(all[i].foreColor, 0);
    }
    // The stalk is the same picture in colour and in black and white.
    QCOMPARE(job.ofKind(PageOp::Picture).size(), 1);
}

void TestVorlacco::stateAfterwards() {
    testsupport::AppFolder app;
    testing::RecorderScope rec;
    PrinterPage& page = Printer();
    page.CurrentX = 115;
    page.CurrentY = 205;
    page.FillStyle = 0;
    page.FontName = QStringLiteral("Comic Sans MS");
    stampaVorlacco(15, 45, 11, true);
    QCOMPARE(page.CurrentX, 115.0);
    QCOMPARE(page.CurrentY, 205.0);
    QCOMPARE(page.FillStyle, 0);
    QCOMPARE(page.FontName, QStringLiteral("Courier New"));
    QCOMPARE(page.FontSize, 27.5);
    QCOMPARE(page.FontBold, false);
    QCOMPARE(page.FillColor, 0);
    QCOMPARE(page.ForeColor, 0);
    QCOMPARE(page.DrawWidth, 5);
    QCOMPARE(page.ScaleMode, scale::Millimeters);
    // An outline of 5 page pixels.
    QVERIFY(near(page.ScaleX(page.DrawWidth, scale::Pixels, scale::Millimeters), 0.212));
    page.EndDoc();
}

void TestVorlacco::brokenStalk_data() {
    QTest::addColumn<QByteArray>("content"); // null: the file is removed
    QTest::newRow("missing") << QByteArray();
    QTest::newRow("not a metafile") << QByteArray("GIF89a this is no metafile at all");
    QTest::newRow("truncated metafile") << QByteArray::fromHex("d7cdc69a0000");
}

void TestVorlacco::brokenStalk() {
    QFETCH(QByteArray, content);
    testsupport::AppFolder app;
    if (content.isNull())
        QVERIFY(QFile::remove(app.file("images/raspoprn.wmf")));
    else
        app.write("images/raspoprn.wmf", content);
    testing::RecorderScope rec;
    testing::Script script;
    PrinterPage& page = Printer();
    page.Print(QStringLiteral("before"), true);
    stampaVorlacco(15, 45, 11, true);
    page.Print(QStringLiteral("after"), true); // the caller goes on with its page
    page.EndDoc();
    QCOMPARE(script.messages().size(), 1);
    const Shown m = script.messages().first();
    QCOMPARE(m.text,
             QStringLiteral("Error 53 (File not found) in procedure stampaVorlacco of Modulo corpo"));
    QCOMPARE(m.title, QStringLiteral("Bramasolovanti"));
    QCOMPARE(m.buttons, MsgButtons::Ok);
    const RecordedJob job = rec.last();
    QCOMPARE(job.ofKind(PageOp::Circle).size(), 0);
    QCOMPARE(job.ofKind(PageOp::Picture).size(), 0);
    QStringList texts;
    for (const PageOp& t : job.ofKind(PageOp::Text))
        texts << t.text;
    QCOMPARE(texts, (QStringList{"before", "after"}));
}

QTEST_MAIN(TestVorlacco)
#include "test_vorlacco.moc"
