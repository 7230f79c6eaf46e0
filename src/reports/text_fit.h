#pragma once

#include <string>
#include <string_view>

#include "surface.h"

namespace dorvel::reports {

// How a text is set so that it fits its box.
struct FittedText {
    Font font;
    std::string text;  // UTF-8, lines broken with "\n"
    unsigned flags = 0;
};

// Whether `text` set in `font` stands inside `box` as the surface would
// draw it (a little room left beside it).
bool TextFitsBox(const Rect& box, const Font& font, std::string_view text, unsigned flags);

// Line breaks as the layouts write them ("\r\n", "\n\r") become "\n".
std::string NormaliseLineBreaks(std::string_view text);

// The text as it fits `box`: unchanged when it does; otherwise in a smaller
// font (down to half size, as small as it stays readable), or on two lines
// (broken between words or after a hyphen or slash, down to 60 %) where
// that keeps it clearly larger. A line that is too long even at half size
// is cut at its end with an ellipsis.
FittedText FitText(const Rect& box, std::string_view text, unsigned flags, const Font& font);

// The font at `factor` of its size (the device default counts as its pixel size).
Font ScaledFont(const Font& font, double factor);

}  // namespace dorvel::reports
