// Every report test program measures text with the real fonts, which need a
// GUI application; without one the pages would be drawn unfitted.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <cstdlib>

namespace {

class GuiEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "reports_tests";
        static char* argv[] = {name, nullptr};
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static QGuiApplication app(argc, argv);
    }
};

const auto* const kGuiEnvironment = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

}  // namespace
