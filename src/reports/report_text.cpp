#include "report_text.h"

#include "analysis/statistics.h"

namespace dorvel::reports {

std::string GlucoseText(int mgdl, int unit, int width) {
    if (unit == 1)
        return OneDecimal(ToMmolPerL(mgdl));
    return Printf("%*d", width, mgdl);
}

std::string ClockText(const TimeOfDay& time, int timeFormat) {
    if (timeFormat == 0) {
        const int hour12 = time.hour % 12 == 0 ? 12 : time.hour % 12;
        return Printf("%02d:%02d %s", hour12, time.minute, time.hour < 12 ? "AM" : "PM");
    }
    return Printf("%02d:%02d", time.hour, time.minute);
}

TimeOfDay MinuteBefore(const TimeOfDay& time) {
    int minutes = time.hour * 60 + time.minute - 1;
    if (minutes < 0)
        minutes += 24 * 60;
    return TimeOfDay{minutes / 60, minutes % 60, 0};
}

}  // namespace dorvel::reports
