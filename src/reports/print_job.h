#pragma once

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

// Runs the print life cycle on a device whose painter is already active:
// per page the header, the body and the footer, each in the style of the
// report the page belongs to. Returns the number of pages.
int PrintPages(QPagedPaintDevice& device, QPainter& painter, const PrintJob& job);

// The data list page's bodies: the cover sheet for kind 1, the table for
// kind 2. On the certificate each data page shows its own 30 readings.
BodyPainter DataListBody(const ReadingList& list, const UserSettings& settings,
                         const RunSettings& run, const PatientFacts& facts, int printRange,
                         int dataListStart);

// Prints the job into a PDF file (the job's page layout, else A4 with a 4 mm
// unprintable edge like a common printer), replacing the file whole.
WriteResult PrintToPdf(const std::string& path, const PrintJob& job, int* pages = nullptr);

}  // namespace dorvel::reports
