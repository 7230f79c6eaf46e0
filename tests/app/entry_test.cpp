#include <gtest/gtest.h>

#include "app/target_entry.h"
#include "app/wildcard.h"

namespace dorvel {
namespace {

TEST(Wildcard, StarsQuestionMarksAndExactBytes) {
    struct Case {
        const char* pattern;
        const char* text;
        bool match;
    };
    const Case cases[] = {
        {"*mei*", "anna meier", true}, {"*mei*", "m eier", false},    {"*", "", true},
        {"*m?er*", "meier", false},    {"*m??er*", "meier", true},    {"?", "", false},
        {"*er", "meier", true},        {"*er", "meiers", false},      {"*a*b*c*", "xaxbxcx", true},
        {"*a*b*c*", "xaxcxbx", false}, {"*\xfc*", "m\xfcller", true}, {"*\xfc*", "muller", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WildcardMatch(c.pattern, c.text), c.match) << c.pattern << " / " << c.text;
    }
    // Only A-Z fold; an upper-case umlaut (Windows-1252 0xDC) stays as typed.
    EXPECT_EQ(AsciiLower("M\xdcLLER"), "m\xdcller");
    // A long name full of stars stays quick and does not recurse.
    EXPECT_FALSE(WildcardMatch(std::string(200, '*') + "b", std::string(5000, 'a')));
}

TEST(TargetEntry, NumbersWithinTheMetersRangeOnly) {
    // mmol/L rounds with the sheet's factor, mg/dL truncates; 10..600 mg/dL.
    EXPECT_EQ(ParseTarget("3,6", 1).value, 65);
    EXPECT_EQ(ParseTarget(" 150.9 ", 0).value, 150);
    EXPECT_EQ(ParseTarget("10", 0).value, 10);
    EXPECT_EQ(ParseTarget("33,3", 1).value, 600);
    for (const char* refused :
         {"9", "601", "1e2", "+50", "1x5", "6,7,1", ",5", "", "99999999999999999999999"}) {
        EXPECT_FALSE(ParseTarget(refused, 0).problem.empty()) << refused;
    }
    EXPECT_EQ(ParseTarget("33,4", 1).problem,
              "Der Zielwert muss zwischen 0,55 und 33,30 mmol/L liegen.");
    EXPECT_EQ(TargetToText(65, 1), "3.61");
    EXPECT_EQ(TargetToText(600, 1), "33.30");
}

}  // namespace
}  // namespace dorvel
