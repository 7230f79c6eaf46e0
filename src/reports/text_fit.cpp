#include "text_fit.h"

#include <QFontInfo>
#include <algorithm>
#include <cmath>
#include <functional>
#include <unordered_map>
#include <vector>

#include "text_metrics.h"

namespace dorvel::reports {

namespace {

// Room kept free beside a text, as a share of its line height, so that it
// does not touch the lines of its cell.
constexpr double kSideRoom = 0.08;
// The letters of a single line may reach this share of the box's height
// beyond its top and bottom edge: cells are often exactly one line high,
// and the em of a line holds more than its letters' ink.
constexpr double kHeightSlack = 0.05;

bool Fits(const Rect& box, const Font& font, std::string_view text, unsigned flags) {
    const TextExtent e = ExtentOfText(box, font, text, flags);
    const bool oneLine = !(flags & kWordBreak) && text.find('\n') == std::string_view::npos;
    const double slack = oneLine ? kHeightSlack * (box.bottom - box.top) : 0.0;
    return e.right - e.left <= box.right - box.left - kSideRoom * LineHeight(font) &&
           e.top >= box.top - slack && e.bottom <= box.bottom + slack;
}

// Places where a line may break: after a blank (which goes), or after a
// hyphen or slash (which stays on the first line).
std::vector<std::pair<size_t, size_t>> BreakPoints(std::string_view text) {
    std::vector<std::pair<size_t, size_t>> points;  // end of line 1, start of line 2
    for (size_t i = 1; i + 1 < text.size(); ++i) {
        if (text[i] == ' ') {
            size_t end = i;
            while (end > 0 && text[end - 1] == ' ')
                --end;
            size_t start = i;
            while (start < text.size() && text[start] == ' ')
                ++start;
            if (end > 0 && start < text.size())
                points.emplace_back(end, start);
        } else if (text[i] == '-' || text[i] == '/') {
            points.emplace_back(i + 1, i + 1);
        }
    }
    return points;
}

// The two-line form whose longer line is shortest.
std::string BestSplit(std::string_view text, const Font& font) {
    std::string best;
    double bestWidth = 0;
    for (const auto& [end, start] : BreakPoints(text)) {
        std::string candidate(text.substr(0, end));
        candidate += '\n';
        candidate += text.substr(start);
        const double width = MeasureText(font, candidate).width;
        if (best.empty() || width < bestWidth) {
            best = std::move(candidate);
            bestWidth = width;
        }
    }
    return best;
}

// What still fits at the smallest size ends in an ellipsis, rather than
// running into the next box.
std::string ElideToWidth(const std::string& text, const Font& font, double width) {
    std::string out;
    std::string_view rest = text;
    while (!rest.empty()) {
        const size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        if (!out.empty())
            out += '\n';
        out += ElidedLine(line, font, width);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    return out;
}

}  // namespace

bool TextFitsBox(const Rect& box, const Font& font, std::string_view text, unsigned flags) {
    return Fits(box, font, text, flags);
}

std::string NormaliseLineBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if ((c == '\r' || c == '\n') && i + 1 < text.size() &&
            (text[i + 1] == '\r' || text[i + 1] == '\n') && text[i + 1] != c) {
            out += '\n';
            ++i;
        } else if (c == '\r') {
            out += '\n';
        } else {
            out += c;
        }
    }
    return out;
}

Font ScaledFont(const Font& font, double factor) {
    Font scaled = font;
    int height = font.height;
    if (height == 0)
        height = -QFontInfo(QtFontFor(font)).pixelSize();
    scaled.height = static_cast<int>(std::lround(height * factor));
    if (scaled.height == 0)
        scaled.height = height < 0 ? -1 : 1;
    return scaled;
}

namespace {

FittedText ComputeFit(const Rect& box, std::string_view text, unsigned flags, const Font& font);

// Where a text fits depends only on the box's size, not on where it stands.
struct FitKey {
    int width = 0;
    int height = 0;
    unsigned flags = 0;
    Font font;
    std::string text;
    friend bool operator==(const FitKey&, const FitKey&) = default;
};

struct FitKeyHash {
    size_t operator()(const FitKey& k) const {
        size_t h = std::hash<std::string>()(k.text);
        for (const size_t part :
             {static_cast<size_t>(k.width), static_cast<size_t>(k.height),
              static_cast<size_t>(k.flags), static_cast<size_t>(k.font.height),
              static_cast<size_t>(k.font.weight), std::hash<std::string>()(k.font.face)})
            h = h * 1000003u ^ part;
        return h;
    }
};

}  // namespace

FittedText FitText(const Rect& box, std::string_view text, unsigned flags, const Font& font) {
    // Pages draw the same texts in the same boxes over and over (every
    // repaint, every month of a certificate), and measuring is the dear part.
    constexpr size_t kKept = 8192;
    thread_local std::unordered_map<FitKey, FittedText, FitKeyHash> fits;
    FitKey key{box.right - box.left, box.bottom - box.top, flags, font, std::string(text)};
    if (const auto it = fits.find(key); it != fits.end())
        return it->second;
    FittedText fitted = ComputeFit(box, text, flags, font);
    if (fits.size() >= kKept)
        fits.clear();
    fits.emplace(std::move(key), fitted);
    return fitted;
}

namespace {

FittedText ComputeFit(const Rect& box, std::string_view text, unsigned flags, const Font& font) {
    FittedText fitted{font, std::string(text), flags};
    if (Fits(box, font, text, flags))
        return fitted;
    // The largest size at which the text fits on its lines as they are...
    double single = 0;
    for (double factor = 0.95; factor >= 0.499; factor -= 0.05) {
        if (Fits(box, ScaledFont(font, factor), text, flags)) {
            single = factor;
            break;
        }
    }
    // ... and broken on two lines. Two lines win only where they keep the
    // text clearly larger than one line would.
    double twoLines = 0;
    std::string split;
    if (single < 0.8 && !(flags & kWordBreak) && text.find('\n') == std::string_view::npos) {
        for (double factor = 1.0; factor >= std::max(0.599, single + 0.1); factor -= 0.05) {
            const Font smaller = ScaledFont(font, factor);
            std::string candidate = BestSplit(text, smaller);
            if (!candidate.empty() && Fits(box, smaller, candidate, flags)) {
                twoLines = factor;
                split = std::move(candidate);
                break;
            }
        }
    }
    if (twoLines > 0) {
        fitted.font = ScaledFont(font, twoLines);
        fitted.text = split;
        fitted.flags = flags & ~kSingleLine;
        return fitted;
    }
    fitted.font = ScaledFont(font, single > 0 ? single : 0.5);
    if (single == 0 && !(flags & kWordBreak))
        fitted.text = ElideToWidth(fitted.text, fitted.font,
                                   box.right - box.left - kSideRoom * LineHeight(fitted.font));
    return fitted;
}

}  // namespace

void Surface::Text(const Rect& box, std::string_view text, unsigned flags, int angle) {
    std::string normal = NormaliseLineBreaks(text);
    // A one-line box shows a line break as a blank (an address typed on two
    // lines); measured as two lines it would be shrunk for nothing.
    if (flags & kSingleLine)
        std::replace(normal.begin(), normal.end(), '\n', ' ');
    if (angle != 0 || normal.empty() || !CanMeasureText()) {
        DrawText(box, normal, flags, angle);
        return;
    }
    const FittedText fitted = FitText(box, normal, flags, font());
    if (fitted.font == font()) {
        DrawText(box, fitted.text, fitted.flags, angle);
        return;
    }
    const FontRestorer restore(*this);
    SetFont(fitted.font);
    DrawText(box, fitted.text, fitted.flags, angle);
}

}  // namespace dorvel::reports
