// The patient list in the window: a list longer than the window scrolls.
#include <QScrollBar>
#include <QWheelEvent>
#include <QtTest/QTest>

#include "app/report_page_view.h"
#include "app_fixture.h"
#include "reports/report_text.h"

namespace dorvel::test {
namespace {

constexpr int kPatients = 60;

class PatientListView : public AppTest {
  protected:
    ReportPageView& Shown() {
        for (int k = 1; k <= kPatients; ++k)
            AddPatient(reports::Printf("P%03d", k), "Name");
        storedId = "P001";
        Start();
        frame().show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&frame()));
        frame().Run(kCmdPatientList);
        QApplication::processEvents();
        return *static_cast<ReportPageView*>(frame().page(kPatientListPage));
    }
};

TEST_F(PatientListView, ALongListScrollsToItsLastPatient) {
    ReportPageView& page = Shown();
    const int lastBottom = 30 + 17 * kPatients;  // bottom of the last row, page pixels
    ASSERT_GT(lastBottom, page.height());
    ASSERT_TRUE(page.verticalScrollBar()->isVisible());
    EXPECT_EQ(page.scrollTop(), 0);

    QWheelEvent wheel(QPointF(100, 100), page.mapToGlobal(QPointF(100, 100)), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&page, &wheel);
    EXPECT_GT(page.scrollTop(), 0);

    QTest::keyClick(&page, Qt::Key_End);
    const int top = page.scrollTop();
    EXPECT_EQ(top, page.verticalScrollBar()->maximum());
    ASSERT_LE(lastBottom + 4 - top, page.height() - 1);
    // The last row's silver number cell is in view, and only white below it.
    const QImage shown = page.grab().toImage();
    EXPECT_EQ(shown.pixelColor(12, lastBottom - 8 - top), QColor(192, 192, 192));
    EXPECT_EQ(shown.pixelColor(12, lastBottom + 4 - top), QColor(255, 255, 255));

    // The picture of the page leaves the scroll bar out.
    const reports::CaptureOutcome capture = page.CaptureView();
    ASSERT_TRUE(capture.write.ok()) << capture.write.detail;
    EXPECT_EQ(QImage(QString::fromStdString(capture.path)).width(),
              page.width() - page.verticalScrollBar()->width());
}

}  // namespace
}  // namespace dorvel::test
