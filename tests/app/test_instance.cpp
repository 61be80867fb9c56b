// A second copy of the program, started for real, against this process
// playing the running copy.
#include "app/startup.h"
#include "tests/support/testsupport.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

using namespace corpo;

class TestInstance : public QObject {
    Q_OBJECT

    QTemporaryDir tmp;

    QProcess* startCopy() {
        auto* p = new QProcess(this);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TMPDIR"), tmp.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        p->setProcessEnvironment(env);
        p->start(testsupport::builtAppFolder() + QStringLiteral("bramasolovanti"), {});
        return p;
    }

private Q_SLOTS:
    void initTestCase() {
        // The instance name lives in the temporary folder: keep it private.
        qputenv("TMPDIR", tmp.path().toLocal8Bit());
    }

    void secondCopyRestoresTheFirstAndEnds() {
        QWidget first;
        first.setObjectName(QStringLiteral("frmMain"));
        QVERIFY(ListenForOtherCopies([&] { return &first; }));
        first.showMinimized();
        QVERIFY(first.isMinimized());

        QProcess* second = startCopy();
        QVERIFY(second->waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(second->state() == QProcess::NotRunning, 15000);
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
        QVERIFY(!first.isMinimized());
        QVERIFY(first.isVisible());
    }
};

QTEST_MAIN(TestInstance)
#include "test_instance.moc"
