#include "logbook_page.h"

#include <algorithm>

#include "report_text.h"

namespace dorvel::reports {

namespace {

constexpr int kColumns = 6;  // the date and the five meal-time groups
constexpr int kMaxDays = kPeriodDaySlots - 1;

// Where a table is drawn: screen pixels or paper twips.
struct LogbookGeometry {
    std::array<int, 7> edges;
    int headerTop = 0;
    int headerTextTop = 0;
    int headerBottom = 0;
    Font font;
    // Top and bottom of day row d (0-based).
    std::array<int, kMaxDays> rowTop{};
    std::array<int, kMaxDays> rowBottom{};
};

// The group's header: its name and the times from the first slot start of
// the group to one minute before the first slot start of the next group.
std::string HeaderText(int column, const UserSettings& s) {
    static constexpr const char* names[] = {"Schlaf", "Frühstück (vor/nach)",
                                            "Mittagessen (vor/nach)", "Abendessen (vor/nach)",
                                            "Abend"};
    if (column == 0)
        return "Datum";
    return std::string(names[column - 1]) + "\r\n" +
           SlotSpanText(kGroupFirstSlot[column - 1], kGroupFirstSlot[column], s);
}

std::string DayText(const Date& d, int dateFormat) {
    if (dateFormat == 0)
        return Printf("%04d.%02d.%02d", d.year, d.month, d.day);
    if (dateFormat == 1)
        return Printf("%02d.%02d.%04d", d.month, d.day, d.year);
    return Printf("%02d.%02d.%04d", d.day, d.month, d.year);
}

// Cells are coloured against the overall range; a day without a value in
// the group stays white.
Color FillOfMean(int v, const TargetRange& overall) {
    if (v <= 0)
        return kWhite;
    if (v < overall.low)
        return kLowFill;
    if (v <= overall.high)
        return kTargetFill;
    return kHighFill;
}

// Night and evening show the group's mean; each meal shows its mean with the
// before-meal and after-meal means beside it, each converted on its own.
std::string CellText(const Statistics& stats, int d, int column, int unit) {
    const auto& combined = stats.perDay.dayCombinedMean[static_cast<size_t>(d)];
    const auto& separate = stats.perDay.daySeparateMean[static_cast<size_t>(d)];
    const int v = combined[static_cast<size_t>(column - 1)];
    if (column == 1 || column == 5)
        return GlucoseText(v, unit, 3);
    const auto before = static_cast<size_t>(2 * (column - 2));
    return GlucoseText(v, unit, 3) + " (" + GlucoseText(separate[before], unit, 3) + " / " +
           GlucoseText(separate[before + 1], unit, 3) + ")";
}

void DrawTable(Surface& surface, const LogbookGeometry& g, const ReportData& data) {
    const UserSettings& s = data.settings;
    surface.SetFont(g.font);
    surface.SetPen(Pen{kBlack, 1, PenStyle::Solid});
    // Every text stands on a cell already filled with its background colour
    // and needs no background of its own (on paper a second shape under
    // every text). A row's cells come before its texts, so that the printer
    // switches between line and text colour once a row, not once a cell.
    surface.SetBackground(kWhite, false);
    const auto cell = [&g](int c, int top, int bottom) {
        return Rect{g.edges[static_cast<size_t>(c)], top, g.edges[static_cast<size_t>(c + 1)],
                    bottom};
    };

    surface.SetBrush(Brush{kSilver});
    for (int c = 0; c < kColumns; ++c)
        surface.Rectangle(cell(c, g.headerTop, g.headerBottom));
    surface.SetTextColor(kBlack);
    for (int c = 0; c < kColumns; ++c)
        surface.Text(cell(c, g.headerTextTop, g.headerBottom), HeaderText(c, s), kAlignHCenter);

    const AnalysisPeriod& period = data.stats.analysisPeriod;
    const int days = std::min(data.stats.period.periodDays, kMaxDays);
    for (int d = 0; d < days; ++d) {
        const int top = g.rowTop[static_cast<size_t>(d)];
        const int bottom = g.rowBottom[static_cast<size_t>(d)];
        const auto& means = data.stats.perDay.dayCombinedMean[static_cast<size_t>(d)];
        surface.SetBrush(Brush{kSilver});
        surface.Rectangle(cell(0, top, bottom));
        for (int c = 1; c < kColumns; ++c) {
            surface.SetBrush(Brush{FillOfMean(means[static_cast<size_t>(c - 1)], s.overall)});
            surface.Rectangle(cell(c, top, bottom));
        }

        surface.SetTextColor(kBlack);
        surface.Text(cell(0, top, bottom),
                     DayText(CivilFromDays(period.startDay + d + 1), s.dateFormat), kCentredLine);
        surface.SetTextColor(kBlue);
        for (int c = 1; c < kColumns; ++c) {
            if (means[static_cast<size_t>(c - 1)] > 0)
                surface.Text(cell(c, top, bottom), CellText(data.stats, d, c, s.glucoseUnit),
                             kCentredLine);
        }
    }
    surface.SetBackground(kWhite, true);
    surface.SetTextColor(kBlack);
}

}  // namespace

std::string SlotSpanText(int fromSlot, int nextSlot, const UserSettings& s) {
    const TimeOfDay& from = s.slotStart[static_cast<size_t>(fromSlot - 1)];
    const TimeOfDay& next = s.slotStart[static_cast<size_t>(nextSlot - 1)];
    return ClockText(from, s.timeFormat) + " ~ " + ClockText(MinuteBefore(next), s.timeFormat);
}

std::array<int, 7> LogbookScreenEdges(int growthWidth) {
    // The extra width goes to the columns in sevenths, the remainder to each.
    const int e = growthWidth == 0 ? 0 : growthWidth / 7 + growthWidth % 7;
    static constexpr std::array<int, 7> base = {10, 100, 238, 376, 514, 652, 790};
    std::array<int, 7> edges{};
    for (size_t i = 0; i < edges.size(); ++i)
        edges[i] = base[i] + static_cast<int>(i) * e;
    return edges;
}

std::array<int, 7> LogbookPaperEdges(const PaperMetrics& paper) {
    static constexpr std::array<int, 7> base = {50, 131, 255, 378, 502, 626, 750};
    std::array<int, 7> edges{};
    for (size_t i = 0; i < edges.size(); ++i)
        edges[i] = paper.width * base[i] / 800;
    return edges;
}

void DrawLogbookScreen(Surface& surface, const ReportData& data, Growth growth) {
    DrawScreenPage(surface, growth);

    LogbookGeometry g;
    g.edges = LogbookScreenEdges(growth.width);
    g.headerTop = 10;
    g.headerTextTop = 14;
    g.headerBottom = 48;
    g.font = Font{"Arial", 14, 400};
    // Each row reaches a few pixels into the next, which draws over them.
    const int step = LogbookRowStep(data.stats.period.periodDays);
    for (int d = 0; d < kMaxDays; ++d) {
        g.rowTop[static_cast<size_t>(d)] = 29 + step * (d + 1);
        g.rowBottom[static_cast<size_t>(d)] = 48 + step * (d + 1);
    }
    DrawTable(surface, g, data);
}

void DrawLogbookPaper(Surface& surface, const PaperMetrics& paper, const ReportData& data) {
    const FontRestorer restore(surface);
    LogbookGeometry g;
    g.edges = LogbookPaperEdges(paper);
    g.headerTop = paper.Y(7.0);
    g.headerTextTop = paper.Y(7.16);
    g.headerBottom = paper.Y(8.52);
    g.font = Font{"Arial", paper.width * 12 / 800, 400};
    // The rows keep their height whatever the number of days.
    for (int d = 0; d < kMaxDays; ++d) {
        g.rowTop[static_cast<size_t>(d)] = paper.Y(7.74 + 0.78 * (d + 1));
        g.rowBottom[static_cast<size_t>(d)] = paper.Y(8.52 + 0.78 * (d + 1));
    }
    DrawTable(surface, g, data);
}

}  // namespace dorvel::reports
