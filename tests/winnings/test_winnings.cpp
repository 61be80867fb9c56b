// What every bet wins, to the last bit (QCOMPARE on floats is fuzzy and would
// let a missed rounding step through), the prospect window, and draws checked
// against the system. (The printed block is in the listing's snapshots.)
#include "app/fileio.h"
#include "app/messages.h"
#include "app/printers.h"
#include "app/settings.h"
#include "app/shell.h"
#include "gioco/controlloarchivio.h"
#include "gioco/numbers.h"
#include "gioco/prospetto.h"
#include "gioco/statistiche.h"
#include "gioco/systemfile.h"
#include "gioco/verifica.h"
#include "outputs/frmVerifica.h"
#include "printing/printerpage.h"
#include "tests/support/archiviopiccolo.h"
#include "tests/support/esempio.h"
#include "tests/support/testsupport.h"
#include "winnings/archivio.h"
#include "winnings/frmStatistiche.h"
#include "winnings/frmVincite.h"

#include <QChartView>
#include <QLineSeries>
#include <QValueAxis>
#include <QtTest>
#include <QtWidgets>
#include <bit>
#include <random>
#include <sys/stat.h>

using namespace corpo;

namespace {

// The first message shown (an empty one when none was).
Shown first(const testing::Script& s) { return s.messages().value(0); }

// A dark theme: white text on nearly black fields, grey windows and buttons.
QPalette dark() {
    const QColor grey(50, 50, 50); // window text, button ... text, bright text, base, window
    return QPalette(Qt::white, grey, Qt::gray, Qt::black, Qt::darkGray, Qt::white, Qt::white,
                    QColor(30, 30, 30), grey);
}

} // namespace

class TestWinnings : public QObject {
    Q_OBJECT
    QTemporaryDir data_;  // the user's data folder, where imports go
    SystemRecord Sistema; // the system a test hands the windows

private Q_SLOTS:
    void initTestCase() {
        InstallFontSubstitutions();
        QLocale::setDefault(testsupport::italian());
        qputenv("XDG_DATA_HOME", data_.path().toLocal8Bit());
    }
    void init() {
        Sistema = {};
        QFileInfo(PercorsoArchivio()).dir().removeRecursively();
    }

    // The prospect under a dark theme, against its picture: each amount beside its bet, navy on
    // white; the head number dark on the yellow of every first box; the window's own background
    // behind the artwork. Each amount said with its bet and kind; one overflowing: the usual
    // report.
    void window() {
        testing::Script script;
        const QPalette theme = QApplication::palette();
        const auto restore = qScopeGuard([&] { QApplication::setPalette(theme); });
        QApplication::setPalette(dark());
        testsupport::Numerato(Sistema, "Roma", 7);
        frmVincite form(nullptr, Sistema);
        QVERIFY(form.Form_Load());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        testsupport::CheckGoldenImage("tests/winnings/golden/frmVincite.png",
                                      form.grab().toImage());
        testsupport::CheckGoldenWindow("tests/winnings/golden/frmVincite.txt", &form);
        Sistema.ImpCinq1[3] = 1e33f;
        QVERIFY(!form.Form_Load());
        QCOMPARE(first(script).text,
                 "Errore 6 (valore fuori dai limiti) nella procedura Form_Load (Form frmVincite)");
    }

    // A draw typed against the 10 euro system of 1..29: each bet's hits, the head number marked
    // drawn, the totals, printed on the listing's printer; then a draw refused, with the focus on
    // the field at fault, leaves no stale result and nothing to print.
    void typedDraw_data() {
        QTest::addColumn<QString>("ruota");
        QTest::addColumn<int>("head");
        QTest::addColumn<QString>("drawn");
        const auto row = [](const char* name, const char* ruota, int head, const char* drawn) {
            QTest::newRow(name) << QString(ruota) << head << QString(drawn);
        };
        // A terno of the Cinquina 3 ambi and a terno, 210; the estratto 11,232;
        // 8% of each slip withheld to the cent (16,80 + 0,90).
        row("terno", "Roma", 0, "1 2 3 29 50");
        // One number of a Cinquina or an Ambo is below its ambo: nothing.
        row("fewer hits than played", "Nazionale", 0, "1 25 29 11 12");
        // 90 heads every bet: an ambo on Cinquina 1 (25) and the estratto.
        row("head number", "Bari", 90, "90 2 50 51 52");
        // A cinquina on the wheel typed (Bari), 319.600 shared by ten.
        row("Tutte", "Tutte", 0, "5 4 3 2 1");
    }
    void typedDraw() {
        QFETCH(int, head);
        QFETCH(QString, drawn);
        testsupport::AppFolder app;
        app.write("impostazioni.cfg", SettingsBytes("Ricevitoria", "PDF"));
        testing::PrinterListScope printers({"Altra", "PDF"});
        PrinterPage page(PrinterPage::Target::Recorder);
        testing::Script script;
        testsupport::Numerato(Sistema, testsupport::Fetch<QString>("ruota"), head);
        frmVerifica form(Sistema, page);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QCOMPARE(QApplication::focusWidget()->objectName(), "txtEstratto_0"); // type at once
        for (int i = 0; i < 5; ++i)
            form.findChild<QLineEdit*>(QStringLiteral("txtEstratto_%1").arg(i))
                ->setText(drawn.split(' ')[i]);
        QTest::mouseClick(form.findChild<QPushButton*>("cmdVerifica"), Qt::LeftButton);
        // The wheel of the typed numbers asked for on "Tutte" only, each bet's hits, the totals.
        const QString tag = QString(QTest::currentDataTag()).replace(' ', '_');
        testsupport::CheckGoldenWindow("tests/winnings/golden/verifica_" + tag + ".txt", &form);
        auto* table = form.findChild<QTableWidget*>("tblEsito");
        QTest::mouseClick(form.findChild<QPushButton*>("cmdStampa"), Qt::LeftButton);
        QCOMPARE(page.recordedJobs().value(0).printer, QStringLiteral("PDF"));
        // The table against its pictures under the default palette and a dark
        // one (hits read at 4.5:1 or more, WCAG).
        for (const QPalette& palette : {table->palette(), dark()}) {
            table->setPalette(palette);
            testsupport::CheckGoldenImage(
                QString("tests/winnings/golden/esito_%1_%2.png").arg(tag).arg(palette == dark()),
                table->viewport()->grab().toImage());
        }
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

    // Over the stored archive on "Tutte": a date lacking wheels names them; followed from a date to
    // the last, one row a draw, the totals and the balance, printed.
    void followInWindow() {
        testsupport::AppFolder app;
        app.write("impostazioni.cfg", SettingsBytes("Ricevitoria", "PDF"));
        testing::PrinterListScope printers({"PDF"});
        PrinterPage page(PrinterPage::Target::Recorder);
        testing::Script script;
        QByteArray draws;
        for (int r = 0; r < RuoteCitta; ++r) // a terno of the Cinquina everywhere
            draws += "2024/01/02\t" + CodiceRuota(r).toLatin1() + "\t1\t2\t3\t40\t50\n";
        draws += "2024/01/04\tBA\t1\t2\t40\t41\t42\n2024/01/04\tCA\t1\t2\t40\t41\t42\n";
        QVERIFY(QFileInfo(PercorsoArchivio()).dir().mkpath("."));
        QVERIFY(WriteFileAtomically(PercorsoArchivio(), draws, nullptr));
        testsupport::Numerato(Sistema, "Tutte");
        frmVerifica form(Sistema, page);
        form.show();
        auto* date = form.findChild<QDateEdit*>("dtpData");
        QTRY_VERIFY(date->isEnabled());
        form.findChild<QRadioButton*>("optArchivio")->setChecked(true);
        form.Verifica();
        testsupport::CheckGoldenWindow("tests/winnings/golden/verifica_data.txt", &form);
        QTest::mouseClick(form.findChild<QPushButton*>("cmdStampa"),
                          Qt::LeftButton); // its wheels missing
        date->setDate({2024, 1, 2});
        form.findChild<QCheckBox*>("chkUltima")->setChecked(true); // which ticks optColpi
        form.Verifica();
        // 210 shared by ten wheels ten times; an ambo on two wheels, 5; one row a draw.
        testsupport::CheckGoldenWindow("tests/winnings/golden/verifica_colpi.txt", &form);
        QTest::mouseClick(form.findChild<QPushButton*>("cmdStampa"), Qt::LeftButton);
        testsupport::CheckGolden("tests/winnings/golden/colpi.txt", page.recordedJobs());
        date->setDate({2024, 1, 4}); // one draw: its balance is a mark inside the scale
        form.Verifica();
        QVERIFY(form.findChild<QLabel*>("lblTotale")->text().endsWith("Saldo: € -5,40"));
        QChart* chart = form.findChild<QChartView*>()->chart();
        const auto* scale = qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical).value(0));
        QVERIFY(scale && scale->min() < -5.4 && scale->max() > 0);
        QVERIFY(qobject_cast<QLineSeries*>(chart->series().value(0))->pointsVisible());
        form.findChild<QRadioButton*>("optArchivio")->setChecked(true);
        form.findChild<QSpinBox*>("spnColpi")->setValue(3); // a count of draws follows them
        QVERIFY(form.findChild<QRadioButton*>("optColpi")->isChecked());
        QCOMPARE(script.messages().size(), 0);
    }

    // The check on the command line, without a display: the last lines (the very last the four
    // totals, in the user's locale), or one message line on standard error and a failing exit.
    void commandLine_data() {
        QTest::addColumn<QString>("args"); // %S the system, %A an archive file
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("out"); // the last lines; a failure's message
        const QString it = "it_IT.UTF-8";
        QTest::newRow("typed")
            << "--estrazione|7 18 33 3 47" << it
            << "Roma, Cinquina 1: 7* 18* 33* 45 62, 3 punti, 3 ambi × € 25,00 = € 75,00\n"
               "Roma, Estratto: 3*, 1 punto, 1 estratto × € 11,23 = € 11,23\n"
               "Schedina Cinquina 1: lordo € 75,00, ritenuta € 6,00, netto € 69,00\n"
               "Schedina Estratto: lordo € 11,23, ritenuta € 0,90, netto € 10,33\n"
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
        QTest::newRow("unknown option")
            << "--estrazione|1 2 3 4 5|--ruote|Bari" << it << "!Opzione sconosciuta: --ruote.";
        QTest::newRow("unknown letter")
            << "-x|--estrazione|1 2 3 4 5" << it << "!Opzione sconosciuta: -x.";
        QTest::newRow("nothing won") << "--estrazione|80 81 82 83 84" << it
                                     << "Nessuna vincita.\n"
                                        "Spesa € 2,00; lordo € 0,00; ritenuta € 0,00; netto € 0,00";
        QTest::newRow("truncated system") << "--dal|2024/01/02" << it
                                          << "!Il sistema %S è incompleto: è più corto di "
                                             "quanto indica la sua intestazione.";
        QTest::newRow("not a system")
            << "--dal|2024/01/02" << it << "!Il file %S non è un sistema salvato (.vrl).";
        QTest::newRow("past the last")
            << "--dal|2024/01/06|--archivio|%A" << it
            << "!L'archivio non ha estrazioni sulla ruota Roma dal 06/01/2024 in poi.";
    }
    void commandLine() {
        QFETCH(QString, args);
        QFETCH(QString, out);
        QTemporaryDir dir;
        const QString system = dir.filePath("esempio.vrl"), archive = dir.filePath("a.txt");
        const QByteArray draws =
            "2024/01/02\tRM\t7\t18\t33\t3\t47\n2024/01/04\tRM\t7\t18\t33\t45\t47\n"
            "2024/01/05\tRM\t1\t2\t4\t5\t6\n2024/01/05\tBA\t1\t2\t4\t5\t6\n";
        const QByteArray vrl = EncodeSystemFile(testsupport::Esempio("Roma"), 0, 0);
        const QString tag = QTest::currentDataTag();
        QVERIFY(WriteFileAtomically(
            system, tag == "not a system" ? draws : vrl.left(tag == "truncated system" ? 200 : 254),
            nullptr));
        out.replace("%S", system);
        QVERIFY(WriteFileAtomically(archive, draws, nullptr));
        QVERIFY(QDir(dir.path()).mkpath("Bramasolovanti")); // the stored archive
        QVERIFY(WriteFileAtomically(dir.filePath("Bramasolovanti/estrazioni.txt"),
                                    draws.mid(draws.indexOf("2024/01/04")), nullptr));
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LC_ALL", testsupport::Fetch<QString>("lang"));
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

    // What an import keeps on disk (a stored archive with lines that no longer read also goes whole
    // to a dated copy), what the player is told (only the first 20 refused lines by number), the
    // newest date offered; a number typed then makes the typed draw the one checked.
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
            "da aaaa/mm/gg\nla riga 6 ha una data prima del 1871 o dopo domani\nla riga 7 ha una ruota sconosciuta\n"
            "la riga 8 ha un numero fuori da 1..90\nla riga 9 ha un numero ripetuto";
        for (int i = 10; i <= 21; ++i)
            bad += QString("\nla riga %1 non ha data, ruota e cinque numeri").arg(i);
        QTest::newRow("tabs, semicolons, spaces") << QByteArray()
            << QByteArray("2024/01/04\tRN\t1\t2\t3\t4\t90\r\n\n2024/01/02;BA;5;6;7;8;9\n2024/01/04   BA  10 11 12 13 14")
            << ba + "2024/01/04\tBA\t10\t11\t12\t13\t14\n2024/01/04\tRN\t1\t2\t3\t4\t90\n"
            << "Importate 3 estrazioni, dal 02/01/2024 al 04/01/2024." << "04/01/2024";
        const QByteArray operatore = ba + "2024/01/04\tBA\t10\t11\t12\t13\t14\n2024/01/04\tRM\t1\t2\t3\t4\t5\n"
            "2024/01/04\tRN\t1\t2\t3\t4\t90\n";
        QTest::newRow("operator's file") << QByteArray() << operatore << operatore
            << "Importate 4 estrazioni, dal 02/01/2024 al 04/01/2024." << "04/01/2024";
        QTest::newRow("the same file again") << operatore << operatore << operatore
            << "Importate 4 estrazioni, dal 02/01/2024 al 04/01/2024." << "04/01/2024";
        QTest::newRow("bad lines") << QByteArray() << ba + "\x01\xff\n2024/01/02\tCA\t1\t2\t3\t4\t91\n"
            "2023/02/29\tGE\t1\t2\t3\t4\t5\n04/01/2024\tCA\t1\t2\t3\t4\t5\n2999/01/01\tCA\t1\t2\t3\t4\t5\n"
            "2024/01/02\tXY\t1\t2\t3\t4\t5\n2024/01/02\tCA\t1\t2\t3\t4\t567\n2024/01/02\tCA\t1\t2\t3\t4\t4\n" +
            QByteArray("2024/01/02\tGE\t1\t2\t3\n").repeated(1500) << ba << bad + "\n... e altre 1.488 righe"
            << "02/01/2024";
        QString one = "Importata 1 estrazione, del 02/01/2024.\n\nAlcune righe del file non sono state lette:\n";
        for (int i = 2; i <= 21; ++i)
            one += QString("\nla riga %1 non ha data, ruota e cinque numeri").arg(i);
        QTest::newRow("21 bad lines") << QByteArray() << ba + QByteArray("x\n").repeated(21) << ba
            << one + "\n... e un'altra riga" << "02/01/2024";
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
        QTest::newRow("disk full") << ba << ca << ba << "L'archivio non si può salvare in %3 (disco "
            "pieno): l'importazione è annullata." << "02/01/2024";
        // clang-format on
    }
    void archiveImport() {
        QFETCH(QByteArray, before);
        QFETCH(QString, message);
        const QString path = data_.filePath("importa.txt");
        QVERIFY(WriteFileAtomically(path, testsupport::Fetch<QByteArray>("file"), nullptr));
        const QDir stored = QFileInfo(PercorsoArchivio()).dir();
        QVERIFY(stored.mkpath("."));
        if (before == "<65 MB>") // sparse
            QVERIFY(QFile(PercorsoArchivio()).open(QIODevice::WriteOnly) &&
                    QFile::resize(PercorsoArchivio(), 65 << 20));
        else if (!before.isEmpty())
            QVERIFY(WriteFileAtomically(PercorsoArchivio(), before, nullptr));
        const qint64 oldSize = QFileInfo(PercorsoArchivio()).size();
        const auto inode = [] { // a new one for every file written in place of the archive
            struct stat st {};
            return ::stat(QFile::encodeName(PercorsoArchivio()).constData(), &st) ? 0 : st.st_ino;
        };
        const ino_t oldInode = inode();
        testing::Script script;
        Sistema.Ruota = "Bari"; // checked below on a day without its draw
        PrinterPage page;
        frmVerifica form(Sistema, page);
        {
            const bool full = QTest::currentDataTag() == QByteArray("disk full");
            const auto limit = testsupport::Limit(RLIMIT_FSIZE, full ? oldSize : RLIM_INFINITY);
            form.Importa(path);
        }
        const QStringList copies = stored.entryList({"estrazioni-*.txt"});
        QCOMPARE(copies.size(), int(message.contains("%2")));
        const QString copy = stored.filePath(copies.value(0));
        QCOMPARE(script.messages().constLast().text,
                 message.replace("%1", path).replace("%2", copy).replace("%3", PercorsoArchivio()));
        const bool plain = message.startsWith("Importat") && !message.contains('\n');
        QCOMPARE(script.messages().constLast().icon,
                 plain ? MsgIcon::Information : MsgIcon::Exclamation);
        if (!copies.isEmpty()) // the earlier archive, whole
            QCOMPARE(QFileInfo(copy).size(), oldSize);
        QTEST(ReadSmallFile(PercorsoArchivio(), 1 << 20, nullptr).value_or(""), "stored");
        QCOMPARE(inode() == oldInode, before == testsupport::Fetch<QByteArray>("stored"));
        const auto* date = form.findChild<QDateEdit*>("dtpData");
        QTEST(date->isEnabled() ? date->text() : QString(), "newest");
        const QTextCharFormat newest = date->calendarWidget()->dateTextFormat(date->date());
        QCOMPARE(newest.fontWeight() == QFont::Bold, date->isEnabled()); // a draw on that day
        date->calendarWidget()->showPreviousMonth(); // only that month's own days are bold
        QVERIFY(date->calendarWidget()->dateTextFormat(date->date()).fontWeight() != QFont::Bold);
        form.Verifica(); // the day before with a draw is named

        QCOMPARE(script.messages().constLast().text.endsWith(" precedente è del 02/01/2024."),
                 QTest::currentDataTag() == QByteArray("damaged stored line"));
        QTest::keyClicks(form.findChild<QLineEdit*>("txtEstratto_0"), "7"); // a typed draw now
        QVERIFY(form.findChild<QRadioButton*>("optDigitati")->isChecked());
    }

    // The window on the same archive: Bari for a system on "Tutte", the table in bunch order and
    // sorted by a column, a later start, another wheel, the self-check. Draws keep their order.
    void statisticsWindow() {
        frmStatistiche form(testsupport::SistemaPiccolo(),
                            LeggiArchivio(testsupport::ArchivioPiccolo).archivio);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        testsupport::CheckGoldenWindow("tests/winnings/golden/frmStatistiche.txt", &form);
        auto* table = form.findChild<QTableWidget*>("tblNumeri");
        const auto* bars = form.findChild<QChartView*>()->chart()->axes(Qt::Horizontal).value(0);
        QTRY_VERIFY(!bars->labelsTruncated()); // the chart names every bar in full
        QTest::mouseClick(table->horizontalHeader()->viewport(), Qt::LeftButton, {},
                          {table->horizontalHeader()->sectionViewportPosition(3) + 5, 5});
        form.findChild<QDateEdit*>("txtDal")->setDate({1939, 1, 14});
        form.findChild<QTabWidget*>()->setCurrentIndex(1);
        testsupport::CheckGoldenWindow("tests/winnings/golden/frmStatistiche_ordinate.txt", &form);
        QWidget bunch; // on request each grape tells its delay, until it changes
        auto* grape = new QLineEdit("1", &bunch);
        grape->setObjectName(NomeCampoNumero(Cinq1, 0));
        MostraRitardiAcini(&bunch, form.Mostrati());
        QCOMPARE(grape->toolTip(), "Numero 1 sulla ruota di Bari: ritardo 3, ritardo massimo 3; "
                                   "uscito una volta in 4 estrazioni, dal 14/01/1939.");
        QCOMPARE(grape->accessibleDescription(), grape->toolTip());
        grape->setText("7");
        QCOMPARE(grape->toolTip(), "");
        Archivio lacunoso; // Bari alone for 510 weeks: past the 500 findings listed, a count
        for (int i = 0; i < 510; ++i)
            lacunoso.estrazioni[QDate(1950, 1, 7).addDays(7 * i)][0] = {3, 1, 2, 4, 5};
        frmStatistiche many(testsupport::SistemaPiccolo(), lacunoso);
        const auto* findings = many.findChild<QListWidget*>("lstControllo");
        QCOMPARE(findings->item(findings->count() - 1)->text(), "... e altri 10 rilievi.");
        // Opened on the stored archive: "Ritardi sul vorlacco" hands the delays
        // to the main window's bunch, Chiudi hands nothing.
        QVERIFY(QDir().mkpath(QFileInfo(PercorsoArchivio()).path()));
        QVERIFY(WriteFileAtomically(PercorsoArchivio(), testsupport::ArchivioPiccolo, nullptr));
        for (const QString button : {"cmdRitardiVorlacco", "cmdChiudi"}) {
            QTimer::singleShot(0, [button] {
                QApplication::activeModalWidget()->findChild<QPushButton*>(button)->click();
            });
            QCOMPARE(ApriStatistiche(nullptr, testsupport::SistemaPiccolo()).has_value(),
                     button == "cmdRitardiVorlacco");
        }
    }
};

QTEST_MAIN(TestWinnings)
#include "test_winnings.moc"
