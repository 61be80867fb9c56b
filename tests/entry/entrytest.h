// A loaded main window in a private application folder, with the message
// layer answering, for the window tests of this folder.
#pragma once

#include "app/corpo.h"
#include "app/messages.h"
#include "app/shell.h"
#include "entry/frmMain.h"
#include "entry/numbers.h"
#include "entry/systemfile.h"
#include "entry/widgets.h"
#include "tests/support/testsupport.h"

#include <QApplication>
#include <QComboBox>
#include <QTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>

namespace entrytest {

inline const QByteArray Ruote = "Bari,Cagliari,Firenze,Genova,Milano,Napoli\r\n"
                                "Palermo,Roma,Torino,Venezia,Nazionale,Tutte\r\n";

struct MainWindow {
    testsupport::AppFolder app{false};
    corpo::testing::Script script;
    std::unique_ptr<corpo::frmMain> w;

    MainWindow() {
        app.write(QStringLiteral("ruote.vrc"), Ruote);
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
        T* widget = w->findChild<T*>(name);
        if (!widget)
            qWarning("no widget %s", qPrintable(name));
        return widget;
    }
    QLineEdit* number(int group, int position) const { return w->numberField(group, position); }
    QLineEdit* stake(int group, int index) const { return w->stakeField(group, index); }
    QPushButton* button(const QString& name) const { return get<QPushButton>(name); }
    QComboBox* wheels() const { return get<QComboBox>(QStringLiteral("cmbRuote")); }
    QString total() const { return get(QStringLiteral("txtImportoSistema"))->text(); }
    QString nameLabel() const { return get<QLabel>(QStringLiteral("lblNomeSistema"))->text(); }

    // The program writes the numbers (as Open does), one field per value.
    void setNumbers(const corpo::Cluster& values) const {
        for (int g = 0; g < corpo::NumGruppi; ++g)
            for (int p = 0; p < corpo::GroupSize[size_t(g)]; ++p)
                number(g, p)->setText(QString::number(values[size_t(g)][size_t(p)]));
    }
    // The user types the numbers, field by field.
    void typeNumbers(const corpo::Cluster& values) const {
        for (int g = 0; g < corpo::NumGruppi; ++g)
            for (int p = 0; p < corpo::GroupSize[size_t(g)]; ++p) {
                QLineEdit* f = number(g, p);
                f->setFocus(Qt::TabFocusReason);
                f->selectAll();
                QTest::keyClicks(f, QString::number(values[size_t(g)][size_t(p)]));
            }
    }
    // Every text of the window a user can read in the fields, in one list.
    QStringList fieldTexts() const {
        QStringList out;
        for (int g = 0; g < corpo::NumGruppi; ++g) {
            for (int p = 0; p < corpo::GroupSize[size_t(g)]; ++p)
                out << number(g, p)->text();
            for (int k = 0; k < corpo::StakeCount[size_t(g)]; ++k)
                out << stake(g, k)->text();
        }
        out << total() << nameLabel() << wheels()->currentText();
        return out;
    }
    QColor fieldColour(int group, int position) const {
        return number(group, position)->palette().color(QPalette::Base);
    }
};

// Closes every modal window another part of the program opens (the prospect,
// the listing) as soon as it shows, for the scope.
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

// A complete system without repeats: bet g holds 10 g + position + 1.
inline corpo::Cluster goodCluster() {
    corpo::Cluster c{};
    for (int g = 0; g < corpo::NumGruppi; ++g)
        for (int p = 0; p < corpo::GroupSize[size_t(g)]; ++p)
            c[size_t(g)][size_t(p)] = 10 * g + p + 1;
    return c;
}

inline QByteArray recordBytes() { return corpo::EncodeRecord(corpo::Sistema); }

} // namespace entrytest
