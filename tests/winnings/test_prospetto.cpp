// The winnings of every bet, checked to the last bit of each float: QCOMPARE
// on floats is fuzzy and would let a missed rounding step through.
#include "app/corpo.h"
#include "app/fileio.h"
#include "tests/support/testsupport.h"
#include "winnings/prospetto.h"

#include <QtTest>
#include <cmath>
#include <cstring>
#include <limits>

using namespace corpo;

namespace {

using Bits21 = std::array<uint32_t, 21>;

uint32_t bits(float f) {
    uint32_t b;
    std::memcpy(&b, &f, 4);
    return b;
}

float fromBits(uint32_t b) {
    float f;
    std::memcpy(&f, &b, 4);
    return f;
}

// 21 values in the order the program walks the bets, written bet by bet.
template <typename T>
std::array<T, 21> bySystem(std::array<T, 4> c1, std::array<T, 4> c2, std::array<T, 3> q1,
                           std::array<T, 3> q2, std::array<T, 2> t1, std::array<T, 2> t2, T a1,
                           T a2, T e) {
    std::array<T, 21> out{};
    auto it = out.begin();
    for (T v : c1) *it++ = v;
    for (T v : c2) *it++ = v;
    for (T v : q1) *it++ = v;
    for (T v : q2) *it++ = v;
    for (T v : t1) *it++ = v;
    for (T v : t2) *it++ = v;
    *it++ = a1;
    *it++ = a2;
    *it = e;
    return out;
}

// Exact float values written as numbers (25, 319600) turned into bit patterns.
uint32_t b(float f) { return bits(f); }

const char* const memberNames[21] = {
    "Cinquina 1 ambo", "Cinquina 1 terno", "Cinquina 1 quaterna", "Cinquina 1 cinquina",
    "Cinquina 2 ambo", "Cinquina 2 terno", "Cinquina 2 quaterna", "Cinquina 2 cinquina",
    "Quaterna 1 ambo", "Quaterna 1 terno", "Quaterna 1 quaterna",
    "Quaterna 2 ambo", "Quaterna 2 terno", "Quaterna 2 quaterna",
    "Terno 1 ambo", "Terno 1 terno", "Terno 2 ambo", "Terno 2 terno",
    "Ambo 1", "Ambo 2", "Estratto"};

QString describe(uint32_t v) {
    return QStringLiteral("0x%1 (%2)").arg(v, 8, 16, QLatin1Char('0')).arg(double(fromBits(v)), 0, 'g', 12);
}

// The first member whose bits differ, named, or an empty string.
QString firstDifference(const Importi21& got, const Bits21& want) {
    for (int i = 0; i < 21; ++i)
        if (bits(got[i]) != want[i])
            return QStringLiteral("%1: got %2, want %3")
                .arg(QLatin1String(memberNames[i]), describe(bits(got[i])), describe(want[i]));
    return {};
}

const Importi21 preset10 = bySystem<float>({1.00f, 0.30f, 0.15f, 0.05f}, {1.00f, 0.30f, 0.15f, 0.05f},
                                           {0.60f, 0.30f, 0.10f}, {0.60f, 0.30f, 0.10f},
                                           {0.75f, 0.25f}, {0.75f, 0.25f}, 1.00f, 1.00f, 1.00f);
const Importi21 preset20 = bySystem<float>({1.85f, 0.85f, 0.25f, 0.05f}, {1.85f, 0.85f, 0.25f, 0.05f},
                                           {1.50f, 0.70f, 0.30f}, {1.50f, 0.70f, 0.30f},
                                           {1.00f, 0.50f}, {1.00f, 0.50f}, 1.50f, 1.50f, 3.00f);

} // namespace

Q_DECLARE_METATYPE(Importi21)
Q_DECLARE_METATYPE(Bits21)

class TestProspetto : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void winnings_data() {
        QTest::addColumn<Importi21>("stakes");
        QTest::addColumn<Bits21>("want");
        const std::array<uint32_t, 4> c0{};
        const std::array<uint32_t, 3> q0{};
        const std::array<uint32_t, 2> t0{};
        const std::array<float, 4> s4{};
        const std::array<float, 3> s3{};
        const std::array<float, 2> s2{};

        QTest::newRow("no stakes") << Importi21{} << Bits21{};

        // Summing the members instead of the units would give 4590 and 325300
        // for the Cinquina; 13499.998 shows as 13.500,00.
        const std::array<uint32_t, 4> cinq10{b(25), b(210), b(4290), b(319600)};
        const std::array<uint32_t, 3> quat10{0x41C7FF2F, 0x43CE3FD9, 0x4652EFFE};
        const std::array<uint32_t, 2> tern10{0x4279FFBE, 0x44A40FFA};
        QTest::newRow("10 euro") << preset10
                                 << bySystem<uint32_t>(cinq10, cinq10, quat10, quat10, tern10, tern10,
                                                       b(250), b(250), 0x4133B646);

        // Without the rounding of each unit the Quaterna would be 0x471A64FF.
        const std::array<uint32_t, 4> cinq20{b(46.25f), b(521.25f), b(7807.5f), b(334287.5f)};
        const std::array<uint32_t, 3> quat20{0x4279FEFA, 0x4473BFCF, 0x471A64FE};
        const std::array<uint32_t, 2> tern20{0x42A6AA7F, 0x451C3FFC};
        QTest::newRow("20 euro") << preset20
                                 << bySystem<uint32_t>(cinq20, cinq20, quat20, quat20, tern20, tern20,
                                                       b(375), b(375), 0x4206C8B4);

        // A member whose own kind is not played is 0: the ambi are not added
        // into the terno, quaterna and cinquina (that would give 75, 150, 250).
        QTest::newRow("cinquina, ambo only")
            << bySystem<float>({1, 0, 0, 0}, s4, s3, s3, s2, s2, 0, 0, 0)
            << bySystem<uint32_t>({b(25), 0, 0, 0}, c0, q0, q0, t0, t0, 0, 0, 0);
        // 0.15 as a float is a little above 0.15: exact decimals would give 900000.
        QTest::newRow("cinquina, cinquina only")
            << bySystem<float>(s4, {0, 0, 0, 0.15f}, s3, s3, s2, s2, 0, 0, 0)
            << bySystem<uint32_t>(c0, {0, 0, 0, b(900000.0625f)}, q0, q0, t0, t0, 0, 0, 0);
        // 41.666 is a decimal constant: 250/6 would give 0x41C80001.
        QTest::newRow("quaterna, ambo only")
            << bySystem<float>(s4, s4, s3, {0.60f, 0, 0}, s2, s2, 0, 0, 0)
            << bySystem<uint32_t>(c0, c0, q0, {0x41C7FF2F, 0, 0}, t0, t0, 0, 0, 0);
        // Products and sums in double, each rounded to float once: float-only
        // arithmetic would give 0x422D5528 and 0x4410FFF8.
        QTest::newRow("terno 0,52 and 0,10")
            << bySystem<float>(s4, s4, s3, s3, {0.52f, 0.10f}, s2, 0, 0, 0)
            << bySystem<uint32_t>(c0, c0, q0, q0, {0x422D5527, 0x4410FFF7}, t0, 0, 0, 0);
        // A terno hit of a bet playing only the terno is the terno alone.
        QTest::newRow("terno, terno only")
            << bySystem<float>(s4, s4, s3, s3, s2, {0, 1}, 0, 0, 0)
            << bySystem<uint32_t>(c0, c0, q0, q0, t0, {0, b(4500)}, 0, 0, 0);
        // Each bet's factor lands in its own place.
        QTest::newRow("one euro on a different kind of each bet")
            << bySystem<float>({0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 1}, {1, 0, 0}, {1, 0}, {0, 1}, 1, 2, 1)
            << bySystem<uint32_t>({0, b(450), 0, 0}, {0, 0, b(24000), 0}, {0, 0, b(120000)},
                                  {b(41.666f), 0, 0}, {b(83.333f), 0}, {0, b(4500)}, b(250), b(500),
                                  b(11.232f));
    }
    void winnings() {
        QFETCH(Importi21, stakes);
        QFETCH(Bits21, want);
        const std::optional<Importi21> got = CalcolaVincite(stakes);
        QVERIFY(got.has_value());
        const QString diff = firstDifference(*got, want);
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
    }

    // An amount that is not a finite float stops the whole computation.
    void overflow_data() {
        QTest::addColumn<int>("place");
        QTest::addColumn<float>("stake");
        QTest::addColumn<bool>("fails");
        const float inf = std::numeric_limits<float>::infinity();
        const float nan = std::numeric_limits<float>::quiet_NaN();
        QTest::newRow("1e33 on the cinquina of a Cinquina") << pos::Cinq1 + 3 << 1e33f << true;
        QTest::newRow("1e33 on the ambo of a Cinquina") << pos::Cinq1 << 1e33f << false;
        QTest::newRow("2.8e33 on the quaterna of a Quaterna") << pos::Quad2 + 2 << 2.8e33f << false;
        QTest::newRow("2.9e33 on the quaterna of a Quaterna") << pos::Quad2 + 2 << 2.9e33f << true;
        QTest::newRow("largest float on the Estratto") << pos::Estratto
                                                       << std::numeric_limits<float>::max() << true;
        QTest::newRow("3e37 on Ambo 2") << pos::Ambo2 << 3e37f << true;
        QTest::newRow("1e36 on Ambo 2") << pos::Ambo2 << 1e36f << false;
        for (int i = 0; i < 21; ++i) {
            QTest::addRow("infinity on %s", memberNames[i]) << i << inf << true;
            QTest::addRow("NaN on %s", memberNames[i]) << i << nan << true;
        }
    }
    void overflow() {
        QFETCH(int, place);
        QFETCH(float, stake);
        QFETCH(bool, fails);
        Importi21 stakes = preset10;
        stakes[place] = stake;
        QCOMPARE(!CalcolaVincite(stakes).has_value(), fails);
    }

    // The units fit a float, the sum that adds the lower kinds does not.
    void overflowInTheSum_data() {
        QTest::addColumn<Importi21>("stakes");
        QTest::addColumn<bool>("fails");
        const std::array<float, 4> s4{};
        const std::array<float, 3> s3{};
        const std::array<float, 2> s2{};
        QTest::newRow("cinquina adds 5 quaterne")
            << bySystem<float>({0, 0, 1e34f, 1}, s4, s3, s3, s2, s2, 0, 0, 0) << true;
        QTest::newRow("quaterna alone") << bySystem<float>({0, 0, 1e34f, 0}, s4, s3, s3, s2, s2, 0, 0, 0)
                                        << false;
        QTest::newRow("terno adds 3 ambi") << bySystem<float>(s4, s4, s3, s3, {2e36f, 1}, s2, 0, 0, 0)
                                           << true;
        QTest::newRow("terno not played") << bySystem<float>(s4, s4, s3, s3, {2e36f, 0}, s2, 0, 0, 0)
                                          << false;
        QTest::newRow("quaterna adds 6 ambi")
            << bySystem<float>(s4, s4, {2e36f, 0, 1}, s3, s2, s2, 0, 0, 0) << true;
        QTest::newRow("quaterna not played")
            << bySystem<float>(s4, s4, {2e36f, 0, 0}, s3, s2, s2, 0, 0, 0) << false;
    }
    void overflowInTheSum() {
        QFETCH(Importi21, stakes);
        QFETCH(bool, fails);
        QCOMPARE(!CalcolaVincite(stakes).has_value(), fails);
    }

    // The record: every bet's winnings go to that bet's own field.
    void recordFields() {
        SystemRecord& s = Sistema;
        s = SystemRecord{};
        s.ImpCinq1 = {1, 0, 0, 0};
        s.ImpCinq2 = {0, 1, 0, 0};
        s.ImpQuad1 = {0, 0, 1};
        s.ImpQuad2 = {1, 0, 0};
        s.ImpTerz1 = {0, 1};
        s.ImpTerz2 = {1, 0};
        s.ImpAmbo1 = 1;
        s.ImpAmbo2 = 2;
        s.ImpEstratto = 1;
        RunError error{-1, QStringLiteral("untouched")};
        QVERIFY(CalcolaProspetto(&error));
        QCOMPARE(error.number, -1);
        QVERIFY(s.VinCinq1 == (std::array<float, 4>{25, 0, 0, 0}));
        QVERIFY(s.VinCinq2 == (std::array<float, 4>{0, 450, 0, 0}));
        QVERIFY(s.VinQuat1 == (std::array<float, 3>{0, 0, 120000}));
        QCOMPARE(bits(s.VinQuat2[0]), bits(41.666f));
        QVERIFY(s.VinTerz1 == (std::array<float, 2>{0, 4500}));
        QCOMPARE(bits(s.VinTerz2[0]), bits(83.333f));
        QCOMPARE(s.VinAmbo1, 250.0f);
        QCOMPARE(s.VinAmbo2, 500.0f);
        QCOMPARE(bits(s.VinEstratto), bits(11.232f));
        s = SystemRecord{};
    }

    // Earlier winnings are overwritten, also by zeros.
    void recomputesEverything() {
        SystemRecord& s = Sistema;
        s = SystemRecord{};
        s.VinCinq2 = {1, 2, 3, 4};
        s.VinEstratto = 99;
        s.ImpAmbo1 = 1;
        QVERIFY(CalcolaProspetto());
        QVERIFY(s.VinCinq2 == (std::array<float, 4>{}));
        QCOMPARE(s.VinEstratto, 0.0f);
        QCOMPARE(s.VinAmbo1, 250.0f);
        s = SystemRecord{};
    }

    void failureLeavesTheRecord() {
        SystemRecord& s = Sistema;
        s = SystemRecord{};
        s.ImpCinq1 = {1, 0.3f, 0.15f, 1e33f};
        s.ImpEstratto = 1;
        s.VinCinq1 = {7, 7, 7, 7};
        s.VinEstratto = 5;
        const SystemRecord before = s;
        RunError error;
        QVERIFY(!CalcolaProspetto(&error));
        QCOMPARE(error.number, 6);
        QCOMPARE(error.description, QStringLiteral("Overflow"));
        QCOMPARE(std::memcmp(StakesOf(s).data(), StakesOf(before).data(), sizeof(Importi21)), 0);
        QCOMPARE(std::memcmp(WinningsOf(s).data(), WinningsOf(before).data(), sizeof(Importi21)), 0);
        s = SystemRecord{};
    }

    void amountFormat_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<float>("amount");
        QTest::addColumn<QString>("want");
        const QLocale it = testsupport::italian(), en = testsupport::english();
        QTest::newRow("it zero") << it << 0.0f << QStringLiteral("€ 0,00");
        QTest::newRow("it thousands") << it << 4290.0f << QStringLiteral("€ 4.290,00");
        QTest::newRow("it cinquina") << it << 319600.0f << QStringLiteral("€ 319.600,00");
        QTest::newRow("it 24.9996") << it << fromBits(0x41C7FF2F) << QStringLiteral("€ 25,00");
        QTest::newRow("it 13499.998") << it << fromBits(0x4652EFFE) << QStringLiteral("€ 13.500,00");
        QTest::newRow("it 39524.992") << it << fromBits(0x471A64FE) << QStringLiteral("€ 39.524,99");
        QTest::newRow("it estratto") << it << 11.232f << QStringLiteral("€ 11,23");
        QTest::newRow("it millions") << it << 612413696.0f << QStringLiteral("€ 612.413.696,00");
        QTest::newRow("it half cent") << it << 334287.5f << QStringLiteral("€ 334.287,50");
        QTest::newRow("en cinquina") << en << 319600.0f << QStringLiteral("€ 319,600.00");
        QTest::newRow("en terno") << en << fromBits(0x44A40FFA) << QStringLiteral("€ 1,312.50");
        QTest::newRow("en estratto") << en << 11.232f << QStringLiteral("€ 11.23");
        QLocale bare = it;
        bare.setNumberOptions(QLocale::OmitGroupSeparator);
        QTest::newRow("it asked not to group") << bare << 4290.0f << QStringLiteral("€ 4.290,00");
        QTest::newRow("C locale") << QLocale::c() << 4290.0f << QStringLiteral("€ 4,290.00");
        // Locales that by themselves group only from five digits on.
        const QLocale es(QLocale::Spanish, QLocale::Spain), pl(QLocale::Polish, QLocale::Poland);
        QTest::newRow("es thousands") << es << 4290.0f << QStringLiteral("€ 4.290,00");
        QTest::newRow("es hundreds") << es << 412.4988f << QStringLiteral("€ 412,50");
        QTest::newRow("es millions") << es << 1234567.0f << QStringLiteral("€ 1.234.567,00");
        QTest::newRow("pl thousands") << pl << 4290.0f << QStringLiteral("€ 4\u00A0290,00");
        QTest::newRow("it rounds up to a thousand") << it << 999.996f << QStringLiteral("€ 1.000,00");
        QTest::newRow("es rounds up to a thousand") << es << 999.996f << QStringLiteral("€ 1.000,00");
    }
    void amountFormat() {
        QFETCH(QLocale, locale);
        QFETCH(float, amount);
        QFETCH(QString, want);
        QCOMPARE(FormatoVincita(amount, locale), want);
    }

    // Without a locale argument the user's locale is used.
    void amountFormatDefaultLocale_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("want");
        QTest::newRow("it") << testsupport::italian() << QStringLiteral("€ 1.312,50");
        QTest::newRow("en") << testsupport::english() << QStringLiteral("€ 1,312.50");
    }
    void amountFormatDefaultLocale() {
        QFETCH(QLocale, locale);
        QFETCH(QString, want);
        testsupport::LocaleScope scope(locale);
        QCOMPARE(FormatoVincita(fromBits(0x44A40FFA)), want);
    }

    void numberFormat_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("want");
        QTest::newRow("empty place") << 0 << QString();
        QTest::newRow("one digit") << 7 << QStringLiteral("7");
        QTest::newRow("two digits") << 10 << QStringLiteral("10");
        QTest::newRow("highest") << 90 << QStringLiteral("90");
    }
    void numberFormat() {
        QFETCH(int, number);
        QFETCH(QString, want);
        QCOMPARE(FormatoNumero(uint8_t(number)), want);
    }
};

QTEST_GUILESS_MAIN(TestProspetto)
#include "test_prospetto.moc"
