#include "tests/support/testsupport.h"

#include "app/corpo.h"

#include <QDir>
#include <QFile>
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
