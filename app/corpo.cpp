#include "app/corpo.h"

#include "buildconfig.h"

namespace corpo {

QString TitoloLavoro(const QString& carta, const SystemRecord& sistema) {
    const QString nome = NomeBreve(sistema);
    const QString t = TitoloProgramma + QStringLiteral(" - ") + carta;
    return nome.isEmpty() ? t : t + QStringLiteral(" - ") + nome;
}

QString StringaVersione() { return QStringLiteral(BRAMA_VERSION); }

} // namespace corpo
