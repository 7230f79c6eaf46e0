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
    // Three readings before breakfast, all inside the before-meal range.
    AddPatient("ANNA", "Anna Meier",
               StoredRecord(1, 0, 2026, 3, 1, 7, 30, 100) +
                   StoredRecord(1, 0, 2026, 3, 2, 7, 30, 100) +
                   StoredRecord(1, 0, 2026, 3, 3, 7, 30, 100));
    storedId = "ANNA";
    Start();
    frame().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame()));

    const struct {
        int command;
        int page;
        QString title;
        QPoint insideBar;  // the green bar of the readings in range
        QString saved;
    } pages[] = {
        {kCmdRangeBars,
         kRangeBarPage,
         "Balkendiagramm: Übersicht der Messwerte.",
         {250, 380},
         "Save Complete - BALK_U_D_M.BMP"},
        {kCmdMealBars,
         kMealBarPage,
         "Balkendiagramm: Durchschnittswerte nach Tages-/ Mahlzeiten",
         {230, 380},
         "Save Complete - BALK_D_N_T_M.BMP"},
    };
    for (const auto& p : pages) {
        frame().Run(p.command);
        QApplication::processEvents();
        auto& view = *static_cast<ReportPageView*>(frame().page(p.page));
        EXPECT_TRUE(view.isVisible()) << p.page;
        EXPECT_EQ(frame().windowTitle(), p.title);
        EXPECT_EQ(view.grab().toImage().pixelColor(p.insideBar), QColor(192, 255, 192)) << p.page;
        view.CaptureView();
        ASSERT_FALSE(prompter->messages.empty());
        EXPECT_EQ(prompter->messages.back().text, p.saved);
        EXPECT_TRUE(std::filesystem::exists(data() + "/" + p.saved.mid(16).toStdString()));
    }
}

}  // namespace
}  // namespace dorvel::test
