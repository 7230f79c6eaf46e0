#include "graph_frame.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "report_text.h"
#include "text_fit.h"
#include "text_metrics.h"

namespace dorvel::reports {

GraphMap GraphMap::Paper(const PaperMetrics& paper) {
    GraphMap map;
    map.paper_ = true;
    map.metrics_ = paper;
    return map;
}

int GraphMap::X(int x) const {
    return paper_ ? x * metrics_.width / 800 : x;
}

int GraphMap::Xf(double x) const {
    return static_cast<int>(paper_ ? x * metrics_.width / 800.0 : x);
}

int GraphMap::Y(double y) const {
    return paper_ ? metrics_.Y(y / 20.0 + 6.5) : static_cast<int>(y);
}

Rect GraphMap::Box(int left, int top, int right, int bottom) const {
    return Rect{X(left), Y(top), X(right), Y(bottom)};
}

double PlotY(double mgdl) {
    return kPlotBottom - 0.6 * mgdl;
}

Font GraphScreenFont() {
    return Font{"Arial", 14, 400};
}

Font GraphGuiFont(int height) {
    return Font{"Arial", height, 400};
}

std::string YearCaption(const AnalysisPeriod& period) {
    // The start day itself is not shown: a period from 31 December shows
    // January only and names one year.
    const int first = CivilFromDays(period.startDay + 1).year;
    const int last = period.end.year;
    if (first == last)
        return Printf("Jahr (%d)", last);
    return Printf("Jahr (%d~%d)", first, last);
}

GraphFrame::GraphFrame(Surface& surface, const GraphMap& map, const ReportData& data,
                       const GraphFrameStyle& style)
    : surface_(surface),
      map_(map),
      data_(data),
      style_(style),
      days_(std::clamp(data.stats.period.periodDays, 0, kPeriodDaySlots - 1)) {}

int GraphFrame::ColumnLeft(int day) const {
    return kPlotLeft + day * (kPlotRight - kPlotLeft) / days_;
}

double GraphFrame::ColumnX(double at) const {
    return kPlotLeft + at * (kPlotRight - kPlotLeft) / days_;
}

GraphFrame::Mark GraphFrame::MarkAt(double xf, int mgdl) const {
    const double yf = PlotY(mgdl);
    Mark mark;
    mark.x = map_.Xf(xf);
    mark.y = map_.Y(yf);
    mark.circle = Rect{map_.Xf(xf - 5), map_.Y(yf - 5), map_.Xf(xf + 5), map_.Y(yf + 5)};
    return mark;
}

void GraphFrame::Draw() {
    surface_.SetTextColor(kBlack);
    surface_.SetBackground(kWhite, true);
    surface_.SetPen(Pen{});
    DrawBands();

    for (int i = 0; i < days_; ++i) {
        const int x = map_.X(ColumnLeft(i));
        surface_.Line(x, map_.Y(kPlotBottom), x, map_.Y(kPlotTop));
    }

    surface_.SetFont(style_.base);
    DrawAxisLabels();
    DrawAxisTitle();

    surface_.SetFont(style_.caption);
    const int shift = style_.yearCaptionShift;
    surface_.Text(map_.Box(kPlotLeft, 475 + shift, kPlotRight, 505 + shift),
                  YearCaption(data_.stats.analysisPeriod), kCentredLine);

    surface_.SetFont(style_.base);
    surface_.SetBrush(Brush{kWhite});
    surface_.Text(map_.Box(kPlotRight, kPlotBottom, 760, 480), style_.dateLegend,
                  kAlignHCenter | kAlignTop);
}

void GraphFrame::DrawBands() {
    // Limits outside the scale (the settings take any number) put their
    // band edge at the plot's edge rather than outside the plot.
    const TargetRange& range = data_.settings.overall;
    const auto edge = [&](int mgdl) { return map_.Y(PlotY(std::clamp(mgdl, 0, kPlotTopValue))); };
    const int left = map_.X(kPlotLeft);
    const int right = map_.X(kPlotRight);
    const int top = map_.Y(kPlotTop);
    const int bottom = map_.Y(kPlotBottom);
    const int high = edge(range.high);
    const int low = edge(range.low);
    surface_.SetBrush(Brush{kHighFill});
    surface_.Rectangle(Rect{left, top, right, high});
    surface_.SetBrush(Brush{kTargetFill});
    surface_.Rectangle(Rect{left, std::min(high, low), right, std::max(high, low)});
    surface_.SetBrush(Brush{kLowFill});
    surface_.Rectangle(Rect{left, low, right, bottom});
}

void GraphFrame::DrawAxisLabels() {
    const TargetRange& range = data_.settings.overall;
    const int unit = data_.settings.glucoseUnit;
    const int high = std::clamp(range.high, 0, kPlotTopValue);
    const int low = std::clamp(range.low, 0, high);
    // Each step down is truncated on its own, from the top label's box.
    const std::array<int, 4> shift = [&] {
        std::array<int, 4> s{};
        s[1] = static_cast<int>((kPlotTopValue - high) * 0.6);
        s[2] = s[1] + static_cast<int>((high - low) * 0.6);
        s[3] = s[2] + static_cast<int>(low * 0.6);
        return s;
    }();
    const std::array<std::string, 4> texts = {GlucoseText(kPlotTopValue, unit),
                                              GlucoseText(range.high, unit),
                                              GlucoseText(range.low, unit), "0"};
    std::array<Rect, 4> boxes{};
    for (size_t k = 0; k < 4; ++k)
        boxes[k] = map_.Box(90, 70 + shift[k], 115, 90 + shift[k]);

    // Limits close to each other, or to the ends of the scale, would put
    // their labels over each other: the two limit labels move apart as
    // little as needed, each by half, and clear of the top and zero labels,
    // which stay.
    if (CanMeasureText()) {
        const int gap = static_cast<int>(std::ceil(LineHeight(surface_.font())));
        std::array<int, 4> top{};
        for (size_t k = 0; k < 4; ++k)
            top[k] = boxes[k].top;
        if (top[2] - top[1] < gap) {
            top[1] = (top[1] + top[2] - gap) / 2;
            top[2] = top[1] + gap;
        }
        if (top[1] < top[0] + gap) {
            top[1] = top[0] + gap;
            top[2] = std::max(top[2], top[1] + gap);
        }
        if (top[2] > top[3] - gap) {
            top[2] = top[3] - gap;
            top[1] = std::min(top[1], top[2] - gap);
        }
        for (size_t k = 1; k <= 2; ++k) {
            boxes[k].bottom += top[k] - boxes[k].top;
            boxes[k].top = top[k];
        }
    }
    for (size_t k = 0; k < 4; ++k)
        surface_.Text(boxes[k], texts[k], kAlignRight | kAlignVCenter | kSingleLine);
}

void GraphFrame::DrawAxisTitle() {
    const std::string_view text =
        data_.settings.glucoseUnit == 1 ? "BLUTZUCKER [mmol/L]" : "BLUTZUCKER [mg/dL]";
    const Rect& c = style_.axisTitleClip;
    const Rect clip = map_.Box(c.left, c.top, c.right, c.bottom);
    const int startX = map_.X(c.left + 5);
    const int startY = map_.Y(c.bottom - 10);
    const int length = startY - clip.top;
    // Turned text is drawn as given, so it is fitted here: it stays inside
    // its box, first moving toward the box's left edge, then set smaller.
    Font font = style_.axisTitle;
    int x = startX;
    if (CanMeasureText()) {
        for (int twentieths = 20; twentieths >= 10; --twentieths) {
            font = twentieths == 20 ? style_.axisTitle
                                    : ScaledFont(style_.axisTitle, twentieths / 20.0);
            const int thickness = static_cast<int>(std::ceil(LineHeight(font)));
            x = std::clamp(clip.right - thickness, clip.left, startX);
            if (x + thickness <= clip.right && MeasureText(font, text).width <= length)
                break;
        }
    }
    const FontRestorer restore(surface_);
    surface_.SetFont(font);
    surface_.Text(Rect{x, startY, x + length, startY + clip.right - x}, text,
                  kAlignLeft | kAlignTop | kSingleLine, 900);
}

void GraphFrame::DrawDayLabel(int day) {
    const Date date = CivilFromDays(data_.stats.analysisPeriod.startDay + day + 1);
    surface_.SetFont(style_.base);
    surface_.Text(map_.Box(ColumnLeft(day), kPlotBottom, ColumnLeft(day + 1), 480),
                  Printf(style_.dayLabelFormat, date.day, date.month), kAlignHCenter | kAlignTop);
}

bool DrawGraphBackground(Surface& surface, const ReportData& data, Growth growth,
                         std::string_view placeholder) {
    const Rect page{0, 0, kBaseScreenWidth + growth.width, kBaseScreenHeight + growth.height};
    surface.SetFont(GraphScreenFont());
    surface.SetPen(Pen{});
    surface.SetBrush(Brush{kWhite});
    surface.Rectangle(page);
    surface.SetTextColor(kBlack);
    surface.SetBackground(kWhite, true);
    if (data.stats.period.periodDays > 0)
        return true;
    surface.SetFont(GraphGuiFont(30));
    surface.Text(page, placeholder, kCentredLine);
    return false;
}

}  // namespace dorvel::reports
