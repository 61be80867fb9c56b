#include "app/corpo.h"

#include "buildconfig.h"

namespace corpo {

SystemRecord Sistema;
int32_t ColoreVorlacco = ColoreVorlaccoPredefinito;
int32_t ColoreCapogioco = ColoreCapogiocoPredefinito;
QString SceltaColore;

QString TitoloLavoro(const QString& carta, const SystemRecord& sistema) {
    const QString nome = NomeBreve(sistema);
    const QString t = AppTitle + QStringLiteral(" - ") + carta;
    return nome.isEmpty() ? t : t + QStringLiteral(" - ") + nome;
}

QString VersionString() { return QStringLiteral(BRAMA_VERSION); }

} // namespace corpo
