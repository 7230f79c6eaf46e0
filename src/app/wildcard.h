#pragma once

#include <string>
#include <string_view>

namespace dorvel {

// '*' matches any run of bytes (also none), '?' exactly one byte; every other
// byte matches only itself. The whole text must match.
bool WildcardMatch(std::string_view pattern, std::string_view text);

// Lower-cases A-Z only: umlauts and other letters must be typed exactly.
std::string AsciiLower(std::string_view text);

}  // namespace dorvel
