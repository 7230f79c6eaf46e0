// The graph pages inside the main window: shown by their commands, titled,
// and captured under their own file names.
#include <QtTest/QTest>
#include <filesystem>

#include "app/report_page_view.h"
#include "app_fixture.h"
#include "support/records.h"

namespace dorvel::test {
namespace {

class GraphWindowTest : public AppTest {};

TEST_F(GraphWindowTest, GraphPagesShowTheirPlotTitleAndCapture) {
    qputenv("DORVEL_TODAY", "2011-06-30");
    AddPatient("ANNA", "Anna Meier", StoredRecord(1, 0, 2011, 6, 10, 9, 0, 300));
    storedId = "ANNA";
    Start();
    frame().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame()));
    struct Case {
        int command;
        int page;
        QString title;
        QString file;
    };
    const Case cases[] = {
        {kCmdDayGraph, kDayGraphPage, "Grafik: Durchschnittlicher Blutzuckerwert nach Datum",
         "GRAFIK_NACH_DATUM.BMP"},
        {kCmdMealGraph, kMealGraphPage,
         "Grafik: Durchschnittlicher Blutzuckerwert nach Datum und Tageszeit",
         "GRAFIK_UNT_TAGESZEIT.BMP"},
    };
    for (const Case& c : cases) {
        frame().Run(c.command);
        QApplication::processEvents();
        EXPECT_EQ(frame().windowTitle(), c.title);
        auto& page = *static_cast<ReportPageView*>(frame().page(c.page));
        ASSERT_TRUE(page.isVisible());
        // The high band above the plot's 300 mg/dL and the marker of 10 June on it.
        const QImage shown = page.grab().toImage();
        EXPECT_EQ(shown.pixelColor(400, 100), QColor(255, 192, 192));
        const int x =
            static_cast<int>(120 + (10 + (c.page == kDayGraphPage ? 0.5 : 0.4)) * 600 / 31);
        EXPECT_EQ(shown.pixelColor(x, 260),
                  c.page == kDayGraphPage ? QColor(Qt::white) : QColor(192, 192, 0));
        page.CaptureView();
        ASSERT_FALSE(prompter->messages.empty());
        EXPECT_EQ(prompter->messages.back().text, "Save Complete - " + c.file);
        EXPECT_TRUE(std::filesystem::exists(data() + "/" + c.file.toStdString()));
    }
}

}  // namespace
}  // namespace dorvel::test
