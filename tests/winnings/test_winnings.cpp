// What every bet wins, checked to the last bit of each float (QCOMPARE on
// floats is fuzzy and would let a missed rounding step through), and the
// prospect window as the player sees it.
#include "app/corpo.h"
#include "app/messages.h"
#include "app/shell.h"
#include "app/printers.h"
#include "app/settings.h"
#include "printing/printerpage.h"
#include "tests/support/testsupport.h"
#include "winnings/frmVincite.h"
#include "winnings/prospetto.h"
#include "outputs/frmVerifica.h"
#include "ui_frmVerifica.h"

#include <QAccessible>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <bit>
#include <functional>
#include <limits>

using namespace corpo;

namespace {

float f(uint32_t b) {
    return std::bit_cast<float>(b);
}

// The 21 values of a system (stakes, winnings or their texts) whose two bets
// of each kind are alike.
template <typename T>
std::array<T, 21> twice(std::array<T, 4> c, std::array<T, 3> q, std::array<T, 2> t, T ambo,
                        T estratto) {
    return {c[0], c[1], c[2], c[3], c[0], c[1], c[2], c[3], q[0], q[1],    q[2],
            q[0], q[1], q[2], t[0], t[1], t[0], t[1], ambo, ambo, estratto};
}

// Only the given places set, the rest as in base.
Importi21 at(std::initializer_list<std::pair<int, float>> places, Importi21 base = {}) {
    for (const auto& [place, value] : places)
        base[place] = value;
    return base;
}

// The stakes of the "10 €uro" and "20 €uro" buttons.
const Importi21 preset10 =
    twice<float>({1.00f, 0.30f, 0.15f, 0.05f}, {0.60f, 0.30f, 0.10f}, {0.75f, 0.25f}, 1.00f, 1.00f);
const Importi21 preset20 =
    twice<float>({1.85f, 0.85f, 0.25f, 0.05f}, {1.50f, 0.70f, 0.30f}, {1.00f, 0.50f}, 1.50f, 3.00f);

// The record's stake fields, bet by bet.
void setStakes(const Importi21& v) {
    for (const Scommessa& b : Scommesse)
        std::copy_n(v.begin() + FirstStake(b.group), b.stakeCount, b.Stakes(Sistema).begin());
}

// The amounts as the player reads them: bet by bet (row by row), left to right.
QList<QLabel*> amountLabels(const QWidget& form) {
    QList<QLabel*> all = form.findChildren<QLabel*>(QRegularExpression("^lblVin"));
    std::sort(all.begin(), all.end(), [](const QLabel* a, const QLabel* b) {
        return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
    });
    return all;
}

QString text(const QWidget* form, const QString& name) {
    if (auto* l = form->findChild<QLabel*>(name)) return l->text();
    if (auto* e = form->findChild<QLineEdit*>(name)) return e->text();
    return QStringLiteral("<no control %1>").arg(name);
}

enum class Outcome { NeverOpened, OpenedButEscFailed, ClosedByEsc };

// Opens the prospect as "Quanto vinco?" does and, once it is up, runs `inside`
// on it and presses Esc.
Outcome openAndEsc(QWidget* main, const std::function<void(QWidget*)>& inside = {}) {
    Outcome outcome = Outcome::NeverOpened;
    QTimer inLoop; // fires inside the prospect's own event loop
    inLoop.setSingleShot(true);
    QObject::connect(&inLoop, &QTimer::timeout, [&] {
        auto* form = qobject_cast<frmVincite*>(QApplication::activeModalWidget());
        if (!form) return;
        if (inside) inside(form);
        QTest::keyClick(form, Qt::Key_Escape);
        outcome = form->isVisible() ? Outcome::OpenedButEscFailed : Outcome::ClosedByEsc;
        form->close(); // never leave a test hanging in exec()
    });
    inLoop.start(0);
    MostraVincite(main);
    return outcome;
}

// A system of the numbers 1..29 in group order, played for 10 euro; a head
// number takes the first place of every bet, as the main window puts it.
SystemRecord numbered(const QString& ruota, uint8_t head = 0) {
    SystemRecord s{};
    uint8_t n = 1;
    for (const Scommessa& b : Scommesse)
        for (int i = 0; i < b.size; ++i) b.Numbers(s)[size_t(i)] = i == 0 && head ? head : n++;
    s.Capogioco = head;
    s.Ruota = ruota;
    Sistema = s;
    setStakes(preset10);
    return Sistema;
}

using Texts21 = std::array<QString, 21>;
using Won = std::optional<Importi21>;

} // namespace

Q_DECLARE_METATYPE(Importi21)
Q_DECLARE_METATYPE(Texts21)
Q_DECLARE_METATYPE(Won)

class TestWinnings : public QObject {
    Q_OBJECT
    QTemporaryDir data_; // the user's data folder, where imports go

  private Q_SLOTS:
    void initTestCase() {
        InstallFontSubstitutions();
        qputenv("XDG_DATA_HOME", data_.path().toLocal8Bit());
    }
    void init() {
        Sistema = SystemRecord{};
        QFile::remove(PercorsoArchivio());
    }

    // A draw against the 10 euro system of the numbers 1..29: the hits of
    // each bet on the first wheel drawn and the total the player reads.
    void drawCheck_data() {
        QTest::addColumn<QString>("ruota");
        QTest::addColumn<int>("head");
        QTest::addColumn<QList<int>>("drawn");
        QTest::addColumn<QList<int>>("hits");
        QTest::addColumn<QString>("total");
        QTest::newRow("nothing") << "Bari" << 0 << QList<int>{40, 41, 42, 43, 44}
                                 << QList<int>(9, 0) << "€ 0,00";
        // A terno of the Cinquina 210, the estratto 11,232.
        QTest::newRow("terno and estratto") << "Roma" << 0 << QList<int>{1, 2, 3, 29, 50}
                                            << QList<int>{3, 0, 0, 0, 0, 0, 0, 0, 1} << "€ 221,23";
        // One number of a Cinquina or an Ambo is below its ambo: nothing.
        QTest::newRow("fewer hits than played") << "Nazionale" << 0 << QList<int>{1, 25, 29, 11, 12}
                                                << QList<int>{1, 0, 2, 0, 0, 0, 1, 0, 1} << "€ 36,23";
        // 90 heads every bet: an ambo on Cinquina 1 (25) and the estratto.
        QTest::newRow("head number") << "Bari" << 90 << QList<int>{90, 2, 50, 51, 52}
                                     << QList<int>{2, 1, 1, 1, 1, 1, 1, 1, 1} << "€ 36,23";
        // A cinquina on one of the ten wheels: 319.600 shared by ten.
        QTest::newRow("Tutte") << "Tutte" << 0 << QList<int>{5, 4, 3, 2, 1}
                               << QList<int>{5, 0, 0, 0, 0, 0, 0, 0, 0} << "€ 31.960,00";
    }
    void drawCheck() {
        QFETCH(QString, ruota);
        QFETCH(int, head);
        QFETCH(QList<int>, drawn);
        QFETCH(QList<int>, hits);
        QFETCH(QString, total);
        const SystemRecord s = numbered(ruota, uint8_t(head));
        Estratti e;
        std::copy(drawn.begin(), drawn.end(), e.begin());
        const QList<int> wheels = RuoteDaVerificare(ruota);
        QCOMPARE(wheels.size(), ruota == "Tutte" ? 10 : 1);
        // The other nine wheels of Tutte drew none of the system's numbers.
        QList<std::pair<int, Estratti>> draws{{wheels.first(), e}};
        for (int w : wheels.mid(1)) draws.append({w, Estratti{81, 82, 83, 84, 85}});
        const auto got = VerificaEstrazione(s, draws, DivisoreVincite(ruota));
        QVERIFY(got);
        QList<int> gotHits;
        for (int b = 0; b < 9; ++b) gotHits << got->scommesse[b].punti;
        QCOMPARE(gotHits, hits);
        QCOMPARE(got->scommesse.first().estratti[0], head != 0 || drawn.contains(1));
        QCOMPARE(FormatoVincita(float(got->totale), testsupport::italian()), total);
    }

    // A typed draw in the window: refused with the focus on the field at
    // fault, or checked, shown and printed as one page on the listing's printer.
    void typedDraw_data() {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("repeated") << QStringList{"1", "2", "3", "2", "5"}
                                  << "Il numero 2 è ripetuto: i cinque numeri estratti sono tutti diversi."
                                  << "txtEstratto_3";
        QTest::newRow("91") << QStringList{"1", "91", "3", "4", "5"}
                            << "Il numero 91 non è valido: i numeri vanno da 1 a 90." << "txtEstratto_1";
        QTest::newRow("four numbers")
            << QStringList{"1", "2", "3", "", "5"}
            << "Mancano dei numeri: scrivi tutti e cinque i numeri estratti sulla ruota."
            << "txtEstratto_3";
        QTest::newRow("good") << QStringList{"1", "2", "3", "29", "50"} << QString() << QString();
    }
    void typedDraw() {
        QFETCH(QStringList, fields);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        testsupport::LocaleScope it(testsupport::italian());
        testsupport::AppFolder app;
        app.write("impostazioni.cfg", SettingsBytes("Ricevitoria", "PDF"));
        testing::PrinterListScope printers({"Altra", "PDF"});
        testing::RecorderScope rec;
        testing::Script script;
        numbered("Roma");
        frmVerifica form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        for (int i = 0; i < 5; ++i)
            form.findChild<QLineEdit*>(QStringLiteral("txtEstratto_%1").arg(i))->setText(fields[i]);
        QTest::mouseClick(form.ui->cmdVerifica, Qt::LeftButton);
        if (!message.isEmpty()) {
            QCOMPARE(script.messages().size(), 1);
            QCOMPARE(script.messages().first().text, message);
            QCOMPARE(script.messages().first().focusAtShow, focus);
            QVERIFY(!form.ui->cmdStampa->isEnabled());
            return;
        }
        QVERIFY(script.messages().isEmpty());
        QCOMPARE(form.ui->lblTotale->text(), QStringLiteral("Vincita totale: € 221,23"));
        QCOMPARE(form.ui->tblEsito->item(0, 4)->text(), QStringLiteral("3")); // drawn, marked
        QVERIFY(form.ui->tblEsito->item(0, 4)->font().bold());
        QVERIFY(!form.ui->tblEsito->item(0, 5)->font().bold());
        QCOMPARE(form.ui->tblEsito->item(0, 8)->text(), QStringLiteral("€ 210,00"));
        QTest::mouseClick(form.ui->cmdStampa, Qt::LeftButton);
        QCOMPARE(rec.jobs().size(), 1);
        QCOMPARE(rec.last().printer, QStringLiteral("PDF"));
        QCOMPARE(rec.last().pages, 1);
    }

    // What an import keeps on disk and what the player is told.
    void archiveImport_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("dates"); // offered for the check
        QTest::newRow("tabs, semicolons, spaces")
            << QByteArray("2024/01/04\tRN\t1\t2\t3\t4\t90\r\n2024/01/02;BA;5;6;7;8;9\n"
                          "2024/01/04   BA  10 11 12 13 14")
            << QByteArray("2024/01/02\tBA\t5\t6\t7\t8\t9\n2024/01/04\tBA\t10\t11\t12\t13\t14\n"
                          "2024/01/04\tRN\t1\t2\t3\t4\t90\n")
            << QString() << 2;
        QTest::newRow("bad lines")
            << QByteArray("2024/01/02\tBA\t5\t6\t7\t8\t9\n\n\x01\xff\xfe\x02\n2024/01/02\tCA\t1\t2\t3\t4\t91\n"
                          "2024/01/02\tFI\t1\t2\t3\t4\t1\n2024/01/02\tXX\t1\t2\t3\t4\t5\n"
                          "2023/02/29\tGE\t1\t2\t3\t4\t5\n2024/01/02\tGE\t1\t2\t3\n")
            << QByteArray("2024/01/02\tBA\t5\t6\t7\t8\t9\n")
            << "Alcune righe dell'archivio non sono state lette:\n\nla riga 2 è vuota\n"
               "la riga 3 contiene caratteri che non sono testo\nla riga 4 ha un numero fuori da "
               "1..90\nla riga 5 ha un numero ripetuto\nla riga 6 ha una ruota sconosciuta\n"
               "la riga 7 ha una data impossibile\nla riga 8 non ha data, ruota e cinque numeri\n\n"
               "Righe lette: 1." << 1;
        QTest::newRow("empty") << QByteArray() << QByteArray() << "Il file %1 è vuoto: nessuna estrazione letta." << 0;
    }
    void archiveImport() {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, stored);
        QFETCH(QString, message);
        QFETCH(int, dates);
        QTemporaryDir dir;
        const QString path = dir.filePath("estrazioni.txt");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(file) == file.size());
        f.close();
        testing::Script script;
        frmVerifica form;
        form.Importa(path);
        const QList<Shown> shown = script.messages();
        QCOMPARE(shown.isEmpty() ? QString() : shown.first().text, message.arg(path));
        QFile kept(PercorsoArchivio());
        QCOMPARE(kept.open(QIODevice::ReadOnly) ? kept.readAll() : QByteArray(), stored);
        QCOMPARE(form.ui->cmbData->count(), dates);
    }

    // Stakes → winnings, or nothing when an amount is not a finite float.
    void winnings_data() {
        QTest::addColumn<Importi21>("stakes");
        QTest::addColumn<Won>("want");
        QTest::newRow("no stakes") << Importi21{} << Won(Importi21{});
        // Summing members instead of units would make the Cinquina 4590, 325300.
        QTest::newRow("10 euro") << preset10
                                 << Won(twice<float>({25, 210, 4290, 319600},
                                                     {f(0x41C7FF2F), f(0x43CE3FD9), f(0x4652EFFE)},
                                                     {f(0x4279FFBE), f(0x44A40FFA)}, 250,
                                                     f(0x4133B646)));
        // Without rounding each unit the Quaterna would be 0x471A64FF.
        QTest::newRow("20 euro") << preset20
                                 << Won(twice<float>({46.25f, 521.25f, 7807.5f, 334287.5f},
                                                     {f(0x4279FEFA), f(0x4473BFCF), f(0x471A64FE)},
                                                     {f(0x42A6AA7F), f(0x451C3FFC)}, 375,
                                                     f(0x4206C8B4)));
        // A member not played is 0: adding the ambi would give 75, 150, 250.
        QTest::newRow("Cinquina 1, 0, 0, 0") << at({{0, 1}}) << Won(at({{0, 25}}));
        // 0.15f is a little above 0.15: decimal arithmetic gives 900000.
        QTest::newRow("Cinquina 0, 0, 0, 0,15") << at({{3, 0.15f}}) << Won(at({{3, 900000.0625f}}));
        // 41.666 is a decimal constant: 250/6 would give 0x41C80001.
        QTest::newRow("Quaterna 0,60, 0, 0")
            << at({{FirstStake(Quad1), 0.60f}}) << Won(at({{FirstStake(Quad1), f(0x41C7FF2F)}}));
        // Products and sums in double: float-only gives 0x422D5528, 0x4410FFF8.
        QTest::newRow("Terno 0,52, 0,10")
            << at({{FirstStake(Terz1), 0.52f}, {FirstStake(Terz1) + 1, 0.10f}})
            << Won(at({{FirstStake(Terz1), f(0x422D5527)},
                       {FirstStake(Terz1) + 1, f(0x4410FFF7)}}));
        QTest::newRow("1e33 on a Cinquina's ambo")
            << at({{0, 1e33f}}) << Won(at({{0, f(0x789A130C)}}));
        QTest::newRow("1e33 on a Cinquina's cinquina") << at({{3, 1e33f}}) << Won();
        // Each unit fits a float; five quaterne added into the cinquina do not.
        QTest::newRow("overflowing sum") << at({{2, 1e34f}, {3, 1}}) << Won();
        for (int i = 0; i < 21; ++i) {
            QTest::addRow("infinity at %d", i)
                << at({{i, std::numeric_limits<float>::infinity()}}, preset10) << Won();
            QTest::addRow("NaN at %d", i)
                << at({{i, std::numeric_limits<float>::quiet_NaN()}}, preset10) << Won();
        }
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

    // Caption, where the boxes and amounts stand, the headings.
    void layout() {
        frmVincite form;
        QCOMPARE(form.windowTitle(), QStringLiteral("Prospetto Vincite"));
        QCOMPARE(text(&form, "Label1"), QStringLiteral("Prospetto Vincite"));
        QVERIFY(form.width() >= 641 && form.height() >= 417);
        const std::pair<const char*, QRect> places[] = {{"txtEstratto", {144, 384, 25, 24}},
                                                        {"lblVinCinq1_3", {536, 72, 105, 17}}};
        for (const auto& [name, rect] : places)
            QCOMPARE(form.findChild<QWidget*>(name)->geometry(), rect);
        const QStringList kinds{"Ambo", "Terno", "Quaterna", "Cinquina"};
        int heading = 0;
        for (int size : {4, 4, 3, 3, 2, 2, 1, 1})
            for (int k = 0; k < size; ++k)
                QCOMPARE(text(&form, QStringLiteral("lblGiocate_%1").arg(heading++)), kinds[k]);
        QCOMPARE(text(&form, "lblGiocate_20"), QStringLiteral("Estratto"));
    }

    // From the record's stakes: no message, the boxes blank, each bet's
    // amounts beside it in the user's locale, none cut.
    void amounts_data() {
        QTest::addColumn<Importi21>("stakes");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<Texts21>("want");
        const QLocale it = testsupport::italian();
        Texts21 zero;
        zero.fill(QStringLiteral("€ 0,00"));
        QTest::newRow("fresh start") << Importi21{} << it << zero;
        QTest::newRow("10 €uro, it")
            << preset10 << it
            << twice<QString>({"€ 25,00", "€ 210,00", "€ 4.290,00", "€ 319.600,00"},
                              {"€ 25,00", "€ 412,50", "€ 13.500,00"}, {"€ 62,50", "€ 1.312,50"},
                              "€ 250,00", "€ 11,23");
        QTest::newRow("10 €uro, en")
            << preset10 << testsupport::english()
            << twice<QString>({"€ 25.00", "€ 210.00", "€ 4,290.00", "€ 319,600.00"},
                              {"€ 25.00", "€ 412.50", "€ 13,500.00"}, {"€ 62.50", "€ 1,312.50"},
                              "€ 250.00", "€ 11.23");
        // The widest texts fit at the chosen font.
        Importi21 most;
        most.fill(99.99f);
        Texts21 widest; // the rest unchecked
        widest[FirstStake(Cinq1) + 3] = QStringLiteral("€ 612.413.696,00");
        widest[FirstStake(Quad1) + 2] = QStringLiteral("€ 12.473.752,00");
        QTest::newRow("every stake 99,99") << most << it << widest;
    }
    void amounts() {
        QFETCH(Importi21, stakes);
        QFETCH(QLocale, locale);
        QFETCH(Texts21, want);
        testsupport::LocaleScope scope(locale);
        testing::Script script;
        setStakes(stakes);
        frmVincite form;
        QVERIFY(form.Form_Load());
        QVERIFY(script.shown.isEmpty());
        QCOMPARE(form.findChildren<QLineEdit*>().size(), 29);
        for (const QLineEdit* box : form.findChildren<QLineEdit*>())
            QCOMPARE(box->text(), QString());
        const QList<QLabel*> labels = amountLabels(form);
        QCOMPARE(labels.size(), 21);
        for (int i = 0; i < 21; ++i) {
            if (!want[i].isEmpty()) QCOMPARE(labels[i]->text(), want[i]);
            // Whole, at Calibri's size (Carlito stands in for it).
            const QLabel* l = labels[i];
            QVERIFY(QStringList({"Carlito", "Calibri"}).contains(QFontInfo(l->font()).family()));
            const int need = l->fontMetrics().horizontalAdvance(l->text());
            QVERIFY2(need <= l->contentsRect().width() - l->indent(), qPrintable(l->objectName()));
        }
        // A screen reader says each amount with its bet and kind.
        const auto spoken = [&](int i) {
            return QAccessible::queryAccessibleInterface(labels[i])->text(QAccessible::Name);
        };
        QCOMPARE(spoken(0), "Cinquina 1, ambo: " + labels[0]->text());
        QCOMPARE(spoken(FirstStake(Quad2) + 2), "Quaterna 2, quaterna: " + labels[FirstStake(Quad2) + 2]->text());
        QCOMPARE(spoken(FirstStake(Estratto)), "Estratto, estratto: " + labels[FirstStake(Estratto)]->text());
    }

    // A head number is a plain number in the first box of every row, on the
    // same yellow; it changes no amount. Amounts are navy on white, right-aligned,
    // whatever the theme's colours.
    void numbersAndColours_data() {
        QTest::addColumn<bool>("dark");
        QTest::newRow("light theme") << false;
        QTest::newRow("dark theme") << true;
    }
    void numbersAndColours() {
        QFETCH(bool, dark);
        testsupport::LocaleScope it(testsupport::italian());
        const QPalette theme = QApplication::palette();
        const auto restore = qScopeGuard([&] { QApplication::setPalette(theme); });
        if (dark) {
            QPalette p(QColor(50, 50, 50));
            p.setColor(QPalette::Base, QColor(30, 30, 30));
            p.setColor(QPalette::Text, Qt::white);
            QApplication::setPalette(p);
        }
        setStakes(at({{FirstStake(Cinq2) + 3, 0}}, preset20));
        SystemRecord& s = Sistema;
        s.Cinq1 = s.Cinq2 = {7, 2, 3, 0, 5};
        s.Quad1 = s.Quad2 = {7, 11, 12, 13};
        s.Terz1 = s.Terz2 = {7, 19, 20};
        s.Ambo1 = s.Ambo2 = {7, 90};
        s.Estratto = s.Capogioco = 7;
        frmVincite form;
        QVERIFY(form.Form_Load());
        QCOMPARE(text(&form, "txtCinq2_3"), QString());
        QCOMPARE(text(&form, "txtAmbo2_1"), QStringLiteral("90"));
        QCOMPARE(text(&form, "lblVinCinq1_3"), QStringLiteral("€ 334.287,50"));
        QCOMPARE(text(&form, "lblVinCinq2_3"), QStringLiteral("€ 0,00"));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QImage shot = form.grab().toImage();
        auto pixel = [&](const QWidget* w, int x, int y) {
            return shot.pixelColor(w->mapTo(&form, QPoint(x, y)));
        };
        const QList<QLineEdit*> firsts =
            form.findChildren<QLineEdit*>(QRegularExpression("_0$|o$"));
        QCOMPARE(firsts.size(), 9);
        for (const QLineEdit* box : firsts) {
            QCOMPARE(box->text(), QStringLiteral("7"));
            QCOMPARE(pixel(box, 1, box->height() - 2), QColor(0xFF, 0xFF, 0x80));
            int ink = 0; // the digit stands out dark on the yellow
            for (int x = 0; x < box->width(); ++x)
                for (int y = 0; y < box->height(); ++y)
                    ink += pixel(box, x, y).lightness() < 96;
            QVERIFY2(ink > 5, qPrintable(box->objectName()));
        }
        // Antialiased navy lies between white and navy: red equals green, blue high.
        auto* label = form.findChild<QLabel*>("lblVinCinq1_3");
        QCOMPARE(pixel(label, 2, label->height() / 2), QColor(Qt::white));
        int navy = 0, other = 0;
        for (int x = label->width() - 30; x < label->width(); ++x)
            for (int y = 0; y < label->height(); ++y)
                if (const QColor c = pixel(label, x, y); c != QColor(Qt::white))
                    ++(c.blue() >= 0x80 && std::abs(c.red() - c.green()) < 16 ? navy : other);
        QVERIFY(navy > 20 && other == 0);
    }

    // Modal over the main window; Esc closes it with the focus back on the
    // button; every opening recomputes.
    void modalOverTheMainWindow() {
        testsupport::LocaleScope it(testsupport::italian());
        testing::Script script;
        QWidget main;
        auto* button = new QPushButton(QStringLiteral("Quanto vinco?"), &main);
        main.show();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        button->setFocus();
        setStakes(preset10);
        QWidget* parent = nullptr;
        QString cinquina;
        const auto look = [&](QWidget* w) {
            parent = w->isModal() ? w->parentWidget() : nullptr;
            cinquina = text(w, "lblVinCinq1_3");
        };
        QCOMPARE(openAndEsc(&main, look), Outcome::ClosedByEsc);
        QCOMPARE(parent, &main);
        QCOMPARE(cinquina, QStringLiteral("€ 319.600,00"));
        QVERIFY(script.shown.isEmpty());
        QVERIFY(QTest::qWaitForWindowActive(&main));
        QCOMPARE(QApplication::focusWidget(), button);
        setStakes(preset20);
        QCOMPARE(openAndEsc(&main, look), Outcome::ClosedByEsc);
        QCOMPARE(cinquina, QStringLiteral("€ 334.287,50"));
    }

    // An amount that overflows: the standard report, no window, stakes kept.
    void overflowOnOpening() {
        testing::Script script;
        setStakes(at({{3, 1e33f}}, preset10));
        const SystemRecord before = Sistema;
        QCOMPARE(openAndEsc(nullptr), Outcome::NeverOpened);
        QCOMPARE(script.messages().size(), 1);
        const Shown m = script.messages().first();
        QCOMPARE(m.text,
                 QStringLiteral("Error 6 (Overflow) in procedure Form_Load of Form frmVincite"));
        QCOMPARE(m.title, QStringLiteral("Bramasolovanti"));
        QCOMPARE(m.buttons, MsgButtons::Ok);
        using Bits4 = std::array<uint32_t, 4>;
        QVERIFY(std::bit_cast<Bits4>(Sistema.ImpCinq1) == std::bit_cast<Bits4>(before.ImpCinq1));
        // The program goes on: the next opening works once the stake is sane.
        setStakes(preset10);
        QCOMPARE(openAndEsc(nullptr), Outcome::ClosedByEsc);
    }
};

QTEST_MAIN(TestWinnings)
#include "test_winnings.moc"
