// What the listing tests share: a sample system, the listing window opened
// on a private application folder, and the recorded texts.
#pragma once

#include "app/corpo.h"
#include "printing/printerpage.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <memory>
#include <functional>

namespace listing {

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
    s.ImpCinq1 = {1.00f, 0.30f, 0.15f, 0.05f};
    s.ImpCinq2 = s.ImpCinq1;
    s.ImpQuad1 = {0.60f, 0.30f, 0.10f};
    s.ImpQuad2 = s.ImpQuad1;
    s.ImpTerz1 = {0.75f, 0.25f};
    s.ImpTerz2 = s.ImpTerz1;
    s.ImpAmbo1 = s.ImpAmbo2 = 1.00f;
    s.ImpEstratto = 1.00f;
    s.ImportoSistema = 10.0f;
    return s;
}

// The first operation whose text is `text` (a default one when none).
inline corpo::PageOp Find(const corpo::RecordedJob& job, const QString& text) {
    for (const corpo::PageOp& op : job.ops)
        if (op.text == text)
            return op;
    return corpo::PageOp{};
}

inline QStringList Texts(const corpo::RecordedJob& job) {
    QStringList out;
    for (const corpo::PageOp& op : job.ops)
        if (op.kind == corpo::PageOp::Text || op.kind == corpo::PageOp::RotatedText)
            out << op.text;
    return out;
}

// Runs `act` once the modal window of class T appears (polling the event
// loop), then returns whether it was seen.
template <class T>
void WhenModal(std::function<void(T*)> act, bool* seen) {
    *seen = false;
    auto poll = std::make_shared<std::function<void(int)>>();
    *poll = [act, seen, poll](int left) {
        if (auto* w = qobject_cast<T*>(QApplication::activeModalWidget())) {
            *seen = true;
            act(w);
            return;
        }
        if (left > 0)
            QTimer::singleShot(20, [poll, left] { (*poll)(left - 1); });
    };
    QTimer::singleShot(0, [poll] { (*poll)(250); });
}

} // namespace listing
