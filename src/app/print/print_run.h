#pragma once

#include <string>

#include "reports/print_job.h"
#include "store/file_io.h"

class QPrinter;
class QPrintPreviewDialog;
class QWidget;

namespace dorvel::print {

class CMyPrintDialog;

// Prints the job on a printer whose settings are made (a preview's printer
// too). Returns the number of pages, -1 when the printer cannot start.
int PrintOnPrinter(QPrinter& printer, const reports::PrintJob& job);

// Puts the job's page layout and then the dialog's printer, copies and
// properties on a printer about to print or preview.
void PreparePrinter(QPrinter& printer, const CMyPrintDialog& dialog, const reports::PrintJob& job);

struct PrintOutcome {
    WriteResult write;
    int pages = 0;
    std::string message;  // for the user when nothing was printed; UTF-8, empty otherwise
};

// Prints the job as the accepted dialog chose: into its PDF file, replaced
// whole, or on its printer with its copies. The job's choices are the
// dialog's.
PrintOutcome PrintChosen(const CMyPrintDialog& dialog, const reports::PrintJob& job);

// A print preview of the job on `printer`; the caller shows it and keeps
// the printer alive while it is open.
QPrintPreviewDialog* MakePrintPreview(QPrinter& printer, reports::PrintJob job,
                                      QWidget* parent = nullptr);

}  // namespace dorvel::print
