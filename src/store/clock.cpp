#include "clock.h"

#include <cstdlib>
#include <ctime>

namespace dorvel {

Clock Clock::FromEnvironment() {
    if (const char* text = std::getenv("DORVEL_TODAY")) {
        if (auto date = ParseIsoDate(text))
            return Clock(date);
    }
    return Clock();
}

DateTime Clock::Now() const {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    DateTime result{Date{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday},
                    TimeOfDay{local.tm_hour, local.tm_min, local.tm_sec}};
    if (fixedToday_)
        result.date = *fixedToday_;
    return result;
}

Date Clock::Today() const {
    return fixedToday_ ? *fixedToday_ : Now().date;
}

}  // namespace dorvel
