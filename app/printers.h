// The printers installed on the system, in the system's order.
#pragma once

#include <QStringList>
#include <functional>
#include <optional>

namespace corpo {

QStringList InstalledPrinters();

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
