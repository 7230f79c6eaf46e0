#include "mealtime_graph_page.h"

#include <array>
#include <optional>

#include "graph_frame.h"
#include "report_text.h"
#include "text_fit.h"
#include "text_metrics.h"

namespace dorvel::reports {

namespace {

// The lines of the slots. Separated slots 6 and 7 have no pen of their own;
// their lines take the colour of their markers.
constexpr std::array<Color, 8> kSlotPens = {Color{192, 0, 0}, Color{192, 192, 0}, Color{0, 192, 0},
                                            Color{0, 0, 192}, Color{192, 0, 192}, kBlack,
                                            Color{0, 0, 192}, Color{192, 0, 192}};
constexpr std::array<Color, 5> kCombinedBrushes = {
    Color{192, 0, 0}, Color{192, 192, 0}, Color{0, 192, 0}, Color{0, 0, 192}, Color{192, 0, 192}};
constexpr std::array<Color, 8> kSeparateBrushes = {
    Color{192, 0, 0}, Color{255, 255, 192}, Color{192, 192, 0}, Color{192, 255, 192},
    Color{0, 192, 0}, Color{192, 192, 255}, Color{0, 0, 192},   Color{192, 0, 192}};

// One slot's results on one day.
struct SlotDay {
    int count = 0;
    int mean = 0;
};

// Slot s of the page: with combined meals the five combined slots; with
// separate meals Schlaf, the six before/after-meal slots and Abend.
SlotDay SlotOnDay(const PerDayStats& perDay, bool separate, int slot, int day) {
    const auto d = static_cast<size_t>(day);
    const auto combined = [&](int k) {
        const auto s = static_cast<size_t>(k);
        return SlotDay{perDay.dayCombinedCount[d][s], perDay.dayCombinedMean[d][s]};
    };
    if (!separate || slot == 0)
        return combined(slot);
    if (slot == 7)
        return combined(kCombinedSlotCount - 1);
    const auto s = static_cast<size_t>(slot - 1);
    return SlotDay{perDay.daySeparateCount[d][s], perDay.daySeparateMean[d][s]};
}

// The clock times a slot's legend entry spans, from its start to the minute
// before the next slot starts (the last one runs across midnight).
std::string LegendText(const UserSettings& settings, bool separate, int slot) {
    static constexpr std::array<std::pair<int, int>, 5> combinedRanges = {
        {{0, 1}, {1, 3}, {3, 5}, {5, 7}, {7, 0}}};
    const auto [from, to] = separate ? std::pair<int, int>{slot, (slot + 1) % kSlotCount}
                                     : combinedRanges[static_cast<size_t>(slot)];
    const TimeOfDay& start = settings.slotStart[static_cast<size_t>(from)];
    const TimeOfDay end = MinuteBefore(settings.slotStart[static_cast<size_t>(to)]);
    const int format = settings.timeFormat;
    return ClockText(start, format) + (format == 0 ? "~" : " ~ ") + ClockText(end, format);
}

// A range too wide for its box breaks after the tilde where the box has
// room for two lines, so each clock time stays whole and full size; the
// surface sets what is still too wide smaller.
std::string FittedLegendText(const Rect& box, const Font& font, const std::string& text) {
    if (!CanMeasureText() || TextFitsBox(box, font, text, kCentredLine))
        return text;
    const size_t tilde = text.find('~');
    const size_t end = text.find_last_not_of(' ', tilde - 1) + 1;
    const std::string broken =
        text.substr(0, end) + "~\n" + text.substr(text.find_first_not_of(' ', tilde + 1));
    return TextFitsBox(box, font, broken, kAlignHCenter | kAlignVCenter) ? broken : text;
}

// The legend under the plot, in screen units: combined meals on one row of
// five; separate meals on two rows, Schlaf, the three before-meal slots and
// Abend above, each after-meal slot under its before-meal slot.
void DrawLegend(Surface& surface, const GraphMap& map, const ReportData& data, bool separate,
                int shift) {
    const int slotCount = separate ? 8 : kCombinedSlotCount;
    for (int s = 0; s < slotCount; ++s) {
        int column = s;
        int markerTop = 525;
        int textTop = 510;
        int textBottom = 550;
        if (separate) {
            const int row = s == 0 || s % 2 == 1 ? 0 : 1;
            column = row == 0 ? (s + 1) / 2 : s / 2;
            markerTop = 505 + 20 * row;
            textTop = 500 + 20 * row;
            textBottom = textTop + 20;
        }
        const int x = 120 * column;
        surface.SetPen(Pen{});
        surface.SetBrush(Brush{separate ? kSeparateBrushes[static_cast<size_t>(s)]
                                        : kCombinedBrushes[static_cast<size_t>(s)]});
        surface.Ellipse(map.Box(125 + x, markerTop + shift, 135 + x, markerTop + 10 + shift));
        const Rect box = map.Box(140 + x, textTop + shift, 240 + x, textBottom + shift);
        const std::string text =
            FittedLegendText(box, surface.font(), LegendText(data.settings, separate, s));
        surface.Text(
            box, text,
            text.find('\n') == std::string::npos ? kCentredLine : kAlignHCenter | kAlignVCenter);
    }
}

// Per day and slot the slot's mean, each slot joined by its own line that
// skips the days without readings of that slot.
void DrawSlotLines(Surface& surface, GraphFrame& frame, const ReportData& data, bool separate) {
    const int slotCount = separate ? 8 : kCombinedSlotCount;
    std::array<std::optional<GraphFrame::Mark>, 8> last;
    for (int i = 0; i < frame.days(); ++i) {
        frame.DrawDayLabel(i);
        for (int s = 0; s < slotCount; ++s) {
            const SlotDay slot = SlotOnDay(data.stats.perDay, separate, s, i);
            if (slot.count <= 0)
                continue;
            const double offset = separate ? (s + 6) * 0.05 : (s + 3) * 0.1;
            const GraphFrame::Mark mark = frame.MarkAt(frame.ColumnX(i + offset), slot.mean);
            auto& previous = last[static_cast<size_t>(s)];
            if (previous) {
                surface.SetPen(Pen{kSlotPens[static_cast<size_t>(s)]});
                surface.Line(previous->x, previous->y, mark.x, mark.y);
            }
            previous = mark;
            surface.SetPen(Pen{});
            surface.SetBrush(Brush{separate ? kSeparateBrushes[static_cast<size_t>(s)]
                                            : kCombinedBrushes[static_cast<size_t>(s)]});
            surface.Ellipse(mark.circle);
        }
    }
}

void DrawMealtimeGraph(Surface& surface, const GraphMap& map, const ReportData& data,
                       const GraphFrameStyle& style, int legendShift) {
    const bool separate = data.settings.separateMeals != 0;
    GraphFrame frame(surface, map, data, style);
    frame.Draw();
    DrawLegend(surface, map, data, separate, legendShift);
    DrawSlotLines(surface, frame, data, separate);
}

}  // namespace

void DrawMealtimeGraphScreen(Surface& surface, const ReportData& data, Growth growth) {
    const bool separate = data.settings.separateMeals != 0;
    if (!DrawGraphBackground(surface, data, growth, separate ? "..........." : ".........."))
        return;
    GraphFrameStyle style;
    style.base = GraphScreenFont();
    style.axisTitle = GraphGuiFont();
    style.caption = GraphGuiFont();
    style.dayLabelFormat = separate ? "%d\r\n%d" : "%d\n\r%d";
    DrawMealtimeGraph(surface, GraphMap::Screen(), data, style, 0);
}

void DrawMealtimeGraphPaper(Surface& surface, const PaperMetrics& paper, const ReportData& data) {
    if (data.stats.period.periodDays <= 0)
        return;
    const FontRestorer restore(surface);
    const bool separate = data.settings.separateMeals != 0;
    // The fonts follow the paper's width; on lying paper that would make
    // them too tall for the low room, where the two-line day labels, the
    // year caption and the legend rows must stand apart. There they follow
    // the width an upright sheet of that height would have.
    const int w = paper.width > paper.height ? paper.height * 202 / 289 : paper.width;
    GraphFrameStyle style;
    style.base = Font{"Arial", w * 12 / 800, 400};
    style.axisTitle = Font{"Arial", separate ? w * 20 / 900 : w * 20 / 800, 400};
    style.caption = style.axisTitle;
    style.axisTitleClip = Rect{60, 80, 80, 380};  // u 10.5 to 25.5
    style.dayLabelFormat = separate ? "%d\r\n%d" : "%d\n\r%d";
    style.dateLegend = separate ? "day\r\nmonth" : "Tag\n\rMonat";
    // On paper the year caption and the legend stand higher than the
    // screen's mapping would put them, the legend clear of the footer's room
    // and bed line (20 screen units are a fortieth of the paper): with
    // combined meals the caption by half a fortieth and the legend by one;
    // with the two legend rows of separate meals the caption by one and the
    // legend by half of one.
    style.yearCaptionShift = separate ? -20 : -10;
    DrawMealtimeGraph(surface, GraphMap::Paper(paper), data, style, separate ? -10 : -20);
}

}  // namespace dorvel::reports
