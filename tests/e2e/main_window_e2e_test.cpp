// The main window against the virtual meter: the frame's commands drive the
// real serial link through a pseudo-terminal that the "Ports" group of a
// temporary settings store names as COM20.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "app/app_fixture.h"
#include "app/dialogs.h"
#include "app/live_session_link.h"
#include "app/patient_panel.h"
#include "meter/download_session.h"
#include "meter/messages.h"
#include "meter/received_data.h"
#include "store/data_folder.h"
#include "store/file_io.h"
#include "store/settings_store.h"
#include "support/meter_sim.h"
#include "support/records.h"

namespace dorvel::test {
namespace {

SessionTiming Quick(int attempts = 3, int watchdogMs = 250) {
    SessionTiming t;
    t.responseMs = 150;
    t.attempts = attempts;
    t.watchdogMs = watchdogMs;
    return t;
}

class MainWindowE2E : public ::testing::Test {
  protected:
    TempFolder work;
    std::unique_ptr<MeterSim> sim;  // outlives the program, which holds its terminal
    std::unique_ptr<CDorvelApp> app;
    ScriptedPrompter* prompter = nullptr;
    SessionLink* link = nullptr;

    std::string data() const { return work.path() + "/DATA"; }
    CMainFrame& frame() { return app->frame(); }

    void SetUp() override {
        EnsureDataFolder(data());
        PatientProfile anna;
        anna.name = "Anna Schmidt";
        ASSERT_TRUE(
            MakeFilePatientStore()->WriteProfile(data(), "ANNA", anna, UserSettings{}).ok());
    }

    void Start(const std::vector<std::string>& simOptions, SessionTiming timing = Quick()) {
        sim = std::make_unique<MeterSim>(DORVEL_METER_SIM, simOptions);
        ASSERT_TRUE(sim->ok());
        SettingsStore settings;
        ASSERT_TRUE(settings.SetPortDevice(20, sim->device()));
        ASSERT_TRUE(settings.SetPort(20));
        auto p = std::make_unique<ScriptedPrompter>();
        prompter = p.get();
        auto l = std::make_unique<LiveSessionLink>(data(), timing, 1);
        link = l.get();
        app = std::make_unique<CDorvelApp>(work.path(), MakeFilePatientStore(), std::move(p),
                                           std::move(l));
    }

    // Runs a meter command and waits for its session to end.
    void RunSession(int command) {
        frame().Run(command);
        ASSERT_TRUE(frame().SessionVisible());
        ASSERT_TRUE(QTest::qWaitFor([this] { return !frame().SessionVisible(); }, 15000));
    }

    std::vector<QString> Shown() const {
        std::vector<QString> out;
        for (const auto& m : prompter->messages)
            out.push_back(m.text);
        return out;
    }
};

TEST_F(MainWindowE2E, ReceiveListAssignAndShowTheDataList) {
    const std::string records = RandomMeterRecords(80, 21, 2);
    work.Write("meter.txt", records);
    Start({"--records", work.File("meter.txt"), "--fast", "--chunk", "64"});
    RunSession(kCmdReceive);
    EXPECT_TRUE(Shown().empty());
    EXPECT_EQ(frame().statusPane(1)->text(), "COM : 20");

    // Every meter user of the reply, with the number of its readings.
    const std::string received = ReadWholeFile(JoinPath(data(), kDataFileName)).bytes;
    const auto users = ListReceivedUsers(received);
    ASSERT_GE(users.size(), 2u);
    PatientPanel* panel = frame().panel();
    ASSERT_EQ(panel->RowCount(), static_cast<int>(users.size()));
    EXPECT_TRUE(panel->assignButton()->isEnabled());
    for (size_t i = 0; i < users.size(); ++i) {
        EXPECT_EQ(panel->Cell(static_cast<int>(i), 0).toStdString(), UserLabel(users[i].number));
        EXPECT_EQ(panel->Cell(static_cast<int>(i), 1).toInt(), users[i].count);
    }

    // The first user's readings go to ANNA, and her data list shows them.
    const std::string label = panel->Cell(0, 0).toStdString();
    panel->SelectRow(0);
    panel->assignButton()->click();
    EXPECT_TRUE(Shown().empty());
    const std::string mine = SelectUserRecords(received, label);
    EXPECT_EQ(ReadWholeFile(PatientFilePath(data(), "ANNA", kDataFileExtension)).bytes, mine);
    EXPECT_EQ(app->doc().currentPatientId, "ANNA");
    EXPECT_EQ(app->doc().readings.size(), mine.size() / 22);
    EXPECT_EQ(app->doc().currentPage, kDataListPage);
    EXPECT_EQ(panel->RowCount(), static_cast<int>(users.size()) - 1);
    EXPECT_FALSE(link->PortOpen());
}

TEST_F(MainWindowE2E, EraseTheMeterThenItHoldsNothing) {
    Start({"--generate", "20", "--fast"});
    prompter->answers = {false, true};
    frame().Run(kCmdEraseMeter);  // declined: no session
    EXPECT_FALSE(frame().SessionVisible());
    RunSession(kCmdEraseMeter);
    RunSession(kCmdReceive);
    EXPECT_EQ(Shown(), (std::vector<QString>{messages::kErased, messages::kNoData}));
    EXPECT_EQ(prompter->questions.size(), 2u);
    EXPECT_EQ(frame().panel()->RowCount(), 0);
}

TEST_F(MainWindowE2E, AMeterThatStopsHalfwayIsToldAndWritesNothing) {
    Start({"--generate", "20", "--fast", "--stall-after", "60"});
    RunSession(kCmdReceive);
    EXPECT_EQ(Shown(), std::vector<QString>{messages::kRepeat});
    EXPECT_FALSE(FileExists(JoinPath(data(), kDataFileName)));
}

// Cancel ends the session at once, whether the meter is still being searched
// for, has stopped halfway through its reply, or is still sending.
TEST_F(MainWindowE2E, CancelEndsTheSessionAtOnce) {
    struct Case {
        const char* name;
        std::vector<std::string> options;
        bool replyBegun;
    } const cases[] = {
        {"searching", {"--silent"}, false},
        {"stalled reply", {"--generate", "200", "--fast", "--stall-after", "100"}, true},
        {"slow reply", {"--generate", "300"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        app.reset();
        Start(c.options, Quick(26, 3000));
        frame().Run(kCmdReceive);
        ProgressWindow* progress = frame().progressWindow();
        ASSERT_TRUE(progress->isVisible());
        if (c.replyBegun) {
            ASSERT_TRUE(
                QTest::qWaitFor([&] { return progress->message().endsWith(" Messwerten"); }, 5000));
        } else {
            QTest::qWait(300);
        }
        ASSERT_TRUE(frame().SessionVisible());

        progress->cancelButton()->click();
        EXPECT_FALSE(progress->isVisible());
        EXPECT_FALSE(link->Running());
        EXPECT_FALSE(link->PortOpen());
        EXPECT_TRUE(frame().panel()->assignButton()->isEnabled());

        // Nothing comes after it: no message, no late time-out, no file.
        QTest::qWait(400);
        EXPECT_TRUE(Shown().empty());
        EXPECT_FALSE(FileExists(JoinPath(data(), kDataFileName)));
        EXPECT_FALSE(FileExists(JoinPath(data(), kLowDataFileName)));
        EXPECT_EQ(frame().panel()->RowCount(), 0);
    }
}

// The last moment: the whole reply is in and waits for the decoder.
TEST_F(MainWindowE2E, CancelBeforeTheDecoderWritesNothing) {
    Start({"--generate", "40", "--fast"});
    ProgressWindow* progress = frame().progressWindow();
    QObject::connect(
        progress, &QWidget::windowTitleChanged, progress, [progress](const QString& t) {
            if (t == messages::kDownloadTitle)
                QTimer::singleShot(0, progress, [progress] { progress->cancelButton()->click(); });
        });
    RunSession(kCmdReceive);
    QTest::qWait(200);
    EXPECT_TRUE(Shown().empty());
    EXPECT_FALSE(FileExists(JoinPath(data(), kDataFileName)));
    EXPECT_FALSE(FileExists(JoinPath(data(), kLowDataFileName)));
    EXPECT_EQ(frame().panel()->RowCount(), 0);
    EXPECT_FALSE(link->Running());

    // The next receive is not held back by it.
    QObject::disconnect(progress, &QWidget::windowTitleChanged, progress, nullptr);
    RunSession(kCmdReceive);
    EXPECT_TRUE(Shown().empty());
    EXPECT_GT(frame().panel()->RowCount(), 0);
}

// A search that finds nothing leaves "Port" alone, and the next download
// asks the port it names first.
TEST_F(MainWindowE2E, FailedSearchKeepsThePortAndTheNextStartsThere) {
    Start({"--silent"});  // "Port" = 20, and COM20 is a meter that never answers
    RunSession(kCmdReceive);
    EXPECT_EQ(Shown(), std::vector<QString>{messages::kCheckCable});
    EXPECT_EQ(SettingsStore().Port(), 20);
    EXPECT_EQ(frame().statusPane(1)->text(), "COM : 20");
    EXPECT_TRUE(frame().panel()->assignButton()->isEnabled());
    EXPECT_FALSE(link->PortOpen());

    MeterSim meter(DORVEL_METER_SIM, {"--generate", "20", "--fast"});
    ASSERT_TRUE(meter.ok());
    ASSERT_TRUE(SettingsStore().SetPortDevice(20, meter.device()));
    prompter->messages.clear();
    RunSession(kCmdReceive);
    EXPECT_TRUE(Shown().empty());
    EXPECT_GT(frame().panel()->RowCount(), 0);
}

// While searching the progress window names the port and the attempt; once
// the reply has announced its count, it counts the readings received.
TEST_F(MainWindowE2E, ProgressNamesThePortThenCountsTheRecords) {
    Start({"--silent"}, Quick(3, 3000));
    ProgressWindow* progress = frame().progressWindow();
    frame().Run(kCmdReceive);
    const std::string searching = "COM20 (" + sim->device() + ") – Versuch 1 von 3";
    EXPECT_TRUE(QTest::qWaitFor([&] { return progress->message() == searching.c_str(); }, 2000));
    progress->cancelButton()->click();

    // Ten times the meter's pace: the reply takes over a second.
    MeterSim meter(DORVEL_METER_SIM, {"--generate", "300", "--baud", "48000"});
    ASSERT_TRUE(SettingsStore().SetPortDevice(20, meter.device()));
    frame().Run(kCmdReceive);
    int received = 0;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            const auto m =
                QRegularExpression("^(\\d+) von 300 Messwerten$").match(progress->message());
            received = m.hasMatch() ? m.captured(1).toInt() : 0;
            return received > 100 && received < 300;
        },
        5000));
    // Received over expected bytes; the header is 6 of 6 + 300 * 22.
    EXPECT_NEAR(progress->position(), (6 + received * 22) * 100 / (6 + 300 * 22), 1);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !frame().SessionVisible(); }, 15000));
}

TEST_F(MainWindowE2E, PortDialogConnectsStoresAndDisconnects) {
    Start({"--silent"});
    SettingsStore().SetPort(3);
    bool connect = true;
    QStringList listed;
    int preselected = -2;
    prompter->onDialog = [&](QDialog& d) {
        auto* dialog = dynamic_cast<CPortDialog*>(&d);
        if (dialog != nullptr && listed.isEmpty()) {
            preselected = dialog->selectedIndex();
            for (int i = 0; i < dialog->list()->count(); ++i)
                listed << dialog->list()->itemText(i);
        }
        if (dialog != nullptr && connect)
            dialog->list()->setCurrentIndex(19);
        return static_cast<int>(connect ? QDialog::Accepted : QDialog::Rejected);
    };
    frame().Run(kCmdPortSettings);
    EXPECT_EQ(preselected, 2);  // the stored COM3
    EXPECT_TRUE(link->PortOpen());
    EXPECT_EQ(SettingsStore().Port(), 20);
    EXPECT_EQ(frame().statusPane(1)->text(), "COM : 20");
    const QString name = QString("COM20 (%1)").arg(QString::fromStdString(sim->device()));
    // Each label with the device behind it; a label without one stands alone.
    ASSERT_EQ(listed.size(), 20);
    EXPECT_EQ(listed[0], "COM1 (/dev/ttyS0)");
    EXPECT_EQ(listed[16], "COM17");
    EXPECT_EQ(listed[19], name);
    connect = false;
    frame().Run(kCmdPortSettings);
    EXPECT_FALSE(link->PortOpen());
    frame().Run(kCmdPortSettings);  // "Trennen" with no open port says nothing
    EXPECT_EQ(Shown(), (std::vector<QString>{QString("Verbindung für %1 erfolgreich.").arg(name),
                                             QString("Verbindung für trennen %1.").arg(name)}));
}

}  // namespace
}  // namespace dorvel::test

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The program keeps "Port" and the port labels in the user's settings: a
    // temporary home keeps the real ones out of reach.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
