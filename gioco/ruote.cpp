#include "gioco/ruote.h"

namespace corpo {

bool Tutte(const QString& ruota) {
    return ruota.trimmed().compare(QLatin1String(NomeTutte), Qt::CaseInsensitive) == 0;
}

QString CodiceRuota(int ruota) { return QString::fromLatin1(Ruote.at(size_t(ruota)).codice); }
QString NomeRuota(int ruota) { return QString::fromLatin1(Ruote.at(size_t(ruota)).nome); }

std::span<const QString> NomiRuote() {
    static const std::array<QString, PostiRuote> nomi = [] {
        std::array<QString, PostiRuote> n;
        for (int i = 0; i < NumeroRuote; ++i)
            n[size_t(i)] = NomeRuota(i);
        n[NumeroRuote] = QLatin1String(NomeTutte);
        return n;
    }();
    return nomi;
}

std::optional<int> IndiceRuota(const QString& ruota, std::span<const QString> nomi) {
    const QString wanted = ruota.trimmed();
    if (wanted.isEmpty())
        return std::nullopt;
    for (size_t i = 0; i < nomi.size(); ++i)
        if (nomi[i].trimmed().compare(wanted, Qt::CaseInsensitive) == 0)
            return int(i);
    return std::nullopt;
}

QList<int> RuoteDaVerificare(const QString& ruota) {
    if (Tutte(ruota)) {
        QList<int> all;
        for (int i = 0; i < RuoteCitta; ++i)
            all << i;
        return all;
    }
    if (const std::optional<int> i = IndiceRuota(ruota, NomiRuote().first(NumeroRuote)))
        return {*i};
    return {};
}

int DivisoreVincite(const QString& ruota) { return Tutte(ruota) ? RuoteCitta : 1; }

QStringList LeggiRuote(const QString& text) {
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
        ++i; // past the comma or line end that ended it (past the end does no harm)
    }
    return names;
}

} // namespace corpo
