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
        {"*mei*", "anna meier", true},
        {"*mei*", "meier", true},
        {"*mei*", "m eier", false},
        {"*", "", true},
        {"**", "x", true},
        {"*m?er*", "meier", false},
        {"*m??er*", "meier", true},
        {"?", "", false},
        {"*er", "meier", true},
        {"*er", "meiers", false},
        {"*a*b*c*", "xaxbxcx", true},
        {"*a*b*c*", "xaxcxbx", false},
        {"*\xfc*", "m\xfcller", true},
        {"*\xfc*", "muller", false},
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
    struct Case {
        const char* text;
        int unit;
        int value;  // 0: refused
    };
    const Case cases[] = {
        // valid: mmol/L rounds with the sheet's factor, mg/dL truncates
        {"3.6", 1, 65},
        {"3,6", 1, 65},
        {" 150 ", 0, 150},
        {"150.9", 0, 150},
        // boundary: the meter measures 10..600 mg/dL
        {"10", 0, 10},
        {"600", 0, 600},
        {"9", 0, 0},
        {"601", 0, 0},
        {"0,55", 1, 10},
        {"33,3", 1, 600},
        {"33,4", 1, 0},
        {"99999999999999999999999", 0, 0},
        // malformed
        {"abc", 0, 0},
        {"1x5", 0, 0},
        {"-50", 0, 0},
        {"+50", 0, 0},
        {"", 1, 0},
        {"1e2", 0, 0},
        {"6,7,1", 1, 0},
        {",5", 1, 0},
        {"5.", 1, 0},
    };
    for (const Case& c : cases) {
        const TargetEntry e = ParseTarget(c.text, c.unit);
        EXPECT_EQ(e.problem.empty() ? e.value : 0, c.value) << c.text;
        EXPECT_EQ(e.problem.empty(), c.value != 0) << c.text;
    }
    EXPECT_EQ(ParseTarget("40", 1).problem,
              "Der Zielwert muss zwischen 0,55 und 33,30 mmol/L liegen.");
    EXPECT_EQ(ParseTarget("1x5", 0).problem,
              "Der Zielwert muss eine Zahl in mg/dL sein, zum Beispiel 120.");
    EXPECT_EQ(TargetToText(65, 1), "3.61");
    EXPECT_EQ(TargetToText(150, 0), "150");
    EXPECT_EQ(TargetToText(600, 1), "33.30");
}

}  // namespace
}  // namespace dorvel
