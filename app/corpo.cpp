#include "app/corpo.h"

namespace corpo {

SystemRecord Sistema;
int32_t ColoreVorlacco = ColoreVorlaccoDefault;
int32_t ColoreCapogioco = ColoreCapogiocoDefault;
QString SceltaColore;

QString Edizione;
QString PercorsoApp;

QString IntestazioneStampa;
QString StampanteTabulato;
std::array<QString, 12> NomiRuote;

bool StopStampa = false;

QString VersionString() {
    return QStringLiteral("%1.%2.%3").arg(VersionMajor).arg(VersionMinor).arg(VersionRevision);
}

} // namespace corpo
