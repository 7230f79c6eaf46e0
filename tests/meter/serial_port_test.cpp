// The serial channel over a real pseudo-terminal.
#include "meter/serial_port.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <chrono>
#include <thread>

#include "meter/port_discovery.h"
#include "support/meter_sim.h"
#include "support/temp_folder.h"

namespace dorvel {
namespace {

QCoreApplication& App() {
    static int argc = 1;
    static char name[] = "serial_port_test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

TEST(SerialPortTest, OpenFailuresKeepTheirCause) {
    App();
    SerialPort port;
    port.settings.portName = "/dev/pts/0";
    EXPECT_FALSE(port.Open());  // nobody to hand the chunks to
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.Write("S"), 0u);

    port.Configure([](std::string_view) {}, 1000000);
    EXPECT_FALSE(OpenMeterLine(port, "/dev/ttyNoSuchPort7"));
    EXPECT_EQ(port.LastError().failure, LineFailure::NoDevice);
    EXPECT_EQ(port.LastError().device, "/dev/ttyNoSuchPort7");
    EXPECT_EQ(port.PollIdle(), 1);
}

TEST(SerialPortTest, UnreadableDeviceIsNoAccess) {
    App();
    if (::geteuid() == 0)
        GTEST_SKIP() << "root opens any device; the command-line test covers this as another user";
    test::MeterSim sim(DORVEL_METER_SIM, {"--fast", "--mode", "000"});
    ASSERT_TRUE(sim.ok());
    SerialPort port;
    port.Configure([](std::string_view) {}, 1000000);
    EXPECT_FALSE(OpenMeterLine(port, sim.device()));
    EXPECT_EQ(port.LastError().failure, LineFailure::NoAccess);
}

TEST(SerialPortTest, ChunksArriveInOrderAndTheLineIsExclusive) {
    App();
    test::MeterSim sim(DORVEL_METER_SIM, {"--generate", "20", "--fast", "--chunk", "7"});
    ASSERT_TRUE(sim.ok());
    std::string received;
    int chunks = 0;
    SerialPort port;
    port.Configure(
        [&](std::string_view c) {
            received.append(c);
            ++chunks;
        },
        1000000);
    ASSERT_TRUE(OpenMeterLine(port, sim.device())) << port.LastError().detail;
    EXPECT_TRUE(port.IsOpen());

    SerialPort second;
    second.Configure([](std::string_view) {}, 1000000);
    EXPECT_FALSE(OpenMeterLine(second, sim.device()));
    EXPECT_EQ(second.LastError().failure, LineFailure::Io);

    EXPECT_EQ(port.Write("S"), 1u);
    QElapsedTimer timer;
    timer.start();
    while (received.size() < 6 + 20 * 22 && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    ASSERT_EQ(received.size(), 6u + 20 * 22);
    EXPECT_EQ(received.substr(0, 6), "S020\r\n");
    port.Close();
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.Write("S"), 0u);
}

// Started from a script with </dev/null the virtual meter keeps serving
// until a signal ends it, and its help says so.
TEST(MeterSimTest, RunsWithItsInputClosedUntilSignalled) {
    App();
    test::MeterSim sim(DORVEL_METER_SIM, {"--generate", "3", "--fast"});
    ASSERT_TRUE(sim.ok());
    sim.CloseInput();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_TRUE(sim.Running());
    SerialPort port;
    port.Configure([](std::string_view) {}, 1000000);
    EXPECT_TRUE(OpenMeterLine(port, sim.device())) << port.LastError().detail;

    std::string help;
    EXPECT_EQ(test::RunCommand(std::string(DORVEL_METER_SIM) + " --help", &help), 0);
    EXPECT_NE(help.find("SIGTERM"), std::string::npos) << help;
}

}  // namespace
}  // namespace dorvel
