#pragma once

#include <QFont>
#include <string_view>

#include "surface.h"

namespace dorvel::reports {

// The Qt font that draws a report font: the metric-compatible stand-in for
// the face the layouts name, at the height convention of `Font`.
QFont QtFontFor(const Font& font);

// The installed face that stands in for a face the reports name.
QString FaceFor(const std::string& face);

// Sizes of text in the logical units of the surface that draws it (pixels
// on screen, twips on paper): the same fonts the marks are made with, so a
// text measured to fit is drawn to fit.
struct TextSize {
    double width = 0;   // the widest line
    double height = 0;  // every line, ascent plus descent each
};
// With `wrapWidth` above 0 the text is broken between words at that width,
// as a box with kWordBreak breaks it.
TextSize MeasureText(const Font& font, std::string_view utf8, double wrapWidth = 0);
// Ascent plus descent of one line.
double LineHeight(const Font& font);
// Whether text can be measured at all (fonts need a GUI application).
bool CanMeasureText();

// The line cut at its end with an ellipsis so that it is at most `width` wide.
std::string ElidedLine(std::string_view utf8, const Font& font, double width);

// The em size of the font (its pixel size): how tall the letters of one
// line stand, from the top of the capitals to the bottom of the descenders.
double EmHeight(const Font& font);

// The box a text takes inside `box` after its alignment, in the surface's
// units: where the ink of the text lies. One line is as tall as its em,
// several lines take their full line spacing each; a kWordBreak block is
// broken at the box's width.
struct TextExtent {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};
TextExtent ExtentOfText(const Rect& box, const Font& font, std::string_view utf8, unsigned flags);

}  // namespace dorvel::reports
