// The export commands in the window: file dialog, spreadsheet, mail hand-over
// to a stand-in xdg-email, picture viewer, and the messages when they fail.
#include <QComboBox>
#include <QFileDialog>
#include <QMenuBar>
#include <QtTest/QTest>
#include <filesystem>

#include "app_fixture.h"
#include "store/profile_file.h"
#include "support/mail_stub.h"
#include "support/records.h"

namespace dorvel::test {
namespace {

class ExportActionsTest : public AppTest {
  protected:
    void SetUp() override {
        qputenv("DORVEL_TODAY", "2026-03-10");
        std::filesystem::create_directories(data());
        PatientProfile anna;
        anna.name = "Anna";
        anna.carer = "Tom";
        anna.physicianEmail = "dr@praxis.de";
        WriteProfile(data(), "ANNA", anna, {});
        WriteFileAtomic(data() + "/ANNA.gdt", StoredRecord(1, 0, 2011, 6, 30, 7, 15, 85, 235));
        AddPatient("BERT", "Bert", StoredRecord(2, 0, 2012, 1, 2, 9, 0, 120));
        storedId = "ANNA";
        Start();
        frame().Run(kCmdDataList);
    }
    // The file dialog answers with `path`.
    void ChooseFile(const std::string& path) {
        prompter->onDialog = [path](QDialog& d) {
            auto* dialog = dynamic_cast<QFileDialog*>(&d);
            if (dialog == nullptr || dialog->acceptMode() != QFileDialog::AcceptSave) {
                ADD_FAILURE() << "not a file-save dialog";
                return static_cast<int>(QDialog::Rejected);
            }
            dialog->selectFile(QString::fromStdString(path));
            return static_cast<int>(QDialog::Accepted);
        };
    }
    std::string Read(const std::string& path) { return ReadWholeFile(path).bytes; }
    QString LastMessage() const {
        return prompter->messages.empty() ? QString() : prompter->messages.back().text;
    }
    TempFolder out;
};

TEST_F(ExportActionsTest, EveryExportAndReportCommandIsInTheMenus) {
    QList<QAction*> inMenus;
    for (QAction* menu : frame().menuBar()->actions()) {
        inMenus += menu->menu()->actions();
    }
    for (int command : {kCmdExport, kCmdCertificate, kCmdMail, kCmdPictureViewer, kCmdPrintPreview,
                        kCmdGlucoseProfile}) {
        EXPECT_TRUE(inMenus.contains(frame().action(command))) << command;
    }
}

TEST_F(ExportActionsTest, ExportsTheShownPatientAndOpensTheSpreadsheet) {
    frame().Run(kCmdExport);  // the dialog is cancelled
    EXPECT_TRUE(prompter->opened.empty());

    // A search result shown while the box still names another patient: the
    // shown patient's profile goes with the shown readings.
    frame().patientBox()->setCurrentIndex(1);
    doc().searchMode = true;
    doc().currentPatientId = "ANNA";
    doc().LoadCurrentPatient();
    doc().runSettings.temperatureUnit = 1;
    ChooseFile(out.File("anna.csv"));
    frame().Run(kCmdExport);
    const std::string csv = Read(out.File("anna.csv"));
    EXPECT_EQ(csv.rfind(",Name:,Anna\n", 0), 0u);
    EXPECT_NE(csv.find(",vor Fr\xFChst\xFC"
                       "ck,085,74,Zielbereich\n"),
              std::string::npos);
    ASSERT_EQ(prompter->opened.size(), 1u);
    EXPECT_EQ(prompter->opened[0], QString::fromStdString(out.File("anna.csv")));

    ChooseFile(out.File("cert.csv"));
    frame().Run(kCmdCertificate);
    EXPECT_NE(Read(out.File("cert.csv")).find("\n,NAME,: Anna,,ID,: ANNA,,,\n"), std::string::npos);
    EXPECT_EQ(prompter->opened.size(), 2u);

    // A file that cannot be written is told, and nothing is opened.
    ChooseFile(out.File("missing/x.csv"));
    frame().Run(kCmdExport);
    EXPECT_TRUE(LastMessage().contains("kann nicht geschrieben werden"));
    EXPECT_EQ(prompter->opened.size(), 2u);
}

TEST_F(ExportActionsTest, MailHandsEveryPatientsFileOrTheSearchResultToTheMailProgram) {
    MailStub stub;
    frame().Run(kCmdSummary);
    frame().Run(kCmdMail);
    // The mail program runs on its own.
    ASSERT_TRUE(QTest::qWaitFor([&] { return stub.Calls().size() == 1u; }));
    // The arguments themselves are the mail export's own test.
    const std::vector<std::string> call = stub.Calls()[0];
    EXPECT_EQ(call[2], "Tom's Report");
    EXPECT_EQ(std::count(call.begin(), call.end(), data() + "/Mail/BERT.csv"), 1);
    EXPECT_EQ(call.back(), "dr@praxis.de");
    EXPECT_EQ(doc().currentPage, kDataListPage);

    // In search mode only the shown patient, from the readings in memory.
    std::filesystem::remove_all(data() + "/Mail");
    doc().searchMode = true;
    doc().readings.clear();
    frame().Run(kCmdMail);
    ASSERT_TRUE(QTest::qWaitFor([&] { return stub.Calls().size() == 2u; }));
    const std::vector<std::string> search = stub.Calls()[1];
    EXPECT_EQ(std::count(search.begin(), search.end(), "--attach"), 1);
    EXPECT_EQ(Read(data() + "/Mail/ANNA.csv").find("Anzahl"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(data() + "/Mail/BERT.csv"));
    EXPECT_TRUE(prompter->messages.empty()) << LastMessage().toStdString();
}

TEST_F(ExportActionsTest, MailProblemsAreTold) {
    // A mail program that gives up after it started is told when it ends.
    MailStub noMailer(true, 3);
    frame().Run(kCmdMail);
    ASSERT_TRUE(QTest::qWaitFor([&] { return LastMessage().contains("kein E-Mail-Programm"); }))
        << LastMessage().toStdString();
    EXPECT_TRUE(LastMessage().contains(QString::fromStdString(data() + "/Mail")));

    TempFolder empty;
    CDorvelApp bare(empty.path(), std::make_unique<TestStore>(),
                    std::make_unique<ScriptedPrompter>(), nullptr);
    bare.frame().Run(kCmdDataList);
    bare.frame().Run(kCmdMail);
    const auto& shown = static_cast<ScriptedPrompter&>(bare.prompter()).messages;
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "No files..");
}

TEST_F(ExportActionsTest, PictureViewerOpensTheNewestCapture) {
    frame().Run(kCmdPictureViewer);
    EXPECT_TRUE(LastMessage().contains("Capture View"));
    WriteFileAtomic(data() + "/TAGEBUCH.BMP", "BM");
    WriteFileAtomic(data() + "/DATEN.BMP", "BM");
    std::filesystem::last_write_time(
        data() + "/TAGEBUCH.BMP",
        std::filesystem::last_write_time(data() + "/DATEN.BMP") - std::chrono::hours(1));
    frame().Run(kCmdPictureViewer);
    ASSERT_EQ(prompter->opened.size(), 1u);
    EXPECT_EQ(prompter->opened[0], QString::fromStdString(data() + "/DATEN.BMP"));
}

}  // namespace
}  // namespace dorvel::test
