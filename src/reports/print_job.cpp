#include "print_job.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPdfWriter>
#include <algorithm>
#include <memory>

#include "painter_surface.h"

namespace dorvel::reports {

PaperMetrics PaperOf(const QPaintDevice& device) {
    return PaperMetrics::FromMillimetres(device.widthMM(), device.heightMM());
}

int PrintPages(QPagedPaintDevice& device, QPainter& painter, const PrintJob& job,
               const PageProgress& progress) {
    const PageCount count = CountPages(job.choices, job.shownPageIndex, job.sizes);
    const PaperMetrics paper = PaperOf(device);
    const PrintFonts fonts = PrintFonts::ForScale(paper.scale);
    // Logical units are twips whatever the device's resolution.
    const double unit = device.logicalDpiX() / 1440.0;
    painter.resetTransform();
    painter.scale(unit, device.logicalDpiY() / 1440.0);

    for (int n = 1; n <= count.pages; ++n) {
        if (progress && !progress(n, count.pages))
            return -1;
        if (n > 1)
            device.newPage();
        PainterSurface surface(painter);
        const PagePlace place = PlaceOfPage(n, count.boundary);
        const FrameStyle style = FrameStyleOf(place.kind - 1);
        DrawHeader(surface, paper, fonts, place.kind, job.facts, style,
                   job.choices.printDiagnosisDate);
        if (job.body)
            job.body(surface, paper, fonts, place);
        DrawFooter(surface, paper, fonts, place.kind, job.facts, style);
    }
    return count.pages;
}

BodyPainter DataListBody(const ReadingList& list, const UserSettings& settings,
                         const RunSettings& run, const PatientFacts& facts, int printRange,
                         int dataListStart) {
    // Positions of the readings the table lists, oldest first: the whole
    // list, or without the control readings when those are hidden.
    auto listed = std::make_shared<std::vector<int>>();
    const bool hide = run.controlDisplay == 1;
    for (size_t i = 0; i < list.size(); ++i) {
        if (!hide || !list[i].IsControl())
            listed->push_back(static_cast<int>(i));
    }
    const int readingCount = static_cast<int>(list.size());
    const int controlCount = readingCount - (hide ? static_cast<int>(listed->size())
                                                  : static_cast<int>(list.ControlCount()));
    return [&list, settings, run, facts, printRange, dataListStart, listed, readingCount,
            controlCount](Surface& surface, const PaperMetrics& paper, const PrintFonts& fonts,
                          const PagePlace& place) {
        if (place.kind == kCoverKind) {
            DrawCoverSheet(surface, paper, fonts, facts);
            return;
        }
        if (place.kind != kDataListKind)
            return;
        if (printRange == 0) {
            DrawDataListPaper(surface, paper, MakeDataListView(list, dataListStart, settings, run));
            return;
        }
        // Each certificate page takes the next 30 readings. The screen's rule
        // that raises a short cursor to 30 would print readings twice here,
        // so the cursor only stays inside the list.
        DataListView view;
        view.settings = settings;
        view.run = run;
        view.readingCount = readingCount;
        view.controlCount = controlCount;
        const int shown = static_cast<int>(listed->size());
        view.dataListStart = std::clamp(DataListStartForPage(shown, place.inKind), 0, shown);
        for (int r = 0; r < kDataListRows && r < view.dataListStart; ++r) {
            const Reading& reading = list[static_cast<size_t>(
                (*listed)[static_cast<size_t>(view.dataListStart - 1 - r)])];
            DataListRow& row = view.window.entries[static_cast<size_t>(r)];
            row.value = reading.Value().value;
            row.temperature = reading.temperature;
            row.marker = reading.marker;
            row.when = reading.When();
            view.window.filled = r + 1;
        }
        DrawDataListPaper(surface, paper, view);
    };
}

std::string JobTitle(const PrintJob& job) {
    return std::string(
        PageKindTitle(job.choices.printRange == 1 ? kCoverKind : job.shownPageIndex + 1));
}

QPageLayout DefaultPdfPaper() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(4, 4, 4, 4),
                       QPageLayout::Millimeter);
}

RenderedPdf RenderPdf(const PrintJob& job, const QPageLayout& paper, const PageProgress& progress) {
    RenderedPdf pdf;
    bool ended = false;
    {
        QBuffer buffer(&pdf.bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Dorvel"));
        writer.setTitle(QString::fromStdString(JobTitle(job)));
        writer.setResolution(1440);
        writer.setPageLayout(paper);
        QPainter painter;
        if (!painter.begin(&writer)) {
            pdf.problem = "PDF kann nicht angelegt werden";
            return pdf;
        }
        pdf.pages = PrintPages(writer, painter, job, progress);
        ended = painter.end();
    }
    if (pdf.pages < 0) {
        pdf = RenderedPdf{};
        pdf.cancelled = true;
    } else if (!ended) {
        pdf.problem = "PDF kann nicht fertiggestellt werden";
    }
    return pdf;
}

WriteResult PrintToPdf(const std::string& path, const PrintJob& job, int* pages) {
    const RenderedPdf pdf = RenderPdf(job, job.pageLayout.value_or(DefaultPdfPaper()));
    if (!pdf.ok())
        return WriteResult{WriteStatus::Failed, pdf.problem};
    if (pages != nullptr)
        *pages = pdf.pages;
    return WriteFileAtomic(path, pdf.bytes.toStdString());
}

}  // namespace dorvel::reports
