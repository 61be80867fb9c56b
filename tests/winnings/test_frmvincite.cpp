// The prospect window as the player sees it: the bunch, the headings and the
// amounts, where they stand, how it opens over the main window and how it
// refuses to open when an amount overflows.
#include "app/corpo.h"
#include "app/messages.h"
#include "app/shell.h"
#include "tests/support/testsupport.h"
#include "winnings/frmVincite.h"

#include <QtTest>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>

using namespace corpo;

namespace {

// Every number box in the order of the bets.
QStringList boxNames() {
    QStringList names;
    const std::pair<const char*, int> groups[] = {{"Cinq1", 5}, {"Cinq2", 5}, {"Quad1", 4}, {"Quad2", 4},
                                                  {"Terz1", 3}, {"Terz2", 3}, {"Ambo1", 2}, {"Ambo2", 2}};
    for (auto [g, n] : groups)
        for (int i = 0; i < n; ++i)
            names << QStringLiteral("txt%1_%2").arg(QLatin1String(g)).arg(i);
    names << QStringLiteral("txtEstratto");
    return names;
}

// Every amount label in the order of the bets.
QStringList amountNames() {
    QStringList names;
    const std::pair<const char*, int> groups[] = {{"Cinq1", 4}, {"Cinq2", 4}, {"Quat1", 3},
                                                  {"Quat2", 3}, {"Terz1", 2}, {"Terz2", 2}};
    for (auto [g, n] : groups)
        for (int k = 0; k < n; ++k)
            names << QStringLiteral("lblVin%1_%2").arg(QLatin1String(g)).arg(k);
    names << QStringLiteral("lblVinAmbo1") << QStringLiteral("lblVinAmbo2") << QStringLiteral("lblVinEstratto");
    return names;
}

void setPreset10(SystemRecord& s) {
    s.ImpCinq1 = s.ImpCinq2 = {1.00f, 0.30f, 0.15f, 0.05f};
    s.ImpQuad1 = s.ImpQuad2 = {0.60f, 0.30f, 0.10f};
    s.ImpTerz1 = s.ImpTerz2 = {0.75f, 0.25f};
    s.ImpAmbo1 = s.ImpAmbo2 = s.ImpEstratto = 1.00f;
}

void setPreset20(SystemRecord& s) {
    s.ImpCinq1 = s.ImpCinq2 = {1.85f, 0.85f, 0.25f, 0.05f};
    s.ImpQuad1 = s.ImpQuad2 = {1.50f, 0.70f, 0.30f};
    s.ImpTerz1 = s.ImpTerz2 = {1.00f, 0.50f};
    s.ImpAmbo1 = s.ImpAmbo2 = 1.50f;
    s.ImpEstratto = 3.00f;
}

// A full bunch of 29 distinct numbers.
void setNumbers(SystemRecord& s) {
    s.Cinq1 = {1, 2, 3, 4, 5};
    s.Cinq2 = {6, 7, 8, 9, 10};
    s.Quad1 = {11, 12, 13, 14};
    s.Quad2 = {15, 16, 17, 18};
    s.Terz1 = {19, 20, 21};
    s.Terz2 = {22, 23, 24};
    s.Ambo1 = {25, 26};
    s.Ambo2 = {27, 28};
    s.Estratto = 90;
}

QString text(const QWidget* form, const QString& name) {
    if (auto* l = form->findChild<QLabel*>(name))
        return l->text();
    if (auto* e = form->findChild<QLineEdit*>(name))
        return e->text();
    return QStringLiteral("<no control %1>").arg(name);
}

std::unique_ptr<frmVincite> loaded(bool* ok = nullptr) {
    auto form = std::make_unique<frmVincite>();
    const bool loadedOk = form->Form_Load();
    if (ok)
        *ok = loadedOk;
    return form;
}

// A stand-in for the main window: a button that opens the prospect the way
// "Quanto vinco?" does, and a second field that holds the focus elsewhere.
struct MainWindow {
    QWidget window;
    QLineEdit* other = new QLineEdit(&window);
    QPushButton* button = new QPushButton(QStringLiteral("Quanto vinco?"), &window);
    MainWindow() {
        window.setObjectName(QStringLiteral("frmMain"));
        button->setObjectName(QStringLiteral("cmdVincite"));
        button->move(0, 40);
        window.resize(300, 200);
        QObject::connect(button, &QPushButton::clicked, &window, [this] { MostraVincite(&window); });
    }
};

enum class Outcome { NeverOpened, OpenedButEscFailed, ClosedByEsc };

// Runs `inside` once the modal prospect is up, then presses Esc on it.
Outcome whileOpen(const std::function<void()>& open, const std::function<void(QWidget*)>& inside) {
    Outcome outcome = Outcome::NeverOpened;
    QTimer probe;
    probe.setInterval(10);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !qobject_cast<frmVincite*>(modal))
            return;
        probe.stop();
        inside(modal);
        QTest::keyClick(modal, Qt::Key_Escape);
        outcome = modal->isVisible() ? Outcome::OpenedButEscFailed : Outcome::ClosedByEsc;
    });
    probe.start();
    QTimer guard; // never leave a test hanging in exec()
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    guard.start(5000);
    open();
    return outcome;
}

QColor pixel(const QImage& shot, const QWidget* form, const QWidget* w, QPoint at) {
    return shot.pixelColor(w->mapTo(form, at));
}

} // namespace

class TestFrmVincite : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { InstallFontSubstitutions(); }
    void init() { Sistema = SystemRecord{}; }
    void cleanup() { Sistema = SystemRecord{}; }

    void caption() {
        auto form = loaded();
        QCOMPARE(form->windowTitle(), QStringLiteral("Prospetto Vincite"));
        QCOMPARE(text(form.get(), QStringLiteral("Label1")), QStringLiteral("Prospetto Vincite"));
    }

    void layout_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("where");
        QTest::newRow("first box of Cinquina 1") << "txtCinq1_0" << QRect(32, 64, 25, 24);
        QTest::newRow("last box of Cinquina 1") << "txtCinq1_4" << QRect(192, 64, 25, 24);
        QTest::newRow("first box of Cinquina 2") << "txtCinq2_0" << QRect(48, 104, 25, 24);
        QTest::newRow("last box of Quaterna 1") << "txtQuad1_3" << QRect(184, 144, 25, 24);
        QTest::newRow("first box of Terno 2") << "txtTerz2_0" << QRect(88, 264, 25, 24);
        QTest::newRow("second box of Ambo 2") << "txtAmbo2_1" << QRect(168, 344, 25, 24);
        QTest::newRow("Estratto box") << "txtEstratto" << QRect(144, 384, 25, 24);
        QTest::newRow("Estratto grape") << "ellissi_28" << QRect(120, 368, 73, 49);
        QTest::newRow("first grape") << "ellissi_0" << QRect(8, 48, 73, 49);
        QTest::newRow("Cinquina amount of row 0") << "lblVinCinq1_3" << QRect(536, 72, 105, 17);
        QTest::newRow("Ambo amount of row 0") << "lblVinCinq1_0" << QRect(248, 72, 81, 17);
        QTest::newRow("Quaterna amount of row 3") << "lblVinQuat2_2" << QRect(440, 192, 81, 17);
        QTest::newRow("Terno amount of row 5") << "lblVinTerz2_1" << QRect(344, 272, 81, 17);
        QTest::newRow("Estratto amount") << "lblVinEstratto" << QRect(248, 392, 81, 17);
        QTest::newRow("Cinquina heading of row 0") << "lblGiocate_3" << QRect(552, 56, 49, 17);
        QTest::newRow("Terno heading of row 2") << "lblGiocate_9" << QRect(368, 136, 41, 17);
        QTest::newRow("Estratto heading") << "lblGiocate_20" << QRect(272, 376, 49, 17);
        QTest::newRow("title") << "Label1" << QRect(272, 8, 345, 33);
    }
    void layout() {
        QFETCH(QString, name);
        QFETCH(QRect, where);
        frmVincite form;
        auto* w = form.findChild<QWidget*>(name);
        QVERIFY2(w, qPrintable(name));
        QCOMPARE(w->geometry(), where);
    }

    // Every number sits in the middle of its own grape, and the whole bunch,
    // headings and amounts lie inside the window.
    void everyPlaceHasItsGrape() {
        frmVincite form;
        QVERIFY(form.width() >= 641 && form.height() >= 417);
        const QStringList boxes = boxNames();
        QCOMPARE(boxes.size(), 29);
        for (int i = 0; i < boxes.size(); ++i) {
            auto* box = form.findChild<QLineEdit*>(boxes[i]);
            auto* grape = form.findChild<QWidget*>(QStringLiteral("ellissi_%1").arg(i));
            QVERIFY2(box && grape, qPrintable(boxes[i]));
            QCOMPARE(grape->geometry(), QRect(box->x() - 24, box->y() - 16, 73, 49));
            QVERIFY(box->isReadOnly());
            QVERIFY(form.rect().contains(grape->geometry()));
        }
        for (const QString& name : amountNames()) {
            auto* l = form.findChild<QLabel*>(name);
            QVERIFY2(l, qPrintable(name));
            QVERIFY(form.rect().contains(l->geometry()));
        }
    }

    void headings_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("want");
        const QStringList kinds{"Ambo", "Terno", "Quaterna", "Cinquina"};
        const int sizes[] = {4, 4, 3, 3, 2, 2, 1, 1};
        int index = 0;
        for (int r = 0; r < 8; ++r)
            for (int k = 0; k < sizes[r]; ++k, ++index)
                QTest::addRow("row %d kind %d", r, k) << index << kinds[k];
        QTest::newRow("Estratto") << index << QStringLiteral("Estratto");
    }
    void headings() {
        QFETCH(int, index);
        QFETCH(QString, want);
        frmVincite form;
        QCOMPARE(text(&form, QStringLiteral("lblGiocate_%1").arg(index)), want);
    }

    // A fresh system: nothing to say, an empty bunch and nothing won.
    void freshSystem() {
        testsupport::LocaleScope it(testsupport::italian());
        testing::Script script;
        bool ok = false;
        auto form = loaded(&ok);
        QVERIFY(ok);
        QVERIFY(script.shown.isEmpty());
        for (const QString& name : boxNames())
            QCOMPARE(text(form.get(), name), QString());
        for (const QString& name : amountNames())
            QCOMPARE(text(form.get(), name), QStringLiteral("€ 0,00"));
    }

    void amounts_data() {
        QTest::addColumn<bool>("italian");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("want");
        const char* cinq[] = {"€ 25,00", "€ 210,00", "€ 4.290,00", "€ 319.600,00"};
        const char* quat[] = {"€ 25,00", "€ 412,50", "€ 13.500,00"};
        const char* tern[] = {"€ 62,50", "€ 1.312,50"};
        const char* want[21];
        int n = 0;
        for (int g = 0; g < 2; ++g) for (auto t : cinq) want[n++] = t;
        for (int g = 0; g < 2; ++g) for (auto t : quat) want[n++] = t;
        for (int g = 0; g < 2; ++g) for (auto t : tern) want[n++] = t;
        want[n++] = "€ 250,00";
        want[n++] = "€ 250,00";
        want[n++] = "€ 11,23";
        const QStringList names = amountNames();
        for (int i = 0; i < 21; ++i)
            QTest::addRow("it %s", qPrintable(names[i])) << true << names[i] << QString::fromUtf8(want[i]);
        QTest::newRow("en cinquina") << false << "lblVinCinq2_3" << QStringLiteral("€ 319,600.00");
        QTest::newRow("en terno") << false << "lblVinTerz1_1" << QStringLiteral("€ 1,312.50");
        QTest::newRow("en estratto") << false << "lblVinEstratto" << QStringLiteral("€ 11.23");
    }
    void amounts() {
        QFETCH(bool, italian);
        QFETCH(QString, name);
        QFETCH(QString, want);
        testsupport::LocaleScope scope(italian ? testsupport::italian() : testsupport::english());
        setNumbers(Sistema);
        setPreset10(Sistema);
        auto form = loaded();
        QCOMPARE(text(form.get(), name), want);
    }

    // Numbers show as they stand in the record: an empty place blank, 90 as "90".
    void numbers_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("want");
        QTest::newRow("Cinquina 1 first") << "txtCinq1_0" << "1";
        QTest::newRow("Cinquina 2 fourth, empty") << "txtCinq2_3" << "";
        QTest::newRow("Quaterna 2 last") << "txtQuad2_3" << "18";
        QTest::newRow("Terno 1 middle, empty") << "txtTerz1_1" << "";
        QTest::newRow("Ambo 2 second") << "txtAmbo2_1" << "28";
        QTest::newRow("Estratto") << "txtEstratto" << "90";
    }
    void numbers() {
        QFETCH(QString, name);
        QFETCH(QString, want);
        setNumbers(Sistema);
        Sistema.Cinq2[3] = 0;
        Sistema.Terz1[1] = 0;
        auto form = loaded();
        QCOMPARE(text(form.get(), name), want);
    }

    // The head number is the first number of every bet, shown like any other
    // on the same yellow; it changes no amount.
    void headNumber() {
        testsupport::LocaleScope it(testsupport::italian());
        setNumbers(Sistema);
        setPreset20(Sistema);
        auto plain = loaded();
        Sistema.Capogioco = 7;
        for (auto* first : {&Sistema.Cinq1[0], &Sistema.Cinq2[0], &Sistema.Quad1[0], &Sistema.Quad2[0],
                            &Sistema.Terz1[0], &Sistema.Terz2[0], &Sistema.Ambo1[0], &Sistema.Ambo2[0],
                            &Sistema.Estratto})
            *first = 7;
        Sistema.Cinq2[1] = 30; // 7 was there already
        auto form = loaded();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        const QImage shot = form->grab().toImage();
        for (const char* name : {"txtCinq1_0", "txtCinq2_0", "txtQuad1_0", "txtQuad2_0", "txtTerz1_0",
                                    "txtTerz2_0", "txtAmbo1_0", "txtAmbo2_0", "txtEstratto"}) {
            auto* box = form->findChild<QLineEdit*>(name);
            QCOMPARE(box->text(), QStringLiteral("7"));
            QCOMPARE(pixel(shot, form.get(), box, QPoint(1, 1)), QColor(0xFF, 0xFF, 0x80));
        }
        for (const QString& name : amountNames())
            QCOMPARE(text(form.get(), name), text(plain.get(), name));
    }

    // Boxes yellow, amounts navy on white: checked on the drawn window.
    void colours() {
        testsupport::LocaleScope it(testsupport::italian());
        setNumbers(Sistema);
        setPreset10(Sistema);
        auto form = loaded();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        const QImage shot = form->grab().toImage();
        if (qEnvironmentVariableIsSet("BRAMA_SCREENSHOT"))
            shot.save(qEnvironmentVariable("BRAMA_SCREENSHOT"));
        for (const QString& name : boxNames()) {
            auto* box = form->findChild<QLineEdit*>(name);
            QCOMPARE(pixel(shot, form.get(), box, QPoint(1, box->height() - 2)), QColor(0xFF, 0xFF, 0x80));
        }
        for (const QString& name : amountNames()) {
            auto* l = form->findChild<QLabel*>(name);
            // Right-aligned: the left end is bare white, the text ends at the right.
            QCOMPARE(pixel(shot, form.get(), l, QPoint(2, l->height() / 2)), QColor(Qt::white));
            int navy = 0, other = 0;
            for (int x = l->width() - 30; x < l->width(); ++x)
                for (int y = 0; y < l->height(); ++y) {
                    const QColor c = pixel(shot, form.get(), l, QPoint(x, y));
                    if (c == QColor(Qt::white))
                        continue;
                    // Antialiased navy lies between white and navy: red and
                    // green fall together, blue stays high.
                    if (c.blue() >= 0x80 && std::abs(c.red() - c.green()) < 16)
                        ++navy;
                    else
                        ++other;
                }
            QVERIFY2(navy > 20 && other == 0, qPrintable(name));
        }
    }

    // With the largest stakes the fields hold, no amount is cut.
    void largestAmountsFit() {
        testsupport::LocaleScope it(testsupport::italian());
        SystemRecord& s = Sistema;
        s.ImpCinq1 = s.ImpCinq2 = {99.99f, 99.99f, 99.99f, 99.99f};
        s.ImpQuad1 = s.ImpQuad2 = {99.99f, 99.99f, 99.99f};
        s.ImpTerz1 = s.ImpTerz2 = {99.99f, 99.99f};
        s.ImpAmbo1 = s.ImpAmbo2 = s.ImpEstratto = 99.99f;
        auto form = loaded();
        QCOMPARE(text(form.get(), QStringLiteral("lblVinCinq1_3")), QStringLiteral("€ 612.413.696,00"));
        QCOMPARE(text(form.get(), QStringLiteral("lblVinQuat1_2")), QStringLiteral("€ 12.473.752,00"));
        for (const QString& name : amountNames()) {
            auto* l = form->findChild<QLabel*>(name);
            const QFontInfo used(l->font());
            QVERIFY2(used.family() == QLatin1String("Carlito") || used.family() == QLatin1String("Calibri"),
                     qPrintable(used.family()));
            const int room = l->contentsRect().width() - l->indent();
            const int need = l->fontMetrics().horizontalAdvance(l->text());
            QVERIFY2(need <= room, qPrintable(QStringLiteral("%1: %2 px for %3 px").arg(name).arg(need).arg(room)));
        }
        for (int i = 0; i < 21; ++i) {
            auto* l = form->findChild<QLabel*>(QStringLiteral("lblGiocate_%1").arg(i));
            QVERIFY(l->fontMetrics().horizontalAdvance(l->text()) <= l->width());
        }
    }

    // "Quanto vinco?" opens the prospect modal over the main window; Esc
    // closes it and the focus is back on the button.
    void modalOverTheMainWindow() {
        testsupport::LocaleScope it(testsupport::italian());
        testing::Script script;
        MainWindow main;
        main.window.show();
        main.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main.window));
        main.button->setFocus();
        QCOMPARE(QApplication::focusWidget(), main.button);
        setPreset10(Sistema);
        QWidget* parent = nullptr;
        bool modal = false;
        QString cinquina;
        const Outcome outcome = whileOpen([&] { main.button->click(); }, [&](QWidget* w) {
            parent = w->parentWidget();
            modal = w->isModal();
            cinquina = text(w, QStringLiteral("lblVinCinq1_3"));
        });
        QCOMPARE(outcome, Outcome::ClosedByEsc);
        QCOMPARE(parent, &main.window);
        QVERIFY(modal);
        QCOMPARE(cinquina, QStringLiteral("€ 319.600,00"));
        QVERIFY(script.shown.isEmpty());
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(main.window.findChildren<frmVincite*>().isEmpty());
        QCOMPARE(main.window.focusWidget(), main.button);
        QVERIFY(QTest::qWaitForWindowActive(&main.window));
        QCOMPARE(QApplication::focusWidget(), main.button);
    }

    // Every opening is a new window with freshly computed amounts.
    void reopeningRecomputes() {
        testsupport::LocaleScope it(testsupport::italian());
        MainWindow main;
        main.window.show();
        setPreset10(Sistema);
        QString first, second;
        QCOMPARE(whileOpen([&] { main.button->click(); },
                           [&](QWidget* w) { first = text(w, QStringLiteral("lblVinCinq1_3")); }),
                 Outcome::ClosedByEsc);
        setPreset20(Sistema);
        QCOMPARE(whileOpen([&] { main.button->click(); },
                           [&](QWidget* w) { second = text(w, QStringLiteral("lblVinCinq1_3")); }),
                 Outcome::ClosedByEsc);
        QCOMPARE(first, QStringLiteral("€ 319.600,00"));
        QCOMPARE(second, QStringLiteral("€ 334.287,50"));
    }

    // An amount that overflows: the standard report, no window, stakes kept.
    void overflow_data() {
        QTest::addColumn<int>("member");
        QTest::addColumn<float>("stake");
        const float inf = std::numeric_limits<float>::infinity();
        const float nan = std::numeric_limits<float>::quiet_NaN();
        QTest::newRow("1e33 on a Cinquina's cinquina") << 3 << 1e33f;
        QTest::newRow("infinity on a Cinquina's ambo") << 0 << inf;
        QTest::newRow("NaN on a Cinquina's terno") << 1 << nan;
        QTest::newRow("infinity on the Estratto") << -1 << inf;
    }
    void overflow() {
        QFETCH(int, member);
        QFETCH(float, stake);
        testing::Script script;
        MainWindow main;
        main.window.show();
        setPreset10(Sistema);
        if (member >= 0)
            Sistema.ImpCinq1[member] = stake;
        else
            Sistema.ImpEstratto = stake;
        const SystemRecord before = Sistema;
        QCOMPARE(whileOpen([&] { main.button->click(); }, [](QWidget*) {}), Outcome::NeverOpened);
        const QList<Shown> messages = script.messages();
        QCOMPARE(messages.size(), 1);
        const Shown& m = messages.first();
        QCOMPARE(m.text, QStringLiteral("Error 6 (Overflow) in procedure Form_Load of Form frmVincite"));
        QCOMPARE(m.title, QStringLiteral("Bramasolovanti"));
        QCOMPARE(m.buttons, MsgButtons::Ok);
        QVERIFY(main.window.findChildren<frmVincite*>().isEmpty());
        auto sameBits = [](const auto& a, const auto& b) { return std::memcmp(&a, &b, sizeof a) == 0; };
        QVERIFY(sameBits(Sistema.ImpCinq1, before.ImpCinq1));
        QVERIFY(sameBits(Sistema.ImpEstratto, before.ImpEstratto));
        QVERIFY(sameBits(Sistema.ImpQuad1, before.ImpQuad1));
        // The program goes on: the next opening works once the stake is sane.
        setPreset10(Sistema);
        QCOMPARE(whileOpen([&] { main.button->click(); }, [](QWidget*) {}), Outcome::ClosedByEsc);
        QCOMPARE(script.messages().size(), 1);
    }
};

QTEST_MAIN(TestFrmVincite)
#include "test_frmvincite.moc"
