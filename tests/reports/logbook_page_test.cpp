#include "reports/logbook_page.h"

#include <gtest/gtest.h>

#include "monthly_page_support.h"
#include "reports/page_frame.h"
#include "text_fit_check.h"

namespace dorvel::reports {
namespace {

using test::Patient;
using test::TextIn;

// Screen box of column c in day row d with the given row step.
Rect ScreenCell(int c, int d, int step) {
    const auto edges = LogbookScreenEdges(0);
    return Rect{edges[static_cast<size_t>(c)], 29 + step * (d + 1),
                edges[static_cast<size_t>(c + 1)], 48 + step * (d + 1)};
}

RecordingSurface Screen(const ReportData& data, Growth growth = {}) {
    RecordingSurface page;
    DrawLogbookScreen(page, data, growth);
    return page;
}

TEST(LogbookPage, DayRowsFollowTheLengthOfThePeriod) {
    Patient p;
    p.Add(2010, 12, 20, 8, 0, 100).Add(2011, 2, 10, 8, 0, 100).Add(2011, 6, 10, 8, 0, 100);
    struct Case {
        Date selected;
        int days;
        int step;
        const char* first;
        const char* last;
    };
    const Case cases[] = {
        {{2011, 6, 30}, 31, 16, "31.05.2011", "30.06.2011"},
        {{2010, 12, 31}, 30, 17, "02.12.2010", "31.12.2010"},  // 31 November is 1 December
        {{2011, 3, 1}, 28, 17, "02.02.2011", "01.03.2011"},
    };
    for (const Case& c : cases) {
        const RecordingSurface page = Screen(p.Data(UserSettings{}, c.selected));
        EXPECT_EQ(TextIn(page, ScreenCell(0, 0, c.step)), c.first) << c.days;
        EXPECT_EQ(TextIn(page, ScreenCell(0, c.days - 1, c.step)), c.last) << c.days;
        EXPECT_EQ(TextIn(page, ScreenCell(0, c.days, c.step)), "<none>") << c.days;
    }

    // On paper a row keeps its height whatever the number of days.
    const PaperMetrics paper = PaperMetrics::FromMillimetres(202, 289);
    RecordingSurface sheet;
    DrawLogbookPaper(sheet, paper, p.Data(UserSettings{}, {2011, 6, 30}));
    const auto edges = LogbookPaperEdges(paper);
    EXPECT_EQ(TextIn(sheet, Rect{edges[0], paper.Y(7.74 + 0.78 * 31), edges[1],
                                 paper.Y(8.52 + 0.78 * 31)}),
              "30.06.2011");
    EXPECT_EQ(TextIn(sheet, Rect{edges[0], paper.Y(7.0 + 0.16), edges[1], paper.Y(8.52)}), "Datum");
}

TEST(LogbookPage, EmptyPatientAndDaysWithoutReadings) {
    // No readings: the header alone.
    const RecordingSurface empty = Screen(Patient().Data(UserSettings{}, {2011, 6, 30}));
    EXPECT_EQ(empty.Texts().size(), 6u);
    EXPECT_EQ(empty.ops().size(), 1u + 6u + 6u);

    // One reading before breakfast: its cell shows the group mean with the
    // before-meal and (missing) after-meal means; every other cell is white
    // and empty, and days without readings keep their date.
    Patient one;
    one.Add(2011, 6, 3, 7, 0, 100);
    const RecordingSurface page = Screen(one.Data(UserSettings{}, {2011, 6, 30}));
    EXPECT_EQ(TextIn(page, ScreenCell(2, 3, 16)), "100 (100 /   0)");
    EXPECT_EQ(page.Texts().size(), 6u + 31u + 1u);
    for (int c = 1; c <= 5; ++c) {
        const auto cells = page.RectanglesAt(ScreenCell(c, 4, 16));
        ASSERT_EQ(cells.size(), 1u) << c;
        EXPECT_EQ(cells[0]->brush.color, kWhite) << c;
    }
    EXPECT_EQ(TextIn(page, ScreenCell(0, 4, 16)), "04.06.2011");
    EXPECT_EQ(page.RectanglesAt(ScreenCell(0, 4, 16))[0]->brush.color, kSilver);
}

TEST(LogbookPage, CellsByValueAndUnit) {
    // One value a day at night (overall range 65..155), and one meal.
    Patient p;
    p.Add(2011, 6, 1, 2, 0, 64).Add(2011, 6, 2, 2, 0, 65).Add(2011, 6, 3, 2, 0, 155);
    p.Add(2011, 6, 4, 2, 0, 156).Add(2011, 6, 5, 2, 0, 600);
    p.Add(2011, 6, 6, 6, 0, 92).Add(2011, 6, 6, 9, 0, 112);  // breakfast 102
    struct Case {
        int day;
        int column;
        Color fill;
        const char* mgdl;
        const char* mmol;
    };
    const Case cases[] = {
        {1, 1, kLowFill, " 64", "3.5"},
        {2, 1, kTargetFill, " 65", "3.6"},
        {3, 1, kTargetFill, "155", "8.6"},  // the high bound is still in range
        {4, 1, kHighFill, "156", "8.6"},
        {5, 1, kHighFill, "600", "33.3"},
        {6, 2, kTargetFill, "102 ( 92 / 112)", "5.6 (5.1 / 6.2)"},  // each converted alone
    };
    for (const int unit : {0, 1}) {
        UserSettings s;
        s.glucoseUnit = unit;
        const RecordingSurface page = Screen(p.Data(s, {2011, 6, 30}));
        for (const Case& c : cases) {
            const Rect box = ScreenCell(c.column, c.day, 16);  // row 0 is 31 May
            EXPECT_EQ(TextIn(page, box), unit == 0 ? c.mgdl : c.mmol) << c.day;
            EXPECT_EQ(page.RectanglesAt(box)[0]->brush.color, c.fill) << c.day;
        }
        EXPECT_EQ(page.FindText(unit == 0 ? "155" : "8.6")->textColor, kBlue);
    }
}

TEST(LogbookPage, HeadersShowTheGroupTimes) {
    struct Case {
        int timeFormat;
        TimeOfDay first;
        const char* night;
        const char* evening;
    };
    const Case cases[] = {
        {0, {0, 0, 0}, "Schlaf\n12:00 AM ~ 04:59 AM", "Abend\n07:00 PM ~ 11:59 PM"},
        {1, {0, 0, 0}, "Schlaf\n00:00 ~ 04:59", "Abend\n19:00 ~ 23:59"},
        {1, {1, 30, 0}, "Schlaf\n01:30 ~ 04:59", "Abend\n19:00 ~ 01:29"},
    };
    for (const Case& c : cases) {
        UserSettings s;
        s.timeFormat = c.timeFormat;
        s.slotStart[0] = c.first;
        const RecordingSurface page = Screen(Patient().Data(s, {2011, 6, 30}));
        EXPECT_EQ(TextIn(page, Rect{100, 14, 238, 48}), c.night);
        EXPECT_EQ(TextIn(page, Rect{652, 14, 790, 48}), c.evening);
    }
    UserSettings s;
    s.timeFormat = 1;
    const RecordingSurface page = Screen(Patient().Data(s, {2011, 6, 30}));
    EXPECT_EQ(TextIn(page, Rect{238, 14, 376, 48}), "Frühstück (vor/nach)\n05:00 ~ 10:59");
    EXPECT_EQ(TextIn(page, Rect{514, 14, 652, 48}), "Abendessen (vor/nach)\n15:00 ~ 18:59");
}

TEST(LogbookPage, ColumnsShareTheExtraWidth) {
    EXPECT_EQ(LogbookScreenEdges(0), (std::array<int, 7>{10, 100, 238, 376, 514, 652, 790}));
    EXPECT_EQ(LogbookScreenEdges(71)[6], 790 + 6 * (10 + 1));  // 71 = 7 * 10 + 1
    EXPECT_EQ(LogbookScreenEdges(-15)[1], 100 - 2 - 1);        // quotient -2, remainder -1
    const PaperMetrics paper = PaperMetrics::FromTwips(8000, 16000);
    EXPECT_EQ(LogbookPaperEdges(paper),
              (std::array<int, 7>{500, 1310, 2550, 3780, 5020, 6260, 7500}));
}

TEST(LogbookPage, EveryTextFitsItsBoxOnScreenAndPaper) {
    const Patient june = test::JunePatient();
    const PaperMetrics paper = PaperMetrics::FromMillimetres(202, 289);
    const PrintFonts fonts = PrintFonts::ForScale(paper.scale);
    PatientFacts facts;
    facts.patientId = "P1";
    for (const int unit : {0, 1}) {
        for (const int timeFormat : {0, 1}) {
            UserSettings s;
            s.glucoseUnit = unit;
            s.timeFormat = timeFormat;
            s.dateFormat = unit;
            const ReportData data = june.Data(s, test::kJuneEnd);
            EXPECT_TRUE(test::TextsFitTheirBoxes(Screen(data))) << unit << timeFormat;
            EXPECT_TRUE(test::TextsFitTheirBoxes(Screen(data, Growth{-20, 0})));
            RecordingSurface sheet;
            DrawHeader(sheet, paper, fonts, kLogbookIndex + 1, facts, FrameStyleOf(kLogbookIndex),
                       true);
            DrawLogbookPaper(sheet, paper, data);
            DrawFooter(sheet, paper, fonts, kLogbookIndex + 1, facts, FrameStyleOf(kLogbookIndex));
            EXPECT_TRUE(test::TextsFitTheirBoxes(sheet)) << unit << timeFormat;
        }
    }
}

TEST(LogbookPage, ScreenMatchesItsReference) {
    UserSettings s;
    s.timeFormat = 0;
    EXPECT_TRUE(test::MatchesReference(
        test::Dump(Screen(test::JunePatient().Data(s, test::kJuneEnd))), "logbook-screen.txt"));
}

}  // namespace
}  // namespace dorvel::reports
