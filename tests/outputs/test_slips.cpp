// What needs no window: the calibration file byte for byte, the layout it
// derives, and what each slip marks.
#include "app/corpo.h"
#include "app/messages.h"
#include "entry/numbers.h"
#include "outputs/regole.h"
#include "outputs/schedine.h"
#include "outputs/taratura.h"
#include "tests/outputs/support.h"
#include "tests/support/testsupport.h"

#include <QtEndian>
#include <QtTest>
#include <algorithm>
#include <limits>

using namespace corpo;
using papers::CalibrazioneT;

namespace {

// The denominations marked on one row, as the slip shows them.
QList<double> Marked(const GrigliaImporti& g, int row) {
    QList<double> out;
    for (int j = 0; j < ColonneImporti; ++j)
        if (g[size_t(row + 5 * j)]) out.append(Tagli[size_t(j)]);
    return out;
}

} // namespace

class TestSlips : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void goldenBytesOfT() {
        TaraturaAmbetto t = CalibrazioneT();
        CalcolaLayout(t); // what the test print leaves in the window
        QCOMPARE(EncodeTaratura(t).toHex(' '), papers::GoldenT().toHex(' '));
    }

    void fileBytes_data() {
        QTest::addColumn<float>("left");
        QTest::addColumn<int>("quality");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("Left 10.25")
            << 10.25f << 9999 << "PDF" << 384 << QByteArray("\0\0\x24\x41", 4);
        QTest::newRow("Qualita 1111")
            << 20.0f << 1111 << "PDF" << 1152 << QByteArray("\2\0\x57\4", 4);
        QTest::newRow("name in the code page")
            << 20.0f << 9999 << "Stampa€ è" << 1280 << QByteArray("\x09\x00Stampa\x80 \xE8", 11);
    }
    void fileBytes() {
        QFETCH(float, left);
        QFETCH(int, quality);
        QFETCH(QString, name);
        QFETCH(int, offset);
        QFETCH(QByteArray, bytes);
        TaraturaAmbetto t = CalibrazioneT();
        t.Left = left;
        t.Qualita = int16_t(quality);
        t.Stampante = name;
        const QByteArray file = EncodeTaratura(t);
        QCOMPARE(file.mid(offset, bytes.size()).toHex(' '), bytes.toHex(' '));
        const TaraturaAmbetto back = DecodeTaratura(file);
        QCOMPARE(EncodeTaratura(back), file);
        QCOMPARE(back.Stampante, name);
    }

    void reader_data() {
        QTest::addColumn<bool>("present");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QList<float>>("distances");
        QTest::addColumn<int>("quality");
        QTest::addColumn<QString>("printer");
        TaraturaAmbetto t = CalibrazioneT();
        CalcolaLayout(t);
        const QByteArray full = EncodeTaratura(t);
        const QList<float> values{5, 4.5f, 30, 20, 12.5f, 34.5f, 104, 5, 4};
        const QList<float> zeros(9, 0.0f);
        // A missing file leaves what was there (and is reported).
        QTest::newRow("missing") << false << QByteArray() << QList<float>(9, 1.0f) << 1111 << "old";
        QTest::newRow("0 bytes") << true << QByteArray() << zeros << 0 << "";
        // Three distances and half of the fourth, whose missing bytes read as zero.
        QByteArray part = full.left(386);
        part[384] = char(0x12);
        part[385] = char(0x34);
        QTest::newRow("386 bytes")
            << true << part
            << QList<float>{5, 4.5f, 30, qFromLittleEndian<float>("\x12\x34\0\0"), 0, 0, 0, 0, 0}
            << 0 << "";
        QTest::newRow("1408 plus junk")
            << true << full + QByteArray(500, 'J') << values << 9999 << "PDF";
        QTest::newRow("name cut by the end") << true << full.left(1284) << values << 9999 << "";
        QByteArray longName = full;
        qToLittleEndian<uint16_t>(127, longName.data() + 1280);
        longName.replace(1282, 126, QByteArray(126, 'A'));
        QTest::newRow("name length 127") << true << longName + "A" << values << 9999 << "";
        QByteArray type3 = full;
        type3[1152] = 3;
        QTest::newRow("type code 3") << true << type3 << values << 0 << "PDF";
    }
    void reader() {
        QFETCH(bool, present);
        QFETCH(QByteArray, bytes);
        QFETCH(QList<float>, distances);
        QFETCH(int, quality);
        QFETCH(QString, printer);
        testsupport::AppFolder folder(false);
        if (present) folder.write(TaraturaFileName, bytes);
        TaraturaAmbetto t;
        for (int i = 0; i < TaraturaDistanze; ++i)
            Distanza(t, i) = 1;
        t.Qualita = 1111;
        t.Stampante = "old";
        testing::Script script;
        QCOMPARE(LeggiTaraturaFile(t), present);
        for (int i = 0; i < TaraturaDistanze; ++i)
            QCOMPARE(Distanza(t, i), distances[i]);
        QCOMPARE(int(t.Qualita), quality);
        QCOMPARE(t.Stampante, printer);
        QCOMPARE(script.messages().size(), present ? 0 : 1);
        if (!present)
            QCOMPARE(script.messages()[0].text,
                     QStringLiteral("Error 53 (File not found) in procedure LeggiTaraturaAmbetto "
                                    "of Form frmStampaSchedine"));
    }

    void shippedDefault() {
        // The build ships a calibration so that a first print reads one.
        const QByteArray shipped = testsupport::AppFolder(true).read(TaraturaFileName);
        QCOMPARE(shipped.size(), TaraturaFileBytes);
        const TaraturaAmbetto t = DecodeTaratura(shipped);
        QCOMPARE(int(t.Qualita), int(QualitaNormale));
        QCOMPARE(t.Stampante, QString());
        for (int i = 0; i < TaraturaDistanze; ++i)
            QVERIFY2(Distanza(t, i) > 0 && Distanza(t, i) < 300, qPrintable(QString::number(i)));
    }

    void derivedLayout() {
        TaraturaAmbetto t = CalibrazioneT();
        t.Ximporti = t.Yimporti = 99; // whatever the window held is replaced
        const LayoutSchedina l = CalcolaLayout(t);
        QCOMPARE(t.Ximporti, 34.5f);
        QCOMPARE(t.Yimporti, 104.0f);
        QCOMPARE(l.XRuote, 103.3f);
        QCOMPARE(l.YRuote, 29.1f);
    }

    void scomponiImporto_data() {
        QTest::addColumn<float>("stake");
        QTest::addColumn<QList<double>>("marked");
        QTest::newRow("7.50") << 7.50f << QList<double>{5, 2, 0.5};
        QTest::newRow("4") << 4.0f << QList<double>{3, 1};
        QTest::newRow("0.40") << 0.40f << QList<double>{0.2, 0.1, 0.05};
        QTest::newRow("0.70 kept to cents") << 0.70f << QList<double>{0.5, 0.2};
        QTest::newRow("1.55") << 1.55f << QList<double>{1, 0.5, 0.05};
        QTest::newRow("4.90") << 4.90f << QList<double>{3, 1, 0.5, 0.2, 0.1, 0.05};
        QTest::newRow("250") << 250.0f << QList<double>{200, 50};
        QTest::newRow("391.85") << 391.85f << QList<double>(Tagli.begin(), Tagli.end());
        QTest::newRow("1000") << 1000.0f << QList<double>(Tagli.begin(), Tagli.end());
        QTest::newRow("0.01") << 0.01f << QList<double>{};
    }
    void scomponiImporto() {
        QFETCH(float, stake);
        QFETCH(QList<double>, marked);
        GrigliaImporti g;
        g.fill(true); // the row is cleared first, the others stay
        ScomponiImporto(g, stake, 2);
        QCOMPARE(Marked(g, 2), marked);
        QCOMPARE(Marked(g, 1).size(), ColonneImporti);
    }

    void slipContent_data() {
        QTest::addColumn<int>("slip");
        QTest::addColumn<QList<int>>("numbers");
        QTest::addColumn<float>("total");
        QTest::addColumn<int>("marks"); // amount cells marked
        QTest::newRow("1") << 1 << QList<int>{1, 10, 45, 81, 90} << 1.55f << 3;
        QTest::newRow("2") << 2 << QList<int>{2, 13, 24, 35, 46} << 3.6f << 4;
        QTest::newRow("3") << 3 << QList<int>{3, 14, 25, 36} << 2.2f << 3;
        QTest::newRow("4") << 4 << QList<int>{4, 15, 26, 37} << 1.5f << 3;
        QTest::newRow("5") << 5 << QList<int>{5, 16, 27} << 5.0f << 2;
        QTest::newRow("6") << 6 << QList<int>{6, 17, 28} << 2.0f << 2;
        QTest::newRow("7") << 7 << QList<int>{7, 18} << 4.9f << 6;
        QTest::newRow("8") << 8 << QList<int>{8, 19} << 250.0f << 2;
        QTest::newRow("9") << 9 << QList<int>{77} << 7.5f << 3;
    }
    void slipContent() {
        QFETCH(int, slip);
        QFETCH(QList<int>, numbers);
        QFETCH(float, total);
        QFETCH(int, marks);
        const ContenutoScheda c = PreparaScheda(papers::SistemaCompleto(), slip);
        QList<int> marked;
        for (int n = 0; n <= 90; ++n)
            if (c.numeri[size_t(n)] == 'X') marked.append(n);
        QCOMPARE(marked, numbers);
        QCOMPARE(c.totale, total);
        QCOMPARE(int(std::count(c.importi.begin(), c.importi.end(), true)), marks);
        // Only the Estratto's slip uses the top row.
        QCOMPARE(Marked(c.importi, RigaEstratto).isEmpty(), slip != 9);
    }

    // The terminal's rules on a preset system with one slip's stakes changed:
    // what the player is told, and the total the slip prints.
    void stakeRules_data() {
        QTest::addColumn<int>("preset"); // 10 or 20 euro
        QTest::addColumn<int>("slip");   // 0: the preset alone
        QTest::addColumn<QList<float>>("stakes");
        QTest::addColumn<float>("total");
        QTest::addColumn<QStringList>("want");
        QTest::newRow("10 €uro") << 10 << 0 << QList<float>{} << 0.0f << QStringList{};
        QTest::newRow("20 €uro") << 20 << 0 << QList<float>{} << 0.0f << QStringList{};
        QTest::newRow("0,95") << 10 << 9 << QList<float>{0.95f} << 0.95f
                              << QStringList{"Schedina 9 (Estratto): 0,95 € è meno del minimo di 1,00 €",
                                             "Schedina 9 (Estratto): 0,95 € non è un multiplo di 0,50 €"};
        QTest::newRow("1,00") << 20 << 7 << QList<float>{1.0f} << 1.0f << QStringList{};
        QTest::newRow("1,30") << 10 << 3 << QList<float>{1.0f, 0.3f, 0} << 1.3f
                              << QStringList{"Schedina 3 (Quaterna 1): 1,30 € non è un multiplo di 0,50 €"};
        QTest::newRow("1,50") << 10 << 6 << QList<float>{1.0f, 0.5f} << 1.5f << QStringList{};
        QTest::newRow("200,00") << 20 << 8 << QList<float>{200} << 200.0f << QStringList{};
        QTest::newRow("200,50")
            << 10 << 5 << QList<float>{200, 0.5f} << 200.5f
            << QStringList{"Schedina 5 (Terno 1): 200,50 € supera il massimo di 200,00 €"};
        QTest::newRow("stake 0,37")
            << 20 << 2 << QList<float>{0.37f, 0.63f, 0, 0} << 1.0f
            << QStringList{"Schedina 2 (Cinquina 2): la puntata Ambo di 0,37 € non è un multiplo di 0,05 €",
                           "Schedina 2 (Cinquina 2): la puntata Terno di 0,63 € non è un multiplo di 0,05 €"};
    }
    void stakeRules() {
        QFETCH(int, preset);
        QFETCH(int, slip);
        QFETCH(QList<float>, stakes);
        QFETCH(float, total);
        QFETCH(QStringList, want);
        SystemRecord r{};
        ImpostaImporti(r, preset == 10 ? Preset::Euro10 : Preset::Euro20);
        if (slip > 0)
            std::copy(stakes.begin(), stakes.end(), Scommesse[size_t(slip - 1)].Stakes(r).begin());
        const ControlloRegole c = ControllaRegole(r, 1, 9, testsupport::italian());
        QCOMPARE(c.violazioni, want);
        if (slip > 0) QCOMPARE(c.totali[size_t(slip - 1)], total);
        const QString message = MessaggioRegole(c);
        QCOMPARE(message.isEmpty(), want.isEmpty());
        QVERIFY(message.contains(want.join('\n')));
        // A range that leaves the slip out says nothing about it.
        QVERIFY(ControllaRegole(r, slip + 1, 9).violazioni.isEmpty());
    }
};

QTEST_MAIN(TestSlips)
#include "test_slips.moc"
