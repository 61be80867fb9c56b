#include "startup/rigacomando_aggiorna.h"

#include "winnings/aggiornaarchivio.h"

#include <cstdio>

namespace corpo {

int RigaComandoAggiorna(const QStringList& arguments) {
    if (arguments.size() > 1 ||
        (arguments.size() == 1 && arguments[0].startsWith(QLatin1Char('-')))) {
        std::fputs("Uso: bramasolovanti --aggiorna-archivio [INDIRIZZO]\n", stderr);
        return 2;
    }
    const EsitoAggiornamento esito =
        AggiornaArchivio(arguments.isEmpty() ? IndirizzoArchivio() : arguments[0]);
    if (!esito.riuscito) {
        std::fputs(qPrintable(esito.messaggio.simplified() + QLatin1Char('\n')), stderr);
        return 1;
    }
    std::fputs(qPrintable(esito.messaggio + QLatin1Char('\n')), stdout);
    return 0;
}

} // namespace corpo
