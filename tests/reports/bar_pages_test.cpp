// The two bar graph pages: readings by target range and averages by mealtime.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "reports/print_job.h"
#include "reports/recording_surface.h"
#include "reports/report_pages.h"
#include "support/cli_fixture.h"
#include "support/records.h"
#include "text_fit_check.h"

namespace dorvel::reports {
namespace {

constexpr Date kToday{2011, 6, 30};  // the period holds 31 May to 30 June

Reading At(int month, int day, int hour, int value, int marker = 0) {
    return ReadingFromRecord(test::StoredRecord(1, marker, 2011, month, day, hour, 0, value));
}

ReadingList ListOf(const std::vector<Reading>& readings) {
    ReadingList list;
    for (const Reading& r : readings)
        list.push_back(r);
    list.Sort();
    return list;
}

// One reading of each kind of slot, a low one and a control reading.
const ReadingList kMonth = ListOf({At(6, 2, 3, 100), At(6, 3, 6, 150), At(6, 4, 9, 150),
                                   At(6, 5, 12, 40), At(6, 6, 16, 100, 5), At(6, 7, 20, 300)});

ReportData Data(const ReadingList& list, int separateMeals, int unit = 0, int timeFormat = 0) {
    UserSettings s;
    s.separateMeals = separateMeals;
    s.glucoseUnit = unit;
    s.timeFormat = timeFormat;
    return MakeReportData(list, s, {}, kToday, kToday);
}

RecordingSurface Screen(int page, const ReportData& data) {
    RecordingSurface s;
    DrawReportScreen(page, s, data, Growth{});
    return s;
}

// The texts of the boxes whose top-left corner is given, joined by "|".
std::string TextsAt(const RecordingSurface& s, std::vector<std::pair<int, int>> corners) {
    std::string joined;
    for (const auto& [x, y] : corners) {
        const auto texts = s.Texts();
        const auto it = std::find_if(texts.begin(), texts.end(), [&](const auto* op) {
            return op->rect.left == x && op->rect.top == y;
        });
        joined += (joined.empty() ? "" : "|") + (it == texts.end() ? "?" : (*it)->text);
    }
    return joined;
}

// Height and fill of the bar standing on the axis at `left`.
std::pair<int, Color> Bar(const RecordingSurface& s, int left) {
    for (const auto& op : s.ops()) {
        if (op.kind == RecordingSurface::Kind::Rectangle && op.rect.left == left &&
            op.rect.bottom == 400)
            return {400 - op.rect.top, op.brush.color};
    }
    return {-1, kWhite};
}

// The right-aligned texts ending at x `right`, top to bottom, joined by "|".
std::string ValueLabels(const RecordingSurface& s, int right) {
    std::string joined;
    for (const auto* op : s.Texts()) {
        if (op->rect.right == right && (op->flags & kAlignRight))
            joined += (joined.empty() ? "" : "|") + op->text;
    }
    return joined;
}

// Count labels of a chart: above each bar of height h, from y 375 - h.
std::string CountLabels(const RecordingSurface& s, int dx) {
    std::vector<std::pair<int, int>> corners;
    for (int left : {120, 213, 307})
        corners.emplace_back(left + dx, 375 - Bar(s, left + dx).first);
    return TextsAt(s, corners);
}

TEST(RangeBarPage, CountsOfReadingsAndTheirScale) {
    const struct {
        std::vector<Reading> readings;  // all at 21:00, judged with the overall range 65..155
        const char* period;
        int targetHeight;
    } lists[] = {
        {{At(6, 1, 21, 100), At(6, 2, 21, 110), At(6, 3, 21, 120)}, "0 (0%)|3 (100%)|0 (0%)", 45},
        {{At(6, 1, 21, 50), At(6, 2, 21, 100), At(6, 3, 21, 200)}, "1 (33%)|1 (33%)|1 (33%)", 15},
        {{At(6, 1, 21, 100), At(6, 2, 21, 200), At(6, 3, 21, 100, 5), At(6, 4, 21, 30, 5)},
         "0 (0%)|1 (50%)|1 (50%)",
         15},  // control readings stay out of count and total
        {{At(3, 1, 21, 100), At(3, 2, 21, 40)}, "0 (---)|0 (---)|0 (---)", 0},  // empty period
    };
    for (const auto& c : lists) {
        const ReadingList list = ListOf(c.readings);
        const RecordingSurface s = Screen(kRangeBarIndex, Data(list, 0));
        EXPECT_EQ(CountLabels(s, 340), c.period);
        EXPECT_EQ(Bar(s, 553), std::make_pair(c.targetHeight, kTargetFill)) << c.period;
        if (c.targetHeight == 0) {  // the overall chart still counts the older readings
            EXPECT_EQ(CountLabels(s, 0), "1 (50%)|1 (50%)|0 (0%)");
        }
    }

    const struct {
        int low, target, high;
        const char* scale;
        const char* counts;
        int targetHeight;
    } totals[] = {
        {0, 0, 0, "20|15|10|5", "0 (---)|0 (---)|0 (---)", 0},
        {0, 19, 0, "20|15|10|5", "0 (0%)|19 (100%)|0 (0%)", 285},
        {5, 10, 5, "40|30|20|10", "5 (25%)|10 (50%)|5 (25%)", 75},
        {10, 25, 5, "60|45|30|15", "10 (25%)|25 (62%)|5 (12%)", 125},  // shares truncate
        {1000, 44454, 0, "45460|34095|22730|11365", "1000 (2%)|44454 (97%)|0 (0%)", 293},
    };
    const ReadingList none;
    ReportData data = Data(none, 0);
    for (const auto& t : totals) {
        data.stats.overall.overallLowCount = t.low;
        data.stats.overall.overallTargetCount = t.target;
        data.stats.overall.overallHighCount = t.high;
        const RecordingSurface s = Screen(kRangeBarIndex, data);
        EXPECT_EQ(ValueLabels(s, 105), t.scale);
        EXPECT_EQ(CountLabels(s, 0), t.counts);
        EXPECT_EQ(Bar(s, 213).first, t.targetHeight) << t.scale;
    }
}

TEST(RangeBarPage, MealSettingChoosesCountsAndRangeLabels) {
    // 150 before breakfast is high against 65..120 and in range against 65..155.
    const ReadingList list = ListOf({At(6, 3, 7, 150)});
    EXPECT_EQ(CountLabels(Screen(kRangeBarIndex, Data(list, 1)), 340), "0 (0%)|0 (0%)|1 (100%)");
    EXPECT_EQ(CountLabels(Screen(kRangeBarIndex, Data(list, 0)), 340), "0 (0%)|1 (100%)|0 (0%)");

    const struct {
        int separate, unit, dx;
        const char* labels;
    } cases[] = {
        {0, 0, 0, "Niedrig\n0 ~ 64|Zielbereich\n65 ~ 155|Hoch\n156 ~ 600"},
        {0, 1, 0, "Niedrig\n0 ~ 3.5|Zielbereich\n3.6 ~ 8.6|Hoch\n8.6 ~ 33.3"},
        {1, 0, 340, "Niedrig\n0~64(99)|Zielbereich\n65 ~ 120\n(100 ~ 155)|Hoch\n121(156)~600"},
        {1, 1, 0,
         "Niedrig\n0~3.50(5.50)|Zielbereich\n3.6 ~ 6.6\n(5.5)~(8.6)|Hoch\n6.70(8.60)~33.3"},
        {1, 1, 340,
         "Niedrig\n0~3.50(5.50)|Zielbereich\n3.6 ~ 6.6\n(5.5~8.6)|Hoch\n6.70(8.60)~33.3"},
    };
    for (const auto& c : cases) {
        const RecordingSurface s = Screen(kRangeBarIndex, Data(list, c.separate, c.unit));
        EXPECT_EQ(TextsAt(s, {{115 + c.dx, 405}, {209 + c.dx, 405}, {302 + c.dx, 405}}), c.labels);
    }
    EXPECT_EQ(TextsAt(Screen(kRangeBarIndex, Data(list, 1, 1)), {{50, 445}, {400, 445}}),
              "BLUTZUCKER [mmol/L] - Gesamtübersicht aller Messwerte|"
              "BLUTZUCKER [mmol/L] - Monatsübersicht");
}

TEST(MealtimeBarPage, BarsAreJudgedWithTheRangeOfTheirSlot) {
    // Combined: 06:00 and 09:00 share breakfast (150, in the overall range);
    // the control reading leaves dinner without readings.
    const RecordingSurface combined = Screen(kMealtimeBarIndex, Data(kMonth, 0));
    const RecordingSurface mmol = Screen(kMealtimeBarIndex, Data(kMonth, 0, 1, 1));
    const std::vector<std::pair<int, int>> combinedLabels = {
        {125, 325}, {243, 300}, {361, 355}, {479, 375}, {597, 225}};
    EXPECT_EQ(TextsAt(combined, combinedLabels),
              "100 (Zielbereich)|150 (Zielbereich)|40 (Niedrig)|--- (---)|300 (Hoch)");
    EXPECT_EQ(TextsAt(mmol, combinedLabels),
              "5.5 (Zielbereich)|8.3 (Zielbereich)|2.2 (Niedrig)|--- (---)|16.6 (Hoch)");
    EXPECT_EQ(Bar(combined, 479), std::make_pair(0, kLowFill));
    EXPECT_EQ(Bar(combined, 597), std::make_pair(150, kHighFill));
    EXPECT_EQ(TextsAt(mmol, {{592, 405}}), "Abend\n(19:00 ~ 23:59)");
    EXPECT_EQ(ValueLabels(mmol, 115), "33.3|8.6|3.6|0");

    // Separated: 150 is high before a meal (65..120), in range after it (100..155).
    const RecordingSurface apart = Screen(kMealtimeBarIndex, Data(kMonth, 1));
    EXPECT_EQ(TextsAt(apart, {{201, 290}, {274, 290}, {347, 345}, {420, 365}}),
              "150\n(Hoch)|150\n(Zielbereich)|40\n(Niedrig)|---\n(---)");
    EXPECT_EQ(Bar(apart, 201), std::make_pair(75, kHighFill));
    EXPECT_EQ(Bar(apart, 274), std::make_pair(75, kTargetFill));
    EXPECT_EQ(TextsAt(apart, {{197, 405}}), "vor\nFrühstück\n(05:00 AM  \n~ 07:59 AM)");
    EXPECT_EQ(ValueLabels(apart, 115), "600|155|120|100|65|0");
    ReportData same = Data(kMonth, 1);
    same.settings.afterMeal.high = same.settings.beforeMeal.high = 140;
    EXPECT_EQ(ValueLabels(Screen(kMealtimeBarIndex, same), 115), "600|140|100|65|0");
    // An average on a limit is in range.
    const ReadingList onLimit = ListOf({At(6, 2, 21, 155)});
    EXPECT_EQ(Bar(Screen(kMealtimeBarIndex, Data(onLimit, 0)), 597).second, kTargetFill);
}

}  // namespace
}  // namespace dorvel::reports
