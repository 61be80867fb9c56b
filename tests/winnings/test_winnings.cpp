// What every bet wins, to the last bit (QCOMPARE on floats is fuzzy and would
// let a missed rounding step through), the prospect window, draws checked
// against the system, and the printed block, compared with golden/prospetto.txt
// number by number within 0.01 mm. After a deliberate change, regenerate it with
//     BRAMA_REGEN_GOLDEN=1 ctest -R test_winnings
// and look at the PDF written beside the test program before committing it.
#include "app/fileio.h"
#include "app/messages.h"
#include "app/printers.h"
#include "app/settings.h"
#include "app/shell.h"
#include "gioco/controlloarchivio.h"
#include "gioco/prospetto.h"
#include "gioco/systemfile.h"
#include "gioco/statistiche.h"
#include "gioco/verifica.h"
#include "outputs/frmVerifica.h"
#include "printing/printerpage.h"
#include "tests/support/archiviopiccolo.h"
#include "tests/support/testsupport.h"
#include "winnings/archivio.h"
#include "winnings/frmStatistiche.h"
#include "winnings/frmVincite.h"
#include "winnings/stampaprospetto.h"

#include <QtTest>
#include <QtWidgets>
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

void setStakes(SystemRecord& Sistema, const Importi21& v) {
    for (const Scommessa& b : Scommesse)
        std::copy_n(v.begin() + FirstStake(b.group), b.stakeCount, b.Stakes(Sistema).begin());
}

// The numbers 1..29 in bet order for 10 euro; a head number opens every bet.
void numbered(SystemRecord& Sistema, const QString& ruota, int head = 0) {
    uint8_t n = 1;
    for (const Scommessa& b : Scommesse)
        for (int i = 0; i < b.size; ++i)
            b.Numbers(Sistema)[size_t(i)] = i == 0 && head ? uint8_t(head) : n++;
    Sistema.Capogioco = uint8_t(head);
    Sistema.Ruota = ruota;
    setStakes(Sistema, preset10);
}

// The first message shown (an empty one when none was).
Shown first(const testing::Script& s) { return s.messages().value(0); }

// A dark theme: white text on nearly black fields, grey windows and buttons.
QPalette dark() {
    const QColor grey(50, 50, 50); // window text, button ... text, bright text, base, window
    return QPalette(Qt::white, grey, Qt::gray, Qt::black, Qt::darkGray, Qt::white, Qt::white,
                    QColor(30, 30, 30), grey);
}

using Won = std::optional<Importi21>;
using Draws = QList<std::pair<int, Estratti>>;

// Cinquina 1 is 7 18 33 45 62 staked only on the Ambo (1 €), the Estratto 3
// staked 1 €, nothing else; the other bets from 51 up (Quaterna 1 is 56..59). A head number opens
// every bet.
SystemRecord esempio(const QString& ruota, int head = 0) {
    SystemRecord r;
    uint8_t n = 50;
    for (const Scommessa& b : Scommesse)
        for (uint8_t& v : b.Numbers(r))
            v = b.group == Cinq1 ? 0 : n += 1 + (n == 61);
    r.Cinq1 = {7, 18, 33, 45, 62};
    r.Estratto = 3;
    for (const Scommessa& b : Scommesse)
        if (head)
            b.Numbers(r)[0] = uint8_t(head);
    r.Capogioco = uint8_t(head);
    r.ImpCinq1[0] = 1;
    r.ImpEstratto = 1;
    r.Ruota = ruota;
    return r;
}

// Every winning slip, then the totals.
QString dump(const EsitoVerifica& e) {
    QStringList lines;
    for (int g = 0; g < NumGruppi; ++g)
        if (e.schedine[g].importi.lordo)
            lines << Scommesse[g].Name() + ": " + DescriviSchedina(e.schedine[g]);
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
const char *const cities8 = "BA FI MI NA PA RM TO VE", *const cities10 =
                                                           "BA CA FI GE MI NA PA RM TO VE";

// A table's row as the player reads it: "1|1|Cinquina 1|3".
QString row(const QTableWidget* t, int r) {
    QStringList cells;
    for (int c = 0; c < t->columnCount(); ++c)
        cells << t->item(r, c)->text();
    return cells.join('|');
}

} // namespace

Q_DECLARE_METATYPE(Importi21)
Q_DECLARE_METATYPE(Won)
Q_DECLARE_METATYPE(SystemRecord)
Q_DECLARE_METATYPE(Draws)

class TestWinnings : public QObject {
    Q_OBJECT
    QTemporaryDir data_;  // the user's data folder, where imports go
    SystemRecord Sistema; // the system a test hands the windows

private Q_SLOTS:
    void initTestCase() {
        InstallFontSubstitutions();
        qputenv("XDG_DATA_HOME", data_.path().toLocal8Bit());
    }
    void init() {
        Sistema = {};
        QFileInfo(PercorsoArchivio()).dir().removeRecursively();
    }

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
        const int t = FirstStake(Terz1);
        QTest::newRow("Terno 0,52, 0,10") << at({{t, 0.52f}, {t + 1, 0.10f}})
                                          << Won(at({{t, f(0x422D5527)}, {t + 1, f(0x4410FFF7)}}));
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

    // The prospect under a dark theme, against its picture: each amount beside
    // its bet, navy on white; the head number dark on the yellow of every first
    // box; the window's own background behind the artwork. Each amount said
    // with its bet and kind. An amount that overflows: the standard report.
    void window() {
        testsupport::LocaleScope it(testsupport::italian());
        testing::Script script;
        const QPalette theme = QApplication::palette();
        const auto restore = qScopeGuard([&] { QApplication::setPalette(theme); });
        QApplication::setPalette(dark());
        numbered(Sistema, "Roma", 7);
        frmVincite form(nullptr, Sistema);
        QVERIFY(form.Form_Load());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        testsupport::CheckGoldenImage("tests/winnings/golden/frmVincite.png",
                                      form.grab().toImage());
        QCOMPARE(form.findChild<QLabel*>("lblVinCinq1_0")->accessibleName(),
                 "Cinquina 1, ambo: € 25,00");
        setStakes(Sistema, at({{3, 1e33f}}, preset10));
        QVERIFY(!form.Form_Load());
        QCOMPARE(first(script).text,
                 "Errore 6 (valore fuori dai limiti) nella procedura Form_Load (Form frmVincite)");
    }

    // A draw typed against the 10 euro system of 1..29: each bet's hits, the
    // head number marked drawn, the totals, printed on the listing's printer;
    // then a draw refused, with the focus on the field at fault, leaves no
    // stale result and nothing to print.
    void typedDraw_data() {
        QTest::addColumn<QString>("ruota");
        QTest::addColumn<int>("head");
        QTest::addColumn<QString>("drawn");
        QTest::addColumn<QString>("hits");
        QTest::addColumn<QString>("shown"); // the totals
        const auto row = [](const char* name, const char* ruota, int head, const char* drawn,
                            const char* hits, const char* shown) {
            QTest::newRow(name) << QString(ruota) << head << QString(drawn) << QString(hits)
                                << QString(shown);
        };
        // A terno of the Cinquina 3 ambi and a terno, 210; the estratto 11,232;
        // 8% of each slip withheld to the cent (16,80 + 0,90).
        row("terno", "Roma", 0, "1 2 3 29 50", "3 0 0 0 0 0 0 0 1",
            "Spesa € 10,00; lordo € 221,23; ritenuta € 17,70; netto € 203,53");
        // One number of a Cinquina or an Ambo is below its ambo: nothing.
        row("fewer hits than played", "Nazionale", 0, "1 25 29 11 12", "1 0 2 0 0 0 1 0 1",
            "Spesa € 10,00; lordo € 36,23; ritenuta € 2,90; netto € 33,33");
        // 90 heads every bet: an ambo on Cinquina 1 (25) and the estratto.
        row("head number", "Bari", 90, "90 2 50 51 52", "2 1 1 1 1 1 1 1 1",
            "Spesa € 10,00; lordo € 36,23; ritenuta € 2,90; netto € 33,33");
        // A cinquina on the wheel typed (Bari), 319.600 shared by ten.
        row("Tutte", "Tutte", 0, "5 4 3 2 1", "5 0 0 0 0 0 0 0 0",
            "Spesa € 10,00; lordo € 31.960,00; ritenuta € 2.556,80; netto € 29.403,20");
    }
    void typedDraw() {
        QFETCH(QString, ruota);
        QFETCH(int, head);
        QFETCH(QString, drawn);
        QFETCH(QString, hits);
        QFETCH(QString, shown);
        testsupport::LocaleScope it(testsupport::italian());
        testsupport::AppFolder app;
        app.write("impostazioni.cfg", SettingsBytes("Ricevitoria", "PDF"));
        testing::PrinterListScope printers({"Altra", "PDF"});
        testing::RecorderScope rec;
        testing::Script script;
        numbered(Sistema, ruota, head);
        frmVerifica form(Sistema);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        for (int i = 0; i < 5; ++i)
            form.findChild<QLineEdit*>(QStringLiteral("txtEstratto_%1").arg(i))
                ->setText(drawn.split(' ')[i]);
        // The wheel of the typed numbers is asked for on "Tutte" only.
        QCOMPARE(form.findChild<QComboBox*>("cmbRuotaDigitata")->isVisible(), ruota == "Tutte");
        QTest::mouseClick(form.findChild<QPushButton*>("cmdVerifica"), Qt::LeftButton);
        auto* table = form.findChild<QTableWidget*>("tblEsito");
        QStringList got;
        for (int r = 0; r < table->rowCount(); ++r)
            got << table->item(r, 7)->text();
        QCOMPARE(got.join(' '), hits);
        QTest::mouseClick(form.findChild<QPushButton*>("cmdStampa"), Qt::LeftButton);
        QCOMPARE(rec.last().printer, QStringLiteral("PDF"));
        // A hit is bold and said in words; the table against its pictures under
        // the default palette and a dark one (hits read at 4.5:1 or more, WCAG).
        const QTableWidgetItem* cell = table->item(0, 2);
        const bool hit = head != 0 || drawn.split(" ").contains("1");
        QCOMPARE(cell->font().bold(), hit);
        QCOMPARE(QAccessible::queryAccessibleInterface(table)->tableInterface()->cellAt(0, 2)->text(
                     QAccessible::Name),
                 cell->text() + (hit ? " estratto" : ""));
        for (const QPalette& palette : {table->palette(), dark()}) {
            table->setPalette(palette);
            testsupport::CheckGoldenImage(QString("tests/winnings/golden/esito_%1_%2.png")
                                              .arg(QTest::currentDataTag())
                                              .arg(palette == dark())
                                              .replace(' ', '_'),
                                          table->viewport()->grab().toImage());
        }
        QCOMPARE(form.findChild<QLabel*>("lblTotale")->text(), shown);
        QCOMPARE(form.findChild<QLabel*>("lblEstrazione")->text().endsWith("per 10 ruote)"),
                 ruota == "Tutte");
        if (hits.endsWith('1')) // the Estratto
            QCOMPARE(
                QAccessible::queryAccessibleInterface(table)->tableInterface()->cellAt(8, 7)->text(
                    QAccessible::Name),
                "1 punto");
        form.findChild<QLineEdit*>("txtEstratto_3")->setText(drawn.section(' ', 1, 1));
        QTest::mouseClick(form.findChild<QPushButton*>("cmdVerifica"), Qt::LeftButton);
        QCOMPARE(first(script).text, QString("Il numero %1 è ripetuto: i cinque numeri estratti "
                                             "sono tutti diversi.")
                                         .arg(drawn.section(' ', 1, 1)));
        QCOMPARE(first(script).focusAtShow, "txtEstratto_3");
        QCOMPARE(table->rowCount(), 0);
        QCOMPARE(form.findChild<QLabel*>("lblTotale")->text(), QString());
        QVERIFY(!form.findChild<QPushButton*>("cmdPdf")->isEnabled());
    }

    // What the game pays: C(h, k) units of every staked kind, each wheel of
    // "Tutte" a tenth, a slip capped at 6.000.000 and 8% withheld per slip.
    void payout_data() {
        QTest::addColumn<SystemRecord>("sistema");
        QTest::addColumn<Draws>("draws");
        QTest::addColumn<QString>("want");
        const SystemRecord roma = esempio("Roma");
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
            << esempio("Tutte", 81) << Draws{{0, {81, 18, 33, 1, 2}}, {1, {18, 81, 4, 5, 6}}}
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
        testsupport::LocaleScope it(testsupport::italian());
        const auto esito = VerificaEstrazione(sistema, draws, DivisoreVincite(sistema.Ruota));
        QVERIFY(esito);
        QTEST(dump(*esito), "want");
    }

    // A date of the archive: the wheels it lacks named, or why it has none;
    // many draws followed add up to the single checks of each.
    void archiveDates() {
        testsupport::LocaleScope it(testsupport::italian());
        Archivio a; // 400 dates of draws on every wheel, from a fixed seed
        std::mt19937 random(20);
        for (int i = 0; i < 400; ++i)
            for (Estratti& e : a.estrazioni[QDate(1990, 1, 2).addDays(i * 7 / 3)])
                for (int k = 0; k < 5; ++k)
                    do
                        e[k] = uint8_t(random() % 90 + 1);
                    while (std::find(e.begin(), e.begin() + k, e[k]) != e.begin() + k);
        const QDate last = a.Ultima();
        for (int r = 2; r < NumRuote; ++r)
            a.estrazioni[last][r] = {};
        QCOMPARE(RuoteMancanti(EstrazioniDel(a, last, "Tutte").mancanti),
                 "Mancano le ruote di Firenze, Genova, Milano, Napoli, Palermo, Roma, Torino e "
                 "Venezia.");
        QCOMPARE(EstrazioniDel(a, last.addDays(1), "Bari").messaggio,
                 "L'archivio non ha estrazioni del " + FormatoData(last.addDays(1)) +
                     ". L'estrazione precedente è del " + FormatoData(last) + ".");
        for (const QString ruota : {"Tutte", "Roma"}) {
            numbered(Sistema, ruota, 7);
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

    // Over the stored archive on "Tutte": a date lacking wheels names them;
    // followed from a date to the last, one row a draw, the totals and the
    // balance, printed.
    void followInWindow() {
        testsupport::LocaleScope it(testsupport::italian());
        testsupport::AppFolder app;
        app.write("impostazioni.cfg", SettingsBytes("Ricevitoria", "PDF"));
        testing::PrinterListScope printers({"PDF"});
        testing::RecorderScope rec;
        testing::Script script;
        QByteArray draws;
        for (int r = 0; r < RuoteCitta; ++r) // a terno of the Cinquina everywhere
            draws += "2024/01/02\t" + CodiceRuota(r).toLatin1() + "\t1\t2\t3\t40\t50\n";
        draws += "2024/01/04\tBA\t1\t2\t40\t41\t42\n2024/01/04\tCA\t1\t2\t40\t41\t42\n";
        QVERIFY(QFileInfo(PercorsoArchivio()).dir().mkpath("."));
        QVERIFY(WriteFileAtomically(PercorsoArchivio(), draws, nullptr));
        numbered(Sistema, "Tutte");
        frmVerifica form(Sistema);
        auto* date = form.findChild<QDateEdit*>("dtpData");
        QTRY_VERIFY(date->isEnabled());
        form.findChild<QRadioButton*>("optArchivio")->setChecked(true);
        form.Verifica();
        QCOMPARE(form.findChild<QLabel*>("lblEstrazione")->text(),
                 "Estrazione del 04/01/2024 (vincite divise per 10 ruote)\nMancano le ruote di "
                 "Firenze, Genova, Milano, Napoli, Palermo, Roma, Torino e Venezia.");
        date->setDate({2024, 1, 2});
        form.findChild<QCheckBox*>("chkUltima")->setChecked(true);
        QVERIFY(form.findChild<QRadioButton*>("optColpi")->isChecked());
        form.Verifica();
        QCOMPARE(form.findChild<QTableWidget*>("tblColpi")->rowCount(), 2);
        // 210 shared by ten wheels ten times; an ambo on two wheels, 5.
        QCOMPARE(form.findChild<QLabel*>("lblTotale")->text(),
                 "Spesa € 20,00; lordo € 215,00; ritenuta € 17,20; netto € 197,80\n"
                 "Saldo: € 177,80");
        QTest::mouseClick(form.findChild<QPushButton*>("cmdStampa"), Qt::LeftButton);
        testsupport::CheckGolden("tests/winnings/golden/colpi.txt", rec.jobs());
        QCOMPARE(script.messages().size(), 0);
    }

    // The check on the command line, without a display: the last lines (the
    // very last the four totals, in the user's locale), or one message line
    // on standard error and a failing exit.
    void commandLine_data() {
        QTest::addColumn<QString>("args"); // %S the system, %A an archive file
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("out"); // the last lines; a failure's message
        const QString it = "it_IT.UTF-8";
        QTest::newRow("typed")
            << "--estrazione|7 18 33 3 47" << it
            << "Schedina Estratto: lordo € 11,23, ritenuta € 0,90, netto € 10,33\n"
               "Spesa € 2,00; lordo € 86,23; ritenuta € 6,90; netto € 79,33";
        QTest::newRow("typed, English")
            << "--estrazione|7,18,33,3,47|--ruota|roma"
            << "en_GB.UTF-8"
            << "Spesa € 2.00; lordo € 86.23; ritenuta € 6.90; netto € 79.33";
        QTest::newRow("two draws")
            << "--archivio|%A|--dal|2024/01/02|--colpi|2" << it
            << "02/01/2024: Cinquina 1: 3 punti, Estratto: 1 punto; netto € 79,33; saldo € 77,33\n"
               "04/01/2024: Cinquina 1: 4 punti; netto € 138,00; saldo € 213,33\n"
               "Saldo: € 213,33\nSpesa € 4,00; lordo € 236,23; ritenuta € 18,90; netto € 217,33";
        QTest::newRow("to the last, stored")
            << "--dal|2024/01/03" << it
            << "L'archivio non ha estrazioni del 03/01/2024: si parte dal 04/01/2024.\n"
               "2 estrazioni, dal 04/01/2024 al 05/01/2024\n"
               "04/01/2024: Cinquina 1: 4 punti; netto € 138,00; saldo € 136,00\n"
               "05/01/2024: nessuna vincita; netto € 0,00; saldo € 134,00\n"
               "Saldo: € 134,00\nSpesa € 4,00; lordo € 150,00; ritenuta € 12,00; netto € 138,00";
        QTest::newRow("three numbers")
            << "--estrazione|1 2 3" << it
            << "!L'estrazione ha 3 numeri: scrivine cinque, tra virgolette (\"7 18 33 3 47\").";
        QTest::newRow("bad date")
            << "--dal|2024/13/01|--archivio|%A" << it
            << "!La data \"2024/13/01\" non è valida: scrivila come AAAA/MM/GG.";
        QTest::newRow("past the last")
            << "--dal|2024/01/06|--archivio|%A" << it
            << "!L'archivio non ha estrazioni sulla ruota Roma dal 06/01/2024 in poi.";
    }
    void commandLine() {
        QFETCH(QString, args);
        QFETCH(QString, lang);
        QFETCH(QString, out);
        QTemporaryDir dir;
        const QString system = dir.filePath("esempio.vrl"), archive = dir.filePath("a.txt");
        const QByteArray draws =
            "2024/01/02\tRM\t7\t18\t33\t3\t47\n2024/01/04\tRM\t7\t18\t33\t45\t47\n"
            "2024/01/05\tRM\t1\t2\t4\t5\t6\n2024/01/05\tBA\t1\t2\t4\t5\t6\n";
        QVERIFY(WriteFileAtomically(system, EncodeSystemFile(esempio("Roma"), 0, 0), nullptr));
        QVERIFY(WriteFileAtomically(archive, draws, nullptr));
        QVERIFY(QDir(dir.path()).mkpath("Bramasolovanti")); // the stored archive
        QVERIFY(WriteFileAtomically(dir.filePath("Bramasolovanti/estrazioni.txt"),
                                    draws.mid(draws.indexOf("2024/01/04")), nullptr));
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LC_ALL", lang);
        env.insert("XDG_DATA_HOME", dir.path());
        env.remove("DISPLAY");
        env.remove("QT_QPA_PLATFORM");
        p.setProcessEnvironment(env);
        p.start(testsupport::builtAppFolder() + "bramasolovanti",
                QStringList{"--verifica", system} + args.replace("%A", archive).split('|'));
        QVERIFY(p.waitForFinished(10000));
        const QString stdOut = QString::fromUtf8(p.readAllStandardOutput());
        const QString stdErr = QString::fromUtf8(p.readAllStandardError());
        const bool fails = out.startsWith('!');
        QCOMPARE(p.exitCode(), fails ? 2 : 0);
        QCOMPARE(stdErr, fails ? out.mid(1) + '\n' : QString());
        const QStringList lines = stdOut.trimmed().split('\n');
        if (fails) // and nothing else
            out = "";
        QCOMPARE(lines.mid(lines.size() - out.count('\n') - 1).join('\n'), out);
    }

    // What an import keeps on disk (a stored archive with lines that no
    // longer read also goes whole to a dated copy), what the player is told
    // (only the first 20 refused lines by number), the newest date offered; a
    // number typed then makes the typed draw the one checked.
    void archiveImport_data() {
        QTest::addColumn<QByteArray>("before"); // the stored archive
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("message"); // %1 the file, %2 the dated copy
        QTest::addColumn<QString>("newest");  // empty: the date field is off
        const QByteArray ba = "2024/01/02\tBA\t5\t6\t7\t8\t9\n",
                         ca = "2024/01/04\tCA\t1\t2\t3\t4\t5\n";
        // clang-format off
        QString bad = "Importata 1 estrazione, del 02/01/2024.\n\nAlcune righe del file non sono state "
            "lette:\n\nla riga 2 contiene caratteri che non sono testo\nla riga 3 ha un numero fuori da "
            "1..90\nla riga 4 ha una data che non esiste\nla riga 5 ha la data in un formato diverso "
            "da aaaa/mm/gg\nla riga 6 ha una data prima del 1871 o dopo domani";
        for (int i = 7; i <= 21; ++i)
            bad += QString("\nla riga %1 non ha data, ruota e cinque numeri").arg(i);
        QTest::newRow("tabs, semicolons, spaces") << QByteArray()
            << QByteArray("2024/01/04\tRN\t1\t2\t3\t4\t90\r\n\n2024/01/02;BA;5;6;7;8;9\n2024/01/04   BA  10 11 12 13 14")
            << ba + "2024/01/04\tBA\t10\t11\t12\t13\t14\n2024/01/04\tRN\t1\t2\t3\t4\t90\n"
            << "Importate 3 estrazioni, dal 02/01/2024 al 04/01/2024." << "04/01/2024";
        QTest::newRow("bad lines") << QByteArray() << ba + "\x01\xff\n2024/01/02\tCA\t1\t2\t3\t4\t91\n"
            "2023/02/29\tGE\t1\t2\t3\t4\t5\n04/01/2024\tCA\t1\t2\t3\t4\t5\n2999/01/01\tCA\t1\t2\t3\t4\t5\n" +
            QByteArray("2024/01/02\tGE\t1\t2\t3\n").repeated(1500) << ba << bad + "\n... e altre 1.485 righe"
            << "02/01/2024";
        const QByteArray first = "2024/02/01\tBA\t5\t6\t7\t8\t9\n"; // a month's first day is bold too
        QTest::newRow("one bad line") << QByteArray() << first + "2024/02/01\tCA\t1\t2\t3\t4\t91\n" << first
            << "Importata 1 estrazione, del 01/02/2024.\n\nAlcune righe del file non sono state lette:\n\n"
               "la riga 2 ha un numero fuori da 1..90" << "01/02/2024";
        QTest::newRow("not an archive") << ba << QByteArray("%PDF-1.4\n%\xe2\xe3\xcf\xd3\n1 0 obj\n") << ba
            << "Il file %1 non è un archivio delle estrazioni: nessuna delle sue 3 righe ha la data "
               "(aaaa/mm/gg), la sigla della ruota e cinque numeri da 1 a 90." << "02/01/2024";
        QTest::newRow("empty") << QByteArray() << QByteArray(" \r\n\n") << QByteArray()
            << "Il file %1 è vuoto: nessuna estrazione letta." << "";
        QTest::newRow("damaged stored line") << ba + "2024/01/03\tBA\t1\t2\n" << ca << ba + ca
            << "Importata 1 estrazione, del 04/01/2024.\n\nL'archivio salvato aveva una riga che non si "
               "legge più: il nuovo archivio non la riporta, la copia %2 la conserva." << "04/01/2024";
        QTest::newRow("stored too big") << QByteArray("<65 MB>") << ca << ca << "Importata 1 estrazione, del "
            "04/01/2024.\n\nL'archivio salvato non si poteva leggere (il file è più lungo del previsto): ora è in "
            "%2, e il nuovo archivio ha solo le estrazioni importate." << "04/01/2024";
        // clang-format on
    }
    void archiveImport() {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, file);
        QFETCH(QString, message);
        const QString path = data_.filePath("importa.txt");
        QVERIFY(WriteFileAtomically(path, file, nullptr));
        const QDir stored = QFileInfo(PercorsoArchivio()).dir();
        QVERIFY(stored.mkpath("."));
        if (before == "<65 MB>") // sparse
            QVERIFY(QFile(PercorsoArchivio()).open(QIODevice::WriteOnly) &&
                    QFile::resize(PercorsoArchivio(), 65 << 20));
        else if (!before.isEmpty())
            QVERIFY(WriteFileAtomically(PercorsoArchivio(), before, nullptr));
        const qint64 oldSize = QFileInfo(PercorsoArchivio()).size();
        testing::Script script;
        frmVerifica form(Sistema);
        form.Importa(path);
        const QStringList copies = stored.entryList({"estrazioni-*.txt"});
        QCOMPARE(copies.size(), int(message.contains("%2")));
        const QString copy = stored.filePath(copies.value(0));
        QCOMPARE(script.messages().constLast().text,
                 message.replace("%1", path).replace("%2", copy));
        if (!copies.isEmpty()) // the earlier archive, whole
            QCOMPARE(QFileInfo(copy).size(), oldSize);
        QTEST(ReadSmallFile(PercorsoArchivio(), 1 << 20, nullptr).value_or(""), "stored");
        const auto* date = form.findChild<QDateEdit*>("dtpData");
        QTEST(date->isEnabled() ? date->text() : QString(), "newest");
        const QTextCharFormat newest = date->calendarWidget()->dateTextFormat(date->date());
        QCOMPARE(newest.fontWeight() == QFont::Bold, date->isEnabled());    // a draw on that day
        QTest::keyClicks(form.findChild<QLineEdit*>("txtEstratto_0"), "7"); // a typed draw now
        QVERIFY(form.findChild<QRadioButton*>("optDigitati")->isChecked());
    }

    // Each bet's ambo and terno delays by the small archive's hand count
    // (tests/support/archiviopiccolo.h); "-": too small a bet. The grapes'
    // counts are checked through the command line (test_app).
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

    // The window on the same archive: Bari for a system on "Tutte", the table
    // in bunch order and sorted by a column, a later start, another wheel, the
    // self-check listed. The reader keeps each draw in the order drawn.
    void statisticsWindow() {
        const Archivio archivio = LeggiArchivio(testsupport::ArchivioPiccolo).archivio;
        QCOMPARE(ScriviArchivio(archivio), testsupport::ArchivioPiccolo);
        frmStatistiche form(testsupport::SistemaPiccolo(), archivio);
        auto* table = form.findChild<QTableWidget*>("tblNumeri");
        QCOMPARE(form.findChild<QComboBox*>("cmbRuota")->currentText(), "Bari");
        QCOMPARE(row(table, 0), "1|1|Cinquina 1|3|3|2|+1,7");
        QCOMPARE(row(table, 28), "29|29|Estratto|5|5|0|-0,3");
        QTest::mouseClick(table->horizontalHeader()->viewport(), Qt::LeftButton, {},
                          {table->horizontalHeader()->sectionViewportPosition(3) + 5, 5});
        QCOMPARE(row(table, 0), "25|25|Ambo 1|0|4|1|+0,7");
        form.findChild<QDateEdit*>("txtDal")->setDate({1939, 1, 14});
        QCOMPARE(form.findChild<QLabel*>("lblRiepilogo")->text(),
                 "Ruota di Bari: 4 estrazioni dal 14/01/1939 al 11/02/1939. Un numero esce in "
                 "media 0,2 volte (5 numeri su 90 a estrazione).");
        QCOMPARE(row(form.findChild<QTableWidget*>("tblScommesse"), 0), "Cinquina 1|1 2 3 4 5|4|4");
        QWidget bunch; // on request each grape tells its delay, until it changes
        auto* grape = new QLineEdit("1", &bunch);
        grape->setObjectName(NumberFieldName(Cinq1, 0));
        MostraRitardiAcini(&bunch, form.Mostrati());
        QCOMPARE(grape->accessibleDescription(),
                 "Numero 1 sulla ruota di Bari: ritardo 3, ritardo "
                 "massimo 3; uscito una volta in 4 estrazioni, dal 14/01/1939.");
        grape->setText("7");
        QCOMPARE(grape->toolTip(), "");
        auto* list = form.findChild<QListWidget*>("lstControllo");
        QCOMPARE(list->item(2)->text(), "21/01/1939: mancano le ruote di Bari, Firenze, Milano, "
                                        "Palermo, Roma, Torino e Venezia.");
    }

    // What the self-check finds: a wheel missing or there before its start,
    // a gap past two weeks after the war, an archive sorted after the draw.
    void selfCheck_data() {
        QTest::addColumn<QByteArray>("archive");
        QTest::addColumn<QString>("found");
        // clang-format off
        QTest::newRow("Cagliari and Genova start") << day("1939/07/01", "BA CA FI MI NA PA RM TO VE") +
            day("1939/07/08", cities8) << "01/07/1939: c'è la ruota di Cagliari, che si estrae solo dal "
            "08/07/1939.\n08/07/1939: mancano le ruote di Cagliari e Genova.";
        QTest::newRow("Nazionale starts") << day("2005/04/30", "BA CA FI GE MI NA PA RM TO VE RN") +
            day("2005/05/04", cities10) + day("2005/05/07", "BA CA FI GE MI NA PA RM TO VE RN")
            << "30/04/2005: c'è la ruota Nazionale, che si estrae solo dal 04/05/2005.\n"
               "04/05/2005: manca la ruota Nazionale.";
        QTest::newRow("gaps") << day("1944/01/01", cities10) + day("1944/06/03", cities10) +
            day("1950/01/07", cities10) + day("1950/01/21", cities10) + day("1950/02/11", cities10) +
            day("2010/01/05", cities10 + QByteArray(" RN")) + day("2010/01/14", cities10 + QByteArray(" RN"))
            << "11/02/1950: 20 giorni senza estrazioni dopo il 21/01/1950.\n05/01/2010: 21.877 giorni senza "
               "estrazioni dopo il 11/02/1950.\n"
               "14/01/2010: 8 giorni senza estrazioni dopo il 05/01/2010.";
        QTest::newRow("sorted") << day("1950/01/07", cities10, "\t1\t4\t7\t8\t9\n") +
            day("1950/01/14", cities10, "\t1\t4\t7\t8\t9\n") + day("1950/01/21", cities10)
            << "In 20 estrazioni su 30 i numeri sono in ordine crescente: l'archivio sembra "
               "riordinato, non nell'ordine di estrazione.";
        // clang-format on
    }
    void selfCheck() {
        QFETCH(QByteArray, archive);
        QStringList found;
        for (const Rilievo& r : ControllaArchivio(LeggiArchivio(archive).archivio).rilievi)
            found << r.testo;
        QTEST(found.join('\n'), "found");
    }

    // The block on the listing's page: every title, heading and amount where it
    // stands, in its font and colour.
    void printedBlock() {
        testsupport::LocaleScope it(testsupport::italian());
        testing::PrinterListScope printers({QStringLiteral("Golden")});
        Printer().SelectPrinter(QStringLiteral("Golden"));
        setStakes(Sistema, preset20);
        testing::RecorderScope rec;
        StampaProspetto(Printer(), Sistema, 12.5f, 40);
        Printer().EndDoc();
        testsupport::CheckGolden("tests/winnings/golden/prospetto.txt", rec.jobs());
    }
};

QTEST_MAIN(TestWinnings)
#include "test_winnings.moc"
