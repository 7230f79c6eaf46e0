// The export commands in the window: file dialog, spreadsheet, mail hand-over
// to a stand-in xdg-email, picture viewer, and the messages when they fail.
#include <QComboBox>
#include <QFileDialog>
#include <QMenuBar>
#include <QtTest/QTest>
#include <filesystem>

#include "app/patient_panel.h"
#include "app_fixture.h"
#include "store/profile_file.h"
#include "store/text_encoding.h"
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
    }
    // The file dialog answers with `path`.
    void ChooseFile(const std::string& path) {
        prompter->onDialog = [path](QDialog& d) {
            auto* dialog = dynamic_cast<QFileDialog*>(&d);
            EXPECT_NE(dialog, nullptr);
            if (dialog == nullptr) {
                return static_cast<int>(QDialog::Rejected);
            }
            EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
            EXPECT_EQ(dialog->defaultSuffix(), "csv");
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

TEST_F(ExportActionsTest, EveryExportCommandIsInTheMenus) {
    Start();
    QList<QAction*> inMenus;
    for (QAction* menu : frame().menuBar()->actions()) {
        inMenus += menu->menu()->actions();
    }
    for (int command : {kCmdExport, kCmdCertificate, kCmdMail, kCmdPictureViewer}) {
        EXPECT_TRUE(inMenus.contains(frame().action(command))) << command;
    }
    EXPECT_EQ(frame().action(kCmdCertificate)->text(), "&Bescheinigung exportieren...");
}

TEST_F(ExportActionsTest, ExportWritesTheCurrentPatientAndOpensTheSpreadsheet) {
    Start();
    frame().Run(kCmdDataList);
    frame().Run(kCmdExport);  // the dialog is cancelled
    EXPECT_TRUE(prompter->opened.empty());

    doc().runSettings.temperatureUnit = 1;
    ChooseFile(out.File("anna.csv"));
    frame().Run(kCmdExport);
    const std::string csv = Read(out.File("anna.csv"));
    EXPECT_EQ(csv.rfind(",Name:,Anna\n", 0), 0u);
    EXPECT_NE(csv.find(Utf8ToCp1252(
                  "\n1,2011-06-30,07:15,Keine Markierung,vor Frühstück,085,74,Zielbereich\n")),
              std::string::npos);
    ASSERT_EQ(prompter->opened.size(), 1u);
    EXPECT_EQ(prompter->opened[0], QString::fromStdString(out.File("anna.csv")));

    // A search result shown while the box still names another patient:
    // the shown patient's profile goes with the shown readings.
    frame().patientBox()->setCurrentIndex(1);
    doc().searchMode = true;
    doc().currentPatientId = "ANNA";
    doc().LoadCurrentPatient();
    ChooseFile(out.File("found.csv"));
    frame().Run(kCmdExport);
    EXPECT_EQ(Read(out.File("found.csv")), csv);
    doc().searchMode = false;

    // A patient without readings: the patient block, and no spreadsheet.
    frame().LoadSelectedPatient();
    ASSERT_EQ(doc().currentPatientId, "BERT");
    doc().readings.clear();
    ChooseFile(out.File("bert.csv"));
    frame().Run(kCmdExport);
    EXPECT_EQ(Read(out.File("bert.csv")).find("Anzahl"), std::string::npos);
    EXPECT_EQ(prompter->opened.size(), 2u);
}

TEST_F(ExportActionsTest, CertificateAndFailedWrites) {
    Start();
    ChooseFile(out.File("cert.csv"));
    frame().Run(kCmdCertificate);  // on the start view too
    EXPECT_NE(Read(out.File("cert.csv")).find("\n,NAME,: Anna,,ID,: ANNA,,,\n"), std::string::npos);
    EXPECT_EQ(prompter->opened.size(), 1u);

    frame().Run(kCmdDataList);
    out.Write("old.csv", "old\n");
    ::chmod(out.File("old.csv").c_str(), 0444);
    for (const std::string& path : {out.File("missing/x.csv"), out.File("old.csv")}) {
        ChooseFile(path);
        frame().Run(kCmdExport);
        EXPECT_TRUE(LastMessage().contains(QString::fromStdString(path))) << path;
    }
    EXPECT_EQ(Read(out.File("old.csv")), "old\n");
    EXPECT_EQ(prompter->opened.size(), 1u);
}

TEST_F(ExportActionsTest, MailHandsEveryPatientsFileToTheMailProgram) {
    Start();
    frame().Run(kCmdSummary);
    MailStub stub;
    frame().Run(kCmdMail);
    QTRY_COMPARE(stub.Calls().size(), 1u);  // the mail program runs on its own
    const auto calls = stub.Calls();
    const std::vector<std::string> expected = {
        "--utf8",
        "--subject",
        "Tom's Report",
        "--body",
        "<<Remark>> Please save the attached files to <.\\DATA\\MAIL> folder.",
        "--attach",
        data() + "/Mail/ANNA.csv",
        "--attach",
        data() + "/Mail/BERT.csv",
        "dr@praxis.de"};
    EXPECT_EQ(calls[0], expected);
    EXPECT_NE(Read(data() + "/Mail/BERT.csv").find("\n1,2012-01-02,09:00,"), std::string::npos);
    EXPECT_EQ(doc().currentPage, kDataListPage);
    EXPECT_TRUE(prompter->messages.empty()) << LastMessage().toStdString();
}

TEST_F(ExportActionsTest, MailInSearchModeSendsTheShownPatientFromMemory) {
    Start();
    frame().Run(kCmdDataList);
    doc().searchMode = true;
    doc().readings.clear();  // memory, not the file, is what is sent
    MailStub stub;
    frame().Run(kCmdMail);
    QTRY_COMPARE(stub.Calls().size(), 1u);  // the mail program runs on its own
    const auto calls = stub.Calls();
    EXPECT_EQ(std::count(calls[0].begin(), calls[0].end(), "--attach"), 1);
    EXPECT_EQ(Read(data() + "/Mail/ANNA.csv").find("Anzahl"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(data() + "/Mail/BERT.csv"));
}

TEST_F(ExportActionsTest, MailProblemsAreToldAndTheFilesStay) {
    Start();
    frame().Run(kCmdDataList);
    {
        MailStub missing(false);
        frame().Run(kCmdMail);
    }
    EXPECT_TRUE(LastMessage().contains("xdg-utils")) << LastMessage().toStdString();
    EXPECT_TRUE(LastMessage().contains(QString::fromStdString(data() + "/Mail")));
    EXPECT_TRUE(std::filesystem::exists(data() + "/Mail/ANNA.csv"));

    // A mail program that gives up after starting is told when it ends.
    prompter->messages.clear();
    MailStub noMailer(true, 3);
    frame().Run(kCmdMail);
    QTRY_VERIFY(LastMessage().contains("kein E-Mail-Programm"));

    // Nobody to send.
    TempFolder empty;
    CDorvelApp bare(empty.path(), std::make_unique<TestStore>(),
                    std::make_unique<ScriptedPrompter>(), nullptr);
    bare.frame().Run(kCmdDataList);
    bare.frame().Run(kCmdMail);
    auto& shown = static_cast<ScriptedPrompter&>(bare.prompter()).messages;
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "No files..");
    EXPECT_EQ(shown[0].caption, "Aurevia");
}

TEST_F(ExportActionsTest, PictureViewerOpensTheNewestCapture) {
    Start();
    frame().Run(kCmdPictureViewer);
    EXPECT_TRUE(prompter->opened.empty());
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
