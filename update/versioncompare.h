// Comparing the running version with the server's, without any window.
#pragma once

#include <QByteArray>
#include <QString>

namespace corpo {

enum class VersionOrder {
    ServerNewer, // the first differing part is higher on the server
    NotNewer,    // equal, or the running version is newer
    MissingPart, // equal so far, but the server line has fewer parts
};

// Compares part by part from the left, for as many parts as the local text
// has; parts are separated by "." and count as the number their leading
// digits form (none counts 0), however many digits that is.
VersionOrder CompareVersions(const QString& localVersion, const QString& serverLine);

// The first line of a downloaded text, without its line end (LF, CR LF or a
// lone CR), read in the program's code page.
QString FirstLine(const QByteArray& bytes);

} // namespace corpo
