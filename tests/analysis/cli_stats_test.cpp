#include "support/cli_fixture.h"
#include "support/records.h"

namespace dorvel {
namespace {

class CliStats : public test::CliTest {
  protected:
    void ExpectMembers(const std::vector<std::string>& members) {
        for (const std::string& member : members)
            EXPECT_NE(out.find(member), std::string::npos) << member << "\n" << out;
    }
};

TEST_F(CliStats, PrintsEveryStatisticForThePeriod) {
    dir.Write("ANNA.gdt", test::StoredRecord(1, 0, 2011, 6, 30, 12, 0, 100) +
                              test::StoredRecord(1, 0, 2011, 6, 30, 13, 0, 200) +
                              test::StoredRecord(1, 5, 2011, 6, 30, 14, 0, 300) +
                              test::StoredRecord(1, 0, 2011, 5, 30, 12, 0, 90));
    ASSERT_EQ(Cli("--today 2011-07-15 stats ANNA --date 2011-06-30"), 0) << out;
    ExpectMembers({"\"PeriodStart\": \"2011-05-30\"", "\"PeriodEnd\": \"2011-06-30\"",
                   "\"PeriodDays\": 31", "\"ReadingCount\": 4", "\"ControlCount\": 1",
                   "\"OverallMean\": 130", "\"OverallSD\": 49", "\"OverallDailyMean\": 120",
                   "\"PeriodMean\": 150", "\"PeriodSD\": 50", "\"PeriodReadingDays\": 1",
                   "\"OverallMin\": 90", "\"CombinedCount\": [0, 0, 2, 0, 0]",
                   "\"SeparateMean\": [0, 0, 100, 200, 0, 0]"});
    // The per-day tables in full: 32 days of 5 combined slots, day 31 holding both readings.
    const size_t table = out.find("\"DayCombinedMean\": [");
    ASSERT_NE(table, std::string::npos);
    const std::string row = out.substr(table, out.find('\n', table) - table);
    EXPECT_EQ(std::count(row.begin(), row.end(), '['), 33);
    EXPECT_NE(row.find("[0, 0, 150, 0, 0], [0, 0, 0, 0, 0]]"), std::string::npos) << row;
    EXPECT_EQ(out.front(), '{');
    EXPECT_EQ(out.substr(out.size() - 2), "}\n");

    // Without --date the period ends today.
    ASSERT_EQ(Cli("--today 2011-07-15 stats ANNA"), 0) << out;
    ExpectMembers({"\"PeriodEnd\": \"2011-07-15\"", "\"PeriodReadingCount\": 2"});
}

TEST_F(CliStats, PrintsTheGlucoseProfileWithNullWhereAFigureDoesNotExist) {
    dir.Write("ANNA.gdt", test::StoredRecord(1, 0, 2011, 6, 29, 12, 10, 100) +
                              test::StoredRecord(1, 0, 2011, 6, 30, 12, 50, 301) +
                              test::StoredRecord(1, 0, 2011, 6, 30, 0, 5, 45) +
                              test::StoredRecord(1, 5, 2011, 6, 30, 14, 0, 300));
    ASSERT_EQ(Cli("stats ANNA --date 2011-06-30"), 0) << out;
    const std::string nulls = "null, null, null, null, null, null, null, null, null, null, null";
    ExpectMembers({"\"TirVeryLow\": 1", "\"TirLow\": 0", "\"TirTarget\": 1", "\"TirHigh\": 0",
                   "\"TirVeryHigh\": 1", "\"ReadingsPerDay\": 0.1", "\"PeriodCV\": 74.0",
                   "\"Gmi\": null", "\"GmiMmolMol\": null",
                   "\"HourlyCount\": [1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0,",
                   "\"HourlyP5\": [45, " + nulls + ", 110, " + nulls + "]",
                   "\"HourlyP50\": [45, " + nulls + ", 201, " + nulls + "]",
                   "\"HourlyP95\": [45, " + nulls + ", 291, " + nulls + "]"});
}

TEST_F(CliStats, BadRequestsFailWithOneLine) {
    dir.Write("ANNA.gdt", test::StoredRecord(1, 0, 2011, 6, 30, 12, 0, 100));
    for (const char* args : {"stats NOBODY", "stats ANNA --date 2011-02-30", "stats",
                             "stats ANNA --date", "stats ../ANNA", "stats ANNA BERT"}) {
        EXPECT_EQ(Cli(args), 1) << args;
        EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << args << ": " << out;
    }
}

}  // namespace
}  // namespace dorvel
