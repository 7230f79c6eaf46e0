#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/dialogs.h"
#include "app/patient_panel.h"
#include "app/texts.h"
#include "app_fixture.h"
#include "meter/messages.h"
#include "meter/received_data.h"
#include "store/data_folder.h"
#include "store/file_io.h"
#include "store/patient_data_file.h"
#include "support/file_faults.h"
#include "support/records.h"

namespace dorvel::test {
namespace {

class PanelTest : public AppTest {
  protected:
    void SetUp() override {
        qputenv("DORVEL_TODAY", "2026-03-10");
        AddPatient("ANNA", "Anna Meier");
        AddPatient("BERT", "Bert Huber");
        AddPatient("CARL", "Carl M\xfcller");
        storedId = "ANNA";
    }
    // Two users: 001 with three readings, the guest with two.
    void Receive() {
        std::string gr;
        for (int i = 0; i < 3; ++i)
            gr += StoredRecord(1, 0, 2026, 2, 1 + i, 8, 0, 100 + i);
        for (int i = 0; i < 2; ++i)
            gr += StoredRecord(121, 0, 2026, 2, 1 + i, 9, 0, 150 + i);
        WriteReceived(gr);
        frame().Run(kCmdReceive);
        link->End(SessionEnd::Decoded);
    }
    PatientPanel& panel() { return *frame().panel(); }
    void AnswerSearch(const QString& name, bool ok = true) {
        prompter->onDialog = [name, ok](QDialog& d) {
            auto* s = dynamic_cast<CSearchDialog*>(&d);
            EXPECT_NE(s, nullptr);
            if (s) {
                s->edit()->setText(name);
            }
            return static_cast<int>(ok ? QDialog::Accepted : QDialog::Rejected);
        };
    }
};

TEST_F(PanelTest, ReceivedUsersAreListedAndAssigned) {
    Start();
    Receive();
    ASSERT_EQ(panel().RowCount(), 2);
    EXPECT_EQ(panel().Cell(1, 0), "GUEST");
    EXPECT_TRUE(panel().assignButton()->isEnabled());

    // Nothing chosen.
    frame().Run(kCmdAssign);
    ASSERT_EQ(prompter->messages.size(), 1u);
    EXPECT_EQ(prompter->messages[0].text, texts::kChooseRow);

    // Two rows chosen: only the first is imported, and the patient list
    // (which carries the counts) is rebuilt.
    panel().SelectRow(1);
    panel().SelectRow(0, true);
    const int rebuilds = store->listRebuilds;
    frame().Run(kCmdAssign);
    EXPECT_EQ(store->listRebuilds, rebuilds + 1);
    ReadingList anna = LoadReadings(data(), "ANNA");
    ASSERT_EQ(anna.size(), 3u);
    EXPECT_EQ(anna[0].meterUserId, "001");
    ASSERT_EQ(panel().RowCount(), 1);
    EXPECT_EQ(doc().readings.size(), 3u);
    EXPECT_EQ(doc().currentPage, kDataListPage);

    // The guest goes to another patient: exactly the "121" records.
    frame().patientBox()->setCurrentIndex(1);  // BERT
    panel().SelectRow(0);
    frame().Run(kCmdAssign);
    ReadingList bert = LoadReadings(data(), "BERT");
    ASSERT_EQ(bert.size(), 2u);
    EXPECT_EQ(bert[0].meterUserId, "121");
    EXPECT_EQ(panel().RowCount(), 0);
}

TEST_F(PanelTest, ReadAndSyncFailuresReachTheUser) {
    Start();
    Receive();
    panel().SelectRow(0);
    {
        // Assigning what could not be read would take the row away for nothing.
        FileFaults faults;
        faults.FailReading("gr_data.dat");
        frame().Run(kCmdAssign);
    }
    ASSERT_EQ(prompter->messages.size(), 1u);
    EXPECT_TRUE(
        prompter->messages[0].text.startsWith("Die empfangenen Daten können nicht gelesen"));
    EXPECT_EQ(panel().RowCount(), 2);
    EXPECT_TRUE(LoadReadings(data(), "ANNA").empty());
    {
        FileFaults faults;
        faults.FailFolderSync();
        frame().Run(kCmdAssign);
    }
    ASSERT_EQ(prompter->messages.size(), 2u);
    EXPECT_TRUE(prompter->messages[1].text.startsWith(QString::fromUtf8(kImportUnsyncedMessage)));
    EXPECT_EQ(doc().readings.size(), 3u);  // in the file, so shown
    EXPECT_EQ(panel().RowCount(), 2);      // and still there to be assigned again
    {
        // A patient whose data file cannot be read is not shown as one without readings.
        FileFaults faults;
        faults.FailReading("BERT.gdt");
        frame().patientBox()->setCurrentIndex(1);
    }
    ASSERT_EQ(prompter->messages.size(), 3u);
    EXPECT_TRUE(prompter->messages[2].text.contains("BERT.gdt"));
}

TEST_F(PanelTest, EntriesStandForTheirIdsWhateverTheTextShows) {
    // " - " inside an ID, and a profile spelled in lower case letters.
    AddPatient("Max - 1", "Max Muster");
    AddPatient("MAX", "Max Anders");
    storedId = "MAX - 1";
    Start();
    EXPECT_EQ(frame().patientBox()->currentText(), "MAX - 1 - Max Muster");
    EXPECT_EQ(doc().currentPatientId, "MAX - 1");

    AnswerSearch("muster");
    frame().Run(kCmdSearch);
    ASSERT_EQ(panel().RowCount(), 1);
    EXPECT_EQ(panel().Cell(0, 1), "Max Muster");
    frame().OpenSearchResult(0);
    EXPECT_EQ(doc().currentPatientId, "MAX - 1");
    frame().RestorePanel();

    // The readings join the profile's spelling: no "MAX.gdt", no "MAX - 1.gdt".
    Receive();
    panel().SelectRow(0);
    frame().Run(kCmdAssign);
    EXPECT_TRUE(FileExists(data() + "/Max - 1.gdt"));
    EXPECT_FALSE(FileExists(data() + "/MAX.gdt"));
    EXPECT_FALSE(FileExists(data() + "/MAX - 1.gdt"));
    EXPECT_EQ(doc().readings.size(), 3u);

    // Deleting the entry removes this patient and nobody else.
    prompter->answers = {true};
    frame().Run(kCmdDeletePatient);
    EXPECT_FALSE(FileExists(data() + "/Max - 1.info"));
    EXPECT_FALSE(FileExists(data() + "/Max - 1.gdt"));
    EXPECT_TRUE(FileExists(data() + "/MAX.info"));
}

TEST_F(PanelTest, TheNoResultRowIsNoMeterUser) {
    Start();
    WriteReceived(StoredRecord(0, 0, 2026, 2, 1, 8, 0, 100));
    AnswerSearch("niemand");
    frame().Run(kCmdSearch);
    ASSERT_EQ(panel().Cell(0, 1), texts::kNoResult);
    EXPECT_FALSE(doc().searchMode);
    EXPECT_TRUE(panel().assignButton()->isEnabled());
    panel().SelectRow(0);
    frame().Run(kCmdAssign);
    ASSERT_EQ(prompter->messages.size(), 1u);
    EXPECT_EQ(prompter->messages[0].text, texts::kChooseRow);
    EXPECT_FALSE(FileExists(data() + "/ANNA.gdt")) << "meter user 000 was imported";
}

TEST_F(PanelTest, WithoutAnyPatientTheBoxIsEmptyAndAssignAsksToCreateOne) {
    TempFolder empty;
    auto p = std::make_unique<ScriptedPrompter>();
    ScriptedPrompter* script = p.get();
    CDorvelApp bare(empty.path(), std::make_unique<TestStore>(), std::move(p), nullptr);
    EXPECT_EQ(bare.frame().patientBox()->count(), 0);
    EXPECT_EQ(bare.doc().currentPatientId, "");
    WriteFileAtomic(JoinPath(bare.doc().dataFolder(), "gr_data.dat"),
                    StoredRecord(1, 0, 2026, 2, 1, 8, 0, 100));
    bare.frame().OnRecordsReady();
    bare.frame().panel()->SelectRow(0);
    bare.frame().Run(kCmdAssign);
    ASSERT_EQ(script->messages.size(), 1u);
    EXPECT_EQ(script->messages[0].text, texts::kCreateFirst);
}

TEST_F(PanelTest, DeletingPatients) {
    Start();
    // Cancelled: nothing goes.
    frame().Run(kCmdDeletePatient);
    EXPECT_EQ(prompter->questions.back(), texts::kConfirmDelete);
    EXPECT_TRUE(FileExists(data() + "/ANNA.info"));

    WriteFileAtomic(data() + "/ANNA.gdt", StoredRecord(1, 0, 2026, 2, 1, 8, 0, 100));
    prompter->answers = {true};
    frame().Run(kCmdDeletePatient);
    EXPECT_FALSE(FileExists(data() + "/ANNA.info"));
    EXPECT_FALSE(FileExists(data() + "/ANNA.gdt"));
    EXPECT_EQ(frame().patientBox()->count(), 2);
    EXPECT_EQ(doc().currentPatientId, "BERT");
    EXPECT_EQ(store->listRebuilds, 2);  // start-up and the deletion

    prompter->answers = {true};
    frame().Run(kCmdDeletePatient);
    EXPECT_EQ(frame().patientBox()->count(), 1);
    // The last patient is never deleted, and nobody is asked.
    const size_t asked = prompter->questions.size();
    frame().Run(kCmdDeletePatient);
    EXPECT_EQ(prompter->questions.size(), asked);
    EXPECT_EQ(frame().patientBox()->count(), 1);
}

TEST_F(PanelTest, DeletingAnIdThatReachesTwoPatientsRemovesNeitherAndSaysWhy) {
    // A hand-assembled folder: a second patient whose file name differs only
    // in letter case shows up as the same entry.
    WriteFileAtomic(data() + "/anna.info", "Anna Klein");
    Start();
    prompter->answers = {true};
    frame().Run(kCmdDeletePatient);
    EXPECT_TRUE(FileExists(data() + "/ANNA.info"));
    EXPECT_TRUE(FileExists(data() + "/anna.info"));
    ASSERT_EQ(prompter->messages.size(), 1u);
    EXPECT_EQ(prompter->messages[0].caption, texts::kCaption);
    EXPECT_TRUE(prompter->messages[0].text.contains("ANNA.info, anna.info"))
        << prompter->messages[0].text.toStdString();
}

TEST_F(PanelTest, SearchListsMatchingNamesAndOpensOne) {
    Start();
    AnswerSearch("MEI");
    frame().Run(kCmdSearch);
    EXPECT_TRUE(doc().searchMode);
    ASSERT_EQ(panel().RowCount(), 1);
    EXPECT_EQ(panel().Cell(0, 0), "ANNA");
    EXPECT_EQ(panel().title()->text(), texts::kSearchTitle);
    EXPECT_FALSE(panel().assignButton()->isVisibleTo(&panel()));
    EXPECT_FALSE(frame().action(kCmdLogbook)->isEnabled());

    frame().OpenSearchResult(0);
    EXPECT_EQ(doc().currentPatientId, "ANNA");
    EXPECT_EQ(doc().currentPage, kDataListPage);

    // A right click leaves search mode.
    frame().RestorePanel();
    EXPECT_FALSE(doc().searchMode);
    EXPECT_EQ(panel().RowCount(), 0);
    EXPECT_EQ(panel().title()->text(), texts::kPanelTitle);

    // A typed umlaut meets the stored one.
    AnswerSearch("\u00fcLL");
    frame().Run(kCmdSearch);
    ASSERT_EQ(panel().RowCount(), 1);
    EXPECT_EQ(panel().Cell(0, 0), "CARL");
}

TEST_F(PanelTest, SearchCancelledOrEmptyLeavesTheListAlone) {
    Start();
    Receive();
    // Cancel the warning: the received users stay.
    AnswerSearch("anna");
    frame().Run(kCmdSearch);
    EXPECT_EQ(prompter->questions.back(), texts::kConfirmSearch);
    EXPECT_EQ(panel().RowCount(), 2);
    EXPECT_FALSE(doc().searchMode);
    // Confirmed, but the dialog cancelled or left empty.
    prompter->answers = {true};
    AnswerSearch("anna", false);
    frame().Run(kCmdSearch);
    EXPECT_FALSE(doc().searchMode);
    prompter->answers = {true};
    AnswerSearch("");
    frame().Run(kCmdSearch);
    EXPECT_FALSE(doc().searchMode);
    EXPECT_EQ(panel().RowCount(), 2);
}

// Cancel, erase and the outcomes of a real line are the end-to-end tests' part.
TEST_F(PanelTest, SessionShowsItsProgressAndASecondReceiveResetsIt) {
    Start();
    frame().Run(kCmdReceive);
    EXPECT_TRUE(frame().SessionVisible());
    EXPECT_EQ(frame().progressWindow()->windowTitle(), texts::kProgressTitle);
    EXPECT_EQ(frame().progressWindow()->message(), texts::kProgressMessage);
    EXPECT_FALSE(panel().assignButton()->isEnabled());
    ASSERT_EQ(link->started.size(), 1u);
    EXPECT_EQ(link->started[0], RequestKind::Download);

    // Receive while a session is visible: reset with a message, no new session.
    frame().Run(kCmdReceive);
    EXPECT_EQ(link->started.size(), 1u);
    EXPECT_EQ(link->cancels, 1);
    EXPECT_FALSE(frame().SessionVisible());
    ASSERT_EQ(prompter->messages.size(), 1u);
    EXPECT_EQ(prompter->messages[0].text, messages::kRepeat);
    EXPECT_EQ(prompter->messages[0].caption, "Aurevia");

    // A port without access rights is named under the cable hint, not hidden by it.
    const std::string denied = std::string(messages::kCheckCable) +
                               "\nKein Zugriff auf /dev/ttyUSB0 – Mitglied der Gruppe dialout "
                               "werden und neu anmelden.";
    frame().Run(kCmdReceive);
    link->End(SessionEnd::NoAnswer, denied);
    EXPECT_FALSE(frame().SessionVisible());
    EXPECT_EQ(prompter->messages.back().text.toStdString(), denied);
    EXPECT_TRUE(panel().assignButton()->isEnabled());
}

}  // namespace
}  // namespace dorvel::test
