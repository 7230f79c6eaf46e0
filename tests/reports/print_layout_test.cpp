#include "reports/print_layout.h"

#include <gtest/gtest.h>

#include "reports/page_frame.h"
#include "support/records.h"

namespace dorvel::reports {
namespace {

TEST(PrintLayout, ThisPageOnlyPrintsOnePageWithItsTitle) {
    for (int shown = 1; shown <= 8; ++shown) {
        PrintChoices choices;
        choices.Open(shown);
        const PageCount count = CountPages(choices, shown, 100, 5);
        ASSERT_EQ(count.pages, 1) << shown;
        const PagePlace place = PlaceOfPage(1, count.boundary);
        EXPECT_EQ(place.kind, shown + 1);
        EXPECT_EQ(place.inKind, 1);
    }
    // Nothing marked for the page shown: nothing to print.
    PrintChoices none;
    EXPECT_EQ(CountPages(none, 2, 100, 5).pages, 0);
}

TEST(PrintLayout, CertificateOfTheDataList) {
    PrintChoices choices;
    choices.Open(kDataListIndex);
    choices.ChooseRange(1, kDataListIndex);
    EXPECT_TRUE(choices.marked[0]);

    for (const auto& [readings, dataPages] :
         {std::pair{59, 2}, std::pair{60, 3}, std::pair{0, 1}}) {
        const PageCount count = CountPages(choices, kDataListIndex, readings, 7);
        EXPECT_EQ(count.pages, 1 + dataPages) << readings;
        EXPECT_EQ(PlaceOfPage(1, count.boundary).kind, kCoverKind);
        const PagePlace last = PlaceOfPage(count.pages, count.boundary);
        EXPECT_EQ(last.kind, kDataListKind);
        EXPECT_EQ(last.inKind, dataPages);
        EXPECT_EQ(PlaceOfPage(count.pages + 1, count.boundary).kind, 0);
    }
    EXPECT_EQ(DataListStartForPage(60, 3), 0);  // the third page of 60 has no rows

    // Going back to "this page" keeps the marks and prints the data list alone.
    choices.ChooseRange(0, kDataListIndex);
    EXPECT_EQ(CountPages(choices, kDataListIndex, 60, 7).pages, 1);
}

TEST(PrintLayout, MonthlyReportsTakeOnePagePerMonthWithReadings) {
    PrintChoices choices;
    choices.Open(kDataListIndex);
    choices.Open(kLogbookIndex);
    choices.ChooseRange(1, kLogbookIndex);

    ReadingList list;
    list.push_back(ReadingFromRecord(test::StoredRecord(1, 0, 2011, 3, 10, 8, 0, 100)));
    list.push_back(ReadingFromRecord(test::StoredRecord(1, 0, 2011, 9, 20, 8, 0, 100)));
    ASSERT_EQ(MonthPages(list, Date{2012, 1, 15}), 2);
    const PageCount count = CountPages(choices, kLogbookIndex, static_cast<int>(list.size()),
                                       MonthPages(list, Date{2012, 1, 15}));
    EXPECT_EQ(count.pages, 1 + 1 + 2);
    EXPECT_EQ(count.boundary[3], 4);
    EXPECT_EQ(PlaceOfPage(3, count.boundary).kind, 3);
    EXPECT_EQ(PlaceOfPage(4, count.boundary).inKind, 2);
}

TEST(PrintLayout, PatientListCannotPrintTheCertificate) {
    PrintChoices choices;
    choices.Open(kPatientListIndex);
    choices.ChooseRange(1, kPatientListIndex);
    EXPECT_EQ(choices.printRange, 0);
    EXPECT_FALSE(choices.marked[0]);
    const PageCount count = CountPages(choices, kPatientListIndex, 10, 3);
    EXPECT_EQ(count.pages, 1);
    EXPECT_EQ(PlaceOfPage(1, count.boundary).kind, kPatientListKind);
}

}  // namespace
}  // namespace dorvel::reports
