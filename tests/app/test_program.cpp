// The whole program under a virtual X server, as a user starts it.
#include "tests/support/testsupport.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestProgram : public QObject {
    Q_OBJECT

    QProcess xvfb;
    QString display;
    QTemporaryDir home;
    QList<QProcess*> copies;

    QProcessEnvironment env() const {
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.remove(QStringLiteral("QT_QPA_PLATFORM"));
        e.insert(QStringLiteral("DISPLAY"), display);
        e.insert(QStringLiteral("HOME"), home.path());
        e.insert(QStringLiteral("TMPDIR"), home.path());
        e.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
        return e;
    }

    QStringList windowsNamed(const QString& pattern) {
        QProcess p;
        p.setProcessEnvironment(env());
        p.start(QStringLiteral("xdotool"),
                {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                 pattern});
        p.waitForFinished(5000);
        return QString::fromLocal8Bit(p.readAllStandardOutput()).split(QLatin1Char('\n'),
                                                                        Qt::SkipEmptyParts);
    }

    QProcess* startCopy() {
        auto* p = new QProcess(this);
        p->setProcessEnvironment(env());
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(testsupport::builtAppFolder() + QStringLiteral("bramasolovanti"), {});
        copies.append(p);
        return p;
    }

    const QString caption = QStringLiteral("^Bramasolovanti by Marvolt - Versione 0\\.3\\.2 - Freeware$");

private Q_SLOTS:
    void initTestCase() {
        if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty() ||
            QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            QSKIP("Xvfb and xdotool are needed (scripts/deps.sh installs them)");
        QVERIFY(QFile::setPermissions(home.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        // Xvfb picks a free display and tells its number.
        xvfb.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"),
                                            QStringLiteral("-screen"), QStringLiteral("0"),
                                            QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                                            QStringLiteral("tcp")});
        QVERIFY(xvfb.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(xvfb.canReadLine(), 10000);
        display = QLatin1Char(':') + QString::fromLatin1(xvfb.readLine()).trimmed();
    }

    void cleanupTestCase() {
        for (QProcess* p : copies) {
            p->kill();
            p->waitForFinished();
        }
        xvfb.terminate();
        xvfb.waitForFinished();
    }

    void startsWithSplashThenMainWindow() {
        QProcess* first = startCopy();
        QVERIFY(first->waitForStarted());
        // The splash comes first, the main window about a second later.
        QTRY_COMPARE_WITH_TIMEOUT(windowsNamed(caption).size(), 1, 40000);
        QCOMPARE(first->state(), QProcess::Running);
    }

    void secondCopyShowsNothingAndEnds() {
        QProcess* second = startCopy();
        QVERIFY(second->waitForStarted());
        QVERIFY(second->waitForFinished(15000));
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
        QCOMPARE(windowsNamed(caption).size(), 1);
        QCOMPARE(windowsNamed(QStringLiteral("^Bramasolovanti$")).size(), 0); // no splash left
    }

    void aCopyAfterACrashStartsNormally() {
        QProcess* first = copies.first();
        first->kill(); // leaves its instance socket behind
        first->waitForFinished();
        QTRY_COMPARE_WITH_TIMEOUT(windowsNamed(caption).size(), 0, 5000);
        QProcess* next = startCopy();
        QVERIFY(next->waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(windowsNamed(caption).size(), 1, 40000);
        QCOMPARE(next->state(), QProcess::Running);
    }
};

QTEST_GUILESS_MAIN(TestProgram)
#include "test_program.moc"
