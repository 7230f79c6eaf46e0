#pragma once

#include <QGuiApplication>
#include <cstdlib>

namespace dorvel::test {

// Fonts and paint devices need a GUI application; one per test program.
inline void EnsureGuiApp() {
    static int argc = 1;
    static char name[] = "reports_tests";
    static char* argv[] = {name, nullptr};
    if (QGuiApplication::instance() == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static QGuiApplication app(argc, argv);
    }
}

}  // namespace dorvel::test
