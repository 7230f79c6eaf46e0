#include <gtest/gtest.h>

#include "store/calendar.h"
#include "store/decimal.h"
#include "store/text_encoding.h"

namespace dorvel {
namespace {

TEST(Calendar, DayNumbersRoundTripAndNormaliseOverflowingDays) {
    for (int64_t days = -800000; days < 800000; days += 37) {
        EXPECT_EQ(DaysFromCivil(CivilFromDays(days)), days);
    }
    EXPECT_EQ(CivilFromDays(DaysFromCivil(2026, 11, 31)), (Date{2026, 12, 1}));
    EXPECT_EQ(CivilFromDays(DaysFromCivil(2024, 3, 0)), (Date{2024, 2, 29}));
    EXPECT_EQ(CivilFromDays(DaysFromCivil(2026, 13, 1)), (Date{2027, 1, 1}));
    EXPECT_EQ(CivilFromDays(DaysFromCivil(2026, 0, 1)), (Date{2025, 12, 1}));
    EXPECT_EQ(Weekday(Date{2026, 12, 6}), 6);  // a Sunday
}

TEST(Calendar, ValidityOfDatesAndTimes) {
    EXPECT_TRUE(IsValidDate({2024, 2, 29}));
    EXPECT_FALSE(IsValidDate({2100, 2, 29}));
    EXPECT_TRUE(IsValidDate({2000, 2, 29}));
    EXPECT_FALSE(IsValidDate({2026, 4, 31}));
    EXPECT_FALSE(IsValidDate({2026, 0, 10}));
    EXPECT_FALSE(IsValidTime({24, 0, 0}));
    EXPECT_FALSE(IsValidTime({23, 60, 0}));
    EXPECT_EQ(ParseIsoDate("2026-02-28"), (Date{2026, 2, 28}));
    EXPECT_FALSE(ParseIsoDate("2026-02-30").has_value());
    EXPECT_FALSE(ParseIsoDate("2026-2-3").has_value());
    EXPECT_EQ(FormatIsoDate({2002, 1, 5}), "2002-01-05");
}

TEST(Decimal, LeadingIntReadsLikeTheStoredFormatsExpect) {
    EXPECT_EQ(LeadingInt(" 65"), 65);
    EXPECT_EQ(LeadingInt("007"), 7);
    EXPECT_EQ(LeadingInt("-12x"), -12);
    EXPECT_EQ(LeadingInt("+5"), 5);
    EXPECT_EQ(LeadingInt("abc"), 0);
    EXPECT_EQ(LeadingInt(""), 0);
    EXPECT_EQ(LeadingInt("99999999999999"), 2147483647);
}

TEST(TextEncoding, UmlautsAndEuroSurviveBothWays) {
    const std::string cp1252 = "M\xFCller \xC4rztin \xDF \x80 \x9F";
    const std::string utf8 = Cp1252ToUtf8(cp1252);
    EXPECT_EQ(utf8, "Müller Ärztin ß € Ÿ");
    EXPECT_EQ(Utf8ToCp1252(utf8), cp1252);
    // Every byte survives the round trip, the five unassigned ones included.
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
    EXPECT_EQ(Utf8ToCp1252("日本"), "??");
    EXPECT_EQ(Utf8ToCp1252("\xC3"), "?");  // cut short
}

}  // namespace
}  // namespace dorvel
