#include "recording_surface.h"

namespace dorvel::reports {

RecordingSurface::Op RecordingSurface::Capture(Kind kind, const Rect& rect) const {
    Op op;
    op.kind = kind;
    op.rect = rect;
    op.pen = pen();
    op.brush = brush();
    op.font = font();
    op.textColor = textColor();
    op.background = background();
    op.opaque = opaque();
    return op;
}

void RecordingSurface::Rectangle(const Rect& rect) {
    ops_.push_back(Capture(Kind::Rectangle, rect));
}

void RecordingSurface::Ellipse(const Rect& rect) {
    ops_.push_back(Capture(Kind::Ellipse, rect));
}

void RecordingSurface::Line(int x1, int y1, int x2, int y2) {
    ops_.push_back(Capture(Kind::Line, Rect{x1, y1, x2, y2}));
}

void RecordingSurface::DrawText(const Rect& box, std::string_view text, unsigned flags, int angle) {
    Op op = Capture(Kind::Text, box);
    op.text = std::string(text);
    op.flags = flags;
    op.angle = angle;
    ops_.push_back(std::move(op));
}

std::vector<const RecordingSurface::Op*> RecordingSurface::Texts() const {
    std::vector<const Op*> texts;
    for (const Op& op : ops_) {
        if (op.kind == Kind::Text)
            texts.push_back(&op);
    }
    return texts;
}

const RecordingSurface::Op* RecordingSurface::FindText(std::string_view text) const {
    for (const Op& op : ops_) {
        if (op.kind == Kind::Text && op.text == text)
            return &op;
    }
    return nullptr;
}

const RecordingSurface::Op* RecordingSurface::FindTextStarting(std::string_view prefix) const {
    for (const Op& op : ops_) {
        if (op.kind == Kind::Text && op.text.starts_with(prefix))
            return &op;
    }
    return nullptr;
}

std::vector<const RecordingSurface::Op*> RecordingSurface::RectanglesAt(const Rect& rect) const {
    std::vector<const Op*> found;
    for (const Op& op : ops_) {
        if (op.kind == Kind::Rectangle && op.rect == rect)
            found.push_back(&op);
    }
    return found;
}

}  // namespace dorvel::reports
