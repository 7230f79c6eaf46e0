// The glucose profile page in the main window: its menu entry, the period
// commands and Capture View.
#include <QMenu>
#include <QMenuBar>
#include <QtTest/QTest>

#include "app/report_page_view.h"
#include "app_fixture.h"
#include "support/records.h"

namespace dorvel::test {
namespace {

class GlucoseProfileWindowTest : public AppTest {};

int PixelsOf(QWidget& page, const QColor& colour) {
    const QImage shown = page.grab().toImage();
    int n = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x)
            n += shown.pixelColor(x, y) == colour ? 1 : 0;
    }
    return n;
}

TEST_F(GlucoseProfileWindowTest, MenuShowsThePageThePeriodCommandsStepItsMonthCaptureSavesIt) {
    qputenv("DORVEL_TODAY", "2026-03-10");
    // The month up to today is all in range; the month before all high.
    std::string records;
    for (int day = 15; day <= 25; ++day)
        records += StoredRecord(1, 0, 2026, 1, day, 8, 0, 220);
    for (int day = 15; day <= 25; ++day)
        records += StoredRecord(1, 0, 2026, 2, day, 8, 0, 110);
    AddPatient("ANNA", "Anna Meier", records);
    storedId = "ANNA";
    Start();
    frame().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame()));

    // The entry follows the patient list in the view menu.
    QMenu* view = nullptr;
    for (QAction* a : frame().menuBar()->actions()) {
        if (a->text() == "&Ansicht")
            view = a->menu();
    }
    ASSERT_NE(view, nullptr);
    const QList<QAction*> items = view->actions();
    const auto list = items.indexOf(frame().action(kCmdPatientList));
    ASSERT_GE(list, 0);
    ASSERT_LT(list + 1, items.size());
    QAction* entry = items[list + 1];
    EXPECT_EQ(entry->text(), "&Glukoseprofil");
    entry->trigger();
    QApplication::processEvents();
    EXPECT_EQ(doc().currentPage, kGlucoseProfilePage);
    EXPECT_EQ(frame().windowTitle(), "Glukoseprofil");

    // A month back, the readings of the bar turn from the target's green to
    // the high range's pink.
    auto& page = *static_cast<ReportPageView*>(frame().page(kGlucoseProfilePage));
    const QColor high(255, 192, 192);
    const int before = PixelsOf(page, high);
    frame().Run(kCmdPrevMonth);
    EXPECT_EQ(page.lastTimerId(), 900);
    QTest::qWait(150);
    EXPECT_GT(PixelsOf(page, high), before + 5000);

    page.OnCommand(reports::kCaptureViewCommand);
    ASSERT_EQ(prompter->messages.size(), 1u);
    EXPECT_EQ(prompter->messages[0].text, "Save Complete - GLUKOSEPROFIL.BMP");
    const QImage written(QString::fromStdString(data() + "/GLUKOSEPROFIL.BMP"), "BMP");
    EXPECT_EQ(written.size(), page.size());
}

}  // namespace
}  // namespace dorvel::test
