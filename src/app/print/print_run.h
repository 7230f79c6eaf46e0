#pragma once

#include <QElapsedTimer>
#include <QPageLayout>
#include <QPointer>
#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "reports/print_job.h"
#include "store/file_io.h"

class QPrinter;
class QPrintPreviewDialog;
class QProgressDialog;
class QWidget;

namespace dorvel::print {

class CMyPrintDialog;

// How long a job may run before its progress is shown.
inline constexpr std::chrono::milliseconds kProgressDelay{500};

// The progress of one job on screen: once the job has run for `delay`, a
// modal dialog names the page being drawn and offers Cancel. Between pages
// the windows are repainted; until the dialog is up, the user's input waits,
// so nothing the job draws from changes under it.
class PrintProgress {
  public:
    explicit PrintProgress(QWidget* parent, std::chrono::milliseconds delay = kProgressDelay);
    ~PrintProgress();
    PrintProgress(const PrintProgress&) = delete;
    PrintProgress& operator=(const PrintProgress&) = delete;

    // Before page `page` of `pages`; false once the user has cancelled.
    bool Page(int page, int pages);
    reports::PageProgress Callback() {
        return [this](int page, int pages) { return Page(page, pages); };
    }
    bool cancelled() const { return cancelled_; }

  private:
    QPointer<QWidget> parent_;
    std::chrono::milliseconds delay_;
    QElapsedTimer clock_;
    std::unique_ptr<QProgressDialog> dialog_;
    bool cancelled_ = false;
};

// PrintOnPrinter's answers besides a page count.
inline constexpr int kPrintFailed = -1;
inline constexpr int kPrintCancelled = -2;

// Prints the job on a printer whose settings are made (a preview's printer
// too). Returns the number of pages, kPrintFailed when the printer cannot
// start or reports an error at the end, kPrintCancelled when `progress`
// stopped the job (the printer's run is aborted).
int PrintOnPrinter(QPrinter& printer, const reports::PrintJob& job,
                   const reports::PageProgress& progress = {});

// Puts the job's page layout and then the dialog's printer, copies and
// properties on a printer about to print or preview.
void PreparePrinter(QPrinter& printer, const CMyPrintDialog& dialog, const reports::PrintJob& job);

struct PrintOutcome {
    WriteResult write;
    int pages = 0;
    bool cancelled = false;
    std::string message;  // for the user when nothing was printed; UTF-8, empty otherwise
    bool printed() const { return write.ok() && !cancelled && message.empty(); }
};

// Prints the job as the accepted dialog chose: into its PDF file, replaced
// whole, or through the print service on its printer with its copies. The
// job is drawn completely before anything is written or sent, so a cancelled
// or failed job leaves no file and no print job behind. The job's choices
// are the dialog's.
PrintOutcome PrintChosen(const CMyPrintDialog& dialog, const reports::PrintJob& job,
                         const reports::PageProgress& progress = {});

// What a preview does beyond showing the pages.
struct PreviewHooks {
    std::chrono::milliseconds progressDelay = kProgressDelay;
    // The preview's print button: prints the job on the paper the preview
    // shows; true when it was printed, which closes the preview. Unset, the
    // platform's own print dialog is used.
    std::function<bool(const QPageLayout& shown)> print;
};

// A print preview of the job on `printer`; the caller shows it and keeps
// the printer alive while it is open. Drawing the pages shows progress, and
// a cancelled drawing closes the preview.
QPrintPreviewDialog* MakePrintPreview(QPrinter& printer, reports::PrintJob job,
                                      QWidget* parent = nullptr, PreviewHooks hooks = {});

// The object name of the preview's print button.
inline constexpr char kPreviewPrintAction[] = "previewPrint";

}  // namespace dorvel::print
