// What the tests of the papers share: the sample systems, the calibration T
// and its file, and small helpers over recorded jobs, PDF files and windows.
#pragma once

#include "app/corpo.h"
#include "outputs/taratura.h"
#include "printing/printerpage.h"

#include <QApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>
#include <array>
#include <functional>

namespace papers {

// 29 numbers, the "10 €uro" stakes, the wheel NAPOLI.
inline corpo::SystemRecord TenEuroSystem() {
    corpo::SystemRecord s;
    s.Ruota = QStringLiteral("NAPOLI    ");
    s.NomeSistema = QStringLiteral("Prova 1             ");
    s.Cinq1 = {7, 12, 23, 34, 45};
    s.Cinq2 = {1, 2, 3, 4, 5};
    s.Quad1 = {11, 22, 33, 44};
    s.Quad2 = {55, 66, 77, 88};
    s.Terz1 = {9, 19, 29};
    s.Terz2 = {39, 49, 59};
    s.Ambo1 = {69, 79};
    s.Ambo2 = {89, 90};
    s.Estratto = 50;
    s.ImpCinq1 = s.ImpCinq2 = {1.00f, 0.30f, 0.15f, 0.05f};
    s.ImpQuad1 = s.ImpQuad2 = {0.60f, 0.30f, 0.10f};
    s.ImpTerz1 = s.ImpTerz2 = {0.75f, 0.25f};
    s.ImpAmbo1 = s.ImpAmbo2 = s.ImpEstratto = 1.00f;
    s.ImportoSistema = 10.0f;
    return s;
}

// Slip 1: 1 10 45 81 90 with Ambo 1, Terno 0.50, Cinquina 0.05; slip 9: 77
// with 7.50; every other bet filled too; played on Napoli.
inline corpo::SystemRecord SistemaCompleto() {
    corpo::SystemRecord s;
    s.Ruota = QStringLiteral("Napoli    ");
    s.NomeSistema = QStringLiteral("Prova di stampa     ");
    s.Cinq1 = {1, 10, 45, 81, 90};
    s.ImpCinq1 = {1, 0.5f, 0, 0.05f};
    s.Cinq2 = {2, 13, 24, 35, 46};
    s.ImpCinq2 = {2, 1, 0.5f, 0.1f};
    s.Quad1 = {3, 14, 25, 36};
    s.ImpQuad1 = {1, 1, 0.2f};
    s.Quad2 = {4, 15, 26, 37};
    s.ImpQuad2 = {0.5f, 0.5f, 0.5f};
    s.Terz1 = {5, 16, 27};
    s.ImpTerz1 = {3, 2};
    s.Terz2 = {6, 17, 28};
    s.ImpTerz2 = {1, 1};
    s.Ambo1 = {7, 18};
    s.ImpAmbo1 = 4.9f;
    s.Ambo2 = {8, 19};
    s.ImpAmbo2 = 250;
    s.Estratto = 77;
    s.ImpEstratto = 7.5f;
    s.Capogioco = 7;
    s.ImportoSistema = 30;
    return s;
}

inline const std::array<QString, 12> Ruote{"Bari",   "Cagliari", "Firenze",   "Genova",
                                           "Milano", "Napoli",   "Palermo",   "Roma",
                                           "Torino", "Venezia",  "Nazionale", "Tutte"};

// Number cell 1 at (20, 30), the amounts grid and the wheels derived from it.
inline corpo::TaraturaAmbetto CalibrazioneT() {
    corpo::TaraturaAmbetto t;
    t.DistanzaX = 5;
    t.DistanzaY = 4.5f;
    t.Top = 30;
    t.Left = 20;
    t.Intestazione = 12.5f;
    t.DXimporti = 5;
    t.DYimporti = 4;
    t.Qualita = corpo::QualitaNormale;
    t.Stampante = QStringLiteral("PDF");
    return t;
}

// "printA.cfg" of T once the test print has derived Ximporti and Yimporti.
inline QByteArray GoldenT() {
    QByteArray out(corpo::TaraturaFileBytes, '\0');
    const char* parts[] = {"0000A040", "00009040", "0000F041", "0000A041", "00004841",  "00000A42",
                           "0000D042", "0000A040", "00008040", "02000F27", "0300504446"};
    for (int i = 0; i < 11; ++i) {
        const QByteArray b = QByteArray::fromHex(parts[i]);
        out.replace(128 * i, b.size(), b);
    }
    return out;
}

// The first text operation (upright or turned) showing `text`; a default one when none.
inline corpo::PageOp Find(const corpo::RecordedJob& job, const QString& text) {
    for (const corpo::PageOp& op : job.ops)
        if ((op.kind == corpo::PageOp::Text || op.kind == corpo::PageOp::RotatedText) &&
            op.text == text)
            return op;
    return corpo::PageOp{};
}

inline bool Near(double a, double b, double tolerance) {
    return qAbs(a - b) <= tolerance;
}

// The standard output of a tool ("" when it does not finish in a minute).
inline QString Run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(60000) ? QString::fromUtf8(p.readAllStandardOutput()) : QString();
}

// Pages of a PDF file as pdfinfo counts them; -1 when it cannot read it.
inline int PdfPages(const QString& pdf) {
    const auto m = QRegularExpression("Pages:\\s+(\\d+)").match(Run("pdfinfo", {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// Calls `act` on the modal window of class T once it shows (looking for five seconds).
template <class T> void WhenModal(std::function<void(T*)> act, bool* seen, int tries = 250) {
    *seen = false;
    QTimer::singleShot(20, [=] {
        if (auto* w = qobject_cast<T*>(QApplication::activeModalWidget())) {
            *seen = true;
            act(w);
        } else if (tries > 0) {
            WhenModal<T>(act, seen, tries - 1);
        }
    });
}

// What a print run said, without the stake-rules question (which a script
// answers "Stampa comunque" for the sample systems that break the rules).
inline QList<corpo::Shown> Avvisi(const corpo::testing::Script& script) {
    QList<corpo::Shown> out;
    for (const corpo::Shown& m : script.messages())
        if (m.buttons != corpo::MsgButtons::PrintAnywayCancel) out << m;
    return out;
}

} // namespace papers
