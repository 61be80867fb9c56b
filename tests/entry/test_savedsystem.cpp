// Saving and opening systems through the main window: the bytes on disk, the
// way back, and every file that cannot be read or written.
#include "entrytest.h"

#include "app/settings.h"
#include "entry/dialogs.h"
#include "outputs/taratura.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QtEndian>
#include <bit>
#include <sys/stat.h>

using namespace corpo;
using namespace entrytest;

namespace {

QByteArray f32(float f) {
    const quint32 v = qToLittleEndian(std::bit_cast<quint32>(f));
    return QByteArray(reinterpret_cast<const char*>(&v), 4);
}

// Answers the file dialogs with a path and remembers what they were asked.
struct DialogAnswer {
    QString path;
    QList<FileDialogRequest> asked;
    DialogAnswer() {
        testing::SetFileDialog([this](QWidget*, const FileDialogRequest& r) {
            asked.append(r);
            return path;
        });
    }
    ~DialogAnswer() { testing::SetFileDialog({}); }
};

} // namespace

class TestSavedSystem : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void savedBytesAndBack() {
        MainWindow m;
        DialogAnswer dialog;
        m.setNumbers(goodCluster());
        m.setHead(45);
        ColoreVorlacco = 0x00123456;
        ColoreCapogioco = 0x00FEDCBA;
        m.wheels()->setCurrentIndex(5); // Napoli
        QTest::mouseClick(m.button(QStringLiteral("cmd10Euro")), Qt::LeftButton);
        Sistema.VinCinq1 = {25, 210, 4290, 319600};
        Sistema.VinCinq2 = {-0.0f, 1e30f};
        Sistema.VinEstratto = 11.232f;
        // Saving over a longer file leaves exactly the new bytes.
        const QString name = QStringLiteral("Un Nome Davvero Lunghissimo.vrl");
        m.app.write(name, QByteArray(1000, 'x'));
        dialog.path = m.app.file(name);
        m.script.clear();
        QTest::mouseClick(m.button(QStringLiteral("cmdSalva")), Qt::LeftButton);
        QVERIFY(m.script.messages().isEmpty());
        QCOMPARE(dialog.asked.size(), 1);
        QVERIFY(dialog.asked[0].save);
        QCOMPARE(dialog.asked[0].folder, m.app.path() + QStringLiteral("sistemi"));
        QVERIFY(QDir(dialog.asked[0].folder).exists()); // made when missing
        QCOMPARE(dialog.asked[0].filter, QStringLiteral("Sistemi Bramasolovanti (*.vrl)"));
        QCOMPARE(dialog.asked[0].defaultSuffix, QStringLiteral("vrl"));

        QByteArray expected = "VorlaccoQRV001Napoli    Un Nome Davvero Lung" + f32(10.0f);
        // The numbers, the head number first in each bet, then the estratto
        // and the head number.
        expected += QByteArray::fromHex("2d02030405 2d0c0d0e0f 2d161718 2d202122 2d2a2b 2d3435 "
                                        "2d3e 2d48 2d 2d");
        // The stakes bet by bet, then the winnings.
        for (float v : {1.0f, 0.3f, 0.15f, 0.05f, 1.0f, 0.3f, 0.15f, 0.05f, 0.6f, 0.3f, 0.1f, 0.6f,
                        0.3f, 0.1f, 0.75f, 0.25f, 0.75f, 0.25f, 1.0f, 1.0f, 1.0f, 25.0f, 210.0f,
                        4290.0f, 319600.0f, -0.0f, 1e30f})
            expected += f32(v);
        expected += QByteArray(56, '\0') + f32(11.232f);
        expected += QByteArray::fromHex("56341200badcfe00");
        const QByteArray onDisk = m.app.read(name);
        QCOMPARE(onDisk.toHex(), expected.toHex());
        QCOMPARE(m.nameLabel(), QStringLiteral("un nome davvero lung"));
        QStringList shown = m.fieldTexts();

        m.button(QStringLiteral("cmdCancella"))->click();
        QCOMPARE(m.nameLabel(), QStringLiteral("vuoto.vrl"));
        QCOMPARE(ColoreVorlacco, ColoreVorlaccoDefault);
        QTest::mouseClick(m.button(QStringLiteral("cmdApri")), Qt::LeftButton);
        QVERIFY(m.script.messages().isEmpty());
        QVERIFY(!dialog.asked[1].save);
        // The record and the colours come back bit for bit, the name as stored.
        QCOMPARE(recordBytes().toHex(), onDisk.mid(14, 232).toHex());
        QCOMPARE(ColoreVorlacco, 0x00123456);
        QCOMPARE(ColoreCapogioco, 0x00FEDCBA);
        shown[shown.size() - 2] = QStringLiteral("Un Nome Davvero Lung");
        QCOMPARE(m.fieldTexts(), shown);
        QCOMPARE(m.w->grape(3)->colore(), QColor(0x56, 0x34, 0x12));
        QCOMPARE(m.w->grape(14)->colore(), QColor(0xBA, 0xDC, 0xFE));
        QVERIFY(m.button(QStringLiteral("cmdColoraCapogioco"))->isEnabled());
    }

    void legacyFiles_data() {
        QTest::addColumn<QByteArray>("header");
        QTest::newRow("Bramasolovanti") << QByteArray("Bramasolovanti");
        QTest::newRow("Il Bramasolovanti") << QByteArray("Il Bramasolovanti");
    }
    void legacyFiles() {
        QFETCH(QByteArray, header);
        MainWindow m;
        DialogAnswer dialog;
        SystemRecord r;
        eachNumber([&](int g, int p) {
            Scommesse[size_t(g)].Numbers(r)[size_t(p)] = uint8_t(10 * g + p + 1);
        });
        r.Ruota = QStringLiteral("Torino    ");
        r.NomeSistema = QStringLiteral("Vecchio.vrl         ");
        r.ImpAmbo1 = 2.0f;
        ColoreVorlacco = 0x00111111; // older files have no colours: the defaults come back
        m.app.write(QStringLiteral("vecchio.vrl"), header + EncodeRecord(r));
        dialog.path = m.app.file(QStringLiteral("vecchio.vrl"));
        m.w->OpenSystem();
        QVERIFY(m.script.messages().isEmpty());
        QCOMPARE(ColoreVorlacco, ColoreVorlaccoDefault);
        QCOMPARE(ColoreCapogioco, ColoreCapogiocoDefault);
        QCOMPARE(m.wheels()->currentText(), QStringLiteral("Torino"));
        QCOMPARE(m.stake(Ambo1, 0)->text(), QStringLiteral("2,00"));
        QCOMPARE(m.nameLabel(), QStringLiteral("Vecchio.vrl"));
    }

    void failuresChangeNothing_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("target");     // in the application folder; "-": not asked
        QTest::addColumn<QByteArray>("content"); // "<none>": no file at all
        QTest::addColumn<QString>("message");    // %1: the target
        QTest::addColumn<QString>("title");
        const QByteArray good = EncodeSystemFile(SystemRecord{}, 1, 2);
        const QString unknown = QStringLiteral("Questo file non puo' essere letto");
        const QString shortFile = QStringLiteral(
            "Il file è incompleto: è più corto di quanto indica la sua intestazione.\r\n"
            "Il sistema corrente non è stato modificato.");
        const QString notSaved = QStringLiteral("Il sistema non è stato salvato in\r\n%1\r\n(%2).");
        const QString error = QStringLiteral("E R R O R E");
        const QString open = QStringLiteral("cmdApri"), save = QStringLiteral("cmdSalva");
        const QString f = QStringLiteral("guasto.vrl");
        QTest::newRow("lower-case header")
            << open << f << "vorlacco" + good.mid(8) << unknown << error;
        QTest::newRow("empty file") << open << f << QByteArray() << unknown << error;
        QTest::newRow("one byte short") << open << f << good.left(253) << shortFile << error;
        QTest::newRow("legacy truncated")
            << open << f << "Bramasolovanti" + good.mid(14, 200) << shortFile << error;
        QTest::newRow("missing file")
            << open << f << QByteArray("<none>")
            << QStringLiteral("Impossibile leggere il file\r\n%1\r\n(file non trovato).") << error;
        QTest::newRow("open cancelled") << open << "" << QByteArray("<none>") << "" << "";
        QTest::newRow("folder is a file") << save << "bloccato/sistema.vrl" << QByteArray("<none>")
                                          << notSaved.arg("%1", "cartella non trovata") << error;
        if (!testsupport::runningAsRoot())
            QTest::newRow("read-only folder") << save << "solalettura/sistema.vrl"
                                              << QByteArray("earlier")
                                              << notSaved.arg("%1", "accesso negato") << error;
        QTest::newRow("save as the empty system")
            << save << "vuoto.vrl" << QByteArray("<none>")
            << "Impostare un nome diverso da\r\n[vuoto.vrl]" << "Attenzione";
        QTest::newRow("save cancelled") << save << "" << QByteArray("<none>") << "" << "";
        QTest::newRow("save incomplete: no dialog")
            << save << "-" << QByteArray("<none>") << "Il secondo ambo non è completo!!!"
            << "Attenzione!!";
    }
    void failuresChangeNothing() {
        QFETCH(QString, button);
        QFETCH(QString, target);
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        QFETCH(QString, title);
        MainWindow m;
        DialogAnswer dialog;
        m.setNumbers(target == "-" ? with(goodCluster(), Ambo2, 1, 0) : goodCluster());
        m.setHead(9); // in no bet already
        m.button(QStringLiteral("cmd20Euro"))->click();
        m.wheels()->setCurrentIndex(4);
        m.app.write(QStringLiteral("bloccato"), "a regular file, not a folder");
        const QString readOnly = m.app.file(QStringLiteral("solalettura"));
        QDir().mkpath(readOnly);
        if (content != "<none>")
            m.app.write(target, content);
        QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        dialog.path = target.isEmpty() ? QString() : m.app.file(target);
        m.script.clear();
        const QByteArray record = recordBytes();
        const int32_t cluster = ColoreVorlacco, head = ColoreCapogioco;
        const QStringList fields = m.fieldTexts();
        const QStringList files = QDir(m.app.path()).entryList(QDir::Files);

        // The changed system is not saved first: Open goes on without it.
        const bool opening = button == QStringLiteral("cmdApri");
        if (opening)
            m.script.queueAnswer(MsgResult::No);
        m.button(button)->click();
        const QList<Shown> shown = m.script.messages().mid(opening ? 1 : 0);
        QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ExeOwner);
        QCOMPARE(dialog.asked.size(), target == "-" ? 0 : 1);
        QCOMPARE(shown.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty()) {
            const Shown s = shown.constFirst();
            QCOMPARE(s.text, message.contains("%1")
                                 ? message.arg(QDir::toNativeSeparators(dialog.path))
                                 : message);
            QCOMPARE(s.title, title);
            QCOMPARE(s.icon, MsgIcon::Critical);
        }
        QCOMPARE(recordBytes().toHex(), record.toHex());
        QCOMPARE(ColoreVorlacco, cluster);
        QCOMPARE(ColoreCapogioco, head);
        QCOMPARE(m.fieldTexts(), fields);
        QCOMPARE(m.w->grape(14)->colore(), ToQColor(head));
        // Nothing written: an earlier file stays as it was, no temporary file is left.
        QCOMPARE(QDir(m.app.path()).entryList(QDir::Files), files);
        QCOMPARE(QDir(readOnly).entryList(QDir::Files).size(), content == "earlier" ? 1 : 0);
        if (content == "earlier")
            QCOMPARE(m.app.read(target), content);
    }
    // Every reader of outside data against files that are none of its own:
    // each is refused at once with the reader's message, and what the program
    // held stays as it was.
    void hostileFiles_data() {
        QTest::addColumn<QString>("file");       // in the application folder
        QTest::addColumn<QByteArray>("content"); // or a kind: <fifo> <folder> <zero> <2 GB>
        QTest::addColumn<QString>("message");    // %1: the path
        const QString vrl = "guasto.vrl", cfg = "impostazioni.cfg", vrc = "ruote.vrc";
        const QString access = "Error 75 (Path/File access error) in procedure %1";
        const QMap<QString, QString> refused{
            {vrl, "Impossibile leggere il file\r\n%1\r\n(percorso o file non accessibile)."},
            {cfg, access.arg("ReadConfiguration of Modulo corpo")},
            {vrc, "Impossibile leggere l'elenco delle ruote \"ruote.vrc\" (Path/File access "
                  "error).\r\nL'elenco delle ruote resta vuoto."},
            {TaraturaFileName, access.arg("LeggiTaraturaAmbetto of Form frmStampaSchedine")}};
        for (const QString& file : refused.keys())
            for (const char* kind : {"<fifo>", "<folder>", "<zero>", "<2 GB>"})
                QTest::addRow("%s %s", qPrintable(file), kind)
                    << file << QByteArray(kind) << refused[file];
        const QByteArray good = EncodeSystemFile(SystemRecord{}, 1, 2);
        // File offsets: the first number, the head number, the first stake.
        const auto patched = [&](int at, const QByteArray& bytes) {
            return QByteArray(good).replace(at, bytes.size(), bytes);
        };
        const QString foreign = "Questo file non puo' essere letto";
        QTest::newRow("number 91") << vrl << patched(48, "\x5b") << foreign;
        QTest::newRow("head number 255") << vrl << patched(77, "\xff") << foreign;
        for (float stake : {std::numeric_limits<float>::quiet_NaN(),
                            std::numeric_limits<float>::infinity(), -5.0f, 200.01f, 1e35f})
            QTest::addRow("stake %g", double(stake)) << vrl << patched(78, f32(stake)) << foreign;
        QTest::newRow("empty wheel list")
            << vrc << QByteArray()
            << "Impossibile leggere l'elenco delle ruote \"ruote.vrc\" (Input past end of "
               "file).\r\nL'elenco delle ruote resta vuoto.";
        const QString badCalibration = "Il file \"printA.cfg\" contiene distanze non valide (da 0 "
                                       "a 300 mm): la taratura non è stata letta.";
        TaraturaAmbetto t;
        t.Left = 300.01f;
        QTest::newRow("Left 300.01") << TaraturaFileName << EncodeTaratura(t) << badCalibration;
        t.Left = 0;
        t.DistanzaY = std::numeric_limits<float>::quiet_NaN();
        QTest::newRow("DistanzaY NaN") << TaraturaFileName << EncodeTaratura(t) << badCalibration;
    }
    void hostileFiles() {
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        MainWindow m;
        DialogAnswer dialog;
        m.setNumbers(goodCluster());
        m.button(QStringLiteral("cmd20Euro"))->click();
        const QString path = m.app.file(file);
        QFile::remove(path);
        if (content == "<fifo>")
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (content == "<folder>")
            QVERIFY(QDir().mkdir(path));
        else if (content == "<zero>")
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
        else
            m.app.write(file, content.startsWith('<') ? QByteArray() : content);
        if (content == "<2 GB>")
            QVERIFY(QFile::resize(path, qint64(2) << 30)); // sparse: no disk used
        dialog.path = path;
        m.script.clear();
        const QByteArray record = recordBytes();
        const int32_t cluster = ColoreVorlacco;
        IntestazioneStampa = StampanteTabulato = QStringLiteral("prima");
        TaraturaAmbetto t;
        t.Left = 7;
        t.Stampante = QStringLiteral("prima");
        QComboBox wheels;

        QElapsedTimer clock;
        clock.start();
        if (file.endsWith(QStringLiteral(".vrl")))
            m.w->OpenSystem();
        else if (file == QStringLiteral("impostazioni.cfg"))
            ReadConfiguration();
        else if (file == QStringLiteral("ruote.vrc"))
            CaricaRuote(&wheels);
        else
            QVERIFY(!LeggiTaraturaFile(t));
        QVERIFY(clock.elapsed() < 1000);
        // Open first asks about the changed system (answered No).
        const QList<Shown> shown = m.script.messages().mid(file.endsWith(".vrl") ? 1 : 0);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text,
                 message.contains("%1") ? message.arg(QDir::toNativeSeparators(path)) : message);
        QCOMPARE(recordBytes().toHex(), record.toHex());
        QCOMPARE(ColoreVorlacco, cluster);
        QCOMPARE(IntestazioneStampa + StampanteTabulato, QStringLiteral("primaprima"));
        QCOMPARE(t.Left, 7.0f);
        QCOMPARE(t.Stampante, QStringLiteral("prima"));
        QCOMPARE(wheels.count(), 0);
    }
};

QTEST_MAIN(TestSavedSystem)
#include "test_savedsystem.moc"
