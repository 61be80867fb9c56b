#include "app/corpo.h"
#include "app/frmSplash.h"
#include "ui_frmSplash.h"

#include <QPointer>
#include <QtTest>

using namespace corpo;

class TestSplash : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void labels() {
        Edizione = QStringLiteral("Freeware");
        frmSplash s;
        QCOMPARE(s.ui->lblProductName->text(), QStringLiteral("Bramasolovanti"));
        QCOMPARE(s.ui->lblVersion->text(), QStringLiteral("Versione 0.3.2"));
        QCOMPARE(s.ui->lblCompany->text(), QStringLiteral("Marvolt"));
        QCOMPARE(s.ui->lblCompanyProduct->text(), QStringLiteral("Marvolt"));
        QCOMPARE(s.ui->lblEdizione->text(), QStringLiteral("Freeware"));
        QVERIFY(!s.ui->imgLogo->pixmap().isNull());
        // The logo is drawn, not blank.
        const QImage logo = s.ui->imgLogo->pixmap().toImage();
        QVERIFY(logo.pixelColor(logo.width() / 2, logo.height() / 2).alpha() > 0);
    }

    void dismissed_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("click on the frame") << "Frame1";
        QTest::newRow("click on the logo") << "imgLogo";
        QTest::newRow("click on a label") << "lblVersion";
        QTest::newRow("a letter") << "key A";
        QTest::newRow("Escape") << "key Esc";
        QTest::newRow("Enter") << "key Enter";
    }
    void dismissed() {
        QFETCH(QString, how);
        QPointer<frmSplash> s = new frmSplash;
        s->show();
        QVERIFY(QTest::qWaitForWindowExposed(s));
        if (how == QStringLiteral("key A"))
            QTest::keyClick(s, Qt::Key_A);
        else if (how == QStringLiteral("key Esc"))
            QTest::keyClick(s, Qt::Key_Escape);
        else if (how == QStringLiteral("key Enter"))
            QTest::keyClick(s, Qt::Key_Return);
        else
            QTest::mouseClick(s->findChild<QWidget*>(how), Qt::LeftButton);
        QTRY_VERIFY(s.isNull()); // closed and released
    }

    void clickOutsideTheFrameKeepsIt() {
        frmSplash s;
        s.setAttribute(Qt::WA_DeleteOnClose, false);
        s.show();
        QTest::mouseClick(&s, Qt::LeftButton, {}, QPoint(2, 2));
        QVERIFY(s.isVisible());
    }
};

QTEST_MAIN(TestSplash)
#include "test_splash.moc"
