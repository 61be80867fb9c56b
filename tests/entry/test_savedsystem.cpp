// Saving and opening systems through the main window: the bytes on disk, the
// way back, and every file that cannot be read or written.
#include "mainwindow.h"

#include "entry/dialogs.h"

#include <QDir>
#include <QFile>
#include <csignal>
#include <cstring>
#include <sys/resource.h>

using namespace corpo;
using namespace entrytest;

namespace {

QByteArray le32(uint32_t v) {
    QByteArray b(4, 0);
    for (int i = 0; i < 4; ++i)
        b[i] = char((v >> (8 * i)) & 0xFF);
    return b;
}
QByteArray f32(float f) {
    uint32_t v;
    std::memcpy(&v, &f, 4);
    return le32(v);
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

// Writes beyond a byte count fail for the scope, as on a full disk; root
// included.
struct FileSizeLimit {
    rlimit previous{};
    void (*previousHandler)(int) = nullptr;
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &previous);
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = previous;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);
    }
};

// The stakes of the 10 euro system in the order they are summed.
float tenEuroTotal() {
    const float order[] = {1.0f,  1.0f,  0.3f,  0.3f,  0.15f, 0.15f, 0.05f,
                           0.05f, 0.6f,  0.6f,  0.3f,  0.3f,  0.1f,  0.1f,
                           0.75f, 0.75f, 0.25f, 0.25f, 1.0f,  1.0f,  1.0f};
    float t = 0;
    for (float v : order)
        t = float(t + v);
    return t;
}

} // namespace

class TestSavedSystem : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void goldenBytes() {
        MainWindow m;
        DialogAnswer dialog;
        m.typeNumbers(goodCluster());
        m.wheels()->setCurrentIndex(5); // Napoli
        QTest::mouseClick(m.button(QStringLiteral("cmd10Euro")), Qt::LeftButton);
        dialog.path = m.app.file(QStringLiteral("sistemi/Prova.vrl"));
        QTest::mouseClick(m.button(QStringLiteral("cmdSalva")), Qt::LeftButton);
        QVERIFY(m.script.messages().isEmpty());

        QCOMPARE(dialog.asked.size(), 1);
        const FileDialogRequest& r = dialog.asked[0];
        QVERIFY(r.save);
        QCOMPARE(r.folder, m.app.path() + QStringLiteral("sistemi"));
        QVERIFY(QDir(r.folder).exists()); // made when missing
        QCOMPARE(r.filter, QStringLiteral("Sistemi Bramasolovanti (*.vrl)"));
        QCOMPARE(r.defaultSuffix, QStringLiteral("vrl"));

        QByteArray expected = "VorlaccoQRV001";
        expected += "Napoli    ";
        expected += "Prova.vrl           "; // as the dialog gave it
        expected += f32(tenEuroTotal());
        expected += QByteArray::fromHex("0102030405" "0b0c0d0e0f" "15161718" "1f202122"
                                        "292a2b" "333435" "3d3e" "4748" "51" "00");
        for (int bet = 0; bet < 2; ++bet)
            expected += f32(1.0f) + f32(0.3f) + f32(0.15f) + f32(0.05f);
        for (int bet = 0; bet < 2; ++bet)
            expected += f32(0.6f) + f32(0.3f) + f32(0.1f);
        for (int bet = 0; bet < 2; ++bet)
            expected += f32(0.75f) + f32(0.25f);
        expected += f32(1.0f) + f32(1.0f) + f32(1.0f);
        expected += QByteArray(84, '\0'); // no winnings computed yet
        expected += QByteArray::fromHex("ffff8000" "ff000000");
        QCOMPARE(expected.size(), 254);
        QCOMPARE(m.app.read(QStringLiteral("sistemi/Prova.vrl")).toHex(), expected.toHex());
        QCOMPARE(m.nameLabel(), QStringLiteral("prova.vrl"));
        QCOMPARE(Sistema.NomeSistema, QStringLiteral("prova.vrl           "));
        QCOMPARE(m.total(), QStringLiteral("10,00"));
    }

    void savingOverALongerFileLeavesExactly254Bytes() {
        MainWindow m;
        DialogAnswer dialog;
        m.setNumbers(goodCluster());
        dialog.path = m.app.file(QStringLiteral("lungo.vrl"));
        m.app.write(QStringLiteral("lungo.vrl"), QByteArray(1000, 'x'));
        m.w->SaveSystem();
        QCOMPARE(m.app.read(QStringLiteral("lungo.vrl")).size(), 254);
    }

    void roundTrip_data() {
        QTest::addColumn<int>("head");
        QTest::addColumn<int>("cluster");
        QTest::addColumn<int>("headColour");
        QTest::addColumn<int>("wheel");
        QTest::addColumn<bool>("twenty");
        QTest::addColumn<QString>("file");
        QTest::newRow("plain") << 0 << 0x0080FFFF << 255 << 0 << false << "Semplice.vrl";
        QTest::newRow("head number and colours") << 45 << 0x00123456 << 0x00FEDCBA << 11 << true
                                                 << "capo.vrl";
        QTest::newRow("long name") << 0 << 0 << 0xFFFFFF << 3 << false
                                   << "Un Nome Davvero Lunghissimo.vrl";
    }
    void roundTrip() {
        QFETCH(int, head);
        QFETCH(int, cluster);
        QFETCH(int, headColour);
        QFETCH(int, wheel);
        QFETCH(bool, twenty);
        QFETCH(QString, file);
        MainWindow m;
        DialogAnswer dialog;
        m.setNumbers(goodCluster());
        if (head) {
            m.script.queueInput(QString::number(head));
            m.w->ImpostaCapogioco(1);
        }
        ColoreVorlacco = cluster;
        ColoreCapogioco = headColour;
        m.w->ImpostaColoreVorlacco(ColoreVorlacco);
        m.button(twenty ? QStringLiteral("cmd20Euro") : QStringLiteral("cmd10Euro"))->click();
        m.stake(Terz1, 1)->setText(QStringLiteral("0,35")); // not a preset value
        m.wheels()->setCurrentIndex(wheel);
        Sistema.VinCinq2 = {1.5f, 2.25f, -0.0f, 1e30f};
        dialog.path = m.app.file(file);
        m.script.clear();
        m.w->SaveSystem();
        QVERIFY(m.script.messages().isEmpty());
        const QByteArray onDisk = m.app.read(QFileInfo(file).fileName());
        QCOMPARE(onDisk.size(), 254);
        const QStringList shown = m.fieldTexts();

        m.button(QStringLiteral("cmdCancella"))->click();
        QCOMPARE(m.nameLabel(), QStringLiteral("vuoto.vrl"));
        QCOMPARE(ColoreVorlacco, ColoreVorlaccoDefault);
        m.w->OpenSystem();
        QVERIFY(m.script.messages().isEmpty());

        // The record comes back bit for bit, the name as stored (not lowered).
        QCOMPARE(recordBytes().toHex(), onDisk.mid(14, 232).toHex());
        QCOMPARE(Sistema.NomeSistema, FixedString(file, 20));
        QCOMPARE(ColoreVorlacco, cluster);
        QCOMPARE(ColoreCapogioco, headColour);
        QCOMPARE(int(Sistema.Capogioco), head);
        QCOMPARE(m.nameLabel(), FixedString(file, 20).trimmed());
        // Every field as it was, the name label apart.
        QStringList expected = shown;
        expected[expected.size() - 2] = m.nameLabel();
        QCOMPARE(m.fieldTexts(), expected);
        QCOMPARE(m.wheels()->currentIndex(), wheel);
        QCOMPARE(m.w->grape(3)->colore(), ToQColor(cluster));
        QCOMPARE(m.w->grape(14)->colore(), ToQColor(head ? headColour : cluster));
        QCOMPARE(m.button(QStringLiteral("cmdColoraCapogioco"))->isEnabled(), head != 0);
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
        const Cluster c = goodCluster();
        for (int g = 0; g < NumGruppi; ++g)
            for (int p = 0; p < GroupSize[size_t(g)]; ++p)
                RecordNumbers(r, g)[p] = uint8_t(c[size_t(g)][size_t(p)]);
        r.Ruota = FixedString(QStringLiteral("Torino"), 10);
        r.NomeSistema = FixedString(QStringLiteral("Vecchio.vrl"), 20);
        r.ImpAmbo1 = 2.0f;
        ColoreVorlacco = 0x00111111; // whatever was there before goes
        m.app.write(QStringLiteral("vecchio.vrl"), header + EncodeRecord(r));
        dialog.path = m.app.file(QStringLiteral("vecchio.vrl"));
        m.w->OpenSystem();
        QVERIFY(m.script.messages().isEmpty());
        QCOMPARE(ColoreVorlacco, ColoreVorlaccoDefault);
        QCOMPARE(ColoreCapogioco, ColoreCapogiocoDefault);
        QCOMPARE(m.wheels()->currentText(), QStringLiteral("Torino"));
        QCOMPARE(m.number(Ambo2, 1)->text(), QStringLiteral("72"));
        QCOMPARE(m.stake(Ambo1, 0)->text(), QStringLiteral("2,00"));
        QCOMPARE(m.total(), QStringLiteral("2,00"));
        QCOMPARE(m.nameLabel(), QStringLiteral("Vecchio.vrl"));
        QCOMPARE(dialog.asked.size(), 1);
        QVERIFY(!dialog.asked[0].save);
        QCOMPARE(dialog.asked[0].folder, m.app.path() + QStringLiteral("sistemi"));
    }

    void unreadableFilesChangeNothing_data() {
        QTest::addColumn<QByteArray>("content"); // "<none>": no file at all
        QTest::addColumn<QString>("message");
        const QByteArray good = EncodeSystemFile(SystemRecord{}, 1, 2);
        const QString unknown = QStringLiteral("Questo file non puo' essere letto");
        const QString shortFile = QStringLiteral(
            "Il file è incompleto: è più corto di quanto indica la sua intestazione.\r\n"
            "Il sistema corrente non è stato modificato.");
        QTest::newRow("unknown header") << QByteArray("%PDF-1.4 not a system at all") << unknown;
        QTest::newRow("lower-case header") << QByteArray("vorlaccoQRV001") + good.mid(14)
                                           << unknown;
        QTest::newRow("empty file") << QByteArray() << unknown;
        QTest::newRow("truncated record") << good.left(100) << shortFile;
        QTest::newRow("colours missing") << good.left(250) << shortFile;
        QTest::newRow("legacy truncated") << QByteArray("Bramasolovanti") + good.mid(14, 200)
                                          << shortFile;
        QTest::newRow("missing file")
            << QByteArray("<none>")
            << QStringLiteral("Impossibile leggere il file\r\n%1\r\n(file non trovato).");
    }
    void unreadableFilesChangeNothing() {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        MainWindow m;
        DialogAnswer dialog;
        m.setNumbers(goodCluster());
        m.script.queueInput(QStringLiteral("12"));
        m.w->ImpostaCapogioco(1);
        m.button(QStringLiteral("cmd20Euro"))->click();
        m.wheels()->setCurrentIndex(4);
        m.script.clear();
        const QByteArray record = recordBytes();
        const int32_t cluster = ColoreVorlacco, head = ColoreCapogioco;
        const QStringList fields = m.fieldTexts();

        dialog.path = m.app.file(QStringLiteral("sistemi/guasto.vrl"));
        QDir().mkpath(m.app.file(QStringLiteral("sistemi")));
        if (content != "<none>")
            m.app.write(QStringLiteral("sistemi/guasto.vrl"), content);
        m.button(QStringLiteral("cmdApri"))->click();

        QCOMPARE(m.script.messages().size(), 1);
        const Shown s = m.script.messages().constFirst();
        QCOMPARE(s.text, message.contains(QStringLiteral("%1"))
                             ? message.arg(QDir::toNativeSeparators(dialog.path))
                             : message);
        QCOMPARE(s.title, QStringLiteral("E R R O R E"));
        QCOMPARE(s.icon, MsgIcon::Critical);
        QCOMPARE(recordBytes().toHex(), record.toHex());
        QCOMPARE(ColoreVorlacco, cluster);
        QCOMPARE(ColoreCapogioco, head);
        QCOMPARE(m.fieldTexts(), fields);
        QCOMPARE(m.w->grape(14)->colore(), ToQColor(head));
    }

    void failedSaveChangesNothing_data() {
        QTest::addColumn<QString>("target"); // relative to the application folder
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder is a file") << "bloccato/sistema.vrl" << "cartella non trovata";
        QTest::newRow("disk full") << "sistemi/pieno.vrl" << "disco pieno";
        if (!testsupport::runningAsRoot())
            QTest::newRow("read-only folder") << "solalettura/sistema.vrl" << "accesso negato";
    }
    void failedSaveChangesNothing() {
        QFETCH(QString, target);
        QFETCH(QString, reason);
        MainWindow m;
        DialogAnswer dialog;
        m.setNumbers(goodCluster());
        m.button(QStringLiteral("cmd10Euro"))->click();
        // A first save that works: the name and the label change with it.
        dialog.path = m.app.file(QStringLiteral("primo.vrl"));
        m.w->SaveSystem();
        QVERIFY(m.script.messages().isEmpty());

        m.app.write(QStringLiteral("bloccato"), "a regular file, not a folder");
        QDir().mkpath(m.app.file(QStringLiteral("solalettura")));
        const QByteArray earlier = QByteArray(300, 'E');
        m.app.write(QStringLiteral("sistemi/pieno.vrl"), earlier);
        m.app.write(QStringLiteral("solalettura/sistema.vrl"), earlier);
        QFile::setPermissions(m.app.file(QStringLiteral("solalettura")),
                              QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const QByteArray record = recordBytes();
        const QStringList fields = m.fieldTexts();

        dialog.path = m.app.file(target);
        {
            std::optional<FileSizeLimit> full;
            if (target.contains(QStringLiteral("pieno")))
                full.emplace(100);
            m.w->SaveSystem();
        }
        QFile::setPermissions(m.app.file(QStringLiteral("solalettura")),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                  QFileDevice::ExeOwner);

        QCOMPARE(m.script.messages().size(), 1);
        const Shown s = m.script.messages().constFirst();
        QCOMPARE(s.text, QStringLiteral("Il sistema non è stato salvato in\r\n%1\r\n(%2).")
                             .arg(QDir::toNativeSeparators(dialog.path), reason));
        QCOMPARE(s.title, QStringLiteral("E R R O R E"));
        QCOMPARE(s.icon, MsgIcon::Critical);
        QCOMPARE(recordBytes().toHex(), record.toHex());
        QCOMPARE(m.fieldTexts(), fields);
        QCOMPARE(m.nameLabel(), QStringLiteral("primo.vrl"));
        if (!target.startsWith(QStringLiteral("bloccato"))) {
            QCOMPARE(m.app.read(target), earlier);
        }
        // No temporary file is left beside the target.
        const QDir folder = QFileInfo(m.app.file(target)).dir();
        if (folder.exists())
            QCOMPARE(folder.entryList(QDir::Files).size(), 1);
    }

    void emptySystemNameRefused() {
        MainWindow m;
        DialogAnswer dialog;
        m.setNumbers(goodCluster());
        dialog.path = m.app.file(QStringLiteral("sistemi/vuoto.vrl"));
        const QByteArray record = recordBytes();
        m.w->SaveSystem();
        QCOMPARE(m.script.messages().size(), 1);
        const Shown s = m.script.messages().constFirst();
        QCOMPARE(s.text, QStringLiteral("Impostare un nome diverso da\r\n[vuoto.vrl]"));
        QCOMPARE(s.title, QStringLiteral("Attenzione"));
        QCOMPARE(s.icon, MsgIcon::Critical);
        QVERIFY(!QFile::exists(dialog.path));
        QCOMPARE(Sistema.NomeSistema, QStringLiteral("vuoto.vrl           "));
        QCOMPARE(m.nameLabel(), QStringLiteral("vuoto.vrl"));
        Q_UNUSED(record);
    }

    void nothingHappensWithoutAnAnswer_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("complete");
        QTest::addColumn<int>("asked");
        QTest::newRow("save cancelled") << "cmdSalva" << true << 1;
        QTest::newRow("save incomplete: no dialog") << "cmdSalva" << false << 0;
        QTest::newRow("open cancelled") << "cmdApri" << true << 1;
    }
    void nothingHappensWithoutAnAnswer() {
        QFETCH(QString, button);
        QFETCH(bool, complete);
        QFETCH(int, asked);
        MainWindow m;
        DialogAnswer dialog; // empty path: the user cancelled
        m.setNumbers(complete ? goodCluster() : Cluster{});
        m.w->VerificaSistema();
        m.script.clear();
        const QByteArray record = recordBytes();
        const QStringList fields = m.fieldTexts();
        m.button(button)->click();
        QCOMPARE(dialog.asked.size(), asked);
        QCOMPARE(m.script.messages().size(), complete ? 0 : 1);
        QCOMPARE(recordBytes().toHex(), record.toHex());
        QCOMPARE(m.fieldTexts(), fields);
        QCOMPARE(QDir(m.app.file(QStringLiteral("sistemi"))).entryList(QDir::Files).size(), 0);
    }
};

QTEST_MAIN(TestSavedSystem)
#include "test_savedsystem.moc"
