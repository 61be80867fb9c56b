#include "update/versioncompare.h"

#include "app/fileio.h"

#include <QStringList>

namespace corpo {

namespace {

// The leading decimal digits of a part, without leading zeros ("" means 0).
// Kept as text so that no part is too long to compare.
QString LeadingNumber(const QString& part) {
    int end = 0;
    while (end < part.size() && part.at(end) >= QLatin1Char('0') &&
           part.at(end) <= QLatin1Char('9'))
        ++end;
    int start = 0;
    while (start < end && part.at(start) == QLatin1Char('0'))
        ++start;
    return part.mid(start, end - start);
}

// <0, 0, >0 as a is below, equal to or above b.
int CompareNumbers(const QString& a, const QString& b) {
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

} // namespace

VersionOrder CompareVersions(const QString& localVersion, const QString& serverLine) {
    const QStringList local = localVersion.split(QLatin1Char('.'));
    const QStringList server = serverLine.split(QLatin1Char('.'));
    for (qsizetype i = 0; i < local.size(); ++i) {
        if (i >= server.size())
            return VersionOrder::MissingPart;
        const int c = CompareNumbers(LeadingNumber(server.at(i)), LeadingNumber(local.at(i)));
        if (c < 0)
            return VersionOrder::NotNewer;
        if (c > 0)
            return VersionOrder::ServerNewer;
    }
    return VersionOrder::NotNewer;
}

QString FirstLine(const QByteArray& bytes) {
    qsizetype end = 0;
    while (end < bytes.size() && bytes.at(end) != '\n' && bytes.at(end) != '\r')
        ++end;
    return FromCodePage(bytes.left(end));
}

} // namespace corpo
