#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dorvel {

// Reads a number the way the stored formats expect it: leading blanks are
// skipped, an optional sign is taken, then digits up to the first other
// character. A field without digits reads as 0. Never overflows: the value
// saturates at the limits of int32.
int32_t LeadingInt(std::string_view text);

// True when every character of `text` is an ASCII decimal digit (and the text is not empty).
bool AllDigits(std::string_view text);

// "%2.1f" and "%.2f" in the C locale: reports and exports keep their decimal
// point whatever locale the program runs under.
std::string OneDecimal(double value);
std::string TwoDecimals(double value);

}  // namespace dorvel
