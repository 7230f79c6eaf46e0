#pragma once

#include <string>

namespace dorvel {

// Target values typed on the data settings page. mmol/L is converted with the
// page's own factor and shown with two decimals; the reports convert differently.
inline constexpr double kSheetMmolFactor = 18.02;

// The stored mg/dL value for a typed number: truncated in mg/dL,
// floor(x * 18.02 + 0.5) in mmol/L. Text that is no number gives 0.
int TargetFromText(const std::string& text, int glucoseUnit);

// What the edit shows for a stored value.
std::string TargetToText(int mgdl, int glucoseUnit);

}  // namespace dorvel
