// What every bet wins, to the last bit (QCOMPARE on floats is fuzzy and would
// let a missed rounding step through), the prospect window, and draws checked
// against the system. (The printed block is in the listing's snapshots.)
#include "app/fileio.h"
#include "app/messages.h"
#include "app/printers.h"
#include "app/settings.h"
#include "app/shell.h"
#include "outputs/frmVerifica.h"
#include "printing/printerpage.h"
#include "tests/support/testsupport.h"
#include "winnings/frmVincite.h"
#include "winnings/prospetto.h"
#include "winnings/verifica.h"

#include <QtTest>
#include <QtWidgets>
#include <bit>

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

void setStakes(const Importi21& v) {
    for (const Scommessa& b : Scommesse)
        std::copy_n(v.begin() + FirstStake(b.group), b.stakeCount, b.Stakes(Sistema).begin());
}

// The numbers 1..29 in bet order for 10 euro; a head number opens every bet.
void numbered(const QString& ruota, int head = 0) {
    uint8_t n = 1;
    for (const Scommessa& b : Scommesse)
        for (int i = 0; i < b.size; ++i)
            b.Numbers(Sistema)[size_t(i)] = i == 0 && head ? uint8_t(head) : n++;
    Sistema.Capogioco = uint8_t(head);
    Sistema.Ruota = ruota;
    setStakes(preset10);
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

} // namespace

Q_DECLARE_METATYPE(Importi21)
Q_DECLARE_METATYPE(Won)

class TestWinnings : public QObject {
    Q_OBJECT
    QTemporaryDir data_; // the user's data folder, where imports go
    std::optional<testsupport::GlobalsScope> globals_;

private Q_SLOTS:
    void initTestCase() {
        InstallFontSubstitutions();
        QLocale::setDefault(testsupport::italian());
        qputenv("XDG_DATA_HOME", data_.path().toLocal8Bit());
    }
    void init() {
        globals_.emplace();
        QFileInfo(PercorsoArchivio()).dir().removeRecursively();
    }
    void cleanup() { globals_.reset(); }

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
        const int t = FirstStake(Terz1), q = FirstStake(Quad1);
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

    // The prospect under a dark theme, against its picture: each amount beside
    // its bet, navy on white; the head number dark on the yellow of every first
    // box; the window's own background behind the artwork. Each amount said
    // with its bet and kind. An amount that overflows: the standard report.
    void window() {
        testing::Script script;
        const QPalette theme = QApplication::palette();
        const auto restore = qScopeGuard([&] { QApplication::setPalette(theme); });
        QApplication::setPalette(dark());
        numbered("Roma", 7);
        frmVincite form;
        QVERIFY(form.Form_Load());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        testsupport::CheckGoldenImage("tests/winnings/golden/frmVincite.png",
                                      form.grab().toImage());
        QCOMPARE(form.findChild<QLabel*>("lblVinCinq1_0")->accessibleName(),
                 "Cinquina 1, ambo: € 25,00");
        setStakes(at({{3, 1e33f}}, preset10));
        QVERIFY(!form.Form_Load());
        QCOMPARE(first(script).text,
                 "Errore 6 (valore fuori dai limiti) nella procedura Form_Load (Form frmVincite)");
    }

    // A draw typed against the 10 euro system of 1..29: refused with the focus
    // on the field at fault, or each bet's hits, the head number marked drawn,
    // and the total, printed on the listing's printer.
    void typedDraw_data() {
        QTest::addColumn<QString>("ruota");
        QTest::addColumn<int>("head");
        QTest::addColumn<QString>("drawn");
        QTest::addColumn<QString>("hits");  // or the field with the focus
        QTest::addColumn<QString>("shown"); // the total or the message
        const auto row = [](const char* name, const char* ruota, int head, const char* drawn,
                            const char* hits, const char* shown) {
            QTest::newRow(name) << QString(ruota) << head << QString(drawn) << QString(hits)
                                << QString(shown);
        };
        row("repeated", "Roma", 0, "1 2 3 2 5", "txtEstratto_3",
            "Il numero 2 è ripetuto: i cinque numeri estratti sono tutti diversi.");
        // A terno of the Cinquina 210, the estratto 11,232.
        row("terno", "Roma", 0, "1 2 3 29 50", "3 0 0 0 0 0 0 0 1", "€ 221,23");
        // One number of a Cinquina or an Ambo is below its ambo: nothing.
        row("fewer hits than played", "Nazionale", 0, "1 25 29 11 12", "1 0 2 0 0 0 1 0 1",
            "€ 36,23");
        // 90 heads every bet: an ambo on Cinquina 1 (25) and the estratto.
        row("head number", "Bari", 90, "90 2 50 51 52", "2 1 1 1 1 1 1 1 1", "€ 36,23");
        // A cinquina on the wheel typed (Bari), 319.600 shared by ten.
        row("Tutte", "Tutte", 0, "5 4 3 2 1", "5 0 0 0 0 0 0 0 0", "€ 31.960,00");
    }
    void typedDraw() {
        QFETCH(QString, ruota);
        QFETCH(int, head);
        QFETCH(QString, drawn);
        QFETCH(QString, hits);
        QFETCH(QString, shown);
        const bool refused = hits.startsWith("txt");
        testsupport::AppFolder app;
        app.write("impostazioni.cfg", SettingsBytes("Ricevitoria", "PDF"));
        testing::PrinterListScope printers({"Altra", "PDF"});
        testing::RecorderScope rec;
        testing::Script script;
        numbered(ruota, head);
        frmVerifica form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        for (int i = 0; i < 5; ++i)
            form.findChild<QLineEdit*>(QStringLiteral("txtEstratto_%1").arg(i))
                ->setText(drawn.split(' ')[i]);
        // The wheel of the typed numbers is asked for on "Tutte" only.
        QCOMPARE(form.findChild<QComboBox*>("cmbRuotaDigitata")->isVisible(), ruota == "Tutte");
        QTest::mouseClick(form.findChild<QPushButton*>("cmdVerifica"), Qt::LeftButton);
        QCOMPARE(first(script).text, refused ? shown : QString());
        QCOMPARE(first(script).focusAtShow, refused ? hits : QString());
        auto* table = form.findChild<QTableWidget*>("tblEsito");
        QStringList got;
        for (int r = 0; r < table->rowCount(); ++r)
            got << table->item(r, 7)->text();
        QCOMPARE(got.join(' '), refused ? QString() : hits);
        QTest::mouseClick(form.findChild<QPushButton*>("cmdStampa"), Qt::LeftButton);
        QCOMPARE(rec.jobs().size(), refused ? 0 : 1);
        if (refused)
            return;
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
        QCOMPARE(form.findChild<QLabel*>("lblTotale")->text(), "Vincita totale: " + shown);
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
        frmVerifica form;
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
        QCOMPARE(newest.fontWeight() == QFont::Bold, date->isEnabled()); // a draw on that day
        date->calendarWidget()->showPreviousMonth(); // only that month's own days are bold
        QVERIFY(date->calendarWidget()->dateTextFormat(date->date()).fontWeight() != QFont::Bold);
        Sistema.Ruota = "Bari"; // checked on a day without its draw: the one before is named
        form.Verifica();
        QCOMPARE(script.messages().constLast().text.endsWith(" precedente è del 02/01/2024."),
                 QTest::currentDataTag() == QByteArray("damaged stored line"));
        QTest::keyClicks(form.findChild<QLineEdit*>("txtEstratto_0"), "7"); // a typed draw now
        QVERIFY(form.findChild<QRadioButton*>("optDigitati")->isChecked());
    }
};

QTEST_MAIN(TestWinnings)
#include "test_winnings.moc"
