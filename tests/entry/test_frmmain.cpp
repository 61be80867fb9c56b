// The main window as the user meets it: number entry and its checks, the head
// number, the random fill, the stakes, the colours and closing.
#include "mainwindow.h"

#include "entry/dialogs.h"
#include "entry/frmColourPicker.h"

#include <QApplication>
#include <QTimer>
#include <set>

using namespace corpo;
using namespace entrytest;

Q_DECLARE_METATYPE(corpo::Cluster)

namespace {

Cluster with(Cluster c, int g, int p, int value) {
    c[size_t(g)][size_t(p)] = value;
    return c;
}

QString focusName() {
    QWidget* f = QApplication::focusWidget();
    return f ? f->objectName() : QString();
}

} // namespace

class TestFrmMain : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { InstallFontSubstitutions(); }

    void loadShowsTheEmptySystem() {
        MainWindow m;
        QCOMPARE(m.w->windowTitle(),
                 QStringLiteral("Bramasolovanti by Marvolt - Versione 0.3.2 - Freeware"));
        QCOMPARE(m.w->objectName(), QStringLiteral("frmMain"));
        for (int g = 0; g < NumGruppi; ++g) {
            for (int p = 0; p < GroupSize[size_t(g)]; ++p)
                QCOMPARE(m.number(g, p)->text(), QStringLiteral("  "));
            for (int k = 0; k < StakeCount[size_t(g)]; ++k)
                QCOMPARE(m.stake(g, k)->text(), QStringLiteral("0,00"));
        }
        QCOMPARE(m.total(), QStringLiteral("0,00"));
        QCOMPARE(m.nameLabel(), QStringLiteral("vuoto.vrl"));
        QCOMPARE(m.wheels()->count(), 12);
        QCOMPARE(m.wheels()->currentText(), QStringLiteral("Bari"));
        QVERIFY(!m.button(QStringLiteral("cmdColoraCapogioco"))->isEnabled());
        QCOMPARE(IntestazioneStampa, QStringLiteral("Intestazione"));
        QCOMPARE(m.fieldColour(Terz1, 1), QColor(255, 255, 128));
        QCOMPARE(m.w->grape(14)->colore(), QColor(255, 255, 128));
        QCOMPARE(Sistema.NomeSistema, QStringLiteral("vuoto.vrl           "));
        QCOMPARE(Sistema.ImportoSistema, 0.0f);
        QVERIFY(m.script.messages().isEmpty());
    }

    void verifica_data() {
        QTest::addColumn<Cluster>("values");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        const Cluster ok = goodCluster();
        QTest::newRow("complete") << ok << QString() << QString();
        const QStringList incomplete = {
            "La prima cinquina non è completa!!!", "La seconda cinquina non è completa!!!",
            "La prima quaterna non è completa!!!", "La seconda quaterna non è completa!!!",
            "Il primo terno non è completo!!!",    "Il secondo terno non è completo!!!",
            "Il primo ambo non è completo!!!",     "Il secondo ambo non è completo!!!"};
        for (int g = 0; g < Estratto; ++g)
            QTest::addRow("incomplete %s", qPrintable(NumberFieldName(g, 1)))
                << with(ok, g, 1, 0) << incomplete[g] << NumberFieldName(g, 1);
        QTest::newRow("estratto") << with(ok, Estratto, 0, 0)
                                  << QStringLiteral("Valore estratto non ammesso!!!")
                                  << QStringLiteral("txtEstratto");
        const QStringList duplicate = {"Valore duplicato nella prima cinquina!!!",
                                       "Valore duplicato nella seconda cinquina!!!",
                                       "Valore duplicato nella prima quaterna!!!",
                                       "Valore duplicato nella seconda quaterna!!!",
                                       "Valore duplicato nel primo terno!!!",
                                       "Valore duplicato nel secondo terno!!!",
                                       "Valore duplicato nel primo ambo!!!",
                                       "Valore duplicato nel secondo ambo!!!"};
        for (int g = 0; g < Estratto; ++g) {
            const Cluster v = with(ok, g, 1, ok[size_t(g)][0]);
            QTest::addRow("duplicate %s", qPrintable(NumberFieldName(g, 1)))
                << v << duplicate[g] << NumberFieldName(g, g >= Ambo1 ? 0 : 1);
        }
    }
    void verifica() {
        QFETCH(Cluster, values);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        MainWindow m;
        m.setNumbers(values);
        m.button(QStringLiteral("cmdApri"))->setFocus(); // somewhere else than the fields
        const QByteArray before = recordBytes();
        const bool ok = m.w->VerificaSistema();
        QCOMPARE(ok, message.isEmpty());
        if (ok) {
            QVERIFY(m.script.messages().isEmpty());
            QCOMPARE(focusName(), QStringLiteral("cmdApri"));
        } else {
            QCOMPARE(m.script.messages().size(), 1);
            const Shown s = m.script.messages().constFirst();
            QCOMPARE(s.text, message);
            QCOMPARE(s.title, QStringLiteral("Attenzione!!"));
            QCOMPARE(s.icon, MsgIcon::Critical);
            QCOMPARE(s.buttons, MsgButtons::Ok);
            QCOMPARE(focusName(), focus);
        }
        // What reached the record: every group before the failing one (all
        // of them when the check passed), and nothing after it.
        int failedGroup = NumGruppi;
        for (int g = 0; g < NumGruppi && !ok; ++g)
            for (int p = 0; p < GroupSize[size_t(g)]; ++p)
                if (NumberFieldName(g, p) == focus)
                    failedGroup = g;
        const bool duplicateFault = message.startsWith(QStringLiteral("Valore duplicato"));
        SystemRecord expected = DecodeRecord(before);
        for (int g = 0; g < NumGruppi; ++g) {
            if (!duplicateFault && g >= failedGroup)
                break;
            for (int p = 0; p < GroupSize[size_t(g)]; ++p)
                RecordNumbers(expected, g)[p] = uint8_t(values[size_t(g)][size_t(p)]);
        }
        if (!duplicateFault && failedGroup < NumGruppi)
            for (int p = 0; values[size_t(failedGroup)][size_t(p)] != 0; ++p)
                RecordNumbers(expected, failedGroup)[p] =
                    uint8_t(values[size_t(failedGroup)][size_t(p)]);
        QCOMPARE(recordBytes().toHex(), EncodeRecord(expected).toHex());
    }

    void keyFilter_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("beep");
        QTest::addColumn<QString>("after");
        const QString num = QStringLiteral("txtQuad2_1");
        const QString imp = QStringLiteral("txtImpQuad2_1");
        QTest::newRow("number: letter") << num << int(Qt::Key_A) << "a" << true << "4";
        QTest::newRow("number: minus") << num << int(Qt::Key_Minus) << "-" << true << "4";
        QTest::newRow("number: Enter") << num << int(Qt::Key_Return) << "" << true << "4";
        QTest::newRow("number: full stop") << num << int(Qt::Key_Period) << "." << true << "4";
        QTest::newRow("number: comma") << num << int(Qt::Key_Comma) << "," << true << "4";
        QTest::newRow("number: space") << num << int(Qt::Key_Space) << " " << true << "4";
        QTest::newRow("number: digit") << num << int(Qt::Key_7) << "7" << false << "47";
        QTest::newRow("number: backspace") << num << int(Qt::Key_Backspace) << "" << false << "";
        QTest::newRow("stake: letter") << imp << int(Qt::Key_X) << "x" << true << "4";
        QTest::newRow("stake: minus") << imp << int(Qt::Key_Minus) << "-" << true << "4";
        QTest::newRow("stake: Enter") << imp << int(Qt::Key_Return) << "" << true << "4";
        QTest::newRow("stake: full stop") << imp << int(Qt::Key_Period) << "." << true << "4";
        QTest::newRow("stake: digit") << imp << int(Qt::Key_0) << "0" << false << "40";
        QTest::newRow("stake: comma") << imp << int(Qt::Key_Comma) << "," << false << "4,";
        QTest::newRow("stake: backspace") << imp << int(Qt::Key_Backspace) << "" << false << "";
    }
    void keyFilter() {
        QFETCH(QString, field);
        QFETCH(int, key);
        QFETCH(QString, typed);
        QFETCH(bool, beep);
        QFETCH(QString, after);
        MainWindow m;
        QLineEdit* f = m.get(field);
        f->setText(QStringLiteral("4"));
        f->setFocus(Qt::TabFocusReason);
        QTest::qWait(0);
        f->end(false);
        if (key == Qt::Key_Return)
            QTest::keyClick(f, Qt::Key_Return);
        else if (typed.isEmpty())
            QTest::keyClick(f, Qt::Key(key));
        else
            QTest::keyClick(f, typed.at(0).toLatin1());
        QCOMPARE(f->text(), after);
        QCOMPARE(m.script.beeps(), beep ? 1 : 0);
        QVERIFY(m.script.messages().isEmpty());
    }

    void stakeFieldsHoldFiveCharacters() {
        MainWindow m;
        QLineEdit* f = m.stake(Cinq1, 0);
        f->setFocus(Qt::TabFocusReason);
        QTest::qWait(0);
        QTest::keyClicks(f, QStringLiteral("123,456"));
        QCOMPARE(f->text(), QStringLiteral("123,4"));
        QCOMPARE(m.script.beeps(), 0);
    }

    void rangeCheckOnTyping_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<QString>("after");
        QTest::newRow("95") << "95" << true << "00";
        QTest::newRow("91") << "91" << true << "00";
        QTest::newRow("90") << "90" << false << "90";
        QTest::newRow("1") << "1" << false << "1";
        QTest::newRow("0") << "0" << false << "0";
    }
    void rangeCheckOnTyping() {
        QFETCH(QString, typed);
        QFETCH(bool, refused);
        QFETCH(QString, after);
        MainWindow m;
        QLineEdit* f = m.number(Cinq2, 3);
        f->setFocus(Qt::TabFocusReason);
        QTest::qWait(0);
        QCOMPARE(f->selectedText(), QStringLiteral("  ")); // typing replaces the old value
        QTest::keyClicks(f, typed);
        QCOMPARE(f->text(), after);
        for (const Shown& s : m.script.messages())
            qDebug() << s.text << s.title;
        QCOMPARE(m.script.messages().size(), refused ? 1 : 0);
        if (refused) {
            const Shown s = m.script.messages().constFirst();
            QCOMPARE(s.text, QStringLiteral("I valori possibili sono da 1 a 90"));
            QCOMPARE(s.title, QStringLiteral("Errore"));
            QCOMPARE(s.icon, MsgIcon::Critical);
            QCOMPARE(f->selectedText(), QStringLiteral("00"));
            // Typing again replaces the "00".
            QTest::keyClicks(f, QStringLiteral("12"));
            QCOMPARE(f->text(), QStringLiteral("12"));
        }
    }

    void rangeCheckOnProgramWrites() {
        MainWindow m;
        m.number(Terz1, 2)->setText(QStringLiteral("99"));
        QCOMPARE(m.script.messages().size(), 1);
        QCOMPARE(m.number(Terz1, 2)->text(), QStringLiteral("00"));
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
        QTest::newRow("-4") << "-4" << true << 0;
        QTest::newRow("7") << "7" << false << 7;
        QTest::newRow("7.5 rounds to 8") << "7.5" << false << 8;
        QTest::newRow("8.5 rounds to 8") << "8.5" << false << 8;
        QTest::newRow("90") << "90" << false << 90;
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
        QCOMPARE(input.kind, Shown::Input);
        QCOMPARE(input.text, QStringLiteral("Inserisci il capogioco (1-90)"));
        QCOMPARE(input.title, QStringLiteral("CAPOGIOCO"));
        QCOMPARE(input.defaultText, QStringLiteral("0"));
        const QList<Shown> messages = m.script.messages().mid(1);
        if (refused) {
            QCOMPARE(messages.size(), 1);
            QCOMPARE(messages[0].text, QStringLiteral("I valori possibili sono da 1 a 90"));
            QCOMPARE(messages[0].title, QStringLiteral("Errore"));
            QCOMPARE(messages[0].icon, MsgIcon::Critical);
        } else {
            QVERIFY(messages.isEmpty()); // the system stays valid: nothing to say
        }
        if (head == 0) {
            QCOMPARE(m.fieldTexts(), before);
            QCOMPARE(int(Sistema.Capogioco), 0);
            QVERIFY(!m.button(QStringLiteral("cmdColoraCapogioco"))->isEnabled());
            QCOMPARE(m.w->grape(14)->colore(), QColor(255, 255, 128));
            return;
        }
        for (int g = 0; g < NumGruppi; ++g) {
            QCOMPARE(m.number(g, 0)->text(), QString::number(head));
            QCOMPARE(int(RecordNumbers(Sistema, g)[0]), head); // the check copied it
            QCOMPARE(m.fieldColour(g, 0), ToQColor(ColoreCapogioco));
            if (GroupSize[size_t(g)] > 1)
                QCOMPARE(m.fieldColour(g, 1), QColor(255, 255, 128));
        }
        for (int grape : frmMain::HeadGrapes)
            QCOMPARE(m.w->grape(grape)->colore(), ToQColor(ColoreCapogioco));
        QCOMPARE(m.w->grape(1)->colore(), QColor(255, 255, 128));
        QCOMPARE(int(Sistema.Capogioco), head);
        QVERIFY(m.button(QStringLiteral("cmdColoraCapogioco"))->isEnabled());
        QVERIFY(ColoreCapogioco >= 0 && ColoreCapogioco <= 0xFFFFFF);
    }

    void newHeadNumberKeepsItsColour() {
        MainWindow m;
        m.setNumbers(goodCluster());
        m.script.queueInput(QStringLiteral("7"));
        m.w->ImpostaCapogioco(1);
        const int32_t colour = ColoreCapogioco;
        m.script.queueInput(QStringLiteral("9"));
        m.w->ImpostaCapogioco(1);
        QCOMPARE(m.script.shown.last().defaultText, QStringLiteral("7"));
        QCOMPARE(ColoreCapogioco, colour);
        QCOMPARE(m.number(Estratto, 0)->text(), QStringLiteral("9"));
        QCOMPARE(m.fieldColour(Estratto, 0), ToQColor(colour));
    }

    void randomFill_data() {
        QTest::addColumn<int>("head");
        for (int round = 0; round < 3; ++round) {
            QTest::addRow("no head %d", round) << 0;
            QTest::addRow("head 7 %d", round) << 7;
            QTest::addRow("head 90 %d", round) << 90;
        }
    }
    void randomFill() {
        QFETCH(int, head);
        MainWindow m;
        if (head) {
            m.script.queueInput(QString::number(head));
            m.w->ImpostaCapogioco(1);
        }
        const int32_t headColour = ColoreCapogioco;
        m.script.clear();
        QTest::mouseClick(m.button(QStringLiteral("cmdCasuale")), Qt::LeftButton);
        QVERIFY(m.script.messages().isEmpty());
        std::multiset<int> drawn;
        for (int g = 0; g < Estratto; ++g)
            for (int p = 0; p < GroupSize[size_t(g)]; ++p) {
                const int n = m.number(g, p)->text().toInt();
                QCOMPARE(int(RecordNumbers(Sistema, g)[p]), n);
                if (head && p == 0) {
                    QCOMPARE(n, head);
                    continue;
                }
                QVERIFY(n >= 1 && n <= 90);
                QVERIFY(n != head);
                drawn.insert(n);
            }
        // All different from each other (and so 28 of them without a head number).
        QCOMPARE(std::set<int>(drawn.begin(), drawn.end()).size(), drawn.size());
        QCOMPARE(int(drawn.size()), head ? 20 : 28);
        const int estratto = m.number(Estratto, 0)->text().toInt();
        QVERIFY(estratto >= 1 && estratto <= 90);
        if (head) {
            QCOMPARE(estratto, head);
            QCOMPARE(int(Sistema.Capogioco), head);
            QCOMPARE(ColoreCapogioco, headColour);
            QCOMPARE(m.w->grape(14)->colore(), ToQColor(headColour));
        }
    }

    void stakeFormatting_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<float>("stored");
        QTest::newRow("1,5") << "1,5" << "1,50" << 1.5f;
        QTest::newRow("7") << "7" << "7,00" << 7.0f;
        QTest::newRow(",5") << ",5" << "0,50" << 0.5f;
        QTest::newRow("comma only") << "," << "0,00" << 0.0f;
        QTest::newRow("emptied") << "" << "0,00" << 0.0f;
        QTest::newRow("two commas") << "1,,5" << "0,00" << 0.0f;
        QTest::newRow("cents") << "0,05" << "0,05" << 0.05f;
    }
    void stakeFormatting() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(float, stored);
        MainWindow m;
        m.stake(Cinq1, 0)->setText(QStringLiteral("2,00"));
        QLineEdit* f = m.stake(Terz2, 1);
        f->setFocus(Qt::TabFocusReason);
        QTest::qWait(0);
        QCOMPARE(f->selectedText(), QStringLiteral("0,00"));
        QTest::keyClick(f, Qt::Key_Backspace);
        QTest::keyClicks(f, typed);
        QTest::keyClick(f, Qt::Key_Tab);
        QCOMPARE(focusName(), QStringLiteral("txtImpAmbo1"));
        QCOMPARE(f->text(), shown);
        QCOMPARE(Sistema.ImpTerz2[1], stored);
        QCOMPARE(Sistema.ImpCinq1[0], 2.0f);
        QCOMPARE(m.total(), FormatTotal(2.0f + stored));
        QCOMPARE(Sistema.ImportoSistema, float(2.0f + stored));
        QCOMPARE(m.script.beeps(), 0);
    }

    void presets_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QStringList>("firstRow");
        QTest::addColumn<QStringList>("lastThree");
        QTest::newRow("10") << "cmd10Euro" << "10,00" << QStringList{"1,00", "0,30", "0,15", "0,05"}
                            << QStringList{"1,00", "1,00", "1,00"};
        QTest::newRow("20") << "cmd20Euro" << "20,00" << QStringList{"1,85", "0,85", "0,25", "0,05"}
                            << QStringList{"1,50", "1,50", "3,00"};
    }
    void presets() {
        QFETCH(QString, button);
        QFETCH(QString, total);
        QFETCH(QStringList, firstRow);
        QFETCH(QStringList, lastThree);
        MainWindow m;
        QTest::mouseClick(m.button(button), Qt::LeftButton);
        QCOMPARE(m.total(), total);
        for (int k = 0; k < 4; ++k) {
            QCOMPARE(m.stake(Cinq1, k)->text(), firstRow[k]);
            QCOMPARE(m.stake(Cinq2, k)->text(), firstRow[k]);
        }
        QCOMPARE(m.stake(Ambo1, 0)->text(), lastThree[0]);
        QCOMPARE(m.stake(Ambo2, 0)->text(), lastThree[1]);
        QCOMPARE(m.stake(Estratto, 0)->text(), lastThree[2]);
        QCOMPARE(FormatTotal(Sistema.ImportoSistema), total);
    }

    void colourPicker_data() {
        QTest::addColumn<QString>("which");  // button pressed
        QTest::addColumn<QString>("action"); // what the user does in the picker
        QTest::addColumn<bool>("apply");
        for (const char* which : {"cmdColoreVorlacco", "cmdColoraCapogioco"})
            for (const char* action : {"palette", "random", "dialog", "dialog cancelled"})
                for (bool apply : {false, true})
                    QTest::addRow("%s %s %s", which, action, apply ? "apply" : "close")
                        << which << action << apply;
    }
    void colourPicker() {
        QFETCH(QString, which);
        QFETCH(QString, action);
        QFETCH(bool, apply);
        MainWindow m;
        m.script.queueInput(QStringLiteral("5"));
        m.w->ImpostaCapogioco(1);
        ColoreCapogioco = 0x000000FF;
        m.w->ImpostaColoreVorlacco(ColoreVorlacco);
        const bool cluster = which == QStringLiteral("cmdColoreVorlacco");
        const int32_t storedCluster = ColoreVorlacco;
        const int32_t storedHead = ColoreCapogioco;
        testing::SetColourDialog([&](QWidget*, int32_t initial) -> std::optional<int32_t> {
            if (initial != (cluster ? storedCluster : storedHead))
                qWarning("colour dialog started from %x", unsigned(initial));
            if (action == QStringLiteral("dialog cancelled"))
                return std::nullopt;
            return 0x00204060;
        });
        int32_t previewed = -1, initial = -1, underPointer = -1;
        QString title;
        QColor previewGrape, previewHeadGrape, previewField;
        bool ran = false;
        // Nothing in here may return early: the picker must always be closed.
        QTimer::singleShot(0, [&] {
            auto* picker = qobject_cast<frmColourPicker*>(QApplication::activeModalWidget());
            if (!picker)
                return;
            ran = true;
            title = picker->windowTitle();
            initial = picker->ColoreScelto;
            if (action == QStringLiteral("palette")) {
                QWidget* palette = picker->findChild<QWidget*>(QStringLiteral("Col_Palette_0"));
                QTest::mousePress(palette, Qt::LeftButton, {}, QPoint(10, 10));
                QTest::mouseMove(palette, QPoint(200, 90));
                QTest::mouseRelease(palette, Qt::LeftButton, {}, QPoint(200, 90));
                underPointer = picker->PaletteColour(0, QPointF(200, 90));
            } else if (action == QStringLiteral("random")) {
                picker->findChild<QPushButton*>(QStringLiteral("cmdGeneraColore"))->click();
            } else {
                picker->findChild<QPushButton*>(QStringLiteral("cmdGetColour"))->click();
            }
            previewed = picker->ColoreScelto;
            previewGrape = m.w->grape(1)->colore();
            previewHeadGrape = m.w->grape(24)->colore();
            previewField = m.fieldColour(Estratto, 0);
            if (apply)
                picker->findChild<QPushButton*>(QStringLiteral("cmdSalva"))->click();
            else
                picker->close();
        });
        m.button(which)->click();
        testing::SetColourDialog({});
        QVERIFY(ran);
        QCOMPARE(title, QStringLiteral("Scegli il colore"));
        QCOMPARE(initial, cluster ? storedCluster : storedHead);
        if (action == QStringLiteral("palette")) {
            // Dragging with the button held previews what lies under the pointer.
            QCOMPARE(previewed, underPointer);
            QVERIFY(underPointer != -1);
        }
        QVERIFY(SceltaColore.isEmpty());
        QVERIFY(previewed >= 0 && previewed <= 0xFFFFFF);
        if (action == QStringLiteral("dialog cancelled"))
            QCOMPARE(previewed, cluster ? storedCluster : storedHead);
        if (action == QStringLiteral("dialog"))
            QCOMPARE(previewed, 0x00204060);
        // While the picker was open the window showed the choice, on the
        // grapes of the kind edited only.
        if (cluster) {
            QCOMPARE(previewGrape, ToQColor(previewed));
            QCOMPARE(previewHeadGrape, ToQColor(storedHead));
        } else {
            QCOMPARE(previewGrape, ToQColor(storedCluster));
            QCOMPARE(previewHeadGrape, ToQColor(previewed));
            QCOMPARE(previewField, ToQColor(previewed));
        }
        const int32_t clusterNow = cluster && apply ? previewed : storedCluster;
        const int32_t headNow = !cluster && apply ? previewed : storedHead;
        QCOMPARE(ColoreVorlacco, clusterNow);
        QCOMPARE(ColoreCapogioco, headNow);
        for (int i = 0; i < NumNumeri; ++i) {
            const bool headGrape =
                std::find(frmMain::HeadGrapes.begin(), frmMain::HeadGrapes.end(), i) !=
                frmMain::HeadGrapes.end();
            QCOMPARE(m.w->grape(i)->colore(), ToQColor(headGrape ? headNow : clusterNow));
        }
        QCOMPARE(m.fieldColour(Cinq1, 0), ToQColor(headNow));
        QCOMPARE(m.fieldColour(Cinq1, 1), ToQColor(clusterNow));
    }

    void closeConfirmation_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("No keeps everything") << int(MsgResult::No);
        QTest::newRow("Yes closes every window") << int(MsgResult::Yes);
    }
    void closeConfirmation() {
        QFETCH(int, answer);
        MainWindow m;
        m.setNumbers(goodCluster());
        QWidget other;
        other.setObjectName(QStringLiteral("frmAltra"));
        other.show();
        const QStringList before = m.fieldTexts();
        m.script.queueAnswer(MsgResult(answer));
        const bool closed = m.w->close();
        QCOMPARE(m.script.messages().size(), 1);
        const Shown s = m.script.messages().constFirst();
        QCOMPARE(s.text, QStringLiteral("Uscire dall'applicazione?"));
        QCOMPARE(s.title, m.w->windowTitle());
        QCOMPARE(s.icon, MsgIcon::Question);
        QCOMPARE(s.buttons, MsgButtons::YesNo);
        const bool yes = MsgResult(answer) == MsgResult::Yes;
        QCOMPARE(closed, yes);
        QCOMPARE(m.w->isVisible(), !yes);
        QCOMPARE(other.isVisible(), !yes);
        QCOMPARE(m.fieldTexts(), before);
    }

    void buttonsCheckFirst_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("complete");
        QTest::addColumn<bool>("checks");
        QTest::addColumn<bool>("disables");
        QTest::newRow("Vincite incomplete") << "cmdVincite" << false << false << false;
        QTest::newRow("Tabulato incomplete") << "cmdPrnTabulato" << false << true << false;
        QTest::newRow("Tabulato complete") << "cmdPrnTabulato" << true << true << false;
        QTest::newRow("Schedine incomplete") << "cmdPrnSchedine" << false << true << false;
        QTest::newRow("Schedine complete") << "cmdPrnSchedine" << true << true << true;
    }
    void buttonsCheckFirst() {
        QFETCH(QString, button);
        QFETCH(bool, complete);
        QFETCH(bool, checks);
        QFETCH(bool, disables);
        MainWindow m;
        m.setNumbers(complete ? goodCluster() : with(goodCluster(), Ambo2, 1, 0));
        m.stake(Estratto, 0)->setText(QStringLiteral("2,5"));
        m.wheels()->setCurrentIndex(7);
        Sistema.Ruota = FixedString(QString(), 10);
        ModalCloser closer;
        m.button(button)->click();
        const bool refused = checks && !complete;
        // Only the window's own check counts here; the windows opened may
        // have their own things to say.
        QList<Shown> own;
        for (const Shown& s : m.script.messages())
            if (s.title == QStringLiteral("Attenzione!!"))
                own << s;
        QCOMPARE(own.size(), refused ? 1 : 0);
        if (refused)
            QCOMPARE(own[0].text, QStringLiteral("Il secondo ambo non è completo!!!"));
        if (checks)
            QCOMPARE(Sistema.Ruota, QStringLiteral("Roma      "));
        // The stakes are read unless the check stopped the button.
        QCOMPARE(Sistema.ImpEstratto, refused ? 0.0f : 2.5f);
        QCOMPARE(m.w->isEnabled(), !disables);
    }

    void tabOrderFollowsTheBunch() {
        MainWindow m;
        QStringList expected;
        for (int g = 0; g < NumGruppi; ++g)
            for (int p = 0; p < GroupSize[size_t(g)]; ++p)
                expected << NumberFieldName(g, p);
        for (int g = 0; g < NumGruppi; ++g)
            for (int k = 0; k < StakeCount[size_t(g)]; ++k)
                expected << StakeFieldName(g, k);
        expected << "cmdApri" << "cmdSalva" << "cmdCapogioco" << "cmdCasuale" << "cmdPrnSchedine"
                 << "cmdPrnTabulato" << "cmdCancella" << "cmd10Euro" << "cmd20Euro" << "cmdVincite"
                 << "cmbRuote";
        m.number(Cinq1, 0)->setFocus(Qt::TabFocusReason);
        QStringList walked{focusName()};
        for (int i = 1; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            walked << focusName();
        }
        QCOMPARE(walked, expected);
    }

    void mnemonics_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("effect");
        QTest::newRow("Alt+E clears") << int(Qt::Key_E) << "cleared";
        QTest::newRow("Alt+C asks the head number") << int(Qt::Key_C) << "input";
        QTest::newRow("Alt+P fills at random") << int(Qt::Key_P) << "filled";
    }
    void mnemonics() {
        QFETCH(int, key);
        QFETCH(QString, effect);
        MainWindow m;
        m.setNumbers(goodCluster());
        m.number(Cinq1, 0)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::AltModifier);
        // A mnemonic presses its button visibly: the click comes a moment later.
        if (effect == QStringLiteral("cleared"))
            QTRY_COMPARE(m.number(Quad1, 2)->text(), QStringLiteral("  "));
        if (effect == QStringLiteral("input")) {
            QTRY_COMPARE(m.script.shown.size(), 1);
            QCOMPARE(m.script.shown[0].title, QStringLiteral("CAPOGIOCO"));
        }
        if (effect == QStringLiteral("filled")) {
            QTRY_VERIFY(Sistema.Quad1[2] != 0);
            QCOMPARE(int(Sistema.Quad1[2]), m.number(Quad1, 2)->text().toInt());
            QVERIFY(m.number(Quad1, 2)->text() != QStringLiteral("23"));
        }
        QCOMPARE(m.script.beeps(), 0);
    }

    void clickOnTheBackground_data() {
        QTest::addColumn<QPoint>("where"); // in the window
        QTest::addColumn<bool>("about");
        QTest::newRow("bare window corner") << QPoint(670, 446) << true;
        QTest::newRow("between the buttons") << QPoint(596, 40) << true;
        QTest::newRow("logo picture") << QPoint(396, 32) << true;
        QTest::newRow("bunch picture") << QPoint(260, 420) << false;
        QTest::newRow("grape") << QPoint(20, 72) << false;
        QTest::newRow("kind label") << QPoint(300, 70) << false;
        QTest::newRow("stakes frame") << QPoint(480, 400) << false;
        QTest::newRow("button") << QPoint(630, 210) << false;
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

    void tooltips_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("tip");
        QTest::newRow("a") << "cmdApri" << "&Apri" << "Apri Sistema";
        QTest::newRow("s") << "cmdSalva" << "&Salva" << "Salva Sistema";
        QTest::newRow("c") << "cmdCapogioco" << "&Capogioco" << "Inserisci il capogioco di ogni schedina";
        QTest::newRow("p") << "cmdCasuale" << "&Previsione" << "Numeri Caldi";
        QTest::newRow("e") << "cmdCancella" << "Canc&ella" << "Cancella Sistema";
        QTest::newRow("10") << "cmd10Euro" << "10 €uro" << "Inserisce importo sistema a 10";
        QTest::newRow("20") << "cmd20Euro" << "20 €uro" << "Inserisce importo sistema a 20";
        QTest::newRow("v") << "cmdVincite" << "Quanto vinco?" << "Visualizza prospetto vincite";
        QTest::newRow("t") << "cmdPrnTabulato" << "&Tabulato" << "Stampa Tabulato";
        QTest::newRow("h") << "cmdPrnSchedine" << "Sc&hedine" << "Stampa Schedine";
    }
    void tooltips() {
        QFETCH(QString, button);
        QFETCH(QString, caption);
        QFETCH(QString, tip);
        MainWindow m;
        QCOMPARE(m.button(button)->text(), caption);
        QCOMPARE(m.button(button)->toolTip(), tip);
    }

    void layoutInPixels_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        // twips / 15, relative to the parent
        QTest::newRow("txtCinq1_0") << "txtCinq1_0" << QRect(32, 64, 25, 20);
        QTest::newRow("txtCinq2_4") << "txtCinq2_4" << QRect(216, 104, 25, 20);
        QTest::newRow("txtEstratto") << "txtEstratto" << QRect(176, 384, 25, 20);
        QTest::newRow("ellissi_14") << "ellissi_14" << QRect(152, 368, 73, 49);
        QTest::newRow("ellissi_24") << "ellissi_24" << QRect(32, 88, 73, 49);
        QTest::newRow("ellissi_16") << "ellissi_16" << QRect(168, 328, 73, 49);
        QTest::newRow("Frame2") << "Frame2" << QRect(280, 64, 233, 369);
        QTest::newRow("txtImpCinq2_3") << "txtImpCinq2_3" << QRect(184, 56, 41, 19);
        QTest::newRow("txtImpEstratto") << "txtImpEstratto" << QRect(16, 336, 41, 19);
        QTest::newRow("cmdVincite") << "cmdVincite" << QRect(528, 264, 137, 41);
        QTest::newRow("Picture3") << "Picture3" << QRect(280, 8, 233, 49);
        QTest::newRow("picSfondoVorlacco") << "picSfondoVorlacco" << QRect(8, 8, 273, 433);
    }
    void layoutInPixels() {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        MainWindow m;
        QCOMPARE(m.get<QWidget>(name)->geometry(), geometry);
    }

    void resizeScalesInProportion_data() {
        QTest::addColumn<double>("factor");
        QTest::addColumn<double>("expected");
        QTest::newRow("double") << 2.0 << 2.0;
        QTest::newRow("one and a half") << 1.5 << 1.5;
        QTest::newRow("smaller stays at design") << 0.5 << 1.0;
    }
    void resizeScalesInProportion() {
        QFETCH(double, factor);
        QFETCH(double, expected);
        MainWindow m;
        QWidget* field = m.number(Quad1, 1);
        QWidget* stake = m.stake(Ambo2, 0);
        const QRect field0 = field->geometry();
        const QRect stake0 = stake->geometry();
        const qreal font0 = field->font().pointSizeF();
        const QSize size0 = m.w->size();
        m.w->resize(int(size0.width() * factor), int(size0.height() * factor));
        QTest::qWait(0);
        QVERIFY(m.w->width() >= size0.width());
        const double sx = std::max(1.0, double(m.w->width()) / size0.width());
        QVERIFY(std::abs(sx - expected) < 0.01);
        QVERIFY(std::abs(field->x() - field0.x() * sx) <= 1);
        QVERIFY(std::abs(field->width() - field0.width() * sx) <= 1);
        QVERIFY(std::abs(stake->y() - stake0.y() * sx) <= 1);
        QVERIFY(std::abs(field->font().pointSizeF() - font0 * sx) < 0.01);
        m.w->resize(size0);
        QTest::qWait(0);
        QCOMPARE(field->geometry(), field0);
        QCOMPARE(field->font().pointSizeF(), font0);
    }
};

QTEST_MAIN(TestFrmMain)
#include "test_frmmain.moc"
