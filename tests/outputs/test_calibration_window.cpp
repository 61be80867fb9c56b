#include "app/corpo.h"
#include "app/fileio.h"
#include "app/messages.h"
#include "app/printers.h"
#include "app/shell.h"
#include "outputs/frmTaraturaAmbetto.h"
#include "outputs/stampaschedine.h"
#include "outputs/taratura.h"
#include "printing/printerpage.h"
#include "tests/outputs/slipsupport.h"
#include "tests/support/testsupport.h"
#include "ui_frmTaraturaAmbetto.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QScrollBar>
#include <QtTest>

using namespace corpo;
using slips::CalibrazioneT;

namespace {

// Root writes into read-only folders; an immutable folder stops root too.
class ImmutableFolder {
public:
    explicit ImmutableFolder(const QString& path) : path_(path) {
        ok_ = QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), path_}) == 0;
    }
    ~ImmutableFolder() {
        if (ok_)
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), path_});
    }
    bool ok() const { return ok_; }

private:
    QString path_;
    bool ok_ = false;
};

} // namespace

class TestCalibrationWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        InstallFontSubstitutions();
        QLocale::setDefault(testsupport::italian());
    }

    void loadSetsBarsAndBoxes_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<float>("stored");
        QTest::addColumn<int>("bar");
        QTest::addColumn<QString>("box");
        QTest::addColumn<float>("after");
        QTest::newRow("Left 10.125 to even") << 3 << 10.125f << 1012 << "10,12" << 10.12f;
        QTest::newRow("DistanzaX 12.345 a little above") << 0 << 12.345f << 1235 << "12,35" << 12.35f;
        QTest::newRow("Top 10.115") << 2 << 10.115f << 1011 << "10,11" << 10.11f;
        QTest::newRow("Intestazione 400 into range") << 4 << 400.0f << 30000 << "300" << 300.0f;
        QTest::newRow("DYimporti negative into range") << 8 << -3.0f << 0 << "0" << 0.0f;
        QTest::newRow("Ximporti 12.5") << 5 << 12.5f << 1250 << "12,5" << 12.5f;
    }
    void loadSetsBarsAndBoxes() {
        QFETCH(int, field);
        QFETCH(float, stored);
        QFETCH(int, bar);
        QFETCH(QString, box);
        QFETCH(float, after);
        testsupport::AppFolder folder(false);
        testing::PrinterListScope printers({QStringLiteral("PDF")});
        TaraturaAmbetto t = CalibrazioneT();
        Distanza(t, field) = stored;
        folder.write(TaraturaFileName, EncodeTaratura(t));
        testing::Script script;
        frmTaraturaAmbetto w;
        w.Form_Load();
        QVERIFY(script.messages().isEmpty());
        QCOMPARE(w.barra(field)->value(), bar);
        QCOMPARE(w.casella(field)->text(), box);
        QCOMPARE(Distanza(w.Taratura, field), after);
        // The other fields came through untouched.
        QCOMPARE(w.casella(1)->text(), field == 1 ? box : QStringLiteral("4,5"));
        QCOMPARE(w.ui->cmbStampante->currentText(), QStringLiteral("PDF"));
        QVERIFY(w.ui->optColor_0->isChecked());
    }

    void barShowsShortestForm_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("box");
        QTest::newRow("1250") << 1250 << "12,5";
        QTest::newRow("1000") << 1000 << "10";
        QTest::newRow("1012") << 1012 << "10,12";
        QTest::newRow("30000") << 30000 << "300";
        QTest::newRow("1") << 1 << "0,01";
    }
    void barShowsShortestForm() {
        QFETCH(int, value);
        QFETCH(QString, box);
        testsupport::AppFolder folder(true);
        testing::Script script;
        frmTaraturaAmbetto w;
        w.Form_Load();
        for (int i = 0; i < TaraturaDistanze; ++i) {
            w.barra(i)->setValue(value);
            QCOMPARE(w.casella(i)->text(), box);
            QCOMPARE(Distanza(w.Taratura, i), float(value / 100.0));
        }
    }

    void barSteps() {
        frmTaraturaAmbetto w;
        for (int i = 0; i < TaraturaDistanze; ++i) {
            QCOMPARE(w.barra(i)->minimum(), 0);
            QCOMPARE(w.barra(i)->maximum(), 30000);
            QCOMPARE(w.barra(i)->singleStep(), 10);
            QCOMPARE(w.barra(i)->pageStep(), 100);
        }
    }

    void typedValue_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("bar");
        QTest::addColumn<QString>("box");
        QTest::addColumn<bool>("refused");
        QTest::newRow("12,35") << "12,35" << 1235 << "12,35" << false;
        QTest::newRow("7") << "7" << 700 << "7" << false;
        QTest::newRow("12,345 to even") << "12,345" << 1234 << "12,34" << false;
        QTest::newRow("letters") << "dodici" << 2000 << "20" << true;
        QTest::newRow("too large") << "300,5" << 2000 << "20" << true;
        QTest::newRow("negative") << "-1" << 2000 << "20" << true;
        QTest::newRow("empty") << "" << 2000 << "20" << true;
    }
    void typedValue() {
        QFETCH(QString, typed);
        QFETCH(int, bar);
        QFETCH(QString, box);
        QFETCH(bool, refused);
        testsupport::AppFolder folder(false);
        testing::PrinterListScope printers({QStringLiteral("PDF")});
        folder.write(TaraturaFileName, EncodeTaratura(CalibrazioneT()));
        testing::Script script;
        frmTaraturaAmbetto w;
        w.Form_Load();
        QLineEdit* left = w.casella(3);
        left->setText(typed);
        Q_EMIT left->editingFinished();
        QCOMPARE(w.barra(3)->value(), bar);
        QCOMPARE(left->text(), box);
        QCOMPARE(w.Taratura.Left, float(bar / 100.0));
        if (refused) {
            QCOMPARE(script.messages().size(), 1);
            QCOMPARE(script.messages()[0].text, QStringLiteral("Valore non valido: da 0 a 300 mm"));
        } else {
            QVERIFY(script.messages().isEmpty());
        }
    }

    void printerChoice_data() {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("warned");
        QTest::addColumn<QString>("chosen");
        const QStringList two{QStringLiteral("Alfa"), QStringLiteral("Beta")};
        QTest::newRow("known") << two << "Beta" << false << "Beta";
        QTest::newRow("unknown") << two << "Gamma" << true << "Alfa";
        QTest::newRow("case differs") << two << "beta" << true << "Alfa";
        QTest::newRow("empty name") << two << "" << true << "Alfa";
        QTest::newRow("no printer at all") << QStringList() << "Beta" << true << "";
    }
    void printerChoice() {
        QFETCH(QStringList, installed);
        QFETCH(QString, stored);
        QFETCH(bool, warned);
        QFETCH(QString, chosen);
        testsupport::AppFolder folder(false);
        testing::PrinterListScope printers(installed);
        TaraturaAmbetto t = CalibrazioneT();
        t.Stampante = stored;
        folder.write(TaraturaFileName, EncodeTaratura(t));
        testing::Script script;
        frmTaraturaAmbetto w;
        QStringList comboAtMessage;
        script.onShown = [&](const Shown&) { comboAtMessage << w.ui->cmbStampante->currentText(); };
        w.Form_Load();
        if (warned) {
            QCOMPARE(script.messages().size(), 1);
            QCOMPARE(script.messages()[0].text,
                     QStringLiteral("Attenzione non e' selezionata nessuna stampante"));
            QCOMPARE(script.messages()[0].title, QStringLiteral("Importante"));
            QCOMPARE(script.messages()[0].icon, MsgIcon::Critical);
            QCOMPARE(comboAtMessage, QStringList{QString()});
        } else {
            QVERIFY(script.messages().isEmpty());
        }
        QCOMPARE(w.ui->cmbStampante->currentText(), chosen);
        QCOMPARE(w.ui->cmbStampante->count(), int(installed.size()));
    }

    void quality_data() {
        QTest::addColumn<int>("stored");
        QTest::addColumn<bool>("normale");
        QTest::newRow("9999") << 9999 << true;
        QTest::newRow("1111") << 1111 << false;
        QTest::newRow("0") << 0 << false;
    }
    void quality() {
        QFETCH(int, stored);
        QFETCH(bool, normale);
        testsupport::AppFolder folder(false);
        testing::PrinterListScope printers({QStringLiteral("PDF")});
        TaraturaAmbetto t = CalibrazioneT();
        t.Qualita = int16_t(stored);
        folder.write(TaraturaFileName, EncodeTaratura(t));
        testing::Script script;
        frmTaraturaAmbetto w;
        w.Form_Load();
        QCOMPARE(w.ui->optColor_0->isChecked(), normale);
        QCOMPARE(w.ui->optColor_1->isChecked(), !normale);
        w.ui->optColor_1->click();
        QCOMPARE(int(w.Taratura.Qualita), 1111);
        w.ui->optColor_0->click();
        QCOMPARE(int(w.Taratura.Qualita), 9999);
        // Anything but 9999 prints as draft.
        PrinterPage page;
        for (int q : {9999, 1111, 0, 1}) {
            t.Qualita = int16_t(q);
            ImpostaPaginaSchedina(page, t, 0);
            QCOMPARE(page.PrintQuality, q == 9999 ? -3 : -1);
        }
    }

    void goldenAfterTestPrint() {
        testsupport::AppFolder folder(false);
        testing::PrinterListScope printers({QStringLiteral("PDF")});
        testing::RecorderScope recorder;
        folder.write(TaraturaFileName, EncodeTaratura(CalibrazioneT())); // Ximporti, Yimporti 0
        testing::Script script;
        frmTaraturaAmbetto w;
        w.Form_Load();
        QCOMPARE(w.casella(5)->text(), QStringLiteral("0"));
        w.ui->cmdTest->click();
        QCOMPARE(recorder.jobs().size(), 1);
        const RecordedJob job = recorder.last();
        QCOMPARE(job.pages, 1);
        QCOMPARE(job.printer, QStringLiteral("PDF"));
        const QList<PageOp> boxes = job.ofKind(PageOp::Box);
        QCOMPARE(boxes.size(), 206);
        for (const PageOp& b : boxes) {
            QCOMPARE(b.fillStyle, 1); // outlines only
            QCOMPARE(b.x2 - b.x, 2.0);
            QCOMPARE(b.y2 - b.y, 2.0);
        }
        QVERIFY(qAbs(boxes.last().x + 1 - 95.5) < 0.001);
        QVERIFY(qAbs(boxes.last().y + 1 - 133) < 0.001);
        // The boxes of the derived values are not touched by the print.
        QCOMPARE(w.casella(5)->text(), QStringLiteral("0"));

        w.ui->cmdSalva->click();
        QVERIFY(script.messages().isEmpty());
        QCOMPARE(folder.read(TaraturaFileName).toHex(' '), slips::GoldenT().toHex(' '));
    }

    void savedAsShown_data() {
        QTest::addColumn<float>("stored");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("10.125 becomes 10.12") << 10.125f << QByteArray::fromHex("85EB2141");
        QTest::newRow("10.25 stays") << 10.25f << QByteArray::fromHex("00002441");
    }
    void savedAsShown() {
        QFETCH(float, stored);
        QFETCH(QByteArray, bytes);
        testsupport::AppFolder folder(false);
        testing::PrinterListScope printers({QStringLiteral("PDF")});
        TaraturaAmbetto t = CalibrazioneT();
        t.Left = stored;
        folder.write(TaraturaFileName, EncodeTaratura(t));
        testing::Script script;
        frmTaraturaAmbetto w;
        w.Form_Load();
        w.ui->cmdSalva->click();
        QCOMPARE(folder.read(TaraturaFileName).mid(384, 4).toHex(' '), bytes.toHex(' '));
    }

    void saveChoosesComboPrinter() {
        testsupport::AppFolder folder(false);
        testing::PrinterListScope printers({QStringLiteral("Alfa"), QStringLiteral("Beta")});
        folder.write(TaraturaFileName, EncodeTaratura(CalibrazioneT()));
        testing::Script script;
        frmTaraturaAmbetto w;
        w.Form_Load();
        w.ui->cmbStampante->setCurrentIndex(1);
        w.ui->cmdSalva->click();
        QCOMPARE(folder.read(TaraturaFileName).mid(1280, 6), QByteArray("\x04\x00" "Beta", 6));
    }

    void failedSaveKeepsFile() {
        testsupport::AppFolder folder(false);
        testing::PrinterListScope printers({QStringLiteral("PDF")});
        const QByteArray before = EncodeTaratura(CalibrazioneT());
        folder.write(TaraturaFileName, before);
        testing::Script script;
        frmTaraturaAmbetto w;
        w.Form_Load();
        w.barra(3)->setValue(1111);
        QString expected = MakeError(err::PermissionDenied).description;
        if (testsupport::runningAsRoot()) {
            ImmutableFolder immutable(folder.path());
            if (!immutable.ok())
                QSKIP("this file system cannot make a folder immutable");
            w.ui->cmdSalva->click();
        } else {
            QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            w.ui->cmdSalva->click();
            QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                     QFileDevice::ExeOwner);
        }
        QCOMPARE(script.messages().size(), 1);
        QCOMPARE(script.messages()[0].text, expected);
        QCOMPARE(folder.read(TaraturaFileName), before);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{TaraturaFileName});
    }

    void escapeClosesWithoutSaving() {
        testsupport::AppFolder folder(false);
        testing::PrinterListScope printers({QStringLiteral("PDF")});
        const QByteArray before = EncodeTaratura(CalibrazioneT());
        folder.write(TaraturaFileName, before);
        testing::Script script;
        frmTaraturaAmbetto w;
        w.Form_Load();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.barra(0)->setValue(2222);
        w.casella(0)->setFocus();
        QTest::keyClick(w.casella(0), Qt::Key_Escape);
        QVERIFY(!w.isVisible());
        QCOMPARE(w.result(), int(QDialog::Rejected));
        QCOMPARE(folder.read(TaraturaFileName), before);
    }

    void enterInBoxPrintsNothing() {
        testsupport::AppFolder folder(false);
        testing::PrinterListScope printers({QStringLiteral("PDF")});
        testing::RecorderScope recorder;
        folder.write(TaraturaFileName, EncodeTaratura(CalibrazioneT()));
        testing::Script script;
        frmTaraturaAmbetto w;
        w.Form_Load();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.casella(2)->setFocus();
        w.casella(2)->selectAll();
        QTest::keyClicks(w.casella(2), QStringLiteral("31,5"));
        QTest::keyClick(w.casella(2), Qt::Key_Return);
        QCOMPARE(w.barra(2)->value(), 3150);
        QVERIFY(w.isVisible());
        QVERIFY(recorder.jobs().isEmpty());
    }

    void missingFileReported() {
        testsupport::AppFolder folder(false);
        testing::PrinterListScope printers({QStringLiteral("PDF")});
        testing::Script script;
        frmTaraturaAmbetto w;
        w.Form_Load();
        QCOMPARE(script.messages().size(), 2);
        QCOMPARE(script.messages()[0].text,
                 QStringLiteral("Error 53 (File not found) in procedure LeggiTaraturaAmbetto of "
                                "Form frmStampaSchedine"));
        QCOMPARE(script.messages()[1].text,
                 QStringLiteral("Attenzione non e' selezionata nessuna stampante"));
        for (int i = 0; i < TaraturaDistanze; ++i)
            QCOMPARE(w.barra(i)->value(), 0);
    }

    void testPrintFailures_data() {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("text");
        QTest::newRow("no printer") << QStringList() << "Stampante non installata";
    }
    void testPrintFailures() {
        QFETCH(QStringList, installed);
        QFETCH(QString, text);
        testsupport::AppFolder folder(false);
        folder.write(TaraturaFileName, EncodeTaratura(CalibrazioneT()));
        testing::PrinterListScope printers(installed);
        Printer().UsePrinter();
        testing::Script script;
        frmTaraturaAmbetto w;
        w.Form_Load();
        script.clear();
        for (QPushButton* b : {w.ui->cmdTest, w.ui->cmdRighello}) {
            b->click();
            QCOMPARE(script.messages().size(), 1);
            QCOMPARE(script.messages()[0].text, text);
            QCOMPARE(script.messages()[0].title, QStringLiteral("!!! E R R O R E !!!"));
            QCOMPARE(script.messages()[0].icon, MsgIcon::Critical);
            QVERIFY(!Printer().InJob());
            script.clear();
        }
    }

    void rulerSheet() {
        testsupport::AppFolder folder(false);
        testing::PrinterListScope printers({QStringLiteral("PDF")});
        testing::RecorderScope recorder;
        folder.write(TaraturaFileName, EncodeTaratura(CalibrazioneT()));
        testing::Script script;
        frmTaraturaAmbetto w;
        w.Form_Load();
        w.ui->cmdRighello->click();
        QCOMPARE(recorder.jobs().size(), 1);
        const RecordedJob job = recorder.last();
        QCOMPARE(job.pages, 1);
        const QList<PageOp> lines = job.ofKind(PageOp::Line);
        // The ruler ticks start at the paper's edges, one a millimetre.
        int top = 0, left = 0;
        for (const PageOp& l : lines) {
            if (l.y == 0 && l.x == l.x2)
                ++top;
            if (l.x == 0 && l.y == l.y2)
                ++left;
        }
        QCOMPARE(top, 206);
        QCOMPARE(left, 291);
        // A cross-hair on number cell 1 and on the last amount cell used.
        auto crossAt = [&](double x, double y) {
            bool h = false, v = false;
            for (const PageOp& l : lines) {
                h |= qAbs(l.x - (x - 5)) < 1e-3 && qAbs(l.x2 - (x + 5)) < 1e-3 &&
                     qAbs(l.y - y) < 1e-3 && qAbs(l.y2 - y) < 1e-3;
                v |= qAbs(l.y - (y - 5)) < 1e-3 && qAbs(l.y2 - (y + 5)) < 1e-3 &&
                     qAbs(l.x - x) < 1e-3 && qAbs(l.x2 - x) < 1e-3;
            }
            return h && v;
        };
        QVERIFY(crossAt(21, 31));
        QVERIFY(crossAt(66, 67));
        QVERIFY(crossAt(104.3, 30.1));
        QVERIFY(crossAt(95.5, 121));
        QStringList texts;
        for (const PageOp& t : job.ofKind(PageOp::Text))
            texts << t.text;
        QVERIFY2(texts.contains(QStringLiteral("1 (21,0; 31,0)")), qPrintable(texts.join('|')));
        QVERIFY(texts.contains(QStringLiteral("Importo 65 (95,5; 121,0)")));
        QVERIFY(texts.contains(QStringLiteral("200")));
        // Nothing of the slip itself: no filled or outlined cells.
        QVERIFY(job.ofKind(PageOp::Box).isEmpty());
        // The ruler leaves the stored amounts grid as it was.
        QCOMPARE(w.Taratura.Ximporti, 0.0f);
    }
};

QTEST_MAIN(TestCalibrationWindow)
#include "test_calibration_window.moc"
