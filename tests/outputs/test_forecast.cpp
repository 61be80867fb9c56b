#include "app/corpo.h"
#include "app/messages.h"
#include "app/printers.h"
#include "app/shell.h"
#include "outputs/pronostico.h"
#include "outputs/taratura.h"
#include "printing/printerpage.h"
#include "tests/support/testsupport.h"

#include <QFile>
#include <optional>
#include <QTemporaryDir>
#include <QtTest>

using namespace corpo;

namespace {

SystemRecord SistemaProspetto(uint8_t capogioco, float importo) {
    SystemRecord s;
    s.Ruota = QStringLiteral("Napoli    ");
    s.NomeSistema = QStringLiteral("Corto               ");
    s.Cinq1 = {1, 10, 45, 81, 90};
    s.Capogioco = capogioco;
    s.ImportoSistema = importo;
    return s;
}

std::optional<PageOp> Testo(const RecordedJob& job, const QString& text) {
    for (const PageOp& op : job.ops)
        if ((op.kind == PageOp::Text || op.kind == PageOp::RotatedText) && op.text == text)
            return op;
    return std::nullopt;
}

QString Dove(const std::optional<PageOp>& op) {
    // Turned text is placed in whole device pixels (1/600 inch).
    return op ? QStringLiteral("(%1, %2)").arg(op->x, 0, 'f', 1).arg(op->y, 0, 'f', 1)
              : QStringLiteral("missing");
}

} // namespace

class TestForecast : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        InstallFontSubstitutions();
        QLocale::setDefault(testsupport::italian());
    }
    void cleanup() { Printer().UsePrinter(); }

    void origin_data() {
        QTest::addColumn<float>("left");
        QTest::addColumn<float>("intestazione");
        QTest::addColumn<int>("x0");
        QTest::addColumn<int>("y0");
        QTest::newRow("12.5: 7.5 to even") << 12.5f << 12.5f << 8 << 12;
        QTest::newRow("13.5: 8.5 to even") << 13.5f << 13.5f << 8 << 14;
        QTest::newRow("20") << 20.0f << 10.2f << 15 << 10;
    }
    void origin() {
        QFETCH(float, left);
        QFETCH(float, intestazione);
        QFETCH(int, x0);
        QFETCH(int, y0);
        TaraturaAmbetto t;
        t.Left = left;
        t.Intestazione = intestazione;
        const OrigineProspetto o = CalcolaOrigineProspetto(t);
        QCOMPARE(o.x0, x0);
        QCOMPARE(o.y0, y0);
        QCOMPARE(o.passo, 2);
    }

    void amountText_data() {
        QTest::addColumn<float>("amount");
        QTest::addColumn<bool>("italian");
        QTest::addColumn<QString>("text");
        QTest::newRow("1234.5 it") << 1234.5f << true << "€ 1.234,50";
        QTest::newRow("10 it") << 10.0f << true << "€ 10,00";
        QTest::newRow("0 it") << 0.0f << true << "€ 0,00";
        QTest::newRow("1234.5 en") << 1234.5f << false << "€ 1,234.50";
    }
    void amountText() {
        QFETCH(float, amount);
        QFETCH(bool, italian);
        QFETCH(QString, text);
        QCOMPARE(ImportoProspetto(amount, italian ? testsupport::italian() : testsupport::english()),
                 text);
    }

    void layout_data() {
        QTest::addColumn<float>("left");
        QTest::addColumn<int>("capogioco");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("circle");
        QTest::addColumn<QString>("head");
        QTest::addColumn<QString>("wheel");
        QTest::addColumn<QString>("web");
        QTest::addColumn<QString>("picture");
        QTest::newRow("Left 12.5, head 7")
            << 12.5f << 7 << "(10.0, 14.0)" << "(50.0, 110.0)" << "(78, 102) r 17" << "(65.0, 92.0)"
            << "(56.0, 67.0)" << "(18.0, 130.0)" << "(13, 145) 90 x 20";
        QTest::newRow("Left 13.5, head 7")
            << 13.5f << 7 << "(10.0, 14.0)" << "(50.0, 110.0)" << "(78, 102) r 17" << "(65.0, 92.0)"
            << "(56.0, 67.0)" << "(18.0, 130.0)" << "(13, 145) 90 x 20";
        QTest::newRow("Left 20, no head")
            << 20.0f << 0 << "(17.0, 14.0)" << "(57.0, 110.0)" << "none" << "missing" << "(63.0, 67.0)"
            << "(25.0, 130.0)" << "(20, 145) 90 x 20";
    }
    void layout() {
        QFETCH(float, left);
        QFETCH(int, capogioco);
        QFETCH(QString, header);
        QFETCH(QString, amount);
        QFETCH(QString, circle);
        QFETCH(QString, head);
        QFETCH(QString, wheel);
        QFETCH(QString, web);
        QFETCH(QString, picture);
        testsupport::AppFolder folder(true);
        testing::PrinterListScope printers({QStringLiteral("PDF")});
        testing::RecorderScope recorder;
        testing::Script script;
        Sistema = SistemaProspetto(uint8_t(capogioco), 1234.5f);
        ColoreCapogioco = 0x00FF00;
        IntestazioneStampa = QStringLiteral("CIRCOLO");
        TaraturaAmbetto t;
        t.Left = left;
        t.Top = 30;
        t.Intestazione = 12.5f;
        t.Qualita = QualitaNormale;
        const PagePicture vietato =
            PagePicture::Load(folder.file(QStringLiteral("images/vietato.jpg")));
        StampaSchedaPronostico(t, vietato);
        QVERIFY2(script.messages().isEmpty(), qPrintable(script.messages().value(0).text));
        QCOMPARE(recorder.jobs().size(), 1);
        const RecordedJob job = recorder.last();
        QCOMPARE(job.pages, 1);

        const std::optional<PageOp> h = Testo(job, QStringLiteral("Bramasolovanti by Marvolt - "));
        QCOMPARE(Dove(h), header);
        QVERIFY(h->bold);
        QCOMPARE(h->fontName, QStringLiteral("Courier New"));
        QCOMPARE(h->fontSize, 5.0);
        // The header text follows on the same line.
        const std::optional<PageOp> hh = Testo(job, QStringLiteral("CIRCOLO"));
        QVERIFY(hh && qAbs(hh->x - (h->x + h->width)) < 1e-9 && hh->y == h->y);
        // The rule below it, then the name with its trailing blanks and the address after.
        const std::optional<PageOp> rule =
            Testo(job, QStringLiteral("x") + QString(90, QChar(0x2014)) + QStringLiteral("x"));
        QVERIFY(rule && rule->x == h->x && qAbs(rule->y - (h->y + h->height)) < 1e-9);
        const std::optional<PageOp> name = Testo(job, QStringLiteral("Nome Sistema Corto               "));
        QVERIFY(name && name->x == h->x);
        const std::optional<PageOp> web7 = Testo(job, QString(26, QLatin1Char(' ')) + QStringLiteral("WWW.EXAMPLE.COM"));
        QVERIFY(web7 && web7->fontSize == 7.0 && web7->bold);
        QVERIFY(qAbs(web7->x - (name->x + name->width)) < 1e-9);
        const std::optional<PageOp> ruota = Testo(job, QStringLiteral("Ruota Sistema Napoli    "));
        QVERIFY(ruota && ruota->fontSize == 5.5 && !ruota->bold);
        QVERIFY(qAbs(ruota->y - (web7->y + web7->height + 2)) < 1e-9);

        const std::optional<PageOp> title = Testo(job, QStringLiteral("Bramasolovanti"));
        QVERIFY(title && title->fontSize == 24.0 && title->fontName == QStringLiteral("Comic Sans MS"));
        QCOMPARE(title->x, h->x + 25);
        QCOMPARE(title->y, 25.0);

        const std::optional<PageOp> a = Testo(job, QStringLiteral("€ 1.234,50"));
        QCOMPARE(Dove(a), amount);
        QCOMPARE(a->fontSize, 36.0);
        QVERIFY(a->bold);

        QString found = QStringLiteral("none");
        for (const PageOp& c : job.ofKind(PageOp::Circle))
            if (c.radius == 17) {
                found = QStringLiteral("(%1, %2) r %3").arg(c.x).arg(c.y).arg(c.radius);
                QCOMPARE(c.fillStyle, 0);
                QCOMPARE(c.fillColor, 0x00FF00);
                QCOMPARE(c.foreColor, 0); // black outline
            }
        QCOMPARE(found, circle);
        // The head number is the only 60-point text; the bunch prints its own small numbers.
        std::optional<PageOp> number;
        for (const PageOp& op : job.ofKind(PageOp::Text))
            if (op.fontSize == 60)
                number = op;
        QCOMPARE(Dove(number), head);
        if (number) {
            QCOMPARE(number->text, QStringLiteral("%1").arg(capogioco, 2, 10, QLatin1Char('0')));
            QCOMPARE(number->fontName, QStringLiteral("Courier New"));
            QCOMPARE(number->foreColor, 0);
        }

        const std::optional<PageOp> w = Testo(job, QStringLiteral("Napoli    "));
        QCOMPARE(Dove(w), wheel);
        QCOMPARE(w->kind, PageOp::RotatedText);
        QCOMPARE(w->deviceFont.escapement, 450);
        QCOMPARE(w->deviceFont.weight, 700);

        const std::optional<PageOp> site = Testo(job, QStringLiteral("WWW.EXAMPLE.COM"));
        QCOMPARE(Dove(site), web);
        QCOMPARE(site->fontSize, 22.0);

        QString pic = QStringLiteral("none");
        for (const PageOp& p : job.ofKind(PageOp::Picture))
            if (p.text.endsWith(QStringLiteral("vietato.jpg")))
                pic = QStringLiteral("(%1, %2) %3 x %4").arg(p.x).arg(p.y).arg(p.width).arg(p.height);
        QCOMPARE(pic, picture);
        // The bunch is drawn too, from Left and Top.
        QVERIFY(job.ofKind(PageOp::Circle).size() >= 29);
    }

    void failures_data() {
        QTest::addColumn<bool>("printerInstalled");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::newRow("no printer") << false << "Stampante non installata" << "!!! E R R O R E !!!";
        QTest::newRow("file cannot be written")
            << true
            << "Error 76 (Path not found) in procedure StampaSchedaPronostico of Form "
               "frmStampaSchedine"
            << "Bramasolovanti";
    }
    void failures() {
        QFETCH(bool, printerInstalled);
        QFETCH(QString, text);
        QFETCH(QString, title);
        testsupport::AppFolder folder(true);
        testing::PrinterListScope printers(printerInstalled ? QStringList{QStringLiteral("PDF")}
                                                            : QStringList());
        QTemporaryDir dir;
        QFile plain(dir.filePath(QStringLiteral("plain")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        const QString pdf = dir.filePath(QStringLiteral("plain/prospetto.pdf"));
        if (printerInstalled)
            Printer().UsePdfFile(pdf); // under a regular file: the write must fail
        else
            Printer().UsePrinter();
        testing::Script script;
        Sistema = SistemaProspetto(7, 10);
        TaraturaAmbetto t;
        t.Left = 20;
        t.Top = 30;
        t.Intestazione = 12;
        StampaSchedaPronostico(t, PagePicture());
        QCOMPARE(script.messages().size(), 1);
        QCOMPARE(script.messages()[0].text, text);
        QCOMPARE(script.messages()[0].title, title);
        QVERIFY(!Printer().InJob());
        QVERIFY(!QFile::exists(pdf));
    }
};

QTEST_MAIN(TestForecast)
#include "test_forecast.moc"
