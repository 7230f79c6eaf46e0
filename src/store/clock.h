#pragma once

#include <optional>
#include <string>

#include "calendar.h"

namespace dorvel {

// The one source of "now". Tests and the command line fix the date
// (--today, or DORVEL_TODAY=YYYY-MM-DD in the environment); the time of day
// then still runs from the system clock.
class Clock {
  public:
    Clock() = default;
    explicit Clock(std::optional<Date> fixedToday) : fixedToday_(fixedToday) {}

    // A clock that honours DORVEL_TODAY when it holds a valid date.
    static Clock FromEnvironment();

    Date Today() const;
    DateTime Now() const;
    bool IsFixed() const { return fixedToday_.has_value(); }

  private:
    std::optional<Date> fixedToday_;
};

}  // namespace dorvel
