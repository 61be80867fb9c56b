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

namespace testing {
PrinterListScope::PrinterListScope(QStringList printers) : previous_(fakePrinters) {
    fakePrinters = std::move(printers);
}
PrinterListScope::~PrinterListScope() { fakePrinters = previous_; }
} // namespace testing

} // namespace corpo
