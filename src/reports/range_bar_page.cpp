#include "range_bar_page.h"

#include <algorithm>
#include <array>
#include <vector>

#include "analysis/statistics.h"
#include "bar_chart.h"
#include "report_text.h"

namespace dorvel::reports {

namespace {

// The period chart is the overall chart moved right.
constexpr int kPeriodChartShift = 340;

struct ClassBar {
    int left;
    int right;
    int labelLeft;  // the class label's box, 83 wide
    Color fill;
};
constexpr std::array<ClassBar, 3> kClassBars = {
    {{120, 193, 115, kLowFill}, {213, 287, 209, kTargetFill}, {307, 370, 302, kHighFill}}};

struct ChartCounts {
    std::array<int, 3> count{};  // low, target, high

    // Control readings never enter a class, so they stay out of the total too.
    int total() const { return count[0] + count[1] + count[2]; }
};

// The counts that go with the meals setting: judged with the overall range,
// or with the range of each reading's slot when meals are shown separately.
ChartCounts OverallCounts(const Statistics& stats, bool separateMeals) {
    const OverallStats& o = stats.overall;
    if (separateMeals)
        return {{o.overallSlotLowCount, o.overallSlotTargetCount, o.overallSlotHighCount}};
    return {{o.overallLowCount, o.overallTargetCount, o.overallHighCount}};
}

ChartCounts PeriodCounts(const Statistics& stats, bool separateMeals) {
    const PeriodStats& p = stats.period;
    if (separateMeals)
        return {{p.periodSlotLowCount, p.periodSlotTargetCount, p.periodSlotHighCount}};
    return {{p.periodLowCount, p.periodTargetCount, p.periodHighCount}};
}

// The smallest multiple of 20 above the total: no bar reaches the top tick.
int ScaleOf(int total) {
    return total + 20 - (total + 20) % 20;
}

std::string CountLabel(int count, int total) {
    if (total < 1)
        return "0 (---)";
    return Printf("%d (%d%%)", count, static_cast<int>(static_cast<int64_t>(count) * 100 / total));
}

std::array<std::string, 3> ClassLabels(const UserSettings& s, bool periodChart) {
    const auto mmol = [](int mgdl) { return OneDecimal(ToMmolPerL(mgdl)); };
    const auto mmol2 = [](int mgdl) { return TwoDecimals(ToMmolPerL(mgdl)); };
    const TargetRange& b = s.beforeMeal;
    const TargetRange& a = s.afterMeal;
    const TargetRange& o = s.overall;
    if (s.separateMeals == 0) {
        if (s.glucoseUnit == 1)
            return {"Niedrig\r\n0 ~ " + mmol(o.low - 1),
                    "Zielbereich\r\n" + mmol(o.low) + " ~ " + mmol(o.high),
                    "Hoch\r\n" + mmol(o.high + 1) + " ~ 33.3"};
        return {Printf("Niedrig\r\n0 ~ %d", o.low - 1),
                Printf("Zielbereich\r\n%d ~ %d", o.low, o.high),
                Printf("Hoch\r\n%d ~ 600", o.high + 1)};
    }
    if (s.glucoseUnit == 1) {
        const std::string after = periodChart ? "(" + mmol(a.low) + "~" + mmol(a.high) + ")"
                                              : "(" + mmol(a.low) + ")~(" + mmol(a.high) + ")";
        return {"Niedrig\r\n0~" + mmol2(b.low - 1) + "(" + mmol2(a.low - 1) + ")",
                "Zielbereich\r\n" + mmol(b.low) + " ~ " + mmol(b.high) + "\r\n" + after,
                "Hoch\r\n" + mmol2(b.high + 1) + "(" + mmol2(a.high + 1) + ")~33.3"};
    }
    return {Printf("Niedrig\r\n0~%d(%d)", b.low - 1, a.low - 1),
            Printf("Zielbereich\r\n%d ~ %d\r\n(%d ~ %d)", b.low, b.high, a.low, a.high),
            Printf("Hoch\r\n%d(%d)~600", b.high + 1, a.high + 1)};
}

void DrawChart(Surface& surface, const BarCanvas& c, const ReportData& data, bool periodChart) {
    const UserSettings& s = data.settings;
    const bool separate = s.separateMeals != 0;
    const ChartCounts counts =
        periodChart ? PeriodCounts(data.stats, separate) : OverallCounts(data.stats, separate);
    const int total = counts.total();
    const int scale = ScaleOf(total);
    const int dx = periodChart ? kPeriodChartShift : 0;
    const Font base = c.ArialFont(12, 12);
    surface.SetFont(base);

    c.Line(surface, 110 + dx, 100, 110 + dx, 400);
    c.Line(surface, 110 + dx, 400, 380 + dx, 400);
    for (int y : {100, 175, 250, 325})
        c.Line(surface, 105 + dx, y, 115 + dx, y);
    for (int x : {203, 297, 380})
        c.Line(surface, x + dx, 395, x + dx, 405);

    std::vector<BoxedText> countLabels;
    std::array<int, 3> heights{};
    for (size_t k = 0; k < kClassBars.size(); ++k) {
        const ClassBar& bar = kClassBars[k];
        heights[k] = static_cast<int>(300LL * counts.count[k] / scale);
        countLabels.push_back(
            {c.Box(bar.left + dx, 375 - heights[k], bar.right + dx, 395 - heights[k]),
             CountLabel(counts.count[k], total)});
    }
    surface.SetFont(RowFont(countLabels, kCentredLine, base));
    for (size_t k = 0; k < kClassBars.size(); ++k) {
        const ClassBar& bar = kClassBars[k];
        DrawBar(surface, c, bar.left + dx, bar.right + dx, 400 - heights[k], bar.fill);
        surface.Text(countLabels[k].box, countLabels[k].text, kCentredLine);
    }

    // The value labels keep clear of the axis title beside them.
    const AxisTitle title(c, dx, "Anzahl der Messungen");
    const int labelLeft = std::max(c.X(70 + dx), title.right());
    const std::array<int, 4> values = {scale, 3 * scale / 4, scale / 2, scale / 4};
    std::vector<BoxedText> valueLabels;
    for (size_t i = 0; i < values.size(); ++i) {
        const int top = 90 + 75 * static_cast<int>(i);
        const Rect box = c.Box(0, top, 105 + dx, top + 20);
        valueLabels.push_back(
            {Rect{labelLeft, box.top, box.right, box.bottom}, Printf("%d", values[i])});
    }
    constexpr unsigned kValueFlags = kAlignRight | kAlignVCenter | kSingleLine;
    surface.SetFont(RowFont(valueLabels, kValueFlags, base));
    for (const BoxedText& label : valueLabels)
        surface.Text(label.box, label.text, kValueFlags);

    const std::array<std::string, 3> labels = ClassLabels(s, periodChart);
    std::vector<BoxedText> classLabels;
    for (size_t k = 0; k < labels.size(); ++k) {
        const int left = kClassBars[k].labelLeft + dx;
        classLabels.push_back(
            {c.onPaper() ? Rect{c.X(left), c.Fortieth(26.75), c.X(left + 83), c.Fortieth(28.25)}
                         : c.Box(left, 405, left + 83, 445),
             labels[k]});
    }
    constexpr unsigned kClassFlags = kAlignHCenter | kAlignTop;
    surface.SetFont(RowFont(classLabels, kClassFlags, base));
    for (const BoxedText& label : classLabels)
        surface.Text(label.box, label.text, kClassFlags);

    title.Draw(surface);

    surface.SetFont(c.ArialFont(kGuiFontHeight, periodChart ? 13 : 12));
    const std::string unit = s.glucoseUnit == 1 ? "mmol/L" : "mg/dL";
    const std::string caption =
        "BLUTZUCKER [" + unit + "] - " +
        (periodChart ? "Monatsübersicht" : "Gesamtübersicht aller Messwerte");
    const int captionLeft = periodChart ? 400 : 50;
    const int captionRight = periodChart ? 720 : (c.onPaper() ? 390 : 400);
    const Rect captionBox = c.onPaper() ? Rect{c.X(captionLeft), c.Fortieth(28.25),
                                               c.X(captionRight), c.Fortieth(30.25)}
                                        : c.Box(captionLeft, 445, captionRight, 465);
    surface.Text(captionBox, caption, kCentredLine);
    if (periodChart) {
        const Rect lineBox = c.onPaper()
                                 ? Rect{c.X(450), c.Fortieth(30.25), c.X(720), c.Fortieth(31.25)}
                                 : c.Box(400, 465, 720, 485);
        surface.Text(lineBox, PeriodLine(data.stats.analysisPeriod, s.dateFormat), kCentredLine);
    }
    surface.SetFont(base);
}

void DrawPage(Surface& surface, const BarCanvas& canvas, const ReportData& data, Growth growth) {
    const FontRestorer restore(surface);
    BeginBarPage(surface, canvas, growth);
    DrawChart(surface, canvas, data, false);
    DrawChart(surface, canvas, data, true);
}

}  // namespace

void DrawRangeBarScreen(Surface& surface, const ReportData& data, Growth growth) {
    DrawPage(surface, BarCanvas::Screen(), data, growth);
}

void DrawRangeBarPaper(Surface& surface, const PaperMetrics& paper, const ReportData& data) {
    DrawPage(surface, BarCanvas::Paper(paper), data, Growth{});
}

}  // namespace dorvel::reports
