#include "reports/summary_page.h"

#include <gtest/gtest.h>

#include "monthly_page_support.h"
#include "reports/page_frame.h"
#include "text_fit_check.h"

namespace dorvel::reports {
namespace {

using test::Patient;
using test::TextIn;

RecordingSurface Screen(const ReportData& data) {
    RecordingSurface page;
    DrawSummaryScreen(page, data, Growth{});
    return page;
}

// Screen boxes: the value of upper row k (overall or month table), and
// cell c of lower row k (left table 0..3, right table 4..7).
Rect Upper(int k, bool month) {
    return month ? Rect{630, 110 + 20 * k, 760, 130 + 20 * k}
                 : Rect{250, 110 + 20 * k, 380, 130 + 20 * k};
}
Rect Lower(int k, int c) {
    static constexpr int x[] = {60, 250, 340, 390, 440, 460, 540, 647, 753, 800};
    const int left = c < 4 ? x[c] : x[c + 1];
    const int right = c < 4 ? x[c + 1] : x[c + 2];
    // A left-aligned text without a leading blank keeps 2 pixels from the line.
    return Rect{left + (c == 4 ? 2 : 0), 370 + 20 * k, right, 390 + 20 * k};
}

TEST(SummaryPage, FiguresByKindOfPatient) {
    struct Case {
        const char* name;
        Patient patient;
        // mean, daily mean, deviation, count, days, highest, lowest
        std::array<const char*, 7> overall;
        const char* percent;  // of the overall high row
    };
    Patient controls;
    controls.Add(2011, 6, 1, 8, 0, 100, 5)
        .Add(2011, 6, 2, 8, 0, 110, 5)
        .Add(2011, 6, 3, 8, 0, 1, 5);
    Patient one;
    one.Add(2011, 6, 1, 8, 0, 120);
    Patient three;  // one low, one in range, one high on one day
    three.Add(2011, 6, 1, 2, 0, 50).Add(2011, 6, 1, 3, 0, 100).Add(2011, 6, 1, 4, 0, 200);
    const Case cases[] = {
        {"empty", Patient(), {"---", "---", "---", "0", "0", "---", "---"}, "---"},
        // Control readings are counted but have no value to average.
        {"controls only", controls, {"---", "---", "---", "3", "0", "---", "---"}, "---"},
        {"one reading", one, {"120", "120", "---", "1", "1", "120", "120"}, "0%"},
        {"three readings", three, {"116", "116", "62", "3", "1", "200", "50"}, "33%"},
    };
    for (const Case& c : cases) {
        const RecordingSurface page = Screen(c.patient.Data(UserSettings{}, {2011, 6, 30}));
        for (int k = 0; k < 7; ++k)
            EXPECT_EQ(TextIn(page, Upper(k, false)), c.overall[static_cast<size_t>(k)])
                << c.name << " row " << k;
        // The month holds the same readings: its figures follow the same rules.
        EXPECT_EQ(TextIn(page, Upper(1, true)), c.overall[0]) << c.name;
        EXPECT_EQ(TextIn(page, Upper(3, true)), c.overall[2]) << c.name;
        EXPECT_EQ(TextIn(page, Upper(7, true)), c.overall[6]) << c.name;
        EXPECT_EQ(TextIn(page, Lower(0, 3)), c.percent) << c.name;
        EXPECT_EQ(TextIn(page, Lower(3, 3)), c.percent) << c.name;
        EXPECT_EQ(TextIn(page, Upper(0, true)), "31.05.2011 ~ 30.06.2011") << c.name;
    }
}

TEST(SummaryPage, RangeTextsCountsAndTimeRowsBySettings) {
    // 130 before breakfast is in the overall range but above the before-meal range.
    Patient p;
    p.Add(2011, 6, 1, 6, 0, 130).Add(2011, 6, 2, 6, 0, 100).Add(2011, 6, 3, 20, 0, 300);
    struct Case {
        int unit;
        int separate;
        TargetRange overall;
        std::array<const char*, 3> ranges;
        std::array<const char*, 3> counts;  // high, target, low
        size_t timeRows;
    };
    const Case cases[] = {
        {0, 0, {70, 140}, {"141 ~ 600", " 70 ~ 140", "   0 ~  69"}, {"1", "2", "0"}, 5},
        {1, 0, {70, 140}, {"7.8 ~ 33.3", "3.8 ~ 7.7", "   0 ~ 3.8"}, {"1", "2", "0"}, 5},
        {0, 1, {65, 155}, {"121(156)~600", " 65(100)~120(155)", " 0~ 64( 99)"}, {"2", "1", "0"}, 8},
        {1,
         1,
         {65, 155},
         {"6.7(8.6)~33.3", "3.6(5.5)~6.6(8.6)", " 0~3.5(5.5)"},
         {"2", "1", "0"},
         8},
    };
    for (const Case& c : cases) {
        UserSettings s;
        s.glucoseUnit = c.unit;
        s.separateMeals = c.separate;
        s.overall = c.overall;
        const RecordingSurface page = Screen(p.Data(s, {2011, 6, 30}));
        for (int k = 0; k < 6; ++k) {
            const auto at = static_cast<size_t>(k % 3);
            EXPECT_EQ(TextIn(page, Lower(k, 1)), c.ranges[at]) << c.unit << c.separate << k;
            EXPECT_EQ(TextIn(page, Lower(k, 2)), c.counts[at]) << c.unit << c.separate << k;
        }
        EXPECT_NE(TextIn(page, Lower(static_cast<int>(c.timeRows) - 1, 4)), "<none>");
        EXPECT_EQ(TextIn(page, Lower(static_cast<int>(c.timeRows), 4)), "<none>");
    }

    // The breakfast rows: two readings, mean 115, deviation 15.
    UserSettings s;
    s.timeFormat = 1;
    s.separateMeals = 0;
    RecordingSurface combined = Screen(p.Data(s, {2011, 6, 30}));
    EXPECT_EQ(TextIn(combined, Lower(1, 4)), "05:00 ~ 10:59");
    EXPECT_EQ(TextIn(combined, Lower(1, 5)), "115");
    EXPECT_EQ(TextIn(combined, Lower(1, 6)), "15");
    EXPECT_EQ(TextIn(combined, Lower(1, 7)), "2");
    EXPECT_EQ(TextIn(combined, Lower(4, 4)), "19:00 ~ 23:59");
    s.separateMeals = 1;
    s.timeFormat = 0;
    RecordingSurface separate = Screen(p.Data(s, {2011, 6, 30}));
    EXPECT_EQ(TextIn(separate, Lower(1, 4)), "05:00 AM ~ 07:59 AM");
    EXPECT_EQ(TextIn(separate, Lower(1, 5)), "115");
    EXPECT_EQ(TextIn(separate, Lower(7, 4)), "07:00 PM ~ 11:59 PM");
    EXPECT_EQ(TextIn(separate, Lower(7, 5)), "300");
    // Below the range rows the left cells stay white and empty.
    const auto below = separate.RectanglesAt(Rect{60, 370 + 20 * 6, 250, 390 + 20 * 6});
    ASSERT_EQ(below.size(), 1u);
    EXPECT_EQ(below[0]->brush.color, kWhite);
    for (const auto* text : separate.Texts())
        EXPECT_FALSE(text->rect.top >= 370 + 20 * 6 && text->rect.right <= 440) << text->text;
}

TEST(SummaryPage, PaperTitlesAndLabels) {
    const PaperMetrics paper = PaperMetrics::FromMillimetres(202, 289);
    UserSettings s;
    s.glucoseUnit = 1;
    RecordingSurface sheet;
    DrawSummaryPaper(sheet, paper, test::JunePatient().Data(s, test::kJuneEnd));
    const auto x = [&](int screen) { return paper.width * screen / 800; };
    EXPECT_EQ(TextIn(sheet, Rect{x(60), paper.Y(21.5), x(380), paper.Y(23)}),
              "Readings/Range [mmol/L]");
    EXPECT_EQ(TextIn(sheet, Rect{x(480), paper.Y(21.5), x(700), paper.Y(23)}),
              "Monatliche Übersicht nach Tageszeiten [mmol/L]");
    EXPECT_NE(sheet.FindText("Monatsübersicht [mmol/L]"), nullptr);
    // The labels lose their leading blank and keep a little room instead.
    const int room = paper.width * 12 / 800 / 7;
    EXPECT_EQ(TextIn(sheet, Rect{x(460) + room, paper.Y(13), x(630), paper.Y(14)}),
              "Monatsdurchschnitt");
    // The month's mean column is too narrow for its title on one line.
    EXPECT_EQ(TextIn(sheet, Rect{x(540), paper.Y(24), x(605), paper.Y(25)}),
              "Monats-\ndurchschnitt");
}

TEST(SummaryPage, EveryTextFitsItsBoxOnScreenAndPaper) {
    const Patient june = test::JunePatient();
    const PaperMetrics paper = PaperMetrics::FromMillimetres(202, 289);
    const PrintFonts fonts = PrintFonts::ForScale(paper.scale);
    PatientFacts facts;
    facts.patientId = "P1";
    facts.profile.physician = "Dr. med. Friedrich-Wilhelm Oberndorfer";
    facts.profile.room = "Haus C, Zimmer 214";
    for (const int unit : {0, 1}) {
        for (const int separate : {0, 1}) {
            UserSettings s;
            s.glucoseUnit = unit;
            s.separateMeals = separate;
            s.timeFormat = separate;
            s.dateFormat = unit;
            const ReportData data = june.Data(s, test::kJuneEnd);
            EXPECT_TRUE(test::TextsFitTheirBoxes(Screen(data))) << unit << separate;
            RecordingSurface sheet;
            DrawHeader(sheet, paper, fonts, kSummaryIndex + 1, facts, FrameStyleOf(kSummaryIndex),
                       true);
            DrawSummaryPaper(sheet, paper, data);
            DrawFooter(sheet, paper, fonts, kSummaryIndex + 1, facts, FrameStyleOf(kSummaryIndex));
            EXPECT_TRUE(test::TextsFitTheirBoxes(sheet)) << unit << separate;
        }
    }
}

TEST(SummaryPage, PaperMatchesItsReference) {
    RecordingSurface sheet;
    DrawSummaryPaper(sheet, PaperMetrics::FromMillimetres(202, 289),
                     test::JunePatient().Data(UserSettings{}, test::kJuneEnd));
    EXPECT_TRUE(test::MatchesReference(test::Dump(sheet), "summary-paper.txt"));
}

}  // namespace
}  // namespace dorvel::reports
