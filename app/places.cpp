#include "app/places.h"

#include "app/corpo.h"
#include "app/fileio.h"
#include "app/messages.h"
#include "app/shell.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <sys/stat.h>

namespace corpo {

namespace {
const QString SettingsName = QStringLiteral("impostazioni.cfg");
const QString DataFolderName = QStringLiteral("bramasolovanti");

QString withSlash(const QString& folder) {
    return folder.isEmpty() || folder.endsWith(QLatin1Char('/')) ? folder
                                                                 : folder + QLatin1Char('/');
}
} // namespace

QString ProgramFolder() {
    const QString set = qEnvironmentVariable("BRAMA_PROGRAM_FOLDER");
    return set.isEmpty() ? AppFolder() : AppFolderOf(set);
}

Places PlacesOf(const QString& appFolder) {
    if (IsPortable(appFolder))
        return {appFolder, appFolder, appFolder + QStringLiteral("sistemi/")};
    Places p = InstalledPlaces(appFolder);
    if (!QFileInfo::exists(p.config + SettingsName))
        p.config = p.data;
    return p;
}

Places CurrentPlaces() { return PlacesOf(ProgramFolder()); }

QString DataPath(const QString& name) { return CurrentPlaces().data + name; }

QString ConfigPath(const QString& name) { return CurrentPlaces().config + name; }

QString SystemsFolder() {
    const QString folder = CurrentPlaces().systems.chopped(1);
    QDir().mkpath(folder);
    return folder;
}

bool IsPortable(const QString& appFolder) {
    // Either file will do: a portable copy whose settings went missing (or
    // were swapped for something else) must not turn into an installed one.
    const bool own = QFileInfo::exists(appFolder + SettingsName) ||
                     QFileInfo::exists(appFolder + QStringLiteral("ruote.vrc"));
    return own && QFileInfo(appFolder).isWritable();
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

namespace {
// Creates folder and any missing folder above it; error names what refused.
bool makeFolder(const QString& folder, RunError* error) {
    if (QFileInfo(folder).isDir())
        return true;
    const QString above = QFileInfo(QDir::cleanPath(folder)).path();
    if (above != QDir::cleanPath(folder) && !makeFolder(above, error))
        return false;
    if (::mkdir(QFile::encodeName(folder).constData(), 0777) == 0)
        return true;
    const int e = errno;
    if (e == EEXIST && QFileInfo(folder).isDir())
        return true;
    *error =
        e == EACCES || e == EPERM || e == EROFS ? MakeError(Cause::FolderReadOnly) : ErrnoError(e);
    return false;
}

// The shipped settings and calibration are small.
constexpr qint64 DefaultsMaxBytes = 65536;
} // namespace

bool CopyDefaults(const Places& places, RunError* error) {
    RunError ignored;
    RunError& e = error ? *error : ignored;
    if (!makeFolder(places.config, &e))
        return false;
    for (const QString& name : {SettingsName, QStringLiteral("printA.cfg")}) {
        const QString target = places.config + name;
        if (QFileInfo::exists(target))
            continue;
        // Written afresh rather than copied: the shipped file is read-only,
        // and the user's copy must not be.
        const std::optional<QByteArray> bytes =
            ReadSmallFile(places.data + name, DefaultsMaxBytes, &e);
        if (!bytes || !WriteFileAtomically(target, *bytes, &e))
            return false;
    }
    return true;
}

void FixPlaces() {
    const QString appFolder = ProgramFolder();
    if (IsPortable(appFolder))
        return;
    const Places places = InstalledPlaces(appFolder);
    RunError error;
    if (CopyDefaults(places, &error))
        return;
    MsgBox(QStringLiteral("Impossibile preparare la cartella personale delle impostazioni\r\n"
                          "%1\r\n(%2).\r\nSi usano le impostazioni e la taratura di partenza; "
                          "le modifiche non potranno essere salvate.")
               .arg(QDir::toNativeSeparators(places.config), error.description),
           MsgButtons::Ok, MsgIcon::Exclamation, TitoloProgramma);
}

} // namespace corpo
