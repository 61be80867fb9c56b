// The settings file "impostazioni.cfg" and the wheel list "ruote.vrc".
#pragma once

#include "app/messages.h"
#include "gioco/ruote.h"

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

// The settings: the print header and the listing's printer.
struct Settings {
    QString intestazione;
    QString stampante;
};

// Reads "impostazioni.cfg"; reports its own failures. What was read before a
// failure replaces what `prima` holds, and the rest stays.
Settings ReadConfiguration(Settings prima = {});

// Writes both settings; false (error filled) when the file could not be written.
bool WriteConfiguration(const QString& header, const QString& printer, RunError* error);

// Fills the wheel box from "ruote.vrc" and selects the first
// wheel. A missing, unreadable or empty file, or more than 12 names, is reported.
void LoadWheels(QComboBox* cmbRuote);

} // namespace corpo
