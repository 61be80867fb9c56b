#include "printing/vorlacco.h"

#include "app/corpo.h"
#include "app/messages.h"
#include "app/places.h"
#include "gioco/scommesse.h"
#include "printing/printerpage.h"

#include <array>

namespace corpo {

QString PercorsoFiguraVorlacco() { return DataPath(QStringLiteral("images/raspoprn.wmf")); }

namespace {

QString DueCifre(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

} // namespace

void stampaVorlacco(PrinterPage& page, const DatiCarta& carta, float X, float Y, int32_t Raggio,
                    bool Colore) {
    const SystemRecord& Sistema = carta.sistema;
    const int32_t ColoreVorlacco = carta.colori.vorlacco, ColoreCapogioco = carta.colori.capogioco;
    try {
        // Loaded afresh each time, so a picture replaced meanwhile is the one printed.
        const PagePicture stalk = PagePicture::Load(PercorsoFiguraVorlacco());

        page.ScaleMode = scale::Millimeters;
        page.DrawWidth = 5;
        const double savedX = page.CurrentX;
        const double savedY = page.CurrentY;
        const int savedFill = page.FillStyle;
        const int32_t savedFore = page.ForeColor;
        const bool savedBold = page.FontBold;

        page.CurrentX = X;
        page.CurrentY = Y;
        const float R = float(Raggio);
        // Neighbouring grapes overlap by a fifth of their diameter.
        const float nextCircle = (R - R * 20.0f / 100.0f) * 2.0f;
        const float nextNumber = R / 2.0f;
        page.FontSize = R * 2.5f;
        page.FontBold = true;

        page.FillStyle = 0;
        page.FillColor = Colore ? ColoreVorlacco : 0xFFFFFF;
        page.ForeColor = page.FillColor;

        page.CurrentX = X - R;
        page.PaintPicture(stalk, X - R, Y, 10 * R, 2 * R);

        page.CurrentY = Y + R;
        const float top = Y + 2 * R;

        for (const Scommessa& bet : Scommesse) {
            page.CurrentX = X + bet.rientro * nextNumber;
            page.CurrentY += nextCircle;
            for (int i = 0; i < bet.size; ++i) {
                page.Circle(page.CurrentX, page.CurrentY, R, 0);
                page.CurrentX += nextCircle;
            }
        }

        if (Sistema.Capogioco != 0) {
            // The head number is every bet's first: colour the first grape of each row.
            page.CurrentY = top - R;
            page.FillColor = Colore ? ColoreCapogioco : 0xFFFFFF;
            page.ForeColor = page.FillColor;
            for (const Scommessa& bet : Scommesse) {
                page.CurrentX = X + bet.rientro * nextNumber;
                page.CurrentY += nextCircle;
                page.Circle(page.CurrentX, page.CurrentY, R, 0);
            }
        }

        page.FontName = QStringLiteral("Courier New");
        page.FillColor = 0;
        page.ForeColor = 0;
        page.FillStyle = 1;
        // Digits over the coloured grapes, without a background box.
        page.FontTransparent = true;

        page.CurrentX = X;
        page.CurrentY = top;
        bool first = true;
        for (const Scommessa& bet : Scommesse) {
            if (!first) {
                page.CurrentX = X + (bet.rientro - 1) * nextNumber;
                page.CurrentY += nextCircle;
            }
            first = false;
            int i = 0;
            for (const uint8_t n : bet.Numeri(Sistema)) {
                const bool capo = i++ == 0 && Sistema.Capogioco != 0;
                const int32_t acino = !Colore ? 0xFFFFFF : capo ? ColoreCapogioco : ColoreVorlacco;
                page.ForeColor = ColoreCifra(acino);
                page.Print(DueCifre(n), false);
                page.CurrentX += nextNumber;
            }
        }

        page.FontBold = savedBold;
        page.ForeColor = savedFore;
        page.CurrentX = savedX;
        page.CurrentY = savedY;
        page.FillStyle = savedFill;
    } catch (const RunError& e) {
        ReportError(e, QStringLiteral("stampaVorlacco"), QStringLiteral("Modulo corpo"));
    }
}

} // namespace corpo
