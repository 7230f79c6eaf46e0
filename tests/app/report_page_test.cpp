// The report pages inside the main window: drawing, titles, the data list's
// selection, popup menu, switches and deletion, Capture View and printing.
#include <sys/stat.h>

#include <QCheckBox>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QMenu>
#include <QPageSetupDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProgressDialog>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <QtTest/QTest>
#include <filesystem>

#include "app/print/print_dialog.h"
#include "app/report_page_view.h"
#include "app_fixture.h"
#include "reports/report_text.h"
#include "store/data_folder.h"
#include "store/patient_data_file.h"
#include "support/records.h"
#include "support/temp_folder.h"

namespace dorvel::test {
namespace {

constexpr int kReadings = 95;

// Row r of the table on screen (pixels), as the page draws it.
QPoint RowPoint(int r) {
    return QPoint(100, 27 + 17 * r + 9);
}

class ReportPageTest : public AppTest {
  protected:
    void SetUp() override {
        qputenv("DORVEL_TODAY", "2026-03-10");
        std::string records;
        // Oldest first, one a day before breakfast: values 60, 61, ... so the
        // newest is 154.
        for (int i = 0; i < kReadings; ++i) {
            records += StoredRecord(1, 0, 2025, 1 + i / 28, 1 + i % 28, 6, 0, 60 + i);
        }
        AddPatient("ANNA", "Anna Meier", records);
        AddPatient("FEW", "Few Readings",
                   StoredRecord(1, 0, 2026, 3, 1, 8, 0, 100) +
                       StoredRecord(1, 0, 2026, 3, 2, 8, 0, 101) +
                       StoredRecord(1, 0, 2026, 3, 3, 8, 0, 102) +
                       StoredRecord(1, 5, 2026, 3, 4, 8, 0, 0) +
                       StoredRecord(1, 0, 2026, 3, 5, 8, 0, 300));
        storedId = "ANNA";
    }

    // Starts the program with page services the test can steer, shows the window.
    void StartShown() {
        Start([this](Prompter& p) {
            services = std::make_shared<PageServices>(p);
            services->printers = [] {
                return QList<print::PrinterEntry>{{"Testdrucker", "Bereit", "", "", ""}};
            };
            services->execMenu = [this](QMenu& menu, const QPoint&) -> QAction* {
                ++menusShown;
                for (QAction* a : menu.actions()) {
                    if (a->text() == menuChoice) {
                        return a;
                    }
                }
                return nullptr;
            };
            return MakeReportPageFactory(services);
        });
        Show();
    }

    CDorvelPage1& list() { return *static_cast<CDorvelPage1*>(frame().page(kDataListPage)); }
    ReportPageView& page(int i) { return *static_cast<ReportPageView*>(frame().page(i)); }

    void ShowList() {
        frame().Run(kCmdDataList);
        QApplication::processEvents();
    }
    // A right click as the user makes it: the button press, then the popup.
    void RightClick(QWidget& w, QPoint at) {
        QTest::mousePress(&w, Qt::RightButton, {}, at);
        QTest::mouseRelease(&w, Qt::RightButton, {}, at);
        QContextMenuEvent menu(QContextMenuEvent::Mouse, at, w.mapToGlobal(at));
        QApplication::sendEvent(&w, &menu);
    }
    // Red pixels on a line of the page as it shows now.
    int RedOnRow(QWidget& w, int y) {
        const QImage shown = w.grab().toImage();
        int red = 0;
        for (int x = 0; x < shown.width(); ++x) {
            red += shown.pixelColor(x, y) == QColor(255, 0, 0) ? 1 : 0;
        }
        return red;
    }
    // Sets the print dialog, if `d` is it, to the certificate printed to a file.
    static print::CMyPrintDialog* ChooseCertificate(QDialog& d, const std::string& pdf = {}) {
        auto* dialog = dynamic_cast<print::CMyPrintDialog*>(&d);
        if (dialog) {
            static_cast<QRadioButton*>(dialog->Control(print::control::kMarked))->click();
            static_cast<QCheckBox*>(dialog->Control(print::control::kPrintToFile))
                ->setChecked(true);
            if (!pdf.empty())
                dialog->setOutputFile(QString::fromStdString(pdf));
        }
        return dialog;
    }
    int StoredCount(const std::string& id) {
        return static_cast<int>(LoadReadings(data(), id).size());
    }

    std::shared_ptr<PageServices> services;
    QString menuChoice;
    int menusShown = 0;
};

TEST_F(ReportPageTest, DataListDrawsTheDocumentsRowsAndFollowsThePagingCommands) {
    StartShown();
    ShowList();
    EXPECT_EQ(doc().growthWidth, 0);

    // The list opens on the newest screen page; the paging commands move it
    // and leave the period alone.
    EXPECT_EQ(list().View().dataListStart, kReadings);
    EXPECT_EQ(reports::RowTexts(list().View(), 0, false)[5], "154");
    frame().Run(kCmdPrevMonth);
    EXPECT_EQ(list().View().dataListStart, kReadings - 30);
    EXPECT_EQ(reports::RowTexts(list().View(), 0, false)[0], "31");
    EXPECT_EQ(doc().selectedDate, (Date{2026, 3, 10}));
    frame().Run(kCmdPrevYear);
    EXPECT_EQ(list().View().dataListStart, 30);

    // The widget shows vectors drawn from that view: silver header, row fills
    // by range class (60 is below the default low bound, 89 in range).
    QTest::qWait(150);
    const QImage shown = list().grab().toImage();
    EXPECT_EQ(shown.pixelColor(12, 12), QColor(192, 192, 192));
    EXPECT_EQ(shown.pixelColor(12, RowPoint(29).y()), QColor(255, 255, 192));  // 60 mg/dL
    EXPECT_EQ(shown.pixelColor(12, RowPoint(0).y()), QColor(192, 255, 192));   // 89 mg/dL
}

// Every page: its command shows it under its title, the period commands
// redraw it, and Capture View writes what it shows under its own name.
TEST_F(ReportPageTest, EveryPageShowsItsTitleRedrawsOnPeriodStepsAndCapturesItself) {
    StartShown();
    const struct {
        int command, page;
        const char* title;
        std::string file;
    } pages[] = {
        {kCmdDataList, kDataListPage, "DATEN", "DATEN.BMP"},
        {kCmdLogbook, kLogbookPage, "Tagebuch", "TAGEBUCH.BMP"},
        {kCmdSummary, kSummaryPage, "Übersicht", "ZUSAMMENFASSUNG.BMP"},
        {kCmdDayGraph, kDayGraphPage, "Grafik: Durchschnittlicher Blutzuckerwert nach Datum",
         "GRAFIK_NACH_DATUM.BMP"},
        {kCmdMealGraph, kMealGraphPage,
         "Grafik: Durchschnittlicher Blutzuckerwert nach Datum und Tageszeit",
         "GRAFIK_UNT_TAGESZEIT.BMP"},
        {kCmdRangeBars, kRangeBarPage, "Balkendiagramm: Übersicht der Messwerte.",
         "BALK_U_D_M.BMP"},
        {kCmdMealBars, kMealBarPage, "Balkendiagramm: Durchschnittswerte nach Tages-/ Mahlzeiten",
         "BALK_D_N_T_M.BMP"},
        {kCmdPatientList, kPatientListPage, "PATIENTEN", "PATIENT_LIST.BMP"},
        {kCmdGlucoseProfile, kGlucoseProfilePage, "Glukoseprofil", "GLUKOSEPROFIL.BMP"},
    };
    for (const auto& p : pages) {
        SCOPED_TRACE(p.title);
        frame().Run(p.command);
        QApplication::processEvents();
        EXPECT_EQ(doc().currentPage, p.page);
        EXPECT_EQ(frame().windowTitle(), QString::fromUtf8(p.title));
        if (p.page != kPatientListPage) {
            const int drawn = page(p.page).redrawCount();
            frame().Run(kCmdPrevMonth);
            EXPECT_TRUE(QTest::qWaitFor([&] { return page(p.page).redrawCount() > drawn; }));
        }

        page(p.page).OnCommand(reports::kCaptureViewCommand);
        ASSERT_FALSE(prompter->messages.empty());
        EXPECT_EQ(prompter->messages.back().text.toStdString(), "Save Complete - " + p.file);
        const QImage written(QString::fromStdString(data() + "/" + p.file), "BMP");
        EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32),
                  page(p.page).grab().toImage().convertToFormat(QImage::Format_RGB32));
    }
}

TEST_F(ReportPageTest, ALongPatientListScrollsToItsLastPatientAndItsPictureLeavesTheBarOut) {
    for (int k = 1; k <= 60; ++k) {
        AddPatient(reports::Printf("P%03d", k), "Name");
    }
    StartShown();
    frame().Run(kCmdPatientList);
    QApplication::processEvents();
    ReportPageView& shown = page(kPatientListPage);
    const int lastBottom = 30 + 17 * 62;  // bottom of the last row, page pixels
    ASSERT_GT(lastBottom, shown.height());
    ASSERT_TRUE(shown.verticalScrollBar()->isVisible());
    EXPECT_EQ(shown.scrollTop(), 0);

    QWheelEvent wheel(QPointF(100, 100), shown.mapToGlobal(QPointF(100, 100)), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&shown, &wheel);
    EXPECT_GT(shown.scrollTop(), 0);

    QTest::keyClick(&shown, Qt::Key_End);
    const int top = shown.scrollTop();
    EXPECT_EQ(top, shown.verticalScrollBar()->maximum());
    ASSERT_LE(lastBottom + 4 - top, shown.height() - 1);
    // The last row's silver number cell is in view, and only white below it.
    const QImage picture = shown.grab().toImage();
    EXPECT_EQ(picture.pixelColor(12, lastBottom - 8 - top), QColor(192, 192, 192));
    EXPECT_EQ(picture.pixelColor(12, lastBottom + 4 - top), QColor(255, 255, 255));

    const reports::CaptureOutcome capture = shown.CaptureView();
    ASSERT_TRUE(capture.write.ok()) << capture.write.detail;
    EXPECT_EQ(QImage(QString::fromStdString(capture.path)).width(),
              shown.width() - shown.verticalScrollBar()->width());
}

TEST_F(ReportPageTest, RightClickSelectsInsideTheTableOnly) {
    StartShown();
    ShowList();
    EXPECT_EQ(list().selectedRow(), 0);

    RightClick(list(), RowPoint(3));
    EXPECT_EQ(list().selectedRow(), 3);
    // The dotted red band is on screen until the next full repaint.
    EXPECT_GT(RedOnRow(list(), 78), 100);
    EXPECT_EQ(menusShown, 1);

    // x = 59 lies outside: the selection stays, the band goes.
    RightClick(list(), QPoint(59, RowPoint(5).y()));
    EXPECT_EQ(list().selectedRow(), 3);
    EXPECT_EQ(RedOnRow(list(), 78), 0);

    // Switching away and back activates the page anew.
    frame().Run(kCmdSummary);
    ShowList();
    EXPECT_EQ(list().selectedRow(), 0);
}

TEST_F(ReportPageTest, MenuOpensOnlyOverAShownRowWithItsItemsAndStates) {
    storedId = "FEW";
    StartShown();
    ShowList();
    ASSERT_EQ(list().View().dataListStart, 5);

    std::unique_ptr<QMenu> menu(list().MakePopupMenu());
    ASSERT_TRUE(menu);
    QStringList items;
    for (QAction* a : menu->actions()) {
        items << (a->isSeparator() ? "-" : a->text() + (a->isEnabled() ? "" : " (aus)"));
    }
    EXPECT_EQ(items, (QStringList{"&Datenformat ändern (aus)", "&Zeitformat ändern (aus)",
                                  "Messein&heit ändern", "-", "&Mahlzeiten trennen [kombinieren]",
                                  "-", "Daten löschen", "Capture View"}));

    // Row 7 of five readings: no menu.
    const int before = menusShown;
    RightClick(list(), RowPoint(7));
    EXPECT_EQ(menusShown, before);

    // Pages without a list of their own have only "&Capture View"; none
    // opens while the meter is talking.
    menu.reset(page(kSummaryPage).MakePopupMenu());
    ASSERT_TRUE(menu);
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions()[0]->text(), "&Capture View");
    frame().Run(kCmdReceive);
    ASSERT_TRUE(frame().SessionVisible());
    for (int i = kLogbookPage; i <= kPatientListPage; ++i) {
        EXPECT_EQ(page(i).MakePopupMenu(), nullptr) << i;
    }
}

TEST_F(ReportPageTest, UnitAndMealSwitchesSaveTheProfileAndRedraw) {
    StartShown();
    ShowList();
    frame().Run(kCmdNextYear);
    store->id = "someone else";
    const int recomputes = doc().recomputeCount();

    RightClick(list(), RowPoint(0));
    menuChoice = "Messein&heit ändern";
    RightClick(list(), RowPoint(0));
    EXPECT_EQ(reports::RowTexts(list().View(), 0, false)[5], "8.5");  // 154 mg/dL
    EXPECT_GT(doc().recomputeCount(), recomputes);
    EXPECT_EQ(store->id, "ANNA");  // saving remembers the patient
    PatientProfile profile;
    UserSettings saved;
    store->ReadProfile(data(), "ANNA", profile, saved);
    EXPECT_EQ(saved.glucoseUnit, 1);

    const int meals = doc().settings.separateMeals;
    list().OnCommand(reports::kToggleMealsCommand);
    store->ReadProfile(data(), "ANNA", profile, saved);
    EXPECT_EQ(saved.separateMeals, meals == 0 ? 1 : 0);
    EXPECT_TRUE(prompter->messages.empty());
}

TEST_F(ReportPageTest, DeletingTheSelectedReadingAsksAndRewritesTheFile) {
    StartShown();
    ShowList();
    frame().Run(kCmdNextYear);  // newest first: row 2 holds value 152

    // Cancel keeps everything.
    RightClick(list(), RowPoint(2));
    list().OnCommand(reports::kDeleteReadingCommand);
    ASSERT_EQ(prompter->questions.size(), 1u);
    EXPECT_EQ(prompter->questions[0], "Diesen Messwert wirklich löschen?");
    EXPECT_EQ(StoredCount("ANNA"), kReadings);

    // OK through the popup menu removes exactly that reading, in memory and on disk.
    prompter->answers = {true};
    menuChoice = "Daten löschen";
    RightClick(list(), RowPoint(2));
    EXPECT_EQ(StoredCount("ANNA"), kReadings - 1);
    EXPECT_EQ(static_cast<int>(doc().readings.size()), kReadings - 1);
    for (const Reading& r : LoadReadings(data(), "ANNA")) {
        EXPECT_NE(r.Value().value, 152);
    }
    EXPECT_EQ(reports::RowTexts(list().View(), 2, false)[5], "151");
    EXPECT_TRUE(prompter->messages.empty());

    // Until the patient is loaded again, the other pages and the patient
    // commands wait.
    EXPECT_TRUE(doc().deletionPending);
    for (int command : {kCmdLogbook, kCmdUserSettings, kCmdSearch}) {
        EXPECT_FALSE(frame().action(command)->isEnabled()) << command;
    }
    frame().Run(kCmdPatientBox);  // the patient chosen again
    EXPECT_FALSE(doc().deletionPending);
    EXPECT_TRUE(frame().action(kCmdLogbook)->isEnabled());
}

TEST_F(ReportPageTest, ADeletionThatCannotBeSavedIsToldAndTheFileKeepsTheReading) {
    StartShown();
    ShowList();
    const std::string file = PatientFilePath(data(), "ANNA", kDataFileExtension);
    ASSERT_EQ(::chmod(file.c_str(), 0444), 0);

    RightClick(list(), RowPoint(0));
    prompter->answers = {true};
    list().OnCommand(reports::kDeleteReadingCommand);
    ::chmod(file.c_str(), 0644);

    EXPECT_EQ(StoredCount("ANNA"), kReadings);
    ASSERT_EQ(prompter->messages.size(), 1u);
    EXPECT_TRUE(prompter->messages[0].text.contains("schreibgeschützt"));
    EXPECT_EQ(prompter->messages[0].caption, "Merovan");
}

TEST_F(ReportPageTest, PreviewShowsThePagesTheDialogCounted) {
    StartShown();
    ShowList();
    const std::string pdf = work.path() + "/vorschau.pdf";
    int counted = -1;
    int previewed = -1;
    int fileQuestions = 0;
    prompter->onDialog = [&](QDialog& d) {
        if (auto* dialog = ChooseCertificate(d)) {
            counted = dialog->maxPage();
            dialog->accept();  // OK as the user presses it
            return dialog->result();
        }
        if (auto* question = dynamic_cast<QFileDialog*>(&d)) {
            ++fileQuestions;
            question->selectFile(QString::fromStdString(pdf));
            return static_cast<int>(QDialog::Accepted);
        }
        if (auto* preview = dynamic_cast<QPrintPreviewDialog*>(&d)) {
            auto* pages = preview->findChild<QPrintPreviewWidget*>();
            if (pages) {
                pages->updatePreview();
                previewed = pages->pageCount();
            }
            // No file was asked for before the preview.
            EXPECT_EQ(fileQuestions, 0);
            auto* print = preview->findChild<QAction*>(print::kPreviewPrintAction);
            EXPECT_NE(print, nullptr);
            if (print != nullptr) {
                print->trigger();
            }
            return preview->result();
        }
        return static_cast<int>(QDialog::Rejected);
    };
    frame().Run(kCmdPrintPreview);
    EXPECT_EQ(counted, 1 + 95 / 30 + 1);  // cover sheet and the data pages of 95 readings
    EXPECT_EQ(previewed, counted);
    EXPECT_TRUE(prompter->messages.empty());
    // Printing from the preview asks for the file once and writes it there.
    EXPECT_EQ(fileQuestions, 1);
    std::string info;
    ASSERT_EQ(RunCommand("pdfinfo '" + pdf + "'", &info), 0);
    EXPECT_NE(info.find("Pages:           " + std::to_string(counted)), std::string::npos) << info;

    // Cancelling the print dialog opens no preview.
    previewed = -1;
    prompter->onDialog = nullptr;
    frame().Run(kCmdPrintPreview);
    EXPECT_EQ(previewed, -1);
}

TEST_F(ReportPageTest, CancelledPrintLeavesNoFileAndTheWindowUsable) {
    StartShown();
    services->printProgressDelay = std::chrono::milliseconds(0);
    ShowList();
    const std::string pdf = work.path() + "/abgebrochen.pdf";
    prompter->onDialog = [&](QDialog& d) {
        return static_cast<int>(ChooseCertificate(d, pdf) ? QDialog::Accepted : QDialog::Rejected);
    };
    // Cancel is pressed as soon as the progress shows the second page.
    QStringList shown;
    QTimer user;
    user.setInterval(0);
    QObject::connect(&user, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* progress = qobject_cast<QProgressDialog*>(w);
            if (progress && progress->isVisible() && !progress->wasCanceled()) {
                if (!shown.contains(progress->labelText())) {
                    shown << progress->labelText();
                }
                if (progress->labelText().startsWith("Seite 2 ")) {
                    progress->cancel();
                }
            }
        }
    });
    user.start();
    frame().Run(kCmdPrint);
    user.stop();
    EXPECT_EQ(shown,
              QStringList({"Seite 1 von 5 wird gedruckt …", "Seite 2 von 5 wird gedruckt …"}));
    EXPECT_FALSE(std::filesystem::exists(pdf));
    EXPECT_TRUE(prompter->messages.empty());

    // Nothing is left blocking the window: the next print goes through.
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    frame().Run(kCmdPrint);
    EXPECT_TRUE(std::filesystem::exists(pdf));

    // A preview cancelled the same way stops drawing and closes.
    int previewed = -1;
    int previewResult = -1;
    prompter->onDialog = [&](QDialog& d) {
        if (auto* preview = dynamic_cast<QPrintPreviewDialog*>(&d)) {
            auto* pages = preview->findChild<QPrintPreviewWidget*>();
            pages->updatePreview();
            previewed = pages->pageCount();
            preview->setResult(-1);
            QApplication::processEvents();
            previewResult = preview->result();
        } else {
            ChooseCertificate(d);
        }
        return static_cast<int>(QDialog::Accepted);
    };
    shown.clear();
    user.start();
    frame().Run(kCmdPrintPreview);
    user.stop();
    EXPECT_EQ(shown.size(), 2);
    EXPECT_EQ(previewed, 1);
    EXPECT_EQ(previewResult, QDialog::Rejected);
}

TEST_F(ReportPageTest, PrintSetupPaperCarriesIntoTheNextPrint) {
    StartShown();
    const std::string pdf = work.path() + "/quer.pdf";
    int setups = 0;
    bool acceptSetup = true;
    prompter->onDialog = [&](QDialog& d) {
        if (auto* setup = dynamic_cast<QPageSetupDialog*>(&d)) {
            ++setups;
            // What the user picks in the dialog lands on its printer.
            setup->printer()->setPageSize(QPageSize(acceptSetup ? QPageSize::A5 : QPageSize::A3));
            setup->printer()->setPageOrientation(QPageLayout::Landscape);
            return static_cast<int>(acceptSetup ? QDialog::Accepted : QDialog::Rejected);
        }
        if (auto* dialog = dynamic_cast<print::CMyPrintDialog*>(&d)) {
            static_cast<QCheckBox*>(dialog->Control(print::control::kPrintToFile))
                ->setChecked(true);
            dialog->setOutputFile(QString::fromStdString(pdf));
            return static_cast<int>(QDialog::Accepted);
        }
        return static_cast<int>(QDialog::Rejected);
    };
    auto pageSize = [&] {
        std::string info;
        EXPECT_EQ(RunCommand("pdfinfo '" + pdf + "'", &info), 0);
        const auto line = info.find("Page size:");
        return line == std::string::npos ? info : info.substr(line, info.find('\n', line) - line);
    };

    // Before any setup the job prints the shown page on A4 upright.
    ShowList();
    frame().Run(kCmdPrint);
    EXPECT_NE(pageSize().find("(A4)"), std::string::npos) << pageSize();
    std::string text;
    ASSERT_EQ(RunCommand("pdftotext '" + pdf + "' -", &text), 0);
    EXPECT_NE(text.find("DATEN"), std::string::npos);
    EXPECT_NE(text.find("ANNA"), std::string::npos);

    // The setup is there on the start view too; a cancelled one changes nothing.
    frame().Run(kCmdPrintSetup);
    acceptSetup = false;
    frame().Run(kCmdPrintSetup);
    EXPECT_EQ(setups, 2);
    ASSERT_TRUE(doc().pageLayout.has_value());
    EXPECT_EQ(doc().pageLayout->pageSize().id(), QPageSize::A5);
    EXPECT_EQ(doc().pageLayout->orientation(), QPageLayout::Landscape);

    frame().Run(kCmdPrint);
    const std::string size = pageSize();
    EXPECT_NE(size.find("595"), std::string::npos) << size;  // A5 lying: 595 x 420 pt
    EXPECT_LT(size.find("595"), size.find("419")) << size;
    EXPECT_TRUE(prompter->messages.empty());

    // A cancelled print dialog prints nothing.
    std::filesystem::remove(pdf);
    prompter->onDialog = nullptr;
    frame().Run(kCmdPrint);
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

}  // namespace
}  // namespace dorvel::test
