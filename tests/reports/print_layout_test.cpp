#include "reports/print_layout.h"

#include <gtest/gtest.h>

#include "reports/page_frame.h"

namespace dorvel::reports {
namespace {

TEST(PrintLayout, ThisPageOnlyPrintsOnePageWithItsTitle) {
    for (int shown = 1; shown <= 9; ++shown) {
        PrintChoices choices;
        choices.Open(shown);
        const PageCount count = CountPages(choices, shown, JobSizes{100, 5, 1});
        ASSERT_EQ(count.pages, 1) << shown;
        const PagePlace place = PlaceOfPage(1, count.boundary);
        EXPECT_EQ(place.kind, shown + 1);
        EXPECT_EQ(place.inKind, 1);
    }
    // Nothing marked for the page shown: nothing to print.
    PrintChoices none;
    EXPECT_EQ(CountPages(none, 2, JobSizes{100, 5, 1}).pages, 0);
}

TEST(PrintLayout, CertificateOfTheDataList) {
    PrintChoices choices;
    choices.Open(kDataListIndex);
    choices.ChooseRange(1, kDataListIndex);
    EXPECT_TRUE(choices.marked[0]);

    // Pages count the readings listed, 30 to a page, never an empty last one.
    for (const auto& [readings, dataPages] :
         {std::pair{59, 2}, std::pair{60, 2}, std::pair{61, 3}, std::pair{0, 1}}) {
        const PageCount count = CountPages(choices, kDataListIndex, JobSizes{readings, 7, 1});
        EXPECT_EQ(count.pages, 1 + dataPages) << readings;
        EXPECT_EQ(PlaceOfPage(1, count.boundary).kind, kCoverKind);
        const PagePlace last = PlaceOfPage(count.pages, count.boundary);
        EXPECT_EQ(last.kind, kDataListKind);
        EXPECT_EQ(last.inKind, dataPages);
        EXPECT_EQ(PlaceOfPage(count.pages + 1, count.boundary).kind, 0);
    }

    // Going back to "this page" keeps the marks and prints the data list alone.
    choices.ChooseRange(0, kDataListIndex);
    EXPECT_EQ(CountPages(choices, kDataListIndex, JobSizes{60, 7, 1}).pages, 1);
}

TEST(PrintLayout, PatientListCannotPrintTheCertificate) {
    PrintChoices choices;
    choices.Open(kPatientListIndex);
    choices.ChooseRange(1, kPatientListIndex);
    EXPECT_EQ(choices.printRange, 0);
    EXPECT_FALSE(choices.marked[0]);
    // The list prints on every sheet it needs, each sheet going on from the last.
    const PageCount count = CountPages(choices, kPatientListIndex, JobSizes{10, 3, 3});
    EXPECT_EQ(count.pages, 3);
    EXPECT_EQ(PlaceOfPage(1, count.boundary).kind, kPatientListKind);
    EXPECT_EQ(PlaceOfPage(3, count.boundary).inKind, 3);
}

TEST(PrintLayout, CertificateTakesThePatientListOnceAndTheProfileMonthly) {
    PrintChoices choices;
    for (int page = 1; page <= 9; ++page)
        choices.Open(page);
    choices.ChooseRange(1, kDataListIndex);
    const PageCount count = CountPages(choices, kDataListIndex, JobSizes{45, 2, 2});
    // Cover, 2 data pages, 6 monthly reports of 2 months, 2 list sheets, 2 profile months.
    EXPECT_EQ(count.pages, 1 + 2 + 6 * 2 + 2 + 2);
    EXPECT_EQ(count.boundary[kPatientListKind], 1 + 2 + 12 + 2);
    EXPECT_EQ(PlaceOfPage(count.pages, count.boundary).kind, kGlucoseProfileKind);
}

}  // namespace
}  // namespace dorvel::reports
