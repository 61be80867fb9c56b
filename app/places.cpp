#include "app/places.h"

#include "app/corpo.h"
#include "app/fileio.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace corpo {

Places Luoghi;

namespace {
const QString SettingsName = QStringLiteral("impostazioni.cfg");
const QString DataFolderName = QStringLiteral("bramasolovanti");

QString withSlash(const QString& folder) {
    return folder.isEmpty() || folder.endsWith(QLatin1Char('/')) ? folder
                                                                 : folder + QLatin1Char('/');
}
} // namespace

QString DataPath(const QString& name) {
    return (Luoghi.data.isEmpty() ? PercorsoApp : Luoghi.data) + name;
}

QString ConfigPath(const QString& name) {
    return (Luoghi.config.isEmpty() ? PercorsoApp : Luoghi.config) + name;
}

QString SystemsFolder() {
    const QString folder = Luoghi.systems.isEmpty() ? PercorsoApp + QStringLiteral("sistemi")
                                                    : Luoghi.systems.chopped(1);
    QDir().mkpath(folder);
    return folder;
}

bool IsPortable(const QString& appFolder) {
    const QFileInfo settings(appFolder + SettingsName);
    return settings.isFile() && QFileInfo(appFolder).isWritable();
}

Places InstalledPlaces(const QString& appFolder) {
    Places p;
    const QString beside =
        QDir(appFolder + QStringLiteral("../share/") + DataFolderName).absolutePath();
    if (QFileInfo(beside + QStringLiteral("/ruote.vrc")).isFile()) {
        p.data = withSlash(beside);
    } else {
        const QString found = QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                                     DataFolderName + QStringLiteral("/ruote.vrc"));
        p.data = found.isEmpty() ? withSlash(beside) : withSlash(QFileInfo(found).path());
    }
    p.config = withSlash(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
    p.systems = withSlash(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
                          QStringLiteral("/Bramasolovanti"));
    return p;
}

bool CopyDefaults(const Places& places) {
    bool ok = QDir().mkpath(places.config);
    for (const QString& name : {SettingsName, QStringLiteral("printA.cfg")}) {
        const QString target = places.config + name;
        if (QFileInfo::exists(target))
            continue;
        // The shipped file is read-only; the user's copy must not be.
        const std::optional<QByteArray> shipped =
            ReadSmallFile(places.data + name, 1 << 16, nullptr);
        ok = shipped && WriteFileAtomically(target, *shipped, nullptr) &&
             QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner) && ok;
    }
    return ok;
}

void FixPlaces(const QString& appFolder) {
    PercorsoApp = appFolder;
    if (IsPortable(PercorsoApp)) {
        Luoghi = {};
        return;
    }
    Luoghi = InstalledPlaces(PercorsoApp);
    CopyDefaults(Luoghi);
}

} // namespace corpo
