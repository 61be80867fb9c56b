// The printers installed on the system, in the system's order.
#pragma once

#include <QStringList>
#include <functional>
#include <optional>

namespace corpo {

QStringList InstalledPrinters();

// The system's default printer among installed (the first when the system
// names none); "" when none is installed.
QString DefaultPrinter(const QStringList& installed);

// The printer a window's printer box starts on: the stored one when it is
// installed; with none stored (a first start), the system's default; "" when
// the stored one is gone or none is installed, for the window to ask.
QString InitialPrinter(const QStringList& installed, const QString& stored);

namespace testing {
// Replaces the printer list for the scope (tests run without a print server).
class PrinterListScope {
public:
    explicit PrinterListScope(QStringList printers);
    ~PrinterListScope();

private:
    std::optional<QStringList> previous_;
};
} // namespace testing

} // namespace corpo
