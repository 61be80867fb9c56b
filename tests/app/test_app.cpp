// The shell: files, settings, places, the settings and splash windows, the
// real message boxes and file dialog, the single instance and the start-up.
#include "app/fileio.h"
#include "app/frmImpostazioni.h"
#include "app/handover.h"
#include "app/places.h"
#include "app/printers.h"
#include "app/settings.h"
#include "app/shell.h"
#include "gioco/systemfile.h"
#include "outputs/taratura.h"
#include "startup/startup.h"
#include "tests/support/archiviopiccolo.h"
#include "tests/support/testsupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QStandardPaths>
#include <QtTest>
#include <cmath>
#include <sys/resource.h>
#include <unistd.h>

using namespace corpo;

namespace {
template <class T> T* child(const QObject* parent, const char* name) {
    return parent->findChild<T*>(QLatin1String(name));
}

// What the user was shown: "title|text" for each message box.
QStringList shown(const testing::Script& script) {
    QStringList out;
    for (const Shown& s : script.messages())
        out << s.title + QLatin1Char('|') + s.text;
    return out;
}

// Plays the user at the next modal window once it shows: types into its text field, then presses
// Enter or Esc or clicks the button so named (none: closes it). Its "title|text" lands in *seen.
void answerNext(const QString& typed, const QString& press, QString* seen = nullptr) {
    QTimer::singleShot(20, qApp, [=] {
        QWidget* w = QApplication::activeModalWidget();
        if (!w)
            return answerNext(typed, press, seen);
        QString text = w->property("text").toString();
        if (auto* input = qobject_cast<QInputDialog*>(w))
            text = input->labelText();
        if (auto* lookIn = child<QLabel>(w, "lookInLabel"))
            text = lookIn->text();
        if (seen)
            *seen = w->windowTitle() + QLatin1Char('|') + text;
        QLineEdit* edit = child<QLineEdit>(w, "fileNameEdit");
        if (!typed.isEmpty())
            QTest::keyClicks(edit ? edit : w->findChild<QLineEdit*>(), typed);
        if (press == "Enter" || press == "Esc")
            return QTest::keyClick(w->focusWidget() ? w->focusWidget() : w,
                                   press == "Esc" ? Qt::Key_Escape : Qt::Key_Return);
        for (QAbstractButton* b : w->findChildren<QAbstractButton*>())
            if (b->text() == press && b->isVisible())
                return QTest::mouseClick(b, Qt::LeftButton);
        w->close();
    });
}
} // namespace

class TestApp : public QObject {
    Q_OBJECT

    QTemporaryDir runtime;

    QProcess* startCopy(const QStringList& args, const QString& folder) {
        auto* p = new QProcess(this);
        p->setWorkingDirectory(folder);
        p->start(testsupport::builtAppFolder() + QStringLiteral("bramasolovanti"), args);
        return p;
    }

private Q_SLOTS:
    void initTestCase() {
        // The instance socket lives in the runtime folder: keep it private.
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
        QVERIFY2(InstallQtTranslations(QLocale::system()),
                 "qtbase_it.qm is missing (scripts/deps.sh installs qt6-translations-l10n)");
        QVERIFY(!InstallQtTranslations(QLocale(QLocale::Latin))); // Qt has none for it
        InstallFontSubstitutions();
        QApplication::setQuitOnLastWindowClosed(false);
    }

    // --statistiche by the small archive's hand count (support/archiviopiccolo.h):
    // the grapes listed, `others` for the rest; on bad input one line on stderr.
    void statisticsCommand_data() {
        QTest::addColumn<QStringList>("args"); // after the system file
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QString>("others");
        QTest::addColumn<QString>("error"); // empty: exit 0
        const QStringList bari{"1\t3\t3\t2",  "2\t2\t2\t2",  "3\t4\t4\t1", "19\t2\t2\t1",
                               "20\t2\t2\t1", "21\t2\t2\t1", "25\t0\t4\t1"};
        // clang-format off
        QTest::newRow("Bari") << QStringList{"--archivio", "piccolo.txt"} << bari << "5\t5\t0" << "";
        QTest::newRow("from 14/01") << QStringList{"--dal", "1939/01/14", "--archivio", "piccolo.txt"}
            << QStringList{"1\t3\t3\t1", "2\t2\t2\t1", "3\t4\t4\t0", "19\t2\t2\t1", "20\t2\t2\t1", "21\t2\t2\t1", "25\t0\t3\t1"}
            << "4\t4\t0" << "";
        QTest::newRow("stored archive, Napoli") << QStringList{"--ruota", "napoli"}
            << QStringList{"1\t0\t1\t1", "2\t0\t0\t2", "3\t0\t0\t2", "4\t0\t0\t2", "5\t0\t0\t2",
                           "6\t1\t1\t1"} << "2\t2\t0" << "";
        QTest::newRow("unknown wheel") << QStringList{"--ruota", "Pippo", "--archivio", "piccolo.txt"}
            << QStringList() << "" << "La ruota Pippo non esiste: scegli tra Bari, Cagliari, Firenze, "
               "Genova, Milano, Napoli, Palermo, Roma, Torino, Venezia, Nazionale.";
        QTest::newRow("no stored archive") << QStringList{} << QStringList() << ""
            << "Nessun archivio delle estrazioni: importalo dalla finestra Verifica, o indica un file con --archivio FILE.";
        // clang-format on
    }
    void statisticsCommand() {
        QFETCH(QStringList, args);
        QFETCH(QStringList, listed);
        QFETCH(QString, others);
        QFETCH(QString, error);
        const testsupport::AppFolder folder(false);
        folder.write("piccolo.txt", testsupport::ArchivioPiccolo);
        folder.write("piccolo.vrl", EncodeSystemFile(testsupport::SistemaPiccolo(), 0, 0));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", folder.path());
        if (!args.isEmpty() && QDir().mkpath(folder.file("Bramasolovanti"))) // none: no archive
            folder.write("Bramasolovanti/estrazioni.txt", testsupport::ArchivioPiccolo);
        QProcess p;
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(folder.path());
        p.start(testsupport::builtAppFolder() + "bramasolovanti",
                QStringList{"--statistiche", "piccolo.vrl"} + args);
        QVERIFY(p.waitForFinished(15000));
        QString out = error.isEmpty() ? "numero\tritardo\tritardo_max\tfrequenza\n" : "";
        for (int n = 1; n <= 29 && error.isEmpty(); ++n) {
            const QStringList it = listed.filter(QRegularExpression(QString("^%1\t").arg(n)));
            out += it.value(0, QString("%1\t%2").arg(n).arg(others)) + '\n';
        }
        QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()), out);
        QCOMPARE(QString::fromUtf8(p.readAllStandardError()), error.isEmpty() ? "" : error + '\n');
        QCOMPARE(p.exitCode(), error.isEmpty() ? 0 : 2);
    }

    // The program's own command line: help and version on standard output, help first; a
    // wrong one said on standard error, exit 2, and no window.
    void commandLine_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("out"); // the first line; after "!", of standard error
        QTest::newRow("version") << QStringList{"-v"} << "Bramasolovanti " + StringaVersione();
        QTest::newRow("help") << QStringList{"--pippo", "--help"}
                              << "Uso: bramasolovanti [opzioni] [sistema.vrl]";
        QTest::newRow("letter") << QStringList{"-x"} << "!Opzione sconosciuta: -x.";
        QTest::newRow("word") << QStringList{"--pippo"} << "!Opzione sconosciuta: --pippo.";
        QTest::newRow("two systems")
            << QStringList{"a.vrl", "b.vrl"}
            << "!Si può aprire un solo sistema alla volta (di troppo: b.vrl).";
    }
    void commandLine() {
        QFETCH(QStringList, args);
        QFETCH(QString, out);
        QProcess p;
        p.start(testsupport::builtAppFolder() + "bramasolovanti", args);
        QVERIFY(p.waitForFinished(15000));
        const bool wrong = out.startsWith('!');
        QCOMPARE(p.exitCode(), wrong ? 2 : 0);
        const QString text =
            QString::fromUtf8(wrong ? p.readAllStandardError() : p.readAllStandardOutput());
        QCOMPARE(wrong ? text : text.section('\n', 0, 0),
                 wrong ? out.mid(1) + "\nPer l'elenco delle opzioni: bramasolovanti --help\n"
                       : out);
    }

    // A failed write leaves the earlier file and no temporary copy; a read takes at most the bytes
    // given, and only from a regular file. The cause the user reads names what is in the way.
    void fileFailures_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("error"); // empty: done
        const QString loop = "75 (collegamenti simbolici che formano un ciclo)";
        const QString folder = "75 (è una cartella, non un file)",
                      none = "76 (cartella non trovata)";
        const QString tooLong = "52 (nome del file troppo lungo per il sistema)", name(300, 'n');
        // clang-format off
        QTest::newRow("disk full") << "earlier.bin" << "full" << "61 (disco pieno)";
        QTest::newRow("folder is a file") << "earlier.bin/x" << "" << none;
        QTest::newRow("target is a folder") << "sub" << "" << folder;
        QTest::newRow("missing folder") << "none/x" << "" << none;
        QTest::newRow("write through a link loop") << "loop/x" << "" << loop;
        QTest::newRow("write too long a name") << name << "" << tooLong;
        QTest::newRow("read at the limit") << "earlier.bin" << "read 100" << "";
        QTest::newRow("read one past") << "earlier.bin" << "read 99"
                                       << "75 (il file è più lungo del previsto)";
        QTest::newRow("read a link loop") << "loop" << "read 100" << loop;
        QTest::newRow("read one growing past") << "proc" << "read 50" << "75 (il file è più lungo del previsto)";
        QTest::newRow("read one that says it is empty") << "proc" << "read 4096" << "";
        QTest::newRow("read too long a name") << name << "read 100" << tooLong;
        if (::geteuid() != 0) { // root ignores permissions
            QTest::newRow("read in a closed folder") << "closed/x" << "read 100"
                                                     << "70 (accesso negato a una cartella del percorso)";
            QTest::newRow("write in a read-only folder") << "readonly/x" << ""
                                                         << "70 (la cartella non consente di scrivere)";
        }
        // clang-format on
    }
    void fileFailures() {
        QFETCH(QString, target);
        QFETCH(QString, how);
        QFETCH(QString, error);
        testsupport::AppFolder folder(false);
        const QByteArray earlier(100, 'x');
        folder.write(QStringLiteral("earlier.bin"), earlier);
        QVERIFY(QDir().mkdir(folder.file(QStringLiteral("sub"))));
        QVERIFY(QFile::link("loop", folder.file("loop")) && // and one that says it is empty:
                QFile::link("/proc/version", folder.file("proc")));
        QVERIFY(QDir().mkdir(folder.file("closed")) && QDir().mkdir(folder.file("readonly")));
        QFile::setPermissions(folder.file("closed"), {});
        QFile::setPermissions(folder.file("readonly"), QFile::ReadOwner | QFile::ExeOwner);
        RunError failure;
        bool done;
        if (how.startsWith(QStringLiteral("read"))) {
            errno = EINTR; // left by an earlier interrupted call: no fault of this read
            QFile proc("/proc/version"); // as Qt reads it, a piece at a time
            proc.open(QIODevice::ReadOnly);
            done = ReadSmallFile(folder.file(target), how.mid(5).toInt(), &failure) ==
                   (target == "proc" ? proc.readAll() : earlier);
        } else {
            const auto limit = testsupport::Limit(RLIMIT_FSIZE, how == "full" ? 10 : RLIM_INFINITY);
            done = WriteFileAtomically(folder.file(target), QByteArray(254, 'n'), &failure);
        }
        QCOMPARE(done ? QString() : QString("%1 (%2)").arg(failure.number).arg(failure.description),
                 error);
        QCOMPARE(folder.read(QStringLiteral("earlier.bin")), earlier);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoSymLinks),
                 QStringList{"earlier.bin"});
    }

    // A save removes the complete copies a killed save may leave, and nothing else of the folder.
    void staleCopies() {
        testsupport::AppFolder folder(false);
        const QStringList kept{".s.vrl.zz99ZZ", "s.vrl", "s.vrl.Ab12C", "s.vrl.bak",
                               "t.vrl.Ab12C9"};
        for (const QString& name : kept + QStringList{"s.vrl.Ab12C9", "s.vrl.zz99ZZ"})
            folder.write(name, "x");
        QVERIFY(WriteFileAtomically(folder.file("s.vrl"), "new", nullptr));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), kept);
    }

    // A pause that crosses midnight lasts as long as any other.
    void pauseAcrossMidnight() {
        for (const float start : {100.0f, 86400.0f - 2.0f / 128}) {
            float now = start; // seconds since midnight, 1/128 s later at each sleep
            int sleeps = 0;
            const auto sleep = [&](int) { ++sleeps, now = std::fmod(now + 1.0f / 128, 86400.0f); };
            Pause(
                62.5f, [&] { return now; }, sleep);
            QCOMPARE(sleeps, 8);
        }
        QVERIFY(qAbs(Timer() - QTime::currentTime().msecsSinceStartOfDay() / 1000.0) < 1); // in s
    }

    // Installed read-only: the settings, a calibration and a system are saved in the user's own
    // folders and found again at the next start, untouched by the shipped defaults; a refused write
    // names its cause and changes nothing. A folder with settings is portable.
    void installedPlaces() {
        testsupport::AppFolder folder(false);
        const auto restore = testsupport::SetEnv("XDG_CONFIG_HOME", qgetenv("XDG_CONFIG_HOME"));
        const QString bin = folder.file(QStringLiteral("usr/bin/"));
        const QString share = folder.file(QStringLiteral("usr/share/bramasolovanti/"));
        QVERIFY(QDir().mkpath(bin) && QDir().mkpath(share) && QDir().mkpath(folder.file("cfg")));
        for (const QString name : {"ruote.vrc", "impostazioni.cfg", "printA.cfg"}) {
            QVERIFY(QFile::copy(testsupport::builtAppFolder() + name, share + name));
            QVERIFY(QFile::setPermissions(share + name, QFile::ReadOwner));
        }
        QVERIFY(QFile::setPermissions(bin, QFile::ReadOwner | QFile::ExeOwner));
        qputenv("XDG_CONFIG_HOME", folder.file(QStringLiteral("cfg")).toLocal8Bit());
        folder.write("cfg/user-dirs.dirs",
                     "XDG_DOCUMENTS_DIR=\"" + folder.file("doc").toUtf8() + '"');
        qputenv("BRAMA_PROGRAM_FOLDER", bin.toLocal8Bit());
        testing::Script script; // a message here would wait for a click
        FixPlaces();
        QCOMPARE(CurrentPlaces().data, share);
        testing::PrinterListScope printers({QStringLiteral("PDF")});
        auto salva = [](const char* typed) {
            frmImpostazioni w;
            w.carica();
            QTest::keyClicks(child<QLineEdit>(&w, "mskIntestazione"), typed);
            child<QAbstractButton>(&w, "cmdSalva")->click();
        };
        salva("casa");
        TaraturaAmbetto t;
        RunError error;
        QVERIFY(LeggiFileTaratura(t));
        t.Top += 1.5f;
        QVERIFY(ScriviFileTaratura(t, &error));
        const QString system = SystemsFolder() + QStringLiteral("/casa.vrl");
        QVERIFY(WriteFileAtomically(system, EncodeSystemFile(SystemRecord{}, 0, 0), &error));
        const QStringList files{ConfigPath("impostazioni.cfg"), ConfigPath("printA.cfg"), system};
        QCOMPARE(files[2], folder.file("doc/Bramasolovanti/casa.vrl"));
        QByteArrayList saved;
        for (const QString& f : files)
            saved << ReadSmallFile(f, 4096, &error).value_or("");

        FixPlaces(); // the next start
        Settings read = ReadConfiguration();
        TaraturaAmbetto again;
        QVERIFY(LeggiFileTaratura(again) && CodificaTaratura(again) == saved[1]);
        QVERIFY(saved[0].contains("CASA"));
        QCOMPARE(SettingsBytes(read.intestazione, read.stampante), saved[0]);
        const QString locked = CurrentPlaces().config,
                      refused = "(la cartella non consente di scrivere)";
        qputenv("XDG_CONFIG_HOME", system.toLocal8Bit()); // a file in the way: no read-only folder
        QVERIFY(!CopyDefaults(InstalledPlaces(bin), &error));
        QCOMPARE(error.description, "percorso o file non accessibile");
        qputenv("XDG_CONFIG_HOME", folder.file(QStringLiteral("cfg")).toLocal8Bit());
        const bool root = ::geteuid() == 0; // chmod stops no write of root's
        if (QProcess::execute(root ? "chattr" : "chmod", {root ? "+i" : "a-w", locked}))
            QSKIP("this file system cannot make a folder immutable");
        salva(" 2");
        // A new user whose configuration folder takes nothing is told at the
        // first start, and the shipped settings are read all the same.
        qputenv("XDG_CONFIG_HOME", (locked + "nuovo").toLocal8Bit());
        FixPlaces();
        const QString home = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
        read = ReadConfiguration();
        QProcess::execute(root ? "chattr" : "chmod", {root ? "-i" : "u+w", locked});
        QCOMPARE(SettingsBytes(read.intestazione, read.stampante),
                 folder.read("usr/share/bramasolovanti/impostazioni.cfg"));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(ReadSmallFile(files[i], 4096, &error).value_or(""), saved[i]);
        QCOMPARE(shown(script),
                 (QStringList{"Bramasolovanti|Errore 70 " + refused +
                                  " nella procedura cmdSalva_Click (Form frmImpostazioni)",
                              "Bramasolovanti|Impossibile preparare la cartella personale delle "
                              "impostazioni\r\n" +
                                  home + "/\r\n" + refused +
                                  ".\r\nSi usano le impostazioni e la taratura di partenza; le "
                                  "modifiche non potranno essere salvate."}));
        folder.write(QStringLiteral("usr/impostazioni.cfg"), "");
        QVERIFY(IsPortable(folder.file(QStringLiteral("usr/"))));
    }

    // The settings and the wheel list as read at start: what the file holds,
    // else what stood before (no wheel at all) and a message.
    void startFiles_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes"); // empty: the shipped file; "none": no file
        QTest::addColumn<QStringList>("read"); // the header and printer, or the wheels
        QTest::addColumn<QString>("message");
        const QString cfg = "impostazioni.cfg", vrc = "ruote.vrc",
                      short_ = "il file è più corto del previsto";
        const QString error =
            "Bramasolovanti|Errore %1 nella procedura ReadConfiguration (Modulo corpo)";
        const QString noWheels = "Errore|Impossibile leggere l'elenco delle ruote \"ruote.vrc\" "
                                 "(%1).\r\nL'elenco delle ruote resta vuoto.";
        // clang-format off
        QTest::newRow("code page") << cfg << QByteArray("C \x80\r\nPDF\r\n") << QStringList{"C €", "PDF"} << "";
        QTest::newRow("no settings") << cfg << QByteArray("none") << QStringList{"old", "old"}
                                     << error.arg("53 (file non trovato)");
        QTest::newRow("one line") << cfg << QByteArray("ONLY\r\n") << QStringList{"ONLY", "old"}
                                  << error.arg("62 (" + short_ + ")");
        QTest::newRow("no final line end") << cfg << QByteArray("A\r\nB") << QStringList{"A", "B"} << "";
        QTest::newRow("shipped") << vrc << QByteArray() << QStringList{"Bari", "Cagliari", "Firenze",
            "Genova", "Milano", "Napoli", "Palermo", "Roma", "Torino", "Venezia", "Nazionale",
            "Tutte"} << "";
        QTest::newRow("one a line, blanks, no final line end") << vrc
            << QByteArray("  Bari \r\n\r\n\tCagliari\nFirenze   ") << QStringList{"Bari", "Cagliari", "Firenze"} << "";
        QTest::newRow("quoted") << vrc << QByteArray("\"Roma, Capitale\",Bari\r\n \"San Marino\" ")
            << QStringList{"Roma, Capitale", "Bari", "San Marino"} << "";
        QTest::newRow("fourteen") << vrc << QByteArray("A,B,C,D,E,F,G,H,I,J,K,L,M,N")
            << QString("ABCDEFGHIJKL").split("", Qt::SkipEmptyParts)
            << "Attenzione|Il file \"ruote.vrc\" contiene 14 ruote: sono state caricate solo "
               "le prime 12.";
        QTest::newRow("no wheels") << vrc << QByteArray("none") << QStringList{}
                                   << noWheels.arg("file non trovato");
        QTest::newRow("only blanks") << vrc << QByteArray(" \r\n\t,") << QStringList{} << noWheels.arg(short_);
        // clang-format on
    }
    void startFiles() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, read);
        testsupport::AppFolder folder(bytes.isEmpty());
        if (!bytes.isEmpty() && bytes != "none")
            folder.write(name, bytes);
        else if (bytes == "none") // the other file keeps the folder a portable copy
            folder.write(name == "ruote.vrc" ? "impostazioni.cfg" : "ruote.vrc", "Bari");
        testing::Script script;
        QComboBox box;
        QStringList got;
        if (name == QStringLiteral("ruote.vrc")) {
            LoadWheels(&box);
            for (int i = 0; i < box.count(); ++i)
                got << box.itemText(i);
            QCOMPARE(box.currentIndex(), read.isEmpty() ? -1 : 0);
        } else {
            const Settings read = ReadConfiguration({"old", "old"});
            got = {read.intestazione, read.stampante};
        }
        QCOMPARE(got, read);
        QTEST(shown(script).join(""), "message");
    }

    // The settings window: what is typed and chosen is what the file holds.
    void impostazioni_data() {
        QTest::addColumn<QStringList>("printers");
        QTest::addColumn<QByteArray>("saved");   // the settings file before
        QTest::addColumn<bool>("clickPastText"); // in the blanks, three quarters along
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("save");       // Salva, else Uscita
        QTest::addColumn<QByteArray>("file"); // afterwards
        QTest::addColumn<QString>("message");
        const QStringList two{"Altra", "PDF"};
        const QByteArray pdf = "\r\nPDF\r\n";
        const QString choose = "Importante|Attenzione selezionare una stampante";
        // clang-format off
        QTest::newRow("too long") << two << pdf << false << QString(60, 'a') << true
                                  << QByteArray(55, 'A') + pdf << "";
        QTest::newRow("empty") << two << pdf << false << "" << true << pdf << "";
        QTest::newRow("code page") << two << pdf << false << "šāé€" << true << "\x8A?\xC9\x80" + pdf << "";
        // Typing goes on from the end of what is there, wherever the click was.
        QTest::newRow("after the saved header") << two << "CIRCOLO" + pdf << false << " del lotto "
                                                << true << "CIRCOLO DEL LOTTO" + pdf << "";
        QTest::newRow("click past the text") << two << "CIRCOLO" + pdf << true << " 2" << true
                                             << "CIRCOLO 2" + pdf << "";
        QTest::newRow("Uscita changes nothing") << two << "OLD" + pdf << false << " nuova" << false
                                                << "OLD" + pdf << "";
        QTest::newRow("saved printer gone") << two << QByteArray("C\r\nVecchia\r\n") << false
                                            << "" << true << QByteArray("C\r\nAltra\r\n") << choose;
        QTest::newRow("other case") << two << QByteArray("C\r\npdf\r\n") << false << "" << true
                                    << QByteArray("C\r\nAltra\r\n") << choose;
        // A first start: the system's default printer, without a question.
        QTest::newRow("none saved") << two << QByteArray("C\r\n\r\n") << false << "" << true
            << "C\r\n" + DefaultPrinter(two).toLatin1() + "\r\n" << "";
        QTest::newRow("no printer") << QStringList() << "C" + pdf << false << "" << true
            << QByteArray("C\r\n\r\n") << "Importante|Attenzione nessuna stampante installata";
        // clang-format on
    }
    void impostazioni() {
        QFETCH(QByteArray, saved);
        QFETCH(QString, typed);
        QFETCH(bool, save);
        QFETCH(QByteArray, file);
        testsupport::AppFolder folder(false);
        folder.write(QStringLiteral("impostazioni.cfg"), saved);
        testing::PrinterListScope scope(testsupport::Fetch<QStringList>("printers"));
        testing::Script script;
        frmImpostazioni w;
        w.carica();
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto* field = child<QLineEdit>(&w, "mskIntestazione");
        testsupport::CheckGoldenWindow(
            "tests/app/golden/" + QString(QTest::currentDataTag()).replace(' ', '_') + ".txt", &w);
        if (testsupport::Fetch<bool>("clickPastText"))
            QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(field->width() * 3 / 4, 8));
        QTest::qWait(0);
        const int end = int(saved.indexOf('\r'));
        QCOMPARE(field->cursorPosition(), end);
        // Coming back: a click puts the cursor where it lands; Tab at the end
        // of the text (the field alone would start it over at its first place).
        field->setCursorPosition(0);
        const QPoint first(2, field->height() / 2); // before the first letter
        QTest::keyClick(field, Qt::Key_Tab);
        QTest::mouseClick(field, Qt::LeftButton, {}, first);
        QTest::qWait(0);
        QCOMPARE(field->cursorPosition(), 0);
        QTest::keyClick(field, Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QTest::qWait(0);
        QCOMPARE(QApplication::focusWidget(), field);
        QCOMPARE(field->cursorPosition(), end);
        for (const QChar c : typed) // any letter, as the keyboard layout gives it
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, c, {});
        QTest::mouseClick(child<QWidget>(&w, save ? "cmdSalva" : "cmdUscita"), Qt::LeftButton);
        QCOMPARE(w.result(), int(save ? QDialog::Accepted : QDialog::Rejected));
        QCOMPARE(folder.read(QStringLiteral("impostazioni.cfg")), file);
        QTEST(shown(script).join('\n'), "message");
    }

    // The real boxes: the button clicked or the key pressed is the answer the program gets.
    void realMessageBoxes_data() {
        QTest::addColumn<int>("buttons"); // MsgButtons; -1 for an input box
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("press");
        QTest::addColumn<QString>("answer");
        // clang-format off
        QTest::newRow("Enter is Sì") << int(MsgButtons::YesNoCancel) << "" << "Enter" << "Yes";
        QTest::newRow("Annulla") << int(MsgButtons::YesNoCancel) << "" << "&Annulla" << "Cancel";
        QTest::newRow("OK") << int(MsgButtons::Ok) << "" << "Enter" << "Ok";
        QTest::newRow("Stampa comunque") << int(MsgButtons::PrintAnywayCancel) << "" << "&Stampa comunque" << "Yes";
        QTest::newRow("Esc") << int(MsgButtons::PrintAnywayCancel) << "" << "Esc" << "Cancel";
        QTest::newRow("Enter is not Stampa") << int(MsgButtons::PrintAnywayCancel) << "" << "Enter" << "Cancel";
        QTest::newRow("typed, OK") << -1 << "12" << "OK" << "12";
        QTest::newRow("typed, Annulla") << -1 << "12" << "Annulla" << "";
        QTest::newRow("as offered, OK") << -1 << "" << "OK" << "7";
        // clang-format on
    }
    void realMessageBoxes() {
        QFETCH(int, buttons);
        QFETCH(QString, typed);
        static const QString results[] = {"Ok", "Yes", "No", "Cancel"};
        const QString prompt = QStringLiteral("Quanti?"), title = QStringLiteral("Titolo");
        QString seen;
        answerNext(typed, testsupport::Fetch<QString>("press"), &seen);
        const QString got =
            buttons < 0
                ? InputBox(prompt, title, typed.isEmpty() ? "7" : "")
                : results[int(MsgBox(prompt, MsgButtons(buttons), MsgIcon::Question, title))];
        QTEST(got, "answer");
        QCOMPARE(seen, QStringLiteral("Titolo|Quanti?"));
    }

    // As the program starts, after a copy that crashed and left its socket behind: the file named
    // on the command line opens, Open goes through Qt's own file dialog in Italian, a second copy
    // brings the window back and hands over its file, opened once the window is free; closing asks.
    void mainWindow() {
        testsupport::AppFolder folder;
        std::optional<testing::Script> script(std::in_place);
        QVERIFY(QDir().mkpath(folder.file(QStringLiteral("sistemi"))));
        for (const QString name : {"prova", "sistemi/altro"}) {
            SystemRecord r;
            r.NomeSistema = FixedString(name.section('/', -1), 20);
            folder.write(name + ".vrl", EncodeSystemFile(r, 0, 0));
        }
        StartupOptions options;
        options.versionCheck = [] { // as the splash shows
            QTRY_VERIFY(QApplication::activeWindow());
            testsupport::CheckGoldenWindow("tests/app/golden/frmSplash.txt",
                                           QApplication::activeWindow());
        };
        options.pauseMs = 0;
        options.systemFile = folder.file(QStringLiteral("prova.vrl"));
        qputenv("WAYLAND_DISPLAY", "wayland-0:x"); // the socket of any display's name a file name
        QVERIFY2(InstanceName().endsWith("-wayland_0_x"), qPrintable(InstanceName()));
        qunsetenv("WAYLAND_DISPLAY");
        {
            QLocalServer silent; // takes the message and never answers
            QVERIFY(silent.listen(InstanceName()) && !ActivatePrevInstance());
            QVERIFY(!ActivatePrevInstance(QString(5000, 'x'))); // a path no message can hold
        }
        QProcess* crashed = startCopy({}, folder.path());
        QTRY_VERIFY_WITH_TIMEOUT(ActivatePrevInstance(), 30000); // it answers
        crashed->kill();
        QVERIFY(crashed->waitForFinished() && QFileInfo::exists(InstanceName()));
        QPointer<QWidget> main = StartUp(options);
        QVERIFY(main);
        for (const QWidget* w : QApplication::topLevelWidgets()) // the splash gone by now
            QVERIFY(w->objectName() != "frmSplash" || !w->isVisible());
        auto* name = child<QLabel>(main, "lblNomeSistema");
        QTRY_COMPARE(name->text(), QStringLiteral("prova"));
        // Its numbers are missing: the check that opening runs says so.
        QVERIFY(!script->messages().isEmpty());

        QString seen;
        answerNext(QStringLiteral("altro.vrl"), QStringLiteral("&Apri"), &seen);
        QTest::mouseClick(child<QWidget>(main, "cmdApri"), Qt::LeftButton);
        QCOMPARE(seen, QStringLiteral("Apri Sistema|Cerca in:"));
        QCOMPARE(name->text(), QStringLiteral("altro"));

        child<QLineEdit>(main, "txtImpEstratto")->setText("3,00"); // changed, not saved
        script->queueAnswer(MsgResult::No);
        const qsizetype asked = script->messages().size();
        main->showMinimized();
        main->setEnabled(false); // as under the slip window: the file waits
        QProcess* second = startCopy({QStringLiteral("prova.vrl")}, folder.path());
        QVERIFY(second->waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(second->state() == QProcess::NotRunning, 15000);
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
        QVERIFY(!main->isMinimized() && main->isVisible());
        QTest::qWait(300);
        QCOMPARE(name->text(), QStringLiteral("altro"));
        main->setEnabled(true);
        QTRY_COMPARE(name->text(), QStringLiteral("prova"));
        QCOMPARE(shown(*script).value(asked), // before anything of the file
                 main->windowTitle() + QStringLiteral("|Il sistema è stato modificato. Salvarlo?"));

        script.reset();
        answerNext({}, QStringLiteral("&No"), &seen);
        QVERIFY(!main->close());
        QCOMPARE(seen, main->windowTitle() + QStringLiteral("|Uscire dall'applicazione?"));
        answerNext({}, QStringLiteral("&Sì"));
        QVERIFY(main->close());
        QTRY_VERIFY(main.isNull());
    }

    // Any program of the user can reach the socket. A flood, a wrong message, one never ended and a
    // crowd of idle clients are dropped without costing the running copy its descriptors or socket,
    // which it takes again if lost; a later copy still hands over its file, whatever bytes its path
    // holds, up to the longest path the system takes.
    void hostileClients() {
        QStringList opened;
        { // a live copy's name is never taken, even one that does not answer
            const auto hung = testsupport::SetEnv("DISPLAY", ":hung"); // a name of its own
            QLocalServer live;
            QVERIFY(live.listen(InstanceName()));
            QObject owner;
            QVERIFY(!ListenForOtherCopies(
                &owner, [] { return nullptr; }, [](const QString&) {}));
            QLocalSocket probe;
            probe.connectToServer(InstanceName());
            QVERIFY(live.waitForNewConnection(2000));
        }
        QObject owner;
        QVERIFY(ListenForOtherCopies(
            &owner, [] { return nullptr; }, [&](const QString& f) { opened << f; }));
        const auto send = [](QLocalSocket& s, const QByteArray& message) {
            s.connectToServer(InstanceName());
            return s.state() == QLocalSocket::ConnectedState && s.write(message) == message.size();
        };
        const auto handOver = [&](const QString& file) { // without blocking this thread's server
            QLocalSocket c;
            const auto done = [&] { return c.bytesAvailable() || c.state() != c.ConnectedState; };
            return send(c, HandOverMessage(file)) && QTest::qWaitFor(done, 3000) &&
                   c.readAll() == "ok\n";
        };
        const auto few = testsupport::Limit(RLIMIT_NOFILE, QDir("/proc/self/fd").count() + 150);
        std::array<QLocalSocket, 100> idle;
        QVERIFY(std::all_of(idle.begin(), idle.end(), [&](QLocalSocket& s) {
            QCoreApplication::processEvents();
            return send(s, {});
        }));
        const auto waiting = [](const QLocalSocket& s) { return s.state() == s.ConnectedState; };
        QTRY_COMPARE(std::count_if(idle.begin(), idle.end(), waiting), 8); // the newest eight
        std::array<QLocalSocket, 3> bad; // the last few in, none taken out for room
        send(bad[0], "open 4096\n/" + QByteArray(1 << 20, 'a'));
        send(bad[1], "open /tmp/x.vrl\n");
        send(bad[2], "open 12\n/tmp");
        const QString path = "/tmp/ré\nb" + QString(MaxPathBytes - 14, 'x') + ".vrl"; // the longest
        QVERIFY(QTest::qWaitFor([&] { return handOver(path); }, 6000));
        for (int i : {0, 1}) // at once
            QCOMPARE(bad[i].state(), QLocalSocket::UnconnectedState);
        // Out of descriptors as a connection comes: the server closes, then listens again.
        QLocalSocket last;
        send(last, {});
        std::vector<int> fill;
        for (int fd; (fd = ::dup(0)) >= 0;)
            fill.push_back(fd);
        QTest::qWait(50);
        for (int fd : fill)
            ::close(fd);
        QVERIFY(QTest::qWaitFor([&] { return handOver({}); }, 6000)); // a copy with no file
        QTRY_COMPARE(bad[2].state(), QLocalSocket::UnconnectedState); // at its deadline
        QCOMPARE(opened, QStringList{path});
        QTRY_COMPARE(owner.findChildren<QLocalSocket*>().size(), 0); // every dropped one freed
    }
};

int main(int argc, char** argv) {
    // Qt's own windows in Italian, as for a user whose only language setting is LANG.
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"})
        qunsetenv(name);
    qputenv("LANG", "it_IT.UTF-8");
    QApplication app(argc, argv);
    TestApp test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_app.moc"
