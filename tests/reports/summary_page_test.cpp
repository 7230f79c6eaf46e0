#include "reports/summary_page.h"

#include <gtest/gtest.h>

#include "monthly_page_support.h"

namespace dorvel::reports {
namespace {

using test::Patient;
using test::TextIn;

RecordingSurface Screen(const ReportData& data) {
    RecordingSurface page;
    DrawSummaryScreen(page, data, Growth{});
    return page;
}

// Screen boxes: the value of upper row k, and cell c of lower row k (left
// table 0..3, right table 4..7; a left-aligned text keeps 2 pixels room).
Rect Upper(int k, bool month) {
    return Rect{month ? 630 : 250, 110 + 20 * k, month ? 760 : 380, 130 + 20 * k};
}
Rect Lower(int k, int c) {
    static constexpr int x[] = {60, 250, 340, 390, 440, 460, 540, 647, 753, 800};
    const int at = c < 4 ? c : c + 1;
    return Rect{x[at] + (c == 4 ? 2 : 0), 370 + 20 * k, x[at + 1], 390 + 20 * k};
}

TEST(SummaryPage, FiguresByKindOfPatient) {
    Patient controls;
    controls.Add(2011, 6, 1, 8, 0, 100, 5).Add(2011, 6, 2, 8, 0, 110, 5);
    Patient one;
    one.Add(2011, 6, 1, 8, 0, 120);
    Patient three;  // low, in range and high on one day
    three.Add(2011, 6, 1, 2, 0, 50).Add(2011, 6, 1, 3, 0, 100).Add(2011, 6, 1, 4, 0, 200);
    struct Case {
        Patient patient;
        // mean, daily mean, deviation, count, days, highest, lowest; per cent high
        std::array<const char*, 8> figures;
    };
    const Case cases[] = {
        {Patient(), {"---", "---", "---", "0", "0", "---", "---", "---"}},
        // Control readings are counted but have no value to average.
        {controls, {"---", "---", "---", "2", "0", "---", "---", "---"}},
        {one, {"120", "120", "---", "1", "1", "120", "120", "0%"}},
        {three, {"116", "116", "62", "3", "1", "200", "50", "33%"}},
    };
    for (const Case& c : cases) {
        const RecordingSurface page = Screen(c.patient.Data(UserSettings{}, {2011, 6, 30}));
        for (int k = 0; k < 7; ++k)
            EXPECT_EQ(TextIn(page, Upper(k, false)), c.figures[static_cast<size_t>(k)]) << k;
        // The month holds the same readings.
        EXPECT_EQ(TextIn(page, Upper(1, true)), c.figures[0]);
        EXPECT_EQ(TextIn(page, Upper(3, true)), c.figures[2]);
        EXPECT_EQ(TextIn(page, Upper(7, true)), c.figures[6]);
        EXPECT_EQ(TextIn(page, Lower(0, 3)), c.figures[7]);
        EXPECT_EQ(TextIn(page, Lower(3, 3)), c.figures[7]);
    }
}

TEST(SummaryPage, RangesAndTimeRowsBySettings) {
    // 130 before breakfast: inside the overall range, above the before-meal one.
    Patient p;
    p.Add(2011, 6, 1, 6, 0, 130).Add(2011, 6, 2, 6, 0, 100).Add(2011, 6, 3, 20, 0, 300);
    struct Case {
        int unit, separate, low, high;
        const char* ranges;  // high, target, low: range and count
        int timeRows;
        const char* breakfast;  // time, mean, deviation of its first row
    };
    const Case cases[] = {
        {0, 0, 70, 140, "141 ~ 600|1| 70 ~ 140|2|   0 ~  69|0|", 5,
         "12:00 AM ~ 04:59 AM|05:00 AM ~ 10:59 AM|115|15"},
        {1, 0, 70, 140, "7.8 ~ 33.3|1|3.8 ~ 7.7|2|   0 ~ 3.8|0|", 5,
         "12:00 AM ~ 04:59 AM|05:00 AM ~ 10:59 AM|6.3|0.8"},
        {0, 1, 65, 155, "121(156)~600|2| 65(100)~120(155)|1| 0~ 64( 99)|0|", 8,
         "12:00 AM ~ 04:59 AM|05:00 AM ~ 07:59 AM|115|15"},
        {1, 1, 65, 155, "6.7(8.6)~33.3|2|3.6(5.5)~6.6(8.6)|1| 0~3.5(5.5)|0|", 8,
         "12:00 AM ~ 04:59 AM|05:00 AM ~ 07:59 AM|6.3|0.8"},
    };
    for (const Case& c : cases) {
        UserSettings s;
        s.glucoseUnit = c.unit;
        s.separateMeals = c.separate;
        s.overall = {c.low, c.high};
        const RecordingSurface page = Screen(p.Data(s, {2011, 6, 30}));
        std::string ranges;
        for (int k = 0; k < 3; ++k) {
            ranges += TextIn(page, Lower(k, 1)) + "|" + TextIn(page, Lower(k, 2)) + "|";
            // The month's table holds the same readings.
            EXPECT_EQ(TextIn(page, Lower(k + 3, 1)), TextIn(page, Lower(k, 1)));
            EXPECT_EQ(TextIn(page, Lower(k + 3, 2)), TextIn(page, Lower(k, 2)));
        }
        EXPECT_EQ(ranges, c.ranges);
        const std::string rows = TextIn(page, Lower(0, 4)) + "|" + TextIn(page, Lower(1, 4)) + "|" +
                                 TextIn(page, Lower(1, 5)) + "|" + TextIn(page, Lower(1, 6));
        EXPECT_EQ(rows, c.breakfast);
        EXPECT_EQ(TextIn(page, Lower(c.timeRows - 1, 4)), "07:00 PM ~ 11:59 PM");
        EXPECT_EQ(TextIn(page, Lower(c.timeRows - 1, 5)), c.unit == 0 ? "300" : "16.6");
        EXPECT_EQ(TextIn(page, Lower(c.timeRows, 4)), "<none>");
    }
}

}  // namespace
}  // namespace dorvel::reports
