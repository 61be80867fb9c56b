#include "app/corpo.h"
#include "outputs/schedine.h"
#include "outputs/taratura.h"
#include "tests/outputs/slipsupport.h"
#include "tests/support/testsupport.h"

#include <QtTest>

using namespace corpo;

namespace {

// The denominations marked on one row, as the slip shows them.
QList<double> Marked(const GrigliaImporti& g, int row) {
    QList<double> out;
    for (int j = 0; j < ColonneImporti; ++j)
        if (g[size_t(row + 5 * j)])
            out.append(Tagli[size_t(j)]);
    return out;
}

} // namespace

class TestSlips : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void scomponiImporto_data() {
        QTest::addColumn<float>("stake");
        QTest::addColumn<QList<double>>("marked");
        const QList<double> all(Tagli.begin(), Tagli.end());
        QTest::newRow("7.50") << 7.50f << QList<double>{5, 2, 0.5};
        QTest::newRow("4") << 4.0f << QList<double>{3, 1};
        QTest::newRow("0.40 drops the last 0.05") << 0.40f << QList<double>{0.2, 0.1, 0.05};
        QTest::newRow("0.70 kept to cents") << 0.70f << QList<double>{0.5, 0.2};
        QTest::newRow("1.55") << 1.55f << QList<double>{1, 0.5, 0.05};
        QTest::newRow("4.90") << 4.90f << QList<double>{3, 1, 0.5, 0.2, 0.1, 0.05};
        QTest::newRow("250") << 250.0f << QList<double>{200, 50};
        QTest::newRow("391.85") << 391.85f << all;
        QTest::newRow("1000") << 1000.0f << all;
        QTest::newRow("0.01") << 0.01f << QList<double>{};
        QTest::newRow("0") << 0.0f << QList<double>{};
    }
    void scomponiImporto() {
        QFETCH(float, stake);
        QFETCH(QList<double>, marked);
        for (int row = 0; row < RigheImporti; ++row) {
            GrigliaImporti g;
            g.fill(true); // the row is cleared first, other rows stay
            ScomponiImporto(g, stake, row);
            QCOMPARE(Marked(g, row), marked);
            for (int other = 0; other < RigheImporti; ++other)
                if (other != row)
                    QCOMPARE(Marked(g, other).size(), ColonneImporti);
        }
    }

    void sommaImporti_data() {
        QTest::addColumn<QList<float>>("stakes");
        QTest::addColumn<float>("total");
        QTest::newRow("slip 1") << QList<float>{1, 0.5f, 0, 0.05f} << 1.55f;
        QTest::newRow("tenths") << QList<float>{0.1f, 0.2f, 0.3f} << 0.6f;
        QTest::newRow("empty bet") << QList<float>{0, 0, 0, 0} << 0.0f;
        QTest::newRow("one") << QList<float>{12.5f} << 12.5f;
    }
    void sommaImporti() {
        QFETCH(QList<float>, stakes);
        QFETCH(float, total);
        QCOMPARE(SommaImporti(stakes), total);
    }

    void stakesToRows() {
        // Ambo 1, Terno 0.50, Quaterna 0, Cinquina 0.05: rows 3, 2, 1, 0.
        GrigliaImporti g;
        g.fill(false);
        const std::array<float, 4> stakes{1, 0.5f, 0, 0.05f};
        ScomponiImporti(g, stakes);
        QCOMPARE(Marked(g, 3), QList<double>{1});
        QCOMPARE(Marked(g, 2), QList<double>{0.5});
        QCOMPARE(Marked(g, 1), QList<double>{});
        QCOMPARE(Marked(g, 0), QList<double>{0.05});
        QCOMPARE(Marked(g, 4), QList<double>{});
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
        const SystemRecord s = slips::SistemaCompleto();
        const ContenutoScheda c = PreparaScheda(s, slip);
        QList<int> marked;
        for (int n = 0; n <= 90; ++n)
            if (c.numeri[size_t(n)] == 'X')
                marked.append(n);
        QCOMPARE(marked, numbers);
        QCOMPARE(c.totale, total);
        int count = 0;
        for (bool b : c.importi)
            count += b ? 1 : 0;
        QCOMPARE(count, marks);
        // Only the Estratto's slip uses the top row.
        QCOMPARE(Marked(c.importi, RigaEstratto).isEmpty(), slip != 9);
    }

    void wheelIndex_data() {
        QTest::addColumn<QString>("ruota");
        QTest::addColumn<int>("index");
        QTest::newRow("Napoli") << "Napoli    " << 5;
        QTest::newRow("blanks both sides") << "  Roma " << 7;
        QTest::newRow("first") << "Bari" << 0;
        QTest::newRow("last") << "Tutte" << 11;
        QTest::newRow("case differs") << "napoli" << -1;
        QTest::newRow("unknown") << "Atlantide" << -1;
    }
    void wheelIndex() {
        QFETCH(QString, ruota);
        QFETCH(int, index);
        std::array<QString, 12> nomi = slips::Ruote;
        nomi[5] = QStringLiteral(" Napoli"); // list entries are trimmed too
        QCOMPARE(IndiceRuota(ruota, nomi).value_or(-1), index);
    }

    void range_data() {
        QTest::addColumn<QString>("da");
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        const QString err = QStringLiteral("!!! E R R O R E !!!");
        QTest::newRow("3 2") << "3" << "2" << "'DA' è maggiore di 'A'" << " !!! E R R O R E !!! ";
        QTest::newRow("empty 9") << "" << "9" << "'DA' è minore del minimo" << err;
        QTest::newRow("0 0") << "0" << "0" << "'DA' è minore del minimo" << err;
        QTest::newRow("1 10") << "1" << "10" << "'A' è maggiore del massimo" << err;
        QTest::newRow("both empty") << "" << "" << "'DA' è minore del minimo" << err;
        QTest::newRow("1 9") << "1" << "9" << "" << "";
        QTest::newRow("9 9") << "9" << "9" << "" << "";
    }
    void range() {
        QFETCH(QString, da);
        QFETCH(QString, a);
        QFETCH(QString, text);
        QFETCH(QString, title);
        const auto e = ControllaIntervallo(ValoreCampoScheda(da), ValoreCampoScheda(a));
        QCOMPARE(e.has_value(), !text.isEmpty());
        if (e) {
            QCOMPARE(e->testo, text);
            QCOMPARE(e->titolo, title);
        }
    }

    void textLines_data() {
        QTest::addColumn<float>("total");
        QTest::addColumn<bool>("italian");
        QTest::addColumn<QString>("amount");
        QTest::newRow("1.55 it") << 1.55f << true << " € 1,55 -- ";
        QTest::newRow("12.5 it") << 12.5f << true << " € 12,50 -- ";
        QTest::newRow("0 it") << 0.0f << true << " € 0,00 -- ";
        QTest::newRow("1234.5 it, no grouping") << 1234.5f << true << " € 1234,50 -- ";
        QTest::newRow("0.05 en") << 0.05f << false << " € 0.05 -- ";
    }
    void textLines() {
        QFETCH(float, total);
        QFETCH(bool, italian);
        QFETCH(QString, amount);
        QCOMPARE(RigaImporto(total, italian ? testsupport::italian() : testsupport::english()),
                 amount);
    }

};

QTEST_MAIN(TestSlips)
#include "test_slips.moc"
