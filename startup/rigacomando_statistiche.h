// `bramasolovanti --statistiche SISTEMA.vrl [--archivio FILE] [--ruota NOME]
// [--dal AAAA/MM/GG]`: the statistics of a saved system's bunch on the
// terminal, with no window system.
#pragma once

#include <QStringList>

namespace corpo {

// The arguments after "--statistiche". Writes the table on standard output
// and returns 0, or one Italian line on standard error and returns 2.
int RigaComandoStatistiche(const QStringList& arguments);

} // namespace corpo
