#include "gioco/sistema.h"

namespace corpo {

int32_t ColoreCifra(int32_t fondo) {
    const uint32_t c = uint32_t(fondo);
    const uint32_t r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
    // Perceived brightness, weighted as the eye weights the three primaries.
    return r * 299 + g * 587 + b * 114 < 110000 ? 0xFFFFFF : 0;
}

QString NomeBreve(const SystemRecord& record) {
    QString nome = record.NomeSistema.trimmed();
    if (nome.endsWith(QStringLiteral(".vrl"), Qt::CaseInsensitive))
        nome.chop(4);
    return nome;
}

} // namespace corpo
