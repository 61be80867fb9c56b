// The About window, the new-version window's link and keys, centring on the
// screen and the start of the system-information tool.
#include "app/corpo.h"
#include "app/messages.h"
#include "app/shell.h"
#include "entry/frmMain.h"
#include "tests/support/testsupport.h"
#include "tests/update/support.h"
#include "update/forms.h"
#include "update/frmAbout.h"
#include "update/frmNewVersion.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

using namespace updatetest;

// Where the desktop was asked to open an address (no browser starts).
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public Q_SLOTS:
    void record(const QUrl& url) { opened.append(url); }
};

class TestAbout : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { corpo::InstallFontSubstitutions(); }
    void texts();
    void opensFromMainWindow_data();
    void opensFromMainWindow();
    void keysAndLink_data();
    void keysAndLink();
    void centrePosition_data();
    void centrePosition();
    void centredOnMainWindowsScreen_data();
    void centredOnMainWindowsScreen();
    void sysInfo_data();
    void sysInfo();
};

void TestAbout::texts() {
    corpo::Edizione = QStringLiteral("Freeware");
    corpo::frmAbout form;
    QCOMPARE(form.windowTitle(), QStringLiteral("Informazioni su Bramasolovanti"));
    for (const auto& [name, text] : {std::pair{"lblTitle", "Bramasolovanti"},
                                     {"lblVersion", "Versione 0.3.2"},
                                     {"lblDescription", "Versione Freeware"},
                                     {"lbURL", "https://www.example.com/lotto/"}})
        QCOMPARE(form.findChild<QLabel*>(QString::fromLatin1(name))->text(),
                 QString::fromLatin1(text));
    const QLabel* url = form.findChild<QLabel*>(QStringLiteral("lbURL"));
    QCOMPARE(url->toolTip(), QStringLiteral("Click per aprire la pagina"));
    QCOMPARE(url->cursor().shape(), Qt::PointingHandCursor);
    QVERIFY(url->font().underline());
    QVERIFY(!form.findChild<QLabel*>(QStringLiteral("picIcon"))->pixmap().isNull());
}

void TestAbout::opensFromMainWindow_data() {
    QTest::addColumn<QString>("target"); // empty: the window's background
    QTest::addColumn<int>("opened");
    QTest::newRow("window background") << "" << 1;
    QTest::newRow("Picture3") << "Picture3" << 1;
    QTest::newRow("number field") << "txtCinq1_0" << 0;
}

void TestAbout::opensFromMainWindow() {
    QFETCH(QString, target);
    QFETCH(int, opened);
    testsupport::AppFolder folder;
    corpo::testing::Script script;
    corpo::frmMain main;
    main.load();
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QWidget* on = target.isEmpty() ? &main : main.findChild<QWidget*>(target);
    QVERIFY(on);
    QPoint at = on->rect().center();
    for (int y = 4; target.isEmpty() && main.childAt(at) && y < main.height(); y += 4)
        for (int x = 4; x < main.width() && main.childAt(at); x += 4)
            at = QPoint(x, y); // a point of the window where no control lies
    QVERIFY(!target.isEmpty() || !main.childAt(at));
    QList<QWidget*> parents;
    const auto watch =
        Watch(QStringLiteral("frmAbout"), [&](QWidget* w) { parents << w->parentWidget(); });
    QTest::mouseClick(on, Qt::LeftButton, {}, at);
    QTest::qWait(50);
    QCOMPARE(parents, opened ? QList<QWidget*>{&main} : QList<QWidget*>());
}

void TestAbout::keysAndLink_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("closes"); // else the maker's page opens and the window stays
    for (const char* w : {"frmAbout", "frmNewVersion"}) {
        QTest::addRow("%s: Esc", w) << w << "esc" << true;
        QTest::addRow("%s: click on the link", w) << w << "click" << false;
        QTest::addRow("%s: Tab to the link, Enter", w) << w << "tab" << false;
    }
    QTest::newRow("frmAbout: OK") << "frmAbout"
                                  << "ok" << true;
    QTest::newRow("frmAbout: Enter") << "frmAbout" << "enter" << true;
}

void TestAbout::keysAndLink() {
    QFETCH(QString, window);
    QFETCH(QString, how);
    QFETCH(bool, closes);
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &recorder, "record");
    std::unique_ptr<QDialog> form;
    if (window == QLatin1String("frmAbout"))
        form = std::make_unique<corpo::frmAbout>();
    else
        form = std::make_unique<corpo::frmNewVersion>();
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    auto* url = form->findChild<QLabel*>(QStringLiteral("lbURL"));
    QWidget* const focused = nullptr; // keys go where the focus is
    if (how == QLatin1String("esc"))
        QTest::keyClick(focused, Qt::Key_Escape);
    else if (how == QLatin1String("enter"))
        QTest::keyClick(focused, Qt::Key_Return);
    else if (how == QLatin1String("ok"))
        QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    else if (how == QLatin1String("click"))
        QTest::mouseClick(url, Qt::LeftButton);
    for (int i = 0; how == QLatin1String("tab") && i < 6 && QApplication::focusWidget() != url; ++i)
        QTest::keyClick(focused, Qt::Key_Tab);
    if (how == QLatin1String("tab")) QTest::keyClick(focused, Qt::Key_Enter);
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QCOMPARE(form->isVisible(), !closes);
    QCOMPARE(recorder.opened, closes
                                  ? QList<QUrl>()
                                  : QList{QUrl(QStringLiteral("https://www.example.com/lotto/"))});
}

void TestAbout::centrePosition_data() {
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("400x300 on 1024x768")
        << QRect(0, 0, 1024, 768) << QSize(400, 300) << QPoint(312, 234);
    QTest::newRow("401x301 on 1366x768: halves to even")
        << QRect(0, 0, 1366, 768) << QSize(401, 301) << QPoint(482, 234);
    QTest::newRow("second screen at 1024,0")
        << QRect(1024, 0, 1024, 768) << QSize(400, 300) << QPoint(1336, 234);
}

void TestAbout::centrePosition() {
    QFETCH(QRect, screen);
    QFETCH(QSize, frame);
    QFETCH(QPoint, expected);
    QCOMPARE(corpo::CenterPosition(screen, frame), expected);
}

void TestAbout::centredOnMainWindowsScreen_data() {
    QTest::addColumn<int>("mainOn");  // the screen the main window was put on; -1: none
    QTest::addColumn<bool>("hidden"); // then hidden again
    QTest::newRow("no main window: primary") << -1 << false;
    QTest::newRow("main window on the second screen") << 1 << false;
    QTest::newRow("hidden main window: primary") << 1 << true;
}

void TestAbout::centredOnMainWindowsScreen() {
    QFETCH(int, mainOn);
    QFETCH(bool, hidden);
    const QList<QScreen*> screens = QGuiApplication::screens();
    QCOMPARE(screens.size(), 2);
    QWidget main;
    main.setObjectName(QStringLiteral("frmMain"));
    if (mainOn >= 0) {
        main.move(screens.at(mainOn)->geometry().topLeft() + QPoint(40, 40));
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        main.setHidden(hidden);
    }
    QRect frame;
    const auto watch =
        Watch(QStringLiteral("frmAbout"), [&](QWidget* form) { frame = form->frameGeometry(); });
    corpo::MostraAbout(main.isVisible() ? &main : nullptr);
    const QRect expected = screens.at(main.isVisible() ? mainOn : 0)->geometry();
    QCOMPARE(frame.topLeft(), corpo::CenterPosition(expected, frame.size()));
}

void TestAbout::sysInfo_data() {
    QTest::addColumn<QString>("desktop");
    QTest::addColumn<QStringList>("tools"); // name, name:noexec or name:nointerpreter
    QTest::addColumn<QString>("started");   // the tool's name and arguments; empty: the message
    QTest::newRow("KDE with its tool and hardinfo")
        << "KDE" << QStringList{"kinfocenter", "hardinfo"} << "kinfocenter";
    QTest::newRow("GNOME with only hardinfo") << "GNOME" << QStringList{"hardinfo"} << "hardinfo";
    QTest::newRow("GNOME second in the list, with its overview")
        << "ubuntu:GNOME" << QStringList{"kinfocenter", "gnome-control-center"}
        << "gnome-control-center info-overview";
    QTest::newRow("unknown desktop: first known tool")
        << "Sway" << QStringList{"xfce4-about", "kinfocenter"} << "kinfocenter";
    QTest::newRow("no execute bit: skipped")
        << "KDE" << QStringList{"kinfocenter:noexec", "hardinfo"} << "hardinfo";
    QTest::newRow("interpreter missing")
        << "KDE" << QStringList{"kinfocenter:nointerpreter", "hardinfo"} << "";
    QTest::newRow("empty PATH") << "KDE" << QStringList{} << "";
}

void TestAbout::sysInfo() {
    QFETCH(QString, desktop);
    QFETCH(QStringList, tools);
    QFETCH(QString, started);
    QTemporaryDir bin;
    const QString record = bin.filePath(QStringLiteral("started.txt"));
    for (const QString& t : tools) {
        QFile f(bin.filePath(t.section(QLatin1Char(':'), 0, 0)));
        QVERIFY(f.open(QIODevice::WriteOnly));
        // Shell built-ins only: the PATH of the test holds nothing else.
        f.write(t.endsWith(QLatin1String("nointerpreter")) ? "#!/nonexistent/sh\n" : "#!/bin/sh\n");
        f.write("echo \"${0##*/} $*\" > '" + QFile::encodeName(record) + "'\n");
        f.close();
        if (!t.endsWith(QLatin1String("noexec")))
            QVERIFY(f.setPermissions(f.permissions() | QFile::ExeOwner));
    }
    const auto path =
        SetEnv("PATH", tools.isEmpty() ? QByteArray() : QFile::encodeName(bin.path()));
    const auto xdg = SetEnv("XDG_CURRENT_DESKTOP", desktop.toUtf8());
    corpo::testing::Script script;
    corpo::frmAbout form;
    form.show();
    QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("cmdSysInfo")), Qt::LeftButton);
    if (started.isEmpty()) {
        QCOMPARE(script.messages().size(), 1);
        QCOMPARE(script.messages().first().text,
                 QStringLiteral("Le informazioni sul sistema non sono disponibili in questa fase"));
        QTest::qWait(200);
        QVERIFY(!QFile::exists(record));
    } else {
        QCOMPARE(script.messages().size(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(QFile(record).size() > 0, 5000);
        QFile f(record);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(f.readAll()).trimmed(), started);
    }
}

// Two screens side by side, so that centring can pick the wrong one.
int main(int argc, char** argv) {
    QTemporaryDir config;
    QFile f(config.filePath(QStringLiteral("screens.json")));
    const QString screen =
        QStringLiteral(R"({"name": "%1", "x": %2, "y": 0, "width": %3, "height": 768,
                                             "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1})");
    if (!f.open(QIODevice::WriteOnly)) return 1;
    f.write(QStringLiteral("{\"screens\": [%1, %2]}")
                .arg(screen.arg("left").arg(0).arg(1024), screen.arg("right").arg(1024).arg(1366))
                .toUtf8());
    f.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(f.fileName()));
    QApplication app(argc, argv);
    TestAbout test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_about.moc"
