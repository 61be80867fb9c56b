// Qt's own windows speak the user's language: the file dialog under an
// Italian locale, as the program sets it up at start-up.
#include "app/startup.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

class TestTranslations : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void fileDialogIsItalian() {
        QVERIFY2(corpo::InstallQtTranslations(QLocale::system()),
                 "qtbase_it.qm is missing (scripts/deps.sh installs qt6-translations-l10n)");
        QFileDialog dialog(nullptr, QString(), QDir::tempPath());
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        auto* buttons = dialog.findChild<QDialogButtonBox*>();
        QCOMPARE(buttons->button(QDialogButtonBox::Open)->text(), QStringLiteral("&Apri"));
        QCOMPARE(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Annulla"));
        QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("lookInLabel"))->text(),
                 QStringLiteral("Cerca in:"));
    }
};

int main(int argc, char** argv) {
    // As a user whose only language setting is LANG.
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"})
        qunsetenv(name);
    qputenv("LANG", "it_IT.UTF-8");
    QApplication app(argc, argv);
    TestTranslations test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_translations.moc"
