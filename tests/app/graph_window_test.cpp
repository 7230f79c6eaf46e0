// The graph pages in the main window: shown by their commands, titled like
// their printed heading, captured under their own file names.
#include <QtTest/QTest>
#include <filesystem>

#include "app/report_page_view.h"
#include "app_fixture.h"
#include "support/records.h"

namespace dorvel::test {
namespace {

class GraphWindowTest : public AppTest {};

TEST_F(GraphWindowTest, GraphPagesShowTitleAndCapture) {
    qputenv("DORVEL_TODAY", "2011-06-30");
    AddPatient("ANNA", "Anna Meier", StoredRecord(1, 0, 2011, 6, 10, 9, 0, 300));
    storedId = "ANNA";
    Start();
    frame().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame()));
    for (const auto& [command, index, title, file] :
         {std::tuple{kCmdDayGraph, kDayGraphPage, "", "GRAFIK_NACH_DATUM.BMP"},
          std::tuple{kCmdMealGraph, kMealGraphPage, " und Tageszeit",
                     "GRAFIK_UNT_TAGESZEIT.BMP"}}) {
        frame().Run(command);
        QApplication::processEvents();
        EXPECT_EQ(frame().windowTitle(),
                  QString("Grafik: Durchschnittlicher Blutzuckerwert nach Datum") + title);
        auto& page = *static_cast<ReportPageView*>(frame().page(index));
        ASSERT_TRUE(page.isVisible());
        EXPECT_EQ(page.grab().toImage().pixelColor(400, 100), QColor(255, 192, 192));  // high band
        page.CaptureView();
        ASSERT_FALSE(prompter->messages.empty());
        EXPECT_EQ(prompter->messages.back().text, QString("Save Complete - ") + file);
        EXPECT_TRUE(std::filesystem::exists(data() + "/" + file));
    }
}

}  // namespace
}  // namespace dorvel::test
