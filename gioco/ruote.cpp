#include "gioco/ruote.h"

#include <string_view>

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
    // Read through a checked view: a step past the end stops the program, not reads a 0.
    const std::u16string_view t(reinterpret_cast<const char16_t*>(text.utf16()),
                                size_t(text.size()));
    const size_t n = t.size();
    size_t i = 0;
    auto isBlank = [](char16_t c) { return c == u' ' || c == u'\t'; };
    auto isEnd = [](char16_t c) { return c == u'\r' || c == u'\n'; };
    while (i < n) {
        while (i < n && (isBlank(t[i]) || isEnd(t[i])))
            ++i;
        if (i >= n)
            break;
        QString field;
        if (t[i] == u'"') {
            ++i;
            while (i < n && t[i] != u'"')
                field += QChar(t[i++]);
            if (i < n)
                ++i; // closing quote
            while (i < n && t[i] != u',' && !isEnd(t[i]))
                ++i; // anything after the closing quote belongs to no field
        } else {
            while (i < n && t[i] != u',' && !isEnd(t[i]))
                field += QChar(t[i++]);
            field = field.trimmed();
        }
        names.append(field);
        ++i; // past the comma or line end that ended it (past the end does no harm)
    }
    return names;
}

} // namespace corpo
