#include "entry/systemfile.h"

#include <QtTest>
#include <cstring>

using namespace corpo;

namespace {

SystemRecord knownSystem() {
    SystemRecord r;
    r.Ruota = FixedString(QStringLiteral("Napoli"), 10);
    r.NomeSistema = FixedString(QStringLiteral("prova.vrl"), 20);
    r.ImportoSistema = 10.0f;
    r.Cinq1 = {1, 2, 3, 4, 5};
    r.Cinq2 = {6, 7, 8, 9, 10};
    r.Quad1 = {11, 12, 13, 14};
    r.Quad2 = {15, 16, 17, 18};
    r.Terz1 = {19, 20, 21};
    r.Terz2 = {22, 23, 24};
    r.Ambo1 = {25, 26};
    r.Ambo2 = {27, 28};
    r.Estratto = 90;
    r.Capogioco = 0;
    r.ImpCinq1 = {1.0f, 0.3f, 0.15f, 0.05f};
    r.ImpCinq2 = {1.0f, 0.3f, 0.15f, 0.05f};
    r.ImpQuad1 = {0.6f, 0.3f, 0.1f};
    r.ImpQuad2 = {0.6f, 0.3f, 0.1f};
    r.ImpTerz1 = {0.75f, 0.25f};
    r.ImpTerz2 = {0.75f, 0.25f};
    r.ImpAmbo1 = 1.0f;
    r.ImpAmbo2 = 1.0f;
    r.ImpEstratto = 1.0f;
    r.VinCinq1 = {25, 210, 4290, 319600};
    r.VinEstratto = 11.232f;
    return r;
}

QByteArray le32(uint32_t v) {
    QByteArray b(4, 0);
    for (int i = 0; i < 4; ++i)
        b[i] = char((v >> (8 * i)) & 0xFF);
    return b;
}
QByteArray f32(float f) {
    uint32_t v;
    std::memcpy(&v, &f, 4);
    return le32(v);
}

bool sameBits(const SystemRecord& a, const SystemRecord& b) {
    return EncodeRecord(a) == EncodeRecord(b);
}

} // namespace

class TestSystemFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void goldenBytes() {
        const QByteArray file = EncodeSystemFile(knownSystem(), 0x0080FFFF, 255);
        QCOMPARE(file.size(), 254);
        QCOMPARE(file.left(14), QByteArray("VorlaccoQRV001"));
        QCOMPARE(file.mid(14, 10), QByteArray("Napoli    "));
        QCOMPARE(file.mid(24, 20), QByteArray("prova.vrl           "));
        QCOMPARE(file.mid(44, 4), QByteArray::fromHex("00002041")); // 10.0f
        QCOMPARE(file.mid(48, 5), QByteArray::fromHex("0102030405"));
        QCOMPARE(file.mid(53, 5), QByteArray::fromHex("060708090a"));
        QCOMPARE(file.mid(58, 8), QByteArray::fromHex("0b0c0d0e0f101112"));
        QCOMPARE(file.mid(66, 6), QByteArray::fromHex("131415161718"));
        QCOMPARE(file.mid(72, 4), QByteArray::fromHex("191a1b1c"));
        QCOMPARE(file.mid(76, 2), QByteArray::fromHex("5a00")); // estratto 90, no head number
        QCOMPARE(file.mid(78, 4), QByteArray::fromHex("0000803f"));   // 1.0
        QCOMPARE(file.mid(82, 4), QByteArray::fromHex("9a99993e"));   // 0.3
        QCOMPARE(file.mid(90, 4), QByteArray::fromHex("cdcc4c3d"));   // 0.05
        QCOMPARE(file.mid(110, 4), f32(0.6f));
        QCOMPARE(file.mid(158, 4), QByteArray::fromHex("0000803f"));  // estratto stake
        QCOMPARE(file.mid(162, 4), QByteArray::fromHex("0000c841"));  // 25.0
        QCOMPARE(file.mid(174, 4), QByteArray::fromHex("000e9c48"));  // 319600.0
        QCOMPARE(file.mid(242, 4), f32(11.232f));
        QCOMPARE(file.mid(246, 4), QByteArray::fromHex("ffff8000"));
        QCOMPARE(file.mid(250, 4), QByteArray::fromHex("ff000000"));
    }

    void roundTripBitForBit() {
        SystemRecord r = knownSystem();
        r.Capogioco = 7;
        r.ImpAmbo2 = std::numeric_limits<float>::denorm_min();
        r.VinTerz2 = {-0.0f, 1e30f};
        const auto loaded = DecodeSystemFile(EncodeSystemFile(r, 0x12345678, -1));
        QVERIFY(std::holds_alternative<LoadedSystem>(loaded));
        const LoadedSystem& s = std::get<LoadedSystem>(loaded);
        QVERIFY(sameBits(s.record, r));
        QVERIFY(s.hasColours);
        QCOMPARE(s.coloreVorlacco, 0x12345678);
        QCOMPARE(s.coloreCapogioco, -1);
    }

    void headers_data() {
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<int>("tail"); // bytes after the record
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<bool>("colours");
        QTest::newRow("current") << QByteArray("VorlaccoQRV001") << 8 << true << true;
        QTest::newRow("old plain") << QByteArray("Bramasolovanti") << 0 << true << false;
        QTest::newRow("old long") << QByteArray("Il Bramasolovanti") << 0 << true << false;
        QTest::newRow("old with junk after") << QByteArray("Bramasolovanti") << 8 << true << false;
        QTest::newRow("other case") << QByteArray("vorlaccoQRV001") << 8 << false << false;
        QTest::newRow("foreign") << QByteArray("%PDF-1.4\n%abcdef") << 300 << false << false;
        QTest::newRow("empty") << QByteArray() << 0 << false << false;
    }
    void headers() {
        QFETCH(QByteArray, header);
        QFETCH(int, tail);
        QFETCH(bool, accepted);
        QFETCH(bool, colours);
        const SystemRecord r = knownSystem();
        QByteArray bytes = header;
        if (!header.isEmpty())
            bytes += EncodeRecord(r) + le32(0x00112233) + le32(0x00445566) + QByteArray(tail, 0);
        bytes.truncate(header.size() + (header.isEmpty() ? 0 : SystemRecordBytes) + tail);
        const auto loaded = DecodeSystemFile(bytes);
        QCOMPARE(std::holds_alternative<LoadedSystem>(loaded), accepted);
        if (!accepted) {
            QCOMPARE(std::get<SystemFileProblem>(loaded), SystemFileProblem::UnknownHeader);
            return;
        }
        const LoadedSystem& s = std::get<LoadedSystem>(loaded);
        QVERIFY(sameBits(s.record, r));
        QCOMPARE(s.hasColours, colours);
        QCOMPARE(s.coloreVorlacco, colours ? 0x00112233 : ColoreVorlaccoDefault);
        QCOMPARE(s.coloreCapogioco, colours ? 0x00445566 : ColoreCapogiocoDefault);
    }

    void truncated_data() {
        QTest::addColumn<int>("length");
        QTest::newRow("header only") << 14;
        QTest::newRow("half a record") << 130;
        QTest::newRow("no colours") << 246;
        QTest::newRow("one byte short") << 253;
    }
    void truncated() {
        QFETCH(int, length);
        const QByteArray bytes = EncodeSystemFile(knownSystem(), 1, 2).left(length);
        const auto loaded = DecodeSystemFile(bytes);
        QVERIFY(std::holds_alternative<SystemFileProblem>(loaded));
        QCOMPARE(std::get<SystemFileProblem>(loaded), SystemFileProblem::Truncated);
    }

    void fixedStrings() {
        QCOMPARE(FixedString(QStringLiteral("Bari"), 10), QStringLiteral("Bari      "));
        QCOMPARE(FixedString(QStringLiteral("un nome davvero molto lungo.vrl"), 20),
                 QStringLiteral("un nome davvero molt"));
        QCOMPARE(FixedString(QString(), 3), QStringLiteral("   "));
    }
};

QTEST_MAIN(TestSystemFile)
#include "test_systemfile.moc"
