#pragma once

#include <QFont>
#include <QPainter>
#include <vector>

#include "surface.h"

namespace dorvel::reports {

// Draws through a QPainter: a widget, a printer, a PDF writer or an image.
// Everything becomes vector marks and text, never a bitmap, so paper and
// PDF keep the full resolution of the device. Logical units are whatever
// the painter's transform makes them (pixels on screen, twips on paper).
class PainterSurface : public Surface {
  public:
    explicit PainterSurface(QPainter& painter);

    void Rectangle(const Rect& rect) override;
    void Ellipse(const Rect& rect) override;
    void Line(int x1, int y1, int x2, int y2) override;

  protected:
    void DrawText(const Rect& box, std::string_view text, unsigned flags, int angle) override;

  private:
    bool PixelOutline() const;
    void ApplyPen();
    void ApplyBrush();
    void ApplyText();
    const QFont& QtFont(const Font& font);

    QPainter& painter_;
    bool penSet_ = false;
    Pen appliedPen_;
    bool brushSet_ = false;
    Brush appliedBrush_;
    struct CachedFont {
        Font font;
        QFont qfont;
    };
    std::vector<CachedFont> fonts_;
    bool fontSet_ = false;
    Font appliedFont_;
};

}  // namespace dorvel::reports
