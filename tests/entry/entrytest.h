// What the tests of this folder share: a loaded main window in a private
// application folder with the message layer answering, and a complete system.
#pragma once

#include "app/corpo.h"
#include "app/messages.h"
#include "app/shell.h"
#include "entry/frmMain.h"
#include "entry/numbers.h"
#include "entry/systemfile.h"
#include "entry/widgets.h"
#include "winnings/acino.h"
#include "tests/support/testsupport.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <memory>

Q_DECLARE_METATYPE(corpo::Cluster)

namespace entrytest {

// f(group, position) for each of the 29 numbers, in the order of the bunch.
template <class F> void eachNumber(F f) {
    for (int g = 0; g < corpo::NumGruppi; ++g)
        for (int p = 0; p < corpo::Scommesse[size_t(g)].size; ++p)
            f(g, p);
}

// A complete system without repeats: bet g holds 10 g + position + 1.
inline corpo::Cluster goodCluster() {
    corpo::Cluster c{};
    eachNumber([&](int g, int p) { c[size_t(g)][size_t(p)] = 10 * g + p + 1; });
    return c;
}
inline corpo::Cluster with(corpo::Cluster c, int g, int p, int value) {
    c[size_t(g)][size_t(p)] = value;
    return c;
}

inline QByteArray recordBytes() { return corpo::EncodeRecord(corpo::Sistema); }

inline QString focusName() {
    QWidget* f = QApplication::focusWidget();
    return f ? f->objectName() : QString();
}

struct MainWindow {
    testsupport::AppFolder app{false};
    corpo::testing::Script script;
    std::unique_ptr<corpo::frmMain> w;

    MainWindow() {
        app.write(QStringLiteral("ruote.vrc"), "Bari,Cagliari,Firenze,Genova,Milano,Napoli\r\n"
                                               "Palermo,Roma,Torino,Venezia,Nazionale,Tutte\r\n");
        app.write(QStringLiteral("impostazioni.cfg"), "Intestazione\r\nPDF\r\n");
        corpo::Edizione = QStringLiteral("Freeware");
        w = std::make_unique<corpo::frmMain>();
        w->load();
        w->show();
        w->activateWindow();
        if (!QTest::qWaitForWindowActive(w.get()))
            qWarning("main window not active");
        script.clear();
    }
    ~MainWindow() {
        // Closing in a test would ask first: let it through.
        script.queueAnswer(corpo::MsgResult::Yes);
        w.reset();
    }

    template <class T = QLineEdit> T* get(const QString& name) const {
        return w->findChild<T*>(name);
    }
    QLineEdit* number(int group, int position) const { return w->numberField(group, position); }
    QLineEdit* stake(int group, int index) const { return w->stakeField(group, index); }
    QPushButton* button(const QString& name) const { return get<QPushButton>(name); }
    QComboBox* wheels() const { return get<QComboBox>(QStringLiteral("cmbRuote")); }
    QString total() const { return get(QStringLiteral("txtImportoSistema"))->text(); }
    QString nameLabel() const { return get<QLabel>(QStringLiteral("lblNomeSistema"))->text(); }
    QColor fieldColour(int group, int position) const {
        return number(group, position)->palette().color(QPalette::Base);
    }

    // Writes the numbers into the fields, as Open does.
    void setNumbers(const corpo::Cluster& values) const {
        eachNumber([&](int g, int p) {
            number(g, p)->setText(QString::number(values[size_t(g)][size_t(p)]));
        });
    }
    // Sets the head number through the input box.
    void setHead(int head) {
        script.queueInput(QString::number(head));
        w->ImpostaCapogioco(1);
    }
    // Every text of the window a user can read in the fields, in one list.
    QStringList fieldTexts() const {
        QStringList out;
        eachNumber([&](int g, int p) { out << number(g, p)->text(); });
        for (int g = 0; g < corpo::NumGruppi; ++g)
            for (int k = 0; k < corpo::Scommesse[size_t(g)].stakeCount; ++k)
                out << stake(g, k)->text();
        return out << total() << nameLabel() << wheels()->currentText();
    }
};

// Closes every modal window another part of the program opens (the prospect,
// the listing, the About window) as soon as it shows, for the scope.
struct ModalCloser {
    QTimer timer;
    QStringList closed;
    ModalCloser() {
        timer.setInterval(20);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (QWidget* w = QApplication::activeModalWidget()) {
                closed << w->objectName();
                w->close();
            }
        });
        timer.start();
    }
};

} // namespace entrytest
