#include "tests/support/testsupport.h"

#include "app/corpo.h"
#include "app/fileio.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QtTest>
#include <unistd.h>

namespace testsupport {

QString builtAppFolder() { return qEnvironmentVariable("BRAMA_APP_DIR") + QLatin1Char('/'); }
QString sourceFolder() { return qEnvironmentVariable("BRAMA_SOURCE_DIR") + QLatin1Char('/'); }

AppFolder::AppFolder(bool withShippedFiles) : previous_(corpo::PercorsoApp) {
    corpo::PercorsoApp = path();
    if (!withShippedFiles)
        return;
    const QDir built(builtAppFolder());
    for (const QString& name : built.entryList(QDir::Files)) {
        if (QFileInfo(built.filePath(name)).isExecutable())
            continue;
        QFile::copy(built.filePath(name), path() + name);
    }
    QDir().mkpath(path() + QStringLiteral("images"));
    const QDir images(builtAppFolder() + QStringLiteral("images"));
    for (const QString& name : images.entryList(QDir::Files))
        QFile::copy(images.filePath(name), path() + QStringLiteral("images/") + name);
}

AppFolder::~AppFolder() { corpo::PercorsoApp = previous_; }

QString AppFolder::path() const { return dir_.path() + QLatin1Char('/'); }

void AppFolder::write(const QString& name, const QByteArray& bytes) const {
    QFile f(file(name));
    QVERIFY2(f.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(f.fileName()));
    f.write(bytes);
}

QByteArray AppFolder::read(const QString& name) const {
    QFile f(file(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

LocaleScope::LocaleScope(const QLocale& locale) : previous_(QLocale()) {
    QLocale::setDefault(locale);
}
LocaleScope::~LocaleScope() { QLocale::setDefault(previous_); }

// Equal once every number is "#", and each number within 0.01 of the other.
static bool SameLine(const QString& a, const QString& b) {
    static const QRegularExpression number(QStringLiteral("-?\\d+(?:\\.\\d+)?"));
    const QString hash = QStringLiteral("#");
    if (QString(a).replace(number, hash) != QString(b).replace(number, hash))
        return false;
    for (auto i = number.globalMatch(a), j = number.globalMatch(b); i.hasNext();)
        if (qAbs(i.next().captured().toDouble() - j.next().captured().toDouble()) >= 0.01)
            return false;
    return true;
}

void CheckSnapshot(const QString& file, const QString& actual,
                   const std::function<void(const QString& pdfBase)>& writePdf) {
    const QString path = sourceFolder() + file;
    if (qEnvironmentVariableIsSet("BRAMA_REGEN_GOLDEN")) {
        QVERIFY(corpo::WriteFileAtomically(path, actual.trimmed().toUtf8() + "\n", nullptr));
        writePdf(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                 QFileInfo(file).completeBaseName());
    }
    QFile f(path);
    QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(path));
    const QStringList want = QString::fromUtf8(f.readAll()).trimmed().split(QLatin1Char('\n'));
    const QStringList got = actual.trimmed().split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < std::max(want.size(), got.size()); ++i)
        QVERIFY2(SameLine(want.value(i), got.value(i)),
                 qPrintable(QStringLiteral("%1 line %2\n  expected: %3\n  actual:   %4")
                                .arg(file)
                                .arg(i + 1)
                                .arg(want.value(i), got.value(i))));
}

bool runningAsRoot() { return ::geteuid() == 0; }

GlobalsScope::GlobalsScope()
    : sistema_(corpo::Sistema), vorlacco_(corpo::ColoreVorlacco),
      capogioco_(corpo::ColoreCapogioco), scelta_(corpo::SceltaColore),
      intestazione_(corpo::IntestazioneStampa), stampante_(corpo::StampanteTabulato),
      ruote_(corpo::NomiRuote), stop_(corpo::StopStampa) {}

GlobalsScope::~GlobalsScope() {
    corpo::Sistema = sistema_;
    corpo::ColoreVorlacco = vorlacco_;
    corpo::ColoreCapogioco = capogioco_;
    corpo::SceltaColore = scelta_;
    corpo::IntestazioneStampa = intestazione_;
    corpo::StampanteTabulato = stampante_;
    corpo::NomiRuote = ruote_;
    corpo::StopStampa = stop_;
}

} // namespace testsupport
