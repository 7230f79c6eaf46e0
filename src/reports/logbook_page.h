#pragma once

#include <array>
#include <string>

#include "report_data.h"
#include "surface.h"

namespace dorvel::reports {

// The logbook: the period day by day in the five meal-time groups.
void DrawLogbookScreen(Surface& surface, const ReportData& data, Growth growth);
void DrawLogbookPaper(Surface& surface, const PaperMetrics& paper, const ReportData& data);

// Column edges b0..b6: on screen grown by the page's extra width, on paper
// in eighths of a hundredth of the printable width.
std::array<int, 7> LogbookScreenEdges(int growthWidth);
std::array<int, 7> LogbookPaperEdges(const PaperMetrics& paper);

// First slot (1..8) of each time-of-day group: Schlaf, Frühstück,
// Mittagessen, Abendessen, Abend; the last group runs up to slot 1 again.
inline constexpr std::array<int, 6> kGroupFirstSlot = {1, 2, 4, 6, 8, 1};

// "%s ~ %s": from the start of slot `fromSlot` to one minute before the
// start of slot `nextSlot` (slots 1..8), as the time-of-day groups are headed.
std::string SlotSpanText(int fromSlot, int nextSlot, const UserSettings& settings);

// Pixels from one day row to the next: a long month packs its rows closer.
inline int LogbookRowStep(int periodDays) {
    return periodDays <= 30 ? 17 : 16;
}

}  // namespace dorvel::reports
