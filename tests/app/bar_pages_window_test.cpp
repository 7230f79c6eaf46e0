// The two bar graph pages in the main window.
#include <QtTest/QTest>
#include <filesystem>

#include "app/report_page_view.h"
#include "app_fixture.h"
#include "support/records.h"

namespace dorvel::test {
namespace {

class BarPagesWindow : public AppTest {};

TEST_F(BarPagesWindow, SwitchingShowsThePageWithItsTitleAndCaptureName) {
    qputenv("DORVEL_TODAY", "2026-03-10");
    // Two readings before breakfast, inside the before-meal range: green bars.
    AddPatient(
        "ANNA", "Anna Meier",
        StoredRecord(1, 0, 2026, 3, 1, 7, 30, 100) + StoredRecord(1, 0, 2026, 3, 2, 7, 30, 100));
    storedId = "ANNA";
    Start();
    frame().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame()));
    const struct {
        int command, page;
        QString title;
        QPoint inBar;
        std::string file;
    } pages[] = {
        {kCmdRangeBars,
         kRangeBarPage,
         "Balkendiagramm: Übersicht der Messwerte.",
         {250, 390},
         "BALK_U_D_M.BMP"},
        {kCmdMealBars,
         kMealBarPage,
         "Balkendiagramm: Durchschnittswerte nach Tages-/ Mahlzeiten",
         {230, 390},
         "BALK_D_N_T_M.BMP"},
    };
    for (const auto& p : pages) {
        frame().Run(p.command);
        auto& view = *static_cast<ReportPageView*>(frame().page(p.page));
        EXPECT_TRUE(view.isVisible()) << p.file;
        EXPECT_EQ(frame().windowTitle(), p.title);
        EXPECT_EQ(view.grab().toImage().pixelColor(p.inBar), QColor(192, 255, 192)) << p.file;
        view.CaptureView();
        EXPECT_EQ(prompter->messages.back().text.toStdString(), "Save Complete - " + p.file);
        EXPECT_TRUE(std::filesystem::exists(data() + "/" + p.file));
    }
}

}  // namespace
}  // namespace dorvel::test
