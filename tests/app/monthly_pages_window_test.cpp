// The logbook and the summary in the main window.
#include <QtTest/QTest>

#include "app/report_page_view.h"
#include "app_fixture.h"
#include "support/records.h"

namespace dorvel::test {
namespace {

class MonthlyPagesWindowTest : public AppTest {};

TEST_F(MonthlyPagesWindowTest, SwitchingShowsThePageAndCaptureWritesItsPicture) {
    // 300 mg/dL at night on 5 March: the period from 11 February has 28
    // days, so the logbook's rows step 17 pixels and 5 March is row 22.
    qputenv("DORVEL_TODAY", "2026-03-10");
    AddPatient("ANNA", "Anna Meier", StoredRecord(1, 0, 2026, 3, 5, 2, 0, 300));
    storedId = "ANNA";
    Start();
    frame().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame()));

    struct Case {
        int command;
        int page;
        QString title;
        QString file;
        QPoint silver;  // a pixel of a header or label cell
        QPoint high;    // a pixel of a cell filled in the high range's colour
    };
    const Case cases[] = {
        {kCmdLogbook, kLogbookPage, "Tagebuch", "TAGEBUCH.BMP", {12, 12}, {103, 29 + 17 * 23 + 3}},
        {kCmdSummary, kSummaryPage, "Übersicht", "ZUSAMMENFASSUNG.BMP", {62, 112}, {253, 373}},
    };
    for (const Case& c : cases) {
        frame().Run(c.command);
        QApplication::processEvents();
        auto& page = *static_cast<ReportPageView*>(frame().page(c.page));
        EXPECT_EQ(frame().windowTitle(), c.title);
        const QImage shown = page.grab().toImage();
        EXPECT_EQ(shown.pixelColor(c.silver), QColor(192, 192, 192)) << c.page;
        EXPECT_EQ(shown.pixelColor(c.high), QColor(255, 192, 192)) << c.page;

        page.OnCommand(reports::kCaptureViewCommand);
        ASSERT_FALSE(prompter->messages.empty());
        EXPECT_EQ(prompter->messages.back().text, "Save Complete - " + c.file);
        const QImage written(QString::fromStdString(data()) + "/" + c.file, "BMP");
        EXPECT_EQ(written.size(), page.size()) << c.page;
        EXPECT_EQ(written.pixelColor(c.high), QColor(255, 192, 192)) << c.page;
    }
}

}  // namespace
}  // namespace dorvel::test
