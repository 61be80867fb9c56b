#include "app/corpo.h"

#include "buildconfig.h"

namespace corpo {

SystemRecord Sistema;
int32_t ColoreVorlacco = ColoreVorlaccoPredefinito;
int32_t ColoreCapogioco = ColoreCapogiocoPredefinito;
QString SceltaColore;

QString Edizione;
QString PercorsoApp;

QString IntestazioneStampa;
QString StampanteTabulato;
std::array<QString, 12> NomiRuote;

bool StopStampa = false;

int32_t ColoreCifra(int32_t fondo) {
    const uint32_t c = uint32_t(fondo);
    const uint32_t r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
    // Perceived brightness, weighted as the eye weights the three primaries.
    return r * 299 + g * 587 + b * 114 < 110000 ? 0xFFFFFF : 0;
}

QString NomeBreve() {
    QString nome = Sistema.NomeSistema.trimmed();
    if (nome.endsWith(QStringLiteral(".vrl"), Qt::CaseInsensitive))
        nome.chop(4);
    return nome;
}

QString TitoloLavoro(const QString& carta) {
    const QString nome = NomeBreve();
    const QString t = AppTitle + QStringLiteral(" - ") + carta;
    return nome.isEmpty() ? t : t + QStringLiteral(" - ") + nome;
}

QString VersionString() { return QStringLiteral(BRAMA_VERSION); }

} // namespace corpo
