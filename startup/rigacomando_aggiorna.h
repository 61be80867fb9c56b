// `bramasolovanti --aggiorna-archivio [INDIRIZZO]`: the draw archive brought
// up to date with no window system, for scripts and timers.
#pragma once

#include <QStringList>

namespace corpo {

// The arguments after "--aggiorna-archivio": none, or the address. What
// happened on standard output and 0 when the archive is up to date; else one
// Italian line on standard error and 1 (2 for a wrong command line).
int RigaComandoAggiorna(const QStringList& arguments);

} // namespace corpo
