#include "app/corpo.h"
#include "app/frmImpostazioni.h"
#include "app/messages.h"
#include "app/printers.h"
#include "app/shell.h"
#include "tests/support/testsupport.h"
#include "ui_frmImpostazioni.h"

#include <QApplication>
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
        QTest::addColumn<QByteArray>("saved");
        QTest::addColumn<bool>("clickPastText"); // in the blanks, three quarters along
        QTest::addColumn<int>("cursor");         // before typing
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("lower case") << QByteArray() << false << 0 << "circolo del lotto"
                                    << QByteArray("CIRCOLO DEL LOTTO");
        QTest::newRow("digits and marks") << QByteArray() << false << 0 << "bar 2000, via roma 1"
                                          << QByteArray("BAR 2000, VIA ROMA 1");
        QTest::newRow("too long") << QByteArray() << false << 0 << QString(60, QLatin1Char('a'))
                                  << QByteArray(55, 'A');
        QTest::newRow("empty") << QByteArray() << false << 0 << "" << QByteArray();
        // Typing goes on from the end of what is there, wherever the click was.
        QTest::newRow("after the saved header")
            << QByteArray("CIRCOLO") << false << 7 << " del lotto"
            << QByteArray("CIRCOLO DEL LOTTO");
        QTest::newRow("click past the text")
            << QByteArray("CIRCOLO") << true << 7 << " 2" << QByteArray("CIRCOLO 2");
    }
    void typedHeaderIsSavedUpperCaseWithoutPlaceholders() {
        QFETCH(QByteArray, saved);
        QFETCH(bool, clickPastText);
        QFETCH(int, cursor);
        QFETCH(QString, typed);
        QFETCH(QByteArray, line);
        testsupport::AppFolder folder(false);
        folder.write(QStringLiteral("impostazioni.cfg"), saved + "\r\nPDF\r\n");
        testing::PrinterListScope scope({QStringLiteral("PDF")});
        testing::Script script;
        frmImpostazioni w;
        w.load();
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QLineEdit* field = w.ui->mskIntestazione;
        QCOMPARE(QApplication::focusWidget(), field);
        if (clickPastText)
            QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(field->width() * 3 / 4, 8));
        QTest::qWait(0);
        QCOMPARE(field->cursorPosition(), cursor);
        QTest::keyClicks(field, typed);
        QVERIFY(field->displayText().startsWith(QString::fromLatin1(line)));
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
