#include "outputs/taratura.h"

#include "app/convert.h"
#include "app/corpo.h"
#include "app/fileio.h"
#include "app/messages.h"
#include "app/places.h"

#include <QLocale>
#include <QtEndian>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>

namespace corpo {

namespace {
constexpr int16_t TipoIntero = 2; // tag of a 16-bit integer value
constexpr int RecordQualita = 9;
constexpr int RecordStampante = 10;
// Where the amounts grid lies from number cell 1.
constexpr double ImportiDaX = 14.5;
constexpr double ImportiDaY = 74.0;
// The eleven records and some room for what another writer may leave after them.
constexpr qint64 DimensioneMassimaTaratura = 4096;
} // namespace

TaraturaAmbetto TaraturaPredefinita() {
    return {5, 4.5f, 30, 20, 12.5f, 34.5f, 104, 5, 4, QualitaNormale, QString()};
}

int MinimoBarra(int index) {
    const bool traCaselle = index == 0 || index == 1 || index == 7 || index == 8;
    return traCaselle ? 200 : BarraMinima;
}

float& Distanza(TaraturaAmbetto& t, int index) {
    switch (index) {
    case 0: return t.DistanzaX;
    case 1: return t.DistanzaY;
    case 2: return t.Top;
    case 3: return t.Left;
    case 4: return t.Intestazione;
    case 5: return t.Ximporti;
    case 6: return t.Yimporti;
    case 7: return t.DXimporti;
    default: return t.DYimporti;
    }
}

float Distanza(const TaraturaAmbetto& t, int index) {
    return Distanza(const_cast<TaraturaAmbetto&>(t), index);
}

QByteArray CodificaTaratura(const TaraturaAmbetto& t) {
    QByteArray out(DimensioneFileTaratura, '\0');
    char* p = out.data();
    for (int i = 0; i < TaraturaDistanze; ++i)
        qToLittleEndian<float>(Distanza(t, i), p + i * DimensioneRecordTaratura);
    char* q = p + RecordQualita * DimensioneRecordTaratura;
    qToLittleEndian<int16_t>(TipoIntero, q);
    qToLittleEndian<int16_t>(t.Qualita, q + 2);
    QByteArray name = ToCodePage(t.Stampante);
    // A longer name would spill into nothing: it is cut to fit its record.
    name.truncate(LunghezzaMassimaStampante);
    char* s = p + RecordStampante * DimensioneRecordTaratura;
    qToLittleEndian<uint16_t>(uint16_t(name.size()), s);
    std::memcpy(s + 2, name.constData(), size_t(name.size()));
    return out;
}

TaraturaAmbetto DecodificaTaratura(const QByteArray& bytes) {
    // Whatever lies past the end of a short file reads as zero.
    QByteArray full = bytes.left(DimensioneFileTaratura);
    const qsizetype real = full.size();
    full.append(QByteArray(DimensioneFileTaratura - real, '\0'));
    const char* p = full.constData();

    TaraturaAmbetto t;
    for (int i = 0; i < TaraturaDistanze; ++i) {
        Distanza(t, i) = qFromLittleEndian<float>(p + i * DimensioneRecordTaratura);
    }
    const char* q = p + RecordQualita * DimensioneRecordTaratura;
    if (qFromLittleEndian<int16_t>(q) == TipoIntero)
        t.Qualita = qFromLittleEndian<int16_t>(q + 2);
    const qsizetype s = RecordStampante * DimensioneRecordTaratura;
    const int n = qFromLittleEndian<uint16_t>(p + s);
    if (n <= LunghezzaMassimaStampante && s + 2 + n <= real)
        t.Stampante = FromCodePage(full.mid(s + 2, n));
    return t;
}

QString PercorsoTaratura() { return ConfigPath(NomeFileTaratura); }

bool TaraturaValida(const TaraturaAmbetto& t) {
    for (int i = 0; i < TaraturaDistanze; ++i) {
        // The stored amounts grid may be the one derived from a cell 1 at 300 mm.
        const double extra = i == 5 ? ImportiDaX : i == 6 ? ImportiDaY : 0.0;
        const double v = double(Distanza(t, i));
        if (!(v >= MinimoBarra(i) / 100.0 && v <= BarraMassima / 100.0 + extra))
            return false;
    }
    return true;
}

bool LeggiFileTaratura(TaraturaAmbetto& t) {
    RunError error;
    const std::optional<QByteArray> data =
        ReadSmallFile(PercorsoTaratura(), DimensioneMassimaTaratura, &error);
    if (!data) {
        // Both windows report under the slip window's name.
        ReportError(error, QStringLiteral("LeggiTaraturaAmbetto"),
                    QStringLiteral("Form frmStampaSchedine"));
        return false;
    }
    if (data->isEmpty()) {
        MsgBox(QStringLiteral("Il file \"%1\" è vuoto: si usa la taratura predefinita. "
                              "Salva la taratura per scriverlo di nuovo.")
                   .arg(NomeFileTaratura),
               MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("Attenzione"));
        t = TaraturaPredefinita();
        return true;
    }
    const TaraturaAmbetto read = DecodificaTaratura(*data);
    if (!TaraturaValida(read)) {
        MsgBox(QStringLiteral("Il file \"%1\" contiene distanze non valide (da 0 a 300 mm, "
                              "almeno 2 mm tra due caselle): la taratura non è stata letta.")
                   .arg(NomeFileTaratura),
               MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("Attenzione"));
        return false;
    }
    t = read;
    return true;
}

bool ScriviFileTaratura(const TaraturaAmbetto& t, RunError* error) {
    return WriteFileAtomically(PercorsoTaratura(), CodificaTaratura(t), error);
}

LayoutSchedina CalcolaLayout(TaraturaAmbetto& t) {
    t.Ximporti = float(double(t.Left) + ImportiDaX);
    t.Yimporti = float(double(t.Top) + ImportiDaY);
    LayoutSchedina l;
    l.PassoRuote = 5.2f;
    l.XRuote = float(double(t.Left) + 83.3);
    l.YRuote = float(double(t.Top) - 0.9);
    return l;
}

int BarraDaCampo(float field) {
    // In double: 12.345f is a little above 12.345 and must give 1235.
    const double v = double(field) * 100.0;
    if (!(v > BarraMinima))
        return BarraMinima;
    if (v >= BarraMassima)
        return BarraMassima;
    return ArrotondaPari(v);
}

QString TestoCampo(float field, const QLocale& locale) {
    // The shortest decimal that reads back as this float, not as a double.
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, field, std::chars_format::fixed);
    double shortest = 0;
    std::from_chars(buf, r.ptr, shortest);
    QLocale l = locale;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    return l.toString(shortest, 'f', QLocale::FloatingPointShortest);
}

std::optional<int> BarraDaTesto(const QString& text, const QLocale& locale, int minimum) {
    bool ok; // set by the conversion
    const double v = locale.toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    const int hundredths = ArrotondaPari(v * 100.0);
    if (hundredths < minimum || hundredths > BarraMassima)
        return std::nullopt;
    return hundredths;
}

} // namespace corpo
