// The 8-bit code page of the program's text and binary files (Windows-1252).
#pragma once

#include <QByteArray>
#include <QString>

namespace corpo {

QByteArray ToCodePage(const QString& text);
QString FromCodePage(const QByteArray& bytes);

} // namespace corpo
