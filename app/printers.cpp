#include "app/printers.h"

#include <QPrinterInfo>

namespace corpo {

namespace {
std::optional<QStringList> fakePrinters;
}

QStringList InstalledPrinters() {
    if (fakePrinters)
        return *fakePrinters;
    return QPrinterInfo::availablePrinterNames();
}

QString DefaultPrinter(const QStringList& installed) {
    if (installed.isEmpty())
        return QString();
    const QString system = QPrinterInfo::defaultPrinterName();
    return installed.contains(system) ? system : installed.first();
}

QString InitialPrinter(const QStringList& installed, const QString& stored) {
    if (stored.isEmpty())
        return DefaultPrinter(installed);
    return installed.contains(stored) ? stored : QString();
}

namespace testing {
PrinterListScope::PrinterListScope(QStringList printers) : previous_(fakePrinters) {
    fakePrinters = std::move(printers);
}
PrinterListScope::~PrinterListScope() { fakePrinters = previous_; }
} // namespace testing

} // namespace corpo
