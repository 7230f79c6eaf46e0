#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>
#include <QtTest/QTest>
#include <memory>

#include "app_fixture.h"
#include "support/records.h"

namespace dorvel::test {
namespace {

class FrameTest : public AppTest {
  protected:
    void SetUp() override {
        qputenv("DORVEL_TODAY", "2026-03-10");
        std::string records;
        for (int i = 0; i < 100; ++i) {
            records += StoredRecord(1, 0, 2026, 1 + i % 2, 1 + i / 4, 8, i % 60, 100 + i);
        }
        AddPatient("ANNA", "Anna Meier", records);
        AddPatient("BERT", "Bert Huber");
    }
    bool On(int command) { return frame().action(command)->isEnabled(); }
    template <size_t N>
    void ExpectAll(const int (&commands)[N], bool on) {
        for (int c : commands)
            EXPECT_EQ(On(c), on) << c;
    }
};

TEST_F(FrameTest, StartUpLoadsTheLastPatientAndShowsTheStartView) {
    storedId = "bert";
    Start();
    EXPECT_EQ(doc().currentPatientId, "BERT");
    EXPECT_EQ(frame().patientBox()->currentText(), "BERT - Bert Huber");
    EXPECT_EQ(frame().patientBox()->count(), 2);
    EXPECT_EQ(doc().currentPage, kStartPage);
    EXPECT_EQ(doc().selectedDate, (Date{2026, 3, 10}));
    EXPECT_EQ(frame().windowTitle(), "Aurevia");
    EXPECT_EQ(frame().statusPane(1)->text(), "COM : 3");
    EXPECT_EQ(frame().statusPane(3)->text(), "Merovan V2.20");
    EXPECT_TRUE(frame().statusPane(2)->text().startsWith("10.03.2026 - "));
}

TEST_F(FrameTest, CommandEnablingFollowsTheState) {
    Start();
    const int reportOnly[] = {kCmdPrint, kCmdPrintPreview, kCmdExport, kCmdMail};
    const int pages[] = {kCmdLogbook,   kCmdSummary,  kCmdDayGraph,    kCmdMealGraph,
                         kCmdRangeBars, kCmdMealBars, kCmdUserSettings};
    const int idleOnly[] = {kCmdPrintSetup,    kCmdPatientList, kCmdDataList, kCmdPortSettings,
                            kCmdDeletePatient, kCmdPatientBox,  kCmdPanelMenu};
    const int always[] = {kCmdReceive, kCmdPictureViewer};

    // Start view, idle.
    ExpectAll(reportOnly, false);
    ExpectAll(pages, true);
    ExpectAll(idleOnly, true);
    EXPECT_TRUE(On(kCmdSearch));

    // A report page.
    frame().Run(kCmdSummary);
    ExpectAll(reportOnly, true);

    // Search mode.
    doc().searchMode = true;
    frame().UpdateCommands();
    ExpectAll(pages, false);
    EXPECT_TRUE(On(kCmdSearch));
    EXPECT_TRUE(On(kCmdDataList));
    doc().searchMode = false;

    // Deletion pending.
    doc().deletionPending = true;
    frame().UpdateCommands();
    ExpectAll(pages, false);
    EXPECT_FALSE(On(kCmdSearch));
    EXPECT_TRUE(On(kCmdPatientList));
    doc().deletionPending = false;

    // A meter session.
    frame().Run(kCmdReceive);
    ASSERT_TRUE(frame().SessionVisible());
    ExpectAll(reportOnly, false);
    ExpectAll(pages, false);
    ExpectAll(idleOnly, false);
    EXPECT_FALSE(On(kCmdSearch));
    ExpectAll(always, true);
    EXPECT_FALSE(frame().patientBox()->isEnabled());

    // Disabled commands do nothing, even when run directly.
    const int recomputes = doc().recomputeCount();
    frame().Run(kCmdLogbook);
    EXPECT_EQ(doc().currentPage, kSummaryPage);
    frame().Run(kCmdPrevMonth);
    EXPECT_EQ(doc().recomputeCount(), recomputes);
}

TEST_F(FrameTest, PageSwitchingRecomputesOnlyWhenNeeded) {
    Start();
    int n = doc().recomputeCount();
    frame().Run(kCmdLogbook);
    EXPECT_EQ(doc().currentPage, kLogbookPage);
    EXPECT_EQ(doc().recomputeCount(), n + 1);
    frame().Run(kCmdLogbook);
    EXPECT_EQ(doc().recomputeCount(), n + 1) << "the shown page is not recomputed";
    frame().Run(kCmdPatientList);
    EXPECT_EQ(doc().currentPage, kPatientListPage);
    EXPECT_EQ(doc().recomputeCount(), n + 1) << "the patient list needs no statistics";
    frame().Run(kCmdDataList);
    EXPECT_EQ(doc().currentPage, kDataListPage);
    EXPECT_EQ(doc().recomputeCount(), n + 2);
    doc().listPositionA = 7;
    frame().Run(kCmdDataList);
    EXPECT_EQ(doc().recomputeCount(), n + 3) << "the data list recomputes and redraws";
    EXPECT_EQ(doc().listPositionA, 0);
}

TEST_F(FrameTest, NavigationStepsThePeriodOnReportPages) {
    Start();
    const int n = doc().recomputeCount();
    frame().Run(kCmdPrevMonth);  // start view: nothing happens
    EXPECT_EQ(doc().selectedDate, (Date{2026, 3, 10}));
    EXPECT_EQ(doc().recomputeCount(), n);

    frame().Run(kCmdDayGraph);
    frame().Run(kCmdPrevMonth);
    EXPECT_EQ(doc().selectedDate, (Date{2026, 2, 10}));
    frame().Run(kCmdNextYear);
    EXPECT_EQ(doc().selectedDate, (Date{2026, 3, 10}));
}

TEST_F(FrameTest, PatientBoxLoadsTheChosenPatient) {
    storedId = "BERT";
    Start();
    frame().Run(kCmdDayGraph);
    frame().Run(kCmdPrevMonth);
    frame().patientBox()->setCurrentIndex(0);  // ANNA
    EXPECT_EQ(doc().currentPatientId, "ANNA");
    EXPECT_EQ(doc().readings.size(), 100u);
    EXPECT_EQ(store->id, "ANNA");
    EXPECT_EQ(doc().selectedDate, (Date{2026, 3, 10}));
    EXPECT_EQ(doc().currentPage, kDataListPage);
}

TEST_F(FrameTest, QtsOwnTextsAreGerman) {
    QTranslator* german = InstallQtGermanTranslations(*qApp);
    ASSERT_NE(german, nullptr) << "Qt's translations are missing: run scripts/setup";
    const std::unique_ptr<QTranslator> removeAfterwards(german);
    Start();
    EXPECT_EQ(frame().action(kCmdPrint)->shortcut().toString(QKeySequence::NativeText), "Strg+P");
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), "Abbrechen");
    EXPECT_EQ(box.button(QMessageBox::No)->text(), "&Nein");
}

TEST_F(FrameTest, TheWindowOpensWithTheWholePageBesideThePanelAndCanBeResized) {
    Start();
    Show();
    frame().Run(kCmdDataList);
    QWidget* list = frame().page(kDataListPage);
    // The data list's last column, "Messbereich", ends at 790 of the page's 810.
    EXPECT_TRUE(QTest::qWaitFor([list] { return list->width() >= 810; }, 1000)) << list->width();
    EXPECT_GE(list->height(), 650);
    const QSize shown = list->size();
    frame().resize(frame().size() + QSize(100, 50));
    EXPECT_TRUE(QTest::qWaitFor([&] { return list->size() == shown + QSize(100, 50); }, 1000));
}

}  // namespace
}  // namespace dorvel::test
