#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "reports/recording_surface.h"
#include "reports/report_pages.h"
#include "reports/text_fit.h"
#include "reports/text_metrics.h"

namespace dorvel::test {

inline void TurnedTextFits(const reports::RecordingSurface& page,
                           const reports::RecordingSurface::Op& turned, std::ostream& faults) {
    const reports::Rect& r = turned.rect;
    const double length = reports::MeasureText(turned.font, turned.text).width;
    const double thickness = reports::LineHeight(turned.font);
    if (length > r.right - r.left || thickness > r.bottom - r.top)
        faults << turned.text << " leaves its box\n";
    for (const auto* other : page.Texts()) {
        const reports::TextExtent o =
            reports::ExtentOfText(other->rect, other->font, other->text, other->flags);
        if (other->angle == 0 &&
            std::min(r.left + thickness, o.right) > std::max(r.left * 1.0, o.left) &&
            std::min(r.top * 1.0, o.bottom) > std::max(r.top - length, o.top))
            faults << turned.text << " overlaps " << other->text << "\n";
    }
}

// Every text a page drew lies inside its box and clear of every other text,
// measured with the fonts the marks were made in. Turned text is drawn as
// given: it runs upwards from its box's corner within the box's length and
// thickness, clear of every upright text.
inline ::testing::AssertionResult TextsFitTheirBoxes(const reports::RecordingSurface& page) {
    using reports::ExtentOfText;
    using reports::LineHeight;
    struct Placed {
        const reports::RecordingSurface::Op* op;
        reports::TextExtent extent;
        double line;
    };
    std::vector<Placed> placed;
    std::ostringstream faults;
    for (const auto* op : page.Texts()) {
        if (op->angle != 0) {
            TurnedTextFits(page, *op, faults);
            continue;
        }
        if (op->text.empty())
            continue;
        const reports::TextExtent e = ExtentOfText(op->rect, op->font, op->text, op->flags);
        const double line = LineHeight(op->font);
        if (!reports::TextFitsBox(op->rect, op->font, op->text, op->flags)) {
            faults << "\"" << op->text << "\" (" << e.right - e.left << " x " << e.bottom - e.top
                   << ") outside its box " << op->rect.left << "," << op->rect.top << " - "
                   << op->rect.right << "," << op->rect.bottom << "\n";
        }
        placed.push_back({op, e, line});
    }
    for (size_t i = 0; i < placed.size(); ++i) {
        for (size_t j = i + 1; j < placed.size(); ++j) {
            const auto& a = placed[i];
            const auto& b = placed[j];
            const double w =
                std::min(a.extent.right, b.extent.right) - std::max(a.extent.left, b.extent.left);
            const double h =
                std::min(a.extent.bottom, b.extent.bottom) - std::max(a.extent.top, b.extent.top);
            const double line = std::min(a.line, b.line);
            if (w > 0.05 * line && h > 0.1 * line)
                faults << "\"" << a.op->text << "\" overlaps \"" << b.op->text << "\"\n";
        }
    }
    const std::string text = faults.str();
    if (text.empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << text;
}

// A printed page: the header, the body of sheet `sheet` and the footer.
inline reports::RecordingSurface FramedSheet(int pageIndex, const reports::PaperMetrics& paper,
                                             const reports::ReportData& data,
                                             const reports::PatientFacts& facts, int sheet = 1) {
    const reports::PrintFonts fonts = reports::PrintFonts::ForScale(paper.scale);
    const reports::FrameStyle style = reports::FrameStyleOf(pageIndex);
    reports::RecordingSurface page;
    reports::DrawHeader(page, paper, fonts, pageIndex + 1, facts, style, true);
    reports::DrawReportPaper(pageIndex, page, paper, fonts, data, sheet);
    reports::DrawFooter(page, paper, fonts, pageIndex + 1, facts, style);
    return page;
}

}  // namespace dorvel::test
