#include "tests/support/golden.h"

#include "app/fileio.h"
#include "printing/page.h"
#include "tests/support/testsupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace testsupport {

namespace {
QString Difference(const QString& expected, const QString& actual) {
    static const QRegularExpression number(QStringLiteral("-?\\d+(\\.\\d+)?"));
    const QStringList want = expected.trimmed().split(QLatin1Char('\n'));
    const QStringList got = actual.trimmed().split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < std::max(want.size(), got.size()); ++i) {
        const QString w = want.value(i), g = got.value(i);
        QList<double> wn, gn;
        for (const auto& m : number.globalMatch(w))
            wn << m.captured().toDouble();
        for (const auto& m : number.globalMatch(g))
            gn << m.captured().toDouble();
        bool same = QString(w).replace(number, QStringLiteral("#")) ==
                        QString(g).replace(number, QStringLiteral("#")) &&
                    wn.size() == gn.size();
        for (qsizetype k = 0; same && k < wn.size(); ++k)
            same = qAbs(wn[k] - gn[k]) < 0.01;
        if (!same)
            return QStringLiteral("line %1\n  expected: %2\n  actual:   %3").arg(i + 1).arg(w, g);
    }
    return {};
}
} // namespace

QString GoldenDifference(const QString& file, const QList<corpo::RecordedJob>& jobs) {
    QString actual;
    for (const corpo::RecordedJob& job : jobs)
        actual += job.describe() + QLatin1Char('\n');
    const QString path = sourceFolder() + file;
    if (qEnvironmentVariableIsSet("BRAMA_REGEN_GOLDEN")) {
        if (!corpo::WriteFileAtomically(path, actual.toUtf8(), nullptr))
            return path + QStringLiteral(" could not be written");
        const QString stem = QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                             QFileInfo(file).completeBaseName();
        for (qsizetype i = 0; i < jobs.size(); ++i) {
            corpo::Printer().UsePdfFile(QStringLiteral("%1_%2.pdf").arg(stem).arg(i));
            corpo::Printer().Replay(jobs[i]);
        }
        corpo::Printer().UsePrinter();
        qInfo("%s written; look at %s_*.pdf", qPrintable(path), qPrintable(stem));
    }
    QFile golden(path);
    if (!golden.open(QIODevice::ReadOnly))
        return path + QStringLiteral(" is missing");
    const QString difference = Difference(QString::fromUtf8(golden.readAll()), actual);
    return difference.isEmpty() ? difference : file + QStringLiteral(": ") + difference;
}

} // namespace testsupport
