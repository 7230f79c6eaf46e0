// The day graph and the mealtime graph: what they draw and where, on screen
// and paper, and the printed page and picture the command line makes.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>

#include "monthly_page_support.h"
#include "reports/report_pages.h"
#include "store/patient_data_file.h"
#include "store/profile_file.h"
#include "support/cli_fixture.h"
#include "support/records.h"
#include "text_fit_check.h"

namespace dorvel::reports {
namespace {

using Op = RecordingSurface::Op;
using Kind = RecordingSurface::Kind;
const PaperMetrics kA4 = PaperMetrics::FromMillimetres(202, 289);
const PrintFonts kFonts = PrintFonts::ForScale(kA4.scale);

using test::Patient;

std::vector<const Op*> OpsOf(const RecordingSurface& s, Kind kind) {
    std::vector<const Op*> found;
    for (const Op& op : s.ops())
        if (op.kind == kind)
            found.push_back(&op);
    return found;
}

// The marker of a mean at `at` columns of `days`, on screen.
Rect Marker(double at, int days, int mgdl) {
    const double x = 120 + at * 600 / days;
    const double y = 440 - 0.6 * mgdl;
    return Rect{static_cast<int>(x - 5), static_cast<int>(y - 5), static_cast<int>(x + 5),
                static_cast<int>(y + 5)};
}

const Op* EllipseAt(const RecordingSurface& s, const Rect& r) {
    for (const Op* op : OpsOf(s, Kind::Ellipse))
        if (op->rect == r)
            return op;
    return nullptr;
}

// The turned axis title runs upward from its box's corner, as thick as its line.
bool TitleInside(const RecordingSurface& s, const Rect& clip, std::string_view text) {
    const Op* op = s.FindText(text);
    return op && op->angle == 900 && op->rect.left >= clip.left &&
           op->rect.left + LineHeight(op->font) <= clip.right && op->rect.top <= clip.bottom &&
           op->rect.top - MeasureText(op->font, op->text).width >= clip.top;
}

TEST(GraphFrame, BandEdgesAndAxisLabelsFollowTheRangeAndUnit) {
    struct Case {
        int low, high, unit;
        std::array<const char*, 4> labels;
        bool asLaidOut;  // false: limits so close that their labels move apart
    };
    const Case cases[] = {{65, 155, 0, {"600", "155", "65", "0"}, true},
                          {70, 180, 1, {"33.3", "10.0", "3.8", "0"}, true},
                          {100, 110, 0, {"600", "110", "100", "0"}, false},
                          {5, 590, 1, {"33.3", "32.7", "0.2", "0"}, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.high);
        Patient p;
        p.settings.overall = {c.low, c.high};
        p.settings.glucoseUnit = c.unit;
        p.Add({2011, 6, 10}, 8, 120);
        const ReportData data = p.Data({2011, 6, 30});
        RecordingSurface screen;
        DrawReportScreen(kDayGraphIndex, screen, data, Growth{});
        const int high = static_cast<int>(440 - 0.6 * c.high);
        const int low = static_cast<int>(440 - 0.6 * c.low);
        const auto bands = OpsOf(screen, Kind::Rectangle);
        ASSERT_EQ(bands.size(), 4u);  // the page and the three bands
        EXPECT_EQ(bands[1]->rect, (Rect{120, 80, 720, high}));
        EXPECT_EQ(bands[2]->rect, (Rect{120, high, 720, low}));
        EXPECT_EQ(bands[3]->rect, (Rect{120, low, 720, 440}));
        EXPECT_EQ(bands[3]->brush.color, kLowFill);
        int top = 70;
        const int steps[] = {0, static_cast<int>((600 - c.high) * 0.6),
                             static_cast<int>((c.high - c.low) * 0.6),
                             static_cast<int>(c.low * 0.6)};
        for (size_t k = 0; k < 4; ++k) {
            top += steps[k];
            const Op* label = screen.FindText(c.labels[k]);
            ASSERT_NE(label, nullptr) << c.labels[k];
            EXPECT_TRUE(!c.asLaidOut || label->rect == (Rect{90, top, 115, top + 20}));
        }
        EXPECT_TRUE(test::TextsFitTheirBoxes(screen));
        const char* title = c.unit == 1 ? "BLUTZUCKER [mmol/L]" : "BLUTZUCKER [mg/dL]";
        EXPECT_TRUE(TitleInside(screen, {60, 80, 80, 370}, title));

        RecordingSurface paper;
        DrawReportPaper(kDayGraphIndex, paper, kA4, kFonts, data, 1);
        const auto sheet = OpsOf(paper, Kind::Rectangle);
        ASSERT_EQ(sheet.size(), 3u);
        EXPECT_NEAR(sheet[1]->rect.top, kA4.Y(28.5 - 0.03 * c.high), 1);  // u 28.5 - 0.03 v
        EXPECT_NEAR(sheet[1]->rect.bottom, kA4.Y(28.5 - 0.03 * c.low), 1);
        EXPECT_TRUE(test::TextsFitTheirBoxes(paper));
        const int w = kA4.width;
        EXPECT_TRUE(TitleInside(paper, {60 * w / 800, kA4.Y(17), 80 * w / 800, kA4.Y(25)}, title));
    }
}

TEST(DayGraph, PointsOfACraftedMonth) {
    struct Case {
        Date selected;
        int days;
        const char *first, *last, *caption;
    };
    const Case cases[] = {
        {{2011, 6, 30}, 31, "31\n5", "30\n6", "Jahr (2011)"},
        {{2011, 1, 15}, 31, "16\n12", "15\n1", "Jahr (2010~2011)"},
        {{2011, 3, 31}, 28, "4\n3", "31\n3", "Jahr (2011)"},  // 31 February is 3 March
        {{2011, 1, 31}, 31, "1\n1", "31\n1", "Jahr (2011)"},  // 31 December is not shown
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first);
        const AnalysisPeriod period = ComputePeriod(c.selected);
        const auto day = [&](int i) { return CivilFromDays(period.startDay + 1 + i); };
        Patient p;
        p.Add(day(-1), 8, 50);  // the start day lies outside
        p.Add(day(0), 8, 100);
        p.Add(day(0), 9, 151);  // mean 125, truncated
        p.Add(day(2), 8, 200);  // day 1 has no reading
        p.Add(day(c.days - 1), 8, 300);
        RecordingSurface s;
        DrawReportScreen(kDayGraphIndex, s, p.Data(c.selected), Growth{});

        EXPECT_NE(s.FindText(c.caption), nullptr);
        const Op* first = s.FindText(c.first);
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(first->rect, (Rect{120, 440, 120 + 600 / c.days, 480}));
        EXPECT_EQ(s.Texts().back()->text, c.last);
        EXPECT_EQ(s.Texts().back()->rect.right, 720);

        const auto marks = OpsOf(s, Kind::Ellipse);
        ASSERT_EQ(marks.size(), 3u);
        EXPECT_EQ(marks[0]->rect, Marker(0.5, c.days, 125));
        EXPECT_EQ(marks[1]->rect, Marker(2.5, c.days, 200));
        EXPECT_EQ(marks[2]->rect, Marker(c.days - 0.5, c.days, 300));
        // The grid, then a line across the missing day and one to the last day.
        const auto lines = OpsOf(s, Kind::Line);
        ASSERT_EQ(lines.size(), static_cast<size_t>(c.days + 2));
        EXPECT_EQ(lines[1]->rect.left, 120 + 600 / c.days);
        const Rect &a = marks[0]->rect, &b = marks[1]->rect;
        EXPECT_EQ(lines[c.days]->rect, (Rect{a.left + 5, a.top + 5, b.left + 5, b.top + 5}));
    }
}

TEST(MealtimeGraph, LegendRowsAndSlotPoints) {
    struct Entry {
        const char* text;
        int left, top;  // of the text box; the marker is 15 to the left
    };
    // Too wide for one line, each combined entry breaks after its tilde; the
    // separated ones stand two to a column.
    const std::vector<Entry> combined = {{"12:00 AM~\n04:59 AM", 140, 510},
                                         {"07:00 PM~\n11:59 PM", 620, 510}};
    const std::vector<Entry> separate = {
        {"00:00 ~ 04:59", 140, 500}, {"17:00 ~ 18:59", 500, 520}, {"19:00 ~ 23:59", 620, 500}};
    for (const int sep : {0, 1}) {
        SCOPED_TRACE(sep);
        Patient p;
        p.settings.separateMeals = sep;
        p.settings.timeFormat = sep;
        p.Add({2011, 6, 1}, 2, 100);   // Schlaf on day 1 only
        p.Add({2011, 6, 1}, 20, 200);  // Abend on days 1 and 4
        p.Add({2011, 6, 4}, 20, 300);
        RecordingSurface s;
        DrawReportScreen(kMealtimeGraphIndex, s, p.Data({2011, 6, 30}), Growth{});
        for (const Entry& e : sep ? separate : combined) {
            const Op* text = s.FindText(e.text);
            ASSERT_NE(text, nullptr) << e.text;
            const int height = sep ? 20 : 40;
            EXPECT_EQ(text->rect, (Rect{e.left, e.top, e.left + 100, e.top + height}));
            const int mark = e.top + height / 2 - 5;
            EXPECT_NE(EllipseAt(s, {e.left - 15, mark, e.left - 5, mark + 10}), nullptr) << e.text;
        }
        // Schlaf: one marker, no line. Abend's line skips days 2 and 3.
        const Op* schlaf = EllipseAt(s, Marker(1.3, 31, 100));
        ASSERT_NE(schlaf, nullptr);
        EXPECT_EQ(schlaf->brush.color, (Color{192, 0, 0}));
        const double abend = sep ? 0.65 : 0.7;
        const Op* from = EllipseAt(s, Marker(1 + abend, 31, 200));
        const Op* to = EllipseAt(s, Marker(4 + abend, 31, 300));
        ASSERT_TRUE(from && to);
        EXPECT_EQ(to->brush.color, (Color{192, 0, 192}));
        const auto lines = OpsOf(s, Kind::Line);
        ASSERT_EQ(lines.size(), 32u);
        EXPECT_EQ(lines.back()->rect, (Rect{from->rect.left + 5, from->rect.top + 5,
                                            to->rect.left + 5, to->rect.top + 5}));
        EXPECT_EQ(lines.back()->pen.color, (Color{192, 0, 192}));
    }
}

class GraphCli : public test::CliTest {};

// 10 June, day 10 of the period from 31 May, holds the one mean: the marker
// sits mid-column on both pictures (Mittagessen on the second).
TEST_F(GraphCli, PictureMarkers) {
    ReadingList list;
    list.push_back(ReadingFromRecord(test::StoredRecord(1, 0, 2011, 6, 10, 12, 0, 100)));
    ASSERT_TRUE(SaveReadings(dir.path(), "ANNA", list).ok());
    UserSettings settings;
    settings.separateMeals = 0;
    ASSERT_TRUE(WriteProfile(dir.path(), "ANNA", PatientProfile{}, settings).ok());
    const auto picture = [&](int page) {
        const std::string file = dir.File("page.png");
        EXPECT_EQ(
            Cli("--today 2011-06-30 report ANNA --page " + std::to_string(page) + " --out " + file),
            0)
            << out;
        return QImage(QString::fromStdString(file));
    };
    const QImage dayPng = picture(4);
    const QImage mealPng = picture(5);
    const Rect circle = Marker(10.5, 31, 100);
    const int x = (circle.left + circle.right) / 2;
    const int y = (circle.top + circle.bottom) / 2;
    EXPECT_EQ(dayPng.pixelColor(x, y), QColor(Qt::white));
    EXPECT_EQ(dayPng.pixelColor(circle.left, y), QColor(Qt::black));
    EXPECT_EQ(dayPng.pixelColor(circle.right + 2, y), QColor(192, 255, 192));  // the target band
    EXPECT_EQ(mealPng.pixelColor(x, y), QColor(0, 192, 0));
    EXPECT_EQ(mealPng.pixelColor(circle.right + 2, y), QColor(192, 255, 192));
}

}  // namespace
}  // namespace dorvel::reports
