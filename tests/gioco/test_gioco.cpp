// The game without windows or paper: what every bet wins to the last bit (QCOMPARE on floats is
// fuzzy and would let a missed rounding step through), what a draw pays, a system followed over the
// archive, the statistics and the archive's self-check, all by tables counted by hand.
#include "gioco/controlloarchivio.h"
#include "gioco/numbers.h"
#include "gioco/prospetto.h"
#include "gioco/regole.h"
#include "gioco/statistiche.h"
#include "gioco/verifica.h"
#include "tests/support/archiviopiccolo.h"
#include "tests/support/esempio.h"

#include <QtTest>
#include <bit>
#include <random>

using namespace corpo;

namespace {

float f(uint32_t bits) { return std::bit_cast<float>(bits); }

// The 21 values of a system whose two bets of each kind are alike.
Importi21 twice(std::array<float, 4> c, std::array<float, 3> q, std::array<float, 2> t, float a,
                float e) {
    return {c[0], c[1], c[2], c[3], c[0], c[1], c[2], c[3], q[0], q[1], q[2],
            q[0], q[1], q[2], t[0], t[1], t[0], t[1], a,    a,    e};
}

// Only the given places set, the rest as in base.
Importi21 at(std::initializer_list<std::pair<int, float>> places, Importi21 base = {}) {
    for (const auto& [place, value] : places)
        base[place] = value;
    return base;
}

// The stakes of the "10 €uro" and "20 €uro" buttons.
const Importi21 preset10 =
    twice({1.00f, 0.30f, 0.15f, 0.05f}, {0.60f, 0.30f, 0.10f}, {0.75f, 0.25f}, 1.00f, 1.00f);
const Importi21 preset20 =
    twice({1.85f, 0.85f, 0.25f, 0.05f}, {1.50f, 0.70f, 0.30f}, {1.00f, 0.50f}, 1.50f, 3.00f);

using Won = std::optional<Importi21>;
using Draws = QList<std::pair<int, Estratti>>;

// Every winning slip, then the totals.
QString dump(const EsitoVerifica& e) {
    QStringList lines;
    for (int g = 0; g < NumeroGruppi; ++g)
        if (e.schedine[g].importi.lordo)
            lines << Scommesse[g].Nome() + ": " + DescriviSchedina(e.schedine[g]);
    return (lines << DescriviTotali(e.totali)).join('\n');
}

// One date's lines on the given wheels, the numbers in the order drawn.
QByteArray day(const char* date, const QByteArray& codes,
               const char* numbers = "\t9\t4\t7\t1\t5\n") {
    QByteArray out;
    for (const QByteArray& code : codes.split(' '))
        out += date + ('\t' + code) + numbers;
    return out;
}
const char* const cities10 = "BA CA FI GE MI NA PA RM TO VE";

} // namespace

Q_DECLARE_METATYPE(Importi21)
Q_DECLARE_METATYPE(Won)
Q_DECLARE_METATYPE(SystemRecord)
Q_DECLARE_METATYPE(Draws)

class TestGioco : public QObject {
    Q_OBJECT
    SystemRecord Sistema;

private Q_SLOTS:
    // Amounts as an Italian player reads them.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy)); }

    // Stakes → winnings, or nothing when an amount is not a finite float.
    void winnings_data() {
        QTest::addColumn<Importi21>("stakes");
        QTest::addColumn<Won>("want");
        // Summing members instead of units would make the Cinquina 4590, 325300.
        QTest::newRow("10 euro") << preset10
                                 << Won(twice({25, 210, 4290, 319600},
                                              {f(0x41C7FF2F), f(0x43CE3FD9), f(0x4652EFFE)},
                                              {f(0x4279FFBE), f(0x44A40FFA)}, 250, f(0x4133B646)));
        // Without rounding each unit the Quaterna would be 0x471A64FF.
        QTest::newRow("20 euro") << preset20
                                 << Won(twice({46.25f, 521.25f, 7807.5f, 334287.5f},
                                              {f(0x4279FEFA), f(0x4473BFCF), f(0x471A64FE)},
                                              {f(0x42A6AA7F), f(0x451C3FFC)}, 375, f(0x4206C8B4)));
        // A member not played is 0: adding the ambi would give 75, 150, 250.
        QTest::newRow("Cinquina 1, 0, 0, 0") << at({{0, 1}}) << Won(at({{0, 25}}));
        // 0.15f is a little above 0.15: decimal arithmetic gives 900000.
        QTest::newRow("Cinquina 0, 0, 0, 0,15") << at({{3, 0.15f}}) << Won(at({{3, 900000.0625f}}));
        // Products and sums in double: float-only gives 0x422D5528, 0x4410FFF8.
        const int t = PrimoImporto(Terz1), q = PrimoImporto(Quad1);
        QTest::newRow("Terno 0,52, 0,10") << at({{t, 0.52f}, {t + 1, 0.10f}})
                                          << Won(at({{t, f(0x422D5527)}, {t + 1, f(0x4410FFF7)}}));
        QTest::newRow("Quaterna 1, 1, 0: the terno's three ambi")
            << at({{q, 1}, {q + 1, 1}}) << Won(at({{q, 41.666f}, {q + 1, 1249.998f}}));
        QTest::newRow("1e33 on an ambo") << at({{0, 1e33f}}) << Won(at({{0, f(0x789A130C)}}));
        QTest::newRow("1e33 on a cinquina") << at({{3, 1e33f}}) << Won();
        // Each unit fits a float; five quaterne added into the cinquina do not.
        QTest::newRow("overflowing sum") << at({{2, 1e34f}, {3, 1}}) << Won();
        QTest::newRow("infinity") << at({{0, INFINITY}}, preset10) << Won();
        QTest::newRow("NaN") << at({{20, NAN}}, preset10) << Won();
    }

    void winnings() {
        QFETCH(Importi21, stakes);
        QFETCH(Won, want);
        const Won got = CalcolaVincite(stakes);
        QCOMPARE(got.has_value(), want.has_value());
        for (int i = 0; got && i < 21; ++i)
            QVERIFY2(std::bit_cast<uint32_t>((*got)[i]) == std::bit_cast<uint32_t>((*want)[i]),
                     qPrintable(QStringLiteral("place %1: %2").arg(i).arg((*got)[i], 0, 'g', 9)));
    }

    // What the game pays: C(h, k) units of every staked kind, each wheel of
    // "Tutte" a tenth, a slip capped at 6.000.000 and 8% withheld per slip.
    void payout_data() {
        QTest::addColumn<SystemRecord>("sistema");
        QTest::addColumn<Draws>("draws");
        QTest::addColumn<QString>("want");
        const SystemRecord roma = testsupport::Esempio("Roma");
        QTest::newRow("3 hits and the estratto")
            << roma << Draws{{7, {7, 18, 33, 3, 47}}}
            << "Cinquina 1: lordo € 75,00, ritenuta € 6,00, netto € 69,00\n"
               "Estratto: lordo € 11,23, ritenuta € 0,90, netto € 10,33\n"
               "Spesa € 2,00; lordo € 86,23; ritenuta € 6,90; netto € 79,33";
        QTest::newRow("4 hits, 6 ambi")
            << roma << Draws{{7, {7, 18, 33, 45, 47}}}
            << "Cinquina 1: lordo € 150,00, ritenuta € 12,00, netto € 138,00\n"
               "Spesa € 2,00; lordo € 150,00; ritenuta € 12,00; netto € 138,00";
        SystemRecord quaterna = roma;
        quaterna.ImpCinq1[0] = quaterna.ImpEstratto = 0;
        quaterna.ImpQuad1 = {0.60f, 0, 0.40f};
        QTest::newRow("Quaterna, terno not staked")
            << quaterna << Draws{{7, {56, 57, 58, 1, 2}}}
            << "Quaterna 1: lordo € 75,00, ritenuta € 6,00, netto € 69,00\n"
               "Spesa € 1,00; lordo € 75,00; ritenuta € 6,00; netto € 69,00";
        // 81 heads every bet, the Estratto too: 3 hits on Bari, 2 on Cagliari.
        QTest::newRow("head number on Tutte")
            << testsupport::Esempio("Tutte", 81)
            << Draws{{0, {81, 18, 33, 1, 2}}, {1, {18, 81, 4, 5, 6}}}
            << "Cinquina 1: lordo € 10,00, ritenuta € 0,80, netto € 9,20\n"
               "Estratto: lordo € 2,25, ritenuta € 0,18, netto € 2,07\n"
               "Spesa € 2,00; lordo € 12,25; ritenuta € 0,98; netto € 11,27";
        SystemRecord big = roma;
        big.ImpCinq1 = {1, 0, 0, 1};
        big.ImpEstratto = 0;
        QTest::newRow("6M cap")
            << big << Draws{{7, {7, 18, 33, 45, 62}}}
            << "Cinquina 1: lordo € 6.000.000,00, ritenuta € 480.000,00, netto € 5.520.000,00 "
               "(una schedina vince al massimo € 6.000.000,00)\n"
               "Spesa € 2,00; lordo € 6.000.000,00; ritenuta € 480.000,00; netto € 5.520.000,00";
        big.ImpCinq1 = {0, 0, 0, 1}; // the most a slip wins, not more: no note
        QTest::newRow("6M exactly")
            << big << Draws{{7, {7, 18, 33, 45, 62}}}
            << "Cinquina 1: lordo € 6.000.000,00, ritenuta € 480.000,00, netto € 5.520.000,00\n"
               "Spesa € 1,00; lordo € 6.000.000,00; ritenuta € 480.000,00; netto € 5.520.000,00";
        // 0,8336 twice: 1,66 withheld, where 8% of the sum would be 1,67.
        SystemRecord two = quaterna;
        two.ImpQuad1 = two.ImpQuad2 = {0.25f, 0, 0};
        QTest::newRow("withheld per slip")
            << two << Draws{{7, {56, 57, 60, 61, 1}}}
            << "Quaterna 1: lordo € 10,42, ritenuta € 0,83, netto € 9,59\n"
               "Quaterna 2: lordo € 10,42, ritenuta € 0,83, netto € 9,59\n"
               "Spesa € 0,50; lordo € 20,84; ritenuta € 1,66; netto € 19,18";
    }

    void payout() {
        QFETCH(SystemRecord, sistema);
        QFETCH(Draws, draws);
        const auto esito = VerificaEstrazione(sistema, draws, DivisoreVincite(sistema.Ruota));
        QVERIFY(esito);
        QTEST(dump(*esito), "want");
    }

    // A bunch drawn from a script: the head number (81) and a number already
    // in the bunch are drawn again, the Estratto may repeat one.
    void randomCluster() {
        QList<int> script{81, 1, 1};
        for (int n = 2; n <= 28; ++n)
            script << n;
        script << 5;
        const Cluster c = RandomCluster(81, [&] { return (script.takeFirst() - 0.05) / 90; });
        QStringList bets;
        for (int g = 0; g < NumeroGruppi; ++g)
            bets << QString::number(c[g][0]) + ".." + QString::number(c[g][Scommesse[g].size - 1]);
        QCOMPARE(bets.join(' '), "1..5 6..10 11..14 15..18 19..21 22..24 25..26 27..28 5..5");
        QCOMPARE(RandomColour(0.5), 0x800000); // a colour drawn: 0x7FFFFF.8 half to even
    }

    // One slip's total against the operator's limits: 1 to 200 €, in steps of 0,50 €.
    void slipLimits_data() {
        QTest::addColumn<int>("slip");
        QTest::addColumn<Importi21>("stakes");
        QTest::addColumn<QString>("said");
        const int ambo = PrimoImporto(Ambo1);
        QTest::newRow("0,50") << 7 << at({{ambo, 0.5f}})
                              << "Schedina 7 (Ambo 1): 0,50 € è meno del minimo di 1,00 €";
        QTest::newRow("1,00") << 7 << at({{ambo, 1}}) << "";
        QTest::newRow("1,05") << 7 << at({{ambo, 1.05f}})
                              << "Schedina 7 (Ambo 1): 1,05 € non è un multiplo di 0,50 €";
        QTest::newRow("200,00") << 7 << at({{ambo, 200}}) << "";
        QTest::newRow("200,50")
            << 1 << at({{0, 200}, {1, 0.5f}})
            << "Schedina 1 (Cinquina 1): 200,50 € supera il massimo di 200,00 €";
    }
    void slipLimits() {
        QFETCH(int, slip);
        QFETCH(Importi21, stakes);
        for (const StakeSlot& s : StakeOrder())
            Scommesse[s.group].Importi(Sistema)[s.index] = stakes[PrimoImporto(s.group) + s.index];
        QTEST(ControllaRegole(Sistema, slip, slip).violazioni.join('\n'), "said");
    }

    // A date of the archive: the wheels it lacks named, or why it has none;
    // many draws followed add up to the single checks of each.
    void archiveDates() {
        Archivio a; // 400 dates of draws on every wheel, from a fixed seed
        std::mt19937 random(20);
        for (int i = 0; i < 400; ++i)
            for (Estratti& e : a.estrazioni[QDate(1990, 1, 2).addDays(i * 7 / 3)])
                for (int k = 0; k < 5; ++k)
                    do
                        e[k] = uint8_t(random() % 90 + 1);
                    while (std::find(e.begin(), e.begin() + k, e[k]) != e.begin() + k);
        const QDate last = a.Ultima();
        for (int r = 2; r < NumeroRuote; ++r)
            a.estrazioni[last][r] = {};
        QCOMPARE(RuoteMancanti(EstrazioniDel(a, last, "Tutte").mancanti),
                 "Mancano le ruote di Firenze, Genova, Milano, Napoli, Palermo, Roma, Torino e "
                 "Venezia.");
        QCOMPARE(RuoteMancanti({9}), "Manca la ruota di Venezia.");
        QCOMPARE(EstrazioniDel(a, last.addDays(1), "Bari").messaggio,
                 "L'archivio non ha estrazioni del " + FormatoData(last.addDays(1)) +
                     ". L'estrazione precedente è del " + FormatoData(last) + ".");
        for (const QString ruota : {"Tutte", "Roma"}) {
            testsupport::Numerato(Sistema, ruota, 7);
            const QDate from = a.Prima().addDays(40);
            const auto followed = SeguiSistema(Sistema, a, from, ruota == "Roma" ? 0 : 300);
            QVERIFY(followed);
            QCOMPARE(int(followed->colpi.size()), ruota == "Roma" ? 381 : 300);
            Totali sum;
            for (const Colpo& c : followed->colpi) {
                const auto one = VerificaEstrazione(Sistema, EstrazioniDel(a, c.data, ruota).draws,
                                                    DivisoreVincite(ruota));
                QCOMPARE(one->totali.netto, c.importi.netto);
                sum += one->totali;
            }
            QVERIFY(sum.lordo > 0);
            QCOMPARE(DescriviTotali(followed->totali), DescriviTotali(sum));
            QCOMPARE(followed->colpi.back().saldo, sum.netto - sum.spesa);
        }
    }

    // An archive already in the stored form (the operator's order, by date
    // and by wheel code) is known as such, and nothing else is.
    void storedForm_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("stored");
        const QByteArray rm = "2024/01/04\tRM\t1\t2\t3\t4\t5\n",
                         rn = "2024/01/04\tRN\t6\t7\t8\t9\t90\n",
                         to = "2024/01/04\tTO\t10\t11\t12\t13\t14\n",
                         next = "2024/01/05\tBA\t1\t2\t3\t4\t5\n";
        QTest::newRow("operator's order") << rm + rn + to + next << true;
        QTest::newRow("Nazionale last") << rm + to + rn << false;
        QTest::newRow("wheel twice") << rm + rm << false;
        QTest::newRow("dates back") << next + rm << false;
        QTest::newRow("leading zero") << rm + "2024/01/04\tRN\t6\t7\t8\t9\t09\n" << false;
        QTest::newRow("Windows") << rm + "2024/01/04\tRN\t6\t7\t8\t9\t90\r\n" << false;
        QTest::newRow("no last newline") << rm + rn.chopped(1) << false;
        QTest::newRow("blank line") << rm + "\n" + rn << false;
        QTest::newRow("refused line") << rm + "2024/01/04\tRN\t6\t7\t8\t9\t91\n" << false;
    }
    void storedForm() {
        QFETCH(QByteArray, file);
        const LetturaArchivio l = LeggiArchivio(file, QDate(2024, 1, 5));
        QTEST(l.scritta, "stored");
        QCOMPARE(ScriviArchivio(l.archivio) == file, l.scritta);
    }

    // Each bet's ambo and terno delays by the small archive's hand count
    // (support/archiviopiccolo.h);
    // "-": too small a bet. The grapes' counts are checked through the command line (test_app).
    void betDelays_data() {
        QTest::addColumn<int>("ruota");
        QTest::addColumn<QString>("counted");
        QTest::newRow("Bari") << 0 << "4 5 5 5 2 5 5 5 - / 4 5 5 5 2 5 - - -";
        QTest::newRow("Napoli") << 5 << "0 2 2 2 2 2 2 2 - / 0 2 2 2 2 2 - - -";
        QTest::newRow("Roma, no draw") << 7 << "0 0 0 0 0 0 0 0 - / 0 0 0 0 0 0 - - -";
    }

    void betDelays() {
        QFETCH(int, ruota);
        const Archivio archivio = LeggiArchivio(testsupport::ArchivioPiccolo).archivio;
        const Statistiche s = CalcolaStatistiche(archivio, testsupport::SistemaPiccolo(), ruota);
        QStringList ambo, terno;
        for (const StatisticaScommessa& b : s.scommesse) {
            ambo << (b.ritardoAmbo < 0 ? "-" : QString::number(b.ritardoAmbo));
            terno << (b.ritardoTerno < 0 ? "-" : QString::number(b.ritardoTerno));
        }
        QTEST(ambo.join(' ') + " / " + terno.join(' '), "counted");
    }

    // What the self-check finds: a wheel missing or there before its start,
    // a gap past two weeks after the war, an archive sorted after the draw.
    void selfCheck_data() {
        QTest::addColumn<QByteArray>("archive");
        QTest::addColumn<QString>("found");
        // clang-format off
        QTest::newRow("Cagliari and Genova start") << day("1939/07/01", "BA CA FI MI NA PA RM TO VE") +
            day("1939/07/08", "BA FI MI NA PA RM TO VE") << "01/07/1939: c'è la ruota di Cagliari, che si estrae solo dal "
            "08/07/1939.\n08/07/1939: mancano le ruote di Cagliari e Genova.";
        QTest::newRow("Nazionale starts") << day("2005/04/30", "BA CA FI GE MI NA PA RM TO VE RN") +
            day("2005/05/04", cities10) + day("2005/05/07", "BA CA FI GE MI NA PA RM TO VE RN")
            << "30/04/2005: c'è la ruota Nazionale, che si estrae solo dal 04/05/2005.\n"
               "04/05/2005: manca la ruota Nazionale.";
        QTest::newRow("gaps") << day("1944/01/01", cities10) + day("1944/06/03", cities10) +
            day("1950/01/07", cities10) + day("1950/01/21", cities10) + day("1950/02/11", cities10) +
            day("1998/01/01", cities10) + day("1998/01/09", cities10) + // a week from the 1998 rule's first day
            day("2010/01/05", cities10 + QByteArray(" RN")) + day("2010/01/14", cities10 + QByteArray(" RN"))
            << "11/02/1950: 20 giorni senza estrazioni dopo il 21/01/1950.\n01/01/1998: 17.490 giorni senza "
               "estrazioni dopo il 11/02/1950.\n09/01/1998: 7 giorni senza estrazioni dopo il 01/01/1998.\n"
               "05/01/2010: 4.378 giorni senza estrazioni dopo il 09/01/1998.\n"
               "14/01/2010: 8 giorni senza estrazioni dopo il 05/01/2010.";
        const QByteArray rising = day("1950/01/07", cities10, "\t1\t4\t7\t8\t9\n");
        QTest::newRow("sorted, 20 draws") << rising + day("1950/01/14", cities10, "\t1\t4\t7\t8\t9\n")
            << "In 20 estrazioni su 20 i numeri sono in ordine crescente: l'archivio sembra "
               "riordinato, non nell'ordine di estrazione.";
        QTest::newRow("half sorted") << rising + day("1950/01/14", cities10) << "";
        // clang-format on
    }

    void selfCheck() {
        QFETCH(QByteArray, archive);
        QStringList found;
        for (const Rilievo& r : ControllaArchivio(LeggiArchivio(archive).archivio).rilievi)
            found << r.testo;
        QTEST(found.join('\n'), "found");
    }
};

QTEST_GUILESS_MAIN(TestGioco)
#include "test_gioco.moc"
