// The version check where the program runs it, in start-up, and the About
// window where the program opens it, from the main window.
#include "app/corpo.h"
#include "app/messages.h"
#include "app/shell.h"
#include "app/startup.h"
#include "entry/frmMain.h"
#include "tests/support/testsupport.h"
#include "tests/update/fakehttp.h"
#include "tests/update/watch.h"
#include "update/download.h"

#include <QLabel>
#include <QLineEdit>
#include <QLocalServer>
#include <QtTest>

namespace {

struct Seen {
    int versionWindows = 0;
    QString remote;
    bool mainShowingMeanwhile = false;
    bool splashShowingMeanwhile = false;
    bool aboveSplash = false;
    QWidget* main = nullptr;
};

bool Showing(const QString& name, QWidget** found = nullptr) {
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows)
        if (w->objectName() == name && w->isVisible()) {
            if (found)
                *found = w;
            return true;
        }
    return false;
}

Seen Start(const fakehttp::Reply& reply) {
    Seen seen;
    fakehttp::Server server;
    server.setReply(reply);
    corpo::testing::Script script;
    corpo::testing::VersionServerScope scope(server.base(), 300);
    watch::WindowWatcher watcher(QStringLiteral("frmNewVersion"), [&](QWidget* form) {
        ++seen.versionWindows;
        seen.remote = form->findChild<QLabel*>(QStringLiteral("lbRemoteVersion"))->text();
        seen.mainShowingMeanwhile = Showing(QStringLiteral("frmMain"));
        QWidget* splash = nullptr;
        seen.splashShowingMeanwhile = Showing(QStringLiteral("frmSplash"), &splash);
        // Above the splash: the active, modal window, and kept on top if the splash is.
        seen.aboveSplash = QApplication::activeModalWidget() == form &&
                           (!splash || !(splash->windowFlags() & Qt::WindowStaysOnTopHint) ||
                            (form->windowFlags() & Qt::WindowStaysOnTopHint));
    });
    corpo::StartupOptions options;
    options.pauseMs = 50;
    seen.main = corpo::Avvio(options);
    // This process answers later copies now; the next start must not ask itself.
    QLocalServer::removeServer(corpo::InstanceName());
    return seen;
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void versionCheckInStartup_data();
    void versionCheckInStartup();
    void aboutFromMainWindow_data();
    void aboutFromMainWindow();
};

void TestStartup::initTestCase() {
    corpo::InstallFontSubstitutions();
    QApplication::setQuitOnLastWindowClosed(false);
}

void TestStartup::versionCheckInStartup_data() {
    QTest::addColumn<QString>("served");
    QTest::addColumn<int>("windows");
    QTest::newRow("server that never answers") << "silent" << 0;
    QTest::newRow("0.3.2 served") << "0.3.2" << 0;
    QTest::newRow("0.4.0 served") << "0.4.0" << 1;
}

void TestStartup::versionCheckInStartup() {
    QFETCH(QString, served);
    QFETCH(int, windows);
    testsupport::AppFolder folder;
    const fakehttp::Reply reply =
        served == QLatin1String("silent") ? fakehttp::Reply{QByteArray(), true} : fakehttp::Ok(served.toLatin1());
    const Seen seen = Start(reply);
    QVERIFY(seen.main);
    QVERIFY(seen.main->isVisible());
    QCOMPARE(seen.main->objectName(), QStringLiteral("frmMain"));
    QCOMPARE(seen.versionWindows, windows);
    if (windows) {
        QCOMPARE(seen.remote, served);
        QVERIFY(!seen.mainShowingMeanwhile);
        QVERIFY(seen.splashShowingMeanwhile);
        QVERIFY(seen.aboveSplash);
    }
    QVERIFY(!Showing(QStringLiteral("frmNewVersion")));
    seen.main->hide();
    delete seen.main;
}

void TestStartup::aboutFromMainWindow_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("opened");
    QTest::newRow("window background") << "background" << 1;
    QTest::newRow("Picture3") << "Picture3" << 1;
    QTest::newRow("number field") << "txtCinq1_0" << 0;
    QTest::newRow("stake field") << "txtImpCinq1_0" << 0;
}

void TestStartup::aboutFromMainWindow() {
    QFETCH(QString, target);
    QFETCH(int, opened);
    testsupport::AppFolder folder;
    corpo::testing::Script script;
    corpo::frmMain main;
    main.load();
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));

    QWidget* on = &main;
    QPoint at;
    if (target == QLatin1String("background")) {
        // A point of the window where no control lies.
        bool found = false;
        for (int y = 4; y < main.height() && !found; y += 4)
            for (int x = 4; x < main.width() && !found; x += 4)
                if (!main.childAt(x, y)) {
                    at = QPoint(x, y);
                    found = true;
                }
        QVERIFY(found);
    } else {
        on = main.findChild<QWidget*>(target);
        QVERIFY2(on, qPrintable(target));
        at = on->rect().center();
    }
    QWidget* parentSeen = nullptr;
    watch::WindowWatcher watcher(QStringLiteral("frmAbout"), [&](QWidget* about) {
        parentSeen = about->parentWidget();
    });
    QTest::mouseClick(on, Qt::LeftButton, {}, at);
    QTest::qWait(50);
    QCOMPARE(watcher.seen(), opened);
    if (opened)
        QCOMPARE(parentSeen, &main);
    main.hide();
}

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
