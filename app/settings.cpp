#include "app/settings.h"

#include "app/corpo.h"
#include "app/fileio.h"
#include "app/places.h"

#include <QComboBox>

namespace corpo {

namespace {
QString settingsPath() { return ConfigPath(QStringLiteral("impostazioni.cfg")); }
} // namespace

QByteArray SettingsBytes(const QString& header, const QString& printer) {
    return ToCodePage(header) + "\r\n" + ToCodePage(printer) + "\r\n";
}

void ReadConfiguration() {
    RunError error;
    const std::optional<QByteArray> data = ReadWholeFile(settingsPath(), &error);
    if (!data) {
        ReportError(error, QStringLiteral("ReadConfiguration"), QStringLiteral("Modulo corpo"));
        return;
    }
    // Lines end at CR LF (a bare LF is taken too); each line is taken whole.
    QList<QByteArray> lines;
    qsizetype pos = 0;
    while (pos < data->size() && lines.size() < 2) {
        qsizetype nl = data->indexOf('\n', pos);
        if (nl < 0)
            nl = data->size();
        QByteArray line = data->mid(pos, nl - pos);
        if (line.endsWith('\r'))
            line.chop(1);
        lines.append(line);
        pos = nl + 1;
    }
    if (!lines.isEmpty())
        IntestazioneStampa = FromCodePage(lines[0]);
    if (lines.size() < 2) {
        ReportError(MakeError(err::InputPastEnd), QStringLiteral("ReadConfiguration"),
                    QStringLiteral("Modulo corpo"));
        return;
    }
    StampanteTabulato = FromCodePage(lines[1]);
}

bool WriteConfiguration(const QString& header, const QString& printer, RunError* error) {
    return WriteFileAtomically(settingsPath(), SettingsBytes(header, printer), error);
}

QStringList ParseRuote(const QString& text) {
    QStringList names;
    const qsizetype n = text.size();
    qsizetype i = 0;
    auto isBlank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    auto isEnd = [](QChar c) { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); };
    while (i < n) {
        while (i < n && (isBlank(text[i]) || isEnd(text[i])))
            ++i;
        if (i >= n)
            break;
        QString field;
        if (text[i] == QLatin1Char('"')) {
            ++i;
            while (i < n && text[i] != QLatin1Char('"'))
                field += text[i++];
            if (i < n)
                ++i; // closing quote
            while (i < n && text[i] != QLatin1Char(',') && !isEnd(text[i]))
                ++i; // anything after the closing quote belongs to no field
        } else {
            while (i < n && text[i] != QLatin1Char(',') && !isEnd(text[i]))
                field += text[i++];
            field = field.trimmed();
        }
        names.append(field);
        if (i < n && text[i] == QLatin1Char(','))
            ++i;
    }
    return names;
}

void CaricaRuote(QComboBox* cmbRuote) {
    NomiRuote.fill(QString());
    RunError error;
    const std::optional<QByteArray> data =
        ReadWholeFile(DataPath(QStringLiteral("ruote.vrc")), &error);
    if (!data) {
        MsgBox(QStringLiteral("Impossibile leggere l'elenco delle ruote \"ruote.vrc\" (%1).\r\n"
                              "L'elenco delle ruote resta vuoto.")
                   .arg(error.description),
               MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Errore"));
        return;
    }
    const QStringList names = ParseRuote(FromCodePage(*data));
    for (int i = 0; i < names.size() && i < MaxRuote; ++i) {
        cmbRuote->addItem(names[i]);
        NomiRuote[size_t(i)] = names[i];
    }
    if (names.size() > MaxRuote)
        MsgBox(QStringLiteral("Il file \"ruote.vrc\" contiene %1 ruote: sono state caricate "
                              "solo le prime %2.")
                   .arg(names.size())
                   .arg(MaxRuote),
               MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("Attenzione"));
    if (cmbRuote->count() > 0)
        cmbRuote->setCurrentIndex(0);
}

} // namespace corpo
