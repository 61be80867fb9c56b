// Where the program's files live. A program folder that holds the settings
// file or the wheel list and may be written is a portable install: every file sits in the
// program folder, as in the build folder. An installed program reads its shipped
// files from its data folder and keeps each user's files in that user's own
// folders.
#pragma once

#include "app/runerror.h"

#include <QString>

namespace corpo {

// The program's folders, each with one trailing "/".
struct Places {
    QString data;    // shipped, read-only: wheel list, pictures, defaults
    QString config;  // the user's settings and calibration
    QString systems; // the user's saved systems
};

// The folder of the program, with one trailing "/": the executable's, or
// BRAMA_PROGRAM_FOLDER when set (the tests run the program's code from a
// folder of their own).
QString ProgramFolder();
// The places of a program in appFolder: all of them there for a portable
// install; otherwise InstalledPlaces, with the shipped settings read when the
// user has none of his own (his folder could not take a copy).
Places PlacesOf(const QString& appFolder);
// This run's places: PlacesOf(ProgramFolder()). Derived afresh each time from
// the folders themselves, so there is no state to keep in step.
Places CurrentPlaces();

// A shipped, read-only file (name may hold a sub-folder, "images/x.jpg").
QString DataPath(const QString& name);
// One of the user's own files: "impostazioni.cfg" or "printA.cfg".
QString ConfigPath(const QString& name);
// The folder of saved systems, created when missing (no trailing "/").
QString SystemsFolder();

// True when appFolder holds the settings file or the wheel list and may be written.
bool IsPortable(const QString& appFolder);
// The installed places for a program whose executable is in appFolder: the
// data folder beside it (../share/bramasolovanti) or the first one found on
// the data path; the user's configuration and documents folders.
Places InstalledPlaces(const QString& appFolder);
// Copies the shipped settings and calibration into the configuration folder
// when the user has none yet. False, with the cause, when a copy could not be made.
bool CopyDefaults(const Places& places, RunError* error = nullptr);

// At start-up: an installed program copies the shipped settings and
// calibration into the user's folder. A configuration folder that cannot be
// written is told to the user, and the shipped files are read instead.
void FixPlaces();

} // namespace corpo
