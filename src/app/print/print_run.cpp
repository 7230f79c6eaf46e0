#include "print_run.h"

#include <QAction>
#include <QCoreApplication>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>

#include "print_dialog.h"
#include "print_service.h"

namespace dorvel::print {

namespace {

std::string NothingPrinted(const QString& printer, ServiceAnswer answer,
                           const std::string& reason) {
    const std::string name = printer.toStdString();
    std::string text;
    switch (answer) {
        case ServiceAnswer::Stopped:
            text = "Der Drucker " + name +
                   " ist angehalten; der Auftrag wurde zurückgenommen und es wurde nichts "
                   "gedruckt.";
            break;
        case ServiceAnswer::Unreachable:
            text = "Der Druckdienst ist nicht erreichbar; es wurde nichts gedruckt.";
            break;
        default:
            text = "Der Drucker " + name + " hat den Auftrag abgelehnt; es wurde nichts gedruckt.";
            break;
    }
    return reason.empty() ? text : text + "\nGrund: " + reason;
}

// The print button of Qt's preview dialog, found by its own text.
QAction* PreviewPrintAction(QPrintPreviewDialog& preview) {
    const QString text = QCoreApplication::translate("QPrintPreviewDialog", "Print");
    for (QAction* action : preview.findChildren<QAction*>()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

}  // namespace

PrintProgress::PrintProgress(QWidget* parent, std::chrono::milliseconds delay)
    : parent_(parent), delay_(delay) {
    clock_.start();
}

PrintProgress::~PrintProgress() = default;

bool PrintProgress::Page(int page, int pages) {
    if (!dialog_ && clock_.elapsed() >= delay_.count()) {
        dialog_ = std::make_unique<QProgressDialog>(parent_.data());
        dialog_->setWindowTitle(QStringLiteral("Druck"));
        dialog_->setCancelButtonText(QStringLiteral("Abbrechen"));
        // Nothing else may be used while the job draws from the document.
        dialog_->setWindowModality(Qt::ApplicationModal);
        dialog_->setAutoReset(false);
        dialog_->setAutoClose(false);
        dialog_->setMinimumDuration(0);
        dialog_->show();
    }
    if (dialog_) {
        dialog_->setRange(0, pages);
        dialog_->setLabelText(
            QStringLiteral("Seite %1 von %2 wird gedruckt …").arg(page).arg(pages));
        dialog_->setValue(page - 1);
    }
    // Until the dialog is up, the user's clicks and keys wait for the end of
    // the job; paint and timer events go on.
    QCoreApplication::processEvents(dialog_ ? QEventLoop::AllEvents
                                            : QEventLoop::ExcludeUserInputEvents);
    cancelled_ = cancelled_ || (dialog_ && dialog_->wasCanceled());
    return !cancelled_;
}

int PrintOnPrinter(QPrinter& printer, const reports::PrintJob& job,
                   const reports::PageProgress& progress) {
    QPainter painter;
    if (!painter.begin(&printer))
        return kPrintFailed;
    const int pages = reports::PrintPages(printer, painter, job, progress);
    const bool ended = painter.end();
    if (pages < 0)
        return kPrintCancelled;
    if (!ended || printer.printerState() == QPrinter::Error)
        return kPrintFailed;
    return pages;
}

void PreparePrinter(QPrinter& printer, const CMyPrintDialog& dialog, const reports::PrintJob& job) {
    if (job.pageLayout)
        printer.setPageLayout(*job.pageLayout);
    // "Eigenschaften" in the dialog was the later choice and wins.
    dialog.ConfigurePrinter(printer);
}

PrintOutcome PrintChosen(const CMyPrintDialog& dialog, const reports::PrintJob& job,
                         const reports::PageProgress& progress) {
    PrintOutcome outcome;
    if (dialog.printToFile()) {
        const std::string path = dialog.outputFile().toStdString();
        const QPageLayout paper =
            dialog.chosenLayout().value_or(job.pageLayout.value_or(reports::DefaultPdfPaper()));
        const reports::RenderedPdf pdf = reports::RenderPdf(job, paper, progress);
        outcome.cancelled = pdf.cancelled;
        if (pdf.cancelled)
            return outcome;
        outcome.write = pdf.ok() ? WriteFileAtomic(path, pdf.bytes.toStdString())
                                 : WriteResult{WriteStatus::Failed, pdf.problem};
        if (outcome.write.ok())
            outcome.pages = pdf.pages;
        else
            outcome.message = "Die Datei " + path + " konnte nicht geschrieben werden. (" +
                              outcome.write.detail + ")";
        return outcome;
    }

    // The printer's own paper and margins, as the dialog left them.
    QPrinter printer(QPrinter::HighResolution);
    PreparePrinter(printer, dialog, job);
    const QPageLayout paper = printer.pageLayout();
    const reports::RenderedPdf pdf = reports::RenderPdf(job, paper, progress);
    outcome.cancelled = pdf.cancelled;
    if (pdf.cancelled)
        return outcome;
    if (!pdf.ok()) {
        outcome.write = WriteResult{WriteStatus::Failed, pdf.problem};
        outcome.message = "Der Druck konnte nicht aufbereitet werden; es wurde nichts gedruckt. (" +
                          pdf.problem + ")";
        return outcome;
    }
    ServiceJobOptions options;
    options.title = reports::JobTitle(job);
    options.copies = dialog.copies();
    options.media = paper.pageSize().key().toStdString();
    const ServiceJob sent = SendToPrinter(dialog.printerName().toStdString(), pdf.bytes, options);
    if (!sent.queued()) {
        outcome.write = WriteResult{WriteStatus::Failed, sent.reason};
        outcome.message = NothingPrinted(dialog.printerName(), sent.answer, sent.reason);
        return outcome;
    }
    outcome.pages = pdf.pages;
    return outcome;
}

QPrintPreviewDialog* MakePrintPreview(QPrinter& printer, reports::PrintJob job, QWidget* parent,
                                      PreviewHooks hooks) {
    auto* preview = new QPrintPreviewDialog(&printer, parent);
    preview->setWindowTitle(QStringLiteral("Druckvorschau"));
    const std::chrono::milliseconds delay = hooks.progressDelay;
    QObject::connect(
        preview, &QPrintPreviewDialog::paintRequested, preview,
        [preview, delay, job = std::move(job)](QPrinter* target) {
            // The first drawing comes before the preview is shown.
            PrintProgress progress(preview->isVisible() ? preview : preview->parentWidget(), delay);
            if (PrintOnPrinter(*target, job, progress.Callback()) == kPrintCancelled)
                QMetaObject::invokeMethod(preview, &QDialog::reject, Qt::QueuedConnection);
        });
    QAction* button = hooks.print ? PreviewPrintAction(*preview) : nullptr;
    if (button != nullptr) {
        // Qt's own button would open its print dialog, which proposes a file
        // of its own choosing; the program's choices print instead.
        button->setObjectName(QString::fromLatin1(kPreviewPrintAction));
        button->disconnect(preview);
        QObject::connect(button, &QAction::triggered, preview,
                         [preview, &printer, onPrint = std::move(hooks.print)] {
                             if (onPrint(printer.pageLayout()))
                                 preview->accept();
                         });
    }
    return preview;
}

}  // namespace dorvel::print
