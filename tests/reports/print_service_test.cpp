// Printing through a real print service: a private one with a PDF queue.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <cstdlib>
#include <sstream>

#include "app/print/print_dialog.h"
#include "app/print/print_run.h"
#include "support/print_service.h"
#include "support/records.h"

namespace dorvel::print {
namespace {

using test::PrivatePrintService;

// Each page's words, whatever the line breaks and spacing.
std::vector<std::string> PageTexts(const std::string& pdf) {
    std::string text;
    EXPECT_EQ(test::RunCommand("pdftotext '" + pdf + "' -", &text), 0) << pdf;
    std::vector<std::string> pages;
    std::stringstream all(text);
    std::string page;
    while (std::getline(all, page, '\f')) {
        std::stringstream words(page);
        std::string word, joined;
        while (words >> word)
            joined += (joined.empty() ? "" : " ") + word;
        pages.push_back(joined);
    }
    if (!pages.empty() && pages.back().empty())
        pages.pop_back();
    return pages;
}

class PrintServiceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string missing = PrivatePrintService::Missing();
        if (!missing.empty())
            GTEST_SKIP() << "print service test skipped: the Debian packages " << missing
                         << " are not installed (scripts/setup installs them)";
        std::string problem;
        ASSERT_TRUE(service.Start(&problem)) << problem;
        static int argc = 1;
        static char name[] = "print_service_tests";
        static char* argv[] = {name, nullptr};
        if (QApplication::instance() == nullptr) {
            setenv("QT_QPA_PLATFORM", "offscreen", 0);
            new QApplication(argc, argv);  // left to the end of the process
        }
        for (int i = 0; i < 45; ++i) {
            const Date d = CivilFromDays(DaysFromCivil(2011, 1, 1) + i);
            list.push_back(ReadingFromRecord(
                test::StoredRecord(1, i % 6, d.year, d.month, d.day, 8, 0, 70 + i)));
        }
        job.facts.patientId = "P7";
        job.facts.profile.name = "Erika Muster";
        job.sizes.listedReadings = static_cast<int>(list.size());
    }

    // The dialog on the service's printers, the queue chosen.
    std::unique_ptr<CMyPrintDialog> OpenDialog(bool certificate) {
        auto dialog = std::make_unique<CMyPrintDialog>(choices, reports::kDataListIndex, job.sizes);
        auto* printers = qobject_cast<QComboBox*>(dialog->Control(control::kPrinterList));
        const int at = printers->findText(PrivatePrintService::kQueue);
        EXPECT_GE(at, 0) << "the queue is not among the printers";
        printers->setCurrentIndex(at);
        if (certificate)
            qobject_cast<QRadioButton*>(dialog->Control(control::kMarked))->click();
        job.choices = choices;
        job.body = reports::DataListBody(list, UserSettings{}, RunSettings{}, job.facts,
                                         choices.printRange, job.sizes.listedReadings);
        return dialog;
    }

    PrivatePrintService service;
    test::TempFolder folder;
    ReadingList list;
    reports::PrintJob job;
    reports::PrintChoices choices;
};

TEST_F(PrintServiceTest, CertificateOnTheQueueReadsLikeTheFileInEveryCopy) {
    auto dialog = OpenDialog(true);
    EXPECT_EQ(dialog->printerName(), PrivatePrintService::kQueue);
    EXPECT_EQ(qobject_cast<QLabel*>(dialog->Control(control::kWhereValue))->text(),
              QString::fromUtf8(PrivatePrintService::kLocation));
    EXPECT_FALSE(dialog->printToFile());
    qobject_cast<QSpinBox*>(dialog->Control(control::kCopies))->setValue(2);

    const PrintOutcome onQueue = PrintChosen(*dialog, job);
    ASSERT_TRUE(onQueue.printed()) << onQueue.message;
    EXPECT_EQ(onQueue.pages, 3);  // cover sheet and two data pages
    ASSERT_TRUE(service.WaitForOutputs(1, std::chrono::seconds(60)));
    ASSERT_EQ(service.Outputs().size(), 1u);

    qobject_cast<QCheckBox*>(dialog->Control(control::kPrintToFile))->setChecked(true);
    dialog->setOutputFile(QString::fromStdString(folder.File("cert.pdf")));
    const PrintOutcome onFile = PrintChosen(*dialog, job);
    ASSERT_TRUE(onFile.printed()) << onFile.message;

    const std::vector<std::string> file = PageTexts(folder.File("cert.pdf"));
    const std::vector<std::string> paper = PageTexts(service.Outputs().front());
    ASSERT_EQ(file.size(), 3u);
    ASSERT_EQ(paper.size(), 2 * file.size()) << "two copies of every page";
    for (size_t i = 0; i < paper.size(); ++i)
        EXPECT_EQ(paper[i], file[i % file.size()]) << "page " << i + 1;
    EXPECT_NE(file[0].find("Erika Muster"), std::string::npos) << file[0];
}

TEST_F(PrintServiceTest, StoppedRefusingOrVanishedServiceIsToldAndNothingPrints) {
    auto dialog = OpenDialog(false);
    // A job cancelled while it is drawn never reaches the queue.
    EXPECT_TRUE(PrintChosen(*dialog, job, [](int, int) { return false; }).cancelled);
    EXPECT_EQ(service.ActiveJobs(), 0);

    struct Case {
        const char* command;  // what happens to the queue after the dialog
        const char* told[2];
    };
    const std::string queue = PrivatePrintService::kQueue;
    const Case cases[] = {
        {"cupsdisable -r Papierstau", {"ist angehalten", "Papierstau"}},
        {"cupsenable Testdrucker && cupsreject -r Wartung",
         {"hat den Auftrag abgelehnt", "Wartung"}},
        {nullptr, {"Der Druckdienst ist nicht erreichbar", "Grund: "}},
    };
    for (const Case& c : cases) {
        if (c.command != nullptr)
            ASSERT_EQ(service.Run(std::string(c.command) + " " + queue), 0) << c.command;
        else
            service.Stop();
        const PrintOutcome outcome = PrintChosen(*dialog, job);
        EXPECT_FALSE(outcome.printed());
        EXPECT_EQ(outcome.pages, 0);
        for (const char* part : c.told)
            EXPECT_NE(outcome.message.find(part), std::string::npos) << outcome.message;
        // A job the stopped queue took is withdrawn, not left to print later.
        if (service.running()) {
            EXPECT_EQ(service.ActiveJobs(), 0);
        }
    }
    EXPECT_TRUE(service.Outputs().empty());
}

}  // namespace
}  // namespace dorvel::print
