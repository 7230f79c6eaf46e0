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

TEST(TargetEntry, MmolEntryRoundsWithTheSheetFactor) {
    EXPECT_EQ(TargetFromText("3.6", 1), 65);
    EXPECT_EQ(TargetToText(65, 1), "3.61");
    EXPECT_EQ(TargetFromText("3,6", 1), 65) << "a decimal comma is a decimal point";
    EXPECT_EQ(TargetFromText("150", 0), 150);
    EXPECT_EQ(TargetFromText("150.9", 0), 150) << "mg/dL truncates";
    EXPECT_EQ(TargetToText(150, 0), "150");
    EXPECT_EQ(TargetToText(0, 1), "0");
    EXPECT_EQ(TargetFromText("abc", 0), 0);
    EXPECT_EQ(TargetFromText("", 1), 0);
    EXPECT_EQ(TargetFromText("1e300", 0), 99999) << "no int overflow";
    EXPECT_EQ(TargetToText(600, 1), "33.30");
}

}  // namespace
}  // namespace dorvel
