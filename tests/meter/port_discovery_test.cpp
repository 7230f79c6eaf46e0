// Which port the search opens, and what it stores as "Port".
#include "meter/port_discovery.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QCoreApplication>
#include <QSettings>

#include "support/temp_folder.h"

namespace dorvel {
namespace {

// Remembers every device it is asked to open; opens succeed unless told otherwise.
struct ScriptedStream : ByteStream {
    std::vector<std::string> opened;
    bool open = false;
    bool succeed = true;
    LineError error;
    void Configure(ChunkHandler, size_t) override {}
    bool Open() override {
        opened.push_back(settings.portName);
        open = succeed;
        return open;
    }
    void Close() override { open = false; }
    bool IsOpen() const override { return open; }
    size_t Write(std::string_view b) override { return open ? b.size() : 0; }
    int PollIdle() override { return 1; }
    const LineError& LastError() const override { return error; }
};

SerialPortInfo Info(const std::string& friendly, bool usb, const std::string& path = "/dev/x") {
    return {path, PortNameFromFriendlyName(friendly).first, friendly,
            friendly.substr(0, friendly.find(" (")), usb};
}

TEST(PortTable, NamesAndFriendlyNames) {
    EXPECT_EQ(PortTable()[11], "\\\\.\\COM12");
    struct Case {
        std::string friendly, name;
        std::optional<int> index;
    } const cases[] = {
        {"Prolific USB-to-Serial Comm Port (COM3)", "COM3", 2},
        {"Prolific USB-to-Serial Comm Port (COM12)", "COM12", 11},
        {"Some Port (COM20)", "COM20", 19},
        {"Some Port (COM21)", "COM21", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PortNameFromFriendlyName(c.friendly).first, c.name) << c.friendly;
        EXPECT_EQ(PortTableIndex(c.name), c.index) << c.name;
    }
    EXPECT_EQ(PortTableIndex("COM0"), std::nullopt);
}

TEST(PortTable, DevicesGetLabelsAndTheAdapterItsName) {
    MemoryPortSettings settings;
    const auto infos = ComposePortInfos(
        {{"/dev/ttyUSB7", "Prolific Technology Inc.", "USB-Serial Controller", 0x067B, true},
         {"/dev/ttyUSB1", "FTDI", "FT232R", 0x0403, true},
         {"/dev/ttyS0", "", "", std::nullopt, false},
         {"/dev/ttyUSB9", "", "", std::nullopt, true}},
        settings);
    ASSERT_EQ(infos.size(), 4u);
    EXPECT_EQ(infos[0].friendlyName, "Prolific USB-to-Serial Comm Port (COM12)");
    EXPECT_EQ(infos[1].friendlyName, "FT232R (COM6)");
    EXPECT_EQ(infos[2].friendlyName, "/dev/ttyS0 (COM1)");
    EXPECT_EQ(infos[3].portName, "ttyUSB9");  // beyond the labels: never a candidate

    ScriptedStream stream;
    PortDiscovery discovery(stream, settings, [&] { return infos; });
    discovery.ScanForAdapter();
    EXPECT_EQ(discovery.adapter().portName, "COM12");
    ASSERT_EQ(discovery.candidates().size(), 3u);
    EXPECT_TRUE(discovery.OpenAdapterPort());
    EXPECT_EQ(stream.opened.back(), "/dev/ttyUSB7");
    EXPECT_EQ(discovery.portIndex(), 11);
}

TEST(PortDiscoveryTest, AdapterNeedsUsbAndTheMakersName) {
    MemoryPortSettings settings;
    ScriptedStream stream;
    std::vector<SerialPortInfo> infos = {Info("Prolific USB-to-Serial Comm Port (COM4)", false),
                                         Info("Generic USB Serial (COM7)", true)};
    PortDiscovery discovery(stream, settings, [&] { return infos; });
    discovery.ScanForAdapter();
    EXPECT_EQ(discovery.adapter().portName, "");
    discovery.ScanAtStartup();
    EXPECT_EQ(discovery.adapter().portName, "");
    // Without an adapter the last port is tried again.
    const int before = discovery.portIndex();
    discovery.OpenAdapterPort();
    EXPECT_EQ(discovery.portIndex(), before);

    // At start-up "Prolific" must stand as a word, in this letter case.
    infos = {Info("PROLIFIC Port (COM5)", true), Info("The Prolific Port (COM6)", true)};
    discovery.ScanAtStartup();
    EXPECT_EQ(discovery.adapter().portName, "COM6");
}

TEST(PortDiscoveryTest, EmptyCandidateListRetriesTenTimesThenSweepsTheLabels) {
    // "Port", the port tried first, and where the sweep of the labels begins.
    const int cases[][3] = {{5, 4, 5}, {20, 19, 2}, {0, 2, 2}};
    for (const auto& [port, first, sweep] : cases) {
        MemoryPortSettings settings(port);
        ScriptedStream stream;
        PortDiscovery discovery(stream, settings, [] { return std::vector<SerialPortInfo>{}; });
        discovery.ResetProbe();
        discovery.ScanForAdapter();
        discovery.OpenAdapterPort();
        for (int attempt = 1; attempt <= 10; ++attempt) {
            discovery.OpenNextPort(attempt);
            EXPECT_EQ(discovery.probeMode(), 1);
            EXPECT_EQ(discovery.portIndex(), first) << port;
        }
        discovery.OpenNextPort(11);
        EXPECT_EQ(discovery.probeMode(), 0);
        EXPECT_EQ(discovery.portIndex(), sweep) << port;
        discovery.OpenNextPort(12);
        EXPECT_EQ(discovery.portIndex(), sweep + 1) << port;
        EXPECT_EQ(settings.Port(), port);
    }
}

// The adapter known by its USB identity first, the chosen port next; a
// search that ends leaves "Port" alone, a meter that answers sets it.
TEST(PortDiscoveryTest, AdapterThenTheChosenPortThenTheListedOnes) {
    MemoryPortSettings settings(6);
    ScriptedStream stream;
    const std::vector<SerialPortInfo> infos = {
        Info("A (COM2)", false), Info("Prolific USB-to-Serial Comm Port (COM12)", true)};
    PortDiscovery discovery(stream, settings, [&] { return infos; });
    discovery.ResetProbe();
    discovery.ScanForAdapter();
    discovery.OpenAdapterPort();
    for (int attempt = 1; attempt <= 4; ++attempt)
        discovery.OpenNextPort(attempt);
    // The listed ones in turn, over and over.
    EXPECT_EQ(stream.opened, (std::vector<std::string>{"/dev/ttyUSB7", "/dev/ttyUSB1", "/dev/ttyS1",
                                                       "/dev/ttyUSB7", "/dev/ttyS1"}));
    discovery.SearchEnded();
    EXPECT_EQ(discovery.portIndex(), 5);
    EXPECT_EQ(settings.Port(), 6);
    discovery.OpenAdapterPort();
    discovery.RememberPort();
    EXPECT_EQ(settings.Port(), 12);
}

TEST(PortDiscoveryTest, ConnectAndDisconnect) {
    MemoryPortSettings settings(0);
    ScriptedStream stream;
    PortDiscovery discovery(stream, settings, [] { return std::vector<SerialPortInfo>{}; });
    EXPECT_EQ(discovery.DialogSelection(), 0);
    EXPECT_EQ(settings.Port(), 1);
    settings.SetPort(25);
    EXPECT_EQ(discovery.DialogSelection(), -1);
    EXPECT_FALSE(discovery.Connect(-1).opened);  // no choice: nothing opened
    EXPECT_TRUE(stream.opened.empty());

    EXPECT_EQ(discovery.Disconnect(), std::nullopt);
    auto result = discovery.Connect(11);
    EXPECT_TRUE(result.opened);
    EXPECT_EQ(result.message, "Verbindung für COM12 (/dev/ttyUSB7) erfolgreich.");
    EXPECT_EQ(settings.Port(), 12);
    EXPECT_EQ(discovery.Disconnect(), "Verbindung für trennen COM12 (/dev/ttyUSB7).");

    stream.succeed = false;
    result = discovery.Connect(2);
    EXPECT_EQ(result.message, "Verbindungsfehler für COM3 (/dev/ttyS2). Bitte wiederholen.");
    EXPECT_EQ(settings.Port(), 12);
}

TEST(StoredPortSettingsTest, PortAndOverridesLiveInTheUsersSettings) {
    test::TempFolder home;
    ::setenv("XDG_CONFIG_HOME", home.path().c_str(), 1);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.path().c_str());
    {
        QSettings s(QSettings::NativeFormat, QSettings::UserScope, "Kestrana", "DorvelSuite");
        s.setValue("Edit/PORT", 7);
        s.setValue("Ports/COM20", "/dev/pts/9");
    }
    StoredPortSettings settings;
    EXPECT_EQ(settings.Port(), 7);  // the name is found whatever its case
    settings.SetPort(4);
    EXPECT_EQ(settings.Port(), 4);
    EXPECT_EQ(DeviceForIndex(19, settings), "/dev/pts/9");
    EXPECT_EQ(DeviceForIndex(18, settings), "");
    EXPECT_EQ(PortDisplayName(19, settings), "COM20 (/dev/pts/9)");
}

}  // namespace
}  // namespace dorvel
