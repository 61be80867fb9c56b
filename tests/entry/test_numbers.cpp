#include "entry/numbers.h"

#include <QtTest>
#include <set>

using namespace corpo;

Q_DECLARE_METATYPE(corpo::Cluster)

namespace {

// A complete system with no repeated number: row g holds 10 g + position + 1.
Cluster goodCluster() {
    Cluster c{};
    for (int g = 0; g < NumGruppi; ++g)
        for (int p = 0; p < GroupSize[size_t(g)]; ++p)
            c[size_t(g)][size_t(p)] = 10 * g + p + 1;
    return c;
}

Cluster with(Cluster c, int g, int p, int value) {
    c[size_t(g)][size_t(p)] = value;
    return c;
}

} // namespace

class TestNumbers : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void val_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("two blanks") << "  " << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("zeros") << "00" << 0.0;
        QTest::newRow("plain") << "45" << 45.0;
        QTest::newRow("leading blanks") << "  7" << 7.0;
        QTest::newRow("stops at letter") << "12ab" << 12.0;
        QTest::newRow("letters only") << "abc" << 0.0;
        QTest::newRow("fraction") << "7.5" << 7.5;
        QTest::newRow("comma ends the number") << "7,5" << 7.0;
        QTest::newRow("negative") << "-3" << -3.0;
        QTest::newRow("exponent") << "1e3" << 1000.0;
        QTest::newRow("dangling exponent") << "5e" << 5.0;
        QTest::newRow("sign alone") << "-" << 0.0;
        QTest::newRow("point alone") << "." << 0.0;
        QTest::newRow("point then digit") << ".5" << 0.5;
    }
    void val() {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(Val(text), value);
    }

    void stakeText_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("shown");
        QTest::newRow("1,5") << "1,5" << 1.5f << "1,50";
        QTest::newRow("7") << "7" << 7.0f << "7,00";
        QTest::newRow(",5") << ",5" << 0.5f << "0,50";
        QTest::newRow("0,00") << "0,00" << 0.0f << "0,00";
        QTest::newRow("trailing comma") << "5," << 5.0f << "5,00";
        QTest::newRow("half a cent rounds up") << "0,125" << 0.125f << "0,13";
        QTest::newRow("large") << "99999" << 99999.0f << "99999,00";
        QTest::newRow("empty counts 0") << "" << 0.0f << "0,00";
        QTest::newRow("comma alone counts 0") << "," << 0.0f << "0,00";
        QTest::newRow("two commas count 0") << "1,2,3" << 0.0f << "0,00";
        QTest::newRow("full stop counts 0") << "1.5" << 0.0f << "0,00";
        QTest::newRow("letters count 0") << "ab" << 0.0f << "0,00";
    }
    void stakeText() {
        QFETCH(QString, typed);
        QFETCH(float, value);
        QFETCH(QString, shown);
        QCOMPARE(ParseStake(typed), value);
        QCOMPARE(FormatStake(ParseStake(typed)), shown);
    }

    void formatIgnoresLocale() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(FormatStake(1234.5f), QStringLiteral("1234,50"));
        QCOMPARE(FormatTotal(0.3f + 0.15f), QStringLiteral("0,45"));
        QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
        QCOMPARE(FormatTotal(1234.5f), QStringLiteral("1234,50"));
        QLocale::setDefault(QLocale::c());
    }

    void presets_data() {
        QTest::addColumn<int>("preset");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QList<float>>("cinquina");
        QTest::addColumn<float>("estratto");
        QTest::newRow("10 euro") << int(Preset::Euro10) << "10,00"
                                 << QList<float>{1.00f, 0.30f, 0.15f, 0.05f} << 1.0f;
        QTest::newRow("20 euro") << int(Preset::Euro20) << "20,00"
                                 << QList<float>{1.85f, 0.85f, 0.25f, 0.05f} << 3.0f;
    }
    void presets() {
        QFETCH(int, preset);
        QFETCH(QString, total);
        QFETCH(QList<float>, cinquina);
        QFETCH(float, estratto);
        SystemRecord r;
        ImpostaImporti(r, Preset(preset));
        QCOMPARE(FormatTotal(SommaImporti(r)), total);
        for (int k = 0; k < 4; ++k) {
            QCOMPARE(r.ImpCinq1[size_t(k)], cinquina[k]);
            QCOMPARE(r.ImpCinq2[size_t(k)], cinquina[k]);
        }
        QCOMPARE(r.ImpEstratto, estratto);
    }

    void stakeOrderWalksPairsIndexByIndex() {
        const auto& order = StakeOrder();
        QCOMPARE(int(order.size()), 21);
        QList<QString> names;
        for (const StakeSlot& s : order)
            names << StakeFieldName(s.group, s.index);
        QCOMPARE(names.mid(0, 4),
                 (QList<QString>{"txtImpCinq1_0", "txtImpCinq2_0", "txtImpCinq1_1", "txtImpCinq2_1"}));
        QCOMPARE(names.mid(8, 2), (QList<QString>{"txtImpQuad1_0", "txtImpQuad2_0"}));
        QCOMPARE(names.mid(18),
                 (QList<QString>{"txtImpAmbo1", "txtImpAmbo2", "txtImpEstratto"}));
        // Every stake of the record exactly once.
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), 21);
    }

    void sumIsSinglePrecisionInOrder() {
        // 2^24 + 1 is not a float: adding the ones one by one to 2^24 loses
        // each of them, which a double sum would not.
        SystemRecord r;
        r.ImpCinq1[0] = 16777216.0f;
        r.ImpCinq2[0] = 1.0f;
        r.ImpCinq1[1] = 1.0f;
        QCOMPARE(SommaImporti(r), 16777216.0f);
    }

    void check_data() {
        QTest::addColumn<Cluster>("values");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        const Cluster ok = goodCluster();
        QTest::newRow("complete") << ok << QString() << QString();
        const QString firstCinquina = QStringLiteral("La prima cinquina non è completa!!!");
        // The first missing number wins over a later one and over any repeat.
        Cluster two = with(with(ok, Cinq2, 1, 0), Cinq1, 3, 0);
        QTest::newRow("first incomplete group") << two << firstCinquina << "txtCinq1_3";
        Cluster early = with(with(ok, Quad1, 2, 0), Cinq1, 1, ok[0][0]);
        QTest::newRow("completeness before repeats")
            << early << QStringLiteral("La prima quaterna non è completa!!!") << "txtQuad1_2";
        // Cinquina 2 at positions (0,1) is met before cinquina 1 at (0,4).
        Cluster order = with(with(ok, Cinq1, 4, ok[0][0]), Cinq2, 1, ok[1][0]);
        QTest::newRow("pairs before groups")
            << order << QStringLiteral("Valore duplicato nella seconda cinquina!!!") << "txtCinq2_1";
        // The same number in two bets is allowed.
        Cluster across = with(ok, Cinq2, 0, ok[0][0]);
        QTest::newRow("same number in two bets") << across << QString() << QString();
    }
    void check() {
        QFETCH(Cluster, values);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        SystemRecord r;
        r.Terz2 = {77, 78, 79}; // earlier values of a later group
        const Verdict v = CheckCluster(values, r);
        QCOMPARE(v.ok, message.isEmpty());
        QCOMPARE(v.message, message);
        QCOMPARE(v.ok ? QString() : NumberFieldName(v.group, v.position), focus);
        if (v.ok) {
            QCOMPARE(int(r.Cinq1[0]), values[0][0]);
            QCOMPARE(int(r.Estratto), values[Estratto][0]);
            QCOMPARE(int(r.Terz2[2]), values[Terz2][2]);
        }
    }

    void checkStoresOnlyWhatItPassed() {
        SystemRecord r;
        r.Quad1 = {61, 62, 63, 64};
        r.Quad2 = {71, 72, 73, 74};
        const Cluster values = with(goodCluster(), Quad1, 2, 0);
        QVERIFY(!CheckCluster(values, r).ok);
        QCOMPARE(r.Cinq2[4], uint8_t(values[1][4]));                  // before: stored
        QCOMPARE(r.Quad1[1], uint8_t(values[2][1]));                  // same group, before
        QCOMPARE(r.Quad1[2], uint8_t(63));                            // the failing one
        QCOMPARE(r.Quad2, (std::array<uint8_t, 4>{71, 72, 73, 74}));  // after: untouched
    }

    void capogioco_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("value");
        QTest::newRow("empty") << "" << int(CapogiocoAnswer::Cancelled) << 0;
        QTest::newRow("0") << "0" << int(CapogiocoAnswer::OutOfRange) << 0;
        QTest::newRow("91") << "91" << int(CapogiocoAnswer::OutOfRange) << 0;
        QTest::newRow("text") << "sette" << int(CapogiocoAnswer::OutOfRange) << 0;
        QTest::newRow("negative") << "-5" << int(CapogiocoAnswer::OutOfRange) << 0;
        QTest::newRow("huge") << "1e300" << int(CapogiocoAnswer::OutOfRange) << 0;
        QTest::newRow("7") << "7" << int(CapogiocoAnswer::Accepted) << 7;
        QTest::newRow("7.5 to even 8") << "7.5" << int(CapogiocoAnswer::Accepted) << 8;
        QTest::newRow("8.5 to even 8") << "8.5" << int(CapogiocoAnswer::Accepted) << 8;
        QTest::newRow("0.5 to even 0") << "0.5" << int(CapogiocoAnswer::OutOfRange) << 0;
        QTest::newRow("90.5 to even 90") << "90.5" << int(CapogiocoAnswer::Accepted) << 90;
        QTest::newRow("blank then digits") << " 12abc" << int(CapogiocoAnswer::Accepted) << 12;
    }
    void capogioco() {
        QFETCH(QString, answer);
        QFETCH(int, kind);
        QFETCH(int, value);
        const CapogiocoAnswer a = ParseCapogioco(answer);
        QCOMPARE(int(a.kind), kind);
        QCOMPARE(a.value, value);
    }

    void randomFill_data() {
        QTest::addColumn<int>("capogioco");
        QTest::addColumn<quint32>("seed");
        for (int head : {0, 1, 45, 90})
            for (quint32 seed : {1u, 2u, 3u})
                QTest::addRow("head %d seed %u", head, seed) << head << seed;
    }
    void randomFill() {
        QFETCH(int, capogioco);
        QFETCH(quint32, seed);
        QRandomGenerator rng(seed);
        int draws = 0;
        const Cluster c = NumeriCasualiValues(capogioco, [&] {
            ++draws;
            return rng.generateDouble();
        });
        std::set<int> seen;
        for (int g = 0; g < Estratto; ++g)
            for (int p = 0; p < GroupSize[size_t(g)]; ++p) {
                const int n = c[size_t(g)][size_t(p)];
                QVERIFY(n >= 1 && n <= 90);
                QVERIFY(n != capogioco);
                seen.insert(n);
            }
        QCOMPARE(int(seen.size()), 28);
        QVERIFY(c[Estratto][0] >= 1 && c[Estratto][0] <= 90);
        QVERIFY(draws >= 29);
    }

    void randomFillEdges() {
        // A generator at the ends of [0, 1) still gives 1 and 90; the draw is
        // repeated while the number is taken.
        QList<double> script = {0.0, 0.0, 0.999999, 0.5};
        int i = 0;
        const Cluster c = NumeriCasualiValues(1, [&] {
            if (i < script.size())
                return script[i++];
            return double(i++ % 90) / 90.0 + 1e-9;
        });
        QCOMPARE(c[0][0], 90); // 1 is the head number: drawn again twice
        QCOMPARE(c[0][1], 46);
    }

    void colours_data() {
        QTest::addColumn<int>("bgr");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("black") << 0 << QColor(0, 0, 0);
        QTest::newRow("white") << 0xFFFFFF << QColor(255, 255, 255);
        QTest::newRow("red") << 255 << QColor(255, 0, 0);
        QTest::newRow("blue") << 0xFF0000 << QColor(0, 0, 255);
        QTest::newRow("pale yellow") << 0x0080FFFF << QColor(255, 255, 128);
        QTest::newRow("mixed") << 0x00123456 << QColor(0x56, 0x34, 0x12);
    }
    void colours() {
        QFETCH(int, bgr);
        QFETCH(QColor, colour);
        QCOMPARE(ToQColor(bgr), colour);
        QCOMPARE(FromQColor(colour), bgr);
    }

    void randomColour_data() {
        QTest::addColumn<double>("draw");
        QTest::addColumn<int>("colour");
        QTest::newRow("0") << 0.0 << 0;
        QTest::newRow("just below 1") << 0.9999999999 << 0xFFFFFF;
        QTest::newRow("half") << 0.5 << 8388608; // 8388607.5 rounds to even
    }
    void randomColour() {
        QFETCH(double, draw);
        QFETCH(int, colour);
        QCOMPARE(ColoreCasuale(draw), colour);
    }

};

QTEST_APPLESS_MAIN(TestNumbers)
#include "test_numbers.moc"
