// Every report test program measures text with the real fonts, which need a
// GUI application; without one the pages would be drawn unfitted.
#include <gtest/gtest.h>

#include "gui_app.h"

namespace {

class GuiEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { dorvel::test::EnsureGuiApp(); }
};

const auto* const kGuiEnvironment = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

}  // namespace
