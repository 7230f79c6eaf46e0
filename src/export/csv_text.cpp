#include "csv_text.h"

#include <charconv>
#include <cstdio>

namespace dorvel::exports {

namespace {

bool NeedsQuotes(std::string_view cell) {
    return cell.find_first_of(",\"\r\n") != std::string_view::npos;
}

}  // namespace

std::string CsvCell(std::string_view value) {
    std::string cell;
    if (!value.empty() && (value.front() == '=' || value.front() == '@'))
        cell.push_back('\'');
    cell.append(value);
    if (!NeedsQuotes(cell))
        return cell;
    std::string quoted = "\"";
    for (const char c : cell) {
        if (c == '"')
            quoted.push_back('"');
        quoted.push_back(c);
    }
    quoted.push_back('"');
    return quoted;
}

WriteResult WriteExportFile(const std::string& path, std::string_view bytes) {
    return WriteFileAtomic(path, bytes);
}

std::string WriteFailureText(const std::string& path, const WriteResult& result) {
    if (result.status == WriteStatus::ReadOnly)
        return "Die Datei " + path + " ist schreibgeschützt und bleibt unverändert.";
    std::string text = "Die Datei " + path + " kann nicht geschrieben werden";
    if (!result.detail.empty())
        text += " (" + result.detail + ")";
    return text + "; eine vorhandene Datei bleibt unverändert.";
}

}  // namespace dorvel::exports
