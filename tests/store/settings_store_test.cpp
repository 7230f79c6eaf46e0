#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QSettings>
#include <cstdlib>

#include "store/clock.h"
#include "store/port_devices.h"
#include "store/profile_file.h"
#include "store/run_state.h"
#include "store/settings_store.h"
#include "support/temp_folder.h"

namespace dorvel {
namespace {

// Every test gets its own config home; the user's settings are never touched.
class Settings : public testing::Test {
  protected:
    test::TempFolder home;
    void SetUp() override {
        ::setenv("XDG_CONFIG_HOME", home.path().c_str(), 1);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(home.path()));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           QString::fromStdString(home.path()));
    }
    std::string StoreFile() const { return home.File("Kestrana/DorvelSuite.conf"); }
    void WriteStore(std::string_view text) const { home.Write("Kestrana/DorvelSuite.conf", text); }
};

TEST_F(Settings, EmptyStoreGivesTheDefaults) {
    SettingsStore store;
    EXPECT_EQ(store.CurrentPatientId(), "default");
    EXPECT_EQ(store.Port(), 1);
    EXPECT_EQ(store.PortDevice(1), "/dev/ttyS0");
    EXPECT_EQ(store.ProgressWindowPosition(), (SettingsStore::Position{-1, -1}));
    EXPECT_EQ(RunState::AtStart(Clock(Date{2024, 2, 29})).selectedDate, (Date{2024, 2, 29}));
}

TEST_F(Settings, IdAndIDAreOneValue) {
    ::mkdir(home.File("Kestrana").c_str(), 0755);
    WriteStore("[Edit]\nID=ANNA\nport=5\n");
    SettingsStore store;
    EXPECT_EQ(store.CurrentPatientId(), "ANNA");
    EXPECT_EQ(store.Port(), 5);

    ASSERT_TRUE(store.SetCurrentPatientId("BERT"));
    ASSERT_TRUE(store.SetPort(7));
    EXPECT_EQ(store.CurrentPatientId(), "BERT");
    EXPECT_EQ(store.Port(), 7);
    const std::string text = home.Read("Kestrana/DorvelSuite.conf");
    EXPECT_EQ(text.find("ID="), std::string::npos) << text;
    EXPECT_EQ(text.find("port="), std::string::npos) << text;

    // Windows-1252 in the engine, one character in the store.
    ASSERT_TRUE(store.SetCurrentPatientId("M\xDCLLER"));
    EXPECT_EQ(store.CurrentPatientId(), "M\xDCLLER");
    ASSERT_TRUE(store.SetCurrentPatientId(""));
    EXPECT_EQ(store.CurrentPatientId(), "");
}

TEST_F(Settings, UnusableStoredValuesFallBack) {
    ::mkdir(home.File("Kestrana").c_str(), 0755);
    struct Case {
        const char* stored;
        const char* id;
        int port;
    };
    const Case cases[] = {
        {"Id=../etc\nPort=abc\n", "default", 1},
        {"Id=12345678901234567890\nPort=\n", "default", 1},
        {"Id=a/b\nPort= 12\n", "default", 12},
        {"Id=OK\nPort=-1\n", "OK", -1},
    };
    SettingsStore store;
    for (const Case& c : cases) {
        WriteStore(std::string("[Edit]\n") + c.stored);
        EXPECT_EQ(store.CurrentPatientId(), c.id) << c.stored;
        EXPECT_EQ(store.Port(), c.port) << c.stored;
    }
    // A refused ID is not stored.
    EXPECT_FALSE(store.SetCurrentPatientId("../x"));
    EXPECT_FALSE(store.SetCurrentPatientId(std::string(20, 'a')));
    EXPECT_EQ(store.CurrentPatientId(), "OK");
}

TEST_F(Settings, PortLabelsMapToDevicesAndCanBePointedElsewhere) {
    // Label numbers at the borders of the serial, USB and ACM groups, and beyond.
    const char* const devices[] = {"",
                                   "/dev/ttyS0",
                                   "/dev/ttyS3",
                                   "/dev/ttyUSB0",
                                   "/dev/ttyUSB7",
                                   "/dev/ttyACM0",
                                   "/dev/ttyACM3",
                                   "",
                                   "",
                                   ""};
    const int numbers[] = {0, 1, 4, 5, 12, 13, 16, 17, 20, 21};
    for (size_t i = 0; i < std::size(numbers); ++i)
        EXPECT_EQ(DefaultPortDevice(numbers[i]), devices[i]) << numbers[i];
    EXPECT_EQ(PortLabel(20), "COM20");

    ::mkdir(home.File("Kestrana").c_str(), 0755);
    WriteStore("[Ports]\ncom3=/dev/ttyS9\n");
    SettingsStore store;
    EXPECT_EQ(store.PortDevice(3), "/dev/ttyS9");
    ASSERT_TRUE(store.SetPortDevice(20, "/dev/pts/7"));
    EXPECT_EQ(store.PortDevice(20), "/dev/pts/7");
    EXPECT_EQ(store.PortDeviceOverride(19), std::nullopt);
    ASSERT_TRUE(store.SetPortDevice(3, ""));
    EXPECT_EQ(store.PortDevice(3), "/dev/ttyS2");
}

TEST_F(Settings, AStoreThatCannotBeWrittenOrReadSaysSo) {
    home.Write("blocker", "a file where a folder would have to be");
    SettingsStore store(QString::fromStdString(home.File("blocker/settings.ini")));
    EXPECT_FALSE(store.SetPort(3));
    EXPECT_FALSE(store.SetCurrentPatientId("ANNA"));
    EXPECT_EQ(store.CurrentPatientId(), "default");

    // A folder where the settings file should be: the store cannot even be read.
    ::mkdir(home.File("folder.ini").c_str(), 0755);
    EXPECT_EQ(SettingsStore(QString::fromStdString(home.File("folder.ini"))).Port(), -1);
}

TEST_F(Settings, SavingAProfileRemembersItsPatient) {
    test::TempFolder data;
    SettingsStore store;
    PatientProfile p;
    p.name = "Anna";
    ASSERT_TRUE(WriteProfileAndRememberPatient(store, data.path(), "ANNA", p, {}).ok());
    EXPECT_EQ(store.CurrentPatientId(), "ANNA");
    EXPECT_EQ(ReadProfile(data.path(), "ANNA").profile.name, "Anna");

    EXPECT_FALSE(WriteProfileAndRememberPatient(store, data.path(), "../x", p, {}).ok());
    EXPECT_EQ(store.CurrentPatientId(), "ANNA");
}

}  // namespace
}  // namespace dorvel
