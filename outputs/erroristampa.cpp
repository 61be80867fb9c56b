#include "outputs/erroristampa.h"

#include "app/messages.h"
#include "printing/printerpage.h"

namespace corpo {

void SegnalaErroreStampa(PrinterPage& page, const RunError& e, const QString& procedure,
                         const QString& owner) {
    page.KillDoc();
    if (e.number != err::PrinterError && !procedure.isEmpty()) {
        ReportError(e, procedure, owner);
        return;
    }
    MsgBox(e.number == err::PrinterError ? QStringLiteral("Stampante non installata")
                                         : QStringLiteral("Errore Stampante non previsto"),
           MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("!!! E R R O R E !!!"));
}

} // namespace corpo
