#include "reports/logbook_page.h"

#include <gtest/gtest.h>

#include "monthly_page_support.h"

namespace dorvel::reports {
namespace {

using test::Patient;
using test::TextIn;

// Screen box of column c in day row d with the given row step.
Rect Cell(int c, int d, int step = 16) {
    const auto edges = LogbookScreenEdges(0);
    return Rect{edges[static_cast<size_t>(c)], 29 + step * (d + 1),
                edges[static_cast<size_t>(c + 1)], 48 + step * (d + 1)};
}

RecordingSurface Screen(const ReportData& data) {
    RecordingSurface page;
    DrawLogbookScreen(page, data, Growth{});
    return page;
}

TEST(LogbookPage, DayRowsByPeriodAndPatient) {
    Patient p;
    p.Add(2010, 12, 20, 8, 0, 100).Add(2011, 2, 10, 8, 0, 100).Add(2011, 6, 3, 7, 0, 100);
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
        EXPECT_EQ(TextIn(page, Cell(0, 0, c.step)), c.first);
        EXPECT_EQ(TextIn(page, Cell(0, c.days - 1, c.step)), c.last);
        EXPECT_EQ(TextIn(page, Cell(0, c.days, c.step)), "<none>");
    }

    // One reading before breakfast in June: only its cell has a text; a day
    // without readings keeps its date and five white cells.
    const RecordingSurface june = Screen(p.Data(UserSettings{}, {2011, 6, 30}));
    EXPECT_EQ(june.Texts().size(), 6u + 31u + 1u);
    EXPECT_EQ(TextIn(june, Cell(2, 3)), "100 (100 /   0)");
    EXPECT_EQ(TextIn(june, Cell(0, 4)), "04.06.2011");
    for (int c = 1; c <= 5; ++c)
        EXPECT_EQ(june.RectanglesAt(Cell(c, 4))[0]->brush.color, kWhite) << c;

    // No readings at all: the header alone.
    EXPECT_EQ(Screen(Patient().Data(UserSettings{}, {2011, 6, 30})).ops().size(), 1u + 6u + 6u);
}

TEST(LogbookPage, CellsByValueAndUnit) {
    Patient p;  // at night against the overall range 65..155, and one breakfast
    p.Add(2011, 6, 1, 2, 0, 64).Add(2011, 6, 2, 2, 0, 65).Add(2011, 6, 3, 2, 0, 155);
    p.Add(2011, 6, 4, 2, 0, 156).Add(2011, 6, 5, 2, 0, 600);
    p.Add(2011, 6, 6, 6, 0, 92).Add(2011, 6, 6, 9, 0, 112);
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
        {3, 1, kTargetFill, "155", "8.6"},
        {4, 1, kHighFill, "156", "8.6"},
        {5, 1, kHighFill, "600", "33.3"},
        {6, 2, kTargetFill, "102 ( 92 / 112)", "5.6 (5.1 / 6.2)"},  // each converted alone
    };
    for (const int unit : {0, 1}) {
        UserSettings s;
        s.glucoseUnit = unit;
        const RecordingSurface page = Screen(p.Data(s, {2011, 6, 30}));
        for (const Case& c : cases) {
            EXPECT_EQ(TextIn(page, Cell(c.column, c.day)), unit == 0 ? c.mgdl : c.mmol);
            EXPECT_EQ(page.RectanglesAt(Cell(c.column, c.day))[0]->brush.color, c.fill) << c.day;
        }
        EXPECT_EQ(page.FindText(unit == 0 ? "600" : "33.3")->textColor, kBlue);
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
}

}  // namespace
}  // namespace dorvel::reports
