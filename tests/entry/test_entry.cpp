// The main window as the user meets it: the bytes it saves, the files it and the other readers
// refuse, its checks, typing, the keyboard, the real colour dialog, the question before dropping.
#include "app/convert.h"
#include "app/finestre.h"
#include "app/settings.h"
#include "entry/dialogs.h"
#include "entry/frmMain.h"
#include "gioco/systemfile.h"
#include "outputs/taratura.h"
#include "tests/support/testsupport.h"
#include "winnings/acino.h"

#include <QAccessible>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtEndian>
#include <QtTest>
#include <bit>
#include <sys/stat.h>

using namespace corpo;
Q_DECLARE_METATYPE(corpo::Cluster)
struct Typed { // into a field, and what the user sees then
    QString field;
    QString typed;
    int beeps;
    QString shown, total, message;
};
Q_DECLARE_METATYPE(Typed)

namespace {

// f(group, position) for each of the 29 numbers, in the order of the bunch.
template <class F> void eachNumber(F f) {
    for (int g = 0; g < NumeroGruppi; ++g)
        for (int p = 0; p < Scommesse[size_t(g)].size; ++p)
            f(g, p);
}
// A complete system without repeats, bet g holding 10 g + position + 1, changed {g, p, value}.
Cluster goodCluster(std::initializer_list<std::array<int, 3>> changes = {}) {
    Cluster c{};
    eachNumber([&](int g, int p) { c[size_t(g)][size_t(p)] = 10 * g + p + 1; });
    for (auto [g, p, value] : changes)
        c[size_t(g)][size_t(p)] = value;
    return c;
}
QByteArray f32(float f) {
    const quint32 v = qToLittleEndian(std::bit_cast<quint32>(f));
    return QByteArray(reinterpret_cast<const char*>(&v), 4);
}
// What the user was shown, one "title|text" a line.
QString shown(const testing::Script& script, int skip = 0) {
    QStringList out;
    for (const Shown& s : script.messages().mid(skip))
        out << s.title + "|" + s.text;
    return out.join('\n');
}

// A loaded main window in a private application folder, the message layer
// answering from its script and the file dialogs from `answers`, in turn.
struct MainWindow {
    testsupport::AppFolder app{false};
    testing::Script script;
    QStringList answers; // the paths chosen; none left: cancelled
    QList<FileDialogRequest> asked;
    testing::FileDialogScope dialogs{[this](QWidget*, const FileDialogRequest& r) {
        asked << r;
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }};
    std::unique_ptr<frmMain> w;

    MainWindow() {
        app.write("ruote.vrc", "Bari,Cagliari,Firenze,Genova,Milano,Napoli\r\n"
                               "Palermo,Roma,Torino,Venezia,Nazionale,Tutte\r\n");
        app.write("impostazioni.cfg", "Intestazione\r\nPDF\r\n");
        w = std::make_unique<frmMain>();
        w->carica();
        w->show();
        w->activateWindow();
        if (!QTest::qWaitForWindowActive(w.get()))
            qWarning("main window not active");
        script.clear();
    }
    ~MainWindow() {
        script.queueAnswer(MsgResult::Yes); // closing asks first: let it through
        w.reset();
    }
    QPushButton* button(const QString& name) const { return w->findChild<QPushButton*>(name); }
    QString text(const QString& name) const {
        return w->findChild<QWidget*>(name)->property("text").toString();
    }
    void setNumbers(const Cluster& values) const {
        eachNumber([&](int g, int p) {
            w->campoNumero(g, p)->setText(QString::number(values[size_t(g)][size_t(p)]));
        });
    }
    void setHead(int head) {
        script.queueInput(QString::number(head));
        w->ImpostaCapogioco(1);
    }
    // Every text a user can read in the fields, and the colours of the bunch.
    QStringList fieldTexts() const {
        QStringList out;
        eachNumber([&](int g, int p) {
            out << w->campoNumero(g, p)->text()
                << w->campoNumero(g, p)->palette().color(QPalette::Base).name();
        });
        for (const StakeSlot& s : StakeOrder())
            out << w->campoImporto(s.group, s.index)->text();
        return out << text("txtImportoSistema") << text("lblNomeSistema")
                   << w->findChild<QComboBox*>("cmbRuote")->currentText()
                   << w->acino(1)->colore().name() << w->acino(24)->colore().name();
    }
};

} // namespace

class TestEntry : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { QTest::failOnWarning(QRegularExpression("out of range")); } // off an image
    void savedBytesAndBack() {
        MainWindow m;
        const QStringList fresh = m.fieldTexts();
        testsupport::CheckGoldenWindow("tests/entry/golden/frmMain_nuovo.txt", m.w.get());
        m.setNumbers(goodCluster());
        m.setHead(45);
        m.w->ImpostaColoreVorlacco(m.w->documento().colori.vorlacco = 0x00123456);
        m.w->ImpostaColoreCapogioco(m.w->documento().colori.capogioco = 0x00FEDCBA);
        m.w->findChild<QComboBox*>("cmbRuote")->setCurrentIndex(5); // Napoli
        QTest::mouseClick(m.button("cmd10Euro"), Qt::LeftButton);
        testsupport::CheckGoldenWindow("tests/entry/golden/frmMain_pieno.txt", m.w.get());
        m.w->documento().sistema.VinCinq1 = {25, 210, 4290, 319600};
        m.w->documento().sistema.VinCinq2 = {-0.0f, 1e30f};
        m.w->documento().sistema.VinEstratto = 11.232f;
        // Saving over a longer file leaves exactly the new bytes.
        const QString name = "Un Nome Davvero Lunghissimo.vrl";
        m.app.write(name, QByteArray(1000, 'x'));
        m.answers = {m.app.file(name), m.app.file(name)};
        QTest::mouseClick(m.button("cmdSalva"), Qt::LeftButton);
        QCOMPARE(shown(m.script, 1), ""); // after the head number
        const FileDialogRequest r = m.asked.value(0);
        QCOMPARE(QStringList({r.folder, r.filter, r.defaultSuffix}),
                 QStringList({m.app.path() + "sistemi", "Sistemi Bramasolovanti (*.vrl)", "vrl"}));
        QVERIFY(r.save && QDir(r.folder).exists()); // made when missing
        QByteArray expected = "VorlaccoQRV001Napoli    Un Nome Davvero Lung" + f32(10.0f);
        // The numbers, the head number first in each bet, then the estratto and the head number.
        expected += QByteArray::fromHex("2d02030405 2d0c0d0e0f 2d161718 2d202122 2d2a2b 2d3435 "
                                        "2d3e 2d48 2d 2d");
        // The stakes bet by bet, then the winnings.
        for (float v : {1.0f, 0.3f, 0.15f, 0.05f, 1.0f,   0.3f,    0.15f,     0.05f, 0.6f,
                        0.3f, 0.1f, 0.6f,  0.3f,  0.1f,   0.75f,   0.25f,     0.75f, 0.25f,
                        1.0f, 1.0f, 1.0f,  25.0f, 210.0f, 4290.0f, 319600.0f, -0.0f, 1e30f})
            expected += f32(v);
        expected += QByteArray(56, '\0') + f32(11.232f) + QByteArray::fromHex("56341200badcfe00");
        const QByteArray onDisk = m.app.read(name);
        QCOMPARE(onDisk.toHex(), expected.toHex());
        QCOMPARE(m.text("lblNomeSistema"), "un nome davvero lung");
        QStringList before = m.fieldTexts();
        before.replace(before.indexOf("un nome davvero lung"), "Un Nome Davvero Lung");

        m.button("cmdCancella")->click();
        QCOMPARE(m.fieldTexts(), fresh); // every field emptied, the colours as at start
        QVERIFY(!m.button("cmdColoraCapogioco")->isEnabled()); // no head number to colour
        QTest::mouseClick(m.button("cmdApri"), Qt::LeftButton);
        QCOMPARE(shown(m.script, 1), ""); // after the head number
        // The record and the colours come back bit for bit, the name as stored.
        QCOMPARE(EncodeRecord(m.w->documento().sistema).toHex(), onDisk.mid(14, 232).toHex());
        QCOMPARE(m.fieldTexts(), before);
        QCOMPARE(m.w->acino(3)->colore(), QColor(0x56, 0x34, 0x12));
        QCOMPARE(m.w->acino(14)->colore(), QColor(0xBA, 0xDC, 0xFE));
        // The older files, without colours, open alike and leave the colours be.
        for (const char* header : {"Bramasolovanti", "Il Bramasolovanti"}) {
            m.button("cmdCancella")->click();
            m.app.write("old.vrl", header + onDisk.mid(14, 232));
            m.w->ApriFileSistema(m.app.file("old.vrl"));
            QCOMPARE(EncodeRecord(m.w->documento().sistema).toHex(), onDisk.mid(14, 232).toHex());
        }
        QCOMPARE(m.w->documento().colori.vorlacco, ColoreVorlaccoPredefinito);
        // A saved wheel missing from the list is said and left to choose,
        // never swapped for another; the winnings wait for the choice.
        for (const char* wheel : {"Atlantide", ""}) {
            m.w->documento().sistema.Ruota = wheel;
            m.app.write("s.vrl", EncodeSystemFile(m.w->documento().sistema, 0, 0));
            m.script.clear();
            m.w->ApriFileSistema(m.app.file("s.vrl"));
            m.button("cmdVincite")->click();
            const QString
                choose = "Scegliere la ruota dall'elenco.",
                why = *wheel ? "La ruota \"Atlantide\" del sistema non è nell'elenco delle ruote."
                             : "Il sistema non indica la ruota.";
            QCOMPARE(shown(m.script),
                     "Attenzione|" + why + "\r\n" + choose + "\nAttenzione|" + choose);
            QCOMPARE(QApplication::focusWidget()->objectName(), "cmbRuote");
        }
    }

    // Every reader against what it cannot take: at once a message; nothing held or on disk changes.
    void refusedChangeNothing_data() {
        QTest::addColumn<QString>("action");     // a button, or the file another reader reads
        QTest::addColumn<QString>("target");     // in the application folder; "-": not asked
        QTest::addColumn<QByteArray>("content"); // or <none> <fifo> <folder> <zero> <2 GB>
        QTest::addColumn<QString>("message");    // "title|text"; %1: the target
        const QString open = "cmdApri", save = "cmdSalva", f = "guasto.vrl", vrc = "ruote.vrc";
        const QString cfg = "impostazioni.cfg", cal = NomeFileTaratura;
        const QByteArray good = EncodeSystemFile(SystemRecord{}, 1, 2), none = "<none>";
        const QString error = "E R R O R E|", foreign = error + "Questo file non puo' essere letto";
        const auto patched = [&](int at, const QByteArray& bytes) {   // 48: first number,
            return QByteArray(good).replace(at, bytes.size(), bytes); // 77: head, 78: stake
        };
        // clang-format off
        QTest::newRow("one byte short") << open << f << good.left(253) << error + "Il file è "
            "incompleto: è più corto di quanto indica la sua intestazione.\r\nIl sistema corrente "
            "non è stato modificato.";
        QTest::newRow("number 91") << open << f << patched(48, "\x5b") << foreign;
        QTest::newRow("head number 255") << open << f << patched(77, "\xff") << foreign;
        QTest::newRow("stake NaN") << open << f << patched(78, f32(NAN)) << foreign;
        QTest::newRow("stake 200.01") << open << f << patched(78, f32(200.01f)) << foreign;
        QTest::newRow("stake 0,005") << open << f << patched(78, f32(0.005f)) << foreign;
        QTest::newRow("missing file") << open << f << none
            << error + "Impossibile leggere il file\r\n%1\r\n(file non trovato).";
        QTest::newRow("folder is a file") << save << "bloccato/sistema.vrl" << none
                                          << error + "Il sistema non è stato salvato in\r\n%1\r\n(cartella non trovata).";
        QTest::newRow("save as the empty system") << save << "vuoto.vrl" << none
            << "Attenzione|Impostare un nome diverso da\r\n[vuoto.vrl]";
        QTest::newRow("save incomplete: no dialog")
            << save << "-" << none << "Attenzione!!|Il secondo ambo non è completo!!!";
        // clang-format on
        const QString access = "Bramasolovanti|Errore 75 (%2) nella procedura ";
        const QMap<QString, QString> hostile{
            {open, error + "Impossibile leggere il file\r\n%1\r\n(%2)."},
            {cfg, access + "ReadConfiguration (Modulo corpo)"},
            {vrc, "Errore|Impossibile leggere l'elenco delle ruote \"ruote.vrc\" (%2).\r\n"
                  "L'elenco delle ruote resta vuoto."},
            {cal, access + "LeggiTaraturaAmbetto (Form frmStampaSchedine)"}};
        const QMap<QString, QString> causes{{"<fifo>", "non è un file ordinario"},
                                            {"<folder>", "è una cartella, non un file"},
                                            {"<zero>", "non è un file ordinario"},
                                            {"<2 GB>", "il file è più lungo del previsto"}};
        for (const QString& reader : hostile.keys())
            for (const QString& kind : causes.keys())
                QTest::addRow("%s %s", qPrintable(reader), qPrintable(kind))
                    << reader << (reader == open ? f : reader) << kind.toLatin1()
                    << QString(hostile[reader]).replace("%2", causes[kind]);
    }
    void refusedChangeNothing() {
        QFETCH(QString, action);
        QFETCH(QString, target);
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        MainWindow m;
        m.setNumbers(target == "-" ? goodCluster({{Ambo2, 1, 0}}) : goodCluster());
        m.setHead(9); // in no bet already
        m.button("cmd20Euro")->click();
        m.w->findChild<QComboBox*>("cmbRuote")->setCurrentIndex(4);
        m.app.write("bloccato", "a regular file, not a folder");
        const QString path = m.app.file(target);
        QFile::remove(path);
        if (!content.startsWith('<'))
            m.app.write(target, content);
        if (content == "<fifo>")
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        if (content == "<folder>")
            QVERIFY(QDir().mkdir(path));
        if (content == "<zero>")
            QVERIFY(QFile::link("/dev/zero", path));
        if (content == "<2 GB>")
            QVERIFY(QFile(path).open(QIODevice::WriteOnly) &&
                    QFile::resize(path, qint64(2) << 30)); // sparse
        if (!target.isEmpty() && target != "-")
            m.answers = {path};
        Settings settings{"prima", "prima"};
        TaraturaAmbetto t;
        t.Left = 7;
        QComboBox wheels;
        const auto state = [&] {
            return m.fieldTexts() << EncodeRecord(m.w->documento().sistema).toHex()
                                  << settings.intestazione << settings.stampante
                                  << QString::number(t.Left) << QString::number(wheels.count())
                                  << QDir(m.app.path()).entryList(QDir::Files);
        };
        const QStringList before = state();
        m.script.clear();
        m.script.queueAnswer(MsgResult::No); // Open first asks about the changed system

        const QDeadlineTimer atOnce(1000);
        if (action == "cmdSalva") // and says it did not save
            QVERIFY(!m.w->SalvaSistema());
        else if (action.startsWith("cmd"))
            m.button(action)->click();
        else if (action == "impostazioni.cfg")
            settings = ReadConfiguration(settings);
        else if (action == "ruote.vrc")
            LoadWheels(&wheels);
        else
            QVERIFY(!LeggiFileTaratura(t));
        QVERIFY(!atOnce.hasExpired());
        QCOMPARE(shown(m.script, action == "cmdApri"),
                 message.contains("%1") ? message.arg(QDir::toNativeSeparators(path)) : message);
        QCOMPARE(m.asked.size(), action.startsWith("cmd") && target != "-" ? 1 : 0);
        QCOMPARE(state(), before); // no file written, not even a temporary one
    }

    void verifica_data() {
        QTest::addColumn<Cluster>("values");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        const QStringList kinds = {"prima cinquina",   "seconda cinquina", "prima quaterna",
                                   "seconda quaterna", "primo terno",      "secondo terno",
                                   "primo ambo",       "secondo ambo"};
        QStringList incomplete;
        for (int g = 0; g < Estratto; ++g) {
            const QString a = g < Terz1 ? "a" : "o";
            incomplete << (g < Terz1 ? "La " : "Il ") + kinds[g] + " non è complet" + a + "!!!";
            QTest::addRow("incomplete %d", g)
                << goodCluster({{g, 1, 0}}) << incomplete[g] << NomeCampoNumero(g, 1);
            QTest::addRow("duplicate %d", g)
                << goodCluster({{g, 1, 10 * g + 1}})
                << "Valore duplicato nel" + QString(g < Terz1 ? "la " : " ") + kinds[g] + "!!!"
                << NomeCampoNumero(g, g >= Ambo1 ? 0 : 1);
        }
        // clang-format off
        QTest::newRow("estratto") << goodCluster({{Estratto, 0, 0}}) << "Valore estratto non ammesso!!!"
                                  << "txtEstratto";
        QTest::newRow("complete") << goodCluster() << "" << "cmdApri";
        QTest::newRow("same number in two bets") << goodCluster({{Cinq2, 0, 1}}) << "" << "cmdApri";
        // Which fault comes first; the second cinquina's (0, 1) before the first's (0, 4).
        QTest::newRow("first incomplete bet")
            << goodCluster({{Cinq2, 1, 0}, {Cinq1, 3, 0}}) << incomplete[0] << "txtCinq1_3";
        QTest::newRow("pairs before bets") << goodCluster({{Cinq1, 4, 1}, {Cinq2, 1, 11}})
            << "Valore duplicato nella seconda cinquina!!!" << "txtCinq2_1";
        // The buttons that show the system check it first.
        for (const char* button : {"cmdVincite", "cmdVerifica", "cmdPrnTabulato"}) {
            QTest::newRow(button) << goodCluster({{Ambo2, 1, 0}}) << "Il secondo ambo non è completo!!!"
                                  << "txtAmbo2_1";
            QTest::addRow("%s, focus back", button) << goodCluster() << "" << button;
        }
        // clang-format on
    }
    void verifica() {
        QFETCH(QString, message);
        QFETCH(QString, focus);
        MainWindow m;
        m.setNumbers(testsupport::Fetch<Cluster>("values"));
        m.button("cmdApri")->setFocus(); // somewhere else than the fields
        const QString button = QString(QTest::currentDataTag()).section(',', 0, 0);
        QString opened;
        testsupport::CloseNextModal(m.w.get(), &opened);
        if (button.startsWith("cmd"))
            QTest::mouseClick(m.button(button), Qt::LeftButton);
        else
            QCOMPARE(m.w->VerificaSistema(), message.isEmpty());
        QCOMPARE(shown(m.script), message.isEmpty() ? "" : "Attenzione!!|" + message);
        QTRY_COMPARE(QApplication::activeWindow(), m.w.get());
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
        const QString window = QString(button).replace("cmdPrn", "frm").replace("cmd", "frm");
        QCOMPARE(opened, focus == button ? window : "");
    }

    // The head number as answered: 1 to 90, rounded half to even, goes first
    // in the bets; anything else is said and changes nothing.
    void headNumber() {
        MainWindow m;
        QTest::mouseClick(m.button("cmdCasuale"), Qt::LeftButton); // a blank system drawn whole
        QCOMPARE(shown(m.script), "");
        m.setNumbers(goodCluster());
        QStringList seen;
        for (const char* typed :
             {"0.51", "0.5", "91", "8.5", "90.5", "", "x", " +5e1", "7e-", "9E+1"}) {
            m.script.clear();
            m.script.queueInput(QString(typed));
            QTest::mouseClick(m.button("cmdCapogioco"), Qt::LeftButton);
            seen << m.w->campoNumero(Quad2, 0)->text() + " " + shown(m.script, 1);
        }
        const QString range = "Errore|I valori possibili sono da 1 a 90";
        QCOMPARE(seen, QStringList({"1 ", "1 " + range, "1 " + range, "8 ", "90 ", "90 ",
                                    "90 " + range, "50 ", "7 ", "90 "}));
        m.script.clear(); // a whole system drawn: nothing asked, 90 first in every bet
        QTest::mouseClick(m.button("cmdCasuale"), Qt::LeftButton);
        QCOMPARE(shown(m.script) + m.w->campoNumero(Quad2, 0)->text(), "90");
    }

    // A stake field holding "100,00" or a number field holding "12" (the
    // first one: empty and focused, as at start-up), clicked, typed into
    // ("^V": Ctrl+V of the rest, "^M": its menu's Paste) and left with Tab.
    void typing_data() {
        QTest::addColumn<Typed>("t");
        const QString tooMuch = "Errore|Gli importi possibili sono da 0,00 a 200,00, con al "
                                "massimo due decimali";
        const QString n = "txtCinq2_3", e = "txtImpTerz2_1";
        QTest::newRow("number: 91")
            << Typed{n, "91", 0, "00", "0,00", "Errore|I valori possibili sono da 1 a 90"};
        QTest::newRow("number: first at start") << Typed{"txtCinq1_0", "7", 0, "7", "0,00", ""};
        QTest::newRow("number: arrow back") << Typed{n, "1<2", 0, "21", "0,00", ""};
        // A full stop is the decimal mark too; a second mark is refused as it comes.
        QTest::newRow("stake: full stop") << Typed{e, "1.5", 0, "1,50", "3,50", ""};
        QTest::newRow("stake: second mark") << Typed{e, "1,2.3", 1, "1,23", "3,23", ""};
        QTest::newRow("stake: paste 1,2,3") << Typed{e, "^V1,2,3", 1, "100,00", "102,00", ""};
        // A stake the field cannot hold is refused, never cut.
        QTest::newRow("stake: 1234") << Typed{e, "1234", 0, "123,00", "125,00", tooMuch};
        QTest::newRow("stake: the most") << Typed{e, "200", 0, "200,00", "202,00", ""};
        QTest::newRow("number: paste 1,5") << Typed{n, "^V1,5", 1, "12", "0,00", ""};
        QTest::newRow("number: paste 123") << Typed{n, "^V123", 1, "12", "0,00", ""};
        QTest::newRow("number: menu paste 1,5") << Typed{n, "^M1,5", 0, "12", "0,00", ""};
        QTest::newRow("stake: paste 1234") << Typed{e, "^V1234", 0, "100,00", "102,00", tooMuch};
    }
    void typing() {
        QFETCH(Typed, t);
        MainWindow m;
        m.w->campoImporto(Cinq1, 0)->setText("2,00");
        auto* f = m.w->findChild<QLineEdit*>(t.field);
        const bool stake = t.field.startsWith("txtImp"), first = t.field == "txtCinq1_0";
        if (first)
            QCOMPARE(QApplication::focusWidget(), f);
        else
            f->setText(stake ? "100,00" : "12");
        QTest::mouseClick(f, Qt::LeftButton, {}, f->rect().center());
        QTest::qWait(0); // the click selects the whole text a moment later
        QGuiApplication::clipboard()->setText(t.typed.mid(2));
        if (t.typed.startsWith("^V"))
            QTest::keyClick(f, Qt::Key_V, Qt::ControlModifier);
        else if (t.typed.startsWith("^M")) // the field's own menu
            f->paste();
        else // "<": the left arrow
            for (qsizetype i = 0; const QString& part : t.typed.split('<')) {
                if (i++ > 0)
                    QTest::keyClick(f, Qt::Key_Left);
                QTest::keyClicks(f, part);
            }
        QTest::keyClick(f, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(),
                 stake ? "txtImpAmbo1" : (first ? "txtCinq1_1" : "txtCinq2_4"));
        QCOMPARE(f->text(), t.shown);
        QCOMPARE(m.script.beeps(), t.beeps);
        QCOMPARE(m.text("txtImportoSistema"), t.total);
        QCOMPARE(FormatTotal(m.w->documento().sistema.ImportoSistema), t.total);
        QCOMPARE(shown(m.script), t.message);
    }

    // The picker: the real colour dialog, whose OK takes the colour typed in it and Cancel the one
    // before, or the colour clicked on its pictures (a click past them takes none); it previews the
    // choice on the main window, and only its cmdSalva stores it.
    void colourDialog_data() {
        QTest::addColumn<QString>("which"); // the main window's button
        QTest::addColumn<QString>("pick");  // "OK"/"Cancel" in the dialog, or "picture x y..."
        QTest::addColumn<bool>("apply");    // the picker's cmdSalva, else Esc
        QTest::addColumn<int>("chosen");    // -1: the colour before
        const QString bunch = "cmdColoreVorlacco", head = "cmdColoraCapogioco";
        QTest::newRow("bunch: OK, applied") << bunch << "OK" << true << 0x00604020; // #204060
        QTest::newRow("bunch: Cancel, applied") << bunch << "Cancel" << true << -1;
        QTest::newRow("head: OK, applied") << head << "OK" << true << 0x00604020;
        QTest::newRow("head: OK, picker closed") << head << "OK" << false << 0x00604020;
        QTest::newRow("bunch: grey") << bunch << "Col_Palette_1 128 8" << true << 0x00808080;
        // Two thirds across, half way down: hue 239°, half lightness.
        QTest::newRow("bunch: blue") << bunch << "Col_Palette_0 170 64" << true << 0x00FE0400;
        QTest::newRow("head: white, past")
            << head << "Col_Palette_0 255 0 256 64" << true << 0xFFFFFF;
    }
    void colourDialog() {
        QFETCH(QString, which);
        QFETCH(QString, pick);
        QFETCH(bool, apply);
        QFETCH(int, chosen);
        MainWindow m;
        m.setNumbers(goodCluster());
        m.setHead(45);
        m.answers = {m.app.file("salvato.vrl")};
        m.button("cmdSalva")->click();
        const bool bunch = which == "cmdColoreVorlacco";
        const int32_t& stored =
            bunch ? m.w->documento().colori.vorlacco : m.w->documento().colori.capogioco;
        const int32_t before = stored;
        chosen = chosen < 0 ? before : chosen;
        QString previewed;
        // Each step runs inside the modal loop of the window it plays.
        QTimer::singleShot(0, [&] {
            QWidget* picker = QApplication::activeModalWidget();
            const QStringList at = pick.split(' ');
            for (qsizetype i = 1; i + 1 < at.size(); i += 2)
                QTest::mouseClick(picker->findChild<QWidget*>(at[0]), Qt::LeftButton, {},
                                  QPoint(at[i].toInt(), at[i + 1].toInt()));
            if (at.size() == 1) {
                QTimer::singleShot(0, [&] {
                    QWidget* dialog = QApplication::activeModalWidget();
                    for (QLineEdit* html : dialog->findChildren<QLineEdit*>()) // "#rrggbb"
                        if (html->text().startsWith('#'))
                            html->selectAll(), QTest::keyClicks(html, "#204060");
                    QTest::keyClick(dialog, pick == "OK" ? Qt::Key_Return : Qt::Key_Escape);
                });
                QTest::mouseClick(picker->findChild<QPushButton*>("cmdGetColour"), Qt::LeftButton);
            }
            if (pick.startsWith("Col_Palette_1")) { // the picker as the colour shows in it
                QTRY_VERIFY(picker->isActiveWindow());
                testsupport::CheckGoldenWindow("tests/entry/golden/frmColourPicker.txt", picker);
            }
            auto* applica = picker->findChild<QPushButton*>("cmdSalva"); // with its tick
            previewed =
                m.w->acino(bunch ? 1 : 24)->colore().name() + (applica->icon().isNull() ? "?" : "");
            if (apply)
                QTest::mouseClick(applica, Qt::LeftButton);
            else
                QTest::keyClick(picker, Qt::Key_Escape);
        });
        QTest::mouseClick(m.button(which), Qt::LeftButton);
        QCOMPARE(previewed, ToQColor(chosen).name());
        QCOMPARE(stored, apply ? chosen : before);
        QCOMPARE(m.w->acino(bunch ? 1 : 24)->colore(), ToQColor(stored));
        m.script.clear();
        m.w->close(); // a colour changed since the save asks before it is lost
        QCOMPARE(shown(m.script).endsWith("Salvarlo?"), stored != before);
    }

    // A changed system is never dropped unasked: Annulla keeps it, No drops
    // it, Sì saves it first; closing takes every window along.
    void askBeforeDropping() {
        MainWindow m;
        QWidget other;
        other.show();
        m.setNumbers(goodCluster());
        m.answers = {m.app.file("primo.vrl"), m.app.file("primo.vrl"), m.app.file("nuovo.vrl")};
        m.button("cmdSalva")->click();
        m.w->campoImporto(Estratto, 0)->setText("3,00");
        const QStringList edited = m.fieldTexts();
        m.script.queueAnswer(MsgResult::Cancel);
        m.button("cmdCancella")->click();
        QCOMPARE(m.fieldTexts(), edited);
        m.script.queueAnswer(MsgResult::No);
        m.button("cmdApri")->click();
        QVERIFY(m.fieldTexts() != edited && !QFile::exists(m.app.file("nuovo.vrl")));
        m.w->campoImporto(Estratto, 0)->setText("3,00");
        m.script.queueAnswer(MsgResult::Yes);
        m.w->close();
        QVERIFY(QFile::exists(m.app.file("nuovo.vrl")) && !m.w->isVisible() && !other.isVisible());
        QCOMPARE(shown(m.script),
                 QStringList(3, m.w->windowTitle() + "|Il sistema è stato modificato. Salvarlo?")
                     .join('\n'));
        for (const Shown& s : m.script.messages())
            QCOMPARE(s.buttons, MsgButtons::YesNoCancel);
    }

    // Tab walks the fields and buttons in order, each entered field selected
    // whole; a screen reader hears a window frame and a name for every control.
    void keyboard() {
        MainWindow m;
        QStringList expected;
        eachNumber([&](int g, int p) { expected << NomeCampoNumero(g, p); });
        for (int g = 0; g < NumeroGruppi; ++g)
            for (int k = 0; k < Scommesse[size_t(g)].stakeCount; ++k)
                expected << NomeCampoImporto(g, k);
        expected << QStringList{"cmdApri",        "cmdSalva",       "cmdCapogioco", "cmdCasuale",
                                "cmdPrnSchedine", "cmdPrnTabulato", "cmdCancella",  "cmd10Euro",
                                "cmd20Euro",      "cmdVincite",     "cmbRuote"};
        m.w->campoNumero(Cinq1, 0)->setFocus(Qt::TabFocusReason);
        QCOMPARE(QAccessible::queryAccessibleInterface(m.w.get())->role(), QAccessible::Window);
        QVERIFY(QAccessible::queryAccessibleInterface(m.w->acino(3))->state().invisible); // drawn
        QStringList walked;
        QSet<QString> names;
        while (walked.size() < expected.size()) {
            QWidget* f = QApplication::focusWidget();
            walked << f->objectName();
            names << QAccessible::queryAccessibleInterface(f)->text(QAccessible::Name);
            if (auto* field = qobject_cast<QLineEdit*>(f))
                QCOMPARE(field->selectedText(), field->text());
            QTest::keyClick(f, Qt::Key_Tab);
        }
        QCOMPARE(walked, expected);
        QCOMPARE(names.size(), expected.size());
        QVERIFY(!names.contains("") && names.contains("Cinquina 1, numero 3") &&
                names.contains("Quaterna 2, terno, euro"));
        // A combo box is named by its label: the wheel box has one.
        auto* wheels =
            QAccessible::queryAccessibleInterface(m.w->findChild<QComboBox*>("cmbRuote"));
        QCOMPARE(wheels->relations(QAccessible::Label).value(0).first->text(QAccessible::Name),
                 "Ruota");
        // Enter presses the focused button, as Space does: here the 20 euro stakes.
        QTest::keyClick(m.button("cmd20Euro"), Qt::Key_Return);
        QCOMPARE(m.fieldTexts().mid(58, 21).join(' '),
                 "1,85 1,85 0,85 0,85 0,25 0,25 0,05 0,05 1,50 1,50 0,70 0,70 "
                 "0,30 0,30 1,00 1,00 0,50 0,50 1,50 1,50 3,00");
        QCOMPARE(m.text("txtImportoSistema"), "20,00");
        // F1 opens About, as does a click on the logo; a click on a label does not, nor a press on
        // a label let go on the logo.
        QStringList opened;
        for (const QString where :
             {"txtCinq1_0", "lblNomeSistema", "Picture3", "lblNomeSistema>Picture3"}) {
            QString name;
            testsupport::CloseNextModal(m.w.get(), &name);
            if (auto* field = m.w->findChild<QLineEdit*>(where)) {
                QTest::keyClick(field, Qt::Key_F1);
            } else {
                QTest::mousePress(m.w->findChild<QWidget*>(where.section('>', 0, 0)),
                                  Qt::LeftButton);
                QTest::mouseRelease(m.w->findChild<QWidget*>(where.section('>', -1)),
                                    Qt::LeftButton);
            }
            QTest::qWait(150);
            opened << name;
        }
        QCOMPARE(opened, QStringList({"frmAbout", "", "frmAbout", ""}));
        m.w->resize(
            m.w->findChild<Ridimensionatore*>()->dimensioneProgetto()); // then twice as large:
        const QRect drawn = m.w->campoNumero(Cinq2, 3)->geometry();     // every control grows
        m.w->resize(m.w->size() * 2);
        QCOMPARE(m.w->campoNumero(Cinq2, 3)->geometry(),
                 QRect(drawn.topLeft() * 2, drawn.size() * 2));
    }
};

QTEST_MAIN(TestEntry)
#include "test_entry.moc"
