#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

int main(int argc, char** argv) {
    // A screen the size of an ordinary desktop: the main window opens as
    // large as its page needs only where the screen has room for it.
    QTemporaryDir screen;
    QFile layout(screen.filePath("screen.json"));
    if (!layout.open(QIODevice::WriteOnly) ||
        layout.write(R"({"screens": [{"name": "Test", "x": 0, "y": 0, "width": 1600,
                         "height": 1200, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})") <
            0) {
        return 1;
    }
    layout.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + layout.fileName().toUtf8());
    // The file store keeps "Id" and "Port" in the user's settings: never the real ones.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
