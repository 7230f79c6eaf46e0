#include "mealtime_bar_page.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "analysis/statistics.h"
#include "bar_chart.h"
#include "report_text.h"
#include "text_metrics.h"

namespace dorvel::reports {

namespace {

// Where a value in mg/dL lies on the vertical axis: 0 at y 400, 600 at y
// 100. An average above the axis (only a hand-edited file holds one) stands
// at its top rather than running into the page header.
double ValueY(int mgdl) {
    return 400.0 - 0.5 * std::clamp(mgdl, 0, 600);
}

struct SlotBar {
    int left = 0;
    int right = 0;
    int count = 0;
    int mean = 0;  // mg/dL; 0 without readings
    TargetRange range;
    std::string head;  // the slot label
    int labelLeft = 0;
    int labelRight = 0;
};

// The slot label: the slot's name and its times, from the start of the
// slot to the minute before the next one starts. The separated layout
// breaks the times over two lines.
std::string SlotHead(std::string_view name, const UserSettings& s, int from, int to,
                     bool separated) {
    const auto start = [&](int k) { return s.slotStart[static_cast<size_t>(k - 1)]; };
    const std::string a = ClockText(start(from), s.timeFormat);
    const std::string b = ClockText(MinuteBefore(start(to)), s.timeFormat);
    return std::string(name) +
           (separated ? "\r\n(" + a + "  \r\n~ " + b + ")" : "\r\n(" + a + " ~ " + b + ")");
}

std::vector<SlotBar> CombinedBars(const ReportData& data) {
    static constexpr std::array<std::string_view, 5> names = {"Schlaf", "Frühstück", "Mittagessen",
                                                              "Abendessen", "Abend"};
    static constexpr std::array<int, 6> starts = {1, 2, 4, 6, 8, 1};
    const UserSettings& s = data.settings;
    const PerSlotStats& p = data.stats.perSlot;
    std::vector<SlotBar> bars;
    for (int k = 0; k < 5; ++k) {
        const auto i = static_cast<size_t>(k);
        bars.push_back({125 + 118 * k, 233 + 118 * k, p.combinedCount[i], p.combinedMean[i],
                        s.overall, SlotHead(names[i], s, starts[i], starts[i + 1], false),
                        120 + 118 * k, 238 + 118 * k});
    }
    return bars;
}

std::vector<SlotBar> SeparatedBars(const ReportData& data) {
    static constexpr std::array<std::string_view, 8> names = {"Schlaf",
                                                              "vor\r\nFrühstück",
                                                              "nach\r\nFrühstück",
                                                              "vor\r\nMittagessen",
                                                              "nach\r\nMittagessen",
                                                              "vor\r\nAbendessen",
                                                              "nach\r\nAbendessen",
                                                              "Abend"};
    // Slot label boxes under their bars: the second starts one unit right of
    // the first's end, the last three right of the one before it. On paper
    // too, so that no label is centred off its bar.
    static constexpr std::array<int, 9> edges = {120, 196, 269, 342, 415, 488, 561, 634, 710};
    const UserSettings& s = data.settings;
    const PerSlotStats& p = data.stats.perSlot;
    std::vector<SlotBar> bars(8);
    for (int k = 0; k < 8; ++k) {
        const auto i = static_cast<size_t>(k);
        SlotBar& bar = bars[i];
        if (k == 0 || k == 7) {
            // Schlaf and Abend are not split by meals.
            const size_t slot = k == 0 ? 0 : 4;
            bar.left = k == 0 ? 125 : 639;
            bar.right = k == 0 ? 191 : 705;
            bar.count = p.combinedCount[slot];
            bar.mean = p.combinedMean[slot];
            bar.range = s.overall;
        } else {
            const auto slot = static_cast<size_t>(k - 1);
            bar.left = 201 + 73 * (k - 1);
            bar.right = 264 + 73 * (k - 1);
            bar.count = p.separateCount[slot];
            bar.mean = p.separateMean[slot];
            bar.range = k % 2 == 1 ? s.beforeMeal : s.afterMeal;
        }
        bar.head = SlotHead(names[i], s, k + 1, k == 7 ? 1 : k + 2, true);
        bar.labelLeft = k == 1 ? 197 : (k == 7 ? 637 : edges[i]);
        bar.labelRight = edges[i + 1];
    }
    return bars;
}

std::string BarLabel(const SlotBar& bar, RangeClass c, int unit, bool separated) {
    const std::string gap = separated ? "\r\n" : " ";
    if (bar.count == 0)
        return "---" + gap + "(---)";
    return GlucoseText(bar.mean, unit) + gap + "(" + std::string(RangeClassText(c)) + ")";
}

struct ValueLabel {
    int value;      // mg/dL
    double centre;  // where it wants to stand, in layout units
};

// The value labels from top to bottom: the axis top, the range limits and 0.
std::vector<ValueLabel> ValueLabels(const UserSettings& s, bool separated) {
    std::vector<ValueLabel> labels = {{600, 100}};
    if (!separated) {
        // Each box moves down from the one above by the truncated distance.
        const int high = std::clamp(s.overall.high, 0, 600);
        const int low = std::clamp(s.overall.low, 0, 600);
        double top = 90 + std::floor((600 - high) * 0.5);
        labels.push_back({high, top + 10});
        top += std::floor((high - low) * 0.5);
        labels.push_back({low, top + 10});
        top += std::floor(low * 0.5);
        labels.push_back({0, top + 10});
    } else {
        for (int limit : {s.afterMeal.high, s.beforeMeal.high, s.afterMeal.low, s.beforeMeal.low})
            labels.push_back({std::clamp(limit, 0, 600), ValueY(limit)});
        labels.push_back({0, 400});
    }
    // Top to bottom; two equal limits share one label.
    std::stable_sort(labels.begin(), labels.end(),
                     [](const ValueLabel& a, const ValueLabel& b) { return a.centre < b.centre; });
    labels.erase(
        std::unique(labels.begin(), labels.end(),
                    [](const ValueLabel& a, const ValueLabel& b) { return a.value == b.value; }),
        labels.end());
    return labels;
}

void DrawValueLabels(Surface& surface, const BarCanvas& c, const UserSettings& s, bool separated,
                     int left) {
    const std::vector<ValueLabel> labels = ValueLabels(s, separated);
    std::vector<double> wanted;
    for (const ValueLabel& label : labels)
        wanted.push_back((c.Y(label.centre - 10) + c.Y(label.centre + 10)) / 2.0);
    // Limits close together would print over each other: they keep one
    // line's distance and stay as near their ticks as that allows.
    const double line = CanMeasureText() ? EmHeight(surface.font()) * 1.15 : 0.0;
    const std::vector<double> centres = SpreadCentres(wanted, line);
    const double half = (c.Y(120) - c.Y(100)) / 2.0;
    std::vector<BoxedText> row;
    for (size_t i = 0; i < labels.size(); ++i) {
        const Rect box{left, static_cast<int>(std::lround(centres[i] - half)), c.X(115),
                       static_cast<int>(std::lround(centres[i] + half))};
        row.push_back(
            {box, labels[i].value == 0 ? "0" : GlucoseText(labels[i].value, s.glucoseUnit)});
    }
    constexpr unsigned kValueFlags = kAlignRight | kAlignVCenter | kSingleLine;
    const FontRestorer restore(surface);
    surface.SetFont(RowFont(row, kValueFlags, surface.font()));
    for (const BoxedText& label : row)
        surface.Text(label.box, label.text, kValueFlags);
}

void DrawPage(Surface& surface, const BarCanvas& c, const ReportData& data, Growth growth) {
    const FontRestorer restore(surface);
    const UserSettings& s = data.settings;
    const bool separated = s.separateMeals != 0;
    BeginBarPage(surface, c, growth);
    const Font base = c.ArialFont(14, 11);
    surface.SetFont(base);

    c.Line(surface, 120, 100, 120, 400);
    c.Line(surface, 120, 400, 710, 400);
    const std::vector<int> limits = separated
                                        ? std::vector<int>{s.afterMeal.high, s.beforeMeal.high,
                                                           s.afterMeal.low, s.beforeMeal.low}
                                        : std::vector<int>{s.overall.high, s.overall.low};
    c.Line(surface, 115, 100, 125, 100);
    for (int limit : limits)
        c.Line(surface, 115, ValueY(limit), 125, ValueY(limit));
    const std::vector<int> ticks = separated
                                       ? std::vector<int>{196, 269, 342, 415, 488, 561, 634, 710}
                                       : std::vector<int>{238, 356, 474, 592, 710};
    for (int x : ticks)
        c.Line(surface, x, 395, x, 405);

    const std::vector<SlotBar> bars = separated ? SeparatedBars(data) : CombinedBars(data);
    // A two-line label stands on its bar, however tall its box is on paper.
    const unsigned barFlags = separated ? kAlignHCenter | kAlignBottom : kCentredLine;
    std::vector<BoxedText> barLabels;
    std::vector<RangeClass> classes;
    for (const SlotBar& bar : bars) {
        classes.push_back(RangeClassOf(bar.mean, bar.range));
        const double top = ValueY(bar.mean);
        barLabels.push_back({c.Box(bar.left, top - (separated ? 35 : 25), bar.right, top - 5),
                             BarLabel(bar, classes.back(), s.glucoseUnit, separated)});
    }
    surface.SetFont(RowFont(barLabels, barFlags, base));
    for (size_t i = 0; i < bars.size(); ++i) {
        DrawBar(surface, c, bars[i].left, bars[i].right, ValueY(bars[i].mean),
                RangeFill(classes[i]));
        surface.Text(barLabels[i].box, barLabels[i].text, barFlags);
    }

    surface.SetFont(base);
    const AxisTitle title(c, 0, s.glucoseUnit == 1 ? "BLUTZUCKER [mmol/L]" : "BLUTZUCKER [mg/dL]");
    DrawValueLabels(surface, c, s, separated, std::max(c.X(80), title.right()));

    const double labelBottom = separated ? 485 : 445;
    std::vector<BoxedText> slotLabels;
    for (const SlotBar& bar : bars) {
        slotLabels.push_back({c.onPaper() ? Rect{c.X(bar.labelLeft), c.Fortieth(26.75),
                                                 c.X(bar.labelRight), c.Fortieth(28.75)}
                                          : c.Box(bar.labelLeft, 405, bar.labelRight, labelBottom),
                              bar.head});
    }
    constexpr unsigned kSlotFlags = kAlignHCenter | kAlignTop;
    surface.SetFont(RowFont(slotLabels, kSlotFlags, base));
    for (const BoxedText& label : slotLabels)
        surface.Text(label.box, label.text, kSlotFlags);

    title.Draw(surface);

    surface.SetFont(c.ArialFont(kGuiFontHeight, 20));
    const Rect captionBox = c.onPaper()
                                ? Rect{c.X(120), c.Fortieth(28.75), c.X(710), c.Fortieth(29.75)}
                            : separated ? c.Box(120, 485, 710, 505)
                                        : c.Box(120, 445, 710, 465);
    surface.Text(captionBox,
                 separated ? "Monatsübersicht nach Tageszeiten" : "Mahlzeit - MonatsÜbersicht",
                 kCentredLine);
    // On screen the separated layout's four-line slot labels reach into the
    // line's place above the caption, so it goes below the caption there.
    const Rect lineBox = c.onPaper()
                             ? Rect{c.X(120), c.Fortieth(29.75), c.X(710), c.Fortieth(30.75)}
                         : separated ? c.Box(120, 505, 710, 525)
                                     : c.Box(120, 465, 710, 485);
    surface.Text(lineBox, PeriodLine(data.stats.analysisPeriod, s.dateFormat), kCentredLine);
}

}  // namespace

void DrawMealtimeBarScreen(Surface& surface, const ReportData& data, Growth growth) {
    DrawPage(surface, BarCanvas::Screen(), data, growth);
}

void DrawMealtimeBarPaper(Surface& surface, const PaperMetrics& paper, const ReportData& data) {
    DrawPage(surface, BarCanvas::Paper(paper), data, Growth{});
}

}  // namespace dorvel::reports
