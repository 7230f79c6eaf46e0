#include "glucose_profile_page.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "analysis/glucose_profile.h"
#include "report_text.h"

namespace dorvel::reports {

namespace {

// The page is laid out on a grid of 790 x 630 units; the screen maps it onto
// the window (stretched by its growth), the paper onto the room between
// header and footer.
constexpr double kGridWidth = 790;
constexpr double kGridHeight = 630;

// The two ranges beyond low and high, deeper than the shared range colours.
constexpr Color kVeryLowFill{255, 220, 64};
constexpr Color kVeryHighFill{255, 128, 128};
constexpr Color kOuterBand{205, 218, 242};  // 5th to 95th percentile
constexpr Color kInnerBand{125, 155, 215};  // 25th to 75th percentile
constexpr Color kMedianColor{0, 40, 140};
constexpr Color kTargetEdge{0, 150, 0};
constexpr Color kEmptyCount{140, 140, 140};

constexpr int kPlotTop = 600;  // mg/dL, the top of every glucose scale

constexpr unsigned kRightLine = kAlignRight | kAlignVCenter | kSingleLine;

struct Canvas {
    int left = 0;
    int top = 0;
    double sx = 1;  // device units per grid unit
    double sy = 1;
    double fontScale = 1;

    int X(double x) const { return left + Dx(x); }
    int Y(double y) const { return top + Dy(y); }
    int Dx(double d) const { return static_cast<int>(std::lround(d * sx)); }
    int Dy(double d) const { return static_cast<int>(std::lround(d * sy)); }
    Rect R(double l, double t, double r, double b) const { return Rect{X(l), Y(t), X(r), Y(b)}; }
    Font F(int size, int weight = 400) const {
        return Font{"Arial", std::max(1, static_cast<int>(std::lround(size * fontScale))), weight};
    }
    // Width 1 is the device's thinnest line, as the frame draws its rules.
    Pen P(Color color, double width = 1) const {
        const int w = width <= 1 ? 1 : static_cast<int>(std::lround(width * fontScale));
        return Pen{color, std::max(1, w), PenStyle::Solid};
    }
};

// ---- texts ----

std::string UnitName(int unit) {
    return unit == 1 ? "mmol/L" : "mg/dL";
}

std::string DateText(const Date& d, int dateFormat) {
    if (dateFormat == 0)
        return Printf("%04d.%02d.%02d", d.year, d.month, d.day);
    if (dateFormat == 1)
        return Printf("%02d.%02d.%04d", d.month, d.day, d.year);
    return Printf("%02d.%02d.%04d", d.day, d.month, d.year);
}

std::string Tenths(double value) {
    return OneDecimal(static_cast<double>(TenthsHalfUp(value)) / 10.0);
}

constexpr std::string_view kNone = "---";

struct RangeRow {
    ConsensusRange range;
    std::string_view name;
    std::string_view mgdl;
    std::string_view mmol;
    Color fill;

    std::string_view Range(int unit) const { return unit == 1 ? mmol : mgdl; }
};

// Top to bottom, as the ranges stack in the bar.
constexpr std::array<RangeRow, kConsensusRangeCount> kRangeRows = {{
    {ConsensusRange::VeryHigh, "Sehr hoch", "> 250", "> 13.9", kVeryHighFill},
    {ConsensusRange::High, "Hoch", "181–250", "10.1–13.9", kHighFill},
    {ConsensusRange::Target, "Zielbereich", "70–180", "3.9–10.0", kTargetFill},
    {ConsensusRange::Low, "Niedrig", "54–69", "3.0–3.8", kLowFill},
    {ConsensusRange::VeryLow, "Sehr niedrig", "< 54", "< 3.0", kVeryLowFill},
}};

const RangeRow& RowOf(ConsensusRange range) {
    return *std::find_if(kRangeRows.begin(), kRangeRows.end(),
                         [range](const RangeRow& row) { return row.range == range; });
}

// The target's edges as the plot marks them, in the unit's own words.
constexpr int kTargetLow = 70;
constexpr int kTargetHigh = 180;
struct TargetEdges {
    std::string_view low;
    std::string_view high;
};
const TargetEdges& EdgesOf(int unit) {
    static constexpr TargetEdges kMgDl{"70", "180"};
    static constexpr TargetEdges kMmol{"3.9", "10.0"};
    return unit == 1 ? kMmol : kMgDl;
}

// A cell: outline, fill and text, the text kept inside.
void Cell(Surface& s, const Rect& box, std::string_view text, Color fill, unsigned flags,
          int inset = 0) {
    s.SetBrush(Brush{fill});
    s.Rectangle(box);
    s.SetBackground(fill, false);
    const Rect inner{box.left + inset, box.top, box.right - inset, box.bottom};
    s.Text(inner, text, flags);
}

// ---- the key figures ----

void DrawKeyFigures(Surface& s, const Canvas& c, const GlucoseProfile& g, int unit) {
    constexpr double kLeft = 0, kSplit = 235, kRight = 380, kTop = 32, kHeading = 24, kRow = 26,
                     kTallRow = 40;
    const int inset = std::max(1, c.Dx(6));
    s.SetPen(c.P(kBlack));
    s.SetTextColor(kBlack);
    s.SetFont(c.F(15, 700));
    Cell(s, c.R(kLeft, kTop, kRight, kTop + kHeading), "Kennzahlen", kSilver, kLeftLine, inset);

    std::string cv(kNone);
    bool unstable = false;
    if (g.cv) {
        cv = Tenths(*g.cv) + " %";
        // Judged on the figure as shown, so that 36.0 % is never marked.
        unstable = TenthsHalfUp(*g.cv) > 360;
        if (unstable)
            cv += " – instabil";
    }
    std::string gmi(kNone);
    if (g.gmi)
        gmi = Tenths(*g.gmi) + " % (" + std::to_string(RoundHalfUp(*g.GmiMmolPerMol())) +
              " mmol/mol)";
    const std::string mean =
        g.mean ? GlucoseText(static_cast<int>(RoundHalfUp(*g.mean)), unit) + " " + UnitName(unit)
               : std::string(kNone);
    constexpr size_t kCvRow = 4;
    const std::array<std::pair<std::string, std::string>, 6> rows = {{
        {"Messwerte im Zeitraum", std::to_string(g.readingCount)},
        {"Tage mit Messwerten", Printf("%d von %d", g.readingDays, g.periodDays)},
        {"Messwerte pro Tag", Tenths(g.readingsPerDay)},
        {"Mittelwert", mean},
        {"Variationskoeffizient (CV)", cv},
        {"Geschätzter HbA1c (GMI, aus Messwerten)", gmi},
    }};
    // The indicator's label takes two lines.
    double top = kTop + kHeading;
    for (size_t i = 0; i < rows.size(); ++i) {
        const double bottom = top + (i + 1 == rows.size() ? kTallRow : kRow);
        s.SetFont(c.F(14));
        Cell(s, c.R(kLeft, top, kSplit, bottom), rows[i].first, kWhite,
             i + 1 == rows.size() ? kAlignLeft | kAlignVCenter | kWordBreak : kLeftLine, inset);
        const bool marked = i == kCvRow && unstable;
        s.SetFont(c.F(14, marked ? 700 : 400));
        Cell(s, c.R(kSplit, top, kRight, bottom), rows[i].second, marked ? kHighFill : kWhite,
             kCentredLine, inset);
        top = bottom;
    }
    s.SetFont(c.F(12));
    s.SetBackground(kWhite, false);
    s.Text(c.R(kLeft, top + 6, kRight, 292),
           "GMI: Schätzung aus den Messwerten des Messgeräts; ersetzt keinen Laborwert und wird "
           "erst bei Messwerten an mindestens 14 Tagen angegeben. CV über 36 %: instabil.",
           kTopBlock);
}

// ---- the ranges ----

void DrawRanges(Surface& s, const Canvas& c, const GlucoseProfile& g, int unit) {
    constexpr double kLeft = 410, kRight = 790, kTop = 32, kHeading = 24;
    constexpr double kBarLeft = 425, kBarRight = 475, kBarTop = 66, kBarBottom = 282;
    constexpr double kTableLeft = 490, kHeaderBottom = 90;
    constexpr std::array<double, 5> kColumns = {kTableLeft, 590, 680, 742, kRight};
    const int inset = std::max(1, c.Dx(4));
    s.SetPen(c.P(kBlack));
    s.SetTextColor(kBlack);
    s.SetFont(c.F(15, 700));
    Cell(s, c.R(kLeft, kTop, kRight, kTop + kHeading), "Messwerte je Bereich", kSilver, kLeftLine,
         std::max(1, c.Dx(6)));

    // The bar, very high on top; each range's share of its height from the
    // running count, so the parts always fill it exactly.
    const Rect bar = c.R(kBarLeft, kBarTop, kBarRight, kBarBottom);
    s.SetBrush(Brush{kWhite});
    s.Rectangle(bar);
    if (g.readingCount > 0) {
        int64_t below = 0;
        const int height = bar.bottom - bar.top;
        for (auto row = kRangeRows.rbegin(); row != kRangeRows.rend(); ++row) {
            const int32_t count = g.RangeCount(row->range);
            if (count == 0)
                continue;
            const auto edge = [&](int64_t n) {
                return bar.bottom - static_cast<int>(height * n / g.readingCount);
            };
            s.SetBrush(Brush{row->fill});
            s.Rectangle(Rect{bar.left, edge(below + count), bar.right, edge(below) + 1});
            below += count;
        }
    }

    s.SetFont(c.F(13, 700));
    const std::array<std::string, 4> header = {"Bereich", UnitName(unit), "Anteil", "Anzahl"};
    for (size_t k = 0; k < header.size(); ++k) {
        Cell(s, c.R(kColumns[k], kBarTop, kColumns[k + 1], kHeaderBottom), header[k], kSilver,
             kCentredLine, inset);
    }
    const double rowHeight = (kBarBottom - kHeaderBottom) / kRangeRows.size();
    for (size_t i = 0; i < kRangeRows.size(); ++i) {
        const RangeRow& row = kRangeRows[i];
        const double top = kHeaderBottom + rowHeight * static_cast<double>(i);
        const double bottom = top + rowHeight;
        const bool target = row.range == ConsensusRange::Target;
        const std::optional<double> percent = g.RangePercent(row.range);
        const std::array<std::string, 4> texts = {
            std::string(row.name), std::string(row.Range(unit)),
            percent ? Tenths(*percent) + " %" : std::string(kNone),
            std::to_string(g.RangeCount(row.range))};
        for (size_t k = 0; k < texts.size(); ++k) {
            s.SetFont(c.F(14, target ? 700 : 400));
            Cell(s, c.R(kColumns[k], top, kColumns[k + 1], bottom), texts[k],
                 k == 0 ? row.fill : kWhite, k == 0 ? kLeftLine : kCentredLine, inset);
        }
    }
}

// ---- the modal day ----

struct Plot {
    double left = 50, right = 760, top = 336, bottom = 548;

    double HourX(double hour) const { return left + (right - left) * hour / kHoursPerDay; }
    double ValueY(double mgdl) const {
        return bottom - (bottom - top) * std::clamp(mgdl, 0.0, double{kPlotTop}) / kPlotTop;
    }
};

constexpr double kDotRadius = 3;

// Gridlines of the value axis and their labels: whole hundreds in mg/dL,
// steps of 5 in mmol/L, and the top of the scale.
std::vector<std::pair<double, std::string>> ValueTicks(int unit) {
    std::vector<std::pair<double, std::string>> ticks;
    if (unit == 1) {
        for (int m = 0; m <= 30; m += 5)
            ticks.emplace_back(m * 18.0, std::to_string(m));
        ticks.emplace_back(kPlotTop, GlucoseText(kPlotTop, 1));
    } else {
        for (int v = 0; v <= kPlotTop; v += 100)
            ticks.emplace_back(v, std::to_string(v));
    }
    return ticks;
}

void Dot(Surface& s, const Canvas& c, double x, double y) {
    s.Ellipse(c.R(x - kDotRadius, y - kDotRadius, x + kDotRadius, y + kDotRadius));
}

// The frame of the plot: its heading, the target range shaded, the grid
// and the value axis.
void DrawPlotGround(Surface& s, const Canvas& c, const Plot& p, int unit) {
    s.SetPen(c.P(kBlack));
    s.SetTextColor(kBlack);
    s.SetFont(c.F(15, 700));
    Cell(s, c.R(0, 300, kGridWidth, 324), "Modaler Tag: Messwerte des Zeitraums nach Uhrzeit",
         kSilver, kLeftLine, std::max(1, c.Dx(6)));
    s.SetFont(c.F(13));
    s.Text(c.R(600, 300, kGridWidth - 6, 324), UnitName(unit), kRightLine);

    const Rect area = c.R(p.left, p.top, p.right, p.bottom);
    s.SetPen(Pen{kBlack, 1, PenStyle::None});
    s.SetBrush(Brush{kWhite});
    s.Rectangle(area);
    s.SetBrush(Brush{kTargetFill});
    s.Rectangle(Rect{area.left, c.Y(p.ValueY(kTargetHigh)), area.right, c.Y(p.ValueY(kTargetLow))});
    s.SetPen(c.P(kSilver));
    for (int h = 3; h < kHoursPerDay; h += 3)
        s.Line(c.X(p.HourX(h)), area.top, c.X(p.HourX(h)), area.bottom);
    s.SetFont(c.F(12));
    for (const auto& [mgdl, label] : ValueTicks(unit)) {
        const int y = c.Y(p.ValueY(mgdl));
        if (mgdl > 0 && mgdl < kPlotTop)
            s.Line(area.left, y, area.right, y);
        s.Text(Rect{c.X(0), y - c.Dy(8), c.X(p.left - 5), y + c.Dy(8)}, label, kRightLine);
    }
}

// Bands and median over the hours with enough readings, the readings
// themselves for the others.
void DrawHours(Surface& s, const Canvas& c, const Plot& p, const GlucoseProfile& g, int unit) {
    const auto bin = [&](int h) { return std::pair{c.X(p.HourX(h)), c.X(p.HourX(h + 1))}; };
    const auto y = [&](double mgdl) { return c.Y(p.ValueY(mgdl)); };
    s.SetPen(Pen{kBlack, 1, PenStyle::None});
    for (int h = 0; h < kHoursPerDay; ++h) {
        const HourProfile& hour = g.hours[static_cast<size_t>(h)];
        if (!hour.HasBands())
            continue;
        const auto [x1, x2] = bin(h);
        s.SetBrush(Brush{kOuterBand});
        s.Rectangle(Rect{x1, y(hour.percentile[4]), x2, y(hour.percentile[0]) + 1});
        s.SetBrush(Brush{kInnerBand});
        s.Rectangle(Rect{x1, y(hour.percentile[3]), x2, y(hour.percentile[1]) + 1});
    }
    // The target's edges stay visible over the bands.
    const Rect area = c.R(p.left, p.top, p.right, p.bottom);
    s.SetPen(c.P(kTargetEdge));
    for (const int edge : {kTargetLow, kTargetHigh})
        s.Line(area.left, y(edge), area.right, y(edge));

    s.SetPen(c.P(kMedianColor, 2.5));
    std::optional<int> previous;  // the median of the hour before, when that has bands
    for (int h = 0; h < kHoursPerDay; ++h) {
        const HourProfile& hour = g.hours[static_cast<size_t>(h)];
        if (!hour.HasBands()) {
            previous.reset();
            continue;
        }
        const auto [x1, x2] = bin(h);
        const int median = y(hour.percentile[2]);
        if (previous)
            s.Line(x1, *previous, x1, median);
        s.Line(x1, median, x2, median);
        previous = median;
    }

    s.SetPen(c.P(kBlack));
    s.SetBrush(Brush{kBlack});
    for (int h = 0; h < kHoursPerDay; ++h) {
        const HourProfile& hour = g.hours[static_cast<size_t>(h)];
        if (hour.HasBands())
            continue;
        // Side by side within the hour, so that equal values stay countable.
        for (int i = 0; i < hour.count; ++i) {
            Dot(s, c, p.HourX(h + 0.5) + (i - (hour.count - 1) / 2.0) * 2.2 * kDotRadius,
                p.ValueY(hour.few[static_cast<size_t>(i)]));
        }
    }
    s.SetBrush(Brush{kWhite, true});
    s.Rectangle(area);

    s.SetFont(c.F(12));
    s.SetTextColor(kTargetEdge);
    const TargetEdges& edges = EdgesOf(unit);
    for (const auto& [mgdl, label] : {std::pair{kTargetLow, edges.low}, {kTargetHigh, edges.high}})
        s.Text(Rect{c.X(p.right + 3), y(mgdl) - c.Dy(8), c.X(kGridWidth), y(mgdl) + c.Dy(8)}, label,
               kLeftLine);
    s.SetTextColor(kBlack);
    if (g.readingCount == 0) {
        s.SetFont(c.F(15));
        s.SetBackground(kWhite, true);
        s.Text(c.R(p.left, p.top, p.right, p.ValueY(kTargetHigh)), "Keine Messwerte im Zeitraum",
               kCentredLine);
        s.SetBackground(kWhite, false);
    }
}

// Every third hour labelled under the plot, and the readings of each hour.
void DrawHourAxis(Surface& s, const Canvas& c, const Plot& p, const GlucoseProfile& g,
                  int timeFormat) {
    s.SetFont(c.F(12));
    const double half = (p.HourX(3) - p.HourX(0)) / 2;
    const double top = p.bottom + 2, bottom = p.bottom + 18;
    for (int h = 0; h <= kHoursPerDay; h += 3) {
        const double x = p.HourX(h);
        const std::string label = ClockText(TimeOfDay{h % kHoursPerDay, 0, 0}, timeFormat);
        // The first and last label stand inside the plot's width.
        if (h == 0)
            s.Text(c.R(x, top, x + half, bottom), label, kLeftLine);
        else if (h == kHoursPerDay)
            s.Text(c.R(x - half, top, x, bottom), label, kRightLine);
        else
            s.Text(c.R(x - half, top, x + half, bottom), label, kCentredLine);
    }
    s.SetFont(c.F(11));
    s.Text(c.R(0, p.bottom + 20, p.left - 5, p.bottom + 35), "Anzahl", kRightLine);
    for (int h = 0; h < kHoursPerDay; ++h) {
        const int32_t count = g.hours[static_cast<size_t>(h)].count;
        s.SetTextColor(count == 0 ? kEmptyCount : kBlack);
        s.Text(c.R(p.HourX(h), p.bottom + 20, p.HourX(h + 1), p.bottom + 35), std::to_string(count),
               kCentredLine);
    }
    s.SetTextColor(kBlack);
}

void DrawLegend(Surface& s, const Canvas& c, int unit) {
    constexpr double kTop = 596, kBottom = 616, kSwatch = 22;
    constexpr std::array<double, 6> kEdges = {0, 110, 260, 410, 620, kGridWidth};
    const std::array<std::string, 5> texts = {
        "Median", "25.–75. Perzentil", "5.–95. Perzentil", "Einzelwerte (unter 5 je Stunde)",
        "Zielbereich " + std::string(RowOf(ConsensusRange::Target).Range(unit)) + " " +
            UnitName(unit)};
    s.SetFont(c.F(12));
    for (size_t i = 0; i < texts.size(); ++i) {
        const double x = kEdges[i];
        const Rect swatch = c.R(x, kTop + 4, x + kSwatch, kBottom - 4);
        if (i == 0) {
            const int middle = (swatch.top + swatch.bottom) / 2;
            s.SetPen(c.P(kMedianColor, 2.5));
            s.Line(swatch.left, middle, swatch.right, middle);
        } else if (i == 3) {
            s.SetPen(c.P(kBlack));
            s.SetBrush(Brush{kBlack});
            Dot(s, c, x + kSwatch / 2, (kTop + kBottom) / 2);
        } else {
            s.SetPen(Pen{kBlack, 1, PenStyle::None});
            s.SetBrush(Brush{i == 1 ? kInnerBand : i == 2 ? kOuterBand : kTargetFill});
            s.Rectangle(swatch);
        }
        s.Text(c.R(x + kSwatch + 5, kTop, kEdges[i + 1] - 4, kBottom), texts[i], kLeftLine);
    }
}

void DrawModalDay(Surface& s, const Canvas& c, const GlucoseProfile& g, const UserSettings& st) {
    const Plot p;
    s.SetBackground(kWhite, false);
    DrawPlotGround(s, c, p, st.glucoseUnit);
    DrawHours(s, c, p, g, st.glucoseUnit);
    DrawHourAxis(s, c, p, g, st.timeFormat);
    DrawLegend(s, c, st.glucoseUnit);
}

void DrawProfile(Surface& s, const Canvas& c, const ReportData& data) {
    const AnalysisPeriod period = ComputePeriod(data.selectedDate);
    const GlucoseProfile g = ComputeGlucoseProfile(*data.readings, period);
    const int unit = data.settings.glucoseUnit;
    const FontRestorer restore(s);

    // The period's first day is the day after its start.
    const Date first = CivilFromDays(period.startDay + 1);
    s.SetFont(c.F(14, 700));
    s.SetTextColor(kBlack);
    s.SetBackground(kWhite, false);
    s.Text(c.R(0, 0, 520, 24),
           "Zeitraum: " + DateText(first, data.settings.dateFormat) + " – " +
               DateText(period.end, data.settings.dateFormat) + Printf(" (%d Tage)", period.days),
           kLeftLine);
    s.SetFont(c.F(12));
    s.Text(c.R(520, 0, kGridWidth, 24), "Messwerte ohne Kontroll-Lösung", kRightLine);

    DrawKeyFigures(s, c, g, unit);
    DrawRanges(s, c, g, unit);
    DrawModalDay(s, c, g, data.settings);
    s.SetBackground(kWhite, true);
}

}  // namespace

void DrawGlucoseProfileScreen(Surface& surface, const ReportData& data, Growth growth) {
    const int width = kBaseScreenWidth + growth.width;
    const int height = kBaseScreenHeight + growth.height;
    DrawScreenPage(surface, growth);
    Canvas c;
    c.left = 10;
    c.top = 10;
    c.sx = (width - 20) / kGridWidth;
    c.sy = (height - 20) / kGridHeight;
    DrawProfile(surface, c, data);
}

void DrawGlucoseProfilePaper(Surface& surface, const PaperMetrics& paper, const ReportData& data) {
    // Between the patient lines of the header and the physician block of the footer.
    const Rect room{paper.X(-5100), paper.Y(7.6), paper.X(5100), paper.Y(32.6)};
    Canvas c;
    c.left = room.left;
    c.top = room.top;
    c.sx = (room.right - room.left) / kGridWidth;
    c.sy = (room.bottom - room.top) / kGridHeight;
    c.fontScale = std::min(c.sx, c.sy);
    DrawProfile(surface, c, data);
}

}  // namespace dorvel::reports
