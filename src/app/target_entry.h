#pragma once

#include <string>

namespace dorvel {

// Target values typed on the data settings page. mmol/L is converted with the
// page's own factor and shown with two decimals; the reports convert differently.
inline constexpr double kSheetMmolFactor = 18.02;

// What the meter can measure: a target outside it could never be met or missed.
inline constexpr int kLowestTarget = 10;    // mg/dL
inline constexpr int kHighestTarget = 600;  // mg/dL

struct TargetEntry {
    int value = 0;        // mg/dL, when accepted
    std::string problem;  // why the text is refused (UTF-8, for the user); empty when accepted
};

// The stored mg/dL value for a typed number: truncated in mg/dL,
// floor(x * 18.02 + 0.5) in mmol/L. Only digits with at most one decimal
// point or comma are numbers; the value must lie within the meter's range.
TargetEntry ParseTarget(const std::string& text, int glucoseUnit);

// What the edit shows for a stored value.
std::string TargetToText(int mgdl, int glucoseUnit);

}  // namespace dorvel
