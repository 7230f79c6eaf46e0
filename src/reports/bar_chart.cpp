#include "bar_chart.h"

#include <algorithm>
#include <cmath>

#include "report_text.h"
#include "store/calendar.h"
#include "text_fit.h"
#include "text_metrics.h"

namespace dorvel::reports {

BarCanvas BarCanvas::Paper(const PaperMetrics& paper) {
    BarCanvas canvas;
    canvas.paper_ = paper;
    return canvas;
}

int BarCanvas::X(int x) const {
    return paper_ ? x * paper_->width / 800 : x;
}

int BarCanvas::Y(double y) const {
    return paper_ ? paper_->Y(y / 20.0 + 6.5) : static_cast<int>(std::floor(y));
}

int BarCanvas::Fortieth(double u) const {
    return paper_ ? paper_->Y(u) : static_cast<int>(std::floor((u - 6.5) * 20.0));
}

Rect BarCanvas::Box(int left, double top, int right, double bottom) const {
    return Rect{X(left), Y(top), X(right), Y(bottom)};
}

void BarCanvas::Line(Surface& surface, int x1, double y1, int x2, double y2) const {
    surface.Line(X(x1), Y(y1), X(x2), Y(y2));
}

Font BarCanvas::ArialFont(int screenHeight, int paperSize) const {
    return Font{"Arial", paper_ ? paper_->width * paperSize / 800 : screenHeight, 400};
}

void BeginBarPage(Surface& surface, const BarCanvas& canvas, Growth growth) {
    surface.SetPen(Pen{kBlack, 1, PenStyle::Solid});
    surface.SetBrush(Brush{kWhite});
    surface.SetTextColor(kBlack);
    surface.SetBackground(kWhite, true);
    // Paper has no page rectangle: it would run through header and footer.
    if (!canvas.onPaper())
        surface.Rectangle(
            Rect{0, 0, kBaseScreenWidth + growth.width, kBaseScreenHeight + growth.height});
}

void DrawBar(Surface& surface, const BarCanvas& canvas, int left, int right, double top,
             Color fill) {
    surface.SetBrush(Brush{fill});
    surface.Rectangle(canvas.Box(left, top, right, 400));
    surface.SetBrush(Brush{kWhite});
}

Color RangeFill(RangeClass c) {
    switch (c) {
        case RangeClass::Low:
            return kLowFill;
        case RangeClass::Target:
            return kTargetFill;
        case RangeClass::High:
            return kHighFill;
    }
    return kWhite;
}

AxisTitle::AxisTitle(const BarCanvas& canvas, int dx, std::string_view text)
    : text_(text), font_(canvas.ArialFont(kGuiFontHeight, 20)) {
    const Rect clip = canvas.Box(60 + dx, 80, 80 + dx, 340);
    int x = canvas.X(65 + dx);
    const int y = canvas.Y(330);
    const int length = y - clip.top;
    if (CanMeasureText()) {
        // Turned text is drawn as given, so it is fitted here: across the
        // axis its lines are as thick as they are high.
        const double thickness = LineHeight(font_);
        if (x + thickness > clip.right)
            x = std::max(clip.left, clip.right - static_cast<int>(std::ceil(thickness)));
        const Font base = font_;
        for (double factor = 0.95; factor > 0.3 && (LineHeight(font_) > clip.right - x ||
                                                    MeasureText(font_, text_).width > length);
             factor -= 0.05)
            font_ = ScaledFont(base, factor);
        right_ = x + static_cast<int>(std::ceil(LineHeight(font_)));
    } else {
        right_ = clip.right;
    }
    box_ = Rect{x, y, x + length, y + (clip.right - x)};
}

void AxisTitle::Draw(Surface& surface) const {
    const FontRestorer restore(surface);
    surface.SetFont(font_);
    surface.Text(box_, text_, kAlignLeft | kAlignTop | kSingleLine, 900);
}

Font RowFont(const std::vector<BoxedText>& row, unsigned flags, const Font& font) {
    if (!CanMeasureText())
        return font;
    Font smallest = font;
    for (const BoxedText& label : row) {
        const Font fitted = FitText(label.box, NormaliseLineBreaks(label.text), flags, font).font;
        if (std::abs(fitted.height) < std::abs(smallest.height))
            smallest = fitted;
    }
    return smallest;
}

namespace {

std::string DateText(const Date& d, int dateFormat) {
    switch (dateFormat) {
        case 0:
            return Printf("%04d-%02d-%02d", d.year, d.month, d.day);
        case 1:
            return Printf("%02d/%02d/%04d", d.month, d.day, d.year);
        default:
            return Printf("%02d.%02d.%04d", d.day, d.month, d.year);
    }
}

}  // namespace

std::string PeriodLine(const AnalysisPeriod& period, int dateFormat) {
    const Date first = CivilFromDays(period.startDay + 1);
    return "(" + DateText(first, dateFormat) + " ~ " + DateText(period.end, dateFormat) + ")";
}

std::vector<double> SpreadCentres(const std::vector<double>& wanted, double spacing) {
    struct Run {
        size_t first;
        size_t count;
        double start;  // centre of its first label
    };
    std::vector<Run> runs;
    for (size_t i = 0; i < wanted.size(); ++i) {
        runs.push_back({i, 1, wanted[i]});
        while (runs.size() >= 2) {
            const Run& a = runs[runs.size() - 2];
            const Run& b = runs.back();
            if (a.start + static_cast<double>(a.count) * spacing <= b.start)
                break;
            Run merged{a.first, a.count + b.count, 0.0};
            for (size_t k = 0; k < merged.count; ++k)
                merged.start += wanted[merged.first + k] - static_cast<double>(k) * spacing;
            merged.start /= static_cast<double>(merged.count);
            runs.pop_back();
            runs.back() = merged;
        }
    }
    std::vector<double> centres(wanted.size());
    for (const Run& run : runs) {
        for (size_t k = 0; k < run.count; ++k)
            centres[run.first + k] = run.start + static_cast<double>(k) * spacing;
    }
    return centres;
}

}  // namespace dorvel::reports
