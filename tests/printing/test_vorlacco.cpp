// The cluster figure on the recorder: the stalk's box, every grape's centre
// and fill, the numbers' corners, and what the figure leaves behind.
#include "app/corpo.h"
#include "app/messages.h"
#include "printing/printerpage.h"
#include "printing/vorlacco.h"
#include "tests/printing/metrics.h"
#include "tests/support/testsupport.h"

#include <QTemporaryDir>
#include <QtTest>
#include <clocale>

using namespace corpo;
using expect::near;

class TestVorlacco : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init() {
        Sistema = SystemRecord{};
        Sistema.Cinq1 = {7, 12, 23, 34, 45};
        Sistema.Estratto = 50;
        ColoreVorlacco = ColoreVorlaccoDefault;
        ColoreCapogioco = ColoreCapogiocoDefault;
    }
    void cleanup() { Sistema = SystemRecord{}; }

    // R 11 at (15, 45), as on the listing.
    void figure_data() {
        QTest::addColumn<bool>("colour");
        QTest::addColumn<int>("capogioco");
        QTest::addColumn<int32_t>("bunchFill");
        QTest::addColumn<int32_t>("headFill");
        QTest::addColumn<int32_t>("headDigit"); // white on a dark grape, as on screen
        QTest::newRow("colour") << true << 0 << ColoreVorlaccoDefault << 0 << 0;
        QTest::newRow("colour, head number")
            << true << 7 << ColoreVorlaccoDefault << 255 << 0xFFFFFF;
        QTest::newRow("black and white, head number") << false << 7 << 0xFFFFFF << 0xFFFFFF << 0;
    }
    void figure() {
        QFETCH(bool, colour);
        QFETCH(int, capogioco);
        QFETCH(int32_t, bunchFill);
        QFETCH(int32_t, headFill);
        QFETCH(int32_t, headDigit);
        testsupport::AppFolder app;
        testing::RecorderScope rec;
        testing::Script script;
        PrinterPage& page = Printer();
        page.CurrentX = 115;
        page.CurrentY = 205;
        page.FillStyle = 0;
        Sistema.Capogioco = uint8_t(capogioco);
        stampaVorlacco(15, 45, 11, colour);
        // Position and fill style as the caller left them; outlines of 0.212 mm.
        QCOMPARE(QPointF(page.CurrentX, page.CurrentY), QPointF(115, 205));
        QCOMPARE(page.FillStyle, 0);
        QVERIFY(near(page.ScaleX(page.DrawWidth, scale::Pixels, scale::Millimeters), 0.212));
        page.EndDoc();
        QVERIFY(script.messages().isEmpty());
        const RecordedJob job = rec.last();

        // The stalk comes first: the grapes are drawn over its lower edge.
        const PageOp stalk = job.ops.value(0);
        QVERIFY(stalk.kind == PageOp::Picture && stalk.metafile);
        QVERIFY2(near(stalk.x, 4) && near(stalk.y, 45) && near(stalk.width, 110) &&
                     near(stalk.height, 22),
                 qPrintable(stalk.describe()));

        // Grapes 17.6 apart along and down the rows, each row's numbers from
        // (-5.5, -6.6) off its first grape; a head number covers every first grape.
        const QList<PageOp> circles = job.ofKind(PageOp::Circle);
        const QList<PageOp> numbers = job.ofKind(PageOp::Text);
        QCOMPARE(circles.size(), capogioco ? 38 : 29);
        QCOMPARE(numbers.size(), 29);
        const double firstX[9] = {20.5, 26, 31.5, 26, 31.5, 37, 42.5, 48, 53.5};
        const int perRow[9] = {5, 5, 4, 4, 3, 3, 2, 2, 1};
        for (int row = 0, i = 0; row < 9; i += perRow[row++]) {
            const double y = 73.6 + 17.6 * row;
            for (int k = 0; k < perRow[row]; ++k) {
                const PageOp& c = circles[i + k];
                QVERIFY2(near(c.x, firstX[row] + 17.6 * k) && near(c.y, y),
                         qPrintable(c.describe()));
                QVERIFY(c.radius == 11 && c.foreColor == 0 && c.fillColor == bunchFill);
            }
            if (capogioco) {
                const PageOp& head = circles[29 + row];
                QVERIFY2(near(head.x, firstX[row]) && near(head.y, y), qPrintable(head.describe()));
                QCOMPARE(head.fillColor, headFill);
            }
            QVERIFY2(near(numbers[i].x, firstX[row] - 5.5) && near(numbers[i].y, y - 6.6),
                     qPrintable(numbers[i].describe()));
        }

        // Two digits each ("07" at 27.5 pt is 11.644 mm), then half a radius.
        const double xs[5] = {15, 32.144, 49.287, 66.431, 83.574};
        for (int k = 0; k < 5; ++k)
            QVERIFY2(near(numbers[k].x, xs[k], 0.01), qPrintable(numbers[k].describe()));
        QCOMPARE(numbers[0].text + numbers[1].text + numbers[5].text + numbers[28].text,
                 QStringLiteral("07120050"));
        QVERIFY(numbers[0].bold && numbers[0].fontSize == 27.5 && numbers[1].foreColor == 0);
        QCOMPARE(numbers[0].foreColor, headDigit);
    }

    // A stalk that is missing or no metafile: the figure's report, no grape,
    // and the caller's page goes on.
    void brokenStalk_data() {
        QTest::addColumn<QByteArray>("content"); // null: the file is removed
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("not a metafile") << QByteArray("GIF89a this is no metafile at all");
    }
    void brokenStalk() {
        QFETCH(QByteArray, content);
        testsupport::AppFolder app;
        if (content.isNull())
            QVERIFY(QFile::remove(StalkPicturePath()));
        else
            app.write("images/raspoprn.wmf", content);
        testing::RecorderScope rec;
        testing::Script script;
        Printer().Print(QStringLiteral("before"), true);
        stampaVorlacco(15, 45, 11, true);
        Printer().Print(QStringLiteral("after"), true);
        Printer().EndDoc();
        QCOMPARE(script.messages().size(), 1);
        QCOMPARE(script.messages().first().text,
                 QStringLiteral(
                     "Error 53 (File not found) in procedure stampaVorlacco of Modulo corpo"));
        QStringList drawn;
        for (const PageOp& op : rec.last().ops)
            drawn << op.text;
        QCOMPARE(drawn, (QStringList{"before", "after"}));
    }
    // libwmf writes its numbers with the locale's decimal sign: under an
    // Italian locale the stalk must still come out as under C.
    void stalkIgnoresTheLocale() {
        testsupport::AppFolder app;
        const QByteArray c = PagePicture::Load(StalkPicturePath()).svg();
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
        const QByteArray italian = PagePicture::Load(StalkPicturePath()).svg();
        setlocale(LC_NUMERIC, "C");
        qunsetenv("LOCPATH");
        QCOMPARE(decimal, QByteArray(","));
        QVERIFY(c.contains("<polyline") || c.contains("<path"));
        QCOMPARE(italian, c);
    }
};

QTEST_MAIN(TestVorlacco)
#include "test_vorlacco.moc"
