// The two bar graph pages: readings by target range and averages by mealtime.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <sstream>

#include "reports/page_frame.h"
#include "reports/print_job.h"
#include "reports/recording_surface.h"
#include "reports/report_pages.h"
#include "support/cli_fixture.h"
#include "support/records.h"
#include "text_fit_check.h"

namespace dorvel::reports {
namespace {

using Op = RecordingSurface::Op;
using Labels = std::array<std::string, 3>;

constexpr Date kToday{2011, 6, 30};  // the period holds 31 May to 30 June

Reading At(int month, int day, int hour, int minute, int value, int marker = 0) {
    return ReadingFromRecord(test::StoredRecord(1, marker, 2011, month, day, hour, minute, value));
}

ReadingList ListOf(std::vector<Reading> readings) {
    ReadingList list;
    for (const Reading& r : readings)
        list.push_back(r);
    list.Sort();
    return list;
}

// A month of readings, one per slot kind, and a control reading.
ReadingList Month() {
    return ListOf({At(6, 2, 3, 0, 100),      // Schlaf: overall range, in range
                   At(6, 3, 6, 0, 150),      // before breakfast: above 65..120
                   At(6, 4, 9, 0, 150),      // after breakfast: inside 100..155
                   At(6, 5, 12, 0, 40),      // before lunch: low
                   At(6, 6, 16, 0, 100, 5),  // control solution: counts nowhere
                   At(6, 7, 20, 0, 300)});   // Abend: high
}

UserSettings Settings(int separateMeals, int unit = 0, int timeFormat = 0) {
    UserSettings s;
    s.separateMeals = separateMeals;
    s.glucoseUnit = unit;
    s.timeFormat = timeFormat;
    return s;
}

RecordingSurface Screen(int page, const ReportData& data) {
    RecordingSurface s;
    DrawReportScreen(page, s, data, Growth{});
    return s;
}

std::string TextIn(const RecordingSurface& s, const Rect& box) {
    for (const Op* op : s.Texts()) {
        if (op->rect == box)
            return op->text;
    }
    return "<none>";
}

// The filled bar that starts at `left`, or null.
const Op* BarAt(const RecordingSurface& s, int left) {
    for (const Op& op : s.ops()) {
        if (op.kind == RecordingSurface::Kind::Rectangle && op.rect.left == left &&
            op.rect.bottom == 400 && op.rect.top > 0)
            return &op;
    }
    return nullptr;
}

// The texts right-aligned at x `right`, top to bottom: the value labels.
std::vector<std::string> ValueLabels(const RecordingSurface& s, int right) {
    std::vector<std::string> texts;
    for (const Op* op : s.Texts()) {
        if (op->rect.right == right && (op->flags & kAlignRight))
            texts.push_back(op->text);
    }
    return texts;
}

// Turned text is drawn as given, so its fit is checked here: it lies inside
// one of `clips` and clear of every other text.
::testing::AssertionResult TurnedTextsFit(const RecordingSurface& page,
                                          const std::vector<Rect>& clips) {
    std::ostringstream faults;
    for (const Op* turned : page.Texts()) {
        if (turned->angle == 0)
            continue;
        const double length = MeasureText(turned->font, turned->text).width;
        const TextExtent e{static_cast<double>(turned->rect.left), turned->rect.top - length,
                           turned->rect.left + LineHeight(turned->font),
                           static_cast<double>(turned->rect.top)};
        const bool inside = std::any_of(clips.begin(), clips.end(), [&](const Rect& c) {
            return e.left >= c.left && e.right <= c.right && e.top >= c.top && e.bottom <= c.bottom;
        });
        if (!inside)
            faults << "\"" << turned->text << "\" leaves its box\n";
        for (const Op* other : page.Texts()) {
            if (other->angle != 0 || other->text.empty())
                continue;
            const TextExtent o = ExtentOfText(other->rect, other->font, other->text, other->flags);
            if (std::min(e.right, o.right) > std::max(e.left, o.left) &&
                std::min(e.bottom, o.bottom) > std::max(e.top, o.top))
                faults << "\"" << turned->text << "\" overlaps \"" << other->text << "\"\n";
        }
    }
    const std::string text = faults.str();
    if (text.empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << text;
}

// --- Bar graph by target range ---------------------------------------------

constexpr int kRangePage = kRangeBarIndex;
constexpr std::array<int, 3> kRangeBarLeft = {120, 213, 307};
constexpr std::array<int, 3> kRangeBarRight = {193, 287, 370};
constexpr int kPeriodShift = 340;

Labels CountLabels(const RecordingSurface& s, int dx) {
    Labels labels;
    for (size_t k = 0; k < 3; ++k) {
        const Op* bar = BarAt(s, kRangeBarLeft[k] + dx);
        if (bar == nullptr)
            return {"<no bar>", "", ""};
        const int h = 400 - bar->rect.top;
        labels[k] =
            TextIn(s, Rect{kRangeBarLeft[k] + dx, 375 - h, kRangeBarRight[k] + dx, 395 - h});
    }
    return labels;
}

std::array<int, 3> Heights(const RecordingSurface& s, int dx) {
    std::array<int, 3> h{};
    for (size_t k = 0; k < 3; ++k)
        h[k] = 400 - BarAt(s, kRangeBarLeft[k] + dx)->rect.top;
    return h;
}

TEST(RangeBarPage, CountsOfCraftedReadings) {
    const struct {
        const char* name;
        std::vector<Reading> readings;
        Labels overall;
        Labels period;
        std::array<int, 3> periodHeights;
    } cases[] = {
        {"all in one class",
         {At(6, 1, 21, 0, 100), At(6, 2, 21, 0, 110), At(6, 3, 21, 0, 120)},
         {"0 (0%)", "3 (100%)", "0 (0%)"},
         {"0 (0%)", "3 (100%)", "0 (0%)"},
         {0, 45, 0}},
        {"1 of 3",
         {At(6, 1, 21, 0, 50), At(6, 2, 21, 0, 100), At(6, 3, 21, 0, 200)},
         {"1 (33%)", "1 (33%)", "1 (33%)"},
         {"1 (33%)", "1 (33%)", "1 (33%)"},
         {15, 15, 15}},
        {"control readings stay out of the total",
         {At(6, 1, 21, 0, 100), At(6, 2, 21, 0, 200), At(6, 3, 21, 0, 100, 5),
          At(6, 4, 21, 0, 30, 5)},
         {"0 (0%)", "1 (50%)", "1 (50%)"},
         {"0 (0%)", "1 (50%)", "1 (50%)"},
         {0, 15, 15}},
        {"empty period",
         {At(3, 1, 21, 0, 100), At(3, 2, 21, 0, 40)},
         {"1 (50%)", "1 (50%)", "0 (0%)"},
         {"0 (---)", "0 (---)", "0 (---)"},
         {0, 0, 0}},
    };
    for (const auto& c : cases) {
        const ReadingList list = ListOf(c.readings);
        const RecordingSurface s =
            Screen(kRangePage, MakeReportData(list, Settings(0), {}, kToday, kToday));
        EXPECT_EQ(CountLabels(s, 0), c.overall) << c.name;
        EXPECT_EQ(CountLabels(s, kPeriodShift), c.period) << c.name;
        EXPECT_EQ(Heights(s, kPeriodShift), c.periodHeights) << c.name;
        EXPECT_EQ(BarAt(s, 213)->brush.color, kTargetFill) << c.name;
    }
}

TEST(RangeBarPage, ScaleIsTheNextMultipleOfTwentyAboveTheTotal) {
    const ReadingList none;
    ReportData data = MakeReportData(none, Settings(0), {}, kToday, kToday);
    const struct {
        std::array<int, 3> counts;
        std::vector<std::string> scale;
        std::array<int, 3> heights;
    } cases[] = {
        {{0, 0, 0}, {"20", "15", "10", "5"}, {0, 0, 0}},
        {{0, 19, 0}, {"20", "15", "10", "5"}, {0, 285, 0}},
        {{5, 10, 5}, {"40", "30", "20", "10"}, {37, 75, 37}},
        {{10, 25, 5}, {"60", "45", "30", "15"}, {50, 125, 25}},
        {{1000, 44454, 0}, {"45460", "34095", "22730", "11365"}, {6, 293, 0}},
    };
    for (const auto& c : cases) {
        data.stats.overall.overallLowCount = c.counts[0];
        data.stats.overall.overallTargetCount = c.counts[1];
        data.stats.overall.overallHighCount = c.counts[2];
        const RecordingSurface s = Screen(kRangePage, data);
        EXPECT_EQ(ValueLabels(s, 105), c.scale) << c.scale[0];
        EXPECT_EQ(Heights(s, 0), c.heights) << c.scale[0];
    }
    EXPECT_EQ(CountLabels(Screen(kRangePage, data), 0)[1], "44454 (97%)");
    data.stats.overall.overallLowCount = 10;
    data.stats.overall.overallTargetCount = 25;
    data.stats.overall.overallHighCount = 5;
    // Shares truncate, so they need not add up to 100.
    EXPECT_EQ(CountLabels(Screen(kRangePage, data), 0),
              (Labels{"10 (25%)", "25 (62%)", "5 (12%)"}));
}

TEST(RangeBarPage, MealSettingChoosesCountsAndRangeLabels) {
    // 150 before breakfast is high against the before-meal range 65..120
    // and in range against the overall 65..155.
    const ReadingList list = ListOf({At(6, 3, 7, 30, 150)});
    const RecordingSurface apart =
        Screen(kRangePage, MakeReportData(list, Settings(1), {}, kToday, kToday));
    const RecordingSurface together =
        Screen(kRangePage, MakeReportData(list, Settings(0), {}, kToday, kToday));
    EXPECT_EQ(CountLabels(apart, kPeriodShift)[2], "1 (100%)");
    EXPECT_EQ(CountLabels(together, kPeriodShift)[1], "1 (100%)");

    const auto classLabels = [&](const UserSettings& s, int dx) {
        const RecordingSurface page =
            Screen(kRangePage, MakeReportData(list, s, {}, kToday, kToday));
        return Labels{TextIn(page, Rect{115 + dx, 405, 198 + dx, 445}),
                      TextIn(page, Rect{209 + dx, 405, 292 + dx, 445}),
                      TextIn(page, Rect{302 + dx, 405, 385 + dx, 445})};
    };
    EXPECT_EQ(classLabels(Settings(0, 0), 0),
              (Labels{"Niedrig\n0 ~ 64", "Zielbereich\n65 ~ 155", "Hoch\n156 ~ 600"}));
    EXPECT_EQ(classLabels(Settings(0, 1), 0),
              (Labels{"Niedrig\n0 ~ 3.5", "Zielbereich\n3.6 ~ 8.6", "Hoch\n8.6 ~ 33.3"}));
    EXPECT_EQ(
        classLabels(Settings(1, 0), kPeriodShift),
        (Labels{"Niedrig\n0~64(99)", "Zielbereich\n65 ~ 120\n(100 ~ 155)", "Hoch\n121(156)~600"}));
    EXPECT_EQ(classLabels(Settings(1, 1), 0),
              (Labels{"Niedrig\n0~3.50(5.50)", "Zielbereich\n3.6 ~ 6.6\n(5.5)~(8.6)",
                      "Hoch\n6.70(8.60)~33.3"}));
    EXPECT_EQ(classLabels(Settings(1, 1), kPeriodShift)[1], "Zielbereich\n3.6 ~ 6.6\n(5.5~8.6)");

    EXPECT_EQ(TextIn(apart, Rect{50, 445, 400, 465}),
              "BLUTZUCKER [mg/dL] - Gesamtübersicht aller Messwerte");
    const RecordingSurface mmol =
        Screen(kRangePage, MakeReportData(list, Settings(1, 1), {}, kToday, kToday));
    EXPECT_EQ(TextIn(mmol, Rect{400, 445, 720, 465}), "BLUTZUCKER [mmol/L] - Monatsübersicht");
}

TEST(RangeBarPage, PeriodLineNamesTheDayAfterThePeriodStart) {
    const ReadingList list = Month();
    const std::pair<int, const char*> cases[] = {{0, "(2011-05-31 ~ 2011-06-30)"},
                                                 {1, "(05/31/2011 ~ 06/30/2011)"},
                                                 {2, "(31.05.2011 ~ 30.06.2011)"}};
    for (const auto& [format, line] : cases) {
        UserSettings s;
        s.dateFormat = format;
        const ReportData data = MakeReportData(list, s, {}, kToday, kToday);
        EXPECT_EQ(TextIn(Screen(kRangePage, data), Rect{400, 465, 720, 485}), line);
        EXPECT_EQ(TextIn(Screen(kMealtimeBarIndex, data), Rect{120, 505, 710, 525}), line);
    }
}

// --- Average bar graph by mealtime -----------------------------------------

constexpr int kMealPage = kMealtimeBarIndex;

TEST(MealtimeBarPage, CombinedBarsShowAveragesJudgedWithTheOverallRange) {
    const ReadingList list = Month();
    const struct {
        int left;
        int mean;  // 0: no readings
        const char* label;
        const char* mmolLabel;
        Color fill;
    } bars[] = {
        {125, 100, "100 (Zielbereich)", "5.5 (Zielbereich)", kTargetFill},
        {243, 150, "150 (Zielbereich)", "8.3 (Zielbereich)", kTargetFill},  // 06:00 and 09:00
        {361, 40, "40 (Niedrig)", "2.2 (Niedrig)", kLowFill},
        {479, 0, "--- (---)", "--- (---)", kLowFill},  // the control reading does not count
        {597, 300, "300 (Hoch)", "16.6 (Hoch)", kHighFill},
    };
    const RecordingSurface mg =
        Screen(kMealPage, MakeReportData(list, Settings(0), {}, kToday, kToday));
    const RecordingSurface mmol =
        Screen(kMealPage, MakeReportData(list, Settings(0, 1, 1), {}, kToday, kToday));
    for (const auto& bar : bars) {
        const int top = 400 - bar.mean / 2;
        const Op* drawn = BarAt(mg, bar.left);
        ASSERT_NE(drawn, nullptr) << bar.label;
        EXPECT_EQ(drawn->rect, (Rect{bar.left, top, bar.left + 108, 400})) << bar.label;
        EXPECT_EQ(drawn->brush.color, bar.fill) << bar.label;
        EXPECT_EQ(TextIn(mg, Rect{bar.left, top - 25, bar.left + 108, top - 5}), bar.label);
        EXPECT_EQ(TextIn(mmol, Rect{bar.left, top - 25, bar.left + 108, top - 5}), bar.mmolLabel);
    }
    EXPECT_EQ(TextIn(mg, Rect{238, 405, 356, 445}), "Frühstück\n(05:00 AM ~ 10:59 AM)");
    EXPECT_EQ(TextIn(mmol, Rect{592, 405, 710, 445}), "Abend\n(19:00 ~ 23:59)");
    EXPECT_EQ(TextIn(mg, Rect{120, 445, 710, 465}), "Mahlzeit - MonatsÜbersicht");
    EXPECT_EQ(ValueLabels(mg, 115), (std::vector<std::string>{"600", "155", "65", "0"}));
    EXPECT_EQ(ValueLabels(mmol, 115), (std::vector<std::string>{"33.3", "8.6", "3.6", "0"}));
    EXPECT_NE(mmol.FindText("BLUTZUCKER [mmol/L]"), nullptr);
}

TEST(MealtimeBarPage, SeparatedBarsUseTheBeforeAndAfterMealRanges) {
    const ReadingList list = Month();
    const RecordingSurface s =
        Screen(kMealPage, MakeReportData(list, Settings(1), {}, kToday, kToday));
    const struct {
        int left;
        int right;
        int mean;
        const char* label;
        Color fill;
    } bars[] = {
        {125, 191, 100, "100\n(Zielbereich)", kTargetFill},
        {201, 264, 150, "150\n(Hoch)", kHighFill},           // before-meal range 65..120
        {274, 337, 150, "150\n(Zielbereich)", kTargetFill},  // after-meal range 100..155
        {347, 410, 40, "40\n(Niedrig)", kLowFill},
        {420, 483, 0, "---\n(---)", kLowFill},
        {639, 705, 300, "300\n(Hoch)", kHighFill},
    };
    for (const auto& bar : bars) {
        const int top = 400 - bar.mean / 2;
        const Op* drawn = BarAt(s, bar.left);
        ASSERT_NE(drawn, nullptr) << bar.label;
        EXPECT_EQ(drawn->rect, (Rect{bar.left, top, bar.right, 400})) << bar.label;
        EXPECT_EQ(drawn->brush.color, bar.fill) << bar.label;
        EXPECT_EQ(TextIn(s, Rect{bar.left, top - 35, bar.right, top - 5}), bar.label);
    }
    EXPECT_EQ(TextIn(s, Rect{197, 405, 269, 485}), "vor\nFrühstück\n(05:00 AM  \n~ 07:59 AM)");
    EXPECT_EQ(TextIn(s, Rect{637, 405, 710, 485}), "Abend\n(07:00 PM  \n~ 11:59 PM)");
    EXPECT_EQ(TextIn(s, Rect{120, 485, 710, 505}), "Monatsübersicht nach Tageszeiten");
    // Every limit of both ranges, top to bottom; two equal limits share a label.
    EXPECT_EQ(ValueLabels(s, 115),
              (std::vector<std::string>{"600", "155", "120", "100", "65", "0"}));
    UserSettings same = Settings(1);
    same.afterMeal.high = same.beforeMeal.high = 140;
    EXPECT_EQ(ValueLabels(Screen(kMealPage, MakeReportData(list, same, {}, kToday, kToday)), 115),
              (std::vector<std::string>{"600", "140", "100", "65", "0"}));
}

TEST(MealtimeBarPage, AnAverageOnALimitIsInRange) {
    for (int value : {65, 155}) {
        const ReadingList list = ListOf({At(6, 2, 21, 0, value)});
        const RecordingSurface s =
            Screen(kMealPage, MakeReportData(list, Settings(0), {}, kToday, kToday));
        EXPECT_EQ(BarAt(s, 597)->brush.color, kTargetFill) << value;
    }
}

// --- Both pages --------------------------------------------------------------

// Long counts and labels, limits close together and averages at the axis ends.
ReportData Crowded(const ReadingList& list, const UserSettings& s) {
    ReportData data = MakeReportData(list, s, {}, kToday, kToday);
    data.stats.overall.overallLowCount = data.stats.overall.overallSlotLowCount = 12345;
    data.stats.overall.overallTargetCount = data.stats.overall.overallSlotTargetCount = 30000;
    data.stats.overall.overallHighCount = data.stats.overall.overallSlotHighCount = 3109;
    data.stats.perSlot.combinedMean = {600, 10, 599, 300, 155};
    data.stats.perSlot.combinedCount = {1, 1, 1, 1, 1};
    data.stats.perSlot.separateMean = {600, 590, 10, 20, 150, 151};
    data.stats.perSlot.separateCount = {1, 1, 1, 1, 1, 1};
    return data;
}

TEST(BarPages, EveryTextFitsOnScreenAndPaper) {
    const ReadingList list = Month();
    PatientFacts facts;
    facts.patientId = "ANNA";
    facts.profile.physician = "Dr. Adelheid Wiesenthal-Brunnhuber";
    const std::vector<Rect> screenClips = {{60, 80, 80, 340}, {400, 80, 420, 340}};
    // Upright and lying A4: on paper y follows the height, x the width.
    const auto onPaper = [&](const PaperMetrics& paper, int page, const ReportData& data,
                             const std::string& what) {
        const PrintFonts fonts = PrintFonts::ForScale(paper.scale);
        const int W = paper.width;
        const std::vector<Rect> clips = {
            {60 * W / 800, paper.Y(10.5), 80 * W / 800, paper.Y(23.5)},
            {400 * W / 800, paper.Y(10.5), 420 * W / 800, paper.Y(23.5)}};
        RecordingSurface sheet;
        DrawHeader(sheet, paper, fonts, page + 1, facts, FrameStyleOf(page), true);
        DrawReportPaper(page, sheet, paper, fonts, data, 1);
        DrawFooter(sheet, paper, fonts, page + 1, facts, FrameStyleOf(page));
        EXPECT_TRUE(test::TextsFitTheirBoxes(sheet)) << what << " on paper " << W;
        EXPECT_TRUE(TurnedTextsFit(sheet, clips)) << what << " on paper " << W;
    };
    for (int page : {kRangePage, kMealPage}) {
        for (int separate : {0, 1}) {
            for (int unit : {0, 1}) {
                UserSettings s = Settings(separate, unit);
                for (bool crowded : {false, true}) {
                    if (crowded) {
                        s.overall = {80, 95};
                        s.beforeMeal = {70, 80};
                        s.afterMeal = {75, 90};
                    }
                    const ReportData data =
                        crowded ? Crowded(list, s) : MakeReportData(list, s, {}, kToday, kToday);
                    const std::string what = std::to_string(page) + " meals " +
                                             std::to_string(separate) + " unit " +
                                             std::to_string(unit) + (crowded ? " crowded" : "");
                    const RecordingSurface screen = Screen(page, data);
                    EXPECT_TRUE(test::TextsFitTheirBoxes(screen)) << what;
                    EXPECT_TRUE(TurnedTextsFit(screen, screenClips)) << what;
                    onPaper(PaperMetrics::FromMillimetres(202, 289), page, data, what);
                    onPaper(PaperMetrics::FromMillimetres(289, 202), page, data, what);
                }
            }
        }
    }
}

TEST(BarPages, PrintedPagesHoldEveryLabelAndCaption) {
    const ReadingList list = Month();
    test::TempFolder folder;
    const auto printed = [&](int page, const UserSettings& s) {
        ReportData data = MakeReportData(list, s, {}, kToday, kToday);
        data.facts.patientId = "ANNA";
        PrintChoices choices;
        choices.Open(page);
        const std::string pdf = folder.File("page.pdf");
        EXPECT_TRUE(PrintToPdf(pdf, MakeReportPrintJob(data, page, choices)).ok());
        return test::PdfText(pdf);
    };
    const std::string range = printed(kRangePage, Settings(1));
    for (const char* text :
         {"Balkendiagramm: Übersicht der Messwerte.", "1 (20%)", "2 (40%)", "Niedrig", "0~64(99)",
          "Zielbereich", "65 ~ 120", "(100 ~ 155)", "Hoch", "121(156)~600", "Anzahl der Messungen",
          "BLUTZUCKER [mg/dL] - Gesamtübersicht aller Messwerte",
          "BLUTZUCKER [mg/dL] - Monatsübersicht", "(31.05.2011 ~ 30.06.2011)"})
        EXPECT_NE(range.find(text), std::string::npos) << text << " in\n" << range;

    const std::string meals = printed(kMealPage, Settings(1));
    for (const char* text : {"Balkendiagramm: Durchschnittswerte nach Tages-/ Mahlzeiten",
                             "100",
                             "(Zielbereich)",
                             "150",
                             "(Hoch)",
                             "40",
                             "(Niedrig)",
                             "---",
                             "(---)",
                             "300",
                             "Schlaf",
                             "(12:00 AM",
                             "~ 04:59 AM)",
                             "vor",
                             "nach",
                             "Frühstück",
                             "Mittagessen",
                             "Abendessen",
                             "Abend",
                             "~ 06:59 PM)",
                             "BLUTZUCKER [mg/dL]",
                             "Monatsübersicht nach Tageszeiten",
                             "(31.05.2011 ~ 30.06.2011)",
                             "600",
                             "155",
                             "120",
                             "65"})
        EXPECT_NE(meals.find(text), std::string::npos) << text << " in\n" << meals;
    const std::string combined = printed(kMealPage, Settings(0, 1));
    for (const char* text : {"5.5 (Zielbereich)", "16.6 (Hoch)", "--- (---)",
                             "(05:00 AM ~ 10:59 AM)", "Mahlzeit - MonatsÜbersicht", "33.3"})
        EXPECT_NE(combined.find(text), std::string::npos) << text << " in\n" << combined;
}

TEST(BarPages, CertificatePageOfMonthKShowsMonthK) {
    // Readings in June and in March: two months with readings, newest first.
    const ReadingList list = ListOf({At(3, 15, 21, 0, 300), At(6, 15, 21, 0, 100)});
    const ReportData data = MakeReportData(list, Settings(0), {}, kToday, kToday);
    const BodyPainter body = ReportBody(data, 1);
    const PaperMetrics paper = PaperMetrics::FromMillimetres(202, 289);
    const PrintFonts fonts = PrintFonts::ForScale(paper.scale);
    const auto sheet = [&](int page, int month) {
        RecordingSurface s;
        body(s, paper, fonts, PagePlace{page + 1, month});
        return s;
    };
    for (int page : {kRangePage, kMealPage}) {
        EXPECT_NE(sheet(page, 1).FindText("(31.05.2011 ~ 30.06.2011)"), nullptr) << page;
        EXPECT_NE(sheet(page, 2).FindText("(03.03.2011 ~ 30.03.2011)"), nullptr) << page;
    }
    EXPECT_NE(sheet(kMealPage, 2).FindText("300 (Hoch)"), nullptr);
}

}  // namespace
}  // namespace dorvel::reports
