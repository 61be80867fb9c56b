#include "app/runerror.h"

namespace corpo {

namespace {
struct Text {
    int number;
    Cause cause;
    const char* words;
};

// Every cause the program reports, in the words the user reads.
constexpr Text Causes[] = {
    {err::InvalidCall, Cause::Standard, "chiamata di procedura o argomento non validi"},
    {err::Overflow, Cause::Standard, "valore fuori dai limiti"},
    {err::SubscriptOutOfRange, Cause::Standard, "indice fuori dall'intervallo"},
    {err::BadFileName, Cause::Standard, "nome di file non valido"},
    {err::BadFileName, Cause::NameTooLong, "nome del file troppo lungo per il sistema"},
    {err::FileNotFound, Cause::Standard, "file non trovato"},
    {err::DeviceIO, Cause::Standard, "errore di lettura o scrittura sul disco"},
    {err::DiskFull, Cause::Standard, "disco pieno"},
    {err::InputPastEnd, Cause::Standard, "il file è più corto del previsto"},
    {err::PermissionDenied, Cause::Standard, "accesso negato"},
    {err::PermissionDenied, Cause::FolderDenied, "accesso negato a una cartella del percorso"},
    {err::PermissionDenied, Cause::FolderReadOnly, "la cartella non consente di scrivere"},
    {err::PathFileAccess, Cause::Standard, "percorso o file non accessibile"},
    {err::PathFileAccess, Cause::LinkLoop, "collegamenti simbolici che formano un ciclo"},
    {err::PathFileAccess, Cause::IsFolder, "è una cartella, non un file"},
    {err::PathFileAccess, Cause::NotRegularFile, "non è un file ordinario"},
    {err::PathFileAccess, Cause::TooLarge, "il file è più lungo del previsto"},
    {err::PathNotFound, Cause::Standard, "cartella non trovata"},
    {err::PrinterError, Cause::Standard, "errore della stampante"},
};

RunError fromTable(int number, Cause cause) {
    for (const Text& t : Causes)
        if ((number == 0 ? cause != Cause::Standard : t.number == number) && t.cause == cause)
            return {t.number, QString::fromUtf8(t.words)};
    return {number, QStringLiteral("errore definito dall'applicazione")};
}
} // namespace

RunError MakeError(int number) { return fromTable(number, Cause::Standard); }
RunError MakeError(Cause cause) { return fromTable(0, cause); }

} // namespace corpo
