#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>

#include <sys/stat.h>
#include <filesystem>
#include <functional>

#include "app/dialogs.h"
#include "app/settings_sheet.h"
#include "app/texts.h"
#include "app_fixture.h"
#include "store/file_io.h"
#include "store/profile_file.h"

namespace dorvel::test {
namespace {

class SheetTest : public AppTest {
  protected:
    void SetUp() override {
        AddPatient("ANNA", "Anna Meier");
        AddPatient("BERT", "Bert Huber");
        storedId = "ANNA";
        Start();
        doc().settings.beforeMeal = {70, 130};
        sheet = std::make_unique<CMyPropertySheet>(doc(), *prompter);
    }
    void TypeId(const QString& id) {
        sheet->idEdit()->setText(id);
        sheet->CommitId();
    }
    std::unique_ptr<CMyPropertySheet> sheet;
};

TEST_F(SheetTest, TypingAnExistingIdLoadsThatPatientOnYesAndRestoresTheCurrentOnNo) {
    TypeId("BERT");
    EXPECT_EQ(prompter->questions.back(), texts::kIdExists);
    EXPECT_EQ(doc().currentPatientId, "ANNA");
    EXPECT_EQ(sheet->idEdit()->text(), "ANNA");
    EXPECT_EQ(sheet->nameEdit()->text(), "Anna Meier");

    prompter->answers = {true};
    TypeId("BERT");
    EXPECT_EQ(doc().currentPatientId, "BERT");
    EXPECT_EQ(sheet->nameEdit()->text(), "Bert Huber");
    EXPECT_TRUE(sheet->applyButton()->isEnabled());
}

TEST_F(SheetTest, ANewIdStartsWithDefaultsOrAsACopy) {
    prompter->answers = {true};
    TypeId("NEU");
    EXPECT_EQ(prompter->questions.back(), texts::kNewIdDefaults);
    EXPECT_EQ(doc().currentPatientId, "NEU");
    EXPECT_EQ(store->id, "NEU");
    EXPECT_TRUE(FileExists(data() + "/NEU.info"));
    EXPECT_EQ(sheet->nameEdit()->text(), "");
    EXPECT_EQ(doc().settings.beforeMeal, (TargetRange{65, 120}));

    // Answered No: the new patient is a copy of the previous one.
    doc().settings.beforeMeal = {70, 130};
    doc().profile.name = "Kopie";
    TypeId("COPY");
    EXPECT_EQ(doc().currentPatientId, "COPY");
    ASSERT_TRUE(FileExists(data() + "/COPY.info"));
    PatientProfile p;
    UserSettings s;
    store->ReadProfile(data(), "COPY", p, s);
    EXPECT_EQ(p.name, "Kopie");
    EXPECT_EQ(s.beforeMeal, (TargetRange{70, 130}));
    EXPECT_EQ(sheet->nameEdit()->text(), "Kopie");
}

TEST_F(SheetTest, AnIdThatCannotBeAFileNameTouchesNothing) {
    TypeId("../evil");
    EXPECT_EQ(doc().currentPatientId, "ANNA");
    EXPECT_TRUE(prompter->questions.empty());
    ASSERT_EQ(prompter->messages.size(), 1u);
    EXPECT_EQ(sheet->idEdit()->text(), "ANNA");
}

TEST_F(SheetTest, SwitchingToAnotherIdRefillsEveryPage) {
    PatientProfile bert;
    bert.name = "Bert Huber";
    bert.diagnosisComments = "Typ 2 seit 2019";
    UserSettings settings;
    settings.slotStart[1] = {6, 0, 0};
    settings.beforeMeal = {80, 140};
    ASSERT_TRUE(WriteProfile(data(), "BERT", bert, settings).ok());
    doc().profile.diagnosisComments = "Annas Bemerkung";
    sheet = std::make_unique<CMyPropertySheet>(doc(), *prompter);

    prompter->answers = {true};
    TypeId("BERT");
    EXPECT_EQ(sheet->diagnosisCommentsEdit()->toPlainText(), "Typ 2 seit 2019");
    EXPECT_EQ(sheet->slotEdit(1)->time(), QTime(6, 0));
    EXPECT_EQ(sheet->targetEdit(1)->text(), "140");
    // A remark typed now is Bert's own, without Anna's text in it.
    sheet->diagnosisCommentsEdit()->appendPlainText("neu");
    EXPECT_EQ(doc().profile.diagnosisComments, "Typ 2 seit 2019\nneu");
}

TEST_F(SheetTest, AProfileThatCannotBeWrittenOnSwitchingIsToldAndNothingIsTakenOn) {
    // A folder in the place of a profile stands for any failed write: the
    // new patient's, with defaults or as a copy, or the previous one's.
    // Otherwise readings assigned next would go to a patient nobody can open.
    doc().profile.name = "Anna Meier (geändert)";
    const struct {
        std::string spoiled, typed;
        bool yes;
    } cases[] = {{"NEU", "NEU", true}, {"NEU", "NEU", false}, {"ANNA", "BERT", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed + (c.yes ? " yes" : " no"));
        std::filesystem::remove(data() + "/" + c.spoiled + ".info");
        std::filesystem::create_directory(data() + "/" + c.spoiled + ".info");
        prompter->answers = {c.yes};
        prompter->messages.clear();
        TypeId(QString::fromStdString(c.typed));
        ASSERT_EQ(prompter->messages.size(), 1u);
        EXPECT_TRUE(prompter->messages[0].text.contains(QString::fromStdString(c.spoiled)))
            << prompter->messages[0].text.toStdString();
        EXPECT_EQ(doc().currentPatientId, "ANNA");
        EXPECT_EQ(store->id, "ANNA");
        EXPECT_EQ(sheet->idEdit()->text(), "ANNA");
        EXPECT_EQ(doc().profile.name, "Anna Meier (geändert)");
        EXPECT_EQ(doc().settings.beforeMeal, (TargetRange{70, 130}));
    }
}

TEST_F(SheetTest, CancelAfterSwitchingPatientsReloadsTheNewPatient) {
    // The switch was written when the ID was committed. After "Abbrechen"
    // the box, the readings shown and the patient they are saved under must
    // agree, or a deletion would reach another patient's file.
    WriteFileAtomic(data() + "/ANNA.gdt",
                    "0010202603141216099000"
                    "0010202603141215123235");
    WriteFileAtomic(data() + "/BERT.gdt", "0010202501010101300000");
    frame().LoadSelectedPatient();
    ASSERT_EQ(doc().readings.size(), 2u);
    prompter->answers = {true};
    prompter->onDialog = [](QDialog& d) {
        if (auto* s = dynamic_cast<CMyPropertySheet*>(&d)) {
            s->idEdit()->setText("BERT");
            s->CommitId();
        }
        return static_cast<int>(QDialog::Rejected);
    };
    frame().Run(kCmdUserSettings);
    EXPECT_EQ(doc().currentPatientId, "BERT");
    EXPECT_EQ(frame().patientBox()->currentText(), "BERT - Bert Huber");
    EXPECT_EQ(doc().readings.size(), 1u);
}

TEST_F(SheetTest, TargetsInMmolAndTheOverallRangeFollows) {
    sheet->unitButton(1)->setChecked(true);
    EXPECT_EQ(doc().settings.glucoseUnit, 1);
    EXPECT_EQ(sheet->targetEdit(0)->text(), "3.88");  // 70 mg/dL
    sheet->targetEdit(0)->setText("3.6");
    sheet->CommitTarget(0);
    EXPECT_EQ(doc().settings.beforeMeal.low, 65);
    EXPECT_EQ(doc().settings.overall.low, 65);
    EXPECT_EQ(sheet->targetEdit(4)->text(), "3.61");

    sheet->unitButton(0)->setChecked(true);
    EXPECT_EQ(sheet->targetEdit(0)->text(), "65");
    sheet->targetEdit(3)->setText("150");
    sheet->CommitTarget(3);
    EXPECT_EQ(doc().settings.afterMeal.high, 150);
    EXPECT_EQ(doc().settings.overall.high, 150);
    EXPECT_EQ(sheet->targetEdit(5)->text(), "150");
    // The overall values can then be edited by themselves.
    sheet->targetEdit(5)->setText("170");
    sheet->CommitTarget(5);
    EXPECT_EQ(doc().settings.overall.high, 170);
    EXPECT_EQ(doc().settings.afterMeal.high, 150);
}

TEST_F(SheetTest, TargetsThatAreNoNumbersOrOutOfOrderAreRefusedAndKept) {
    // Stored: before meal 70-130, after meal 100-155, overall 65-155.
    struct Case {
        int edit;
        const char* text;
        const char* says;
    };
    const Case cases[] = {
        {1, "1x5", "Zahl"},
        {0, "200", "Vor jeder Mahlzeit"},
        {3, "90", "Nach jeder Mahlzeit"},
        {5, "60", "Zielbereich für alle"},
    };
    const UserSettings stored = doc().settings;
    const int shown[] = {70, 130, 100, 155, 65, 155};
    for (const Case& c : cases) {
        prompter->messages.clear();
        sheet->targetEdit(c.edit)->setText(c.text);
        sheet->CommitTarget(c.edit);
        ASSERT_EQ(prompter->messages.size(), 1u) << c.text;
        EXPECT_TRUE(prompter->messages[0].text.contains(QString::fromUtf8(c.says)))
            << c.text << ": " << prompter->messages[0].text.toStdString();
        EXPECT_EQ(doc().settings, stored) << c.text;
        EXPECT_EQ(sheet->targetEdit(c.edit)->text(), QString::number(shown[c.edit])) << c.text;
    }
    EXPECT_FALSE(sheet->modified());
    // A stored value the meter cannot reach is left alone when passed through.
    doc().settings.overall.low = 0;
    sheet = std::make_unique<CMyPropertySheet>(doc(), *prompter);
    prompter->messages.clear();
    sheet->CommitTarget(4);
    EXPECT_TRUE(prompter->messages.empty());
}

TEST_F(SheetTest, TimePageFormatsAreFixedAndEndsFollowTheStarts) {
    for (QRadioButton* b : sheet->formatButtons()) {
        EXPECT_FALSE(b->isEnabled()) << b->text().toStdString();
    }
    EXPECT_EQ(sheet->slotEnd(7)->text(), "00:00") << "Abend ends where Schlaf starts";
    sheet->slotEdit(1)->setTime(QTime(6, 30));
    EXPECT_EQ(doc().settings.slotStart[1], (TimeOfDay{6, 30, 0}));
    EXPECT_EQ(sheet->slotEnd(0)->text(), "06:30");
}

TEST_F(SheetTest, OkWritesTheProfileAndTheFrameReloads) {
    prompter->onDialog = [](QDialog& d) {
        auto* s = dynamic_cast<CMyPropertySheet*>(&d);
        EXPECT_NE(s, nullptr);
        if (s) {
            s->nameEdit()->setText("Anna Schmidt");
            emit s->nameEdit()->editingFinished();
            s->okButton()->click();
        }
        return d.result();
    };
    frame().Run(kCmdUserSettings);
    EXPECT_EQ(frame().patientBox()->currentText(), "ANNA - Anna Schmidt");
    EXPECT_EQ(doc().currentPage, kDataListPage);
}

TEST_F(SheetTest, AProfileThatCannotBeWrittenIsToldAndTheEditsStayInMemory) {
    // The user must not leave the sheet believing the edits were saved.
    struct Case {
        const char* what;
        std::function<void(const std::string& profile)> spoil;
        QString reason;
    };
    const Case cases[] = {
        {"read-only", [](const std::string& f) { ::chmod(f.c_str(), 0444); }, "schreibgeschützt"},
        // A folder in the place of the profile stands for any failed write.
        {"failed",
         [](const std::string& f) {
             std::filesystem::remove(f);
             std::filesystem::create_directory(f);
         },
         "ANNA.info"},
    };
    const std::string profile = data() + "/ANNA.info";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(profile);
        AddPatient("ANNA", "Anna Meier");
        prompter->messages.clear();
        prompter->onDialog = [&c, &profile](QDialog& d) {
            auto* s = dynamic_cast<CMyPropertySheet*>(&d);
            if (s) {
                c.spoil(profile);
                s->nameEdit()->setText("Anna Schmidt");
                emit s->nameEdit()->editingFinished();
                s->targetEdit(0)->setText("80");
                s->CommitTarget(0);
                s->applyButton()->click();
                EXPECT_TRUE(s->modified());
                s->okButton()->click();
            }
            return d.result();
        };
        frame().Run(kCmdUserSettings);
        // Once for "Bestätigen", once for "OK".
        ASSERT_EQ(prompter->messages.size(), 2u);
        for (const auto& m : prompter->messages) {
            EXPECT_EQ(m.caption, texts::kCaption);
            EXPECT_TRUE(m.text.contains(c.reason)) << m.text.toStdString();
        }
        EXPECT_EQ(doc().profile.name, "Anna Schmidt");
        EXPECT_EQ(doc().settings.beforeMeal.low, 80);
    }
}

class PortTest : public AppTest {
  protected:
    void Choose(int position, bool connectPressed) {
        prompter->onDialog = [this, position, connectPressed](QDialog& d) {
            auto* p = dynamic_cast<CPortDialog*>(&d);
            EXPECT_NE(p, nullptr);
            if (p) {
                shownSelection = p->selectedIndex();
                if (position >= 0) {
                    p->list()->setCurrentIndex(position);
                }
            }
            return static_cast<int>(connectPressed ? QDialog::Accepted : QDialog::Rejected);
        };
    }
    int shownSelection = -2;
};

TEST_F(PortTest, StoredPortZeroBecomesOneAndFailuresKeepThePort) {
    Start();
    store->port = 0;
    link->openSucceeds = false;
    Choose(4, true);
    frame().Run(kCmdPortSettings);
    EXPECT_EQ(shownSelection, 0);
    EXPECT_EQ(store->port, 1);
    EXPECT_EQ(prompter->messages.back().text, "Verbindungsfehler für COM5. Bitte wiederholen.");

    // A stored port beyond the table selects nothing, and Verbinden opens nothing.
    store->port = 25;
    Choose(-1, true);
    frame().Run(kCmdPortSettings);
    EXPECT_EQ(shownSelection, -1);
    EXPECT_EQ(link->opened.size(), 1u);
}

}  // namespace
}  // namespace dorvel::test
