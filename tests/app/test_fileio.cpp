#include "app/fileio.h"
#include "tests/support/testsupport.h"

#include <QtTest>
#include <csignal>
#include <sys/resource.h>

using namespace corpo;

namespace {
// Makes every write past `bytes` fail, as a full disk would.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &previous_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit l = previous_;
        l.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &l);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit previous_{};
    void (*oldHandler_)(int) = nullptr;
};
} // namespace

class TestFileIo : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void failedWritesLeaveTheEarlierFile_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("number");
        QTest::newRow("disk full") << "full" << int(err::DiskFull);
        QTest::newRow("folder is a file") << "parent file" << int(err::PathNotFound);
        QTest::newRow("target is a folder") << "folder" << int(err::PathFileAccess);
        QTest::newRow("missing folder") << "no folder" << int(err::PathNotFound);
        // Immutable stops root too, as a read-only folder stops a user.
        QTest::newRow("read-only folder") << "immutable" << int(err::PermissionDenied);
    }
    void failedWritesLeaveTheEarlierFile() {
        QFETCH(QString, how);
        QFETCH(int, number);
        testsupport::AppFolder folder(false);
        const QByteArray earlier(100, 'x');
        folder.write(QStringLiteral("earlier.bin"), earlier);
        QString target = folder.file(QStringLiteral("earlier.bin"));
        if (how == QStringLiteral("parent file"))
            target += QStringLiteral("/inside.bin");
        if (how == QStringLiteral("folder")) {
            QVERIFY(QDir().mkdir(folder.file(QStringLiteral("sub"))));
            target = folder.file(QStringLiteral("sub"));
        }
        if (how == QStringLiteral("no folder"))
            target = folder.file(QStringLiteral("none/inside.bin"));
        if (how == QStringLiteral("immutable") && QProcess::execute("chattr", {"+i", folder.path()}))
            QSKIP("this file system cannot make a folder immutable");
        RunError error;
        bool ok;
        {
            std::optional<FileSizeLimit> limit;
            if (how == QStringLiteral("full"))
                limit.emplace(10);
            ok = WriteFileAtomically(target, QByteArray(254, 'n'), &error);
        }
        if (how == QStringLiteral("immutable"))
            QProcess::execute("chattr", {"-i", folder.path()});
        QVERIFY(!ok);
        QCOMPARE(error.number, number);
        QVERIFY(!error.description.isEmpty());
        QCOMPARE(folder.read(QStringLiteral("earlier.bin")), earlier);
        // No temporary file is left behind.
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"earlier.bin"});
    }

    // Killed at any moment, a save leaves the old bytes or the new ones, and
    // the complete copies a kill may leave behind go at the next save.
    void killedSave() {
        testsupport::AppFolder folder(false);
        const QString target = folder.file(QStringLiteral("sistema.vrl"));
        const QByteArray a(254, 'a'), b(254, 'b');
        folder.write(QStringLiteral("sistema.vrl"), a);
        for (int i = 0; i < 150; ++i) {
            QProcess saver;
            saver.start(QCoreApplication::applicationDirPath() + QStringLiteral("/save_loop"),
                        {target});
            QVERIFY(saver.waitForStarted());
            QThread::usleep(2000 + QRandomGenerator::global()->bounded(30000));
            saver.kill();
            QVERIFY(saver.waitForFinished());
            const QByteArray now = folder.read(QStringLiteral("sistema.vrl"));
            QVERIFY2(now == a || now == b, qPrintable(QString::number(i)));
        }
        QVERIFY(WriteFileAtomically(target, a, nullptr));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"sistema.vrl"});
    }

    void codePage_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii") << "Bari" << QByteArray("Bari");
        QTest::newRow("euro") << "€ 10" << QByteArray("\x80 10");
        QTest::newRow("accents") << "è perché" << QByteArray("\xE8 perch\xE9");
        QTest::newRow("quotes") << "“x”" << QByteArray("\x93x\x94");
        QTest::newRow("outside") << "ж" << QByteArray("?");
    }
    void codePage() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(ToCodePage(text), bytes);
        if (!bytes.contains('?'))
            QCOMPARE(FromCodePage(bytes), text);
    }
};

QTEST_GUILESS_MAIN(TestFileIo)
#include "test_fileio.moc"
