#pragma once

#include <string>
#include <string_view>

namespace dorvel {

// The stored files are single-byte Windows-1252 text; the terminal, the
// user interface and the messages of the engine are UTF-8. These two are
// the only conversions between them.
std::string Cp1252ToUtf8(std::string_view bytes);

// Characters without a Windows-1252 byte become '?'.
std::string Utf8ToCp1252(std::string_view text);

}  // namespace dorvel
