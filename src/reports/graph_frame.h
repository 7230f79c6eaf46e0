#pragma once

#include <string>
#include <string_view>

#include "report_data.h"
#include "surface.h"

namespace dorvel::reports {

// The two graph pages (day graph, mealtime graph) lay themselves out in
// screen units, pixels at the page's base size. On paper an x becomes
// x × W / 800 and a y becomes u = y / 20 + 6.5 fortieths of H from the top,
// so the plot (y 80 to 440) spans u 10.5 to 28.5.
class GraphMap {
  public:
    static GraphMap Screen() { return GraphMap(); }
    static GraphMap Paper(const PaperMetrics& paper);

    bool paper() const { return paper_; }
    const PaperMetrics& metrics() const { return metrics_; }

    // A whole screen x: on paper multiplied first, then divided.
    int X(int x) const;
    // A computed screen x, truncated toward zero after the scaling.
    int Xf(double x) const;
    // A screen y, truncated toward zero after the mapping.
    int Y(double y) const;
    Rect Box(int left, int top, int right, int bottom) const;

  private:
    bool paper_ = false;
    PaperMetrics metrics_;
};

// Plot geometry in screen units: a value v in mg/dL lies at 440 − 0.6 v,
// the period's days are N columns between x 120 and 720.
inline constexpr int kPlotLeft = 120;
inline constexpr int kPlotRight = 720;
inline constexpr int kPlotTop = 80;
inline constexpr int kPlotBottom = 440;
inline constexpr int kPlotTopValue = 600;  // mg/dL at the top of the plot
double PlotY(double mgdl);

// What differs between the frames of the two pages and their modes.
struct GraphFrameStyle {
    Font base;       // axis labels, date legend, day labels
    Font axisTitle;  // turned upward
    Font caption;    // the year caption
    // The box the turned axis title must stay in, screen units; the title
    // starts 5 units right of its left edge and 10 above its bottom.
    Rect axisTitleClip{60, 80, 80, 370};
    int yearCaptionShift = 0;  // screen units added to the caption's y
    std::string_view dateLegend = "Tag\n\rMonat";
    const char* dayLabelFormat = "%d\n\r%d";  // day of month above the month
};

// The screen fonts of the graph pages: the base font and the window
// system's user-interface font (axis title, caption, placeholder).
Font GraphScreenFont();
Font GraphGuiFont(int height = -12);

// "Jahr (%d)", or "Jahr (%d~%d)" when the period's days reach into two years.
std::string YearCaption(const AnalysisPeriod& period);

// The plot frame both graph pages share: the three range bands, the day
// grid, the axis labels and title, the year caption, the date legend and
// the day labels, all drawn through one mapping.
class GraphFrame {
  public:
    GraphFrame(Surface& surface, const GraphMap& map, const ReportData& data,
               const GraphFrameStyle& style);

    int days() const { return days_; }

    // The bands, grid, axis labels, axis title, year caption and date legend.
    void Draw();
    // The label under column `day` (0-based).
    void DrawDayLabel(int day);

    // Left edge of column `day` in screen units (integer arithmetic).
    int ColumnLeft(int day) const;
    // The screen x at `at` columns from the plot's left edge (0.5: the middle of the first).
    double ColumnX(double at) const;

    // Where a mean lands on the device: the point the lines join and the
    // circle around it (radius 5 screen units).
    struct Mark {
        int x = 0;
        int y = 0;
        Rect circle;
    };
    Mark MarkAt(double xf, int mgdl) const;

  private:
    void DrawBands();
    void DrawAxisLabels();
    void DrawAxisTitle();

    Surface& surface_;
    GraphMap map_;
    const ReportData& data_;
    GraphFrameStyle style_;
    int days_ = 0;
};

// The screen's white page (outlined, grown with the window) and, for a
// period not computed yet, the placeholder centred on it. True when the
// page has a period to draw.
bool DrawGraphBackground(Surface& surface, const ReportData& data, Growth growth,
                         std::string_view placeholder);

}  // namespace dorvel::reports
