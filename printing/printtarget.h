// Where the printer page's jobs go, kept for the length of a scope.
#pragma once

#include "printing/printerpage.h"

namespace corpo {

// Notes the printer page's target (printer, PDF file and its path, or
// recorder) and points the page back there on exit, whatever ran between.
class PrintTargetScope {
public:
    explicit PrintTargetScope(PrinterPage& page)
        : page_(page), previous_(page.target()), previousPdf_(page.pdfPath()) {}
    ~PrintTargetScope() {
        switch (previous_) {
        case PrinterPage::Target::Printer: page_.UsePrinter(); break;
        case PrinterPage::Target::PdfFile: page_.UsePdfFile(previousPdf_); break;
        case PrinterPage::Target::Recorder: page_.UseRecorder(); break;
        }
    }
    PrintTargetScope(const PrintTargetScope&) = delete;
    PrintTargetScope& operator=(const PrintTargetScope&) = delete;

private:
    PrinterPage& page_;
    PrinterPage::Target previous_;
    QString previousPdf_;
};

} // namespace corpo
