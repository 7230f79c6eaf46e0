#include "page_stub.h"

#include <string>

namespace dorvel::reports {

void DrawPageStubScreen(Surface& surface, const ReportData&, Growth growth, std::string_view name) {
    const Rect page{0, 0, growth.width + kBaseScreenWidth, growth.height + kBaseScreenHeight};
    surface.SetPen(Pen{});
    surface.SetBrush(Brush{kWhite});
    surface.Rectangle(page);
    surface.SetFont(Font{"Arial", 24, 700});
    surface.SetTextColor(kBlack);
    surface.SetBackground(kWhite, true);
    surface.Text(page, std::string(name), kCentredLine);
}

void DrawPageStubPaper(Surface& surface, const PaperMetrics& paper, const ReportData&,
                       std::string_view name) {
    surface.SetFont(Font{"Arial", paper.width * 12 / 800, 400});
    surface.SetTextColor(kBlack);
    surface.SetBackground(kWhite, true);
    surface.Text(Rect{0, paper.Y(10), paper.width, paper.Y(11)}, std::string(name), kCentredLine);
}

}  // namespace dorvel::reports
