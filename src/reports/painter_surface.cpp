#include "painter_surface.h"

#include "text_metrics.h"

#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPen>
#include <algorithm>
#include <cmath>

namespace dorvel::reports {

namespace {

// A single line the layout would place by its advance alone: no line break,
// no tab and no trailing blank (which the layout leaves out when aligning).
bool PlainLine(const QString& s, unsigned flags) {
    return !(flags & kWordBreak) && !s.contains(QLatin1Char('\n')) &&
           !s.contains(QLatin1Char('\t')) && !s.endsWith(QLatin1Char(' '));
}

QColor ToQt(Color c) {
    return QColor(c.r, c.g, c.b);
}

int QtTextFlags(unsigned flags) {
    int q = 0;
    if (flags & kAlignHCenter)
        q |= Qt::AlignHCenter;
    else if (flags & kAlignRight)
        q |= Qt::AlignRight;
    else
        q |= Qt::AlignLeft;
    if (flags & kAlignVCenter)
        q |= Qt::AlignVCenter;
    else if (flags & kAlignBottom)
        q |= Qt::AlignBottom;
    else
        q |= Qt::AlignTop;
    if (flags & kSingleLine)
        q |= Qt::TextSingleLine;
    if (flags & kWordBreak)
        q |= Qt::TextWordWrap;
    return q;
}

}  // namespace

PainterSurface::PainterSurface(QPainter& painter) : painter_(painter) {}

const QFont& PainterSurface::QtFont(const Font& font) {
    for (const CachedFont& cached : fonts_) {
        if (cached.font == font)
            return cached.qfont;
    }
    fonts_.push_back({font, QtFontFor(font)});
    return fonts_.back().qfont;
}

void PainterSurface::ApplyPen() {
    // The background shows only in the gaps of a dotted line. Every other
    // outline is drawn in transparent mode: an opaque mode left over from a
    // text changes no pixel of a solid line, but sends lines and ellipses
    // down the raster engine's slow path, several times slower.
    const bool gaps = opaque() && pen().style == PenStyle::Dot;
    painter_.setBackgroundMode(gaps ? Qt::OpaqueMode : Qt::TransparentMode);
    if (gaps)
        painter_.setBackground(ToQt(background()));
    if (penSet_ && appliedPen_ == pen())
        return;
    const Pen& p = pen();
    if (p.style == PenStyle::None) {
        painter_.setPen(Qt::NoPen);
    } else {
        QPen q(ToQt(p.color));
        q.setStyle(p.style == PenStyle::Dot ? Qt::DotLine : Qt::SolidLine);
        if (p.width <= 1) {
            q.setWidth(0);  // the device's thinnest line
            q.setCosmetic(true);
        } else {
            q.setWidth(p.width);
        }
        q.setCapStyle(Qt::FlatCap);
        q.setJoinStyle(Qt::MiterJoin);
        painter_.setPen(q);
    }
    appliedPen_ = p;
    penSet_ = true;
}

void PainterSurface::ApplyBrush() {
    if (brushSet_ && appliedBrush_ == brush())
        return;
    if (brush().hollow)
        painter_.setBrush(Qt::NoBrush);
    else
        painter_.setBrush(ToQt(brush().color));
    appliedBrush_ = brush();
    brushSet_ = true;
}

void PainterSurface::ApplyText() {
    if (!fontSet_ || !(appliedFont_ == font())) {
        painter_.setFont(QtFont(font()));
        appliedFont_ = font();
        fontSet_ = true;
    }
    // The text colour travels in the pen; the line pen is set again before
    // the next line or outline.
    painter_.setPen(ToQt(textColor()));
    penSet_ = false;
    painter_.setBackgroundMode(opaque() ? Qt::OpaqueMode : Qt::TransparentMode);
    painter_.setBackground(ToQt(background()));
}

void PainterSurface::Rectangle(const Rect& rect) {
    const int w = rect.right - rect.left;
    const int h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0)
        return;
    ApplyBrush();
    if (pen().style == PenStyle::None) {
        if (!brush().hollow)
            painter_.fillRect(rect.left, rect.top, w, h, ToQt(brush().color));
        return;
    }
    if (PixelOutline()) {
        // The same pixels the stroker sets for a thin outline, as four
        // one-pixel bands: tables of many cells draw several times faster.
        if (!brush().hollow && w > 2 && h > 2)
            painter_.fillRect(rect.left + 1, rect.top + 1, w - 2, h - 2, ToQt(brush().color));
        const QColor line = ToQt(pen().color);
        painter_.fillRect(rect.left, rect.top, w, 1, line);
        painter_.fillRect(rect.left, rect.bottom - 1, w, 1, line);
        painter_.fillRect(rect.left, rect.top, 1, h, line);
        painter_.fillRect(rect.right - 1, rect.top, 1, h, line);
        return;
    }
    ApplyPen();
    // The outline runs on the first and last column and row inside the box.
    painter_.drawRect(rect.left, rect.top, w - 1, h - 1);
}

bool PainterSurface::PixelOutline() const {
    // Only where a logical unit is one device pixel and lines are not
    // smoothed; paper and PDF keep their thinnest device lines.
    const Pen& p = pen();
    return p.style == PenStyle::Solid && p.width <= 1 && painter_.paintEngine() != nullptr &&
           painter_.paintEngine()->type() == QPaintEngine::Raster &&
           painter_.transform().type() <= QTransform::TxTranslate &&
           !painter_.testRenderHint(QPainter::Antialiasing) &&
           painter_.device()->devicePixelRatio() == 1.0;
}

void PainterSurface::Ellipse(const Rect& rect) {
    ApplyPen();
    ApplyBrush();
    painter_.drawEllipse(
        QRect(rect.left, rect.top, rect.right - rect.left - 1, rect.bottom - rect.top - 1));
}

void PainterSurface::Line(int x1, int y1, int x2, int y2) {
    ApplyPen();
    painter_.drawLine(x1, y1, x2, y2);
}

void PainterSurface::DrawText(const Rect& box, std::string_view text, unsigned flags, int angle) {
    if (text.empty())
        return;
    ApplyText();
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const int qflags = QtTextFlags(flags);
    if (angle == 0 && PlainLine(s, flags)) {
        // One line placed as the layout would place it, without building a
        // layout: tables of many cells draw markedly faster, on paper too.
        const QFontMetricsF m(painter_.font(), painter_.device());
        const qreal width = m.horizontalAdvance(s);
        qreal x = box.left;
        if (flags & kAlignHCenter)
            x = (box.left + box.right - width) / 2;
        else if (flags & kAlignRight)
            x = box.right - width;
        qreal y = box.top + m.ascent();
        if (flags & kAlignVCenter)
            y = (box.top + box.bottom - m.ascent() - m.descent()) / 2 + m.ascent();
        else if (flags & kAlignBottom)
            y = box.bottom - m.descent();
        painter_.drawText(QPointF(x, y), s);
        return;
    }
    if (angle == 0) {
        painter_.drawText(QRect(box.left, box.top, box.right - box.left, box.bottom - box.top),
                          qflags, s);
        return;
    }
    painter_.save();
    painter_.translate(box.left, box.top);
    painter_.rotate(-angle / 10.0);
    painter_.drawText(QRect(0, 0, box.right - box.left, box.bottom - box.top), qflags, s);
    painter_.restore();
}

}  // namespace dorvel::reports
