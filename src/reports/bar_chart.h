#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/meal_slots.h"
#include "analysis/period.h"
#include "page_frame.h"
#include "surface.h"

namespace dorvel::reports {

// What the two bar graph pages share. Both are laid out once in screen
// pixels and drawn either on screen as given or on paper, where x becomes
// x × W / 800 and y lies at y / 20 + 6.5 fortieths of H below the top of
// the printable area.
class BarCanvas {
  public:
    static BarCanvas Screen() { return BarCanvas(); }
    static BarCanvas Paper(const PaperMetrics& paper);

    bool onPaper() const { return paper_.has_value(); }
    int X(int x) const;
    int Y(double y) const;
    // A position in fortieths of the paper height; on screen the layout's
    // own y for it.
    int Fortieth(double u) const;
    Rect Box(int left, double top, int right, double bottom) const;
    void Line(Surface& surface, int x1, double y1, int x2, double y2) const;
    // Arial `screenHeight` high on screen, W × `paperSize` / 800 on paper.
    Font ArialFont(int screenHeight, int paperSize) const;

  private:
    std::optional<PaperMetrics> paper_;
};

// The system's default user-interface font on screen (8 points at 96 dpi),
// which the axis titles and captions use there.
inline constexpr int kGuiFontHeight = -11;

// Pen, brush and text colours the pages start with, and the white page on screen.
void BeginBarPage(Surface& surface, const BarCanvas& canvas, Growth growth);

// A bar standing on the horizontal axis at y 400 up to `top`.
void DrawBar(Surface& surface, const BarCanvas& canvas, int left, int right, double top,
             Color fill);

Color RangeFill(RangeClass c);

// The axis title that runs upwards beside a vertical axis: it starts at
// (65 + dx, 330) and stays inside (60 + dx, 80) to (80 + dx, 340). Where its
// letters would leave that box it starts further left, down to the box's
// edge, and only then is set smaller.
class AxisTitle {
  public:
    AxisTitle(const BarCanvas& canvas, int dx, std::string_view text);
    void Draw(Surface& surface) const;
    // Where its letters end on the right, in device units.
    int right() const { return right_; }

  private:
    std::string text_;
    Font font_;
    Rect box_;  // top-left at the start; width along the text, height across it
    int right_ = 0;
};

// A text and the box it must stay in.
struct BoxedText {
    Rect box;
    std::string text;
};

// The font in which every text of a row of labels fits its box: the labels
// of a row keep one size, that of the one that needs the smallest.
Font RowFont(const std::vector<BoxedText>& row, unsigned flags, const Font& font);

// "(%s ~ %s)" with the first day of the period (the day after its start)
// and its last day, written "%Y-%m-%d", "%m/%d/%Y" or "%d.%m.%Y" for date
// format 0, 1 or 2.
std::string PeriodLine(const AnalysisPeriod& period, int dateFormat);

// Centres for labels that must stand at least `spacing` apart, each as near
// as that allows to the centre it wants (`wanted` ascending): a run of
// labels that would overlap is spread evenly about the mean of its wishes.
std::vector<double> SpreadCentres(const std::vector<double>& wanted, double spacing);

}  // namespace dorvel::reports
