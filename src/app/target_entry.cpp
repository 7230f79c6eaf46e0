#include "target_entry.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <system_error>

namespace dorvel {

namespace {

// Digits with at most one decimal separator inside them, blanks around; the
// separator becomes a point. Empty when the text is anything else.
std::string PlainNumber(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    const std::string t = text.substr(first, text.find_last_not_of(' ') - first + 1);
    std::string out;
    bool separator = false;
    for (size_t i = 0; i < t.size(); ++i) {
        const char c = t[i];
        if (c >= '0' && c <= '9') {
            out += c;
        } else if ((c == '.' || c == ',') && !separator && i > 0 && i + 1 < t.size()) {
            separator = true;
            out += '.';
        } else {
            return {};
        }
    }
    return out;
}

}  // namespace

TargetEntry ParseTarget(const std::string& text, int glucoseUnit) {
    const bool mmol = glucoseUnit == 1;
    const std::string number = PlainNumber(text);
    double x = 0;
    const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), x);
    if (number.empty() || ec != std::errc() || ptr != number.data() + number.size()) {
        return {0, mmol ? "Der Zielwert muss eine Zahl in mmol/L sein, zum Beispiel 6,7."
                        : "Der Zielwert muss eine Zahl in mg/dL sein, zum Beispiel 120."};
    }
    const double v = mmol ? std::floor(x * kSheetMmolFactor + 0.5) : std::trunc(x);
    if (!(v >= kLowestTarget && v <= kHighestTarget)) {
        auto german = [glucoseUnit](int mgdl) {
            std::string t = TargetToText(mgdl, glucoseUnit);
            for (char& c : t) {
                c = c == '.' ? ',' : c;
            }
            return t;
        };
        return {0, "Der Zielwert muss zwischen " + german(kLowestTarget) + " und " +
                       german(kHighestTarget) + (mmol ? " mmol/L" : " mg/dL") + " liegen."};
    }
    return {static_cast<int>(v), {}};
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
