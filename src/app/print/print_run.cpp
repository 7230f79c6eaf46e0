#include "print_run.h"

#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "print_dialog.h"

namespace dorvel::print {

int PrintOnPrinter(QPrinter& printer, const reports::PrintJob& job) {
    QPainter painter;
    if (!painter.begin(&printer))
        return -1;
    const int pages = reports::PrintPages(printer, painter, job);
    painter.end();
    return pages;
}

void PreparePrinter(QPrinter& printer, const CMyPrintDialog& dialog, const reports::PrintJob& job) {
    if (job.pageLayout)
        printer.setPageLayout(*job.pageLayout);
    // "Eigenschaften" in the dialog was the later choice and wins.
    dialog.ConfigurePrinter(printer);
}

PrintOutcome PrintChosen(const CMyPrintDialog& dialog, const reports::PrintJob& job) {
    PrintOutcome outcome;
    if (dialog.printToFile()) {
        const std::string path = dialog.outputFile().toStdString();
        outcome.write = reports::PrintToPdf(path, job, &outcome.pages);
        if (!outcome.write.ok())
            outcome.message = "Die Datei " + path + " konnte nicht geschrieben werden. (" +
                              outcome.write.detail + ")";
        return outcome;
    }
    QPrinter printer(QPrinter::HighResolution);
    PreparePrinter(printer, dialog, job);
    outcome.pages = PrintOnPrinter(printer, job);
    if (outcome.pages < 0) {
        outcome.pages = 0;
        outcome.write = WriteResult{WriteStatus::Failed, "printer not ready"};
        outcome.message = "Der Drucker " + dialog.printerName().toStdString() +
                          " ist nicht bereit; es wurde nichts gedruckt.";
    }
    return outcome;
}

QPrintPreviewDialog* MakePrintPreview(QPrinter& printer, reports::PrintJob job, QWidget* parent) {
    auto* preview = new QPrintPreviewDialog(&printer, parent);
    preview->setWindowTitle(QStringLiteral("Druckvorschau"));
    QObject::connect(preview, &QPrintPreviewDialog::paintRequested, preview,
                     [job = std::move(job)](QPrinter* target) { PrintOnPrinter(*target, job); });
    return preview;
}

}  // namespace dorvel::print
