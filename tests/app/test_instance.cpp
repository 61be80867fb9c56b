// A second copy of the program, started for real, against this process
// playing the running copy.
#include "app/startup.h"
#include "tests/support/testsupport.h"

#include <QLocalServer>
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

    void nobodyAnswers_data() {
        QTest::addColumn<bool>("staleSocket");
        QTest::newRow("no copy") << false;
        QTest::newRow("crashed copy left its socket") << true;
    }
    void nobodyAnswers() {
        QFETCH(bool, staleSocket);
        // Stop answering as the first copy did above.
        QVERIFY(ListenForOtherCopies([] { return nullptr; }));
        QLocalServer::removeServer(InstanceName());
        if (staleSocket) {
            QFile f(tmp.path() + QLatin1Char('/') + InstanceName());
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QVERIFY(!ActivatePrevInstance());
    }

    void aCopyStartsNormallyWhenTheFirstCannotBeReached() {
        QLocalServer::removeServer(InstanceName());
        QFile stale(tmp.path() + QLatin1Char('/') + InstanceName());
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.close();
        QProcess* copy = startCopy();
        QVERIFY(copy->waitForStarted());
        // It takes the name over and answers later copies itself.
        QTRY_VERIFY_WITH_TIMEOUT(ActivatePrevInstance(), 15000);
        QCOMPARE(copy->state(), QProcess::Running);
        copy->kill();
        copy->waitForFinished();
    }
};

QTEST_MAIN(TestInstance)
#include "test_instance.moc"
