// The day graph and the mealtime graph: what they draw and where, on screen
// and paper, and the printed page and picture the command line makes.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>

#include "reports/day_graph_page.h"
#include "reports/mealtime_graph_page.h"
#include "reports/report_pages.h"
#include "store/patient_data_file.h"
#include "store/profile_file.h"
#include "support/cli_fixture.h"
#include "support/records.h"
#include "text_fit_check.h"

namespace dorvel::reports {
namespace {

using Op = RecordingSurface::Op;
const PaperMetrics kA4 = PaperMetrics::FromMillimetres(202, 289);

// A patient's readings and settings, and the page data of a selected date.
struct Patient {
    ReadingList list;
    UserSettings settings;
    void Add(const Date& d, int hour, int value) {
        list.push_back(
            ReadingFromRecord(test::StoredRecord(1, 0, d.year, d.month, d.day, hour, 0, value)));
        list.Sort();
    }
    ReportData Data(const Date& selected) const {
        return MakeReportData(list, settings, RunSettings{}, selected, selected);
    }
};

std::vector<const Op*> OpsOf(const RecordingSurface& s, RecordingSurface::Kind kind) {
    std::vector<const Op*> found;
    for (const Op& op : s.ops())
        if (op.kind == kind)
            found.push_back(&op);
    return found;
}

const Op* EllipseAt(const RecordingSurface& s, const Rect& r) {
    for (const Op* op : OpsOf(s, RecordingSurface::Kind::Ellipse))
        if (op->rect == r)
            return op;
    return nullptr;
}

// The marker of a mean at `at` columns of `days`, on screen.
Rect Marker(double at, int days, int mgdl) {
    const double x = 120 + at * 600 / days;
    const double y = 440 - 0.6 * mgdl;
    return Rect{static_cast<int>(x - 5), static_cast<int>(y - 5), static_cast<int>(x + 5),
                static_cast<int>(y + 5)};
}

// The turned axis title runs upward from its box's corner, as thick as its line.
void ExpectTitleInside(const RecordingSurface& s, const Rect& clip, std::string_view text) {
    const Op* op = s.FindText(text);
    ASSERT_NE(op, nullptr) << text;
    EXPECT_EQ(op->angle, 900);
    EXPECT_GE(op->rect.left, clip.left);
    EXPECT_LE(op->rect.left + LineHeight(op->font), clip.right);
    EXPECT_LE(op->rect.top, clip.bottom);
    EXPECT_GE(op->rect.top - MeasureText(op->font, op->text).width, clip.top);
}

TEST(GraphFrame, BandEdgesAndAxisLabelsFollowTheRangeAndUnit) {
    struct Case {
        int low, high, unit;
        std::array<const char*, 4> labels;
        bool asLaidOut;  // false: limits so close that their labels move apart
    };
    const Case cases[] = {
        {65, 155, 0, {"600", "155", "65", "0"}, true},
        {70, 180, 1, {"33.3", "10.0", "3.8", "0"}, true},
        {100, 110, 0, {"600", "110", "100", "0"}, false},
        {5, 590, 1, {"33.3", "32.7", "0.2", "0"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.high);
        Patient p;
        p.settings.overall = {c.low, c.high};
        p.settings.glucoseUnit = c.unit;
        p.Add({2011, 6, 10}, 8, 120);
        const ReportData data = p.Data({2011, 6, 30});
        RecordingSurface screen;
        DrawDayGraphScreen(screen, data, Growth{});
        const int yHigh = static_cast<int>(440 - 0.6 * c.high);
        const int yLow = static_cast<int>(440 - 0.6 * c.low);
        EXPECT_EQ(screen.RectanglesAt({120, 80, 720, yHigh}).at(0)->brush.color, kHighFill);
        EXPECT_EQ(screen.RectanglesAt({120, yHigh, 720, yLow}).at(0)->brush.color, kTargetFill);
        EXPECT_EQ(screen.RectanglesAt({120, yLow, 720, 440}).at(0)->brush.color, kLowFill);
        int top = 70;
        const int steps[] = {0, static_cast<int>((600 - c.high) * 0.6),
                             static_cast<int>((c.high - c.low) * 0.6),
                             static_cast<int>(c.low * 0.6)};
        for (size_t k = 0; k < 4; ++k) {
            top += steps[k];
            const Op* label = screen.FindText(c.labels[k]);
            ASSERT_NE(label, nullptr) << c.labels[k];
            EXPECT_EQ(label->flags, kAlignRight | kAlignVCenter | kSingleLine);
            if (c.asLaidOut) {
                EXPECT_EQ(label->rect, (Rect{90, top, 115, top + 20})) << c.labels[k];
            }
        }
        EXPECT_TRUE(test::TextsFitTheirBoxes(screen));
        const char* title = c.unit == 1 ? "BLUTZUCKER [mmol/L]" : "BLUTZUCKER [mg/dL]";
        ExpectTitleInside(screen, {60, 80, 80, 370}, title);

        RecordingSurface paper;
        DrawDayGraphPaper(paper, kA4, data);
        const auto bands = OpsOf(paper, RecordingSurface::Kind::Rectangle);
        ASSERT_EQ(bands.size(), 3u);
        EXPECT_NEAR(bands[0]->rect.bottom, kA4.Y(28.5 - 0.03 * c.high), 1);
        EXPECT_NEAR(bands[2]->rect.top, kA4.Y(28.5 - 0.03 * c.low), 1);
        EXPECT_EQ(bands[2]->rect.bottom, kA4.Y(28.5));
        EXPECT_TRUE(test::TextsFitTheirBoxes(paper));
        const int w = kA4.width;
        ExpectTitleInside(paper, {60 * w / 800, kA4.Y(17), 80 * w / 800, kA4.Y(25)}, title);
    }
}

TEST(DayGraph, PointsOfACraftedMonth) {
    struct Case {
        Date selected;
        int days;
        const char* first;
        const char* last;
        const char* caption;
    };
    const Case cases[] = {
        {{2011, 6, 30}, 31, "31\n5", "30\n6", "Jahr (2011)"},
        {{2011, 1, 15}, 31, "16\n12", "15\n1", "Jahr (2010~2011)"},
        {{2011, 3, 31}, 28, "4\n3", "31\n3", "Jahr (2011)"},  // 31 February is 3 March
        // From 31 December only January is shown, and named.
        {{2011, 1, 31}, 31, "1\n1", "31\n1", "Jahr (2011)"},
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
        DrawDayGraphScreen(s, p.Data(c.selected), Growth{});

        const auto texts = s.Texts();
        EXPECT_EQ(s.FindText(c.caption) != nullptr, true);
        const Op* first = s.FindText(c.first);
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(first->rect, (Rect{120, 440, 120 + 600 / c.days, 480}));
        EXPECT_EQ(texts.back()->text, c.last);
        EXPECT_EQ(texts.back()->rect.right, 720);

        const auto marks = OpsOf(s, RecordingSurface::Kind::Ellipse);
        ASSERT_EQ(marks.size(), 3u);
        EXPECT_EQ(marks[0]->rect, Marker(0.5, c.days, 125));
        EXPECT_EQ(marks[1]->rect, Marker(2.5, c.days, 200));
        EXPECT_EQ(marks[2]->rect, Marker(c.days - 0.5, c.days, 300));
        EXPECT_EQ(marks[2]->brush.color, kWhite);
        // The grid, then one line across the missing day and one to the last.
        const auto lines = OpsOf(s, RecordingSurface::Kind::Line);
        ASSERT_EQ(lines.size(), static_cast<size_t>(c.days + 2));
        EXPECT_EQ(lines[1]->rect.left, 120 + 600 / c.days);
        const Rect& a = marks[0]->rect;
        const Rect& b = marks[1]->rect;
        EXPECT_EQ(lines[c.days]->rect, (Rect{a.left + 5, a.top + 5, b.left + 5, b.top + 5}));
    }
}

TEST(MealtimeGraph, LegendRowsAndSlotPoints) {
    struct Case {
        int separate, timeFormat;
        std::vector<std::string> texts;
        std::vector<std::pair<int, int>> places;  // column and row of each entry
        std::vector<Color> fills;
        double schlaf, abend;  // where the slots' points sit in their column
    };
    const Color red{192, 0, 0}, olive{192, 192, 0}, green{0, 192, 0}, blue{0, 0, 192},
        violet{192, 0, 192};
    const Case cases[] = {
        {0,
         0,
         // Too wide for one line, each range breaks after its tilde.
         {"12:00 AM~\n04:59 AM", "05:00 AM~\n10:59 AM", "11:00 AM~\n02:59 PM",
          "03:00 PM~\n06:59 PM", "07:00 PM~\n11:59 PM"},
         {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}},
         {red, olive, green, blue, violet},
         0.3,
         0.7},
        {1,
         1,
         {"00:00 ~ 04:59", "05:00 ~ 07:59", "08:00 ~ 10:59", "11:00 ~ 12:59", "13:00 ~ 14:59",
          "15:00 ~ 16:59", "17:00 ~ 18:59", "19:00 ~ 23:59"},
         {{0, 0}, {1, 0}, {1, 1}, {2, 0}, {2, 1}, {3, 0}, {3, 1}, {4, 0}},
         {red, {255, 255, 192}, olive, {192, 255, 192}, green, {192, 192, 255}, blue, violet},
         0.3,
         0.65},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.separate);
        Patient p;
        p.settings.separateMeals = c.separate;
        p.settings.timeFormat = c.timeFormat;
        p.Add({2011, 6, 1}, 2, 100);   // Schlaf, day 1 only
        p.Add({2011, 6, 1}, 20, 200);  // Abend on days 1 and 4
        p.Add({2011, 6, 4}, 20, 300);
        RecordingSurface s;
        DrawMealtimeGraphScreen(s, p.Data({2011, 6, 30}), Growth{});
        for (size_t e = 0; e < c.texts.size(); ++e) {
            const auto [column, row] = c.places[e];
            const int x = 120 * column;
            const Op* text = s.FindText(c.texts[e]);
            ASSERT_NE(text, nullptr) << c.texts[e];
            const int top = c.separate ? 500 + 20 * row : 510;
            EXPECT_EQ(text->rect, (Rect{140 + x, top, 240 + x, c.separate ? top + 20 : 550}));
            const int markerTop = c.separate ? 505 + 20 * row : 525;
            const Op* marker = EllipseAt(s, {125 + x, markerTop, 135 + x, markerTop + 10});
            ASSERT_NE(marker, nullptr) << e;
            EXPECT_EQ(marker->brush.color, c.fills[e]);
        }
        // Schlaf shows one marker and no line; Abend's line skips days 2 and 3.
        EXPECT_NE(EllipseAt(s, Marker(1 + c.schlaf, 31, 100)), nullptr);
        const Op* first = EllipseAt(s, Marker(1 + c.abend, 31, 200));
        const Op* second = EllipseAt(s, Marker(4 + c.abend, 31, 300));
        ASSERT_TRUE(first && second);
        EXPECT_EQ(second->brush.color, c.fills.back());
        const auto lines = OpsOf(s, RecordingSurface::Kind::Line);
        ASSERT_EQ(lines.size(), 32u);
        EXPECT_EQ(lines.back()->rect, (Rect{first->rect.left + 5, first->rect.top + 5,
                                            second->rect.left + 5, second->rect.top + 5}));
        EXPECT_EQ(lines.back()->pen.color, violet);
    }
}

// Every layout on screen and paper, with the printed header and footer,
// keeps its texts inside their boxes and clear of each other.
TEST(GraphPages, TextsFitOnScreenAndPaperWithHeaderAndFooter) {
    PatientFacts facts;
    facts.patientId = "ANNA";
    facts.profile.room = "12";
    facts.profile.bed = "3";
    facts.profile.physician = "Dr. Weber";
    const PrintFonts fonts = PrintFonts::ForScale(kA4.scale);
    for (const int page : {kDayGraphIndex, kMealtimeGraphIndex}) {
        for (const int mode : {0, 1, 2, 3}) {  // unit and separate meals
            SCOPED_TRACE(page * 10 + mode);
            Patient p;
            p.settings.glucoseUnit = mode & 1;
            p.settings.separateMeals = mode >> 1;
            for (int d = 1; d <= 30; ++d)
                for (const int hour : {3, 7, 9, 12, 14, 16, 18, 21})
                    p.Add({2011, 6, d}, hour, 40 + (d * hour * 7) % 500);
            const ReportData data = p.Data({2011, 6, 30});
            RecordingSurface screen;
            DrawReportScreen(page, screen, data, Growth{150, 80});
            EXPECT_EQ(screen.ops().front().rect, (Rect{0, 0, 960, 730}));
            EXPECT_TRUE(test::TextsFitTheirBoxes(screen));
            RecordingSurface paper;
            DrawHeader(paper, kA4, fonts, page + 1, facts, FrameStyleOf(page), true);
            DrawReportPaper(page, paper, kA4, fonts, data, 1);
            DrawFooter(paper, kA4, fonts, page + 1, facts, FrameStyleOf(page));
            EXPECT_TRUE(test::TextsFitTheirBoxes(paper));
        }
    }
}

TEST(GraphPages, WithoutAPeriodOnlyThePlaceholderShows) {
    const Patient none;
    const ReportData data = none.Data({2011, 6, 30});
    for (const auto& [page, separate, dots] : {std::tuple{kDayGraphIndex, 1, "........"},
                                               std::tuple{kMealtimeGraphIndex, 0, ".........."},
                                               std::tuple{kMealtimeGraphIndex, 1, "..........."}}) {
        ReportData d = data;
        d.settings.separateMeals = separate;
        RecordingSurface screen;
        DrawReportScreen(page, screen, d, Growth{});
        ASSERT_EQ(screen.ops().size(), 2u);
        EXPECT_EQ(screen.ops()[1].text, dots);
        EXPECT_EQ(screen.ops()[1].rect, (Rect{0, 0, 810, 650}));
        RecordingSurface paper;
        DrawReportPaper(page, paper, kA4, PrintFonts::ForScale(1), d, 1);
        EXPECT_TRUE(paper.ops().empty());
    }
}

// The certificate's n-th page of a monthly report shows the n-th month
// with readings, newest first.
TEST(GraphPages, CertificatePageOfMonthKShowsMonthK) {
    Patient p;
    p.Add({2011, 6, 10}, 8, 120);
    p.Add({2011, 3, 10}, 8, 120);
    const ReportData data = p.Data({2011, 6, 30});
    const BodyPainter body = ReportBody(data, 1);
    for (const int kind : {kDayGraphIndex + 1, kMealtimeGraphIndex + 1}) {
        for (const auto& [month, label] : {std::pair{1, "10\n6"}, std::pair{2, "10\n3"}}) {
            RecordingSurface s;
            body(s, kA4, PrintFonts::ForScale(kA4.scale), PagePlace{kind, month});
            EXPECT_NE(s.FindText(label), nullptr) << kind << " " << month;
            EXPECT_EQ(OpsOf(s, RecordingSurface::Kind::Ellipse).size(), kind == 5 ? 1u : 9u);
        }
    }
}

class GraphCli : public test::CliTest {
  protected:
    void SetUp() override {
        ReadingList list;
        list.push_back(ReadingFromRecord(test::StoredRecord(1, 0, 2011, 6, 10, 12, 0, 100)));
        ASSERT_TRUE(SaveReadings(dir.path(), "ANNA", list).ok());
        UserSettings settings;
        settings.separateMeals = 0;
        ASSERT_TRUE(WriteProfile(dir.path(), "ANNA", PatientProfile{}, settings).ok());
    }
    std::string Report(int page, const std::string& name) {
        const std::string file = dir.File(name);
        EXPECT_EQ(
            Cli("--today 2011-06-30 report ANNA --page " + std::to_string(page) + " --out " + file),
            0)
            << out;
        return file;
    }
};

TEST_F(GraphCli, PrintedPagesHoldTheirTexts) {
    // The day labels, 31 May to 30 June, as rows with single blanks.
    std::string days = "31";
    std::string months = "5";
    for (int d = 1; d <= 30; ++d) {
        days += " " + std::to_string(d);
        months += " 6";
    }
    days += " Tag";
    months += " Monat";
    const auto pdf = [&](int page, const std::string& name) {
        std::string t = test::PdfText(Report(page, name), true);
        t.erase(
            std::unique(t.begin(), t.end(), [](char a, char b) { return a == ' ' && b == ' '; }),
            t.end());
        return t;
    };
    const std::string day = pdf(4, "day.pdf");
    const std::string meal = pdf(5, "meal.pdf");
    for (const std::string& text : {day, meal}) {
        for (const std::string& expected :
             {std::string("BLUTZUCKER [mg/dL]"), days, months, std::string("Jahr (2011)"),
              std::string(" 600\n"), std::string(" 155\n"), std::string(" 65\n"),
              std::string("Zimmer Nr. :")})
            EXPECT_NE(text.find(expected), std::string::npos) << expected;
    }
    EXPECT_NE(day.find("Grafik: Durchschnittlicher Blutzuckerwert nach Datum"), std::string::npos);
    EXPECT_NE(meal.find("nach Datum und Tageszeit"), std::string::npos);
    EXPECT_NE(meal.find("11:00 ~ 14:59"), std::string::npos);
}

// Day 10 of the period from 31 May holds the one mean: its marker is there.
TEST_F(GraphCli, PictureShowsTheMarkerWhereTheMeanLies) {
    const QImage day(QString::fromStdString(Report(4, "day.png")));
    const QImage meal(QString::fromStdString(Report(5, "meal.png")));
    const double column = 600.0 / 31;
    const int y = static_cast<int>(440 - 0.6 * 100);
    const int x = static_cast<int>(120 + 10.5 * column);  // Mittagessen sits mid-column too
    const Rect circle = Marker(10.5, 31, 100);
    EXPECT_EQ(day.pixelColor(x, y), QColor(Qt::white));
    EXPECT_EQ(day.pixelColor(circle.left, y), QColor(Qt::black));
    EXPECT_EQ(day.pixelColor(circle.right + 2, y), QColor(192, 255, 192));  // the target band
    EXPECT_EQ(meal.pixelColor(x, y), QColor(0, 192, 0));
    EXPECT_EQ(meal.pixelColor(circle.right + 2, y), QColor(192, 255, 192));
}

}  // namespace
}  // namespace dorvel::reports
