#include "day_graph_page.h"

#include <optional>

#include "graph_frame.h"

namespace dorvel::reports {

namespace {

// The day means joined by a line, each in a white circle. A day without
// readings keeps its label and column; the line runs across it.
void DrawDayGraph(Surface& surface, const GraphMap& map, const ReportData& data,
                  const GraphFrameStyle& style) {
    GraphFrame frame(surface, map, data, style);
    frame.Draw();
    const PerDayStats& perDay = data.stats.perDay;
    std::optional<GraphFrame::Mark> last;
    for (int i = 0; i < frame.days(); ++i) {
        frame.DrawDayLabel(i);
        const auto day = static_cast<size_t>(i);
        if (perDay.dayCount[day] <= 0)
            continue;
        const GraphFrame::Mark mark = frame.MarkAt(frame.ColumnX(i + 0.5), perDay.dayMean[day]);
        surface.SetPen(Pen{});
        if (last)
            surface.Line(last->x, last->y, mark.x, mark.y);
        last = mark;
        surface.SetBrush(Brush{kWhite});
        surface.Ellipse(mark.circle);
    }
}

}  // namespace

void DrawDayGraphScreen(Surface& surface, const ReportData& data, Growth growth) {
    if (!DrawGraphBackground(surface, data, growth, "........"))
        return;
    GraphFrameStyle style;
    style.base = GraphScreenFont();
    style.axisTitle = GraphGuiFont();
    style.caption = GraphGuiFont();
    DrawDayGraph(surface, GraphMap::Screen(), data, style);
}

void DrawDayGraphPaper(Surface& surface, const PaperMetrics& paper, const ReportData& data) {
    if (data.stats.period.periodDays <= 0)
        return;
    const FontRestorer restore(surface);
    const int w = paper.width;
    GraphFrameStyle style;
    style.base = Font{"Arial", w * 12 / 800, 400};
    style.axisTitle = Font{"Arial", w * 20 / 900, 400};
    style.caption = Font{"Arial", w * 20 / 800, 400};
    style.axisTitleClip = Rect{60, 210, 80, 370};  // u 17 to 25
    DrawDayGraph(surface, GraphMap::Paper(paper), data, style);
}

}  // namespace dorvel::reports
