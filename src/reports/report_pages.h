#pragma once

#include "print_job.h"
#include "report_data.h"
#include "surface.h"

namespace dorvel::reports {

// One entry point per report page (1..9), called by the window, the printer,
// the PDF and picture exports alike.

// The page on screen, in pixels, grown by `growth`.
void DrawReportScreen(int pageIndex, Surface& surface, const ReportData& data, Growth growth);

// The height in pixels that the page's screen drawing needs at its base
// size: the base height, or more for a patient list longer than the window.
int ReportScreenHeight(int pageIndex, const ReportData& data);

// The printed body of one sheet of the page, between header and footer.
// `sheet` counts from 1; only the patient list has more than one.
void DrawReportPaper(int pageIndex, Surface& surface, const PaperMetrics& paper,
                     const PrintFonts& fonts, const ReportData& data, int sheet);

// The sheets that one print of the page takes.
int ReportSheets(int pageIndex, const ReportData& data);

// The sizes a print job of this data needs counted.
JobSizes JobSizesOf(const ReportData& data);

// The bodies of a print job. With "this page" (print range 0) every sheet
// shows the page of its kind as on screen. On the certificate each kind is
// drawn by its own report: the cover sheet, the data list 30 readings a
// page, each monthly report with the statistics of its month (newest
// first), the patient list on its sheets. The data must outlive the painter's
// use only through `data.readings` and `data.patientList`.
BodyPainter ReportBody(const ReportData& data, int printRange);

// A print job of the page, its sizes counted and its bodies set, with the
// print dialog's choices.
PrintJob MakeReportPrintJob(const ReportData& data, int shownPageIndex,
                            const PrintChoices& choices);

}  // namespace dorvel::reports
