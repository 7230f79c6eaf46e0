#include "app/print/print_dialog.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <cstdlib>

#include "app/print/print_run.h"
#include "support/cli_fixture.h"
#include "support/records.h"

namespace dorvel::print {
namespace {

using reports::JobSizes;
using reports::kDataListIndex;
using reports::kLogbookIndex;
using reports::kPatientListIndex;
using reports::PrintChoices;

void EnsureApp() {
    static int argc = 1;
    static char name[] = "print_dialog_tests";
    static char* argv[] = {name, nullptr};
    if (QApplication::instance() == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        // Left to the end of the process: tearing it down among the other
        // statics at exit crashes inside Qt once a preview has run.
        new QApplication(argc, argv);
    }
}

QList<PrinterEntry> TwoPrinters() {
    return {{"Buero", "Bereit", "Laser 5", "Flur 2", "Schwarzweiss"},
            {"Station", "Fehler", "Tinte 9", "Station 3", ""}};
}

QString TextOf(const QWidget* w) {
    if (const auto* b = qobject_cast<const QAbstractButton*>(w))
        return b->text();
    if (const auto* l = qobject_cast<const QLabel*>(w))
        return l->text();
    if (const auto* g = qobject_cast<const QGroupBox*>(w))
        return g->title();
    return {};
}

TEST(PrintDialog, EveryControlWithItsTextAndTheOpeningState) {
    EnsureApp();
    PrintChoices choices;
    choices.printRange = 1;
    choices.printDiagnosisDate = true;
    CMyPrintDialog dialog(choices, kDataListIndex, JobSizes{45, 3, 1}, TwoPrinters());
    EXPECT_EQ(dialog.windowTitle(), "Druck");

    const std::pair<int, const char*> texts[] = {
        {control::kPrinterGroup, " Drucker "},
        {control::kNameLabel, "&Name(&N):"},
        {control::kProperties, "&Eigenschaften(&P)"},
        {control::kStatusLabel, "Status:"},
        {control::kTypeLabel, "Typ:"},
        {control::kWhereLabel, "Wo:"},
        {control::kCommentLabel, "Bemerkungen:"},
        {control::kPrintToFile, "Als Datei &drucken"},
        {control::kRangeGroup, " Datenbereich "},
        {control::kThisPage, "&diesen Datenbereich"},
        {control::kMarked, "&Markierung"},
        {control::kDiagnosisDate, "&Datum der Diagnose drucken"},
        {control::kCopiesGroup, " Exemplare "},
        {control::kCopiesLabel, "Anzahl der Exemplare:(&C):"},
        {control::kOk, "OK"},
        {control::kCancel, "Abbrechen"},
        // The first printer's facts.
        {control::kStatusValue, "Bereit"},
        {control::kTypeValue, "Laser 5"},
        {control::kWhereValue, "Flur 2"},
        {control::kCommentValue, "Schwarzweiss"},
    };
    for (const auto& [id, text] : texts) {
        const QWidget* w = dialog.Control(id);
        ASSERT_NE(w, nullptr) << id;
        EXPECT_EQ(TextOf(w), QString::fromUtf8(text)) << id;
    }
    ASSERT_NE(qobject_cast<QComboBox*>(dialog.Control(control::kPrinterList)), nullptr);
    ASSERT_NE(qobject_cast<QSpinBox*>(dialog.Control(control::kCopies)), nullptr);

    // Both choices back to 0 and the page shown marked; one page to print.
    EXPECT_EQ(choices.printRange, 0);
    EXPECT_FALSE(choices.printDiagnosisDate);
    EXPECT_TRUE(choices.marked[kDataListIndex]);
    EXPECT_TRUE(qobject_cast<QRadioButton*>(dialog.Control(control::kThisPage))->isChecked());
    EXPECT_FALSE(qobject_cast<QCheckBox*>(dialog.Control(control::kDiagnosisDate))->isChecked());
    EXPECT_EQ(dialog.minPage(), 1);
    EXPECT_EQ(dialog.maxPage(), 1);
    EXPECT_EQ(dialog.printerName(), "Buero");

    auto* list = qobject_cast<QComboBox*>(dialog.Control(control::kPrinterList));
    list->setCurrentIndex(1);
    EXPECT_EQ(TextOf(dialog.Control(control::kStatusValue)), "Fehler");
    EXPECT_EQ(dialog.printerName(), "Station");
    if (const char* keep = std::getenv("DORVEL_KEEP_DIALOG"))
        dialog.grab().save(QString::fromLocal8Bit(keep));
}

TEST(PrintDialog, RangeButtonsMarkReportsAndRecountThePages) {
    EnsureApp();
    PrintChoices choices;
    {
        CMyPrintDialog dialog(choices, kDataListIndex, JobSizes{60, 2, 1}, TwoPrinters());
        auto* marked = qobject_cast<QRadioButton*>(dialog.Control(control::kMarked));
        auto* thisPage = qobject_cast<QRadioButton*>(dialog.Control(control::kThisPage));
        marked->click();
        // Cover sheet plus two data pages of 30.
        EXPECT_EQ(choices.printRange, 1);
        EXPECT_TRUE(choices.marked[0]);
        EXPECT_EQ(dialog.maxPage(), 3);
        EXPECT_EQ(dialog.toPage(), 3);
        EXPECT_EQ(dialog.pageCount().boundary[2], 3);
        thisPage->click();
        EXPECT_EQ(dialog.maxPage(), 1);

        qobject_cast<QCheckBox*>(dialog.Control(control::kDiagnosisDate))->click();
        EXPECT_TRUE(choices.printDiagnosisDate);
    }
    // The marks outlive the dialog: opened on the logbook, the certificate
    // adds two month pages for it.
    CMyPrintDialog logbook(choices, kLogbookIndex, JobSizes{60, 2, 1}, TwoPrinters());
    EXPECT_FALSE(choices.printDiagnosisDate);
    qobject_cast<QRadioButton*>(logbook.Control(control::kMarked))->click();
    EXPECT_EQ(logbook.maxPage(), 1 + 2 + 2);
    EXPECT_EQ(logbook.pageCount().boundary[3], 5);
}

TEST(PrintDialog, PatientListAndMissingPrinters) {
    EnsureApp();
    PrintChoices choices;
    CMyPrintDialog dialog(choices, kPatientListIndex, JobSizes{10, 3, 1}, {});
    auto* marked = qobject_cast<QRadioButton*>(dialog.Control(control::kMarked));
    EXPECT_FALSE(marked->isEnabled());
    EXPECT_EQ(dialog.maxPage(), 1);
    EXPECT_EQ(dialog.pageCount().boundary[reports::kPatientListKind], 1);

    // Without a printer only a file can be printed.
    auto* toFile = qobject_cast<QCheckBox*>(dialog.Control(control::kPrintToFile));
    auto* ok = qobject_cast<QAbstractButton*>(dialog.Control(control::kOk));
    EXPECT_TRUE(toFile->isChecked());
    EXPECT_TRUE(ok->isEnabled());
    toFile->setChecked(false);
    EXPECT_FALSE(ok->isEnabled());
}

class PrintRun : public ::testing::Test {
  protected:
    void SetUp() override {
        EnsureApp();
        for (int i = 0; i < 45; ++i) {
            const Date d = CivilFromDays(DaysFromCivil(2011, 1, 1) + i);
            list.push_back(ReadingFromRecord(
                test::StoredRecord(1, i % 6, d.year, d.month, d.day, 8, 0, 70 + i)));
        }
        job.facts.patientId = "P7";
        job.facts.profile.name = "Erika Muster";
        job.shownPageIndex = kDataListIndex;
        job.sizes.listedReadings = static_cast<int>(list.size());
    }
    void UseChoices(const PrintChoices& choices) {
        job.choices = choices;
        job.body = reports::DataListBody(list, UserSettings{}, RunSettings{}, job.facts,
                                         choices.printRange, job.sizes.listedReadings);
    }
    ReadingList list;
    reports::PrintJob job;
    test::TempFolder folder;
};

TEST_F(PrintRun, PrintToFileWritesTheCertificateAsPdf) {
    PrintChoices choices;
    CMyPrintDialog dialog(choices, kDataListIndex, job.sizes, {});
    qobject_cast<QRadioButton*>(dialog.Control(control::kMarked))->click();
    dialog.setOutputFile(QString::fromStdString(folder.File("cert.pdf")));
    qobject_cast<QAbstractButton*>(dialog.Control(control::kOk))->click();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);

    UseChoices(choices);
    const PrintOutcome outcome = PrintChosen(dialog, job);
    ASSERT_TRUE(outcome.write.ok()) << outcome.message;
    EXPECT_EQ(outcome.pages, dialog.maxPage());
    EXPECT_EQ(outcome.pages, 1 + 2);

    // A file that cannot be written is reported, not taken for printed.
    dialog.setOutputFile(QString::fromStdString(folder.File("missing/cert.pdf")));
    const PrintOutcome failed = PrintChosen(dialog, job);
    EXPECT_FALSE(failed.write.ok());
    EXPECT_FALSE(failed.message.empty());
}

}  // namespace
}  // namespace dorvel::print
