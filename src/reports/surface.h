#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dorvel::reports {

struct Color {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    friend bool operator==(Color, Color) = default;
};

inline constexpr Color kBlack{0, 0, 0};
inline constexpr Color kWhite{255, 255, 255};
inline constexpr Color kSilver{192, 192, 192};
inline constexpr Color kBlue{0, 0, 255};
inline constexpr Color kRed{255, 0, 0};

// Range colours shared by every report.
inline constexpr Color kHighFill{255, 192, 192};
inline constexpr Color kTargetFill{192, 255, 192};
inline constexpr Color kLowFill{255, 255, 192};
inline constexpr Color kControlFill{192, 255, 255};

// Edges in logical units; right and bottom are exclusive, as the page
// descriptions give them.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

enum class PenStyle { Solid, Dot, None };

struct Pen {
    Color color = kBlack;
    int width = 1;  // 0 and 1 both mean the thinnest line of the device
    PenStyle style = PenStyle::Solid;
    friend bool operator==(const Pen&, const Pen&) = default;
};

struct Brush {
    Color color = kWhite;
    bool hollow = false;
    friend bool operator==(const Brush&, const Brush&) = default;
};

// Heights follow the page descriptions: a negative height is the character
// height (em size), a positive one the cell height (ascent plus descent),
// 0 the device's default. Units are the surface's logical units.
struct Font {
    std::string face = "Arial";
    int height = 0;
    int weight = 400;
    friend bool operator==(const Font&, const Font&) = default;
};

// Text placement inside its box.
enum TextFlag : unsigned {
    kAlignLeft = 0,
    kAlignHCenter = 1u << 0,
    kAlignRight = 1u << 1,
    kAlignTop = 0,
    kAlignVCenter = 1u << 2,
    kAlignBottom = 1u << 3,
    kSingleLine = 1u << 4,
    kWordBreak = 1u << 5,  // several lines, broken between words
};
inline constexpr unsigned kCentredLine = kAlignHCenter | kAlignVCenter | kSingleLine;
inline constexpr unsigned kLeftLine = kAlignLeft | kAlignVCenter | kSingleLine;
inline constexpr unsigned kTopBlock = kAlignLeft | kAlignTop | kWordBreak;

// What every report draws on: the screen, paper, a PDF writer, an image or
// a recording. The current drawing state (pen, brush, font, text colours)
// lives here so that every implementation sees the same state rules; the
// implementations only turn the primitives into marks.
class Surface {
  public:
    virtual ~Surface() = default;

    void SetPen(const Pen& pen) { pen_ = pen; }
    void SetBrush(const Brush& brush) { brush_ = brush; }
    void SetFont(const Font& font) { font_ = font; }
    void SetTextColor(Color color) { textColor_ = color; }
    void SetBackground(Color color, bool opaque) {
        background_ = color;
        opaque_ = opaque;
    }

    const Pen& pen() const { return pen_; }
    const Brush& brush() const { return brush_; }
    const Font& font() const { return font_; }
    Color textColor() const { return textColor_; }
    Color background() const { return background_; }
    bool opaque() const { return opaque_; }

    // Outline with the pen, inside filled with the brush.
    virtual void Rectangle(const Rect& rect) = 0;
    virtual void Ellipse(const Rect& rect) = 0;
    virtual void Line(int x1, int y1, int x2, int y2) = 0;
    // `text` is UTF-8; "\r\n" and "\n\r" break lines like "\n". `angle` is in
    // tenths of a degree, counter-clockwise, about the box's top-left corner.
    //
    // Every text fits its box: one that is wider or taller than its box in
    // the current font is set smaller (down to what stays legible) or on two
    // lines inside the box; the marks then carry the font and line breaks
    // actually used. Turned text is drawn as given.
    void Text(const Rect& box, std::string_view text, unsigned flags, int angle = 0);

    // The part of the page that will be seen, like a device's clip box: a
    // window shows only part of a long page, and a page may skip what lies
    // wholly outside it. Unset, the whole page is seen.
    void SetClipBox(const std::optional<Rect>& box) { clipBox_ = box; }
    const std::optional<Rect>& clipBox() const { return clipBox_; }

  protected:
    virtual void DrawText(const Rect& box, std::string_view text, unsigned flags, int angle) = 0;

  private:
    std::optional<Rect> clipBox_;
    Pen pen_;
    Brush brush_;
    Font font_;
    Color textColor_ = kBlack;
    Color background_ = kWhite;
    bool opaque_ = true;
};

// Puts the font back when the scope ends (the header restores the font
// that was selected before it).
class FontRestorer {
  public:
    explicit FontRestorer(Surface& surface) : surface_(surface), saved_(surface.font()) {}
    ~FontRestorer() { surface_.SetFont(saved_); }
    FontRestorer(const FontRestorer&) = delete;
    FontRestorer& operator=(const FontRestorer&) = delete;

  private:
    Surface& surface_;
    Font saved_;
};

}  // namespace dorvel::reports
