#pragma once

#include <string>
#include <vector>

#include "surface.h"

namespace dorvel::reports {

// Keeps every primitive with the state it was drawn in, so tests can ask
// what a page drew and where.
class RecordingSurface : public Surface {
  public:
    enum class Kind { Rectangle, Ellipse, Line, Text };

    struct Op {
        Kind kind = Kind::Rectangle;
        Rect rect;  // the box; for a line (x1, y1, x2, y2)
        std::string text;
        unsigned flags = 0;
        int angle = 0;
        Pen pen;
        Brush brush;
        Font font;
        Color textColor;
        Color background;
        bool opaque = true;
    };

    void Rectangle(const Rect& rect) override;
    void Ellipse(const Rect& rect) override;
    void Line(int x1, int y1, int x2, int y2) override;

    const std::vector<Op>& ops() const { return ops_; }
    void clear() { ops_.clear(); }

    // The text operations only, in drawing order.
    std::vector<const Op*> Texts() const;
    // The first text operation with exactly this text, or null.
    const Op* FindText(std::string_view text) const;
    // The first text operation whose text starts with `prefix`, or null.
    const Op* FindTextStarting(std::string_view prefix) const;
    // The rectangles with exactly this box.
    std::vector<const Op*> RectanglesAt(const Rect& rect) const;

  protected:
    void DrawText(const Rect& box, std::string_view text, unsigned flags, int angle) override;

  private:
    Op Capture(Kind kind, const Rect& rect) const;
    std::vector<Op> ops_;
};

}  // namespace dorvel::reports
