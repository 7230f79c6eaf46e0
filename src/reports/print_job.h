#pragma once

#include <QByteArray>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <functional>
#include <optional>
#include <string>

#include "data_list_page.h"
#include "page_frame.h"
#include "print_layout.h"
#include "store/file_io.h"

namespace dorvel::reports {

// Draws the body of one printed page; the header and footer are the job's.
using BodyPainter =
    std::function<void(Surface&, const PaperMetrics&, const PrintFonts&, const PagePlace&)>;

struct PrintJob {
    PatientFacts facts;
    PrintChoices choices;
    int shownPageIndex = kDataListIndex;  // the page that started the print
    JobSizes sizes;
    BodyPainter body;
    // Paper and orientation chosen in the print setup; unset prints on the
    // default sheet.
    std::optional<QPageLayout> pageLayout;
};

// Paper metrics of a device: printable size in whole millimetres, as the
// printer reports it, turned into twips.
PaperMetrics PaperOf(const QPaintDevice& device);

// Asked before page `page` of `pages` is drawn; false stops the job there.
using PageProgress = std::function<bool(int page, int pages)>;

// Runs the print life cycle on a device whose painter is already active:
// per page the header, the body and the footer, each in the style of the
// report the page belongs to. Returns the number of pages, or -1 when
// `progress` stopped the job.
int PrintPages(QPagedPaintDevice& device, QPainter& painter, const PrintJob& job,
               const PageProgress& progress = {});

// The data list page's bodies: the cover sheet for kind 1, the table for
// kind 2. On the certificate each data page shows its own 30 readings.
BodyPainter DataListBody(const ReadingList& list, const UserSettings& settings,
                         const RunSettings& run, const PatientFacts& facts, int printRange,
                         int dataListStart);

// The job's name in a PDF and in the print service's queue.
std::string JobTitle(const PrintJob& job);

// The sheet a PDF is printed on without a print setup: A4 with a 4 mm
// unprintable edge like a common printer.
QPageLayout DefaultPdfPaper();

// A job drawn into PDF bytes, kept in memory so that a stopped or failed job
// never leaves part of a file or reaches a printer.
struct RenderedPdf {
    QByteArray bytes;
    int pages = 0;
    bool cancelled = false;
    std::string problem;  // why no PDF could be made; empty when made or cancelled
    bool ok() const { return !cancelled && problem.empty(); }
};
RenderedPdf RenderPdf(const PrintJob& job, const QPageLayout& paper,
                      const PageProgress& progress = {});

// Prints the job into a PDF file (the job's page layout, else the default
// paper), replacing the file whole.
WriteResult PrintToPdf(const std::string& path, const PrintJob& job, int* pages = nullptr);

}  // namespace dorvel::reports
