// The draw check from the command line, without a window system: for scripts
// and for players who check every week.
//     bramasolovanti --verifica SISTEMA.vrl --estrazione "N N N N N" [--ruota NOME]
//     bramasolovanti --verifica SISTEMA.vrl [--archivio FILE] --dal AAAA/MM/GG [--colpi N]
#pragma once

#include <QString>
#include <QStringList>

namespace corpo {

// Whether the command line asks for the check (it names --verifica).
bool ChiedeVerifica(const QStringList& arguments);

// The check: plain Italian text on standard output, amounts in the user's
// locale, the last line the four totals (spent, gross, withheld, net); 0.
// Bad input: one Italian line on standard error, and 2.
int VerificaDaRigaDiComando(int argc, char** argv);

// The options' lines for --help.
QString AiutoVerifica();

} // namespace corpo
