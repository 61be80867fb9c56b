#include "startup/rigacomando_verifica.h"
#include "startup/rigacomando.h"

#include "app/corpo.h"
#include "app/fileio.h"
#include "gioco/prospetto.h"
#include "gioco/systemfile.h"
#include "gioco/verifica.h"
#include "winnings/archivio.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>
#include <cstdio>
#include <optional>

namespace corpo {

namespace {

const QString OpzioneVerifica = QStringLiteral("verifica");

// The wheel the typed numbers were drawn on: the system's own, or on "Tutte"
// the one named.
int RuotaDigitata(const QList<int>& ruote, const QString& sistema, const QString& nome) {
    if (nome.isEmpty()) {
        if (ruote.size() > 1)
            throw ErroreRiga{QStringLiteral("Il sistema è giocato su Tutte: indica con --ruota la "
                                            "ruota dei numeri estratti.")};
        return ruote.first();
    }
    const std::optional<int> i = IndiceRuota(nome, NomiRuote().first(NumeroRuote));
    if (!i)
        throw ErroreRiga{QStringLiteral("La ruota \"%1\" non è una ruota del Lotto.").arg(nome)};
    if (!ruote.contains(*i))
        throw ErroreRiga{QStringLiteral("Il sistema è giocato sulla ruota %1, non su %2.")
                             .arg(sistema.trimmed(), NomeRuota(*i))};
    return *i;
}

Estratti LeggiNumeri(const QString& text) {
    const QStringList parts =
        text.split(QRegularExpression(QStringLiteral("[\\s,;]+")), Qt::SkipEmptyParts);
    if (parts.size() != 5)
        throw ErroreRiga{
            QStringLiteral("L'estrazione ha %1 numeri: scrivine cinque, tra virgolette "
                           "(\"7 18 33 3 47\").")
                .arg(parts.size())};
    std::array<QString, 5> campi;
    std::copy(parts.begin(), parts.end(), campi.begin());
    const EstrazioneDigitata typed = LeggiEstrazione(campi);
    if (!typed.numeri)
        throw ErroreRiga{typed.messaggio};
    return *typed.numeri;
}

void Scrivi(const QString& line) { std::fputs(qPrintable(line + QLatin1Char('\n')), stdout); }

QString Intestazione(const SystemRecord& sistema) {
    return QStringLiteral("Sistema: %1   Ruota: %2   Importo: %3")
        .arg(NomeBreve(sistema), sistema.Ruota.trimmed(),
             FormatoVincita(SommaImporti(ImportiDi(sistema))));
}

void StampaEsito(const EsitoVerifica& esito) {
    bool any = false;
    for (const EsitoScommessa& e : esito.scommesse) {
        if (e.vinte.empty())
            continue;
        QStringList numeri, vinte;
        for (size_t i = 0; i < e.numeri.size(); ++i)
            numeri << FormatoNumero(e.numeri[i]) +
                          (e.estratti[i] ? QStringLiteral("*") : QString());
        for (const Combinazioni& c : e.vinte)
            vinte << DescriviCombinazioni(Scommesse[size_t(e.scommessa)], c, esito.divisore);
        Scrivi(QStringLiteral("%1, %2: %3, %4, %5 = %6")
                   .arg(NomeRuota(e.ruota), Scommesse[size_t(e.scommessa)].Nome(),
                        numeri.join(QLatin1Char(' ')), Punti(e.punti),
                        vinte.join(QStringLiteral(" + ")), FormatoVincita(e.lordo)));
    }
    for (int g = 0; g < NumeroGruppi; ++g) {
        const EsitoSchedina& s = esito.schedine[size_t(g)];
        if (s.importi.lordo == 0)
            continue;
        any = true;
        Scrivi(QStringLiteral("Schedina %1: %2")
                   .arg(Scommesse[size_t(g)].Nome(), DescriviSchedina(s)));
    }
    if (!any)
        Scrivi(QStringLiteral("Nessuna vincita."));
}

int Esegui(const QStringList& arguments) {
    QCommandLineParser parser;
    const auto option = [&parser](const char* name) {
        parser.addOption(QCommandLineOption(QString::fromLatin1(name), {}, QStringLiteral("x")));
    };
    for (const char* name : {"verifica", "estrazione", "ruota", "archivio", "dal", "colpi"})
        option(name);
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        throw ErroreRiga{
            unknown.isEmpty()
                ? QStringLiteral("Riga di comando non valida: ogni opzione vuole il suo "
                                 "valore.")
                : QStringLiteral("Opzione sconosciuta: %1%2.")
                      .arg(unknown[0].size() == 1 ? QStringLiteral("-") : QStringLiteral("--"),
                           unknown[0])};
    }
    if (!parser.positionalArguments().isEmpty())
        throw ErroreRiga{
            QStringLiteral("Argomento di troppo: %1.").arg(parser.positionalArguments().first())};
    const bool typed = parser.isSet(QStringLiteral("estrazione"));
    const bool dal = parser.isSet(QStringLiteral("dal"));
    if (typed == dal)
        throw ErroreRiga{
            QStringLiteral("Indica una sola cosa da verificare: --estrazione \"N N N N "
                           "N\" oppure --dal AAAA/MM/GG.")};
    if (typed &&
        (parser.isSet(QStringLiteral("archivio")) || parser.isSet(QStringLiteral("colpi"))))
        throw ErroreRiga{QStringLiteral("--archivio e --colpi valgono solo con --dal.")};
    if (dal && parser.isSet(QStringLiteral("ruota")))
        throw ErroreRiga{QStringLiteral("--ruota vale solo con --estrazione.")};

    const SystemRecord sistema = SistemaDaRiga(parser.value(OpzioneVerifica));
    const QList<int> ruote = RuoteDaVerificare(sistema.Ruota);
    if (ruote.isEmpty())
        throw ErroreRiga{QStringLiteral("La ruota \"%1\" del sistema non è una ruota del Lotto.")
                             .arg(sistema.Ruota.trimmed())};
    const int divisore = DivisoreVincite(sistema.Ruota);

    if (typed) {
        const Estratti numeri = LeggiNumeri(parser.value(QStringLiteral("estrazione")));
        const int ruota =
            RuotaDigitata(ruote, sistema.Ruota, parser.value(QStringLiteral("ruota")).trimmed());
        const std::optional<EsitoVerifica> esito =
            VerificaEstrazione(sistema, {{ruota, numeri}}, divisore);
        if (!esito)
            throw ErroreRiga{
                QStringLiteral("Le vincite del sistema superano i limiti del calcolo.")};
        QStringList shown;
        for (uint8_t n : numeri)
            shown << QString::number(n);
        Scrivi(Intestazione(sistema));
        Scrivi(QStringLiteral("Numeri estratti su %1: %2%3")
                   .arg(NomeRuota(ruota), shown.join(QLatin1Char(' ')), VinciteDivise(divisore)));
        StampaEsito(*esito);
        Scrivi(DescriviTotali(esito->totali));
        return 0;
    }

    const QString dalText = parser.value(QStringLiteral("dal")).trimmed();
    const QDate from = QDate::fromString(dalText, QStringLiteral("yyyy/MM/dd"));
    if (!from.isValid())
        throw ErroreRiga{
            QStringLiteral("La data \"%1\" non è valida: scrivila come AAAA/MM/GG.").arg(dalText)};
    int colpi = 0; // every draw up to the last
    if (parser.isSet(QStringLiteral("colpi"))) {
        bool ok; // set by the conversion
        colpi = parser.value(QStringLiteral("colpi")).trimmed().toInt(&ok);
        if (!ok || colpi < 1)
            throw ErroreRiga{
                QStringLiteral("Il numero di estrazioni \"%1\" non è valido: scrivi un "
                               "numero intero da 1 in su.")
                    .arg(parser.value(QStringLiteral("colpi")))};
    }
    const Archivio archivio = ArchivioDaRiga(parser.value(QStringLiteral("archivio")));
    const std::optional<EsitoColpi> esito = SeguiSistema(sistema, archivio, from, colpi);
    if (!esito)
        throw ErroreRiga{QStringLiteral("Le vincite del sistema superano i limiti del calcolo.")};
    if (esito->colpi.empty())
        throw ErroreRiga{
            QStringLiteral("L'archivio non ha estrazioni sulla ruota %1 dal %2 in poi.")
                .arg(sistema.Ruota.trimmed(), FormatoData(from))};
    const QDate first = esito->colpi.front().data, last = esito->colpi.back().data;
    Scrivi(Intestazione(sistema));
    if (first != from)
        Scrivi(QStringLiteral("L'archivio non ha estrazioni del %1: si parte dal %2.")
                   .arg(FormatoData(from), FormatoData(first)));
    Scrivi((esito->colpi.size() == 1
                ? QStringLiteral("1 estrazione, del %1").arg(FormatoData(first))
                : QStringLiteral("%1 estrazioni, dal %2 al %3")
                      .arg(esito->colpi.size())
                      .arg(FormatoData(first), FormatoData(last))) +
           VinciteDivise(divisore));
    for (const Colpo& c : esito->colpi)
        Scrivi(QStringLiteral("%1: %2; netto %3; saldo %4")
                   .arg(FormatoData(c.data), DescriviColpo(c), FormatoCentesimi(c.importi.netto),
                        FormatoCentesimi(c.saldo)));
    Scrivi(QStringLiteral("Saldo: ") + FormatoCentesimi(esito->totali.Saldo()));
    Scrivi(DescriviTotali(esito->totali));
    return 0;
}

} // namespace

bool ChiedeVerifica(const QStringList& arguments) {
    for (const QString& a : arguments) {
        if (a == QLatin1String("--"))
            return false;
        if (a == QLatin1String("--verifica") || a.startsWith(QLatin1String("--verifica=")))
            return true;
    }
    return false;
}

QString AiutoVerifica() {
    return QStringLiteral(
        "\nVerifica senza finestre:\n"
        "  --verifica SISTEMA.vrl --estrazione \"N N N N N\" [--ruota NOME]\n"
        "                 Verifica il sistema sui cinque numeri estratti (sulla ruota NOME,\n"
        "                 se il sistema è giocato su Tutte), senza aprire finestre.\n"
        "  --verifica SISTEMA.vrl [--archivio FILE] --dal AAAA/MM/GG [--colpi N]\n"
        "                 Segue il sistema su N estrazioni dell'archivio (o fino all'ultima)\n"
        "                 dalla data indicata; senza --archivio, l'archivio importato.\n"
        "                 L'ultima riga dà spesa, lordo, ritenuta e netto.\n");
}

int VerificaDaRigaDiComando(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(TitoloProgramma); // the stored archive's folder
    try {
        return Esegui(QCoreApplication::arguments());
    } catch (const ErroreRiga& e) {
        std::fputs(qPrintable(e.messaggio + QLatin1Char('\n')), stderr);
        return 2;
    }
}

} // namespace corpo
