// Where the program's files live. A program folder that holds the settings
// file and may be written is a portable install: every file sits in
// PercorsoApp, as in the build folder. An installed program reads its shipped
// files from its data folder and keeps each user's files in that user's own
// folders.
#pragma once

#include "app/runerror.h"

#include <QString>

namespace corpo {

// The folders of an installed program, each with one trailing "/". All empty
// in a portable install.
struct Places {
    QString data;    // shipped, read-only: wheel list, pictures, defaults
    QString config;  // the user's settings and calibration
    QString systems; // the user's saved systems
};
extern Places Luoghi;

// A shipped, read-only file (name may hold a sub-folder, "images/x.jpg").
QString DataPath(const QString& name);
// One of the user's own files: "impostazioni.cfg" or "printA.cfg".
QString ConfigPath(const QString& name);
// The folder of saved systems, created when missing (no trailing "/").
QString SystemsFolder();

// True when appFolder holds the settings file and may be written.
bool IsPortable(const QString& appFolder);
// The installed places for a program whose executable is in appFolder: the
// data folder beside it (../share/bramasolovanti) or the first one found on
// the data path; the user's configuration and documents folders.
Places InstalledPlaces(const QString& appFolder);
// Copies the shipped settings and calibration into the configuration folder
// when the user has none yet. False, with the cause, when a copy could not be made.
bool CopyDefaults(const Places& places, RunError* error = nullptr);

// At start-up, for the folder of the executable: PercorsoApp, then Luoghi
// when the program is installed. A configuration folder that cannot be
// written is told to the user, and the shipped files are read instead.
void FixPlaces(const QString& appFolder);

} // namespace corpo
