#include "summary_page.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "logbook_page.h"
#include "report_text.h"
#include "text_fit.h"

namespace dorvel::reports {

namespace {

constexpr std::string_view kUndefined = "---";
constexpr int kUpperRows = 8;
constexpr int kRangeRows = 6;
constexpr int kMaxTimeRows = 8;

struct RangeRow {
    std::string label;
    std::string range;
    std::string count;
    std::string percent;
    Color fill;
};

struct TimeRow {
    std::string time;
    std::string mean;
    std::string sd;
    std::string count;
};

// Every text of the page; screen and paper differ only in a few titles and
// in the labels' leading blank.
struct SummaryTexts {
    std::string overallTitle;
    std::string monthTitle;
    std::string rangeTitle;
    std::string timeTitle;
    std::array<std::array<std::string, 4>, kUpperRows> upper;
    std::array<RangeRow, kRangeRows> ranges;
    std::vector<TimeRow> times;  // five with meals combined, eight with meals separate
};

std::string UnitText(int unit) {
    return unit == 1 ? "[mmol/L]" : "[mg/dL]";
}

// A glucose value, or "---" where it is not defined.
std::string ValueOr(bool defined, int mgdl, int unit) {
    return defined ? GlucoseText(mgdl, unit) : std::string(kUndefined);
}

std::string PeriodDateText(const Date& d, int dateFormat) {
    if (dateFormat == 0)
        return Printf("%04d-%02d-%02d", d.year, d.month, d.day);
    if (dateFormat == 1)
        return Printf("%02d/%02d/%04d", d.month, d.day, d.year);
    return Printf("%02d.%02d.%04d", d.day, d.month, d.year);
}

std::string Percent(int64_t count, int64_t of) {
    if (of <= 0)
        return std::string(kUndefined);
    return Printf("%d%%", static_cast<int>(count * 100 / of));
}

// The bounds of the high, target and low range. With meals separate the
// before-meal bound comes first and the after-meal bound in brackets.
std::array<std::string, 3> RangeTexts(const UserSettings& s) {
    const int unit = s.glucoseUnit;
    const auto g = [unit](int mgdl) {
        return unit == 1 ? OneDecimal(ToMmolPerL(mgdl)) : Printf("%3d", mgdl);
    };
    const std::string top = unit == 1 ? "33.3" : "600";
    if (s.separateMeals == 0) {
        const TargetRange& r = s.overall;
        return {g(r.high + 1) + " ~ " + top, g(r.low) + " ~ " + g(r.high),
                "   0 ~ " + g(r.low - 1)};
    }
    const TargetRange& b = s.beforeMeal;
    const TargetRange& a = s.afterMeal;
    return {g(b.high + 1) + "(" + g(a.high + 1) + ")~" + top,
            g(b.low) + "(" + g(a.low) + ")~" + g(b.high) + "(" + g(a.high) + ")",
            " 0~" + g(b.low - 1) + "(" + g(a.low - 1) + ")"};
}

SummaryTexts MakeSummaryTexts(const ReportData& data, bool paper) {
    const UserSettings& s = data.settings;
    const OverallStats& o = data.stats.overall;
    const PeriodStats& p = data.stats.period;
    const int unit = s.glucoseUnit;
    SummaryTexts t;
    t.overallTitle = "Gesamtübersicht " + UnitText(unit);
    t.monthTitle = (paper ? "Monatsübersicht " : " Monatsübersicht ") + UnitText(unit);
    t.rangeTitle = (paper ? "Readings/Range " : "Übersicht der Messbereiche ") + UnitText(unit);
    t.timeTitle = (paper ? "Monatliche Übersicht nach Tageszeiten "
                         : "Monatliche Übersicht nach Tageszeiten") +
                  UnitText(unit);

    // Control readings are counted in ReadingCount but have no value that
    // enters a mean: a patient with nothing but control readings has none.
    const int measured = o.readingCount - o.controlCount;
    const AnalysisPeriod& period = data.stats.analysisPeriod;
    const std::string span = PeriodDateText(CivilFromDays(period.startDay + 1), s.dateFormat) +
                             " ~ " + PeriodDateText(period.end, s.dateFormat);
    t.upper = {{
        {" Gesamtdurchschnitt", ValueOr(measured > 0, o.overallMean, unit), " Zeitraum", span},
        {" Tagesdurchschnitt", ValueOr(o.overallDays > 0, o.overallDailyMean, unit),
         " Monatsdurchschnitt", ValueOr(p.periodReadingCount > 0, p.periodMean, unit)},
        {" Standardabweichung", ValueOr(measured > 1, o.overallSD, unit), " Tagesdurchschnitt",
         ValueOr(p.periodReadingDays > 0, p.periodDailyMean, unit)},
        {" Anzahl der Messungen", Printf("%d", o.readingCount), " Standardabweichung",
         ValueOr(p.periodReadingCount > 1, p.periodSD, unit)},
        {" Tage mit Messung", Printf("%d", o.overallDays), " Anzahl der Messungen",
         Printf("%d", p.periodReadingCount)},
        {" Höchster Messwert", ValueOr(measured > 0, o.overallMax, unit), " Tage mit Messung",
         Printf("%d", p.periodReadingDays)},
        {" Niedrigster Messwert", ValueOr(measured > 0, o.overallMin, unit), " Höchster Messwert",
         ValueOr(p.periodReadingCount > 0, p.periodMax, unit)},
        {"", "", " Niedrigster Messwert", ValueOr(p.periodReadingCount > 0, p.periodMin, unit)},
    }};
    if (paper) {
        for (auto& row : t.upper) {
            for (const size_t label : {size_t{0}, size_t{2}}) {
                if (!row[label].empty() && row[label][0] == ' ')
                    row[label].erase(0, 1);
            }
        }
    }

    const bool separate = s.separateMeals != 0;
    const std::array<std::string, 3> bounds = RangeTexts(s);
    const auto count = [separate](int combined, int slot) { return separate ? slot : combined; };
    const std::array<int, kRangeRows> counts = {
        count(o.overallHighCount, o.overallSlotHighCount),
        count(o.overallTargetCount, o.overallSlotTargetCount),
        count(o.overallLowCount, o.overallSlotLowCount),
        count(p.periodHighCount, p.periodSlotHighCount),
        count(p.periodTargetCount, p.periodSlotTargetCount),
        count(p.periodLowCount, p.periodSlotLowCount)};
    static constexpr const char* labels[] = {
        " Hoher Bereich [Übersicht]",      " Zielbereich [Übersicht]",
        " Niedriger Bereich [Übersicht]",  " Hoher Bereich [Monats-Übersicht]",
        " Zielbereich [Monats-Übersicht]", " Niedriger Bereich [Monats-Übersicht]"};
    static constexpr Color fills[] = {kHighFill, kTargetFill, kLowFill};
    for (size_t r = 0; r < kRangeRows; ++r) {
        const int of = r < 3 ? measured : p.periodReadingCount;
        t.ranges[r] = RangeRow{labels[r], bounds[r % 3], Printf("%d", counts[r]),
                               Percent(counts[r], of), fills[r % 3]};
    }

    const PerSlotStats& perSlot = data.stats.perSlot;
    const auto timeRow = [&](int from, int next, int mean, int sd, int n) {
        return TimeRow{SlotSpanText(from, next, s), GlucoseText(mean, unit), GlucoseText(sd, unit),
                       Printf("%d", n)};
    };
    if (!separate) {
        for (size_t k = 0; k < kCombinedSlotCount; ++k) {
            t.times.push_back(timeRow(kGroupFirstSlot[k], kGroupFirstSlot[k + 1],
                                      perSlot.combinedMean[k], perSlot.combinedSD[k],
                                      perSlot.combinedCount[k]));
        }
    } else {
        // Schlaf, the six meal slots, Abend: row k runs from slot k + 1 to slot k + 2.
        t.times.push_back(timeRow(1, 2, perSlot.combinedMean[0], perSlot.combinedSD[0],
                                  perSlot.combinedCount[0]));
        for (size_t k = 0; k < kSeparateSlotCount; ++k) {
            const int slot = static_cast<int>(k) + 2;
            t.times.push_back(timeRow(slot, slot + 1, perSlot.separateMean[k],
                                      perSlot.separateSD[k], perSlot.separateCount[k]));
        }
        t.times.push_back(timeRow(8, 1, perSlot.combinedMean[4], perSlot.combinedSD[4],
                                  perSlot.combinedCount[4]));
    }
    return t;
}

struct Title {
    Rect box;
    int lineLeft = 0;  // the underline at the box's bottom edge
    int lineRight = 0;
};

// Where the page is drawn: screen pixels or paper twips.
struct SummaryGeometry {
    Font font;
    std::array<Title, 4> titles;  // overall, month, ranges, time of day
    std::array<int, 6> upperX{};  // label, value | label, value
    std::array<int, kUpperRows + 1> upperY{};
    std::array<int, 5> leftX{};   // Unterteilung, Bereiche, Anzahl, Prozent
    std::array<int, 5> rightX{};  // Zeitbereich, Monatsdurchschnitt, Standardabweichung, Anzahl
    std::array<int, kMaxTimeRows + 2> lowerY{};  // the header row, then the rows
};

// A column title too long for its cell is broken inside the compound word
// where two lines keep it larger than one shrunken line would.
std::string ColumnTitle(const Rect& box, const Font& font, const std::string& title) {
    static constexpr std::pair<std::string_view, std::string_view> breaks[] = {
        {"Monatsdurchschnitt", "Monats-\ndurchschnitt"},
        {"Standardabweichung", "Standard-\nabweichung"}};
    for (const auto& [word, broken] : breaks) {
        if (title != word || TextFitsBox(box, font, title, kCentredLine))
            continue;
        const FittedText one = FitText(box, title, kCentredLine, font);
        const FittedText two = FitText(box, broken, kAlignHCenter | kAlignVCenter, font);
        if (std::abs(two.font.height) > std::abs(one.font.height))
            return std::string(broken);
    }
    return title;
}

struct CellMark {
    Rect box;
    Color fill;
    std::string text;
    unsigned flags = kCentredLine;
};

// A row of cells between the x edges, the first text left-aligned.
template <size_t N>
void AddRow(std::vector<CellMark>& cells, const std::array<int, N>& x, int top, int bottom,
            Color fill, const std::array<std::string, N - 1>& texts) {
    for (size_t c = 0; c + 1 < N; ++c)
        cells.push_back(
            {{x[c], top, x[c + 1], bottom}, fill, texts[c], c == 0 ? kLeftLine : kCentredLine});
}

// The header row of a lower table: silver cells with centred titles.
template <size_t N>
void AddHeaderRow(std::vector<CellMark>& cells, const std::array<int, N>& x, int top, int bottom,
                  const Font& font, const std::array<std::string, N - 1>& titles) {
    for (size_t c = 0; c + 1 < N; ++c) {
        const Rect box{x[c], top, x[c + 1], bottom};
        std::string title = ColumnTitle(box, font, titles[c]);
        const unsigned flags =
            title.find('\n') == std::string::npos ? kCentredLine : kAlignHCenter | kAlignVCenter;
        cells.push_back({box, kSilver, std::move(title), flags});
    }
}

// All cells first, then all texts: the printer switches between line and
// text colour once, not once a cell. No cell overlaps another.
void DrawCells(Surface& surface, const std::vector<CellMark>& cells) {
    for (const CellMark& cell : cells) {
        surface.SetBrush(Brush{cell.fill});
        surface.Rectangle(cell.box);
    }
    const int room = std::abs(surface.font().height) / 7;
    for (const CellMark& cell : cells) {
        if (cell.text.empty())
            continue;
        // A left-aligned text that does not bring its own leading blank
        // keeps a little room from the cell's line.
        Rect box = cell.box;
        if (!(cell.flags & (kAlignHCenter | kAlignRight)) && !cell.text.starts_with(' '))
            box.left += room;
        surface.Text(box, cell.text, cell.flags);
    }
}

void DrawSummary(Surface& surface, const SummaryGeometry& g, const SummaryTexts& t) {
    surface.SetFont(g.font);
    surface.SetPen(Pen{kBlack, 1, PenStyle::Solid});
    surface.SetTextColor(kBlack);

    // Texts stand on the white page or on their filled cells and need no
    // background of their own (on paper a second shape under every text).
    surface.SetBackground(kWhite, false);
    const std::array<const std::string*, 4> titles = {&t.overallTitle, &t.monthTitle, &t.rangeTitle,
                                                      &t.timeTitle};
    for (size_t i = 0; i < titles.size(); ++i) {
        const Title& title = g.titles[i];
        surface.Text(title.box, *titles[i], kCentredLine);
        surface.Line(title.lineLeft, title.box.bottom, title.lineRight, title.box.bottom);
    }

    std::vector<CellMark> cells;
    cells.reserve(4 * kUpperRows + 8 * (kMaxTimeRows + 1));
    for (size_t k = 0; k < kUpperRows; ++k) {
        const int top = g.upperY[k];
        const int bottom = g.upperY[k + 1];
        const auto& row = t.upper[k];
        for (size_t half = 0; half < 2; ++half) {
            const size_t at = 3 * half;
            cells.push_back(
                {{g.upperX[at], top, g.upperX[at + 1], bottom}, kSilver, row[2 * half], kLeftLine});
            cells.push_back({{g.upperX[at + 1], top, g.upperX[at + 2], bottom},
                             kWhite,
                             row[2 * half + 1],
                             kCentredLine});
        }
    }

    AddHeaderRow<5>(cells, g.leftX, g.lowerY[0], g.lowerY[1], g.font,
                    {"Unterteilung", "Bereiche", "Anzahl", "Prozent"});
    AddHeaderRow<5>(cells, g.rightX, g.lowerY[0], g.lowerY[1], g.font,
                    {"Zeitbereich", "Monatsdurchschnitt", "Standardabweichung", "Anzahl"});

    const size_t rows = std::max<size_t>(kRangeRows, t.times.size());
    for (size_t k = 0; k < rows; ++k) {
        const int top = g.lowerY[k + 1];
        const int bottom = g.lowerY[k + 2];
        if (k < kRangeRows) {
            const RangeRow& r = t.ranges[k];
            AddRow<5>(cells, g.leftX, top, bottom, r.fill, {r.label, r.range, r.count, r.percent});
        } else {
            // Below the six range rows the time-of-day rows go on alone.
            AddRow<5>(cells, g.leftX, top, bottom, kWhite, {});
        }
        if (k < t.times.size()) {
            const TimeRow& r = t.times[k];
            AddRow<5>(cells, g.rightX, top, bottom, kWhite, {r.time, r.mean, r.sd, r.count});
        }
    }
    DrawCells(surface, cells);
    surface.SetBackground(kWhite, true);
}

}  // namespace

void DrawSummaryScreen(Surface& surface, const ReportData& data, Growth growth) {
    DrawScreenPage(surface, growth);

    SummaryGeometry g;
    g.font = Font{"Arial", 14, 400};
    g.titles = {Title{{60, 60, 380, 90}, 60, 380}, Title{{460, 60, 760, 90}, 460, 760},
                Title{{60, 300, 380, 330}, 60, 440}, Title{{470, 300, 800, 330}, 460, 800}};
    g.upperX = {60, 250, 380, 460, 630, 760};
    for (size_t k = 0; k < g.upperY.size(); ++k)
        g.upperY[k] = 110 + 20 * static_cast<int>(k);
    g.leftX = {60, 250, 340, 390, 440};
    g.rightX = {460, 540, 647, 753, 800};
    for (size_t k = 0; k < g.lowerY.size(); ++k)
        g.lowerY[k] = 350 + 20 * static_cast<int>(k);
    DrawSummary(surface, g, MakeSummaryTexts(data, false));
}

void DrawSummaryPaper(Surface& surface, const PaperMetrics& paper, const ReportData& data) {
    const FontRestorer restore(surface);
    // Screen x positions scaled to the paper's width; y in fortieths of its height.
    const auto x = [&paper](int screenX) { return paper.width * screenX / 800; };
    const auto titleOn = [&](int left, int right, double top, double bottom, int lineLeft,
                             int lineRight) {
        return Title{{x(left), paper.Y(top), x(right), paper.Y(bottom)}, x(lineLeft), x(lineRight)};
    };
    SummaryGeometry g;
    g.font = Font{"Arial", paper.width * 12 / 800, 400};
    g.titles = {titleOn(60, 380, 9.5, 11, 60, 380), titleOn(460, 760, 9.5, 11, 460, 760),
                titleOn(60, 380, 21.5, 23, 60, 440), titleOn(480, 700, 21.5, 23, 460, 770)};
    static constexpr std::array<int, 6> upper = {60, 250, 380, 460, 630, 760};
    static constexpr std::array<int, 5> left = {60, 250, 340, 390, 440};
    static constexpr std::array<int, 5> right = {460, 540, 605, 710, 770};
    for (size_t i = 0; i < upper.size(); ++i)
        g.upperX[i] = x(upper[i]);
    for (size_t i = 0; i < left.size(); ++i) {
        g.leftX[i] = x(left[i]);
        g.rightX[i] = x(right[i]);
    }
    for (size_t k = 0; k < g.upperY.size(); ++k)
        g.upperY[k] = paper.Y(12.0 + static_cast<double>(k));
    for (size_t k = 0; k < g.lowerY.size(); ++k)
        g.lowerY[k] = paper.Y(24.0 + static_cast<double>(k));
    DrawSummary(surface, g, MakeSummaryTexts(data, true));
}

}  // namespace dorvel::reports
