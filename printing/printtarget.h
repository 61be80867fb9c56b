// Where the printer page's jobs go, kept for the length of a scope.
#pragma once

#include "printing/printerpage.h"

namespace corpo {

// Notes the printer page's target (printer, PDF file and its path, or
// recorder) and points the page back there on exit, whatever ran between.
class PrintTargetScope {
public:
    PrintTargetScope() : previous_(Printer().target()), previousPdf_(Printer().pdfPath()) {}
    ~PrintTargetScope() {
        switch (previous_) {
        case PrinterPage::Target::Printer: Printer().UsePrinter(); break;
        case PrinterPage::Target::PdfFile: Printer().UsePdfFile(previousPdf_); break;
        case PrinterPage::Target::Recorder: Printer().UseRecorder(); break;
        }
    }
    PrintTargetScope(const PrintTargetScope&) = delete;
    PrintTargetScope& operator=(const PrintTargetScope&) = delete;

private:
    PrinterPage::Target previous_;
    QString previousPdf_;
};

} // namespace corpo
