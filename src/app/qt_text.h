#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "store/text_encoding.h"

namespace dorvel {

// Stored Windows-1252 bytes to and from the windows' text.
inline QString FromStored(std::string_view bytes) {
    return QString::fromStdString(Cp1252ToUtf8(bytes));
}
inline std::string ToStored(const QString& text) {
    return Utf8ToCp1252(text.toStdString());
}

}  // namespace dorvel
