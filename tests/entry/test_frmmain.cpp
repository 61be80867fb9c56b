// The main window as the user meets it: number entry and its checks, the head
// number, the random fill, the stakes, the colours, the keyboard and closing;
// first the arithmetic behind them, which needs no window.
#include "entrytest.h"

#include "entry/dialogs.h"
#include "entry/frmColourPicker.h"

#include <QAccessible>
#include <QClipboard>
#include <QFile>
#include <QScopeGuard>
#include <set>

using namespace corpo;
using namespace entrytest;

namespace {
const QColor PaleYellow(255, 255, 128); // the default colour of the bunch
} // namespace

class TestFrmMain : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { InstallFontSubstitutions(); }

    // What needs no window.
    void stakeText_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("shown");
        QTest::newRow(",5") << ",5" << 0.5f << "0,50";
        QTest::newRow("half a cent rounds up") << "0,125" << 0.125f << "0,13";
        QTest::newRow("no grouping") << "12345" << 12345.0f << "12345,00";
        QTest::newRow("empty counts 0") << "" << 0.0f << "0,00";
        QTest::newRow("full stop counts 0") << "1.5" << 0.0f << "0,00";
    }
    void stakeText() {
        QFETCH(QString, typed);
        QFETCH(float, value);
        QFETCH(QString, shown);
        // The comma is the fields' notation, whatever the locale.
        testsupport::LocaleScope english(testsupport::english());
        QCOMPARE(ParseStake(typed), value);
        QCOMPARE(FormatStake(ParseStake(typed)), shown);
        QCOMPARE(FormatTotal(ParseStake(typed)), shown);
    }

    void sumIsSinglePrecision() {
        // 2^24 + 1 is not a float: each added 1 is lost, as the stored total
        // has always been computed; a double sum would keep them.
        SystemRecord r;
        r.ImpCinq1[0] = 16777216.0f;
        r.ImpCinq2[0] = 1.0f;
        r.ImpCinq1[1] = 1.0f;
        QCOMPARE(SommaImporti(r), 16777216.0f);
    }

    void randomFill() {
        // 0 gives 1, the head number, and is drawn again; the second 0.5 is
        // taken already; just below 1 still gives 90.
        const QList<double> script = {0.0, 0.5, 0.5, 0.999999};
        int i = 0;
        const Cluster c = NumeriCasualiValues(1, [&] {
            const int k = i++;
            return k < script.size() ? script[k] : k / 90.0 + 1e-9;
        });
        QCOMPARE(c[0][0], 46);
        QCOMPARE(c[0][1], 90);
        std::set<int> seen;
        for (int g = 0; g < Estratto; ++g)
            for (int p = 0; p < Scommesse[size_t(g)].size; ++p)
                seen.insert(c[size_t(g)][size_t(p)]);
        QCOMPARE(int(seen.size()), 28);
        QVERIFY(*seen.begin() > 1 && *seen.rbegin() <= 90);
        QVERIFY(c[Estratto][0] >= 1 && c[Estratto][0] <= 90);
    }

    void colours() {
        // Colours are kept as 0x00BBGGRR.
        QCOMPARE(ToQColor(0x00123456), QColor(0x56, 0x34, 0x12));
        QCOMPARE(FromQColor(QColor(0x56, 0x34, 0x12)), 0x00123456);
        QCOMPARE(ColoreCasuale(0.0), 0);
        QCOMPARE(ColoreCasuale(0.9999999999), 0xFFFFFF);
    }

    // The window.
    void loadShowsTheEmptySystem() {
        MainWindow m;
        QCOMPARE(m.w->windowTitle(),
                 QStringLiteral("Bramasolovanti by Marvolt - Versione 0.3.2 - Freeware"));
        QStringList empty;
        eachNumber([&](int, int) { empty << QStringLiteral("  "); });
        for (int i = 0; i < NumImporti; ++i)
            empty << QStringLiteral("0,00");
        QCOMPARE(m.fieldTexts(), empty << "0,00" << "vuoto.vrl" << "Bari");
        QCOMPARE(m.wheels()->count(), 12);
        QVERIFY(!m.button(QStringLiteral("cmdColoraCapogioco"))->isEnabled());
        QCOMPARE(IntestazioneStampa, QStringLiteral("Intestazione"));
        QCOMPARE(m.fieldColour(Terz1, 1), PaleYellow);
        QCOMPARE(m.w->grape(14)->colore(), PaleYellow);
        QVERIFY(m.script.messages().isEmpty());
    }

    void verifica_data() {
        QTest::addColumn<Cluster>("values");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("stored"); // the bets that reached the record whole
        const Cluster ok = goodCluster();
        QTest::newRow("complete") << ok << QString() << QString() << NumGruppi;
        const QStringList incomplete = {
            "La prima cinquina non è completa!!!", "La seconda cinquina non è completa!!!",
            "La prima quaterna non è completa!!!", "La seconda quaterna non è completa!!!",
            "Il primo terno non è completo!!!",    "Il secondo terno non è completo!!!",
            "Il primo ambo non è completo!!!",     "Il secondo ambo non è completo!!!"};
        for (int g = 0; g < Estratto; ++g)
            QTest::addRow("incomplete %s", qPrintable(NumberFieldName(g, 1)))
                << with(ok, g, 1, 0) << incomplete[g] << NumberFieldName(g, 1) << g;
        QTest::newRow("estratto") << with(ok, Estratto, 0, 0)
                                  << QStringLiteral("Valore estratto non ammesso!!!")
                                  << QStringLiteral("txtEstratto") << int(Estratto);
        const QStringList duplicate = {"nella prima cinquina", "nella seconda cinquina",
                                       "nella prima quaterna", "nella seconda quaterna",
                                       "nel primo terno",      "nel secondo terno",
                                       "nel primo ambo",       "nel secondo ambo"};
        for (int g = 0; g < Estratto; ++g)
            QTest::addRow("duplicate %s", qPrintable(NumberFieldName(g, 1)))
                << with(ok, g, 1, ok[size_t(g)][0]) << "Valore duplicato " + duplicate[g] + "!!!"
                << NumberFieldName(g, g >= Ambo1 ? 0 : 1) << NumGruppi;
        // Which fault is reported first.
        QTest::newRow("first incomplete bet") << with(with(ok, Cinq2, 1, 0), Cinq1, 3, 0)
                                              << incomplete[0] << "txtCinq1_3" << 0;
        QTest::newRow("completeness before repeats")
            << with(with(ok, Quad1, 2, 0), Cinq1, 1, ok[0][0]) << incomplete[2] << "txtQuad1_2"
            << 2;
        // Second cinquina at positions (0, 1) comes before the first at (0, 4).
        QTest::newRow("pairs before bets") << with(with(ok, Cinq1, 4, 1), Cinq2, 1, 11)
                                           << "Valore duplicato nella seconda cinquina!!!"
                                           << "txtCinq2_1" << NumGruppi;
        QTest::newRow("same number in two bets")
            << with(ok, Cinq2, 0, 1) << QString() << QString() << NumGruppi;
    }
    void verifica() {
        QFETCH(Cluster, values);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        QFETCH(int, stored);
        MainWindow m;
        m.setNumbers(values);
        eachNumber([](int g, int p) { Scommesse[size_t(g)].Numbers(Sistema)[p] = 99; });
        m.button(QStringLiteral("cmdApri"))->setFocus(); // somewhere else than the fields
        QCOMPARE(m.w->VerificaSistema(), message.isEmpty());
        if (message.isEmpty()) {
            QVERIFY(m.script.messages().isEmpty());
            QCOMPARE(focusName(), QStringLiteral("cmdApri"));
        } else {
            QCOMPARE(m.script.messages().size(), 1);
            const Shown s = m.script.messages().constFirst();
            QCOMPARE(s.text, message);
            QCOMPARE(s.title, QStringLiteral("Attenzione!!"));
            QCOMPARE(s.icon, MsgIcon::Critical);
            QCOMPARE(focusName(), focus);
        }
        // The bets before the fault are stored, those after it untouched.
        eachNumber([&](int g, int p) {
            const int inRecord = Scommesse[size_t(g)].Numbers(Sistema)[p];
            if (g != stored)
                QCOMPARE(inRecord, g < stored ? values[size_t(g)][size_t(p)] : 99);
        });
    }

    void typing_data() {
        QTest::addColumn<bool>("stake"); // a stake field, else a number field
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("beeps");
        QTest::addColumn<QString>("shown"); // once the field is left with Tab
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("message");
        QTest::newRow("number: letter") << false << "4a" << 1 << "4" << "0,00" << "";
        QTest::newRow("number: comma") << false << "4," << 1 << "4" << "0,00" << "";
        QTest::newRow("number: Enter") << false << "4\r" << 1 << "4" << "0,00" << "";
        QTest::newRow("number: backspace") << false << "4\b" << 0 << "" << "0,00" << "";
        QTest::newRow("number: 90") << false << "90" << 0 << "90" << "0,00" << "";
        QTest::newRow("number: 91") << false << "91" << 0 << "00" << "0,00"
                                    << "I valori possibili sono da 1 a 90";
        QTest::newRow("stake: full stop") << true << "1.5" << 1 << "15,00" << "17,00" << "";
        QTest::newRow("stake: comma") << true << "1,5" << 0 << "1,50" << "3,50" << "";
        QTest::newRow("stake: two commas") << true << "1,,5" << 0 << "0,00" << "2,00" << "";
        // Typing replaces the whole "100,00" the field held.
        QTest::newRow("stake: re-typed") << true << "5" << 0 << "5,00" << "7,00" << "";
        QTest::newRow("stake: 150,75 whole") << true << "150,75" << 0 << "150,75" << "152,75" << "";
        // A stake the field cannot hold is refused, never cut.
        const QString tooMuch = "Gli importi possibili sono da 0,00 a 200,00, con al massimo due "
                                "decimali";
        QTest::newRow("stake: above 200,00") << true << "1234" << 0 << "123,00" << "125,00"
                                             << tooMuch;
        QTest::newRow("stake: third decimal") << true << "12,345" << 0 << "12,34" << "14,34"
                                              << tooMuch;
        // Ctrl+V of the text after "^V": pasted text meets the same rules.
        QTest::newRow("number: paste 5a") << false << "^V5a" << 1 << "12" << "0,00" << "";
        QTest::newRow("number: paste 123") << false << "^V123" << 1 << "12" << "0,00" << "";
        QTest::newRow("number: paste 7") << false << "^V7" << 0 << "7" << "0,00" << "";
        QTest::newRow("stake: paste 1234") << true << "^V1234" << 0 << "100,00" << "102,00"
                                           << tooMuch;
        QTest::newRow("stake: paste 2,5") << true << "^V2,5" << 0 << "2,50" << "4,50" << "";
    }
    void typing() {
        QFETCH(bool, stake);
        QFETCH(QString, typed);
        QFETCH(int, beeps);
        QFETCH(QString, shown);
        QFETCH(QString, total);
        QFETCH(QString, message);
        MainWindow m;
        m.stake(Cinq1, 0)->setText(QStringLiteral("2,00"));
        QLineEdit* f = stake ? m.stake(Terz2, 1) : m.number(Cinq2, 3);
        f->setText(stake ? QStringLiteral("100,00") : QStringLiteral("12"));
        QTest::mouseClick(f, Qt::LeftButton, {}, f->rect().center());
        QTest::qWait(0);
        QCOMPARE(f->selectedText(), f->text()); // typing replaces the old value
        if (typed.startsWith(QStringLiteral("^V"))) {
            QGuiApplication::clipboard()->setText(typed.mid(2));
            QTest::keyClick(f, Qt::Key_V, Qt::ControlModifier);
        } else {
            QTest::keyClicks(f, typed);
        }
        QTest::keyClick(f, Qt::Key_Tab);
        QCOMPARE(focusName(), stake ? QStringLiteral("txtImpAmbo1") : QStringLiteral("txtCinq2_4"));
        QCOMPARE(f->text(), shown);
        QCOMPARE(m.script.beeps(), beeps);
        QCOMPARE(m.total(), total);
        QCOMPARE(FormatTotal(Sistema.ImportoSistema), total);
        QCOMPARE(m.script.messages().size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty()) {
            QCOMPARE(m.script.messages()[0].text, message);
            QCOMPARE(m.script.messages()[0].title, QStringLiteral("Errore"));
        }
    }

    void headNumber_data() {
        QTest::addColumn<QString>("answer"); // "<cancel>" presses Cancel
        QTest::addColumn<bool>("refused");
        QTest::addColumn<int>("head"); // 0: nothing changes
        QTest::newRow("cancel") << "<cancel>" << false << 0;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("0") << "0" << true << 0;
        QTest::newRow("91") << "91" << true << 0;
        QTest::newRow("text") << "sette" << true << 0;
        QTest::newRow("beyond any integer") << "1e300" << true << 0;
        QTest::newRow("7.5 rounds to 8") << "7.5" << false << 8;
        QTest::newRow("8.5 rounds to even 8") << "8.5" << false << 8;
    }
    void headNumber() {
        QFETCH(QString, answer);
        QFETCH(bool, refused);
        QFETCH(int, head);
        MainWindow m;
        m.setNumbers(goodCluster());
        const QStringList before = m.fieldTexts();
        m.script.queueInput(answer == QStringLiteral("<cancel>") ? std::nullopt
                                                                   : std::optional(answer));
        QTest::mouseClick(m.button(QStringLiteral("cmdCapogioco")), Qt::LeftButton);
        const Shown input = m.script.shown.constFirst();
        QCOMPARE(input.text, QStringLiteral("Inserisci il capogioco (1-90)"));
        QCOMPARE(input.title, QStringLiteral("CAPOGIOCO"));
        QCOMPARE(input.defaultText, QStringLiteral("0"));
        QCOMPARE(m.script.messages().mid(1).size(), refused ? 1 : 0);
        if (refused)
            QCOMPARE(m.script.messages()[1].text,
                     QStringLiteral("I valori possibili sono da 1 a 90"));
        QCOMPARE(int(Sistema.Capogioco), head);
        QCOMPARE(m.button(QStringLiteral("cmdColoraCapogioco"))->isEnabled(), head != 0);
        if (head == 0) {
            QCOMPARE(m.fieldTexts(), before);
            return;
        }
        for (int g = 0; g < NumGruppi; ++g)
            // shown, checked and stored
            QCOMPARE(int(Scommesse[size_t(g)].Numbers(Sistema)[0]), head);
        const int32_t colour = ColoreCapogioco;
        QCOMPARE(m.fieldColour(Terz2, 0), ToQColor(colour));
        QCOMPARE(m.w->grape(24)->colore(), ToQColor(colour));
        QCOMPARE(m.fieldColour(Terz2, 1), PaleYellow);
        // Asked again, the box offers the current one; the colour stays.
        m.setHead(9);
        QCOMPARE(m.script.shown.last().defaultText, QString::number(head));
        QCOMPARE(ColoreCapogioco, colour);
    }

    void randomFillKeepsTheHeadNumber() {
        MainWindow m;
        m.setHead(7);
        const int32_t headColour = ColoreCapogioco;
        m.script.clear();
        QTest::mouseClick(m.button(QStringLiteral("cmdCasuale")), Qt::LeftButton);
        QVERIFY(m.script.messages().isEmpty());
        std::set<int> drawn;
        eachNumber([&](int g, int p) {
            const int n = m.number(g, p)->text().toInt();
            QCOMPARE(int(Scommesse[size_t(g)].Numbers(Sistema)[p]), n);
            if (p == 0)
                QCOMPARE(n, 7);
            else
                drawn.insert(n);
        });
        QCOMPARE(int(drawn.size()), 20); // all different
        QVERIFY(!drawn.count(7) && !drawn.count(0));
        QCOMPARE(ColoreCapogioco, headColour);
    }

    void presets_data() {
        QTest::addColumn<QString>("total"); // the row is the button
        QTest::addColumn<QStringList>("cinquina");
        QTest::newRow("cmd10Euro") << "10,00" << QStringList{"1,00", "0,30", "0,15", "0,05"};
        QTest::newRow("cmd20Euro") << "20,00" << QStringList{"1,85", "0,85", "0,25", "0,05"};
    }
    void presets() {
        QFETCH(QString, total);
        QFETCH(QStringList, cinquina);
        testsupport::LocaleScope italian(testsupport::italian());
        MainWindow m;
        QTest::mouseClick(m.button(QTest::currentDataTag()), Qt::LeftButton);
        QCOMPARE(m.total(), total);
        for (int k = 0; k < 4; ++k)
            QCOMPARE(m.stake(Cinq2, k)->text(), cinquina[k]);
        QCOMPARE(FormatTotal(Sistema.ImportoSistema), total);
    }

    void colourPicker_data() {
        QTest::addColumn<QString>("which");  // button pressed
        QTest::addColumn<QString>("action"); // what the user does in the picker
        QTest::addColumn<bool>("apply");
        const QString bunch = QStringLiteral("cmdColoreVorlacco");
        const QString head = QStringLiteral("cmdColoraCapogioco");
        QTest::newRow("bunch: palette, cancel") << bunch << "palette" << false;
        QTest::newRow("bunch: dialog, apply") << bunch << "dialog" << true;
        QTest::newRow("head: random, apply") << head << "random" << true;
        QTest::newRow("head: dialog, cancel") << head << "dialog" << false;
        QTest::newRow("head: dialog cancelled") << head << "dialog cancelled" << true;
    }
    void colourPicker() {
        QFETCH(QString, which);
        QFETCH(QString, action);
        QFETCH(bool, apply);
        MainWindow m;
        m.setHead(5);
        const bool bunch = which == QStringLiteral("cmdColoreVorlacco");
        const int32_t storedBunch = ColoreVorlacco, storedHead = ColoreCapogioco;
        const bool dialogCancelled = action == QStringLiteral("dialog cancelled");
        testing::SetColourDialog([&](QWidget*, int32_t) {
            return dialogCancelled ? std::nullopt : std::optional<int32_t>(0x00204060);
        });
        int32_t previewed = -1, underPointer = -1;
        QColor previewBunch, previewHead;
        // Nothing in here may return early: the picker must always be closed.
        QTimer::singleShot(0, [&] {
            auto* picker = qobject_cast<frmColourPicker*>(QApplication::activeModalWidget());
            if (!picker)
                return;
            if (action == QStringLiteral("palette")) {
                // Dragging with the button held previews what lies under the pointer.
                QWidget* palette = picker->findChild<QWidget*>(QStringLiteral("Col_Palette_0"));
                QTest::mousePress(palette, Qt::LeftButton, {}, QPoint(10, 10));
                QTest::mouseMove(palette, QPoint(200, 90));
                QTest::mouseRelease(palette, Qt::LeftButton, {}, QPoint(200, 90));
                underPointer = picker->PaletteColour(0, QPointF(200, 90));
            } else {
                picker->findChild<QPushButton*>(action == QStringLiteral("random")
                                                    ? QStringLiteral("cmdGeneraColore")
                                                    : QStringLiteral("cmdGetColour"))
                    ->click();
            }
            previewed = picker->ColoreScelto;
            previewBunch = m.w->grape(1)->colore();
            previewHead = m.fieldColour(Estratto, 0);
            if (apply)
                picker->findChild<QPushButton*>(QStringLiteral("cmdSalva"))->click();
            else
                picker->close();
        });
        m.button(which)->click();
        testing::SetColourDialog({});
        if (action == QStringLiteral("palette"))
            QCOMPARE(previewed, underPointer);
        if (action.startsWith(QStringLiteral("dialog"))) // cancelled: where the picker started
            QCOMPARE(previewed, dialogCancelled ? storedHead : 0x00204060);
        // While the picker is open the window shows the choice on its own kind.
        QCOMPARE(previewBunch, ToQColor(bunch ? previewed : storedBunch));
        QCOMPARE(previewHead, ToQColor(bunch ? storedHead : previewed));
        // Then what was applied stays, what was cancelled goes back.
        const int32_t bunchNow = bunch && apply ? previewed : storedBunch;
        const int32_t headNow = !bunch && apply ? previewed : storedHead;
        QCOMPARE(ColoreVorlacco, bunchNow);
        QCOMPARE(ColoreCapogioco, headNow);
        QCOMPARE(m.w->grape(1)->colore(), ToQColor(bunchNow));
        QCOMPARE(m.w->grape(24)->colore(), ToQColor(headNow));
        QCOMPARE(m.fieldColour(Cinq1, 0), ToQColor(headNow));
    }

    void askBeforeDropping_data() {
        QTest::addColumn<QString>("action"); // a button, or "close"
        QTest::addColumn<bool>("edited");    // since the last save
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("saveTo"); // what the save dialog answers; "": cancelled
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<bool>("gone"); // the system was replaced or the window closed
        const QString changed = QStringLiteral("Il sistema è stato modificato. Salvarlo?");
        const QString quit = QStringLiteral("Uscire dall'applicazione?");
        QTest::newRow("Cancella, saved") << "cmdCancella" << false << "" << "" << QStringList{}
                                         << true;
        QTest::newRow("close, saved, No") << "close" << false << "No" << "" << QStringList{quit}
                                          << false;
        QTest::newRow("close, saved, Sì") << "close" << false << "Sì" << "" << QStringList{quit}
                                          << true;
        for (const char* action : {"cmdCancella", "cmdApri", "close"}) {
            QTest::addRow("%s, edited, Annulla", action)
                << action << true << "Annulla" << "nuovo.vrl" << QStringList{changed} << false;
            QTest::addRow("%s, edited, No", action)
                << action << true << "No" << "nuovo.vrl" << QStringList{changed} << true;
            QTest::addRow("%s, edited, Sì", action)
                << action << true << "Sì" << "nuovo.vrl" << QStringList{changed} << true;
        }
        QTest::newRow("Cancella, edited, Sì, save cancelled")
            << "cmdCancella" << true << "Sì" << "" << QStringList{changed} << false;
    }
    void askBeforeDropping() {
        QFETCH(QString, action);
        QFETCH(bool, edited);
        QFETCH(QString, answer);
        QFETCH(QString, saveTo);
        QFETCH(QStringList, asked);
        QFETCH(bool, gone);
        MainWindow m;
        QWidget other; // closing takes every window with it
        other.show();
        SystemRecord altro;
        eachNumber([&](int g, int p) {
            Scommesse[size_t(g)].Numbers(altro)[size_t(p)] = uint8_t(90 - 10 * g - p);
        });
        altro.NomeSistema = FixedString(QStringLiteral("altro.vrl"), 20);
        m.app.write(QStringLiteral("altro.vrl"), EncodeSystemFile(altro, 1, 2));
        QString target = QStringLiteral("primo.vrl");
        testing::SetFileDialog([&](QWidget*, const FileDialogRequest& r) {
            const QString name = r.save ? target : QStringLiteral("altro.vrl");
            return name.isEmpty() ? QString() : m.app.file(name);
        });
        const auto restore = qScopeGuard([] { testing::SetFileDialog({}); });
        m.setNumbers(goodCluster());
        QTest::mouseClick(m.button(QStringLiteral("cmdSalva")), Qt::LeftButton);
        target = saveTo;
        if (edited) {
            QLineEdit* f = m.stake(Estratto, 0);
            QTest::mouseClick(f, Qt::LeftButton, {}, f->rect().center());
            QTest::qWait(0);
            QTest::keyClicks(f, QStringLiteral("3"));
            QTest::keyClick(f, Qt::Key_Tab);
        }
        const QStringList before = m.fieldTexts();
        m.script.clear();
        m.script.queueAnswer(answer == QStringLiteral("Sì")   ? MsgResult::Yes
                             : answer == QStringLiteral("No") ? MsgResult::No
                                                              : MsgResult::Cancel);
        if (action == QStringLiteral("close"))
            m.w->close();
        else
            QTest::mouseClick(m.button(action), Qt::LeftButton);
        QStringList shown;
        for (const Shown& s : m.script.messages()) {
            shown << s.text;
            QCOMPARE(s.buttons, edited ? MsgButtons::YesNoCancel : MsgButtons::YesNo);
            QCOMPARE(s.title, m.w->windowTitle());
        }
        QCOMPARE(shown, asked);
        // Sì saves through Save before anything goes.
        QCOMPARE(!saveTo.isEmpty() && QFile::exists(m.app.file(saveTo)),
                 edited && gone && answer == "Sì");
        QCOMPARE(m.w->isVisible(), !gone || action != QStringLiteral("close"));
        QCOMPARE(other.isVisible(), m.w->isVisible());
        if (!gone)
            QCOMPARE(m.fieldTexts(), before);
        else if (action != QStringLiteral("close"))
            QCOMPARE(m.nameLabel(),
                     action == QStringLiteral("cmdApri") ? "altro.vrl" : "vuoto.vrl");
    }

    void buttonsCheckFirst_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("complete");
        QTest::newRow("Vincite incomplete") << "cmdVincite" << false;
        QTest::newRow("Tabulato incomplete") << "cmdPrnTabulato" << false;
        QTest::newRow("Schedine complete") << "cmdPrnSchedine" << true;
    }
    // Every button that shows the system checks it first.
    void buttonsCheckFirst() {
        QFETCH(QString, button);
        QFETCH(bool, complete);
        MainWindow m;
        m.setNumbers(complete ? goodCluster() : with(goodCluster(), Ambo2, 1, 0));
        m.stake(Estratto, 0)->setText(QStringLiteral("2,5"));
        m.wheels()->setCurrentIndex(7);
        Sistema.Ruota = FixedString(QString(), 10);
        ModalCloser closer;
        m.button(button)->click();
        const bool refused = !complete;
        // Only the window's own check counts here; the windows opened may
        // have their own things to say.
        QStringList own;
        for (const Shown& s : m.script.messages())
            if (s.title == QStringLiteral("Attenzione!!"))
                own << s.text;
        QCOMPARE(own, refused ? QStringList{"Il secondo ambo non è completo!!!"} : QStringList{});
        if (refused)
            QCOMPARE(focusName(), QStringLiteral("txtAmbo2_1"));
        if (button != QStringLiteral("cmdVincite"))
            QCOMPARE(Sistema.Ruota, QStringLiteral("Roma      "));
        // The stakes are read unless the check stopped the button.
        QCOMPARE(Sistema.ImpEstratto, refused ? 0.0f : 2.5f);
        // The slips window keeps the main window disabled while it is open;
        // it is a dialog, and Esc closes it.
        QCOMPARE(m.w->isEnabled(), button != QStringLiteral("cmdPrnSchedine"));
        if (auto* slips = m.w->findChild<QWidget*>(QStringLiteral("frmStampaSchedine"))) {
            QCOMPARE(QAccessible::queryAccessibleInterface(slips)->role(), QAccessible::Dialog);
            QTest::keyClick(slips, Qt::Key_Escape);
            QVERIFY(m.w->isEnabled() && !slips->isVisible());
        }
    }

    void keyboard() {
        MainWindow m;
        QStringList expected;
        eachNumber([&](int g, int p) { expected << NumberFieldName(g, p); });
        for (int g = 0; g < NumGruppi; ++g)
            for (int k = 0; k < Scommesse[size_t(g)].stakeCount; ++k)
                expected << StakeFieldName(g, k);
        expected << "cmdApri" << "cmdSalva" << "cmdCapogioco" << "cmdCasuale" << "cmdPrnSchedine"
                 << "cmdPrnTabulato" << "cmdCancella" << "cmd10Euro" << "cmd20Euro" << "cmdVincite"
                 << "cmbRuote";
        m.stake(Cinq1, 0)->setText(QStringLiteral("100,00"));
        m.number(Cinq1, 0)->setFocus(Qt::TabFocusReason);
        QStringList walked{focusName()};
        // A screen reader hears a window frame and a name of its own for every control.
        QCOMPARE(QAccessible::queryAccessibleInterface(m.w.get())->role(), QAccessible::Window);
        const auto spoken = [] {
            return QAccessible::queryAccessibleInterface(QApplication::focusWidget())
                ->text(QAccessible::Name);
        };
        QSet<QString> names{spoken()};
        while (walked.size() < expected.size()) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QTest::qWait(0);
            walked << focusName();
            names << spoken();
            // A field entered by Tab is selected whole, ready to be re-typed.
            if (auto* f = qobject_cast<QLineEdit*>(QApplication::focusWidget()))
                QCOMPARE(f->selectedText(), f->text());
        }
        QCOMPARE(walked, expected);
        QCOMPARE(names.size(), expected.size());
        QVERIFY(!names.contains(QString()));
        QVERIFY(names.contains("Cinquina 1, numero 3") && names.contains("Quaterna 2, terno, euro"));
        // A mnemonic works from a number field too; it presses its button
        // visibly, so the click comes a moment later.
        m.setNumbers(goodCluster());
        QTest::keyClick(m.number(Cinq1, 0), Qt::Key_E, Qt::AltModifier); // Canc&ella
        QTRY_COMPARE(m.number(Quad1, 2)->text(), QStringLiteral("  "));
        QCOMPARE(m.script.beeps(), 0);
        ModalCloser closer;
        QTest::keyClick(m.number(Cinq1, 0), Qt::Key_F1); // help: the About window
        QTRY_COMPARE(closer.closed, QStringList{"frmAbout"});
    }

    void clickOnTheBackground_data() {
        QTest::addColumn<QPoint>("where"); // in the window
        QTest::addColumn<bool>("about");
        QTest::newRow("bare window corner") << QPoint(670, 446) << true;
        QTest::newRow("logo picture") << QPoint(396, 32) << true;
        QTest::newRow("stakes frame") << QPoint(480, 400) << false;
    }
    void clickOnTheBackground() {
        QFETCH(QPoint, where);
        QFETCH(bool, about);
        MainWindow m;
        ModalCloser closer;
        m.script.queueAnswer(MsgResult::Ok);
        QWidget* target = m.w->childAt(where);
        QWidget* receiver = target ? target : m.w.get();
        QTest::mouseClick(receiver, Qt::LeftButton, {}, receiver->mapFrom(m.w.get(), where));
        QTest::qWait(50);
        QCOMPARE(closer.closed.contains(QStringLiteral("frmAbout")), about);
    }

    void resizeScalesInProportion() {
        MainWindow m;
        QWidget* field = m.number(Quad1, 1);
        const QRect field0 = field->geometry();
        const qreal font0 = field->font().pointSizeF();
        const QSize size0 = m.w->size();
        m.w->resize(size0 * 2);
        QTest::qWait(0);
        QCOMPARE(field->geometry(), QRect(field0.topLeft() * 2, field0.size() * 2));
        QCOMPARE(field->font().pointSizeF(), font0 * 2);
        m.w->resize(size0);
        QTest::qWait(0);
        QCOMPARE(field->geometry(), field0);
        // Half the size still holds every control (a small or magnified screen).
        m.w->resize(size0 / 2);
        QTest::qWait(0);
        QCOMPARE(m.w->size(), size0 / 2);
        for (const QWidget* c : m.w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            QVERIFY2(m.w->rect().contains(c->geometry()), qPrintable(c->objectName()));
    }
};

QTEST_MAIN(TestFrmMain)
#include "test_frmmain.moc"
