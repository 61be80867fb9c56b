#include "app/corpo.h"
#include "app/messages.h"
#include "app/settings.h"
#include "app/shell.h"
#include "tests/support/testsupport.h"

#include <QComboBox>
#include <QtTest>

using namespace corpo;

class TestSettings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void settingsRoundTrip() {
        testsupport::AppFolder folder(false);
        testing::Script script;
        RunError error;
        QVERIFY(WriteConfiguration(QStringLiteral("CIRCOLO DEL LOTTO €"), QStringLiteral("PDF"),
                                   &error));
        QCOMPARE(folder.read(QStringLiteral("impostazioni.cfg")),
                 QByteArray("CIRCOLO DEL LOTTO \x80\r\nPDF\r\n"));
        IntestazioneStampa.clear();
        StampanteTabulato.clear();
        ReadConfiguration();
        QCOMPARE(IntestazioneStampa, QStringLiteral("CIRCOLO DEL LOTTO €"));
        QCOMPARE(StampanteTabulato, QStringLiteral("PDF"));
        QVERIFY(script.messages().isEmpty());
    }

    void readConfigurationFailures_data() {
        QTest::addColumn<bool>("present");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("printer");
        QTest::addColumn<QString>("report");
        QTest::newRow("missing") << false << QByteArray() << "old" << "oldprn"
                                 << "Error 53 (File not found) in procedure ReadConfiguration of "
                                    "Modulo corpo";
        QTest::newRow("one line") << true << QByteArray("ONLY\r\n") << "ONLY" << "oldprn"
                                  << "Error 62 (Input past end of file) in procedure "
                                     "ReadConfiguration of Modulo corpo";
        QTest::newRow("empty") << true << QByteArray() << "old" << "oldprn"
                               << "Error 62 (Input past end of file) in procedure "
                                  "ReadConfiguration of Modulo corpo";
        QTest::newRow("blank lines") << true << QByteArray("\r\n\r\n") << "" << "" << "";
        QTest::newRow("no final line end") << true << QByteArray("A\r\nB") << "A" << "B" << "";
    }
    void readConfigurationFailures() {
        QFETCH(bool, present);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, header);
        QFETCH(QString, printer);
        QFETCH(QString, report);
        testsupport::AppFolder folder(false);
        if (present)
            folder.write(QStringLiteral("impostazioni.cfg"), bytes);
        IntestazioneStampa = QStringLiteral("old");
        StampanteTabulato = QStringLiteral("oldprn");
        testing::Script script;
        ReadConfiguration();
        QCOMPARE(IntestazioneStampa, header);
        QCOMPARE(StampanteTabulato, printer);
        if (report.isEmpty()) {
            QVERIFY(script.messages().isEmpty());
        } else {
            QCOMPARE(script.messages().size(), 1);
            QCOMPARE(script.messages()[0].text, report);
            QCOMPARE(script.messages()[0].title, QStringLiteral("Bramasolovanti"));
            QCOMPARE(script.messages()[0].buttons, MsgButtons::Ok);
        }
    }

    void parseRuote_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("names");
        const QStringList three{"Bari", "Cagliari", "Firenze"};
        QTest::newRow("one line") << "Bari,Cagliari,Firenze" << three;
        QTest::newRow("one a line") << "Bari\r\nCagliari\r\nFirenze\r\n" << three;
        QTest::newRow("bare LF") << "Bari\nCagliari\nFirenze" << three;
        QTest::newRow("blanks") << "  Bari ,\tCagliari\r\n   Firenze   \r\n" << three;
        QTest::newRow("blank lines") << "Bari\r\n\r\nCagliari\r\n\r\n\r\nFirenze" << three;
        QTest::newRow("quoted with comma")
            << "\"Roma, Capitale\",Bari\r\n \"Napoli\" " << QStringList{"Roma, Capitale", "Bari", "Napoli"};
        QTest::newRow("empty field") << "Bari,,Firenze" << QStringList{"Bari", "", "Firenze"};
        QTest::newRow("empty file") << "" << QStringList{};
        QTest::newRow("inner space kept") << "San Marino" << QStringList{"San Marino"};
    }
    void parseRuote() {
        QFETCH(QString, text);
        QFETCH(QStringList, names);
        QCOMPARE(ParseRuote(text), names);
    }

    void caricaRuote_data() {
        QTest::addColumn<bool>("present");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("message");
        QTest::newRow("shipped twelve") << true << QByteArray() << 12 << "";
        QTest::newRow("fourteen") << true << QByteArray("A,B,C,D,E,F,G,H,I,J,K,L,M,N") << 12
                                  << "Il file \"ruote.vrc\" contiene 14 ruote: sono state "
                                     "caricate solo le prime 12.";
        QTest::newRow("missing") << false << QByteArray() << 0
                                 << "Impossibile leggere l'elenco delle ruote \"ruote.vrc\" (File "
                                    "not found).\r\nL'elenco delle ruote resta vuoto.";
    }
    void caricaRuote() {
        QFETCH(bool, present);
        QFETCH(QByteArray, bytes);
        QFETCH(int, count);
        QFETCH(QString, message);
        testsupport::AppFolder folder(present);
        if (!bytes.isEmpty())
            folder.write(QStringLiteral("ruote.vrc"), bytes);
        testing::Script script;
        QComboBox box;
        NomiRuote.fill(QStringLiteral("stale"));
        CaricaRuote(&box);
        QCOMPARE(box.count(), count);
        if (count) {
            QCOMPARE(box.currentIndex(), 0);
            QCOMPARE(NomiRuote[0], box.itemText(0));
            QCOMPARE(NomiRuote[11], box.itemText(11));
        } else {
            QVERIFY(NomiRuote[0].isEmpty());
        }
        if (present && bytes.isEmpty()) {
            const QStringList expected{"Bari",    "Cagliari", "Firenze", "Genova",
                                       "Milano",  "Napoli",   "Palermo", "Roma",
                                       "Torino",  "Venezia",  "Nazionale", "Tutte"};
            for (int i = 0; i < 12; ++i)
                QCOMPARE(NomiRuote[size_t(i)], expected[i]);
        }
        QCOMPARE(script.messages().size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QCOMPARE(script.messages()[0].text, message);
    }

    void appFolder_data() {
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("out");
        QTest::newRow("plain") << "/opt/bramasolovanti" << "/opt/bramasolovanti/";
        QTest::newRow("root") << "/" << "/";
        QTest::newRow("trailing") << "/opt/x/" << "/opt/x/";
        QTest::newRow("spaces") << "  /opt/x  " << "/opt/x/";
    }
    void appFolder() {
        QFETCH(QString, in);
        QFETCH(QString, out);
        QCOMPARE(AppFolderOf(in), out);
    }

    void pausaAcrossMidnight_data() {
        QTest::addColumn<float>("start");
        QTest::addColumn<float>("ms");
        QTest::addColumn<float>("expectedEnd");
        QTest::newRow("plain") << 1000.0f << 1000.0f << 1001.0f;
        QTest::newRow("across midnight") << 86399.5f << 1000.0f << 0.5f;
        QTest::newRow("zero") << 500.0f << 0.0f << 500.0f;
    }
    void pausaAcrossMidnight() {
        QFETCH(float, start);
        QFETCH(float, ms);
        QFETCH(float, expectedEnd);
        // A clock that advances 4 ms a sleep and wraps at midnight.
        double now = start;
        int sleeps = 0;
        auto clock = [&] { return float(now); };
        auto sleep = [&](int step) {
            ++sleeps;
            now += step / 1000.0;
            if (now >= 86400.0)
                now -= 86400.0;
        };
        Pausa(ms, clock, sleep);
        QVERIFY2(std::abs(now - expectedEnd) < 0.02, qPrintable(QString::number(now)));
        QVERIFY(sleeps <= int(ms / 4) + 2);
    }
};

QTEST_MAIN(TestSettings)
#include "test_settings.moc"
