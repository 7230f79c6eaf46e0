#pragma once

#include <string>
#include <string_view>

#include "store/decimal.h"

#include "store/calendar.h"
#include "store/file_io.h"

namespace dorvel::exports {

// The exports are Windows-1252 text with a single line feed after every line.
inline constexpr char kLineEnd = '\n';

// One value as a CSV cell. A cell holding a comma, a double quote or a line
// break is quoted (inner quotes doubled) so it cannot shift the columns; one
// starting with "=" or "@" gets a leading apostrophe so that a spreadsheet
// shows it instead of running it as a formula. A leading "+" or "-" stays:
// telephone numbers start that way. Every other value is returned unchanged.
std::string CsvCell(std::string_view value);

// Writes an export file: an existing file is replaced atomically, so a write
// that fails leaves the old file and no partial one.
WriteResult WriteExportFile(const std::string& path, std::string_view bytes);

// What to tell the user about a failed write of `path` (UTF-8, one line).
std::string WriteFailureText(const std::string& path, const WriteResult& result);

}  // namespace dorvel::exports
