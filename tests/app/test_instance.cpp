// A second copy of the program, started for real, against this process
// playing the running copy.
#include "app/messages.h"
#include "app/startup.h"
#include "entry/systemfile.h"
#include "tests/support/testsupport.h"

#include <QLabel>
#include <QLocalServer>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

using namespace corpo;

class TestInstance : public QObject {
    Q_OBJECT

    QTemporaryDir tmp;

    QProcess* startCopy(const QStringList& args) {
        auto* p = new QProcess(this);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), tmp.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        p->setProcessEnvironment(env);
        p->setWorkingDirectory(tmp.path());
        p->start(testsupport::builtAppFolder() + QStringLiteral("bramasolovanti"), args);
        return p;
    }

private Q_SLOTS:
    void initTestCase() {
        // The instance socket lives in the runtime folder: keep it private.
        qputenv("XDG_RUNTIME_DIR", tmp.path().toLocal8Bit());
    }

    // A file named at start-up opens once the main window shows, as Open would.
    void fileGivenAtStartOpens() {
        testsupport::AppFolder folder;
        testing::Script script;
        SystemRecord r;
        r.NomeSistema = FixedString(QStringLiteral("prova"), 20);
        folder.write(QStringLiteral("prova.vrl"), EncodeSystemFile(r, 0, 0));
        StartupOptions options;
        options.versionCheck = [] {};
        options.pauseMs = 0;
        options.systemFile = folder.file(QStringLiteral("prova.vrl"));
        std::unique_ptr<QWidget> main(Avvio(options));
        QLocalServer::removeServer(InstanceName());
        QVERIFY(main);
        auto* name = main->findChild<QLabel*>(QStringLiteral("lblNomeSistema"));
        QTRY_COMPARE(name->text(), QStringLiteral("prova"));
        // Its numbers are missing: the check that Open runs says so.
        QVERIFY(!script.messages().isEmpty());
    }

    void secondCopyRestoresTheFirstAndEnds_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("handed"); // the file the running copy is asked to open
        QTest::newRow("no file") << QStringList() << QString();
        QTest::newRow("a file, relative") << QStringList{"s.vrl"} << tmp.filePath("s.vrl");
    }
    void secondCopyRestoresTheFirstAndEnds() {
        QFETCH(QStringList, args);
        QFETCH(QString, handed);
        QWidget first;
        first.setObjectName(QStringLiteral("frmMain"));
        QString opened;
        QVERIFY(ListenForOtherCopies([&] { return &first; }, [&](const QString& f) { opened = f; }));
        first.showMinimized();
        QVERIFY(first.isMinimized());

        QProcess* second = startCopy(args);
        QVERIFY(second->waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(second->state() == QProcess::NotRunning, 15000);
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
        QVERIFY(!first.isMinimized());
        QVERIFY(first.isVisible());
        QTRY_COMPARE(opened, handed);
    }

};

QTEST_MAIN(TestInstance)
#include "test_instance.moc"
