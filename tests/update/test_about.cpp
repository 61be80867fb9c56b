// The About window, the new-version window's link, centring on the screen
// and the start of the system-information tool.
#include "app/corpo.h"
#include "app/messages.h"
#include "app/shell.h"
#include "tests/update/watch.h"
#include "update/forms.h"
#include "update/frmAbout.h"
#include "update/frmNewVersion.h"
#include "update/sysinfo.h"

#include <QDesktopServices>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString SysInfoMessage = QStringLiteral("Le informazioni sul sistema non sono disponibili in questa fase");

// Where the desktop was asked to open an address (no browser starts).
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public Q_SLOTS:
    void record(const QUrl& url) { opened.append(url); }
};

// Restores an environment variable when the test row ends.
class EnvScope {
public:
    EnvScope(const char* name, const QByteArray& value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
        qputenv(name, value);
    }
    ~EnvScope() {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

// Shows the About window as the program does and hands it to look.
void WithAbout(QWidget* parent, const std::function<void(QDialog*)>& look) {
    bool seen = false;
    watch::WindowWatcher watcher(QStringLiteral("frmAbout"), [&](QWidget* w) {
        seen = true;
        look(qobject_cast<QDialog*>(w));
    });
    corpo::MostraAbout(parent);
    QVERIFY(seen);
}

QColor Average(const QImage& image) {
    qint64 r = 0, g = 0, b = 0, n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() < 128)
                continue;
            r += c.red(), g += c.green(), b += c.blue(), ++n;
        }
    return n ? QColor(int(r / n), int(g / n), int(b / n)) : QColor();
}

} // namespace

class TestAbout : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void texts();
    void closes_data();
    void closes();
    void linkOpensMakersPage_data();
    void linkOpensMakersPage();
    void centrePosition_data();
    void centrePosition();
    void centredOnMainWindowsScreen_data();
    void centredOnMainWindowsScreen();
    void sysInfo_data();
    void sysInfo();
};

void TestAbout::initTestCase() {
    corpo::InstallFontSubstitutions();
    QCOMPARE(QGuiApplication::screens().size(), 2);
}

void TestAbout::texts() {
    corpo::Edizione = QStringLiteral("Freeware");
    QWidget main;
    main.setObjectName(QStringLiteral("frmMain"));
    main.show();
    WithAbout(&main, [&](QDialog* form) {
        QCOMPARE(QApplication::activeModalWidget(), form);
        QCOMPARE(form->windowTitle(), QStringLiteral("Informazioni su Bramasolovanti"));
        QCOMPARE(form->findChild<QLabel*>(QStringLiteral("lblTitle"))->text(), QStringLiteral("Bramasolovanti"));
        QCOMPARE(form->findChild<QLabel*>(QStringLiteral("lblVersion"))->text(), QStringLiteral("Versione 0.3.2"));
        QCOMPARE(form->findChild<QLabel*>(QStringLiteral("lblDescription"))->text(),
                 QStringLiteral("Versione Freeware"));
        QCOMPARE(form->findChild<QPushButton*>(QStringLiteral("cmdOK"))->text(), QStringLiteral("OK"));
        QCOMPARE(form->findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->text(),
                 QStringLiteral("&System Info..."));
        QVERIFY(form->findChild<QWidget*>(QStringLiteral("Line1_0")));
        QVERIFY(form->findChild<QWidget*>(QStringLiteral("Line1_1")));
        const QLabel* url = form->findChild<QLabel*>(QStringLiteral("lbURL"));
        QCOMPARE(url->text(), QStringLiteral("https://www.example.com/lotto/"));
        QCOMPARE(url->toolTip(), QStringLiteral("Click per aprire la pagina"));
        QCOMPARE(url->cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(url->font().underline());
        QCOMPARE(url->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        // The icon is drawn, and drawn as grapes: mostly purple.
        const QLabel* icon = form->findChild<QLabel*>(QStringLiteral("picIcon"));
        const QImage picture = icon->pixmap().toImage();
        QVERIFY(!picture.isNull());
        const QColor avg = Average(picture);
        QVERIFY2(avg.blue() > avg.green() && avg.red() > avg.green(), qPrintable(avg.name()));
    });
}

void TestAbout::closes_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("how");
    QTest::newRow("About: Esc") << "frmAbout" << "esc";
    QTest::newRow("About: OK button") << "frmAbout" << "ok";
    QTest::newRow("About: Enter on the default button") << "frmAbout" << "enter";
    QTest::newRow("About: close box") << "frmAbout" << "close";
    QTest::newRow("new version: Esc") << "frmNewVersion" << "esc";
    QTest::newRow("new version: close box") << "frmNewVersion" << "close";
}

void TestAbout::closes() {
    QFETCH(QString, window);
    QFETCH(QString, how);
    bool stillOpen = true;
    bool looked = false;
    // The watcher closes whatever is left open; here the window must close by itself.
    watch::WindowWatcher watcher(window, [&](QWidget* w) {
        looked = true;
        auto* form = qobject_cast<QDialog*>(w);
        if (how == QLatin1String("esc"))
            QTest::keyClick(form, Qt::Key_Escape);
        else if (how == QLatin1String("ok"))
            QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
        else if (how == QLatin1String("enter"))
            QTest::keyClick(form, Qt::Key_Return);
        else
            form->close();
        stillOpen = form->isVisible();
    });
    if (window == QLatin1String("frmAbout")) {
        corpo::MostraAbout(nullptr);
    } else {
        corpo::frmNewVersion form;
        form.exec();
    }
    QVERIFY(looked);
    QVERIFY(!stillOpen);
}

void TestAbout::linkOpensMakersPage_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("opened");
    for (const char* w : {"frmAbout", "frmNewVersion"}) {
        const QString window = QString::fromLatin1(w);
        QTest::addRow("%s click", w) << window << "click" << 1;
        QTest::addRow("%s Tab and Enter", w) << window << "enter" << 1;
        QTest::addRow("%s Tab and Return", w) << window << "return" << 1;
        QTest::addRow("%s press dragged off", w) << window << "dragoff" << 0;
        QTest::addRow("%s right click", w) << window << "right" << 0;
    }
}

void TestAbout::linkOpensMakersPage() {
    QFETCH(QString, window);
    QFETCH(QString, how);
    QFETCH(int, opened);

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
    QVERIFY(url);

    if (how == QLatin1String("click")) {
        QTest::mouseClick(url, Qt::LeftButton);
    } else if (how == QLatin1String("right")) {
        QTest::mouseClick(url, Qt::RightButton);
    } else if (how == QLatin1String("dragoff")) {
        QTest::mousePress(url, Qt::LeftButton);
        QTest::mouseRelease(url, Qt::LeftButton, {}, QPoint(url->width() + 20, url->height() + 20));
    } else {
        for (int i = 0; i < 6 && QApplication::focusWidget() != url; ++i)
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : form.get(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), url);
        QTest::keyClick(url, how == QLatin1String("enter") ? Qt::Key_Enter : Qt::Key_Return);
        QVERIFY(form->isVisible()); // the key opened the page, it did not close the window
    }
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QCOMPARE(recorder.opened.size(), opened);
    if (opened)
        QCOMPARE(recorder.opened.first(), QUrl(QStringLiteral("https://www.example.com/lotto/")));
}

void TestAbout::centrePosition_data() {
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("400x300 on 1024x768") << QRect(0, 0, 1024, 768) << QSize(400, 300) << QPoint(312, 234);
    QTest::newRow("401x301 on 1366x768, halves to even") << QRect(0, 0, 1366, 768) << QSize(401, 301)
                                                         << QPoint(482, 234);
    QTest::newRow("second screen at 1024,0") << QRect(1024, 0, 1024, 768) << QSize(400, 300) << QPoint(1336, 234);
    QTest::newRow("403x303 halves down to even") << QRect(0, 0, 1024, 768) << QSize(403, 303) << QPoint(310, 232);
    QTest::newRow("screen below another") << QRect(0, 768, 800, 600) << QSize(200, 100) << QPoint(300, 1018);
    QTest::newRow("wider than the screen") << QRect(0, 0, 800, 600) << QSize(1001, 601) << QPoint(-100, 0);
}

void TestAbout::centrePosition() {
    QFETCH(QRect, screen);
    QFETCH(QSize, frame);
    QFETCH(QPoint, expected);
    QCOMPARE(corpo::CenterPosition(screen, frame), expected);
}

void TestAbout::centredOnMainWindowsScreen_data() {
    QTest::addColumn<int>("mainScreen"); // -1: no main window showing
    QTest::addColumn<bool>("hiddenMain");
    QTest::newRow("no main window: primary") << -1 << false;
    QTest::newRow("main window on the primary") << 0 << false;
    QTest::newRow("main window on the second screen") << 1 << false;
    QTest::newRow("hidden main window: primary") << 1 << true;
}

void TestAbout::centredOnMainWindowsScreen() {
    QFETCH(int, mainScreen);
    QFETCH(bool, hiddenMain);
    const QList<QScreen*> screens = QGuiApplication::screens();
    QWidget main;
    main.setObjectName(QStringLiteral("frmMain"));
    int expectedScreen = 0;
    if (mainScreen >= 0) {
        main.resize(300, 200);
        main.move(screens.at(mainScreen)->geometry().topLeft() + QPoint(40, 40));
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QCOMPARE(main.screen(), screens.at(mainScreen));
        if (hiddenMain)
            main.hide();
        else
            expectedScreen = mainScreen;
    }
    QPoint at;
    QSize frame;
    WithAbout(mainScreen >= 0 && !hiddenMain ? &main : nullptr, [&](QDialog* form) {
        at = form->frameGeometry().topLeft();
        frame = form->frameGeometry().size();
    });
    QCOMPARE(at, corpo::CenterPosition(screens.at(expectedScreen)->geometry(), frame));
}

void TestAbout::sysInfo_data() {
    QTest::addColumn<QString>("desktop");
    QTest::addColumn<QStringList>("tools"); // name, or name:noexec, name:nointerpreter
    QTest::addColumn<QString>("started");  // what the tool was started with; empty: the message

    QTest::newRow("KDE with its own tool and hardinfo") << "KDE" << QStringList{"kinfocenter", "hardinfo"}
                                                        << "kinfocenter";
    QTest::newRow("GNOME with only hardinfo") << "GNOME" << QStringList{"hardinfo"} << "hardinfo";
    QTest::newRow("GNOME's tool opens its overview") << "GNOME" << QStringList{"gnome-control-center"}
                                                     << "gnome-control-center info-overview";
    QTest::newRow("second entry of the desktop list") << "ubuntu:GNOME"
                                                      << QStringList{"kinfocenter", "gnome-control-center"}
                                                      << "gnome-control-center info-overview";
    QTest::newRow("XFCE before the others") << "XFCE" << QStringList{"gnome-control-center", "xfce4-about"}
                                            << "xfce4-about";
    QTest::newRow("unknown desktop: first known tool") << "Sway" << QStringList{"xfce4-about", "kinfocenter"}
                                                       << "kinfocenter";
    QTest::newRow("no desktop named") << "" << QStringList{"hardinfo"} << "hardinfo";
    QTest::newRow("tool without execute bit skipped") << "KDE" << QStringList{"kinfocenter:noexec", "hardinfo"}
                                                      << "hardinfo";
    QTest::newRow("interpreter missing") << "KDE" << QStringList{"kinfocenter:nointerpreter", "hardinfo"} << "";
    QTest::newRow("no tool at all") << "GNOME" << QStringList{} << "";
    QTest::newRow("only a tool without execute bit") << "GNOME" << QStringList{"gnome-control-center:noexec"}
                                                     << "";
    QTest::newRow("empty PATH") << "KDE" << QStringList{"kinfocenter", "emptypath"} << "";
}

void TestAbout::sysInfo() {
    QFETCH(QString, desktop);
    QFETCH(QStringList, tools);
    QFETCH(QString, started);

    QTemporaryDir bin;
    QVERIFY(bin.isValid());
    const QString record = bin.path() + QStringLiteral("/started.txt");
    bool emptyPath = false;
    for (const QString& t : tools) {
        if (t == QLatin1String("emptypath")) {
            emptyPath = true;
            continue;
        }
        const QString name = t.section(QLatin1Char(':'), 0, 0);
        const QString how = t.section(QLatin1Char(':'), 1);
        QFile f(bin.path() + QLatin1Char('/') + name);
        QVERIFY(f.open(QIODevice::WriteOnly));
        // Built-ins only: the PATH of the test holds nothing else.
        const QByteArray interpreter = how == QLatin1String("nointerpreter") ? "#!/nonexistent/sh\n" : "#!/bin/sh\n";
        f.write(interpreter + "echo \"${0##*/} $*\" > '" + QFile::encodeName(record) + "'\n");
        f.close();
        QFile::Permissions p = QFile::ReadOwner | QFile::WriteOwner;
        if (how != QLatin1String("noexec"))
            p |= QFile::ExeOwner;
        QVERIFY(f.setPermissions(p));
    }
    EnvScope path("PATH", emptyPath ? QByteArray() : QFile::encodeName(bin.path()));
    EnvScope xdg("XDG_CURRENT_DESKTOP", desktop.toUtf8());

    corpo::testing::Script script;
    corpo::frmAbout form;
    form.show();
    QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("cmdSysInfo")), Qt::LeftButton);

    if (started.isEmpty()) {
        QCOMPARE(script.messages().size(), 1);
        const corpo::Shown m = script.messages().first();
        QCOMPARE(m.text, SysInfoMessage);
        QCOMPARE(m.title, QStringLiteral("Bramasolovanti"));
        QCOMPARE(m.icon, corpo::MsgIcon::None);
        QCOMPARE(m.buttons, corpo::MsgButtons::Ok);
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
    const QJsonObject screen0{{"name", "left"}, {"x", 0}, {"y", 0}, {"width", 1024}, {"height", 768},
                              {"logicalDpi", 96}, {"logicalBaseDpi", 96}, {"dpr", 1}};
    const QJsonObject screen1{{"name", "right"}, {"x", 1024}, {"y", 0}, {"width", 1366}, {"height", 768},
                              {"logicalDpi", 96}, {"logicalBaseDpi", 96}, {"dpr", 1}};
    QFile f(config.path() + QStringLiteral("/screens.json"));
    if (!f.open(QIODevice::WriteOnly))
        return 1;
    f.write(QJsonDocument(QJsonObject{{"screens", QJsonArray{screen0, screen1}}}).toJson());
    f.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(f.fileName()));
    QApplication app(argc, argv);
    TestAbout test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_about.moc"
