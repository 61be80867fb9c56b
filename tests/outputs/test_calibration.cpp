#include "app/corpo.h"
#include "app/messages.h"
#include "outputs/taratura.h"
#include "tests/outputs/slipsupport.h"
#include "tests/support/testsupport.h"

#include <QtEndian>
#include <QtTest>
#include <cmath>
#include <limits>

using namespace corpo;
using slips::CalibrazioneT;

namespace {

// The calibration every slip test uses.
} // namespace

class TestCalibration : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void goldenBytesOfT() {
        TaraturaAmbetto t = CalibrazioneT();
        CalcolaLayout(t); // what the test print leaves in the window
        QCOMPARE(EncodeTaratura(t).toHex(' '), slips::GoldenT().toHex(' '));
    }

    void singleFields_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<float>("value");
        QTest::addColumn<int>("quality");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("Left 10.25") << 3 << 10.25f << 9999 << 384 << QByteArray::fromHex("00002441");
        QTest::newRow("Qualita 1111") << 3 << 20.0f << 1111 << 1152
                                      << QByteArray::fromHex("02005704");
        QTest::newRow("Qualita 9999") << 3 << 20.0f << 9999 << 1152
                                      << QByteArray::fromHex("02000F27");
        QTest::newRow("DYimporti 4") << 8 << 4.0f << 9999 << 1024 << QByteArray::fromHex("00008040");
    }
    void singleFields() {
        QFETCH(int, field);
        QFETCH(float, value);
        QFETCH(int, quality);
        QFETCH(int, offset);
        QFETCH(QByteArray, bytes);
        TaraturaAmbetto t = CalibrazioneT();
        Distanza(t, field) = value;
        t.Qualita = int16_t(quality);
        const QByteArray file = EncodeTaratura(t);
        QCOMPARE(file.size(), TaraturaFileBytes);
        QCOMPARE(file.mid(offset, bytes.size()).toHex(' '), bytes.toHex(' '));
        // and it reads back as written
        const TaraturaAmbetto back = DecodeTaratura(file);
        QCOMPARE(Distanza(back, field), value);
        QCOMPARE(int(back.Qualita), quality);
        QCOMPARE(back.Stampante, QStringLiteral("PDF"));
    }

    void printerNameInCodePage() {
        TaraturaAmbetto t = CalibrazioneT();
        t.Stampante = QStringLiteral("Stampa€ è");
        const QByteArray file = EncodeTaratura(t);
        QCOMPARE(file.mid(1280, 11), QByteArray("\x09\x00Stampa\x80 \xE8", 11));
        QCOMPARE(DecodeTaratura(file).Stampante, t.Stampante);
    }

    void reader_data() {
        QTest::addColumn<bool>("present");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("report");
        QTest::addColumn<QList<float>>("distances");
        QTest::addColumn<int>("quality");
        QTest::addColumn<QString>("printer");

        TaraturaAmbetto t = CalibrazioneT();
        CalcolaLayout(t);
        const QByteArray full = EncodeTaratura(t);
        const QList<float> fullValues{5, 4.5f, 30, 20, 12.5f, 34.5f, 104, 5, 4};
        const QList<float> previous{1, 2, 3, 4, 5, 6, 7, 8, 9};
        const QList<float> zeros(9, 0.0f);

        QTest::newRow("missing") << false << QByteArray()
                                 << "Error 53 (File not found) in procedure LeggiTaraturaAmbetto "
                                    "of Form frmStampaSchedine"
                                 << previous << 1111 << "old";
        QTest::newRow("0 bytes") << true << QByteArray() << "" << zeros << 0 << "";
        // 386 bytes: three distances and half of the fourth, whose missing
        // high bytes read as zero.
        QList<float> partial = zeros;
        partial[0] = 5;
        partial[1] = 4.5f;
        partial[2] = 30;
        partial[3] = qFromLittleEndian<float>(QByteArray::fromHex("00000000").constData());
        QTest::newRow("386 bytes") << true << full.left(386) << "" << partial << 0 << "";
        QByteArray halfLeft = full.left(386);
        halfLeft[384] = char(0x12);
        halfLeft[385] = char(0x34);
        QList<float> partial2 = partial;
        partial2[3] = qFromLittleEndian<float>(QByteArray::fromHex("12340000").constData());
        QTest::newRow("386 bytes, low half set") << true << halfLeft << "" << partial2 << 0 << "";
        QTest::newRow("1408 plus junk") << true << full + QByteArray(500, 'J') << "" << fullValues
                                        << 9999 << "PDF";
        QTest::newRow("ends after the name") << true << full.left(1285) << "" << fullValues
                                             << 9999 << "PDF";
        QTest::newRow("name cut by the end") << true << full.left(1284) << "" << fullValues
                                             << 9999 << "";

        QByteArray nan = full;
        const float qnan = std::numeric_limits<float>::quiet_NaN();
        qToLittleEndian<float>(qnan, nan.data() + 128);
        qToLittleEndian<float>(std::numeric_limits<float>::infinity(), nan.data() + 256);
        QList<float> nanValues = fullValues;
        nanValues[1] = 0;
        nanValues[2] = 0;
        QTest::newRow("NaN and infinity") << true << nan << "" << nanValues << 9999 << "PDF";

        QByteArray longName = full;
        qToLittleEndian<uint16_t>(127, longName.data() + 1280);
        longName.replace(1282, 126, QByteArray(126, 'A'));
        longName.append(QByteArray(1, 'A'));
        QTest::newRow("name length 127") << true << longName << "" << fullValues << 9999 << "";

        QByteArray maxName = full;
        qToLittleEndian<uint16_t>(126, maxName.data() + 1280);
        maxName.replace(1282, 126, QByteArray(126, 'B'));
        QTest::newRow("name length 126") << true << maxName << "" << fullValues << 9999
                                         << QString(126, QLatin1Char('B'));

        QByteArray type3 = full;
        type3[1152] = 3;
        QTest::newRow("type code 3") << true << type3 << "" << fullValues << 0 << "PDF";
    }
    void reader() {
        QFETCH(bool, present);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, report);
        QFETCH(QList<float>, distances);
        QFETCH(int, quality);
        QFETCH(QString, printer);
        testsupport::AppFolder folder(false);
        if (present)
            folder.write(TaraturaFileName, bytes);
        TaraturaAmbetto t;
        for (int i = 0; i < TaraturaDistanze; ++i)
            Distanza(t, i) = float(i + 1);
        t.Qualita = 1111;
        t.Stampante = QStringLiteral("old");
        testing::Script script;
        QCOMPARE(LeggiTaraturaFile(t), report.isEmpty());
        for (int i = 0; i < TaraturaDistanze; ++i)
            QCOMPARE(Distanza(t, i), distances[i]);
        QCOMPARE(int(t.Qualita), quality);
        QCOMPARE(t.Stampante, printer);
        if (report.isEmpty()) {
            QVERIFY(script.messages().isEmpty());
        } else {
            QCOMPARE(script.messages().size(), 1);
            QCOMPARE(script.messages()[0].text, report);
            QCOMPARE(script.messages()[0].buttons, MsgButtons::Ok);
        }
    }

    void shippedDefault() {
        // The build ships a calibration so that a first print reads one.
        const QByteArray shipped = testsupport::AppFolder(true).read(TaraturaFileName);
        QCOMPARE(shipped.size(), TaraturaFileBytes);
        const TaraturaAmbetto t = DecodeTaratura(shipped);
        QCOMPARE(int(t.Qualita), int(QualitaNormale));
        QCOMPARE(t.Stampante, QString());
        QCOMPARE(EncodeTaratura(t), shipped);
        for (int i = 0; i < TaraturaDistanze; ++i)
            QVERIFY2(Distanza(t, i) > 0 && Distanza(t, i) < 300, qPrintable(QString::number(i)));
    }

    void derivedLayout_data() {
        QTest::addColumn<float>("left");
        QTest::addColumn<float>("top");
        QTest::addColumn<float>("ximporti");
        QTest::addColumn<float>("yimporti");
        QTest::addColumn<float>("xruote");
        QTest::addColumn<float>("yruote");
        QTest::newRow("T") << 20.0f << 30.0f << 34.5f << 104.0f << 103.3f << 29.1f;
        QTest::newRow("fractions") << 10.25f << 7.75f << 24.75f << 81.75f << 93.55f << 6.85f;
        QTest::newRow("origin") << 0.0f << 0.0f << 14.5f << 74.0f << 83.3f << -0.9f;
    }
    void derivedLayout() {
        QFETCH(float, left);
        QFETCH(float, top);
        QFETCH(float, ximporti);
        QFETCH(float, yimporti);
        QFETCH(float, xruote);
        QFETCH(float, yruote);
        TaraturaAmbetto t;
        t.Left = left;
        t.Top = top;
        t.Ximporti = 99; // whatever the window held is replaced
        t.Yimporti = 99;
        const LayoutSchedina l = CalcolaLayout(t);
        QCOMPARE(t.Ximporti, ximporti);
        QCOMPARE(t.Yimporti, yimporti);
        QCOMPARE(l.XRuote, xruote);
        QCOMPARE(l.YRuote, yruote);
        QCOMPARE(l.PassoRuote, 5.2f);
    }

};

QTEST_MAIN(TestCalibration)
#include "test_calibration.moc"
