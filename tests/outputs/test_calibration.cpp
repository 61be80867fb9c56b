#include "app/corpo.h"
#include "app/messages.h"
#include "outputs/taratura.h"
#include "tests/support/testsupport.h"

#include <QtEndian>
#include <QtTest>
#include <cmath>
#include <limits>

using namespace corpo;

namespace {

// The calibration every slip test uses.
TaraturaAmbetto CalibrazioneT() {
    TaraturaAmbetto t;
    t.DistanzaX = 5;
    t.DistanzaY = 4.5f;
    t.Top = 30;
    t.Left = 20;
    t.Intestazione = 12.5f;
    t.DXimporti = 5;
    t.DYimporti = 4;
    t.Qualita = QualitaNormale;
    t.Stampante = QStringLiteral("PDF");
    return t;
}

// 1408 zero bytes with the given bytes laid at their offsets.
QByteArray Bytes(const QList<QPair<int, QByteArray>>& parts) {
    QByteArray out(TaraturaFileBytes, '\0');
    for (const auto& [offset, bytes] : parts)
        out.replace(offset, bytes.size(), bytes);
    return out;
}

} // namespace

class TestCalibration : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void goldenBytesOfT() {
        TaraturaAmbetto t = CalibrazioneT();
        CalcolaLayout(t); // what the test print leaves in the window
        const QByteArray expected = Bytes({{0, QByteArray::fromHex("0000A040")},
                                           {128, QByteArray::fromHex("00009040")},
                                           {256, QByteArray::fromHex("0000F041")},
                                           {384, QByteArray::fromHex("0000A041")},
                                           {512, QByteArray::fromHex("00004841")},
                                           {640, QByteArray::fromHex("00000A42")},
                                           {768, QByteArray::fromHex("0000D042")},
                                           {896, QByteArray::fromHex("0000A040")},
                                           {1024, QByteArray::fromHex("00008040")},
                                           {1152, QByteArray::fromHex("02000F27")},
                                           {1280, QByteArray::fromHex("0300504446")}});
        QCOMPARE(EncodeTaratura(t).toHex(' '), expected.toHex(' '));
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

    void scrollFromField_data() {
        QTest::addColumn<float>("field");
        QTest::addColumn<int>("scroll");
        QTest::newRow("10.125 to even") << 10.125f << 1012;
        QTest::newRow("12.345 a little above") << 12.345f << 1235;
        QTest::newRow("10.115") << 10.115f << 1011;
        QTest::newRow("10.375 to even, upwards") << 10.375f << 1038;
        QTest::newRow("400 into range") << 400.0f << 30000;
        QTest::newRow("300") << 300.0f << 30000;
        QTest::newRow("negative") << -5.0f << 0;
        QTest::newRow("zero") << 0.0f << 0;
        QTest::newRow("12.5") << 12.5f << 1250;
    }
    void scrollFromField() {
        QFETCH(float, field);
        QFETCH(int, scroll);
        QCOMPARE(ScrollDaCampo(field), scroll);
    }

    void fieldText_data() {
        QTest::addColumn<float>("field");
        QTest::addColumn<bool>("italian");
        QTest::addColumn<QString>("text");
        QTest::newRow("12.5 it") << 12.5f << true << "12,5";
        QTest::newRow("10 it") << 10.0f << true << "10";
        QTest::newRow("10.12 it") << 10.12f << true << "10,12";
        QTest::newRow("0.1 it") << 0.1f << true << "0,1";
        QTest::newRow("300 it") << 300.0f << true << "300";
        QTest::newRow("123.45 en") << 123.45f << false << "123.45";
    }
    void fieldText() {
        QFETCH(float, field);
        QFETCH(bool, italian);
        QFETCH(QString, text);
        const QLocale locale = italian ? testsupport::italian() : testsupport::english();
        QCOMPARE(TestoCampo(field, locale), text);
    }

    void typedValue_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("scroll"); // -1: refused
        QTest::newRow("12,35") << "12,35" << 1235;
        QTest::newRow("blanks") << " 7 " << 700;
        QTest::newRow("300") << "300" << 30000;
        QTest::newRow("0") << "0" << 0;
        QTest::newRow("300,01") << "300,01" << -1;
        QTest::newRow("negative") << "-1" << -1;
        QTest::newRow("letters") << "abc" << -1;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("dot is not the Italian decimal mark") << "12.35" << -1;
    }
    void typedValue() {
        QFETCH(QString, text);
        QFETCH(int, scroll);
        const std::optional<int> v = ScrollDaTesto(text, testsupport::italian());
        QCOMPARE(v.value_or(-1), scroll);
    }

    void roundingHalfToEven_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("rounded");
        QTest::newRow("2.5") << 2.5 << 2;
        QTest::newRow("5.5") << 5.5 << 6;
        QTest::newRow("7.5") << 7.5 << 8;
        QTest::newRow("8.5") << 8.5 << 8;
        QTest::newRow("-0.5") << -0.5 << 0;
        QTest::newRow("12.4") << 12.4 << 12;
    }
    void roundingHalfToEven() {
        QFETCH(double, value);
        QFETCH(int, rounded);
        QCOMPARE(int(ArrotondaPari(value)), rounded);
    }
};

QTEST_MAIN(TestCalibration)
#include "test_calibration.moc"
