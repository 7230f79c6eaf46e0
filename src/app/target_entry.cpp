#include "target_entry.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <system_error>

namespace dorvel {

int TargetFromText(const std::string& text, int glucoseUnit) {
    // Independent of the process locale; a German decimal comma is accepted too.
    std::string t;
    for (char c : text) {
        if (c != ' ') {
            t += c == ',' ? '.' : c;
        }
    }
    if (!t.empty() && t[0] == '+') {
        t.erase(0, 1);
    }
    double x = 0;
    auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), x);
    if (ec != std::errc() || ptr == t.data() || !std::isfinite(x)) {
        return 0;
    }
    double v = glucoseUnit == 1 ? std::floor(x * kSheetMmolFactor + 0.5) : std::trunc(x);
    // A typed value far outside any glucose reading must not overflow the int.
    constexpr double kLimit = 99999;
    if (v > kLimit) {
        v = kLimit;
    } else if (v < -kLimit) {
        v = -kLimit;
    }
    return static_cast<int>(v);
}

std::string TargetToText(int mgdl, int glucoseUnit) {
    if (glucoseUnit != 1) {
        return std::to_string(mgdl);
    }
    double shown = std::floor((mgdl / kSheetMmolFactor + 0.005) * 100) / 100;
    if (shown < 0.01) {
        return "0";
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", shown);
    return buf;
}

}  // namespace dorvel
