// The version comparison and the reading of the server's first line, with
// the program at 0.3.2.
#include "update/versioncompare.h"

#include <QtTest>

using corpo::VersionOrder;

Q_DECLARE_METATYPE(corpo::VersionOrder)

class TestVersionCompare : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void serverLines_data();
    void serverLines();
    void firstLine_data();
    void firstLine();
    void otherLocalVersions_data();
    void otherLocalVersions();
};

void TestVersionCompare::serverLines_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("line");
    QTest::addColumn<VersionOrder>("order");

    const auto newer = VersionOrder::ServerNewer;
    const auto same = VersionOrder::NotNewer;
    const auto missing = VersionOrder::MissingPart;
    QTest::newRow("0.3.10 is above 0.3.2, not below") << QByteArray("0.3.10") << "0.3.10" << newer;
    QTest::newRow("0.3.3") << QByteArray("0.3.3") << "0.3.3" << newer;
    QTest::newRow("0.4 decides before the missing part") << QByteArray("0.4") << "0.4" << newer;
    QTest::newRow("0.10.0") << QByteArray("0.10.0") << "0.10.0" << newer;
    QTest::newRow("1") << QByteArray("1") << "1" << newer;
    QTest::newRow("1.0.0") << QByteArray("1.0.0") << "1.0.0" << newer;
    QTest::newRow("blank before 0.4.0") << QByteArray(" 0.4.0") << " 0.4.0" << newer;
    QTest::newRow("0.4.0 CR LF") << QByteArray("0.4.0\r\n") << "0.4.0" << newer;
    QTest::newRow("twenty nines") << QByteArray("0.3.99999999999999999999")
                                  << "0.3.99999999999999999999" << newer;
    QTest::newRow("0.3.2") << QByteArray("0.3.2") << "0.3.2" << same;
    QTest::newRow("0.03.002") << QByteArray("0.03.002") << "0.03.002" << same;
    QTest::newRow("0.3.2 and a blank") << QByteArray("0.3.2 ") << "0.3.2 " << same;
    QTest::newRow("second line ignored") << QByteArray("0.3.2\r\n9.9.9") << "0.3.2" << same;
    QTest::newRow("extra part ignored") << QByteArray("0.3.2.7") << "0.3.2.7" << same;
    QTest::newRow("0.2.9 is older") << QByteArray("0.2.9") << "0.2.9" << same;
    QTest::newRow("0.3.1 is older") << QByteArray("0.3.1") << "0.3.1" << same;
    QTest::newRow("empty last part counts 0") << QByteArray("0.3.") << "0.3." << same;
    QTest::newRow("letters count 0") << QByteArray("x.y.z") << "x.y.z" << same;
    QTest::newRow("many leading zeros") << QByteArray("000000000000000000000.3.3") << "000000000000000000000.3.3"
                                        << newer;
    QTest::newRow("digits then letters") << QByteArray("0.3.3beta") << "0.3.3beta" << newer;
    QTest::newRow("0.3") << QByteArray("0.3") << "0.3" << missing;
    QTest::newRow("empty body") << QByteArray("") << "" << missing;
    QTest::newRow("html page") << QByteArray("<html>\n<body>0.9.9</body>") << "<html>" << missing;
}

void TestVersionCompare::serverLines() {
    QFETCH(QByteArray, body);
    QFETCH(QString, line);
    QFETCH(VersionOrder, order);
    const QString read = corpo::FirstLine(body);
    QCOMPARE(read, line);
    QCOMPARE(corpo::CompareVersions(QStringLiteral("0.3.2"), read), order);
}

void TestVersionCompare::firstLine_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("line");
    QTest::newRow("LF") << QByteArray("0.4.0\n0.5.0\n") << "0.4.0";
    QTest::newRow("CR LF") << QByteArray("0.4.0\r\n0.5.0") << "0.4.0";
    QTest::newRow("lone CR") << QByteArray("0.4.0\r0.5.0") << "0.4.0";
    QTest::newRow("no line end") << QByteArray("0.4.0") << "0.4.0";
    QTest::newRow("blank first line") << QByteArray("\n0.4.0") << "";
    QTest::newRow("code page") << QByteArray("0.4.0 \xe8 \x80") << QStringLiteral("0.4.0 \u00e8 \u20ac");
}

void TestVersionCompare::firstLine() {
    QFETCH(QByteArray, body);
    QFETCH(QString, line);
    QCOMPARE(corpo::FirstLine(body), line);
}

void TestVersionCompare::otherLocalVersions_data() {
    QTest::addColumn<QString>("local");
    QTest::addColumn<QString>("server");
    QTest::addColumn<VersionOrder>("order");
    QTest::newRow("first part decides") << "2.0.0" << "1.9.9" << VersionOrder::NotNewer;
    QTest::newRow("second part decides") << "1.2.0" << "1.10.0" << VersionOrder::ServerNewer;
    QTest::newRow("longer number wins") << "0.0.99999999999999999999" << "0.0.100000000000000000000"
                                        << VersionOrder::ServerNewer;
    QTest::newRow("same long number") << "0.0.99999999999999999999" << "0.0.099999999999999999999"
                                      << VersionOrder::NotNewer;
    QTest::newRow("two-part local ignores third") << "1.2" << "1.2.9" << VersionOrder::NotNewer;
}

void TestVersionCompare::otherLocalVersions() {
    QFETCH(QString, local);
    QFETCH(QString, server);
    QFETCH(VersionOrder, order);
    QCOMPARE(corpo::CompareVersions(local, server), order);
}

QTEST_APPLESS_MAIN(TestVersionCompare)
#include "test_versioncompare.moc"
