#include "app/settings.h"

#include "app/corpo.h"
#include "app/fileio.h"
#include "app/places.h"

#include <QComboBox>
#include <algorithm>

namespace corpo {

namespace {
QString settingsPath() { return ConfigPath(QStringLiteral("impostazioni.cfg")); }
// Two short lines, and a dozen short names: anything bigger is no such file.
constexpr qint64 SettingsMaxBytes = 4096;
constexpr qint64 WheelListMaxBytes = 4096;
} // namespace

QByteArray SettingsBytes(const QString& header, const QString& printer) {
    return ToCodePage(header) + "\r\n" + ToCodePage(printer) + "\r\n";
}

QList<QByteArray> SettingsLines(const QByteArray& data) {
    // Lines end at CR LF (a bare LF is taken too); each line is taken whole.
    QList<QByteArray> lines;
    qsizetype pos = 0;
    while (pos < data.size() && lines.size() < 2) {
        qsizetype nl = data.indexOf('\n', pos);
        if (nl < 0)
            nl = data.size();
        QByteArray line = data.mid(pos, nl - pos);
        if (line.endsWith('\r'))
            line.chop(1);
        lines.append(line);
        pos = nl + 1;
    }
    return lines;
}

Settings ReadConfiguration(Settings out) {
    RunError error;
    const std::optional<QByteArray> data = ReadSmallFile(settingsPath(), SettingsMaxBytes, &error);
    if (!data) {
        ReportError(error, QStringLiteral("ReadConfiguration"), QStringLiteral("Modulo corpo"));
        return out;
    }
    const QList<QByteArray> lines = SettingsLines(*data);
    if (!lines.isEmpty())
        out.intestazione = FromCodePage(lines[0]);
    if (lines.size() < 2) {
        ReportError(MakeError(err::InputPastEnd), QStringLiteral("ReadConfiguration"),
                    QStringLiteral("Modulo corpo"));
        return out;
    }
    out.stampante = FromCodePage(lines[1]);
    return out;
}

bool WriteConfiguration(const QString& header, const QString& printer, RunError* error) {
    return WriteFileAtomically(settingsPath(), SettingsBytes(header, printer), error);
}

void LoadWheels(QComboBox* cmbRuote) {
    RunError error;
    const std::optional<QByteArray> data =
        ReadSmallFile(DataPath(QStringLiteral("ruote.vrc")), WheelListMaxBytes, &error);
    const QStringList names = data ? LeggiRuote(FromCodePage(*data)) : QStringList();
    // A list without a single name is as useless as a missing one.
    const auto blank = [](const QString& n) { return n.isEmpty(); };
    if (data && std::all_of(names.begin(), names.end(), blank))
        error = MakeError(err::InputPastEnd);
    if (error.number != 0) {
        MsgBox(QStringLiteral("Impossibile leggere l'elenco delle ruote \"ruote.vrc\" (%1).\r\n"
                              "L'elenco delle ruote resta vuoto.")
                   .arg(error.description),
               MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Errore"));
        return;
    }
    for (int i = 0; i < names.size() && i < PostiRuote; ++i) {
        cmbRuote->addItem(names[i]);
    }
    if (names.size() > PostiRuote)
        MsgBox(QStringLiteral("Il file \"ruote.vrc\" contiene %1 ruote: sono state caricate "
                              "solo le prime %2.")
                   .arg(names.size())
                   .arg(PostiRuote),
               MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("Attenzione"));
}

} // namespace corpo
