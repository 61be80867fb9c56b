// The maker's web site: the one place its address is written down.
#pragma once

#include "buildconfig.h"

#include <QString>
#include <QUrl>

namespace corpo {

// The maker's web address, chosen when building. Nothing at run time changes it.
inline const QString MakerAddress = QStringLiteral(BRAMA_MAKER_ADDRESS);

// Where the server keeps the current version, under the maker's address.
inline const QString VersionPath = QStringLiteral("/public/lotto/ver_vorlacco.asp");

// The maker's page that the About and new-version windows open.
inline QString MakerPage() { return MakerAddress + QStringLiteral("/lotto/"); }

// The address as the papers print it: the host alone, in capitals.
inline QString IndirizzoStampato() { return QUrl(MakerAddress).host().toUpper(); }

} // namespace corpo
