// The settings file "impostazioni.cfg" and the wheel list "ruote.vrc".
#pragma once

#include "app/messages.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <span>

class QComboBox;

namespace corpo {

// Two CR LF lines in the 8-bit code page: header, then printer.
QByteArray SettingsBytes(const QString& header, const QString& printer);

// The first two lines of a settings file, without their line ends; fewer when
// the file ends early.
QList<QByteArray> SettingsLines(const QByteArray& data);

// Reads "impostazioni.cfg" into IntestazioneStampa and StampanteTabulato;
// reports its own failures. What was read before a failure stays.
void ReadConfiguration();

// Writes both settings; false (error filled) when the file could not be written.
bool WriteConfiguration(const QString& header, const QString& printer, RunError* error);

// Wheel names of a "ruote.vrc" text: fields split at commas and line ends,
// blanks around a field dropped, double-quoted fields may hold commas.
QStringList LeggiRuote(const QString& text);

inline constexpr int MaxRuote = 12;

// The place in nomi of the first wheel whose name, trimmed, is ruota trimmed,
// whatever the case; none for a blank ruota, even where nomi has a blank place.
std::optional<int> IndiceRuota(const QString& ruota, std::span<const QString> nomi);

// Fills the wheel box and NomiRuote from "ruote.vrc" and selects the first
// wheel. A missing, unreadable or empty file, or more than 12 names, is reported.
void CaricaRuote(QComboBox* cmbRuote);

} // namespace corpo
