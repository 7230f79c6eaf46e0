#include "patient_list_page.h"

#include <algorithm>

#include "report_text.h"
#include "store/patient_list.h"
#include "store/text_encoding.h"

namespace dorvel::reports {

namespace {

using Edges = std::array<int, 6>;

constexpr Edges kScreenEdges = {10, 90, 265, 440, 615, 790};
constexpr int kScreenRowStep = 17;
// Room below the last row when the list is longer than the page, as above the header.
constexpr int kScreenBottomRoom = 10;

// Paper rows, in fortieths of the height: the header from 7 to 8, its
// titles from 7.1, and row j of a sheet the title box moved down by
// 0.8 * (j + 1).
constexpr double kPaperRowStep = 0.8;
constexpr double kPaperTitleTop = 7.1;
constexpr double kPaperTitleBottom = 8.0;
constexpr double kPaperFooterTop = 35.0;
static_assert(kPaperTitleBottom + kPaperRowStep * kPatientListRowsPerSheet <= kPaperFooterTop &&
                  kPaperTitleBottom + kPaperRowStep * (kPatientListRowsPerSheet + 1) >
                      kPaperFooterTop,
              "a sheet holds the rows that end above the footer");

Edges PaperEdges(const PaperMetrics& paper) {
    constexpr Edges base = {50, 110, 270, 430, 590, 750};
    Edges edges{};
    for (size_t i = 0; i < edges.size(); ++i)
        edges[i] = paper.width * base[i] / 800;
    return edges;
}

void HeaderRow(Surface& surface, const Edges& edges, int top, int titleTop, int bottom,
               const std::array<std::string_view, 5>& titles) {
    surface.SetBrush(Brush{kSilver});
    surface.SetTextColor(kBlack);
    surface.SetBackground(kSilver, false);
    for (size_t c = 0; c < titles.size(); ++c) {
        surface.Rectangle(Rect{edges[c], top, edges[c + 1], bottom});
        surface.Text(Rect{edges[c], titleTop, edges[c + 1], bottom}, titles[c], kCentredLine);
    }
}

// Row `number` (from 1): the number on silver, the four fields in blue on
// white. Each row reaches `overlap` into the next, which is drawn over it,
// so a text keeps that far from both edges: centred as before, but clear
// of the neighbouring rows when it is set on two lines.
void PatientRow(Surface& surface, const Edges& edges, int top, int bottom, int overlap, int number,
                const PatientListFields& fields) {
    const auto cell = [&](size_t c) { return Rect{edges[c], top, edges[c + 1], bottom}; };
    const auto textBox = [&](size_t c) {
        return Rect{edges[c], top + overlap, edges[c + 1], bottom - overlap};
    };
    surface.SetBrush(Brush{kSilver});
    surface.SetTextColor(kBlack);
    surface.SetBackground(kSilver, false);
    surface.Rectangle(cell(0));
    surface.Text(textBox(0), Printf("%d", number), kCentredLine);

    surface.SetBrush(Brush{kWhite});
    surface.SetTextColor(kBlue);
    surface.SetBackground(kWhite, false);
    const std::string_view texts[] = {fields.id, fields.name, fields.count, fields.carer};
    for (size_t c = 1; c < 5; ++c) {
        surface.Rectangle(cell(c));
        surface.Text(textBox(c), Cp1252ToUtf8(texts[c - 1]), kCentredLine);
    }
}

}  // namespace

int PatientListRows(std::string_view image) {
    return static_cast<int>(std::count(image.begin(), image.end(), '\0') / 4);
}

int PatientListScreenHeight(const ReportData& data) {
    const int rows = PatientListRows(data.patientList);
    const int lastBottom = 30 + kScreenRowStep * rows;
    return std::max(kBaseScreenHeight, lastBottom + kScreenBottomRoom);
}

void DrawPatientListScreen(Surface& surface, const ReportData& data, Growth growth) {
    surface.SetFont(Font{"Arial", 14, 400});
    surface.SetPen(Pen{kBlack, 1, PenStyle::Solid});
    surface.SetBrush(Brush{kWhite});
    // A list longer than the page keeps its white ground down to its last row.
    const int height = PatientListScreenHeight(data);
    const int bottom = height > kBaseScreenHeight
                           ? std::max(kBaseScreenHeight + growth.height, height)
                           : kBaseScreenHeight + growth.height;
    surface.Rectangle(Rect{0, 0, kBaseScreenWidth + growth.width, bottom});

    HeaderRow(surface, kScreenEdges, 10, 12, 30, kPatientListScreenTitles);
    // A window shows a few dozen rows of a list of thousands: only those are drawn.
    const std::optional<Rect>& seen = surface.clipBox();
    int k = 0;
    for (const PatientListFields& fields : WalkPatientListFields(data.patientList)) {
        const int down = kScreenRowStep * (k + 1);
        ++k;
        if (seen && (30 + down <= seen->top || 12 + down >= seen->bottom))
            continue;
        // The rows share their outlines: one pixel each way.
        PatientRow(surface, kScreenEdges, 12 + down, 30 + down, 1, k, fields);
    }
}

int PatientListSheets(const ReportData& data) {
    const int rows = PatientListRows(data.patientList);
    return std::max(1, (rows + kPatientListRowsPerSheet - 1) / kPatientListRowsPerSheet);
}

void DrawPatientListPaper(Surface& surface, const PaperMetrics& paper, const ReportData& data,
                          int sheet) {
    const FontRestorer restore(surface);
    surface.SetFont(Font{"Arial", paper.width * 12 / 800, 400});
    surface.SetPen(Pen{kBlack, 1, PenStyle::Solid});
    const Edges edges = PaperEdges(paper);
    HeaderRow(surface, edges, paper.Y(7.0), paper.Y(kPaperTitleTop), paper.Y(kPaperTitleBottom),
              kPatientListPaperTitles);

    const std::vector<PatientListFields> rows = WalkPatientListFields(data.patientList);
    const size_t first = static_cast<size_t>(std::max(0, sheet - 1)) * kPatientListRowsPerSheet;
    const size_t end = std::min(rows.size(), first + kPatientListRowsPerSheet);
    // A row is 0.9/40 high and the next starts 0.8/40 below it.
    const int overlap = paper.Y(kPaperTitleBottom - kPaperTitleTop - kPaperRowStep);
    for (size_t k = first; k < end; ++k) {
        const double down = kPaperRowStep * static_cast<double>(k - first + 1);
        PatientRow(surface, edges, paper.Y(kPaperTitleTop + down),
                   paper.Y(kPaperTitleBottom + down), overlap, static_cast<int>(k + 1), rows[k]);
    }
    surface.SetBackground(kWhite, true);
    surface.SetTextColor(kBlack);
}

}  // namespace dorvel::reports
