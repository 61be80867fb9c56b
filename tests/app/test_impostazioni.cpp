#include "app/corpo.h"
#include "app/frmImpostazioni.h"
#include "app/messages.h"
#include "app/printers.h"
#include "app/shell.h"
#include "tests/support/testsupport.h"
#include "ui_frmImpostazioni.h"

#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

using namespace corpo;

class TestImpostazioni : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { InstallFontSubstitutions(); }

    void loadPrinters_data() {
        QTest::addColumn<QStringList>("printers");
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("message");
        const QStringList two{"Altra", "PDF"};
        QTest::newRow("saved installed") << two << "PDF" << "PDF" << "";
        QTest::newRow("saved gone") << two << "Vecchia" << "Altra"
                                    << "Attenzione selezionare una stampante";
        QTest::newRow("other case") << two << "pdf" << "Altra"
                                    << "Attenzione selezionare una stampante";
        // A first start: the system's default printer, without a question.
        QTest::newRow("none saved") << two << "" << StampantePredefinita(two) << "";
        QTest::newRow("no printer") << QStringList{} << "PDF"
                                    << ""
                                    << "Attenzione nessuna stampante installata";
    }
    void loadPrinters() {
        QFETCH(QStringList, printers);
        QFETCH(QString, saved);
        QFETCH(QString, shown);
        QFETCH(QString, message);
        testsupport::AppFolder folder(false);
        folder.write(QStringLiteral("impostazioni.cfg"), "CIRCOLO\r\n" + saved.toLatin1() + "\r\n");
        testing::PrinterListScope scope(printers);
        testing::Script script;
        frmImpostazioni w;
        w.load();
        QCOMPARE(w.ui->mskIntestazione->text(), QStringLiteral("CIRCOLO"));
        QCOMPARE(w.ui->cmbStampante->count(), printers.size());
        QCOMPARE(w.ui->cmbStampante->currentText(), shown);
        QCOMPARE(script.messages().size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty()) {
            QCOMPARE(script.messages()[0].text, message);
            QCOMPARE(script.messages()[0].title, QStringLiteral("Importante"));
            QCOMPARE(script.messages()[0].icon, MsgIcon::Critical);
        }
    }

    void typedHeaderIsSavedUpperCaseWithoutPlaceholders_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("lower case") << "circolo del lotto" << QByteArray("CIRCOLO DEL LOTTO");
        QTest::newRow("digits and marks") << "bar 2000, via roma 1" << QByteArray("BAR 2000, VIA ROMA 1");
        QTest::newRow("too long") << QString(60, QLatin1Char('a')) << QByteArray(55, 'A');
        QTest::newRow("empty") << "" << QByteArray();
    }
    void typedHeaderIsSavedUpperCaseWithoutPlaceholders() {
        QFETCH(QString, typed);
        QFETCH(QByteArray, line);
        testsupport::AppFolder folder(false);
        folder.write(QStringLiteral("impostazioni.cfg"), "\r\nPDF\r\n");
        testing::PrinterListScope scope({QStringLiteral("PDF")});
        testing::Script script;
        frmImpostazioni w;
        w.load();
        w.show();
        w.ui->mskIntestazione->setFocus();
        w.ui->mskIntestazione->selectAll();
        QTest::keyClicks(w.ui->mskIntestazione, typed);
        QTest::mouseClick(w.ui->cmdSalva, Qt::LeftButton);
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QCOMPARE(folder.read(QStringLiteral("impostazioni.cfg")), line + "\r\nPDF\r\n");
        QCOMPARE(IntestazioneStampa, QString::fromLatin1(line));
        QCOMPARE(StampanteTabulato, QStringLiteral("PDF"));
        QVERIFY(script.messages().isEmpty());
    }

    void uscitaChangesNothing() {
        testsupport::AppFolder folder(false);
        const QByteArray before("OLD\r\nPDF\r\n");
        folder.write(QStringLiteral("impostazioni.cfg"), before);
        testing::PrinterListScope scope({QStringLiteral("Altra"), QStringLiteral("PDF")});
        testing::Script script;
        frmImpostazioni w;
        w.load();
        w.show();
        w.ui->mskIntestazione->selectAll();
        QTest::keyClicks(w.ui->mskIntestazione, QStringLiteral("nuova"));
        w.ui->cmbStampante->setCurrentIndex(0);
        QTest::mouseClick(w.ui->cmdUscita, Qt::LeftButton);
        QCOMPARE(w.result(), int(QDialog::Rejected));
        QCOMPARE(folder.read(QStringLiteral("impostazioni.cfg")), before);
        QCOMPARE(IntestazioneStampa, QStringLiteral("OLD"));
        QCOMPARE(StampanteTabulato, QStringLiteral("PDF"));
    }

    void saveFailureKeepsWindowAndFile() {
        testsupport::AppFolder folder(false);
        testing::PrinterListScope scope({QStringLiteral("PDF")});
        testing::Script script;
        frmImpostazioni w;
        w.load(); // the file is missing: the read reports it
        QCOMPARE(script.messages().size(), 1);
        QVERIFY(script.messages()[0].text.startsWith(QStringLiteral("Error 53 (File not found)")));
        script.clear();
        // A folder that cannot hold the file: the application folder is a file.
        QTemporaryFile notAFolder;
        QVERIFY(notAFolder.open());
        PercorsoApp = notAFolder.fileName() + QLatin1Char('/');
        w.show();
        QTest::mouseClick(w.ui->cmdSalva, Qt::LeftButton);
        QVERIFY(w.isVisible());
        QCOMPARE(script.messages().size(), 1);
        QVERIFY2(script.messages()[0].text.endsWith(
                     QStringLiteral("in procedure cmdSalva_Click of Form frmImpostazioni")),
                 qPrintable(script.messages()[0].text));
        QCOMPARE(script.messages()[0].title, QStringLiteral("Bramasolovanti"));
        QCOMPARE(notAFolder.size(), 0);
    }
};

QTEST_MAIN(TestImpostazioni)
#include "test_impostazioni.moc"
